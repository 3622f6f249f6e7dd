#pragma once

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

class TKQ_ClickMatrix;

// What a screen reader sees of the tile menu: a list whose children are the
// tiles, each with its caption as name, its place on screen, its focus and a
// press action that chooses it as Enter would. The tiles are painted, not
// widgets, so without this the menu would be one silent rectangle.
class TKQ_ClickMatrixAccessible : public QAccessibleWidget
{
public:
    explicit TKQ_ClickMatrixAccessible(TKQ_ClickMatrix* matrix);
    ~TKQ_ClickMatrixAccessible() override;

    // For QAccessible::installFactory.
    static QAccessibleInterface* Factory(const QString& className, QObject* object);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

private:
    TKQ_ClickMatrix* matrix() const;
    // Positions in the collection of the tiles a screen reader is told about.
    QList<int> shownTiles() const;
    QAccessibleInterface* tile(int itemIndex) const;
    // One interface per tile position, registered with Qt and released with the menu's.
    mutable QHash<int, QAccessible::Id> tiles;
};

// One tile of the menu, by its position.
class TKQ_ClickMatrixTileAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    TKQ_ClickMatrixTileAccessible(TKQ_ClickMatrix* matrix, int index);

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<TKQ_ClickMatrix> matrix;
    int index;
};
