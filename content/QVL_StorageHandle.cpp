#include "content/QVL_StorageHandle.h"

#include "content/QVL_LongTermStorages.h"

#include <exception>
#include <utility>

TQVL_StorageHandle::TQVL_StorageHandle(TQVL_LongTermStorages& owner, TQVL_LongTermStorage* file)
    : manager(&owner), storage(file)
{
}

TQVL_StorageHandle::TQVL_StorageHandle(TQVL_StorageHandle&& other) noexcept
    : manager(other.manager), storage(std::exchange(other.storage, nullptr))
{
}

TQVL_StorageHandle::~TQVL_StorageHandle()
{
    try {
        Close();
    } catch (const std::exception&) {
    }
}

void TQVL_StorageHandle::Close()
{
    if (TQVL_LongTermStorage* closing = std::exchange(storage, nullptr))
        manager->CloseAdditionFile(closing);
}
