#include "ui/shell/FormMetaButton.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TFormMetaButton::TFormMetaButton(QWidget* parent) : TFormMeta(parent)
{
    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("Panel_Buttons"));
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(10, 6, 10, 8);
    row->addStretch(1);
    auto addButton = [&](const char* name, const QString& text) {
        auto* button = new QPushButton(text, bar);
        button->setObjectName(QString::fromLatin1(name));
        row->addWidget(button);
        return button;
    };
    Button_Ok = addButton("Button_Ok", QStringLiteral("Ok"));
    Button_Abort = addButton("Button_Abort", QStringLiteral("Abbruch"));
    SetEscapeButton(Button_Abort);
    Button_Help = addButton("Button_Help", QStringLiteral("Hilfe"));
    FormLayout()->addWidget(bar);
}
