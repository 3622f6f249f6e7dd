// The statistics window: key figures, the query time chart, the success
// diagram with its menu, the journal, the year calendar, the forecast, and
// saving the charts as PNG.
#include "content/QVL_Card_Voc.h"
#include "query/QVL_Result_Card.h"
#include "query/QVL_Result_User.h"
#include "statistics/QVL_Statistics_DayChart.h"
#include "statistics/QVL_Statistics_Journal.h"
#include "statistics/QVL_Statistics_QuerySuccessDiagram.h"
#include "tests/ui/query/test_QueryFixture.h"
#include "ui/shell/Form_MainMenu.h"
#include "ui/shell/KQ_ClickMatrix.h"
#include "ui/shell/Theme.h"
#include "ui/statistics/Chart_Calendar.h"
#include "ui/statistics/Chart_Forecast.h"
#include "ui/statistics/Form_Statistics.h"
#include "ui/statistics/Model_Journal.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QToolTip>
#include <QTreeView>

namespace {

// "Now" is Wednesday, 13.03.2024 14:00.
class StatisticsWindowTest : public QueryWindowTest
{
protected:
    void SetUp() override
    {
        TQVL_DateTime::SetClock([] { return QDateTime(QDate(2024, 3, 13), QTime(14, 0)); });
        QueryWindowTest::SetUp();
    }
    void TearDown() override
    {
        QueryWindowTest::TearDown();
        TQVL_DateTime::SetClock({});
    }
    TQVL_Result_User& Results() const { return window->Core().Users->GetActiveUser().Results(); }
    static TQVL_DateTime at(int month, int day, int hour, int minute = 0)
    {
        return TQVL_DateTime::FromParts(2024, month, day, hour, minute);
    }
    // Two lessons: A with three queries this week and one last year, B with
    // one query today and one "in the future" (the clock was changed).
    void AddHistory()
    {
        TQVL_Result_Unit& a = Results().GetOrCreateUnit(QStringLiteral("{A}"), QStringLiteral("/l/Lektion A.qxu"));
        a.AddQuery(300, 10, false, 5, TQVL_DateTime::FromParts(2023, 11, 2, 9, 0));
        a.AddQuery(120, 20, false, 20, at(3, 11, 10));
        a.AddQuery(240, 30, false, 6, at(3, 12, 10));
        TQVL_Result_Unit& b = Results().GetOrCreateUnit(QStringLiteral("{B}"), QStringLiteral("/l/Lektion B.qxu"));
        b.AddQuery(600, 10, false, 7, at(3, 13, 0, 40));
        b.AddQuery(60, 10, false, 10, at(3, 14, 9));
    }
    TFormStatistics* Open()
    {
        window->ShowMainMenu();
        auto* tiles = Screen()->findChild<TKQ_ClickMatrix*>(QStringLiteral("KQ_ClickMatrix1"));
        EXPECT_NE(tiles, nullptr);
        if (!tiles)
            return nullptr;
        QTest::mouseClick(tiles, Qt::LeftButton, {}, tiles->Items().Item(6)->Rect().center());
        auto* screen = qobject_cast<TFormStatistics*>(Screen());
        EXPECT_NE(screen, nullptr);
        if (screen)
            tester = std::make_unique<QAbstractItemModelTester>(screen->JournalModel);
        return screen;
    }
    static QStringList column(const TFormStatistics& screen, int column)
    {
        QStringList texts;
        for (int row = 0; row < screen.JournalModel->rowCount(); ++row)
            texts << screen.JournalModel->index(row, column).data().toString();
        return texts;
    }
    static void clickHeader(TFormStatistics& screen, int column)
    {
        QHeaderView* header = screen.VST_Journal->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 10, header->height() / 2));
    }
    // Chooses `action` of the open `menu` with a click, as a learner would.
    static void choose(QMenu& menu, QAction* action)
    {
        ASSERT_TRUE(menu.isVisible());
        QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(action).center());
    }
    void openSettings(TFormStatistics& screen)
    {
        screen.PageControl1->setCurrentIndex(2);
        QTest::mouseClick(screen.Label_Settings, Qt::LeftButton);
        ASSERT_TRUE(screen.PopupMenu_Diagram->isVisible());
    }
    static int pixelsOf(const QImage& image, QRgb colour)
    {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += image.pixel(x, y) == colour;
        return count;
    }

    std::unique_ptr<QAbstractItemModelTester> tester;
};

} // namespace

TEST_F(StatisticsWindowTest, WithoutQueriesEveryFigureIsZeroAndEveryBarEmpty)
{
    TFormStatistics* screen = Open();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->Caption(), QStringLiteral("Statistiken"));
    EXPECT_EQ(screen->PageControl1->currentIndex(), 0);
    QStringList tabs;
    for (int i = 0; i < screen->PageControl1->count(); ++i)
        tabs << screen->PageControl1->tabText(i);
    EXPECT_EQ(tabs, (QStringList{"Übersicht", "Abfragezeiten", "Abfrageerfolge", "Protokoll", "Kalender", "Vorschau"}));
    EXPECT_EQ(screen->Label_UserName->text(), QStringLiteral("Lernender"));
    EXPECT_EQ(screen->Label_Units->text(), QStringLiteral("0"));
    EXPECT_EQ(screen->Label_Queries->text(), QStringLiteral("0"));
    EXPECT_EQ(screen->Label_Cards->text(), QStringLiteral("0"));
    EXPECT_EQ(screen->Label_CardsPerQuery->text(), QStringLiteral("0,00"));
    EXPECT_EQ(screen->Label_CardsPerQuerySpread->text(), QStringLiteral("± 0,00"));
    EXPECT_EQ(screen->Label_Gap->text(), QStringLiteral("0,00"));
    EXPECT_EQ(screen->Label_GapSpread->text(), QStringLiteral("± 0,00"));
    EXPECT_FALSE(screen->Label_LastDeletion->isVisibleTo(screen));
    EXPECT_EQ(pixelsOf(screen->DayChartImage(), TQVL_Statistics_DayChart::LevelFill), 0) << "no bar is filled";
    EXPECT_GT(pixelsOf(screen->DayChartImage(), TQVL_Statistics_DayChart::BarFill), 0);
    for (QRgb colour : TQVL_Statistics_QuerySuccessDiagram::DiagramColors)
        EXPECT_EQ(pixelsOf(screen->DiagramImage(), colour), 0) << "no line";
    EXPECT_EQ(screen->JournalModel->rowCount(), 0);
    EXPECT_EQ(screen->PeriodFrom, at(3, 7, 0)) << "six days back, from midnight";
    QTest::mouseClick(screen->Button_Back, Qt::LeftButton);
    EXPECT_TRUE(qobject_cast<TFormMainMenu*>(Screen()));
}

TEST_F(StatisticsWindowTest, KeyFiguresChartAndJournalOfAHistory)
{
    AddHistory();
    Results().lastdeletion_date = TQVL_DateTime::FromParts(2023, 1, 5, 8, 30);
    TFormStatistics* screen = Open();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->Label_Units->text(), QStringLiteral("2"));
    EXPECT_EQ(screen->Label_Queries->text(), QStringLiteral("3")) << "the last 60 days up to now";
    EXPECT_EQ(screen->Label_Cards->text(), QStringLiteral("60"));
    EXPECT_EQ(screen->Label_CardsPerQuery->text(), QStringLiteral("20,00"));
    EXPECT_EQ(screen->Label_CardsPerQuerySpread->text(), QStringLiteral("± 8,16"));
    // Gaps 14 h 40 min and 24 h.
    EXPECT_EQ(screen->Label_Gap->text(), QStringLiteral("19,33"));
    EXPECT_EQ(screen->Label_GapSpread->text(), QStringLiteral("± 4,67"));
    EXPECT_TRUE(screen->Label_LastDeletion->isVisibleTo(screen));
    EXPECT_EQ(screen->Label_LastDeletion->text(),
              QStringLiteral("Die Abfrageergebnisse wurden zuletzt am \"05.01.2023 08:30:00\" gelöscht."));

    // Today's 10 minutes are the longest day: the rightmost bar is full.
    const QImage& chart = screen->DayChartImage();
    const int left = TQVL_Statistics_DayChart::ChartLeft(chart.size(), 15) + 14 * 34;
    const int top = TQVL_Statistics_DayChart::ChartTop(chart.size());
    EXPECT_EQ(QColor(chart.pixel(left + 8, top + 144 - 4 - 136 + 3)), QColor(0x89, 0xA1, 0xDF));
    EXPECT_EQ(QColor(chart.pixel(left + 8, top + 3)), QColor(0xC4, 0xCE, 0xE8));

    // The journal: four queries up to now, newest first.
    EXPECT_EQ(column(*screen, TQVL_Statistics_Journal::colDate),
              (QStringList{"13.03.2024", "12.03.2024", "11.03.2024", "02.11.2023"}));
    EXPECT_EQ(column(*screen, TQVL_Statistics_Journal::colUnit),
              (QStringList{"Lektion B.qxu", "Lektion A.qxu", "Lektion A.qxu", "Lektion A.qxu"}));
    EXPECT_EQ(column(*screen, TQVL_Statistics_Journal::colDuration),
              (QStringList{"00:10:00", "00:04:00", "00:02:00", "00:05:00"}));
    EXPECT_EQ(column(*screen, TQVL_Statistics_Journal::colSuccess), (QStringList{"70%", "20%", "100%", "50%"}));
    clickHeader(*screen, TQVL_Statistics_Journal::colDate);
    EXPECT_EQ(screen->JournalSortOrder(), Qt::DescendingOrder);
    EXPECT_EQ(column(*screen, TQVL_Statistics_Journal::colDate).first(), QStringLiteral("02.11.2023"));
    clickHeader(*screen, TQVL_Statistics_Journal::colSuccess);
    EXPECT_EQ(screen->JournalSortOrder(), Qt::AscendingOrder) << "another column starts ascending";
    EXPECT_EQ(column(*screen, TQVL_Statistics_Journal::colSuccess), (QStringList{"20%", "50%", "70%", "100%"}));
    clickHeader(*screen, TQVL_Statistics_Journal::colTime);
    EXPECT_EQ(column(*screen, TQVL_Statistics_Journal::colTime),
              (QStringList{"00:40:00", "09:00:00", "10:00:00", "10:00:00"}));
    EXPECT_EQ(Results().UnitCount(), 2) << "the window adds nothing to the results";
}

TEST_F(StatisticsWindowTest, TheSettingsMenuChangesThePeriodScaleAndLegend)
{
    AddHistory();
    TFormStatistics* screen = Open();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->Menu_Legend->actions().size(), 2);
    openSettings(*screen);
    const QImage scaled = screen->DiagramImage();
    choose(*screen->PopupMenu_Diagram, screen->Action_ScaleToDate);
    EXPECT_FALSE(screen->ScaleToDate);
    EXPECT_NE(screen->DiagramImage(), scaled) << "redrawn at once";

    openSettings(*screen);
    screen->Menu_Period->popup(screen->PopupMenu_Diagram->geometry().topRight());
    choose(*screen->Menu_Period, screen->Action_All);
    EXPECT_EQ(screen->PeriodFrom, TQVL_DateTime::FromParts(2023, 11, 2, 9, 0)) << "from the first stored query";
    EXPECT_EQ(screen->PeriodTo, TQVL_DateTime::Now());
    ASSERT_EQ(screen->Menu_Legend->actions().size(), 2);
    EXPECT_EQ(screen->Menu_Legend->actions()[0]->text(), QStringLiteral("/l/Lektion A.qxu"));
    EXPECT_FALSE(screen->Menu_Legend->actions()[0]->isCheckable());

    openSettings(*screen);
    screen->Menu_Period->popup(screen->PopupMenu_Diagram->geometry().topRight());
    choose(*screen->Menu_Period, screen->Action_Last7Days);
    EXPECT_EQ(screen->PeriodFrom, at(3, 6, 0));
    EXPECT_EQ(screen->Menu_Legend->actions().size(), 2);
    // Lesson A's queries of this week lie more than a day back; B's today.
    openSettings(*screen);
    screen->Menu_Period->popup(screen->PopupMenu_Diagram->geometry().topRight());
    choose(*screen->Menu_Period, screen->Action_Last21Days);
    EXPECT_EQ(screen->PeriodFrom, at(2, 21, 0));
}

TEST_F(StatisticsWindowTest, ChartsAreSavedAsPngFromTheirMenus)
{
    AddHistory();
    TFormStatistics* screen = Open();
    ASSERT_NE(screen, nullptr);
    const QString path = folders.Documents() + QStringLiteral("/Erfolge");
    dialogs.FileAnswers.push_back(path);
    openSettings(*screen);
    choose(*screen->PopupMenu_Diagram, screen->Action_SaveDiagram);
    const QImage saved(path + QStringLiteral(".png"));
    ASSERT_FALSE(saved.isNull()) << dialogs.Errors.join('|').toStdString();
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), screen->DiagramImage());

    screen->PageControl1->setCurrentIndex(1);
    dialogs.FileAnswers.push_back(folders.Documents() + QStringLiteral("/fehlt/Zeiten.png"));
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(10, 10),
                                screen->Image_DayQueries->mapToGlobal(QPoint(10, 10)));
    QCoreApplication::sendEvent(screen->Image_DayQueries, &menuEvent);
    ASSERT_TRUE(screen->PopupMenu_DayQueries->isVisible());
    choose(*screen->PopupMenu_DayQueries, screen->Action_SaveDayQueries);
    ASSERT_EQ(dialogs.Errors.size(), 1);
    EXPECT_TRUE(dialogs.Errors[0].startsWith(QStringLiteral("Das Bild \""))) << dialogs.Errors[0].toStdString();
}

namespace {

class StatisticsCalendarTest : public StatisticsWindowTest
{
protected:
    static int indexOf(const TChartCalendar& chart, int month, int day)
    {
        return chart.Calendar().IndexOf(QDate(2024, month, day));
    }
    static QColor shadeOf(TChartCalendar& chart, int index)
    {
        return QColor(chart.grab().toImage().pixel(chart.DayRect(index).center()));
    }
    // A storage of `cards` cards in the storages folder, each at `stage`, last asked `daysAgo` days back.
    QString writeStorage(const QString& name, int cards, int stage, int daysAgo)
    {
        TQVL& core = window->Core();
        const QString path = core.StoragesFolder() + QLatin1Char('/') + name + QStringLiteral(".qxs");
        TQVL_Unit unit;
        unit.NewFile(path);
        unit.Typ = tLongTermStorage;
        unit.LangCodeHome = QStringLiteral("ger");
        unit.LangCodeForeign = QStringLiteral("eng");
        for (int i = 1; i <= cards; ++i) {
            auto* card = dynamic_cast<TQVL_Card_Voc*>(unit.Cards->NewCard(tVoc));
            card->foreign1 = QStringLiteral("w%1").arg(i);
            card->home1 = QStringLiteral("W%1").arg(i);
        }
        unit.Save();
        TQVL_Result_Unit& results = Results().GetOrCreateUnit(unit.Uid, path);
        results.longtermstorage = true;
        for (int i = 0; i < cards; ++i) {
            TQVL_Result_Card& card = results.GetOrCreateCard(unit.Cards->Card(i)->Uid);
            card.stage = stage;
            card.lastquery = TQVL_DateTime(TQVL_DateTime::Now().Serial() - daysAgo);
        }
        unit.CloseFile();
        return path;
    }
};

} // namespace

TEST_F(StatisticsCalendarTest, TheYearShadedByAnswersWithTheDaysFiguresAndTheYearsFigures)
{
    AddHistory();
    TFormStatistics* screen = Open();
    ASSERT_NE(screen, nullptr);
    screen->PageControl1->setCurrentIndex(4);
    TChartCalendar& chart = *screen->Chart_Calendar;
    ASSERT_TRUE(chart.isVisible());
    EXPECT_EQ(chart.Calendar().First(), QDate(2023, 3, 15));
    EXPECT_EQ(chart.Calendar().Last(), QDate(2024, 3, 13));
    // 2.11., 11.–13.3.; the query "tomorrow" (a clock set back) is left out.
    EXPECT_EQ(screen->Label_DaysStudied->text(), QStringLiteral("4 von 365 Tagen gelernt"));
    EXPECT_EQ(screen->Label_LongestStreak->text(), QStringLiteral("Längste Serie: 3 Tage in Folge"));
    EXPECT_EQ(screen->Label_CalendarDay->text(),
              QStringLiteral("Mittwoch, 13. März 2024: 10 Vokabeln, 7 richtig, 10 Minuten, 1 Abfrage"));

    // 30 answers on the 12th are the most; 20 on the 11th three quarters, rounded up.
    EXPECT_EQ(shadeOf(chart, indexOf(chart, 3, 12)), Theme::CalendarLevels[3]);
    EXPECT_EQ(shadeOf(chart, indexOf(chart, 3, 11)), Theme::CalendarLevels[2]);
    EXPECT_EQ(shadeOf(chart, indexOf(chart, 3, 13)), Theme::CalendarLevels[1]);
    EXPECT_EQ(shadeOf(chart, indexOf(chart, 3, 10)), Theme::CalendarEmpty);
    // Every day's square lies inside the chart, and is found again under the mouse.
    for (int i = 0; i < int(chart.Calendar().Days.size()); ++i) {
        ASSERT_TRUE(chart.rect().contains(chart.DayRect(i))) << i;
        ASSERT_EQ(chart.IndexAt(chart.DayRect(i).center()), i);
    }

    const int eleventh = indexOf(chart, 3, 11);
    QHelpEvent help(QEvent::ToolTip, chart.DayRect(eleventh).center(),
                    chart.mapToGlobal(chart.DayRect(eleventh).center()));
    QCoreApplication::sendEvent(&chart, &help);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Montag, 11. März 2024: 20 Vokabeln, 20 richtig, 2 Minuten, 1 Abfrage"));

    // What a screen reader reads: a list of the days, named by date, described by figures.
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&chart);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::List);
    EXPECT_FALSE(list->text(QAccessible::Name).isEmpty());
    EXPECT_FALSE(list->text(QAccessible::Description).isEmpty());
    ASSERT_EQ(list->childCount(), 365);
    const int november = chart.Calendar().IndexOf(QDate(2023, 11, 2));
    QAccessibleInterface* day = list->child(november);
    ASSERT_NE(day, nullptr);
    EXPECT_EQ(day->text(QAccessible::Name), QStringLiteral("Donnerstag, 2. November 2023"));
    EXPECT_EQ(day->text(QAccessible::Description), QStringLiteral("10 Vokabeln, 5 richtig, 5 Minuten, 1 Abfrage"));
    EXPECT_EQ(list->indexOfChild(day), november);
    EXPECT_EQ(day->rect().center(), chart.mapToGlobal(chart.DayRect(november).center()));
    EXPECT_EQ(list->focusChild()->text(QAccessible::Name), QStringLiteral("Mittwoch, 13. März 2024"));
    // Pressing a day opens its queries, as Enter does.
    day->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(screen->JournalDay(), QDate(2023, 11, 2));
    EXPECT_EQ(screen->JournalModel->rowCount(), 1);
}

TEST_F(StatisticsCalendarTest, AClickedDayShowsItsQueriesInTheJournalUntilAllAreAskedFor)
{
    AddHistory();
    TQVL_Result_Unit& b = Results().GetOrCreateUnit(QStringLiteral("{B}"), QStringLiteral("/l/Lektion B.qxu"));
    b.AddQuery(180, 8, false, 8, at(3, 12, 19));
    TFormStatistics* screen = Open();
    ASSERT_NE(screen, nullptr);
    screen->PageControl1->setCurrentIndex(4);
    TChartCalendar& chart = *screen->Chart_Calendar;
    QTest::mouseClick(&chart, Qt::LeftButton, {}, chart.DayRect(indexOf(chart, 3, 12)).center());
    EXPECT_EQ(screen->PageControl1->currentIndex(), 3) << "the journal comes to the front";
    EXPECT_EQ(column(*screen, TQVL_Statistics_Journal::colUnit), (QStringList{"Lektion B.qxu", "Lektion A.qxu"}));
    EXPECT_EQ(column(*screen, TQVL_Statistics_Journal::colTime), (QStringList{"19:00:00", "10:00:00"}));
    EXPECT_TRUE(screen->Label_JournalDay->isVisible());
    EXPECT_EQ(screen->Label_JournalDay->text(), QStringLiteral("2 Abfragen am Dienstag, 12. März 2024"));
    EXPECT_TRUE(screen->VST_Journal->hasFocus());

    QTest::mouseClick(screen->Button_JournalAll, Qt::LeftButton);
    EXPECT_EQ(screen->JournalModel->rowCount(), 5);
    EXPECT_FALSE(screen->Label_JournalDay->isVisible());
    EXPECT_FALSE(screen->Button_JournalAll->isVisible());

    // A day without queries shows an empty journal, and says so.
    screen->PageControl1->setCurrentIndex(4);
    QTest::mouseClick(&chart, Qt::LeftButton, {}, chart.DayRect(indexOf(chart, 3, 10)).center());
    EXPECT_EQ(screen->JournalModel->rowCount(), 0);
    EXPECT_EQ(screen->Label_JournalDay->text(), QStringLiteral("0 Abfragen am Sonntag, 10. März 2024"));
}

TEST_F(StatisticsCalendarTest, ArrowKeysMoveBetweenDaysAndEnterOpensTheDay)
{
    AddHistory();
    TFormStatistics* screen = Open();
    ASSERT_NE(screen, nullptr);
    screen->PageControl1->setCurrentIndex(4);
    TChartCalendar& chart = *screen->Chart_Calendar;
    chart.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return chart.hasFocus(); }));
    EXPECT_EQ(chart.CurrentIndex(), indexOf(chart, 3, 13)) << "today first";
    QTest::keyClick(&chart, Qt::Key_Right);
    EXPECT_EQ(chart.CurrentIndex(), indexOf(chart, 3, 13)) << "no day after today";
    QTest::keyClick(&chart, Qt::Key_Left);
    EXPECT_EQ(chart.CurrentIndex(), indexOf(chart, 3, 6)) << "a week back";
    QTest::keyClick(&chart, Qt::Key_Down);
    EXPECT_EQ(chart.CurrentIndex(), indexOf(chart, 3, 7));
    QTest::keyClick(&chart, Qt::Key_Right);
    EXPECT_EQ(chart.CurrentIndex(), indexOf(chart, 3, 13)) << "a week on stops at today";
    QTest::keyClick(&chart, Qt::Key_Up);
    EXPECT_EQ(chart.CurrentIndex(), indexOf(chart, 3, 12));
    EXPECT_EQ(screen->Label_CalendarDay->text(),
              QStringLiteral("Dienstag, 12. März 2024: 30 Vokabeln, 6 richtig, 4 Minuten, 1 Abfrage"));
    QTest::keyClick(&chart, Qt::Key_Home);
    EXPECT_EQ(chart.CurrentIndex(), 0);
    QTest::keyClick(&chart, Qt::Key_Up);
    EXPECT_EQ(chart.CurrentIndex(), 0) << "no day before the first";
    QTest::keyClick(&chart, Qt::Key_End);
    QTest::keyClick(&chart, Qt::Key_Up);
    QTest::keyClick(&chart, Qt::Key_Return);
    EXPECT_EQ(screen->JournalDay(), QDate(2024, 3, 12));
    EXPECT_EQ(screen->PageControl1->currentIndex(), 3);
    EXPECT_EQ(column(*screen, TQVL_Statistics_Journal::colSuccess), (QStringList{"20%"}));
}

TEST_F(StatisticsCalendarTest, TheForecastPerStorageAndAllTogetherIsSavedAsPng)
{
    // Stage 1 (one day), asked two days ago: due now. Stage 2 (three days), asked today: due in three days.
    writeStorage(QStringLiteral("Dänisch"), 2, 1, 2);
    writeStorage(QStringLiteral("Englisch"), 3, 2, 0);
    TFormStatistics* screen = Open();
    ASSERT_NE(screen, nullptr);
    screen->PageControl1->setCurrentIndex(5);
    QComboBox& choice = *screen->Combo_ForecastStorage;
    ASSERT_EQ(choice.count(), 3);
    EXPECT_EQ(choice.itemText(0), QStringLiteral("Alle Langzeitspeicher"));
    QStringList storages{choice.itemText(1), choice.itemText(2)};
    storages.sort();
    EXPECT_EQ(storages, (QStringList{QStringLiteral("Dänisch"), QStringLiteral("Englisch")}));
    std::vector<int> all(30, 0);
    all[0] = 2;
    all[3] = 3;
    EXPECT_EQ(screen->Chart_Forecast->Values(), all);
    EXPECT_EQ(screen->Label_ForecastSum->text(),
              QStringLiteral("Heute fällig: 2, in den nächsten 30 Tagen zusammen: 5"));

    choice.setFocus();
    const int english = choice.findText(QStringLiteral("Englisch"));
    while (choice.currentIndex() != english)
        QTest::keyClick(&choice, Qt::Key_Down);
    std::vector<int> englishDue(30, 0);
    englishDue[3] = 3;
    EXPECT_EQ(screen->Chart_Forecast->Values(), englishDue);
    EXPECT_EQ(screen->Label_ForecastSum->text(),
              QStringLiteral("Heute fällig: 0, in den nächsten 30 Tagen zusammen: 3"));

    // The drawn bars: none today, the fourth bar as tall as the chart.
    const QImage image = screen->ForecastImage();
    const QRect bar = screen->Chart_Forecast->BarRect(3, image.size());
    EXPECT_GT(bar.height(), image.height() / 3);
    EXPECT_EQ(QColor(image.pixel(bar.center())), Theme::ChartBar);
    EXPECT_EQ(screen->Chart_Forecast->BarRect(0, image.size()).height(), 0);
    EXPECT_EQ(screen->Chart_Forecast->DayText(3), QStringLiteral("Samstag, 16. März 2024: 3 Karten fällig"));

    const QString path = folders.Documents() + QStringLiteral("/Vorschau");
    dialogs.FileAnswers.push_back(path);
    QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, QPoint(10, 10),
                                screen->Chart_Forecast->mapToGlobal(QPoint(10, 10)));
    QCoreApplication::sendEvent(screen->Chart_Forecast, &menuEvent);
    ASSERT_TRUE(screen->PopupMenu_Forecast->isVisible());
    choose(*screen->PopupMenu_Forecast, screen->Action_SaveForecast);
    const QImage saved(path + QStringLiteral(".png"));
    ASSERT_FALSE(saved.isNull()) << dialogs.Errors.join('|').toStdString();
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), image);
    EXPECT_EQ(saved.size(), QSize(TFormStatistics::DayChartWidth, TFormStatistics::DayChartHeight));
}
