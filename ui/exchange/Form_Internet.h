#pragma once

#include "ui/shell/FormMeta.h"

#include <QUrl>

#include <functional>
#include <memory>

class QPushButton;
class QWebEngineView;
class TNavigator;
class TQuorvelWebPage;
class TWebView;

// "Quorvel Community": the community web page in an embedded browser. When
// the page cannot be loaded a short German page says so instead.
class TFormInternet : public TFormMeta
{
    Q_OBJECT
public:
    explicit TFormInternet(QWidget* parent = nullptr);
    ~TFormInternet() override;

    // Loads `address` (the option community_url).
    void Navigate(const QString& address);
    // What the program does with a "quorvel://" link of the page.
    static void HandleQuorvelLink(const QUrl& link, TNavigator& navigator);
    // The page shown when `address` cannot be loaded.
    static QString OfflinePage(const QString& address);

    // Both nullptr when the browser module cannot be loaded.
    QWebEngineView* WebBrowser1 = nullptr;
    TQuorvelWebPage* Page = nullptr;
    QPushButton* Button_Back = nullptr;
    // Receives the "quorvel://" links; HandleQuorvelLink unless a test replaces it.
    std::function<void(const QUrl& link)> OnQuorvelLink = [this](const QUrl& link) {
        HandleQuorvelLink(link, Navigator());
    };

private:
    std::unique_ptr<TWebView> browser;
    QString address;
};
