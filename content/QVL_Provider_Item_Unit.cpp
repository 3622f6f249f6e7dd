#include "content/QVL_Provider_Item_Unit.h"

#include "core/QVL_Error.h"
#include "core/QVL_Math.h"
#include "core/QVL_XML.h"
#include "core/QVL_XMLTag.h"

#include <QFileInfo>

#include <algorithm>

namespace {

// The smallest card a unit file can hold: "<card/>".
constexpr qint64 smallestCardBytes = 7;

// The header's count is a hint the saving program wrote; a file edited by hand
// may say anything. A list shows no negative count and none the file has no room for.
int plausibleCardCount(int stated, const QString& path)
{
    if (stated <= 0)
        return 0;
    return int(std::min<qint64>(stated, QFileInfo(path).size() / smallestCardBytes));
}

} // namespace

int SuccessPercent(int part, int whole)
{
    if (whole <= 0)
        return 0;
    // A percentage is shown in one byte; a record with more right than asked stays at 100.
    return int(std::clamp<std::int64_t>(RoundHalfEven(double(part) * 100.0 / double(whole)), 0, 100));
}

bool TQVL_Provider_Item_Unit::readHeader(const QStringList& names, int maxBytes, QStringList& values)
{
    if (Path.endsWith(QLatin1String(".qxuz"))) {
        CardCount = 0;
        return false;
    }
    TQVL_XML::ReadHeaderValues(Path, &names, maxBytes, &values);
    if (values.size() < 2)
        throw TQVL_Error(QStringLiteral("unreadable header"));
    Uid = values.at(0);
    CardCount = plausibleCardCount(TQVL_XMLTag::ToInteger(values.at(1)), Path);
    return true;
}

void TQVL_Provider_Item_Unit::Load()
{
    static const QStringList names = {QStringLiteral("uid"), QStringLiteral("cardcount")};
    try {
        QStringList values;
        if (!readHeader(names, HeaderBytes::Unit, values))
            return;
    } catch (const TQVL_Error&) {
        // The entry stays listed with what could be read.
    }
    TQVL_UnitResultFigures figures;
    if (results && *results && !Uid.isEmpty() && (*results)(Uid, figures)) {
        LastQueryDate = figures.LastQueryDate;
        SuccessLast = SuccessPercent(figures.LastRight, figures.LastQueried);
        SuccessAll = SuccessPercent(figures.AllRight, figures.AllQueried);
    }
}
