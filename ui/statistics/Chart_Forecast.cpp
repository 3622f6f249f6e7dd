#include "ui/statistics/Chart_Forecast.h"

#include "statistics/QVL_Statistics_Calendar.h"
#include "ui/shell/PlainText.h"
#include "ui/shell/Theme.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStringList>
#include <QToolTip>

#include <algorithm>

namespace {

// A date below every seventh bar: a week apart, on the same weekday as today.
constexpr int LabelEvery = 7;

} // namespace

TChartForecast::TChartForecast(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Fällige Karten der nächsten Tage"));
}

void TChartForecast::SetValues(std::vector<int> counts, QDate firstDay)
{
    values = std::move(counts);
    first = firstDay;
    // What a screen reader says of the chart: the days with cards, in words.
    QStringList due;
    for (std::size_t i = 0; i < values.size(); ++i)
        if (values[i] > 0)
            due << QStringLiteral("%1: %2")
                       .arg(i == 0 ? QStringLiteral("heute")
                                   : first.addDays(qint64(i)).toString(QStringLiteral("dd.MM.")))
                       .arg(values[i]);
    setAccessibleDescription(due.isEmpty() ? QStringLiteral("Keine Karten fällig")
                                           : QStringLiteral("Fällige Karten: ") + due.join(QStringLiteral(", ")));
    updateGeometry();
    update();
}

int TChartForecast::most() const
{
    const auto top = std::max_element(values.begin(), values.end());
    return top == values.end() ? 0 : *top;
}

QSize TChartForecast::minimumSizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    const int count = std::max(int(values.size()), 30);
    // Room for the widest count above a bar at half its width, and for the dates below.
    const int step = std::max(metrics.horizontalAdvance(QStringLiteral("00")) / 2 + 2, 6);
    return {metrics.horizontalAdvance(QStringLiteral("0000")) + count * step + metrics.averageCharWidth() * 4,
            metrics.height() * 8};
}

QSize TChartForecast::sizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    const int count = std::max(int(values.size()), 30);
    return {metrics.horizontalAdvance(QStringLiteral("0000")) +
                count * metrics.horizontalAdvance(QStringLiteral("000")),
            metrics.height() * 14};
}

TChartForecast::Frame TChartForecast::frame(QSize size) const
{
    const QFontMetrics metrics = fontMetrics();
    Frame f;
    const int count = std::max(int(values.size()), 1);
    const int left = metrics.horizontalAdvance(QString::number(std::max(most(), 10))) + metrics.averageCharWidth() * 2;
    // Half a date may stand right of the last labelled bar.
    const int right = metrics.horizontalAdvance(QStringLiteral("00.00.")) / 2 + metrics.averageCharWidth();
    f.step = std::max((size.width() - left - right) / count, 2);
    const int top = metrics.height() * 3 / 2;
    const int bottom = metrics.height() * 2;
    f.plot = QRect(left, top, f.step * count, std::max(size.height() - top - bottom, 1));
    return f;
}

QRect TChartForecast::BarRect(int index, QSize size) const
{
    if (index < 0 || index >= int(values.size()))
        return {};
    const Frame f = frame(size);
    const int peak = std::max(most(), 1);
    const int height = int(qint64(f.plot.height()) * values[std::size_t(index)] / peak);
    const int gap = std::max(1, f.step / 5);
    return {f.plot.left() + index * f.step + gap / 2, f.plot.bottom() + 1 - height, f.step - gap, height};
}

QString TChartForecast::DayText(int index) const
{
    if (index < 0 || index >= int(values.size()))
        return {};
    const int count = values[std::size_t(index)];
    const QString date = TQVL_Statistics_Calendar::DateText(first.addDays(index));
    return QStringLiteral("%1%2: %3 %4 fällig")
        .arg(index == 0 ? QStringLiteral("Heute, ") : QString(), date)
        .arg(count)
        .arg(count == 1 ? QStringLiteral("Karte") : QStringLiteral("Karten"));
}

void TChartForecast::draw(QPainter& painter, QSize size) const
{
    const QFontMetrics metrics(font());
    painter.setFont(font());
    const Frame f = frame(size);
    painter.setPen(Theme::ChartAxis);
    painter.drawLine(f.plot.bottomLeft() + QPoint(0, 1), f.plot.bottomRight() + QPoint(0, 1));
    // The scale: the top count at the height of the tallest bar.
    painter.drawLine(f.plot.topLeft() - QPoint(3, 0), f.plot.bottomLeft() + QPoint(-3, 1));
    painter.setPen(Theme::Ink);
    const int peak = most();
    painter.drawText(QRect(0, f.plot.top() - metrics.height() / 2, f.plot.left() - 6, metrics.height()),
                     Qt::AlignRight | Qt::AlignVCenter, QString::number(peak));
    painter.drawText(QRect(0, f.plot.bottom() - metrics.height() / 2, f.plot.left() - 6, metrics.height()),
                     Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("0"));
    for (int i = 0; i < int(values.size()); ++i) {
        const QRect bar = BarRect(i, size);
        if (values[std::size_t(i)] > 0) {
            painter.setPen(Theme::ChartBarOutline);
            painter.setBrush(Theme::ChartBar);
            painter.drawRect(bar.adjusted(0, 0, -1, -1));
            const QString count = QString::number(values[std::size_t(i)]);
            if (metrics.horizontalAdvance(count) <= f.step) {
                painter.setPen(Theme::Ink);
                painter.drawText(
                    QRect(bar.center().x() - f.step, bar.top() - metrics.height(), 2 * f.step, metrics.height()),
                    Qt::AlignHCenter | Qt::AlignBottom, count);
            }
        }
        if (i % LabelEvery == 0) {
            const QString label =
                i == 0 ? QStringLiteral("Heute") : first.addDays(i).toString(QStringLiteral("dd.MM."));
            const int width = metrics.horizontalAdvance(label);
            const int x = i == 0 ? f.plot.left() : bar.center().x() - width / 2;
            painter.setPen(Theme::Ink);
            painter.drawText(QRect(x, f.plot.bottom() + 4, width, metrics.height()), Qt::AlignLeft, label);
        }
    }
}

QImage TChartForecast::Image(QSize size) const
{
    if (size.isEmpty())
        size = this->size().expandedTo(minimumSizeHint());
    QImage image(size, QImage::Format_RGB32);
    image.fill(Theme::ChartCanvas);
    QPainter painter(&image);
    draw(painter, size);
    return image;
}

void TChartForecast::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Theme::ChartCanvas);
    draw(painter, size());
    if (hasFocus()) {
        painter.setPen(QPen(Theme::Ink, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

bool TChartForecast::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const Frame f = frame(size());
        const int index = help->pos().x() >= f.plot.left() ? (help->pos().x() - f.plot.left()) / f.step : -1;
        if (index < 0 || index >= int(values.size()) || help->pos().y() > f.plot.bottom() + 1) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), PlainToolTip(DayText(index)), this);
        }
        return true;
    }
    return QWidget::event(event);
}
