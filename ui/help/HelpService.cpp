#include "ui/help/HelpService.h"

#include "core/QVL_Error.h"
#include "core/QVL_System.h"
#include "ui/help/Form_Help.h"
#include "ui/shell/Guarded.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QStandardPaths>
#include <QTranslator>

namespace {

QPointer<TFormHelp> helpWindow;

// The help widgets of Qt (search field, result list) speak German too.
void installHelpTranslation()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QLocale(QLocale::German), QStringLiteral("qt_help"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

TFormHelp& openWindow()
{
    if (helpWindow)
        return *helpWindow;
    const QString helpFile = THelpService::HelpFile();
    if (!QFileInfo::exists(helpFile))
        throw TQVL_Error(
            QStringLiteral("Die Hilfedatei \"%1\" wurde nicht gefunden.").arg(QDir::toNativeSeparators(helpFile)));
    installHelpTranslation();
    helpWindow = new TFormHelp(THelpService::WritableCollection(helpFile));
    helpWindow->setAttribute(Qt::WA_DeleteOnClose);
    // An open help window does not keep the program running once its main window is closed.
    helpWindow->setAttribute(Qt::WA_QuitOnClose, false);
    return *helpWindow;
}

void present(TFormHelp& window)
{
    if (window.isMinimized())
        window.showNormal();
    window.show();
    window.raise();
    window.activateWindow();
}

// Copies `source` over `target` unless the target is at least as new.
void refreshCopy(const QString& source, const QString& target)
{
    const QFileInfo from(source);
    const QFileInfo to(target);
    if (to.exists() && to.lastModified() >= from.lastModified())
        return;
    QFile::remove(target);
    if (!QFile::copy(source, target))
        throw TQVL_Error(QStringLiteral("Die Hilfedatei \"%1\" konnte nicht nach \"%2\" kopiert werden.")
                             .arg(QDir::toNativeSeparators(source), QDir::toNativeSeparators(target)));
    // The copy must stay writable even when the installed file is not.
    QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner | QFile::ReadOwner);
}

} // namespace

void THelpService::ShowHelpPage(const QString& pageName)
{
    Guarded([&] {
        TFormHelp& window = openWindow();
        window.ShowPage(pageName);
        present(window);
    });
}

void THelpService::ShowHelpContents()
{
    Guarded([] {
        TFormHelp& window = openWindow();
        window.ShowContents();
        present(window);
    });
}

void THelpService::ShowHelpSearch()
{
    Guarded([] {
        TFormHelp& window = openWindow();
        if (window.CurrentUrl().isEmpty())
            window.ShowContents();
        present(window);
        window.ShowSearch();
    });
}

TFormHelp* THelpService::Window()
{
    return helpWindow;
}

void THelpService::CloseHelpWindow()
{
    delete helpWindow.data();
}

QString THelpService::HelpFile()
{
    const QString configured = qApp ? qApp->property("HelpFile").toString() : QString();
    if (!configured.isEmpty())
        return configured;
    return TQVL_System::ResourceFolderOf(QCoreApplication::applicationDirPath()) + QStringLiteral("/help/Quorvel8.qhc");
}

QString THelpService::WritableCollection(const QString& helpFile)
{
    const QFileInfo collection(helpFile);
    const QFileInfo folder(collection.absolutePath());
    if (folder.isWritable() && collection.isWritable())
        return collection.absoluteFilePath();
    return CachedCollection(helpFile);
}

QString THelpService::CachedCollection(const QString& helpFile)
{
    const QFileInfo collection(helpFile);
    const QString cacheFolder =
        QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/help");
    if (!QDir().mkpath(cacheFolder))
        throw TQVL_Error(QStringLiteral("Der Ordner \"%1\" konnte nicht angelegt werden.")
                             .arg(QDir::toNativeSeparators(cacheFolder)));
    // The collection refers to the compiled help files by paths relative to
    // itself, so they travel together.
    const QDir installed(collection.absolutePath());
    for (const QString& name : installed.entryList({QStringLiteral("*.qch")}, QDir::Files))
        refreshCopy(installed.filePath(name), cacheFolder + QLatin1Char('/') + name);
    const QString copy = cacheFolder + QLatin1Char('/') + collection.fileName();
    refreshCopy(collection.absoluteFilePath(), copy);
    return copy;
}
