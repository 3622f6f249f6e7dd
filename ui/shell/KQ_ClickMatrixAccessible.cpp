#include "ui/shell/KQ_ClickMatrixAccessible.h"

#include "ui/shell/KQ_ClickMatrix.h"

#include <QWidget>
#include <QWindow>

TKQ_ClickMatrixAccessible::TKQ_ClickMatrixAccessible(TKQ_ClickMatrix* matrix)
    : QAccessibleWidget(matrix, QAccessible::List)
{
}

TKQ_ClickMatrixAccessible::~TKQ_ClickMatrixAccessible()
{
    for (const QAccessible::Id id : std::as_const(tiles))
        QAccessible::deleteAccessibleInterface(id);
}

QAccessibleInterface* TKQ_ClickMatrixAccessible::Factory(const QString& className, QObject* object)
{
    if (className == QLatin1String("TKQ_ClickMatrix") && object && object->isWidgetType())
        return new TKQ_ClickMatrixAccessible(static_cast<TKQ_ClickMatrix*>(object));
    return nullptr;
}

TKQ_ClickMatrix* TKQ_ClickMatrixAccessible::matrix() const
{
    return static_cast<TKQ_ClickMatrix*>(widget());
}

QList<int> TKQ_ClickMatrixAccessible::shownTiles() const
{
    // A tile without caption and icon only keeps a place free; it does nothing.
    QList<int> shown;
    const TKQ_ClickMatrixItemCollection& items = matrix()->Items();
    for (int i = 0; i < items.Count(); ++i) {
        const TKQ_ClickMatrixItem& item = *items.Item(i);
        const bool icon = (item.IconTyp() == tiiInternal && !item.Icon().isNull()) ||
                          (item.IconTyp() == tiiExternal && item.IconIndex() >= 0);
        if (!item.Caption().isEmpty() || icon)
            shown << i;
    }
    return shown;
}

int TKQ_ClickMatrixAccessible::childCount() const
{
    return int(shownTiles().size());
}

QAccessibleInterface* TKQ_ClickMatrixAccessible::tile(int itemIndex) const
{
    auto found = tiles.constFind(itemIndex);
    if (found == tiles.constEnd())
        found = tiles.insert(itemIndex, QAccessible::registerAccessibleInterface(
                                            new TKQ_ClickMatrixTileAccessible(matrix(), itemIndex)));
    return QAccessible::accessibleInterface(*found);
}

QAccessibleInterface* TKQ_ClickMatrixAccessible::child(int index) const
{
    const QList<int> shown = shownTiles();
    return index >= 0 && index < shown.size() ? tile(shown.at(index)) : nullptr;
}

int TKQ_ClickMatrixAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    if (!child)
        return -1;
    const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child));
    for (auto it = tiles.constBegin(); it != tiles.constEnd(); ++it)
        if (it.value() == id)
            return int(shownTiles().indexOf(it.key()));
    return -1;
}

QAccessibleInterface* TKQ_ClickMatrixAccessible::childAt(int x, int y) const
{
    const QPoint local = matrix()->mapFromGlobal(QPoint(x, y));
    for (const int i : shownTiles())
        if (matrix()->Items().Item(i)->Rect().contains(local))
            return tile(i);
    return nullptr;
}

QAccessibleInterface* TKQ_ClickMatrixAccessible::focusChild() const
{
    const int index = matrix()->Items().IndexOf(matrix()->FocusedItem());
    return shownTiles().contains(index) ? tile(index) : nullptr;
}

TKQ_ClickMatrixTileAccessible::TKQ_ClickMatrixTileAccessible(TKQ_ClickMatrix* owner, int position)
    : matrix(owner), index(position)
{
}

bool TKQ_ClickMatrixTileAccessible::isValid() const
{
    return matrix && index < matrix->Items().Count();
}

QWindow* TKQ_ClickMatrixTileAccessible::window() const
{
    return matrix ? matrix->window()->windowHandle() : nullptr;
}

QAccessibleInterface* TKQ_ClickMatrixTileAccessible::parent() const
{
    return matrix ? QAccessible::queryAccessibleInterface(matrix.data()) : nullptr;
}

QString TKQ_ClickMatrixTileAccessible::text(QAccessible::Text t) const
{
    if (!isValid())
        return {};
    const TKQ_ClickMatrixItem* item = matrix->Items().Item(index);
    switch (t) {
    case QAccessible::Name:
        return item->Caption();
    case QAccessible::Description: {
        const QAccessibleInterface* menu = parent();
        return QStringLiteral("Menüpunkt %1 von %2")
            .arg(menu->indexOfChild(this) + 1)
            .arg(menu->childCount());
    }
    default:
        return {};
    }
}

QRect TKQ_ClickMatrixTileAccessible::rect() const
{
    if (!isValid())
        return {};
    const QRect tile = matrix->Items().Item(index)->Rect();
    return QRect(matrix->mapToGlobal(tile.topLeft()), tile.size());
}

QAccessible::State TKQ_ClickMatrixTileAccessible::state() const
{
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    const TKQ_ClickMatrixItem* item = matrix->Items().Item(index);
    state.focusable = true;
    state.selectable = true;
    state.focused = matrix->hasFocus() && matrix->FocusedItem() == item;
    state.selected = matrix->FocusedItem() == item;
    state.disabled = !item->Enabled();
    state.invisible = !matrix->isVisible();
    return state;
}

void* TKQ_ClickMatrixTileAccessible::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
}

QStringList TKQ_ClickMatrixTileAccessible::actionNames() const
{
    return {pressAction()};
}

void TKQ_ClickMatrixTileAccessible::doAction(const QString& actionName)
{
    if (actionName == pressAction() && isValid())
        matrix->SelectItem(matrix->Items().Item(index));
}
