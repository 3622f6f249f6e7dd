#include "ui/Main.h"

#include "core/QVL.h"
#include "ui/DialogService.h"
#include "ui/Guarded.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

TFormMain::TFormMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QApplication::applicationDisplayName());
    resize(1024, 720);
    TDialogService::SetParentWindow(this);

    Label_Welcome = new QLabel(this);
    Label_Welcome->setObjectName(QStringLiteral("Label_Welcome"));
    Label_Welcome->setAlignment(Qt::AlignCenter);
    Label_Welcome->setWordWrap(true);
    Label_Welcome->setMargin(24);
    setCentralWidget(Label_Welcome);
    statusBar();

    createActions();
    const bool created = Guarded([this] {
        core = std::make_unique<TQVL>();
        bindCore();
    });
    if (!created)
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

TFormMain::~TFormMain()
{
    shutdown();
}

void TFormMain::createActions()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&Datei"));
    Action_Exit = file->addAction(QStringLiteral("&Beenden"), this, &QWidget::close);
    Action_Exit->setObjectName(QStringLiteral("Action_Exit"));
    Action_Exit->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Hilfe"));
    Action_HelpContents = help->addAction(QStringLiteral("&Inhalt"), this, [] {
        TDialogService::Current().ShowInformation(QStringLiteral("Diese Funktion ist noch nicht verfügbar."));
    });
    Action_HelpContents->setObjectName(QStringLiteral("Action_HelpContents"));
    Action_HelpContents->setShortcut(QKeySequence(Qt::Key_F1));
    Action_About = help->addAction(QStringLiteral("Ü&ber Quorvel"), this, [this] {
        TDialogService::Current().ShowInformation(QStringLiteral("Vokabeltrainer Quorvel\nVersion %1")
                                                      .arg(core ? core->System->ProgramVersion : QString()));
    });
    Action_About->setObjectName(QStringLiteral("Action_About"));
}

void TFormMain::bindCore()
{
    core->OnUserSelectionRequired = [this] { showUserSelectionNotice(); };
    core->OnUpdateSearchStart = [this] { statusBar()->showMessage(QStringLiteral("Es wird nach Updates gesucht...")); };
    core->OnUpdateSearchDone = [this](bool updatesFound, bool searchFailed) {
        if (searchFailed)
            statusBar()->showMessage(QStringLiteral("Die Suche nach Updates ist fehlgeschlagen."), 10000);
        else if (updatesFound)
            statusBar()->showMessage(QStringLiteral("Es sind Updates verfügbar."));
        else
            statusBar()->clearMessage();
    };
    core->System->MainWindowHandle = quintptr(winId());
}

void TFormMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (activated || !core)
        return;
    activated = true;
    // Start once the window is on screen, so that the learner sees where messages come from.
    QTimer::singleShot(0, this, &TFormMain::startup);
}

void TFormMain::startup()
{
    Label_Welcome->setText(QStringLiteral("Vokabeltrainer Quorvel wird gestartet..."));
    startedUp = Guarded([this] { core->Startup(); });
    if (!startedUp) {
        close();
        return;
    }
    statusBar()->showMessage(QStringLiteral("Version %1").arg(core->System->ProgramVersion));
}

void TFormMain::showUserSelectionNotice()
{
    Label_Welcome->setText(QStringLiteral("<h2>Willkommen beim Vokabeltrainer Quorvel</h2>"
                                          "<p>Bitte wählen Sie ein Benutzerprofil aus.</p>"));
}

void TFormMain::closeEvent(QCloseEvent* event)
{
    shutdown();
    event->accept();
}

void TFormMain::shutdown()
{
    if (shutDown || !core)
        return;
    shutDown = true;
    setEnabled(false);
    Guarded([this] { core->CloseFiles(); });
    core.reset();
}
