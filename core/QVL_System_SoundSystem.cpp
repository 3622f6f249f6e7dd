#include "core/QVL_System_SoundSystem.h"

#include "core/QVL_ErrorDisplay.h"

#include <QFile>

#include <dlfcn.h>

#include <mutex>

namespace {

// One library per process, whichever front object loaded it.
std::mutex libraryLock;
void* library = nullptr;

// The export `name` of the loaded library, or nullptr. Caller holds libraryLock.
template <typename Function>
Function* Export(const char* name)
{
    if (library == nullptr)
        return nullptr;
    return reinterpret_cast<Function*>(dlsym(library, name));
}

} // namespace

TQVL_System_SoundSystem::TQVL_System_SoundSystem(QString file)
    : libraryFile(std::move(file))
{
}

QString TQVL_System_SoundSystem::LibraryFile() const
{
    return libraryFile;
}

int TQVL_System_SoundSystem::Init(quintptr mainWindowHandle)
{
    const std::lock_guard guard(libraryLock);
    if (library == nullptr) {
        library = dlopen(QFile::encodeName(LibraryFile()).constData(), RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) {
            // The learners have always read this text exactly so, without a blank.
            TQVL_ErrorDisplay::Current().ShowError(QStringLiteral("DLL ") + libraryFile
                                                   + QStringLiteral("nicht gefunden!"));
            return 0;
        }
    }
    auto* init = Export<int(void*)>("init");
    return init ? init(reinterpret_cast<void*>(mainWindowHandle)) : 0;
}

int TQVL_System_SoundSystem::Deinit()
{
    const std::lock_guard guard(libraryLock);
    if (library == nullptr)
        return 0;
    auto* deinit = Export<int()>("deinit");
    const int result = deinit ? deinit() : 0;
    dlclose(library);
    library = nullptr;
    return result;
}

int TQVL_System_SoundSystem::Play(const QString& fileName)
{
    const std::lock_guard guard(libraryLock);
    auto* play = Export<int(const char*)>("play");
    return play ? play(QFile::encodeName(fileName).constData()) : 0;
}

QString TQVL_System_SoundSystem::Version()
{
    const std::lock_guard guard(libraryLock);
    auto* version = Export<const char*()>("version");
    const char* text = version ? version() : nullptr;
    return text ? QString::fromUtf8(text) : QStringLiteral("Error");
}

void TQVL_System_SoundSystem::Info(QString& result)
{
    const std::lock_guard guard(libraryLock);
    auto* info = Export<const char*()>("info");
    if (const char* text = info ? info() : nullptr)
        result = QString::fromUtf8(text);
}
