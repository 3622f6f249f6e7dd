#pragma once

#include <QString>

#include <array>
#include <vector>

class TQVL_Card_Container;
class TQVL_Card_Voc;

// "Vokabeln bereinigen": meanings that hold several words separated by a
// delimiter are split into the three meaning fields of their side, blanks
// around them are trimmed, and empty and repeated meanings are dropped.
// Hints, notes and sound files are never touched.
class TQVL_MeaningCleanup
{
public:
    using Meanings = std::array<QString, 3>;

    // One card that the clean-up would change, with its meanings before and after.
    struct Change
    {
        int Index = 0;
        qint32 Uid = 0;
        Meanings ForeignBefore, HomeBefore;
        Meanings ForeignAfter, HomeAfter;
    };

    // The cleaned meanings of one side. `delimiters` holds the characters that
    // separate meanings (an empty text splits nothing). When there are more
    // than three, the third field keeps the rest, joined by the first
    // delimiter and a blank, so no word is lost.
    static Meanings Clean(const Meanings& meanings, const QString& delimiters);
    // The vocabulary and sound cards of `cards` that would change, in card order.
    static std::vector<Change> Preview(const TQVL_Card_Container& cards, const QString& delimiters);
    // Writes the "after" meanings of `changes` into the cards with their Uid;
    // returns how many cards changed.
    static int Apply(TQVL_Card_Container& cards, const std::vector<Change>& changes);

    static Meanings ForeignOf(const TQVL_Card_Voc& card);
    static Meanings HomeOf(const TQVL_Card_Voc& card);
};
