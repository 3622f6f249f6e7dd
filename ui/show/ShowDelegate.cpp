#include "ui/show/ShowDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

#include <algorithm>

void TShowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QVariant decoration = index.data(Qt::DecorationRole);
    if (decoration.typeId() != QMetaType::QPixmap || !index.data(Qt::DisplayRole).toString().isEmpty()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.icon = QIcon();
    background.features &= ~QStyleOptionViewItem::HasDecoration;
    background.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);
    const QPixmap pixmap = decoration.value<QPixmap>();
    const QSize size = pixmap.deviceIndependentSize().toSize();
    const QRect cell = option.rect;
    painter->drawPixmap(QRect(QPoint(cell.x() + (cell.width() - size.width()) / 2,
                                     cell.y() + (cell.height() - size.height()) / 2),
                              size),
                        pixmap);
}

QSize TShowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    const QVariant decoration = index.data(Qt::DecorationRole);
    if (decoration.typeId() == QMetaType::QPixmap && index.data(Qt::DisplayRole).toString().isEmpty())
        size.setWidth(decoration.value<QPixmap>().deviceIndependentSize().toSize().width() + 4);
    size.setHeight(std::max(size.height(), RowHeight));
    return size;
}
