#include "exchange/QVL_Import_KVTML.h"

#include "core/QVL_Encoding.h"
#include "core/QVL_XML.h"
#include "exchange/QVL_Export_KVTML.h"
#include "exchange/QVL_Import_Text.h"
#include "exchange/QVL_LanguageLocales.h"

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

// "en_GB", "en-US", "EN", "eng" all name "eng".
QString languagePart(const QString& locale)
{
    return TQVL_LanguageLocales::ProgramCode(locale);
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
        // Several meanings share a text as a learner types them, "go; walk".
        TQVL_Export_KVTML::SplitMeanings(textOf(foreignText.child("text")), card.foreign1, card.foreign2,
                                         card.foreign3);
        TQVL_Export_KVTML::SplitMeanings(textOf(homeText.child("text")), card.home1, card.home2, card.home3);
        card.hint = textOf(foreignText.child("paraphrase"));
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
