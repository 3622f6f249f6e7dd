#include "ui/shell/StorageForecasts.h"

#include "app/QVL.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "statistics/QVL_Statistics_Forecast.h"
#include "users/QVL_User.h"

#include <QFileInfo>

#include <algorithm>

std::vector<TStorageForecast> StorageForecasts(TQVL& core, TQVL_DateTime now, int days)
{
    std::vector<TStorageForecast> list;
    if (!core.Users->HasActiveUser())
        return list;
    const TQVL_Result_User& results = core.Users->GetActiveUser().Results();
    TQVL_Provider_Custom& provider = core.LongTermStorages->Provider();
    // Shown with every main menu: the folder is read again only when a storage came, went or was saved.
    provider.Rescan(core.StoragesFolder());
    const TQVL_Provider_Item_Custom& root = *provider.Root;
    for (int i = 0; i < root.ChildCount(); ++i) {
        const auto* entry = dynamic_cast<const TQVL_Provider_Item_Unit*>(root.Child(i));
        if (!entry || !entry->IsFile)
            continue;
        TStorageForecast storage{QFileInfo(entry->Name).completeBaseName(), entry->Path,
                                 std::vector<int>(std::size_t(std::max(days, 0)), 0), TQVL_DateTime()};
        if (const TQVL_Result_Unit* unit = results.FindUnit(entry->Uid)) {
            storage.Due = TQVL_Statistics_Forecast::Compute(*unit, now, days);
            if (unit->IsPaused(now))
                storage.PausedUntil = unit->pauseduntil;
        }
        list.push_back(std::move(storage));
    }
    return list;
}
