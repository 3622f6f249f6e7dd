#include "content/QVL_Card_Voc.h"

#include "core/QVL_XMLElement.h"
#include "core/QVL_XMLWriter.h"

using namespace Qt::Literals::StringLiterals;

namespace {

QString joinMeanings(const QString& first, const QString& second, const QString& third)
{
    QString text;
    for (const QString* meaning : {&first, &second, &third}) {
        if (meaning->isEmpty())
            continue;
        if (!text.isEmpty())
            text += QStringLiteral(", ");
        text += *meaning;
    }
    return text;
}

} // namespace

const QLatin1String TQVL_Card_Voc::vocNames[vocNameCount] = {
    QLatin1String("uid"),      QLatin1String("foreign1"), QLatin1String("foreign2"),
    QLatin1String("foreign3"), QLatin1String("home1"),    QLatin1String("home2"),
    QLatin1String("home3"),    QLatin1String("hint"),     QLatin1String("note"),
};

void TQVL_Card_Voc::LoadFromXML(const TQVL_XMLElement& element)
{
    TQVL_XMLElement found[vocNameCount];
    element.FindChildren(vocNames, vocNameCount, found);
    readVoc(found);
}

void TQVL_Card_Voc::WriteXML(TQVL_XMLWriter& writer) const
{
    writeVoc(writer);
}

void TQVL_Card_Voc::readVoc(const TQVL_XMLElement* found)
{
    readUid(found[vocUid]);
    const auto read = [found](VocElement element, QString& field) {
        if (found[element])
            field = found[element].Value();
    };
    read(vocForeign1, foreign1);
    read(vocForeign2, foreign2);
    read(vocForeign3, foreign3);
    read(vocHome1, home1);
    read(vocHome2, home2);
    read(vocHome3, home3);
    read(vocHint, hint);
    read(vocNote, note);
}

void TQVL_Card_Voc::writeVoc(TQVL_XMLWriter& writer) const
{
    writer.Integer("uid"_L1, Uid);
    writer.Text("foreign1"_L1, foreign1);
    writer.Text("foreign2"_L1, foreign2);
    writer.Text("foreign3"_L1, foreign3);
    writer.Text("home1"_L1, home1);
    writer.Text("home2"_L1, home2);
    writer.Text("home3"_L1, home3);
    writer.Text("hint"_L1, hint);
    writer.Text("note"_L1, note);
}

bool TQVL_Card_Voc::Matches(const TQVL_Card& other, bool identical) const
{
    if (other.CardType != CardType)
        return false;
    const auto& card = static_cast<const TQVL_Card_Voc&>(other);
    using V = TQVL_Card_Voc;
    for (QString V::*meaning : {&V::home1, &V::home2, &V::home3, &V::foreign1, &V::foreign2, &V::foreign3}) {
        const bool equal = this->*meaning == card.*meaning;
        if (identical && !equal)
            return false;
        if (!identical && equal && !(this->*meaning).isEmpty())
            return true;
    }
    return identical;
}

std::unique_ptr<TQVL_Card> TQVL_Card_Voc::Clone() const
{
    return std::unique_ptr<TQVL_Card>(new TQVL_Card_Voc(*this));
}

QString TQVL_Card_Voc::ForeignText() const
{
    return joinMeanings(foreign1, foreign2, foreign3);
}

QString TQVL_Card_Voc::HomeText() const
{
    return joinMeanings(home1, home2, home3);
}
