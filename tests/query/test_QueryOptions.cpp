#include "core/QVL_Error.h"
#include "query/QVL_Query_Options.h"
#include "tests/support/TestErrors.h"
#include "tests/support/TestFolders.h"

#include <gtest/gtest.h>

namespace {

const QString installed = QStringLiteral(QUORVEL_SOURCE_DIR "/data/appdata/Data/QueryOptions.xml");

// Writes `content` with a matching companion, as the program would.
QString writeGuarded(const TestFolders& folders, const QByteArray& content)
{
    return WriteGuarded(folders.Root() + QStringLiteral("/QueryOptions.xml"), content);
}

} // namespace

TEST(QueryOptions, TheInstalledFileLoadsAndSavesByteForByte)
{
    TestFolders folders;
    const QByteArray content = ReadFile(installed);
    ASSERT_FALSE(content.isEmpty());
    const QString name = writeGuarded(folders, content);
    TQVL_Query_Options options;
    options.Open(name);
    EXPECT_TRUE(options.storeresults);
    EXPECT_EQ(options.reducecardlistby, 25);
    EXPECT_EQ(options.Turn().reducecardlisttyp, 2);
    EXPECT_TRUE(options.Turn().mix);
    EXPECT_EQ(options.Step().direction, 1);
    EXPECT_EQ(options.Step().questiondisplaytimeintervall, 10000);
    EXPECT_TRUE(options.Step().evaluation->ignorecase);

    options.SetEvaluationFlags(true);
    ASSERT_TRUE(options.RequestWriteAccess());
    options.Save();
    options.CloseFile();
    EXPECT_EQ(ReadFile(name), content) << "the flags without element never reach the file";
    EXPECT_EQ(ReadFile(TQVL_FileObject::ChecksumFileName(name)), TQVL_FileObject::Checksum(content) + "\r\n");
    EXPECT_TRUE(options.Step().UseSelfEvaluation) << "they live on in memory";
    EXPECT_TRUE(options.Step().AskSelfEvaluation);
    EXPECT_FALSE(options.Step().EvaluateAnswer);
}

TEST(QueryOptions, LoadingRules)
{
    TestFolders folders;
    const QByteArray content = ReadFile(installed);
    TQVL_Query_Options options;

    QByteArray withoutEvaluation = content;
    withoutEvaluation.remove(withoutEvaluation.indexOf("        <evaluation>"),
                             withoutEvaluation.indexOf("</evaluation>\r\n") + 15 - withoutEvaluation.indexOf("        <evaluation>"));
    EXPECT_FALSE(OpenError(options, writeGuarded(folders, withoutEvaluation)).isEmpty());

    options.Turn().reducecardlistby = 77;
    options.Step().direction = 2;
    QByteArray withoutSession = content;
    withoutSession.remove(withoutSession.indexOf("  <session>"),
                          withoutSession.indexOf("</session>\r\n") + 12 - withoutSession.indexOf("  <session>"));
    EXPECT_EQ(OpenError(options, writeGuarded(folders, withoutSession)), QString());
    EXPECT_EQ(options.Turn().reducecardlistby, 77) << "a missing container keeps the values in memory";
    EXPECT_EQ(options.Step().direction, 2);

    for (const char* text : {"True", "1", "TRUE"}) {
        QByteArray variant = content;
        variant.replace("<storeresults>true</storeresults>", "<storeresults>" + QByteArray(text) + "</storeresults>");
        EXPECT_EQ(OpenError(options, writeGuarded(folders, variant)), QString());
        EXPECT_FALSE(options.storeresults) << text;
    }

    QByteArray notNumeric = content;
    notNumeric.replace("<reducecardlistby>25<", "<reducecardlistby>viel<");
    const QString notNumericName = writeGuarded(folders, notNumeric);
    EXPECT_EQ(OpenError(options, notNumericName),
              QStringLiteral("Fehler beim Lesen der Datei \"%1\"!\r'viel' ist kein gültiger Integerwert").arg(notNumericName));
    EXPECT_FALSE(options.IsOpen);

    // A direction the query cannot ask is refused on load, not when the first card is shown.
    for (const QByteArray& direction : {QByteArray("7"), QByteArray("-1"), QByteArray("257")}) {
        QByteArray variant = content;
        variant.replace("<direction>1<", "<direction>" + direction + "<");
        const QString name = writeGuarded(folders, variant);
        EXPECT_EQ(OpenError(options, name),
                  QStringLiteral("Fehler beim Lesen der Datei \"%1\"!\rDie Abfragerichtung %2 ist ungültig "
                                 "(erlaubt sind 0, 1 und 2).")
                      .arg(name, QString::fromLatin1(direction)));
        EXPECT_FALSE(options.IsOpen);
    }

    const QString name = writeGuarded(folders, content);
    WriteFile(TQVL_FileObject::ChecksumFileName(name), "0\r\n");
    EXPECT_TRUE(OpenError(options, name).contains(QStringLiteral("manipuliert"))) << "the file is guarded";
}
