#include "content/QVL_Card_Container.h"

#include "core/QVL_XMLElement.h"
#include "core/QVL_XMLTagWriter.h"

TQVL_Card_Container::TQVL_Card_Container() = default;

TQVL_Card_Container::~TQVL_Card_Container() = default;

int TQVL_Card_Container::IndexOf(const TQVL_Card* card) const
{
    for (std::size_t i = 0; i < cards.size(); ++i)
        if (cards[i].get() == card)
            return int(i);
    return -1;
}

TQVL_Card* TQVL_Card_Container::FindByUid(qint32 uid) const
{
    for (const auto& card : cards)
        if (card->Uid == uid)
            return card.get();
    return nullptr;
}

TQVL_Card* TQVL_Card_Container::Add(std::unique_ptr<TQVL_Card> card)
{
    cards.push_back(std::move(card));
    return cards.back().get();
}

TQVL_Card* TQVL_Card_Container::NewCard(int kind)
{
    std::unique_ptr<TQVL_Card> card = TQVL_Card::CreateCard(kind);
    card->Uid = ++MaxCardId;
    return Add(std::move(card));
}

void TQVL_Card_Container::Delete(int index)
{
    cards.erase(cards.begin() + index);
}

bool TQVL_Card_Container::HasExternalFiles() const
{
    for (const auto& card : cards)
        if (card->HasExternalFile)
            return true;
    return false;
}

void TQVL_Card_Container::LoadFromXML(const TQVL_XMLElement& cardsElement)
{
    std::vector<std::unique_ptr<TQVL_Card>> loaded;
    loaded.reserve(std::size_t(cardsElement.ChildCount()));
    for (const TQVL_XMLElement element : cardsElement.Children()) {
        loaded.push_back(TQVL_Card::CreateCard(TQVL_Card::CardKindOfElement(element)));
        loaded.back()->LoadFromXML(element);
    }
    cards = std::move(loaded);
}

void TQVL_Card_Container::SaveToXML(TQVL_XMLTag& cardsTag) const
{
    TQVL_XMLTagWriter writer(cardsTag);
    WriteXML(writer);
}

void TQVL_Card_Container::WriteXML(TQVL_XMLWriter& writer) const
{
    for (const auto& card : cards) {
        writer.Begin(TQVL_Card::KindName(card->CardType));
        card->WriteXML(writer);
        writer.End();
    }
}

void TQVL_Card_Container::Integrate(const TQVL_Card_Container& source, bool skipIdentical, bool skipSimilar)
{
    // Copies appended during the walk take part in the comparison of later
    // source cards, so a source with two equal cards brings in one of them.
    // Counted once: a container integrated into itself takes each card once.
    const int sourceCount = source.Count();
    for (int s = 0; s < sourceCount; ++s) {
        const TQVL_Card& candidate = *source.Card(s);
        bool similar = false;
        bool identicalFound = false;
        for (const auto& card : cards) {
            if (!similar && card->Matches(candidate, false))
                similar = true;
            // Identical cards count from the first similar one onwards.
            if (similar && card->Matches(candidate, true)) {
                identicalFound = true;
                break;
            }
        }
        if ((skipIdentical && identicalFound) || (skipSimilar && similar))
            continue;
        std::unique_ptr<TQVL_Card> copy = candidate.Clone();
        copy->Uid = ++MaxCardId;
        Add(std::move(copy));
    }
}

void TQVL_Card_Container::FindMatches(const TQVL_Card_Container& other, bool identical,
                                      const MatchCallback& callback) const
{
    for (const auto& mine : cards)
        for (const auto& theirs : other.cards)
            if (mine->Matches(*theirs, identical))
                callback(*mine, *theirs, identical);
}
