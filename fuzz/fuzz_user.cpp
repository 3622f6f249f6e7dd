// Feeds arbitrary bytes to the user-profile reader (header, rights and the
// whole results tree); a profile that loads must survive a write and a second
// read unchanged.
#include "core/QVL_Error.h"
#include "core/QVL_XML.h"
#include "users/QVL_User.h"

#include <cstdint>
#include <cstdlib>

namespace {

QByteArray save(TQVL_User& user)
{
    TQVL_XML document;
    document.Version = 1;
    user.SaveToXML(*document.Root);
    return document.SaveToBytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TQVL_XML document;
    TQVL_User user;
    try {
        document.LoadFromBytes(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
        user.LoadFromXML(*document.Root);
    } catch (const TQVL_Error&) {
        return 0;
    }
    const QByteArray bytes = save(user);
    TQVL_XML again;
    TQVL_User reread;
    try {
        again.LoadFromBytes(bytes);
        reread.LoadFromXML(*again.Root);
    } catch (const TQVL_Error&) {
        std::abort(); // what we wrote must read again
    }
    if (save(reread) != bytes)
        std::abort();
    return 0;
}
