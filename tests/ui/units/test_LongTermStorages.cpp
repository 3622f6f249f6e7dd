#include "app/QVL.h"
#include "query/QVL_FSRS_Optimizer.h"
#include "query/QVL_FSRS_Replay.h"
#include "query/QVL_Result_Card.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "query/QVL_ReviewLog.h"
#include "query/QVL_ReviewLog_Writer.h"
#include "tests/support/LoggedInCoreTest.h"
#include "tests/support/TestFolders.h"
#include "tests/support/ScriptedDialogService.h"
#include "ui/units/Form_LongTermStorage.h"
#include "ui/units/Form_LongTermStorageNew.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace {

// The storage screen over the storages folder of a logged-in core.
class StorageScreenTest : public LoggedInCoreTest
{
protected:
    void SetUp() override
    {
        LoggedInCoreTest::SetUp();
        storages = folders.Documents() + QStringLiteral("/Storages");
    }
    void TearDown() override
    {
        TFormDialogMeta::InstallModalRunner({});
        screen.reset();
        LoggedInCoreTest::TearDown();
    }

    // Creates the storage of (ger, `foreign`) as the program does and returns its uid.
    QString createStorage(const QString& foreign, const QString& folder = {})
    {
        TQVL_LongTermStorage* storage = core.LongTermStorages->OpenOrCreateStorage(
            folder.isEmpty() ? storages : folder, *core.Languages->Names, QStringLiteral("ger"), foreign);
        const QString uid = storage->Uid;
        core.LongTermStorages->CloseAdditionFile(storage);
        return uid;
    }
    // A result card of the storage `uid` at `stage`, last queried `daysAgo` days ago (never: -1).
    void addCard(const QString& uid, int cardUid, int stage, double daysAgo)
    {
        TQVL_Result_Unit& unit = core.Users->GetActiveUser().Results().GetOrCreateUnit(uid);
        unit.longtermstorage = true;
        TQVL_Result_Card& card = unit.GetOrCreateCard(cardUid);
        card.stage = stage;
        card.lastquery = daysAgo < 0 ? TQVL_DateTime() : TQVL_DateTime(TQVL_DateTime::Now().Serial() - daysAgo);
    }

    void showScreen()
    {
        screen = std::make_unique<TFormLongTermStorage>(nullptr, core);
        screen->OnStorageChosen = [this] { ++chosen; };
        screen->OnAbort = [this] { ++aborted; };
        screen->show();
    }
    // Storage name to the text of its due column, as the list shows them.
    std::map<QString, QString> rows() const
    {
        std::map<QString, QString> shown;
        for (int i = 0; i < screen->VST1->topLevelItemCount(); ++i)
            shown[screen->VST1->topLevelItem(i)->text(1)] = screen->VST1->topLevelItem(i)->text(2);
        return shown;
    }
    QTreeWidgetItem* row(const QString& name) const
    {
        const QList<QTreeWidgetItem*> found = screen->VST1->findItems(name, Qt::MatchExactly, 1);
        return found.isEmpty() ? nullptr : found.first();
    }
    QStringList storageFiles() const { return QDir(storages).entryList(QDir::Files | QDir::NoDotAndDotDot); }

    // Runs the new-storage dialog with `language` chosen (empty: keep the preselection) and `button` pressed.
    void answerNewStorageDialog(const QString& language, const char* button)
    {
        TFormDialogMeta::InstallModalRunner([this, language, button](QDialog& dialog) {
            auto* names = dialog.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
            dialogPreselection = names->currentText();
            if (!language.isEmpty())
                names->setCurrentIndex(names->findText(language));
            dialog.open();
            QTest::mouseClick(dialog.findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
            EXPECT_FALSE(dialog.isVisible()) << "the button closes the dialog";
            return dialog.result();
        });
    }

    ScriptedDialogService dialogs;
    QString storages;
    std::unique_ptr<TFormLongTermStorage> screen;
    QString dialogPreselection;
    int chosen = 0;
    int aborted = 0;
};

const QString dueText = QStringLiteral(" Vokabeln stehen zur heutigen Abfrage bereit");

} // namespace

TEST_F(StorageScreenTest, ListsTheStoragesOfTheFolderWithTheirDueCards)
{
    const QString english = createStorage(QStringLiteral("eng"));
    createStorage(QStringLiteral("fre"));
    QDir().mkpath(storages + QStringLiteral("/Alt"));
    createStorage(QStringLiteral("spa"), storages + QStringLiteral("/Alt"));
    addCard(english, 1, 0, -1);  // never queried at stage 0: due
    addCard(english, 2, 1, 3);   // one day's wait is over: due
    addCard(english, 3, 3, 1);   // waits ten days: not due
    addCard(english, 4, 2, 2.4); // 2.4 days are 2 of 3: not due
    addCard(english, 6, 2, 2.6); // 2.6 days round to 3: due
    showScreen();

    EXPECT_EQ(screen->Caption(), QStringLiteral("Langzeitspeicher"));
    EXPECT_EQ(screen->Button_Ok->text(), QStringLiteral("Auswählen"));
    EXPECT_TRUE(screen->VST1->isHeaderHidden());
    const std::map<QString, QString> expected{{QStringLiteral("Englisch"), QStringLiteral("3") + dueText},
                                              {QStringLiteral("Französisch"), QStringLiteral("0") + dueText}};
    EXPECT_EQ(rows(), expected) << "the storage in a sub-folder is not listed";
    EXPECT_FALSE(row(QStringLiteral("Englisch"))->icon(0).isNull());
}

TEST_F(StorageScreenTest, SelectingOpensTheFocusedStorageAsTheActiveUnit)
{
    createStorage(QStringLiteral("eng"));
    core.Units->GetActiveUnit().Open(folders.Documents() + QStringLiteral("/Lektionen/Englisch - Bilder.qxu"));
    showScreen();
    EXPECT_EQ(screen->VST1->currentItem(), row(QStringLiteral("Englisch"))) << "the first storage has the focus";

    // Without a storage in focus "Auswählen" is off and changes nothing.
    screen->VST1->setCurrentItem(nullptr);
    EXPECT_FALSE(screen->Button_Ok->isEnabled());
    QTest::mouseClick(screen->Button_Ok, Qt::LeftButton);
    EXPECT_TRUE(dialogs.Errors.isEmpty());
    EXPECT_EQ(core.Units->GetActiveUnit().FileName,
              folders.Documents() + QStringLiteral("/Lektionen/Englisch - Bilder.qxu"))
        << "nothing changed";
    EXPECT_EQ(chosen, 0);

    screen->VST1->setCurrentItem(row(QStringLiteral("Englisch")));
    QTest::mouseClick(screen->Button_Ok, Qt::LeftButton);
    const TQVL_Unit& unit = core.Units->GetActiveUnit();
    EXPECT_TRUE(unit.IsOpen);
    EXPECT_EQ(unit.FileName, storages + QStringLiteral("/Englisch.qxs"));
    EXPECT_EQ(unit.Typ, tLongTermStorage);
    EXPECT_EQ(chosen, 1);

    QTest::mouseClick(screen->Button_Abort, Qt::LeftButton);
    EXPECT_EQ(aborted, 1);
}

TEST_F(StorageScreenTest, AnEmptyFolderOffersNoChoiceButSaysHowToMakeAStorage)
{
    showScreen();
    EXPECT_FALSE(screen->Button_Ok->isEnabled());
    EXPECT_TRUE(screen->Label_Empty->isVisibleTo(screen.get()));
    EXPECT_TRUE(screen->Label_Empty->text().contains(QStringLiteral("neuen an"))) << "it names what to do";
    QTest::keyClick(screen->VST1, Qt::Key_Return);
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << "no error for a choice that was never offered";
    EXPECT_EQ(chosen, 0);

    answerNewStorageDialog(QStringLiteral("Französisch"), "dxButton3");
    QTest::mouseClick(screen->Button_NewStorage, Qt::LeftButton);
    EXPECT_TRUE(screen->Button_Ok->isEnabled());
    EXPECT_FALSE(screen->Label_Empty->isVisibleTo(screen.get()));
}

TEST_F(StorageScreenTest, EnterInTheListChoosesTheFocusedStorage)
{
    createStorage(QStringLiteral("eng"));
    createStorage(QStringLiteral("fre"));
    showScreen();
    ASSERT_EQ(screen->VST1->topLevelItemCount(), 2);
    const QString second = screen->VST1->topLevelItem(1)->text(1);
    QTest::keyClick(screen->VST1, Qt::Key_Down);
    QTest::keyClick(screen->VST1, Qt::Key_Return);
    EXPECT_EQ(chosen, 1);
    EXPECT_EQ(core.Units->GetActiveUnit().FileName, storages + QLatin1Char('/') + second + QStringLiteral(".qxs"));
}

TEST_F(StorageScreenTest, TheNewStorageDialogCreatesTheStorageOfTheChosenLanguage)
{
    createStorage(QStringLiteral("eng"));
    showScreen();
    answerNewStorageDialog(QStringLiteral("Französisch"), "dxButton3");
    QTest::mouseClick(screen->Button_NewStorage, Qt::LeftButton);

    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
    EXPECT_EQ(dialogPreselection, QStringLiteral("Englisch"));
    EXPECT_EQ(storageFiles(), (QStringList{QStringLiteral("Englisch.qxs"), QStringLiteral("Französisch.qxs")}));
    EXPECT_EQ(core.LongTermStorages->AdditionalFileCount(), 0) << "the new storage is closed again";
    EXPECT_EQ(row(QStringLiteral("Französisch"))->text(2), QStringLiteral("0") + dueText) << "the list is renewed";

    TQVL_LongTermStorage created;
    created.Open(storages + QStringLiteral("/Französisch.qxs"));
    EXPECT_EQ(created.Typ, tLongTermStorage);
    EXPECT_EQ(created.LangCodeHome, QStringLiteral("ger")) << "the home language of the program options";
    EXPECT_EQ(created.LangCodeForeign, QStringLiteral("fre"));
    EXPECT_EQ(created.Cards->Count(), 0);
    created.CloseFile();
}

TEST_F(StorageScreenTest, AnExistingPairOrAnAbortedDialogCreatesNothing)
{
    createStorage(QStringLiteral("eng"));
    const QByteArray before = ReadFile(storages + QStringLiteral("/Englisch.qxs"));
    showScreen();
    for (const char* button : {"dxButton3", "dxButton2"}) {
        answerNewStorageDialog(QString(), button);
        QTest::mouseClick(screen->Button_NewStorage, Qt::LeftButton);
        EXPECT_EQ(storageFiles(), QStringList{QStringLiteral("Englisch.qxs")}) << button;
        EXPECT_EQ(ReadFile(storages + QStringLiteral("/Englisch.qxs")), before) << button;
        EXPECT_EQ(rows().size(), 1u) << button;
        EXPECT_EQ(core.LongTermStorages->AdditionalFileCount(), 0);
    }
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
}

TEST_F(StorageScreenTest, TheDialogOffersTheLanguageNamesInTableOrder)
{
    TQVL_LanguagesNames& names = *core.Languages->Names;
    {
        TFormLongTermStorageNew dialog(core);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Vokabeltrainer Quorvel"));
        EXPECT_EQ(dialog.Label1->text(), QStringLiteral("Neuen Langzeitspeicher anlegen"));
        ASSERT_EQ(dialog.ComboBox1->count(), names.Count());
        EXPECT_EQ(dialog.ComboBox1->itemText(0), names.Item(0).name);
        EXPECT_EQ(dialog.ComboBox1->itemText(names.Count() - 1), names.Item(names.Count() - 1).name);
        EXPECT_FALSE(dialog.ComboBox1->isEditable());
        EXPECT_EQ(dialog.dxButton3->text(), QStringLiteral("Ok"));
    }
    // Without "Englisch" nothing is preselected, and there is nothing to create until a language is chosen.
    names.Clear();
    names.Add(QStringLiteral("fre"), QStringLiteral("Französisch"));
    names.Add(QStringLiteral("ita"), QStringLiteral("Italienisch"));
    TFormLongTermStorageNew dialog(core);
    EXPECT_EQ(dialog.ComboBox1->currentIndex(), -1);
    EXPECT_FALSE(dialog.dxButton3->isEnabled());
    dialog.ComboBox1->setCurrentIndex(1);
    ASSERT_TRUE(dialog.dxButton3->isEnabled());
    QTest::mouseClick(dialog.dxButton3, Qt::LeftButton);
    EXPECT_EQ(storageFiles(), QStringList{QStringLiteral("Italienisch.qxs")});
}

TEST_F(StorageScreenTest, AFailedCreationIsReportedAndTheDialogStays)
{
    QDir(storages).removeRecursively();
    TFormLongTermStorageNew dialog(core);
    dialog.open();
    QTest::mouseClick(dialog.dxButton3, Qt::LeftButton);
    EXPECT_EQ(dialogs.Errors.size(), 1);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(core.LongTermStorages->AdditionalFileCount(), 0);
}

TEST_F(StorageScreenTest, TheKeyboardAnswersTheScreenAndItsDialog)
{
    createStorage(QStringLiteral("eng"));
    showScreen();
    // Enter in the dialog is its default button "Ok"; Escape is "Abbruch".
    for (const auto& [key, created] : {std::pair{Qt::Key_Escape, false}, std::pair{Qt::Key_Return, true}}) {
        TFormDialogMeta::InstallModalRunner([key = key](QDialog& dialog) {
            auto* names = dialog.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
            names->setCurrentIndex(names->findText(QStringLiteral("Französisch")));
            dialog.open();
            names->setFocus();
            QTest::keyClick(names, key);
            EXPECT_FALSE(dialog.isVisible()) << key;
            return dialog.result();
        });
        QTest::mouseClick(screen->Button_NewStorage, Qt::LeftButton);
        EXPECT_EQ(storageFiles().contains(QStringLiteral("Französisch.qxs")), created) << key;
    }
    TFormDialogMeta::InstallModalRunner({});

    screen->VST1->setCurrentItem(row(QStringLiteral("Englisch")));
    screen->Button_Ok->setFocus();
    QTest::keyClick(screen->Button_Ok, Qt::Key_Return);
    EXPECT_EQ(chosen, 1) << "Enter pressed the focused \"Auswählen\"";
    QTest::keyClick(screen->VST1, Qt::Key_Escape);
    EXPECT_EQ(aborted, 1) << "Escape is \"Abbruch\"";
}

TEST_F(StorageScreenTest, TheLearningMethodOfAStorageIsChosenInItsSettings)
{
    const QString english = createStorage(QStringLiteral("eng"));
    createStorage(QStringLiteral("fre"));
    // Learned with stages: waits ten days. The memory model has no answers of it yet, so it is new and due.
    addCard(english, 3, 3, 1);
    showScreen();
    EXPECT_TRUE(screen->Button_StorageSettings->isEnabled());
    EXPECT_EQ(row(QStringLiteral("Englisch"))->text(2), QStringLiteral("0") + dueText);
    const QRect englishRow = screen->VST1->visualItemRect(row(QStringLiteral("Englisch")));
    QTest::mouseClick(screen->VST1->viewport(), Qt::LeftButton, {}, englishRow.center());
    ASSERT_TRUE(screen->Button_StorageSettings->isEnabled());

    struct Seen
    {
        QString title;
        QStringList methods;
        bool retentionEnabledAtFirst = true;
        double retentionShown = 0;
    } seen;
    // Escape leaves everything as it was; then FSRS at 0,85 with the keyboard and "Ok".
    for (const bool save : {false, true}) {
        TFormDialogMeta::InstallModalRunner([&seen, save](QDialog& dialog) {
            auto* method = dialog.findChild<QComboBox*>(QStringLiteral("ComboBox_LearnMethod"));
            auto* retention = dialog.findChild<QDoubleSpinBox*>(QStringLiteral("SpinEdit_Retention"));
            seen.title = dialog.findChild<QLabel*>(QStringLiteral("Label1"))->text();
            seen.methods.clear();
            for (int i = 0; i < method->count(); ++i)
                seen.methods << method->itemText(i);
            seen.retentionEnabledAtFirst = retention->isEnabled();
            seen.retentionShown = retention->value();
            dialog.open();
            method->setFocus();
            QTest::keyClick(method, Qt::Key_Down);
            EXPECT_TRUE(retention->isEnabled()) << "FSRS has a retention";
            if (!save) {
                QTest::keyClick(method, Qt::Key_Escape);
                EXPECT_FALSE(dialog.isVisible());
                return dialog.result();
            }
            QLineEdit* edit = retention->findChild<QLineEdit*>();
            retention->setFocus();
            edit->selectAll();
            QTest::keyClicks(edit, QStringLiteral("0") + retention->locale().decimalPoint() + QStringLiteral("85"));
            QTest::keyClick(edit, Qt::Key_Tab);
            EXPECT_DOUBLE_EQ(retention->value(), 0.85);
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("dxButton3")), Qt::LeftButton);
            EXPECT_FALSE(dialog.isVisible()) << "Ok closes the dialog";
            return dialog.result();
        });
        QTest::mouseClick(screen->Button_StorageSettings, Qt::LeftButton);
        EXPECT_EQ(seen.title, QStringLiteral("Einstellungen des Langzeitspeichers \"Englisch\""));
        EXPECT_EQ(seen.methods, (QStringList{QStringLiteral("Stufen (klassisch)"), QStringLiteral("FSRS (Vergessenskurve)")}));
        EXPECT_FALSE(seen.retentionEnabledAtFirst) << "Stufen need no retention";
        EXPECT_DOUBLE_EQ(seen.retentionShown, 0.90);
        const TQVL_Result_Unit& record = *core.Users->GetActiveUser().Results().FindUnit(english);
        EXPECT_EQ(record.learnmethod, save ? TQVL_LearnMethod::FSRS : TQVL_LearnMethod::Stages) << save;
        EXPECT_EQ(record.desiredretention, save ? 0.85 : 0.90) << save;
    }
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
    EXPECT_EQ(row(QStringLiteral("Englisch"))->text(2), QStringLiteral("1") + dueText) << "due by FSRS now";
    EXPECT_EQ(screen->VST1->currentItem(), row(QStringLiteral("Englisch"))) << "the storage stays chosen";
    // Saved into the profile at once.
    EXPECT_TRUE(ReadFile(ProfilePath()).contains("<learnmethod>fsrs</learnmethod>"));
    EXPECT_TRUE(ReadFile(ProfilePath()).contains("<desiredretention>0.85</desiredretention>"));
}

TEST_F(StorageScreenTest, APauseIsSetInTheSettingsAndTheStorageHasNothingDueUntilThen)
{
    const QString english = createStorage(QStringLiteral("eng"));
    addCard(english, 3, 0, 0);
    showScreen();
    EXPECT_EQ(row(QStringLiteral("Englisch"))->text(2), QStringLiteral("1") + dueText);
    QTest::mouseClick(screen->VST1->viewport(), Qt::LeftButton, {},
                      screen->VST1->visualItemRect(row(QStringLiteral("Englisch"))).center());
    const QDate back = QDate::currentDate().addDays(14);
    bool dateEnabledAtFirst = true;
    TFormDialogMeta::InstallModalRunner([&](QDialog& dialog) {
        auto* pause = dialog.findChild<QCheckBox*>(QStringLiteral("CheckBox_Pause"));
        auto* until = dialog.findChild<QDateEdit*>(QStringLiteral("DateEdit_PauseUntil"));
        dateEnabledAtFirst = until->isEnabled();
        dialog.open();
        // Ticked with the keyboard.
        pause->setFocus();
        QTest::keyClick(pause, Qt::Key_Space);
        EXPECT_TRUE(pause->isChecked());
        EXPECT_TRUE(until->isEnabled());
        EXPECT_EQ(until->date(), back) << "two weeks from today unless changed";
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("dxButton3")), Qt::LeftButton);
        return dialog.result();
    });
    QTest::mouseClick(screen->Button_StorageSettings, Qt::LeftButton);
    EXPECT_FALSE(dateEnabledAtFirst) << "no pause set yet";
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
    const TQVL_Result_Unit& record = *core.Users->GetActiveUser().Results().FindUnit(english);
    EXPECT_EQ(record.pauseduntil.Date(), back);
    EXPECT_EQ(record.pausedfrom.Date(), QDate::currentDate());
    EXPECT_EQ(row(QStringLiteral("Englisch"))->text(2), QStringLiteral("0") + dueText) << "paused: nothing due";
    EXPECT_TRUE(ReadFile(ProfilePath()).contains("<pauseduntil>"));
}

TEST_F(StorageScreenTest, TheMemoryModelIsFittedToTheLearnersOwnAnswers)
{
    const QString english = createStorage(QStringLiteral("eng"));
    showScreen();
    QTest::mouseClick(screen->VST1->viewport(), Qt::LeftButton, {},
                      screen->VST1->visualItemRect(row(QStringLiteral("Englisch"))).center());

    // Cards learned forty days ago, each asked again three days later; a third of them forgotten by then.
    const QString logFile =
        TQVL_ReviewLog::FileName(ProfilePath(), QStringLiteral("0123456789abcdef0123456789abcdef"));
    const auto learn = [&](int from, int to) {
        TQVL_ReviewLog_Writer writer;
        writer.Open(logFile);
        for (int c = from; c < to; ++c) {
            TQVL_ReviewLog_Entry e;
            e.Device = QStringLiteral("0123456789abcdef0123456789abcdef");
            e.UnitUid = english;
            e.CardUid = 1000 + c;
            e.TimeMs = TQVL_FSRS_Replay::ToMs(TQVL_DateTime(TQVL_DateTime::Now().Serial() - 40)) + c * 60000;
            writer.Append(e);
            e.TimeMs += 3 * 86400000;
            e.StateBefore = TQVL_ReviewState::Review;
            e.Verdict = c % 3 == 0 ? TQVL_ReviewVerdict::Wrong : TQVL_ReviewVerdict::Right;
            writer.Append(e);
        }
    };

    struct Seen
    {
        bool fitEnabled = false;
        QString fitTip;
        QString parameters;
        QString result;
    } seen;
    const auto run = [&](const std::function<void(QDialog&)>& act) {
        TFormDialogMeta::InstallModalRunner([&](QDialog& dialog) {
            auto* method = dialog.findChild<QComboBox*>(QStringLiteral("ComboBox_LearnMethod"));
            auto* fit = dialog.findChild<QPushButton*>(QStringLiteral("Button_FitParameters"));
            dialog.open();
            if (method->currentIndex() != int(TQVL_LearnMethod::FSRS)) {
                EXPECT_FALSE(fit->isEnabled()) << "the weights steer FSRS alone";
                method->setFocus();
                QTest::keyClick(method, Qt::Key_Down);
            }
            seen.fitEnabled = fit->isEnabled();
            seen.fitTip = fit->toolTip();
            act(dialog);
            seen.parameters = dialog.findChild<QLabel*>(QStringLiteral("Label_Parameters"))->text();
            seen.result = dialog.findChild<QLabel*>(QStringLiteral("Label_FitResult"))->text();
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("dxButton3")), Qt::LeftButton);
            EXPECT_FALSE(dialog.isVisible()) << "Ok closes the dialog";
            return dialog.result();
        });
        QTest::mouseClick(screen->Button_StorageSettings, Qt::LeftButton);
    };
    const auto record = [&] { return core.Users->GetActiveUser().Results().FindUnit(english); };

    // Seven card histories are too few: the defaults stay.
    learn(0, 7);
    run([](QDialog&) {});
    EXPECT_FALSE(seen.fitEnabled);
    EXPECT_TRUE(seen.fitTip.contains(QStringLiteral("mindestens 8 Vokabeln"))) << seen.fitTip.toStdString();
    EXPECT_TRUE(seen.fitTip.contains(QStringLiteral("bisher 7"))) << seen.fitTip.toStdString();
    EXPECT_TRUE(seen.parameters.startsWith(QStringLiteral("Standardwerte"))) << seen.parameters.toStdString();
    ASSERT_TRUE(record());
    EXPECT_FALSE(record()->fsrsparameters);

    // With thirty the first answers give the initial stabilities; "Ok" keeps them.
    learn(7, 30);
    run([](QDialog& dialog) {
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("Button_FitParameters")), Qt::LeftButton);
    });
    EXPECT_TRUE(seen.fitEnabled);
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
    ASSERT_EQ(dialogs.Informations.size(), 1);
    EXPECT_TRUE(dialogs.Informations[0].contains(QStringLiteral("Angepasst wurden die Anfangsstabilitäten; die "
                                                                "übrigen Parameter bleiben Standardwerte (30 Vokabeln")))
        << dialogs.Informations[0].toStdString();
    EXPECT_TRUE(dialogs.Informations[0].contains(seen.result));
    const QRegularExpression figures(QStringLiteral("^Log-Loss vorher (\\d,\\d{3}) – nachher (\\d,\\d{3})$"));
    const QRegularExpressionMatch match = figures.match(seen.result);
    ASSERT_TRUE(match.hasMatch()) << seen.result.toStdString();
    const QLocale german(QLocale::German);
    EXPECT_LT(german.toDouble(match.captured(2)), german.toDouble(match.captured(1)));
    EXPECT_TRUE(seen.parameters.startsWith(QStringLiteral("an Ihre Antworten angepasst (30 Vokabeln")))
        << seen.parameters.toStdString();
    const TQVL_FSRS_Optimizer optimizer(TQVL_ReviewLog::ReadProfile(ProfilePath()).Entries, english);
    const TQVL_FSRS_Optimizer::Result expected = optimizer.Fit(TQVL_FSRS_Optimizer::Defaults());
    EXPECT_EQ(seen.result, QStringLiteral("Log-Loss vorher %1 – nachher %2")
                               .arg(german.toString(expected.LogLossBefore, 'f', 3),
                                    german.toString(expected.LogLossAfter, 'f', 3)));
    ASSERT_TRUE(record()->fsrsparameters);
    EXPECT_EQ(*record()->fsrsparameters, expected.W);
    EXPECT_NE(expected.W[2], TQVL_FSRS_Optimizer::Defaults()[2]);
    EXPECT_EQ(record()->learnmethod, TQVL_LearnMethod::FSRS);
    EXPECT_TRUE(ReadFile(ProfilePath()).contains("<fsrsparameters>"));

    // "Standardwerte" goes back to the published weights.
    run([](QDialog& dialog) {
        auto* defaults = dialog.findChild<QPushButton*>(QStringLiteral("Button_DefaultParameters"));
        EXPECT_TRUE(defaults->isEnabled());
        QTest::mouseClick(defaults, Qt::LeftButton);
        EXPECT_FALSE(defaults->isEnabled());
    });
    EXPECT_TRUE(seen.parameters.startsWith(QStringLiteral("Standardwerte"))) << seen.parameters.toStdString();
    EXPECT_FALSE(record()->fsrsparameters);
    EXPECT_FALSE(ReadFile(ProfilePath()).contains("<fsrsparameters>"));
}
