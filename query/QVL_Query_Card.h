#pragma once

#include <QtGlobal>

class TQVL_Card;
class TQVL_Unit;

// One card's entry in a query: the card, the unit it came from and its counts.
// Owned by the card pile; every list of the query, its phases and rounds holds
// pointers to these entries.
class TQVL_Query_Card
{
public:
    TQVL_Query_Card(const TQVL_Card& card, const TQVL_Unit& unit) : Card(&card), Unit(&unit) {}

    const TQVL_Card* Card;
    const TQVL_Unit* Unit;
    // Answers and right answers in the current exercise phase.
    qint32 SessionQueried = 0;
    qint32 SessionRight = 0;
    // Grows with the points of right answers; ranks the cards between exercise phases.
    qint32 PointValue = 0;
    // Points earned in the current exercise phase; ranks the cards between rounds.
    qint32 SessionPoints = 0;
    // Right answers and answers in the whole query.
    qint32 Right = 0;
    qint32 Queried = 0;
    // PointValue when the card joined the query: the query adds only the difference to the stored value.
    qint32 StartPointValue = 0;
    bool LastAnswerRight = false;
};
