#include "core/QVL.h"
#include "tests/support/TestFolders.h"
#include "tests/ui/ScriptedDialogService.h"
#include "ui/Application.h"
#include "ui/Main.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

TEST(ProcessEntry, OnlyTheExactFirstArgumentSelectsTheUpdateMode)
{
    const std::pair<QStringList, bool> cases[] = {
        {{QStringLiteral("quorvel"), QStringLiteral("update")}, true},
        {{QStringLiteral("quorvel"), QStringLiteral("update"), QStringLiteral("x")}, true},
        {{QStringLiteral("quorvel"), QStringLiteral("Update")}, false},
        {{QStringLiteral("quorvel"), QStringLiteral("x"), QStringLiteral("update")}, false},
        {{QStringLiteral("quorvel")}, false},
    };
    for (const auto& [arguments, expected] : cases)
        EXPECT_EQ(QuorvelApplication::IsUpdateMode(arguments), expected) << arguments.join(' ').toStdString();
}

TEST(MainWindow, AFirstStartInstallsTheDataAndAsksForAUser)
{
    TestFolders folders;
    ScriptedDialogService dialogs;
    qputenv("SDL_AUDIODRIVER", "dummy");
    {
        TFormMain window;
        window.show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.StartedUp(); }, 10000)) << dialogs.Errors.join('|').toStdString();
        EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
        EXPECT_TRUE(QFileInfo::exists(folders.AppData() + QStringLiteral("/Data/Options.xml")));
        EXPECT_TRUE(window.Core().Options->IsOpen);
        EXPECT_TRUE(window.findChild<QLabel*>(QStringLiteral("Label_Welcome"))
                        ->text()
                        .contains(QStringLiteral("Bitte wählen Sie ein Benutzerprofil aus.")));
        window.close();
        EXPECT_FALSE(QFileInfo::exists(folders.AppData() + QStringLiteral(".setup")));
    }
    EXPECT_EQ(TQVL::Current(), nullptr) << "closing the window releases the core";
}

TEST(MainWindow, ABrokenInstallationEndsTheStartWithTheReinstallMessage)
{
    TestFolders folders;
    ScriptedDialogService dialogs;
    QDir().mkpath(folders.AppData() + QStringLiteral("/Data")); // not fresh, but Options.xml missing
    TFormMain window;
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs.Errors.isEmpty(); }, 10000));
    EXPECT_TRUE(dialogs.Errors.first().startsWith(
        QStringLiteral("Eine zum Betrieb der Anwendung benötigte Datei konnte nicht gefunden werden. Bitte "
                       "installieren Sie die Anwendung neu.\rDatei \"")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 5000));
    EXPECT_FALSE(window.StartedUp());
}
