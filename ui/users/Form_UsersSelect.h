#pragma once

#include "ui/shell/FormMeta.h"

#include <vector>

class QLabel;
class QLineEdit;
class QScrollArea;
class QToolButton;
class TKQ_ClickMatrix;
class TKQ_ClickMatrixItem;
class TQVL_Provider_Item_Custom;
class TQVL;

// The user selection: the profiles of the users folder as tiles. Choosing a
// profile (after its password, where one is set) opens it as the active user;
// the users manager logs it in and the main window moves on to the main menu,
// while this screen clears the profile list and releases itself. The caller
// scans the users folder before it shows the screen.
class TFormUsersSelect : public TFormMeta
{
    Q_OBJECT
public:
    static constexpr int TileWidth = 120;
    static constexpr int TileHeight = 60;
    static constexpr int TileSpacing = 16;

    TFormUsersSelect(QWidget* parent, TQVL& engine);
    ~TFormUsersSelect() override;

    void BeforeClose() override;

    // Shows the entries of `folder`, a folder entry of the users provider.
    void ShowFolder(const TQVL_Provider_Item_Custom* folder);
    // The path of the folder shown now; empty for none.
    QString FolderPath() const { return folder; }
    // Whether the focused profile asks for a password.
    bool PasswordRequired() const { return passwordRequired; }
    // The height of the tile menu for `count` tiles (four tiles per row).
    static int TileMenuHeight(int count);

    QScrollArea* ScrollBox1 = nullptr;
    TKQ_ClickMatrix* KQ_ClickMatrix1 = nullptr;
    QToolButton* Button_FolderUp = nullptr;
    QLabel* Label_LastLogin = nullptr;
    QLabel* Label_LastLoginValue = nullptr;
    QLabel* Label_QueryTime = nullptr;
    QLabel* Label_QueryTimeValue = nullptr;
    QLabel* Label_Path = nullptr;
    QLabel* Label_PathValue = nullptr;
    QLabel* Label_Password = nullptr;
    QLineEdit* Edit_Password = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // What a tile was shown for.
    struct Tile
    {
        QString Path;
        bool IsFile = false;
    };

    TQVL& core;
    void focusItem(TKQ_ClickMatrixItem* item);
    void selectItem(TKQ_ClickMatrixItem* item);
    void folderUp();
    // What a tile was shown for; nullptr for no tile.
    const Tile* tileOf(const TKQ_ClickMatrixItem* item) const;
    // The entry the users provider lists now for a tile's path, or nullptr
    // (a rescan releases the old entries, so tiles keep paths only).
    TQVL_Provider_Item_Custom* entryOf(const TKQ_ClickMatrixItem* item) const;
    // A tile whose entry the provider no longer lists: the folder is shown
    // anew and the learner is told that the file is gone.
    [[noreturn]] void reportGone(const Tile& tile);
    void setPathVisible(bool visible);
    void setProfileDetailsVisible(bool visible);
    void setPasswordPromptVisible(bool visible);
    // Clears the profile list and ends the screen once a profile is open.
    void finish();

    // The shown folder and each tile's entry, by path.
    QString folder;
    std::vector<Tile> tileEntries;
    bool passwordRequired = false;
};
