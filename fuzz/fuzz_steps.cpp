// Feeds arbitrary bytes to the result step reader (step files arrive from other
// machines through the sync); what it accepts must write back into a file
// that reads as the same steps, without a damaged line.
#include "core/QVL_Error.h"
#include "query/QVL_Result_Steps.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TQVL_Result_Steps::Contents contents;
    try {
        contents = TQVL_Result_Steps::Parse(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)),
                                            QStringLiteral("fuzz.steps.csv"));
    } catch (const TQVL_Error&) {
        return 0;
    }
    QByteArray bytes = TQVL_Result_Steps::Header();
    for (const TQVL_Result_Step& step : contents.Steps)
        TQVL_Result_Steps::AppendLine(bytes, step);
    const TQVL_Result_Steps::Contents again = TQVL_Result_Steps::Parse(bytes, QStringLiteral("again.steps.csv"));
    if (again.DamagedLines != 0 || again.TornTail || again.Steps != contents.Steps)
        std::abort();
    return 0;
}
