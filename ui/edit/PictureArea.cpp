#include "ui/edit/PictureArea.h"

#include "content/QVL_Card_Pic_Clickareas.h"
#include "ui/shell/Icons.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace {

const QSize placeholderSize(300, 200);
constexpr int symbolSize = 64;

} // namespace

TPictureArea::TPictureArea(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(160, 120);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TPictureArea::SetPicture(const QPixmap& shown)
{
    picture = shown;
    update();
}

void TPictureArea::SetClickAreas(const TQVL_Card_Pic_Clickareas* shown)
{
    areas = shown;
    update();
}

QRect TPictureArea::Fit(QSize size, const QRect& area)
{
    double width = size.width(), height = size.height();
    if (width > area.width() && width > 0) {
        height = height * area.width() / width;
        width = area.width();
    }
    if (height > area.height() && height > 0) {
        width = width * area.height() / height;
        height = area.height();
    }
    const QSize fitted(int(std::lround(width)), int(std::lround(height)));
    return QRect(area.left() + (area.width() - fitted.width()) / 2, area.top() + (area.height() - fitted.height()) / 2,
                 fitted.width(), fitted.height());
}

QRect TPictureArea::PictureRect() const
{
    return Fit(picture.isNull() ? placeholderSize : picture.size(), rect());
}

void TPictureArea::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (picture.isNull()) {
        const QPixmap symbol = Icons::Pixmap(QStringLiteral("picture"), symbolSize, devicePixelRatioF());
        painter.drawPixmap(QRect((width() - symbolSize) / 2, (height() - symbolSize) / 2, symbolSize, symbolSize), symbol);
        const QString text = QStringLiteral("Noch kein Bild zugewiesen.");
        const QFontMetrics metrics(font());
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QRect(0, height() * 3 / 4 - metrics.height() / 2, width(), metrics.height()),
                         Qt::AlignHCenter | Qt::AlignVCenter, text);
        return;
    }
    const QRect shown = PictureRect();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(shown, picture);
    if (areas && shown.width() > 0 && shown.height() > 0) {
        painter.translate(shown.topLeft());
        areas->Draw(painter, double(picture.width()) / shown.width(), double(picture.height()) / shown.height());
    }
}

void TPictureArea::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !OnLeftClick) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QRect shown = PictureRect();
    const QPoint point = event->position().toPoint();
    OnLeftClick(point - shown.topLeft(), !picture.isNull() && shown.contains(point));
}
