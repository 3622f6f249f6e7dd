#pragma once

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

class TChartCalendar;

// What a screen reader sees of the year calendar: a list whose children are
// the days, each named by its date, described by its figures, with its place
// on screen, its focus and a press action that opens its queries as Enter
// does. The days are painted, not widgets; without this the calendar would be
// one silent rectangle.
class TChartCalendarAccessible : public QAccessibleWidget
{
public:
    explicit TChartCalendarAccessible(TChartCalendar* calendar);
    ~TChartCalendarAccessible() override;

    // For QAccessible::installFactory.
    static QAccessibleInterface* Factory(const QString& className, QObject* object);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

private:
    TChartCalendar* calendar() const;
    // One interface per day, registered with Qt and released with the calendar's.
    mutable QHash<int, QAccessible::Id> days;
};

// One day of the calendar, by its position.
class TChartCalendarDayAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    TChartCalendarDayAccessible(TChartCalendar* calendar, int index);

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
    QPointer<TChartCalendar> calendar;
    int index;
};
