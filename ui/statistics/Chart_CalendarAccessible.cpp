#include "ui/statistics/Chart_CalendarAccessible.h"

#include "ui/statistics/Chart_Calendar.h"

#include <QWidget>
#include <QWindow>

TChartCalendarAccessible::TChartCalendarAccessible(TChartCalendar* calendar)
    : QAccessibleWidget(calendar, QAccessible::List)
{
}

TChartCalendarAccessible::~TChartCalendarAccessible()
{
    for (const QAccessible::Id id : std::as_const(days))
        QAccessible::deleteAccessibleInterface(id);
}

QAccessibleInterface* TChartCalendarAccessible::Factory(const QString& className, QObject* object)
{
    if (className == QLatin1String("TChartCalendar") && object && object->isWidgetType())
        return new TChartCalendarAccessible(static_cast<TChartCalendar*>(object));
    return nullptr;
}

TChartCalendar* TChartCalendarAccessible::calendar() const
{
    return static_cast<TChartCalendar*>(widget());
}

int TChartCalendarAccessible::childCount() const
{
    return int(calendar()->Calendar().Days.size());
}

QAccessibleInterface* TChartCalendarAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    auto found = days.constFind(index);
    if (found == days.constEnd())
        found = days.insert(
            index, QAccessible::registerAccessibleInterface(new TChartCalendarDayAccessible(calendar(), index)));
    return QAccessible::accessibleInterface(*found);
}

int TChartCalendarAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    if (!child)
        return -1;
    const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child));
    for (auto it = days.constBegin(); it != days.constEnd(); ++it)
        if (it.value() == id)
            return it.key() < childCount() ? it.key() : -1;
    return -1;
}

QAccessibleInterface* TChartCalendarAccessible::childAt(int x, int y) const
{
    return child(calendar()->IndexAt(calendar()->mapFromGlobal(QPoint(x, y))));
}

QAccessibleInterface* TChartCalendarAccessible::focusChild() const
{
    return child(calendar()->CurrentIndex());
}

TChartCalendarDayAccessible::TChartCalendarDayAccessible(TChartCalendar* owner, int position)
    : calendar(owner), index(position)
{
}

bool TChartCalendarDayAccessible::isValid() const
{
    return calendar && index < int(calendar->Calendar().Days.size());
}

QWindow* TChartCalendarDayAccessible::window() const
{
    return calendar ? calendar->window()->windowHandle() : nullptr;
}

QAccessibleInterface* TChartCalendarDayAccessible::parent() const
{
    return calendar ? QAccessible::queryAccessibleInterface(calendar.data()) : nullptr;
}

QString TChartCalendarDayAccessible::text(QAccessible::Text t) const
{
    if (!isValid())
        return {};
    const TQVL_Statistics_ActivityDay& day = calendar->Calendar().Days[std::size_t(index)].Figures;
    switch (t) {
    case QAccessible::Name:
        return TQVL_Statistics_Calendar::DateText(day.Date);
    case QAccessible::Description:
        return TQVL_Statistics_Calendar::FiguresText(day);
    default:
        return {};
    }
}

QRect TChartCalendarDayAccessible::rect() const
{
    if (!isValid())
        return {};
    const QRect square = calendar->DayRect(index);
    return QRect(calendar->mapToGlobal(square.topLeft()), square.size());
}

QAccessible::State TChartCalendarDayAccessible::state() const
{
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    state.focusable = true;
    state.selectable = true;
    state.selected = calendar->CurrentIndex() == index;
    state.focused = state.selected && calendar->hasFocus();
    state.invisible = !calendar->isVisible();
    return state;
}

void* TChartCalendarDayAccessible::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
}

QStringList TChartCalendarDayAccessible::actionNames() const
{
    return {pressAction()};
}

void TChartCalendarDayAccessible::doAction(const QString& actionName)
{
    if (actionName != pressAction() || !isValid())
        return;
    calendar->SetCurrentIndex(index);
    if (calendar->OnDayChosen)
        calendar->OnDayChosen(calendar->Calendar().Days[std::size_t(index)].Figures.Date);
}
