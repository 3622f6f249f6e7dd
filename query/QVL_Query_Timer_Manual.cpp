#include "query/QVL_Query_Timer_Manual.h"

#include <QtGlobal>

#include <algorithm>
#include <vector>

namespace {

class ManualTimer;

} // namespace

struct TQVL_Query_Timer_Manual::Registry
{
    std::vector<ManualTimer*> timers;
    int starts = 0;
    quint64 order = 0;
};

namespace {

class ManualTimer : public TQVL_Query_Timer
{
public:
    explicit ManualTimer(std::shared_ptr<TQVL_Query_Timer_Manual::Registry> shared) : registry(std::move(shared))
    {
        this->registry->timers.push_back(this);
    }
    ~ManualTimer() override { std::erase(registry->timers, this); }

    void Start(int ms, std::function<void()> fire) override
    {
        action = std::move(fire);
        interval = ms;
        startedAs = ++registry->order;
        ++registry->starts;
    }
    void Cancel() override { action = nullptr; }

    bool Pending() const { return bool(action); }
    int Interval() const { return interval; }
    quint64 StartedAs() const { return startedAs; }

    void Fire()
    {
        std::function<void()> fire = std::move(action);
        action = nullptr;
        // `this` may be gone once the action ran.
        fire();
    }

private:
    std::shared_ptr<TQVL_Query_Timer_Manual::Registry> registry;
    std::function<void()> action;
    int interval = 0;
    quint64 startedAs = 0;
};

ManualTimer* earliestPending(const TQVL_Query_Timer_Manual::Registry& registry)
{
    ManualTimer* earliest = nullptr;
    for (ManualTimer* timer : registry.timers)
        if (timer->Pending() && (!earliest || timer->StartedAs() < earliest->StartedAs()))
            earliest = timer;
    return earliest;
}

} // namespace

TQVL_Query_Timer_Manual::TQVL_Query_Timer_Manual() : registry(std::make_shared<Registry>()) {}

TQVL_Query_Timer_Manual::~TQVL_Query_Timer_Manual() = default;

TQVL_Query_TimerFactory TQVL_Query_Timer_Manual::Factory() const
{
    return [registry = registry]() -> std::unique_ptr<TQVL_Query_Timer> {
        return std::make_unique<ManualTimer>(registry);
    };
}

int TQVL_Query_Timer_Manual::PendingCount() const
{
    return int(std::count_if(registry->timers.begin(), registry->timers.end(),
                             [](const ManualTimer* timer) { return timer->Pending(); }));
}

int TQVL_Query_Timer_Manual::PendingInterval() const
{
    const ManualTimer* timer = earliestPending(*registry);
    return timer ? timer->Interval() : -1;
}

bool TQVL_Query_Timer_Manual::Fire()
{
    ManualTimer* timer = earliestPending(*registry);
    if (!timer)
        return false;
    timer->Fire();
    return true;
}

int TQVL_Query_Timer_Manual::StartCount() const
{
    return registry->starts;
}
