// Feeds arbitrary bytes to the user-profile reader (header, rights and the
// whole results tree); a profile that loads must survive a write and a second
// read unchanged. The reader straight from the parsed file and the one from a
// tag tree must agree on every input, and so must the two writers.
#include "core/QVL_Error.h"
#include "core/QVL_XML.h"
#include "core/QVL_XMLStream.h"
#include "users/QVL_User.h"

#include <cstdint>
#include <cstdlib>

namespace {

QByteArray save(TQVL_User& user)
{
    TQVL_XML document;
    document.Version = 1;
    user.SaveToXML(*document.Root);
    const QByteArray bytes = document.SaveToBytes();
    TQVL_XMLStream stream(1);
    user.WriteXML(stream);
    if (stream.Finish() != bytes)
        std::abort();
    return bytes;
}

// The profile read straight from the parsed bytes, as opening a file does;
// the error's text when it is refused.
QString readDirectly(const QByteArray& bytes, TQVL_User& user)
{
    try {
        TQVL_XML document;
        document.Parse(bytes);
        user.ReadXML(document.Element());
    } catch (const TQVL_Error& error) {
        return error.Message();
    }
    return QString();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    TQVL_User direct;
    const QString directError = readDirectly(input, direct);
    TQVL_XML document;
    TQVL_User user;
    try {
        document.LoadFromBytes(input);
        user.LoadFromXML(*document.Root);
    } catch (const TQVL_Error& error) {
        if (error.Message() != directError)
            std::abort();
        return 0;
    }
    if (!directError.isEmpty())
        std::abort();
    const QByteArray bytes = save(user);
    if (save(direct) != bytes)
        std::abort();
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
