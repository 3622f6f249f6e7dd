// Feeds arbitrary bytes to the unit reader; a unit that was read must survive
// a write and a second read unchanged.
#include "content/QVL_Card_Pic.h"
#include "content/QVL_Unit.h"
#include "core/QVL_Error.h"
#include "core/QVL_XML.h"

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
    return document.SaveToBytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TQVL_Unit unit;
    try {
        TQVL_XML document;
        document.LoadFromBytes(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
        unit.LoadFromXML(*document.Root);
    } catch (const TQVL_Error&) {
        return 0;
    }
    const QByteArray bytes = write(unit);

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
