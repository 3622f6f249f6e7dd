// The process entry of Quorvel.
#include "app/QVL_TerminationSignals.h"
#include "ui/shell/Application.h"
#include "ui/shell/Main.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QuorvelApplication::Configure(application);
    if (QuorvelApplication::IsUpdateMode(application.arguments()))
        return QuorvelApplication::RunUpdateMode();
    TMainForm window;
    // A logout, `kill` or Ctrl+C ends the program like "Programm beenden".
    const TQVL_TerminationSignals termination([&window](int) { QuorvelApplication::EndOnSignal(window); });
    window.show();
    return application.exec();
}
