#include "content/QVL_Provider_CardArrangements.h"
#include "content/QVL_Provider_Languages.h"
#include "content/QVL_Provider_LongTermStorages.h"
#include "content/QVL_Provider_Units.h"
#include "content/QVL_Provider_Users.h"
#include "tests/support/TestFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <functional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray unitHeader(const QByteArray& uid, const QByteArray& cardCount)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<root>\r\n  <version>1</version>\r\n  <header>\r\n"
           "    <uid>" + uid + "</uid>\r\n    <cardcount>" + cardCount + "</cardcount>\r\n  </header>\r\n</root>\r\n";
}

QStringList namesOf(const TQVL_Provider_Item_Custom& folder)
{
    QStringList names;
    for (int i = 0; i < folder.ChildCount(); ++i)
        names << folder.Child(i)->Name;
    names.sort();
    return names;
}

template <typename Item>
Item* fileNamed(const TQVL_Provider_Custom& provider, const QString& name)
{
    for (TQVL_Provider_Item_Custom* item : provider.Items)
        if (item->IsFile && item->Name == name)
            return dynamic_cast<Item*>(item);
    return nullptr;
}

} // namespace

TEST(Provider, MatchesExtensionsInLowerCase)
{
    TQVL_Provider_Units units;
    const std::pair<const char*, bool> cases[] = {{"a.qxu", true},  {"Lesson.QXU", true}, {"b.qxuz", true},
                                                  {"c.qxs", false}, {"qxu", false},       {"d.qx", false},
                                                  {"e.qxu.bak", false}};
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(units.Matches(QString::fromLatin1(name)), expected) << name;
    units.Extensions = QStringLiteral(".qxu");
    EXPECT_FALSE(units.Matches(QStringLiteral("b.qxuz"))) << "the manager's single extension is in force";
    units.Extensions.clear();
    EXPECT_TRUE(units.Matches(QStringLiteral("anything.txt")));
}

TEST(Provider, ScansTheTreeWithFoldersAndHeaderValues)
{
    TestFolders folders;
    const QString root = folders.Root() + QStringLiteral("/Lektionen");
    WriteFile(root + QStringLiteral("/Englisch.qxu"), unitHeader("{A}", "12"));
    WriteFile(root + QStringLiteral("/Lesson.QXU"), unitHeader("{B}", "x"));
    WriteFile(root + QStringLiteral("/late.qxu"), "<root><header><uid>{C}</uid>" + QByteArray(400, ' ') + "<cardcount>5</cardcount>");
    WriteFile(root + QStringLiteral("/notes.txt"), "x");
    WriteFile(root + QStringLiteral("/packed.qxuz"), unitHeader("{Z}", "99"));
    WriteFile(root + QStringLiteral("/Kapitel/Tiere.qxu"), unitHeader("{D}", "3"));
    WriteFile(root + QStringLiteral("/Kapitel/huge.qxu"), unitHeader("{H}", "2147483647"));
    WriteFile(root + QStringLiteral("/Kapitel/negative.qxu"), unitHeader("{N}", "-5"));
    QDir().mkpath(root + QStringLiteral("/Leer"));
    ::symlink(QFile::encodeName(root).constData(), QFile::encodeName(root + QStringLiteral("/Kapitel/zurück")).constData());

    TQVL_Provider_Units units;
    units.ReadHeaders = true;
    units.ResultLookup = [](const QString& uid, TQVL_UnitResultFigures& figures) {
        if (uid != QLatin1String("{A}"))
            return false;
        figures = {TQVL_DateTime(45000.5), 5, 8, 1, 3};
        return true;
    };
    units.Scan(root);
    EXPECT_EQ(units.Root->Name, QStringLiteral("Lektionen"));
    EXPECT_EQ(namesOf(*units.Root), (QStringList{QStringLiteral("Englisch.qxu"), QStringLiteral("Kapitel"),
                                                QStringLiteral("Leer"), QStringLiteral("Lesson.QXU"),
                                                QStringLiteral("late.qxu"), QStringLiteral("packed.qxuz")}));

    const auto* english = fileNamed<TQVL_Provider_Item_Unit>(units, QStringLiteral("Englisch.qxu"));
    ASSERT_NE(english, nullptr);
    EXPECT_EQ(english->Uid, QStringLiteral("{A}"));
    EXPECT_EQ(english->CardCount, 12);
    EXPECT_EQ(english->SuccessLast, 62) << "5 of 8 is 62.5 %, halves to even";
    EXPECT_EQ(english->SuccessAll, 33);
    EXPECT_EQ(english->LastQueryDate.Serial(), 45000.5);
    EXPECT_EQ(english->Path, root + QStringLiteral("/Englisch.qxu"));

    const auto* broken = fileNamed<TQVL_Provider_Item_Unit>(units, QStringLiteral("Lesson.QXU"));
    EXPECT_EQ(broken->Uid, QStringLiteral("{B}")) << "values read before the error stay";
    EXPECT_EQ(broken->CardCount, 0);
    const auto* late = fileNamed<TQVL_Provider_Item_Unit>(units, QStringLiteral("late.qxu"));
    EXPECT_EQ(late->Uid, QStringLiteral("{C}"));
    EXPECT_EQ(late->CardCount, 0) << "cardcount beyond the first 350 bytes";
    EXPECT_TRUE(fileNamed<TQVL_Provider_Item_Unit>(units, QStringLiteral("packed.qxuz"))->Uid.isEmpty());

    const auto* nested = fileNamed<TQVL_Provider_Item_Unit>(units, QStringLiteral("Tiere.qxu"));
    ASSERT_NE(nested, nullptr);
    EXPECT_EQ(nested->Parent->Name, QStringLiteral("Kapitel"));
    // A header edited by hand: no negative count, none beyond what the file has room for ("<card/>" each).
    const auto* huge = fileNamed<TQVL_Provider_Item_Unit>(units, QStringLiteral("huge.qxu"));
    EXPECT_EQ(huge->CardCount, int(QFileInfo(huge->Path).size() / 7));
    EXPECT_EQ(fileNamed<TQVL_Provider_Item_Unit>(units, QStringLiteral("negative.qxu"))->CardCount, 0);
    const auto* empty = [&]() -> TQVL_Provider_Item_Custom* {
        for (auto* item : units.Items)
            if (item->Name == QLatin1String("Leer"))
                return item;
        return nullptr;
    }();
    ASSERT_NE(empty, nullptr);
    EXPECT_FALSE(empty->IsFile);
    EXPECT_EQ(empty->ChildCount(), 0);

    const std::size_t once = units.Items.size();
    units.Scan(root);
    EXPECT_EQ(units.Items.size(), 2 * once) << "a second scan without Clear lists everything twice";
    units.Clear();
    EXPECT_TRUE(units.Items.empty());
    EXPECT_EQ(units.Root->ChildCount(), 0);
}

TEST(Provider, EntriesAreFoundByPathAndARescanGivesTheNewOnes)
{
    TestFolders folders;
    const QString root = folders.Root() + QStringLiteral("/Lektionen");
    WriteFile(root + QStringLiteral("/Kapitel/Tiere.qxu"), unitHeader("{D}", "3"));
    WriteFile(root + QStringLiteral("/Englisch.qxu"), unitHeader("{A}", "12"));
    TQVL_Provider_Units units;
    units.Scan(root);
    EXPECT_EQ(units.FindByPath(root), units.Root.get());
    const TQVL_Provider_Item_Custom* chapter = units.FindByPath(root + QStringLiteral("/Kapitel"));
    ASSERT_NE(chapter, nullptr);
    EXPECT_FALSE(chapter->IsFile);
    const TQVL_Provider_Item_Custom* animals = units.FindByPath(root + QStringLiteral("/Kapitel/Tiere.qxu"));
    ASSERT_NE(animals, nullptr);
    EXPECT_EQ(animals->Parent, chapter);
    for (const QString& missing :
         {QString(), root + QStringLiteral("/Tiere.qxu"), root + QStringLiteral("/kapitel"), root + QLatin1Char('/')})
        EXPECT_EQ(units.FindByPath(missing), nullptr) << missing.toStdString();

    // After a rescan the path leads to the entry of the new scan, and a removed file to none.
    QFile::remove(root + QStringLiteral("/Englisch.qxu"));
    units.Clear();
    units.Scan(root);
    EXPECT_EQ(units.FindByPath(root + QStringLiteral("/Englisch.qxu")), nullptr);
    const TQVL_Provider_Item_Custom* again = units.FindByPath(root + QStringLiteral("/Kapitel/Tiere.qxu"));
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(std::find(units.Items.begin(), units.Items.end(), again) != units.Items.end());
    EXPECT_EQ(again->Name, QStringLiteral("Tiere.qxu"));
}

TEST(Provider, OtherEntryKindsReadTheirHeaders)
{
    TestFolders folders;
    const QString root = folders.Root();
    WriteFile(root + QStringLiteral("/s/Englisch.qxs"),
              "<root><version>1</version><header><uid>{S}</uid><cardcount>4</cardcount>"
              "<langcode_home>ger</langcode_home><langcode_foreign>eng</langcode_foreign></header></root>");
    WriteFile(root + QStringLiteral("/l/fr.qxl"), "<root><uid>{L}</uid><name>Französisch</name><langcode>fre</langcode></root>");
    WriteFile(root + QStringLiteral("/a/v.qxa"), "<root><uid>{V}</uid><name>Verben</name></root>");
    WriteFile(root + QStringLiteral("/u/Anna.qxs"),
              "<root><header><uid>{U}</uid><name>Anna</name><icon>2</icon><lastlogin>01.02.2026 10:11:12</lastlogin>"
              "<alltimequeryseconds>3600</alltimequeryseconds><password>abc</password></header></root>");
    WriteFile(root + QStringLiteral("/u/Kaputt.qxs"), "das ist kein XML");

    TQVL_Provider_LongTermStorages storages;
    storages.Extensions = QStringLiteral(".qxs");
    storages.ReadHeaders = true;
    storages.Scan(root + QStringLiteral("/s"));
    const auto* storage = fileNamed<TQVL_Provider_Item_LongTermStorage>(storages, QStringLiteral("Englisch.qxs"));
    ASSERT_NE(storage, nullptr);
    EXPECT_EQ(storage->CardCount, 4);
    EXPECT_EQ(storage->LangCodeHome, QStringLiteral("ger"));
    EXPECT_EQ(storage->LangCodeForeign, QStringLiteral("eng"));

    TQVL_Provider_Languages languages;
    languages.ReadHeaders = true;
    languages.Scan(root + QStringLiteral("/l"));
    ASSERT_NE(languages.FindByLangCode(QStringLiteral("fre")), nullptr);
    EXPECT_EQ(languages.FindByLangCode(QStringLiteral("fre"))->LanguageName, QStringLiteral("Französisch"));
    EXPECT_EQ(languages.FindByLangCode(QStringLiteral("eng")), nullptr);

    TQVL_Provider_CardArrangements arrangements;
    arrangements.ReadHeaders = true;
    arrangements.Scan(root + QStringLiteral("/a"));
    ASSERT_NE(arrangements.FindByUid(QStringLiteral("{V}")), nullptr);
    EXPECT_EQ(arrangements.FindByUid(QStringLiteral("{V}"))->ArrangementName, QStringLiteral("Verben"));

    TQVL_Provider_Users users;
    users.Extensions = QStringLiteral(".qxs");
    users.ReadHeaders = true;
    users.Scan(root + QStringLiteral("/u"));
    const auto* anna = fileNamed<TQVL_Provider_Item_User>(users, QStringLiteral("Anna.qxs"));
    ASSERT_NE(anna, nullptr);
    EXPECT_EQ(anna->UserName, QStringLiteral("Anna"));
    EXPECT_EQ(anna->Icon, 2);
    EXPECT_EQ(anna->AllTimeQuerySeconds, 3600);
    EXPECT_EQ(anna->Password, QStringLiteral("abc"));
    EXPECT_EQ(anna->LastLogin.ToText(), QStringLiteral("01.02.2026 10:11:12"));
    EXPECT_EQ(fileNamed<TQVL_Provider_Item_User>(users, QStringLiteral("Kaputt.qxs"))->UserName,
              QStringLiteral("[Ungültig]"));
}

TEST(Provider, ARescanReadsTheFoldersOnlyWhenOneOfThemChanged)
{
    TestFolders folders;
    const QString root = folders.Root() + QStringLiteral("/Speicher");
    WriteFile(root + QStringLiteral("/Alt/Tiere.qxs"), unitHeader("{D}", "3"));
    WriteFile(root + QStringLiteral("/Englisch.qxs"), unitHeader("{A}", "12"));
    // Folder times of a minute ago; times of this very second could hide a change in the same clock tick.
    const auto age = [&](const QString& folder) {
        const timespec times[2] = {{::time(nullptr) - 60, 0}, {::time(nullptr) - 60, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(folder).constData(), times, 0), 0);
    };
    const auto ageAll = [&] {
        age(root);
        age(root + QStringLiteral("/Alt"));
    };
    TQVL_Provider_LongTermStorages storages;
    EXPECT_TRUE(storages.Rescan(root)) << "nothing scanned yet";
    EXPECT_TRUE(storages.Rescan(root)) << "folders changed this very second";
    ageAll();
    EXPECT_TRUE(storages.Rescan(root)) << "setting the times is a change too";
    EXPECT_FALSE(storages.Rescan(root));
    EXPECT_EQ(storages.Items.size(), 3u);

    const struct
    {
        const char* what;
        std::function<void()> change;
        std::size_t entries;
    } cases[] = {
        {"a storage added", [&] { WriteFile(root + QStringLiteral("/Neu.qxs"), unitHeader("{N}", "1")); }, 4},
        {"a storage removed from a subfolder", [&] { QFile::remove(root + QStringLiteral("/Alt/Tiere.qxs")); }, 3},
        {"another folder asked for", [] {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.change();
        if (c.entries == 0) {
            EXPECT_TRUE(storages.Rescan(folders.Root()));
            continue;
        }
        EXPECT_TRUE(storages.Rescan(root));
        EXPECT_EQ(storages.Items.size(), c.entries);
        ageAll();
        storages.Rescan(root);
        EXPECT_FALSE(storages.Rescan(root));
    }
    // A second Scan adds to the first: its entries no longer stand for one folder.
    storages.Clear();
    storages.Scan(root);
    storages.Scan(folders.Root());
    EXPECT_TRUE(storages.Rescan(root));
}
