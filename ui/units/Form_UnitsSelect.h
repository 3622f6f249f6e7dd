#pragma once

#include "ui/shell/FormMeta.h"

#include <functional>

class QPushButton;
class QToolButton;
class QTreeView;
class TModelUnits;
class TQVL_Provider_Item_Custom;
class TQVL;

// The unit selection: browses the folders of the user's units folder and
// opens the chosen unit into the units manager. What follows the open
// (language profiles, unit bar, commands) is the main window's reaction to
// the manager's notification; this screen only asks to be replaced by the
// main menu and then ends itself.
class TFormUnitsSelect : public TFormMeta
{
    Q_OBJECT
public:
    TFormUnitsSelect(QWidget* parent, TQVL& engine);
    ~TFormUnitsSelect() override;

    // Empties the list and the unit provider, whose entries must not outlive the rows.
    void BeforeClose() override;

    // Clears the unit provider, scans the units folder and shows its root. Runs when the screen is shown.
    void ScanUnitsFolder();
    // Shows the children of a folder entry of the unit provider, sorted by name with folders on top.
    void ShowFolder(const TQVL_Provider_Item_Custom* folder);
    // "Auswählen", double-click, Enter: enters the focused folder or opens the focused unit.
    void ChooseFocused();
    // The picked file of the open-file dialog becomes the active unit.
    void OpenFromFileDialog();

    // The path of the folder whose contents the list shows; empty before the first scan.
    QString CurrentFolder() const { return currentFolder; }
    // Where the open-file dialog starts: the shown folder's path followed by "/".
    QString OpenDialogFolder() const { return openDialogFolder; }
    int SortColumn() const { return sortColumn; }
    Qt::SortOrder SortOrder() const { return sortOrder; }

    // Runs after a unit was opened, before this screen ends itself: the main
    // window shows the main menu without closing this screen (ShowWindow).
    std::function<void()> OnUnitChosen;
    // "Abbruch": the main window switches to the main menu (SwitchWindow, which runs BeforeClose).
    std::function<void()> OnAbort;

    QTreeView* VST1 = nullptr;
    QToolButton* Button_DirUp = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QPushButton* Button_Select = nullptr;
    QPushButton* Button_Abort = nullptr;
    QPushButton* Button_Help = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TQVL& core;
    void fitColumns();
    void headerClicked(int column);
    void updateSelectButton();
    // Closes the active unit, opens `fileName` into it and leaves for the main menu.
    void openUnit(const QString& fileName);
    // The folder entry the unit provider lists now with this path, or nullptr.
    const TQVL_Provider_Item_Custom* listedFolder(const QString& path) const;
    // The folder with this path from the provider, scanning the units folder
    // again when the provider no longer lists it; nullptr when it is gone.
    // By value: the scan clears the current folder, which a caller may pass.
    const TQVL_Provider_Item_Custom* findFolder(QString path);
    void showParentFolder();

    TModelUnits* model = nullptr;
    QString currentFolder;
    QString openDialogFolder;
    int sortColumn = 0;
    Qt::SortOrder sortOrder = Qt::AscendingOrder;
    bool choosing = false;
};
