#include "statistics/QVL_Statistics_Calendar.h"

#include "core/QVL_Math.h"

#include <QStringList>

#include <algorithm>

namespace {

QString counted(qint64 count, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(count).arg(QString::fromUtf8(count == 1 ? one : many));
}

} // namespace

TQVL_Statistics_Calendar TQVL_Statistics_Calendar::Compute(const TQVL_Statistics_Activity& activity, QDate today)
{
    TQVL_Statistics_Calendar calendar;
    if (!today.isValid())
        return calendar;
    const QDate first = today.addDays(1 - YearDays);
    const int firstRow = first.dayOfWeek() - 1;
    const std::vector<TQVL_Statistics_ActivityDay> figures = activity.Days(first, today);
    calendar.Days.reserve(figures.size());
    for (std::size_t i = 0; i < figures.size(); ++i) {
        TDay day;
        day.Figures = figures[i];
        day.Row = figures[i].Date.dayOfWeek() - 1;
        day.Column = (firstRow + int(i)) / 7;
        calendar.MostAnswers = qMax(calendar.MostAnswers, figures[i].Answers);
        calendar.DaysStudied += figures[i].Studied() ? 1 : 0;
        calendar.Days.push_back(day);
    }
    for (TDay& day : calendar.Days)
        day.Level = Level(day.Figures.Answers, calendar.MostAnswers);
    calendar.LongestStreak = activity.LongestStreak(today);
    return calendar;
}

int TQVL_Statistics_Calendar::IndexOf(QDate date) const
{
    if (Days.empty() || !date.isValid() || date < First() || date > Last())
        return -1;
    return int(First().daysTo(date));
}

int TQVL_Statistics_Calendar::Level(qint64 answers, qint64 most)
{
    if (answers <= 0 || most <= 0)
        return 0;
    // Rounded up, so that a day with a single answer is still seen beside a busy one.
    const qint64 level = (answers * Levels + most - 1) / most;
    return int(std::clamp<qint64>(level, 1, Levels));
}

QString TQVL_Statistics_Calendar::MonthName(int month)
{
    static const char* const names[] = {"Januar", "Februar", "März",      "April",   "Mai",      "Juni",
                                        "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
    return month >= 1 && month <= 12 ? QString::fromUtf8(names[month - 1]) : QString();
}

QString TQVL_Statistics_Calendar::ShortMonthName(int month)
{
    static const char* const names[] = {"Jan", "Feb", "Mär", "Apr", "Mai", "Jun",
                                        "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
    return month >= 1 && month <= 12 ? QString::fromUtf8(names[month - 1]) : QString();
}

QString TQVL_Statistics_Calendar::WeekdayName(int dayOfWeek)
{
    static const char* const names[] = {"Montag",  "Dienstag", "Mittwoch", "Donnerstag",
                                        "Freitag", "Samstag",  "Sonntag"};
    return dayOfWeek >= 1 && dayOfWeek <= 7 ? QString::fromLatin1(names[dayOfWeek - 1]) : QString();
}

QString TQVL_Statistics_Calendar::ShortWeekdayName(int dayOfWeek)
{
    static const char* const names[] = {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"};
    return dayOfWeek >= 1 && dayOfWeek <= 7 ? QString::fromLatin1(names[dayOfWeek - 1]) : QString();
}

QString TQVL_Statistics_Calendar::DateText(QDate date)
{
    if (!date.isValid())
        return {};
    return QStringLiteral("%1, %2. %3 %4")
        .arg(WeekdayName(date.dayOfWeek()))
        .arg(date.day())
        .arg(MonthName(date.month()))
        .arg(date.year());
}

QString TQVL_Statistics_Calendar::FiguresText(const TQVL_Statistics_ActivityDay& day)
{
    if (day.Queries == 0)
        return QStringLiteral("Keine Abfrage");
    QStringList parts;
    parts << counted(day.Answers, "Vokabel", "Vokabeln") << QStringLiteral("%1 richtig").arg(day.Right)
          << counted(RoundHalfEven(double(day.Seconds) / 60.0), "Minute", "Minuten")
          << counted(day.Queries, "Abfrage", "Abfragen");
    return parts.join(QStringLiteral(", "));
}

QString TQVL_Statistics_Calendar::DaysStudiedText() const
{
    return QStringLiteral("%1 von %2 Tagen gelernt").arg(DaysStudied).arg(Days.size());
}

QString TQVL_Statistics_Calendar::LongestStreakText() const
{
    return QStringLiteral("Längste Serie: %1 in Folge").arg(counted(LongestStreak, "Tag", "Tage"));
}
