#pragma once

#include "content/QVL_Card.h"
#include "core/QVL_XMLElement.h"

#include <functional>
#include <memory>
#include <vector>

class TQVL_XMLTag;
class TQVL_XMLWriter;

// The cards of a unit in file order, and the highest card identifier issued.
// The container owns its cards. Identifiers are never reused: new cards get
// MaxCardId + 1, and deleting cards does not lower MaxCardId.
class TQVL_Card_Container
{
public:
    using MatchCallback = std::function<void(TQVL_Card& mine, TQVL_Card& theirs, bool identical)>;

    TQVL_Card_Container();
    ~TQVL_Card_Container();
    TQVL_Card_Container(const TQVL_Card_Container&) = delete;
    TQVL_Card_Container& operator=(const TQVL_Card_Container&) = delete;

    int Count() const { return int(cards.size()); }
    TQVL_Card* Card(int index) const { return cards[std::size_t(index)].get(); }
    // The position of `card`, -1 when it is not in the list.
    int IndexOf(const TQVL_Card* card) const;
    // The first card with identifier `uid`, nullptr when there is none.
    TQVL_Card* FindByUid(qint32 uid) const;

    // Appends `card` as it is (its Uid unchanged) and returns it.
    TQVL_Card* Add(std::unique_ptr<TQVL_Card> card);
    // Appends a new empty card of `kind` with the next identifier.
    TQVL_Card* NewCard(int kind);
    // Releases the card at `index` and closes the gap.
    void Delete(int index);
    // Releases all cards; MaxCardId stays.
    void Clear() { cards.clear(); }
    // Whether some card refers to a file outside the unit.
    bool HasExternalFiles() const;

    // Replaces the cards by those below a "cards" element: one card per child,
    // of the kind its name says (information cards for unknown names). On an
    // error the container is left as it was.
    void LoadFromXML(const TQVL_XMLElement& cardsElement);
    // One element per card, named after its kind.
    void SaveToXML(TQVL_XMLTag& cardsTag) const;
    void WriteXML(TQVL_XMLWriter& writer) const;

    // Appends copies of the cards of `source` with new identifiers, skipping a
    // card when `skipIdentical` and an identical one is here, or `skipSimilar`
    // and a similar one is here. `source` is not changed.
    void Integrate(const TQVL_Card_Container& source, bool skipIdentical, bool skipSimilar);
    // Calls `callback` for each pair (card here, card of `other`), outer loop
    // over this container, that matches with the given `identical`.
    void FindMatches(const TQVL_Card_Container& other, bool identical, const MatchCallback& callback) const;

    qint32 MaxCardId = 0;

private:
    std::vector<std::unique_ptr<TQVL_Card>> cards;
};
