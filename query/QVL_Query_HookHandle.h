#pragma once

class TQVL_Query;

// A window's hold on the query's hooks, from TQVL_Query::InstallHooks. When
// the handle goes (or is reset) the hooks are taken out, unless another
// window has installed its own since; a query that goes first lets its
// handles go, so a handle may outlive the query it came from.
class TQVL_Query_HookHandle
{
public:
    TQVL_Query_HookHandle() = default;
    ~TQVL_Query_HookHandle() { Reset(); }
    TQVL_Query_HookHandle(TQVL_Query_HookHandle&& other) noexcept;
    TQVL_Query_HookHandle& operator=(TQVL_Query_HookHandle&& other) noexcept;
    TQVL_Query_HookHandle(const TQVL_Query_HookHandle&) = delete;
    TQVL_Query_HookHandle& operator=(const TQVL_Query_HookHandle&) = delete;

    // Whether the query still calls the hooks this handle installed.
    bool Holds() const { return query != nullptr; }
    // Takes the hooks out when this handle still holds them.
    void Reset();

private:
    friend class TQVL_Query;
    explicit TQVL_Query_HookHandle(TQVL_Query* owner);
    // Called by the query when another handle takes the hooks or the query goes.
    void detach() { query = nullptr; }
    void moveFrom(TQVL_Query_HookHandle& other) noexcept;

    TQVL_Query* query = nullptr;
};
