#include "core/QVL_LateLibrary.h"

#include <QFile>

#include <dlfcn.h>

namespace TQVL_LateLibrary {

void* Open(const QString& file, QString* error)
{
    void* library = dlopen(QFile::encodeName(file).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!library && error)
        *error = QString::fromLocal8Bit(dlerror());
    return library;
}

void* Symbol(void* library, const char* name, QString* error)
{
    void* symbol = library ? dlsym(library, name) : nullptr;
    if (!symbol && error)
        *error = library ? QString::fromLocal8Bit(dlerror()) : QStringLiteral("Die Bibliothek ist nicht geladen.");
    return symbol;
}

} // namespace TQVL_LateLibrary
