// Feeds arbitrary bytes to the KVTML reader, with the languages chosen or
// taken from the file.
#include "ImportCheck.h"
#include "exchange/QVL_Import_KVTML.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const bool fromSource : {false, true}) {
        TQVL_Import_KVTML kvtml;
        kvtml.LangCodeHome = QStringLiteral("ger");
        kvtml.LangCodeForeign = QStringLiteral("eng");
        kvtml.LanguagesFromSource = fromSource;
        CheckImport([&] { return kvtml.Read(bytes, FuzzFileName); });
    }
    return 0;
}
