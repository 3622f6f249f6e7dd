#include "app/QVL.h"
#include "content/QVL_Card_Voc.h"
#include "content/QVL_LongTermStorage.h"
#include "core/QVL_Error.h"
#include "core/QVL_Notices.h"
#include "query/QVL_Result_Card.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "tests/support/LoggedInCoreTest.h"
#include "tests/support/TestErrors.h"
#include "users/QVL_User_Rights.h"

#include <QFileInfo>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The real core with the sample learner logged in; no window.
class UnitOperationsTest : public LoggedInCoreTest
{
protected:
    void TearDown() override
    {
        core.CloseUnitCompanions();
        LoggedInCoreTest::TearDown();
    }

    // Copies a sample lesson with its header texts replaced and opens it as the active unit.
    void openSample(const char* name, const QByteArray& from = {}, const QByteArray& to = {})
    {
        QByteArray text = ReadFile(folders.Documents() + QStringLiteral("/Lektionen/") + QString::fromUtf8(name));
        if (!from.isEmpty())
            text.replace(from, to);
        const QString path = folders.Root() + QStringLiteral("/Probe.qxu");
        WriteFile(path, text);
        core.Units->GetActiveUnit().Open(path);
    }
    QStringList openCompanions()
    {
        QStringList warnings;
        core.OpenUnitLanguages([&warnings](const QString& text) { warnings << text; });
        return warnings;
    }
};

const QString noProfile = QStringLiteral("Für die in der Lektion verwendete Sprache konnte kein Sprachprofil gefunden "
                                         "werden (Sprachcode: \"%1\"). Es wird das Standardsprachprofil verwendet.");

} // namespace

TEST_F(UnitOperationsTest, AGrammarUnitOpensItsLanguagesAndArrangement)
{
    openSample("Englisch - Unregelmäßige Verben.qxu");
    EXPECT_TRUE(openCompanions().isEmpty());
    core.OpenUnitArrangement();
    EXPECT_EQ(core.Languages->HomeLanguage->LangCode, QStringLiteral("ger"));
    EXPECT_EQ(core.Languages->GetActiveLanguage().LangCode, QStringLiteral("eng"));
    EXPECT_TRUE(core.CardArrangements->GetActiveArrangement().IsOpen);

    core.CloseUnitCompanions();
    EXPECT_FALSE(core.Languages->HomeLanguage->IsOpen || core.Languages->GetActiveLanguage().IsOpen ||
                 core.CardArrangements->GetActiveArrangement().IsOpen);
}

TEST_F(UnitOperationsTest, MissingProfilesFallBackWithAMessageAndAMissingArrangementFails)
{
    openSample("Englisch - Unregelmäßige Verben.qxu", "<langcode_foreign>eng</langcode_foreign>",
               "<langcode_foreign>xxb</langcode_foreign>");
    EXPECT_EQ(openCompanions(), QStringList{noProfile.arg(QStringLiteral("xxb"))});
    EXPECT_EQ(core.Languages->GetActiveLanguage().LangCode, QStringLiteral("ger"));

    core.CloseUnitCompanions();
    core.Units->GetActiveUnit().CloseFile();
    openSample("Englisch - Unregelmäßige Verben.qxu", "{6A1E0F52-3C1B-4C0E-9E55-7B0C5A1D2E01}", "{FEHLT}");
    EXPECT_EQ(ErrorOf([&] { core.OpenUnitArrangement(); }),
              QStringLiteral("Die in der Lektion verwendete Vorlagendatei konnte nicht gefunden werden! "
                             "(ID: \"{FEHLT}\")"));
    EXPECT_FALSE(core.CardArrangements->GetActiveArrangement().IsOpen);
}

// Lessons written by other programs name their languages ("english"): the
// lesson opens with the profile of that language and one message for both.
TEST_F(UnitOperationsTest, ALanguageNamedByItsNameOpensItsProfileWithOneMessage)
{
    openSample("Englisch - Unregelmäßige Verben.qxu", "<langcode_foreign>eng</langcode_foreign>",
               "<langcode_foreign>english</langcode_foreign>");
    EXPECT_EQ(openCompanions(),
              QStringList{QStringLiteral("Für die in der Lektion verwendete Sprache konnte kein Sprachprofil gefunden "
                                         "werden (Sprachcode: \"english\"). Es wird das Sprachprofil \"Englisch\" "
                                         "verwendet.")});
    EXPECT_EQ(core.Languages->GetActiveLanguage().LangCode, QStringLiteral("eng"));
    core.CloseUnitCompanions();
    core.Units->GetActiveUnit().CloseFile();

    QByteArray both = "<langcode_foreign>french</langcode_foreign>";
    openSample("Englisch - Unregelmäßige Verben.qxu", "<langcode_foreign>eng</langcode_foreign>", both);
    core.Units->GetActiveUnit().CloseFile();
    const QString path = folders.Root() + QStringLiteral("/Probe.qxu");
    QByteArray text = ReadFile(path);
    text.replace("<langcode_home>ger</langcode_home>", "<langcode_home>xxb</langcode_home>");
    WriteFile(path, text);
    core.Units->GetActiveUnit().Open(path);
    EXPECT_EQ(openCompanions(),
              QStringList{QStringLiteral("Für die in der Lektion verwendeten Sprachen konnten keine Sprachprofile "
                                         "gefunden werden (Sprachcodes: \"xxb\", \"french\"). Es werden die "
                                         "Sprachprofile \"Deutsch\", \"Französisch\" verwendet.")});
    EXPECT_EQ(core.Languages->HomeLanguage->LangCode, QStringLiteral("ger")) << "the program's home language";
    EXPECT_EQ(core.Languages->GetActiveLanguage().LangCode, QStringLiteral("fre"));
}

TEST_F(UnitOperationsTest, IntegratingIntoAStorageStartsItsNewCardsAtStageZero)
{
    TQVL_Unit storage;
    storage.NewFile(folders.Root() + QStringLiteral("/Englisch.qxs"));
    storage.Typ = tLongTermStorage;
    storage.LangCodeHome = QStringLiteral("ger");
    storage.LangCodeForeign = QStringLiteral("eng");
    static_cast<TQVL_Card_Voc*>(storage.Cards->NewCard(tVoc))->foreign1 = QStringLiteral("house");
    storage.Save();
    storage.ReleaseWriteAccess();
    TQVL_Result_Unit& results = core.Users->GetActiveUser().Results().GetOrCreateUnit(storage.Uid);
    results.GetOrCreateCard(1).stage = 4;

    TQVL_Unit lesson;
    lesson.Typ = tVoc;
    lesson.LangCodeHome = QStringLiteral("ger");
    lesson.LangCodeForeign = QStringLiteral("eng");
    static_cast<TQVL_Card_Voc*>(lesson.Cards->NewCard(tVoc))->foreign1 = QStringLiteral("dog");
    static_cast<TQVL_Card_Voc*>(lesson.Cards->NewCard(tVoc))->foreign1 = QStringLiteral("cat");
    const QByteArray before = ReadFile(storage.FileName);
    const QString backup = core.IntegrateUnit(storage, lesson, true);
    EXPECT_EQ(QFileInfo(backup).absolutePath(), folders.Root() + QStringLiteral("/Backups"));
    EXPECT_EQ(ReadFile(backup), before) << "the storage as it was before the merge";

    EXPECT_TRUE(results.longtermstorage);
    ASSERT_EQ(results.CardCount(), 3);
    EXPECT_EQ(results.FindCard(1)->stage, 4) << "a card stored before keeps its stage";
    EXPECT_EQ(results.FindCard(2)->stage, 0);
    EXPECT_EQ(results.FindCard(3)->stage, 0);
    storage.CloseFile();

    // Into a plain unit the results stay untouched.
    TQVL_Unit other;
    other.NewFile(folders.Root() + QStringLiteral("/Andere.qxu"));
    other.Typ = tVoc;
    other.LangCodeHome = QStringLiteral("ger");
    other.LangCodeForeign = QStringLiteral("eng");
    other.Save();
    other.ReleaseWriteAccess();
    EXPECT_EQ(core.IntegrateUnit(other, lesson, true), QString()) << "a plain unit gets no backup";
    EXPECT_EQ(other.Cards->Count(), 2);
    EXPECT_EQ(core.Users->GetActiveUser().Results().FindUnit(other.Uid), nullptr);
    other.CloseFile();
}

TEST_F(UnitOperationsTest, ALoginListsTheStoragesCountsTheirDueCardsAndSearchesForUpdatesWhenAllowed)
{
    const QString storagePath = core.StoragesFolder() + QStringLiteral("/Englisch.qxs");
    TQVL_Unit storage;
    storage.NewFile(storagePath);
    storage.Typ = tLongTermStorage;
    storage.Save();
    storage.CloseFile();

    struct Case
    {
        bool mayUpdate, autoSearch, withDueCards, searched;
    };
    const Case cases[] = {
        {true, true, true, true},
        {true, false, false, false},
        {false, true, true, false},
    };
    TQVL_User& user = core.Users->GetActiveUser();
    int searches = 0;
    core.UpdateSearch = [&searches](const QString&, const QString&) {
        ++searches;
        return false;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mayUpdate << c.autoSearch << c.withDueCards);
        user.Rights().PROGRAM_UPDATES = c.mayUpdate;
        core.Options->updates_autosearch = c.autoSearch;
        user.Results().Clear();
        if (c.withDueCards) {
            TQVL_Result_Unit& results = user.Results().GetOrCreateUnit(QStringLiteral("{S1}"));
            results.longtermstorage = true;
            for (int uid = 1; uid <= 3; ++uid)
                results.GetOrCreateCard(uid);
        }
        bool started = false;
        core.OnUpdateSearchStart = [&started] { started = true; };
        core.LongTermStorages->Provider().Clear();

        const TQVL_LoginView view = core.UserLoggedIn();
        EXPECT_EQ(view.DueCards, c.withDueCards ? std::optional<int>(3) : std::nullopt);
        EXPECT_EQ(view.UpdateSearchStarted, c.searched);
        EXPECT_EQ(started, c.searched);
        EXPECT_FALSE(view.ReadOnly);
        EXPECT_FALSE(view.UnitOpen);
        ASSERT_EQ(core.LongTermStorages->Provider().Root->ChildCount(), 1);
        EXPECT_EQ(core.LongTermStorages->Provider().Root->Child(0)->Path, storagePath);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return core.UpdateThread.isNull(); }, 5000));
    EXPECT_EQ(searches, 1);

    // What reading aloud told the learner is told again after the next login.
    QStringList told;
    const TQVL_Notices::Receiver previous = TQVL_Notices::Install([&told](const QString& text) { told << text; });
    const QString noVoice = QStringLiteral("Für die Sprache \"fao\" gibt es keine Sprachausgabe.");
    core.System->Speech->TellOnce(noVoice);
    core.System->Speech->TellOnce(noVoice);
    core.UserLoggedIn();
    core.System->Speech->TellOnce(noVoice);
    TQVL_Notices::Install(previous);
    EXPECT_EQ(told, (QStringList{noVoice, noVoice}));
}

TEST_F(UnitOperationsTest, AnOpenedUnitGetsItsCompanionsOrIsClosedAgain)
{
    QStringList warnings;
    const auto warn = [&warnings](const QString& text) { warnings << text; };
    core.OpenActiveUnit(folders.Documents() + QStringLiteral("/Lektionen/Englisch - Unregelmäßige Verben.qxu"));
    core.Units->Provider().Scan(folders.Documents() + QStringLiteral("/Lektionen"));
    TQVL_UnitView view = core.ActiveUnitOpened(warn);
    EXPECT_FALSE(view.LongTermStorage);
    EXPECT_EQ(view.Caption, QStringLiteral("Englisch - Unregelmäßige Verben.qxu"));
    EXPECT_TRUE(core.CardArrangements->GetActiveArrangement().IsOpen);
    EXPECT_EQ(core.Languages->GetActiveLanguage().LangCode, QStringLiteral("eng"));
    EXPECT_EQ(core.Units->Provider().Root->ChildCount(), 0) << "the listing went with the choice";

    // Opening another unit closes the one before, its companions with it.
    core.CloseUnitCompanions();
    const QString storagePath = folders.Root() + QStringLiteral("/Englisch.qxs");
    TQVL_Unit storage;
    storage.NewFile(storagePath);
    storage.Typ = tLongTermStorage;
    storage.LangCodeHome = QStringLiteral("ger");
    storage.LangCodeForeign = QStringLiteral("eng");
    storage.Save();
    storage.CloseFile();
    core.OpenActiveUnit(storagePath);
    view = core.ActiveUnitOpened(warn);
    EXPECT_TRUE(view.LongTermStorage);
    EXPECT_EQ(view.Caption, QStringLiteral("Englisch"));
    EXPECT_FALSE(core.CardArrangements->GetActiveArrangement().IsOpen);
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join('|').toStdString();
    core.CloseUnitCompanions();
    core.Units->GetActiveUnit().CloseFile();

    // A grammar unit whose arrangement is missing is closed again, its languages too.
    openSample("Englisch - Unregelmäßige Verben.qxu", "{6A1E0F52-3C1B-4C0E-9E55-7B0C5A1D2E01}", "{FEHLT}");
    EXPECT_EQ(ErrorOf([&] { core.ActiveUnitOpened(warn); }),
              QStringLiteral("Die in der Lektion verwendete Vorlagendatei konnte nicht gefunden werden! "
                             "(ID: \"{FEHLT}\")"));
    EXPECT_FALSE(core.Units->GetActiveUnit().IsOpen);
    EXPECT_FALSE(core.Languages->HomeLanguage->IsOpen || core.Languages->GetActiveLanguage().IsOpen);

    // So is a unit whose language profile cannot be read.
    const QString profile = folders.AppData() + QStringLiteral("/Languages/Englisch.qxl");
    ASSERT_TRUE(QFileInfo::exists(profile)) << "the sample profile of English";
    const QByteArray whole = ReadFile(profile);
    WriteFile(profile, whole.left(whole.size() / 2));
    openSample("Englisch - Grundwortschatz.qxu");
    EXPECT_FALSE(ErrorOf([&] { core.ActiveUnitOpened(warn); }).isEmpty());
    EXPECT_FALSE(core.Units->GetActiveUnit().IsOpen);
    EXPECT_FALSE(core.Languages->HomeLanguage->IsOpen || core.Languages->GetActiveLanguage().IsOpen);
}

TEST_F(UnitOperationsTest, TheStorageOfTheActiveUnitIsClosedWhenItsHandleGoes)
{
    EXPECT_THROW(core.OpenStorageOfActiveUnit(), TQVL_Error) << "no active unit";
    openSample("Englisch - Grundwortschatz.qxu");
    QString created;
    {
        TQVL_StorageHandle storage = core.OpenStorageOfActiveUnit();
        ASSERT_TRUE(storage->IsOpen);
        created = storage->FileName;
        EXPECT_EQ(QFileInfo(created).absolutePath(), core.StoragesFolder());
        EXPECT_EQ(storage->LangCodeForeign, QStringLiteral("eng"));
        EXPECT_EQ(core.LongTermStorages->AdditionalFileCount(), 1);
    }
    EXPECT_EQ(core.LongTermStorages->AdditionalFileCount(), 0) << "closed with its scope";
    try {
        TQVL_StorageHandle storage = core.OpenStorageOfActiveUnit();
        EXPECT_EQ(storage->FileName, created) << "found again, not created twice";
        throw TQVL_Error(QStringLiteral("Abbruch"));
    } catch (const TQVL_Error&) {
    }
    EXPECT_EQ(core.LongTermStorages->AdditionalFileCount(), 0) << "closed when an error leaves the scope";

    core.Units->GetActiveUnit().CloseFile();
    core.OpenActiveUnit(created);
    EXPECT_TRUE(ErrorOf([&] { core.OpenStorageOfActiveUnit(); })
                    .startsWith(QStringLiteral("Ein Langzeitspeicher kann nicht in einen Langzeitspeicher")));
    EXPECT_EQ(core.LongTermStorages->AdditionalFileCount(), 0);
}
