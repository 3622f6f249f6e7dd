#pragma once

#include "content/QVL_Provider_Custom.h"
#include "core/QVL_Error.h"
#include "core/QVL_FileObject.h"

#include <functional>
#include <memory>
#include <vector>

// Owns the one active file object of a kind, forwards its open, close and
// access notifications, owns the provider that lists the files of the kind,
// and hands out further file objects of the kind that a screen needs besides
// the active one.
class TQVL_Manager
{
public:
    virtual ~TQVL_Manager();
    TQVL_Manager(const TQVL_Manager&) = delete;
    TQVL_Manager& operator=(const TQVL_Manager&) = delete;

    // A closed file object of the manager's class, owned by the manager until
    // CloseAdditionFile; the caller opens it.
    TQVL_FileObject* CreateAdditionalFile();
    // Closes `file` (it must be open), releases it and keeps the order of the others.
    void CloseAdditionFile(TQVL_FileObject* file);
    // Releases a closed additional file, as after a failed open.
    void DiscardAdditionalFile(TQVL_FileObject* file);
    // Closes (or, when not open, releases) every additional file, the last first.
    void CloseAdditionalFiles();
    int AdditionalFileCount() const { return int(additionalFiles.size()); }
    TQVL_FileObject* AdditionalFile(int index) const { return additionalFiles[std::size_t(index)].get(); }

    TQVL_FileObject& ActiveFile() const { return *activeFile; }
    TQVL_Provider_Custom& Provider() const { return *provider; }

    std::function<void()> OnFileClosed;
    std::function<void()> OnFileOpened;
    std::function<void()> OnAccessChanged;
    // The active file was read again because another program had changed it.
    std::function<void()> OnFileReloaded;

protected:
    TQVL_Manager() = default;
    // Creates the active file and takes the provider; called by each manager's constructor.
    void Initialize(std::unique_ptr<TQVL_Provider_Custom> kindProvider, const QString& extensions);

    virtual std::unique_ptr<TQVL_FileObject> CreateFileObject() = 0;
    virtual void FileOpened();
    virtual void FileClosed();

    // The active file as the manager's class; raises `error` when there is none.
    template <typename File>
    File& activeAs(const char* error) const
    {
        auto* file = dynamic_cast<File*>(activeFile.get());
        if (!file)
            throw TQVL_Error(QString::fromLatin1(error));
        return *file;
    }

private:
    std::vector<std::unique_ptr<TQVL_FileObject>>::iterator findAdditional(TQVL_FileObject* file);

    std::unique_ptr<TQVL_Provider_Custom> provider;
    std::unique_ptr<TQVL_FileObject> activeFile;
    std::vector<std::unique_ptr<TQVL_FileObject>> additionalFiles;
};
