#pragma once

#include "exchange/QVL_Import_Source.h"

#include <limits>

// Calls a reader's progress hook as the reading moves on, however the file is
// laid out: a file of a few huge lines reports as often as one of many short
// ones, so the bar moves and "Abbruch" takes effect within moments.
class TQVL_Import_Pace
{
public:
    // Characters (or bytes) between two reports: a few thousand reports for
    // the largest file the importers take, each after well under a
    // millisecond of reading, so the hook costs nothing against the reading.
    static constexpr qint64 Step = 64 * 1024;

    // `progress` must outlive the pace; an empty hook is never called.
    TQVL_Import_Pace(const TQVL_Import_Progress& progress, qint64 total);

    // The reading has reached `done`; reports it when it moved on by Step
    // since the last report. Raises TQVL_Import_Cancelled when the hook says so.
    void At(qint64 done)
    {
        if (done >= next)
            report(done);
    }
    // Reports the end.
    void Finish();

private:
    void report(qint64 done);

    const TQVL_Import_Progress& progress;
    qint64 total;
    qint64 next = std::numeric_limits<qint64>::max();
};
