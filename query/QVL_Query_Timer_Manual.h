#pragma once

#include "query/QVL_Query_Timer.h"

#include <memory>

// Query timers that fire only when told to, for tests and benchmarks: install
// Factory() as the query's timer factory and call Fire() where the time would
// have run out. Timers made by the factory may outlive this object.
class TQVL_Query_Timer_Manual
{
public:
    TQVL_Query_Timer_Manual();
    ~TQVL_Query_Timer_Manual();
    TQVL_Query_Timer_Manual(const TQVL_Query_Timer_Manual&) = delete;
    TQVL_Query_Timer_Manual& operator=(const TQVL_Query_Timer_Manual&) = delete;

    TQVL_Query_TimerFactory Factory() const;

    // How many of the timers have an action pending.
    int PendingCount() const;
    // The interval the earliest started pending timer was given; -1 when none is pending.
    int PendingInterval() const;
    // Runs the action of the earliest started pending timer; false when none is pending.
    bool Fire();
    // How often any of the timers was started.
    int StartCount() const;

    struct Registry;

private:
    std::shared_ptr<Registry> registry;
};
