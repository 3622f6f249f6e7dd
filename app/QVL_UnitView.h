#pragma once

#include <QString>

// What the main window shows of the active unit once it is open (TQVL::ActiveUnitOpened).
struct TQVL_UnitView
{
    // A long-term storage, shown with the storage icon and named without its extension.
    bool LongTermStorage = false;
    QString Caption;
};
