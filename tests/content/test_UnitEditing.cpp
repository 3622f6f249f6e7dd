#include "content/QVL_Card_Container.h"
#include "content/QVL_Card_Grammar.h"
#include "content/QVL_Card_Sound.h"
#include "content/QVL_Card_Voc_Values.h"
#include "content/QVL_MeaningCleanup.h"
#include "content/QVL_Unit.h"
#include "content/QVL_Unit_Data.h"
#include "content/QVL_Unit_New.h"
#include "core/QVL_Error.h"
#include "tests/support/TestFolders.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <functional>

namespace {

using Meanings = TQVL_MeaningCleanup::Meanings;

QString errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const TQVL_Error& error) {
        return error.Message();
    }
    return QStringLiteral("<no error>");
}

Meanings m(const char* a, const char* b = "", const char* c = "")
{
    return {QString::fromUtf8(a), QString::fromUtf8(b), QString::fromUtf8(c)};
}

std::string show(const Meanings& meanings)
{
    return (meanings[0] + QLatin1Char('|') + meanings[1] + QLatin1Char('|') + meanings[2]).toStdString();
}

} // namespace

TEST(MeaningCleanup, CleanSplitsTrimsAndDropsEmptyAndRepeatedMeanings)
{
    struct Case
    {
        Meanings before;
        const char* delimiters;
        Meanings after;
    };
    const Case cases[] = {
        {m("Haus, Gebäude; Heim"), ",;", m("Haus", "Gebäude", "Heim")},
        {m("Haus, Gebäude; Heim"), ",", m("Haus", "Gebäude; Heim")},
        {m("a/b", "c"), "/", m("a", "b", "c")},
        {m(" Haus ", "", "  "), ",", m("Haus")},
        {m("", "Haus", "Heim"), ",", m("Haus", "Heim")},
        {m("Haus", "Haus", "haus"), ",", m("Haus", "haus")},
        {m("a,,b", " , "), ",", m("a", "b")},
        // More than three: nothing is lost, the third field keeps the rest.
        {m("a, b, c, d", "e"), ",", m("a", "b", "c, d, e")},
        {m("a;b"), "", m("a;b")},
        {m("Haus", "Heim"), ",;/", m("Haus", "Heim")},
    };
    for (const Case& c : cases) {
        const Meanings cleaned = TQVL_MeaningCleanup::Clean(c.before, QString::fromUtf8(c.delimiters));
        EXPECT_EQ(show(cleaned), show(c.after)) << show(c.before) << " with " << c.delimiters;
        // Cleaning what is clean changes nothing.
        EXPECT_EQ(show(TQVL_MeaningCleanup::Clean(cleaned, QString::fromUtf8(c.delimiters))), show(cleaned));
    }
}

TEST(MeaningCleanup, PreviewListsOnlyChangedVocabularyCardsAndApplyChangesOnlyThem)
{
    TQVL_Card_Container cards;
    auto* house = static_cast<TQVL_Card_Voc*>(cards.NewCard(tVoc));
    house->home1 = QStringLiteral("Haus, Gebäude; Heim");
    house->foreign1 = QStringLiteral("house");
    house->hint = QStringLiteral("a, b");
    auto* tree = static_cast<TQVL_Card_Voc*>(cards.NewCard(tVoc));
    tree->home1 = QStringLiteral("Baum");
    tree->foreign1 = QStringLiteral("tree");
    auto* grammar = static_cast<TQVL_Card_Grammar*>(cards.NewCard(tGrammar));
    grammar->SetValue(1, QStringLiteral("ich, du; er"));
    auto* sound = static_cast<TQVL_Card_Sound*>(cards.NewCard(tSound));
    sound->foreign1 = QStringLiteral("dog ; hound");
    sound->foreign_filename = QStringLiteral("dog, hound.wav");

    const auto changes = TQVL_MeaningCleanup::Preview(cards, QStringLiteral(",;"));
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].Index, 0);
    EXPECT_EQ(changes[0].Uid, house->Uid);
    EXPECT_EQ(show(changes[0].HomeAfter), show(m("Haus", "Gebäude", "Heim")));
    EXPECT_EQ(changes[1].Index, 3);
    // The preview changes nothing by itself.
    EXPECT_EQ(house->home1, QStringLiteral("Haus, Gebäude; Heim"));

    EXPECT_EQ(TQVL_MeaningCleanup::Apply(cards, changes), 2);
    EXPECT_EQ(house->home1, QStringLiteral("Haus"));
    EXPECT_EQ(house->home2, QStringLiteral("Gebäude"));
    EXPECT_EQ(house->home3, QStringLiteral("Heim"));
    EXPECT_EQ(house->foreign1, QStringLiteral("house"));
    EXPECT_EQ(house->hint, QStringLiteral("a, b"));
    EXPECT_EQ(tree->home1, QStringLiteral("Baum"));
    EXPECT_EQ(grammar->GetValue(1), QStringLiteral("ich, du; er"));
    EXPECT_EQ(sound->foreign1, QStringLiteral("dog"));
    EXPECT_EQ(sound->foreign2, QStringLiteral("hound"));
    EXPECT_EQ(sound->foreign_filename, QStringLiteral("dog, hound.wav"));
    EXPECT_TRUE(TQVL_MeaningCleanup::Preview(cards, QStringLiteral(",;")).empty());
}

TEST(CardVocValues, CopiesEveryFieldAndTheSoundFilesOnlyOfSoundCards)
{
    TQVL_Card_Voc_Values values;
    values.foreign1 = QStringLiteral("f1");
    values.foreign2 = QStringLiteral("f2");
    values.foreign3 = QStringLiteral("f3");
    values.home1 = QStringLiteral("h1");
    values.home2 = QStringLiteral("h2");
    values.home3 = QStringLiteral("h3");
    values.note = QStringLiteral("n");
    values.hint = QStringLiteral("t");
    values.foreign_filename = QStringLiteral("f.wav");
    values.home_filename = QStringLiteral("h.wav");

    TQVL_Card_Sound sound;
    values.ApplyTo(sound);
    EXPECT_EQ(TQVL_Card_Voc_Values::FromCard(sound), values);
    EXPECT_EQ(sound.hint, QStringLiteral("t"));
    EXPECT_EQ(sound.note, QStringLiteral("n"));

    TQVL_Card_Voc voc;
    values.ApplyTo(voc);
    TQVL_Card_Voc_Values back = TQVL_Card_Voc_Values::FromCard(voc);
    EXPECT_TRUE(back.foreign_filename.isEmpty());
    back.foreign_filename = values.foreign_filename;
    back.home_filename = values.home_filename;
    EXPECT_EQ(back, values);

    TQVL_Card_Voc_Values onlyFile;
    EXPECT_TRUE(onlyFile.IsEmpty(true));
    onlyFile.home_filename = QStringLiteral("h.wav");
    EXPECT_FALSE(onlyFile.IsEmpty(true));
    EXPECT_TRUE(onlyFile.IsEmpty(false));
    TQVL_Card_Voc_Values onlyNote;
    onlyNote.note = QStringLiteral("x");
    EXPECT_FALSE(onlyNote.IsEmpty(false));
}

class UnitNewTest : public ::testing::Test
{
protected:
    UnitNewTest() { QDir().mkpath(folder()); }
    QString folder() const { return folders.Documents(); }

    TQVL_Unit_New lesson(const QString& name, TQVL_CardType typ) const
    {
        TQVL_Unit_New created;
        created.Name = name;
        created.Typ = typ;
        created.LangCodeHome = QStringLiteral("ger");
        created.LangCodeForeign = QStringLiteral("eng");
        if (typ == tGrammar)
            created.ArrangementId = QStringLiteral("{A}");
        return created;
    }

    TestFolders folders;
};

TEST_F(UnitNewTest, CreatesAnEmptyUnitOfEachKind)
{
    for (const TQVL_CardType typ : {tVoc, tGrammar, tPic, tSound}) {
        const QString name = QStringLiteral("Lektion %1").arg(int(typ));
        const QString path = lesson(name, typ).Create(folder());
        EXPECT_EQ(path, folder() + QLatin1Char('/') + name + QStringLiteral(".qxu"));
        TQVL_Unit unit;
        unit.Open(path);
        EXPECT_EQ(unit.Typ, typ);
        EXPECT_EQ(unit.LangCodeHome, QStringLiteral("ger"));
        EXPECT_EQ(unit.LangCodeForeign, QStringLiteral("eng"));
        EXPECT_EQ(unit.ArrangementId, typ == tGrammar ? QStringLiteral("{A}") : QString());
        EXPECT_EQ(unit.Cards->Count(), 0);
        EXPECT_EQ(unit.Uid.size(), 38);
        EXPECT_TRUE(unit.ExternalFilesDir.isEmpty());
        unit.CloseFile();
    }
}

TEST_F(UnitNewTest, APictureUnitGetsAFolderOfItsOwnThatNeverTakesAnother)
{
    // The plain folder name is in use already.
    QDir().mkpath(folder() + QStringLiteral("/Tiere Bilder"));
    TQVL_Unit_New pictures = lesson(QStringLiteral(" Tiere.qxu "), tPic);
    pictures.OwnPictureFolder = true;
    const QString path = pictures.Create(folder());
    EXPECT_EQ(QFileInfo(path).fileName(), QStringLiteral("Tiere.qxu"));
    TQVL_Unit unit;
    unit.Open(path);
    EXPECT_EQ(unit.ExternalFilesDir, QStringLiteral("Tiere Bilder_1"));
    EXPECT_EQ(unit.ExternalFilesFolder(), folder() + QStringLiteral("/Tiere Bilder_1"));
    EXPECT_TRUE(QFileInfo(unit.ExternalFilesFolder()).isDir());
    unit.CloseFile();
}

TEST_F(UnitNewTest, RefusesATakenOrInvalidNameAndMissingChoicesWithGermanMessages)
{
    const QString path = lesson(QStringLiteral("Tiere"), tVoc).Create(folder());
    const QByteArray before = ReadFile(path);
    EXPECT_EQ(errorOf([&] { lesson(QStringLiteral("Tiere"), tSound).Create(folder()); }),
              QStringLiteral("Eine Lektion mit der Bezeichnung \"Tiere\" besteht bereits. Bitte wählen Sie eine andere "
                             "Bezeichnung."));
    EXPECT_EQ(ReadFile(path), before);

    const QString empty = QStringLiteral("Bitte geben Sie eine Bezeichnung für die Lektion ein.");
    struct Case
    {
        const char* name;
        bool valid;
    };
    for (const Case& c : {Case{"", false}, Case{"   ", false}, Case{".qxu", false}, Case{"a/b", false},
                          Case{"a:b", false}, Case{"Was?", false}, Case{"Ende.", false}, Case{"CON", false},
                          Case{"Englisch 1. Jahr", true}, Case{"Französisch – Verben", true}}) {
        const QString error = errorOf([&] { lesson(QString::fromUtf8(c.name), tVoc).Validate(folder()); });
        EXPECT_EQ(error == QStringLiteral("<no error>"), c.valid) << c.name << ": " << error.toStdString();
        if (!c.valid) {
            EXPECT_TRUE(error == empty || error.contains(QStringLiteral("nicht als Dateiname"))) << error.toStdString();
        }
    }

    TQVL_Unit_New noLanguage = lesson(QStringLiteral("Neu"), tVoc);
    noLanguage.LangCodeForeign.clear();
    EXPECT_EQ(errorOf([&] { noLanguage.Create(folder()); }),
              QStringLiteral("Bitte wählen Sie die Muttersprache und die Fremdsprache der Lektion."));
    TQVL_Unit_New noArrangement = lesson(QStringLiteral("Neu"), tGrammar);
    noArrangement.ArrangementId.clear();
    EXPECT_EQ(errorOf([&] { noArrangement.Create(folder()); }),
              QStringLiteral("Bitte wählen Sie eine Vorlage für die Grammatik-Karten."));
    EXPECT_FALSE(QFileInfo::exists(folder() + QStringLiteral("/Neu.qxu")));
}

TEST_F(UnitNewTest, UnitDataRenamesTheFileKeepingItsUidAndCards)
{
    const QString path = lesson(QStringLiteral("Tiere"), tVoc).Create(folder());
    const QString taken = lesson(QStringLiteral("Pflanzen"), tVoc).Create(folder());
    TQVL_Unit unit;
    unit.Open(path);
    ASSERT_TRUE(unit.RequestWriteAccess());
    static_cast<TQVL_Card_Voc*>(unit.Cards->NewCard(tVoc))->foreign1 = QStringLiteral("cat");
    const QString uid = unit.Uid;

    TQVL_Unit_Data data = TQVL_Unit_Data::FromUnit(unit);
    EXPECT_EQ(data.Name, QStringLiteral("Tiere"));
    EXPECT_EQ(data.LangCodeForeign, QStringLiteral("eng"));

    // A taken name changes nothing, not even the languages.
    data.Name = QStringLiteral("Pflanzen");
    data.LangCodeForeign = QStringLiteral("fre");
    EXPECT_TRUE(errorOf([&] { data.ApplyTo(unit); }).contains(QStringLiteral("besteht bereits")));
    EXPECT_EQ(unit.LangCodeForeign, QStringLiteral("eng"));
    EXPECT_EQ(unit.FileName, path);

    data.Name = QStringLiteral("Haustiere");
    EXPECT_TRUE(data.ApplyTo(unit));
    const QString renamed = folder() + QStringLiteral("/Haustiere.qxu");
    EXPECT_EQ(unit.FileName, renamed);
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(QFileInfo::exists(taken));
    unit.CloseFile();

    TQVL_Unit check;
    check.Open(renamed);
    EXPECT_EQ(check.Uid, uid);
    EXPECT_EQ(check.LangCodeForeign, QStringLiteral("fre"));
    ASSERT_EQ(check.Cards->Count(), 1);
    // Only the name the learner typed changes; the same data again renames nothing.
    EXPECT_FALSE(TQVL_Unit_Data::FromUnit(check).ApplyTo(check));
    check.CloseFile();
}
