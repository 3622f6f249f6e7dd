// The MIME types we install recognise our files by their names and, without a
// telling name, by their content.
#include "tests/support/TestFolders.h"

#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString source = QStringLiteral(QUORVEL_SOURCE_DIR);

class MimeTypes : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        data = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(QDir().mkpath(data->path() + QStringLiteral("/mime/packages")));
        ASSERT_TRUE(QFile::copy(source + QStringLiteral("/data/desktop/quorvel-mime.xml"),
                                data->path() + QStringLiteral("/mime/packages/org.quorvel.Quorvel.xml")));
        // One database of the system's types and ours, as the trigger of
        // shared-mime-info builds it when the package is installed into /usr/share.
        ASSERT_TRUE(QFile::copy(QStringLiteral("/usr/share/mime/packages/freedesktop.org.xml"),
                                data->path() + QStringLiteral("/mime/packages/freedesktop.org.xml")));
        QProcess update;
        update.start(QStringLiteral("update-mime-database"), {data->path() + QStringLiteral("/mime")});
        ASSERT_TRUE(update.waitForFinished(60000)) << "update-mime-database (shared-mime-info) is needed";
        ASSERT_EQ(update.exitCode(), 0) << update.readAllStandardError().toStdString();
        // Before the first look-up: Qt reads the folder list once.
        qputenv("XDG_DATA_DIRS", data->path().toLocal8Bit());
        qputenv("XDG_DATA_HOME", (data->path() + QStringLiteral("/nothing")).toLocal8Bit());
    }
    static void TearDownTestSuite() { data.reset(); }
    static inline std::unique_ptr<QTemporaryDir> data;
};

struct Sample {
    const char* file;
    const char* type;
};

const Sample samples[] = {
    {"data/documents/Lektionen/Englisch - Grundwortschatz.qxu", "application/x-quorvel-lesson"},
    {"data/documents/Lektionen/Englisch - Bilder.qxu", "application/x-quorvel-lesson"},
    {"data/documents/Lektionen/Englisch - Aussprache.qxu", "application/x-quorvel-lesson"},
    {"data/documents/Lektionen/Englisch - Unregelmäßige Verben.qxu", "application/x-quorvel-lesson"},
    {"data/documents/Benutzer/Lernender.qxs", "application/x-quorvel-profile"},
    {"data/appdata/Languages/Französisch.qxl", "application/x-quorvel-language"},
    {"data/appdata/Data/GrammarTemplates/Latein - Deklination der Substantive.qxa", "application/x-quorvel-arrangement"},
};

} // namespace

TEST_F(MimeTypes, OurFilesAreKnownByNameAndByContent)
{
    QMimeDatabase mime;
    for (const Sample& sample : samples) {
        const QString path = source + QLatin1Char('/') + QString::fromUtf8(sample.file);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << sample.file;
        const QByteArray content = file.read(8192);
        EXPECT_EQ(mime.mimeTypeForFile(path, QMimeDatabase::MatchExtension).name().toStdString(), sample.type)
            << sample.file;
        EXPECT_EQ(mime.mimeTypeForData(content).name().toStdString(), sample.type) << sample.file << " by content";
        EXPECT_TRUE(mime.mimeTypeForName(QString::fromUtf8(sample.type)).inherits(QStringLiteral("application/xml")));
    }
}

TEST_F(MimeTypes, ALongTermStorageIsAProfileFileAndOtherXmlIsNone)
{
    QMimeDatabase mime;
    const QByteArray storage = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<root>\r\n  <version>1</version>\r\n"
                               "  <header>\r\n    <uid>{X}</uid>\r\n    <cardcount>0</cardcount>\r\n"
                               "    <typ>longtermstorage</typ>\r\n";
    EXPECT_EQ(mime.mimeTypeForData(storage).name().toStdString(), "application/x-quorvel-profile");
    QFile options(source + QStringLiteral("/data/appdata/Data/Options.xml"));
    ASSERT_TRUE(options.open(QIODevice::ReadOnly));
    EXPECT_FALSE(mime.mimeTypeForData(options.readAll()).name().startsWith(QStringLiteral("application/x-quorvel")));
}
