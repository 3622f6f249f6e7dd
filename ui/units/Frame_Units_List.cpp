#include "ui/units/Frame_Units_List.h"

#include "app/QVL.h"
#include "core/QVL_Error.h"
#include "ui/shell/DialogService.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/Icons.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int PathRole = Qt::UserRole;

QTreeWidgetItem* findPath(QTreeWidgetItem* node, const QString& path)
{
    if (node->data(0, PathRole).toString() == path)
        return node;
    for (int i = 0; i < node->childCount(); ++i)
        if (QTreeWidgetItem* found = findPath(node->child(i), path))
            return found;
    return nullptr;
}

} // namespace

TFrameUnitsList::TFrameUnitsList(TQVL& qvl, QWidget* parent) : QWidget(parent), core(qvl)
{
    setObjectName(QStringLiteral("FrameUnitsList"));
    VST_UnitsList = new QTreeWidget(this);
    VST_UnitsList->setObjectName(QStringLiteral("VST_UnitsList"));
    VST_UnitsList->setHeaderHidden(true);
    VST_UnitsList->setColumnCount(1);
    VST_UnitsList->setSelectionMode(QAbstractItemView::SingleSelection);
    VST_UnitsList->setUniformRowHeights(true);

    Button_NewDirectory = new QToolButton(this);
    Button_NewDirectory->setObjectName(QStringLiteral("Button_NewDirectory"));
    Button_NewDirectory->setIcon(Icons::Get(QStringLiteral("folder-new")));
    Button_NewDirectory->setIconSize(QSize(20, 20));
    Button_NewDirectory->setToolTip(QStringLiteral("Neues Verzeichnis erstellen"));
    connect(Button_NewDirectory, &QToolButton::clicked, this, [this] { Guarded([this] { NewDirectory(); }); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button_NewDirectory);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(VST_UnitsList, 1);
    layout->addLayout(buttons);
}

TFrameUnitsList::~TFrameUnitsList() = default;

QString TFrameUnitsList::UnitsFolder(const TQVL& core)
{
    const QString own = core.Users->HasActiveUser() ? core.Users->GetActiveUser().units_directory : QString();
    return core.Options->UnitsFolder(core.System->DocumentsFolder, own);
}

void TFrameUnitsList::Refresh()
{
    const QString remembered = SelectedFolder();
    TQVL_Provider_Custom& provider = core.Units->Provider();
    provider.Clear();
    provider.Scan(UnitsFolder(core));

    VST_UnitsList->clear();
    auto* top = new QTreeWidgetItem(VST_UnitsList);
    top->setText(0, provider.Root->Name);
    top->setIcon(0, Icons::Get(QStringLiteral("folder")));
    top->setData(0, PathRole, provider.Root->Path);
    addFolders(top, *provider.Root);
    top->setExpanded(true);
    if (!remembered.isEmpty())
        SelectFolder(remembered);
}

void TFrameUnitsList::addFolders(QTreeWidgetItem* node, const TQVL_Provider_Item_Custom& folder)
{
    for (int i = 0; i < folder.ChildCount(); ++i) {
        const TQVL_Provider_Item_Custom& entry = *folder.Child(i);
        if (entry.IsFile)
            continue;
        auto* child = new QTreeWidgetItem(node);
        child->setText(0, entry.Name);
        child->setIcon(0, Icons::Get(QStringLiteral("folder")));
        child->setData(0, PathRole, entry.Path);
        addFolders(child, entry);
    }
}

QString TFrameUnitsList::SelectedFolder() const
{
    const QTreeWidgetItem* focused = VST_UnitsList->currentItem();
    return focused ? focused->data(0, PathRole).toString() : QString();
}

bool TFrameUnitsList::SelectFolder(const QString& path)
{
    for (int i = 0; i < VST_UnitsList->topLevelItemCount(); ++i) {
        if (QTreeWidgetItem* node = findPath(VST_UnitsList->topLevelItem(i), path)) {
            for (QTreeWidgetItem* above = node->parent(); above; above = above->parent())
                above->setExpanded(true);
            VST_UnitsList->setCurrentItem(node);
            VST_UnitsList->scrollToItem(node);
            return true;
        }
    }
    return false;
}

void TFrameUnitsList::NewDirectory()
{
    const QString folder = SelectedFolder();
    if (folder.isEmpty())
        throw TQVL_Error(QStringLiteral("Wählen Sie zunächst ein Verzeichnis"));
    const std::optional<QString> name = TDialogService::Current().InputText(
        QStringLiteral("Neues Verzeichnis erstellen"), QStringLiteral("Bezeichnung:"), QString());
    if (!name)
        return;
    if (!TQVL_System::IsValidFileName(*name))
        throw TQVL_Error(QStringLiteral("Die gewählte Bezeichnung ist nicht gültig!"));
    const QString path = folder + QLatin1Char('/') + *name;
    // A file of that name blocks the folder as much as a folder does; nothing is ever overwritten.
    if (QFileInfo::exists(path))
        throw TQVL_Error(QStringLiteral("Neue Lektion \"%1\" besteht bereits! Überschreiben? Alle bisherigen Inhalte "
                                        "werden gelöscht!")
                             .arg(path));
    if (!QDir().mkpath(path))
        throw TQVL_Error(QStringLiteral("Verzeichnis \"%1\" kann nicht erstellt werden.").arg(path));
    Refresh();
}
