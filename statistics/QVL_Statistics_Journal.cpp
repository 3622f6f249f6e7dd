#include "statistics/QVL_Statistics_Journal.h"

#include "core/QVL_MergeSort.h"

#include "query/QVL_Result_Unit.h"

#include <algorithm>
#include <cmath>

namespace {

int sign(double value)
{
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

double timeOfDay(TQVL_DateTime value)
{
    return value.Serial() - std::trunc(value.Serial());
}

QString twoDigits(qint64 part)
{
    return part <= 9 ? QStringLiteral("0") + QString::number(part) : QString::number(part);
}


} // namespace

std::vector<TQVL_Statistics_Journal::TEntry> TQVL_Statistics_Journal::Entries(const TQVL_Statistics_UnitResults& units,
                                                                              TQVL_DateTime now)
{
    std::vector<TEntry> entries;
    for (const TQVL_Result_Unit* unit : units) {
        for (int i = 0; i < unit->QueryCount(); ++i) {
            const TQVL_Result_Unit_Query& query = unit->Query(i);
            // A query "stored in the future" (the clock was changed) is left out.
            if (!(TQVL_DateTime() <= query.datetime && query.datetime < now))
                continue;
            entries.push_back(TEntry{query.datetime, unit->unit_lastknownfilename, query.duration, query.queried,
                                     query.right});
        }
    }
    return entries;
}

int TQVL_Statistics_Journal::SuccessPercent(const TEntry& entry)
{
    if (entry.Queried == 0)
        return 0;
    return int(qint64(entry.Right) * 100 / entry.Queried);
}

int TQVL_Statistics_Journal::Compare(const TEntry& a, const TEntry& b, int column)
{
    switch (column) {
    case colDate:
        return sign(std::trunc((b.DateTime.Serial() - a.DateTime.Serial()) * 1000.0));
    case colTime:
        return sign(std::trunc((timeOfDay(a.DateTime) - timeOfDay(b.DateTime)) * 1000.0));
    case colUnit:
        return sign(a.UnitFileName.compare(b.UnitFileName, Qt::CaseSensitive));
    case colDuration:
        return sign(double(a.Duration) - double(b.Duration));
    case colSuccess:
        return sign(double(SuccessPercent(a)) - double(SuccessPercent(b)));
    default:
        return 0;
    }
}

std::vector<int> TQVL_Statistics_Journal::SortedOrder(const std::vector<TEntry>& entries, int column,
                                                      Qt::SortOrder direction)
{
    const int factor = direction == Qt::DescendingOrder ? -1 : 1;
    return MergeSortedOrder(entries.size(), [&](int a, int b) {
        return factor * Compare(entries[std::size_t(a)], entries[std::size_t(b)], column) < 0;
    });
}

void TQVL_Statistics_Journal::Sort(std::vector<TEntry>& entries, int column, Qt::SortOrder order)
{
    const std::vector<int> positions = SortedOrder(entries, column, order);
    std::vector<TEntry> sorted;
    sorted.reserve(entries.size());
    for (const int position : positions)
        sorted.push_back(std::move(entries[std::size_t(position)]));
    entries.swap(sorted);
}

QString TQVL_Statistics_Journal::DurationText(qint32 seconds)
{
    const qint64 total = seconds;
    const qint64 hours = total / 3600;
    const qint64 minutes = (total - hours * 3600) / 60;
    const qint64 rest = total - hours * 3600 - minutes * 60;
    return twoDigits(hours) + QLatin1Char(':') + twoDigits(minutes) + QLatin1Char(':') + twoDigits(rest);
}

QString TQVL_Statistics_Journal::Text(const TEntry& entry, int column)
{
    switch (column) {
    case colDate:
        return entry.DateTime.ShortDateText();
    case colTime:
        return entry.DateTime.LongTimeText();
    case colUnit: {
        // Profiles from other systems may name the file with backslashes.
        const qsizetype cut = std::max(entry.UnitFileName.lastIndexOf(QLatin1Char('/')),
                                       entry.UnitFileName.lastIndexOf(QLatin1Char('\\')));
        return entry.UnitFileName.mid(cut + 1);
    }
    case colDuration:
        return DurationText(entry.Duration);
    case colSuccess:
        return entry.Queried == 0 ? QString() : QString::number(SuccessPercent(entry)) + QLatin1Char('%');
    default:
        return {};
    }
}
