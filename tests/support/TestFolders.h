#pragma once

// Tests that need the folders write files into them.
#include "tests/support/TestFiles.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// Points QUORVEL_APPDATA and QUORVEL_DOCUMENTS at folders of a temporary
// directory that lives as long as this object. The folders themselves are
// not created: a fresh installation starts without them.
class TestFolders
{
public:
    TestFolders();
    ~TestFolders();

    QString Root() const { return dir.path(); }
    QString AppData() const { return dir.path() + QStringLiteral("/appdata"); }
    QString Documents() const { return dir.path() + QStringLiteral("/documents"); }

private:
    QTemporaryDir dir;
    QByteArray oldAppData, oldDocuments;
};
