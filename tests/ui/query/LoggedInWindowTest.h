#pragma once

#include "app/QVL.h"
#include "tests/support/ScriptedDialogService.h"
#include "tests/support/TestFolders.h"
#include "ui/query/QueryLauncher.h"
#include "ui/shell/FormDialogMeta.h"
#include "ui/shell/FormMessage.h"
#include "ui/shell/Main.h"
#include "users/QVL_User.h"

#include <QDateTime>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// A started main window over a fresh installation with "Lernender" logged in,
// on 2 March 2026 at 10:00. Notices and requested query windows are recorded
// instead of shown.
class LoggedInWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("SDL_AUDIODRIVER", "dummy");
        TQVL_DateTime::SetClock([] { return QDateTime(QDate(2026, 3, 2), QTime(10, 0)); });
        previousRunner = TFormDialogMeta::InstallModalRunner([this](QDialog& dialog) {
            if (auto* notice = qobject_cast<TFormMessage*>(&dialog))
                notices << notice->Title();
            return 0;
        });
        previousOpener =
            InstallQueryWindowOpener([this](TMainForm&, TQueryWindow requested) { opened.push_back(requested); });
        window = std::make_unique<TMainForm>();
        window->show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->StartedUp(); }, 10000));
        user().Open(folders.Documents() + QStringLiteral("/Benutzer/Lernender.qxs"));
        ASSERT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
    }
    void TearDown() override
    {
        if (window)
            window->close();
        window.reset();
        InstallQueryWindowOpener(previousOpener);
        TFormDialogMeta::InstallModalRunner(previousRunner);
        TQVL_DateTime::SetClock({});
    }

    TQVL& core() const { return window->Core(); }
    TQVL_User& user() const { return core().Users->GetActiveUser(); }

    TestFolders folders;
    ScriptedDialogService dialogs;
    QStringList notices;
    std::vector<TQueryWindow> opened;
    std::unique_ptr<TMainForm> window;

private:
    TFormDialogMeta::TModalRunner previousRunner;
    TQueryWindowOpener previousOpener;
};
