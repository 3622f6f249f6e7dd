#include "ui/statistics/Chart_Calendar.h"

#include "ui/shell/PlainText.h"
#include "ui/shell/Theme.h"
#include "ui/statistics/Chart_CalendarAccessible.h"

#include <QAccessible>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace {

constexpr int Rows = 7;
// Weekday names beside these rows only (Monday, Wednesday, Friday): all seven crowd the squares.
constexpr int NamedRows[] = {0, 2, 4};

} // namespace

TChartCalendar::TChartCalendar(QWidget* parent) : QWidget(parent)
{
    // Screen readers learn about the painted days through this; once per process.
    static const bool accessibleDays = [] {
        QAccessible::installFactory(&TChartCalendarAccessible::Factory);
        return true;
    }();
    Q_UNUSED(accessibleDays);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    setAccessibleName(QStringLiteral("Kalender der letzten zwölf Monate"));
    setAccessibleDescription(QStringLiteral("Ein Feld je Tag, dunkler bei mehr Antworten. Die Pfeiltasten wechseln "
                                            "den Tag, die Eingabetaste zeigt seine Abfragen im Protokoll."));
}

TChartCalendar::~TChartCalendar() = default;

void TChartCalendar::SetCalendar(TQVL_Statistics_Calendar newCalendar)
{
    calendar = std::move(newCalendar);
    current = calendar.Days.empty() ? -1 : int(calendar.Days.size()) - 1;
    updateGeometry();
    update();
    if (OnCurrentChanged)
        OnCurrentChanged(current);
}

void TChartCalendar::SetCurrentIndex(int index)
{
    if (calendar.Days.empty())
        return;
    index = std::clamp(index, 0, int(calendar.Days.size()) - 1);
    if (index == current)
        return;
    update(DayRect(current).adjusted(-3, -3, 3, 3));
    current = index;
    update(DayRect(current).adjusted(-3, -3, 3, 3));
    announceCurrent();
    if (OnCurrentChanged)
        OnCurrentChanged(current);
}

int TChartCalendar::labelWidth() const
{
    int widest = 0;
    for (const int row : NamedRows)
        widest = std::max(widest, fontMetrics().horizontalAdvance(TQVL_Statistics_Calendar::ShortWeekdayName(row + 1)));
    return widest + fontMetrics().averageCharWidth();
}

int TChartCalendar::labelHeight() const
{
    return fontMetrics().height() + fontMetrics().descent();
}

int TChartCalendar::smallestStep() const
{
    // Small enough for a year on a narrow window, large enough to hit with the mouse.
    return std::max(6, fontMetrics().height() * 2 / 3);
}

TChartCalendar::Geometry TChartCalendar::layoutOf() const
{
    Geometry g;
    const int columns = std::max(calendar.ColumnCount(), 1);
    // A month name may stand over the last column: room for it to the right.
    const int right = fontMetrics().horizontalAdvance(TQVL_Statistics_Calendar::ShortMonthName(5));
    const int byWidth = (width() - labelWidth() - right) / columns;
    const int byHeight = (height() - 2 * labelHeight()) / Rows;
    g.step = std::clamp(std::min(byWidth, byHeight), smallestStep(), fontMetrics().height() * 2);
    g.cell = g.step - std::max(1, g.step / 6);
    // Centred in the room it has.
    const int used = labelWidth() + columns * g.step + right;
    g.left = labelWidth() + std::max(0, (width() - used) / 2);
    g.top = labelHeight();
    return g;
}

QSize TChartCalendar::minimumSizeHint() const
{
    const int columns = std::max(calendar.ColumnCount(), 53);
    const int right = fontMetrics().horizontalAdvance(TQVL_Statistics_Calendar::ShortMonthName(5));
    return {labelWidth() + columns * smallestStep() + right, 2 * labelHeight() + Rows * smallestStep()};
}

QSize TChartCalendar::sizeHint() const
{
    const int step = fontMetrics().height();
    const int columns = std::max(calendar.ColumnCount(), 53);
    const int right = fontMetrics().horizontalAdvance(TQVL_Statistics_Calendar::ShortMonthName(5));
    return {labelWidth() + columns * step + right, 2 * labelHeight() + Rows * step};
}

QRect TChartCalendar::DayRect(int index) const
{
    if (index < 0 || index >= int(calendar.Days.size()))
        return {};
    const Geometry g = layoutOf();
    const TQVL_Statistics_Calendar::TDay& day = calendar.Days[std::size_t(index)];
    return {g.left + day.Column * g.step, g.top + day.Row * g.step, g.cell, g.cell};
}

int TChartCalendar::IndexAt(const QPoint& point) const
{
    if (calendar.Days.empty())
        return -1;
    const Geometry g = layoutOf();
    if (point.x() < g.left || point.y() < g.top)
        return -1;
    const int column = (point.x() - g.left) / g.step;
    const int row = (point.y() - g.top) / g.step;
    if (row >= Rows || column >= calendar.ColumnCount())
        return -1;
    // Column 0 starts on the first day's weekday.
    const int index = column * Rows + row - calendar.Days.front().Row;
    if (index < 0 || index >= int(calendar.Days.size()) || !DayRect(index).contains(point))
        return -1;
    return index;
}

QString TChartCalendar::DayText(int index) const
{
    if (index < 0 || index >= int(calendar.Days.size()))
        return {};
    const TQVL_Statistics_ActivityDay& figures = calendar.Days[std::size_t(index)].Figures;
    return TQVL_Statistics_Calendar::DateText(figures.Date) + QStringLiteral(": ") +
           TQVL_Statistics_Calendar::FiguresText(figures);
}

bool TChartCalendar::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int index = IndexAt(help->pos());
        if (index < 0) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), PlainToolTip(DayText(index)), this, DayRect(index));
        }
        return true;
    }
    return QWidget::event(event);
}

void TChartCalendar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const Geometry g = layoutOf();
    painter.setPen(Theme::Ink);
    const QFontMetrics metrics = fontMetrics();
    for (const int row : NamedRows)
        painter.drawText(QRect(0, g.top + row * g.step, labelWidth(), g.cell), Qt::AlignLeft | Qt::AlignVCenter,
                         TQVL_Statistics_Calendar::ShortWeekdayName(row + 1));
    int lastMonthColumn = -2;
    for (std::size_t i = 0; i < calendar.Days.size(); ++i) {
        const TQVL_Statistics_Calendar::TDay& day = calendar.Days[i];
        const QRect square = DayRect(int(i));
        painter.fillRect(square, day.Level == 0 ? Theme::CalendarEmpty : Theme::CalendarLevels[day.Level - 1]);
        // A month's name over the week of its first day, unless the previous name would run into it.
        const QDate date = day.Figures.Date;
        if ((date.day() == 1 || (i == 0 && date.day() <= 7)) && day.Column - lastMonthColumn >= 3) {
            painter.setPen(Theme::Ink);
            painter.drawText(QPoint(square.left(), g.top - metrics.descent() - 2),
                             TQVL_Statistics_Calendar::ShortMonthName(date.month()));
            lastMonthColumn = day.Column;
        }
    }
    // The shades from none to the most answers, below the last weeks.
    const int legendTop = g.top + Rows * g.step + metrics.descent();
    const QString more = QStringLiteral("Mehr");
    int x = g.left + calendar.ColumnCount() * g.step - metrics.horizontalAdvance(more);
    painter.setPen(Theme::Ink);
    painter.drawText(QRect(x, legendTop, metrics.horizontalAdvance(more), metrics.height()), Qt::AlignVCenter, more);
    const int squareTop = legendTop + (metrics.height() - g.cell) / 2;
    for (int level = TQVL_Statistics_Calendar::Levels; level >= 0; --level) {
        x -= g.step;
        painter.fillRect(QRect(x, squareTop, g.cell, g.cell),
                         level == 0 ? Theme::CalendarEmpty : Theme::CalendarLevels[level - 1]);
    }
    const QString less = QStringLiteral("Weniger");
    const int lessWidth = metrics.horizontalAdvance(less);
    x -= lessWidth + metrics.averageCharWidth();
    painter.drawText(QRect(x, legendTop, lessWidth, metrics.height()), Qt::AlignVCenter, less);

    if (current >= 0) {
        QPen frame(hasFocus() ? Theme::CalendarFocus : Theme::Ink);
        frame.setWidth(2);
        painter.setPen(frame);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(DayRect(current).adjusted(-1, -1, 1, 1));
    }
}

void TChartCalendar::mousePressEvent(QMouseEvent* event)
{
    const int index = IndexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index >= 0) {
        setFocus(Qt::MouseFocusReason);
        SetCurrentIndex(index);
        choose(index);
        return;
    }
    QWidget::mousePressEvent(event);
}

void TChartCalendar::keyPressEvent(QKeyEvent* event)
{
    if (calendar.Days.empty()) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Up:
        SetCurrentIndex(current - 1);
        break;
    case Qt::Key_Down:
        SetCurrentIndex(current + 1);
        break;
    case Qt::Key_Left:
        SetCurrentIndex(current - 7);
        break;
    case Qt::Key_Right:
        SetCurrentIndex(current + 7);
        break;
    case Qt::Key_Home:
        SetCurrentIndex(0);
        break;
    case Qt::Key_End:
        SetCurrentIndex(int(calendar.Days.size()) - 1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        choose(current);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TChartCalendar::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
    announceCurrent();
}

void TChartCalendar::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

void TChartCalendar::choose(int index)
{
    if (index >= 0 && index < int(calendar.Days.size()) && OnDayChosen)
        OnDayChosen(calendar.Days[std::size_t(index)].Figures.Date);
}

void TChartCalendar::announceCurrent()
{
    if (!QAccessible::isActive() || current < 0 || !hasFocus())
        return;
    QAccessibleEvent event(this, QAccessible::Focus);
    event.setChild(current);
    QAccessible::updateAccessibility(&event);
}
