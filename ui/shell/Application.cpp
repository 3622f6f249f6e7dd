#include "ui/shell/Application.h"

#include "app/QVL.h"
#include "core/QVL_Error.h"
#include "ui/shell/DialogService.h"

#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPointer>
#include <QTimer>
#include <QTranslator>

namespace QuorvelApplication {

bool IsUpdateMode(const QStringList& arguments)
{
    return arguments.size() > 1 && arguments.at(1) == QLatin1String("update");
}

QString HelpFile()
{
    return QApplication::applicationDirPath() + QStringLiteral("/help/Quorvel8.qhc");
}

void Configure(QApplication& application)
{
    application.setApplicationName(QStringLiteral("Quorvel"));
    application.setApplicationDisplayName(QStringLiteral("Vokabeltrainer Quorvel"));
    application.setApplicationVersion(QStringLiteral(QUORVEL_VERSION_TEXT));
    application.setProperty("HelpFile", HelpFile());

    auto* translator = new QTranslator(&application);
    if (translator->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    // Installing nothing restores the real dialogs and routes engine errors to them.
    TDialogService::Install(nullptr);
}

namespace {

// Closes the window once no modal dialog runs any more: closing it from inside
// a dialog's own loop would release the core under the dialog's caller.
void closeWhenNoDialogRuns(const QPointer<QWidget>& window, int attempts)
{
    if (!window)
        return;
    if (QWidget* modal = QApplication::activeModalWidget(); modal && attempts > 0) {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        QTimer::singleShot(0, window, [window, attempts] { closeWhenNoDialogRuns(window, attempts - 1); });
        return;
    }
    if (window->isVisible())
        window->close();
    else
        QCoreApplication::quit();
}

} // namespace

void EndOnSignal(QWidget& window)
{
    const QPointer<QWidget> target(&window);
    QTimer::singleShot(0, &window, [target] { closeWhenNoDialogRuns(target, 50); });
}

int RunUpdateMode()
{
    TQVL core;
    // A prepared update leaves its instructions in the update folder; the
    // engine that carries them out arrives with the update search.
    const QString instructions = core.System->AppDataFolder + QStringLiteral("/Updates/Updateinstructions.xml");
    if (QFileInfo::exists(instructions)) {
        TDialogService::Current().ShowError(
            QStringLiteral("Das Einspielen von Updates ist in dieser Version noch nicht möglich."));
        return 1;
    }
    return 0;
}

} // namespace QuorvelApplication
