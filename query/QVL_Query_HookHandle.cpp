#include "query/QVL_Query_HookHandle.h"

#include "query/QVL_Query.h"

TQVL_Query_HookHandle::TQVL_Query_HookHandle(TQVL_Query* owner) : query(owner)
{
    query->hookHandle = this;
}

TQVL_Query_HookHandle::TQVL_Query_HookHandle(TQVL_Query_HookHandle&& other) noexcept
{
    moveFrom(other);
}

TQVL_Query_HookHandle& TQVL_Query_HookHandle::operator=(TQVL_Query_HookHandle&& other) noexcept
{
    if (this != &other) {
        Reset();
        moveFrom(other);
    }
    return *this;
}

void TQVL_Query_HookHandle::moveFrom(TQVL_Query_HookHandle& other) noexcept
{
    query = other.query;
    other.query = nullptr;
    if (query)
        query->hookHandle = this;
}

void TQVL_Query_HookHandle::Reset()
{
    if (!query)
        return;
    TQVL_Query& owner = *query;
    query = nullptr;
    owner.hookHandle = nullptr;
    static_cast<TQVL_Query_Hooks&>(owner) = TQVL_Query_Hooks();
}
