// Files a lesson names are read only when they are regular files of a sane
// size: a FIFO would hang the program, /dev/zero would fill its memory.
#include "core/QVL_Error.h"
#include "core/QVL_NamedFile.h"
#include "tests/support/TestFolders.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

QString errorOf(const QString& fileName)
{
    try {
        TQVL_NamedFile::Read(fileName);
    } catch (const TQVL_Error& error) {
        return error.Message();
    }
    return QStringLiteral("<no error>");
}

} // namespace

TEST(NamedFile, OnlyRegularFilesWithinTheLimitAreRead)
{
    TestFolders folders;
    const QString root = folders.Root();
    WriteFile(root + QStringLiteral("/bild.png"), "PNG-Daten");
    EXPECT_EQ(TQVL_NamedFile::Read(root + QStringLiteral("/bild.png")), QByteArray("PNG-Daten"));

    const QString fifo = root + QStringLiteral("/warteschlange.wav");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QDir().mkpath(root + QStringLiteral("/ordner.png"));
    const QString large = root + QStringLiteral("/riesig.wav");
    {
        QFile file(large);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(TQVL_NamedFile::MaxSize + 1)); // sparse: no disk space taken
    }
    const QString notRegular = QStringLiteral("Die Datei \"%1\" wird nicht geöffnet, weil sie keine gewöhnliche Datei ist.");
    struct Case {
        QString fileName;
        QString expected;
    };
    const Case cases[] = {
        {fifo, notRegular.arg(fifo)},
        {QStringLiteral("/dev/zero"), notRegular.arg(QStringLiteral("/dev/zero"))},
        {root + QStringLiteral("/ordner.png"), notRegular.arg(root + QStringLiteral("/ordner.png"))},
        {large, QStringLiteral("Die Datei \"%1\" wird nicht geöffnet, weil sie größer als 64 MB ist.").arg(large)},
        {root + QStringLiteral("/fehlt.wav"),
         QStringLiteral("Die Datei \"%1\" kann nicht geöffnet werden!\rDatei oder Verzeichnis nicht gefunden.")
             .arg(root + QStringLiteral("/fehlt.wav"))},
    };
    // A FIFO without writer would block an ordinary open for good.
    for (const Case& c : cases) {
        EXPECT_EQ(errorOf(c.fileName).toStdString(), c.expected.toStdString());
        EXPECT_THROW(TQVL_NamedFile::Check(c.fileName), TQVL_Error);
    }
}
