#include "content/QVL_Card_Voc.h"
#include "content/QVL_Unit.h"
#include "core/QVL_Error.h"
#include "exchange/QVL_Backup.h"
#include "exchange/QVL_Import.h"
#include "tests/support/TestErrors.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ImportFiles : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString sources() const { return dir.path(); }
    QString output() const { return dir.path() + QStringLiteral("/Lektionen"); }
    TQVL_Import import;

    void SetUp() override
    {
        QDir().mkpath(output());
        import.LangCodeHome = QStringLiteral("de");
        import.LangCodeForeign = QStringLiteral("en");
        import.OutputFolder = output();
    }
    QStringList written() const { return QDir(output()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
};

} // namespace

TEST_F(ImportFiles, OneUnitPerFileNamedAfterItNeverOverwriting)
{
    const QString source = sources() + QStringLiteral("/Tiere.csv");
    WriteFile(source, "Hund;;;dog\nKatze;;;cat\n");
    int count = 0;
    const QString first = import.ImportFile(source, &count);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(first, output() + QStringLiteral("/Tiere.qxu"));
    const QString second = import.ImportFile(source);
    EXPECT_EQ(second, output() + QStringLiteral("/Tiere_1.qxu"));

    TQVL_Unit unit;
    unit.Open(first);
    EXPECT_EQ(unit.Typ, tVoc);
    EXPECT_EQ(unit.LangCodeHome, QStringLiteral("de"));
    EXPECT_EQ(unit.LangCodeForeign, QStringLiteral("en"));
    ASSERT_EQ(unit.Cards->Count(), 2);
    EXPECT_EQ(unit.Cards->MaxCardId, 2);
    const auto& cat = static_cast<const TQVL_Card_Voc&>(*unit.Cards->Card(1));
    EXPECT_EQ(cat.home1, QStringLiteral("Katze"));
    EXPECT_EQ(cat.foreign1, QStringLiteral("cat"));
    EXPECT_EQ(cat.Uid, 2);
    unit.CloseFile();
}

TEST_F(ImportFiles, LanguagesFromTheSourceFile)
{
    const QString source = sources() + QStringLiteral("/vocabulary.kvtml");
    QFile::copy(QStringLiteral(QUORVEL_FIXTURES "/exchange/vocabulary.kvtml"), source);
    import.Type = TQVL_Import_Type::itKVTML;
    import.LangCodeHome = QStringLiteral("de");
    import.LangCodeForeign = QStringLiteral("fr");
    import.LanguagesFromSource = true;
    TQVL_Unit unit;
    unit.Open(import.ImportFile(source));
    EXPECT_EQ(unit.LangCodeForeign, QStringLiteral("eng"));
    EXPECT_EQ(unit.LangCodeHome, QStringLiteral("ger"));
    unit.CloseFile();
}

TEST_F(ImportFiles, FailedOrCancelledImportsLeaveNothingBehind)
{
    const QString broken = sources() + QStringLiteral("/kaputt.csv");
    WriteFile(broken, "Hund;;;dog\n\"offen;;;open\n");
    EXPECT_TRUE(ErrorOf([&] { import.ImportFile(broken); }).contains(QStringLiteral("Zeile 2:")));

    const QString nothing = sources() + QStringLiteral("/leer.csv");
    WriteFile(nothing, "\n;;;\n\n");
    EXPECT_TRUE(ErrorOf([&] { import.ImportFile(nothing); }).contains(QStringLiteral("keine Karten")));

    QByteArray rows;
    for (int i = 0; i < 20000; ++i)
        rows += "Wort;;;word\n";
    const QString large = sources() + QStringLiteral("/gross.csv");
    WriteFile(large, rows);
    int calls = 0;
    import.OnProgress = [&calls](qint64, qint64) { return ++calls < 2; };
    EXPECT_THROW(import.ImportFile(large), TQVL_Import_Cancelled);
    EXPECT_EQ(written(), QStringList()) << "no unit and no temporary file";

    import.OutputFolder = sources() + QStringLiteral("/fehlt");
    EXPECT_TRUE(ErrorOf([&] { import.ImportFile(large); }).contains(QStringLiteral("existiert nicht")));
}

TEST(Backup, DatedCopiesBesideTheFileTheNewestFiveKept)
{
    QTemporaryDir dir;
    const QString storage = dir.path() + QStringLiteral("/Englisch.qxs");
    const QString other = dir.path() + QStringLiteral("/Englisch 2.qxs");
    WriteFile(other, "andere");
    const QDateTime start(QDate(2026, 12, 10), QTime(17, 45, 3));
    QStringList made;
    for (int i = 0; i < 7; ++i) {
        WriteFile(storage, "Stand " + QByteArray::number(i));
        made << TQVL_Backup::BackupFile(storage, start.addSecs(i * 60));
    }
    // The same second twice: the second copy gets a number, the first stays.
    WriteFile(storage, "Stand 7");
    made << TQVL_Backup::BackupFile(storage, start.addSecs(6 * 60));
    TQVL_Backup::BackupFile(other, start);

    EXPECT_EQ(made[0], dir.path() + QStringLiteral("/Backups/Englisch 2026-12-10 17-45-03.qxs"));
    EXPECT_EQ(made[7].toStdString(), (dir.path() + QStringLiteral("/Backups/Englisch 2026-12-10 17-51-03_1.qxs")).toStdString());
    const QStringList kept = TQVL_Backup::BackupsOf(storage);
    EXPECT_EQ(kept, (QStringList{made[3], made[4], made[5], made[6], made[7]}));
    EXPECT_EQ(ReadFile(kept.front()), QByteArray("Stand 3"));
    EXPECT_EQ(ReadFile(kept.back()), QByteArray("Stand 7"));
    EXPECT_EQ(TQVL_Backup::BackupsOf(other).size(), 1) << "another storage's copies are not counted or removed";

    EXPECT_TRUE(ErrorOf([&] { TQVL_Backup::BackupFile(dir.path() + QStringLiteral("/fehlt.qxs")); })
                    .contains(QStringLiteral("Sicherungskopie")));
}
