#pragma once

#include "ui/query/Form_QueryMeta.h"

#include <vector>

class QLineEdit;
class TQVL_CardArrangement;

// The query window of grammar units: the fields of the unit's card
// arrangement laid out as a table, the card's values in its label fields and
// one answer field per input field. The answer shows the right values in place.
class TFormQueryGrammar : public TFormQueryMeta
{
    Q_OBJECT
public:
    // One control built for a field of the arrangement.
    struct FieldControl
    {
        QWidget* Control = nullptr;
        // The field id whose value the control shows or takes; -1 for captions.
        qint32 FieldId = -1;
        // The field's position in the arrangement.
        int FieldIndex = 0;
        enum Kind
        {
            ValueLabel,
            Caption,
            Answer,
            ConstantLabel
        } Role = ValueLabel;
    };

    // Builds the controls from the active card arrangement.
    TFormQueryGrammar(QWidget* parent, TQVL& core);

    // The point size of a row's texts, from the row's height in pixels.
    static int RowFontSize(int rowHeight);

    QWidget* Panel1 = nullptr;
    const std::vector<FieldControl>& Controls() const { return controls; }
    // The answer fields in arrangement order.
    std::vector<QLineEdit*> AnswerFields() const;

protected:
    void DisplayQuestion(TQVL_Query_Card& card, int direction) override;
    std::unique_ptr<TQVL_Card_Return> GetUserInput(TQVL_Query_Card& card) override;
    void DisplayAnswer(const TQVL_Query_AnswerShown& shown) override;
    TFormQueryResultMeta* CreateResultWindow(QWidget* parent) override;
    void PlaceResultWindow() override;
    void LayoutControls() override;

private:
    void buildControls();
    void placeField(int index, int left, int top, int width, int height);
    void showValues(const TQVL_Query_Card& card, bool answers);

    TQVL_CardArrangement* arrangement = nullptr;
    std::vector<FieldControl> controls;
};
