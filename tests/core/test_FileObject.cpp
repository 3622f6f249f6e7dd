#include "tests/core/NoteFile.h"
#include "core/QVL_Notices.h"
#include "tests/support/RecordingErrorDisplay.h"
#include "tests/support/TestErrors.h"
#include "tests/support/TestFolders.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <functional>

namespace {

class FileObjectTest : public ::testing::Test
{
protected:
    QString path(const QString& name) const { return folders.Root() + QLatin1Char('/') + name; }

    // A guarded or plain note file on disk with the given text.
    QString createNote(const QString& name, const QString& text, bool guarded)
    {
        NoteFile note(guarded);
        note.Text = text;
        note.NewFile(path(name));
        note.CloseFile();
        return path(name);
    }

    TestFolders folders;
};

} // namespace

TEST_F(FileObjectTest, LifeCycleAndNotifications)
{
    NoteFile note;
    int opened = 0, closed = 0, accessChanged = 0;
    note.OnOpen = [&] { ++opened; };
    note.OnClose = [&] { ++closed; };
    note.OnAccessChange = [&] { ++accessChanged; };
    note.Text = QStringLiteral("Hallo");
    note.NewFile(path(QStringLiteral("a.qxn")));
    EXPECT_TRUE(note.IsOpen);
    EXPECT_TRUE(note.WriteAccess);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}$"))
                    .match(note.Uid)
                    .hasMatch());
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(note.ReleaseWriteAccess());
    EXPECT_FALSE(note.WriteAccess);
    EXPECT_EQ(ErrorOf([&] { note.Save(); }), QStringLiteral("Datei ist schreibgeschützt!"));
    EXPECT_TRUE(note.RequestWriteAccess());
    note.Text = QStringLiteral("Welt");
    note.Save();
    EXPECT_EQ(accessChanged, 2);
    note.CloseFile();
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(note.IsOpen);
    EXPECT_TRUE(note.FileName.isEmpty());

    NoteFile again;
    again.Open(path(QStringLiteral("a.qxn")));
    EXPECT_EQ(again.Text, QStringLiteral("Welt"));
    EXPECT_EQ(again.Uid, note.Uid);
    EXPECT_FALSE(again.WriteAccess);
    EXPECT_EQ(ErrorOf([&] { again.Save(); }), QStringLiteral("Datei ist schreibgeschützt!"));
}

TEST_F(FileObjectTest, MisuseRaisesTheGermanMessages)
{
    NoteFile note;
    const QString closedMessage = QStringLiteral("Keine Datei geöffnet!");
    EXPECT_EQ(ErrorOf([&] { note.Save(); }), closedMessage);
    EXPECT_EQ(ErrorOf([&] { note.SaveAs(path(QStringLiteral("x.qxn"))); }), closedMessage);
    EXPECT_EQ(ErrorOf([&] { note.RequestWriteAccess(); }), closedMessage);
    EXPECT_EQ(ErrorOf([&] { note.ReleaseWriteAccess(); }), closedMessage);
    EXPECT_EQ(ErrorOf([&] { note.CloseFile(); }), closedMessage);
    EXPECT_EQ(ErrorOf([&] { note.Open(path(QStringLiteral("missing.qxn"))); }),
              QStringLiteral("Datei \"%1\" nicht gefunden!").arg(path(QStringLiteral("missing.qxn"))));

    note.NewFile(path(QStringLiteral("a.qxn")));
    const QString openMessage = QStringLiteral("Bitte schließen Sie erst die aktuelle Datei!");
    EXPECT_EQ(ErrorOf([&] { note.Open(path(QStringLiteral("a.qxn"))); }), openMessage);
    EXPECT_EQ(ErrorOf([&] { note.NewFile(path(QStringLiteral("b.qxn"))); }), openMessage);
}

TEST_F(FileObjectTest, FailedOpenLeavesTheObjectClosed)
{
    struct BadFile {
        const char* name;
        QByteArray content;
        QString message;
    };
    const BadFile files[] = {
        {"v2.qxn", "<root><version>2</version><uid/><text/></root>", QStringLiteral("Version 2 wird nicht unterstützt!")},
        {"v300.qxn", "<root><version>300</version></root>", QStringLiteral("Version 300 wird nicht unterstützt!")},
        {"noversion.qxn", "<root><uid/></root>", QStringLiteral("Keine Versionsangabe gefunden!")},
        {"invalid.qxn", "<root><version>1</version><uid/></root>",
         QStringLiteral("Die Datei \"%1\" ist keine gültige Notiz!")},
    };
    for (const BadFile& file : files) {
        const QString name = path(QString::fromLatin1(file.name));
        WriteFile(name, file.content);
        NoteFile note;
        bool notified = false;
        note.OnOpen = [&] { notified = true; };
        // Every message names the file: causes that do not get a context line.
        const QString expected = file.message.contains(QLatin1String("%1"))
                                     ? file.message.arg(name)
                                     : QStringLiteral("Fehler beim Lesen der Datei \"%1\"!\r").arg(name) + file.message;
        EXPECT_EQ(ErrorOf([&] { note.Open(name); }), expected);
        EXPECT_FALSE(note.IsOpen);
        EXPECT_FALSE(notified);
        EXPECT_TRUE(note.FileName.isEmpty());
        EXPECT_EQ(ReadFile(name), file.content) << "a failed open changes nothing on disk";
    }
    NoteFile broken;
    WriteFile(path(QStringLiteral("broken.qxn")), "<root><version>1</version><uid>");
    EXPECT_EQ(ErrorOf([&] { broken.Open(path(QStringLiteral("broken.qxn"))); }).toStdString(),
              QStringLiteral("Fehler beim Lesen der Datei \"%1\"!\rFehlerhaftes XML in Zeile 1, Spalte 31: "
                             "Start- und End-Tag passen nicht zusammen")
                  .arg(path(QStringLiteral("broken.qxn")))
                  .toStdString());
    EXPECT_FALSE(broken.IsOpen);
}

TEST_F(FileObjectTest, BytesThatAreNotUtf8ReadAsWindows1252AndSaveWithoutLoss)
{
    QStringList notices;
    const auto previous = TQVL_Notices::Install([&](const QString& text) { notices << text; });
    const QString name = path(QStringLiteral("legacy.qxn"));
    // A hand-edited file: valid UTF-8 "ä", then single bytes of an older editor.
    WriteFile(name, "<?xml version=\"1.0\" encoding=\"utf-8\"?><root><version>1</version><uid>{U}</uid>"
                    "<text>\xC3\xA4 M\xFCller \x80 \x93x\x94</text></root>");
    NoteFile note;
    note.Open(name);
    EXPECT_EQ(note.Text, QStringLiteral("ä Müller € “x”"));
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices[0].contains(QStringLiteral("legacy.qxn"))) << notices[0].toStdString();
    EXPECT_TRUE(notices[0].contains(QStringLiteral("Windows-1252")));

    ASSERT_TRUE(note.RequestWriteAccess());
    note.Save();
    note.CloseFile();
    const QByteArray saved = ReadFile(name);
    EXPECT_FALSE(saved.contains("\xEF\xBF\xBD")) << "no replacement character is ever written back";
    EXPECT_TRUE(saved.contains("<text>\xC3\xA4 M\xC3\xBCller \xE2\x82\xAC \xE2\x80\x9Cx\xE2\x80\x9D</text>"));

    notices.clear();
    note.Open(name);
    EXPECT_TRUE(notices.isEmpty()) << "the saved file is plain UTF-8";
    TQVL_Notices::Install(previous);
}

TEST_F(FileObjectTest, SaveAsMovesToTheNewPathAndKeepsTheOldFile)
{
    const QString first = createNote(QStringLiteral("first.qxn"), QStringLiteral("eins"), false);
    const QByteArray before = ReadFile(first);
    NoteFile note;
    note.Open(first);
    note.Text = QStringLiteral("zwei");
    note.SaveAs(path(QStringLiteral("second.qxn")));
    EXPECT_EQ(note.FileName, path(QStringLiteral("second.qxn")));
    EXPECT_TRUE(note.WriteAccess);
    EXPECT_EQ(ReadFile(first), before);
    NoteFile check;
    check.Open(path(QStringLiteral("second.qxn")));
    EXPECT_EQ(check.Text, QStringLiteral("zwei"));
}

TEST_F(FileObjectTest, NewFileOverwritesWithAFreshUid)
{
    const QString name = createNote(QStringLiteral("n.qxn"), QStringLiteral("alt"), false);
    NoteFile old;
    old.Open(name);
    const QString oldUid = old.Uid;
    old.CloseFile();

    NoteFile note;
    note.Uid = oldUid;
    note.Text = QStringLiteral("neu");
    note.NewFile(name);
    EXPECT_NE(note.Uid, oldUid);
    note.CloseFile();
    NoteFile check;
    check.Open(name);
    EXPECT_EQ(check.Text, QStringLiteral("neu"));
}

TEST_F(FileObjectTest, WriteAccessIsExclusiveAndHonoursReadOnlyFiles)
{
    const QString name = createNote(QStringLiteral("shared.qxn"), QStringLiteral("x"), false);
    NoteFile writer, reader;
    writer.Open(name);
    reader.Open(name);
    ASSERT_TRUE(writer.RequestWriteAccess());
    EXPECT_FALSE(reader.RequestWriteAccess()) << "another holder of the file gets read access only";
    EXPECT_TRUE(reader.IsOpen);
    writer.Text = QStringLiteral("changed");
    writer.Save();
    EXPECT_FALSE(reader.RequestWriteAccess()) << "the lock moves with the saved file";
    writer.ReleaseWriteAccess();
    EXPECT_TRUE(reader.RequestWriteAccess());
    reader.CloseFile();
    writer.CloseFile();

    const QString locked = createNote(QStringLiteral("readonly.qxn"), QStringLiteral("x"), false);
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    NoteFile note;
    note.Open(locked);
    EXPECT_FALSE(note.RequestWriteAccess());
    EXPECT_FALSE(note.WriteAccess);
    EXPECT_EQ(ErrorOf([&] { note.Save(); }), QStringLiteral("Datei ist schreibgeschützt!"));
}

TEST_F(FileObjectTest, WriteAccessToAFileChangedSinceItWasReadReadsItAgainFirst)
{
    struct Change
    {
        const char* name;
        bool guarded;
        // Changes the file behind the back of the object that read it.
        std::function<void(const QString& file)> apply;
    };
    const QString theirs = QStringLiteral("von der anderen Instanz gespeichert");
    const auto anotherInstanceSaves = [&](bool guarded) {
        return [&, guarded](const QString& file) {
            NoteFile other(guarded);
            other.Open(file);
            ASSERT_TRUE(other.RequestWriteAccess());
            other.Text = theirs;
            other.Save();
            other.CloseFile();
        };
    };
    // An editor that writes in place keeps the inode; the length differs, so even a coarse clock shows it.
    const auto writtenInPlace = [&](const QString& file) {
        QByteArray content = ReadFile(file);
        content.replace("<text>unsere</text>", "<text>" + theirs.toUtf8() + "</text>");
        WriteFile(file, content);
    };
    const Change changes[] = {
        {"saved.qxn", false, anotherInstanceSaves(false)},
        {"saved.qxs", true, anotherInstanceSaves(true)},
        {"inplace.qxn", false, writtenInPlace},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.name);
        const QString name = createNote(QString::fromLatin1(change.name), QStringLiteral("unsere"), change.guarded);
        NoteFile stale(change.guarded);
        stale.Open(name);
        EXPECT_FALSE(stale.ChangedOnDisk());
        change.apply(name);
        EXPECT_TRUE(stale.ChangedOnDisk());

        QStringList notices;
        const auto previous = TQVL_Notices::Install([&](const QString& text) { notices << text; });
        int reloads = 0;
        stale.OnReload = [&] {
            ++reloads;
            EXPECT_EQ(stale.Text, theirs) << "listeners hear of it once the new content is in";
        };
        EXPECT_TRUE(stale.RequestWriteAccess());
        TQVL_Notices::Install(previous);
        EXPECT_EQ(stale.Text, theirs);
        EXPECT_EQ(reloads, 1);
        ASSERT_EQ(notices.size(), 1);
        EXPECT_TRUE(notices[0].contains(QString::fromLatin1(change.name))) << notices[0].toStdString();
        EXPECT_TRUE(notices[0].contains(QStringLiteral("von einem anderen Programm geändert")));
        EXPECT_FALSE(stale.ChangedOnDisk());

        stale.Text += QStringLiteral(" und ergänzt");
        stale.Save();
        stale.CloseFile();
        NoteFile check(change.guarded);
        check.Open(name);
        EXPECT_EQ(check.Text, theirs + QStringLiteral(" und ergänzt")) << "the other instance's text survives";
    }
}

TEST_F(FileObjectTest, AnUnchangedFileOrTheObjectsOwnSaveIsNotReadAgain)
{
    const QString name = createNote(QStringLiteral("own.qxs"), QStringLiteral("gespeichert"), true);
    NoteFile note(true);
    int reloads = 0;
    note.OnReload = [&] { ++reloads; };
    note.Open(name);
    // Changed in memory before asking: nothing on disk is newer, so the change stays.
    note.Text = QStringLiteral("im Speicher");
    ASSERT_TRUE(note.RequestWriteAccess());
    EXPECT_EQ(note.Text, QStringLiteral("im Speicher"));
    // The save replaces the file by a new one; the object knows it as its own.
    note.Save();
    EXPECT_FALSE(note.ChangedOnDisk());
    note.ReleaseWriteAccess();
    note.Text = QStringLiteral("wieder im Speicher");
    ASSERT_TRUE(note.RequestWriteAccess());
    EXPECT_EQ(note.Text, QStringLiteral("wieder im Speicher"));
    EXPECT_EQ(reloads, 0);
}

TEST_F(FileObjectTest, AChangedFileThatCannotBeReadAgainIsNotWrittenOver)
{
    struct Broken
    {
        const char* name;
        bool guarded;
        QByteArray from, to;
        const char* cause;
    };
    const Broken cases[] = {
        {"broken.qxn", false, "</text>", "</texts>", "Fehlerhaftes XML"},
        // Edited without its companion: the guard refuses it as on an open.
        {"edited.qxs", true, "<text>alt</text>", "<text>fremd</text>", "manipuliert"},
    };
    for (const Broken& broken : cases) {
        SCOPED_TRACE(broken.name);
        const QString name = createNote(QString::fromLatin1(broken.name), QStringLiteral("alt"), broken.guarded);
        NoteFile stale(broken.guarded);
        stale.Open(name);
        WriteFile(name, ReadFile(name).replace(broken.from, broken.to));
        const QByteArray onDisk = ReadFile(name);

        const QString error = ErrorOf([&] { stale.RequestWriteAccess(); });
        EXPECT_TRUE(error.startsWith(QStringLiteral("Die Datei \"%1\" wurde inzwischen von einem anderen Programm "
                                                    "geändert und kann nicht neu eingelesen werden.")
                                         .arg(name)))
            << error.toStdString();
        EXPECT_TRUE(error.contains(QString::fromLatin1(broken.cause))) << error.toStdString();
        EXPECT_TRUE(stale.IsOpen);
        EXPECT_FALSE(stale.WriteAccess);
        EXPECT_EQ(stale.Text, QStringLiteral("alt"));
        EXPECT_EQ(ErrorOf([&] { stale.Save(); }), QStringLiteral("Datei ist schreibgeschützt!"));
        EXPECT_EQ(ReadFile(name), onDisk);
        EXPECT_FALSE(ErrorOf([&] { stale.RequestWriteAccess(); }).isEmpty()) << "refused for as long as it is broken";
    }
}

TEST_F(FileObjectTest, ReleasingAnOpenObjectReportsIt)
{
    // Unlike NoteFile, this one does not close itself.
    struct Forgetful : TQVL_FileObject {
        void LoadFromXML(TQVL_XMLTag&) override {}
        void SaveToXML(TQVL_XMLTag& tag) override
        {
            tag.AddChild(QStringLiteral("uid"), Uid);
            tag.AddChild(QStringLiteral("text"));
        }
    };
    RecordingErrorDisplay display;
    const QString name = path(QStringLiteral("open.qxn"));
    {
        Forgetful note;
        note.NewFile(name);
    }
    EXPECT_EQ(display.Shown, QStringList{QStringLiteral("Datei \"%1\" ist noch geöffnet!").arg(name)});
    NoteFile again;
    again.Open(name);
    EXPECT_TRUE(again.RequestWriteAccess()) << "the forgotten handle was released all the same";
}

TEST_F(FileObjectTest, IntegrityGuard)
{
    const QString name = createNote(QStringLiteral("Anna.qxs"), QStringLiteral("geheim"), true);
    const QString companion = path(QStringLiteral("Anna.crc"));
    EXPECT_EQ(ReadFile(companion), TQVL_FileObject::Checksum(ReadFile(name)) + "\r\n");
    EXPECT_EQ(TQVL_FileObject::Checksum(""), QByteArray("74be16979710d4c4e7c6647856088456"));
    EXPECT_EQ(TQVL_FileObject::Checksum("abc"), QByteArray("ec0405c5aef93e771cd80e0db180b88b"));

    NoteFile ok(true);
    ok.Open(name);
    ok.CloseFile();

    const QString manipulated = QStringLiteral("Die Datei \"%1\" wurde nachträglich manipuliert und kann aus "
                                               "Sicherheitsgründen nicht geöffnet werden!")
                                    .arg(name);
    // Upper-case checksum does not count.
    WriteFile(companion, TQVL_FileObject::Checksum(ReadFile(name)).toUpper() + "\r\n");
    NoteFile upper(true);
    EXPECT_EQ(ErrorOf([&] { upper.Open(name); }), manipulated);

    // One changed byte is a manipulation, until the program saved the file itself.
    WriteFile(companion, TQVL_FileObject::Checksum(ReadFile(name)) + "\r\n");
    QByteArray content = ReadFile(name);
    content.replace("geheim", "GEHEIM");
    WriteFile(name, content);
    NoteFile guarded(true);
    EXPECT_EQ(ErrorOf([&] { guarded.Open(name); }), manipulated);
    EXPECT_FALSE(guarded.IsOpen);
    guarded.IntegrityGuard = false;
    guarded.Open(name);
    EXPECT_EQ(guarded.Text, QStringLiteral("GEHEIM"));
    guarded.IntegrityGuard = true;
    ASSERT_TRUE(guarded.RequestWriteAccess());
    guarded.Save();
    guarded.CloseFile();
    NoteFile reopened(true);
    reopened.Open(name);
    EXPECT_EQ(reopened.Text, QStringLiteral("GEHEIM"));
    reopened.CloseFile();

    QFile::remove(companion);
    NoteFile missing(true);
    EXPECT_EQ(ErrorOf([&] { missing.Open(name); }),
              QStringLiteral("Die zum Schutz vor Manipulation relevante Datei \"%1\" konnte nicht gelesen werden!")
                  .arg(companion));
    EXPECT_FALSE(missing.IsOpen);
}

TEST_F(FileObjectTest, AGuardedOpenCompletesAnInterruptedSave)
{
    const QString name = createNote(QStringLiteral("Ben.qxs"), QStringLiteral("alt"), true);
    const QString companion = path(QStringLiteral("Ben.crc"));
    const QByteArray oldChecksum = ReadFile(companion);
    // As if a save was killed after renaming the data file, before renaming its companion.
    WriteFile(name, ReadFile(name).replace("alt", "neu"));
    const QByteArray newChecksum = TQVL_FileObject::Checksum(ReadFile(name)) + "\r\n";
    WriteFile(companion + QStringLiteral(".new"), newChecksum);
    // The companion still guards the old content: only the completion lets the file open.
    ASSERT_NE(oldChecksum, newChecksum);
    ASSERT_EQ(ReadFile(companion), oldChecksum);
    NoteFile note(true);
    note.Open(name);
    EXPECT_EQ(note.Text, QStringLiteral("neu"));
    EXPECT_EQ(ReadFile(companion), newChecksum);
    EXPECT_FALSE(QFile::exists(companion + QStringLiteral(".new")));
    note.CloseFile();

    // A pending companion of a save that never renamed its data file is ignored.
    WriteFile(companion + QStringLiteral(".new"), QByteArray(32, 'f') + "\r\n");
    NoteFile again(true);
    again.Open(name);
    EXPECT_EQ(again.Text, QStringLiteral("neu"));
    EXPECT_EQ(ReadFile(companion), newChecksum) << "the companion keeps guarding the file";
}

TEST(ChecksumFileName, ReplacesTheExtension)
{
    EXPECT_EQ(TQVL_FileObject::ChecksumFileName(QStringLiteral("/u/Anna.qxs")), QStringLiteral("/u/Anna.crc"));
    EXPECT_EQ(TQVL_FileObject::ChecksumFileName(QStringLiteral("/u/a.b/Anna")), QStringLiteral("/u/a.b/Anna.crc"));
    EXPECT_EQ(TQVL_FileObject::ChecksumFileName(QStringLiteral("/d/QueryOptions.xml")),
              QStringLiteral("/d/QueryOptions.crc"));
}
