// Two program instances on one file: the one that gains write access later
// must never save the copy it read before the other one's save.
#include "content/QVL_Card_Voc.h"
#include "content/QVL_Language.h"
#include "content/QVL_LongTermStorage.h"
#include "content/QVL_Unit.h"
#include "content/QVL_Unit_Integration.h"
#include "content/QVL_Units.h"
#include "core/QVL_Notices.h"
#include "tests/support/TestErrors.h"
#include "tests/support/TestFolders.h"

#include <QSet>
#include <QStringList>

#include <gtest/gtest.h>

#include <initializer_list>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void addWords(TQVL_Unit& unit, std::initializer_list<std::pair<const char*, const char*>> words)
{
    for (const auto& [foreign, home] : words) {
        auto* card = static_cast<TQVL_Card_Voc*>(unit.Cards->NewCard(tVoc));
        card->foreign1 = QString::fromUtf8(foreign);
        card->home1 = QString::fromUtf8(home);
    }
}

QString makeUnit(const QString& path, TQVL_CardType typ,
                 std::initializer_list<std::pair<const char*, const char*>> words)
{
    TQVL_Unit unit;
    unit.Typ = typ;
    unit.LangCodeHome = QStringLiteral("ger");
    unit.LangCodeForeign = QStringLiteral("eng");
    addWords(unit, words);
    unit.NewFile(path);
    unit.CloseFile();
    return path;
}

QStringList words(const TQVL_Unit& unit)
{
    QStringList shown;
    for (int i = 0; i < unit.Cards->Count(); ++i) {
        const auto* card = static_cast<const TQVL_Card_Voc*>(unit.Cards->Card(i));
        shown << card->foreign1 + QLatin1Char('=') + card->home1;
    }
    return shown;
}

QStringList wordsOnDisk(const QString& path)
{
    TQVL_Unit unit;
    unit.Open(path);
    const QStringList shown = words(unit);
    unit.CloseFile();
    return shown;
}

// Every card of the unit file has its own identifier.
bool uidsUnique(const QString& path)
{
    TQVL_Unit unit;
    unit.Open(path);
    QSet<qint32> uids;
    for (int i = 0; i < unit.Cards->Count(); ++i)
        uids.insert(unit.Cards->Card(i)->Uid);
    const bool unique = uids.size() == unit.Cards->Count();
    unit.CloseFile();
    return unique;
}

// Silences the notices of a test and keeps them.
class NoticeLog
{
public:
    NoticeLog() : previous(TQVL_Notices::Install([this](const QString& text) { Shown << text; })) {}
    ~NoticeLog() { TQVL_Notices::Install(previous); }
    QStringList Shown;

private:
    TQVL_Notices::Receiver previous;
};

} // namespace

TEST(StaleCopies, TwoProcessesOnOneLessonKeepEachOthersCards)
{
    TestFolders folders;
    const QString path = makeUnit(folders.Root() + QStringLiteral("/Tiere.qxu"), tVoc, {{"cat", "Katze"}});
    NoticeLog notices;
    // Instance B reads the lesson ...
    TQVL_Unit b;
    b.Open(path);

    // ... instance A, a process of its own, adds a card and saves, and holds the file until told to let go.
    int saved[2], release[2];
    ASSERT_EQ(::pipe(saved), 0);
    ASSERT_EQ(::pipe(release), 0);
    const pid_t a = ::fork();
    ASSERT_GE(a, 0);
    if (a == 0) {
        int status = 0;
        try {
            TQVL_Unit unit;
            unit.Open(path);
            if (!unit.RequestWriteAccess())
                ::_exit(3);
            addWords(unit, {{"dog", "Hund"}});
            unit.Save();
            char go = 0;
            if (::write(saved[1], "s", 1) != 1 || ::read(release[0], &go, 1) != 1)
                status = 4;
            unit.CloseFile();
        } catch (...) {
            status = 2;
        }
        ::_exit(status);
    }
    char byte = 0;
    ASSERT_EQ(::read(saved[0], &byte, 1), 1) << "instance A did not save";

    EXPECT_FALSE(b.RequestWriteAccess()) << "A still holds the lesson";
    EXPECT_EQ(words(b), QStringList{QStringLiteral("cat=Katze")});
    ASSERT_EQ(::write(release[1], "g", 1), 1);
    int status = 0;
    ::waitpid(a, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    for (int fd : {saved[0], saved[1], release[0], release[1]})
        ::close(fd);

    ASSERT_TRUE(b.RequestWriteAccess());
    EXPECT_EQ(words(b), (QStringList{QStringLiteral("cat=Katze"), QStringLiteral("dog=Hund")}));
    addWords(b, {{"cow", "Kuh"}});
    b.Save();
    b.CloseFile();
    EXPECT_EQ(wordsOnDisk(path),
              (QStringList{QStringLiteral("cat=Katze"), QStringLiteral("dog=Hund"), QStringLiteral("cow=Kuh")}));
    EXPECT_TRUE(uidsUnique(path)) << "B's new card must not take the identifier of A's";
    ASSERT_EQ(notices.Shown.size(), 1);
    EXPECT_TRUE(notices.Shown[0].contains(QStringLiteral("\"Tiere.qxu\""))) << notices.Shown[0].toStdString();
}

TEST(StaleCopies, IntegratingIntoAStorageAnotherInstanceFilledKeepsItsCards)
{
    TestFolders folders;
    const QString storagePath =
        makeUnit(folders.Root() + QStringLiteral("/Englisch.qxs"), tLongTermStorage, {{"house", "Haus"}});
    NoticeLog notices;
    TQVL_LongTermStorage storage;
    storage.Open(storagePath);
    TQVL_Unit lesson;
    lesson.Open(makeUnit(folders.Root() + QStringLiteral("/Tiere.qxu"), tVoc, {{"cat", "Katze"}}));

    // While the learner looks at the conflicts, another instance integrates its lesson.
    {
        TQVL_LongTermStorage other;
        other.Open(storagePath);
        TQVL_Unit otherLesson;
        otherLesson.Open(makeUnit(folders.Root() + QStringLiteral("/Haus.qxu"), tVoc, {{"door", "Tür"}}));
        TQVL_Unit_Integration::Integrate(other, otherLesson, false);
        otherLesson.CloseFile();
        other.CloseFile();
    }

    EXPECT_EQ(TQVL_Unit_Integration::Integrate(storage, lesson, false), 2) << "the new cards follow the other's";
    storage.CloseFile();
    lesson.CloseFile();
    EXPECT_EQ(wordsOnDisk(storagePath),
              (QStringList{QStringLiteral("house=Haus"), QStringLiteral("door=Tür"), QStringLiteral("cat=Katze")}));
    EXPECT_TRUE(uidsUnique(storagePath));
}

TEST(StaleCopies, ALanguageProfileIsReadAgainBeforeItIsEdited)
{
    TestFolders folders;
    const QString path = folders.Root() + QStringLiteral("/Englisch.qxl");
    {
        TQVL_Language created;
        created.Name = QStringLiteral("Englisch");
        created.NewFile(path);
        created.CloseFile();
    }
    NoticeLog notices;
    TQVL_Language stale;
    stale.Open(path);
    {
        TQVL_Language other;
        other.Open(path);
        ASSERT_TRUE(other.RequestWriteAccess());
        other.Characters = QStringLiteral("£");
        other.ReplacementsActive = true;
        other.Save();
        other.CloseFile();
    }
    ASSERT_TRUE(stale.RequestWriteAccess());
    EXPECT_EQ(stale.Characters, QStringLiteral("£"));
    EXPECT_TRUE(stale.ReplacementsActive);
    stale.Name = QStringLiteral("Britisch");
    stale.Save();
    stale.CloseFile();

    TQVL_Language check;
    check.Open(path);
    EXPECT_EQ(check.Name, QStringLiteral("Britisch"));
    EXPECT_EQ(check.Characters, QStringLiteral("£"));
    check.CloseFile();
}

TEST(StaleCopies, TheManagerTellsItsListenersWhenTheActiveUnitIsReadAgain)
{
    TestFolders folders;
    const QString path = makeUnit(folders.Root() + QStringLiteral("/Tiere.qxu"), tVoc, {{"cat", "Katze"}});
    NoticeLog notices;
    TQVL_Units units;
    QStringList heard;
    units.OnFileOpened = [&] { heard << QStringLiteral("geöffnet"); };
    units.OnFileClosed = [&] { heard << QStringLiteral("geschlossen"); };
    units.OnFileReloaded = [&] { heard << QStringLiteral("neu gelesen ") + units.GetActiveUnit().LangCodeForeign; };
    TQVL_Unit& unit = units.GetActiveUnit();
    unit.Open(path);
    ASSERT_TRUE(unit.RequestWriteAccess());
    unit.ReleaseWriteAccess();
    {
        // Another instance changes the lesson's languages: the listeners open other profiles.
        TQVL_Unit other;
        other.Open(path);
        ASSERT_TRUE(other.RequestWriteAccess());
        other.LangCodeForeign = QStringLiteral("fre");
        other.Save();
        other.CloseFile();
    }
    ASSERT_TRUE(unit.RequestWriteAccess());
    unit.CloseFile();
    EXPECT_EQ(heard, (QStringList{QStringLiteral("geöffnet"), QStringLiteral("neu gelesen fre"),
                                  QStringLiteral("geschlossen")}));
}
