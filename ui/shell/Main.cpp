#include "ui/print/Form_PrintCards.h"
#include "ui/shell/Main.h"

#include "app/QVL.h"
#include "core/QVL_Error.h"
#include "query/QVL_Result_User.h"
#include "ui/edit/EditLauncher.h"
#include "ui/edit/Form_Edit.h"
#include "ui/exchange/Form_AboutQuorvel.h"
#include "ui/exchange/Form_Internet.h"
#include "ui/exchange/Form_UnitsExport.h"
#include "ui/exchange/Form_UnitsImport.h"
#include "ui/exchange/Form_UnitsIntegrate.h"
#include "ui/exchange/Form_Updates.h"
#include "ui/help/HelpService.h"
#include "ui/settings/Form_LanguagesManage.h"
#include "ui/settings/Form_Options.h"
#include "ui/shell/Accessibility.h"
#include "ui/shell/DialogService.h"
#include "ui/shell/ForeignInput.h"
#include "ui/shell/FormDataModule.h"
#include "ui/shell/FormMessage.h"
#include "ui/shell/Form_MainMenu.h"
#include "ui/shell/Form_MainMenuTwo.h"
#include "ui/shell/Frame_Messages.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/Icons.h"
#include "ui/shell/KQ_ClickMatrix.h"
#include "ui/shell/MainNavigator.h"
#include "ui/shell/PlainText.h"
#include "ui/shell/ShownText.h"
#include "ui/shell/SyncDriver.h"
#include "ui/shell/SyncStatusLine.h"
#include "ui/shell/Theme.h"
#include "ui/shell/WindowManager.h"
#include "ui/units/Form_LongTermStorage.h"
#include "ui/units/Form_UnitsSelect.h"
#include "ui/users/Form_UsersManage.h"
#include "ui/users/Form_UsersSelect.h"
#include "users/QVL_User_Rights.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include <functional>
#include <utility>

namespace {

// Runs `then` once the first screen has been painted and its frame handed to
// the window system (and after anything else queued at that frame).
class TAfterFirstFrame : public QObject
{
public:
    TAfterFirstFrame(std::function<void()> continuation, QObject* parent)
        : QObject(parent), then(std::move(continuation))
    {
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && qobject_cast<TFormMeta*>(watched)) {
            QCoreApplication::instance()->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                QTimer::singleShot(0, parent(), then);
                deleteLater();
            });
        }
        return false;
    }

private:
    std::function<void()> then;
};

TMainForm* mainForm = nullptr;

const QColor barColour = Theme::MainBar;
const QColor windowColour = Theme::MainWindow;

const QString noUser = QStringLiteral("Kein Benutzerprofil gewählt.");
const QString noUnit = QStringLiteral("Keine Lektion gewählt.");

void fill(QWidget* widget, const QColor& colour)
{
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
}

constexpr int logoSize = 64;
constexpr int unitIconSize = 24;
constexpr int storageIconSize = 32;

// The bars' labels are white on the bars' blue.
void whiteText(QLabel* label)
{
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(colours);
}

// The bars' icons, drawn when painted: by then the icons drawn ahead at
// start (TMainForm::FirstScreenIcons) are ready, and building the window
// does not wait for them.
class TIconLabel final : public QLabel
{
public:
    TIconLabel(QIcon shown, int size, QWidget* parent) : QLabel(parent), icon(std::move(shown))
    {
        setFixedSize(size, size);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        icon.paint(&painter, rect());
    }

private:
    QIcon icon;
};

QLabel* iconLabel(QWidget* parent, const char* name, const QString& icon, int size)
{
    auto* label = new TIconLabel(Icons::Get(icon), size, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

} // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent)
{
    mainForm = this;
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral(" Vokabeltrainer Quorvel"));
    setWindowIcon(Icons::Get(QStringLiteral("logo")));
    TDialogService::SetParentWindow(this);

    dataModule = new TFormDataModule(
        [this]() -> const TQVL_User_Rights* {
            return core && core->Users->HasActiveUser() ? &core->Users->GetActiveUser().Rights() : nullptr;
        },
        this);
    dataModule->OnNoRight = [this] { ShowNoRight(); };
    createLayout();
    createMenus();
    // The client area below the menu bar holds the two bars, the screen area and
    // the status bar; smaller, a screen would lose its buttons.
    const QSize client = ClientSize();
    setMinimumSize(client.width(), client.height() + menuBar()->sizeHint().height());
    resize(minimumSize());
    // Notices of the engine (a repaired file, a read-only profile) go to the message list.
    previousNotices = TQVL_Notices::Install([this](const QString& text) {
        MessageFrame()->AddMessage(0, text, TFrameMessage::TMessageAction());
        statusBar()->showMessage(text, 15000);
    });
    const bool created = Guarded([this] {
        core = std::make_unique<TQVL>();
        bindCore();
        Label_ActiveUnit->setText(noUnit);
        Label_ActiveUser->setText(noUser);
    });
    windowManager = std::make_unique<TWindowManager>(Panel3, core.get());
    navigator = std::make_unique<TMainNavigator>(*this);
    windowManager->SetNavigator(navigator.get());
    bindActions();
    if (core) {
        syncDriver = std::make_unique<TSyncDriver>(*core, this);
        new TSyncStatusLine(*core, *syncDriver, Label_Sync);
    }
    if (!created)
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

TMainForm::~TMainForm()
{
    shutdown();
    TQVL_Notices::Install(std::move(previousNotices));
    if (mainForm == this)
        mainForm = nullptr;
}

QList<QPair<QString, int>> TMainForm::FirstScreenIcons()
{
    QList<QPair<QString, int>> icons = {{QStringLiteral("logo"), logoSize},
                                        {QStringLiteral("unit-none"), unitIconSize},
                                        {QStringLiteral("unit"), unitIconSize},
                                        {QStringLiteral("storage"), storageIconSize}};
    // The window icon, at the sizes the X11 integration draws a scalable icon at.
    for (int size : {16, 32, 128})
        icons.append({QStringLiteral("logo"), size});
    for (const auto& tile : TFormMainMenu::Tiles())
        icons.append({tile.Icon, TKQ_ClickMatrix::IconSize});
    return icons;
}

TFrameMessage* TMainForm::MessageFrame()
{
    if (!FrameMessage1) {
        FrameMessage1 = new TFrameMessage(Panel2);
        FrameMessage1->setObjectName(QStringLiteral("FrameMessage1"));
        // The right end of the unit bar.
        static_cast<QHBoxLayout*>(Panel2->layout())->addWidget(FrameMessage1);
        // Named as the rest of the window was when it was shown.
        Accessibility::Describe(FrameMessage1, windowTitle());
    }
    return FrameMessage1;
}

TMainForm* TMainForm::Instance()
{
    return mainForm;
}

void TMainForm::createLayout()
{
    auto* central = new QWidget(this);
    fill(central, windowColour);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    Panel1 = new QWidget(central);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(81);
    fill(Panel1, barColour);
    auto* userRow = new QHBoxLayout(Panel1);
    userRow->setContentsMargins(12, 8, 16, 8);
    userRow->addWidget(iconLabel(Panel1, "Image_Logo", QStringLiteral("logo"), logoSize));
    auto* title = new QLabel(QStringLiteral("Vokabeltrainer Quorvel"), Panel1);
    QFont titleFont = title->font();
    titleFont.setPointSize(Theme::TitlePointSize);
    titleFont.setBold(true);
    title->setFont(titleFont);
    whiteText(title);
    userRow->addWidget(title);
    userRow->addStretch();
    Label_ActiveUser = AsPlainText(new QLabel(Panel1));
    Label_ActiveUser->setObjectName(QStringLiteral("Label_ActiveUser"));
    Label_ActiveUser->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    whiteText(Label_ActiveUser);
    QFont userFont = Label_ActiveUser->font();
    userFont.setPointSize(Theme::UserNamePointSize);
    userFont.setBold(true);
    Label_ActiveUser->setFont(userFont);
    userRow->addWidget(Label_ActiveUser);
    column->addWidget(Panel1);

    Panel3 = new QWidget(central);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    column->addWidget(Panel3, 1);

    Panel2 = new QWidget(central);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFixedHeight(48);
    fill(Panel2, barColour);
    auto* unitRow = new QHBoxLayout(Panel2);
    unitRow->setContentsMargins(8, 4, 0, 4);
    Image_NoUnitSelected = iconLabel(Panel2, "Image_NoUnitSelected", QStringLiteral("unit-none"), unitIconSize);
    Image_UnitSelected = iconLabel(Panel2, "Image_UnitSelected", QStringLiteral("unit"), unitIconSize);
    Image_LongTermStorageSelected = iconLabel(Panel2, "Image_LongTermStorageSelected", QStringLiteral("storage"), storageIconSize);
    unitRow->addWidget(Image_NoUnitSelected);
    unitRow->addWidget(Image_UnitSelected);
    unitRow->addWidget(Image_LongTermStorageSelected);
    Label_ActiveUnit = AsPlainText(new QLabel(Panel2));
    Label_ActiveUnit->setObjectName(QStringLiteral("Label_ActiveUnit"));
    Label_ActiveUnit->setToolTip(QStringLiteral("Bezeichnung der gewählten Lektion oder des gewählten Langzeitspeichers"));
    whiteText(Label_ActiveUnit);
    QFont unitFont = Label_ActiveUnit->font();
    unitFont.setBold(true);
    Label_ActiveUnit->setFont(unitFont);
    unitRow->addWidget(Label_ActiveUnit);
    unitRow->addStretch();
    KQ_ClickMatrix1 = new TKQ_ClickMatrix(Panel2);
    KQ_ClickMatrix1->setObjectName(QStringLiteral("KQ_ClickMatrix1"));
    KQ_ClickMatrix1->setFocusPolicy(Qt::NoFocus);
    KQ_ClickMatrix1->SelectItemWhenUnFocused = true;
    KQ_ClickMatrix1->SingleClickToSelectItem = true;
    KQ_ClickMatrix1->SetItemWidth(19);
    KQ_ClickMatrix1->SetItemHeight(19);
    TKQ_ClickMatrixPaintOptions characterTiles;
    characterTiles.ShowBorderFrame = false;
    characterTiles.Space_Horizontal = 2;
    characterTiles.Space_Vertical = 2;
    characterTiles.TextTop = 2;
    characterTiles.ItemCurveRadius = 3;
    KQ_ClickMatrix1->SetPaintOptions(characterTiles);
    KQ_ClickMatrix1->SetItemsPosition(ipCentered);
    KQ_ClickMatrix1->setMinimumWidth(200);
    KQ_ClickMatrix1->setFixedHeight(40);
    KQ_ClickMatrix1->setVisible(false);
    KQ_ClickMatrix1->onSelectItem = [this](TKQ_ClickMatrixItem* item) {
        if (item)
            InsertText(item->Caption());
    };
    unitRow->addWidget(KQ_ClickMatrix1, 2);
    unitRow->addStretch();
    Label_Sync = AsPlainText(new QLabel(Panel2));
    Label_Sync->setObjectName(QStringLiteral("Label_Sync"));
    whiteText(Label_Sync);
    Label_Sync->hide();
    unitRow->addWidget(Label_Sync);
    column->addWidget(Panel2);
    setCentralWidget(central);
    setUnitIcon(Image_NoUnitSelected);

    Label_Status = AsPlainText(new QLabel(this));
    Label_Status->setObjectName(QStringLiteral("Label_Status"));
    Label_Status->setMinimumWidth(270);
    statusBar()->addWidget(Label_Status);
    Label_ReadOnly = new QLabel(QStringLiteral("Benutzerprofil schreibgeschützt"), this);
    Label_ReadOnly->setObjectName(QStringLiteral("Label_ReadOnly"));
    Label_ReadOnly->hide();
    statusBar()->addPermanentWidget(Label_ReadOnly);
}

void TMainForm::createMenus()
{
    TFormDataModule& d = *dataModule;
    QMenu* program = menuBar()->addMenu(QStringLiteral("&Programm"));
    program->addActions({d.Action_Program_Options, d.Action_LanguagesManage, d.Action_Program_Fullscreen});
    program->addSeparator();
    program->addAction(d.Action_Program_Exit);
    QMenu* users = menuBar()->addMenu(QStringLiteral("&Benutzer"));
    users->addActions({d.Action_UsersManage, d.Action_UsersSelect});
    QMenu* units = menuBar()->addMenu(QStringLiteral("&Lektion"));
    units->addActions({d.Action_Unit_Select, d.Action_LongTermStorage_Select, d.Action_Unit_Close});
    units->addSeparator();
    units->addActions({d.Action_Unit_Edit, d.Action_Unit_Print, d.Action_Unit_Export, d.Action_Unit_Integrate});
    units->addSeparator();
    units->addAction(d.Action_Unit_Import);
    QMenu* internet = menuBar()->addMenu(QStringLiteral("&Internet"));
    internet->addActions({d.Action_Update, d.Action_Community});
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Hilfe"));
    help->addActions({d.Action_Help_Content, d.Action_Help_FirstSteps});
    help->addSeparator();
    help->addAction(d.Action_AboutQuorvel);
    // F10 opens the first menu, as it does in the other programs of a Linux desktop.
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    menuKey->setObjectName(QStringLiteral("Shortcut_MenuBar"));
    connect(menuKey, &QShortcut::activated, this, [this] {
        const QList<QAction*> menus = menuBar()->actions();
        if (!menus.isEmpty())
            menuBar()->setActiveAction(menus.constFirst());
    });
    // Commands without a menu entry still need their shortcuts and triggers.
    addActions({d.Action_LongTermStorages, d.Action_Help_Welcome, d.Action_Help_Search, d.Action_User_Close});

    d.Action_UsersManage->setIcon(Icons::Get(QStringLiteral("users")));
    d.Action_LanguagesManage->setIcon(Icons::Get(QStringLiteral("language")));
}

void TMainForm::bindActions()
{
    TFormDataModule& d = *dataModule;
    d.Bind(d.Action_Program_Options, {&TQVL_User_Rights::PROGRAM_OPTIONS_EDIT}, [this] {
        TFormOptions dialog(*core, this);
        dialog.ShowModal();
        syncDriver->OptionsChanged();
    });
    d.Bind(d.Action_LanguagesManage, {&TQVL_User_Rights::LANGUAGES_EDIT}, [this] {
        TFormLanguagesManage dialog(*core, this);
        dialog.ShowModal();
    });
    d.Bind(d.Action_Program_Fullscreen, {}, [this] { SetFullscreen(dataModule->Action_Program_Fullscreen->isChecked()); });
    d.Bind(d.Action_Program_Exit, {}, [this] { close(); });
    d.Bind(d.Action_UsersManage, {&TQVL_User_Rights::USERPROFILES_EDIT_SELF, &TQVL_User_Rights::USERPROFILES_EDIT_OTHER},
           [this] {
               TFormUsersManage dialog(*core, this);
               dialog.ShowModal();
               // The editor may have renamed the logged-in profile.
               if (core->Users->HasActiveUser())
                   Label_ActiveUser->setText(ShownText(core->Users->GetActiveUser().name) + QLatin1Char(' '));
           });
    d.Bind(d.Action_UsersSelect, {}, [this] {
        // The selection is shown over the current screen; that one must go first.
        windowManager->CloseWindow();
        if (core->Users->HasActiveUser())
            core->Users->GetActiveUser().Close();
        core->RequestUserSelection();
    });
    d.Bind(d.Action_Unit_Select, {}, [this] { showUnitSelection(); });
    d.Bind(d.Action_LongTermStorage_Select, {}, [this] { showStorageSelection(); });
    d.Bind(d.Action_Unit_Close, {}, [this] {
        // An editor works on the unit's cards: it goes first, asking about its changes.
        if (dynamic_cast<TFormEdit*>(windowManager->CurrentWindow()))
            ShowMainMenu();
        if (core->Units->GetActiveUnit().IsOpen)
            core->Units->GetActiveUnit().CloseFile();
    });
    d.Bind(d.Action_Unit_Edit, {&TQVL_User_Rights::UNITS_EDIT}, [this] { EditActiveUnit(*this); });
    d.Bind(d.Action_Unit_Print, {&TQVL_User_Rights::PRINT}, [this] {
        if (CheckUnitSelected())
            TFormPrintCards::PrintActiveUnit(*core, this);
    });
    // Taking words out is the nearest thing to printing them.
    d.Bind(d.Action_Unit_Export, {&TQVL_User_Rights::PRINT}, [this] {
        if (CheckUnitSelected())
            TFormUnitsExport::ExportActiveUnit(*core, this);
    });
    d.Bind(d.Action_Unit_Integrate, {}, [this] {
        if (CheckUnitSelected())
            TFormUnitsIntegrate::IntegrateActiveUnit(*core);
    });
    d.Bind(d.Action_Unit_Import, {&TQVL_User_Rights::UNITS_EDIT}, [this] {
        TFormUnitsImport dialog(*core, this);
        dialog.ShowModal();
        if (dialog.UnitToOpen().isEmpty())
            return;
        // As the lesson selection opens a lesson: the screen over the old one goes first (it may refuse).
        ShowMainMenu();
        TQVL_Unit& unit = core->Units->GetActiveUnit();
        if (unit.IsOpen)
            unit.CloseFile();
        unit.Open(dialog.UnitToOpen());
    });
    d.Bind(d.Action_LongTermStorages, {}, [this] { showStorageSelection(); });
    d.Bind(d.Action_Update, {&TQVL_User_Rights::PROGRAM_UPDATES}, [this] {
        TFormUpdates dialog(core->System->ProgramVersion, core->System->AppDataFolder, this);
        dialog.ShowModal();
        if (!dialog.RestartRequested())
            return;
        // The shutdown runs once the command has returned; an editor that keeps
        // the program open keeps the prepared update for the next start.
        QTimer::singleShot(0, this, [this, data = core->System->AppDataFolder, documents = core->System->DocumentsFolder] {
            if (close())
                TFormUpdates::RestartInUpdateMode(data, documents);
        });
    });
    d.Bind(d.Action_Community, {}, [this] {
        windowManager->SwitchWindow<TFormInternet>()->Navigate(core->Options->community_url);
    });
    d.Bind(d.Action_Help_Content, {}, [] { THelpService::ShowHelpContents(); });
    d.Bind(d.Action_Help_Welcome, {}, [] { THelpService::ShowHelpContents(); });
    d.Bind(d.Action_Help_FirstSteps, {},
           [] { THelpService::ShowHelpPage(QStringLiteral("help_common_firststeps.html")); });
    d.Bind(d.Action_Help_Search, {}, [] { THelpService::ShowHelpSearch(); });
    d.Bind(d.Action_AboutQuorvel, {}, [this] { TFormAboutQuorvel(*core->System, this).ShowModal(); });
    d.Bind(d.Action_User_Close, {}, [this] {
        windowManager->CloseWindow();
        if (core->Users->HasActiveUser())
            core->Users->GetActiveUser().Close();
    });
}

void TMainForm::bindCore()
{
    core->OnUserSelectionRequired = [this] { showUserSelection(); };
    core->OnUpdateSearchStart = [this] { setStatus(QStringLiteral("Es wird nach Updates gesucht...")); };
    core->OnUpdateSearchDone = [this](bool found, bool failed) { updateSearchDone(found, failed); };
    core->Users->OnFileOpened = [this] { userOpened(); };
    core->Users->OnFileClosed = [this] { userClosed(); };
    core->Units->OnFileOpened = [this] { unitOpened(); };
    core->Units->OnFileClosed = [this] { unitClosed(); };
    // Read again after another program changed it: its languages or arrangement may be others now.
    core->Units->OnFileReloaded = [this] {
        unitClosed();
        unitOpened();
    };
    core->Languages->OnFileOpened = [this] { languageOpened(); };
    core->Languages->OnFileReloaded = [this] { languageOpened(); };
    core->System->MainWindowHandle = quintptr(winId());
}

void TMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    Accessibility::Describe(this, windowTitle());
    if (activated || !core)
        return;
    activated = true;
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    // Start once the window is on screen, so that the learner sees where messages come from.
    QTimer::singleShot(0, this, &TMainForm::startup);
}

void TMainForm::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // The minimum is only a hint to the window manager; without one (a bare X
    // server) the window can be made smaller and a screen would lose its buttons.
    if (!isFullScreen() && (width() < minimumWidth() || height() < minimumHeight()))
        QTimer::singleShot(0, this, [this] {
            if (!isFullScreen())
                resize(size().expandedTo(minimumSize()));
        });
}

void TMainForm::startup()
{
    dataModule->DisableAllActions();
    // The sound library and its decoders load once the first screen is painted.
    core->DeferSoundSystem = true;
    startedUp = Guarded([this] { core->Startup(); });
    if (!startedUp) {
        close();
        return;
    }
    qApp->installEventFilter(new TAfterFirstFrame(
        [this] {
            Icons::ForgetPrepared();
            Guarded([this] { core->StartSoundSystem(); });
        },
        this));
}

void TMainForm::showUserSelection()
{
    windowManager->ShowWindow<TFormUsersSelect>();
}

void TMainForm::showUnitSelection()
{
    auto* screen = windowManager->SwitchWindow<TFormUnitsSelect>();
    // The selection ends itself once the unit is open; the main menu takes its place.
    screen->OnUnitChosen = [this] { windowManager->ShowWindow<TFormMainMenu>(); };
    screen->OnAbort = [this] { ShowMainMenu(); };
}

void TMainForm::showStorageSelection()
{
    auto* screen = windowManager->SwitchWindow<TFormLongTermStorage>();
    screen->OnStorageChosen = [this] { ShowMainMenu(); };
    screen->OnAbort = [this] { windowManager->SwitchWindow<TFormMainMenuTwo>(); };
}

void TMainForm::userOpened()
{
    TQVL_User& user = core->Users->GetActiveUser();
    Label_ActiveUser->setText(ShownText(user.name) + QLatin1Char(' '));
    ShowMainMenu();
    dataModule->EnableUserActions();
    const TQVL_LoginView login = core->UserLoggedIn();
    Label_ReadOnly->setVisible(login.ReadOnly);
    if (login.DueCards)
        MessageFrame()->AddMessage(0, QString::number(*login.DueCards) + QStringLiteral(" Vokabeln abzufragen"),
                                   dataModule->Action_LongTermStorages);
    QApplication::restoreOverrideCursor();
    dataModule->EnableAllActions();
    if (login.UnitOpen)
        dataModule->EnableCategory(TActionCategory::Units);
    else
        enableUnitSelection();
    openLessonAfterLogin();
    if (syncDriver)
        syncDriver->LoggedIn();
}

void TMainForm::openLessonAfterLogin()
{
    if (lessonAfterLogin.isEmpty())
        return;
    const QString fileName = std::exchange(lessonAfterLogin, QString());
    // A lesson that cannot be opened is reported; the learner stays logged in.
    Guarded([&] { core->OpenActiveUnit(fileName); });
}

void TMainForm::userClosed()
{
    Label_ActiveUser->setText(noUser);
    Label_ReadOnly->hide();
    if (syncDriver)
        syncDriver->LoggedOut();
    if (isVisible())
        dataModule->DisableAllActions();
}

void TMainForm::unitOpened()
{
    // Not an error: the lesson opens with the nearest profile.
    const TQVL_UnitView unit = core->ActiveUnitOpened([](const QString& message) { TQVL_Notices::Show(message); });
    setUnitIcon(unit.LongTermStorage ? Image_LongTermStorageSelected : Image_UnitSelected);
    Label_ActiveUnit->setText(unit.Caption);
    dataModule->EnableCategory(TActionCategory::Units);
}

void TMainForm::unitClosed()
{
    core->CloseUnitCompanions();
    KQ_ClickMatrix1->Items().Clear();
    KQ_ClickMatrix1->setVisible(false);
    keyPreview = false;
    setUnitIcon(Image_NoUnitSelected);
    Label_ActiveUnit->setText(noUnit);
    if (isVisible())
        enableUnitSelection();
}

void TMainForm::languageOpened()
{
    const TQVL_Language& foreign = core->Languages->GetActiveLanguage();
    keyPreview = foreign.ReplacementsActive;
    if (keyPreview) {
        qApp->installEventFilter(this);
        setStatus(QStringLiteral("Automatische Zeichenersetzung aktiviert."));
    } else {
        qApp->removeEventFilter(this);
        setStatus(QString());
    }
    KQ_ClickMatrix1->BeginUpdate();
    KQ_ClickMatrix1->Items().Clear();
    for (const TQVL_Language* profile : {static_cast<const TQVL_Language*>(core->Languages->HomeLanguage.get()), &foreign})
        if (profile->IsOpen && profile->CharactersShow)
            for (const QChar c : profile->Characters)
                KQ_ClickMatrix1->Items().Add(QString(c));
    KQ_ClickMatrix1->EndUpdate();
    KQ_ClickMatrix1->setVisible(KQ_ClickMatrix1->Items().Count() > 0);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (keyPreview && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        QWidget* focused = QApplication::focusWidget();
        const TQVL_Language& foreign = core->Languages->GetActiveLanguage();
        if (watched == focused && key->text().size() == 1 && IsForeignInput(focused) && foreign.IsOpen &&
            foreign.IsReplaceable(key->text().front())) {
            InsertText(QString(foreign.ReplaceChar(key->text().front())));
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::InsertText(const QString& text)
{
    QWidget* focused = QApplication::focusWidget();
    if (auto* line = qobject_cast<QLineEdit*>(focused))
        line->insert(text);
    else if (auto* edit = qobject_cast<QTextEdit*>(focused))
        edit->insertPlainText(text);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(focused))
        plain->insertPlainText(text);
}

void TMainForm::ShowNoRight()
{
    TFormUsersNoRight(this).ShowModal();
}

bool TMainForm::CheckUnitSelected()
{
    if (core->Units->GetActiveUnit().IsOpen)
        return true;
    TFormUnitsNotSelected(this).ShowModal();
    return false;
}

bool TMainForm::HasRight(TQVL_Right right) const
{
    return core->Users->HasActiveUser() && core->Users->GetActiveUser().Rights().*right;
}

void TMainForm::SetFullscreen(bool on)
{
    Panel1->setVisible(!on);
    Panel2->setVisible(!on);
    statusBar()->setVisible(!on);
    menuBar()->setVisible(true);
    if (on)
        showFullScreen();
    else
        showNormal();
}

void TMainForm::ShowMainMenu()
{
    windowManager->SwitchWindow<TFormMainMenu>();
}

void TMainForm::updateSearchDone(bool updatesFound, bool searchFailed)
{
    if (updatesFound) {
        setStatus(QString());
        MessageFrame()->AddMessage(0, QStringLiteral("Updates gefunden"), dataModule->Action_Update);
    } else if (searchFailed) {
        setStatus(QStringLiteral("Fehler beim Suchen nach Updates!"));
    } else {
        setStatus(QStringLiteral("Keine Updates vorhanden."));
    }
}

void TMainForm::setUnitIcon(QLabel* shown)
{
    for (QLabel* icon : {Image_NoUnitSelected, Image_UnitSelected, Image_LongTermStorageSelected})
        icon->setVisible(icon == shown);
}

void TMainForm::enableUnitSelection()
{
    dataModule->DisableCategory(TActionCategory::Units);
    dataModule->Action_Unit_Select->setEnabled(true);
    dataModule->Action_LongTermStorage_Select->setEnabled(true);
    dataModule->Action_Unit_Import->setEnabled(true);
    // The storage screen opens a storage itself; the second menu and the due-cards message lead there.
    dataModule->Action_LongTermStorages->setEnabled(true);
}

void TMainForm::setStatus(const QString& text)
{
    Label_Status->setText(text);
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    // A screen that must not go yet (an editor whose changes the learner
    // neither saved nor dropped) keeps the program open.
    if (!shutDown && windowManager && !Guarded([this] { windowManager->CloseWindow(); })) {
        event->ignore();
        return;
    }
    shutdown();
    event->accept();
}

void TMainForm::shutdown()
{
    if (shutDown || !core)
        return;
    shutDown = true;
    setEnabled(false);
    qApp->removeEventFilter(this);
    THelpService::CloseHelpWindow();
    windowManager.reset();
    // A run in progress finishes its files first.
    syncDriver.reset();
    Guarded([this] { core->CloseFiles(); });
    core.reset();
}
