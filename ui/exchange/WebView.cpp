#include "ui/exchange/WebView.h"

#include "core/QVL_LateLibrary.h"
#include "core/QVL_System.h"

#include <QCoreApplication>
#include <QOpenGLContext>

// Qt's own setter of the context that all contexts share (the browser engine
// declares it the same way); the public API only reads it.
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);
QT_END_NAMESPACE

namespace {

// The browser engine renders through a context that all others share, and
// fails without one. Qt makes it when the application is created if asked to
// (Qt::AA_ShareOpenGLContexts), but that loads the graphics driver at every
// start, which took a third of the start. Nothing else in the program draws
// with OpenGL, so the context is made here, before the engine is loaded.
void ShareGraphicsContexts()
{
    if (QOpenGLContext::globalShareContext())
        return;
    static QOpenGLContext* context = nullptr;
    context = new QOpenGLContext;
    context->setFormat(QSurfaceFormat::defaultFormat());
    // Without a driver (as on the offscreen platform) the engine draws without OpenGL.
    context->create();
    qt_gl_set_global_share_context(context);
    // Runs after the engine's own clean-up, which was added later.
    qAddPostRoutine([] {
        qt_gl_set_global_share_context(nullptr);
        delete context;
        context = nullptr;
    });
}

} // namespace

QString TWebView::ModuleFile()
{
    return TQVL_System::ModuleFileOf(QCoreApplication::applicationDirPath(), QStringLiteral("webview.so"));
}

TWebView* TWebView::Create(QWidget* parent, QString* error)
{
    // Kept loaded for the rest of the run: the engine cannot be unloaded.
    static void* module = nullptr;
    if (!module) {
        ShareGraphicsContexts();
        module = TQVL_LateLibrary::Open(ModuleFile(), error);
        if (!module)
            return nullptr;
    }
    TCreateWebViewFunction create = nullptr;
    return TQVL_LateLibrary::Bind(module, create, "quorvel_create_web_view", error) ? create(parent) : nullptr;
}
