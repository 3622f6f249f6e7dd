#pragma once

#include "ui/query/Form_QueryResultMeta.h"

// The answer window of vocabulary queries: the verdict, both sides of the
// card, the learner's input, and for sound cards the answer's sound.
class TFormQueryResultVoc : public TFormQueryResultMeta
{
    Q_OBJECT
public:
    static constexpr int DesignWidth = 440;
    static constexpr int DesignHeight = 206;
    // The pause before the answer's sound, so that it does not run into the verdict sound.
    static constexpr int SoundDelayMs = 500;

    TFormQueryResultVoc(TQVL_Query& query, QWidget* parent);

    void ShowAnswer(const TQVL_Query_AnswerShown& shown) override;

    QLabel* Label_Foreign = nullptr;
    QLabel* Label_Home = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label_Input = nullptr;

protected:
    void LayoutControls() override;
};
