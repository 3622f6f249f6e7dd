#pragma once

#include <QUrl>
#include <QWebEnginePage>

#include <functional>

// The browser page of the community screen: a link into the program
// ("quorvel://…") is never loaded, it goes to OnQuorvelLink.
class TQuorvelWebPage : public QWebEnginePage
{
    Q_OBJECT
public:
    using QWebEnginePage::QWebEnginePage;

    std::function<void(const QUrl& link)> OnQuorvelLink;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
};
