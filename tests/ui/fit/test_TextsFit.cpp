#include "app/QVL.h"
#include "content/QVL_Unit.h"
#include "query/QVL_Query.h"
#include "query/QVL_Query_Timer_Manual.h"
#include "tests/support/ScriptedDialogService.h"
#include "tests/support/TestFolders.h"
#include "tests/ui/fit/ScreenWalk.h"
#include "tests/ui/fit/TextFit.h"
#include "ui/help/Form_Help.h"
#include "ui/help/HelpService.h"
#include "ui/query/Form_QueryMeta.h"
#include "core/QVL_DateTime.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "ui/shell/FormDataModule.h"
#include "ui/shell/Frame_Messages.h"
#include "ui/shell/Main.h"
#include "users/QVL_User.h"
#include "users/QVL_User_Rights.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <memory>

namespace {

std::string misfitText(const QList<TextMisfit>& misfits)
{
    QStringList lines;
    for (const TextMisfit& misfit : misfits)
        lines << misfit.Control + QStringLiteral(" \"") + misfit.Text + QStringLiteral("\": ") + misfit.Problem;
    return lines.join(QLatin1Char('\n')).toStdString();
}

// A small window with one fault (or none); `expected` names the controls the check must report.
struct FitCase
{
    const char* name;
    std::function<void(QWidget& window)> build;
    QStringList expected;
};

void PrintTo(const FitCase& fitCase, std::ostream* out)
{
    *out << fitCase.name;
}

void squeezedLabel(QWidget& window)
{
    auto* label = new QLabel(QStringLiteral("Alle Bedeutungen müssen angegeben werden"), &window);
    label->setObjectName(QStringLiteral("Label_Cut"));
    label->setGeometry(10, 10, 60, 20);
}

void squeezedRadios(QWidget& window)
{
    window.setFixedWidth(200);
    auto* row = new QHBoxLayout(&window);
    for (const char* name : {"CheckFH", "CheckHF"}) {
        auto* radio = new QRadioButton(QStringLiteral("Fremdsprache -> Deutsch"), &window);
        radio->setObjectName(QLatin1String(name));
        radio->setMaximumWidth(90);
        row->addWidget(radio);
    }
}

void lowWrappedLabel(QWidget& window)
{
    auto* label = new QLabel(QStringLiteral("Die Sprachen der Lektion und des Langzeitspeichers stimmen nicht "
                                            "überein. Trotzdem integrieren?"),
                             &window);
    label->setObjectName(QStringLiteral("Label_Message"));
    label->setWordWrap(true);
    label->setGeometry(10, 10, 150, 18);
}

void narrowButton(QWidget& window)
{
    auto* button = new QPushButton(QStringLiteral("Langzeitspeicher anlegen"), &window);
    button->setObjectName(QStringLiteral("Button_New"));
    button->setGeometry(10, 10, 70, 26);
}

void coveredButton(QWidget& window)
{
    auto* button = new QPushButton(QStringLiteral("Abbruch"), &window);
    button->setObjectName(QStringLiteral("Button_Abort"));
    button->setGeometry(100, 100, 100, 30);
    auto* verdict = new QFrame(&window);
    verdict->setObjectName(QStringLiteral("Frame_Verdict"));
    verdict->setGeometry(20, 20, 200, 100);
}

void cutByParent(QWidget& window)
{
    auto* panel = new QWidget(&window);
    panel->setObjectName(QStringLiteral("Panel_Small"));
    panel->setGeometry(0, 0, 100, 40);
    auto* label = new QLabel(QStringLiteral("Übungsphasen:"), panel);
    label->setObjectName(QStringLiteral("Label_Sessions"));
    label->adjustSize();
    label->move(10, 30);
}

void narrowColumn(QWidget& window)
{
    auto* model = new QStandardItemModel(1, 3, &window);
    model->setHorizontalHeaderLabels({QStringLiteral("Lektion"), QStringLiteral("Letzte Abfrage"), QStringLiteral("%")});
    model->setItem(0, 0, new QStandardItem(QStringLiteral("Englisch - Grundwortschatz")));
    model->setItem(0, 1, new QStandardItem(QStringLiteral("10.12.2026 14:11:46")));
    model->setItem(0, 2, new QStandardItem(QStringLiteral("50")));
    auto* list = new QTreeView(&window);
    list->setObjectName(QStringLiteral("VST1"));
    list->setModel(model);
    list->setGeometry(0, 0, 400, 150);
    list->setColumnWidth(0, 250);
    list->setColumnWidth(1, 60);
}

void narrowTabs(QWidget& window)
{
    auto* tabs = new QTabWidget(&window);
    tabs->setObjectName(QStringLiteral("Tabs"));
    tabs->addTab(new QWidget, QStringLiteral("Allgemeine Einstellungen"));
    tabs->addTab(new QWidget, QStringLiteral("Benutzerrechte"));
    tabs->setGeometry(0, 0, 120, 100);
}

void wellLaidOut(QWidget& window)
{
    auto* column = new QVBoxLayout(&window);
    auto* label = new QLabel(QStringLiteral("Bewertung bei mehreren Bedeutungen:"), &window);
    auto* note = new QLabel(QStringLiteral("Die Sprachen der Lektion und des Langzeitspeichers stimmen nicht "
                                           "überein. Trotzdem integrieren?"),
                            &window);
    note->setWordWrap(true);
    column->addWidget(label);
    column->addWidget(note);
    column->addWidget(new QRadioButton(QStringLiteral("Alle Bedeutungen müssen angegeben werden"), &window));
    column->addWidget(new QPushButton(QStringLiteral("Langzeitspeicher anlegen"), &window));
    auto* tabs = new QTabWidget(&window);
    tabs->addTab(new QLabel(QStringLiteral("Erste Seite")), QStringLiteral("Allgemein"));
    tabs->addTab(new QLabel(QStringLiteral("Zweite Seite mit längerem Text")), QStringLiteral("Rechte"));
    column->addWidget(tabs);
}

class TextFitCheck : public ::testing::TestWithParam<FitCase>
{
};

TEST_P(TextFitCheck, ReportsExactlyTheControlsThatCannotShowTheirText)
{
    QWidget window;
    window.resize(420, 300);
    GetParam().build(window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QApplication::processEvents();

    const QList<TextMisfit> misfits = FindTextMisfits(&window);
    QStringList reported;
    for (const TextMisfit& misfit : misfits)
        reported << misfit.Control.section(QLatin1Char(' '), 0, 0);
    reported.removeDuplicates();
    reported.sort();
    QStringList expected = GetParam().expected;
    expected.sort();
    EXPECT_EQ(reported.join(QLatin1Char(',')).toStdString(), expected.join(QLatin1Char(',')).toStdString())
        << misfitText(misfits);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, TextFitCheck,
    ::testing::Values(FitCase{"SqueezedLabel", squeezedLabel, {QStringLiteral("Label_Cut")}},
                      FitCase{"SqueezedRadios", squeezedRadios, {QStringLiteral("CheckFH"), QStringLiteral("CheckHF")}},
                      FitCase{"LowWrappedLabel", lowWrappedLabel, {QStringLiteral("Label_Message")}},
                      FitCase{"NarrowButton", narrowButton, {QStringLiteral("Button_New")}},
                      FitCase{"CoveredButton", coveredButton, {QStringLiteral("Button_Abort")}},
                      FitCase{"CutByParent", cutByParent, {QStringLiteral("Label_Sessions")}},
                      FitCase{"NarrowColumn", narrowColumn, {QStringLiteral("QHeaderView"), QStringLiteral("VST1")}},
                      FitCase{"NarrowTabs", narrowTabs, {QStringLiteral("qt_tabwidget_tabbar")}},
                      FitCase{"WellLaidOut", wellLaidOut, {}}),
    [](const ::testing::TestParamInfo<FitCase>& param) { return std::string(param.param.name); });

TEST(TextFitNames, NamesTheColumnHeaderAndTheCellThatAreCut)
{
    QWidget window;
    window.resize(420, 300);
    narrowColumn(window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QStringList texts;
    for (const TextMisfit& misfit : FindTextMisfits(&window))
        texts << misfit.Text;
    texts.sort();
    EXPECT_EQ(texts.join(QLatin1Char('|')).toStdString(), "10.12.2026 14:11:46|Letzte Abfrage");
}

// The program as a learner meets it: the started main window over a fresh
// installation, at its own size, with the sample learner.
class TextsFit : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("SDL_AUDIODRIVER", "dummy");
        previousPlayer = TFormQueryMeta::InstallSoundPlayer([](const QString&) {});
        window = std::make_unique<TMainForm>();
        window->show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->StartedUp(); }, 10000));
        // The walk opens the update dialog and the community page: never a real address.
        window->Core().Options->community_url = QStringLiteral("http://127.0.0.1:9/");
        WriteFile(folders.AppData() + QStringLiteral("/Data/Update.xml"),
                  "<root><version>1</version><link_getversioninfo>http://127.0.0.1:9/v</link_getversioninfo>"
                  "<updatenextstart>false</updatenextstart></root>");
        const QDir lessons(folders.Documents() + QStringLiteral("/Lektionen"));
        for (const QString& name : lessons.entryList({QStringLiteral("*.qxu")}, QDir::Files, QDir::Name))
            Units << lessons.filePath(name);
        ASSERT_FALSE(Units.isEmpty());
        giveHistory();
    }
    void TearDown() override
    {
        if (TFormHelp* help = THelpService::Window()) {
            EXPECT_TRUE(QTest::qWaitFor([help] { return !help->IsIndexing(); }, 30000));
            QTest::qWait(300);
        }
        if (window)
            window->close();
        window.reset();
        TFormQueryMeta::InstallSoundPlayer(previousPlayer);
    }

    // Logged in with all rights or none, `unit` open (none when empty), query steps without running clocks.
    void situation(const QString& unit, bool rights)
    {
        TQVL& core = window->Core();
        if (!core.Users->HasActiveUser())
            core.Users->GetActiveUser().Open(folders.Documents() + QStringLiteral("/Benutzer/Lernender.qxs"));
        core.Users->GetActiveUser().Rights().SetAll(rights);
        TQVL_Unit& open = core.Units->GetActiveUnit();
        if (open.IsOpen && open.FileName != unit)
            open.CloseFile();
        if (!unit.isEmpty() && !open.IsOpen)
            open.Open(unit);
        core.Query->TimerFactory = timers.Factory();
        // A message waits in the list, as due cards announce themselves.
        if (window->MessageFrame()->Count() == 0)
            window->MessageFrame()->AddMessage(0, QStringLiteral("12 Vokabeln abzufragen"),
                                              window->DataModule().Action_LongTermStorages);
    }

    // A learner who has queried every unit before, so that the lists show dates and figures.
    void giveHistory()
    {
        TQVL& core = window->Core();
        core.Users->GetActiveUser().Open(folders.Documents() + QStringLiteral("/Benutzer/Lernender.qxs"));
        for (const QString& path : std::as_const(Units)) {
            TQVL_Unit& unit = core.Units->GetActiveUnit();
            unit.Open(path);
            TQVL_Result_Unit& results = core.Users->GetActiveUser().Results().GetOrCreateUnit(unit.Uid, path);
            results.lastquerydate = TQVL_DateTime::FromParts(2026, 12, 8, 18, 45, 30);
            results.last_queried = 12;
            results.last_right = 9;
            unit.CloseFile();
        }
    }

    TestFolders folders;
    ScriptedDialogService dialogs;
    QStringList Units;
    TQVL_Query_Timer_Manual timers;
    std::unique_ptr<TMainForm> window;
    TFormQueryMeta::TSoundPlayer previousPlayer;
};

TEST_F(TextsFit, EveryScreenDialogAndWindowShowsItsTextsWhole)
{
    ScreenWalk::Record record;
    // QUORVEL_FIT_PICTURES=<folder> keeps a picture of every sight, for a person to look at.
    record.PictureFolder = qEnvironmentVariable("QUORVEL_FIT_PICTURES");
    record.PicturePrefix = QStringLiteral("scale%1-").arg(qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")));

    // Every situation a screen looks different in: no unit, each installed
    // sample unit (every card kind), and a learner without rights.
    const QStringList units = QStringList{QString()} + Units;
    for (const QString& unit : units) {
        ScreenWalk walk(*window, [&] { situation(unit, true); });
        walk.Into = &record;
        walk.Walk();
    }
    {
        ScreenWalk walk(*window, [&] { situation(units.at(1), false); });
        walk.Into = &record;
        walk.Walk();
        situation(units.at(1), true);
    }

    for (const ScreenWalk::Found& found : std::as_const(record.Misfits))
        ADD_FAILURE() << found.Misfit.Owner.toStdString() << " (seen on " << found.Sight.toStdString()
                      << "): " << found.Misfit.Control.toStdString() << " \"" << found.Misfit.Text.toStdString()
                      << "\" " << found.Misfit.Problem.toStdString();

    // A screen reader announces every control of every sight with a name and a description.
    for (const QString& missing : std::as_const(record.Unnamed))
        ADD_FAILURE() << "unnamed: " << missing.toStdString();

    // Whatever the program declares must have been seen, or the walk missed it.
    QStringList unseen;
    for (const QString& declared : DeclaredWidgetClasses(QStringLiteral(QUORVEL_SOURCE_DIR "/ui")))
        if (!record.Classes.contains(declared))
            unseen << declared;
    unseen.sort();
    EXPECT_TRUE(unseen.isEmpty()) << "never shown by the walk: " << unseen.join(QStringLiteral(", ")).toStdString();
    // Every further page of the program options (the first is the dialog as it opens), the sync page among them.
    for (const char* page : {"Abfrage", "Vorspielen", "Lektionen", "Benutzer", "Synchronisation"})
        EXPECT_TRUE(record.Variants.contains(QStringLiteral("TFormOptions-") + QString::fromUtf8(page)))
            << "the walk never showed the options page " << page;
    EXPECT_TRUE(record.Variants.contains(QStringLiteral("TFormOptions-check_Sync_Folder")))
        << "the sync page with its folder switched on";
    QStringList sights = record.Sights.values();
    sights.sort();
    std::cout << "[ sights   ] " << sights.join(QStringLiteral(", ")).toStdString() << std::endl;
}

} // namespace
