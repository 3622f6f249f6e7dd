#include "exchange/QVL_Import_KVTML.h"

#include "core/QVL_Encoding.h"
#include "core/QVL_XML.h"
#include "exchange/QVL_Import_Text.h"

#include <QRegularExpression>
#include <QStringList>

#include <pugixml.hpp>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

struct Identifier
{
    QString id;
    QString code; // language part of the locale, lower case; empty when the file has none
    QString name;
};

QString textOf(const pugi::xml_node& node)
{
    const char* value = node.child_value();
    return TQVL_Import_Text::CardText(TQVL_Encoding::DecodeUtf8(value, qsizetype(std::strlen(value))));
}

// The language codes of the language-name table are three-letter ones
// (bibliographic forms: "ger", "fre"); files name languages by two letters
// ("de") or by the terminological three ("deu").
const std::pair<const char*, const char*> programCodes[] = {
    {"af", "afr"}, {"sq", "alb"}, {"sqi", "alb"}, {"ar", "ara"}, {"hy", "arm"}, {"hye", "arm"}, {"az", "aze"},
    {"eu", "baq"}, {"eus", "baq"}, {"be", "bel"}, {"bn", "ben"}, {"bs", "bos"}, {"br", "bre"}, {"bg", "bul"},
    {"zh", "chi"}, {"zho", "chi"}, {"da", "dan"}, {"de", "ger"}, {"deu", "ger"}, {"en", "eng"}, {"eo", "epo"},
    {"et", "est"}, {"fo", "fao"}, {"fi", "fin"}, {"fr", "fre"}, {"fra", "fre"}, {"gl", "glg"}, {"ka", "geo"},
    {"kat", "geo"}, {"el", "gre"}, {"ell", "gre"}, {"he", "heb"}, {"iw", "heb"}, {"hi", "hin"}, {"id", "ind"},
    {"ga", "gle"}, {"is", "ice"}, {"isl", "ice"}, {"it", "ita"}, {"ja", "jpn"}, {"yi", "yid"}, {"kk", "kaz"},
    {"ca", "cat"}, {"ko", "kor"}, {"hr", "hrv"}, {"ku", "kur"}, {"la", "lat"}, {"lv", "lav"}, {"lt", "lit"},
    {"lb", "ltz"}, {"ms", "may"}, {"msa", "may"}, {"mt", "mlt"}, {"mk", "mac"}, {"mkd", "mac"}, {"mn", "mon"},
    {"nl", "dut"}, {"nld", "dut"}, {"no", "nor"}, {"nb", "nor"}, {"nn", "nor"}, {"nob", "nor"}, {"fa", "per"},
    {"fas", "per"}, {"pl", "pol"}, {"pt", "por"}, {"rm", "roh"}, {"ro", "rum"}, {"ron", "rum"}, {"ru", "rus"},
    {"gd", "gla"}, {"sv", "swe"}, {"sr", "srp"}, {"sk", "slo"}, {"slk", "slo"}, {"sl", "slv"}, {"es", "spa"},
    {"sw", "swa"}, {"th", "tha"}, {"cs", "cze"}, {"ces", "cze"}, {"tr", "tur"}, {"uk", "ukr"}, {"hu", "hun"},
    {"ur", "urd"}, {"vi", "vie"}, {"cy", "wel"}, {"cym", "wel"},
};

// "en_GB", "en-US", "EN", "eng" all name "eng".
QString languagePart(const QString& locale)
{
    QString code = locale.trimmed().toLower();
    const qsizetype cut = code.indexOf(QRegularExpression(QStringLiteral("[_\\-@.]")));
    if (cut >= 0)
        code = code.left(cut);
    for (const auto& [from, to] : programCodes)
        if (code == QLatin1String(from))
            return QString::fromLatin1(to);
    return code;
}

int find(const std::vector<Identifier>& identifiers, const QString& code)
{
    const QString wanted = languagePart(code);
    for (std::size_t i = 0; i < identifiers.size(); ++i)
        if (!wanted.isEmpty() && identifiers[i].code == wanted)
            return int(i);
    return -1;
}

} // namespace

TQVL_Import_Source TQVL_Import_KVTML::Read(const QByteArray& input, const QString& fileName,
                                          const TQVL_Import_Progress& progress) const
{
    TQVL_Import_Source source;
    QByteArray bytes = input;
    const bool utf16 = bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
    if (utf16) {
        // Converted here, so that offsets and lines count in the bytes we hold.
        bytes = TQVL_Import_Text::Decode(bytes, fileName).toUtf8();
        source.Encoding = QStringLiteral("UTF-16");
    } else {
        source.Encoding = TQVL_NativeXML::RepairEncoding(bytes) ? QStringLiteral("Windows-1252") : QStringLiteral("UTF-8");
    }
    pugi::xml_document document;
    const pugi::xml_parse_result parsed =
        document.load_buffer(bytes.constData(), std::size_t(bytes.size()), pugi::parse_default,
                             utf16 ? pugi::encoding_utf8 : pugi::encoding_auto);
    if (parsed.status == pugi::status_no_document_element)
        throw TQVL_Import_Text::LineError(fileName, 1, QStringLiteral("Die Datei ist keine XML-Datei."));
    if (!parsed)
        throw TQVL_Error::WithCause(
            QStringLiteral("Die Datei \"%1\" kann nicht importiert werden.").arg(fileName),
            TQVL_NativeXML::ParseErrorText(parsed.status, bytes.constData(), bytes.size(), qsizetype(parsed.offset)));
    const auto lineOf = [&bytes](const pugi::xml_node& node) {
        const qsizetype offset = std::clamp<qsizetype>(qsizetype(node.offset_debug()), 0, bytes.size());
        return int(std::count(bytes.constData(), bytes.constData() + offset, '\n')) + 1;
    };
    const pugi::xml_node root = document.document_element();
    if (std::strcmp(root.name(), "kvtml") != 0)
        throw TQVL_Import_Text::LineError(fileName, lineOf(root),
                                          QStringLiteral("Die Datei ist keine KVTML-Datei (das Element \"kvtml\" fehlt)."));
    const QString version = QString::fromUtf8(root.attribute("version").value());
    if (!version.startsWith(QLatin1String("2")))
        throw TQVL_Import_Text::LineError(
            fileName, lineOf(root),
            QStringLiteral("KVTML-Version \"%1\" wird nicht unterstützt, nur Version 2.0.").arg(version));

    std::vector<Identifier> identifiers;
    for (const pugi::xml_node identifier : root.child("identifiers").children("identifier"))
        identifiers.push_back({QString::fromUtf8(identifier.attribute("id").value()).trimmed(),
                               languagePart(textOf(identifier.child("locale"))), textOf(identifier.child("name"))});
    if (identifiers.size() < 2)
        throw TQVL_Import_Text::LineError(fileName, lineOf(root.child("identifiers") ? root.child("identifiers") : root),
                                          QStringLiteral("Die Datei enthält keine zwei Sprachen."));

    int home = find(identifiers, LangCodeHome);
    int foreign = find(identifiers, LangCodeForeign);
    if (LanguagesFromSource) {
        if (home < 0)
            home = 1;
        foreign = home == 0 ? 1 : 0;
    } else if ((home < 0 || foreign < 0) && identifiers.size() == 2) {
        // A file without locales: its two languages in file order, foreign first.
        const bool noLocales = identifiers[0].code.isEmpty() && identifiers[1].code.isEmpty();
        if (noLocales) {
            foreign = 0;
            home = 1;
        }
    }
    if (home < 0 || foreign < 0 || home == foreign) {
        QStringList found;
        for (const Identifier& identifier : identifiers)
            found.append(identifier.code.isEmpty() ? identifier.name : identifier.code);
        throw TQVL_Import_Text::LineError(
            fileName, lineOf(root.child("identifiers")),
            QStringLiteral("Die Datei enthält nicht die Sprachen \"%1\" und \"%2\" (Sprachen der Datei: %3). Wählen "
                           "Sie die Sprachen der Datei oder \"aus Quelldateien übernehmen\".")
                .arg(LangCodeForeign, LangCodeHome, found.join(QStringLiteral(", "))));
    }
    source.LangCodeHome = identifiers[std::size_t(home)].code.isEmpty() ? LangCodeHome : identifiers[std::size_t(home)].code;
    source.LangCodeForeign =
        identifiers[std::size_t(foreign)].code.isEmpty() ? LangCodeForeign : identifiers[std::size_t(foreign)].code;
    const QByteArray homeId = identifiers[std::size_t(home)].id.toUtf8();
    const QByteArray foreignId = identifiers[std::size_t(foreign)].id.toUtf8();

    const pugi::xml_node entries = root.child("entries");
    int count = 0;
    for (const pugi::xml_node entry : entries.children("entry")) {
        if (progress && ++count % 4096 == 0 &&
            !progress(qint64(entry.offset_debug()), qint64(bytes.size())))
            throw TQVL_Import_Cancelled();
        pugi::xml_node homeText;
        pugi::xml_node foreignText;
        for (const pugi::xml_node translation : entry.children("translation")) {
            const char* id = translation.attribute("id").value();
            if (homeId == id)
                homeText = translation;
            else if (foreignId == id)
                foreignText = translation;
        }
        TQVL_Card_Voc_Values card;
        card.foreign1 = textOf(foreignText.child("text"));
        card.home1 = textOf(homeText.child("text"));
        if (card.foreign1.isEmpty() && card.home1.isEmpty())
            continue;
        QStringList notes;
        for (const pugi::xml_node& side : {foreignText, homeText})
            if (const QString comment = textOf(side.child("comment")); !comment.isEmpty())
                notes.append(comment);
        card.note = notes.join(QStringLiteral("; "));
        source.Cards.push_back(std::move(card));
    }
    if (progress && !progress(bytes.size(), bytes.size()))
        throw TQVL_Import_Cancelled();
    return source;
}
