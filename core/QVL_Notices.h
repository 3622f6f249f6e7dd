#pragma once

#include <QString>

#include <functional>

// Where the engine tells the learner something that is not an error (a file
// read with a repaired encoding, a profile opened read-only). The main window
// puts it into its message list and status bar; without a receiver it goes to
// the log.
class TQVL_Notices
{
public:
    using Receiver = std::function<void(const QString& text)>;

    // From another thread, the receiver gets it on the application's thread.
    static void Show(const QString& text);
    // Installs `receiver` (empty restores the log) and returns the previous one.
    static Receiver Install(Receiver receiver);
};
