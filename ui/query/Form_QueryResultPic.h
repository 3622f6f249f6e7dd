#pragma once

#include "ui/query/Form_QueryResultMeta.h"

// The answer window of picture and grammar queries: a slim strip under the
// question, since the query window itself shows the right answer (the click
// areas or the right values). Typed picture answers show the right text too.
class TFormQueryResultPic : public TFormQueryResultMeta
{
    Q_OBJECT
public:
    static constexpr int DesignWidth = 460;
    static constexpr int SlimHeight = 63;
    static constexpr int TextHeight = 106;

    TFormQueryResultPic(TQVL_Query& query, QWidget* parent);

    void ShowAnswer(const TQVL_Query_AnswerShown& shown) override;

    QLabel* Label_Answer = nullptr;
    QLabel* Label_AnswerText = nullptr;
    QLabel* Label_RightAnswersAbove = nullptr;

protected:
    void LayoutControls() override;
};
