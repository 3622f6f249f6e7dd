#pragma once

#include "content/QVL_LanguagesNames.h"
#include "content/QVL_LongTermStorage.h"
#include "content/QVL_Manager.h"
#include "content/QVL_Provider_LongTermStorages.h"

// The long-term storage files. Storages are handed out as additional files;
// the manager's own active file is not used.
class TQVL_LongTermStorages : public TQVL_Manager
{
public:
    TQVL_LongTermStorages();

    // The first storage directly below the root of the current listing for this pair, or nullptr.
    TQVL_Provider_Item_LongTermStorage* FindStorage(const QString& langCodeHome, const QString& langCodeForeign) const;

    // Opens the storage of the pair from `storagesFolder` for reading, creating
    // it first (named after the foreign language in `names`) when there is
    // none. The result is an additional file of this manager: close it with
    // CloseAdditionFile. An existing file of another pair is never overwritten.
    TQVL_LongTermStorage* OpenOrCreateStorage(const QString& storagesFolder, const TQVL_LanguagesNames& names,
                                              const QString& langCodeHome, const QString& langCodeForeign);

    TQVL_Provider_LongTermStorages& Storages() const
    {
        return static_cast<TQVL_Provider_LongTermStorages&>(Provider());
    }

protected:
    std::unique_ptr<TQVL_FileObject> CreateFileObject() override { return std::make_unique<TQVL_LongTermStorage>(); }
};
