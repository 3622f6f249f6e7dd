#include "tests/support/LocalHttpServer.h"
#include "tests/support/TestErrors.h"
#include "tests/support/TestUpdatePackages.h"
#include "tests/update/UpdateFixture.h"
#include "update/QVL_Update.h"
#include "update/QVL_UpdatePackage.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace TestUpdatePackages;

namespace {

// A version service offering the packages of `Offer`, signed with `key`.
class UpdateInstall : public ::testing::Test
{
protected:
    void SetUp() override { folders.WriteSettings(server.Url(QStringLiteral("/versioninfo")), false); }

    // Serves `package` as /<name>.tar.xz with `signature` beside it, and an update list naming it.
    void offer(const QStringList& names, const std::vector<QByteArray>& packages,
               const std::vector<QByteArray>& signatures)
    {
        QByteArray list = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<root>\r\n  <version>1</version>\r\n"
                          "  <updates>\r\n";
        for (int i = 0; i < names.size(); ++i) {
            const QString path = QLatin1Char('/') + names[i] + QStringLiteral(".tar.xz");
            server.Files[path] = packages[std::size_t(i)];
            server.Files[path + QStringLiteral(".sig")] = signatures[std::size_t(i)];
            list += "    <update><version>" + names[i].toUtf8() + "</version><date>heute</date>"
                    "<fullupdate>false</fullupdate><text>x</text><download>" + server.Url(path).toUtf8() +
                    "</download></update>\r\n";
        }
        server.Files[QStringLiteral("/versioninfo")] = list + "  </updates>\r\n</root>\r\n";
    }

    std::unique_ptr<TQVL_Update> searched()
    {
        auto engine = folders.Engine();
        engine->PublicKey = key.Public;
        EXPECT_TRUE(engine->Search());
        return engine;
    }

    // Every file below the folders of the installation and the outside folder.
    QStringList allFiles() const
    {
        QStringList files;
        QDirIterator it(QFileInfo(folders.AppData()).path(), QDir::Files | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        files.sort();
        return files;
    }

    static QByteArray goodPackage(const QByteArray& payload)
    {
        return TarXz({{QStringLiteral("Updateinstructions.xml"),
                       Instructions({{QStringLiteral("REPLACECOPY"), QStringLiteral("files/Options.xml"),
                                      QStringLiteral("%APPDATA%/Data/Options.xml"), Md5(payload)}})},
                      {QStringLiteral("files"), {}, Entry::Folder},
                      {QStringLiteral("files/Options.xml"), payload}});
    }

    LocalHttpServer server;
    UpdateFolders folders;
    KeyPair key;
};

TEST_F(UpdateInstall, ASignedPackageIsUnpackedAndAppliedAtTheNextStart)
{
    const QByteArray first = goodPackage("neu 1"), second = goodPackage("neu 2");
    offer({QStringLiteral("a"), QStringLiteral("b")}, {first, second}, {key.Sign(first), key.Sign(second)});
    WriteFile(folders.AppData() + QStringLiteral("/Data/Options.xml"), "alt");
    WriteFile(folders.Updates() + QStringLiteral("/Reste.txt"), "vom letzten Mal");
    {
        auto engine = searched();
        engine->InstallUpdates({0, 1});
        EXPECT_TRUE(engine->UpdateNextStart);
    }
    // The packages are kept as they came, with their signatures: the apply step checks them again.
    EXPECT_EQ(ReadFile(folders.Updates() + QStringLiteral("/1.tar.xz")), first);
    EXPECT_EQ(ReadFile(folders.Updates() + QStringLiteral("/1.tar.xz.sig")), key.Sign(first));
    EXPECT_EQ(ReadFile(folders.Updates() + QStringLiteral("/2.tar.xz")), second);
    EXPECT_EQ(QDir(folders.Updates()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 4)
        << "a fresh update folder";
    EXPECT_EQ(ReadFile(folders.AppData() + QStringLiteral("/Data/Options.xml")), "alt") << "nothing applied yet";

    // `quorvel update`: both packages in order, the later one last.
    auto engine = folders.Engine();
    engine->PublicKey = key.Public;
    ASSERT_TRUE(engine->UpdateNextStart);
    engine->ApplyAtStart();
    EXPECT_EQ(ReadFile(folders.AppData() + QStringLiteral("/Data/Options.xml")), "neu 2");
    EXPECT_FALSE(folders.Engine()->UpdateNextStart);
}

TEST_F(UpdateInstall, APackageWhoseSignatureFailsIsNeverUnpacked)
{
    const QByteArray package = goodPackage("neu");
    KeyPair stranger;
    QByteArray tampered = package;
    tampered[tampered.size() / 2] = char(tampered[tampered.size() / 2] ^ 1);
    const std::vector<std::pair<const char*, std::pair<QByteArray, QByteArray>>> cases = {
        {"signed by someone else", {package, stranger.Sign(package)}},
        {"changed after signing", {tampered, key.Sign(package)}},
        {"signature cut short", {package, key.Sign(package).left(40)}},
        {"no signature", {package, QByteArray()}},
    };
    for (const auto& [name, served] : cases) {
        SCOPED_TRACE(name);
        // The first package is fine; the second spoils the whole installation.
        offer({QStringLiteral("gut"), QStringLiteral("schlecht")}, {package, served.first},
              {key.Sign(package), served.second});
        const QStringList before = allFiles();
        auto engine = searched();
        const QString error = ErrorOf([&] { engine->InstallUpdates({0, 1}); });
        EXPECT_EQ(error, QStringLiteral("Die Signatur des Update-Pakets \"Version schlecht (%1)\" ist ungültig. Das "
                                        "Paket stammt nicht vom Hersteller oder wurde verändert und wird nicht "
                                        "installiert!")
                             .arg(server.Url(QStringLiteral("/schlecht.tar.xz"))));
        EXPECT_FALSE(engine->UpdateNextStart);
        EXPECT_FALSE(folders.Engine()->UpdateNextStart);
        engine.reset();
        EXPECT_EQ(allFiles(), before);
    }
}

TEST_F(UpdateInstall, AnEntryThatCouldLeaveTheUpdateFolderRefusesThePackage)
{
    struct Case
    {
        const char* name;
        Entry entry;
    };
    const std::vector<Case> cases = {
        {"parent folder", {QStringLiteral("../Data/Update.xml"), "<root/>"}},
        {"deeper parent", {QStringLiteral("files/../../../outside/evil.txt"), "böse"}},
        {"absolute name", {QFileInfo(folders.Outside()).absoluteFilePath() + QStringLiteral("/evil.txt"), "böse"}},
        {"symbolic link", {QStringLiteral("files/link"), {}, Entry::Symlink, QStringLiteral("/etc")}},
        {"hard link", {QStringLiteral("files/hard"), {}, Entry::Hardlink, QStringLiteral("/etc/passwd")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray package = TarXz({{QStringLiteral("Updateinstructions.xml"), Instructions({})},
                                          {QStringLiteral("files/harmlos.txt"), "x"},
                                          c.entry});
        offer({QStringLiteral("p")}, {package}, {key.Sign(package)});
        const QStringList before = allFiles();
        auto engine = searched();
        const QString error = ErrorOf([&] { engine->InstallUpdates({0}); });
        EXPECT_EQ(error, QStringLiteral("Das Update-Paket enthält den unzulässigen Eintrag \"%1\" und wird nicht "
                                        "installiert!")
                             .arg(c.entry.Name));
        engine.reset();
        EXPECT_EQ(allFiles(), before) << "nothing unpacked, nothing outside";
        EXPECT_FALSE(QFileInfo::exists(folders.Outside() + QStringLiteral("/evil.txt")));
    }
}

TEST(UpdatePackageNames, OnlyRelativeNamesWithoutParentParts)
{
    const std::vector<std::pair<const char*, bool>> cases = {
        {"a.txt", true},    {"a/b/c.txt", true}, {"./a.txt", true},   {"a..b/c", true},
        {"../a", false},    {"a/../../b", false}, {"a/..", false},    {"/etc/passwd", false},
        {"", false},        {"..", false},
    };
    for (const auto& [name, safe] : cases)
        EXPECT_EQ(TQVL_UpdatePackage::IsSafeEntryName(QString::fromLatin1(name)), safe) << name;
}

} // namespace
