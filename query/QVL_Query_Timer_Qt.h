#pragma once

#include "query/QVL_Query_Timer.h"

#include <QTimer>

// The program's query timer: a single-shot QTimer on the user-interface thread.
// An error raised by the action is shown on the error display, because it must
// not leave Qt's event handling.
class TQVL_Query_Timer_Qt : public TQVL_Query_Timer
{
public:
    TQVL_Query_Timer_Qt();
    ~TQVL_Query_Timer_Qt() override;

    void Start(int ms, std::function<void()> fire) override;
    void Cancel() override;

private:
    QTimer timer;
    std::function<void()> action;
};
