#include "core/QVL_StringWorks.h"
#include "core/QVL_System.h"
#include "tests/support/RecordingErrorDisplay.h"
#include "tests/support/TestFolders.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include <elf.h>

#include <cstring>

TEST(System, FoldersFollowTheOverridesAndHaveNoTrailingSlash)
{
    TestFolders folders;
    qputenv("QUORVEL_APPDATA", (folders.AppData() + QStringLiteral("/")).toUtf8());
    TQVL_System system;
    EXPECT_EQ(system.AppDataFolder, folders.AppData());
    EXPECT_EQ(system.DocumentsFolder, folders.Documents());
    EXPECT_EQ(system.ProgramFolder, QCoreApplication::applicationDirPath());
    EXPECT_FALSE(QFileInfo::exists(folders.AppData())) << "the folders are not created";

    qunsetenv("QUORVEL_APPDATA");
    qputenv("XDG_DATA_HOME", folders.Root().toUtf8());
    TQVL_System fallback;
    EXPECT_EQ(fallback.AppDataFolder, folders.Root() + QStringLiteral("/Quorvel 8"));
}

TEST(System, ProgramVersionIsReadFromTheProgramFile)
{
    TQVL_System system;
    EXPECT_EQ(system.ProgramVersion, QStringLiteral(QUORVEL_VERSION_TEXT));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+\\.\\d+$")).match(system.ProgramVersion).hasMatch());
    EXPECT_EQ(FileVersionText(QStringLiteral("/no/such/program")), QStringLiteral("-1"));
    TestFolders folders;
    WriteFile(folders.Root() + QStringLiteral("/plain"), "no version here QUORVEL-FILEVERSION:x");
    EXPECT_EQ(FileVersionText(folders.Root() + QStringLiteral("/plain")), QString());
    // Built at run time: as a literal, the marker would sit in this test program itself.
    WriteFile(folders.Root() + QStringLiteral("/other"), "junk\001QUORVEL-FILE" + QByteArray("VERSION:1.2.3.4\001junk"));
    EXPECT_EQ(FileVersionText(folders.Root() + QStringLiteral("/other")), QStringLiteral("1.2.3.4"));
    // What follows the key must be four numbers and \001; a broken one is skipped for the next.
    const QByteArray key = "\001QUORVEL-FILE" + QByteArray("VERSION:");
    const std::vector<std::pair<QByteArray, QString>> cases = {
        {key + "10.20.300.4000\001", QStringLiteral("10.20.300.4000")},
        {key + "1.2.3\001", QString()},
        {key + "1.2.3.4", QString()},
        {key + "1.2..4\001", QString()},
        {key + "1.2.3.4.5\001", QString()},
        {key + "v1.2.3.4\001" + key + "01.2.3.4\001", QStringLiteral("01.2.3.4")},
    };
    for (const auto& [content, version] : cases) {
        WriteFile(folders.Root() + QStringLiteral("/case"), content);
        EXPECT_EQ(FileVersionText(folders.Root() + QStringLiteral("/case")), version) << content.toStdString();
    }
}

// The program's own version note is read through the program headers, so a
// marker elsewhere in the file does not count; without the note the file is searched.
TEST(System, ProgramVersionComesFromTheElfNote)
{
    const QByteArray marker = "\001QUORVEL-FILE" + QByteArray("VERSION:");
    QByteArray note(12, '\0');
    const QByteArray name("Quorvel\0", 8);
    const QByteArray description = marker + "1.2.3.4\001";
    const quint32 sizes[] = {quint32(name.size()), quint32(description.size()), 1};
    std::memcpy(note.data(), sizes, sizeof sizes);
    note += name + description + QByteArray((4 - description.size() % 4) % 4, '\0');

    Elf64_Ehdr header{};
    std::memcpy(header.e_ident, ELFMAG, SELFMAG);
    header.e_ident[EI_CLASS] = ELFCLASS64;
    header.e_ident[EI_DATA] = ELFDATA2LSB;
    header.e_phoff = sizeof(Elf64_Ehdr);
    header.e_phentsize = sizeof(Elf64_Phdr);
    header.e_phnum = 1;
    const QByteArray decoy = "junk" + marker + "5.6.7.8\001junk";
    Elf64_Phdr segment{};
    segment.p_type = PT_NOTE;
    segment.p_offset = sizeof(Elf64_Ehdr) + sizeof(Elf64_Phdr) + decoy.size();
    segment.p_filesz = note.size();
    segment.p_align = 4;
    const QByteArray elf = QByteArray(reinterpret_cast<const char*>(&header), sizeof header) +
                           QByteArray(reinterpret_cast<const char*>(&segment), sizeof segment) + decoy + note;

    TestFolders folders;
    WriteFile(folders.Root() + QStringLiteral("/noted"), elf);
    EXPECT_EQ(FileVersionText(folders.Root() + QStringLiteral("/noted")), QStringLiteral("1.2.3.4"));
    // A note of another owner is no version: the plain search finds the first marker.
    QByteArray foreign = elf;
    foreign.replace("Quorvel", "Quorvex");
    WriteFile(folders.Root() + QStringLiteral("/foreign"), foreign);
    EXPECT_EQ(FileVersionText(folders.Root() + QStringLiteral("/foreign")), QStringLiteral("5.6.7.8"));
}

TEST(System, NewUidHasTheBracedUpperCaseForm)
{
    const QRegularExpression form(
        QStringLiteral("^\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}$"));
    QSet<QString> seen;
    for (int i = 0; i < 100; ++i) {
        const QString uid = TQVL_System::NewUid();
        EXPECT_EQ(uid.size(), 38);
        EXPECT_TRUE(form.match(uid).hasMatch()) << uid.toStdString();
        seen.insert(uid);
    }
    EXPECT_EQ(seen.size(), 100);
}

TEST(System, DaysBetweenRoundsHalvesToEven)
{
    struct Case {
        double from, to;
        int days;
    };
    const Case cases[] = {
        {40000, 40000, 0}, {40000, 40001.5, 2}, {40000, 40002.5, 2}, {40000, 40000.49, 0},
        {40000, 40000.5, 0}, {40000, 40003.5, 4}, {0, 40000, 0},      {40000, 0, 0},
        {40005, 40000, 0},  {40000, 40010.7, 11},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TQVL_System::DaysBetween(TQVL_DateTime(c.from), TQVL_DateTime(c.to)), c.days)
            << c.from << " -> " << c.to;
}

TEST(System, UniqueFileNameCountsUp)
{
    TestFolders folders;
    const QString root = folders.Root();
    EXPECT_EQ(TQVL_System::UniqueFileName(root, QStringLiteral("a.txt")), root + QStringLiteral("/a.txt"));
    WriteFile(root + QStringLiteral("/a.txt"), "x");
    WriteFile(root + QStringLiteral("/a_1.txt"), "x");
    EXPECT_EQ(TQVL_System::UniqueFileName(root, QStringLiteral("a.txt")), root + QStringLiteral("/a_2.txt"));
    WriteFile(root + QStringLiteral("/noext"), "x");
    EXPECT_EQ(TQVL_System::UniqueFileName(root, QStringLiteral("noext")), root + QStringLiteral("/noext_1"));
    WriteFile(root + QStringLiteral("/x.tar.gz"), "x");
    EXPECT_EQ(TQVL_System::UniqueFileName(root, QStringLiteral("x.tar.gz")), root + QStringLiteral("/x.tar_1.gz"));
}

// The temporary folder is shared: a temporary file is made at once, for its
// owner only, under a new name each time.
TEST(System, TempFileNameMakesAFileOfItsOwn)
{
    const QString first = TQVL_System::TempFileName(QStringLiteral(".bak"));
    const QString second = TQVL_System::TempFileName(QStringLiteral(".bak"));
    const QFileInfo file(first);
    EXPECT_NE(first, second);
    EXPECT_TRUE(first.startsWith(TQVL_System::TempFolder() + QStringLiteral("/Quorvel_Temp_")));
    EXPECT_TRUE(first.endsWith(QStringLiteral(".bak")));
    EXPECT_TRUE(file.exists());
    EXPECT_EQ(file.size(), 0);
    EXPECT_EQ(file.permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
              QFile::Permissions());
    QFile::remove(first);
    QFile::remove(second);
}

TEST(System, IsValidFileName)
{
    struct Case {
        const char* name;
        bool valid;
    };
    const Case cases[] = {
        {"", false},        {"name.", false},     {"a:b", false},    {"a/b", false},     {"a\\b", false},
        {"a?", false},      {"a*", false},        {"a|b", false},    {"\"x\"", false},   {"<x>", false},
        {"LPT1", false},    {"con", false},       {"Clock$", false}, {"com9", false},    {"LPT10", true},
        {"ab", true},       {"nul.x", true},      {"Lektion 1", true}, {"COM0", true},   {"CLOCK$1", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TQVL_System::IsValidFileName(QString::fromUtf8(c.name)), c.valid) << c.name;
}

TEST(System, TextHelpers)
{
    EXPECT_EQ(TQVL_System::ExcludeTrailingBackslash(QStringLiteral("/tmp/x")), QStringLiteral("/tmp/x"));
    EXPECT_EQ(TQVL_System::ExcludeTrailingBackslash(QStringLiteral("/tmp/")), QStringLiteral("/tmp"));
    EXPECT_EQ(TQVL_System::ExcludeTrailingBackslash(QStringLiteral("/")), QStringLiteral("/"));

    EXPECT_EQ(TQVL_System::DurationText(3660), QStringLiteral("1 Stunde, 1 Minute"));
    EXPECT_EQ(TQVL_System::DurationText(7500), QStringLiteral("2 Stunden, 5 Minuten"));
    EXPECT_EQ(TQVL_System::DurationText(59), QStringLiteral("0 Stunden, 0 Minuten"));
    EXPECT_EQ(TQVL_System::DurationText(120), QStringLiteral("0 Stunden, 2 Minuten"));

    EXPECT_EQ(TQVL_System::SecondsOfDay(TQVL_DateTime::FromParts(2024, 3, 1, 13, 2, 7)), 13 * 3600 + 2 * 60 + 7);

    using namespace TQVL_StringWorks;
    const QString abc = QStringLiteral("a;b;c");
    const QString semicolon = QStringLiteral(";");
    EXPECT_EQ(GetPiece(abc, semicolon, 1), QStringLiteral("a"));
    EXPECT_EQ(GetPiece(abc, semicolon, 2), QStringLiteral("b"));
    EXPECT_EQ(GetPiece(abc, semicolon, 3), QStringLiteral("c"));
    EXPECT_EQ(GetPiece(abc, semicolon, 4), QString());
    EXPECT_EQ(GetPiece(QStringLiteral(";;x"), semicolon, 3), QStringLiteral("x"));
    EXPECT_EQ(GetPiece(QStringLiteral("a--b"), QStringLiteral("--"), 2), QStringLiteral("b"));
    EXPECT_EQ(CountDelimiters(semicolon, abc), 2);
    EXPECT_EQ(CountDelimiters(QStringLiteral("aa"), QStringLiteral("aaaaa")), 2) << "non-overlapping";
    EXPECT_EQ(CountDelimiters(semicolon, QStringLiteral("abc")), 0);
}

TEST(System, MissingSoundLibraryIsReportedAndTheProgramGoesOn)
{
    TestFolders folders;
    RecordingErrorDisplay display;
    {
        TQVL_System system;
        system.ProgramFolder = folders.Root();
        system.InitSoundSystem();
        ASSERT_TRUE(system.SoundSystem);
        EXPECT_EQ(system.SoundSystem->Play(QStringLiteral("x.wav")), 0);
    }
    EXPECT_EQ(display.Shown,
              (QStringList{QStringLiteral("DLL ") + folders.Root() + QStringLiteral("/data/soundsystem.sonicht gefunden!"),
                           QStringLiteral("Fehler beim Initilialisieren des SoundSystems"),
                           QStringLiteral("Fehler beim Schließen des SoundSystems")}));
}
