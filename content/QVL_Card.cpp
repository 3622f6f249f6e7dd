#include "content/QVL_Card.h"

#include "content/QVL_Card_Grammar.h"
#include "content/QVL_Card_Pic.h"
#include "content/QVL_Card_Sound.h"
#include "content/QVL_Card_Voc.h"
#include "core/QVL_XMLElement.h"
#include "core/QVL_XMLTagWriter.h"

using namespace Qt::Literals::StringLiterals;

TQVL_Card::~TQVL_Card() = default;

void TQVL_Card::LoadFromXML(const TQVL_XMLElement& element)
{
    readUid(element.FindChild("uid"_L1));
}

void TQVL_Card::WriteXML(TQVL_XMLWriter& writer) const
{
    writer.Integer("uid"_L1, Uid);
}

void TQVL_Card::SaveToXML(TQVL_XMLTag& tag) const
{
    TQVL_XMLTagWriter writer(tag);
    WriteXML(writer);
}

bool TQVL_Card::Matches(const TQVL_Card& other, bool /*identical*/) const
{
    return other.CardType == CardType;
}

std::unique_ptr<TQVL_Card> TQVL_Card::Clone() const
{
    return std::unique_ptr<TQVL_Card>(new TQVL_Card(*this));
}

std::unique_ptr<TQVL_Card> TQVL_Card::CreateCard(int kind)
{
    switch (kind) {
    case tVoc:
        return std::make_unique<TQVL_Card_Voc>();
    case tPic:
        return std::make_unique<TQVL_Card_Pic>();
    case tGrammar:
        return std::make_unique<TQVL_Card_Grammar>();
    case tSound:
        return std::make_unique<TQVL_Card_Sound>();
    default:
        return std::make_unique<TQVL_Card>();
    }
}

int TQVL_Card::CardKindOfName(QStringView name)
{
    const std::optional<TQVL_CardType> kind = TQVL_CardTypes::OfStoredName(name);
    // A storage is a kind of unit, never of card.
    return kind && *kind != tLongTermStorage ? *kind : tInfo;
}

int TQVL_Card::CardKindOfElement(const TQVL_XMLElement& element)
{
    // A storage is a kind of unit, never of card.
    for (int kind = 0; kind < tLongTermStorage; ++kind)
        if (element.HasName(TQVL_CardTypes::StoredLatin1Name(TQVL_CardType(kind))))
            return kind;
    return tInfo;
}

QLatin1String TQVL_Card::KindName(int kind)
{
    return TQVL_CardTypes::StoredLatin1Name(
        TQVL_CardTypes::IsValid(kind) && kind != tLongTermStorage ? TQVL_CardType(kind) : tInfo);
}

QString TQVL_Card::NameOfKind(int kind)
{
    return TQVL_CardTypes::IsValid(kind) && kind != tLongTermStorage ? TQVL_CardTypes::StoredName(TQVL_CardType(kind))
                                                                       : TQVL_CardTypes::StoredName(tInfo);
}

void TQVL_Card::readUid(const TQVL_XMLElement& uid)
{
    if (uid)
        Uid = uid.AsInteger();
}
