// Feeds arbitrary bytes to the unit reader; a unit that was read must survive
// a write and a second read unchanged. The reader straight from the parsed
// file and the one from a tag tree must agree on every input (the same unit or
// the same error), and so must the two writers.
#include "content/QVL_Card_Pic.h"
#include "content/QVL_Unit.h"
#include "core/QVL_Error.h"
#include "core/QVL_XML.h"
#include "core/QVL_XMLStream.h"

#include <QImage>
#include <QPainter>

#include <cstdint>
#include <cstdlib>
#include <limits>

namespace {

QByteArray write(TQVL_Unit& unit)
{
    TQVL_XML document;
    document.Version = 1;
    unit.SaveToXML(*document.Root);
    const QByteArray bytes = document.SaveToBytes();
    TQVL_XMLStream stream(1);
    unit.WriteXML(stream);
    if (stream.Finish() != bytes)
        std::abort();
    return bytes;
}

// The unit read straight from the parsed bytes, as opening a file does; the
// error's text when it is refused.
QString readDirectly(const QByteArray& bytes, TQVL_Unit& unit)
{
    try {
        TQVL_XML document;
        document.Parse(bytes);
        unit.ReadXML(document.Element());
    } catch (const TQVL_Error& error) {
        return error.Message();
    }
    return QString();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    TQVL_Unit direct;
    const QString directError = readDirectly(input, direct);
    TQVL_Unit unit;
    try {
        TQVL_XML document;
        document.LoadFromBytes(input);
        unit.LoadFromXML(*document.Root);
    } catch (const TQVL_Error& error) {
        if (error.Message() != directError)
            std::abort();
        return 0;
    }
    if (!directError.isEmpty())
        std::abort();
    const QByteArray bytes = write(unit);
    if (write(direct) != bytes)
        std::abort();

    TQVL_Unit reread;
    TQVL_XML again;
    again.LoadFromBytes(bytes);
    reread.LoadFromXML(*again.Root);
    if (write(reread) != bytes)
        std::abort();

    // Hit tests, drawing and the merge rules must cope with whatever was read.
    QImage image(48, 48, QImage::Format_RGB32);
    QPainter painter(&image);
    for (int i = 0; i < unit.Cards->Count(); ++i) {
        const TQVL_Card& card = *unit.Cards->Card(i);
        card.Matches(*reread.Cards->Card(i), true);
        card.Matches(*reread.Cards->Card(i), false);
        if (const auto* picture = dynamic_cast<const TQVL_Card_Pic*>(&card)) {
            picture->clickareas->Contains(0, 0);
            picture->clickareas->Contains(std::numeric_limits<int>::max(), std::numeric_limits<int>::min());
            picture->clickareas->Draw(painter, 0.5, 3.0);
            picture->clickareas->Draw(painter, 0.0, -1.0);
        }
    }
    return 0;
}
