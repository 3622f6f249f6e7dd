#pragma once

#include "content/QVL_Provider_Item_Custom.h"
#include "core/QVL_DateTime.h"

#include <functional>

// The counters of a unit's result record that the unit list shows.
struct TQVL_UnitResultFigures {
    TQVL_DateTime LastQueryDate;
    int LastRight = 0;
    int LastQueried = 0;
    int AllRight = 0;
    int AllQueried = 0;
};

// Finds the active user's result figures of the unit `uid`; false when there are none.
using TQVL_UnitResultLookup = std::function<bool(const QString& uid, TQVL_UnitResultFigures& figures)>;

// A unit file: its identity and card count from the header, its success
// figures from the active user's results.
class TQVL_Provider_Item_Unit : public TQVL_Provider_Item_Custom
{
public:
    explicit TQVL_Provider_Item_Unit(const TQVL_UnitResultLookup* resultLookup = nullptr) : results(resultLookup) {}

    void Load() override;

    int SuccessLast = 0;
    int SuccessAll = 0;
    TQVL_DateTime LastQueryDate;
    QString Uid;
    int CardCount = 0;

protected:
    // Reads `names` from the first `maxBytes` bytes and sets Uid and CardCount
    // from the first two; returns the values, or nothing for a ".qxuz" file.
    bool readHeader(const QStringList& names, int maxBytes, QStringList& values);

private:
    const TQVL_UnitResultLookup* results;
};

// Percent of `part` in `whole`, rounded halves to even; 0 when `whole` is not positive.
int SuccessPercent(int part, int whole);
