#include "ui/edit/EditLauncher.h"

#include "app/QVL.h"
#include "core/QVL_Error.h"
#include "ui/edit/Form_Edit.h"
#include "ui/edit/Form_UnitEdit.h"
#include "ui/edit/Form_UnitsNew.h"
#include "ui/shell/DialogService.h"
#include "ui/shell/Form_MainMenu.h"
#include "ui/shell/Main.h"
#include "ui/shell/WindowManager.h"
#include "ui/units/UnitKindScreens.h"
#include "users/QVL_User_Rights.h"

TFormEdit* OpenUnitEditor(TMainForm& main)
{
    if (!main.CheckUnitSelected())
        return nullptr;
    TQVL& core = main.Core();
    TQVL_Unit& unit = core.Units->GetActiveUnit();
    // A file that changed since it was read is read again here, so the editor starts from what is on disk.
    if (!unit.RequestWriteAccess()) {
        TDialogService::Current().ShowError(
            QStringLiteral("Die Datei \"%1\" kann nicht bearbeitet werden, weil sie schreibgeschützt ist oder gerade "
                           "in einem anderen Programmfenster bearbeitet wird.")
                .arg(unit.FileName));
        return nullptr;
    }
    if (!main.HasRight(&TQVL_User_Rights::UNITS_EDIT)) {
        main.ShowNoRight();
        return nullptr;
    }
    const TUnitKindScreens& screens = ScreensOfKind(unit.Typ);
    if (!screens.Editor)
        return nullptr;
    const TUnitKindScreens::TScreen create = screens.Editor;
    auto* editor = static_cast<TFormEdit*>(main.WindowManager().SwitchWindowAndStart(
        [&core, create](QWidget* area) { return create(area, core); }, screens.EditorFills));
    editor->OnDone = [&main] { main.ShowMainMenu(); };
    editor->OnLeave = [&main] { main.ShowMainMenu(); };
    return editor;
}

TFormEdit* CreateNewUnit(TMainForm& main, TQVL_CardType typ)
{
    if (!main.HasRight(&TQVL_User_Rights::UNITS_EDIT)) {
        main.ShowNoRight();
        return nullptr;
    }
    TQVL& core = main.Core();
    TFormUnitsNew dialog(core, typ, &main);
    if (dialog.ShowModal() != QDialog::Accepted || dialog.CreatedFile().isEmpty())
        return nullptr;
    TQVL_Unit& unit = core.Units->GetActiveUnit();
    if (unit.IsOpen)
        unit.CloseFile();
    unit.Open(dialog.CreatedFile());
    return OpenUnitEditor(main);
}

void EditActiveUnit(TMainForm& main)
{
    if (!main.CheckUnitSelected())
        return;
    // Screens that show the unit's cards are left first: write access may read
    // the file again, and a rename opens it again, both with new cards.
    if (!dynamic_cast<TFormMainMenu*>(main.WindowManager().CurrentWindow()))
        main.ShowMainMenu();
    TQVL& core = main.Core();
    TQVL_Unit& unit = core.Units->GetActiveUnit();
    if (unit.Typ == tLongTermStorage) {
        TDialogService::Current().ShowInformation(QStringLiteral("Langzeitspeicher können nicht bearbeitet werden."));
        return;
    }
    if (!unit.RequestWriteAccess())
        throw TQVL_Error(QStringLiteral("Datei ist schreibgeschützt!"));
    const QString fileName = unit.FileName;
    const QString home = unit.LangCodeHome, foreign = unit.LangCodeForeign;
    TFormUnitEdit dialog(core, unit, &main);
    dialog.ShowModal();
    if (unit.FileName != fileName || unit.LangCodeHome != home || unit.LangCodeForeign != foreign) {
        const QString renamed = unit.FileName;
        unit.CloseFile();
        unit.Open(renamed);
    }
}
