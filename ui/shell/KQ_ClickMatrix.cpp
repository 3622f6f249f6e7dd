#include "ui/shell/KQ_ClickMatrix.h"

#include "ui/shell/Guarded.h"
#include "ui/shell/ShownText.h"
#include "ui/shell/KQ_ClickMatrixAccessible.h"
#include "ui/shell/Theme.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>

#include <algorithm>
#include <cstdlib>

// ---------------------------------------------------------------- item

void TKQ_ClickMatrixItem::changed()
{
    if (collection)
        collection->notify();
}

void TKQ_ClickMatrixItem::SetIconTyp(TKQ_ItemIconTyp value)
{
    if (value == tiiNone)
        icon = QIcon();
    iconTyp = value;
    changed();
}

void TKQ_ClickMatrixItem::SetIcon(const QIcon& value)
{
    if (iconTyp != tiiInternal)
        return;
    icon = value;
    changed();
}

void TKQ_ClickMatrixItem::SetIconIndex(int value)
{
    iconIndex = value;
    changed();
}

void TKQ_ClickMatrixItem::SetCaption(const QString& value)
{
    caption = value;
    changed();
}

void TKQ_ClickMatrixItem::SetEnabled(bool value)
{
    enabled = value;
    changed();
}

int TKQ_ClickMatrixItem::Index() const
{
    return collection ? collection->IndexOf(this) : -1;
}

// ---------------------------------------------------------------- collection

TKQ_ClickMatrixItem* TKQ_ClickMatrixItemCollection::Add()
{
    items.push_back(std::make_unique<TKQ_ClickMatrixItem>(this));
    notify();
    return items.back().get();
}

TKQ_ClickMatrixItem* TKQ_ClickMatrixItemCollection::Add(const QString& caption, const QIcon& icon)
{
    auto item = std::make_unique<TKQ_ClickMatrixItem>(this);
    item->caption = caption;
    item->icon = icon;
    items.push_back(std::move(item));
    notify();
    return items.back().get();
}

void TKQ_ClickMatrixItemCollection::Clear()
{
    items.clear();
    notify();
}

int TKQ_ClickMatrixItemCollection::IndexOf(const TKQ_ClickMatrixItem* item) const
{
    if (!item)
        return -1;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].get() == item)
            return int(i);
    return -1;
}

// ---------------------------------------------------------------- control

TKQ_ClickMatrix::TKQ_ClickMatrix(QWidget* parent) : QWidget(parent)
{
    // Screen readers learn about the painted tiles through this; once per process.
    static const bool accessibleTiles = [] {
        QAccessible::installFactory(&TKQ_ClickMatrixAccessible::Factory);
        return true;
    }();
    Q_UNUSED(accessibleTiles);
    setFocusPolicy(Qt::StrongFocus);
    resize(sizeHint());
    items.onCollectionChanged = [this] { collectionChanged(); };
}

TKQ_ClickMatrix::~TKQ_ClickMatrix()
{
    items.onCollectionChanged = nullptr;
}

QVector<QRect> TKQ_ClickMatrix::Layout(int count, int controlWidth, int itemWidth, int itemHeight,
                                       const TKQ_ClickMatrixPaintOptions& options, TKQ_ItemsPosition position)
{
    QVector<QRect> rects(count);
    const int border = options.BorderWidth;
    const int avail = controlWidth - 2 * border;
    const bool centred = position == ipCentered || position == ipBlockCentered;
    int x = border;
    int y = border;
    int rowStart = 0;
    int shift = 0;
    bool rowOpen = false;
    for (int i = 0; i < count; ++i) {
        rects[i] = QRect(x, y, itemWidth, itemHeight);
        rowOpen = true;
        if (x + 2 * itemWidth + 2 * options.Space_Horizontal < avail) {
            x += itemWidth + options.Space_Horizontal;
            continue;
        }
        if (centred) {
            const int d = (avail - itemWidth - x) / 2;
            for (int j = rowStart; j <= i; ++j)
                rects[j].translate(d, 0);
            shift = d;
        }
        rowStart = i + 1;
        rowOpen = false;
        x = border;
        y += itemHeight + options.Space_Vertical;
    }
    if (centred && rowOpen) {
        const int w = (avail - x) / 2;
        const int d = position == ipCentered || shift == 0 ? w : shift;
        for (int j = rowStart; j < count; ++j)
            rects[j].translate(d, 0);
    }
    return rects;
}

void TKQ_ClickMatrix::SetPaintOptions(const TKQ_ClickMatrixPaintOptions& options)
{
    paintOptions = options;
    collectionChanged();
}

void TKQ_ClickMatrix::SetItemWidth(int value)
{
    itemWidth = value;
    collectionChanged();
}

void TKQ_ClickMatrix::SetItemHeight(int value)
{
    itemHeight = value;
    collectionChanged();
}

void TKQ_ClickMatrix::SetItemsPosition(TKQ_ItemsPosition value)
{
    itemsPosition = value;
    collectionChanged();
}

void TKQ_ClickMatrix::SetHandleHoovering(bool value)
{
    handleHoovering = value;
    setMouseTracking(value);
    if (!value) {
        setHooveredItem(nullptr);
        unsetCursor();
    }
}

void TKQ_ClickMatrix::SetImageList(std::optional<QList<QIcon>> list)
{
    imageList = std::move(list);
    update();
}

void TKQ_ClickMatrix::collectionChanged()
{
    // Forget tiles that are gone at once, even inside a batch: a new tile may
    // reuse the address of a cleared one.
    if (items.IndexOf(focusedItem) < 0)
        focusedItem = nullptr;
    if (items.IndexOf(hooveredItem) < 0)
        hooveredItem = nullptr;
    if (updateCount > 0)
        return;
    doLayout();
    update();
}

void TKQ_ClickMatrix::doLayout()
{
    const QVector<QRect> rects = Layout(items.Count(), width(), itemWidth, itemHeight, paintOptions, itemsPosition);
    for (int i = 0; i < items.Count(); ++i)
        items.Item(i)->rect = rects[i];
}

void TKQ_ClickMatrix::BeginUpdate()
{
    ++updateCount;
}

void TKQ_ClickMatrix::EndUpdate()
{
    if (updateCount == 0 || --updateCount > 0)
        return;
    doLayout();
    if (items.Count() == 0) {
        focusedItem = nullptr;
        hooveredItem = nullptr;
    }
    update();
}

TKQ_ClickMatrixItem* TKQ_ClickMatrix::ItemAt(const QPoint& point)
{
    for (int i = 0; i < items.Count(); ++i)
        if (items.Item(i)->rect.contains(point))
            return items.Item(i);
    return nullptr;
}

void TKQ_ClickMatrix::repaintItem(const TKQ_ClickMatrixItem* item)
{
    if (item)
        update(item->rect);
}

void TKQ_ClickMatrix::fire(const std::function<void(TKQ_ClickMatrixItem*)>& handler, TKQ_ClickMatrixItem* item)
{
    if (!handler)
        return;
    // A copy: the handler may rebind the notification or switch away from the screen that owns us.
    const auto call = handler;
    Guarded([&] { call(item); });
}

void TKQ_ClickMatrix::SetFocusedItem(TKQ_ClickMatrixItem* item)
{
    if (item == focusedItem)
        return;
    repaintItem(focusedItem);
    focusedItem = item;
    repaintItem(focusedItem);
    announceFocus();
    fire(onFocusItem, item);
}

void TKQ_ClickMatrix::announceFocus()
{
    const int index = items.IndexOf(focusedItem);
    if (!QAccessible::isActive() || index < 0 || !hasFocus())
        return;
    QAccessibleEvent event(this, QAccessible::Focus);
    event.setChild(index);
    QAccessible::updateAccessibility(&event);
}

void TKQ_ClickMatrix::setHooveredItem(TKQ_ClickMatrixItem* item)
{
    if (item == hooveredItem)
        return;
    repaintItem(hooveredItem);
    hooveredItem = item;
    repaintItem(hooveredItem);
}

void TKQ_ClickMatrix::FocusFirstItem()
{
    if (items.Count() > 0)
        SetFocusedItem(items.Item(0));
}

void TKQ_ClickMatrix::SelectItem(TKQ_ClickMatrixItem* item)
{
    if (!item)
        return;
    if (item != focusedItem) {
        const QPointer<TKQ_ClickMatrix> alive(this);
        SetFocusedItem(item);
        if (!alive || items.IndexOf(item) < 0)
            return;
    }
    fire(onSelectItem, item);
}

void TKQ_ClickMatrix::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const TKQ_ClickMatrixPaintOptions& options = paintOptions;
    if (!options.Transparent)
        painter.fillRect(rect(), options.BackgroundColor);
    painter.setBrush(Qt::NoBrush);
    if (options.ShowBorderFrame) {
        painter.setPen(options.BorderFrameColor);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    if (options.ShowFocusFrame && hasFocus()) {
        painter.setPen(QPen(Theme::TileFocusDots, 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(2, 2, -3, -3));
    }
    if (updateCount > 0)
        return;
    doLayout();
    for (int i = 0; i < items.Count(); ++i)
        if (event->rect().intersects(items.Item(i)->rect))
            paintItem(painter, *items.Item(i));
}

void TKQ_ClickMatrix::paintItem(QPainter& painter, const TKQ_ClickMatrixItem& item)
{
    const TKQ_ClickMatrixPaintOptions& options = paintOptions;
    const QRect& r = item.rect;
    QColor background = options.ItemNormalBackgroundColor;
    QColor border = options.ItemNormalBorderColor;
    if (&item == focusedItem) {
        background = options.ItemFocusBackgroundColor;
        border = options.ItemFocusBorderColor;
    } else if (&item == hooveredItem) {
        background = options.ItemHooverBackgroundColor;
        border = options.ItemHooverBorderColor;
    }

    // Half-pixel inset puts the 1-pixel outline on the tile's own outermost pixels.
    QPainterPath shape;
    shape.addRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), options.ItemCurveRadius, options.ItemCurveRadius);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(border, 1));
    painter.setBrush(background);
    painter.drawPath(shape);
    painter.restore();

    const int centre = r.left() + r.width() / 2;
    QIcon icon;
    if (item.iconTyp == tiiInternal)
        icon = item.icon;
    else if (item.iconTyp == tiiExternal && imageList && item.iconIndex >= 0 && item.iconIndex < imageList->size())
        icon = imageList->at(item.iconIndex);
    if (!icon.isNull())
        icon.paint(&painter, QRect(centre - IconSize / 2, r.top() + options.ImageTop, IconSize, IconSize), Qt::AlignCenter,
                   item.enabled ? QIcon::Normal : QIcon::Disabled);

    if (&item == focusedItem && options.HighlightItems) {
        painter.save();
        // Kept inside the rounded corners, which reach further in than two pixels.
        painter.setClipPath(shape);
        painter.setPen(QPen(options.ItemHighLightColor, 1));
        // The far end is exclusive, as the tile's right edge is.
        painter.drawLine(r.left() + 2, r.top() + 2, r.left() + r.width() - 3, r.top() + 2);
        painter.restore();
    }

    if (item.caption.isEmpty())
        return;
    const QString caption = ShownText(item.caption);
    const QFont font = options.TextFont.value_or(this->font());
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const int left = centre - metrics.horizontalAdvance(caption) / 2;
    const int baseline = r.top() + options.TextTop + metrics.ascent();
    if (options.TextShadow) {
        painter.setPen(options.TextShadowColor);
        painter.drawText(QPoint(left + 1, baseline + 1), caption);
    }
    painter.setPen(options.TextColor);
    painter.drawText(QPoint(left, baseline), caption);
}

void TKQ_ClickMatrix::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (updateCount == 0)
        doLayout();
}

void TKQ_ClickMatrix::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The first click of a double click may have chosen a tile that switched to
    // another menu: its second half must not choose a tile there as well.
    if (!pressed) {
        event->accept();
        return;
    }
    mousePressEvent(event);
}

void TKQ_ClickMatrix::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    pressed = true;
    if (!hasFocus() && focusPolicy() != Qt::NoFocus)
        setFocus(Qt::MouseFocusReason);
    TKQ_ClickMatrixItem* item = ItemAt(event->position().toPoint());
    if (!item)
        return;
    if (SelectItemWhenUnFocused)
        SelectItem(item);
    else if (item != focusedItem)
        SetFocusedItem(item);
    else if (SingleClickToSelectItem)
        SelectItem(item);
}

void TKQ_ClickMatrix::mouseMoveEvent(QMouseEvent* event)
{
    QWidget::mouseMoveEvent(event);
    if (!handleHoovering)
        return;
    const QPoint point = event->position().toPoint();
    if (hooveredItem && hooveredItem->rect.contains(point))
        return;
    setHooveredItem(ItemAt(point));
    if (hooveredItem)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
}

void TKQ_ClickMatrix::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    setHooveredItem(nullptr);
}

TKQ_ClickMatrixItem* TKQ_ClickMatrix::itemInRowBeside(const TKQ_ClickMatrixItem& from, int direction) const
{
    // The row above or below is the nearest one in that direction; in it, the
    // tile whose middle lies closest to the middle of `from`.
    const int top = from.rect.top();
    const int centre = from.rect.center().x();
    TKQ_ClickMatrixItem* best = nullptr;
    for (int i = 0; i < items.Count(); ++i) {
        TKQ_ClickMatrixItem* candidate = items.Item(i);
        const int rowTop = candidate->rect.top();
        if (direction * (rowTop - top) <= 0)
            continue;
        if (!best) {
            best = candidate;
            continue;
        }
        const int bestTop = best->rect.top();
        const int bestDistance = std::abs(best->rect.center().x() - centre);
        const int distance = std::abs(candidate->rect.center().x() - centre);
        if (direction * (rowTop - bestTop) < 0 || (rowTop == bestTop && distance < bestDistance))
            best = candidate;
    }
    return best;
}

void TKQ_ClickMatrix::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: {
        if (!HandleArrowKeys) {
            event->ignore();
            return;
        }
        event->accept();
        const int count = items.Count();
        if (count == 0)
            return;
        const int index = items.IndexOf(focusedItem);
        if (index < 0) {
            SetFocusedItem(items.Item(0));
            return;
        }
        switch (event->key()) {
        case Qt::Key_Right:
            SetFocusedItem(items.Item((index + 1) % count));
            break;
        case Qt::Key_Left:
            SetFocusedItem(items.Item((index + count - 1) % count));
            break;
        default:
            // Up and Down stop at the first and the last row.
            if (TKQ_ClickMatrixItem* next = itemInRowBeside(*focusedItem, event->key() == Qt::Key_Down ? 1 : -1))
                SetFocusedItem(next);
            break;
        }
        return;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!focusedItem) {
            event->ignore();
            return;
        }
        event->accept();
        SelectItem(focusedItem);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void TKQ_ClickMatrix::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
    announceFocus();
}

void TKQ_ClickMatrix::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}
