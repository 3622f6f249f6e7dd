#include "content/QVL_Card_Voc.h"
#include "content/QVL_Unit.h"
#include "tests/support/LoggedInCoreTest.h"
#include "tests/support/ScriptedDialogService.h"
#include "tests/support/TestFiles.h"
#include "ui/exchange/Form_UnitsImport.h"
#include "ui/units/Frame_Units_List.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>

namespace {

// The import wizard over a logged-in core, shown through the modal runner.
class UnitsImportTest : public LoggedInCoreTest
{
protected:
    void TearDown() override
    {
        TFormDialogMeta::InstallModalRunner({});
        LoggedInCoreTest::TearDown();
    }

    int run(const std::function<void(TFormUnitsImport&)>& act)
    {
        TFormDialogMeta::InstallModalRunner([&](QDialog& dialog) {
            dialog.open();
            act(static_cast<TFormUnitsImport&>(dialog));
            const int result = dialog.result();
            if (dialog.isVisible())
                dialog.reject();
            return result;
        });
        TFormUnitsImport dialog(core);
        return dialog.ShowModal();
    }
    // Near the left edge: a radio button or check box answers only on its mark and text.
    static void click(QAbstractButton* button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(std::min(8, button->width() / 2), button->height() / 2));
    }
    // Saves what the learner sees when QUORVEL_SHOT_DIR names a folder.
    static void shot(QWidget& dialog, const char* name)
    {
        const QString folder = qEnvironmentVariable("QUORVEL_SHOT_DIR");
        if (!folder.isEmpty())
            dialog.grab().save(folder + QLatin1Char('/') + QString::fromUtf8(name) + QStringLiteral(".png"));
    }
    QString source(const char* name, const QByteArray& bytes) const
    {
        const QString path = folders.Root() + QLatin1Char('/') + QString::fromUtf8(name);
        WriteFile(path, bytes);
        return path;
    }
    QString unitsFolder() const { return TFrameUnitsList::UnitsFolder(core); }
    // Type page to files page with `files` added through the button.
    void toFiles(TFormUnitsImport& dialog, QRadioButton* type, const QStringList& files)
    {
        click(type);
        click(dialog.dxButton3);
        ASSERT_EQ(dialog.CurrentPage(), TFormUnitsImport::pgFiles);
        for (const QString& file : files) {
            dialogs.FileAnswers.push_back(file);
            click(dialog.Button_AddFiles);
        }
    }
    // The import runs on a worker; its outcome is shown once it is done.
    static void waitForImport(const TFormUnitsImport& dialog)
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.Importing(); }, 20000));
    }
    // Keeps the import's worker at its report until the import is cancelled.
    static void holdUntilCancelled(const std::atomic<bool>& cancelled)
    {
        QDeadlineTimer limit(10000);
        while (!cancelled.load() && !limit.hasExpired())
            QThread::msleep(1);
    }
    static QStringList results(const TFormUnitsImport& dialog)
    {
        QStringList rows;
        for (int i = 0; i < dialog.List_Results->topLevelItemCount(); ++i)
            rows << dialog.List_Results->topLevelItem(i)->text(0) + QLatin1Char('|') +
                        dialog.List_Results->topLevelItem(i)->text(1);
        return rows;
    }

    ScriptedDialogService dialogs;
};

} // namespace

TEST_F(UnitsImportTest, CsvFilesBecomeUnitsAndEachFileShowsItsOutcome)
{
    const QString good = source("Tiere.csv", "dog,Hund,x\n\"cat, tom\",Kater\n\n");
    const QString bad = source("Kaputt.csv", "dog,Hund\n\"cat,Katze\n");
    QDir().mkpath(unitsFolder());
    WriteFile(unitsFolder() + QStringLiteral("/Tiere.qxu"), "schon da");
    QStringList seen;
    const int result = run([&](TFormUnitsImport& dialog) {
        EXPECT_TRUE(dialog.check_CSV->isChecked());
        shot(dialog, "1_type");
        toFiles(dialog, dialog.check_CSV, {good, bad, good});
        EXPECT_EQ(dialog.List_Files->count(), 2) << "a file is listed once";
        EXPECT_FALSE(dialog.check_LanguagesFromSource->isEnabled()) << "CSV files do not name their languages";
        EXPECT_EQ(dialog.ComboBox_Foreign->currentText(), QStringLiteral("Englisch"));
        EXPECT_EQ(dialog.ComboBox_Home->currentText(), QStringLiteral("Deutsch"));
        EXPECT_EQ(dialog.Frame_UnitsList->SelectedFolder(), unitsFolder());
        shot(dialog, "2_files");
        click(dialog.dxButton3);
        ASSERT_EQ(dialog.CurrentPage(), TFormUnitsImport::pgCSV);
        // The presets, then the learner's columns typed in; letters do not get in.
        for (int i = 0; i < TQVL_Import_CSV::fFieldCount; ++i)
            EXPECT_EQ(dialog.Edit_Columns[std::size_t(i)]->text(), QString::number(i + 1));
        shot(dialog, "3_csv");
        const auto type = [](QLineEdit* edit, const char* keys) {
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Backspace);
            QTest::keyClicks(edit, QString::fromLatin1(keys));
        };
        type(dialog.Edit_Columns[TQVL_Import_CSV::fHome1], "x2");
        type(dialog.Edit_Columns[TQVL_Import_CSV::fForeign1], "1");
        for (int field : {TQVL_Import_CSV::fHome2, TQVL_Import_CSV::fHome3, TQVL_Import_CSV::fForeign2,
                          TQVL_Import_CSV::fForeign3, TQVL_Import_CSV::fNote})
            type(dialog.Edit_Columns[std::size_t(field)], "0");
        type(dialog.Edit_Columns[TQVL_Import_CSV::fHint], "3");
        EXPECT_EQ(dialog.Edit_Columns[TQVL_Import_CSV::fHome1]->text(), QStringLiteral("2"));
        dialog.ComboBox_Delimiter->setFocus();
        QTest::keyClick(dialog.ComboBox_Delimiter, Qt::Key_Down);
        EXPECT_EQ(dialog.ComboBox_Delimiter->currentText(), QStringLiteral(","));
        // Enter in a column goes on, as "Weiter ->" does.
        QTest::keyClick(dialog.Edit_Columns[TQVL_Import_CSV::fHint], Qt::Key_Return);
        ASSERT_EQ(dialog.CurrentPage(), TFormUnitsImport::pgResult);
        waitForImport(dialog);
        seen << dialog.Label_Result->text() << results(dialog) << dialog.Label_Detail->text();
        EXPECT_FALSE(dialog.ProgressBar_Import->isVisible());
        EXPECT_EQ(dialog.dxButton3->text(), QStringLiteral("Fertig"));
        shot(dialog, "5_result_errors");
        click(dialog.dxButton3);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    ASSERT_EQ(seen.size(), 4);
    EXPECT_EQ(seen[0], QStringLiteral("Bei folgenden Dateien ist ein Fehler aufgetreten:"));
    EXPECT_EQ(seen[1], QStringLiteral("Tiere.csv|2 Karten in \"Tiere_1.qxu\""));
    EXPECT_TRUE(seen[2].startsWith(QStringLiteral("Kaputt.csv|Zeile 2: Ein Anführungszeichen"))) << seen[2].toStdString();
    // The failed file is chosen and its whole message shown below the list.
    EXPECT_TRUE(seen[3].startsWith(QStringLiteral("Die Datei \"") + bad)) << seen[3].toStdString();
    EXPECT_TRUE(seen[3].contains(QStringLiteral("\nZeile 2:"))) << seen[3].toStdString();
    ASSERT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();

    EXPECT_EQ(ReadFile(unitsFolder() + QStringLiteral("/Tiere.qxu")), QByteArray("schon da")) << "never overwritten";
    EXPECT_FALSE(QFileInfo::exists(unitsFolder() + QStringLiteral("/Kaputt.qxu")));
    TQVL_Unit unit;
    unit.Open(unitsFolder() + QStringLiteral("/Tiere_1.qxu"));
    EXPECT_EQ(unit.LangCodeForeign, QStringLiteral("eng"));
    EXPECT_EQ(unit.LangCodeHome, QStringLiteral("ger"));
    ASSERT_EQ(unit.Cards->Count(), 2);
    const auto& cat = static_cast<const TQVL_Card_Voc&>(*unit.Cards->Card(1));
    EXPECT_EQ(cat.foreign1, QStringLiteral("cat, tom"));
    EXPECT_EQ(cat.home1, QStringLiteral("Kater"));
    EXPECT_EQ(static_cast<const TQVL_Card_Voc&>(*unit.Cards->Card(0)).hint, QStringLiteral("x"));
    unit.CloseFile();
}

TEST_F(UnitsImportTest, KvtmlWithTheLanguagesOfTheFile)
{
    const QString file = folders.Root() + QStringLiteral("/Tiere.kvtml");
    QFile::copy(QStringLiteral(QUORVEL_FIXTURES "/exchange/vocabulary.kvtml"), file);
    QString label;
    run([&](TFormUnitsImport& dialog) {
        toFiles(dialog, dialog.check_KVTML, {file});
        EXPECT_TRUE(dialog.check_LanguagesFromSource->isEnabled());
        click(dialog.check_LanguagesFromSource);
        EXPECT_FALSE(dialog.ComboBox_Foreign->isEnabled());
        click(dialog.dxButton3);
        ASSERT_EQ(dialog.CurrentPage(), TFormUnitsImport::pgResult) << "no CSV page for KVTML";
        waitForImport(dialog);
        label = dialog.Label_Result->text();
        shot(dialog, "5_result_success");
    });
    EXPECT_EQ(label, QStringLiteral("Alle Lektionen wurde erfolgreich importiert und im Zielverzeichnis abgelegt."));
    TQVL_Unit unit;
    unit.Open(unitsFolder() + QStringLiteral("/Tiere.qxu"));
    EXPECT_EQ(unit.LangCodeForeign, QStringLiteral("eng"));
    EXPECT_EQ(unit.LangCodeHome, QStringLiteral("ger"));
    EXPECT_EQ(unit.Cards->Count(), 2);
    unit.CloseFile();
}

TEST_F(UnitsImportTest, MissingChoicesAndTheSpreadsheetNote)
{
    run([&](TFormUnitsImport& dialog) {
        click(dialog.check_Excel);
        click(dialog.dxButton3);
        EXPECT_EQ(dialog.CurrentPage(), TFormUnitsImport::pgExcel);
        EXPECT_FALSE(dialog.dxButton3->isEnabled());
        shot(dialog, "4_excel");
    });
    run([&](TFormUnitsImport& dialog) {
        toFiles(dialog, dialog.check_PlainText, {});
        click(dialog.dxButton3);
        EXPECT_EQ(dialog.CurrentPage(), TFormUnitsImport::pgFiles);
        dialogs.FileAnswers.push_back(source("deck.txt", "a\tb\n"));
        click(dialog.Button_AddFiles);
        dialog.ComboBox_Home->setCurrentIndex(dialog.ComboBox_Foreign->currentIndex());
        click(dialog.dxButton3);
        EXPECT_EQ(dialog.CurrentPage(), TFormUnitsImport::pgFiles);
        dialog.List_Files->setCurrentRow(0);
        click(dialog.Button_RemoveFiles);
        EXPECT_EQ(dialog.List_Files->count(), 0);
    });
    EXPECT_EQ(dialogs.Errors,
              (QStringList{QStringLiteral("Bitte wählen Sie mindestens eine Datei aus, die importiert werden soll."),
                           QStringLiteral("Fremdsprache und Muttersprache müssen verschieden sein.")}));
}

TEST_F(UnitsImportTest, CancelLeavesNoHalfWrittenLesson)
{
    QByteArray rows;
    for (int i = 0; i < 30000; ++i)
        rows += "Wort;;;word\n";
    const QString large = source("Gross.csv", rows);
    const QString second = source("Zweite.csv", "a;;;b\n");
    QStringList seen;
    run([&](TFormUnitsImport& dialog) {
        toFiles(dialog, dialog.check_CSV, {large, second});
        click(dialog.dxButton3);
        // "Abbruch" is clicked while the first file is read: once the worker reports from it, not before.
        std::atomic<bool> reading = false;
        dialog.OnWorkerReport = [&reading](const std::atomic<bool>& cancelled) {
            reading = true;
            holdUntilCancelled(cancelled);
        };
        QTimer::singleShot(0, &dialog, [&] {
            EXPECT_TRUE(QTest::qWaitFor([&] { return reading.load(); }, 10000));
            seen << QString::number(dialog.ProgressBar_Import->isVisible());
            shot(dialog, "5_progress");
            click(dialog.dxButton2);
        });
        click(dialog.dxButton3);
        waitForImport(dialog);
        EXPECT_TRUE(dialog.isVisible()) << "Abbruch during the import stops it, not the wizard";
        seen << results(dialog);
    });
    EXPECT_EQ(seen, (QStringList{QStringLiteral("1"),
                                 QStringLiteral("Gross.csv|Abgebrochen. Es wurde keine Lektion angelegt."),
                                 QStringLiteral("Zweite.csv|Nicht importiert (abgebrochen).")}));
    QDir units(unitsFolder());
    EXPECT_TRUE(units.entryList({QStringLiteral("Gross*"), QStringLiteral("Zweite*"), QStringLiteral(".*tmp*")},
                                QDir::Files | QDir::Hidden)
                    .isEmpty());
}

// A file of a few long lines reports from its first bytes on, so "Abbruch"
// stops it early, not after the whole file was read.
TEST_F(UnitsImportTest, AbbruchStopsAFileOfFewLongLinesEarly)
{
    const QByteArray line = QByteArray(30000, '&') + '\t' + QByteArray(30000, '&') + '\n';
    const QString large = source("Lang.txt", line.repeated(40));
    int shownWhenCancelled = -1;
    QStringList seen;
    run([&](TFormUnitsImport& dialog) {
        toFiles(dialog, dialog.check_PlainText, {large});
        dialog.OnWorkerReport = holdUntilCancelled;
        click(dialog.dxButton3);
        // The worker waits at its first report until that report is on the bar.
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.ProgressBar_Import->value() > 0; }, 5000));
        shownWhenCancelled = dialog.ProgressBar_Import->value();
        click(dialog.dxButton2);
        waitForImport(dialog);
        seen << results(dialog);
    });
    EXPECT_EQ(seen, QStringList{QStringLiteral("Lang.txt|Abgebrochen. Es wurde keine Lektion angelegt.")});
    EXPECT_GE(shownWhenCancelled, 0);
    EXPECT_LT(shownWhenCancelled, 200) << "the first report comes early in the file";
    EXPECT_FALSE(QFileInfo::exists(unitsFolder() + QStringLiteral("/Lang.qxu")));
}

namespace {

QString corpus(const char* name)
{
    return QStringLiteral(QUORVEL_FIXTURES "/exchange/corpus/") + QString::fromUtf8(name);
}

// The written lesson's languages and first card, as "fre|ger|rouge|rot".
QString lesson(const QString& path)
{
    TQVL_Unit unit;
    unit.Open(path);
    const auto& first = static_cast<const TQVL_Card_Voc&>(*unit.Cards->Card(0));
    const QString shown = QStringList{unit.LangCodeForeign, unit.LangCodeHome, first.foreign1, first.home1}.join('|');
    unit.CloseFile();
    return shown;
}

} // namespace

// Files that name their languages in words or not at all: the learner gives
// those without a profile one on the languages page, typing in its list.
TEST_F(UnitsImportTest, LanguagesWithoutAProfileAreChosenOnTheLanguagesPage)
{
    QStringList rows;
    QStringList profilesShown;
    run([&](TFormUnitsImport& dialog) {
        toFiles(dialog, dialog.check_KVTML, {corpus("states.kvtml"), corpus("locale_words.kvtml")});
        EXPECT_EQ(dialog.ComboBox_Foreign->findText(QStringLiteral("Afrikaans")), -1) << "only installed profiles";
        EXPECT_GE(dialog.ComboBox_Foreign->findText(QStringLiteral("Französisch")), 0);
        click(dialog.check_LanguagesFromSource);
        click(dialog.dxButton3);
        ASSERT_EQ(dialog.CurrentPage(), TFormUnitsImport::pgLanguages);
        for (int i = 0; i < dialog.List_Languages->topLevelItemCount(); ++i) {
            rows << dialog.List_Languages->topLevelItem(i)->text(0);
            profilesShown << dialog.ProfileBox(i)->currentText();
        }
        EXPECT_FALSE(dialog.ComboBox_PickForeign->isVisible());
        EXPECT_FALSE(dialog.check_CommentAsHome->isVisible());
        EXPECT_EQ(dialog.List_Languages->currentItem(), dialog.List_Languages->topLevelItem(0))
            << "the first language without a profile is chosen";
        shot(dialog, "6_languages");
        // Not every language has a profile yet: the page stays.
        click(dialog.dxButton3);
        EXPECT_EQ(dialog.CurrentPage(), TFormUnitsImport::pgLanguages);
        dialog.ProfileBox(0)->setFocus();
        QTest::keyClicks(dialog.ProfileBox(0), QStringLiteral("Englisch"));
        dialog.ProfileBox(1)->setFocus();
        QTest::keyClicks(dialog.ProfileBox(1), QStringLiteral("Deutsch"));
        EXPECT_EQ(dialog.ProfileBox(0)->currentText(), QStringLiteral("Englisch"));
        click(dialog.dxButton3);
        ASSERT_EQ(dialog.CurrentPage(), TFormUnitsImport::pgResult);
        waitForImport(dialog);
        EXPECT_EQ(results(dialog),
                  (QStringList{QStringLiteral("states.kvtml|1 Karten in \"states.qxu\""),
                               QStringLiteral("locale_words.kvtml|2 Karten in \"locale_words.qxu\"")}));
    });
    EXPECT_EQ(rows, (QStringList{QStringLiteral("state"), QStringLiteral("capital"), QStringLiteral("french"),
                                 QStringLiteral("German")}));
    EXPECT_EQ(profilesShown, (QStringList{QStringLiteral("(bitte wählen)"), QStringLiteral("(bitte wählen)"),
                                          QStringLiteral("Französisch"), QStringLiteral("Deutsch")}));
    EXPECT_EQ(dialogs.Errors, QStringList{QStringLiteral("Bitte wählen Sie ein Sprachprofil für die Sprache \"state\" "
                                                         "(Datei \"states.kvtml\").")});
    EXPECT_TRUE(dialogs.Questions.isEmpty()) << "two files: no offer to open one";
    EXPECT_EQ(lesson(unitsFolder() + QStringLiteral("/states.qxu")), QStringLiteral("eng|ger|Texas|Austin"));
    EXPECT_EQ(lesson(unitsFolder() + QStringLiteral("/locale_words.qxu")), QStringLiteral("fre|ger|rouge|rot"));
}

// Three languages: the learner picks two. One language: the comment becomes
// the home side, or the file is left with a message that says why.
TEST_F(UnitsImportTest, TwoOfThreeLanguagesAndTheCommentOfAOneLanguageFile)
{
    QStringList picks;
    run([&](TFormUnitsImport& dialog) {
        toFiles(dialog, dialog.check_KVTML, {corpus("three_languages.kvtml"), corpus("one_language.kvtml")});
        click(dialog.check_LanguagesFromSource);
        click(dialog.dxButton3);
        ASSERT_EQ(dialog.CurrentPage(), TFormUnitsImport::pgLanguages);
        EXPECT_TRUE(dialog.ComboBox_PickForeign->isVisible());
        EXPECT_TRUE(dialog.check_CommentAsHome->isVisible());
        EXPECT_TRUE(dialog.check_CommentAsHome->isChecked());
        EXPECT_TRUE(dialog.Label_Pick->text().startsWith(QStringLiteral("Die Datei \"three_languages.kvtml\" enthält "
                                                                        "mehr als zwei Sprachen.")));
        EXPECT_TRUE(dialog.Label_OneLanguage->text().contains(QStringLiteral("Muttersprache (Deutsch)")));
        for (int i = 0; i < dialog.ComboBox_PickForeign->count(); ++i)
            picks << dialog.ComboBox_PickForeign->itemText(i);
        picks << dialog.ComboBox_PickForeign->currentText() << dialog.ComboBox_PickHome->currentText();
        shot(dialog, "6_languages_pick");
        dialog.ComboBox_PickForeign->setFocus();
        QTest::keyClicks(dialog.ComboBox_PickForeign, QStringLiteral("Fr"));
        click(dialog.dxButton3);
        ASSERT_EQ(dialog.CurrentPage(), TFormUnitsImport::pgResult);
        waitForImport(dialog);
        EXPECT_EQ(results(dialog),
                  (QStringList{QStringLiteral("three_languages.kvtml|2 Karten in \"three_languages.qxu\""),
                               QStringLiteral("one_language.kvtml|3 Karten in \"one_language.qxu\"")}));
    });
    EXPECT_EQ(picks, (QStringList{QStringLiteral("en_US"), QStringLiteral("de-DE"), QStringLiteral("Französisch"),
                                  QStringLiteral("en_US"), QStringLiteral("de-DE")}));
    EXPECT_EQ(lesson(unitsFolder() + QStringLiteral("/three_languages.qxu")), QStringLiteral("fre|ger|maison|Haus"));
    EXPECT_EQ(lesson(unitsFolder() + QStringLiteral("/one_language.qxu")),
              QStringLiteral("eng|ger|giraffe|an animal with a long neck"));

    // Without the comment the file is not imported, and the message says what would help.
    QString detail;
    run([&](TFormUnitsImport& dialog) {
        toFiles(dialog, dialog.check_KVTML, {corpus("one_language.kvtml")});
        click(dialog.dxButton3);
        ASSERT_EQ(dialog.CurrentPage(), TFormUnitsImport::pgLanguages);
        click(dialog.check_CommentAsHome);
        click(dialog.dxButton3);
        ASSERT_EQ(dialog.CurrentPage(), TFormUnitsImport::pgResult);
        waitForImport(dialog);
        detail = dialog.Label_Detail->text();
    });
    EXPECT_TRUE(detail.contains(QStringLiteral("Die Datei enthält nur eine Sprache (\"en\")"))) << detail.toStdString();
    EXPECT_TRUE(detail.contains(QStringLiteral("Anmerkung als Muttersprache übernehmen"))) << detail.toStdString();
    EXPECT_FALSE(QFileInfo::exists(unitsFolder() + QStringLiteral("/one_language_1.qxu")));
}

TEST_F(UnitsImportTest, ASingleImportOffersToOpenTheNewLesson)
{
    QString toOpen;
    dialogs.ConfirmAnswers = {false};
    run([&](TFormUnitsImport& dialog) {
        toFiles(dialog, dialog.check_KVTML, {corpus("locale_words.kvtml")});
        click(dialog.check_LanguagesFromSource);
        click(dialog.dxButton3);
        EXPECT_EQ(dialog.CurrentPage(), TFormUnitsImport::pgResult) << "no language needs a decision";
        waitForImport(dialog);
        EXPECT_TRUE(dialog.isVisible()) << "declined: the results stay";
        toOpen = dialog.UnitToOpen();
    });
    EXPECT_EQ(toOpen, QString());
    dialogs.ConfirmAnswers = {true};
    const int result = run([&](TFormUnitsImport& dialog) {
        toFiles(dialog, dialog.check_KVTML, {corpus("locale_words.kvtml")});
        click(dialog.check_LanguagesFromSource);
        click(dialog.dxButton3);
        waitForImport(dialog);
        EXPECT_FALSE(dialog.isVisible()) << "accepted: the wizard closes";
        toOpen = dialog.UnitToOpen();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(toOpen, unitsFolder() + QStringLiteral("/locale_words_1.qxu"));
    EXPECT_EQ(
        dialogs.Questions,
        (QStringList{QStringLiteral("Die Lektion \"locale_words.qxu\" wurde angelegt. Möchten Sie sie jetzt öffnen?"),
                     QStringLiteral("Die Lektion \"locale_words_1.qxu\" wurde angelegt. Möchten Sie sie jetzt "
                                    "öffnen?")}));
}
