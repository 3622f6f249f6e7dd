#include "content/QVL_Provider_CardArrangements.h"

TQVL_Provider_Item_CardArrangement* TQVL_Provider_CardArrangements::FindByUid(const QString& uid) const
{
    for (TQVL_Provider_Item_Custom* item : Items) {
        auto* arrangement = dynamic_cast<TQVL_Provider_Item_CardArrangement*>(item);
        if (arrangement && arrangement->IsFile && arrangement->Uid == uid)
            return arrangement;
    }
    return nullptr;
}
