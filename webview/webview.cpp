#include "ui/exchange/WebView.h"
#include "webview/WebPage.h"

#include <QWebEngineLoadingInfo>
#include <QWebEngineView>

namespace {

const QString programScheme = QStringLiteral("quorvel://");

class TEngineWebView final : public TWebView
{
public:
    explicit TEngineWebView(QWidget* parent)
    {
        View = new QWebEngineView(parent);
        Widget = View;
        Page = new TQuorvelWebPage(View);
        View->setPage(Page);
        Page->OnQuorvelLink = [this](const QUrl& link) {
            if (OnQuorvelLink)
                OnQuorvelLink(link);
        };
        failed = QObject::connect(Page, &QWebEnginePage::loadingChanged, Page, [this](const QWebEngineLoadingInfo& info) {
            if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus && OnLoadFailed)
                OnLoadFailed(info.url());
        });
    }

    // The view outlives this object (its parent widget deletes it).
    ~TEngineWebView() override
    {
        QObject::disconnect(failed);
        Page->OnQuorvelLink = nullptr;
    }

    void Load(const QUrl& url) override { View->load(url); }
    void SetHtml(const QString& html, const QUrl& base) override { Page->setHtml(html, base); }

private:
    QMetaObject::Connection failed;
};

} // namespace

bool TQuorvelWebPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    if (url.toString().startsWith(programScheme)) {
        if (OnQuorvelLink)
            OnQuorvelLink(url);
        return false;
    }
    return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
}

extern "C" __attribute__((visibility("default"))) TWebView* quorvel_create_web_view(QWidget* parent)
{
    return new TEngineWebView(parent);
}
