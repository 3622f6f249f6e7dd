#include "core/QVL_System.h"
#include "tests/support/LocalHttpServer.h"
#include "tests/support/ScriptedDialogService.h"
#include "tests/support/TestUpdatePackages.h"
#include "tests/update/UpdateFixture.h"
#include "ui/exchange/Form_AboutQuorvel.h"
#include "ui/exchange/Form_Updates.h"
#include "ui/shell/Application.h"
#include "tests/support/TestFolders.h"
#include "update/QVL_Update.h"

#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>

using namespace TestUpdatePackages;

namespace {

QByteArray updateEntry(const QString& version, const QString& text, const QString& download)
{
    return "    <update><version>" + version.toUtf8() + "</version><date>01.05.2027</date><fullupdate>false"
           "</fullupdate><text>" + text.toUtf8() + "</text><download>" + download.toUtf8() + "</download></update>\r\n";
}

QByteArray updateList(const QByteArray& entries)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<root>\r\n  <version>1</version>\r\n  <updates>\r\n" +
           entries + "  </updates>\r\n</root>\r\n";
}

// The update dialog over a local version service.
class UpdatesDialog : public ::testing::Test
{
protected:
    void SetUp() override { folders.WriteSettings(server.Url(QStringLiteral("/versioninfo")), false); }
    void TearDown() override { TFormDialogMeta::InstallModalRunner({}); }

    // Shows the dialog, waits for its search, then runs `act`; returns its result.
    int run(const std::function<void(TFormUpdates&)>& act)
    {
        TFormDialogMeta::InstallModalRunner([&](QDialog& shown) {
            auto& dialog = static_cast<TFormUpdates&>(shown);
            dialog.open();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
            // The search starts a moment after the dialog shows.
            EXPECT_EQ(dialog.ProgressBar1->value(), 0);
            EXPECT_TRUE(QTest::qWaitFor([&] { return !server.Requests.isEmpty() || !dialogs.Errors.isEmpty(); }, 5000));
            EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.Busy(); }, 10000));
            act(dialog);
            return dialog.result();
        });
        TFormUpdates dialog(QStringLiteral("8.0.0.1"), folders.AppData());
        dialog.Engine()->PublicKey = key.Public;
        dialog.Engine()->TimeoutMs = 2000;
        const int result = dialog.ShowModal();
        restartRequested = dialog.RestartRequested();
        return result;
    }

    ScriptedDialogService dialogs;
    LocalHttpServer server;
    UpdateFolders folders;
    KeyPair key;
    bool restartRequested = false;
};

TEST_F(UpdatesDialog, ListsTheUpdatesFoundWithRowsAsHighAsTheirDescriptions)
{
    server.Files[QStringLiteral("/versioninfo")] =
        updateList(updateEntry(QStringLiteral("8.0.2.0"), QStringLiteral("Kleine Fehler behoben"), QString()) +
                   updateEntry(QStringLiteral("8.1.0.0"),
                               QStringLiteral("Neue Abfrageart\nSchnellere Suche\nMehr Beispiel-Lektionen"), QString()) +
                   updateEntry(QStringLiteral("8.2.0.0"), QStringLiteral("Eine lange Beschreibung ohne Zeilenumbruch, "
                                                                         "die breiter ist als die Spalte und deshalb "
                                                                         "umbricht, statt abgeschnitten zu werden"),
                               QString()));
    run([&](TFormUpdates& dialog) {
        ASSERT_EQ(dialog.VST1->topLevelItemCount(), 3);
        EXPECT_EQ(dialog.VST1->topLevelItem(0)->text(0), QStringLiteral("8.0.2.0"));
        EXPECT_EQ(dialog.VST1->topLevelItem(1)->text(1),
                  QStringLiteral("Neue Abfrageart\nSchnellere Suche\nMehr Beispiel-Lektionen"));
        EXPECT_EQ(dialog.VST1->topLevelItem(1)->text(2), QStringLiteral("01.05.2027"));
        const int line = QFontMetrics(dialog.VST1->font()).lineSpacing();
        EXPECT_EQ(dialog.VST1->visualItemRect(dialog.VST1->topLevelItem(1)).height(), 3 * line + 4);
        EXPECT_GE(dialog.VST1->visualItemRect(dialog.VST1->topLevelItem(0)).height(), 24);
        EXPECT_GE(dialog.VST1->visualItemRect(dialog.VST1->topLevelItem(2)).height(), 2 * line + 4)
            << "a long description wraps";
        EXPECT_TRUE(dialog.dxButton3->isEnabled());
        EXPECT_EQ(dialog.ProgressBar1->value(), 100);
        QTest::mouseClick(dialog.dxButton2, Qt::LeftButton);
    });
    EXPECT_TRUE(dialogs.Errors.isEmpty());
}

TEST_F(UpdatesDialog, NothingFoundOrNoServerLeavesInstallDisabled)
{
    for (const bool reachable : {true, false}) {
        SCOPED_TRACE(reachable ? "empty list" : "no server");
        dialogs.Errors.clear();
        server.Requests.clear();
        server.Files[QStringLiteral("/versioninfo")] = updateList("");
        if (!reachable)
            folders.WriteSettings(QStringLiteral("http://127.0.0.1:1/versioninfo"), false);
        const int result = run([&](TFormUpdates& dialog) {
            EXPECT_EQ(dialog.VST1->topLevelItemCount(), 0);
            EXPECT_FALSE(dialog.dxButton3->isEnabled());
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        EXPECT_EQ(result, QDialog::Rejected);
        const QStringList expected = reachable ? QStringList()
                                               : QStringList{QStringLiteral("Fehler beim Verbinden zum Server!\rDer "
                                                                            "Server hat die Verbindung abgelehnt.")};
        EXPECT_EQ(dialogs.Errors, expected);
    }
}

TEST_F(UpdatesDialog, InstallFetchesTheSignedPackageAndLeadsToTheRestart)
{
    const QByteArray package =
        TarXz({{QStringLiteral("Updateinstructions.xml"),
                Instructions({{QStringLiteral("REPLACECOPY"), QStringLiteral("neu.txt"),
                               QStringLiteral("%APPDATA%/neu.txt"), Md5("neu")}})},
               {QStringLiteral("neu.txt"), "neu"}});
    server.Files[QStringLiteral("/p.tar.xz")] = package;
    server.Files[QStringLiteral("/p.tar.xz.sig")] = key.Sign(package);
    server.Files[QStringLiteral("/versioninfo")] =
        updateList(updateEntry(QStringLiteral("8.1.0.0"), QStringLiteral("x"), server.Url(QStringLiteral("/p.tar.xz"))));
    const int result = run([&](TFormUpdates& dialog) {
        QTest::mouseClick(dialog.dxButton3, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.PageControl1->currentIndex() == 2; }, 10000));
        EXPECT_EQ(dialog.Label_RestartHeading->text(), QStringLiteral("Quorvel mit Administrationsrechten neu starten"));
        EXPECT_TRUE(dialog.Engine()->UpdateNextStart);
        EXPECT_FALSE(dialog.dxButton3->isEnabled());
        QTest::mouseClick(dialog.Button_Restart, Qt::LeftButton);
        EXPECT_EQ(dialog.Engine(), nullptr) << "the engine is released first";
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(restartRequested);
    EXPECT_EQ(ReadFile(folders.Updates() + QStringLiteral("/1.tar.xz")), package);
    EXPECT_TRUE(dialogs.Errors.isEmpty());
}

TEST_F(UpdatesDialog, AbbruchEndsTheDownloadWaitsForItAndLeavesNoFileBehind)
{
    const OwnTempFolder temp;
    // A package that trickles in without end.
    server.Streams[QStringLiteral("/p.tar.xz")] = {QByteArray(512, 'x'), 100};
    server.Files[QStringLiteral("/versioninfo")] = updateList(
        updateEntry(QStringLiteral("8.1.0.0"), QStringLiteral("x"), server.Url(QStringLiteral("/p.tar.xz"))));
    run([&](TFormUpdates& dialog) {
        QTest::mouseClick(dialog.dxButton3, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return server.Streamed > 0; }, 10000));
        EXPECT_FALSE(temp.Entries().isEmpty()) << "the list and the package so far";
        QTest::mouseClick(dialog.dxButton2, Qt::LeftButton);
        EXPECT_FALSE(dialog.Busy()) << "the work has ended";
        EXPECT_EQ(dialog.Engine(), nullptr);
        EXPECT_EQ(temp.Entries(), QStringList());
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.OpenConnections() == 0; }, 5000)) << "the connection is closed";
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << "a cancel is no error";
    EXPECT_FALSE(QFileInfo::exists(folders.Updates()));
    EXPECT_FALSE(QFileInfo::exists(folders.Updates() + QStringLiteral(".neu")));
}

TEST_F(UpdatesDialog, AnUnsignedPackageIsShownAsAnErrorAndNothingIsPrepared)
{
    const QByteArray package = TarXz({{QStringLiteral("Updateinstructions.xml"), Instructions({})}});
    server.Files[QStringLiteral("/p.tar.xz")] = package;
    server.Files[QStringLiteral("/p.tar.xz.sig")] = KeyPair().Sign(package);
    server.Files[QStringLiteral("/versioninfo")] =
        updateList(updateEntry(QStringLiteral("8.1.0.0"), QStringLiteral("x"), server.Url(QStringLiteral("/p.tar.xz"))));
    run([&](TFormUpdates& dialog) {
        QTest::mouseClick(dialog.dxButton3, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs.Errors.isEmpty(); }, 10000));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.Busy(); }, 5000));
        EXPECT_EQ(dialog.PageControl1->currentIndex(), 1);
        EXPECT_TRUE(dialog.Memo1->toPlainText().startsWith(QStringLiteral("Die Signatur des Update-Pakets")));
        EXPECT_FALSE(dialog.Engine()->UpdateNextStart);
        QTest::mouseClick(dialog.dxButton2, Qt::LeftButton);
    });
    EXPECT_FALSE(restartRequested);
    EXPECT_FALSE(QFileInfo::exists(folders.Updates()));
}

TEST_F(UpdatesDialog, ClosingDuringTheSearchDoesNotWaitForTheServer)
{
    server.Silent = true;
    TFormDialogMeta::InstallModalRunner([&](QDialog& shown) {
        auto& dialog = static_cast<TFormUpdates&>(shown);
        dialog.open();
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.Busy(); }, 5000));
        QTest::mouseClick(dialog.dxButton2, Qt::LeftButton);
        return dialog.result();
    });
    {
        TFormUpdates dialog(QStringLiteral("8.0.0.1"), folders.AppData());
        dialog.Engine()->TimeoutMs = 300;
        EXPECT_EQ(dialog.ShowModal(), QDialog::Rejected);
    }
    // The search ends on its own later; its result finds no dialog any more.
    QTest::qWait(800);
    EXPECT_TRUE(dialogs.Errors.isEmpty());
}

TEST(UpdatesRestart, StartsUpdateModeDirectlyOrThroughPkexec)
{
    const auto direct = TFormUpdates::RestartCommand(QStringLiteral("/opt/q/bin/quorvel"), true, QStringLiteral("/d"),
                                                     QStringLiteral("/u"));
    EXPECT_EQ(direct.Program, QStringLiteral("/opt/q/bin/quorvel"));
    EXPECT_EQ(direct.Arguments, QStringList{QStringLiteral("update")});
    const auto elevated = TFormUpdates::RestartCommand(QStringLiteral("/usr/bin/quorvel"), false, QStringLiteral("/home/a/.local/share/Quorvel 8"),
                                                       QStringLiteral("/home/a/Dokumente/Quorvel 8"));
    EXPECT_EQ(elevated.Program, QStringLiteral("pkexec"));
    ASSERT_GE(elevated.Arguments.size(), 5);
    EXPECT_EQ(elevated.Arguments.first(), QStringLiteral("env"));
    EXPECT_EQ(elevated.Arguments.mid(elevated.Arguments.size() - 4),
              (QStringList{QStringLiteral("QUORVEL_APPDATA=/home/a/.local/share/Quorvel 8"),
                           QStringLiteral("QUORVEL_DOCUMENTS=/home/a/Dokumente/Quorvel 8"),
                           QStringLiteral("/usr/bin/quorvel"), QStringLiteral("update")}));
}

TEST(AboutQuorvel, ShowsTheVersionAndTheSoundSystem)
{
    TQVL_System system;
    system.ProgramVersion = QStringLiteral("8.0.0.1");
    TFormAboutQuorvel without(system);
    EXPECT_EQ(without.Label_Version->text(), QStringLiteral("8.0.0.1 "));
    EXPECT_EQ(without.Label_SoundSystem->text(), QStringLiteral("Deaktiviert"));

    qputenv("SDL_AUDIODRIVER", "dummy");
    system.SoundSystem = std::make_unique<TQVL_System_SoundSystem>(system.SoundLibraryFile());
    ASSERT_EQ(system.SoundSystem->Init(), 1) << system.SoundLibraryFile().toStdString();
    TFormAboutQuorvel with(system);
    QString info;
    system.SoundSystem->Info(info);
    EXPECT_FALSE(info.isEmpty());
    EXPECT_EQ(with.Label_SoundSystem->text(),
              info + QStringLiteral(" (Version: ") + system.SoundSystem->Version() + QLatin1Char(')'));

    TFormDialogMeta::InstallModalRunner([](QDialog& dialog) {
        dialog.open();
        QTest::keyClick(&dialog, Qt::Key_Return);
        return dialog.result();
    });
    EXPECT_EQ(with.ShowModal(), QDialog::Accepted);
    TFormDialogMeta::InstallModalRunner({});
}

} // namespace

namespace {

// `quorvel update` over the installation of a TestFolders.
TEST(UpdateMode, AppliesThePreparedUpdateOnceAndSaysSo)
{
    TestFolders folders;
    ScriptedDialogService dialogs;
    const QString settings = folders.AppData() + QStringLiteral("/Data/Update.xml");
    const auto writeSettings = [&](bool next) {
        WriteFile(settings, "<root><version>1</version><link_getversioninfo>http://127.0.0.1:9/v</link_getversioninfo>"
                            "<updatenextstart>" + QByteArray(next ? "true" : "false") + "</updatenextstart></root>");
    };
    QDir().mkpath(folders.Documents());
    KeyPair key;
    const QByteArray package = TarXz({{QStringLiteral("Updateinstructions.xml"),
                                       Instructions({{QStringLiteral("REPLACECOPY"), QStringLiteral("neu.txt"),
                                                      QStringLiteral("%USERDATA%/neu.txt"), Md5("neu")}})},
                                      {QStringLiteral("neu.txt"), "neu"}});
    const QString packageFile = folders.AppData() + QStringLiteral("/Updates/1.tar.xz");
    WriteFile(packageFile, package);
    WriteFile(packageFile + QStringLiteral(".sig"), key.Sign(package));

    writeSettings(false);
    EXPECT_EQ(QuorvelApplication::RunUpdateMode(key.Public), 0);
    EXPECT_TRUE(dialogs.Informations.isEmpty()) << "nothing prepared, nothing said";
    EXPECT_FALSE(QFileInfo::exists(folders.Documents() + QStringLiteral("/neu.txt")));

    writeSettings(true);
    EXPECT_EQ(QuorvelApplication::RunUpdateMode(key.Public), 0);
    EXPECT_EQ(ReadFile(folders.Documents() + QStringLiteral("/neu.txt")), "neu");
    EXPECT_EQ(dialogs.Informations.size(), 2);
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(ReadFile(settings).contains("<updatenextstart>false</updatenextstart>"));

    // A damaged update is reported and tried again at the next start.
    WriteFile(packageFile, package + "beschädigt");
    writeSettings(true);
    EXPECT_EQ(QuorvelApplication::RunUpdateMode(key.Public), 1);
    ASSERT_EQ(dialogs.Errors.size(), 1);
    EXPECT_TRUE(dialogs.Errors.first().startsWith(
        QStringLiteral("Die Signatur des Update-Pakets \"%1\" ist ungültig.").arg(packageFile)));
    // Without the test's key, only the release key counts.
    WriteFile(packageFile, package);
    EXPECT_EQ(QuorvelApplication::RunUpdateMode(), 1);
    ASSERT_EQ(dialogs.Errors.size(), 2);
    EXPECT_TRUE(dialogs.Errors.last().startsWith(QStringLiteral("Die Signatur des Update-Pakets")));
    EXPECT_TRUE(ReadFile(settings).contains("<updatenextstart>true</updatenextstart>"));
}

} // namespace
