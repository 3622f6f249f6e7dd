#include "core/QVL_Error.h"
#include "tests/support/LocalHttpServer.h"
#include "tests/support/TestErrors.h"
#include "tests/update/UpdateFixture.h"
#include "update/QVL_Downloads.h"
#include "update/QVL_Update.h"

#include <QBuffer>
#include <QFileInfo>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

namespace {

QByteArray updateList(const QByteArray& children, int version = 1)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<root>\r\n  <version>" + QByteArray::number(version) +
           "</version>\r\n  <updates>\r\n" + children + "  </updates>\r\n</root>\r\n";
}

QByteArray update(const char* version, const char* date, const char* text, const char* download,
                  bool full = false)
{
    return QByteArray("    <update>\r\n      <version>") + version + "</version>\r\n      <date>" + date +
           "</date>\r\n      <fullupdate>" + (full ? "true" : "false") + "</fullupdate>\r\n      <text>" + text +
           "</text>\r\n      <download>" + download + "</download>\r\n    </update>\r\n";
}

class UpdateSearch : public ::testing::Test
{
protected:
    void SetUp() override { folders.WriteSettings(server.Url(QStringLiteral("/versioninfo")), false); }

    LocalHttpServer server;
    UpdateFolders folders;
};

TEST_F(UpdateSearch, ListsEveryUpdateInServerOrder)
{
    server.Files[QStringLiteral("/versioninfo")] =
        updateList(update("8.0.1.0", "01.03.2027", "Behebt Fehler beim Speichern", "https://x.example/a.tar.xz") +
                   update("8.1.0.0", "15.04.2027", "Neue Abfrage\nSchnellere Suche\nNeue Lektionen",
                          "https://x.example/b.tar.xz", true) +
                   update("8.2.0.0", "02.06.2027", "Grammatik &amp; Bilder", "https://x.example/c.tar.xz"));
    QStringList downloaded;
    QStringList list;
    std::vector<std::pair<int, int>> progress;
    {
        TQVL_Update engine(QStringLiteral("8.0.0.1"), folders.AppData());
        engine.OnProgress = [&](int position, int maximum) { progress.emplace_back(position, maximum); };
        ASSERT_TRUE(engine.SearchUpdates(&list));
        ASSERT_EQ(engine.ItemCount(), 3);
        EXPECT_EQ(engine.GetItem(0).Version, QStringLiteral("8.0.1.0"));
        EXPECT_FALSE(engine.GetItem(0).FullUpdate);
        EXPECT_TRUE(engine.GetItem(1).FullUpdate);
        EXPECT_EQ(engine.GetItem(1).Date, QStringLiteral("15.04.2027"));
        EXPECT_EQ(engine.GetItem(1).Download, QStringLiteral("https://x.example/b.tar.xz"));
        EXPECT_EQ(engine.GetItem(2).Text, QStringLiteral("Grammatik & Bilder"));
        downloaded = engine.DownloadedFiles;
        ASSERT_EQ(downloaded.size(), 1);
        EXPECT_TRUE(QFileInfo::exists(downloaded.first()));
    }
    EXPECT_FALSE(QFileInfo::exists(downloaded.first())) << "the engine deletes its temporary file";
    EXPECT_EQ(server.Requests, QStringList{QStringLiteral("/versioninfo?version=8.0.0.1")});
    EXPECT_EQ(server.LastUserAgent, "Quorvel");
    EXPECT_EQ(list, (QStringList{QStringLiteral("[8.0.1.0]: 01.03.2027"), QStringLiteral("Behebt Fehler beim Speichern"),
                                 QString(), QStringLiteral("[8.1.0.0]: 15.04.2027"), QStringLiteral("Neue Abfrage"),
                                 QStringLiteral("Schnellere Suche"), QStringLiteral("Neue Lektionen"), QString(),
                                 QStringLiteral("[8.2.0.0]: 02.06.2027"), QStringLiteral("Grammatik & Bilder"),
                                 QString()}));
    EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{100, 100}}));
}

TEST_F(UpdateSearch, AnEmptyListFindsNothing)
{
    server.Files[QStringLiteral("/versioninfo")] = updateList("");
    TQVL_Update engine(QStringLiteral("8.0.0.1"), folders.AppData());
    QStringList list{QStringLiteral("alt")};
    EXPECT_FALSE(engine.SearchUpdates(&list));
    EXPECT_EQ(list, QStringList{QStringLiteral("Keine Updates verfügbar!")});
    EXPECT_FALSE(engine.Search());
}

TEST_F(UpdateSearch, FailuresAreGermanAndNameTheirCause)
{
    struct Case
    {
        const char* name;
        QByteArray answer; // empty: the server has no such page
        QString start, end;
    };
    const QString readError = QStringLiteral("Fehler beim Lesen der Update-Liste von \"%1?version=8.0.0.1\"!\r")
                                  .arg(server.Url(QStringLiteral("/versioninfo")));
    const std::vector<Case> cases = {
        {"version 2", updateList(update("9", "", "", ""), 2), readError, QStringLiteral("\rFalsche Version!")},
        {"wrong tag", updateList("    <download/>\r\n"), readError, QStringLiteral("\rinvalid Update-XML-Tag")},
        {"not XML", "Wartungsarbeiten", readError, QString()},
        {"no page", QByteArray(), QStringLiteral("Fehler beim Verbinden zum Server!\r"),
         QStringLiteral("Der Server antwortete mit dem Status 404.")},
        // Well-formed, but far beyond what a list of updates needs; parsed whole it would cost gigabytes.
        {"list too large",
         updateList(update("9", "", QByteArray(int(TQVL_Downloads::MaxListBytes), 'x').constData(), "")),
         QStringLiteral("Fehler beim Verbinden zum Server!\r"), QStringLiteral("Die Antwort des Servers ist zu groß.")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        server.Files.clear();
        if (!c.answer.isEmpty())
            server.Files[QStringLiteral("/versioninfo")] = c.answer;
        TQVL_Update engine(QStringLiteral("8.0.0.1"), folders.AppData());
        const QString error = ErrorOf([&] { engine.Search(); });
        EXPECT_TRUE(error.startsWith(c.start)) << error.toStdString();
        EXPECT_TRUE(error.endsWith(c.end)) << error.toStdString();
        EXPECT_EQ(engine.ItemCount(), 0);
    }
}

TEST_F(UpdateSearch, AServerThatDoesNotAnswerIsGivenUp)
{
    server.Silent = true;
    TQVL_Update engine(QStringLiteral("8.0.0.1"), folders.AppData());
    engine.TimeoutMs = 300;
    EXPECT_EQ(ErrorOf([&] { engine.Search(); }),
              QStringLiteral("Fehler beim Verbinden zum Server!\rDer Server hat nicht rechtzeitig geantwortet."));
    EXPECT_EQ(server.Requests, QStringList{}) << "the request was never answered";
}

TEST_F(UpdateSearch, ABackgroundSearchStopsWhenItsThreadIsAskedTo)
{
    server.Silent = true;
    QString error;
    QThread* thread = QThread::create([&] {
        TQVL_Update engine(QStringLiteral("8.0.0.1"), folders.AppData());
        error = ErrorOf([&] { engine.Search(); });
    });
    thread->start();
    // The request is on its way and unanswered.
    QTest::qWait(200);
    thread->requestInterruption();
    // Far below the engine's time-out of 20 seconds.
    EXPECT_TRUE(QTest::qWaitFor([&] { return thread->isFinished(); }, 5000));
    thread->wait();
    delete thread;
    EXPECT_EQ(error, QStringLiteral("Fehler beim Verbinden zum Server!\rDie Suche wurde abgebrochen."));
}

TEST_F(UpdateSearch, ANoServerAtAllIsAConnectionError)
{
    folders.WriteSettings(QStringLiteral("http://127.0.0.1:1/versioninfo"), false);
    TQVL_Update engine(QStringLiteral("8.0.0.1"), folders.AppData());
    EXPECT_EQ(ErrorOf([&] { engine.Search(); }),
              QStringLiteral("Fehler beim Verbinden zum Server!\rDer Server hat die Verbindung abgelehnt."));
}

TEST_F(UpdateSearch, CancelEndsTheDownloadAndLeavesNoFileBehind)
{
    const OwnTempFolder temp;
    // One byte at a time, without end: no time-out would ever stop it.
    server.Streams[QStringLiteral("/versioninfo")] = {"<", 50};
    TQVL_Update engine(QStringLiteral("8.0.0.1"), folders.AppData());
    QString error;
    QThread* thread = QThread::create([&] { error = ErrorOf([&] { engine.Search(); }); });
    thread->start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.Streamed >= 3; }, 5000));
    EXPECT_EQ(temp.Entries().size(), 1) << "the answer so far";
    engine.Cancel();
    EXPECT_TRUE(QTest::qWaitFor([&] { return thread->isFinished(); }, 5000));
    thread->wait();
    delete thread;
    EXPECT_EQ(error, QStringLiteral("Fehler beim Verbinden zum Server!\rDer Download wurde abgebrochen."));
    EXPECT_EQ(temp.Entries(), QStringList());
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.OpenConnections() == 0; }, 5000)) << "the connection is closed";
}

// What a server can make a download do: every answer ends in bounded time and size.
class DownloadBounds : public ::testing::Test
{
protected:
    QString fetch(TQVL_Downloads& client, const QString& path)
    {
        received.clear();
        QBuffer buffer(&received);
        buffer.open(QIODevice::WriteOnly);
        return ErrorOf([&] { client.Download(server.Url(path), buffer); });
    }

    LocalHttpServer server;
    QByteArray received;
};

TEST_F(DownloadBounds, AnswersThatTrickleOrNeverEndOrAreTooLargeAreCutOff)
{
    constexpr qint64 cap = 1024 * 1024;
    const QByteArray piece(64 * 1024, 'x');
    const QString tooLarge = QStringLiteral("Die Antwort des Servers ist zu groß.");
    struct Case
    {
        const char* name;
        LocalHttpServer::Stream stream;
        qint64 maxBytes;
        QString cause;
    };
    const std::vector<Case> cases = {
        // Each byte restarts the silence time-out; only the deadline ends it.
        {"trickle",
         {"x", 100},
         cap,
         QStringLiteral("Der Server hat die Antwort nicht innerhalb von 2 Sekunden vollständig gesendet.")},
        {"endless", {piece, 0}, cap, tooLarge},
        {"oversized", {piece, 0, 40}, cap, tooLarge},
        // Refused on the header alone; before, it waited for bytes that never came.
        {"announced length", {"x", 0, 1, 600LL * 1024 * 1024}, TQVL_Downloads::MaxPackageBytes, tooLarge},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        server.Streams[QStringLiteral("/antwort")] = c.stream;
        TQVL_Downloads client;
        client.TimeoutMs = 5000;
        client.DeadlineMs = 1500;
        client.MaxBytes = c.maxBytes;
        EXPECT_EQ(fetch(client, QStringLiteral("/antwort")),
                  QStringLiteral("Fehler beim Verbinden zum Server!\r") + c.cause);
        EXPECT_LE(received.size(), c.maxBytes);
        EXPECT_TRUE(QTest::qWaitFor([&] { return server.OpenConnections() == 0; }, 5000)) << "the connection is closed";
    }
}

TEST_F(DownloadBounds, RedirectsAreFollowedOnlyToAllowedAddressesAndRefusedInGerman)
{
    server.Files[QStringLiteral("/ziel")] = "angekommen";
    const QString refused = QStringLiteral(
        "Fehler beim Verbinden zum Server!\rDer Server hat auf eine unzulässige Adresse weitergeleitet.");
    const std::vector<std::pair<QByteArray, QString>> cases = {
        {server.Url(QStringLiteral("/ziel")).toUtf8(), QString()},
        {"file:///etc/passwd", refused},
        {"ftp://x.example/v", refused},
        {"http://www.quorvel.example/v", refused},
    };
    for (const auto& [target, error] : cases) {
        SCOPED_TRACE(target.constData());
        server.Redirects[QStringLiteral("/alt")] = target;
        TQVL_Downloads client;
        EXPECT_EQ(fetch(client, QStringLiteral("/alt")), error);
        EXPECT_EQ(received, error.isEmpty() ? QByteArray("angekommen") : QByteArray());
    }
}

TEST(UpdateSettings, AreReadAndTheFlagIsWrittenBack)
{
    UpdateFolders folders;
    folders.WriteSettings(QStringLiteral("https://dienst.example/v"), true);
    {
        TQVL_Update engine(QStringLiteral("8.0.0.1"), folders.AppData());
        EXPECT_EQ(engine.VersionInfoLink, QStringLiteral("https://dienst.example/v"));
        EXPECT_TRUE(engine.UpdateNextStart);
        engine.SetUpdateNextStart(false);
    }
    TQVL_Update again(QStringLiteral("8.0.0.1"), folders.AppData());
    EXPECT_FALSE(again.UpdateNextStart);
    EXPECT_EQ(again.VersionInfoLink, QStringLiteral("https://dienst.example/v"));

    WriteFile(folders.Settings(), "<root><version>2</version></root>");
    EXPECT_EQ(ErrorOf([&] { TQVL_Update(QStringLiteral("8"), folders.AppData()); }),
              QStringLiteral("Fehler beim Lesen der Datei \"%1\"!\rFalsche Version!").arg(folders.Settings()));
}

TEST(UpdateDownloads, PlainHttpOnlyOnTheLoopback)
{
    const std::vector<std::pair<const char*, bool>> cases = {
        {"https://www.quorvel.example/v", true}, {"http://127.0.0.1:8080/v", true}, {"http://localhost/v", true},
        {"http://[::1]/v", true},           {"http://www.quorvel.example/v", false}, {"http://10.0.0.1/v", false},
        {"file:///etc/passwd", false},      {"ftp://x.example/v", false},           {"", false},
        {"?version=8.0.0.1", false},
    };
    for (const auto& [address, allowed] : cases)
        EXPECT_EQ(TQVL_Downloads::IsAllowedAddress(QString::fromLatin1(address)), allowed) << address;

    TQVL_Downloads client;
    EXPECT_TRUE(ErrorOf([&] { client.DownloadToTempFile(QStringLiteral("http://www.quorvel.example/v")); })
                    .startsWith(QStringLiteral("Fehler beim Verbinden zum Server!\r")));
}

} // namespace
