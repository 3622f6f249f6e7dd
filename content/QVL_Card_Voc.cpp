#include "content/QVL_Card_Voc.h"

#include "core/QVL_XMLTag.h"

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

void TQVL_Card_Voc::LoadFromXML(const TQVL_XMLTag& tag)
{
    const TQVL_XMLTag* found[vocNameCount];
    FindChildren(tag, vocNames, vocNameCount, found);
    readVoc(found);
}

void TQVL_Card_Voc::SaveToXML(TQVL_XMLTag& tag) const
{
    writeVoc(tag);
}

void TQVL_Card_Voc::readVoc(const TQVL_XMLTag* const* found)
{
    readUid(found[vocUid]);
    const auto read = [found](VocElement element, QString& field) {
        if (found[element])
            field = found[element]->Value;
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

void TQVL_Card_Voc::writeVoc(TQVL_XMLTag& tag) const
{
    tag.AddInteger(QStringLiteral("uid"), Uid);
    tag.AddChild(QStringLiteral("foreign1"), foreign1);
    tag.AddChild(QStringLiteral("foreign2"), foreign2);
    tag.AddChild(QStringLiteral("foreign3"), foreign3);
    tag.AddChild(QStringLiteral("home1"), home1);
    tag.AddChild(QStringLiteral("home2"), home2);
    tag.AddChild(QStringLiteral("home3"), home3);
    tag.AddChild(QStringLiteral("hint"), hint);
    tag.AddChild(QStringLiteral("note"), note);
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
