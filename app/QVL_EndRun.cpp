#include "app/QVL_EndRun.h"

#include "app/QVL.h"
#include "query/QVL_Query.h"
#include "query/QVL_Query_Cardpile.h"

void EndRun(TQVL& core)
{
    TQVL_Query& query = *core.Query;
    try {
        if (query.IsRunning())
            query.Stop();
        else
            query.Cardpile->Clear();
    } catch (...) {
        core.Units->CloseAdditionalFiles();
        throw;
    }
    core.Units->CloseAdditionalFiles();
}
