#include "tests/support/ScriptedDialogService.h"
#include "ui/help/Form_Help.h"
#include "ui/help/HelpService.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <gtest/gtest.h>

namespace {

// Every page the screens open by name, with the title the page must show.
const std::pair<const char*, const char*> ScreenPages[] = {
    {"help_content.html", "Inhaltsverzeichnis"},
    {"help_common_firststeps.html", "Erste Schritte in Quorvel"},
    {"help_units_select.html", "Lektion auswählen"},
    {"help_longtermstorage.html", "Der Langzeitspeicher"},
    {"help_users_manage.html", "Benutzerprofile verwalten"},
    {"help_languages_manage.html", "Sprachprofile verwalten"},
    {"help_options.html", "Programmeinstellungen"},
    {"help_query_options.html", "Abfrageeinstellungen"},
    {"help_query_mulitplefiles.html", "Mehrere Lektionen abfragen"},
    {"help_query_voc.html", "Abfrage von Vokabeln"},
    {"help_query_voc_multiplechoice.html", "Multiple-Choice-Abfrage"},
    {"help_query_pic.html", "Abfrage von Bildern"},
    {"help_query_grammar.html", "Abfrage von Grammatik-Karten"},
    {"help_query_resultstatistics.html", "Das Ergebnis Ihrer Abfrage"},
    {"help_edit_voc.html", "Vokabeln hinzufügen und bearbeiten"},
    {"help_edit_sound.html", "Vokabeln mit Ton bearbeiten"},
    {"help_edit_picture.html", "Bilder-Karten bearbeiten"},
    {"help_edit_grammar.html", "Grammatik-Karten bearbeiten"},
    {"help_show_voc.html", "Vokabeln anzeigen"},
    {"help_show_pic.html", "Bilder-Karten anzeigen"},
    {"help_show_grammar.html", "Grammatik-Karten anzeigen"},
    {"help_play_voc.html", "Vokabeln vorspielen"},
    {"help_play_pic.html", "Bilder vorspielen"},
    {"help_play_grammar.html", "Grammatik-Karten vorspielen"},
    {"help_play_timeroptions.html", "Einstellungen zum automatischen Timer"},
    {"help_print_cards.html", "Karten drucken"},
    {"help_prin_voc.html", "Vokabeln drucken"},
    {"help_print_grammar.html", "Grammatik-Karten drucken"},
    {"help_units_import.html", "Lektionen importieren"},
    {"help_units_integrate.html", "Lektionen zusammenführen"},
    {"help_updates.html", "Updates suchen und installieren"},
    {"Form_Main.html", "Das Hauptfenster"},
    {"Form_UsersSelect.html", "Benutzer wählen"},
    {"Form_MainMenu.html", "Das Hauptmenü"},
    {"Form_MainMenuTwo.html", "Weitere Funktionen"},
    {"Form_MenuUnitsNew.html", "Neue Lektion erstellen"},
    {"Form_MenuQuery.html", "Vokabeln abfragen: die Abfragevarianten"},
    {"Form_MenuPlay.html", "Vokabeln vorspielen: die Formen"},
    {"Form_Statistics.html", "Erfolg & Statistiken"},
    {"Form_Internet.html", "Quorvel Community"},
    {"Form_AboutQuorvel.html", "Über Quorvel"},
};

// Readable failure output: gtest prints std::string, not QString.
std::string str(const QString& text)
{
    return text.toStdString();
}

std::string str(const QStringList& list)
{
    return list.join(QStringLiteral(", ")).toStdString();
}

QString installedHelpFolder()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/help");
}

QStringList htmlPages(QHelpEngine& engine, const QString& helpNamespace)
{
    QStringList pages;
    for (const QUrl& url : engine.files(helpNamespace, QString(), QStringLiteral("html")))
        pages << url.fileName();
    return pages;
}

bool waitForIndex(TFormHelp& window)
{
    return QTest::qWaitFor([&] { return !window.IsIndexing(); }, 30000);
}

// The pages whose search finds `word`.
QStringList searchFor(TFormHelp& window, const QString& word)
{
    QHelpSearchEngine* search = window.Engine().searchEngine();
    QSignalSpy finished(search, &QHelpSearchEngine::searchingFinished);
    QHelpSearchQueryWidget* query = search->queryWidget();
    query->setSearchInput(word);
    QTest::keyClick(query->findChild<QLineEdit*>(), Qt::Key_Return);
    if (!finished.wait(30000))
        return {QStringLiteral("<search did not finish>")};
    QStringList pages;
    for (const QHelpSearchResult& result : search->searchResults(0, search->searchResultCount()))
        pages << result.url().fileName();
    return pages;
}

// Each test works on its own copy of the compiled help (the engine writes into
// its collection) and its own cache folder, announced the way the program does.
class Help : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFileInfo::exists(installedHelpFolder() + QStringLiteral("/Quorvel8.qhc")))
            << "the help is built before the tests";
        ASSERT_TRUE(dir.isValid());
        QDir().mkpath(HelpFolder());
        for (const QString& name : {QStringLiteral("Quorvel8.qhc"), QStringLiteral("Quorvel8.qch")})
            ASSERT_TRUE(
                QFile::copy(installedHelpFolder() + QLatin1Char('/') + name, HelpFolder() + QLatin1Char('/') + name));
        oldCache = qgetenv("XDG_CACHE_HOME");
        qputenv("XDG_CACHE_HOME", QFile::encodeName(dir.path() + QStringLiteral("/cache")));
        qApp->setProperty("HelpFile", HelpFolder() + QStringLiteral("/Quorvel8.qhc"));
    }

    void TearDown() override
    {
        THelpService::CloseHelpWindow();
        qApp->setProperty("HelpFile", QVariant());
        if (oldCache.isNull())
            qunsetenv("XDG_CACHE_HOME");
        else
            qputenv("XDG_CACHE_HOME", oldCache);
    }

    QString HelpFolder() const { return dir.path() + QStringLiteral("/program/help"); }

    QTemporaryDir dir;
    QByteArray oldCache;
    ScriptedDialogService dialogs;
};

TEST_F(Help, EveryPageAScreenOpensExistsWithItsTitle)
{
    TFormHelp window(HelpFolder() + QStringLiteral("/Quorvel8.qhc"));
    for (const auto& [page, title] : ScreenPages) {
        const QString name = QString::fromUtf8(page);
        ASSERT_TRUE(window.HasPage(name)) << page;
        EXPECT_TRUE(window.ShowPage(name)) << page;
        EXPECT_EQ(str(window.CurrentTitle()), title) << page;
    }
    // Only pages count: no unknown names, no style sheet; an anchor behind a page name is fine.
    const std::pair<QString, bool> names[] = {
        {QStringLiteral("help_nothing.html"), false},
        {QString(), false},
        {QStringLiteral("#top"), false},
        {QStringLiteral("quorvel.css"), false},
        {QStringLiteral("help_query_voc.html#top"), true},
    };
    for (const auto& [name, exists] : names)
        EXPECT_EQ(window.HasPage(name), exists) << str(name);
}

TEST_F(Help, NoPageLinksToAPageThatDoesNotExist)
{
    TFormHelp window(HelpFolder() + QStringLiteral("/Quorvel8.qhc"));
    const QString helpNamespace = window.Engine().registeredDocumentations().constFirst();
    const QStringList pages = htmlPages(window.Engine(), helpNamespace);
    ASSERT_GE(pages.size(), int(std::size(ScreenPages)));
    const QRegularExpression href(QStringLiteral("href=\"([^\"]+)\""));
    for (const QString& page : pages) {
        const QByteArray html = window.Engine().fileData(window.PageUrl(page));
        ASSERT_FALSE(html.isEmpty()) << str(page);
        for (const QRegularExpressionMatch& link : href.globalMatch(QString::fromUtf8(html))) {
            const QString target = link.captured(1);
            const QUrl url = window.PageUrl(page).resolved(QUrl(target)).adjusted(QUrl::RemoveFragment);
            EXPECT_FALSE(window.Engine().fileData(url).isEmpty()) << str(page) << " -> " << str(target);
        }
    }
}

TEST_F(Help, AHelpButtonOpensItsPageInOneReusedWindow)
{
    THelpService::ShowHelpPage(QStringLiteral("help_units_select.html"));
    TFormHelp* window = THelpService::Window();
    ASSERT_NE(window, nullptr) << str(dialogs.Errors);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(str(window->windowTitle()), "Quorvel – Hilfe");
    EXPECT_EQ(str(window->CurrentTitle()), "Lektion auswählen");
    EXPECT_TRUE(window->Browser->toPlainText().contains(QStringLiteral("Ordner stehen immer oben.")));

    // A link of the page leads to the page it names.
    emit window->Browser->anchorClicked(QUrl(QStringLiteral("help_longtermstorage.html")));
    EXPECT_EQ(str(window->CurrentTitle()), "Der Langzeitspeicher");

    THelpService::ShowHelpPage(QStringLiteral("help_options.html"));
    EXPECT_EQ(THelpService::Window(), window);
    EXPECT_EQ(str(window->CurrentTitle()), "Programmeinstellungen");
    THelpService::ShowHelpContents();
    EXPECT_EQ(THelpService::Window(), window);
    EXPECT_EQ(str(window->CurrentTitle()), "Inhaltsverzeichnis");
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << str(dialogs.Errors);

    QTest::keyClick(window->Browser, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([] { return THelpService::Window() == nullptr; }, 5000))
        << "Escape closes the window, and closing destroys it";
}

TEST_F(Help, OneClickOrEnterInTheContentsOpensAPageAndTheContentsShowTheirFocus)
{
    THelpService::ShowHelpContents();
    TFormHelp* window = THelpService::Window();
    ASSERT_NE(window, nullptr) << str(dialogs.Errors);
    auto* contents = window->findChild<QHelpContentWidget*>(QStringLiteral("Contents"));
    ASSERT_NE(contents, nullptr);
    const auto entry = [&](const QString& page) { return contents->indexOf(window->PageUrl(page)); };
    ASSERT_TRUE(QTest::qWaitFor([&] { return entry(QStringLiteral("help_options.html")).isValid(); }, 10000));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));

    const QModelIndex options = entry(QStringLiteral("help_options.html"));
    contents->scrollTo(options);
    QTest::mouseClick(contents->viewport(), Qt::LeftButton, {}, contents->visualRect(options).center());
    EXPECT_EQ(str(window->CurrentTitle()), "Programmeinstellungen") << "one click opened the page";

    const QModelIndex storage = entry(QStringLiteral("help_longtermstorage.html"));
    ASSERT_TRUE(storage.isValid());
    contents->setCurrentIndex(storage);
    QTest::keyClick(contents, Qt::Key_Return);
    EXPECT_EQ(str(window->CurrentTitle()), "Der Langzeitspeicher") << "Enter opened the page";

    window->Browser->setFocus();
    const QImage elsewhere = contents->viewport()->grab().toImage();
    contents->setFocus();
    EXPECT_NE(contents->viewport()->grab().toImage(), elsewhere) << "the focused contents look like the unfocused ones";
}

TEST_F(Help, AnUnknownPageShowsTheContentsWithANotice)
{
    for (const QString& name : {QStringLiteral("help_nothing.html"), QString(), QStringLiteral("#top")}) {
        THelpService::ShowHelpPage(QStringLiteral("help_options.html"));
        THelpService::ShowHelpPage(name);
        TFormHelp* window = THelpService::Window();
        ASSERT_NE(window, nullptr);
        // The search index is built meanwhile; its progress must not hide the notice.
        ASSERT_TRUE(waitForIndex(*window));
        EXPECT_EQ(str(window->CurrentTitle()), "Inhaltsverzeichnis") << str(name);
        EXPECT_EQ(str(window->statusBar()->currentMessage()),
                  str(QStringLiteral("Die Hilfeseite \"%1\" ist nicht vorhanden. Es wird das Inhaltsverzeichnis "
                                     "angezeigt.")
                          .arg(name)));
    }
    THelpService::ShowHelpPage(QStringLiteral("help_options.html"));
    EXPECT_TRUE(THelpService::Window()->statusBar()->currentMessage().isEmpty())
        << "the notice goes with the next page";
}

TEST_F(Help, TheSearchFindsTheOnePageThatUsesAWord)
{
    THelpService::ShowHelpSearch();
    TFormHelp* window = THelpService::Window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(str(window->Tabs->tabText(window->Tabs->currentIndex())), "Suchen");
    ASSERT_TRUE(waitForIndex(*window));

    // The words occur on exactly one page each; the search must find that page.
    const QString helpNamespace = window->Engine().registeredDocumentations().constFirst();
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("Kärtchen"), QStringLiteral("help_prin_voc.html")},
        {QStringLiteral("Radius"), QStringLiteral("help_edit_picture.html")},
        {QStringLiteral("Gesamtübungszeit"), QStringLiteral("Form_UsersSelect.html")},
    };
    for (const auto& [word, page] : cases) {
        QStringList using_;
        for (const QString& candidate : htmlPages(window->Engine(), helpNamespace))
            if (QString::fromUtf8(window->Engine().fileData(window->PageUrl(candidate))).contains(word))
                using_ << candidate;
        ASSERT_EQ(str(using_), str(page)) << str(word);
        EXPECT_EQ(str(searchFor(*window, word)), str(page)) << str(word);
    }
    EXPECT_EQ(str(searchFor(*window, QStringLiteral("Quantenphysik"))), "");
}

TEST_F(Help, TheIndexLeadsFromAKeywordToItsPage)
{
    THelpService::ShowHelpContents();
    TFormHelp* window = THelpService::Window();
    ASSERT_NE(window, nullptr);
    QHelpIndexModel* index = window->Engine().indexModel();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !index->isCreatingIndex() && index->rowCount() > 0; }, 10000));
    window->Tabs->setCurrentIndex(1);
    QTest::keyClicks(window->Edit_IndexFilter, QStringLiteral("Langzeitspeicher"));
    QTest::keyClick(window->Edit_IndexFilter, Qt::Key_Return);
    EXPECT_EQ(str(window->CurrentTitle()), "Der Langzeitspeicher");
}

TEST_F(Help, AMissingHelpFileIsReportedAndOpensNoWindow)
{
    qApp->setProperty("HelpFile", QVariant());
    EXPECT_EQ(str(THelpService::HelpFile()), str(installedHelpFolder() + QStringLiteral("/Quorvel8.qhc")))
        << "without the property the help lies beside the program";

    qApp->setProperty("HelpFile", dir.path() + QStringLiteral("/nowhere/Quorvel8.qhc"));
    THelpService::ShowHelpContents();
    EXPECT_EQ(THelpService::Window(), nullptr);
    ASSERT_EQ(dialogs.Errors.size(), 1);
    EXPECT_EQ(str(dialogs.Errors.first()), str(QStringLiteral("Die Hilfedatei \"%1\" wurde nicht gefunden.")
                                                   .arg(dir.path() + QStringLiteral("/nowhere/Quorvel8.qhc"))));

    // A damaged collection is reported the same way instead of showing an empty window.
    const QString broken = dir.path() + QStringLiteral("/broken/Quorvel8.qhc");
    QDir().mkpath(dir.path() + QStringLiteral("/broken"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("kein Hilfeinhalt");
    file.close();
    qApp->setProperty("HelpFile", broken);
    THelpService::ShowHelpPage(QStringLiteral("help_options.html"));
    EXPECT_EQ(THelpService::Window(), nullptr);
    ASSERT_EQ(dialogs.Errors.size(), 2);
    EXPECT_TRUE(dialogs.Errors.last().startsWith(
        QStringLiteral("Die Hilfedatei \"%1\" konnte nicht geöffnet werden.").arg(broken)))
        << str(dialogs.Errors.last());
}

TEST_F(Help, TheSearchIndexIsRebuiltOnlyWhenTheHelpChanged)
{
    const QString collection = HelpFolder() + QStringLiteral("/Quorvel8.qhc");
    {
        TFormHelp first(collection);
        EXPECT_TRUE(first.IsIndexing()) << "a fresh installation has no index yet";
        ASSERT_TRUE(waitForIndex(first));
    }
    {
        TFormHelp again(collection);
        EXPECT_FALSE(again.IsIndexing());
        EXPECT_EQ(str(searchFor(again, QStringLiteral("Kärtchen"))), "help_prin_voc.html");
    }
    // An updated program brings a newer compiled help.
    QFile qch(HelpFolder() + QStringLiteral("/Quorvel8.qch"));
    ASSERT_TRUE(qch.open(QIODevice::ReadWrite));
    qch.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime);
    qch.close();
    TFormHelp updated(collection);
    EXPECT_TRUE(updated.IsIndexing());
    ASSERT_TRUE(waitForIndex(updated));
}

TEST_F(Help, AReadOnlyInstallationIsUsedThroughACopyInTheCache)
{
    const QString installed = HelpFolder() + QStringLiteral("/Quorvel8.qhc");
    EXPECT_EQ(str(THelpService::WritableCollection(installed)), str(installed)) << "a writable folder is used as it is";

    const QByteArray installedBytes = [&] {
        QFile file(installed);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    const QString copy = THelpService::CachedCollection(installed);
    EXPECT_TRUE(copy.startsWith(dir.path() + QStringLiteral("/cache/"))) << str(copy);
    EXPECT_TRUE(QFileInfo::exists(QFileInfo(copy).absolutePath() + QStringLiteral("/Quorvel8.qch")));
    {
        TFormHelp window(copy);
        ASSERT_TRUE(waitForIndex(window));
        EXPECT_TRUE(window.ShowPage(QStringLiteral("help_units_select.html")));
        EXPECT_EQ(str(searchFor(window, QStringLiteral("Kärtchen"))), "help_prin_voc.html");
        window.Engine().setCustomValue(QStringLiteral("Test/Marker"), QStringLiteral("bleibt"));
    }
    QFile file(installed);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), installedBytes) << "nothing is written into the installation";
    EXPECT_FALSE(QFileInfo::exists(HelpFolder() + QStringLiteral("/.Quorvel8")));

    // The copy keeps what the help window stored in it ...
    ASSERT_EQ(str(THelpService::CachedCollection(installed)), str(copy));
    {
        TFormHelp window(copy);
        EXPECT_EQ(str(window.Engine().customValue(QStringLiteral("Test/Marker")).toString()), "bleibt");
        EXPECT_FALSE(window.IsIndexing());
    }
    // ... until a newer installation replaces it.
    file.close();
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime);
    file.close();
    ASSERT_EQ(str(THelpService::CachedCollection(installed)), str(copy));
    TFormHelp window(copy);
    EXPECT_TRUE(window.Engine().customValue(QStringLiteral("Test/Marker")).isNull());
    EXPECT_TRUE(window.ShowPage(QStringLiteral("help_options.html")));
}

} // namespace
