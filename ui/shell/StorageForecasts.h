#pragma once

#include "core/QVL_DateTime.h"

#include <QString>

#include <vector>

class TQVL;

// A long-term storage of the storages folder with its due cards per day.
struct TStorageForecast
{
    // The file name without folder and extension.
    QString Name;
    QString Path;
    // Entry 0 today, as TQVL_Statistics_Forecast counts; all 0 for a storage never queried.
    std::vector<int> Due;
    // The day the storage is back when it is paused at `now`; empty otherwise.
    TQVL_DateTime PausedUntil;
};

// Every storage in the learner's storages folder, in the folder's order, with
// the cards due on each of `days` days from `now`; empty without a learner.
std::vector<TStorageForecast> StorageForecasts(TQVL& core, TQVL_DateTime now, int days);
