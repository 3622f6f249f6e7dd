#include "exchange/QVL_Import_Pace.h"

TQVL_Import_Pace::TQVL_Import_Pace(const TQVL_Import_Progress& hook, qint64 size) : progress(hook), total(size)
{
    if (progress)
        next = Step;
}

void TQVL_Import_Pace::report(qint64 done)
{
    next = done + Step;
    if (!progress(done, total))
        throw TQVL_Import_Cancelled();
}

void TQVL_Import_Pace::Finish()
{
    if (progress)
        report(total);
}
