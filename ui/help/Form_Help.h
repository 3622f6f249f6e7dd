#pragma once

#include <QMainWindow>
#include <QUrl>

class QHelpEngine;
class QLineEdit;
class QTabWidget;
class QTextBrowser;

// The help window: a non-modal top-level window over the compiled help with the
// contents tree, the keyword index, the full-text search and the page browser.
// Created and reused by THelpService; screens never create it themselves.
class TFormHelp : public QMainWindow
{
    Q_OBJECT
public:
    // `collectionFile` must lie in a writable folder (THelpService::WritableCollection).
    // Raises TQVL_Error when the collection cannot be opened or holds no help.
    explicit TFormHelp(const QString& collectionFile, QWidget* parent = nullptr);
    ~TFormHelp() override;

    // Shows the page named `pageName` (a page file name, optionally with "#anchor").
    // An unknown name shows the contents page and a notice in the status line;
    // returns whether the page exists.
    bool ShowPage(const QString& pageName);
    void ShowContents();
    // Brings the "Suchen" tab to the front with the keyboard focus in its input.
    void ShowSearch();

    bool HasPage(const QString& pageName) const;
    QUrl PageUrl(const QString& pageName) const;
    // The title of the page shown now.
    QString CurrentTitle() const;
    QUrl CurrentUrl() const;
    // True while the search index is being built; searching before it is done
    // finds nothing.
    bool IsIndexing() const { return indexing; }

    QHelpEngine& Engine() const { return *engine; }

    QTabWidget* Tabs = nullptr;
    QTextBrowser* Browser = nullptr;
    QLineEdit* Edit_IndexFilter = nullptr;

protected:
    // Names and describes the controls for a screen reader.
    void showEvent(QShowEvent* event) override;

private:
    void buildWindow();
    void bindSearch();
    void openUrl(const QUrl& url);
    void syncContents(const QUrl& url);
    QString indexStamp() const;
    bool indexIsCurrent() const;

    QHelpEngine* engine = nullptr;
    QString helpNamespace;
    bool indexing = false;
};
