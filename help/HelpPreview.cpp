// Opens the help window on its own, to look at the pages without starting the
// program and logging in:  quorvel_help_preview [page] [search]
// With "search" as second argument the "Suchen" tab is in front.
#include "ui/Application.h"
#include "ui/Form_Help.h"
#include "ui/HelpService.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QuorvelApplication::Configure(app);
    const QString page = argc > 1 ? QString::fromLocal8Bit(argv[1]) : THelpService::ContentsPage();
    THelpService::ShowHelpPage(page);
    if (argc > 2 && QString::fromLocal8Bit(argv[2]) == QLatin1String("search"))
        THelpService::ShowHelpSearch();
    TFormHelp* window = THelpService::Window();
    if (!window)
        return 1;
    QObject::connect(window, &QObject::destroyed, &app, &QCoreApplication::quit);
    return app.exec();
}
