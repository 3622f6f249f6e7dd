// Runs a few real queries on different days and takes pictures of the card
// viewers and of every tab of the statistics window, for a person to look
// at; disabled in the normal test run. QUORVEL_SHOTS names the folder.
#include "content/QVL_Card_Grammar.h"
#include "content/QVL_Card_Voc.h"
#include "query/QVL_Result_Card.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "tests/ui/query/test_QueryFixture.h"
#include "ui/query/Form_QueryResultStatistics.h"
#include "ui/query/Form_QueryResultVoc.h"
#include "ui/query/Form_Query_Pic.h"
#include "ui/query/Form_Query_Voc.h"
#include "ui/show/Form_ShowMeta.h"
#include "ui/show/ShowLauncher.h"
#include "ui/statistics/Form_ProblemWords.h"
#include "ui/statistics/Form_Statistics.h"

#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QTreeView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>

namespace {

class StatisticsScreenshots : public QueryWindowTest
{
protected:
    void shoot(const QString& name)
    {
        QCoreApplication::processEvents();
        window->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
    }
    // A query over `uids` of the open lesson stored as of `day` days ago;
    // the answers alternate right and wrong as `rightEvery` says.
    void runQuery(std::initializer_list<int> uids, int daysAgo, int rightEvery)
    {
        // A fast clock: every millisecond of the test counts as three seconds,
        // so the queries take minutes as a learner's do.
        const QDateTime when = QDateTime::currentDateTime().addDays(-daysAgo).addSecs(-3600);
        QElapsedTimer elapsed;
        elapsed.start();
        TQVL_DateTime::SetClock([when, elapsed] { return when.addMSecs(elapsed.elapsed() * 3000); });
        Query().Options->onlystoreresultswheallqueried = false;
        Pile(uids);
        auto* screen = Start<TFormQueryVoc>();
        ASSERT_NE(screen, nullptr);
        int answered = 0;
        while (Query().IsRunning() && answered < int(uids.size())) {
            const auto* card = static_cast<const TQVL_Card_Voc*>(Asked());
            QTest::qWait(40);
            TypeText(*screen->TntEdit1, answered % rightEvery == 0 ? card->home1 : QStringLiteral("falsch"));
            QTest::keyClick(screen->TntEdit1, Qt::Key_Return);
            ASSERT_NE(screen->ResultWindow(), nullptr);
            QTest::mouseClick(screen->ResultWindow()->Button_Ok, Qt::LeftButton);
            ++answered;
        }
        QTest::mouseClick(screen->Button_Abort, Qt::LeftButton);
        TQVL_DateTime::SetClock({});
    }

    QString folder = qEnvironmentVariable("QUORVEL_SHOTS", QStringLiteral("/tmp"));
};

} // namespace

TEST_F(StatisticsScreenshots, DISABLED_ViewersAndStatistics)
{
    window->resize(900, 680);
    OpenUnit(QStringLiteral("Englisch - Grundwortschatz.qxu"));
    runQuery({1, 2, 3, 4, 5, 6}, 9, 2);
    runQuery({1, 2, 3, 4, 5}, 5, 3);
    runQuery({2, 4, 6, 7, 8, 9, 10}, 2, 1);
    runQuery({1, 3, 5, 7}, 0, 2);
    shoot(QStringLiteral("result-statistics"));
    auto* statistics = qobject_cast<TFormQueryResultStatistics*>(Screen());
    ASSERT_NE(statistics, nullptr);
    QTest::mouseClick(statistics->Button_SingleResults, Qt::LeftButton);
    shoot(QStringLiteral("show-voc-lastquery"));
    window->ShowMainMenu();
    OpenCardViewer(*window);
    shoot(QStringLiteral("show-voc"));

    window->ShowMainMenu();
    Unit().CloseFile();
    OpenUnit(QStringLiteral("Englisch - Bilder.qxu"));
    // A picture query, each question answered by a click into the middle of the picture.
    Query().Options->onlystoreresultswheallqueried = false;
    Pile({1, 2, 3, 4, 5, 6});
    auto* picQuery = Start<TFormQueryPic>();
    ASSERT_NE(picQuery, nullptr);
    for (int i = 0; i < 6 && Query().IsRunning(); ++i) {
        QTest::mouseClick(picQuery->PaintBox1, Qt::LeftButton, Qt::NoModifier,
                          picQuery->ShownRect().center() + QPoint(i * 7, i * 5));
        if (!picQuery->ResultWindow()) // a question answered by typing: left empty
            QTest::mouseClick(picQuery->Button_Result, Qt::LeftButton);
        ASSERT_NE(picQuery->ResultWindow(), nullptr);
        QTest::mouseClick(picQuery->ResultWindow()->Button_Ok, Qt::LeftButton);
    }
    if (Query().IsRunning())
        QTest::mouseClick(picQuery->Button_Abort, Qt::LeftButton);
    TFormShowMeta* pictures = OpenCardViewer(*window);
    ASSERT_NE(pictures, nullptr);
    // Most asked first: two clicks on "Abgefragt".
    QHeaderView* header = pictures->VST1->header();
    const QPoint queried(header->sectionViewportPosition(4) + 10, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, queried);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, queried);
    shoot(QStringLiteral("show-pic"));
    window->ShowMainMenu();
    Unit().CloseFile();
    OpenUnit(QStringLiteral("Englisch - Unregelmäßige Verben.qxu"));
    OpenCardViewer(*window);
    shoot(QStringLiteral("show-grammar"));

    window->ShowMainMenu();
    auto* screen = window->WindowManager().SwitchWindow<TFormStatistics>(true);
    ASSERT_NE(screen, nullptr);
    const char* const tabs[] = {"statistics-overview", "statistics-times", "statistics-success", "statistics-journal"};
    for (int i = 0; i < 4; ++i) {
        screen->PageControl1->setCurrentIndex(i);
        shoot(QString::fromLatin1(tabs[i]));
    }
    screen->PageControl1->setCurrentIndex(2);
    QTest::mouseClick(screen->Label_Settings, Qt::LeftButton);
    screen->Menu_Legend->popup(screen->PopupMenu_Diagram->geometry().topRight());
    QCoreApplication::processEvents();
    screen->PopupMenu_Diagram->grab().save(folder + QStringLiteral("/statistics-menu.png"));
    screen->Menu_Legend->grab().save(folder + QStringLiteral("/statistics-legend.png"));
}

// The calendar, the forecast and the problem words over a year of made-up
// history, at 800×600 (QT_SCALE_FACTOR for the other scales).
TEST_F(StatisticsScreenshots, DISABLED_CalendarForecastAndProblemWords)
{
    window->resize(800, 600);
    TQVL& core = window->Core();
    TQVL_Result_User& results = core.Users->GetActiveUser().Results();
    OpenUnit(QStringLiteral("Englisch - Grundwortschatz.qxu"));
    TQVL_Result_Unit& lesson = results.GetOrCreateUnit(Unit().Uid, Unit().FileName);
    const TQVL_DateTime now = TQVL_DateTime::Now();
    for (int day = 0; day < 365; ++day) {
        if ((day * 7) % 11 < 3)
            continue;
        const int answers = 5 + (day * 37) % 60;
        lesson.AddQuery(answers * 9, answers, false, answers * 3 / 4, TQVL_DateTime(now.Serial() - day - 0.3));
    }
    for (int uid = 1; uid <= 8; ++uid) {
        TQVL_Result_Card& card = lesson.GetOrCreateCard(uid);
        card.all_queried = 10 + uid;
        card.all_right = uid;
    }
    {
        TQVL_Unit storage;
        storage.NewFile(core.StoragesFolder() + QStringLiteral("/Englisch.qxs"));
        storage.Typ = tLongTermStorage;
        storage.LangCodeHome = QStringLiteral("ger");
        storage.LangCodeForeign = QStringLiteral("eng");
        for (int i = 1; i <= 60; ++i) {
            auto* card = dynamic_cast<TQVL_Card_Voc*>(storage.Cards->NewCard(tVoc));
            card->foreign1 = QStringLiteral("w%1").arg(i);
            card->home1 = QStringLiteral("W%1").arg(i);
        }
        storage.Save();
        TQVL_Result_Unit& due = results.GetOrCreateUnit(storage.Uid, storage.FileName);
        due.longtermstorage = true;
        for (int i = 0; i < 60; ++i) {
            TQVL_Result_Card& card = due.GetOrCreateCard(storage.Cards->Card(i)->Uid);
            card.stage = 1 + i % 4;
            card.lastquery = TQVL_DateTime(now.Serial() - (i * 3) % 9);
        }
        storage.CloseFile();
    }
    window->ShowMainMenu();
    shoot(QStringLiteral("mainmenu-overview"));
    auto* screen = window->WindowManager().SwitchWindow<TFormStatistics>(true);
    ASSERT_NE(screen, nullptr);
    screen->PageControl1->setCurrentIndex(4);
    shoot(QStringLiteral("statistics-calendar"));
    screen->ShowJournalDay(QDate::currentDate().addDays(-1));
    shoot(QStringLiteral("statistics-journal-day"));
    screen->PageControl1->setCurrentIndex(5);
    shoot(QStringLiteral("statistics-forecast"));
    screen->ForecastImage().save(folder + QStringLiteral("/statistics-forecast-saved.png"));
    window->WindowManager().SwitchWindow<TFormProblemWords>();
    shoot(QStringLiteral("problemwords"));
}
