#include "tests/support/TestFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

TestFolders::TestFolders()
    : oldAppData(qgetenv("QUORVEL_APPDATA")), oldDocuments(qgetenv("QUORVEL_DOCUMENTS"))
{
    qputenv("QUORVEL_APPDATA", AppData().toUtf8());
    qputenv("QUORVEL_DOCUMENTS", Documents().toUtf8());
}

TestFolders::~TestFolders()
{
    qputenv("QUORVEL_APPDATA", oldAppData);
    qputenv("QUORVEL_DOCUMENTS", oldDocuments);
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}
