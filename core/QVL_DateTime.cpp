#include "core/QVL_DateTime.h"

#include "core/QVL_Encoding.h"
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

namespace {

template <typename Char>
int asciiDigits(const Char* p, int count)
{
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const char16_t c = char16_t(p[i]);
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

// The exact form the files hold, "dd.MM.yyyy" or "dd.MM.yyyy hh:mm:ss", read
// as wall-clock time without a trip through the time zone. `Char` is char16_t
// for a QString, char for the bytes of a file.
template <typename Char>
bool parseStoredForm(const Char* p, qsizetype n, TQVL_DateTime& result)
{
    if (n != 10 && n != 19)
        return false;
    if (p[2] != Char('.') || p[5] != Char('.'))
        return false;
    const int day = asciiDigits(p, 2), month = asciiDigits(p + 3, 2), year = asciiDigits(p + 6, 4);
    int hour = 0, minute = 0, second = 0;
    if (n == 19) {
        if (p[10] != Char(' ') || p[13] != Char(':') || p[16] != Char(':'))
            return false;
        hour = asciiDigits(p + 11, 2);
        minute = asciiDigits(p + 14, 2);
        second = asciiDigits(p + 17, 2);
    }
    if (day < 0 || month < 0 || year < 0 || hour < 0 || minute < 0 || second < 0)
        return false;
    const QDate date(year, month, day);
    if (!date.isValid() || hour > 23 || minute > 59 || second > 59)
        return false;
    const qint64 days = epoch().daysTo(date);
    const double fraction = double((hour * 3600 + minute * 60 + second) * 1000) / double(msPerDay);
    result = TQVL_DateTime(days >= 0 ? double(days) + fraction : double(days) - fraction);
    return true;
}

void appendTwo(char*& out, int value)
{
    *out++ = char('0' + value / 10);
    *out++ = char('0' + value % 10);
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

int TQVL_DateTime::ToStoredText(char* out) const
{
    const QDate date = Date();
    if (date.year() < 1000 || date.year() > 9999)
        return 0;
    const QTime time = Time();
    char* p = out;
    appendTwo(p, date.day());
    *p++ = '.';
    appendTwo(p, date.month());
    *p++ = '.';
    appendTwo(p, date.year() / 100);
    appendTwo(p, date.year() % 100);
    if (time.msecsSinceStartOfDay() != 0) {
        *p++ = ' ';
        appendTwo(p, time.hour());
        *p++ = ':';
        appendTwo(p, time.minute());
        *p++ = ':';
        appendTwo(p, time.second());
    }
    return int(p - out);
}

QString TQVL_DateTime::ToText() const
{
    char stored[StoredTextSize];
    if (const int length = ToStoredText(stored))
        return QString::fromLatin1(stored, length);
    if (Time().msecsSinceStartOfDay() == 0)
        return ShortDateText();
    return ShortDateText() + QLatin1Char(' ') + LongTimeText();
}

bool TQVL_DateTime::TryParseUtf8(const char* text, qsizetype length, TQVL_DateTime& result)
{
    return parseStoredForm(text, length, result) || TryParse(TQVL_Encoding::FromUtf8(text, length), result);
}

bool TQVL_DateTime::TryParse(const QString& text, TQVL_DateTime& result)
{
    if (parseStoredForm(reinterpret_cast<const char16_t*>(text.utf16()), text.size(), result))
        return true;
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
