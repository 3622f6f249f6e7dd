#pragma once

#include <functional>
#include <memory>

// A one-shot timer as the query steps use it: the program runs it on a QTimer,
// tests on a timer they fire by hand.
class TQVL_Query_Timer
{
public:
    virtual ~TQVL_Query_Timer() = default;

    // (Re)starts the timer: `fire` runs once after `ms` milliseconds unless the
    // timer is cancelled or started anew first. An implementation lets go of
    // `fire` before running it and touches nothing of its own afterwards, so the
    // action may cancel, restart or even destroy the timer.
    virtual void Start(int ms, std::function<void()> fire) = 0;
    // Drops a pending action; nothing when none is pending.
    virtual void Cancel() = 0;
};

// Makes the timers of a query; an empty factory means QTimer-based ones.
using TQVL_Query_TimerFactory = std::function<std::unique_ptr<TQVL_Query_Timer>()>;
