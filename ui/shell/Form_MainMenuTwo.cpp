#include "ui/shell/Form_MainMenuTwo.h"

#include "ui/shell/MenuTiles.h"
#include "ui/shell/Navigator.h"

TFormMainMenuTwo::TFormMainMenuTwo(QWidget* parent) : TFormMeta(parent)
{
    setObjectName(QStringLiteral("FormMainMenuTwo"));
    SetHeaderHeight(TallHeaderHeight);
    SetCaption(QStringLiteral("Weitere Funktionen"));
    SetSubCaption(QStringLiteral("Bitte wählen Sie einen der Menüpunkte, um zu weiteren Funktionen zu gelangen..."));
    auto run = [](TCommand command) { return [command](TNavigator& navigator) { navigator.Run(command); }; };
    KQ_ClickMatrix1 = CreateMenuTiles(
        *this, {{QStringLiteral("Hauptmenü"), QStringLiteral("home"),
                 [](TNavigator& navigator) { navigator.Show(TDestination::MainMenu); }},
                {QStringLiteral("Langzeitspeicher"), QStringLiteral("storage"), run(TCommand::LongTermStorages)},
                {QStringLiteral("Quorvel Community"), QStringLiteral("internet"), run(TCommand::Community)}});
}
