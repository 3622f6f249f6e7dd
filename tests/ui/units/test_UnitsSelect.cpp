#include "app/QVL.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "tests/support/LoggedInCoreTest.h"
#include "tests/support/TestFolders.h"
#include "tests/support/ScriptedDialogService.h"
#include "ui/units/Form_UnitsSelect.h"
#include "ui/units/Frame_Units_List.h"
#include "ui/units/Model_Units.h"
#include "ui/shell/WindowManager.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString vocabularyUnit = QStringLiteral("Englisch - Grundwortschatz.qxu");
const QString vocabularyUid = QStringLiteral("{3C9A7E21-4B5D-4E8F-A1C2-0D9E8F7A6B01}");

// A logged-in core over a fresh installation, with the sample units.
class UnitsCore : public LoggedInCoreTest
{
protected:
    void SetUp() override
    {
        LoggedInCoreTest::SetUp();
        units = folders.Documents() + QStringLiteral("/Lektionen");
    }

    // A copy of the sample vocabulary unit under another name.
    void copyUnit(const QString& path) const
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        ASSERT_TRUE(QFile::copy(units + QLatin1Char('/') + vocabularyUnit, path)) << path.toStdString();
    }

    ScriptedDialogService dialogs;
    QString units;
};

// The screen as the window manager shows it, with hooks that count.
class UnitsSelectTest : public UnitsCore
{
protected:
    void SetUp() override
    {
        UnitsCore::SetUp();
        area.resize(800, 600);
    }
    void TearDown() override
    {
        delete screen.data();
        core.Units->OnFileOpened = nullptr;
        core.Units->OnFileClosed = nullptr;
        UnitsCore::TearDown();
    }

    void showScreen()
    {
        screen = new TFormUnitsSelect(&area, core);
        screen->OnUnitChosen = [this] { ++chosen; };
        screen->OnAbort = [this] { ++aborted; };
        area.show();
        screen->show();
        list = screen->VST1;
        model = static_cast<TModelUnits*>(list->model());
    }

    QStringList names() const
    {
        QStringList shown;
        for (int row = 0; row < model->rowCount(); ++row)
            shown << model->index(row, TModelUnits::colName).data().toString();
        return shown;
    }
    QString cell(const QString& name, int column) const
    {
        const int row = int(names().indexOf(name));
        return row < 0 ? QStringLiteral("<missing>") : model->index(row, column).data().toString();
    }
    QModelIndex indexOf(const QString& name) const { return model->index(int(names().indexOf(name)), 0); }
    void focus(const QString& name) { list->setCurrentIndex(indexOf(name)); }
    void clickHeader(int column)
    {
        QHeaderView* header = list->header();
        const QPoint at(header->sectionViewportPosition(column) + 5, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }
    // Runs the screen's pending release.
    static void processReleases() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    QWidget area;
    QPointer<TFormUnitsSelect> screen;
    QTreeView* list = nullptr;
    TModelUnits* model = nullptr;
    int chosen = 0;
    int aborted = 0;
};

} // namespace

TEST(ModelUnits, ComparesFoldersFirstAndFilesByTheSortColumn)
{
    using R = TModelUnits::TRow;
    auto folder = [](const char* name) { return R{false, QString::fromUtf8(name), {}, 0, {}, 0}; };
    auto file = [](const char* name, int cards, double date, int success) {
        return R{true, QString::fromUtf8(name), {}, cards, TQVL_DateTime(date), success};
    };
    const auto asc = Qt::AscendingOrder;
    const auto desc = Qt::DescendingOrder;
    struct Case
    {
        R a, b;
        int column;
        Qt::SortOrder order;
        int expected;
    } cases[] = {
        // A folder before a file, the result inverted for a descending list (which reverses it again).
        {folder("z"), file("a", 0, 0, 0), 0, asc, -1},
        {folder("z"), file("a", 0, 0, 0), 0, desc, 1},
        {file("a", 0, 0, 0), folder("z"), 3, asc, 1},
        // Folders by upper-cased name, inverted when descending.
        {folder("alt"), folder("Bilder"), 2, asc, -1},
        {folder("alt"), folder("Bilder"), 2, desc, 1},
        {folder("Ärger"), folder("Zoo"), 0, asc, 1}, // character codes, not a dictionary
        {folder("abc"), folder("ABC"), 0, asc, 0},
        // Files by the column, never inverted.
        {file("b", 1, 0, 0), file("A", 9, 0, 0), 0, asc, 1},
        {file("b", 1, 0, 0), file("A", 9, 0, 0), 0, desc, 1},
        {file("b", 1, 0, 0), file("A", 9, 0, 0), 1, desc, -1},
        {file("a", 0, 0, 20), file("b", 0, 0, 10), 3, asc, 1},
        // Dates by the difference rounded to whole days, halves to even.
        {file("a", 0, 100.4, 0), file("b", 0, 100.0, 0), 2, asc, 0},
        {file("a", 0, 100.5, 0), file("b", 0, 100.0, 0), 2, asc, 0},
        {file("a", 0, 101.5, 0), file("b", 0, 100.0, 0), 2, asc, 1},
        {file("a", 0, 0, 0), file("b", 0, 45000.0, 0), 2, asc, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TModelUnits::Compare(c.a, c.b, c.column, c.order), c.expected)
            << c.a.Name.toStdString() << " / " << c.b.Name.toStdString() << " column " << c.column
            << (c.order == desc ? " desc" : " asc");
}

TEST_F(UnitsSelectTest, ListsTheUnitsFolderWithFoldersOnTopAndTheUsersFigures)
{
    TQVL_Result_Unit& results = core.Users->GetActiveUser().Results().GetOrCreateUnit(vocabularyUid);
    results.lastquerydate = TQVL_DateTime::FromParts(2024, 3, 5, 14, 30, 0);
    results.last_queried = 8;
    results.last_right = 6;
    QDir().mkpath(units + QStringLiteral("/Archiv"));
    copyUnit(units + QStringLiteral("/Archiv/Alt.qxu"));
    WriteFile(units + QStringLiteral("/Notizen.txt"), "no unit");
    showScreen();
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::Fatal);

    EXPECT_EQ(names(),
              (QStringList{QStringLiteral("Archiv"), QStringLiteral("Bilder"), QStringLiteral("Sounds"),
                           QStringLiteral("Englisch - Aussprache.qxu"), QStringLiteral("Englisch - Bilder.qxu"),
                           vocabularyUnit, QStringLiteral("Englisch - Unregelmäßige Verben.qxu")}));
    EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Letzte Abfrage"));
    EXPECT_EQ(cell(vocabularyUnit, TModelUnits::colCards), QStringLiteral("67"));
    EXPECT_EQ(cell(vocabularyUnit, TModelUnits::colLastQuery), QStringLiteral("05.03.2024 14:30:00"));
    EXPECT_EQ(cell(vocabularyUnit, TModelUnits::colSuccess), QStringLiteral("75%"));
    // Never queried: no date and no success; folders show their name only.
    EXPECT_EQ(cell(QStringLiteral("Englisch - Bilder.qxu"), TModelUnits::colCards), QStringLiteral("18"));
    EXPECT_EQ(cell(QStringLiteral("Englisch - Bilder.qxu"), TModelUnits::colLastQuery), QString());
    EXPECT_EQ(cell(QStringLiteral("Englisch - Bilder.qxu"), TModelUnits::colSuccess), QString());
    EXPECT_EQ(cell(QStringLiteral("Archiv"), TModelUnits::colCards), QString());
    EXPECT_FALSE(model->index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());

    EXPECT_EQ(area.focusWidget(), list);
    EXPECT_TRUE(screen->Button_DirUp->isHidden()) << "the units folder has no parent";
    EXPECT_FALSE(screen->Button_Select->isEnabled()) << "a folder is focused";
    EXPECT_EQ(screen->OpenDialogFolder(), units + QLatin1Char('/'));
}

TEST_F(UnitsSelectTest, HeaderClicksSortTheUnitsBothWaysWhileFoldersStayOnTopInNameOrder)
{
    QDir().mkpath(units + QStringLiteral("/Archiv"));
    copyUnit(units + QStringLiteral("/Adjektive.qxu"));
    WriteFile(units + QStringLiteral("/Zahlen.qxu"), "<?xml version=\"1.0\"?><root><version>1</version><header>"
                                                     "<uid>{X}</uid><cardcount>3</cardcount></header></root>");
    showScreen();
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    const QStringList folderNames{QStringLiteral("Archiv"), QStringLiteral("Bilder"), QStringLiteral("Sounds")};
    const QStringList unitsAToZ{QStringLiteral("Adjektive.qxu"),
                                QStringLiteral("Englisch - Aussprache.qxu"),
                                QStringLiteral("Englisch - Bilder.qxu"),
                                vocabularyUnit,
                                QStringLiteral("Englisch - Unregelmäßige Verben.qxu"),
                                QStringLiteral("Zahlen.qxu")};
    QStringList unitsZToA = unitsAToZ;
    std::reverse(unitsZToA.begin(), unitsZToA.end());
    focus(vocabularyUnit);

    clickHeader(TModelUnits::colName);
    EXPECT_EQ(names(), folderNames + unitsZToA);
    EXPECT_EQ(list->header()->sortIndicatorOrder(), Qt::DescendingOrder);
    EXPECT_EQ(list->currentIndex().data().toString(), vocabularyUnit) << "the focus moves with its row";
    clickHeader(TModelUnits::colName);
    EXPECT_EQ(names(), folderNames + unitsAToZ);

    // Another column keeps the direction: cards 3, 12, 18, 34, 67, 67 ascending (equal counts keep their order).
    clickHeader(TModelUnits::colCards);
    EXPECT_EQ(screen->SortColumn(), TModelUnits::colCards);
    EXPECT_EQ(screen->SortOrder(), Qt::AscendingOrder);
    EXPECT_EQ(names().mid(3), (QStringList{QStringLiteral("Zahlen.qxu"), QStringLiteral("Englisch - Aussprache.qxu"),
                                           QStringLiteral("Englisch - Bilder.qxu"),
                                           QStringLiteral("Englisch - Unregelmäßige Verben.qxu"),
                                           QStringLiteral("Adjektive.qxu"), vocabularyUnit}));
    clickHeader(TModelUnits::colCards);
    EXPECT_EQ(names().first(3), folderNames);
    EXPECT_EQ(names().at(3), QStringLiteral("Adjektive.qxu")) << "equal counts keep their order when descending";
    EXPECT_EQ(names().last(), QStringLiteral("Zahlen.qxu"));

    // A folder always starts in name order, whatever the header shows.
    focus(QStringLiteral("Archiv"));
    QTest::keyClick(list, Qt::Key_Return);
    QTest::mouseClick(screen->Button_DirUp, Qt::LeftButton);
    EXPECT_EQ(names(), folderNames + unitsAToZ);
    EXPECT_EQ(list->header()->sortIndicatorSection(), TModelUnits::colCards);
}

TEST_F(UnitsSelectTest, TypingTheBeginningOfANameFocusesTheFirstMatchingRow)
{
    showScreen();
    focus(QStringLiteral("Bilder"));
    QTest::keyClicks(list, QStringLiteral("englisch - g"));
    EXPECT_EQ(list->currentIndex().siblingAtColumn(0).data().toString(), vocabularyUnit);
    EXPECT_TRUE(screen->Button_Select->isEnabled()) << "a unit has the focus";

    // Whatever cell was clicked, the names are searched.
    focus(QStringLiteral("Englisch - Aussprache.qxu"));
    list->setCurrentIndex(list->currentIndex().siblingAtColumn(TModelUnits::colCards));
    QTest::qWait(QApplication::keyboardInputInterval() + 50);
    QTest::keyClicks(list, QStringLiteral("so"));
    EXPECT_EQ(list->currentIndex().siblingAtColumn(0).data().toString(), QStringLiteral("Sounds"));
    EXPECT_FALSE(screen->Button_Select->isEnabled()) << "a folder has the focus";
}

TEST_F(UnitsSelectTest, EnterAndTheFolderUpButtonBrowseTheFolders)
{
    copyUnit(units + QStringLiteral("/Archiv/2023/Alt.qxu"));
    showScreen();
    focus(QStringLiteral("Archiv"));
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(names(), QStringList{QStringLiteral("2023")});
    EXPECT_TRUE(screen->Button_DirUp->isVisibleTo(screen));
    EXPECT_EQ(screen->OpenDialogFolder(), units + QStringLiteral("/Archiv/"));

    // A real double-click: the first click presses the row, the second comes as a double-click.
    const QPoint secondCell = list->visualRect(model->index(0, 1)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, secondCell);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, secondCell);
    EXPECT_EQ(names(), QStringList{QStringLiteral("Alt.qxu")});
    EXPECT_EQ(screen->CurrentFolder(), units + QStringLiteral("/Archiv/2023"));

    QTest::mouseClick(screen->Button_DirUp, Qt::LeftButton);
    QTest::mouseClick(screen->Button_DirUp, Qt::LeftButton);
    EXPECT_TRUE(names().contains(vocabularyUnit));
    EXPECT_TRUE(screen->Button_DirUp->isHidden());
    EXPECT_EQ(chosen, 0);
}

TEST_F(UnitsSelectTest, EnterWorksAtOnceOnTheFirstRowOfEachFolder)
{
    copyUnit(units + QStringLiteral("/Archiv/2023/Alt.qxu"));
    showScreen();
    ASSERT_EQ(names().first(), QStringLiteral("Archiv"));
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(names(), QStringList{QStringLiteral("2023")}) << "Enter entered the first folder";
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(names(), QStringList{QStringLiteral("Alt.qxu")});
    EXPECT_TRUE(screen->Button_Select->isEnabled()) << "the unit in the folder has the focus";
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(chosen, 1);
    EXPECT_EQ(core.Units->GetActiveUnit().FileName, units + QStringLiteral("/Archiv/2023/Alt.qxu"));
}

TEST_F(UnitsSelectTest, ChoosingTheVocabularyLessonOpensItAndEndsTheScreen)
{
    showScreen();
    list->setCurrentIndex(indexOf(QStringLiteral("Bilder")));
    EXPECT_FALSE(screen->Button_Select->isEnabled());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(indexOf(vocabularyUnit)).center());
    ASSERT_TRUE(screen->Button_Select->isEnabled());

    int opened = 0;
    core.Units->OnFileOpened = [&] { ++opened; };
    QTest::mouseClick(screen->Button_Select, Qt::LeftButton);

    TQVL_Unit& unit = core.Units->GetActiveUnit();
    EXPECT_TRUE(unit.IsOpen);
    EXPECT_EQ(unit.FileName, units + QLatin1Char('/') + vocabularyUnit);
    EXPECT_EQ(unit.Typ, tVoc);
    EXPECT_EQ(unit.Cards->Count(), 67);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(chosen, 1);
    EXPECT_EQ(model->rowCount(), 0);
    EXPECT_FALSE(screen->Button_Select->isEnabled());
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
    processReleases();
    EXPECT_TRUE(screen.isNull()) << "the screen ends itself";
}

TEST_F(UnitsSelectTest, ChoosingAnotherUnitClosesTheActiveOneFirst)
{
    core.Units->GetActiveUnit().Open(units + QStringLiteral("/Englisch - Bilder.qxu"));
    QStringList events;
    core.Units->OnFileClosed = [&] { events << QStringLiteral("closed"); };
    core.Units->OnFileOpened = [&] { events << QStringLiteral("opened ") + core.Units->GetActiveUnit().FileName; };
    showScreen();
    focus(vocabularyUnit);
    QTest::keyClick(list, Qt::Key_Enter);
    EXPECT_EQ(events, (QStringList{QStringLiteral("closed"),
                                   QStringLiteral("opened ") + units + QLatin1Char('/') + vocabularyUnit}));
}

TEST_F(UnitsSelectTest, TheListStaysSafeWhenTheMainWindowClearsTheProviderOnOpen)
{
    showScreen();
    // As the main window does: clear the unit list, then show a message whose event loop repaints the screen.
    core.Units->OnFileOpened = [&] {
        core.Units->Provider().Clear();
        screen->grab();
    };
    focus(vocabularyUnit);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_TRUE(core.Units->GetActiveUnit().IsOpen);
    EXPECT_EQ(chosen, 1);
}

TEST_F(UnitsSelectTest, RowsAreFoundByTheirPathsAfterARescanBetweenShowingAndChoosing)
{
    copyUnit(units + QStringLiteral("/Archiv/2023/Alt.qxu"));
    copyUnit(units + QStringLiteral("/Archiv/Neu.qxu"));
    core.Units->GetActiveUnit().Open(units + QStringLiteral("/Englisch - Bilder.qxu"));
    showScreen();
    // Another screen reads the units folder again while the list shows the first scan.
    const auto rescan = [this] {
        core.Units->Provider().Clear();
        core.Units->Provider().Scan(TFrameUnitsList::UnitsFolder(core));
    };
    rescan();
    focus(QStringLiteral("Archiv"));
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(names(), (QStringList{QStringLiteral("2023"), QStringLiteral("Neu.qxu")}));
    EXPECT_EQ(screen->CurrentFolder(), units + QStringLiteral("/Archiv"));

    // A unit deleted since the list was read is reported; the active unit stays open.
    rescan();
    ASSERT_TRUE(QFile::remove(units + QStringLiteral("/Archiv/Neu.qxu")));
    focus(QStringLiteral("Neu.qxu"));
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(dialogs.Errors, QStringList{QStringLiteral("Datei \"%1/Archiv/Neu.qxu\" nicht gefunden!").arg(units)});
    EXPECT_TRUE(core.Units->GetActiveUnit().IsOpen);
    EXPECT_EQ(chosen, 0);

    // Up from the folder the list shows, also when the provider was emptied meanwhile.
    focus(QStringLiteral("2023"));
    QTest::keyClick(list, Qt::Key_Return);
    core.Units->Provider().Clear();
    QTest::mouseClick(screen->Button_DirUp, Qt::LeftButton);
    EXPECT_EQ(screen->CurrentFolder(), units + QStringLiteral("/Archiv"));
    EXPECT_EQ(names(), QStringList{QStringLiteral("2023")});
}

TEST_F(UnitsSelectTest, AUnitThatFailsToOpenIsReportedAndTheScreenStays)
{
    core.Units->GetActiveUnit().Open(units + QStringLiteral("/Englisch - Bilder.qxu"));
    WriteFile(units + QStringLiteral("/Kaputt.qxu"), "<?xml version=\"1.0\"?><root><version>1</version></root>");
    showScreen();
    focus(QStringLiteral("Kaputt.qxu"));
    QTest::mouseClick(screen->Button_Select, Qt::LeftButton);

    ASSERT_EQ(dialogs.Errors.size(), 1);
    EXPECT_EQ(dialogs.Errors.first(),
              QStringLiteral("Die Datei \"%1/Kaputt.qxu\" ist keine gültige Lektionsdatei!").arg(units));
    EXPECT_FALSE(core.Units->GetActiveUnit().IsOpen) << "the previous unit was closed";
    EXPECT_EQ(chosen, 0);
    EXPECT_TRUE(names().contains(vocabularyUnit));
    EXPECT_TRUE(screen->Button_Select->isEnabled());
    processReleases();
    EXPECT_FALSE(screen.isNull());
}

TEST_F(UnitsSelectTest, TheFileButtonOpensAUnitFromOutsideTheUnitsFolder)
{
    const QString outside = folders.Root() + QStringLiteral("/Anderswo/Fremd.qxu");
    copyUnit(outside);
    showScreen();
    dialogs.FileAnswers = {QString()};
    QTest::mouseClick(screen->SpeedButton1, Qt::LeftButton);
    EXPECT_FALSE(core.Units->GetActiveUnit().IsOpen) << "cancelled";

    dialogs.FileAnswers = {outside};
    QTest::mouseClick(screen->SpeedButton1, Qt::LeftButton);
    EXPECT_TRUE(core.Units->GetActiveUnit().IsOpen);
    EXPECT_EQ(core.Units->GetActiveUnit().FileName, outside);
    EXPECT_FALSE(core.Units->GetActiveUnit().WriteAccess);
    EXPECT_EQ(chosen, 1);
}

TEST_F(UnitsSelectTest, AnEmptyOwnUnitsFolderOfTheUserShowsAnEmptyList)
{
    const QString own = folders.Root() + QStringLiteral("/Eigene Lektionen");
    QDir().mkpath(own);
    core.Users->GetActiveUser().units_directory = own;
    showScreen();
    EXPECT_EQ(model->rowCount(), 0);
    EXPECT_EQ(screen->CurrentFolder(), own);
    EXPECT_FALSE(screen->Button_Select->isEnabled());
    EXPECT_TRUE(screen->Button_DirUp->isHidden());
    QTest::keyClick(list, Qt::Key_Return);
    QTest::mouseClick(screen->Button_Select, Qt::LeftButton);
    EXPECT_FALSE(core.Units->GetActiveUnit().IsOpen);
    EXPECT_TRUE(dialogs.Errors.isEmpty());
}

TEST_F(UnitsSelectTest, AbortSwitchesAwayAndTheSwitchReleasesTheList)
{
    TWindowManager manager(&area, &core);
    area.show();
    screen = manager.SwitchWindow<TFormUnitsSelect>();
    screen->OnAbort = [&] { manager.SwitchWindow([](QWidget* parent) { return new TFormMeta(parent); }); };
    ASSERT_GT(core.Units->Provider().Items.size(), 0u);
    QTest::mouseClick(screen->Button_Abort, Qt::LeftButton);
    EXPECT_NE(manager.CurrentWindow(), screen.data());
    EXPECT_TRUE(core.Units->Provider().Items.empty());
    EXPECT_EQ(static_cast<TModelUnits*>(screen->VST1->model())->rowCount(), 0);
    EXPECT_FALSE(core.Units->GetActiveUnit().IsOpen);
}

// The folder tree of the import dialog.
class FrameUnitsListTest : public UnitsCore
{
protected:
    QStringList topFolders() const
    {
        QStringList shown;
        const QTreeWidgetItem* top = frame.VST_UnitsList->topLevelItem(0);
        for (int i = 0; top && i < top->childCount(); ++i)
            shown << top->child(i)->text(0);
        shown.sort();
        return shown;
    }

    TFrameUnitsList frame{core};
};

TEST_F(FrameUnitsListTest, ShowsTheFoldersOnlyAndKeepsTheFocusedFolderOverARefresh)
{
    copyUnit(units + QStringLiteral("/Archiv/2023/Alt.qxu"));
    frame.Refresh();
    ASSERT_EQ(frame.VST_UnitsList->topLevelItemCount(), 1);
    EXPECT_EQ(frame.VST_UnitsList->topLevelItem(0)->text(0), QStringLiteral("Lektionen"));
    EXPECT_EQ(topFolders(),
              (QStringList{QStringLiteral("Archiv"), QStringLiteral("Bilder"), QStringLiteral("Sounds")}));
    EXPECT_EQ(frame.SelectedFolder(), QString());

    ASSERT_TRUE(frame.SelectFolder(units + QStringLiteral("/Archiv/2023")));
    QDir().mkpath(units + QStringLiteral("/Zusatz"));
    frame.Refresh();
    EXPECT_EQ(frame.SelectedFolder(), units + QStringLiteral("/Archiv/2023"));
    EXPECT_TRUE(frame.VST_UnitsList->currentItem()->isSelected());
    EXPECT_TRUE(topFolders().contains(QStringLiteral("Zusatz")));
}

TEST_F(FrameUnitsListTest, NewFolderChecksTheNameAndNeverOverwrites)
{
    frame.Refresh();
    struct Case
    {
        bool select;
        QString answer; // null: cancelled
        QString error;
    } cases[] = {
        {false, QStringLiteral("Neu"), QStringLiteral("Wählen Sie zunächst ein Verzeichnis")},
        {true, QString(), QString()},
        {true, QStringLiteral(""), QStringLiteral("Die gewählte Bezeichnung ist nicht gültig!")},
        {true, QStringLiteral("a/b"), QStringLiteral("Die gewählte Bezeichnung ist nicht gültig!")},
        {true, QStringLiteral(".."), QStringLiteral("Die gewählte Bezeichnung ist nicht gültig!")},
        {true, QStringLiteral("Bilder"),
         QStringLiteral("Neue Lektion \"%1/Bilder\" besteht bereits! Überschreiben? Alle bisherigen Inhalte werden "
                        "gelöscht!")
             .arg(units)},
        {true, vocabularyUnit,
         QStringLiteral("Neue Lektion \"%1/%2\" besteht bereits! Überschreiben? Alle bisherigen Inhalte werden "
                        "gelöscht!")
             .arg(units, vocabularyUnit)},
    };
    const QStringList before = QDir(units).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    for (const Case& c : cases) {
        frame.VST_UnitsList->setCurrentItem(c.select ? frame.VST_UnitsList->topLevelItem(0) : nullptr);
        dialogs.Errors.clear();
        dialogs.InputAnswers = {c.answer};
        QTest::mouseClick(frame.Button_NewDirectory, Qt::LeftButton);
        EXPECT_EQ(dialogs.Errors, c.error.isEmpty() ? QStringList() : QStringList{c.error}) << c.answer.toStdString();
    }
    EXPECT_EQ(QDir(units).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    EXPECT_TRUE(QFileInfo(units + QStringLiteral("/Bilder/Haus.png")).exists()) << "nothing overwritten";

    dialogs.Questions.clear();
    dialogs.InputAnswers = {QStringLiteral("Neu")};
    frame.SelectFolder(units);
    QTest::mouseClick(frame.Button_NewDirectory, Qt::LeftButton);
    EXPECT_EQ(dialogs.Questions, QStringList{QStringLiteral("Bezeichnung:")});
    EXPECT_TRUE(QFileInfo(units + QStringLiteral("/Neu")).isDir());
    EXPECT_TRUE(topFolders().contains(QStringLiteral("Neu")));
    EXPECT_EQ(frame.SelectedFolder(), units);
}
