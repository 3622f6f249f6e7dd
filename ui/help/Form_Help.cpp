#include "ui/help/Form_Help.h"

#include "core/QVL_Error.h"
#include "ui/help/HelpService.h"
#include "ui/shell/Accessibility.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHelpContentItem>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const QString VirtualFolder = QStringLiteral("doc");
// Remembers which compiled help the search index was built from.
const QString IndexStampKey = QStringLiteral("Quorvel/SearchIndexStamp");

// Loads pages, style sheets and pictures from the compiled help instead of the
// file system; relative references resolve against the page shown.
class THelpBrowser final : public QTextBrowser
{
public:
    THelpBrowser(QHelpEngine& helpEngine, QWidget* parent) : QTextBrowser(parent), engine(helpEngine) {}

    QVariant loadResource(int type, const QUrl& name) override
    {
        const QUrl url = name.isRelative() ? source().resolved(name) : name;
        if (url.scheme() == QLatin1String("qthelp"))
            return engine.fileData(url);
        return QTextBrowser::loadResource(type, url);
    }

private:
    QHelpEngine& engine;
};

QWidget* withMargins(QWidget* content, QWidget* above = nullptr)
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    if (above)
        layout->addWidget(above);
    layout->addWidget(content);
    return page;
}

} // namespace

void TFormHelp::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    Accessibility::Describe(this, windowTitle());
}

TFormHelp::TFormHelp(const QString& collectionFile, QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("FormHelp"));
    setWindowTitle(QStringLiteral("Quorvel – Hilfe"));
    resize(980, 680);

    engine = new QHelpEngine(collectionFile, this);
    // The engine is read-only by default; it may write here (settings, search index).
    engine->setReadOnly(false);
    if (!engine->setupData() || engine->registeredDocumentations().isEmpty())
        throw TQVL_Error::WithCause(QStringLiteral("Die Hilfedatei \"%1\" konnte nicht geöffnet werden.")
                                        .arg(QDir::toNativeSeparators(collectionFile)),
                                    engine->error());
    helpNamespace = engine->registeredDocumentations().constFirst();

    buildWindow();
    bindSearch();
}

TFormHelp::~TFormHelp()
{
    // The index is built on a thread of its own that must not outlive the engine.
    engine->searchEngine()->cancelIndexing();
    // The engine's widgets work on its models and search engine: they go first.
    delete takeCentralWidget();
}

void TFormHelp::buildWindow()
{
    Browser = new THelpBrowser(*engine, this);
    Browser->setObjectName(QStringLiteral("Browser"));
    Browser->setAccessibleName(QStringLiteral("Hilfeseite"));
    // Links are followed here, so that pages of the help stay inside the engine
    // and only real web addresses go to the desktop's browser.
    Browser->setOpenLinks(false);
    connect(Browser, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
        const QUrl url = Browser->source().resolved(link);
        if (url.scheme() == QLatin1String("qthelp"))
            openUrl(url);
        else
            QDesktopServices::openUrl(url);
    });
    connect(Browser, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
        statusBar()->clearMessage();
        syncContents(url);
    });

    QHelpContentWidget* contents = engine->contentWidget();
    contents->setObjectName(QStringLiteral("Contents"));
    contents->setHeaderHidden(true);
    // Enter and a double click activate an entry; one click opens its page as well, as a link does.
    connect(contents, &QHelpContentWidget::linkActivated, this, &TFormHelp::openUrl);
    connect(contents, &QHelpContentWidget::clicked, this, [this](const QModelIndex& index) {
        if (const QHelpContentItem* item = engine->contentModel()->contentItemAt(index))
            openUrl(item->url());
    });
    connect(engine->contentModel(), &QHelpContentModel::contentsCreated, this, [this, contents] {
        contents->expandToDepth(0);
        syncContents(Browser->source());
    });

    QHelpIndexWidget* index = engine->indexWidget();
    index->setObjectName(QStringLiteral("Index"));
    Edit_IndexFilter = new QLineEdit;
    Edit_IndexFilter->setObjectName(QStringLiteral("Edit_IndexFilter"));
    Edit_IndexFilter->setPlaceholderText(QStringLiteral("Stichwort eingeben"));
    Edit_IndexFilter->setClearButtonEnabled(true);
    connect(Edit_IndexFilter, &QLineEdit::textChanged, index,
            [index](const QString& text) { index->filterIndices(text); });
    connect(Edit_IndexFilter, &QLineEdit::returnPressed, index, &QHelpIndexWidget::activateCurrentItem);
    connect(index, &QHelpIndexWidget::documentActivated, this,
            [this](const QHelpLink& document, const QString&) { openUrl(document.url); });
    // A keyword on several pages: the first one, the others are a click away in the contents.
    connect(index, &QHelpIndexWidget::documentsActivated, this,
            [this](const QList<QHelpLink>& documents, const QString&) {
                if (!documents.isEmpty())
                    openUrl(documents.constFirst().url);
            });

    QHelpSearchEngine* search = engine->searchEngine();
    QHelpSearchQueryWidget* query = search->queryWidget();
    query->setObjectName(QStringLiteral("SearchQuery"));
    QHelpSearchResultWidget* results = search->resultWidget();
    results->setObjectName(QStringLiteral("SearchResults"));
    connect(query, &QHelpSearchQueryWidget::search, this,
            [this, search, query] { search->search(query->searchInput()); });
    connect(results, &QHelpSearchResultWidget::requestShowLink, this, &TFormHelp::openUrl);
    auto* searchPage = new QWidget;
    auto* searchLayout = new QVBoxLayout(searchPage);
    searchLayout->setContentsMargins(4, 4, 4, 4);
    searchLayout->addWidget(query);
    searchLayout->addWidget(results, 1);

    Tabs = new QTabWidget;
    Tabs->setObjectName(QStringLiteral("Tabs"));
    Tabs->addTab(withMargins(contents), QStringLiteral("Inhalt"));
    Tabs->addTab(withMargins(index, Edit_IndexFilter), QStringLiteral("Index"));
    Tabs->addTab(searchPage, QStringLiteral("Suchen"));

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(Tabs);
    splitter->addWidget(Browser);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({300, 680});
    setCentralWidget(splitter);

    QToolBar* tools = addToolBar(QStringLiteral("Navigation"));
    tools->setObjectName(QStringLiteral("ToolBar_Navigation"));
    tools->setMovable(false);
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction* back = tools->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Zurück"), Browser,
                                     &QTextBrowser::backward);
    QAction* forward = tools->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Vorwärts"),
                                        Browser, &QTextBrowser::forward);
    tools->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("Inhaltsverzeichnis"), this,
                     &TFormHelp::ShowContents);
    back->setShortcut(QKeySequence::Back);
    forward->setShortcut(QKeySequence::Forward);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(Browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(Browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
}

void TFormHelp::keyPressEvent(QKeyEvent* event)
{
    // The help sits beside the program; Escape takes the learner back to it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        close();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void TFormHelp::bindSearch()
{
    // A label of its own, so that the notice about a missing page stays readable.
    auto* indexingLabel = new QLabel(QStringLiteral("Der Suchindex wird aufgebaut..."));
    indexingLabel->setObjectName(QStringLiteral("Label_Indexing"));
    indexingLabel->hide();
    statusBar()->addPermanentWidget(indexingLabel);

    QHelpSearchEngine* search = engine->searchEngine();
    connect(search, &QHelpSearchEngine::indexingStarted, this, [this, indexingLabel] {
        indexing = true;
        indexingLabel->show();
    });
    connect(search, &QHelpSearchEngine::indexingFinished, this, [this, indexingLabel] {
        indexing = false;
        indexingLabel->hide();
        engine->setCustomValue(IndexStampKey, indexStamp());
    });
    if (!indexIsCurrent()) {
        // Set before the thread starts, so that a search right after opening waits for it.
        indexing = true;
        indexingLabel->show();
        search->reindexDocumentation();
    }
}

// Identifies the compiled help files the collection refers to: a rebuilt or
// updated help changes it, and the index is rebuilt.
QString TFormHelp::indexStamp() const
{
    QStringList parts;
    for (const QString& name : engine->registeredDocumentations()) {
        const QFileInfo file(engine->documentationFileName(name));
        parts << name + QLatin1Char('|') + QString::number(file.size()) + QLatin1Char('|') +
                     QString::number(file.lastModified().toMSecsSinceEpoch());
    }
    return parts.join(QLatin1Char(';'));
}

bool TFormHelp::indexIsCurrent() const
{
    // The search engine keeps its index in a hidden folder beside the collection.
    const QFileInfo collection(engine->collectionFile());
    const QString indexFolder = collection.absolutePath() + QStringLiteral("/.") + collection.completeBaseName();
    return QFileInfo::exists(indexFolder + QStringLiteral("/fts")) &&
           engine->customValue(IndexStampKey).toString() == indexStamp();
}

QUrl TFormHelp::PageUrl(const QString& pageName) const
{
    const qsizetype hash = pageName.indexOf(QLatin1Char('#'));
    QUrl url;
    url.setScheme(QStringLiteral("qthelp"));
    url.setHost(helpNamespace);
    url.setPath(QLatin1Char('/') + VirtualFolder + QLatin1Char('/') + (hash < 0 ? pageName : pageName.left(hash)));
    if (hash >= 0)
        url.setFragment(pageName.mid(hash + 1));
    return url;
}

bool TFormHelp::HasPage(const QString& pageName) const
{
    const QString file = pageName.section(QLatin1Char('#'), 0, 0);
    if (!file.endsWith(QLatin1String(".html"), Qt::CaseInsensitive) &&
        !file.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive))
        return false;
    // findFile() accepts any name inside the namespace; only the data tells.
    return !engine->fileData(PageUrl(pageName).adjusted(QUrl::RemoveFragment)).isEmpty();
}

bool TFormHelp::ShowPage(const QString& pageName)
{
    if (HasPage(pageName)) {
        openUrl(PageUrl(pageName));
        return true;
    }
    ShowContents();
    statusBar()->showMessage(
        QStringLiteral("Die Hilfeseite \"%1\" ist nicht vorhanden. Es wird das Inhaltsverzeichnis angezeigt.")
            .arg(pageName));
    return false;
}

void TFormHelp::ShowContents()
{
    openUrl(PageUrl(THelpService::ContentsPage()));
}

void TFormHelp::ShowSearch()
{
    Tabs->setCurrentIndex(2);
    if (auto* input = engine->searchEngine()->queryWidget()->findChild<QLineEdit*>())
        input->setFocus();
}

QString TFormHelp::CurrentTitle() const
{
    return Browser->documentTitle();
}

QUrl TFormHelp::CurrentUrl() const
{
    return Browser->source();
}

void TFormHelp::openUrl(const QUrl& url)
{
    if (Browser->source() == url)
        Browser->reload();
    else
        Browser->setSource(url, QTextDocument::HtmlResource);
}

void TFormHelp::syncContents(const QUrl& url)
{
    QHelpContentWidget* contents = engine->contentWidget();
    const QModelIndex item = contents->indexOf(url.adjusted(QUrl::RemoveFragment));
    if (item.isValid())
        contents->setCurrentIndex(item);
}
