#pragma once

#include "statistics/QVL_Statistics_Calendar.h"

#include <QWidget>

#include <functional>

// The last twelve months, one square per day in week columns, shaded by the
// day's answers. The day under the mouse tells its figures in a tool tip; the
// arrow keys move the chosen day (up and down a day, left and right a week),
// Enter, Space or a click asks to see its queries. Screen readers reach every
// day through TChartCalendarAccessible.
class TChartCalendar : public QWidget
{
    Q_OBJECT
public:
    explicit TChartCalendar(QWidget* parent = nullptr);
    ~TChartCalendar() override;

    void SetCalendar(TQVL_Statistics_Calendar calendar);
    const TQVL_Statistics_Calendar& Calendar() const { return calendar; }

    // The chosen day's position in Calendar().Days; -1 without days.
    int CurrentIndex() const { return current; }
    void SetCurrentIndex(int index);
    // Where the square of the day at `index` lies; empty outside the year.
    QRect DayRect(int index) const;
    // The day whose square holds `point`, -1 for none.
    int IndexAt(const QPoint& point) const;
    // "Mittwoch, 13. März 2024: 42 Vokabeln, …".
    QString DayText(int index) const;

    // The learner asked to see the queries of that day.
    std::function<void(QDate day)> OnDayChosen;
    // The chosen day moved.
    std::function<void(int index)> OnCurrentChanged;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    struct Geometry
    {
        int left = 0;
        int top = 0;
        int step = 0;
        int cell = 0;
    };
    Geometry layoutOf() const;
    // The room for the weekday names and the month names.
    int labelWidth() const;
    int labelHeight() const;
    int smallestStep() const;
    void choose(int index);
    void announceCurrent();

    TQVL_Statistics_Calendar calendar;
    int current = -1;
};
