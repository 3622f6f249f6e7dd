#include "content/QVL_Manager.h"
#include "content/QVL_Provider_Units.h"
#include "tests/core/NoteFile.h"
#include "tests/support/TestFolders.h"

#include <gtest/gtest.h>

namespace {

class NoteManager : public TQVL_Manager
{
public:
    NoteManager() { Initialize(std::make_unique<TQVL_Provider_Units>(), QStringLiteral(".qxn")); }
    NoteFile& GetActiveNote() const { return activeAs<NoteFile>("no active Note"); }

protected:
    std::unique_ptr<TQVL_FileObject> CreateFileObject() override { return std::make_unique<NoteFile>(); }
};

} // namespace

TEST(Manager, ForwardsTheNotificationsOfTheActiveFile)
{
    TestFolders folders;
    NoteManager manager;
    EXPECT_EQ(manager.Provider().Extensions, QStringLiteral(".qxn"));
    EXPECT_TRUE(manager.Provider().ReadHeaders);
    QStringList events;
    manager.OnFileOpened = [&] { events << QStringLiteral("open"); };
    manager.OnFileClosed = [&] { events << QStringLiteral("close"); };
    manager.OnAccessChanged = [&] { events << QStringLiteral("access"); };
    NoteFile& note = manager.GetActiveNote();
    note.NewFile(folders.Root() + QStringLiteral("/a.qxn"));
    note.ReleaseWriteAccess();
    note.CloseFile();
    EXPECT_EQ(events, (QStringList{QStringLiteral("open"), QStringLiteral("access"), QStringLiteral("close")}));
}

TEST(Manager, AdditionalFilesKeepTheirOrder)
{
    TestFolders folders;
    NoteManager manager;
    QList<TQVL_FileObject*> files;
    for (int i = 0; i < 3; ++i) {
        TQVL_FileObject* file = manager.CreateAdditionalFile();
        EXPECT_FALSE(file->IsOpen);
        file->NewFile(folders.Root() + QStringLiteral("/%1.qxn").arg(i));
        files << file;
    }
    EXPECT_NE(files[0], &manager.ActiveFile());
    manager.CloseAdditionFile(files[1]);
    ASSERT_EQ(manager.AdditionalFileCount(), 2);
    EXPECT_EQ(manager.AdditionalFile(0), files[0]);
    EXPECT_EQ(manager.AdditionalFile(1), files[2]);
    NoteFile stranger;
    EXPECT_THROW(manager.CloseAdditionFile(&stranger), TQVL_Error);
    manager.CloseAdditionFile(files[0]);
    manager.CloseAdditionFile(files[2]);
    EXPECT_EQ(manager.AdditionalFileCount(), 0);
}
