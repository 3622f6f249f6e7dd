#include "ui/exchange/WebView.h"

#include "core/QVL_System.h"

#include <QCoreApplication>
#include <QFile>

#include <dlfcn.h>

QString TWebView::ModuleFile()
{
    QString file = TQVL_System::SoundLibraryFileOf(QCoreApplication::applicationDirPath());
    return file.left(file.lastIndexOf(QLatin1Char('/')) + 1) + QStringLiteral("webview.so");
}

TWebView* TWebView::Create(QWidget* parent, QString* error)
{
    // Kept loaded for the rest of the run: the engine cannot be unloaded.
    static void* module = nullptr;
    if (!module) {
        module = dlopen(QFile::encodeName(ModuleFile()).constData(), RTLD_NOW | RTLD_LOCAL);
        if (!module) {
            if (error)
                *error = QString::fromLocal8Bit(dlerror());
            return nullptr;
        }
    }
    auto create = reinterpret_cast<TCreateWebViewFunction>(dlsym(module, "quorvel_create_web_view"));
    if (!create) {
        if (error)
            *error = QString::fromLocal8Bit(dlerror());
        return nullptr;
    }
    return create(parent);
}
