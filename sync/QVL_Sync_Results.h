#pragma once

#include "core/QVL_DateTime.h"
#include "query/QVL_Result_Step.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

class TQVL_Result_User;

// The results every device shows: the origin (the results all devices
// started from) with every device's steps after it replayed in time order.
namespace TQVL_Sync_Results {

// The origin file: the results and the moment they were taken.
QByteArray OriginBytes(const TQVL_Result_User& results, TQVL_DateTime taken);
// Reads an origin file into `results`; returns the moment it was taken.
// Raises a German error naming `fileName` when it is not one.
TQVL_DateTime ReadOrigin(const QByteArray& bytes, const QString& fileName, TQVL_Result_User& results);

// Replays into `results` (the origin) the steps stored after `taken`, in time
// order; steps of the same moment by device id, then in their file's order.
// Returns how many were applied.
int Replay(TQVL_Result_User& results, TQVL_DateTime taken, std::vector<TQVL_Result_Step> steps);

} // namespace TQVL_Sync_Results
