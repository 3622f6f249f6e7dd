// The day at a glance below the main menu's tiles: what it shows of the
// learner's results, and a storage's row starting that storage's query.
#include "app/QVL.h"
#include "content/QVL_Card_Voc.h"
#include "query/QVL_Query_Cardpile.h"
#include "query/QVL_Query_Options.h"
#include "query/QVL_Result_Card.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "tests/support/ScriptedDialogService.h"
#include "tests/support/TestFolders.h"
#include "tests/ui/query/LoggedInWindowTest.h"
#include "ui/query/Form_MenuQuery.h"
#include "ui/query/QueryLauncher.h"
#include "ui/shell/FormDialogMeta.h"
#include "ui/shell/Form_MainMenu.h"
#include "ui/shell/KQ_ClickMatrix.h"
#include "ui/shell/Main.h"
#include "ui/shell/Panel_TodayOverview.h"
#include "ui/shell/WindowManager.h"
#include "users/QVL_User.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class TodayOverviewTest : public LoggedInWindowTest
{
protected:

    // A storage of three cards in the storages folder: one due now, one from
    // this evening (counted with tomorrow's), one in ten days.
    QString writeStorage(const QString& name)
    {
        const QString path = core().StoragesFolder() + QLatin1Char('/') + name + QStringLiteral(".qxs");
        TQVL_Unit unit;
        unit.NewFile(path);
        unit.Typ = tLongTermStorage;
        unit.LangCodeHome = QStringLiteral("ger");
        unit.LangCodeForeign = QStringLiteral("eng");
        for (int i = 1; i <= 3; ++i) {
            auto* card = dynamic_cast<TQVL_Card_Voc*>(unit.Cards->NewCard(tVoc));
            card->foreign1 = QStringLiteral("w%1").arg(i);
            card->home1 = QStringLiteral("W%1").arg(i);
        }
        unit.Save();
        TQVL_Result_Unit& results = user().Results().GetOrCreateUnit(unit.Uid, path);
        results.longtermstorage = true;
        const TQVL_DateTime now = TQVL_DateTime::Now();
        const int stages[] = {0, 1, 3};
        for (int i = 0; i < 3; ++i) {
            TQVL_Result_Card& card = results.GetOrCreateCard(unit.Cards->Card(i)->Uid);
            card.stage = stages[i];
            card.lastquery = now;
        }
        unit.CloseFile();
        return path;
    }
    TFormMainMenu* showMainMenu()
    {
        window->ShowMainMenu();
        return qobject_cast<TFormMainMenu*>(window->WindowManager().CurrentWindow());
    }

};

} // namespace

TEST_F(TodayOverviewTest, ShowsTodayTheRowAndTheLastLessonAndHidesOnRequest)
{
    TQVL_Result_Unit& lesson = user().Results().GetOrCreateUnit(QStringLiteral("L1"), QStringLiteral("/x/Tiere.qxu"));
    const TQVL_DateTime now = TQVL_DateTime::Now();
    lesson.AddQuery(300, 10, false, 5, TQVL_DateTime(now.Serial() - 0.5)); // yesterday, 22:00
    lesson.AddQuery(720, 42, false, 21, TQVL_DateTime(now.Serial() - 1.0 / 24));
    TFormMainMenu* menu = showMainMenu();
    ASSERT_TRUE(menu);
    TPanelTodayOverview* panel = menu->Panel_Today;
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->Label_Today->text(), QStringLiteral("Heute: 42 Vokabeln in 12 Minuten"));
    EXPECT_EQ(panel->Label_Streak->text(), QStringLiteral("2 Tage in Folge"));
    EXPECT_EQ(panel->Label_LastLesson->text(), QStringLiteral("Zuletzt: Tiere am 02.03.2026, 50 % richtig"));

    core().Options->mainmenu_overview_hidden = true;
    menu = showMainMenu();
    EXPECT_FALSE(menu->Panel_Today->isVisible()) << "the plain menu for those who want it";
    EXPECT_TRUE(menu->KQ_ClickMatrix1->isVisible());
}

TEST_F(TodayOverviewTest, ClickingAStorageStartsItsQuery)
{
    writeStorage(QStringLiteral("Dänisch"));
    const QString path = writeStorage(QStringLiteral("Englisch"));
    // The query menu goes straight to the query, not to its settings screen.
    core().Query->Options->changeoptions = false;
    TFormMenuQuery::WriteOptions(core());

    TFormMainMenu* menu = showMainMenu();
    ASSERT_TRUE(menu);
    const QList<QPushButton*> rows = menu->Panel_Today->StorageButtons;
    ASSERT_EQ(rows.size(), 2);
    QStringList texts{rows[0]->text(), rows[1]->text()};
    texts.sort();
    EXPECT_EQ(texts, (QStringList{QStringLiteral("Dänisch: 1 heute, 1 morgen"),
                                  QStringLiteral("Englisch: 1 heute, 1 morgen")}));
    QPushButton* english = rows[0]->text().startsWith(QStringLiteral("Englisch")) ? rows[0] : rows[1];
    EXPECT_FALSE(menu->Panel_Today->Label_NoStorage->isVisible());

    QTest::mouseClick(english, Qt::LeftButton);
    ASSERT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
    const TQVL_Unit& unit = core().Units->GetActiveUnit();
    EXPECT_TRUE(unit.IsOpen);
    EXPECT_EQ(unit.FileName, path);
    EXPECT_TRUE(core().Query->LongTermMode);
    EXPECT_EQ(core().Query->Cardpile->Cards.size(), 1u) << "the card due today";
    EXPECT_EQ(opened, std::vector<TQueryWindow>{TQueryWindow::Voc});
}
