#pragma once

#include <QString>

#include <vector>

class TQVL_Card;
class TQVL_Unit;

// Copying the cards of one unit into a long-term storage (or into another
// unit of the same kind): the check whether the two fit, the list of
// conflicting cards, and the copy itself, saved or not done at all.
class TQVL_Unit_Integration
{
public:
    // One conflicting pair: a card of the destination and a card of the source.
    struct Conflict
    {
        bool Equal;
        TQVL_Card* StorageCard;
        TQVL_Card* SourceCard;
    };

    // Why `source` cannot go into `destination`; empty when it can. A storage
    // takes vocabulary cards only, a unit cards of its own kind.
    static QString Mismatch(const TQVL_Unit& destination, const TQVL_Unit& source);

    // The conflicting pairs: similar pairs first (storage cards outer, source
    // cards inner, in file order), then identical pairs that were not similar.
    static std::vector<Conflict> FindConflicts(const TQVL_Unit& storage, const TQVL_Unit& source);

    // Appends copies of the source's cards (conflicting ones left out when
    // `skipConflicts`) and saves the destination; returns the number of cards
    // it held before, so the new ones follow that index. Refused write access
    // raises "Datei ist schreibgeschützt!"; a destination that another program
    // changed meanwhile is read again and checked again. A failed save
    // restores the cards in memory to what the file holds and raises the
    // error. A mismatch raises its text and changes nothing.
    static int Integrate(TQVL_Unit& destination, const TQVL_Unit& source, bool skipConflicts);
};
