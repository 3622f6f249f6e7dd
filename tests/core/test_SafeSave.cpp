// Saving must never destroy the file it replaces: not when the process is
// killed in the middle, not when the disk is full, not in a read-only folder.
#include "core/QVL_SafeFile.h"
#include "core/QVL_XML.h"
#include "tests/core/NoteFile.h"
#include "tests/support/SmallFileSystem.h"
#include "tests/support/TestErrors.h"
#include "tests/support/TestFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <linux/fs.h>
#include <random>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QString readNote(const QString& fileName, bool guarded)
{
    NoteFile note(guarded);
    note.Open(fileName);
    return note.Text;
}

// Files left in `folder` besides the expected ones.
QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// Marks a folder immutable for its lifetime.
class ImmutableFolder
{
public:
    explicit ImmutableFolder(const QString& folder)
    {
        fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
        if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            int immutable = flags | FS_IMMUTABLE_FL;
            locked = ::ioctl(fd, FS_IOC_SETFLAGS, &immutable) == 0;
        }
    }
    ~ImmutableFolder()
    {
        if (locked)
            ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        if (fd >= 0)
            ::close(fd);
    }

    bool locked = false;

private:
    int fd = -1;
    int flags = 0;
};

} // namespace

TEST(SafeSave, AKilledSaveLeavesEitherTheOldOrTheNewFile)
{
    TestFolders folders;
    const QString fileName = folders.Root() + QStringLiteral("/Kill.qxs");
    // Large enough that a kill often lands inside a write.
    const QString a = QString(200000, QLatin1Char('a'));
    const QString b = QString(350000, QLatin1Char('b'));
    {
        NoteFile note(true);
        note.Text = a;
        note.NewFile(fileName);
        note.CloseFile();
    }

    std::mt19937 random(20261210);
    std::uniform_int_distribution<int> delayMicroseconds(0, 40000);
    int changes = 0;
    QString last = a;
    const int rounds = 150;
    for (int round = 0; round < rounds; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            try {
                NoteFile note(true);
                note.Open(fileName);
                if (!note.RequestWriteAccess())
                    ::_exit(3);
                for (int k = 0;; ++k) {
                    note.Text = note.Text == a ? b : a;
                    note.Save();
                }
            } catch (...) {
                ::_exit(2);
            }
        }
        ::usleep(useconds_t(delayMicroseconds(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child failed by itself, exit " << WEXITSTATUS(status);

        QString text;
        ASSERT_NO_THROW(text = readNote(fileName, true)) << "round " << round;
        ASSERT_TRUE(text == a || text == b) << "round " << round << ": a mixed file";
        if (text != last)
            ++changes;
        last = text;
    }
    EXPECT_GT(changes, rounds / 10) << "the children must really have saved";
    for (const QString& name : filesIn(folders.Root()))
        EXPECT_TRUE(name == QStringLiteral("Kill.qxs") || name.startsWith(QStringLiteral("Kill.crc")) ||
                    name.startsWith(QStringLiteral(".Kill.qxs.")))
            << name.toStdString();
}

TEST(SafeSave, AFullDiskRaisesAndKeepsTheOldFile)
{
    TestFolders folders;
    SmallFileSystem disk(folders.Root() + QStringLiteral("/small"), "size=256k");
    if (!disk.mounted)
        GTEST_SKIP() << "mounting a tmpfs is not allowed here; the size-limit test covers the same path";
    const QString fileName = disk.path + QStringLiteral("/Voll.qxs");
    NoteFile note(true);
    note.Text = QStringLiteral("klein");
    note.NewFile(fileName);
    const QByteArray before = ReadFile(fileName);
    const QByteArray companionBefore = ReadFile(disk.path + QStringLiteral("/Voll.crc"));

    note.Text = QString(400000, QLatin1Char('x'));
    const QString error = ErrorOf([&] { note.Save(); });
    EXPECT_TRUE(error.contains(QStringLiteral("nicht genügend Speicherplatz"))) << error.toStdString();
    EXPECT_TRUE(note.IsOpen) << "a failed save leaves the file open";
    EXPECT_EQ(ReadFile(fileName), before);
    EXPECT_EQ(ReadFile(disk.path + QStringLiteral("/Voll.crc")), companionBefore);
    EXPECT_EQ(filesIn(disk.path), (QStringList{QStringLiteral("Voll.crc"), QStringLiteral("Voll.qxs")}))
        << "no temporary file is left behind";

    note.Text = QStringLiteral("passt wieder");
    note.Save();
    note.CloseFile();
    EXPECT_EQ(readNote(fileName, true), QStringLiteral("passt wieder"));
}

TEST(SafeSave, AnUnwritableFolderRaisesAndKeepsTheOldFile)
{
    TestFolders folders;
    const QString folder = folders.Root() + QStringLiteral("/locked");
    QDir().mkpath(folder);
    const QString fileName = folder + QStringLiteral("/Alt.qxn");
    NoteFile note;
    note.Text = QStringLiteral("alt");
    note.NewFile(fileName);
    // The file stays writable, but nothing new may be created beside it: not
    // even root gets past an immutable folder.
    ImmutableFolder lock(folder);
    if (!lock.locked)
        GTEST_SKIP() << "this file system cannot mark a folder immutable";

    note.Text = QStringLiteral("neu");
    const QString error = ErrorOf([&] { note.Save(); });
    EXPECT_TRUE(error.startsWith(QStringLiteral("Die Datei \"%1\" kann nicht gespeichert werden!").arg(fileName)))
        << error.toStdString();
    EXPECT_TRUE(note.IsOpen);
    EXPECT_TRUE(note.WriteAccess);
    note.CloseFile();
    EXPECT_EQ(readNote(fileName, false), QStringLiteral("alt"));
    EXPECT_EQ(filesIn(folder), QStringList{QStringLiteral("Alt.qxn")});
}

TEST(SafeSave, OnlyARegularFileIsReplaced)
{
    TestFolders folders;
    const QString folder = folders.Root() + QStringLiteral("/Ordner.txt");
    const QString pipe = folders.Root() + QStringLiteral("/Rohr.txt");
    // A link of our own: even a mistake would replace the link, not the device.
    const QString device = folders.Root() + QStringLiteral("/Voll.txt");
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), device));
    for (const QString& target : {folder, pipe, device})
        EXPECT_EQ(ErrorOf([&] { TQVL_SafeFile::Write(target, "neu"); }),
                  QStringLiteral("Die Datei \"%1\" wird nicht gespeichert, weil sie keine gewöhnliche Datei ist.")
                      .arg(target));
    EXPECT_TRUE(QFileInfo(folder).isDir());
    struct stat status
    {
    };
    EXPECT_TRUE(::lstat(QFile::encodeName(pipe).constData(), &status) == 0 && S_ISFIFO(status.st_mode));
    EXPECT_EQ(QFileInfo(device).symLinkTarget(), QStringLiteral("/dev/full"));
}

TEST(SafeSave, AFileSizeLimitRaisesAndKeepsTheOldFile)
{
    TestFolders folders;
    const QString fileName = folders.Root() + QStringLiteral("/Limit.qxs");
    {
        NoteFile note(true);
        note.Text = QStringLiteral("alt");
        note.NewFile(fileName);
        note.CloseFile();
    }
    const QByteArray before = ReadFile(fileName);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64 * 1024, 64 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        NoteFile note(true);
        note.Open(fileName);
        note.RequestWriteAccess();
        note.Text = QString(200000, QLatin1Char('y'));
        const QString error = ErrorOf([&] { note.Save(); });
        ::_exit(error.contains(QStringLiteral("zu groß")) && note.IsOpen ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the save must fail with the size message";
    EXPECT_EQ(ReadFile(fileName), before);
    EXPECT_EQ(readNote(fileName, true), QStringLiteral("alt"));
    EXPECT_EQ(filesIn(folders.Root()), (QStringList{QStringLiteral("Limit.crc"), QStringLiteral("Limit.qxs")}));
}

namespace {

// A device that accepts `capacity` bytes and then fails.
class FailDevice : public QIODevice
{
public:
    explicit FailDevice(qint64 capacity) : left(capacity) { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 length) override
    {
        if (left <= 0) {
            setErrorString(QStringLiteral("Gerät voll"));
            return -1;
        }
        const qint64 taken = std::min(length, left);
        left -= taken;
        return taken;
    }

private:
    qint64 left;
};

} // namespace

TEST(SafeSave, AFailingStreamRaisesTheDeviceError)
{
    TQVL_XML document;
    document.Root->AddChild(QStringLiteral("a"), QString(1000, QLatin1Char('z')));
    FailDevice device(100);
    EXPECT_TRUE(ErrorOf([&] { document.SaveToStream(device); }).contains(QStringLiteral("Gerät voll")));
}

TEST(SafeSave, OpeningWhileAnotherProcessSavesIsNeverTakenForManipulation)
{
    TestFolders folders;
    const QString fileName = folders.Root() + QStringLiteral("/Busy.qxs");
    const QString a = QString(30000, QLatin1Char('a'));
    const QString b = QString(50000, QLatin1Char('b'));
    {
        NoteFile note(true);
        note.Text = a;
        note.NewFile(fileName);
        note.CloseFile();
    }
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        try {
            NoteFile note(true);
            note.Open(fileName);
            if (!note.RequestWriteAccess())
                ::_exit(3);
            for (;;) {
                note.Text = note.Text == a ? b : a;
                note.Save();
            }
        } catch (...) {
            ::_exit(2);
        }
    }
    const auto inode = [&] {
        struct stat info
        {
        };
        return ::stat(QFile::encodeName(fileName).constData(), &info) == 0 ? info.st_ino : ino_t(0);
    };
    // Opens until many saves of the child fell between them.
    QStringList errors;
    int opens = 0;
    int savesSeen = 0;
    ino_t last = inode();
    while (savesSeen < 60 && opens < 20000) {
        try {
            const QString text = readNote(fileName, true);
            EXPECT_TRUE(text == a || text == b);
        } catch (const TQVL_Error& error) {
            errors << error.Message();
        }
        ++opens;
        const ino_t now = inode();
        savesSeen += now != last;
        last = now;
    }
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status)) << "the saving child failed by itself, exit " << WEXITSTATUS(status);
    EXPECT_GE(savesSeen, 60) << "the child must really have saved meanwhile";
    EXPECT_TRUE(errors.isEmpty()) << errors.size() << " of " << opens
                                  << " opens failed, first: " << errors.value(0).toStdString();

    // A real change is still caught, with no endless retrying.
    QByteArray content = ReadFile(fileName);
    content.replace("<text>", "<text>x");
    WriteFile(fileName, content);
    EXPECT_TRUE(ErrorOf([&] { readNote(fileName, true); }).contains(QStringLiteral("manipuliert")));
}

TEST(SafeSave, TemporariesOfAKilledSaveAreRemovedAtTheNextOpenOrSave)
{
    TestFolders folders;
    const QString folder = folders.Root();
    const QString fileName = folder + QStringLiteral("/Note.qxn");
    NoteFile note;
    note.Text = QStringLiteral("eins");
    note.NewFile(fileName);
    note.CloseFile();

    const QString stale = folder + QStringLiteral("/.Note.qxn.aB3dE9");
    const QString busy = folder + QStringLiteral("/.Note.qxn.Zz09xy");
    const QString other = folder + QStringLiteral("/.Other.qxn.aB3dE9");
    const QString young = folder + QStringLiteral("/.Note.qxn.new123");
    // Left by a save killed an hour ago; the young one may belong to a save that has not locked it yet.
    const auto age = [](const QString& name) {
        const struct timespec anHourAgo[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(name).constData(), anHourAgo, 0), 0);
    };
    for (const QString& name : {stale, busy, other, young})
        WriteFile(name, QByteArray(1000, 'x'));
    for (const QString& name : {stale, busy, other})
        age(name);
    // A save in progress elsewhere holds its temporary locked.
    const int busyFd = ::open(QFile::encodeName(busy).constData(), O_RDWR);
    ASSERT_GE(busyFd, 0);
    struct flock lock
    {
    };
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    ASSERT_EQ(::fcntl(busyFd, F_OFD_SETLK, &lock), 0);

    note.Open(fileName);
    EXPECT_FALSE(QFile::exists(stale)) << "the killed save's temporary is gone at the next open";
    EXPECT_TRUE(QFile::exists(busy)) << "a save in progress keeps its temporary";
    EXPECT_TRUE(QFile::exists(other)) << "another file's temporaries are not ours";
    EXPECT_TRUE(QFile::exists(young));

    WriteFile(stale, "y");
    age(stale);
    ::close(busyFd);
    ASSERT_TRUE(note.RequestWriteAccess());
    note.Text = QStringLiteral("zwei");
    note.Save();
    note.CloseFile();
    EXPECT_FALSE(QFile::exists(stale));
    EXPECT_FALSE(QFile::exists(busy)) << "released, it is stale now";
    EXPECT_TRUE(QFile::exists(young));
    EXPECT_EQ(readNote(fileName, false), QStringLiteral("zwei"));
}

TEST(SafeSave, APendingCompanionInAReadOnlyFolderStillChecksTheFile)
{
    TestFolders folders;
    const QString folder = folders.Root() + QStringLiteral("/profiles");
    QDir().mkpath(folder);
    const QString fileName = folder + QStringLiteral("/Anna.qxs");
    NoteFile note(true);
    note.Text = QStringLiteral("alt");
    note.NewFile(fileName);
    note.CloseFile();
    // A save interrupted after the data file was renamed: the new companion is still pending.
    const QString companion = TQVL_FileObject::ChecksumFileName(fileName);
    const QByteArray oldCompanion = ReadFile(companion);
    NoteFile newer(true);
    newer.Text = QStringLiteral("neu");
    newer.NewFile(fileName);
    newer.CloseFile();
    WriteFile(TQVL_SafeFile::PendingCompanionName(companion), ReadFile(companion));
    WriteFile(companion, oldCompanion);

    ImmutableFolder lock(folder);
    if (!lock.locked)
        GTEST_SKIP() << "this file system cannot mark a folder immutable";
    QString text;
    EXPECT_NO_THROW(text = readNote(fileName, true));
    EXPECT_EQ(text, QStringLiteral("neu"));
}
