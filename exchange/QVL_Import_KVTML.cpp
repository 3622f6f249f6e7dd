#include "exchange/QVL_Import_KVTML.h"

#include "content/QVL_LanguageLocales.h"
#include "core/QVL_Encoding.h"
#include "core/QVL_XML.h"
#include "exchange/QVL_Export_KVTML.h"
#include "exchange/QVL_Import_Pace.h"
#include "exchange/QVL_Import_Text.h"

#include <QStringList>

#include <pugixml.hpp>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// Languages of a file that are looked at; further ones are passed over. More
// than any language table names, and a file of countless columns does not
// fill the memory with them.
constexpr std::size_t maxLanguages = 256;

// A version is a few characters; a longer value is shown cut in a message.
constexpr qsizetype shownVersionLength = 20;

// A language of the file: an identifier of version 2.0, a column of version 1.0.
struct Identifier
{
    QString id;
    QString code; // the profile's code; empty when no profile has the language
    QString name;
    QString label; // as the file names the language: its locale, else its name
};

// The parsed bytes with the file's name, for texts and for errors that name the line.
struct Document
{
    const QByteArray& bytes;
    const QString& fileName;

    int lineOf(const pugi::xml_node& node) const
    {
        const qsizetype offset = std::clamp<qsizetype>(qsizetype(node.offset_debug()), 0, bytes.size());
        return int(std::count(bytes.constData(), bytes.constData() + offset, '\n')) + 1;
    }

    // All text of the element, also around comments and processing
    // instructions ("a<!-- c -->b" is "ab"), with CDATA sections.
    QString textOf(const pugi::xml_node& node) const
    {
        std::size_t size = 0;
        for (const pugi::xml_node part : node.children())
            if (part.type() == pugi::node_pcdata || part.type() == pugi::node_cdata)
                size += std::strlen(part.value());
        // A UTF-16 unit takes at least one byte: more bytes than four per
        // unit cannot fit, whatever they hold.
        if (size > std::size_t(4 * TQVL_Import_Text::MaxFieldLength))
            throw TQVL_Import_Text::FieldTooLong(fileName, lineOf(node));
        QByteArray utf8;
        utf8.reserve(qsizetype(size));
        for (const pugi::xml_node part : node.children())
            if (part.type() == pugi::node_pcdata || part.type() == pugi::node_cdata)
                utf8.append(part.value());
        const QString text = TQVL_Import_Text::CardText(TQVL_Encoding::DecodeUtf8(utf8.constData(), utf8.size()));
        if (text.size() > TQVL_Import_Text::MaxFieldLength)
            throw TQVL_Import_Text::FieldTooLong(fileName, lineOf(node));
        return text;
    }
};

// The language of `code` ("en", "eng", a profile's own code) among the file's.
int find(const std::vector<Identifier>& identifiers, const QString& code)
{
    if (code.trimmed().isEmpty())
        return -1;
    const QString wanted = TQVL_LanguageLocales::ProgramCode(code);
    for (std::size_t i = 0; i < identifiers.size(); ++i)
        if (!identifiers[i].code.isEmpty() && (identifiers[i].code == code || identifiers[i].code == wanted))
            return int(i);
    return -1;
}

// The languages of version 1.0 are the columns of its entries: the original
// ("o") and the translations ("t"), each named by the "l" attribute where the
// file gives one (usually on the first entry only).
std::vector<Identifier> columnsOf(const pugi::xml_node& root)
{
    std::vector<Identifier> columns{{QString(), QString(), QStringLiteral("Original"), QString()}};
    const auto learn = [&columns](std::size_t column, const pugi::xml_node& side) {
        if (column >= columns.size())
            columns.push_back({QString(), QString(), QStringLiteral("Übersetzung %1").arg(column), QString()});
        if (const char* language = side.attribute("l").value(); columns[column].label.isEmpty() && *language)
            columns[column].label = QString::fromUtf8(language).trimmed();
    };
    for (const pugi::xml_node entry : root.children("e")) {
        learn(0, entry.child("o"));
        std::size_t column = 1;
        for (pugi::xml_node translation = entry.child("t"); translation && column < maxLanguages;
             translation = translation.next_sibling("t"))
            learn(column++, translation);
    }
    return columns;
}

} // namespace

TQVL_Import_Source TQVL_Import_KVTML::Read(const QByteArray& bytes, const QString& fileName,
                                           const TQVL_Import_Progress& progress) const
{
    return read(bytes, fileName, progress, true);
}

std::vector<TQVL_Import_Language> TQVL_Import_KVTML::FileLanguages(const QByteArray& bytes,
                                                                   const QString& fileName) const
{
    return read(bytes, fileName, {}, false).Languages;
}

TQVL_Import_Source TQVL_Import_KVTML::read(const QByteArray& input, const QString& fileName,
                                           const TQVL_Import_Progress& progress, bool cards) const
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
    const Document file{bytes, fileName};
    const pugi::xml_node root = document.document_element();
    if (std::strcmp(root.name(), "kvtml") != 0)
        throw TQVL_Import_Text::LineError(
            fileName, file.lineOf(root),
            QStringLiteral("Die Datei ist keine KVTML-Datei (das Element \"kvtml\" fehlt)."));
    // Version 1.0 files carry no version attribute; one without it that has
    // the identifiers of 2.0 is read as 2.0.
    const QString version = QString::fromUtf8(root.attribute("version").value()).trimmed();
    const bool second = version.startsWith(QLatin1Char('2')) || (version.isEmpty() && root.child("identifiers"));
    const bool first = !second && (version.isEmpty() || version.startsWith(QLatin1Char('1')));
    if (!first && !second)
        throw TQVL_Import_Text::LineError(
            fileName, file.lineOf(root),
            QStringLiteral("Die Datei hat die KVTML-Version \"%1\"; gelesen werden die Versionen 1.0 und 2.0.")
                .arg(version.left(shownVersionLength)));
    // A version 1.0 file without entries has no languages to look for.
    if (first && !root.child("e"))
        return source;

    const pugi::xml_node identifiersNode = root.child("identifiers");
    std::vector<Identifier> identifiers;
    if (second) {
        for (pugi::xml_node identifier = identifiersNode.child("identifier");
             identifier && identifiers.size() < maxLanguages; identifier = identifier.next_sibling("identifier")) {
            const QString locale = file.textOf(identifier.child("locale")).simplified();
            const QString name = file.textOf(identifier.child("name")).simplified();
            identifiers.push_back({QString::fromUtf8(identifier.attribute("id").value()).trimmed(), QString(), name,
                                   locale.isEmpty() ? name : locale});
        }
    } else {
        identifiers = columnsOf(root);
    }
    for (Identifier& identifier : identifiers) {
        // Some programs write the language's name as its locale ("English").
        identifier.code = Languages.CodeOf(identifier.label);
        if (identifier.code.isEmpty() && identifier.name != identifier.label && !identifier.name.isEmpty())
            identifier.code = Languages.CodeOf(identifier.name);
        source.Languages.push_back({identifier.label.isEmpty() ? identifier.name : identifier.label, identifier.code});
    }
    if (!cards)
        return source;
    const int languagesLine = file.lineOf(second && identifiersNode ? identifiersNode : root);
    if (identifiers.empty())
        throw TQVL_Import_Text::LineError(fileName, languagesLine, QStringLiteral("Die Datei enthält keine Sprachen."));
    const auto shown = [](const Identifier& identifier) {
        return identifier.label.isEmpty() ? identifier.name : identifier.label;
    };
    const auto noProfile = [&](const Identifier& identifier) {
        return TQVL_Import_Text::LineError(
            fileName, languagesLine,
            QStringLiteral("Für die Sprache \"%1\" der Datei ist kein Sprachprofil installiert. Wählen Sie ein "
                           "Sprachprofil für sie oder die Sprachen der Lektion, ohne \"aus Quelldateien übernehmen\".")
                .arg(shown(identifier)));
    };
    const auto fileLanguages = [&] {
        QStringList found;
        for (const Identifier& identifier : identifiers)
            found.append(identifier.code.isEmpty() ? shown(identifier) : identifier.code);
        return found.join(QStringLiteral(", "));
    };
    // Word lists with a hint to each word, as games ship them, have one language.
    const bool single = identifiers.size() == 1;
    int home = -1;
    int foreign = 0;
    if (single) {
        if (!Languages.CommentAsHome)
            throw TQVL_Import_Text::LineError(
                fileName, languagesLine,
                QStringLiteral("Die Datei enthält nur eine Sprache (\"%1\"), zu jedem Wort höchstens eine Anmerkung. "
                               "Sie lässt sich mit der Anmerkung als Muttersprache importieren (\"Anmerkung als "
                               "Muttersprache übernehmen\"); für Karten mit Übersetzung braucht sie eine zweite "
                               "Sprache.")
                    .arg(shown(identifiers.front())));
        if (LanguagesFromSource && identifiers.front().code.isEmpty())
            throw noProfile(identifiers.front());
        source.LangCodeForeign = LanguagesFromSource ? identifiers.front().code : LangCodeForeign;
        source.LangCodeHome = LangCodeHome;
    } else {
        home = find(identifiers, LangCodeHome);
        foreign = find(identifiers, LangCodeForeign);
        if (LanguagesFromSource && identifiers.size() > 2 && !Languages.PickForeign.isEmpty() &&
            !Languages.PickHome.isEmpty()) {
            home = find(identifiers, Languages.PickHome);
            foreign = find(identifiers, Languages.PickForeign);
            if (home < 0 || foreign < 0 || home == foreign)
                throw TQVL_Import_Text::LineError(
                    fileName, languagesLine,
                    QStringLiteral("Die Datei enthält nicht die gewählten Sprachen \"%1\" und \"%2\" (Sprachen der "
                                   "Datei: %3).")
                        .arg(Languages.PickForeign, Languages.PickHome, fileLanguages()));
        } else if (LanguagesFromSource) {
            if (home < 0)
                home = 1;
            foreign = home == 0 ? 1 : 0;
        } else if ((home < 0 || foreign < 0) && identifiers.size() == 2) {
            // Languages no profile has (a file without locales, columns named
            // "state"): the two in file order, foreign first, as chosen.
            if (identifiers[0].code.isEmpty() && identifiers[1].code.isEmpty()) {
                foreign = 0;
                home = 1;
            }
        }
        if (home < 0 || foreign < 0 || home == foreign)
            throw TQVL_Import_Text::LineError(
                fileName, languagesLine,
                QStringLiteral("Die Datei enthält nicht die Sprachen \"%1\" und \"%2\" (Sprachen der Datei: %3). "
                               "Wählen Sie die Sprachen der Datei oder \"aus Quelldateien übernehmen\".")
                    .arg(LangCodeForeign, LangCodeHome, fileLanguages()));
        const Identifier& homeLanguage = identifiers[std::size_t(home)];
        const Identifier& foreignLanguage = identifiers[std::size_t(foreign)];
        // Nothing is written that names a language without a profile.
        if (LanguagesFromSource)
            for (const Identifier* language : {&foreignLanguage, &homeLanguage})
                if (language->code.isEmpty())
                    throw noProfile(*language);
        source.LangCodeHome = homeLanguage.code.isEmpty() ? LangCodeHome : homeLanguage.code;
        source.LangCodeForeign = foreignLanguage.code.isEmpty() ? LangCodeForeign : foreignLanguage.code;
    }

    TQVL_Import_Pace pace(progress, bytes.size());
    const auto addCard = [&](const pugi::xml_node& foreignText, const pugi::xml_node& homeText,
                             const pugi::xml_node& foreignComment, const pugi::xml_node& homeComment,
                             const pugi::xml_node& foreignParaphrase) {
        TQVL_Card_Voc_Values card;
        // Several meanings share a text as a learner types them, "go; walk".
        TQVL_Export_KVTML::SplitMeanings(file.textOf(foreignText), card.foreign1, card.foreign2, card.foreign3);
        TQVL_Export_KVTML::SplitMeanings(file.textOf(homeText), card.home1, card.home2, card.home3);
        card.hint = file.textOf(foreignParaphrase);
        if (card.foreign1.isEmpty() && card.home1.isEmpty())
            return;
        QStringList notes;
        for (const pugi::xml_node& comment : {foreignComment, homeComment})
            if (const QString note = file.textOf(comment); !note.isEmpty())
                notes.append(note);
        card.note = notes.join(QStringLiteral("; "));
        source.Cards.push_back(std::move(card));
    };
    if (second) {
        const QByteArray homeId = single ? QByteArray() : identifiers[std::size_t(home)].id.toUtf8();
        const QByteArray foreignId = identifiers[std::size_t(foreign)].id.toUtf8();
        for (const pugi::xml_node entry : root.child("entries").children("entry")) {
            pace.At(qint64(entry.offset_debug()));
            pugi::xml_node homeText;
            pugi::xml_node foreignText;
            for (const pugi::xml_node translation : entry.children("translation")) {
                const char* id = translation.attribute("id").value();
                if (!single && homeId == id)
                    homeText = translation;
                else if (foreignId == id)
                    foreignText = translation;
            }
            if (single)
                addCard(foreignText.child("text"), foreignText.child("comment"), pugi::xml_node(), pugi::xml_node(),
                        foreignText.child("paraphrase"));
            else
                addCard(foreignText.child("text"), homeText.child("text"), foreignText.child("comment"),
                        homeText.child("comment"), foreignText.child("paraphrase"));
        }
    } else {
        // Column 0 is the original, column n the n-th translation.
        const auto column = [](const pugi::xml_node& entry, int at) {
            if (at < 0)
                return pugi::xml_node();
            if (at == 0)
                return entry.child("o");
            pugi::xml_node translation = entry.child("t");
            for (int i = 1; i < at && translation; ++i)
                translation = translation.next_sibling("t");
            return translation;
        };
        for (const pugi::xml_node entry : root.children("e")) {
            pace.At(qint64(entry.offset_debug()));
            addCard(column(entry, foreign), column(entry, home), pugi::xml_node(), pugi::xml_node(), pugi::xml_node());
        }
    }
    pace.Finish();
    return source;
}
