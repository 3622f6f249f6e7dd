#include "content/QVL_LongTermStorages.h"
#include "content/QVL_Units.h"
#include "core/QVL_Error.h"
#include "tests/support/TestFolders.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

class StorageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        names.Add(QStringLiteral("eng"), QStringLiteral("Englisch"));
        names.Add(QStringLiteral("fre"), QStringLiteral("Französisch"));
        folder = folders.Root() + QStringLiteral("/Storages");
        QDir().mkpath(folder);
    }

    // A storage file for the pair, as another run of the program would have left it.
    void writeStorage(const QString& path, const QString& home, const QString& foreign)
    {
        TQVL_LongTermStorage storage;
        storage.Typ = tLongTermStorage;
        storage.LangCodeHome = home;
        storage.LangCodeForeign = foreign;
        storage.NewFile(path);
        storage.CloseFile();
    }

    TestFolders folders;
    TQVL_LanguagesNames names;
    QString folder;
    TQVL_LongTermStorages storages;
};

} // namespace

TEST_F(StorageTest, OpensTheStorageOfThePair)
{
    writeStorage(folder + QStringLiteral("/Englisch.qxs"), QStringLiteral("ger"), QStringLiteral("eng"));
    writeStorage(folder + QStringLiteral("/Französisch.qxs"), QStringLiteral("ger"), QStringLiteral("fre"));
    const QStringList before = QDir(folder).entryList(QDir::Files);

    TQVL_LongTermStorage* storage =
        storages.OpenOrCreateStorage(folder, names, QStringLiteral("ger"), QStringLiteral("fre"));
    EXPECT_EQ(storage->FileName, folder + QStringLiteral("/Französisch.qxs"));
    EXPECT_TRUE(storage->IsOpen);
    EXPECT_FALSE(storage->WriteAccess);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), before) << "nothing is created";
    storages.CloseAdditionFile(storage);
    EXPECT_EQ(storages.AdditionalFileCount(), 0);
}

TEST_F(StorageTest, CreatesAMissingStorageWithoutOverwritingAnother)
{
    // Same foreign language, other home language: the plain name is taken.
    writeStorage(folder + QStringLiteral("/Englisch.qxs"), QStringLiteral("fre"), QStringLiteral("eng"));
    // In a sub-folder a storage of the pair is listed but not found.
    QDir().mkpath(folder + QStringLiteral("/alt"));
    writeStorage(folder + QStringLiteral("/alt/Englisch.qxs"), QStringLiteral("ger"), QStringLiteral("eng"));
    const QByteArray other = ReadFile(folder + QStringLiteral("/Englisch.qxs"));

    TQVL_LongTermStorage* storage =
        storages.OpenOrCreateStorage(folder, names, QStringLiteral("ger"), QStringLiteral("eng"));
    EXPECT_EQ(storage->FileName, folder + QStringLiteral("/Englisch_1.qxs"));
    EXPECT_EQ(ReadFile(folder + QStringLiteral("/Englisch.qxs")), other);
    EXPECT_EQ(storage->Typ, tLongTermStorage);
    EXPECT_EQ(storage->LangCodeHome, QStringLiteral("ger"));
    EXPECT_EQ(storage->LangCodeForeign, QStringLiteral("eng"));
    EXPECT_EQ(storage->Cards->Count(), 0);
    EXPECT_FALSE(storage->WriteAccess);
    storages.CloseAdditionFile(storage);

    // A code the name table lacks: the language as the lesson names it, or
    // the table's name of the language it means, never "Unknown".
    TQVL_LongTermStorage* unknown =
        storages.OpenOrCreateStorage(folder, names, QStringLiteral("ger"), QStringLiteral("xyz"));
    EXPECT_EQ(unknown->FileName, folder + QStringLiteral("/xyz.qxs"));
    storages.CloseAdditionFile(unknown);
    TQVL_LongTermStorage* named =
        storages.OpenOrCreateStorage(folder, names, QStringLiteral("ger"), QStringLiteral("french"));
    EXPECT_EQ(named->FileName, folder + QStringLiteral("/Französisch.qxs"));
    EXPECT_EQ(named->LangCodeForeign, QStringLiteral("french")) << "the pair of the lesson it serves";
    storages.CloseAdditionFile(named);
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/Unknown.qxs")));

    TQVL_LongTermStorage* again =
        storages.OpenOrCreateStorage(folder, names, QStringLiteral("ger"), QStringLiteral("eng"));
    EXPECT_EQ(again->FileName, folder + QStringLiteral("/Englisch_1.qxs")) << "found the second time";
    storages.CloseAdditionFile(again);
}

TEST_F(StorageTest, AMissingFolderFailsWithoutLeavingAFileObject)
{
    EXPECT_THROW(storages.OpenOrCreateStorage(folders.Root() + QStringLiteral("/fehlt"), names, QStringLiteral("ger"),
                                              QStringLiteral("eng")),
                 TQVL_Error);
    EXPECT_EQ(storages.AdditionalFileCount(), 0);
}

TEST(Units, TheManagerListsOnlyUnits)
{
    TQVL_Units units;
    EXPECT_EQ(units.Provider().Extensions, QStringLiteral(".qxu"));
    EXPECT_FALSE(units.GetActiveUnit().IsOpen);
}
