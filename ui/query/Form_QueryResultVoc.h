#pragma once

#include "query/QVL_AnswerDiff.h"
#include "ui/query/Form_QueryResultMeta.h"
#include "ui/query/MarkedTextLabel.h"

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
    // Marks the differing characters of the learner's input in Label_Input.
    void ShowDifferences(const TQVL_AnswerDiff::Parts& parts);

    QLabel* Label_Foreign = nullptr;
    QLabel* Label_Home = nullptr;
    QLabel* Label3 = nullptr;
    TMarkedTextLabel* Label_Input = nullptr;

protected:
    void LayoutControls() override;

private:
    TQVL_Query& owner;
};
