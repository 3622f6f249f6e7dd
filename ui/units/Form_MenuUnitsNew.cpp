#include "ui/units/Form_MenuUnitsNew.h"

#include "ui/shell/KQ_ClickMatrix.h"
#include "ui/shell/FormDataModule.h"
#include "ui/shell/Main.h"
#include "ui/shell/WindowManager.h"
#include "ui/shell/MenuTiles.h"
#include "ui/shell/Guarded.h"

#include <QHBoxLayout>
#include <QLayout>
#include <QPushButton>

TFormMenuUnitsNew::TFormMenuUnitsNew(QWidget* parent) : TFormMeta(parent)
{
    setObjectName(QStringLiteral("FormMenuUnitsNew"));
    SetHeaderHeight(TallHeaderHeight);
    SetCaption(QStringLiteral("Neue Lektion erstellen"));
    SetSubCaption(QStringLiteral("Bitte wählen Sie, welchen Typ von Lektion Sie erstellen wollen."));
    KQ_ClickMatrix1 = CreateMenuTiles(*this, {{QStringLiteral("Vokabel-Lektion"), QStringLiteral("vocabulary")},
                                              {QStringLiteral("Grammatik-Lektion"), QStringLiteral("grammar")},
                                              {QStringLiteral("Bilder"), QStringLiteral("picture")},
                                              {QStringLiteral("Töne"), QStringLiteral("sound")}});
    KQ_ClickMatrix1->onSelectItem = [](TKQ_ClickMatrixItem* item) {
        if (item)
            TMainForm::Instance()->NotAvailable();
    };
    Button_Back = new QPushButton(QStringLiteral("Zurück"), Content());
    Button_Back->setObjectName(QStringLiteral("Button_Back"));
    SetEscapeButton(Button_Back);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(Button_Back);
    Content()->layout()->addItem(row);
    connect(Button_Back, &QPushButton::clicked, this, [] { Guarded([] { TMainForm::Instance()->ShowMainMenu(); }); });
}
