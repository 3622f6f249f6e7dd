// The sample units installed with the program (data/documents/Lektionen):
// every one must open, keep its exact bytes through a save, and find its
// pictures and sounds. The disabled test at the end is the tool that wrote
// them; run it with --gtest_also_run_disabled_tests --gtest_filter='*WriteSampleUnits'
// after changing a word list or a picture, then commit what it wrote.
#include "content/QVL_Card_Grammar.h"
#include "content/QVL_Card_Pic.h"
#include "content/QVL_Card_Pic_ClickArea_Circle.h"
#include "content/QVL_Card_Pic_ClickArea_Polygon.h"
#include "content/QVL_Card_Pic_ClickArea_Rectangle.h"
#include "content/QVL_Card_Sound.h"
#include "content/QVL_Unit.h"
#include "core/QVL_System.h"
#include "core/QVL_System_SoundSystem.h"
#include "tests/support/RecordingErrorDisplay.h"
#include "tests/support/TestFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QSet>

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

#ifdef QUORVEL_DATA
const QString dataFolder = QStringLiteral(QUORVEL_DATA);
#else
const QString dataFolder = QDir::cleanPath(QStringLiteral(QUORVEL_FIXTURES "/../../data"));
#endif
const QString documentsFolder = dataFolder + QStringLiteral("/documents");
const QString unitsFolder = documentsFolder + QStringLiteral("/Lektionen");

// The card arrangement "Englisch: Unregelmäßige Verben" and its field ids.
const QString irregularVerbsArrangement = QStringLiteral("{6A1E0F52-3C1B-4C0E-9E55-7B0C5A1D2E01}");
enum VerbField
{
    vfInfinitive = 1,
    vfSimplePast = 2,
    vfPastParticiple = 3,
    vfGerman = 4
};

// What the installer does to paths stored in units.
QString installed(QString path)
{
    return path.replace(QStringLiteral("%DOCUMENTS%"), documentsFolder);
}

QStringList sampleUnits()
{
    QStringList units;
    QDirIterator it(unitsFolder, {QStringLiteral("*.qxu")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        units.append(it.next());
    units.sort();
    return units;
}

// The picture exists; a typed answer is given; click areas lie in the picture.
void checkPictureCard(const TQVL_Unit& unit, const TQVL_Card_Pic& picture)
{
    const QImage image(unit.ExternalFilePath(picture.picture_filename));
    ASSERT_FALSE(image.isNull()) << picture.picture_filename.toStdString();
    EXPECT_FALSE(picture.question.isEmpty());
    if (picture.answer_typ == 0) {
        EXPECT_FALSE(picture.answer_text.isEmpty());
        return;
    }
    EXPECT_EQ(picture.answer_typ, 1);
    const TQVL_Card_Pic_Clickareas& areas = *picture.clickareas;
    EXPECT_GE(areas.Count(), 1);
    for (int a = 0; a < areas.Count(); ++a) {
        int covered = 0;
        for (int y = 0; y < image.height(); y += 2)
            for (int x = 0; x < image.width(); x += 2)
                covered += areas.Item(a)->Contains(x, y) ? 1 : 0;
        EXPECT_GT(covered, 20) << "area " << a << " covers some of the picture";
    }
}

} // namespace

TEST(SampleUnits, EveryInstalledUnitOpensAndSavesUnchanged)
{
    TestFolders folders;
    const QStringList units = sampleUnits();
    std::map<TQVL_CardType, int> kinds;
    for (const QString& path : units) {
        SCOPED_TRACE(path.toStdString());
        const QString copy = folders.Root() + QStringLiteral("/Kopie.qxu");
        QFile::remove(copy);
        ASSERT_TRUE(QFile::copy(path, copy));
        QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

        TQVL_Unit unit;
        unit.Open(copy);
        ++kinds[unit.Typ];
        EXPECT_EQ(unit.LangCodeHome, QStringLiteral("ger"));
        EXPECT_EQ(unit.LangCodeForeign, QStringLiteral("eng"));
        EXPECT_GE(unit.Cards->Count(), 5);
        ASSERT_TRUE(unit.RequestWriteAccess());
        unit.Save();
        unit.CloseFile();
        EXPECT_EQ(ReadFile(copy), ReadFile(path)) << "written in another layout than ours";
    }
    EXPECT_EQ(kinds[tVoc], 1);
    EXPECT_EQ(kinds[tSound], 1);
    EXPECT_EQ(kinds[tPic], 1);
    EXPECT_EQ(kinds[tGrammar], 1);
}

TEST(SampleUnits, CardsAreCompleteAndTheirFilesExist)
{
    for (const QString& path : sampleUnits()) {
        SCOPED_TRACE(path.toStdString());
        TQVL_Unit unit;
        unit.Open(path);
        unit.CloseFile();
        unit.ExternalFilesDir = installed(unit.ExternalFilesDir);
        QSet<qint32> uids;
        for (int i = 0; i < unit.Cards->Count(); ++i) {
            const TQVL_Card* card = unit.Cards->Card(i);
            SCOPED_TRACE(card->Uid);
            EXPECT_EQ(int(card->CardType), int(unit.Typ)) << "one kind of card per sample unit";
            EXPECT_TRUE(card->Uid > 0 && card->Uid <= unit.Cards->MaxCardId);
            EXPECT_FALSE(uids.contains(card->Uid));
            uids.insert(card->Uid);
            if (const auto* voc = dynamic_cast<const TQVL_Card_Voc*>(card)) {
                EXPECT_FALSE(voc->foreign1.isEmpty());
                EXPECT_FALSE(voc->home1.isEmpty());
            }
            if (const auto* sound = dynamic_cast<const TQVL_Card_Sound*>(card)) {
                for (const QString& file : {sound->foreign_filename, sound->home_filename}) {
                    EXPECT_TRUE(file.startsWith(QStringLiteral("%DOCUMENTS%/Lektionen/"))) << file.toStdString();
                    EXPECT_TRUE(QFile::exists(installed(file))) << file.toStdString();
                }
            }
            if (const auto* grammar = dynamic_cast<const TQVL_Card_Grammar*>(card)) {
                EXPECT_EQ(unit.ArrangementId, irregularVerbsArrangement);
                for (const int id : {vfInfinitive, vfSimplePast, vfPastParticiple, vfGerman})
                    EXPECT_FALSE(grammar->GetValue(id).isEmpty()) << id;
            }
            if (const auto* picture = dynamic_cast<const TQVL_Card_Pic*>(card))
                checkPictureCard(unit, *picture);
        }
    }
}

// The sound lesson's files play through the sound library. Needs the library
// in the program folder (the soundsystem target) and plays to SDL's dummy driver.
TEST(SampleUnits, SoundCardsPlayTheirFiles)
{
    RecordingErrorDisplay errors;
    qputenv("SDL_AUDIODRIVER", "dummy");
    TQVL_System_SoundSystem soundSystem(TQVL_System::SoundLibraryFileOf(QCoreApplication::applicationDirPath()));
    int played = 0;
    for (const QString& path : sampleUnits()) {
        TQVL_Unit unit;
        unit.Open(path);
        unit.CloseFile();
        for (int i = 0; i < unit.Cards->Count(); ++i) {
            auto* card = dynamic_cast<TQVL_Card_Sound*>(unit.Cards->Card(i));
            if (!card)
                continue;
            card->foreign_filename = installed(card->foreign_filename);
            card->home_filename = installed(card->home_filename);
            // A fresh start per card: the library has a few channels only.
            ASSERT_EQ(soundSystem.Init(), 1)
                << soundSystem.LibraryFile().toStdString() << " is built by the soundsystem target";
            EXPECT_EQ(card->PlayForeign(&soundSystem), 1) << card->foreign_filename.toStdString();
            EXPECT_EQ(card->PlayHome(&soundSystem), 1) << card->home_filename.toStdString();
            card->home_filename = QStringLiteral("/nicht/vorhanden.ogg");
            EXPECT_EQ(card->PlayHome(&soundSystem), 0) << "the home side plays its own file";
            EXPECT_EQ(card->PlayHome(nullptr), 0) << "without a sound system nothing plays";
            EXPECT_EQ(soundSystem.Deinit(), 1);
            ++played;
        }
    }
    EXPECT_GE(played, 10);
    EXPECT_TRUE(errors.Shown.isEmpty()) << errors.Shown.join(QLatin1Char('\n')).toStdString();
}

// ---- the tool that wrote the sample units ----------------------------------

namespace {

struct Word
{
    QString foreign1, foreign2, foreign3, home1, home2, home3, hint, note;
};

const std::vector<Word>& everydayWords()
{
    static const std::vector<Word> words = {
        {"house", "", "", "Haus", "", "", "", ""},
        {"home", "", "", "Zuhause", "Heim", "", "", "at home = zu Hause; to go home = nach Hause gehen"},
        {"family", "", "", "Familie", "", "", "", ""},
        {"mother", "", "", "Mutter", "", "", "", ""},
        {"father", "", "", "Vater", "", "", "", ""},
        {"child", "", "", "Kind", "", "", "", "Plural: children"},
        {"friend", "", "", "Freund", "Freundin", "", "", ""},
        {"car", "", "", "Auto", "Wagen", "", "", ""},
        {"train", "", "", "Zug", "", "", "", ""},
        {"bicycle", "bike", "", "Fahrrad", "Rad", "", "", ""},
        {"street", "road", "", "Straße", "", "", "", ""},
        {"town", "city", "", "Stadt", "", "", "", "city: eine große Stadt"},
        {"village", "", "", "Dorf", "", "", "", ""},
        {"school", "", "", "Schule", "", "", "", ""},
        {"shop", "store", "", "Geschäft", "Laden", "", "", "store: vor allem amerikanisch"},
        {"money", "", "", "Geld", "", "", "", "nicht zählbar: much money, little money"},
        {"water", "", "", "Wasser", "", "", "", ""},
        {"bread", "", "", "Brot", "", "", "", ""},
        {"milk", "", "", "Milch", "", "", "", ""},
        {"coffee", "", "", "Kaffee", "", "", "", ""},
        {"tea", "", "", "Tee", "", "", "", ""},
        {"apple", "", "", "Apfel", "", "", "", ""},
        {"breakfast", "", "", "Frühstück", "", "", "break + fast: das Fasten brechen", ""},
        {"lunch", "", "", "Mittagessen", "", "", "", ""},
        {"dinner", "", "", "Abendessen", "", "", "", ""},
        {"time", "", "", "Zeit", "Mal", "", "", "three times = dreimal"},
        {"day", "", "", "Tag", "", "", "", ""},
        {"week", "", "", "Woche", "", "", "", ""},
        {"year", "", "", "Jahr", "", "", "", ""},
        {"today", "", "", "heute", "", "", "", ""},
        {"tomorrow", "", "", "morgen", "", "", "", "tomorrow morning = morgen früh"},
        {"yesterday", "", "", "gestern", "", "", "", ""},
        {"morning", "", "", "Morgen", "Vormittag", "", "", "in the morning = am Morgen"},
        {"evening", "", "", "Abend", "", "", "", ""},
        {"night", "", "", "Nacht", "", "", "", ""},
        {"weather", "", "", "Wetter", "", "", "klingt wie \"whether\"", ""},
        {"rain", "", "", "Regen", "", "", "", "to rain = regnen"},
        {"sun", "", "", "Sonne", "", "", "", ""},
        {"cold", "", "", "kalt", "Erkältung", "Kälte", "", "to have a cold = erkältet sein"},
        {"warm", "", "", "warm", "", "", "", ""},
        {"big", "large", "", "groß", "", "", "", ""},
        {"small", "little", "", "klein", "", "", "", ""},
        {"good", "", "", "gut", "", "", "", "better, best"},
        {"bad", "", "", "schlecht", "schlimm", "", "", "worse, worst"},
        {"new", "", "", "neu", "", "", "", ""},
        {"old", "", "", "alt", "", "", "", ""},
        {"happy", "", "", "glücklich", "froh", "", "", ""},
        {"tired", "", "", "müde", "", "", "reimt sich auf \"fired\"", ""},
        {"hungry", "", "", "hungrig", "", "", "I am ... = Ich habe Hunger", ""},
        {"to go", "", "", "gehen", "fahren", "", "", "went, gone"},
        {"to come", "", "", "kommen", "", "", "", "came, come"},
        {"to eat", "", "", "essen", "", "", "", "ate, eaten"},
        {"to drink", "", "", "trinken", "", "", "", "drank, drunk"},
        {"to sleep", "", "", "schlafen", "", "", "", "slept, slept"},
        {"to work", "", "", "arbeiten", "", "", "", ""},
        {"to buy", "", "", "kaufen", "", "", "", "bought, bought"},
        {"to pay", "", "", "bezahlen", "zahlen", "", "", "paid, paid"},
        {"to help", "", "", "helfen", "", "", "", ""},
        {"to speak", "", "", "sprechen", "", "", "", "spoke, spoken"},
        {"to understand", "", "", "verstehen", "", "", "", "understood, understood"},
        {"to know", "", "", "wissen", "kennen", "", "", "know a fact = wissen; know a person = kennen"},
        {"to learn", "", "", "lernen", "", "", "", ""},
        {"please", "", "", "bitte", "", "", "",
         "Bitte um etwas; als Antwort auf \"thank you\" sagt man \"you're welcome\""},
        {"thank you", "thanks", "", "danke", "", "", "", ""},
        {"sorry", "excuse me", "", "Entschuldigung", "Verzeihung", "", "",
         "excuse me: um Aufmerksamkeit bitten; sorry: sich entschuldigen"},
        {"question", "", "", "Frage", "", "", "", ""},
        {"answer", "", "", "Antwort", "", "", "", "to answer = antworten"},
    };
    return words;
}

struct SpokenWord
{
    QString foreign, home, foreignFile, homeFile;
};

const std::vector<SpokenWord>& spokenWords()
{
    static const std::vector<SpokenWord> words = {
        {"hello", "hallo", "en_hello", "de_hallo"},
        {"goodbye", "auf Wiedersehen", "en_goodbye", "de_auf_wiedersehen"},
        {"please", "bitte", "en_please", "de_bitte"},
        {"thank you", "danke", "en_thank_you", "de_danke"},
        {"yes", "ja", "en_yes", "de_ja"},
        {"no", "nein", "en_no", "de_nein"},
        {"water", "Wasser", "en_water", "de_wasser"},
        {"bread", "Brot", "en_bread", "de_brot"},
        {"dog", "Hund", "en_dog", "de_hund"},
        {"cat", "Katze", "en_cat", "de_katze"},
        {"one", "eins", "en_one", "de_eins"},
        {"two", "zwei", "en_two", "de_zwei"},
    };
    return words;
}

struct Verb
{
    QString infinitive, simplePast, pastParticiple, german;
};

const std::vector<Verb>& irregularVerbs()
{
    static const std::vector<Verb> verbs = {
        {"begin", "began", "begun", "beginnen, anfangen"},
        {"break", "broke", "broken", "brechen, zerbrechen"},
        {"bring", "brought", "brought", "bringen"},
        {"buy", "bought", "bought", "kaufen"},
        {"choose", "chose", "chosen", "wählen, aussuchen"},
        {"come", "came", "come", "kommen"},
        {"do", "did", "done", "tun, machen"},
        {"drink", "drank", "drunk", "trinken"},
        {"drive", "drove", "driven", "fahren"},
        {"eat", "ate", "eaten", "essen"},
        {"fall", "fell", "fallen", "fallen"},
        {"find", "found", "found", "finden"},
        {"fly", "flew", "flown", "fliegen"},
        {"forget", "forgot", "forgotten", "vergessen"},
        {"give", "gave", "given", "geben"},
        {"go", "went", "gone", "gehen"},
        {"have", "had", "had", "haben"},
        {"know", "knew", "known", "wissen, kennen"},
        {"leave", "left", "left", "verlassen, abfahren"},
        {"make", "made", "made", "machen, herstellen"},
        {"meet", "met", "met", "treffen"},
        {"pay", "paid", "paid", "bezahlen"},
        {"read", "read", "read", "lesen"},
        {"run", "ran", "run", "laufen, rennen"},
        {"say", "said", "said", "sagen"},
        {"see", "saw", "seen", "sehen"},
        {"sing", "sang", "sung", "singen"},
        {"sleep", "slept", "slept", "schlafen"},
        {"speak", "spoke", "spoken", "sprechen"},
        {"swim", "swam", "swum", "schwimmen"},
        {"take", "took", "taken", "nehmen"},
        {"teach", "taught", "taught", "unterrichten, lehren"},
        {"think", "thought", "thought", "denken"},
        {"write", "wrote", "written", "schreiben"},
    };
    return verbs;
}

void saveUnit(TQVL_Unit& unit, const QString& fileName, const QString& uid)
{
    const QString path = unitsFolder + QLatin1Char('/') + fileName;
    QFile::remove(path);
    unit.NewFile(path);
    unit.Uid = uid;
    unit.Save();
    unit.CloseFile();
}

// ---- pictures ----

QImage newPicture(int width, int height, QColor background)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(background);
    return image;
}

void savePicture(const QImage& image, const QString& name)
{
    QDir().mkpath(unitsFolder + QStringLiteral("/Bilder"));
    ASSERT_TRUE(image.save(unitsFolder + QStringLiteral("/Bilder/") + name, "PNG", 9)) << name.toStdString();
}

QPolygon polygonOf(std::initializer_list<QPoint> points)
{
    return QPolygon(QList<QPoint>(points));
}

void drawHouse(QPainter& p)
{
    p.setBrush(QColor(90, 170, 70));
    p.drawRect(0, 200, 320, 40);
    p.setBrush(QColor(150, 60, 50));
    p.drawRect(200, 50, 22, 45); // chimney
    p.setBrush(QColor(240, 220, 170));
    p.drawRect(80, 110, 160, 100);
    p.setBrush(QColor(200, 40, 40));
    p.drawPolygon(polygonOf({{65, 112}, {160, 40}, {255, 112}}));
    p.setBrush(QColor(120, 70, 30));
    p.drawRect(145, 150, 32, 60);
    p.setBrush(QColor(170, 210, 240));
    p.drawRect(98, 130, 32, 28);
    p.drawRect(192, 130, 32, 28);
}

void drawTree(QPainter& p)
{
    p.setBrush(QColor(90, 170, 70));
    p.drawRect(0, 205, 320, 35);
    p.setBrush(QColor(120, 75, 35));
    p.drawRect(148, 120, 26, 95);
    p.setBrush(QColor(40, 140, 50));
    for (const QPoint& c : {QPoint(160, 85), QPoint(120, 110), QPoint(200, 110), QPoint(135, 65), QPoint(185, 65)})
        p.drawEllipse(c, 42, 38);
}

void drawSun(QPainter& p)
{
    p.setPen(QPen(QColor(245, 180, 0), 6, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 12; ++i) {
        p.save();
        p.translate(160, 120);
        p.rotate(i * 30.0);
        p.drawLine(0, 62, 0, 95);
        p.restore();
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 215, 0));
    p.drawEllipse(QPoint(160, 120), 52, 52);
}

void drawCar(QPainter& p)
{
    p.setBrush(QColor(120, 120, 120));
    p.drawRect(0, 190, 320, 50);
    p.setBrush(QColor(30, 90, 200));
    p.drawRoundedRect(40, 120, 240, 55, 14, 14);
    p.drawPolygon(polygonOf({{90, 122}, {120, 78}, {210, 78}, {245, 122}}));
    p.setBrush(QColor(190, 225, 245));
    p.drawPolygon(polygonOf({{104, 118}, {126, 86}, {160, 86}, {160, 118}}));
    p.drawPolygon(polygonOf({{168, 118}, {168, 86}, {205, 86}, {230, 118}}));
    p.setBrush(QColor(25, 25, 25));
    p.drawEllipse(QPoint(95, 178), 24, 24);
    p.drawEllipse(QPoint(228, 178), 24, 24);
    p.setBrush(QColor(180, 180, 180));
    p.drawEllipse(QPoint(95, 178), 9, 9);
    p.drawEllipse(QPoint(228, 178), 9, 9);
}

void drawBoat(QPainter& p)
{
    p.setBrush(QColor(40, 110, 190));
    p.drawRect(0, 180, 320, 60);
    p.setBrush(QColor(130, 80, 40));
    p.drawPolygon(polygonOf({{60, 160}, {260, 160}, {225, 200}, {95, 200}}));
    p.setBrush(QColor(90, 60, 30));
    p.drawRect(157, 40, 6, 120);
    p.setBrush(QColor(250, 250, 245));
    p.drawPolygon(polygonOf({{168, 45}, {168, 150}, {245, 150}}));
    p.drawPolygon(polygonOf({{152, 60}, {152, 150}, {95, 150}}));
}

void drawFlower(QPainter& p)
{
    p.setPen(QPen(QColor(50, 140, 50), 7));
    p.drawLine(160, 120, 160, 230);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 160, 60));
    p.drawEllipse(QPoint(190, 185), 28, 11);
    p.drawEllipse(QPoint(130, 200), 28, 11);
    p.setBrush(QColor(230, 70, 140));
    for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(160, 95);
        p.rotate(i * 45.0);
        p.drawEllipse(QPoint(0, 36), 17, 26);
        p.restore();
    }
    p.setBrush(QColor(250, 210, 40));
    p.drawEllipse(QPoint(160, 95), 22, 22);
}

void drawApple(QPainter& p)
{
    p.setBrush(QColor(200, 25, 30));
    p.drawEllipse(QPoint(135, 135), 62, 70);
    p.drawEllipse(QPoint(185, 135), 62, 70);
    p.setPen(QPen(QColor(110, 70, 30), 7, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(160, 75, 168, 40);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 160, 60));
    p.save();
    p.translate(192, 52);
    p.rotate(-25);
    p.drawEllipse(QPoint(0, 0), 24, 10);
    p.restore();
}

// A face, 300 x 300. The areas of the click cards follow the drawing.
void drawFace(QPainter& p)
{
    p.setBrush(QColor(240, 200, 165));
    p.drawEllipse(QPoint(52, 165), 22, 30); // ears
    p.drawEllipse(QPoint(248, 165), 22, 30);
    p.drawEllipse(QPoint(150, 160), 100, 118);
    p.setBrush(QColor(110, 65, 30));
    p.drawPolygon(
        polygonOf({{55, 130}, {70, 70}, {110, 40}, {190, 40}, {230, 70}, {245, 130}, {210, 85}, {150, 70}, {90, 85}}));
    p.setBrush(Qt::white);
    p.drawEllipse(QPoint(112, 135), 20, 13);
    p.drawEllipse(QPoint(188, 135), 20, 13);
    p.setBrush(QColor(60, 110, 170));
    p.drawEllipse(QPoint(112, 135), 8, 8);
    p.drawEllipse(QPoint(188, 135), 8, 8);
    p.setBrush(QColor(215, 160, 125));
    p.drawPolygon(polygonOf({{150, 148}, {136, 192}, {164, 192}}));
    p.setBrush(QColor(200, 60, 70));
    p.drawRoundedRect(112, 214, 76, 24, 10, 10);
}

// A small map, 400 x 300: a river with a bridge, a road, a forest, a lake and a house.
void drawMap(QPainter& p)
{
    p.setBrush(QColor(60, 120, 200));
    p.drawPolygon(polygonOf({{180, 0}, {220, 0}, {225, 150}, {215, 300}, {175, 300}, {185, 150}})); // river
    p.drawEllipse(QPoint(85, 235), 55, 38);                                                         // lake
    p.setBrush(QColor(150, 150, 150));
    p.drawRect(0, 135, 400, 30); // road
    p.setBrush(QColor(140, 90, 50));
    p.drawRect(168, 126, 70, 48); // bridge
    p.setBrush(QColor(30, 100, 40));
    p.drawPolygon(polygonOf({{20, 20}, {140, 15}, {150, 100}, {60, 115}, {15, 80}})); // forest
    p.setBrush(QColor(20, 80, 30));
    for (const QPoint& c : {QPoint(50, 45), QPoint(90, 40), QPoint(120, 60), QPoint(70, 80), QPoint(110, 90)})
        p.drawEllipse(c, 13, 13);
    p.setBrush(QColor(240, 220, 170));
    p.drawRect(290, 200, 60, 50); // house
    p.setBrush(QColor(200, 40, 40));
    p.drawPolygon(polygonOf({{280, 200}, {320, 168}, {360, 200}}));
}

template <typename Draw> void writePicture(const QString& name, int width, int height, QColor background, Draw draw)
{
    QImage image = newPicture(width, height, background);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        draw(painter);
    }
    savePicture(image, name);
}

TQVL_Card_Pic* clickCard(TQVL_Unit& unit, const QString& question, const QString& picture)
{
    auto* card = static_cast<TQVL_Card_Pic*>(unit.Cards->NewCard(tPic));
    card->question = question;
    card->answer_typ = 1;
    card->picture_filename = picture;
    card->HasExternalFile = true;
    return card;
}

void addCircle(TQVL_Card_Pic* card, int left, int top, int radius)
{
    auto* area = static_cast<TQVL_Card_Pic_ClickArea_Circle*>(card->clickareas->AddNew(catCircle));
    area->left = left;
    area->top = top;
    area->radius = radius;
}

void addRectangle(TQVL_Card_Pic* card, int left, int top, int width, int height)
{
    auto* area = static_cast<TQVL_Card_Pic_ClickArea_Rectangle*>(card->clickareas->AddNew(catRectangle));
    area->left = left;
    area->top = top;
    area->width = width;
    area->height = height;
}

void addPolygon(TQVL_Card_Pic* card, std::initializer_list<QPoint> points)
{
    auto* area = static_cast<TQVL_Card_Pic_ClickArea_Polygon*>(card->clickareas->AddNew(catPolygon));
    for (const QPoint& point : points)
        area->AddPoint(point.x(), point.y());
}

// ---- sounds ----

void speak(const QString& voice, const QString& text, const QString& fileName)
{
    const QString target = unitsFolder + QStringLiteral("/Sounds/") + fileName + QStringLiteral(".ogg");
    if (QFile::exists(target))
        return; // the encoder numbers its streams at random: keep committed files stable
    QDir().mkpath(unitsFolder + QStringLiteral("/Sounds"));
    const QString wave = QDir::tempPath() + QStringLiteral("/quorvel_sample.wav");
    ASSERT_EQ(QProcess::execute(QStringLiteral("espeak-ng"), {QStringLiteral("-v"), voice, QStringLiteral("-s"),
                                                              QStringLiteral("140"), QStringLiteral("-w"), wave, text}),
              0);
    ASSERT_EQ(QProcess::execute(QStringLiteral("sox"), {wave, QStringLiteral("-r"), QStringLiteral("22050"),
                                                        QStringLiteral("-C"), QStringLiteral("0"), target}),
              0);
    QFile::remove(wave);
}

} // namespace

TEST(SampleUnits, DISABLED_WriteSampleUnits)
{
    QDir().mkpath(unitsFolder);

    {
        TQVL_Unit unit;
        unit.Typ = tVoc;
        unit.LangCodeHome = QStringLiteral("ger");
        unit.LangCodeForeign = QStringLiteral("eng");
        for (const Word& word : everydayWords()) {
            auto* card = static_cast<TQVL_Card_Voc*>(unit.Cards->NewCard(tVoc));
            card->foreign1 = word.foreign1;
            card->foreign2 = word.foreign2;
            card->foreign3 = word.foreign3;
            card->home1 = word.home1;
            card->home2 = word.home2;
            card->home3 = word.home3;
            card->hint = word.hint;
            card->note = word.note;
        }
        saveUnit(unit, QStringLiteral("Englisch - Grundwortschatz.qxu"),
                 QStringLiteral("{3C9A7E21-4B5D-4E8F-A1C2-0D9E8F7A6B01}"));
    }
    {
        TQVL_Unit unit;
        unit.Typ = tSound;
        unit.LangCodeHome = QStringLiteral("ger");
        unit.LangCodeForeign = QStringLiteral("eng");
        const QString folder = QStringLiteral("%DOCUMENTS%/Lektionen/Sounds/");
        for (const SpokenWord& word : spokenWords()) {
            speak(QStringLiteral("en-gb"), word.foreign, word.foreignFile);
            speak(QStringLiteral("de"), word.home, word.homeFile);
            auto* card = static_cast<TQVL_Card_Sound*>(unit.Cards->NewCard(tSound));
            card->foreign1 = word.foreign;
            card->home1 = word.home;
            card->foreign_filename = folder + word.foreignFile + QStringLiteral(".ogg");
            card->home_filename = folder + word.homeFile + QStringLiteral(".ogg");
        }
        saveUnit(unit, QStringLiteral("Englisch - Aussprache.qxu"),
                 QStringLiteral("{3C9A7E21-4B5D-4E8F-A1C2-0D9E8F7A6B02}"));
    }
    {
        const QColor sky(200, 230, 250);
        const QColor paper(250, 250, 245);
        writePicture(QStringLiteral("Haus.png"), 320, 240, sky, drawHouse);
        writePicture(QStringLiteral("Baum.png"), 320, 240, sky, drawTree);
        writePicture(QStringLiteral("Sonne.png"), 320, 240, sky, drawSun);
        writePicture(QStringLiteral("Auto.png"), 320, 240, sky, drawCar);
        writePicture(QStringLiteral("Boot.png"), 320, 240, sky, drawBoat);
        writePicture(QStringLiteral("Blume.png"), 320, 240, paper, drawFlower);
        writePicture(QStringLiteral("Apfel.png"), 320, 240, paper, drawApple);
        writePicture(QStringLiteral("Gesicht.png"), 300, 300, paper, drawFace);
        writePicture(QStringLiteral("Karte.png"), 400, 300, QColor(120, 190, 90), drawMap);

        TQVL_Unit unit;
        unit.Typ = tPic;
        unit.LangCodeHome = QStringLiteral("ger");
        unit.LangCodeForeign = QStringLiteral("eng");
        unit.ExternalFilesDir = QStringLiteral("%DOCUMENTS%/Lektionen/Bilder");
        const std::pair<const char*, const char*> typed[] = {
            {"Haus.png", "house"}, {"Baum.png", "tree"},    {"Sonne.png", "sun"},   {"Auto.png", "car"},
            {"Boot.png", "boat"},  {"Blume.png", "flower"}, {"Apfel.png", "apple"},
        };
        for (const auto& [picture, answer] : typed) {
            auto* card = static_cast<TQVL_Card_Pic*>(unit.Cards->NewCard(tPic));
            card->question = QStringLiteral("Wie heißt das auf Englisch?");
            card->answer_text = QString::fromUtf8(answer);
            card->picture_filename = QString::fromUtf8(picture);
            card->HasExternalFile = true;
        }

        const QString face = QStringLiteral("Gesicht.png");
        TQVL_Card_Pic* card = clickCard(unit, QStringLiteral("Click on an eye."), face);
        addCircle(card, 112, 135, 22);
        addCircle(card, 188, 135, 22);
        card = clickCard(unit, QStringLiteral("Click on the nose."), face);
        addPolygon(card, {{150, 144}, {132, 196}, {168, 196}});
        card = clickCard(unit, QStringLiteral("Click on the mouth."), face);
        addRectangle(card, 108, 210, 84, 32);
        card = clickCard(unit, QStringLiteral("Click on an ear."), face);
        addCircle(card, 46, 165, 26);
        addCircle(card, 254, 165, 26);
        card = clickCard(unit, QStringLiteral("Click on the hair."), face);
        addPolygon(card,
                   {{55, 130}, {70, 70}, {110, 40}, {190, 40}, {230, 70}, {245, 130}, {210, 85}, {150, 70}, {90, 85}});

        const QString map = QStringLiteral("Karte.png");
        card = clickCard(unit, QStringLiteral("Click on the river."), map);
        addPolygon(card, {{180, 0}, {220, 0}, {224, 126}, {184, 126}});
        addPolygon(card, {{184, 174}, {224, 174}, {215, 300}, {175, 300}});
        card->picture_shadow = false;
        card = clickCard(unit, QStringLiteral("Click on the bridge."), map);
        addRectangle(card, 168, 126, 70, 48);
        card->picture_shadow = false;
        card = clickCard(unit, QStringLiteral("Click on the road."), map);
        addRectangle(card, 0, 135, 168, 30);
        addRectangle(card, 238, 135, 162, 30);
        card->picture_shadow = false;
        card = clickCard(unit, QStringLiteral("Click on the forest."), map);
        addPolygon(card, {{20, 20}, {140, 15}, {150, 100}, {60, 115}, {15, 80}});
        card->picture_shadow = false;
        card = clickCard(unit, QStringLiteral("Click on the lake."), map);
        addCircle(card, 85, 235, 38);
        card->picture_shadow = false;
        card = clickCard(unit, QStringLiteral("Click on the house."), map);
        addRectangle(card, 290, 200, 60, 50);
        addPolygon(card, {{280, 200}, {320, 168}, {360, 200}});
        card->picture_shadow = false;

        saveUnit(unit, QStringLiteral("Englisch - Bilder.qxu"),
                 QStringLiteral("{3C9A7E21-4B5D-4E8F-A1C2-0D9E8F7A6B03}"));
    }
    {
        TQVL_Unit unit;
        unit.Typ = tGrammar;
        unit.LangCodeHome = QStringLiteral("ger");
        unit.LangCodeForeign = QStringLiteral("eng");
        unit.ArrangementId = irregularVerbsArrangement;
        for (const Verb& verb : irregularVerbs()) {
            auto* card = static_cast<TQVL_Card_Grammar*>(unit.Cards->NewCard(tGrammar));
            card->SetValue(vfInfinitive, verb.infinitive);
            card->SetValue(vfSimplePast, verb.simplePast);
            card->SetValue(vfPastParticiple, verb.pastParticiple);
            card->SetValue(vfGerman, verb.german);
        }
        saveUnit(unit, QStringLiteral("Englisch - Unregelmäßige Verben.qxu"),
                 QStringLiteral("{3C9A7E21-4B5D-4E8F-A1C2-0D9E8F7A6B04}"));
    }
}
