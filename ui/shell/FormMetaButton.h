#pragma once

#include "ui/shell/FormMeta.h"

class QPushButton;

// An embedded screen with the three buttons Ok, Abort and Help below its content.
class TFormMetaButton : public TFormMeta
{
    Q_OBJECT
public:
    explicit TFormMetaButton(QWidget* parent = nullptr);

    QPushButton* Button_Ok = nullptr;
    QPushButton* Button_Abort = nullptr;
    QPushButton* Button_Help = nullptr;
};
