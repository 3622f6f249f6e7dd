#pragma once

#include "ui/shell/FormMeta.h"

class TKQ_ClickMatrix;

// The second page of the main menu.
class TFormMainMenuTwo : public TFormMeta
{
    Q_OBJECT
public:
    explicit TFormMainMenuTwo(QWidget* parent = nullptr);

    TKQ_ClickMatrix* KQ_ClickMatrix1;
};
