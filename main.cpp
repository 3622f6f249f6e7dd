// The process entry of Quorvel.
#include "ui/shell/Application.h"
#include "ui/shell/Main.h"
#include "ui/shell/StartupProbe.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QuorvelApplication::Configure(application);
    if (QuorvelApplication::IsUpdateMode(application.arguments()))
        return QuorvelApplication::RunUpdateMode();
    TStartupProbe::InstallFromEnvironment(application);
    TMainForm window;
    window.show();
    return application.exec();
}
