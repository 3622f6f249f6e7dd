#pragma once

#include <QString>
#include <QUrl>

#include <functional>

class QWidget;
class QWebEngineView;
class TQuorvelWebPage;

// The embedded browser of the community screen. It lives in the module
// data/webview.so (lib/quorvel/webview.so when installed), loaded when the
// screen first opens: the browser engine's libraries would otherwise be
// loaded and bound at every program start.
class TWebView
{
public:
    virtual ~TWebView() = default;
    virtual void Load(const QUrl& url) = 0;
    virtual void SetHtml(const QString& html, const QUrl& base) = 0;

    QWidget* Widget = nullptr;
    QWebEngineView* View = nullptr;
    TQuorvelWebPage* Page = nullptr;
    // A "quorvel://" link of the page; it is never loaded.
    std::function<void(const QUrl& link)> OnQuorvelLink;
    // A page that could not be loaded.
    std::function<void(const QUrl& url)> OnLoadFailed;

    // Loads the module on first use; nullptr (and `error` set) without it.
    static TWebView* Create(QWidget* parent, QString* error);
    static QString ModuleFile();
};

// The module's only entry point.
extern "C" using TCreateWebViewFunction = TWebView* (*)(QWidget* parent);
