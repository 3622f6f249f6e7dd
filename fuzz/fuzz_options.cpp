// Feeds arbitrary bytes to the options reader; a valid result must survive a
// write and a second read unchanged.
#include "core/QVL_Error.h"
#include "core/QVL_XML.h"
#include "users/QVL_Options.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TQVL_XML document;
    TQVL_Options options;
    try {
        document.LoadFromBytes(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
        options.LoadFromXML(*document.Root);
    } catch (const TQVL_Error&) {
        return 0;
    }
    TQVL_XML written;
    written.Version = 1;
    options.SaveToXML(*written.Root);
    const QByteArray bytes = written.SaveToBytes();
    TQVL_XML again;
    TQVL_Options reread;
    again.LoadFromBytes(bytes);
    reread.LoadFromXML(*again.Root);
    TQVL_XML rewritten;
    rewritten.Version = 1;
    reread.SaveToXML(*rewritten.Root);
    if (rewritten.SaveToBytes() != bytes)
        std::abort();
    return 0;
}
