#include "query/QVL_Query_Timer_Qt.h"

#include "core/QVL_Error.h"
#include "core/QVL_ErrorDisplay.h"

TQVL_Query_Timer_Qt::TQVL_Query_Timer_Qt()
{
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [this] {
        std::function<void()> fire = std::move(action);
        action = nullptr;
        if (!fire)
            return;
        // From here on `this` may be gone: the action can end the query.
        try {
            fire();
        } catch (const TQVL_Error& error) {
            TQVL_ErrorDisplay::Current().ShowError(error.Message());
        } catch (const std::exception& error) {
            TQVL_ErrorDisplay::Current().ShowError(QString::fromUtf8(error.what()));
        }
    });
}

TQVL_Query_Timer_Qt::~TQVL_Query_Timer_Qt() = default;

void TQVL_Query_Timer_Qt::Start(int ms, std::function<void()> fire)
{
    action = std::move(fire);
    timer.start(ms < 0 ? 0 : ms);
}

void TQVL_Query_Timer_Qt::Cancel()
{
    timer.stop();
    action = nullptr;
}
