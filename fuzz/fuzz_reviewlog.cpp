// Feeds arbitrary bytes to the review log reader; what it accepts must write
// back into a log that reads as the same answers, without a damaged line.
#include "core/QVL_Error.h"
#include "query/QVL_ReviewLog.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TQVL_ReviewLog::Contents contents;
    try {
        contents = TQVL_ReviewLog::Parse(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)),
                                         QStringLiteral("fuzz.reviews.csv"));
    } catch (const TQVL_Error&) {
        return 0;
    }
    QByteArray bytes = TQVL_ReviewLog::Header();
    for (const TQVL_ReviewLog_Entry& entry : contents.Entries)
        TQVL_ReviewLog::AppendLine(bytes, entry);
    const TQVL_ReviewLog::Contents again = TQVL_ReviewLog::Parse(bytes, QStringLiteral("again.reviews.csv"));
    if (again.DamagedLines != 0 || again.TornTail || again.Entries != contents.Entries)
        std::abort();
    return 0;
}
