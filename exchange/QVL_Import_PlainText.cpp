#include "exchange/QVL_Import_PlainText.h"

#include "exchange/QVL_Import_CSV.h"
#include "exchange/QVL_Import_Pace.h"
#include "exchange/QVL_Import_Records.h"
#include "exchange/QVL_Import_Text.h"

#include <algorithm>
#include <array>
#include <set>

namespace {

// The longest entity reference, "&" to ";" ("&#1114111;"); a ";" further on
// ends no entity, so no "&" looks further ahead than this.
constexpr qsizetype maxEntityLength = 10;

QChar separatorOf(QStringView value, bool& known)
{
    const QStringView name = value.trimmed();
    known = true;
    const auto is = [&name](const char* text) { return name.compare(QLatin1String(text), Qt::CaseInsensitive) == 0; };
    if (is("tab"))
        return QLatin1Char('\t');
    if (is("comma"))
        return QLatin1Char(',');
    if (is("semicolon"))
        return QLatin1Char(';');
    if (is("space"))
        return QLatin1Char(' ');
    if (is("pipe"))
        return QLatin1Char('|');
    if (is("colon"))
        return QLatin1Char(':');
    if (value.size() == 1 && value[0] != QLatin1Char('"'))
        return value[0];
    known = false;
    return QLatin1Char('\t');
}

// The character an entity name ("amp", "#228", "#x20AC") stands for; 0 when it names none.
char32_t entity(QStringView name)
{
    if (name.startsWith(QLatin1Char('#'))) {
        bool ok = false;
        const uint code = name.size() > 1 && (name[1] == QLatin1Char('x') || name[1] == QLatin1Char('X'))
                              ? name.mid(2).toUInt(&ok, 16)
                              : name.mid(1).toUInt(&ok, 10);
        if (ok && code > 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF))
            return char32_t(code);
        return 0;
    }
    static const std::pair<const char*, char16_t> named[] = {
        {"amp", u'&'},     {"lt", u'<'},      {"gt", u'>'},      {"quot", u'"'},    {"apos", u'\''},
        {"nbsp", u' '},    {"auml", u'ä'},    {"ouml", u'ö'},    {"uuml", u'ü'},    {"Auml", u'Ä'},
        {"Ouml", u'Ö'},    {"Uuml", u'Ü'},    {"szlig", u'ß'},   {"eacute", u'é'},  {"egrave", u'è'},
        {"agrave", u'à'},  {"ccedil", u'ç'},  {"ntilde", u'ñ'},  {"hellip", u'…'},  {"ndash", u'–'},
        {"mdash", u'—'},
    };
    for (const auto& [text, c] : named)
        if (name == QLatin1String(text))
            return c;
    return 0;
}

bool entityNameChar(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('#');
}

bool wordChar(QChar c)
{
    return c.isLetterOrNumber() || c.isMark() || c == QLatin1Char('_');
}

// A tag (the text between "<" and ">") that breaks a line or ends a block:
// br, p, div, li, tr, td, h1 to h6, opening or closing (br only opening).
bool breaksText(QStringView tag)
{
    qsizetype i = 0;
    while (i < tag.size() && tag[i].isSpace())
        ++i;
    tag = tag.mid(i);
    const auto named = [&tag](QStringView name) {
        return tag.size() >= name.size() && tag.left(name.size()).compare(name, Qt::CaseInsensitive) == 0 &&
               (tag.size() == name.size() || !wordChar(tag[name.size()]));
    };
    if (named(u"br"))
        return true;
    if (tag.startsWith(QLatin1Char('/')))
        tag = tag.mid(1);
    for (const char16_t* name : {u"p", u"div", u"li", u"tr", u"td"})
        if (named(name))
            return true;
    return tag.size() >= 2 && (tag[0] == QLatin1Char('h') || tag[0] == QLatin1Char('H')) &&
           tag[1] >= QLatin1Char('1') && tag[1] <= QLatin1Char('6') && (tag.size() == 2 || !wordChar(tag[2]));
}

// The next `c` at or after `from`, remembered in `at` so that a text full of
// openers without a closer is searched once, not once per opener.
qsizetype nextOf(QStringView text, QChar c, qsizetype from, qsizetype& at)
{
    if (at < from && at != text.size())
        at = text.indexOf(c, from);
    if (at < 0)
        at = text.size();
    return at;
}

// Sound references ("[sound:a.mp3]") removed.
QString withoutSounds(QStringView text)
{
    const QStringView opener = u"[sound:";
    QString kept;
    qsizetype close = -1;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = text.indexOf(opener, from);
        const qsizetype end = at < 0 ? text.size() : nextOf(text, QLatin1Char(']'), at + opener.size(), close);
        if (at < 0 || end == text.size()) {
            kept.append(text.mid(from));
            return kept;
        }
        kept.append(text.mid(from, at - from));
        from = end + 1;
    }
}

// Tags removed; those that break lines or end blocks become a blank. A "<"
// that no ">" follows is text.
QString withoutTags(QStringView text)
{
    QString kept;
    kept.reserve(text.size());
    qsizetype close = -1;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = text.indexOf(QLatin1Char('<'), from);
        const qsizetype end = at < 0 ? text.size() : nextOf(text, QLatin1Char('>'), at + 1, close);
        if (at < 0 || end == text.size()) {
            kept.append(text.mid(from));
            return kept;
        }
        kept.append(text.mid(from, at - from));
        if (breaksText(text.mid(at + 1, end - at - 1)))
            kept.append(QLatin1Char(' '));
        from = end + 1;
    }
}

// Entity references decoded; what names no character stays as it is.
QString withEntities(QStringView text)
{
    QString decoded;
    decoded.reserve(text.size());
    qsizetype from = 0; // start of the text not yet copied
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        // Looks no further than the longest entity and stops at the first
        // character no entity name holds: every "&" costs a bounded step.
        const qsizetype limit = std::min(text.size(), i + maxEntityLength + 1);
        qsizetype end = i + 1;
        while (end < limit && entityNameChar(text[end]))
            ++end;
        if (end == limit || text[end] != QLatin1Char(';') || end == i + 1)
            continue;
        const char32_t c = entity(text.mid(i + 1, end - i - 1));
        if (!c)
            continue;
        decoded.append(text.mid(from, i - from));
        if (QChar::requiresSurrogates(c)) {
            decoded.append(QChar(QChar::highSurrogate(c)));
            decoded.append(QChar(QChar::lowSurrogate(c)));
        } else {
            decoded.append(QChar(char16_t(c)));
        }
        i = end;
        from = end + 1;
    }
    decoded.append(text.mid(from));
    return decoded;
}

// A header value as an error message shows it: a line of megabytes is not repeated whole.
QString shown(QStringView value)
{
    constexpr qsizetype shownLength = 40;
    return value.size() <= shownLength ? value.toString() : value.left(shownLength).toString() + QStringLiteral("…");
}

} // namespace

QString TQVL_Import_PlainText::StripHtml(QStringView html)
{
    // Each step is one pass over the text, so a field costs time in
    // proportion to its length whatever it holds.
    QString text = html.contains(QLatin1Char('[')) ? withoutSounds(html) : html.toString();
    if (text.contains(QLatin1Char('<')))
        text = withoutTags(text);
    if (text.contains(QLatin1Char('&')))
        text = withEntities(text);
    return text.simplified();
}

TQVL_Import_Source TQVL_Import_PlainText::Read(const QByteArray& bytes, const QString& fileName,
                                               const TQVL_Import_Progress& progress) const
{
    TQVL_Import_Source source;
    const QString text = TQVL_Import_Text::Decode(bytes, fileName, &source.Encoding);

    TQVL_Import_Text::RefuseXml(text, fileName);
    TQVL_Import_Pace pace(progress, text.size());
    // Header lines come first, each "#key:value".
    QChar separator = QLatin1Char('\t');
    bool html = true;
    std::set<int> skipped; // 0-based columns that are no card side
    qsizetype pos = 0;
    int line = 1;
    while (pos < text.size() && text[pos] == QLatin1Char('#')) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), pos);
        if (end < 0)
            end = text.size();
        const QStringView header = QStringView(text).mid(pos + 1, end - pos - 1).trimmed();
        const qsizetype colon = header.indexOf(QLatin1Char(':'));
        const QStringView key = header.left(colon < 0 ? header.size() : colon).trimmed();
        const QStringView value = colon < 0 ? QStringView() : header.mid(colon + 1);
        if (key.compare(QLatin1String("separator"), Qt::CaseInsensitive) == 0) {
            bool known = false;
            separator = separatorOf(value, known);
            if (!known)
                throw TQVL_Import_Text::LineError(
                    fileName, line,
                    QStringLiteral("Das Trennzeichen \"%1\" ist unbekannt.").arg(shown(value.trimmed())));
        } else if (key.compare(QLatin1String("html"), Qt::CaseInsensitive) == 0) {
            html = value.trimmed().compare(QLatin1String("false"), Qt::CaseInsensitive) != 0;
        } else if (key.endsWith(QLatin1String(" column"), Qt::CaseInsensitive)) {
            bool ok = false;
            const int column = value.trimmed().toInt(&ok);
            if (ok && column > 0)
                skipped.insert(column - 1);
        }
        pos = end + 1;
        ++line;
        pace.At(pos);
    }

    TQVL_Import_Records records(text, separator, fileName, &pace);
    records.StartAt(std::min(pos, text.size()), line);
    std::array<QString, 2> sides;
    while (records.Next()) {
        if (records.IsBlank())
            continue;
        // Only the first two sides make the card; further columns are not converted.
        std::size_t found = 0;
        for (std::size_t i = 0; i < records.Fields.size() && found < sides.size(); ++i)
            if (!skipped.count(int(i)))
                sides[found++] = html ? TQVL_Import_Text::CardText(StripHtml(records.Fields[i]))
                                      : TQVL_Import_Text::CardText(records.Fields[i]);
        if (found < sides.size())
            throw TQVL_Import_Text::LineError(
                fileName, records.Line,
                QStringLiteral("Die Zeile hat keine Rückseite (das Trennzeichen \"%1\" fehlt). Bitte prüfen Sie den "
                               "Dateityp.")
                    .arg(TQVL_Import_CSV::DelimiterName(separator)));
        if (sides[0].isEmpty() && sides[1].isEmpty())
            continue;
        TQVL_Card_Voc_Values& card = source.Cards.emplace_back();
        card.foreign1 = std::move(sides[0]);
        card.home1 = std::move(sides[1]);
    }
    pace.Finish();
    return source;
}
