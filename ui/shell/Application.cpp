#include "ui/shell/Application.h"

#include "app/QVL.h"
#include "core/QVL_Error.h"
#include "core/QVL_System.h"
#include "ui/shell/DialogService.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
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

    auto* translator = new QTranslator(&application);
    if (translator->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    // Installing nothing restores the real dialogs and routes engine errors to them.
    TDialogService::Install(nullptr);
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
