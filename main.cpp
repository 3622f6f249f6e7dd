// The process entry of Quorvel.
#include "app/QVL_TerminationSignals.h"
#include "app/QVL_CommandLine.h"
#include "app/QVL_DueCommand.h"
#include "ui/shell/Application.h"
#include "ui/shell/Icons.h"
#include "ui/shell/Main.h"
#include "ui/shell/StartupProbe.h"
#include "ui/shell/StartupWarmUp.h"

#include <QApplication>
#include <QCoreApplication>

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const TQVL_CommandLine command = TQVL_CommandLine::Parse(arguments);
    // The report runs from login scripts, where there may be no display at all.
    if (command.Mode == TQVL_CommandLine::TMode::Due) {
        QCoreApplication application(argc, argv);
        return TQVL_DueCommand::Run(command.Notify);
    }

    TStartupWarmUp warmUp;
    QApplication application(argc, argv);
    QuorvelApplication::Configure(application);
    if (command.Mode == TQVL_CommandLine::TMode::Update) {
        warmUp.Finish();
        return QuorvelApplication::RunUpdateMode();
    }
    Icons::Prepare(TMainForm::FirstScreenIcons());
    warmUp.Finish();
    TStartupProbe::InstallFromEnvironment(application);
    TMainForm window;
    // A logout, `kill` or Ctrl+C ends the program like "Programm beenden".
    const TQVL_TerminationSignals termination([&window](int) { QuorvelApplication::EndOnSignal(window); });
    window.OpenAfterLogin(command.LessonFile);
    window.show();
    const int result = application.exec();
    // The icons drawn ahead are dropped while the application still exists.
    Icons::ForgetPrepared();
    return result;
}
