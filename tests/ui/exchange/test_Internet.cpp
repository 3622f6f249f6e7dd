#include "tests/support/LocalHttpServer.h"
#include "tests/support/ScriptedDialogService.h"
#include "ui/exchange/Form_Internet.h"
#include "ui/shell/Navigator.h"
#include "webview/WebPage.h"

#include <QPushButton>
#include <QTest>
#include <QWebEngineView>

#include <gtest/gtest.h>

namespace {

// The community screen on its own, over a page served from 127.0.0.1.
class InternetScreen : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        // Chromium runs here without its sandbox (the tests may run as root)
        // and without a GPU.
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu --single-process");
    }

    // The text the browser shows now.
    QString shownText()
    {
        QString text;
        bool done = false;
        screen.Page->toPlainText([&](const QString& result) {
            text = result;
            done = true;
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 5000));
        return text;
    }

    bool waitForText(const QString& part)
    {
        return QTest::qWaitFor([&] { return shownText().contains(part); }, 20000);
    }

    ScriptedDialogService dialogs;
    LocalHttpServer server;
    TFormInternet screen;
};

TEST_F(InternetScreen, AProgramLinkGoesToTheProgramAndLoadsNothing)
{
    // One link covering the whole page, so a click anywhere follows it.
    server.Files[QStringLiteral("/community")] =
        "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Community</title></head>"
        "<body style=\"margin:0\"><a href=\"quorvel://updates\" style=\"display:block;position:absolute;left:0;"
        "top:0;width:100%;height:100%\">Willkommen in der Community</a></body></html>";
    QList<QUrl> links;
    screen.OnQuorvelLink = [&](const QUrl& link) { links << link; };
    screen.resize(640, 480);
    screen.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&screen));
    screen.Navigate(server.Url(QStringLiteral("/community")));
    ASSERT_TRUE(waitForText(QStringLiteral("Willkommen in der Community")));
    EXPECT_EQ(screen.Caption(), QStringLiteral("Internet"));

    QWidget* surface = screen.WebBrowser1->focusProxy();
    ASSERT_NE(surface, nullptr);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            QTest::mouseClick(surface, Qt::LeftButton, {}, surface->rect().center());
            return QTest::qWaitFor([&] { return !links.isEmpty(); }, 1000);
        },
        20000));
    EXPECT_EQ(links.first(), QUrl(QStringLiteral("quorvel://updates")));
    QTest::qWait(300);
    EXPECT_EQ(screen.WebBrowser1->url(), QUrl(server.Url(QStringLiteral("/community"))));
    EXPECT_TRUE(shownText().contains(QStringLiteral("Willkommen in der Community")));
    server.Requests.removeAll(QStringLiteral("/favicon.ico"));
    EXPECT_EQ(server.Requests, QStringList{QStringLiteral("/community")});
}

TEST_F(InternetScreen, WithoutAConnectionAFriendlyPageSaysSo)
{
    screen.resize(640, 480);
    screen.show();
    screen.Navigate(QStringLiteral("http://127.0.0.1:1/community"));
    ASSERT_TRUE(waitForText(QStringLiteral("Die Quorvel Community ist gerade nicht erreichbar")));
    EXPECT_TRUE(shownText().contains(QStringLiteral("Bitte prüfen Sie Ihre Internetverbindung")));
    EXPECT_TRUE(dialogs.Errors.isEmpty());
}

TEST(InternetLinks, AnUnknownProgramLinkIsExplained)
{
    ScriptedDialogService dialogs;
    TFormInternet::HandleQuorvelLink(QUrl(QStringLiteral("quorvel://lektion/123")), TNavigator::Nowhere());
    EXPECT_EQ(dialogs.Informations,
              QStringList{QStringLiteral("Der Verweis \"quorvel://lektion/123\" wird von dieser Programmversion nicht "
                                         "unterstützt.")});
}

} // namespace
