// The result statistics after a query: figures, rating picture, diagram, and
// the buttons that lead on.
#include "content/QVL_Card_Voc.h"
#include "tests/ui/query/test_QueryFixture.h"
#include "ui/shell/FormDialogMeta.h"
#include "ui/shell/Form_MainMenu.h"
#include "ui/query/Form_QueryResultStatistics.h"
#include "ui/query/Form_QueryResultVoc.h"
#include "ui/query/Form_Query_Voc.h"
#include "ui/exchange/Form_UnitsIntegrate.h"
#include "ui/show/Form_ShowVoc.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <array>

namespace {

using Rating = std::array<int, 3>;

class ResultStatisticsTest : public QueryWindowTest
{
protected:
    TFormQueryVoc* StartVoc()
    {
        OpenUnit(QStringLiteral("Englisch - Grundwortschatz.qxu"));
        Pile({1, 3, 4});
        return Start<TFormQueryVoc>();
    }
    void Answer(TFormQueryVoc& screen, bool right)
    {
        TypeText(*screen.TntEdit1, right ? static_cast<const TQVL_Card_Voc*>(Asked())->home1 : QStringLiteral("xyz"));
        QTest::keyClick(screen.TntEdit1, Qt::Key_Return);
        ASSERT_NE(screen.ResultWindow(), nullptr);
        QTest::mouseClick(screen.ResultWindow()->Button_Ok, Qt::LeftButton);
    }
    TFormQueryResultStatistics* Abort(TFormQueryVoc& screen)
    {
        QTest::mouseClick(screen.Button_Abort, Qt::LeftButton);
        return qobject_cast<TFormQueryResultStatistics*>(Screen());
    }
};

} // namespace

TEST(ResultRating, FollowsTheSuccessRateInThreeParts)
{
    const std::pair<int, Rating> cases[] = {
        {0, {1, 1, 1}},  {9, {1, 1, 1}},  {10, {1, 1, 2}}, {19, {1, 1, 2}},  {20, {1, 2, 2}},
        {29, {1, 2, 2}}, {30, {2, 2, 2}}, {69, {2, 2, 2}}, {70, {3, 2, 2}},  {79, {3, 2, 2}},
        {80, {3, 3, 2}}, {89, {3, 3, 2}}, {90, {3, 3, 3}}, {100, {3, 3, 3}},
    };
    for (const auto& [percent, expected] : cases)
        EXPECT_EQ(TFormQueryResultStatistics::RatingFor(percent, true), expected) << percent;
    EXPECT_EQ(TFormQueryResultStatistics::RatingFor(100, false), (Rating{0, 0, 0}));
}

TEST_F(ResultStatisticsTest, AQueryStoppedBeforeAnyAnswerShowsNothingToRate)
{
    TFormQueryVoc* screen = StartVoc();
    ASSERT_NE(screen, nullptr);
    TFormQueryResultStatistics* statistics = Abort(*screen);
    ASSERT_NE(statistics, nullptr);
    EXPECT_FALSE(Query().IsRunning());
    EXPECT_EQ(statistics->Caption(), QStringLiteral("Das Ergebnis Ihrer Abfrage"));
    EXPECT_EQ(statistics->Label1->text(), QStringLiteral("0"));
    EXPECT_EQ(statistics->Label5->text(), QStringLiteral("0"));
    EXPECT_EQ(statistics->Label2->text(), QStringLiteral("...0 %"));
    EXPECT_EQ(statistics->Label9->text(), QStringLiteral("-/-"));
    EXPECT_EQ(statistics->ShownRating(), (Rating{0, 0, 0}));
    EXPECT_EQ(statistics->Label_Information->text(), QStringLiteral("Das Abfrageerbnis wurden nicht gespeichert.\n"));
    EXPECT_TRUE(statistics->Label_NoResults->isVisibleTo(statistics));
    EXPECT_EQ(statistics->Label_NoResults->text(),
              QStringLiteral("Es liegen keine historischen Abfrageergebnisse vor."));
    EXPECT_FALSE(statistics->Label_GraphSelfEvaluated->isVisibleTo(statistics));
    QTest::mouseClick(statistics->Button_Ok, Qt::LeftButton);
    EXPECT_TRUE(qobject_cast<TFormMainMenu*>(Screen()));
}

TEST_F(ResultStatisticsTest, HalfRightShowsTheRateTheMiddleRatingAndTheStoredQueryInTheDiagram)
{
    Query().Options->onlystoreresultswheallqueried = false;
    TFormQueryVoc* screen = StartVoc();
    ASSERT_NE(screen, nullptr);
    Answer(*screen, true);
    Answer(*screen, false);
    TFormQueryResultStatistics* statistics = Abort(*screen);
    ASSERT_NE(statistics, nullptr);
    EXPECT_EQ(statistics->Label1->text(), QStringLiteral("2"));
    EXPECT_EQ(statistics->Label5->text(), QStringLiteral("1"));
    // German figures although the tests run under LANG=C: the program pins the locale.
    EXPECT_EQ(statistics->Label2->text(), QStringLiteral("...50,00 %"));
    EXPECT_EQ(statistics->ShownRating(), (Rating{2, 2, 2}));
    EXPECT_TRUE(statistics->Label9->text().endsWith(QStringLiteral(" Sek./Ri. Antw.")));
    EXPECT_TRUE(statistics->Label9->text().contains(QLatin1Char('.')));
    EXPECT_TRUE(statistics->Label_Information->text().isEmpty());
    EXPECT_FALSE(statistics->Label_NoResults->isVisibleTo(statistics));
    ASSERT_FALSE(statistics->Image_Diagram->pixmap().isNull());
    const QImage diagram = statistics->Image_Diagram->pixmap().toImage();
    EXPECT_EQ(diagram.pixelColor(TFormQueryResultStatistics::DiagramImageWidth / 2, 20), QColor(0xEE, 0xF2, 0xFC))
        << "the banded background of the diagram";
    EXPECT_TRUE(statistics->dxCheckbox1->isChecked());
    statistics->dxCheckbox1->click();
    EXPECT_FALSE(statistics->Label_NoResults->isVisibleTo(statistics)) << "redrawn spread evenly";

    QTest::mouseClick(statistics->Button_SingleResults, Qt::LeftButton);
    auto* viewer = qobject_cast<TFormShowVoc*>(Screen());
    ASSERT_NE(viewer, nullptr) << "the single results of the lesson";
    EXPECT_EQ(viewer->Caption(), QStringLiteral("Einzelergebnisse der letzten Abfrage"));
    QTest::mouseClick(viewer->Button_Back, Qt::LeftButton);
    EXPECT_TRUE(qobject_cast<TFormMainMenu*>(Screen()));
}

TEST_F(ResultStatisticsTest, SelfEvaluatedStoredQueriesAreNamedUnderTheDiagram)
{
    SetOptions(true);
    Query().Options->onlystoreresultswheallqueried = false;
    TFormQueryVoc* screen = StartVoc();
    ASSERT_NE(screen, nullptr);
    TypeText(*screen->TntEdit1, QStringLiteral("Haus"));
    QTest::keyClick(screen->TntEdit1, Qt::Key_Return);
    ASSERT_NE(screen->ResultWindow(), nullptr);
    QTest::mouseClick(screen->ResultWindow()->Button_Right, Qt::LeftButton);
    TFormQueryResultStatistics* statistics = Abort(*screen);
    ASSERT_NE(statistics, nullptr);
    EXPECT_EQ(statistics->Label_Information->text(),
              QStringLiteral("Diese Abfrage wurde durch den Benutzer selbst bewertet.\n"));
    EXPECT_TRUE(statistics->Label_GraphSelfEvaluated->isVisibleTo(statistics));
    EXPECT_EQ(statistics->Label_GraphSelfEvaluated->text(),
              QStringLiteral("Die Ergebnisse von 1 Abfragen wurde durch Selbstbewertung erzeugt."));
    EXPECT_EQ(statistics->ShownRating(), (Rating{3, 3, 3}));
}

TEST_F(ResultStatisticsTest, TheLongTermStorageButtonOpensTheIntegrationOfVocabularyUnitsOnly)
{
    TFormQueryVoc* screen = StartVoc();
    ASSERT_NE(screen, nullptr);
    TFormQueryResultStatistics* statistics = Abort(*screen);
    ASSERT_NE(statistics, nullptr);
    EXPECT_TRUE(statistics->Button_AddToLongTermStorage->isVisibleTo(statistics));
    EXPECT_EQ(statistics->Button_AddToLongTermStorage->toolTip(),
              QStringLiteral("Vokabeln in den Langzeitspeicher kopieren"));

    bool integrationShown = false;
    QString source, target;
    TFormDialogMeta::TModalRunner previous = TFormDialogMeta::InstallModalRunner([&](QDialog& dialog) {
        if (auto* integrate = qobject_cast<TFormUnitsIntegrate*>(&dialog)) {
            source = integrate->SourceUnit ? integrate->SourceUnit->FileName : QString();
            target = integrate->DestStorage ? integrate->DestStorage->FileName : QString();
            integrationShown = true;
        }
        return 0;
    });
    QTest::mouseClick(statistics->Button_AddToLongTermStorage, Qt::LeftButton);
    TFormDialogMeta::InstallModalRunner(previous);
    ASSERT_TRUE(integrationShown) << dialogs.Errors.join('|').toStdString();
    EXPECT_EQ(source, Unit().FileName);
    EXPECT_TRUE(target.startsWith(folders.Documents() + QStringLiteral("/Storages/"))) << target.toStdString();
    EXPECT_TRUE(QFileInfo::exists(target)) << "the storage of the pair was created";

    window->ShowMainMenu();
    Unit().CloseFile();
    OpenUnit(QStringLiteral("Englisch - Bilder.qxu"));
    Pile({1, 2});
    ASSERT_NE(OpenQueryWindow(*window), nullptr);
    QTest::mouseClick(qobject_cast<TFormQueryMeta*>(Screen())->Button_Abort, Qt::LeftButton);
    statistics = qobject_cast<TFormQueryResultStatistics*>(Screen());
    ASSERT_NE(statistics, nullptr);
    EXPECT_FALSE(statistics->Button_AddToLongTermStorage->isVisibleTo(statistics));
}
