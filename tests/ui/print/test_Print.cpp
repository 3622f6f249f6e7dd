// The print dialogs write their pages into PDF files here, and the text is
// read back with pdftotext, as a learner would see it on paper.
#include "content/QVL_CardArrangement.h"
#include "content/QVL_Card_Container.h"
#include "content/QVL_Card_Voc.h"
#include "content/QVL_Unit.h"
#include "content/QVL_Unit_New.h"
#include "query/QVL_Result_Card.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "tests/support/LoggedInCoreTest.h"
#include "tests/support/ScriptedDialogService.h"
#include "tests/support/SmallFileSystem.h"
#include "tests/support/TestFiles.h"
#include "ui/print/Form_PrintGrammar.h"
#include "ui/print/Form_PrintVoc.h"
#include "ui/print/PrintPages.h"
#include "users/QVL_User.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class PrintTest : public LoggedInCoreTest
{
protected:
    void TearDown() override
    {
        if (core.Units->GetActiveUnit().IsOpen)
            core.Units->GetActiveUnit().CloseFile();
        core.CloseUnitCompanions();
        LoggedInCoreTest::TearDown();
    }
    QString unitsFolder() const { return folders.Documents() + QStringLiteral("/Lektionen"); }

    // A vocabulary unit with `count` cards "Wort<n>" / "word<n>", opened with its language profiles.
    void openUnit(int count, const QString& longMeaning = QString())
    {
        TQVL_Unit_New created;
        created.Name = QStringLiteral("Drucktest %1").arg(++made);
        created.Typ = tVoc;
        created.LangCodeHome = QStringLiteral("ger");
        created.LangCodeForeign = QStringLiteral("eng");
        const QString path = created.Create(unitsFolder());
        {
            TQVL_Unit unit;
            unit.Open(path);
            ASSERT_TRUE(unit.RequestWriteAccess());
            for (int n = 1; n <= count; ++n) {
                auto* card = static_cast<TQVL_Card_Voc*>(unit.Cards->NewCard(tVoc));
                card->foreign1 = QStringLiteral("word%1").arg(n);
                card->home1 = n == 1 && !longMeaning.isEmpty() ? longMeaning : QStringLiteral("Wort%1").arg(n);
                card->note = QStringLiteral("Notiz%1").arg(n);
            }
            unit.Save();
            unit.CloseFile();
        }
        core.Units->GetActiveUnit().Open(path);
        core.OpenUnitLanguages([](const QString&) {});
    }

    // The text of each page of `dialog`'s pages as a PDF.
    QStringList pagesOf(TFormPrintMeta& dialog)
    {
        const QString pdf = folders.Root() + QStringLiteral("/druck.pdf");
        EXPECT_TRUE(dialog.SaveAsPdf(pdf)) << dialogs.Errors.join('|').toStdString();
        // QUORVEL_SHOT_DIR=<folder> keeps each printout for a person to look at.
        if (const QString keep = qEnvironmentVariable("QUORVEL_SHOT_DIR"); !keep.isEmpty())
            QFile::copy(pdf, keep + QLatin1Char('/') +
                                 QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                                 QStringLiteral("-%1.pdf").arg(++kept));
        QProcess reader;
        reader.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        EXPECT_TRUE(reader.waitForFinished(30000));
        // Ligatures ("fi") as plain letters.
        QStringList pages = QString::fromUtf8(reader.readAllStandardOutput())
                                .normalized(QString::NormalizationForm_KC)
                                .split(QLatin1Char('\f'));
        if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
            pages.removeLast();
        return pages;
    }

    ScriptedDialogService dialogs;
    int made = 0;
    int kept = 0;
};

TEST_F(PrintTest, AListHasHeaderAndFooterOnEveryPageAndCountsItsPages)
{
    openUnit(150);
    TFormPrintVoc dialog(core);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Vokabeltrainer Quorvel - Vokabeln drucken"));
    EXPECT_GT(dialog.PageSize().width(), dialog.PageSize().height()) << "vocabulary prints landscape";
    ASSERT_GE(dialog.PageCount(), 3);
    EXPECT_EQ(dialog.Label_Page->text(), QStringLiteral(" Seite 1 von %1").arg(dialog.PageCount()));
    dialog.ShowPage(2);
    EXPECT_EQ(dialog.Label_Page->text(), QStringLiteral(" Seite 3 von %1").arg(dialog.PageCount()));

    const QStringList pages = pagesOf(dialog);
    ASSERT_EQ(pages.size(), dialog.PageCount());
    for (int page = 0; page < pages.size(); ++page) {
        const QString& text = pages[page];
        EXPECT_TRUE(text.contains(QStringLiteral("Vokabeltrainer Quorvel"))) << page;
        EXPECT_TRUE(text.contains(QStringLiteral("Lektion: "))) << page;
        EXPECT_TRUE(QRegularExpression(QStringLiteral("Seite %1\\s*$").arg(page + 1)).match(text).hasMatch())
            << text.right(200).toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Englisch"))) << "the column headers on every page";
    }
    EXPECT_TRUE(pages[0].contains(QStringLiteral("word1")));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Notiz1")));
    EXPECT_TRUE(pages.last().contains(QStringLiteral("word150")));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Erfolg")));
    // Every card exactly once.
    const QString all = pages.join(QLatin1Char('\n'));
    for (int n : {1, 37, 99, 150})
        EXPECT_EQ(all.count(QRegularExpression(QStringLiteral("\\bword%1\\b").arg(n))), 1) << n;
}

TEST_F(PrintTest, SuccessComesFromTheLearnersResultsWithoutMakingRecords)
{
    openUnit(3);
    TQVL_Unit& unit = core.Units->GetActiveUnit();
    TQVL_Result_Unit& results = core.Users->GetActiveUser().Results().GetOrCreateUnit(unit.Uid, unit.FileName);
    TQVL_Result_Card& first = results.GetOrCreateCard(unit.Cards->Card(0)->Uid);
    first.all_queried = 3;
    first.all_right = 2;
    TFormPrintVoc dialog(core);
    EXPECT_EQ(dialog.SuccessText(*unit.Cards->Card(0)), QStringLiteral("2 von 3 (67%)"));
    EXPECT_EQ(dialog.SuccessText(*unit.Cards->Card(1)), QStringLiteral("0 von 0 (0%)"));
    EXPECT_EQ(results.CardCount(), 1) << "printing made no record";
    EXPECT_TRUE(pagesOf(dialog).value(0).contains(QStringLiteral("2 von 3 (67%)")));
}

TEST_F(PrintTest, ALessonNeverQueriedPrintsItsSuccessLikeACardWithoutRecord)
{
    openUnit(2);
    const TQVL_Unit& unit = core.Units->GetActiveUnit();
    TFormPrintVoc dialog(core);
    EXPECT_EQ(dialog.SuccessText(*unit.Cards->Card(0)), QStringLiteral("0 von 0 (0%)"));
    EXPECT_EQ(pagesOf(dialog).value(0).count(QStringLiteral("0 von 0 (0%)")), 2);
    EXPECT_EQ(core.Users->GetActiveUser().Results().FindUnit(unit.Uid), nullptr) << "printing made no record";
}

TEST_F(PrintTest, ALongMeaningEndsInDotsAndStaysInItsColumn)
{
    const QString longMeaning = QStringLiteral("Donaudampfschifffahrtsgesellschaftskapitänsmütze ").repeated(6) +
                                QStringLiteral("ENDE");
    openUnit(2, longMeaning);
    TFormPrintVoc dialog(core);
    const QString page = pagesOf(dialog).value(0);
    EXPECT_TRUE(page.contains(QStringLiteral("..."))) << page.left(600).toStdString();
    EXPECT_FALSE(page.contains(QStringLiteral("ENDE")));
    EXPECT_TRUE(page.contains(QStringLiteral("Notiz1"))) << "the next column is still there";

    const QFontMetrics metrics(TPrintPages::PageFont(QStringLiteral("Tahoma"), 11));
    const QString shortened = TFormPrintCards::Shortened(metrics, longMeaning, 200);
    EXPECT_TRUE(shortened.endsWith(QStringLiteral("...")));
    EXPECT_LE(metrics.horizontalAdvance(shortened), 200);
    EXPECT_EQ(TFormPrintCards::Shortened(metrics, QStringLiteral("Haus"), 200), QStringLiteral("Haus"));
    EXPECT_EQ(TFormPrintCards::Shortened(metrics, QStringLiteral("Haus"), 2), QString()) << "not even T fits";
}

TEST_F(PrintTest, SmallCardsStandFourInARowAndTakeNoNotes)
{
    openUnit(9);
    TFormPrintVoc dialog(core);
    dialog.check_PaintFields->setChecked(true);
    for (QCheckBox* box : {dialog.check_Note, dialog.check_Hint, dialog.check_Success}) {
        EXPECT_FALSE(box->isChecked());
        EXPECT_FALSE(box->isEnabled());
    }
    dialog.check_Foreign->setChecked(false);
    const QString page = pagesOf(dialog).value(0);
    const QStringList lines = page.split(QLatin1Char('\n'));
    const auto rowOf = [&](const QString& word) {
        for (int line = 0; line < lines.size(); ++line)
            if (QRegularExpression(QStringLiteral("\\b%1\\b").arg(word)).match(lines[line]).hasMatch())
                return line;
        return -1;
    };
    ASSERT_GE(rowOf(QStringLiteral("Wort1")), 0) << page.toStdString();
    EXPECT_EQ(rowOf(QStringLiteral("Wort4")), rowOf(QStringLiteral("Wort1")));
    EXPECT_GT(rowOf(QStringLiteral("Wort5")), rowOf(QStringLiteral("Wort4"))) << "the fifth card starts a new row";
    EXPECT_EQ(rowOf(QStringLiteral("Wort8")), rowOf(QStringLiteral("Wort5")));
    EXPECT_EQ(rowOf(QStringLiteral("word1")), -1) << "only \"Deutsch\" is checked";
    EXPECT_EQ(rowOf(QStringLiteral("Notiz1")), -1);

    // Back on the list the three are as they were before the cards: "Anmerkungen" and "Erfolg" on, "Tip" off.
    dialog.check_PaintList->setChecked(true);
    const std::pair<QCheckBox*, bool> restored[] = {
        {dialog.check_Note, true}, {dialog.check_Hint, false}, {dialog.check_Success, true}};
    for (const auto& [box, checked] : restored) {
        EXPECT_TRUE(box->isEnabled());
        EXPECT_EQ(box->isChecked(), checked) << box->text().toStdString();
    }
    EXPECT_TRUE(pagesOf(dialog).value(0).contains(QStringLiteral("Notiz1"))) << "the notes are printed again";

    // What the learner changed on the list survives a visit to the cards.
    dialog.check_Success->setChecked(false);
    dialog.check_Hint->setChecked(true);
    dialog.check_PaintFields->setChecked(true);
    dialog.check_PaintList->setChecked(true);
    EXPECT_TRUE(dialog.check_Note->isChecked());
    EXPECT_TRUE(dialog.check_Hint->isChecked());
    EXPECT_FALSE(dialog.check_Success->isChecked());
}

TEST_F(PrintTest, AGrammarTableHasAColumnPerFieldItemAndOneForSuccess)
{
    core.Units->GetActiveUnit().Open(unitsFolder() + QStringLiteral("/Englisch - Unregelmäßige Verben.qxu"));
    core.OpenUnitLanguages([](const QString&) {});
    core.OpenUnitArrangement();
    TFormPrintGrammar dialog(core);
    const auto fields = dialog.FieldColumns();
    ASSERT_GE(fields.size(), 2);
    const QString page = pagesOf(dialog).value(0);
    const QString header = page.split(QLatin1Char('\n')).filter(QStringLiteral("Erfolg:")).value(0);
    ASSERT_FALSE(header.isEmpty()) << page.left(800).toStdString();
    int last = -1;
    for (const auto* field : fields) {
        const int at = header.indexOf(field->Caption.left(6));
        EXPECT_GT(at, last) << field->Caption.toStdString() << " in order: " << header.toStdString();
        last = at;
    }
    EXPECT_GT(header.indexOf(QStringLiteral("Erfolg:")), last);
    EXPECT_TRUE(page.contains(QStringLiteral("went")));
    EXPECT_TRUE(page.contains(QStringLiteral("0 von 0 (0%)"))) << "a lesson never queried";

    dialog.Check_Success->setChecked(false);
    EXPECT_FALSE(pagesOf(dialog).value(0).contains(QStringLiteral("Erfolg:")));
}

TEST_F(PrintTest, ALessonWithoutCardsHasNoPageAndWithoutBandsTheContentGrows)
{
    openUnit(0);
    TFormPrintVoc empty(core);
    EXPECT_EQ(empty.PageCount(), 0);
    EXPECT_TRUE(empty.Label_Page->text().isEmpty());
    EXPECT_FALSE(empty.dxButton3->isEnabled());
    EXPECT_FALSE(empty.Button_Pdf->isEnabled());
    core.Units->GetActiveUnit().CloseFile();
    core.CloseUnitCompanions();

    openUnit(400);
    TFormPrintVoc dialog(core);
    const int withBands = dialog.ContentHeight();
    const int pagesWithBands = dialog.PageCount();
    dialog.check_HeaderAndFooter->setChecked(false);
    EXPECT_EQ(dialog.ContentHeight(), withBands + 42);
    EXPECT_LE(dialog.PageCount(), pagesWithBands);
    const QString page = pagesOf(dialog).value(0);
    EXPECT_FALSE(page.contains(QStringLiteral("Vokabeltrainer Quorvel")));
    EXPECT_FALSE(page.contains(QStringLiteral("Seite 1")));

    // An unreadable font size prints at 11.
    dialog.combo_FontSize->setCurrentText(QStringLiteral("groß"));
    EXPECT_EQ(dialog.FontSize, 11);
    dialog.combo_FontSize->setCurrentText(QStringLiteral("24"));
    EXPECT_EQ(dialog.FontSize, 24);
    EXPECT_GT(dialog.PageCount(), pagesWithBands) << "bigger type, more pages";
}

TEST_F(PrintTest, SavedAsPdfOnA4TheLearnerIsToldWhere)
{
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "a printer here decides the paper";
    openUnit(3);
    TFormPrintVoc dialog(core);
    EXPECT_EQ(dialog.PageSize(), QSize(1123, 794)) << "A4 landscape in page units";
    const QString chosen = folders.Root() + QStringLiteral("/Vokabeln");
    dialogs.FileAnswers.push_back(chosen);
    QTest::mouseClick(dialog.Button_Pdf, Qt::LeftButton);
    const QString written = chosen + QStringLiteral(".pdf");
    ASSERT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
    ASSERT_EQ(dialogs.Informations.size(), 1);
    EXPECT_TRUE(dialogs.Informations[0].contains(written)) << dialogs.Informations[0].toStdString();

    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {written});
    ASSERT_TRUE(info.waitForFinished(30000));
    const QString facts = QString::fromUtf8(info.readAllStandardOutput());
    EXPECT_TRUE(facts.contains(QRegularExpression(QStringLiteral("Page size:\\s+842 x 595 pts \\(A4\\)"))))
        << facts.toStdString();
    EXPECT_TRUE(facts.contains(QStringLiteral("Vokabeltrainer Quorvel"))) << "the creator";
}

TEST_F(PrintTest, APdfIsNeverWrittenIntoSomethingThatIsNoFile)
{
    openUnit(3);
    TFormPrintVoc dialog(core);
    const QString folder = folders.Root() + QStringLiteral("/Ordner.pdf");
    const QString pipe = folders.Root() + QStringLiteral("/Rohr.pdf");
    // A link of our own to the device that is always full: refused, and even
    // a mistake would only replace the link.
    const QString full = folders.Root() + QStringLiteral("/Voll.pdf");
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), full));
    for (const QString& target : {folder, pipe, full}) {
        dialogs.Errors.clear();
        dialogs.Informations.clear();
        dialogs.FileAnswers.push_back(target);
        QTest::mouseClick(dialog.Button_Pdf, Qt::LeftButton);
        EXPECT_EQ(
            dialogs.Errors,
            QStringList{QStringLiteral("Die Datei \"%1\" wird nicht gespeichert, weil sie keine gewöhnliche Datei ist.")
                            .arg(target)});
        EXPECT_TRUE(dialogs.Informations.isEmpty()) << target.toStdString();
    }
    EXPECT_TRUE(QFileInfo(folder).isDir());
    struct stat status
    {
    };
    EXPECT_TRUE(::lstat(QFile::encodeName(pipe).constData(), &status) == 0 && S_ISFIFO(status.st_mode));
    EXPECT_EQ(QFileInfo(full).symLinkTarget(), QStringLiteral("/dev/full"));
    EXPECT_EQ(QDir(folders.Root()).entryList(QDir::Hidden | QDir::Files | QDir::System | QDir::NoDotAndDotDot),
              (QStringList{QStringLiteral("Rohr.pdf"), QStringLiteral("Voll.pdf")}))
        << "no temporary file is left";
}

TEST_F(PrintTest, AFullDiskKeepsTheOldPdf)
{
    SmallFileSystem disk(folders.Root() + QStringLiteral("/klein"), "size=16k");
    if (!disk.mounted)
        GTEST_SKIP() << "mounting a tmpfs is not allowed here";
    const QString fileName = disk.path + QStringLiteral("/Alt.pdf");
    const QByteArray before("%PDF-1.4 die alte Fassung\n%%EOF\n");
    WriteFile(fileName, before);
    openUnit(400);
    TFormPrintVoc dialog(core);

    EXPECT_FALSE(dialog.SaveAsPdf(fileName));
    ASSERT_EQ(dialogs.Errors.size(), 1);
    EXPECT_TRUE(dialogs.Errors[0].contains(QStringLiteral("\"%1\"").arg(fileName))) << dialogs.Errors[0].toStdString();
    EXPECT_TRUE(dialogs.Errors[0].contains(QStringLiteral("nicht genügend Speicherplatz")))
        << dialogs.Errors[0].toStdString();
    EXPECT_EQ(ReadFile(fileName), before);
    EXPECT_EQ(QDir(disk.path).entryList(QDir::Hidden | QDir::Files), QStringList{QStringLiteral("Alt.pdf")})
        << "no temporary file is left";
}

} // namespace

namespace {

TEST_F(PrintTest, CardsThatLookLikeMarkupArePrintedAsTyped)
{
    openUnit(2);
    TQVL_Unit& unit = core.Units->GetActiveUnit();
    const QStringList texts = {QStringLiteral("<b>dog</b>"), QStringLiteral("&lt;"),
                               QStringLiteral("<img src=\"dot.png\">"), QStringLiteral("a < b & c > d")};
    auto* first = static_cast<TQVL_Card_Voc*>(unit.Cards->Card(0));
    auto* second = static_cast<TQVL_Card_Voc*>(unit.Cards->Card(1));
    first->foreign1 = texts[0];
    first->home1 = texts[1];
    second->foreign1 = texts[2];
    second->note = texts[3];
    TFormPrintVoc dialog(core);
    // The reader of the printout may drop a narrow blank; markup would drop whole characters.
    const QString page = pagesOf(dialog).value(0);
    const auto letters = [](QString text) { return text.remove(QRegularExpression(QStringLiteral("\\s"))); };
    for (const QString& text : texts)
        EXPECT_TRUE(letters(page).contains(letters(text))) << text.toStdString() << " in\n" << page.toStdString();
}

} // namespace
