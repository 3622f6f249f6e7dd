#pragma once
#include "ui/shell/Theme.h"

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QList>
#include <QRect>
#include <QString>
#include <QVector>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

// The tile menu of the menu screens. The item, its collection and the paint
// options live in this file with the control: they exist only as parts of it
// and are never used on their own.

enum TKQ_ItemsPosition
{
    ipLeft,
    ipCentered,
    ipBlockCentered
};
enum TKQ_ItemIconTyp
{
    tiiNone,
    tiiInternal,
    tiiExternal
};

class TKQ_ClickMatrixItemCollection;

// One tile: an icon above a caption. `Enabled` only greys the icon; a disabled
// tile still reports clicks and keys.
class TKQ_ClickMatrixItem
{
public:
    explicit TKQ_ClickMatrixItem(TKQ_ClickMatrixItemCollection* owner) : collection(owner) {}

    TKQ_ItemIconTyp IconTyp() const { return iconTyp; }
    // tiiNone drops the own icon; tiiInternal and tiiExternal keep whatever there is.
    void SetIconTyp(TKQ_ItemIconTyp value);
    const QIcon& Icon() const { return icon; }
    // Only kept while the icon type is tiiInternal.
    void SetIcon(const QIcon& value);
    int IconIndex() const { return iconIndex; }
    void SetIconIndex(int value);
    const QString& Caption() const { return caption; }
    void SetCaption(const QString& value);
    bool Enabled() const { return enabled; }
    void SetEnabled(bool value);

    int Index() const;
    // Where the last layout put the tile (right and bottom exclusive, as QRect::contains counts them).
    const QRect& Rect() const { return rect; }

private:
    friend class TKQ_ClickMatrix;
    friend class TKQ_ClickMatrixItemCollection;
    void changed();

    TKQ_ClickMatrixItemCollection* collection;
    TKQ_ItemIconTyp iconTyp = tiiInternal;
    QIcon icon;
    int iconIndex = -1;
    QString caption;
    bool enabled = true;
    QRect rect;
};

// The tiles in display order; reports every addition, clearing and change.
class TKQ_ClickMatrixItemCollection
{
public:
    TKQ_ClickMatrixItemCollection() = default;
    TKQ_ClickMatrixItemCollection(const TKQ_ClickMatrixItemCollection&) = delete;
    TKQ_ClickMatrixItemCollection& operator=(const TKQ_ClickMatrixItemCollection&) = delete;

    TKQ_ClickMatrixItem* Add();
    // A tile with its own icon (tiiInternal; a null icon draws nothing).
    TKQ_ClickMatrixItem* Add(const QString& caption, const QIcon& icon = QIcon());
    void Clear();
    int Count() const { return int(items.size()); }
    TKQ_ClickMatrixItem* Item(int index) const { return items.at(std::size_t(index)).get(); }
    // -1 when `item` is not (or no longer) one of the tiles; never dereferences it.
    int IndexOf(const TKQ_ClickMatrixItem* item) const;

    std::function<void()> onCollectionChanged;

private:
    friend class TKQ_ClickMatrixItem;
    void notify()
    {
        if (onCollectionChanged)
            onCollectionChanged();
    }

    std::vector<std::unique_ptr<TKQ_ClickMatrixItem>> items;
};

// Colours and geometry of the tiles.
struct TKQ_ClickMatrixPaintOptions
{
    // A 24-bit colour value: blue in the high byte, red in the low byte.
    static QColor FromColorValue(quint32 value) { return Theme::FromColorValue(value); }

    int BorderWidth = 5;
    int Space_Horizontal = 10;
    int Space_Vertical = 10;
    bool Transparent = true;
    bool ShowBorderFrame = true;
    bool ShowFocusFrame = true;
    QColor BackgroundColor = Qt::black;
    QColor BorderFrameColor = Qt::black;
    QColor ItemNormalBackgroundColor = Theme::TileBackground;
    QColor ItemNormalBorderColor = Theme::TileBorder;
    QColor ItemHooverBackgroundColor = Theme::TileHoverBackground;
    QColor ItemHooverBorderColor = Theme::TileBorder;
    QColor ItemFocusBackgroundColor = Theme::TileFocusBackground;
    QColor ItemFocusBorderColor = Theme::TileBorder;
    bool HighlightItems = true;
    QColor ItemHighLightColor = Qt::black;
    bool TextShadow = false;
    QColor TextShadowColor = Qt::black;
    // Unset means the control's own font.
    std::optional<QFont> TextFont;
    QColor TextColor = Qt::black;
    int TextTop = 38;
    int ImageTop = 3;
    int ItemCurveRadius = 8;
};

// The tile menu: equally sized tiles in rows, a focused and a hovered tile,
// chosen with the mouse or the keyboard (Left and Right run through the tiles
// in order, Up and Down move by row). Screens react to `onSelectItem` by
// the tile's index.
class TKQ_ClickMatrix : public QWidget
{
    Q_OBJECT
public:
    explicit TKQ_ClickMatrix(QWidget* parent = nullptr);
    ~TKQ_ClickMatrix() override;

    // Side of a tile's icon, in logical pixels.
    static constexpr int IconSize = 32;

    // Tile rectangles of `count` tiles in a control `controlWidth` wide, in collection order.
    static QVector<QRect> Layout(int count, int controlWidth, int itemWidth, int itemHeight,
                                 const TKQ_ClickMatrixPaintOptions& options, TKQ_ItemsPosition position);

    TKQ_ClickMatrixItemCollection& Items() { return items; }
    const TKQ_ClickMatrixItemCollection& Items() const { return items; }

    const TKQ_ClickMatrixPaintOptions& PaintOptions() const { return paintOptions; }
    void SetPaintOptions(const TKQ_ClickMatrixPaintOptions& options);
    int ItemWidth() const { return itemWidth; }
    void SetItemWidth(int value);
    int ItemHeight() const { return itemHeight; }
    void SetItemHeight(int value);
    TKQ_ItemsPosition ItemsPosition() const { return itemsPosition; }
    void SetItemsPosition(TKQ_ItemsPosition value);
    bool SelectItemWhenUnFocused = false;
    bool SingleClickToSelectItem = false;
    bool HandleArrowKeys = true;
    bool HandleHoovering() const { return handleHoovering; }
    void SetHandleHoovering(bool value);
    // Icons of the tiles whose icon type is tiiExternal, by `IconIndex`.
    const std::optional<QList<QIcon>>& ImageList() const { return imageList; }
    void SetImageList(std::optional<QList<QIcon>> list);

    TKQ_ClickMatrixItem* FocusedItem() const { return focusedItem; }
    TKQ_ClickMatrixItem* HooveredItem() const { return hooveredItem; }
    void SetFocusedItem(TKQ_ClickMatrixItem* item);
    void FocusFirstItem();
    // Chooses `item` as a click or Enter would: focuses it first, then reports it.
    void SelectItem(TKQ_ClickMatrixItem* item);
    TKQ_ClickMatrixItem* ItemAt(const QPoint& point);

    // While a batch is open no tile is painted and nothing is laid out.
    void BeginUpdate();
    void EndUpdate();

    // Both get nullptr for "no tile"; errors of the handlers reach the error display.
    std::function<void(TKQ_ClickMatrixItem* item)> onSelectItem;
    std::function<void(TKQ_ClickMatrixItem* item)> onFocusItem;

    QSize sizeHint() const override { return QSize(200, 100); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void collectionChanged();
    void doLayout();
    void setHooveredItem(TKQ_ClickMatrixItem* item);
    // The tile Up (-1) or Down (1) leads to from `from`; nullptr in the first or last row.
    TKQ_ClickMatrixItem* itemInRowBeside(const TKQ_ClickMatrixItem& from, int direction) const;
    // Tells a screen reader which tile has the focus.
    void announceFocus();
    void repaintItem(const TKQ_ClickMatrixItem* item);
    void paintItem(QPainter& painter, const TKQ_ClickMatrixItem& item);
    void fire(const std::function<void(TKQ_ClickMatrixItem*)>& handler, TKQ_ClickMatrixItem* item);

    TKQ_ClickMatrixItemCollection items;
    TKQ_ClickMatrixPaintOptions paintOptions;
    int itemWidth = 100;
    int itemHeight = 21;
    TKQ_ItemsPosition itemsPosition = ipLeft;
    bool handleHoovering = false;
    std::optional<QList<QIcon>> imageList;
    TKQ_ClickMatrixItem* focusedItem = nullptr;
    TKQ_ClickMatrixItem* hooveredItem = nullptr;
    int updateCount = 0;
    // Whether this control saw the first press of a double click.
    bool pressed = false;
};
