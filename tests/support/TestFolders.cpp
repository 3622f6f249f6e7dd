#include "tests/support/TestFolders.h"

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
