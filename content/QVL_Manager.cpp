#include "content/QVL_Manager.h"

#include <algorithm>
#include "core/QVL_Error.h"

TQVL_Manager::~TQVL_Manager() = default;

void TQVL_Manager::Initialize(std::unique_ptr<TQVL_Provider_Custom> kindProvider, const QString& extensions)
{
    provider = std::move(kindProvider);
    provider->Extensions = extensions;
    provider->ReadHeaders = true;
    activeFile = CreateFileObject();
    activeFile->OnOpen = [this] { FileOpened(); };
    activeFile->OnClose = [this] { FileClosed(); };
    activeFile->OnAccessChange = [this] {
        if (OnAccessChanged)
            OnAccessChanged();
    };
    activeFile->OnReload = [this] {
        if (OnFileReloaded)
            OnFileReloaded();
    };
}

void TQVL_Manager::FileOpened()
{
    if (OnFileOpened)
        OnFileOpened();
}

void TQVL_Manager::FileClosed()
{
    if (OnFileClosed)
        OnFileClosed();
}

TQVL_FileObject* TQVL_Manager::CreateAdditionalFile()
{
    additionalFiles.push_back(CreateFileObject());
    return additionalFiles.back().get();
}

void TQVL_Manager::CloseAdditionFile(TQVL_FileObject* file)
{
    const auto it = findAdditional(file);
    file->CloseFile();
    additionalFiles.erase(it);
}

void TQVL_Manager::CloseAdditionalFiles()
{
    while (!additionalFiles.empty()) {
        TQVL_FileObject* file = additionalFiles.back().get();
        if (file->IsOpen)
            CloseAdditionFile(file);
        else
            DiscardAdditionalFile(file);
    }
}

void TQVL_Manager::DiscardAdditionalFile(TQVL_FileObject* file)
{
    additionalFiles.erase(findAdditional(file));
}

std::vector<std::unique_ptr<TQVL_FileObject>>::iterator TQVL_Manager::findAdditional(TQVL_FileObject* file)
{
    const auto it = std::find_if(additionalFiles.begin(), additionalFiles.end(),
                                 [file](const std::unique_ptr<TQVL_FileObject>& own) { return own.get() == file; });
    if (it == additionalFiles.end())
        throw TQVL_Error(QStringLiteral("file is not an additional file of this manager"));
    return it;
}
