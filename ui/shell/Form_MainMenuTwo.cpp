#include "ui/shell/Form_MainMenuTwo.h"

#include "ui/shell/Form_MainMenu.h"

#include <QAction>
#include "ui/shell/KQ_ClickMatrix.h"
#include "ui/shell/FormDataModule.h"
#include "ui/shell/Main.h"
#include "ui/shell/WindowManager.h"
#include "ui/shell/MenuTiles.h"

TFormMainMenuTwo::TFormMainMenuTwo(QWidget* parent) : TFormMeta(parent)
{
    setObjectName(QStringLiteral("FormMainMenuTwo"));
    SetHeaderHeight(TallHeaderHeight);
    SetCaption(QStringLiteral("Weitere Funktionen"));
    SetSubCaption(QStringLiteral("Bitte wählen Sie einen der Menüpunkte, um zu weiteren Funktionen zu gelangen..."));
    KQ_ClickMatrix1 = CreateMenuTiles(*this, {{QStringLiteral("Hauptmenü"), QStringLiteral("home")},
                                              {QStringLiteral("Langzeitspeicher"), QStringLiteral("storage")},
                                              {QStringLiteral("Quorvel Community"), QStringLiteral("internet")}});
    KQ_ClickMatrix1->onSelectItem = [](TKQ_ClickMatrixItem* item) {
        if (!item)
            return;
        TMainForm& main = *TMainForm::Instance();
        switch (item->Index()) {
        case 0: main.ShowMainMenu(); break;
        case 1: main.DataModule().Action_LongTermStorages->trigger(); break;
        case 2: main.DataModule().Action_Community->trigger(); break;
        default: break;
        }
    };
}
