// Feeds arbitrary bytes to the CSV reader; the first byte picks the delimiter
// and whether the columns are the presets or a narrow choice.
#include "ImportCheck.h"
#include "exchange/QVL_Import_CSV.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    TQVL_Import_CSV csv;
    static const char delimiters[] = {';', ',', '\t'};
    csv.Delimiter = QLatin1Char(delimiters[data[0] % 3]);
    if (data[0] & 0x10)
        csv.Columns = {2, 0, 0, 1, 0, 0, 0, 9};
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    CheckImport([&] { return csv.Read(bytes, FuzzFileName, [](qint64, qint64) { return true; }); });
    return 0;
}
