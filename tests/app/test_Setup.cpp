#include "core/QVL_FileObject.h"
#include "app/QVL_Setup.h"
#include "core/QVL_System.h"
#include "tests/support/TestFolders.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

class SetupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        system.ProgramFolder = folders.Root() + QStringLiteral("/program");
        source = TQVL_Setup::SourceFolder(system);
        WriteFile(source + QStringLiteral("/appdata/Data/Options.xml"), "options");
        WriteFile(source + QStringLiteral("/documents/Benutzer/Lernender.qxs"), "<p>%DOCUMENTS%/x & %PROGRAM%</p>");
        WriteFile(source + QStringLiteral("/documents/Lektionen/a.txt"), "%DOCUMENTS%");
        WriteFile(source + QStringLiteral("/documents/Storages/.keep"), "");
        WriteFile(source + QStringLiteral("/checksums.txt"), "documents/Benutzer/Lernender.qxs\n\n");
    }

    TestFolders folders;
    TQVL_System system;
    QString source;
};

} // namespace

TEST_F(SetupTest, AFreshStartInstallsBothFolders)
{
    system.DocumentsFolder = folders.Root() + QStringLiteral("/Meine <Dokumente> & Co");
    ASSERT_TRUE(TQVL_Setup::InstallIfFresh(system));
    EXPECT_EQ(ReadFile(system.AppDataFolder + QStringLiteral("/Data/Options.xml")), "options");
    const QString profile = system.DocumentsFolder + QStringLiteral("/Benutzer/Lernender.qxs");
    EXPECT_EQ(ReadFile(profile), ("<p>" + folders.Root() + "/Meine &lt;Dokumente&gt; &amp; Co/x & " +
                                  system.ProgramFolder + "</p>")
                                     .toUtf8())
        << "placeholders resolve to the installed folders, escaped for XML";
    EXPECT_EQ(ReadFile(system.DocumentsFolder + QStringLiteral("/Lektionen/a.txt")), "%DOCUMENTS%")
        << "only data files carry placeholders";
    EXPECT_EQ(ReadFile(TQVL_FileObject::ChecksumFileName(profile)), TQVL_FileObject::Checksum(ReadFile(profile)) + "\r\n");
    EXPECT_TRUE(QFileInfo(system.DocumentsFolder + QStringLiteral("/Storages")).isDir());
    EXPECT_FALSE(QFileInfo::exists(system.DocumentsFolder + QStringLiteral("/Storages/.keep")));

    EXPECT_FALSE(TQVL_Setup::InstallIfFresh(system)) << "only the very first start installs";
}

TEST_F(SetupTest, ExistingDocumentsAreNeverOverwrittenNorBlessedWithAChecksum)
{
    const QString profile = system.DocumentsFolder + QStringLiteral("/Benutzer/Lernender.qxs");
    WriteFile(profile, "mine, changed by hand");
    ASSERT_TRUE(TQVL_Setup::InstallIfFresh(system));
    EXPECT_EQ(ReadFile(profile), "mine, changed by hand");
    EXPECT_FALSE(QFileInfo::exists(TQVL_FileObject::ChecksumFileName(profile)));
}

TEST_F(SetupTest, AnInterruptedInstallationIsRepeated)
{
    // A leftover staging folder from an interrupted start does not count as installed.
    WriteFile(system.AppDataFolder + QStringLiteral(".setup/Data/half"), "x");
    ASSERT_TRUE(TQVL_Setup::InstallIfFresh(system));
    EXPECT_FALSE(QFileInfo::exists(system.AppDataFolder + QStringLiteral("/Data/half")));
    EXPECT_FALSE(QFileInfo::exists(system.AppDataFolder + QStringLiteral(".setup")));

    TQVL_System withoutData;
    withoutData.AppDataFolder = folders.Root() + QStringLiteral("/other");
    withoutData.ProgramFolder = folders.Root() + QStringLiteral("/nowhere");
    EXPECT_FALSE(TQVL_Setup::InstallIfFresh(withoutData));
    EXPECT_FALSE(QFileInfo::exists(withoutData.AppDataFolder));
}

TEST_F(SetupTest, AnEmptyDataFolderIsInstalledIntoAndAFilledOneIsLeftAlone)
{
    // An empty folder, and a link to an empty folder elsewhere (which must stay a link).
    QDir().mkpath(system.AppDataFolder);
    ASSERT_TRUE(TQVL_Setup::InstallIfFresh(system));
    EXPECT_EQ(ReadFile(system.AppDataFolder + QStringLiteral("/Data/Options.xml")), "options");

    TQVL_System linked;
    linked.ProgramFolder = system.ProgramFolder;
    linked.DocumentsFolder = system.DocumentsFolder;
    const QString elsewhere = folders.Root() + QStringLiteral("/elsewhere");
    QDir().mkpath(elsewhere);
    linked.AppDataFolder = folders.Root() + QStringLiteral("/linked");
    ASSERT_TRUE(QFile::link(elsewhere, linked.AppDataFolder));
    ASSERT_TRUE(TQVL_Setup::InstallIfFresh(linked));
    EXPECT_TRUE(QFileInfo(linked.AppDataFolder).isSymLink());
    EXPECT_EQ(ReadFile(elsewhere + QStringLiteral("/Data/Options.xml")), "options");
    EXPECT_FALSE(QFileInfo::exists(linked.AppDataFolder + QStringLiteral(".setup")));

    TQVL_System filled;
    filled.ProgramFolder = system.ProgramFolder;
    filled.DocumentsFolder = system.DocumentsFolder;
    filled.AppDataFolder = folders.Root() + QStringLiteral("/filled");
    WriteFile(filled.AppDataFolder + QStringLiteral("/.hidden"), "mine");
    EXPECT_FALSE(TQVL_Setup::InstallIfFresh(filled)) << "even a hidden file means the folder is in use";
    EXPECT_FALSE(QFileInfo::exists(filled.AppDataFolder + QStringLiteral("/Data")));
}
