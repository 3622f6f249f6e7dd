#include "app/QVL.h"
#include "tests/support/LocalHttpServer.h"
#include "tests/support/ScriptedDialogService.h"
#include "tests/support/TestFolders.h"
#include "ui/exchange/Form_AboutQuorvel.h"
#include "ui/exchange/Form_Internet.h"
#include "ui/exchange/Form_Updates.h"
#include "ui/shell/FormDataModule.h"
#include "ui/shell/Frame_Messages.h"
#include "ui/shell/Main.h"
#include "ui/shell/WindowManager.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

// The started program with the learner logged in, the update service and the
// community page served from 127.0.0.1.
class InternetCommands : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("SDL_AUDIODRIVER", "dummy");
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu --single-process");
        server.Files[QStringLiteral("/versioninfo")] =
            "<root><version>1</version><updates><update><version>8.1.0.0</version><date>01.05.2027</date>"
            "<fullupdate>false</fullupdate><text>Neue Abfrageart</text><download/></update></updates></root>";
        server.Files[QStringLiteral("/community")] = "<html><body>Willkommen</body></html>";
        window = std::make_unique<TMainForm>();
        window->show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->StartedUp(); }, 10000));
        WriteFile(folders.AppData() + QStringLiteral("/Data/Update.xml"),
                  "<root><version>1</version><link_getversioninfo>" + server.Url(QStringLiteral("/versioninfo")).toUtf8() +
                      "</link_getversioninfo><updatenextstart>false</updatenextstart></root>");
        window->Core().Options->community_url = server.Url(QStringLiteral("/community"));
    }
    void TearDown() override
    {
        TFormDialogMeta::InstallModalRunner({});
        if (window)
            window->close();
        window.reset();
    }

    TestFolders folders;
    ScriptedDialogService dialogs;
    LocalHttpServer server;
    std::unique_ptr<TMainForm> window;
};

TEST_F(InternetCommands, TheSearchAfterLoginAnnouncesUpdatesThatTheDialogLists)
{
    window->Core().Options->updates_autosearch = true;
    window->Core().Users->GetActiveUser().Open(folders.Documents() + QStringLiteral("/Benutzer/Lernender.qxs"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->MessageFrame()->Titles().contains(QStringLiteral("Updates gefunden")); },
                                10000))
        << window->Label_Status->text().toStdString();
    EXPECT_EQ(server.Requests, QStringList{QStringLiteral("/versioninfo?version=") + window->Core().System->ProgramVersion});

    QStringList listed;
    TFormDialogMeta::InstallModalRunner([&](QDialog& shown) {
        auto& dialog = static_cast<TFormUpdates&>(shown);
        dialog.open();
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.VST1->topLevelItemCount() > 0; }, 10000));
        for (int i = 0; i < dialog.VST1->topLevelItemCount(); ++i)
            listed << dialog.VST1->topLevelItem(i)->text(0);
        QTest::mouseClick(dialog.dxButton2, Qt::LeftButton);
        return dialog.result();
    });
    window->MessageFrame()->ClickEntry(window->MessageFrame()->Titles().indexOf(QStringLiteral("Updates gefunden")));
    EXPECT_EQ(listed, QStringList{QStringLiteral("8.1.0.0")});
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join(QLatin1Char('|')).toStdString();
}

TEST_F(InternetCommands, CommunityAndAboutAnswerWithTheirScreens)
{
    window->Core().Users->GetActiveUser().Open(folders.Documents() + QStringLiteral("/Benutzer/Lernender.qxs"));
    window->DataModule().Action_Community->trigger();
    auto* screen = qobject_cast<TFormInternet*>(window->WindowManager().CurrentWindow());
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.Requests.contains(QStringLiteral("/community")); }, 20000));
    QTest::mouseClick(screen->Button_Back, Qt::LeftButton);
    EXPECT_EQ(window->WindowManager().CurrentWindow()->objectName(), QStringLiteral("FormMainMenu"));

    QString version;
    TFormDialogMeta::InstallModalRunner([&](QDialog& shown) {
        auto& dialog = static_cast<TFormAboutQuorvel&>(shown);
        dialog.open();
        version = dialog.Label_Version->text();
        QTest::mouseClick(dialog.dxButton3, Qt::LeftButton);
        return dialog.result();
    });
    window->DataModule().Action_AboutQuorvel->trigger();
    EXPECT_EQ(version, window->Core().System->ProgramVersion + QLatin1Char(' '));
    EXPECT_TRUE(dialogs.Informations.isEmpty()) << "no command says it is not there yet";
}

} // namespace
