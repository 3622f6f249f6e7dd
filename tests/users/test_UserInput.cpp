#include "tests/support/TestErrors.h"
#include "tests/support/TestFolders.h"
#include "users/QVL_User.h"
#include "users/QVL_User_Input.h"
#include "users/QVL_User_Rights.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// "Anna" with the password "alt", symbol 1, an own units folder and every right but printing.
class UserInputTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        path = folders.Root() + QStringLiteral("/Anna.qxs");
        TQVL_User created;
        created.ResetToNewProfile(QStringLiteral("Anna"));
        created.SetPassword(QStringLiteral("alt"));
        created.icon = 1;
        created.units_directory = QStringLiteral("/home/anna/Lektionen");
        created.Rights().PRINT = false;
        created.NewFile(path);
        created.CloseFile();
    }

    std::unique_ptr<TQVL_User> read() const
    {
        auto user = std::make_unique<TQVL_User>();
        user->Open(path);
        return user;
    }

    // What the editor may change, compared as a whole.
    struct Edited
    {
        QString name;
        int icon;
        QString password, units;
        TQVL_User_Rights rights;
        bool operator==(const Edited&) const = default;
    };
    static Edited edited(const TQVL_User& user)
    {
        return {user.name, user.icon, user.password, user.units_directory, user.Rights()};
    }

    // New values in every field, the password typed twice.
    static TQVL_User_Input changed(const TQVL_User& user)
    {
        TQVL_User_Input input = TQVL_User_Input::Of(user);
        input.Name = QStringLiteral("Anna B.");
        input.Icon = 3;
        input.PasswordEdited = true;
        input.Password = QStringLiteral("neu");
        input.PasswordRepeat = QStringLiteral("neu");
        input.UnitsDirectory = QString();
        input.Rights.SetAll(false);
        input.Rights.USERPROFILES_EDIT_SELF = true;
        return input;
    }

    TestFolders folders;
    QString path;
};

} // namespace

TEST_F(UserInputTest, TheFieldsShowTheProfileAndThePasswordChangesOnlyWhenEdited)
{
    const auto user = read();
    const TQVL_User_Input shown = TQVL_User_Input::Of(*user);
    EXPECT_EQ(shown.Name, QStringLiteral("Anna"));
    EXPECT_EQ(shown.Icon, 1);
    EXPECT_EQ(shown.Password, user->password) << "both fields hold the stored digest";
    EXPECT_EQ(shown.PasswordRepeat, user->password);
    EXPECT_FALSE(shown.PasswordEdited);
    EXPECT_EQ(shown.UnitsDirectory, QStringLiteral("/home/anna/Lektionen"));
    EXPECT_EQ(shown.Rights, user->Rights());

    const QString digest = user->password;
    const struct
    {
        const char* what;
        std::function<void(TQVL_User_Input&)> edit;
        std::function<bool(const TQVL_User&)> expected;
    } cases[] = {
        {"untouched", [](TQVL_User_Input&) {}, [&](const TQVL_User& u) { return u.password == digest && u.icon == 1; }},
        {"a new password",
         [](TQVL_User_Input& i) {
             i.PasswordEdited = true;
             i.Password = i.PasswordRepeat = QStringLiteral("neu");
         },
         [](const TQVL_User& u) { return u.CheckPassword(QStringLiteral("neu")); }},
        {"both fields emptied",
         [](TQVL_User_Input& i) {
             i.PasswordEdited = true;
             i.Password.clear();
             i.PasswordRepeat.clear();
         },
         [](const TQVL_User& u) { return !u.HasPassword(); }},
        {"a symbol the list does not know", [](TQVL_User_Input& i) { i.Icon = -1; },
         [](const TQVL_User& u) { return u.icon == 1; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto profile = read();
        TQVL_User_Input input = TQVL_User_Input::Of(*profile);
        c.edit(input);
        input.AssignTo(*profile);
        EXPECT_TRUE(c.expected(*profile));
        profile->CloseFile();
    }
    user->CloseFile();
}

TEST_F(UserInputTest, AMismatchedRepetitionChangesNothing)
{
    const auto user = read();
    ASSERT_TRUE(user->RequestWriteAccess());
    const Edited before = edited(*user);
    TQVL_User_Input input = changed(*user);
    input.PasswordRepeat = QStringLiteral("nue");
    const QString mismatch = QStringLiteral("Das Passwort stimmt nicht mit seiner Wiederholung überein!");
    EXPECT_EQ(ErrorOf([&] { input.Validate(); }), mismatch);
    EXPECT_EQ(ErrorOf([&] { input.AssignTo(*user); }), mismatch);
    EXPECT_EQ(ErrorOf([&] { input.Apply(*user); }), mismatch);
    EXPECT_TRUE(edited(*user) == before);
    EXPECT_TRUE(user->WriteAccess) << "the editor keeps the profile and may try again";
    // An emptied first field removes the password, whatever the second holds.
    input.Password.clear();
    EXPECT_EQ(ErrorOf([&] { input.Validate(); }), QString());
    user->CloseFile();
}

TEST_F(UserInputTest, ApplySavesEveryFieldAndLetsGoOfTheFile)
{
    const auto user = read();
    ASSERT_TRUE(user->RequestWriteAccess());
    changed(*user).Apply(*user);
    EXPECT_FALSE(user->WriteAccess);
    const auto saved = read();
    EXPECT_TRUE(edited(*saved) == edited(*user));
    EXPECT_EQ(saved->name, QStringLiteral("Anna B."));
    EXPECT_TRUE(saved->CheckPassword(QStringLiteral("neu")));
    EXPECT_FALSE(saved->Rights().PRINT);
    EXPECT_TRUE(saved->Rights().USERPROFILES_EDIT_SELF);
    saved->CloseFile();
    user->CloseFile();
}

// A failed save must not leave the new rights or password in memory: the
// logged-in profile is written again at logout, and would carry them then.
TEST_F(UserInputTest, AFailedSaveLeavesTheProfileAsItWasAndLogoutWritesNothingOfIt)
{
    {
        const auto closed = read();
        const Edited before = edited(*closed);
        const QString error = ErrorOf([&] { changed(*closed).Apply(*closed); });
        EXPECT_EQ(error, QStringLiteral(
                             "Fehler beim Speichern des Benutzerprofiles \"Anna B.\"!\rDatei ist schreibgeschützt!"));
        EXPECT_TRUE(edited(*closed) == before) << "without write access";
        closed->CloseFile();
    }

    TQVL_User user;
    user.Open(path);
    user.Login();
    ASSERT_TRUE(user.WriteAccess);
    const Edited before = edited(user);
    const QByteArray stored = ReadFile(path);
    // A folder where the file was: the rename of the save cannot replace it.
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkpath(path + QStringLiteral("/x")));
    const QString error = ErrorOf([&] { changed(user).Apply(user); });
    EXPECT_TRUE(error.startsWith(QStringLiteral("Fehler beim Speichern des Benutzerprofiles \"Anna B.\"!\r")))
        << error.toStdString();
    EXPECT_TRUE(edited(user) == before);
    EXPECT_TRUE(user.CheckPassword(QStringLiteral("alt")));
    EXPECT_TRUE(user.IntegrityGuard);

    ASSERT_TRUE(QDir(path).removeRecursively());
    WriteFile(path, stored);
    user.Close();
    const auto saved = read();
    EXPECT_EQ(saved->name, QStringLiteral("Anna"));
    EXPECT_TRUE(saved->CheckPassword(QStringLiteral("alt")));
    EXPECT_TRUE(saved->Rights().USERPROFILES_DELETE) << "the refused rights were never written";
    EXPECT_EQ(saved->icon, 1);
    EXPECT_EQ(saved->units_directory, QStringLiteral("/home/anna/Lektionen"));
    saved->CloseFile();
}
