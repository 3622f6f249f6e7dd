#pragma once

#include "query/QVL_Card_Return_Voc.h"

class TQVL_Card_Pic;

// The answer to a picture card: a typed text (answer_typ 0) or a click into the
// picture (answer_typ 1). The hint and the delimiter of the base are not used.
class TQVL_Card_Return_Pic : public TQVL_Card_Return_Voc
{
public:
    explicit TQVL_Card_Return_Pic(const TQVL_Card_Pic& card);

    // Typed: the text against the card's answer text, with the almost-right
    // scores. Click: (100, 1) inside a click area, else (0, 3); no click at all
    // is (0, 3). Another answer type is (0, 3).
    void Evaluate(TQVL_Query_StepResult& Result, int Direction,
                  const TQVL_Query_Evaluation_Options& Options) const override;

    // Records the clicked point in the picture's own pixels.
    void SetClick(qint32 x, qint32 y)
    {
        ClickX = x;
        ClickY = y;
        Clicked = true;
    }

    qint32 ClickX = 0;
    qint32 ClickY = 0;
    // Whether a point was clicked at all: a timed question can end before the
    // learner clicks, and (0, 0) may lie inside an area.
    bool Clicked = false;
};
