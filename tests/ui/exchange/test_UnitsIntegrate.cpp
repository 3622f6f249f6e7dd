#include "content/QVL_Card_Voc.h"
#include "core/QVL_Error.h"
#include "app/QVL.h"
#include "query/QVL_Result_Card.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "tests/support/LoggedInCoreTest.h"
#include "tests/support/TestFolders.h"
#include "tests/support/ScriptedDialogService.h"
#include "ui/exchange/Form_UnitsIntegrate.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>

namespace {

// The meanings of a vocabulary card: foreign1, home1, foreign2 (the others stay empty).
struct Meanings
{
    const char* foreign1;
    const char* home1;
    const char* foreign2 = "";
};

// The integration dialog over a logged-in core.
class IntegrateTest : public LoggedInCoreTest
{
protected:
    void TearDown() override
    {
        TFormDialogMeta::InstallModalRunner({});
        for (auto* unit : {&storage, &source})
            if (unit->IsOpen)
                unit->CloseFile();
        LoggedInCoreTest::TearDown();
    }

    // Writes a unit (or a storage) with vocabulary cards of `cards` and opens it into `unit`.
    void make(TQVL_Unit& unit, const QString& path, TQVL_CardType typ, std::initializer_list<Meanings> cards,
              const QString& foreign = QStringLiteral("eng"))
    {
        unit.NewFile(path);
        unit.Typ = typ;
        unit.LangCodeHome = QStringLiteral("ger");
        unit.LangCodeForeign = foreign;
        for (const Meanings& m : cards) {
            auto* card = static_cast<TQVL_Card_Voc*>(unit.Cards->NewCard(typ == tSound ? tSound : tVoc));
            card->foreign1 = QString::fromUtf8(m.foreign1);
            card->home1 = QString::fromUtf8(m.home1);
            card->foreign2 = QString::fromUtf8(m.foreign2);
        }
        unit.Save();
        unit.CloseFile();
        unit.Open(path);
    }
    void makeStorage(std::initializer_list<Meanings> cards) { make(storage, storagePath(), tLongTermStorage, cards); }
    void makeSource(std::initializer_list<Meanings> cards, TQVL_CardType typ = tVoc,
                    const QString& foreign = QStringLiteral("eng"))
    {
        make(source, folders.Documents() + QStringLiteral("/Lektionen/Lektion.qxu"), typ, cards, foreign);
    }
    QString storagePath() const { return folders.Documents() + QStringLiteral("/Storages/Englisch.qxs"); }

    // Shows the dialog for source and storage; `act` runs while it is open. Returns its result.
    int run(const std::function<void(TFormUnitsIntegrate&)>& act)
    {
        TFormDialogMeta::InstallModalRunner([&](QDialog& dialog) {
            dialog.open();
            act(static_cast<TFormUnitsIntegrate&>(dialog));
            return dialog.result();
        });
        TFormUnitsIntegrate dialog(core);
        dialog.SourceUnit = &source;
        dialog.DestStorage = &storage;
        return dialog.ShowModal();
    }
    static void perform(TFormUnitsIntegrate& dialog) { QTest::mouseClick(dialog.dxButton3, Qt::LeftButton); }
    static QStringList rows(const TFormUnitsIntegrate& dialog)
    {
        QStringList texts;
        for (int i = 0; i < dialog.VST1->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* row = dialog.VST1->topLevelItem(i);
            texts << row->text(1) + QLatin1Char('|') + row->text(2) + QLatin1Char('|') + row->text(3);
        }
        return texts;
    }
    // The storage's cards as its file holds them: "uid foreign1/home1".
    QStringList storedCards() const
    {
        TQVL_Unit stored;
        stored.Open(storagePath());
        QStringList cards;
        for (int i = 0; i < stored.Cards->Count(); ++i) {
            const auto* card = static_cast<const TQVL_Card_Voc*>(stored.Cards->Card(i));
            cards << QStringLiteral("%1 %2/%3").arg(card->Uid).arg(card->foreign1, card->home1);
        }
        cards << QStringLiteral("max %1").arg(stored.Cards->MaxCardId);
        stored.CloseFile();
        return cards;
    }
    TQVL_Result_User& results() const { return core.Users->GetActiveUser().Results(); }

    ScriptedDialogService dialogs;
    TQVL_Unit storage;
    TQVL_Unit source;
};

} // namespace

TEST_F(IntegrateTest, TheMergeSkipsConflictsAndStartsTheNewCardsAtStageZero)
{
    makeStorage({{"house", "Haus"}, {"", ""}, {"cat", "Katze"}});
    makeSource({{"house", "Haus"}, {"house", "Heim"}, {"", ""}, {"dog", "Hund"}, {"dog", "Hund"}});
    TQVL_Result_Unit& storageResults = results().GetOrCreateUnit(storage.Uid);
    storageResults.GetOrCreateCard(1).stage = 4;

    QStringList shown;
    const int result = run([&](TFormUnitsIntegrate& dialog) {
        shown << dialog.Label_Unit->text() << dialog.Label_Storage->text() << dialog.Label_Conflicts->text()
              << dialog.VST1->headerItem()->text(1) << dialog.VST1->headerItem()->text(3);
        shown << rows(dialog);
        EXPECT_TRUE(dialog.CheckBox_SkipConflicts->isChecked());
        EXPECT_TRUE(dialog.VST1->isEnabled() && dialog.CheckBox_SkipConflicts->isEnabled());
        perform(dialog);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(shown, (QStringList{QStringLiteral("Lektion.qxu"), QStringLiteral("Englisch"), QStringLiteral("3"),
                                  QStringLiteral("Lektion.qxu"), QStringLiteral("Englisch"),
                                  QStringLiteral("Karte ID: 1|gleich|Karte ID: 1"),
                                  QStringLiteral("Karte ID: 2|teilweise gleich|Karte ID: 1"),
                                  QStringLiteral("Karte ID: 3|gleich|Karte ID: 2")}));
    ASSERT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
    // The empty card goes in despite its identical twin; the second "dog" meets the first, taken just before.
    EXPECT_EQ(storedCards(),
              (QStringList{QStringLiteral("1 house/Haus"), QStringLiteral("2 /"), QStringLiteral("3 cat/Katze"),
                           QStringLiteral("4 /"), QStringLiteral("5 dog/Hund"), QStringLiteral("max 5")}));
    EXPECT_EQ(source.Cards->Count(), 5) << "the unit stays as it was";
    EXPECT_FALSE(storage.WriteAccess);

    EXPECT_TRUE(storageResults.longtermstorage);
    EXPECT_EQ(storageResults.CardCount(), 5);
    EXPECT_EQ(storageResults.FindCard(1)->stage, 4) << "a card stored before keeps its stage";
    for (int uid : {2, 3, 4, 5})
        EXPECT_EQ(storageResults.FindCard(uid)->stage, 0) << uid;
}

TEST_F(IntegrateTest, WithoutTheBoxEveryCardIsCopiedWithANewId)
{
    makeStorage({{"house", "Haus"}});
    makeSource({{"house", "Haus"}, {"dog", "Hund"}});
    run([](TFormUnitsIntegrate& dialog) {
        dialog.CheckBox_SkipConflicts->setChecked(false);
        perform(dialog);
    });
    EXPECT_EQ(storedCards(), (QStringList{QStringLiteral("1 house/Haus"), QStringLiteral("2 house/Haus"),
                                          QStringLiteral("3 dog/Hund"), QStringLiteral("max 3")}));
}

TEST_F(IntegrateTest, WithoutConflictsOrWithAMismatchTheListIsDisabled)
{
    makeStorage({{"house", "Haus"}});
    makeSource({{"dog", "Hund"}});
    run([](TFormUnitsIntegrate& dialog) {
        EXPECT_EQ(dialog.Label_Conflicts->text(), QStringLiteral("Keine Konflikte gefunden"));
        EXPECT_FALSE(dialog.VST1->isEnabled() || dialog.CheckBox_SkipConflicts->isEnabled());
        EXPECT_TRUE(dialog.dxButton3->isEnabled());
        QTest::mouseClick(dialog.dxButton2, Qt::LeftButton);
    });
    source.CloseFile();
    makeSource({{"dog", "Hund"}}, tSound);
    const QByteArray before = ReadFile(storagePath());
    run([](TFormUnitsIntegrate& dialog) {
        EXPECT_EQ(dialog.Label_Conflicts->text(),
                  QStringLiteral("Die Inhaltstypen der Lektionen stimmen nicht überein!"));
        EXPECT_FALSE(dialog.VST1->isEnabled() || dialog.CheckBox_SkipConflicts->isEnabled() ||
                     dialog.dxButton3->isEnabled());
        dialog.Integrate();
        EXPECT_TRUE(dialog.isVisible());
        dialog.reject();
    });
    EXPECT_EQ(ReadFile(storagePath()), before);
    EXPECT_EQ(results().FindUnit(storage.Uid), nullptr);
}

TEST_F(IntegrateTest, AStorageThatCannotBeWrittenStaysAsItWas)
{
    makeStorage({{"house", "Haus"}});
    makeSource({{"dog", "Hund"}});
    const QByteArray before = ReadFile(storagePath());
    // Another program holds the storage for writing.
    TQVL_Unit other;
    other.Open(storagePath());
    ASSERT_TRUE(other.RequestWriteAccess());
    run([](TFormUnitsIntegrate& dialog) {
        perform(dialog);
        EXPECT_TRUE(dialog.isVisible()) << "the dialog stays open";
        dialog.reject();
    });
    other.CloseFile();
    EXPECT_EQ(dialogs.Errors, QStringList{QStringLiteral("Datei ist schreibgeschützt!")});
    EXPECT_EQ(ReadFile(storagePath()), before);
    EXPECT_EQ(storage.Cards->Count(), 1);
    EXPECT_EQ(results().FindUnit(storage.Uid), nullptr);
}

TEST_F(IntegrateTest, TheActiveUnitGoesIntoTheStorageOfItsLanguages)
{
    makeSource({{"dog", "Hund"}, {"cat", "Katze"}});
    source.CloseFile();
    core.Units->GetActiveUnit().Open(folders.Documents() + QStringLiteral("/Lektionen/Lektion.qxu"));
    TFormDialogMeta::InstallModalRunner([](QDialog& dialog) {
        dialog.open();
        auto& integrate = static_cast<TFormUnitsIntegrate&>(dialog);
        EXPECT_EQ(integrate.Label_Storage->text(), QStringLiteral("Englisch"));
        perform(integrate);
        return dialog.result();
    });
    TFormUnitsIntegrate::IntegrateActiveUnit(core);
    EXPECT_EQ(core.LongTermStorages->AdditionalFileCount(), 0) << "the storage is closed again";
    EXPECT_EQ(storedCards(),
              (QStringList{QStringLiteral("1 dog/Hund"), QStringLiteral("2 cat/Katze"), QStringLiteral("max 2")}));
}

TEST_F(IntegrateTest, AStorageIsRefusedBeforeTheDialog)
{
    makeStorage({{"dog", "Hund"}});
    storage.CloseFile();
    core.Units->GetActiveUnit().Open(storagePath());
    const QByteArray before = ReadFile(storagePath());
    bool shown = false;
    TFormDialogMeta::InstallModalRunner([&](QDialog&) {
        shown = true;
        return 0;
    });
    try {
        TFormUnitsIntegrate::IntegrateActiveUnit(core);
        ADD_FAILURE() << "no refusal";
    } catch (const TQVL_Error& error) {
        EXPECT_TRUE(error.Message().startsWith(QStringLiteral("Ein Langzeitspeicher kann nicht in einen Langzeitspeicher")));
    }
    EXPECT_FALSE(shown);
    EXPECT_EQ(core.LongTermStorages->AdditionalFileCount(), 0);
    EXPECT_EQ(ReadFile(storagePath()), before);
}
