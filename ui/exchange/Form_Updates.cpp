#include "ui/exchange/Form_Updates.h"

#include "core/QVL_Error.h"
#include "ui/help/HelpService.h"
#include "ui/shell/DialogService.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/PlainText.h"
#include "update/QVL_Update.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QStackedWidget>
#include <QStyle>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

struct TFormUpdates::TWork
{
    std::unique_ptr<TQVL_Update> Engine;
    TUpdateRelay* Relay = new TUpdateRelay;
    ~TWork() { Relay->deleteLater(); }
};

namespace {

enum Page
{
    pageList = 0,
    pageErrors = 1,
    pageRestart = 2,
};

QString startDetached(const TFormUpdates::TCommand& command)
{
    QProcess process;
    process.setProgram(command.Program);
    process.setArguments(command.Arguments);
    if (process.startDetached())
        return {};
    return process.errorString();
}

} // namespace

TFormUpdates::TStarter TFormUpdates::Starter = startDetached;

TFormUpdates::TFormUpdates(const QString& programVersion, const QString& dataFolder, QWidget* parent)
    : TFormDialogMeta(parent)
{
    setObjectName(QStringLiteral("FormUpdates"));
    setWindowTitle(QStringLiteral("Quorvel Vokabeltrainer"));
    Label1->setText(QStringLiteral("Updates suchen und installieren"));
    work = std::make_shared<TWork>();
    work->Engine = std::make_unique<TQVL_Update>(programVersion, dataFolder);
    QWidget* area = Content();

    PageControl1 = new QStackedWidget(area);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));

    VST1 = new QTreeWidget;
    VST1->setObjectName(QStringLiteral("VST1"));
    VST1->setColumnCount(3);
    VST1->setHeaderLabels({QStringLiteral("Version"), QStringLiteral("Beschreibung"), QStringLiteral("Datum")});
    VST1->setRootIsDecorated(false);
    VST1->setUniformRowHeights(false);
    VST1->setWordWrap(true);
    VST1->setAllColumnsShowFocus(true);
    VST1->setSelectionMode(QAbstractItemView::SingleSelection);
    VST1->header()->setStretchLastSection(false);
    VST1->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    VST1->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    VST1->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    PageControl1->addWidget(VST1);

    Memo1 = new QPlainTextEdit;
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    PageControl1->addWidget(Memo1);

    auto* restartPage = new QWidget;
    Label_RestartHeading = new QLabel(QStringLiteral("Quorvel mit Administrationsrechten neu starten"), restartPage);
    Label_RestartHeading->setObjectName(QStringLiteral("Label_RestartHeading"));
    QFont bold = Label_RestartHeading->font();
    bold.setBold(true);
    Label_RestartHeading->setFont(bold);
    Label_RestartText = new QLabel(
        QStringLiteral("Zum Einspielen der Updates werden Administrationsrechte benötigt und das Programm muss neu "
                       "gestartet werden.\n\nBitte schalten Sie dazu, falls nötig, die Einstellung \"Schutz von "
                       "Dateien und Software\" Ihres Virenschutzes vorübergehend aus."),
        restartPage);
    Label_RestartText->setObjectName(QStringLiteral("Label_RestartText"));
    Label_RestartText->setWordWrap(true);
    Button_Restart = new QPushButton(QStringLiteral("Jetzt neu starten"), restartPage);
    Button_Restart->setObjectName(QStringLiteral("Button_Restart"));
    auto* restartLayout = new QVBoxLayout(restartPage);
    restartLayout->addWidget(Label_RestartHeading);
    restartLayout->addWidget(Label_RestartText);
    restartLayout->addSpacing(8);
    restartLayout->addWidget(Button_Restart, 0, Qt::AlignLeft);
    restartLayout->addStretch();
    PageControl1->addWidget(restartPage);

    ProgressBar1 = new QProgressBar(area);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);

    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(16, 10, 16, 8);
    layout->addWidget(PageControl1, 1);
    layout->addWidget(ProgressBar1);

    dxButton1->setText(QStringLiteral("Hilfe"));
    dxButton2->setText(QStringLiteral("Abbruch"));
    dxButton3->setText(QStringLiteral("Installieren"));
    dxButton3->setEnabled(false);
    connect(dxButton1, &QPushButton::clicked, this,
            [] { Guarded([] { THelpService::ShowHelpPage(QStringLiteral("help_updates.html")); }); });
    connect(dxButton2, &QPushButton::clicked, this, &QDialog::reject);
    connect(dxButton3, &QPushButton::clicked, this, [this] { Guarded([this] { Install(); }); });
    connect(Button_Restart, &QPushButton::clicked, this, [this] { Guarded([this] { restart(); }); });

    connect(work->Relay, &TUpdateRelay::Progress, this, [this](int position, int maximum) {
        ProgressBar1->setMaximum(maximum);
        ProgressBar1->setValue(position);
    });
    connect(work->Relay, &TUpdateRelay::Error, this, [this](const QString& text) { showError(text); });
    connect(VST1->header(), &QHeaderView::sectionResized, this, [this](int column) {
        if (column == 1)
            fitRowHeights();
    });
    TUpdateRelay* relay = work->Relay;
    work->Engine->OnProgress = [relay](int position, int maximum) { emit relay->Progress(position, maximum); };
    work->Engine->OnError = [relay](const QString& text) { emit relay->Error(text); };
}

TFormUpdates::~TFormUpdates()
{
    cancelWork();
}

void TFormUpdates::cancelWork()
{
    if (!worker)
        return;
    // The download notices within a fraction of a second; unpacking a package
    // between two checks takes at most a few seconds.
    disconnect(worker, nullptr, this, nullptr);
    if (work)
        work->Engine->Cancel();
    worker->wait();
    worker = nullptr;
    busy = false;
}

void TFormUpdates::reject()
{
    cancelWork();
    // The engine goes with the dialog's work, its downloaded files with it.
    work.reset();
    TFormDialogMeta::reject();
}

TQVL_Update* TFormUpdates::Engine() const
{
    return work ? work->Engine.get() : nullptr;
}

void TFormUpdates::showEvent(QShowEvent* event)
{
    TFormDialogMeta::showEvent(event);
    if (searchScheduled)
        return;
    searchScheduled = true;
    ProgressBar1->setValue(0);
    // The learner sees the dialog before the network is asked.
    QTimer::singleShot(SearchDelayMs, this, [this] { StartSearch(); });
}

void TFormUpdates::runInBackground(std::function<void(TQVL_Update&)> job, std::function<void(const QString&)> done)
{
    busy = true;
    dxButton3->setEnabled(false);
    auto error = std::make_shared<QString>();
    QThread* thread = QThread::create([state = work, job = std::move(job), error]() mutable {
        try {
            job(*state->Engine);
        } catch (const TQVL_Error& failure) {
            *error = failure.Message();
        } catch (const std::exception& failure) {
            qWarning("Unexpected exception: %s", failure.what());
            *error = UnexpectedErrorText;
        }
        // Released here, not when the thread object is deleted later: a
        // dialog that is gone takes the engine's temporary files with it now.
        state.reset();
    });
    worker = thread;
    // Queued to the dialog, and dropped when the dialog is gone by then.
    connect(thread, &QThread::finished, this, [this, thread, error, done = std::move(done)] {
        // A cancelled job's result may still be on its way; it is dropped.
        if (worker != thread)
            return;
        worker = nullptr;
        busy = false;
        done(*error);
    });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

void TFormUpdates::StartSearch()
{
    if (busy || !work)
        return;
    VST1->clear();
    found = false;
    runInBackground([](TQVL_Update& engine) { (void)engine.SearchUpdates(nullptr); },
                    [this](const QString& error) { searchDone(error); });
}

void TFormUpdates::searchDone(const QString& error)
{
    if (!error.isEmpty()) {
        TDialogService::Current().ShowError(error);
        return;
    }
    fillList();
}

void TFormUpdates::fillList()
{
    VST1->clear();
    const TQVL_Update& engine = *work->Engine;
    for (int i = 0; i < engine.ItemCount(); ++i) {
        const TQVL_UpdateItem& item = engine.GetItem(i);
        QString text = item.Text;
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        auto* row = new QTreeWidgetItem(VST1, {item.Version, text, item.Date});
        for (int column = 0; column < 3; ++column)
            row->setTextAlignment(column, Qt::AlignLeft | Qt::AlignTop);
        row->setToolTip(1, PlainToolTip(text));
    }
    fitRowHeights();
    found = engine.ItemCount() > 0;
    if (found)
        VST1->setCurrentItem(VST1->topLevelItem(0));
    dxButton3->setEnabled(found);
}

void TFormUpdates::fitRowHeights()
{
    // Each row as high as its description needs at the column's width, plus a
    // little air, and never lower than 24 pixels.
    const QFontMetrics metrics(VST1->font());
    const int width = std::max(40, VST1->columnWidth(1) - 2 * VST1->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) - 6);
    for (int i = 0; i < VST1->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = VST1->topLevelItem(i);
        const int height = metrics.boundingRect(QRect(0, 0, width, 100000), Qt::TextWordWrap, row->text(1)).height();
        row->setSizeHint(1, QSize(0, std::max(24, height + 4)));
    }
}

void TFormUpdates::Install()
{
    if (busy || !found || !work)
        return;
    std::vector<int> all(std::size_t(work->Engine->ItemCount()));
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = int(i);
    runInBackground([all](TQVL_Update& engine) { engine.InstallUpdates(all); },
                    [this](const QString& error) {
                        if (!error.isEmpty()) {
                            showError(error);
                            PageControl1->setCurrentIndex(pageErrors);
                            TDialogService::Current().ShowError(error);
                            dxButton3->setEnabled(found);
                            return;
                        }
                        PageControl1->setCurrentIndex(pageRestart);
                        Button_Restart->setFocus();
                    });
}

void TFormUpdates::showError(const QString& text)
{
    // Context and cause are joined by a carriage return; here each gets its line.
    QString shown = text;
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    Memo1->appendPlainText(shown);
}

void TFormUpdates::restart()
{
    if (busy)
        return;
    // The engine goes first; its temporary files with it.
    work.reset();
    restartRequested = true;
    accept();
}

TFormUpdates::TCommand TFormUpdates::RestartCommand(const QString& programFile, bool programFolderWritable,
                                                    const QString& appDataFolder, const QString& documentsFolder)
{
    if (programFolderWritable)
        return {programFile, {QStringLiteral("update")}};
    // pkexec clears the environment: the elevated run needs the display and
    // the learner's folders (its own home would be root's).
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QStringList arguments{QStringLiteral("env")};
    for (const char* name : {"DISPLAY", "XAUTHORITY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"})
        if (environment.contains(QLatin1String(name)))
            arguments << QLatin1String(name) + QLatin1Char('=') + environment.value(QLatin1String(name));
    arguments << QStringLiteral("QUORVEL_APPDATA=") + appDataFolder
              << QStringLiteral("QUORVEL_DOCUMENTS=") + documentsFolder << programFile << QStringLiteral("update");
    return {QStringLiteral("pkexec"), arguments};
}

void TFormUpdates::RestartInUpdateMode(const QString& appDataFolder, const QString& documentsFolder)
{
    const QString program = QCoreApplication::applicationFilePath();
    const TCommand command = RestartCommand(program, QFileInfo(QFileInfo(program).path()).isWritable(),
                                            appDataFolder, documentsFolder);
    const QString error = Starter ? Starter(command) : QString();
    if (!error.isEmpty())
        TDialogService::Current().ShowError(
            QStringLiteral("Das Programm konnte nicht zum Einspielen der Updates neu gestartet werden.\r%1\r"
                           "Das Update wird beim nächsten Start mit \"quorvel update\" eingespielt.")
                .arg(error));
    QCoreApplication::quit();
}
