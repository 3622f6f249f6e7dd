#pragma once

#include <QString>

// Where the engine shows an error to the learner when there is no caller to
// raise it to (sound system start and stop, a file object released while open).
// The program installs a message box; tests install a recorder.
class TQVL_ErrorDisplay
{
public:
    virtual ~TQVL_ErrorDisplay() = default;
    virtual void ShowError(const QString& text) = 0;

    // The installed display; without one, errors go to the log.
    static TQVL_ErrorDisplay& Current();
    // Installs `display` (not owned; nullptr restores the log) and returns the previous one.
    static TQVL_ErrorDisplay* Install(TQVL_ErrorDisplay* display);
};
