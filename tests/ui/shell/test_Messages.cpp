#include "core/QVL_Error.h"
#include "tests/support/ScriptedDialogService.h"
#include "ui/shell/FormDialogMeta.h"
#include "ui/shell/FormMessage.h"
#include "ui/shell/Frame_Messages.h"
#include "ui/shell/KQ_ClickMatrix.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

// A unit bar with the message list; every entry's action writes into the log.
class MessageListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        bar.resize(600, 48);
        frame = new TFrameMessage(&bar);
        frame->setGeometry(360, 2, TFrameMessage::DefaultWidth, 44);
        bar.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    }

    void add(const QString& title)
    {
        frame->AddMessage(0, title, [this, title](TFrameMessage& sender) {
            log << QStringLiteral("%1 (sender %2, %3 left)").arg(title).arg(&sender == frame).arg(sender.Count());
        });
    }
    QPoint entryCentre(int row) const
    {
        return frame->List_Messages->visualItemRect(frame->List_Messages->item(row)).center();
    }
    void clickEntry(int row)
    {
        QTest::mouseClick(frame->List_Messages->viewport(), Qt::LeftButton, {}, entryCentre(row));
    }

    QWidget bar;
    TFrameMessage* frame = nullptr;
    QStringList log;
};

TEST_F(MessageListTest, AClickRemovesTheEntryBeforeItsActionRuns)
{
    EXPECT_FALSE(frame->isVisible()) << "hidden until there is something to say";
    add(QStringLiteral("7 Vokabeln abzufragen"));
    add(QStringLiteral("Updates gefunden"));
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->width(), 240);

    clickEntry(1);
    EXPECT_EQ(log, QStringList{QStringLiteral("Updates gefunden (sender 1, 1 left)")});
    EXPECT_EQ(frame->Titles(), QStringList{QStringLiteral("7 Vokabeln abzufragen")});
    EXPECT_EQ(frame->List_Messages->count(), 1);
}

TEST_F(MessageListTest, AFailingActionStillTakesItsEntryAway)
{
    ScriptedDialogService dialogs;
    frame->AddMessage(0, QStringLiteral("Updates gefunden"),
                      [](TFrameMessage&) { throw TQVL_Error(QStringLiteral("Der Server antwortet nicht.")); });
    add(QStringLiteral("7 Vokabeln abzufragen"));
    clickEntry(0);
    EXPECT_EQ(dialogs.Errors, QStringList{QStringLiteral("Der Server antwortet nicht.")});
    EXPECT_EQ(frame->Titles(), QStringList{QStringLiteral("7 Vokabeln abzufragen")});
}

TEST_F(MessageListTest, ADoubleClickActsOnlyOnce)
{
    add(QStringLiteral("erste"));
    add(QStringLiteral("zweite"));
    // The second press of a double-click lands where the second entry has moved up to.
    QWidget* viewport = frame->List_Messages->viewport();
    const QPoint at = entryCentre(0);
    QTest::mousePress(viewport, Qt::LeftButton, {}, at);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
    EXPECT_EQ(log, QStringList{QStringLiteral("erste (sender 1, 1 left)")});
    EXPECT_EQ(frame->Titles(), QStringList{QStringLiteral("zweite")});
}

TEST_F(MessageListTest, ClosingHidesTheListUntilTheNextMessage)
{
    add(QStringLiteral("eins"));
    add(QStringLiteral("zwei"));
    QTest::mouseClick(frame->Button_Close, Qt::LeftButton);
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(frame->Count(), 2);
    add(QStringLiteral("drei"));
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->Titles(), QStringList({"eins", "zwei", "drei"}));

    // Clicking the last entry away leaves nothing to show.
    clickEntry(0);
    clickEntry(0);
    clickEntry(0);
    EXPECT_EQ(frame->Count(), 0);
    EXPECT_FALSE(frame->isVisible());
}

TEST_F(MessageListTest, AnEntryCanTriggerACommand)
{
    QAction command;
    int triggered = 0;
    QObject::connect(&command, &QAction::triggered, [&] { ++triggered; });
    frame->AddMessage(0, QStringLiteral("Updates gefunden"), &command);
    frame->AddMessage(0, QStringLiteral("Updates gefunden"), &command);
    clickEntry(0);
    EXPECT_EQ(triggered, 1);
    command.setEnabled(false); // the user logged out meanwhile
    clickEntry(0);
    EXPECT_EQ(triggered, 1);
    EXPECT_EQ(frame->Count(), 0);
}

TEST(Notices, TheTwoNoticesSayWhatIsMissing)
{
    TFormUsersNoRight noRight;
    EXPECT_EQ(noRight.Title(), QStringLiteral("Keine Rechte"));
    EXPECT_EQ(noRight.Text(), QStringLiteral("Für diese Funktion besitzt ihr Benutzerprofil keine Rechte."));
    TFormUnitsNotSelected noUnit;
    EXPECT_EQ(noUnit.Title(), QStringLiteral("Noch keine Lektion gewählt!"));
    EXPECT_EQ(noUnit.Text(), QStringLiteral("Für diese Funktion muss eine Lektion ausgewählt sein."));
    EXPECT_FALSE(noUnit.Image_Icon->pixmap().isNull());
}

TEST(Notices, LookOfANotice)
{
    TFormUsersNoRight notice;
    notice.open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&notice));
    EXPECT_EQ(notice.size(), QSize(327, 50));
    EXPECT_TRUE(notice.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(notice.isModal());
    const QImage image = notice.grab().toImage();
    EXPECT_EQ(image.pixelColor(0, 0), QColor(0xF2, 0xBD, 0x1C)) << "frame 1883634";
    EXPECT_EQ(image.pixelColor(326, 25), QColor(0xF2, 0xBD, 0x1C));
    EXPECT_EQ(image.pixelColor(3, 46), QColor(0xFC, 0xED, 0xBE)) << "filling 12512764";
    EXPECT_EQ(notice.Label_Title->palette().color(QPalette::WindowText), QColor(0x56, 0x46, 0x29));
    EXPECT_TRUE(notice.Label_Title->font().bold());
    EXPECT_FALSE(notice.Label_Text->font().bold());
    // The whole text is readable inside the notice.
    const QRect text = notice.Label_Text->geometry();
    EXPECT_LE(text.right(), 326);
    EXPECT_LE(text.top() + notice.Label_Text->heightForWidth(text.width()), 50);
}

TEST(Notices, AClickAnywhereClosesTheNotice)
{
    const char* targets[] = {"window", "Label_Title", "Label_Text", "Button_Close"};
    for (const char* target : targets) {
        TFormUnitsNotSelected notice;
        notice.open();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&notice));
        QWidget* widget =
            QByteArray(target) == "window" ? &notice : notice.findChild<QWidget*>(QString::fromLatin1(target));
        ASSERT_TRUE(widget) << target;
        QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(4, 4));
        EXPECT_FALSE(notice.isVisible()) << target;
        EXPECT_EQ(notice.result(), int(QDialog::Accepted)) << target;
    }
}

TEST(Notices, ShownModallyUntilClicked)
{
    TFormUsersNoRight notice;
    // The real modal loop: a click from inside it ends it. The fallback only keeps a broken build from hanging.
    QTimer::singleShot(0, &notice, [&] { QTest::mouseClick(notice.Label_Title, Qt::LeftButton, {}, QPoint(2, 2)); });
    QTimer::singleShot(10000, &notice, [&] { notice.done(-1); });
    EXPECT_EQ(notice.ShowModal(), int(QDialog::Accepted));

    // Tests of the screens replace the loop and only see which notice came up.
    QStringList shown;
    const auto previous = TFormDialogMeta::InstallModalRunner([&](QDialog& dialog) {
        shown << static_cast<TFormMessage&>(dialog).Title();
        return int(QDialog::Accepted);
    });
    TFormUnitsNotSelected().ShowModal();
    TFormDialogMeta::InstallModalRunner(previous);
    EXPECT_EQ(shown, QStringList{QStringLiteral("Noch keine Lektion gewählt!")});
}

TEST(Notices, KeysCloseTheNoticeAndArrowsGoOnToTheScreenBelow)
{
    // (key, result, whether the tile menu below moved on)
    const std::tuple<Qt::Key, int, bool> cases[] = {
        {Qt::Key_Escape, QDialog::Rejected, false},
        {Qt::Key_Return, QDialog::Accepted, false},
        {Qt::Key_Right, QDialog::Accepted, true},
    };
    for (const auto& [key, result, moved] : cases) {
        TKQ_ClickMatrix below;
        below.Items().Add(QStringLiteral("Eins"));
        below.Items().Add(QStringLiteral("Zwei"));
        below.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&below));
        below.setFocus();
        below.FocusFirstItem();
        ASSERT_EQ(QApplication::focusWidget(), &below);

        TFormUnitsNotSelected notice;
        notice.open();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&notice));
        QTest::keyClick(&notice, key);
        QCoreApplication::processEvents();
        EXPECT_FALSE(notice.isVisible()) << key;
        EXPECT_EQ(notice.result(), result) << key;
        EXPECT_EQ(below.FocusedItem()->Index(), moved ? 1 : 0) << key;
    }
}
