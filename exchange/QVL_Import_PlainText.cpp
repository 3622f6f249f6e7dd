#include "exchange/QVL_Import_PlainText.h"

#include "exchange/QVL_Import_CSV.h"
#include "exchange/QVL_Import_Records.h"
#include "exchange/QVL_Import_Text.h"

#include <QRegularExpression>

#include <set>

namespace {

QChar separatorOf(const QString& value, bool& known)
{
    const QString name = value.trimmed().toLower();
    known = true;
    if (name == QLatin1String("tab"))
        return QLatin1Char('\t');
    if (name == QLatin1String("comma"))
        return QLatin1Char(',');
    if (name == QLatin1String("semicolon"))
        return QLatin1Char(';');
    if (name == QLatin1String("space"))
        return QLatin1Char(' ');
    if (name == QLatin1String("pipe"))
        return QLatin1Char('|');
    if (name == QLatin1String("colon"))
        return QLatin1Char(':');
    if (value.size() == 1 && value[0] != QLatin1Char('"'))
        return value[0];
    known = false;
    return QLatin1Char('\t');
}

QString entity(QStringView name)
{
    if (name.startsWith(QLatin1Char('#'))) {
        bool ok = false;
        const uint code = name.size() > 1 && (name[1] == QLatin1Char('x') || name[1] == QLatin1Char('X'))
                              ? name.mid(2).toUInt(&ok, 16)
                              : name.mid(1).toUInt(&ok, 10);
        if (ok && code > 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF)) {
            const char32_t c = code;
            return QString::fromUcs4(&c, 1);
        }
        return QString();
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
            return QString(QChar(c));
    return QString();
}

} // namespace

QString TQVL_Import_PlainText::StripHtml(const QString& html)
{
    static const QRegularExpression sound(QStringLiteral("\\[sound:[^\\]]*\\]"));
    static const QRegularExpression breaks(
        QStringLiteral("<\\s*(br|/?p|/?div|/?li|/?tr|/?td|/?h[1-6])\\b[^>]*>"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    QString text = html;
    text.remove(sound);
    text.replace(breaks, QStringLiteral(" "));
    text.remove(tags);
    QString decoded;
    decoded.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            const qsizetype end = text.indexOf(QLatin1Char(';'), i + 1);
            if (end > i + 1 && end - i <= 10) {
                const QString replaced = entity(QStringView(text).mid(i + 1, end - i - 1));
                if (!replaced.isEmpty()) {
                    decoded.append(replaced);
                    i = end;
                    continue;
                }
            }
        }
        decoded.append(text[i]);
    }
    return decoded.simplified();
}

TQVL_Import_Source TQVL_Import_PlainText::Read(const QByteArray& bytes, const QString& fileName,
                                               const TQVL_Import_Progress& progress) const
{
    TQVL_Import_Source source;
    const QString text = TQVL_Import_Text::Decode(bytes, fileName, &source.Encoding);

    TQVL_Import_Text::RefuseXml(text, fileName);
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
        const QString header = text.mid(pos + 1, end - pos - 1).trimmed();
        const qsizetype colon = header.indexOf(QLatin1Char(':'));
        const QString key = header.left(colon).trimmed().toLower();
        const QString value = colon < 0 ? QString() : header.mid(colon + 1);
        if (key == QLatin1String("separator")) {
            bool known = false;
            separator = separatorOf(value, known);
            if (!known)
                throw TQVL_Import_Text::LineError(
                    fileName, line, QStringLiteral("Das Trennzeichen \"%1\" ist unbekannt.").arg(value.trimmed()));
        } else if (key == QLatin1String("html")) {
            html = value.trimmed().compare(QLatin1String("false"), Qt::CaseInsensitive) != 0;
        } else if (key.endsWith(QLatin1String(" column"))) {
            bool ok = false;
            const int column = value.trimmed().toInt(&ok);
            if (ok && column > 0)
                skipped.insert(column - 1);
        }
        pos = end + 1;
        ++line;
    }

    const QStringView body = QStringView(text).mid(std::min(pos, text.size()));
    TQVL_Import_Records records(body, separator, fileName);
    const int headerLines = line - 1;
    int count = 0;
    std::vector<QString> sides;
    while (records.Next()) {
        if (progress && ++count % 4096 == 0 && !progress(pos + records.Position(), text.size()))
            throw TQVL_Import_Cancelled();
        if (records.IsBlank())
            continue;
        sides.clear();
        for (std::size_t i = 0; i < records.Fields.size(); ++i)
            if (!skipped.count(int(i)))
                sides.push_back(html ? TQVL_Import_Text::CardText(StripHtml(records.Fields[i].toString()))
                                     : TQVL_Import_Text::CardText(records.Fields[i]));
        if (sides.size() < 2)
            throw TQVL_Import_Text::LineError(
                fileName, headerLines + records.Line,
                QStringLiteral("Die Zeile hat keine Rückseite (das Trennzeichen \"%1\" fehlt). Bitte prüfen Sie den "
                               "Dateityp.")
                    .arg(TQVL_Import_CSV::DelimiterName(separator)));
        if (sides[0].isEmpty() && sides[1].isEmpty())
            continue;
        TQVL_Card_Voc_Values& card = source.Cards.emplace_back();
        card.foreign1 = std::move(sides[0]);
        card.home1 = std::move(sides[1]);
    }
    if (progress && !progress(text.size(), text.size()))
        throw TQVL_Import_Cancelled();
    return source;
}
