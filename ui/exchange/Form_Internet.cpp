#include "ui/exchange/Form_Internet.h"

#include "ui/exchange/WebView.h"
#include "ui/help/HelpService.h"
#include "ui/shell/DialogService.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/Navigator.h"
#include "ui/shell/PlainText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <unistd.h>

TFormInternet::TFormInternet(QWidget* parent) : TFormMeta(parent)
{
    setObjectName(QStringLiteral("FormInternet"));
    SetCaption(QStringLiteral("Internet"));
    // Chromium refuses to start its sandbox for root; the page is the
    // project's own, so the browser runs without one there.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");

    QString error;
    browser.reset(TWebView::Create(Content(), &error));
    QWidget* view = nullptr;
    if (browser) {
        WebBrowser1 = browser->View;
        Page = browser->Page;
        view = browser->Widget;
        view->setObjectName(QStringLiteral("WebBrowser1"));
        browser->OnQuorvelLink = [this](const QUrl& link) {
            // Called from inside the browser's navigation: act once it has returned.
            QMetaObject::invokeMethod(
                this, [this, link] { Guarded([this, link] { if (OnQuorvelLink) OnQuorvelLink(link); }); },
                Qt::QueuedConnection);
        };
        browser->OnLoadFailed = [this](const QUrl& url) {
            if (url == QUrl(address))
                browser->SetHtml(OfflinePage(address), QUrl(QStringLiteral("about:blank")));
        };
    } else {
        view = AsPlainText(
            new QLabel(QStringLiteral("Die Community-Seite kann nicht angezeigt werden: %1").arg(error), Content()));
        static_cast<QLabel*>(view)->setWordWrap(true);
    }

    Button_Back = new QPushButton(QStringLiteral("Zurück"), Content());
    Button_Back->setObjectName(QStringLiteral("Button_Back"));
    SetEscapeButton(Button_Back);
    connect(Button_Back, &QPushButton::clicked, this,
            [this] { Guarded([this] { Navigator().Show(TDestination::MainMenu); }); });

    auto* layout = new QVBoxLayout(Content());
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(view, 1);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(Button_Back);
    layout->addLayout(row);
}

TFormInternet::~TFormInternet() = default;

void TFormInternet::Navigate(const QString& target)
{
    address = target;
    if (!browser)
        return;
    const QUrl url(target);
    if (target.isEmpty() || !url.isValid()) {
        browser->SetHtml(OfflinePage(target), QUrl(QStringLiteral("about:blank")));
        return;
    }
    browser->Load(url);
}

QString TFormInternet::OfflinePage(const QString& address)
{
    return QStringLiteral(
               "<!DOCTYPE html><html lang=\"de\"><head><meta charset=\"utf-8\"><title>Quorvel Community</title>"
               "<style>body{font-family:sans-serif;margin:40px;color:#333}h1{font-size:20px;color:#2d5f8b}"
               "p{font-size:14px;line-height:1.5}</style></head><body>"
               "<h1>Die Quorvel Community ist gerade nicht erreichbar</h1>"
               "<p>Die Seite <b>%1</b> konnte nicht geladen werden. Vermutlich besteht gerade keine Verbindung "
               "zum Internet.</p><p>Bitte prüfen Sie Ihre Internetverbindung und öffnen Sie die Community "
               "später noch einmal. Ihre Lektionen und Ergebnisse sind davon nicht betroffen.</p></body></html>")
        .arg(address.toHtmlEscaped());
}

void TFormInternet::HandleQuorvelLink(const QUrl& link, TNavigator& navigator)
{
    const QString host = link.host();
    const QString path = link.path().mid(1);
    if (host == QLatin1String("updates")) {
        navigator.Run(TCommand::Update);
    } else if (host == QLatin1String("help") && !path.isEmpty()) {
        THelpService::ShowHelpPage(path);
    } else if (host == QLatin1String("start")) {
        navigator.Show(TDestination::MainMenu);
    } else {
        TDialogService::Current().ShowInformation(
            QStringLiteral("Der Verweis \"%1\" wird von dieser Programmversion nicht unterstützt.")
                .arg(link.toString()));
    }
}
