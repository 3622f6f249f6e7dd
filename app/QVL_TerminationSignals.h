#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into a call on the event loop, so that a
// desktop logout or `kill` ends the program as "Programm beenden" does
// (results saved, locks released) instead of killing it mid-work. The signal
// handler only writes the signal number into a pipe; a notifier on the event
// loop reads it. One instance per process; the previous handlers come back
// when it is released.
class TQVL_TerminationSignals
{
public:
    explicit TQVL_TerminationSignals(std::function<void(int signal)> onSignal);
    ~TQVL_TerminationSignals();
    TQVL_TerminationSignals(const TQVL_TerminationSignals&) = delete;
    TQVL_TerminationSignals& operator=(const TQVL_TerminationSignals&) = delete;

private:
    void readPipe();

    std::function<void(int)> OnSignal;
    int pipeEnds[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier;
};
