#include "core/QVL_DateTime.h"

#include "core/QVL_Math.h"

#include <QRegularExpression>

#include <cmath>

namespace {

constexpr qint64 msPerDay = 24LL * 60 * 60 * 1000;

const QDate& epoch()
{
    static const QDate date(1899, 12, 30);
    return date;
}

std::function<QDateTime()>& installedClock()
{
    static std::function<QDateTime()> current;
    return current;
}

} // namespace

TQVL_DateTime TQVL_DateTime::FromDateTime(const QDateTime& dateTime)
{
    if (!dateTime.isValid())
        return {};
    const QDateTime local = dateTime.toLocalTime();
    const qint64 days = epoch().daysTo(local.date());
    const double fraction = double(local.time().msecsSinceStartOfDay()) / double(msPerDay);
    // Before the epoch the fraction still counts forward from the day's start,
    // but the serial's sign makes it count backwards.
    return TQVL_DateTime(days >= 0 ? double(days) + fraction : double(days) - fraction);
}

TQVL_DateTime TQVL_DateTime::FromDate(const QDate& date)
{
    if (!date.isValid())
        return {};
    return TQVL_DateTime(double(epoch().daysTo(date)));
}

TQVL_DateTime TQVL_DateTime::FromParts(int year, int month, int day, int hour, int minute, int second, int msec)
{
    return FromDateTime(QDateTime(QDate(year, month, day), QTime(hour, minute, second, msec)));
}

TQVL_DateTime TQVL_DateTime::Now()
{
    const auto& current = installedClock();
    return FromDateTime(current ? current() : QDateTime::currentDateTime());
}

void TQVL_DateTime::SetClock(std::function<QDateTime()> newClock)
{
    installedClock() = std::move(newClock);
}

QDate TQVL_DateTime::Date() const
{
    return epoch().addDays(static_cast<qint64>(std::trunc(Value)));
}

QTime TQVL_DateTime::Time() const
{
    const double fraction = std::fabs(Value - std::trunc(Value));
    qint64 ms = RoundHalfEven(fraction * double(msPerDay));
    if (ms >= msPerDay)
        ms = msPerDay - 1;
    return QTime::fromMSecsSinceStartOfDay(int(ms));
}

QDateTime TQVL_DateTime::ToDateTime() const
{
    return QDateTime(Date(), Time());
}

TQVL_DateTime TQVL_DateTime::DateOf() const
{
    return TQVL_DateTime(std::trunc(Value));
}

QString TQVL_DateTime::ShortDateText() const
{
    return Date().toString(QStringLiteral("dd.MM.yyyy"));
}

QString TQVL_DateTime::LongTimeText() const
{
    return Time().toString(QStringLiteral("hh:mm:ss"));
}

QString TQVL_DateTime::ToText() const
{
    const QTime time = Time();
    if (time.msecsSinceStartOfDay() == 0)
        return ShortDateText();
    return ShortDateText() + QLatin1Char(' ') + LongTimeText();
}

bool TQVL_DateTime::TryParse(const QString& text, TQVL_DateTime& result)
{
    static const QRegularExpression german(
        QStringLiteral(R"(^\s*(\d{1,2})\.(\d{1,2})\.(\d{4})(?:\s+(\d{1,2}):(\d{2})(?::(\d{2}))?)?\s*$)"));
    const QRegularExpressionMatch m = german.match(text);
    if (m.hasMatch()) {
        const QDate date(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
        QTime time(0, 0);
        if (m.hasCaptured(4))
            time = QTime(m.captured(4).toInt(), m.captured(5).toInt(),
                         m.hasCaptured(6) ? m.captured(6).toInt() : 0);
        if (!date.isValid() || !time.isValid())
            return false;
        result = FromDateTime(QDateTime(date, time));
        return true;
    }
    QDateTime iso = QDateTime::fromString(text.trimmed(), Qt::ISODateWithMs);
    if (!iso.isValid())
        iso = QDateTime::fromString(text.trimmed(), Qt::ISODate);
    if (!iso.isValid()) {
        const QDate date = QDate::fromString(text.trimmed(), Qt::ISODate);
        if (!date.isValid())
            return false;
        iso = QDateTime(date, QTime(0, 0));
    }
    result = FromDateTime(iso);
    return true;
}
