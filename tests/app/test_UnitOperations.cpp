#include "app/QVL.h"
#include "content/QVL_Card_Voc.h"
#include "core/QVL_Error.h"
#include "query/QVL_Result_Card.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "tests/support/LoggedInCoreTest.h"
#include "tests/support/TestErrors.h"

#include <QFileInfo>

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
