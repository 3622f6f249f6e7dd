// The editor tile on a lesson that another program instance has open: it
// says so when the lesson is held, and starts from the other one's save.
#include "tests/ui/edit/EditFixture.h"

#include "ui/edit/Form_EditVoc.h"
#include "ui/edit/Form_UnitEdit.h"
#include "ui/shell/FormDataModule.h"
#include "ui/shell/Frame_Messages.h"
#include "ui/show/Form_ShowMeta.h"
#include "ui/show/ShowLauncher.h"

#include <QAction>
#include <QLineEdit>

namespace {

class EditStaleTest : public EditorTest
{
protected:
    // What another instance does: opens the lesson, takes write access and adds a card.
    static void addCardElsewhere(TQVL_Unit& other, const QString& path, const char* foreign, const char* home)
    {
        other.Open(path);
        ASSERT_TRUE(other.RequestWriteAccess());
        auto* card = static_cast<TQVL_Card_Voc*>(other.Cards->NewCard(tVoc));
        card->foreign1 = QString::fromUtf8(foreign);
        card->home1 = QString::fromUtf8(home);
        other.Save();
    }
};

} // namespace

TEST_F(EditStaleTest, TheEditorTileSaysSoWhenAnotherInstanceHoldsTheLesson)
{
    const QString path = MakeUnit(QStringLiteral("Tiere"), tVoc, {{"cat", "Katze"}});
    OpenUnit(path);
    TQVL_Unit other;
    addCardElsewhere(other, path, "dog", "Hund");

    EXPECT_EQ(OpenEditor<TFormEditVoc>(false), nullptr);
    EXPECT_NE(dynamic_cast<TFormMainMenu*>(Screen()), nullptr);
    ASSERT_EQ(dialogs.Errors.size(), 1);
    EXPECT_EQ(dialogs.Errors[0], QStringLiteral("Die Datei \"%1\" kann nicht bearbeitet werden, weil sie "
                                                "schreibgeschützt ist oder gerade in einem anderen Programmfenster "
                                                "bearbeitet wird.")
                                     .arg(path));
    other.CloseFile();
    EXPECT_EQ(WordsOnDisk(path), (QStringList{QStringLiteral("cat=Katze"), QStringLiteral("dog=Hund")}));
}

TEST_F(EditStaleTest, TheEditorStartsFromWhatAnotherInstanceSavedAndKeepsIt)
{
    const QString path = MakeUnit(QStringLiteral("Tiere"), tVoc, {{"cat", "Katze"}});
    OpenUnit(path);
    {
        TQVL_Unit other;
        addCardElsewhere(other, path, "dog", "Hund");
        other.CloseFile();
    }

    auto* editor = OpenEditor<TFormEditVoc>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->CardIndex, 2) << "the new card follows the other instance's";
    Click(editor->Button_First);
    EXPECT_EQ(editor->TntEdit1->text(), QStringLiteral("cat"));
    Click(editor->Button_Next);
    EXPECT_EQ(editor->TntEdit1->text(), QStringLiteral("dog"));
    Click(editor->Button_SaveAndDone);
    EXPECT_EQ(WordsOnDisk(path), (QStringList{QStringLiteral("cat=Katze"), QStringLiteral("dog=Hund")}));
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
    const QStringList messages = window->MessageFrame()->Titles();
    EXPECT_EQ(messages.filter(QStringLiteral("\"Tiere.qxu\" wurde inzwischen von einem anderen Programm")).size(), 1)
        << messages.join('|').toStdString();
}

TEST_F(EditStaleTest, EditingTheUnitFromTheCardViewerLeavesTheViewerBeforeTheNewCardsAreRead)
{
    const QString path = MakeUnit(QStringLiteral("Tiere"), tVoc, {{"cat", "Katze"}});
    OpenUnit(path);
    ASSERT_NE(OpenCardViewer(*window), nullptr);
    {
        TQVL_Unit other;
        addCardElsewhere(other, path, "dog", "Hund");
        other.CloseFile();
    }
    QStringList seen;
    runDialog = [&](QDialog& dialog) {
        if (qobject_cast<TFormUnitEdit*>(&dialog)) {
            // The viewer shows the cards it was given: it must be gone before they are replaced.
            seen << QString::fromLatin1(Screen()->metaObject()->className());
            seen << Words(Unit());
        }
        return 0;
    };
    window->DataModule().Action_Unit_Edit->trigger();
    EXPECT_EQ(seen,
              (QStringList{QStringLiteral("TFormMainMenu"), QStringLiteral("cat=Katze"), QStringLiteral("dog=Hund")}));
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
}
