#include "app/QVL.h"
#include "app/QVL_CommandLine.h"
#include "app/QVL_DueReport.h"
#include "app/QVL_Setup.h"
#include "core/QVL_Error.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "users/QVL_User.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestFolders.h"

#include <QDate>
#include <QDir>

#include <gtest/gtest.h>

namespace {

const QDate todayDate(2024, 3, 10);
const TQVL_DateTime today = TQVL_DateTime::FromDate(todayDate);

struct CardFixture {
    int daysAgo;
    int stage;
};

// A profile in the installed users folder with one result record per storage
// (and one for an ordinary lesson, which never counts).
void writeProfile(const QString& documents, const QString& name, const QString& password,
                  const std::vector<std::pair<QString, std::vector<CardFixture>>>& storages,
                  QString fileName = QString())
{
    TQVL_User user;
    user.ResetToNewProfile(name);
    user.SetPassword(password);
    int uid = 0;
    for (const auto& [storage, cards] : storages) {
        TQVL_Result_Unit& unit = user.Results().GetOrCreateUnit(QStringLiteral("{S%1}").arg(++uid),
                                                                documents + QStringLiteral("/Storages/") + storage);
        unit.longtermstorage = true;
        for (std::size_t i = 0; i < cards.size(); ++i) {
            TQVL_Result_Card& card = unit.GetOrCreateCard(qint32(i + 1));
            card.lastquery = TQVL_DateTime::FromDate(todayDate.addDays(-cards[i].daysAgo));
            card.stage = cards[i].stage;
        }
    }
    TQVL_Result_Unit& lesson = user.Results().GetOrCreateUnit(QStringLiteral("{L}"), QStringLiteral("Lektion.qxu"));
    lesson.GetOrCreateCard(1).lastquery = TQVL_DateTime::FromParts(2000, 1, 1);
    user.NewFile(documents + QStringLiteral("/Benutzer/") + (fileName.isEmpty() ? name : fileName) +
                 QStringLiteral(".qxs"));
    user.CloseFile();
}

class DueReportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TQVL_Setup::Install(QStringLiteral(QUORVEL_SOURCE_DIR "/data"), *core.System);
        // Stage intervals 0, 1, 3, 10 days: due when the days since the last query reach them.
        writeProfile(folders.Documents(), QStringLiteral("Anna"), QString(),
                     {{QStringLiteral("Englisch.qxs"), {{9, 1}, {0, 0}, {1, 2}, {10, 3}, {9, 3}}},
                      {QStringLiteral("Französisch.qxs"), {{2, 2}}}});
        writeProfile(folders.Documents(), QStringLiteral("Bert"), QStringLiteral("geheim"),
                     {{QStringLiteral("Englisch.qxs"), {{30, 0}}}});
    }
    void TearDown() override { core.CloseFiles(); }

    TestFolders folders;
    TQVL core;
};

} // namespace

TEST_F(DueReportTest, CountsTheDueCardsOfEveryStorageOfProfilesWithoutPassword)
{
    TQVL_DueReport report;
    report.Collect(core, today);

    EXPECT_TRUE(report.Errors.isEmpty()) << report.Errors.join(QLatin1Char('\n')).toStdString();
    QStringList lines = report.Lines();
    lines.sort(); // the folder decides the order of the profiles
    EXPECT_EQ(lines.join(QLatin1Char('\n')).toStdString(),
              "Anna, Langzeitspeicher \"Englisch\": 3 Vokabeln heute abzufragen\n"
              "Anna, Langzeitspeicher \"Französisch\": 0 Vokabeln heute abzufragen\n"
              "Lernender: kein Langzeitspeicher");
}

TEST_F(DueReportTest, AProfileThatCannotBeReadIsNamedAndTheOthersStillCount)
{
    WriteFile(folders.Documents() + QStringLiteral("/Benutzer/Kaputt.qxs"), "<?xml version=\"1.0\"?><root>");
    // A password longer than the first bytes of the header still hides the profile.
    writeProfile(folders.Documents(), QString(400, QLatin1Char('L')), QStringLiteral("x"),
                 {{QStringLiteral("Englisch.qxs"), {{30, 0}}}}, QStringLiteral("Lang"));

    TQVL_DueReport report;
    report.Collect(core, today);

    ASSERT_EQ(report.Errors.size(), 1);
    EXPECT_TRUE(report.Errors.first().contains(QStringLiteral("/Benutzer/Kaputt."))) << report.Errors.first().toStdString();
    EXPECT_EQ(report.Profiles.size(), 2u);
    EXPECT_TRUE(report.Lines().contains(QStringLiteral("Anna, Langzeitspeicher \"Englisch\": 3 Vokabeln heute abzufragen")));
}

TEST(DueReport, WithoutOptionsItAsksForReinstallation)
{
    TestFolders folders;
    TQVL core;
    TQVL_DueReport report;
    try {
        report.Collect(core, today);
        FAIL() << "no error";
    } catch (const TQVL_Error& error) {
        EXPECT_TRUE(error.Message().startsWith(QStringLiteral("Eine zum Betrieb der Anwendung"))) << error.Message().toStdString();
    }
    EXPECT_FALSE(QDir(folders.AppData()).exists()) << "the report installs nothing";
}

TEST(CommandLine, ChoosesTheModeAndTheLesson)
{
    using M = TQVL_CommandLine::TMode;
    struct Case {
        QStringList arguments;
        M mode;
        bool notify;
        QString lesson;
    };
    const QString here = QDir::currentPath();
    const Case cases[] = {
        {{"quorvel"}, M::Program, false, {}},
        {{"quorvel", "update"}, M::Update, false, {}},
        {{"quorvel", "Update"}, M::Program, false, here + "/Update"},
        {{"quorvel", "x.qxu", "update"}, M::Program, false, here + "/x.qxu"},
        {{"quorvel", "--due"}, M::Due, false, {}},
        {{"quorvel", "--due", "--notify"}, M::Due, true, {}},
        {{"quorvel", "--notify"}, M::Due, true, {}},
        {{"quorvel", "-style", "/tmp/a b.qxu", "/tmp/c.qxu"}, M::Program, false, "/tmp/a b.qxu"},
        {{"quorvel", "file:///tmp/a%20b.qxu"}, M::Program, false, "/tmp/a b.qxu"},
    };
    for (const Case& c : cases) {
        const TQVL_CommandLine parsed = TQVL_CommandLine::Parse(c.arguments);
        const std::string label = c.arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(parsed.Mode, c.mode) << label;
        EXPECT_EQ(parsed.Notify, c.notify) << label;
        EXPECT_EQ(parsed.LessonFile.toStdString(), c.lesson.toStdString()) << label;
    }
}
