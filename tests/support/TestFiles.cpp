#include "tests/support/TestFiles.h"

#include "core/QVL_FileObject.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

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

QString WriteGuarded(const QString& path, const QByteArray& content)
{
    WriteFile(path, content);
    WriteFile(TQVL_FileObject::ChecksumFileName(path), TQVL_FileObject::Checksum(content) + "\r\n");
    return path;
}

QByteArray WithoutElement(QByteArray text, const char* element)
{
    const QByteArray open = "<" + QByteArray(element) + ">";
    const QByteArray close = "</" + QByteArray(element) + ">";
    const qsizetype from = text.indexOf(open);
    // A missing element is a mistake in the test, not a case to pass silently.
    EXPECT_GE(from, 0) << element;
    qsizetype to = text.indexOf(close, from);
    EXPECT_GE(to, 0) << element;
    if (from < 0 || to < 0)
        return text;
    to += close.size();
    if (text.mid(to, 2) == "\r\n")
        to += 2;
    return text.remove(from, to - from);
}
