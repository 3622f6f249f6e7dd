#pragma once

#include "ui/play/Form_PlayMeta.h"

#include <vector>

class QToolButton;

class QLabel;
class TQVL_CardArrangement;

// Plays grammar units back ("Karten vorspielen"): the card arrangement's
// fields as labels, the label fields filled with the question, the input
// fields' values added with the answer.
class TFormPlayGrammar : public TFormPlayMeta
{
    Q_OBJECT
public:
    struct FieldLabel
    {
        QLabel* Label = nullptr;
        qint32 FieldId = -1; // -1 for captions
        int FieldIndex = 0;
        enum Kind
        {
            Value,         // a label field's value
            Caption,       // an input field's caption
            InputValue,    // an input field's value
            ConstantLabel, // a constant label's caption
        } Role = Value;
    };

    // Builds one label per arrangement item from the active card arrangement.
    TFormPlayGrammar(QWidget* parent, TQVL& core);

    QWidget* Panel1 = nullptr;
    QToolButton* Button_ReadAloud = nullptr;
    const std::vector<FieldLabel>& Labels() const { return labels; }

protected:
    void OnDisplayQuestion(TQVL_Query_Card& card, int direction) override;
    void OnDisplayAnswer(TQVL_Query_Card& card, int direction) override;
    void Arrange() override;

private:
    void buildLabels();
    void placeField(int index, int left, int top, int width, int height);
    void showValues(const TQVL_Query_Card& card, bool answer);
    // Reads the foreign values of the fields in `role` aloud.
    void readAloud(const TQVL_Query_Card& card, FieldLabel::Kind role);

    TQVL_CardArrangement* arrangement = nullptr;
    std::vector<FieldLabel> labels;
};
