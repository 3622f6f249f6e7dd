#include "content/QVL_Card_Voc.h"
#include "content/QVL_Unit.h"
#include "content/QVL_Unit_Integration.h"
#include "core/QVL_Error.h"
#include "core/QVL_XMLStream.h"
#include "tests/support/TestErrors.h"
#include "tests/support/TestFolders.h"

#include <QStringList>

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

void fill(TQVL_Unit& unit, TQVL_CardType typ, std::initializer_list<Meanings> cards)
{
    unit.Typ = typ;
    unit.LangCodeHome = QStringLiteral("ger");
    unit.LangCodeForeign = QStringLiteral("eng");
    for (const Meanings& m : cards) {
        auto* card = static_cast<TQVL_Card_Voc*>(unit.Cards->NewCard(tVoc));
        card->foreign1 = QString::fromUtf8(m.foreign1);
        card->home1 = QString::fromUtf8(m.home1);
        card->foreign2 = QString::fromUtf8(m.foreign2);
    }
}

QStringList cardsOf(const TQVL_Unit& unit)
{
    QStringList cards;
    for (int i = 0; i < unit.Cards->Count(); ++i) {
        const auto* card = static_cast<const TQVL_Card_Voc*>(unit.Cards->Card(i));
        cards << QStringLiteral("%1 %2/%3").arg(card->Uid).arg(card->foreign1, card->home1);
    }
    cards << QStringLiteral("max %1").arg(unit.Cards->MaxCardId);
    return cards;
}


// Writes a storage file holding the one card "house/Haus".
void writeStorage(const QString& path)
{
    TQVL_Unit written;
    written.NewFile(path);
    fill(written, tLongTermStorage, {{"house", "Haus"}});
    written.Save();
    written.CloseFile();
}

// A storage whose next save fails once the cards have changed in memory.
class FullDiskUnit : public TQVL_Unit
{
public:
    void WriteXML(TQVL_XMLWriter&) override { throw TQVL_Error(QStringLiteral("Der Datenträger ist voll.")); }
};

} // namespace

TEST(UnitIntegration, ConflictsHaveOneRowPerPairSimilarOnesFirst)
{
    TQVL_Unit storage, source;
    fill(storage, tLongTermStorage, {{"house", "Haus"}, {"", ""}, {"cat", "Katze"}});
    fill(source, tVoc, {{"house", "Haus"}, {"house", "Heim"}, {"", ""}, {"dog", "Hund"}, {"mouse", "Maus", "cat"}});
    QStringList found;
    for (const auto& c : TQVL_Unit_Integration::FindConflicts(storage, source))
        found << QStringLiteral("%1 s%2 u%3").arg(c.Equal ? "=" : "~").arg(c.StorageCard->Uid).arg(c.SourceCard->Uid);
    // Empty cards are identical but never similar; a meaning in another field does not count.
    EXPECT_EQ(found, (QStringList{QStringLiteral("= s1 u1"), QStringLiteral("~ s1 u2"), QStringLiteral("= s2 u3")}));
}

TEST(UnitIntegration, OnlyVocabularyOfTheSameLanguagesGoesIntoAStorage)
{
    const QString languages = QStringLiteral("Die Sprachen der Lektionen stimmen nicht überein!");
    const QString kinds = QStringLiteral("Die Inhaltstypen der Lektionen stimmen nicht überein!");
    struct Case
    {
        TQVL_CardType destination, unit;
        const char* home;
        const char* foreign;
        QString expected;
    };
    const Case cases[] = {
        {tLongTermStorage, tVoc, "ger", "eng", QString()},
        {tLongTermStorage, tSound, "ger", "eng", kinds},
        {tLongTermStorage, tPic, "ger", "eng", kinds},
        {tLongTermStorage, tVoc, "ger", "fre", languages},
        {tLongTermStorage, tSound, "Ger", "eng", languages},
        {tPic, tPic, "ger", "eng", QString()},
        {tVoc, tSound, "ger", "eng", kinds},
    };
    for (const Case& c : cases) {
        TQVL_Unit destination, unit;
        destination.Typ = c.destination;
        destination.LangCodeHome = QStringLiteral("ger");
        destination.LangCodeForeign = QStringLiteral("eng");
        unit.Typ = c.unit;
        unit.LangCodeHome = QString::fromLatin1(c.home);
        unit.LangCodeForeign = QString::fromLatin1(c.foreign);
        EXPECT_EQ(TQVL_Unit_Integration::Mismatch(destination, unit), c.expected)
            << int(c.destination) << " " << int(c.unit) << " " << c.home << " " << c.foreign;
    }
}

TEST(UnitIntegration, UnitsFitAMultiUnitQueryWithTheSameLanguagesKindAndArrangement)
{
    struct Case
    {
        TQVL_CardType typ;
        const char* foreign;
        const char* arrangement;
        bool fits;
    };
    // Compared with a grammar unit ger/eng laid out by arrangement {A}.
    const Case cases[] = {
        {tGrammar, "eng", "{A}", true},
        {tGrammar, "eng", "{B}", false},
        {tGrammar, "fre", "{A}", false},
        {tVoc, "eng", "{A}", false},
    };
    TQVL_Unit grammar;
    grammar.Typ = tGrammar;
    grammar.LangCodeHome = QStringLiteral("ger");
    grammar.LangCodeForeign = QStringLiteral("eng");
    grammar.ArrangementId = QStringLiteral("{A}");
    for (const Case& c : cases) {
        TQVL_Unit other;
        other.Typ = c.typ;
        other.LangCodeHome = QStringLiteral("ger");
        other.LangCodeForeign = QString::fromLatin1(c.foreign);
        other.ArrangementId = QString::fromLatin1(c.arrangement);
        EXPECT_EQ(grammar.FitsQueryWith(other), c.fits) << int(c.typ) << c.foreign << c.arrangement;
    }
    TQVL_Unit voc, otherVoc;
    voc.Typ = otherVoc.Typ = tVoc;
    otherVoc.ArrangementId = QStringLiteral("{B}");
    EXPECT_TRUE(voc.FitsQueryWith(otherVoc)) << "only grammar asks for the arrangement";
}

TEST(UnitIntegration, TheMergeIsSavedOrNotDoneAtAll)
{
    TestFolders folders;
    const QString path = folders.Root() + QStringLiteral("/Englisch.qxs");
    writeStorage(path);
    TQVL_Unit storage;
    storage.Open(path);
    TQVL_Unit source;
    fill(source, tVoc, {{"house", "Haus"}, {"dog", "Hund"}});

    EXPECT_EQ(TQVL_Unit_Integration::Integrate(storage, source, true), 1);
    EXPECT_FALSE(storage.WriteAccess);
    TQVL_Unit reread;
    reread.Open(path);
    EXPECT_EQ(cardsOf(reread), (QStringList{QStringLiteral("1 house/Haus"), QStringLiteral("2 dog/Hund"),
                                            QStringLiteral("max 2")}));

    // Another program holds the file for writing: nothing changes, in the file or in memory.
    ASSERT_TRUE(reread.RequestWriteAccess());
    const QByteArray before = ReadFile(path);
    EXPECT_EQ(ErrorOf([&] { TQVL_Unit_Integration::Integrate(storage, source, false); }),
              QStringLiteral("Datei ist schreibgeschützt!"));
    EXPECT_EQ(cardsOf(storage), cardsOf(reread));
    reread.CloseFile();

    TQVL_Unit sound;
    fill(sound, tSound, {{"bell", "Glocke"}});
    EXPECT_EQ(ErrorOf([&] { TQVL_Unit_Integration::Integrate(storage, sound, false); }),
              QStringLiteral("Die Inhaltstypen der Lektionen stimmen nicht überein!"));
    EXPECT_EQ(ReadFile(path), before);
}

TEST(UnitIntegration, AFailedSaveLeavesTheCardsAsTheFileHoldsThem)
{
    TestFolders folders;
    const QString path = folders.Root() + QStringLiteral("/Englisch.qxs");
    writeStorage(path);
    const QByteArray before = ReadFile(path);
    FullDiskUnit storage;
    storage.Open(path);
    TQVL_Unit source;
    fill(source, tVoc, {{"dog", "Hund"}, {"cat", "Katze"}});
    EXPECT_EQ(ErrorOf([&] { TQVL_Unit_Integration::Integrate(storage, source, true); }),
              QStringLiteral("Der Datenträger ist voll."));
    EXPECT_EQ(cardsOf(storage), (QStringList{QStringLiteral("1 house/Haus"), QStringLiteral("max 1")}));
    EXPECT_FALSE(storage.WriteAccess);
    EXPECT_EQ(ReadFile(path), before);
    storage.CloseFile();
}
