#pragma once

#include <QString>

#include <functional>

class TQVL_Options;

// The id of this machine in the review logs: 32 random hexadecimal digits,
// made the first time a log is written and kept in the program settings, so
// that every device writes only its own log file.
namespace TQVL_DeviceId {

// A random 32-bit number; the system's random source by default.
using RandomSource = std::function<quint32()>;

// The id the settings hold; when they hold none (or not a valid one), a new
// one is made and the settings saved with it. When they cannot be written
// (read-only, or another program instance edits them), the new id is still
// returned and kept in memory for this run, and the next save stores it.
QString Ensure(TQVL_Options& options, const RandomSource& random = {});

} // namespace TQVL_DeviceId
