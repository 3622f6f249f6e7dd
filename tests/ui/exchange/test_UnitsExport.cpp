#include "content/QVL_Unit.h"
#include "exchange/QVL_Import_CSV.h"
#include "exchange/QVL_Import_KVTML.h"
#include "tests/support/LoggedInCoreTest.h"
#include "tests/support/ScriptedDialogService.h"
#include "tests/support/TestFiles.h"
#include "ui/exchange/Form_UnitsExport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

// The export dialog over a logged-in core with a sample lesson open, shown through the modal runner.
class UnitsExportTest : public LoggedInCoreTest
{
protected:
    void TearDown() override
    {
        TFormDialogMeta::InstallModalRunner({});
        LoggedInCoreTest::TearDown();
    }

    void open(const char* lesson)
    {
        core.Units->GetActiveUnit().Open(folders.Documents() + QStringLiteral("/Lektionen/") + QString::fromUtf8(lesson));
    }

    // Runs the dialog for the active unit; `act` drives it, and it must have closed afterwards.
    int run(const std::function<void(TFormUnitsExport&)>& act)
    {
        bool closed = false;
        TFormDialogMeta::InstallModalRunner([&](QDialog& dialog) {
            dialog.open();
            act(static_cast<TFormUnitsExport&>(dialog));
            closed = !dialog.isVisible();
            const int result = dialog.result();
            if (dialog.isVisible())
                dialog.reject();
            return result;
        });
        TFormUnitsExport::ExportActiveUnit(core);
        EXPECT_TRUE(closed) << "the dialog stays open";
        return 0;
    }
    // Saves what the learner sees when QUORVEL_SHOT_DIR names a folder.
    static void shot(QWidget& dialog, const char* name)
    {
        const QString folder = qEnvironmentVariable("QUORVEL_SHOT_DIR");
        if (!folder.isEmpty())
            dialog.grab().save(folder + QLatin1Char('/') + QString::fromUtf8(name) + QStringLiteral(".png"));
    }
    static void click(QAbstractButton* button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(std::min(8, button->width() / 2), button->height() / 2));
    }

    ScriptedDialogService dialogs;
};

} // namespace

TEST_F(UnitsExportTest, TheChosenFieldsGoIntoACsvFileThatTheImportReadsBack)
{
    open("Englisch - Grundwortschatz.qxu");
    const QString target = folders.Root() + QStringLiteral("/woerter"); // the extension is added
    dialogs.FileAnswers.push_back(target);
    run([&](TFormUnitsExport& dialog) {
        EXPECT_TRUE(dialog.check_CSV->isChecked());
        dialog.ComboBox_Delimiter->setFocus();
        QTest::keyClick(dialog.ComboBox_Delimiter, Qt::Key_Down); // ","
        click(dialog.check_Fields[TQVL_Import_CSV::fNote]);
        click(dialog.check_Fields[TQVL_Import_CSV::fHint]);
        shot(dialog, "export");
        click(dialog.dxButton3);
    });
    ASSERT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
    ASSERT_TRUE(QFileInfo::exists(target + QStringLiteral(".csv")));
    ASSERT_EQ(dialogs.Informations.size(), 1);
    EXPECT_TRUE(dialogs.Informations[0].contains(target + QStringLiteral(".csv"))) << "says where the file went";

    TQVL_Import_CSV reader;
    reader.Delimiter = u',';
    const TQVL_Import_Source read = reader.Read(ReadFile(target + QStringLiteral(".csv")), target);
    const TQVL_Unit& unit = core.Units->GetActiveUnit();
    ASSERT_EQ(int(read.Cards.size()), unit.Cards->Count());
    EXPECT_EQ(read.Cards[0].note, QString()) << "the note was left out";
    EXPECT_TRUE(read.Cards[0].hint.isEmpty());
    EXPECT_FALSE(read.Cards[0].home1.isEmpty());
}

TEST_F(UnitsExportTest, KvtmlNamesTheLanguagesAndAPictureLessonIsRefusedBeforeAFileIsChosen)
{
    open("Englisch - Grundwortschatz.qxu");
    const QString target = folders.Root() + QStringLiteral("/woerter.kvtml");
    dialogs.FileAnswers.push_back(target);
    run([&](TFormUnitsExport& dialog) {
        click(dialog.check_KVTML);
        EXPECT_FALSE(dialog.ComboBox_Delimiter->isEnabled());
        click(dialog.dxButton3);
    });
    ASSERT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
    TQVL_Import_KVTML reader;
    reader.LangCodeForeign = QStringLiteral("eng");
    reader.LangCodeHome = QStringLiteral("ger");
    const TQVL_Import_Source read = reader.Read(ReadFile(target), target);
    EXPECT_EQ(int(read.Cards.size()), core.Units->GetActiveUnit().Cards->Count());
    EXPECT_EQ(read.LangCodeForeign, QStringLiteral("eng"));
    core.Units->GetActiveUnit().CloseFile();

    open("Englisch - Bilder.qxu");
    dialogs.FileAnswers.push_back(folders.Root() + QStringLiteral("/bilder.csv"));
    run([&](TFormUnitsExport& dialog) {
        click(dialog.dxButton3);
        dialog.reject();
    });
    ASSERT_EQ(dialogs.Errors.size(), 1);
    EXPECT_TRUE(dialogs.Errors[0].contains(QStringLiteral("\"Bilder\""))) << dialogs.Errors[0].toStdString();
    EXPECT_EQ(dialogs.FileAnswers.size(), 1u) << "no file asked for";
}

TEST_F(UnitsExportTest, APackageForFlashcardProgramsIsAZipWithTheCollection)
{
    open("Englisch - Grundwortschatz.qxu");
    const QString target = folders.Root() + QStringLiteral("/woerter");
    dialogs.FileAnswers.push_back(target);
    run([&](TFormUnitsExport& dialog) {
        dialog.check_Anki->setFocus();
        QTest::keyClick(dialog.check_Anki, Qt::Key_Space);
        EXPECT_TRUE(dialog.check_Anki->isChecked());
        QTest::keyClick(&dialog, Qt::Key_Return);
    });
    ASSERT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
    const QByteArray package = ReadFile(target + QStringLiteral(".apkg"));
    EXPECT_TRUE(package.startsWith("PK\x03\x04"));
    EXPECT_TRUE(package.contains("collection.anki2"));
}
