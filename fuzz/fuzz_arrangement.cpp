// Feeds arbitrary bytes to the card arrangement reader; a valid result must
// survive a write and a second read unchanged, and lay out without fault.
#include "content/QVL_CardArrangement.h"
#include "core/QVL_Error.h"
#include "core/QVL_XML.h"

#include <cstdint>
#include <cstdlib>

namespace {

QByteArray write(TQVL_CardArrangement& arrangement)
{
    TQVL_XML document;
    document.Version = 1;
    arrangement.SaveToXML(*document.Root);
    return document.SaveToBytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TQVL_XML document;
    TQVL_CardArrangement arrangement;
    try {
        document.LoadFromBytes(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
        arrangement.LoadFromXML(*document.Root);
    } catch (const TQVL_Error&) {
        return 0;
    }
    const QByteArray bytes = write(arrangement);
    TQVL_XML again;
    TQVL_CardArrangement reread;
    again.LoadFromBytes(bytes);
    reread.LoadFromXML(*again.Root);
    if (write(reread) != bytes)
        std::abort();

    reread.OnPlaceField = [&](int index, int, int, int, int, TQVL_CardArrangement_FieldType type) {
        if (index < 0 || index >= reread.FieldCount() || reread.Field(index)->Type != type || type > cftConstantLabel)
            std::abort();
    };
    for (const int width : {0, 7, 600, 1920})
        reread.Layout(width, width * 2 / 3, width / 7, width / 5, width == 7);
    return 0;
}
