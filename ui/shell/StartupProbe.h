#pragma once

#include <QObject>

#include <functional>

class QApplication;

// Reports once the moment the first screen of the window manager has reached
// the display: the start-up benchmark compares it with the moment it started
// the program. Off unless QUORVEL_STARTUP_PROBE is set.
class TStartupProbe : public QObject
{
public:
    // Receives the steady-clock time (CLOCK_MONOTONIC) in nanoseconds.
    using TReport = std::function<void(qint64 nanoseconds)>;

    explicit TStartupProbe(TReport report, QObject* parent = nullptr);

    // With QUORVEL_STARTUP_PROBE set, writes "visible <nanoseconds>" to
    // standard output when the first screen has been painted.
    static void InstallFromEnvironment(QApplication& application);

    static qint64 Now();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TReport report;
    bool painted = false;
};
