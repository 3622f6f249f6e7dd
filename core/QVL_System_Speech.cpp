#include "core/QVL_System_Speech.h"

#include "core/QVL_Error.h"
#include "core/QVL_LateLibrary.h"
#include "core/QVL_System.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>
#include <QtEndian>

#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

// The synthesiser is one per process and not reentrant.
std::mutex engineLock;
int sampleRate = 0; // 0: not started yet, -1: cannot start

// The synthesiser and the sound libraries behind it are loaded at the first
// text read aloud, not with the program: linked, they cost every start.
struct TEngine
{
    decltype(&espeak_Initialize) Initialize = nullptr;
    decltype(&espeak_SetSynthCallback) SetSynthCallback = nullptr;
    decltype(&espeak_SetVoiceByName) SetVoiceByName = nullptr;
    decltype(&espeak_Synth) Synth = nullptr;
    decltype(&espeak_Synchronize) Synchronize = nullptr;
};

// The entry points, or false when the library is missing.
bool loadEngine(TEngine& engine)
{
    using TQVL_LateLibrary::Bind;
    void* library = TQVL_LateLibrary::Open(QStringLiteral("libespeak-ng.so.1"));
    return library && Bind(library, engine.Initialize, "espeak_Initialize") &&
           Bind(library, engine.SetSynthCallback, "espeak_SetSynthCallback") &&
           Bind(library, engine.SetVoiceByName, "espeak_SetVoiceByName") && Bind(library, engine.Synth, "espeak_Synth") &&
           Bind(library, engine.Synchronize, "espeak_Synchronize");
}

TEngine engine;

const QHash<QString, QString>& voices()
{
    // Bibliographic three-letter codes of the language list -> the synthesiser's voices.
    static const QHash<QString, QString> table{
        {QStringLiteral("afr"), QStringLiteral("af")},  {QStringLiteral("alb"), QStringLiteral("sq")},
        {QStringLiteral("ara"), QStringLiteral("ar")},  {QStringLiteral("arm"), QStringLiteral("hy")},
        {QStringLiteral("aze"), QStringLiteral("az")},  {QStringLiteral("baq"), QStringLiteral("eu")},
        {QStringLiteral("bel"), QStringLiteral("be")},  {QStringLiteral("ben"), QStringLiteral("bn")},
        {QStringLiteral("bos"), QStringLiteral("bs")},  {QStringLiteral("bul"), QStringLiteral("bg")},
        {QStringLiteral("cat"), QStringLiteral("ca")},  {QStringLiteral("chi"), QStringLiteral("cmn")},
        {QStringLiteral("cze"), QStringLiteral("cs")},  {QStringLiteral("dan"), QStringLiteral("da")},
        {QStringLiteral("dut"), QStringLiteral("nl")},  {QStringLiteral("eng"), QStringLiteral("en")},
        {QStringLiteral("epo"), QStringLiteral("eo")},  {QStringLiteral("est"), QStringLiteral("et")},
        {QStringLiteral("fin"), QStringLiteral("fi")},  {QStringLiteral("fre"), QStringLiteral("fr")},
        {QStringLiteral("geo"), QStringLiteral("ka")},  {QStringLiteral("ger"), QStringLiteral("de")},
        {QStringLiteral("gla"), QStringLiteral("gd")},  {QStringLiteral("gle"), QStringLiteral("ga")},
        {QStringLiteral("grc"), QStringLiteral("grc")}, {QStringLiteral("gre"), QStringLiteral("el")},
        {QStringLiteral("heb"), QStringLiteral("he")},  {QStringLiteral("hin"), QStringLiteral("hi")},
        {QStringLiteral("hrv"), QStringLiteral("hr")},  {QStringLiteral("hun"), QStringLiteral("hu")},
        {QStringLiteral("ice"), QStringLiteral("is")},  {QStringLiteral("ind"), QStringLiteral("id")},
        {QStringLiteral("ita"), QStringLiteral("it")},  {QStringLiteral("jpn"), QStringLiteral("ja")},
        {QStringLiteral("kaz"), QStringLiteral("kk")},  {QStringLiteral("kor"), QStringLiteral("ko")},
        {QStringLiteral("kur"), QStringLiteral("ku")},  {QStringLiteral("lat"), QStringLiteral("la")},
        {QStringLiteral("lav"), QStringLiteral("lv")},  {QStringLiteral("lit"), QStringLiteral("lt")},
        {QStringLiteral("ltz"), QStringLiteral("lb")},  {QStringLiteral("mac"), QStringLiteral("mk")},
        {QStringLiteral("may"), QStringLiteral("ms")},  {QStringLiteral("mlt"), QStringLiteral("mt")},
        {QStringLiteral("nor"), QStringLiteral("nb")},  {QStringLiteral("per"), QStringLiteral("fa")},
        {QStringLiteral("pol"), QStringLiteral("pl")},  {QStringLiteral("por"), QStringLiteral("pt")},
        {QStringLiteral("rum"), QStringLiteral("ro")},  {QStringLiteral("rus"), QStringLiteral("ru")},
        {QStringLiteral("slo"), QStringLiteral("sk")},  {QStringLiteral("slv"), QStringLiteral("sl")},
        {QStringLiteral("spa"), QStringLiteral("es")},  {QStringLiteral("srp"), QStringLiteral("sr")},
        {QStringLiteral("swa"), QStringLiteral("sw")},  {QStringLiteral("swe"), QStringLiteral("sv")},
        {QStringLiteral("tha"), QStringLiteral("th")},  {QStringLiteral("tur"), QStringLiteral("tr")},
        {QStringLiteral("ukr"), QStringLiteral("uk")},  {QStringLiteral("urd"), QStringLiteral("ur")},
        {QStringLiteral("vie"), QStringLiteral("vi")},  {QStringLiteral("wel"), QStringLiteral("cy")},
    };
    return table;
}

// What one synthesis collects; the synthesiser hands it to `collect`.
struct TCollected
{
    std::vector<short> Samples;
    qint64 MaxSamples = 0;
    const std::atomic<bool>* Cancel = nullptr;
    bool TooLong = false;
    bool Cancelled = false;
};

int collect(short* samples, int count, espeak_EVENT* events)
{
    auto* collected = events ? static_cast<TCollected*>(events->user_data) : nullptr;
    if (!collected)
        return 0;
    if (collected->Cancel && collected->Cancel->load()) {
        collected->Cancelled = true;
        return 1; // stop
    }
    if (samples && count > 0) {
        if (qint64(collected->Samples.size()) + count > collected->MaxSamples) {
            collected->TooLong = true;
            return 1;
        }
        collected->Samples.insert(collected->Samples.end(), samples, samples + count);
    }
    return 0; // go on
}

// The caller keeps the data within WavDataLimit, so every size fits its 32 bits.
QByteArray wavFile(const std::vector<short>& samples, int rate)
{
    const quint32 dataBytes = quint32(samples.size() * sizeof(qint16));
    QByteArray bytes;
    bytes.reserve(qsizetype(44) + qsizetype(dataBytes));
    auto u32 = [&bytes](quint32 value) {
        char raw[4];
        qToLittleEndian(value, raw);
        bytes.append(raw, 4);
    };
    auto u16 = [&bytes](quint16 value) {
        char raw[2];
        qToLittleEndian(value, raw);
        bytes.append(raw, 2);
    };
    bytes.append("RIFF", 4);
    u32(36 + dataBytes);
    bytes.append("WAVEfmt ", 8);
    u32(16);
    u16(1); // PCM
    u16(1); // mono
    u32(quint32(rate));
    u32(quint32(rate) * 2);
    u16(2);
    u16(16);
    bytes.append("data", 4);
    u32(dataBytes);
    for (const short sample : samples)
        u16(quint16(sample));
    return bytes;
}

// A file name from a spoken text: letters and digits kept, the rest one "_", short.
QString recordingName(const QString& text)
{
    QString name;
    for (const QChar c : text.trimmed()) {
        if (c.isLetterOrNumber())
            name.append(c);
        else if (!name.endsWith(QLatin1Char('_')))
            name.append(QLatin1Char('_'));
        if (name.size() >= 40)
            break;
    }
    while (name.endsWith(QLatin1Char('_')))
        name.chop(1);
    while (name.startsWith(QLatin1Char('_')))
        name.remove(0, 1);
    if (name.isEmpty() || !TQVL_System::IsValidFileName(name + QStringLiteral(".wav")))
        name = QStringLiteral("Vorlesen");
    return name + QStringLiteral(".wav");
}

} // namespace

TQVL_System_Speech::TQVL_System_Speech() = default;

TQVL_System_Speech::~TQVL_System_Speech() = default;

QString TQVL_System_Speech::SpokenPart(const QString& text)
{
    const QString spoken = text.trimmed();
    if (spoken.size() <= MaxSpokenLength)
        return spoken;
    qsizetype cut = MaxSpokenLength;
    while (cut > 0 && !spoken.at(cut).isSpace())
        --cut;
    if (cut == 0) {
        // One word longer than the limit: cut it, never inside a character.
        cut = MaxSpokenLength;
        if (spoken.at(cut - 1).isHighSurrogate())
            --cut;
    }
    return spoken.left(cut).trimmed();
}

QString TQVL_System_Speech::VoiceFor(const QString& langCode)
{
    const QString code = langCode.trimmed().toLower();
    if (const auto found = voices().constFind(code); found != voices().cend())
        return found.value();
    // A two-letter code is the voice's own name.
    for (const QString& voice : voices())
        if (voice == code)
            return voice;
    return QString();
}

QString TQVL_System_Speech::Synthesize(const QString& text, const QString& langCode, const std::atomic<bool>* cancel)
{
    const QString spoken = SpokenPart(text);
    if (spoken.isEmpty())
        throw TQVL_Error(QStringLiteral("Es gibt keinen Text zum Vorlesen."));
    const QString voice = VoiceFor(langCode);
    if (voice.isEmpty())
        throw TQVL_Error(QStringLiteral("Für die Sprache \"%1\" gibt es keine Sprachausgabe.").arg(langCode));

    // One text at a time: the synthesiser is not reentrant, and this object's
    // folder and cache are shared by the threads that read aloud.
    const std::lock_guard guard(engineLock);
    if (!folder) {
        folder = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/Quorvel-Vorlesen-XXXXXX"));
        if (!folder->isValid())
            throw TQVL_Error(QStringLiteral("Der Ordner für die Sprachausgabe kann nicht angelegt werden:\r%1")
                                 .arg(folder->errorString()));
    }
    const QByteArray key =
        QCryptographicHash::hash((voice + QLatin1Char('\n') + spoken).toUtf8(), QCryptographicHash::Md5).toHex();
    const QString fileName = folder->filePath(QString::fromLatin1(key) + QStringLiteral(".wav"));
    if (QFileInfo(fileName).isFile())
        return fileName;

    if (sampleRate == 0) {
        sampleRate = loadEngine(engine)
                         ? engine.Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT)
                         : -1;
        if (sampleRate <= 0)
            sampleRate = -1;
        else
            engine.SetSynthCallback(collect);
    }
    if (sampleRate < 0)
        throw TQVL_Error(QStringLiteral("Die Sprachausgabe kann nicht gestartet werden."));
    if (engine.SetVoiceByName(voice.toUtf8().constData()) != EE_OK)
        throw TQVL_Error(QStringLiteral("Für die Sprache \"%1\" gibt es keine Sprachausgabe.").arg(langCode));
    TCollected collected;
    collected.MaxSamples = std::min(MaxWavDataBytes, WavDataLimit) / qint64(sizeof(qint16));
    collected.Cancel = cancel;
    const QByteArray utf8 = spoken.toUtf8();
    const bool spokenOut = engine.Synth(utf8.constData(), std::size_t(utf8.size()) + 1, 0, POS_CHARACTER, 0,
                                        espeakCHARS_UTF8, nullptr, &collected) == EE_OK &&
                           engine.Synchronize() == EE_OK;
    if (collected.Cancelled || (cancel && cancel->load()))
        throw TQVL_Error(QStringLiteral("Das Vorlesen wurde abgebrochen."));
    if (collected.TooLong)
        throw TQVL_Error(QStringLiteral(
            "Der Text ist zu lang zum Vorlesen: die Aufnahme wäre größer, als eine WAV-Datei fassen kann."));
    if (!spokenOut || collected.Samples.empty())
        throw TQVL_Error(QStringLiteral("Der Text \"%1\" kann nicht vorgelesen werden.").arg(spoken));
    const std::vector<short>& samples = collected.Samples;

    // Complete or not at all: a half-written file must never be taken for a finished one.
    const QString partial = fileName + QStringLiteral(".part");
    QFile out(partial);
    const QByteArray bytes = wavFile(samples, sampleRate);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size() || !out.flush()) {
        out.remove();
        throw TQVL_Error(QStringLiteral("Die Sprachausgabe kann nicht gespeichert werden:\r%1").arg(out.errorString()));
    }
    out.close();
    if (!QFile::rename(partial, fileName)) {
        QFile::remove(partial);
        throw TQVL_Error(QStringLiteral("Die Sprachausgabe kann nicht gespeichert werden."));
    }
    ++synthesized;
    return fileName;
}

QString TQVL_System_Speech::RecordInto(const QString& text, const QString& langCode, const QString& targetFolder,
                                       const std::atomic<bool>* cancel)
{
    const QString spoken = Synthesize(text, langCode, cancel);
    if (cancel && cancel->load())
        throw TQVL_Error(QStringLiteral("Das Vorlesen wurde abgebrochen."));
    if (!QDir(targetFolder).exists())
        throw TQVL_Error(QStringLiteral("Der Ordner \"%1\" existiert nicht.").arg(targetFolder));
    const QString target = TQVL_System::UniqueFileName(targetFolder, recordingName(text));
    const QString partial = target + QStringLiteral(".part");
    QFile::remove(partial);
    if (!QFile::copy(spoken, partial) || !QFile::rename(partial, target)) {
        QFile::remove(partial);
        throw TQVL_Error(QStringLiteral("Die Aufnahme kann nicht in \"%1\" gespeichert werden.").arg(targetFolder));
    }
    return QFileInfo(target).fileName();
}
