#include "ui/units/Form_MenuUnitsNew.h"

#include "ui/shell/Guarded.h"
#include "ui/shell/MenuTiles.h"
#include "ui/shell/Navigator.h"

#include <QHBoxLayout>
#include <QLayout>
#include <QPushButton>

TFormMenuUnitsNew::TFormMenuUnitsNew(QWidget* parent) : TFormMeta(parent)
{
    setObjectName(QStringLiteral("FormMenuUnitsNew"));
    SetHeaderHeight(TallHeaderHeight);
    SetCaption(QStringLiteral("Neue Lektion erstellen"));
    SetSubCaption(QStringLiteral("Bitte wählen Sie, welchen Typ von Lektion Sie erstellen wollen."));
    auto create = [](TQVL_CardType kind) { return [kind](TNavigator& navigator) { navigator.CreateUnit(kind); }; };
    KQ_ClickMatrix1 =
        CreateMenuTiles(*this, {{QStringLiteral("Vokabel-Lektion"), QStringLiteral("vocabulary"), create(tVoc)},
                                {QStringLiteral("Grammatik-Lektion"), QStringLiteral("grammar"), create(tGrammar)},
                                {QStringLiteral("Bilder"), QStringLiteral("picture"), create(tPic)},
                                {QStringLiteral("Töne"), QStringLiteral("sound"), create(tSound)}});
    Button_Back = new QPushButton(QStringLiteral("Zurück"), Content());
    Button_Back->setObjectName(QStringLiteral("Button_Back"));
    SetEscapeButton(Button_Back);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(Button_Back);
    Content()->layout()->addItem(row);
    connect(Button_Back, &QPushButton::clicked, this,
            [this] { Guarded([this] { Navigator().Show(TDestination::MainMenu); }); });
}
