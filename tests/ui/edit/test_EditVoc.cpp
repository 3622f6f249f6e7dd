#include "tests/ui/edit/EditFixture.h"

#include "content/QVL_Card_Sound.h"
#include "ui/edit/Form_EditSound.h"
#include "ui/edit/Form_EditVoc.h"
#include "ui/query/Form_QueryMeta.h"
#include "ui/shell/ForeignInput.h"
#include "ui/shell/FormDataModule.h"
#include "ui/units/Form_UnitsSelect.h"
#include "users/QVL_User_Rights.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>

namespace {

class EditVocTest : public EditorTest
{
protected:
    TFormEditVoc* OpenWith(std::initializer_list<std::pair<const char*, const char*>> words)
    {
        path = MakeUnit(QStringLiteral("Tiere"), tVoc, words);
        OpenUnit(path);
        return OpenEditor<TFormEditVoc>();
    }
    static void Type(QLineEdit* field, const QString& text)
    {
        field->setFocus();
        TypeText(field, text);
    }
    // Which of first/previous/next/last are shown.
    static QString Navigation(const TFormEdit& editor)
    {
        QString shown;
        for (const QPushButton* button :
             {editor.Button_First, editor.Button_Previous, editor.Button_Next, editor.Button_Last})
            shown += button->isVisible() ? QLatin1Char('1') : QLatin1Char('0');
        return shown;
    }

    QString path;
};

} // namespace

TEST_F(EditVocTest, OpensOnANewCardAndLeavingAtOnceSavesTheUnitWithoutIt)
{
    TFormEditVoc* editor = OpenWith({{"cat", "Katze"}, {"dog", "Hund"}});
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->Caption(), QStringLiteral("Vokabeln hinzufügen"));
    EXPECT_EQ(Unit().Cards->Count(), 3);
    EXPECT_EQ(editor->CardIndex, 2);
    EXPECT_TRUE(editor->TntEdit1->text().isEmpty());
    EXPECT_EQ(editor->Button_SaveAndDone->text(), QStringLiteral("Übernehmen && Zurück"));

    Click(editor->Button_SaveAndDone);
    EXPECT_NE(dynamic_cast<TFormMainMenu*>(Screen()), nullptr);
    EXPECT_EQ(Words(Unit()), (QStringList{QStringLiteral("cat=Katze"), QStringLiteral("dog=Hund")}));
    EXPECT_EQ(WordsOnDisk(path), Words(Unit()));
    EXPECT_TRUE(dialogs.Questions.isEmpty());
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
}

TEST_F(EditVocTest, NavigationShowsTheCardsAndHidesWhatLeadsNowhere)
{
    TFormEditVoc* editor = OpenWith({{"cat", "Katze"}, {"dog", "Hund"}, {"cow", "Kuh"}});
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(Navigation(*editor), QStringLiteral("1100"));

    // Leaving the untouched new card removes it.
    Click(editor->Button_First);
    EXPECT_EQ(Unit().Cards->Count(), 3);
    EXPECT_EQ(editor->CardIndex, 0);
    EXPECT_EQ(editor->TntEdit1->text(), QStringLiteral("cat"));
    EXPECT_EQ(editor->TntEdit2->text(), QStringLiteral("Katze"));
    EXPECT_EQ(Navigation(*editor), QStringLiteral("0011"));
    EXPECT_TRUE(editor->Button_New->isVisible());
    EXPECT_TRUE(editor->Button_Delete->isVisible());

    Click(editor->Button_Next);
    EXPECT_EQ(editor->TntEdit1->text(), QStringLiteral("dog"));
    EXPECT_EQ(Navigation(*editor), QStringLiteral("1111"));
    Click(editor->Button_Last);
    EXPECT_EQ(editor->TntEdit1->text(), QStringLiteral("cow"));
    EXPECT_EQ(Navigation(*editor), QStringLiteral("1100"));
    Click(editor->Button_Previous);
    EXPECT_EQ(editor->TntEdit1->text(), QStringLiteral("dog"));

    // Changing a card and moving on keeps the change in the unit.
    editor->TntEdit4->setFocus();
    TypeText(editor->TntEdit4, QStringLiteral("Köter"));
    Click(editor->Button_Next);
    EXPECT_EQ(static_cast<TQVL_Card_Voc*>(Unit().Cards->Card(1))->home2, QStringLiteral("Köter"));
    EXPECT_TRUE(editor->Modified());
}

TEST_F(EditVocTest, EmptyingACardRemovesItAndNextShowsTheCardThatTookItsPlace)
{
    TFormEditVoc* editor = OpenWith({{"cat", "Katze"}, {"dog", "Hund"}, {"cow", "Kuh"}});
    ASSERT_NE(editor, nullptr);
    Click(editor->Button_First);
    editor->TntEdit1->clear();
    editor->TntEdit2->clear();
    Click(editor->Button_Next);
    EXPECT_EQ(Words(Unit()), (QStringList{QStringLiteral("dog=Hund"), QStringLiteral("cow=Kuh")}));
    // Not "cow": the card after the removed one is the one that moved into its place.
    EXPECT_EQ(editor->TntEdit1->text(), QStringLiteral("dog"));
    EXPECT_EQ(editor->CardIndex, 0);

    // The emptied inputs of a removed card never land on the card that took its place.
    editor->TntEdit1->clear();
    editor->TntEdit2->clear();
    Click(editor->Button_SaveAndDone);
    EXPECT_EQ(WordsOnDisk(path), QStringList{QStringLiteral("cow=Kuh")});
    EXPECT_TRUE(dialogs.Questions.isEmpty());
}

TEST_F(EditVocTest, DeletingTheOnlyCardLeavesANewEmptyCard)
{
    TFormEditVoc* editor = OpenWith({{"cat", "Katze"}});
    ASSERT_NE(editor, nullptr);
    Click(editor->Button_First);
    ASSERT_EQ(Unit().Cards->Count(), 1);
    const qint32 deletedUid = Unit().Cards->Card(0)->Uid;
    Click(editor->Button_Delete);
    ASSERT_EQ(Unit().Cards->Count(), 1);
    EXPECT_GT(Unit().Cards->Card(0)->Uid, deletedUid);
    EXPECT_TRUE(editor->TntEdit1->text().isEmpty());
    EXPECT_EQ(editor->CardIndex, 0);
    EXPECT_TRUE(editor->Modified());
}

TEST_F(EditVocTest, EnterMovesToTheHomeMeaningAndThenStoresTheCard)
{
    TFormEditVoc* editor = OpenWith({});
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(IsForeignInput(editor->TntEdit1));
    EXPECT_TRUE(IsForeignInput(editor->TntEdit5));
    EXPECT_FALSE(IsForeignInput(editor->TntEdit2));
    EXPECT_FALSE(IsForeignInput(editor->TntEdit7));
    EXPECT_EQ(editor->Label_Foreign->text(), QStringLiteral("Englische Bedeutungen:"));

    Type(editor->TntEdit1, QStringLiteral("house"));
    QTest::keyClick(editor->TntEdit1, Qt::Key_Return);
    EXPECT_TRUE(editor->TntEdit2->hasFocus());
    QTest::keyClicks(editor->TntEdit2, QStringLiteral("Haus"));
    QTest::keyClick(editor->TntEdit2, Qt::Key_Return);
    EXPECT_EQ(Unit().Cards->Count(), 2);
    EXPECT_EQ(Words(Unit()).first(), QStringLiteral("house=Haus"));
    EXPECT_EQ(editor->CardIndex, 1);
    EXPECT_TRUE(editor->TntEdit1->text().isEmpty());
    EXPECT_TRUE(editor->TntEdit1->hasFocus());
}

TEST_F(EditVocTest, LeavingWithChangesAsksAndActsOnTheAnswer)
{
    struct Case
    {
        TDialogChoice answer;
        QStringList inMemory, onDisk;
        bool stays;
    };
    const QStringList old{QStringLiteral("cat=Katze")};
    const QStringList changed{QStringLiteral("cat=Katze"), QStringLiteral("dog=Hund")};
    for (const Case& c : {Case{TDialogChoice::Yes, changed, changed, false}, Case{TDialogChoice::No, old, old, false},
                          Case{TDialogChoice::Cancel, changed, old, true}}) {
        SCOPED_TRACE(int(c.answer));
        TFormEditVoc* editor = OpenWith({{"cat", "Katze"}});
        ASSERT_NE(editor, nullptr);
        Type(editor->TntEdit1, QStringLiteral("dog"));
        Type(editor->TntEdit2, QStringLiteral("Hund"));
        dialogs.ChoiceAnswers = {c.answer};
        dialogs.Questions.clear();
        dialogs.Errors.clear();
        // Another screen chosen from the menu bar.
        window->DataModule().Action_Unit_Select->trigger();
        EXPECT_EQ(dialogs.Questions, QStringList{QStringLiteral("Änderungen an der Lektion speichern?")});
        EXPECT_EQ(Screen() == editor, c.stays);
        EXPECT_EQ(WordsOnDisk(path), c.onDisk);
        if (c.stays) {
            EXPECT_EQ(dialogs.Errors, QStringList{QStringLiteral("Abbruch durch Benutzer!")});
            // What was typed is still there and still counts.
            EXPECT_EQ(editor->TntEdit1->text(), QStringLiteral("dog"));
            EXPECT_EQ(Words(Unit()), c.inMemory);
        } else {
            EXPECT_NE(dynamic_cast<TFormUnitsSelect*>(Screen()), nullptr);
            ASSERT_TRUE(Unit().IsOpen);
            EXPECT_EQ(Words(Unit()), c.inMemory);
        }
        dialogs.ChoiceAnswers = {TDialogChoice::No};
        window->ShowMainMenu();
        if (Unit().IsOpen)
            Unit().CloseFile();
        QFile::remove(path);
    }
}

TEST_F(EditVocTest, EscapeLeavesTheEditorAndAsksAboutChangesFirst)
{
    TFormEditVoc* editor = OpenWith({{"cat", "Katze"}});
    ASSERT_NE(editor, nullptr);
    Type(editor->TntEdit1, QStringLiteral("dog"));
    Type(editor->TntEdit2, QStringLiteral("Hund"));

    dialogs.ChoiceAnswers = {TDialogChoice::Cancel};
    QTest::keyClick(editor->TntEdit2, Qt::Key_Escape);
    EXPECT_EQ(dialogs.Questions, QStringList{QStringLiteral("Änderungen an der Lektion speichern?")});
    ASSERT_EQ(Screen(), editor) << "\"Abbrechen\" keeps the editor open";
    EXPECT_EQ(editor->TntEdit1->text(), QStringLiteral("dog"));

    dialogs.ChoiceAnswers = {TDialogChoice::Yes};
    QTest::keyClick(editor->TntEdit1, Qt::Key_Escape);
    EXPECT_EQ(dialogs.Questions.size(), 2);
    EXPECT_NE(dynamic_cast<TFormMainMenu*>(Screen()), nullptr);
    EXPECT_EQ(WordsOnDisk(path), (QStringList{QStringLiteral("cat=Katze"), QStringLiteral("dog=Hund")}));

    // An untouched editor leaves at once.
    auto* again = OpenEditor<TFormEditVoc>();
    ASSERT_NE(again, nullptr);
    dialogs.Questions.clear();
    QTest::keyClick(again->TntEdit1, Qt::Key_Escape);
    EXPECT_NE(dynamic_cast<TFormMainMenu*>(Screen()), nullptr);
    EXPECT_TRUE(dialogs.Questions.isEmpty());
}

TEST_F(EditVocTest, ClosingTheProgramOrLoggingOutWithChangesAsksFirst)
{
    TFormEditVoc* editor = OpenWith({{"cat", "Katze"}});
    ASSERT_NE(editor, nullptr);
    Type(editor->TntEdit1, QStringLiteral("dog"));

    dialogs.ChoiceAnswers = {TDialogChoice::Cancel};
    window->close();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(Screen(), editor);
    EXPECT_EQ(dialogs.Questions.size(), 1);

    // Logging out asks as well; "Ja" saves before the profile closes.
    Type(editor->TntEdit2, QStringLiteral("Hund"));
    dialogs.ChoiceAnswers = {TDialogChoice::Yes};
    window->DataModule().Action_UsersSelect->trigger();
    EXPECT_EQ(dialogs.Questions.size(), 2);
    EXPECT_FALSE(Core().Users->HasActiveUser());
    EXPECT_EQ(WordsOnDisk(path), (QStringList{QStringLiteral("cat=Katze"), QStringLiteral("dog=Hund")}));

    // An untouched editor leaves without a question.
    dialogs.Questions.clear();
    window->Core().Users->GetActiveUser().Open(folders.Documents() + QStringLiteral("/Benutzer/Lernender.qxs"));
    window->ShowMainMenu();
    ASSERT_NE(OpenEditor<TFormEditVoc>(), nullptr);
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(dialogs.Questions.isEmpty());
}

TEST_F(EditVocTest, TheMenuTileChecksUnitWriteAccessAndRight)
{
    // No unit: the notice and nothing else.
    window->ShowMainMenu();
    auto* menu = dynamic_cast<TFormMainMenu*>(Screen());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(OpenEditor<TFormEditVoc>(false), nullptr);
    EXPECT_EQ(Notices.size(), 1);

    // A read-only file: the learner is told why no editor opens.
    path = MakeUnit(QStringLiteral("Fest"), tVoc, {{"a", "b"}});
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    OpenUnit(path);
    Notices.clear();
    EXPECT_EQ(OpenEditor<TFormEditVoc>(false), nullptr);
    EXPECT_TRUE(Notices.isEmpty());
    ASSERT_EQ(dialogs.Errors.size(), 1);
    EXPECT_TRUE(dialogs.Errors[0].contains(QStringLiteral("\"%1\" kann nicht bearbeitet werden").arg(path)))
        << dialogs.Errors[0].toStdString();
    dialogs.Errors.clear();
    Unit().CloseFile();

    // Without the right to edit units: the missing-right notice.
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    Core().Users->GetActiveUser().Rights().UNITS_EDIT = false;
    OpenUnit(path);
    EXPECT_EQ(OpenEditor<TFormEditVoc>(false), nullptr);
    EXPECT_EQ(Notices.size(), 1);
}

TEST_F(EditVocTest, SoundEditorKeepsBothFilesAndPlaysThem)
{
    QStringList played;
    const auto previous = TFormQueryMeta::InstallSoundPlayer([&](const QString& file) { played << file; });
    path = MakeUnit(QStringLiteral("Aussprache"), tSound);
    OpenUnit(path);
    auto* editor = OpenEditor<TFormEditSound>();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->Edit_ForeignFileName->isVisible());

    // A card with nothing but a sound file is not empty.
    const QString chosen = UnitsFolder() + QStringLiteral("/Sounds/en_hello.ogg");
    dialogs.FileAnswers = {chosen};
    Click(editor->Button_ForeignFileName);
    EXPECT_EQ(editor->Edit_ForeignFileName->text(), chosen);
    Click(editor->Button_PlayForeign);
    EXPECT_EQ(played, QStringList{chosen});
    Click(editor->Button_SaveAndNext);
    ASSERT_EQ(Unit().Cards->Count(), 2);
    const auto* card = dynamic_cast<const TQVL_Card_Sound*>(Unit().Cards->Card(0));
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->foreign_filename, chosen);
    EXPECT_TRUE(card->home_filename.isEmpty());

    // A cancelled file dialog changes nothing; an empty input plays nothing.
    Click(editor->Button_HomeFileName);
    EXPECT_TRUE(editor->Edit_HomeFileName->text().isEmpty());
    Click(editor->Button_PlayHome);
    EXPECT_EQ(played.size(), 1);

    Click(editor->Button_First);
    EXPECT_EQ(editor->Edit_ForeignFileName->text(), chosen);
    Click(editor->Button_SaveAndDone);
    TQVL_Unit saved;
    saved.Open(path);
    ASSERT_EQ(saved.Cards->Count(), 1);
    EXPECT_EQ(static_cast<TQVL_Card_Sound*>(saved.Cards->Card(0))->foreign_filename, chosen);
    saved.CloseFile();
    TFormQueryMeta::InstallSoundPlayer(previous);
}

TEST_F(EditVocTest, VorlesenLassenRecordsTheMeaningsBesideTheLessonAndPlaysThem)
{
    QStringList played;
    const auto previous = TFormQueryMeta::InstallSoundPlayer([&](const QString& file) { played << file; });
    path = MakeUnit(QStringLiteral("Aussprache"), tSound);
    OpenUnit(path);
    auto* editor = OpenEditor<TFormEditSound>();
    ASSERT_NE(editor, nullptr);

    // Nothing to speak yet: a hint, no file.
    Click(editor->Button_ReadHome);
    EXPECT_EQ(dialogs.Informations, QStringList{QStringLiteral("Bitte zuerst die Muttersprache eingeben.")});
    EXPECT_TRUE(editor->Edit_HomeFileName->text().isEmpty());

    QTest::keyClicks(editor->TntEdit1, QStringLiteral("the house")); // first foreign meaning
    QTest::keyClicks(editor->TntEdit3, QStringLiteral("home"));      // second foreign meaning
    QTest::keyClicks(editor->TntEdit4, QStringLiteral("das Haus"));  // second home meaning
    // Each side is spoken on a worker; its button waits for the file.
    Click(editor->Button_ReadForeign);
    EXPECT_FALSE(editor->Button_ReadHome->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return editor->Button_ReadHome->isEnabled(); }, 10000));
    Click(editor->Button_ReadHome);
    ASSERT_TRUE(QTest::qWaitFor([&] { return editor->Button_ReadHome->isEnabled(); }, 10000));
    ASSERT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
    EXPECT_EQ(editor->Edit_ForeignFileName->text(), QStringLiteral("the_house_home.wav"));
    EXPECT_EQ(editor->Edit_HomeFileName->text(), QStringLiteral("das_Haus.wav"));
    EXPECT_EQ(played, (QStringList{UnitsFolder() + QStringLiteral("/the_house_home.wav"),
                                   UnitsFolder() + QStringLiteral("/das_Haus.wav")}))
        << "each recording is played once it is made";
    EXPECT_TRUE(QFileInfo(UnitsFolder() + QStringLiteral("/das_Haus.wav")).size() > 1000);

    Click(editor->Button_SaveAndDone);
    TQVL_Unit saved;
    saved.Open(path);
    ASSERT_EQ(saved.Cards->Count(), 1);
    const auto* card = static_cast<TQVL_Card_Sound*>(saved.Cards->Card(0));
    EXPECT_EQ(card->foreign_filename, QStringLiteral("the_house_home.wav"));
    EXPECT_EQ(saved.ExternalFilePath(card->home_filename), UnitsFolder() + QStringLiteral("/das_Haus.wav"));
    saved.CloseFile();
    TFormQueryMeta::InstallSoundPlayer(previous);
}
