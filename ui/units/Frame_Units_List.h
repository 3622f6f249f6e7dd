#pragma once

#include <QWidget>

class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class TQVL_Provider_Item_Custom;

class TQVL;

// The folders of the units folder as a tree (the units folder itself is the
// top node; unit files are not shown), with a button that creates a folder
// below the selected one. Embedded where a target folder for units is chosen.
// The nodes keep copies of names and paths, so the unit provider, which the
// frame rescans, may be cleared by others at any time.
class TFrameUnitsList : public QWidget
{
    Q_OBJECT
public:
    explicit TFrameUnitsList(TQVL& core, QWidget* parent = nullptr);
    ~TFrameUnitsList() override;

    // The units folder of the active user: the user's own folder when set,
    // otherwise the one of the program options.
    static QString UnitsFolder(const TQVL& core);

    // Rescans the units folder into the unit provider and rebuilds the tree;
    // the node that had the focus (by path) gets it back.
    void Refresh();
    // The path of the focused node; empty when no node has the focus.
    QString SelectedFolder() const;
    // Focuses and selects the node of `path` and scrolls it into view; false when there is none.
    bool SelectFolder(const QString& path);
    // Asks for a name and creates that folder below the selected one.
    void NewDirectory();

    QTreeWidget* VST_UnitsList = nullptr;
    QToolButton* Button_NewDirectory = nullptr;

private:
    TQVL& core;
    void addFolders(QTreeWidgetItem* node, const TQVL_Provider_Item_Custom& folder);
};
