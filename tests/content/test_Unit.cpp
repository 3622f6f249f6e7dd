#include "content/QVL_Card_Grammar.h"
#include "content/QVL_Card_Pic.h"
#include "content/QVL_Card_Pic_ClickArea_Polygon.h"
#include "content/QVL_Card_Sound.h"
#include "content/QVL_Unit.h"
#include "core/QVL_Error.h"
#include "core/QVL_XML.h"
#include "tests/support/TestFolders.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

const QString fixtures = QStringLiteral(QUORVEL_FIXTURES "/units");

// A small unit; `header` replaces the header's children and `cards` the cards.
QByteArray unitText(const QByteArray& header,
                    const QByteArray& cards = "    <voc>\r\n      <uid>1</uid>\r\n    </voc>\r\n")
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<root>\r\n  <version>1</version>\r\n  <header>\r\n" + header +
           "  </header>\r\n  <cards>\r\n" + cards + "  </cards>\r\n</root>\r\n";
}

QByteArray headerText(const QByteArray& typ = "voc", const QByteArray& maxCardId = "17",
                      const QByteArray& arrangement = "    <arrangement_id>{A}</arrangement_id>\r\n")
{
    return "    <uid>{11111111-2222-3333-4444-555555555555}</uid>\r\n    <cardcount>3</cardcount>\r\n"
           "    <externalfiles>false</externalfiles>\r\n    <externalfilesdir/>\r\n    <maxcardid>" +
           maxCardId +
           "</maxcardid>\r\n    <langcode_home>ger</langcode_home>\r\n"
           "    <langcode_foreign>eng</langcode_foreign>\r\n    <typ>" +
           typ + "</typ>\r\n" + arrangement;
}

class UnitTest : public ::testing::Test
{
protected:
    QString copyFixture(const QString& name)
    {
        const QString target = folders.Root() + QLatin1Char('/') + QFileInfo(name).fileName();
        QFile::remove(target);
        EXPECT_TRUE(QFile::copy(fixtures + QLatin1Char('/') + name, target)) << name.toStdString();
        QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        return target;
    }
    QString write(const QByteArray& content, const QString& name = QStringLiteral("Lektion.qxu"))
    {
        const QString path = folders.Root() + QLatin1Char('/') + name;
        WriteFile(path, content);
        return path;
    }
    // Opens, saves and closes `path`; returns the bytes written.
    static QByteArray resave(TQVL_Unit& unit, const QString& path)
    {
        unit.Open(path);
        EXPECT_TRUE(unit.RequestWriteAccess());
        unit.Save();
        unit.CloseFile();
        return ReadFile(path);
    }

    TestFolders folders;
};

} // namespace

TEST_F(UnitTest, LoadsEveryCardKindAndWritesTheFileUnchanged)
{
    const QString path = copyFixture(QStringLiteral("complete.qxu"));
    const QByteArray original = ReadFile(path);
    TQVL_Unit unit;
    unit.Open(path);
    EXPECT_EQ(unit.Uid, QStringLiteral("{0F3C2A10-5B7E-4C1D-9A2B-3E4F5A6B7C8D}"));
    EXPECT_EQ(unit.Typ, tVoc);
    EXPECT_EQ(unit.LangCodeHome, QStringLiteral("ger"));
    EXPECT_EQ(unit.LangCodeForeign, QStringLiteral("eng"));
    EXPECT_EQ(unit.ExternalFilesDir, QStringLiteral("Bilder"));
    EXPECT_TRUE(unit.ArrangementId.isEmpty());
    EXPECT_EQ(unit.Cards->MaxCardId, 23);
    ASSERT_EQ(unit.Cards->Count(), 8);

    const TQVL_Card_Container& cards = *unit.Cards;
    EXPECT_EQ(cards.Card(0)->CardType, tInfo);
    const auto* v = dynamic_cast<TQVL_Card_Voc*>(cards.Card(1));
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->note, QStringLiteral("<b>\"Tom's\"</b> – Grüße 😀"));
    EXPECT_EQ(v->ForeignText(), QStringLiteral("house, home"));
    const auto* s = dynamic_cast<TQVL_Card_Sound*>(cards.Card(2));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->foreign_filename, QStringLiteral("/home/anna/Sounds/dog.ogg"));
    EXPECT_EQ(s->Uid, 3);
    const auto* g = dynamic_cast<TQVL_Card_Grammar*>(cards.Card(3));
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->GetValue(2), QStringLiteral("went"));
    EXPECT_EQ(g->FieldValue(2)->id, -7);
    const auto* clicks = dynamic_cast<TQVL_Card_Pic*>(cards.Card(5));
    ASSERT_NE(clicks, nullptr);
    EXPECT_FALSE(clicks->picture_shadow);
    EXPECT_EQ(clicks->clickareas->Count(), 3);
    EXPECT_TRUE(clicks->clickareas->Contains(2, 2));
    const auto* last = dynamic_cast<TQVL_Card_Voc*>(cards.Card(7));
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->foreign1, QStringLiteral("  spaced  "));
    EXPECT_EQ(last->home1, QStringLiteral("a\r\nb"));

    ASSERT_TRUE(unit.RequestWriteAccess());
    unit.Save();
    unit.CloseFile();
    EXPECT_EQ(ReadFile(path), original);

    // Read from a tag tree and written into one, it gives the same bytes as through the file.
    TQVL_XML document;
    document.LoadFromBytes(original);
    TQVL_Unit fromTree;
    fromTree.LoadFromXML(*document.Root);
    TQVL_XML written;
    written.Version = 1;
    fromTree.SaveToXML(*written.Root);
    EXPECT_EQ(written.SaveToBytes(), original);
}

TEST_F(UnitTest, InvalidFilesAreRefusedAndChangeNothing)
{
    TQVL_Unit unit;
    unit.Open(copyFixture(QStringLiteral("complete.qxu")));
    unit.CloseFile();

    const QDir invalid(fixtures + QStringLiteral("/invalid"));
    const QStringList names = invalid.entryList({QStringLiteral("*.qxu")}, QDir::Files, QDir::Name);
    ASSERT_GE(names.size(), 20);
    for (const QString& name : names) {
        const QString path = copyFixture(QStringLiteral("invalid/") + name);
        const QByteArray before = ReadFile(path);
        QString message;
        try {
            unit.Open(path);
        } catch (const TQVL_Error& error) {
            message = error.Message();
        }
        if (name == QLatin1String("version_2.qxu"))
            EXPECT_EQ(message,
                      QStringLiteral("Fehler beim Lesen der Datei \"%1\"!\rVersion 2 wird nicht unterstützt!").arg(path));
        else if (name == QLatin1String("broken_xml.qxu"))
            EXPECT_TRUE(message.startsWith(QStringLiteral("Fehler beim Lesen der Datei \"%1\"!\rFehlerhaftes XML in Zeile ").arg(path)))
                << "the XML layer's error, German and with the file";
        else
            EXPECT_EQ(message, QStringLiteral("Die Datei \"%1\" ist keine gültige Lektionsdatei!").arg(path))
                << name.toStdString();
        EXPECT_FALSE(unit.IsOpen) << name.toStdString();
        EXPECT_EQ(ReadFile(path), before) << name.toStdString();
        // The content of the last good file is still there.
        EXPECT_EQ(unit.Cards->Count(), 8) << name.toStdString();
        EXPECT_EQ(unit.Cards->MaxCardId, 23) << name.toStdString();
        EXPECT_EQ(unit.Uid, QStringLiteral("{0F3C2A10-5B7E-4C1D-9A2B-3E4F5A6B7C8D}")) << name.toStdString();
    }
}

TEST_F(UnitTest, EveryUnitTypeIsReadAndWrittenByItsName)
{
    const std::pair<const char*, TQVL_CardType> types[] = {{"info", tInfo},   {"voc", tVoc},
                                                           {"pic", tPic},     {"grammar", tGrammar},
                                                           {"sound", tSound}, {"longtermstorage", tLongTermStorage}};
    for (const auto& [name, type] : types) {
        const QString path = write(unitText(headerText(name)));
        TQVL_Unit unit;
        const QByteArray saved = resave(unit, path);
        EXPECT_EQ(unit.Typ, type) << name;
        EXPECT_TRUE(saved.contains("<typ>" + QByteArray(name) + "</typ>")) << name;
        EXPECT_EQ(TQVL_Unit::NameOfType(type), QLatin1String(name));
    }
    EXPECT_THROW(TQVL_Unit::TypeOfName(u"Voc"), TQVL_Error);
}

TEST_F(UnitTest, HeaderEdgeCases)
{
    // No arrangement_id: loads, and the save writes an empty one.
    TQVL_Unit unit;
    unit.ArrangementId = QStringLiteral("{OLD}");
    QByteArray saved = resave(unit, write(unitText(headerText("voc", "17", ""))));
    EXPECT_TRUE(unit.ArrangementId.isEmpty()) << "an open replaces all content";
    EXPECT_TRUE(saved.contains("    <typ>voc</typ>\r\n    <arrangement_id/>\r\n  </header>")) << saved.constData();

    // cardcount says 3, there are two cards: both load, the save writes 2.
    saved = resave(unit, write(unitText(headerText(), "    <voc/>\r\n    <info/>\r\n")));
    EXPECT_EQ(unit.Cards->Count(), 2);
    EXPECT_EQ(unit.ArrangementId, QStringLiteral("{A}"));
    EXPECT_TRUE(saved.contains("<cardcount>2</cardcount>"));

    // No cards: maxcardid keeps the value read, and new cards continue after it.
    saved = resave(unit, write(unitText(headerText("grammar", "17"), "")));
    EXPECT_EQ(unit.Cards->Count(), 0);
    EXPECT_EQ(unit.Cards->NewCard(tGrammar)->Uid, 18);
    EXPECT_TRUE(saved.contains("<maxcardid>17</maxcardid>"));
    EXPECT_TRUE(saved.contains("  <cards/>\r\n"));
}

TEST_F(UnitTest, ExternalFilesFlagFollowsThePictures)
{
    const std::pair<QByteArray, QByteArray> cases[] = {
        {"    <pic>\r\n      <picture_filename/>\r\n    </pic>\r\n", "false"},
        {"    <voc/>\r\n    <pic>\r\n      <picture_filename>Haus.png</picture_filename>\r\n    </pic>\r\n", "true"},
        {"    <sound>\r\n      <foreign_filename>/s/dog.ogg</foreign_filename>\r\n    </sound>\r\n", "false"},
    };
    for (const auto& [cards, flag] : cases) {
        TQVL_Unit unit;
        const QByteArray saved = resave(unit, write(unitText(headerText(), cards)));
        EXPECT_TRUE(saved.contains("<externalfiles>" + flag + "</externalfiles>")) << cards.constData();
    }
}

TEST_F(UnitTest, HeaderLiesWithinTheFileListLimit)
{
    TQVL_Unit unit;
    unit.Typ = tVoc;
    unit.ExternalFilesDir = QStringLiteral("/home/anna/Dokumente/Quorvel 8/Lektionen/Meine Bilder");
    for (int i = 0; i < 3; ++i)
        unit.Cards->NewCard(tVoc);
    const QString path = folders.Root() + QStringLiteral("/Liste.qxu");
    unit.NewFile(path);
    unit.CloseFile();
    const QStringList names = {QStringLiteral("uid"), QStringLiteral("cardcount")};
    QStringList values;
    TQVL_XML::ReadHeaderValues(path, &names, 350, &values);
    EXPECT_EQ(values, QStringList({unit.Uid, QStringLiteral("3")}));
}

TEST_F(UnitTest, ExternalFilesFolder)
{
    TQVL_Unit unit;
    const QString path = write(unitText(headerText()), QStringLiteral("Tiere.qxu"));
    unit.Open(path);
    EXPECT_EQ(unit.ExternalFilesFolder(), folders.Root());
    EXPECT_EQ(unit.ExternalFilePath(QStringLiteral("Hund.png")), folders.Root() + QStringLiteral("/Hund.png"));
    unit.ExternalFilesDir = QStringLiteral("Bilder");
    EXPECT_EQ(unit.ExternalFilesFolder(), folders.Root() + QStringLiteral("/Bilder"));
    unit.ExternalFilesDir = QStringLiteral("/srv/bilder/");
    EXPECT_EQ(unit.ExternalFilePath(QStringLiteral("Hund.png")), QStringLiteral("/srv/bilder/Hund.png"));
    EXPECT_EQ(unit.ExternalFilePath(QStringLiteral("/abs/Katze.png")), QStringLiteral("/abs/Katze.png"));
    unit.CloseFile();
}
