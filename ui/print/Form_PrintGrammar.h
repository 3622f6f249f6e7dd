#pragma once

#include "ui/print/Form_PrintCards.h"

class TQVL_CardArrangement_Field;

// Prints grammar cards as a table laid out by the unit's card arrangement:
// one column per field item, and the learner's success when "Erfolg" is on.
class TFormPrintGrammar : public TFormPrintCards
{
    Q_OBJECT
public:
    explicit TFormPrintGrammar(TQVL& core, QWidget* parent = nullptr);

    // The arrangement's field items in order (labels and inputs).
    QList<const TQVL_CardArrangement_Field*> FieldColumns() const;

    QCheckBox* Check_Success = nullptr;

protected:
    QString HelpPage() const override;
    void ReadSettings() override;
    int PrintRows(QPainter& canvas, int width, int index, int rowHeight, int top, int left, int height) override;

private:
    bool success = true;
};
