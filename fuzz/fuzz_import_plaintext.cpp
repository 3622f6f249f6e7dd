// Feeds arbitrary bytes to the reader of flashcard text exports.
#include "ImportCheck.h"
#include "exchange/QVL_Import_PlainText.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    CheckImport([&] { return TQVL_Import_PlainText().Read(bytes, FuzzFileName); });
    return 0;
}
