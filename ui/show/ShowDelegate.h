#pragma once

#include <QStyledItemDelegate>

// Draws the decoration of cells without text (traffic lights, thumbnails)
// centred in the cell; other cells as usual.
class TShowDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // Rows are at least `RowHeight` high (thumbnails need 74 pixels).
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    int RowHeight = 18;
};
