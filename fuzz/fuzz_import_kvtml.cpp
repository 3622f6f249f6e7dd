// Feeds arbitrary bytes to the KVTML reader, with the languages chosen or
// taken from the file, a one-language file's comments as the home side and
// two of more languages picked.
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
        kvtml.Languages.CommentAsHome = fromSource;
        if (fromSource) {
            kvtml.Languages.PickForeign = QStringLiteral("fre");
            kvtml.Languages.PickHome = QStringLiteral("ger");
        }
        CheckImport([&] { return kvtml.Read(bytes, FuzzFileName); });
    }
    return 0;
}
