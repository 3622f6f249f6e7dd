#pragma once

#include "ui/shell/FormMeta.h"

class QPushButton;
class TKQ_ClickMatrix;

// Chooses the kind of a new unit.
class TFormMenuUnitsNew : public TFormMeta
{
    Q_OBJECT
public:
    explicit TFormMenuUnitsNew(QWidget* parent = nullptr);

    TKQ_ClickMatrix* KQ_ClickMatrix1;
    QPushButton* Button_Back;
};
