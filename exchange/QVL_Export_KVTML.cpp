#include "exchange/QVL_Export_KVTML.h"

#include "content/QVL_LanguageLocales.h"

#include <QStringList>
#include <QXmlStreamWriter>

namespace {

const QString separator = QStringLiteral("; ");

void writeIdentifier(QXmlStreamWriter& xml, int id, const QString& name, const QString& code)
{
    xml.writeStartElement(QStringLiteral("identifier"));
    xml.writeAttribute(QStringLiteral("id"), QString::number(id));
    xml.writeTextElement(QStringLiteral("name"), name.isEmpty() ? code : name);
    xml.writeTextElement(QStringLiteral("locale"), TQVL_LanguageLocales::Locale(code));
    xml.writeEndElement();
}

void writeTextElementIfAny(QXmlStreamWriter& xml, const QString& name, const QString& text)
{
    if (!text.isEmpty())
        xml.writeTextElement(name, text);
}

} // namespace

QString TQVL_Export_KVTML::JoinedMeanings(const QString& first, const QString& second, const QString& third)
{
    QStringList meanings;
    for (const QString* meaning : {&first, &second, &third})
        if (!meaning->isEmpty())
            meanings.append(*meaning);
    return meanings.join(separator);
}

void TQVL_Export_KVTML::SplitMeanings(const QString& text, QString& first, QString& second, QString& third)
{
    QStringList parts = text.split(separator);
    while (parts.size() > 3)
        parts[parts.size() - 2] += separator + parts.takeLast();
    first = parts.value(0).trimmed();
    second = parts.value(1).trimmed();
    third = parts.value(2).trimmed();
}

QByteArray TQVL_Export_KVTML::Write(const std::vector<TQVL_Card_Voc_Values>& cards) const
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("kvtml"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("2.0"));

    xml.writeStartElement(QStringLiteral("information"));
    xml.writeTextElement(QStringLiteral("generator"), QStringLiteral("Quorvel"));
    xml.writeTextElement(QStringLiteral("title"), Title);
    xml.writeEndElement();

    xml.writeStartElement(QStringLiteral("identifiers"));
    writeIdentifier(xml, 0, LangNameForeign, LangCodeForeign);
    writeIdentifier(xml, 1, LangNameHome, LangCodeHome);
    xml.writeEndElement();

    xml.writeStartElement(QStringLiteral("entries"));
    for (std::size_t i = 0; i < cards.size(); ++i) {
        const TQVL_Card_Voc_Values& card = cards[i];
        xml.writeStartElement(QStringLiteral("entry"));
        xml.writeAttribute(QStringLiteral("id"), QString::number(i));
        xml.writeStartElement(QStringLiteral("translation"));
        xml.writeAttribute(QStringLiteral("id"), QStringLiteral("0"));
        xml.writeTextElement(QStringLiteral("text"), JoinedMeanings(card.foreign1, card.foreign2, card.foreign3));
        writeTextElementIfAny(xml, QStringLiteral("comment"), card.note);
        writeTextElementIfAny(xml, QStringLiteral("paraphrase"), card.hint);
        xml.writeEndElement();
        xml.writeStartElement(QStringLiteral("translation"));
        xml.writeAttribute(QStringLiteral("id"), QStringLiteral("1"));
        xml.writeTextElement(QStringLiteral("text"), JoinedMeanings(card.home1, card.home2, card.home3));
        xml.writeEndElement();
        xml.writeEndElement();
    }
    xml.writeEndElement();

    // KDE's programs practise the entries of lessons; without one they show none.
    xml.writeStartElement(QStringLiteral("lessons"));
    xml.writeStartElement(QStringLiteral("container"));
    xml.writeTextElement(QStringLiteral("name"), Title);
    xml.writeTextElement(QStringLiteral("inpractice"), QStringLiteral("true"));
    for (std::size_t i = 0; i < cards.size(); ++i) {
        xml.writeStartElement(QStringLiteral("entry"));
        xml.writeAttribute(QStringLiteral("id"), QString::number(i));
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndElement();

    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}
