#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

// A local date-time as the serial value the files and computations use: days
// since 30.12.1899 00:00, the fraction being the time of day. 0 means "empty".
class TQVL_DateTime
{
public:
    constexpr TQVL_DateTime() = default;
    constexpr explicit TQVL_DateTime(double serial) : Value(serial) {}

    static TQVL_DateTime FromDateTime(const QDateTime& dateTime);
    static TQVL_DateTime FromDate(const QDate& date);
    static TQVL_DateTime FromParts(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                                   int msec = 0);
    // The current time, from the clock installed with SetClock (the system clock by default).
    static TQVL_DateTime Now();
    // Replaces the clock; an empty function restores the system clock. For tests.
    static void SetClock(std::function<QDateTime()> clock);

    // Reads the stored German form "dd.MM.yyyy[ hh:mm:ss]" or ISO 8601;
    // returns false and leaves `result` unchanged for other text.
    static bool TryParse(const QString& text, TQVL_DateTime& result);
    // The same on UTF-8 text, without building a QString for the stored form.
    static bool TryParseUtf8(const char* text, qsizetype length, TQVL_DateTime& result);

    double Serial() const { return Value; }
    bool IsEmpty() const { return Value == 0.0; }
    QDateTime ToDateTime() const;
    QDate Date() const;
    QTime Time() const;
    // The date part alone (midnight of the same day).
    TQVL_DateTime DateOf() const;

    // "dd.MM.yyyy hh:mm:ss", the time left out at exactly midnight: the stored form.
    QString ToText() const;
    // The same into `out` (room for StoredTextSize bytes) as Latin-1, for
    // writers that build bytes; returns its length, or 0 when the year has not
    // four digits (ToText covers those).
    static constexpr int StoredTextSize = 19;
    int ToStoredText(char* out) const;
    // "dd.MM.yyyy".
    QString ShortDateText() const;
    // "hh:mm:ss".
    QString LongTimeText() const;

    friend bool operator==(TQVL_DateTime a, TQVL_DateTime b) { return a.Value == b.Value; }
    friend bool operator<(TQVL_DateTime a, TQVL_DateTime b) { return a.Value < b.Value; }
    friend bool operator<=(TQVL_DateTime a, TQVL_DateTime b) { return a.Value <= b.Value; }
    friend bool operator>(TQVL_DateTime a, TQVL_DateTime b) { return a.Value > b.Value; }

private:
    double Value = 0.0;
};
