#include "ui/shell/Application.h"

#include "app/QVL.h"
#include "core/QVL_Error.h"
#include "core/QVL_System.h"
#include "ui/shell/DialogService.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/InterfaceLocale.h"
#include "ui/shell/Style.h"
#include "update/QVL_Update.h"

#include <QApplication>
#include <QDialog>
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
    return TQVL_System::ResourceFolderOf(QApplication::applicationDirPath()) + QStringLiteral("/help/Quorvel8.qhc");
}

void Configure(QApplication& application)
{
    application.setApplicationName(QStringLiteral("Quorvel"));
    application.setApplicationDisplayName(QStringLiteral("Vokabeltrainer Quorvel"));
    application.setApplicationVersion(QStringLiteral(QUORVEL_VERSION_TEXT));
    application.setProperty("HelpFile", HelpFile());
    QApplication::setStyle(new TQuorvelStyle);
    QLocale::setDefault(InterfaceLocale());

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
        // A dialog with work on a worker (an import) closes once the work has stopped.
        QTimer::singleShot(20, window, [window, attempts] { closeWhenNoDialogRuns(window, attempts - 1); });
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

int RunUpdateMode(const QByteArray& publicKey)
{
    // Everything is released before the program ends, also after a failure.
    return Guarded([&publicKey] {
        TQVL core;
        TQVL_Update engine(core.System->ProgramVersion, core.System->AppDataFolder);
        engine.ProgramFolder = core.System->ProgramFolder;
        engine.DocumentsFolder = core.System->DocumentsFolder;
        engine.DataFolder = core.System->AppDataFolder;
        if (!publicKey.isEmpty())
            engine.PublicKey = publicKey;
        engine.OnInformation = [](const QString& text) { TDialogService::Current().ShowInformation(text); };
        engine.ApplyAtStart();
    }) ? 0 : 1;
}

} // namespace QuorvelApplication
