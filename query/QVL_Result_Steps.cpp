#include "query/QVL_Result_Steps.h"

#include "core/QVL_Error.h"
#include "core/QVL_SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

#include <charconv>
#include <cmath>
#include <string_view>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view magic = "# Quorvel result steps, version ";
constexpr std::string_view columns =
    "now,device,unit_uid,file,longterm,reference,duration,self,mark,cards(uid:queried:right:points;...)";

QString notSteps(const QString& fileName)
{
    return QStringLiteral("Die Datei \"%1\" ist keine gültige Ergebnisschritt-Datei!").arg(fileName);
}

template <typename Int> void appendInt(QByteArray& out, Int value)
{
    char buffer[24];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, error == std::errc() ? end - buffer : 0);
}

// The shortest text that reads back as the same double: a replay computes
// exactly the dates the query wrote.
void appendSerial(QByteArray& out, TQVL_DateTime value)
{
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value.Serial());
    out.append(buffer, error == std::errc() ? end - buffer : 0);
}

template <typename Int> bool parseInt(std::string_view text, Int& result)
{
    if (text.empty())
        return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), result);
    return error == std::errc() && end == text.data() + text.size();
}

bool parseSerial(std::string_view text, TQVL_DateTime& result)
{
    double value = 0;
    if (text.empty())
        return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return false;
    result = TQVL_DateTime(value);
    return true;
}

// Texts are percent-encoded: no comma, semicolon or line break reaches the line.
void appendText(QByteArray& out, const QString& text)
{
    out.append(QUrl::toPercentEncoding(text));
}

QString textOf(std::string_view field)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(QByteArray(field.data(), qsizetype(field.size()))));
}

std::vector<std::string_view> split(std::string_view line, char separator)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = line.find(separator, start);
        if (at == std::string_view::npos) {
            parts.push_back(line.substr(start));
            return parts;
        }
        parts.push_back(line.substr(start, at - start));
        start = at + 1;
    }
}

bool parseLine(std::string_view line, TQVL_Result_Step& step)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    const std::vector<std::string_view> f = split(line, ',');
    if (f.size() != 10)
        return false;
    if (!parseSerial(f[0], step.Now) || f[1].empty() || f[2].empty())
        return false;
    step.Device = textOf(f[1]);
    step.UnitUid = textOf(f[2]);
    step.FileName = textOf(f[3]);
    if (f[4] != "0" && f[4] != "1")
        return false;
    step.LongTermMode = f[4] == "1";
    step.ReferenceDate = TQVL_DateTime();
    if (!f[5].empty() && !parseSerial(f[5], step.ReferenceDate))
        return false;
    if (!parseInt(f[6], step.Duration) || (f[7] != "0" && f[7] != "1"))
        return false;
    step.SelfEvaluated = f[7] == "1";
    if (f[8] == "k")
        step.Mark = TQVL_Result_Step::StorageMark::Keep;
    else if (f[8] == "c")
        step.Mark = TQVL_Result_Step::StorageMark::Clear;
    else if (f[8] == "s")
        step.Mark = TQVL_Result_Step::StorageMark::Set;
    else
        return false;
    step.Cards.clear();
    if (f[9].empty())
        return true;
    for (const std::string_view item : split(f[9], ';')) {
        const std::vector<std::string_view> c = split(item, ':');
        TQVL_Result_Step::Card card;
        if (c.size() != 4 || !parseInt(c[0], card.CardUid) || !parseInt(c[1], card.Queried) ||
            !parseInt(c[2], card.Right) || !parseInt(c[3], card.PointDelta))
            return false;
        step.Cards.push_back(card);
    }
    return true;
}

QString profileStem(const QString& profileFileName)
{
    const QFileInfo info(profileFileName);
    return info.absolutePath() + QLatin1Char('/') + info.completeBaseName();
}

QRegularExpression stepFilePattern(const QString& profileFileName)
{
    return QRegularExpression(QStringLiteral("^%1\\.([0-9a-f]{32})\\.steps\\.csv$")
                                  .arg(QRegularExpression::escape(QFileInfo(profileFileName).completeBaseName())));
}

} // namespace

QByteArray TQVL_Result_Steps::Header()
{
    QByteArray header(magic.data(), qsizetype(magic.size()));
    appendInt(header, Version);
    header.append('\n');
    header.append(columns.data(), qsizetype(columns.size()));
    header.append('\n');
    return header;
}

void TQVL_Result_Steps::AppendLine(QByteArray& out, const TQVL_Result_Step& step)
{
    appendSerial(out, step.Now);
    out.append(',');
    appendText(out, step.Device);
    out.append(',');
    appendText(out, step.UnitUid);
    out.append(',');
    appendText(out, step.FileName);
    out.append(step.LongTermMode ? ",1," : ",0,");
    if (!step.ReferenceDate.IsEmpty())
        appendSerial(out, step.ReferenceDate);
    out.append(',');
    appendInt(out, step.Duration);
    out.append(step.SelfEvaluated ? ",1," : ",0,");
    out.append(step.Mark == TQVL_Result_Step::StorageMark::Keep    ? 'k'
               : step.Mark == TQVL_Result_Step::StorageMark::Clear ? 'c'
                                                                   : 's');
    out.append(',');
    bool first = true;
    for (const TQVL_Result_Step::Card& card : step.Cards) {
        if (!first)
            out.append(';');
        first = false;
        appendInt(out, card.CardUid);
        out.append(':');
        appendInt(out, card.Queried);
        out.append(':');
        appendInt(out, card.Right);
        out.append(':');
        appendInt(out, card.PointDelta);
    }
    out.append('\n');
}

TQVL_Result_Steps::Contents TQVL_Result_Steps::Parse(const QByteArray& bytes, const QString& fileName)
{
    Contents contents;
    if (bytes.isEmpty())
        return contents;
    const QByteArray header = Header();
    if (bytes.size() < header.size() && header.startsWith(bytes)) {
        contents.TornTail = true;
        return contents;
    }
    const qsizetype firstEnd = bytes.indexOf('\n');
    if (firstEnd < 0 || !bytes.startsWith(QByteArray(magic.data(), qsizetype(magic.size()))))
        throw TQVL_Error(notSteps(fileName));
    int version = 0;
    const QByteArray versionText = bytes.mid(qsizetype(magic.size()), firstEnd - qsizetype(magic.size()));
    if (!parseInt(std::string_view(versionText.constData(), std::size_t(versionText.size())), version))
        throw TQVL_Error(notSteps(fileName));
    if (version != Version)
        throw TQVL_Error(QStringLiteral("Die Ergebnisschritt-Datei \"%1\" hat die Version %2. Dieses Programm kann "
                                        "nur die Version %3 lesen. Bitte aktualisieren Sie Quorvel.")
                             .arg(fileName)
                             .arg(version)
                             .arg(Version));
    if (!bytes.startsWith(header))
        throw TQVL_Error(notSteps(fileName));
    qsizetype p = header.size();
    while (p < bytes.size()) {
        const qsizetype lineEnd = bytes.indexOf('\n', p);
        if (lineEnd < 0) {
            contents.TornTail = true;
            break;
        }
        if (lineEnd > p) {
            TQVL_Result_Step step;
            if (parseLine(std::string_view(bytes.constData() + p, std::size_t(lineEnd - p)), step))
                contents.Steps.push_back(std::move(step));
            else
                ++contents.DamagedLines;
        }
        p = lineEnd + 1;
    }
    return contents;
}

TQVL_Result_Steps::Contents TQVL_Result_Steps::Read(const QString& fileName)
{
    if (!QFileInfo::exists(fileName))
        return {};
    return Parse(TQVL_FileHandle::ReadWholeFile(fileName), fileName);
}

void TQVL_Result_Steps::Append(const QString& fileName, const std::vector<TQVL_Result_Step>& steps)
{
    const auto fail = [&](int error) {
        throw TQVL_Error(QStringLiteral("Die Ergebnisschritt-Datei \"%1\" konnte nicht geschrieben werden: %2")
                             .arg(fileName, TQVL_SafeFile::ErrorText(error)));
    };
    const QByteArray path = QFile::encodeName(fileName);
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        fail(errno);
    struct Closer
    {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info = {};
    if (::fstat(fd, &info) != 0)
        fail(errno);
    QByteArray existing;
    if (info.st_size > 0) {
        existing = TQVL_FileHandle::ReadWholeFile(fileName);
        Parse(existing, fileName);
    }
    QByteArray out;
    qint64 at = existing.size();
    if (existing.size() < Header().size()) {
        // New, or its creation was cut off.
        at = 0;
        out = Header();
    } else if (!existing.endsWith('\n')) {
        // A line cut off by a crash: the next one starts on a line of its own.
        at = existing.lastIndexOf('\n') + 1;
    }
    for (const TQVL_Result_Step& step : steps)
        AppendLine(out, step);
    if (::ftruncate(fd, at) != 0)
        fail(errno);
    qint64 done = 0;
    while (done < out.size()) {
        const ssize_t n = ::pwrite(fd, out.constData() + done, std::size_t(out.size() - done), at + done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            [[maybe_unused]] const int ignored = ::ftruncate(fd, at);
            fail(error);
        }
        done += n;
    }
    if (::fdatasync(fd) != 0)
        fail(errno);
}

QString TQVL_Result_Steps::FileName(const QString& profileFileName, const QString& deviceId)
{
    return profileStem(profileFileName) + QLatin1Char('.') + deviceId + QStringLiteral(".steps.csv");
}

QStringList TQVL_Result_Steps::FilesOf(const QString& profileFileName)
{
    const QFileInfo info(profileFileName);
    const QRegularExpression pattern = stepFilePattern(profileFileName);
    QStringList files;
    const QDir folder = info.absoluteDir();
    for (const QString& name :
         folder.entryList({info.completeBaseName() + QStringLiteral(".*.steps.csv")}, QDir::Files, QDir::Name)) {
        if (pattern.match(name).hasMatch())
            files << folder.absoluteFilePath(name);
    }
    return files;
}

QString TQVL_Result_Steps::DeviceOf(const QString& profileFileName, const QString& stepFileName)
{
    const QRegularExpressionMatch match = stepFilePattern(profileFileName).match(QFileInfo(stepFileName).fileName());
    return match.hasMatch() ? match.captured(1) : QString();
}
