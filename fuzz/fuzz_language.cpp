// Feeds arbitrary bytes to the language profile and language-name readers; a
// valid result must survive a write and a second read unchanged.
#include "content/QVL_Language.h"
#include "content/QVL_LanguagesNames.h"
#include "core/QVL_Error.h"
#include "core/QVL_XML.h"

#include <cstdint>
#include <cstdlib>

namespace {

template <class T> QByteArray write(T& object)
{
    TQVL_XML document;
    document.Version = 1;
    object.SaveToXML(*document.Root);
    return document.SaveToBytes();
}

// Reads `bytes` into a fresh T, writes it, reads and writes again; aborts
// when the two writes differ. Returns false for input the reader refuses.
template <class T> bool roundTrip(const QByteArray& bytes, T& object)
{
    TQVL_XML document;
    try {
        document.LoadFromBytes(bytes);
        object.LoadFromXML(*document.Root);
    } catch (const TQVL_Error&) {
        return false;
    }
    const QByteArray written = write(object);
    TQVL_XML again;
    T reread;
    again.LoadFromBytes(written);
    reread.LoadFromXML(*again.Root);
    if (write(reread) != written)
        std::abort();
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    TQVL_Language language;
    if (roundTrip(bytes, language)) {
        language.ReplacementsActive = true;
        for (int c = 0; c < 256; ++c) {
            const QChar replaced = language.ReplaceChar(char(c));
            if (!language.IsReplaceable(char(c)) && replaced != QChar(c))
                std::abort();
        }
        for (const auto& [from, to] : language.ReplacementPairs())
            if (!to.isNull() && !language.ReplacementsTo.contains(to))
                std::abort();
    }
    TQVL_LanguagesNames names;
    if (roundTrip(bytes, names)) {
        for (int i = 0; i < names.Count(); ++i)
            if (names.CodeAt(i).size() > 3)
                std::abort();
    }
    return 0;
}
