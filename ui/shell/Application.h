#pragma once

#include <QByteArray>
#include <QStringList>

class QApplication;
class QWidget;

// The process entry's decisions, apart from main() so they can be tested.
namespace QuorvelApplication {

// The first argument is exactly "update" (case-sensitive).
bool IsUpdateMode(const QStringList& arguments);

// Title, help file, the German locale and German texts of Qt's own dialogs,
// the real dialog service.
void Configure(QApplication& application);

// Applies a prepared update and returns the exit code. The packages must be
// signed with `publicKey`; empty means the release key (tests pass their own).
int RunUpdateMode(const QByteArray& publicKey = {});

// The help file of the program, in the program folder.
QString HelpFile();

// Ends the program as "Programm beenden" does, on SIGTERM, SIGINT or SIGHUP:
// open modal dialogs are cancelled first, then `window` is closed, which
// saves and releases everything.
void EndOnSignal(QWidget& window);

} // namespace QuorvelApplication
