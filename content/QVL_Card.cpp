#include "content/QVL_Card.h"

#include "content/QVL_Card_Grammar.h"
#include "content/QVL_Card_Pic.h"
#include "content/QVL_Card_Sound.h"
#include "content/QVL_Card_Voc.h"
#include "core/QVL_XMLTag.h"

#include <algorithm>

namespace {

// Element names are short ASCII; an inline compare keeps reading 50,000 cards
// from spending its time in the general string comparison.
inline bool sameName(QStringView name, QLatin1String expected)
{
    if (name.size() != expected.size())
        return false;
    const QChar* a = name.data();
    const char* b = expected.data();
    for (qsizetype i = 0; i < name.size(); ++i)
        if (a[i].unicode() != uchar(b[i]))
            return false;
    return true;
}


} // namespace

TQVL_Card::~TQVL_Card() = default;

void TQVL_Card::LoadFromXML(const TQVL_XMLTag& tag)
{
    readUid(tag.FindChild(QStringLiteral("uid")));
}

void TQVL_Card::SaveToXML(TQVL_XMLTag& tag) const
{
    tag.AddInteger(QStringLiteral("uid"), Uid);
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

QString TQVL_Card::NameOfKind(int kind)
{
    return TQVL_CardTypes::IsValid(kind) && kind != tLongTermStorage ? TQVL_CardTypes::StoredName(TQVL_CardType(kind))
                                                                       : TQVL_CardTypes::StoredName(tInfo);
}

void TQVL_Card::FindChildren(const TQVL_XMLTag& tag, const QLatin1String* names, int count, const TQVL_XMLTag** found)
{
    std::fill(found, found + count, nullptr);
    // Files we wrote list the children in `names` order, so the next name is
    // tried first and a card costs about one comparison per child.
    int next = 0;
    for (int c = 0; c < tag.ChildCount(); ++c) {
        const TQVL_XMLTag* child = tag.Child(c);
        for (int k = 0; k < count; ++k) {
            const int n = next + k < count ? next + k : next + k - count;
            if (sameName(child->Name, names[n])) {
                found[n] = child;
                next = n + 1 < count ? n + 1 : 0;
                break;
            }
        }
    }
}

void TQVL_Card::readUid(const TQVL_XMLTag* uid)
{
    if (uid)
        Uid = uid->AsInteger();
}
