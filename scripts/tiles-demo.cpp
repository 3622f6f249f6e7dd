// A stand-alone window that shows the tile menus, the screen bases, the message
// list, a notice and every icon, so that their look can be checked on a real
// screen (scripts/screenshot-tiles.sh). Not part of the program.
//   tiles-demo main | users | icons | dialog
#include "ui/shell/FormDialogMeta.h"
#include "ui/shell/Form_MainMenu.h"
#include "ui/shell/FormMessage.h"
#include "ui/shell/FormMeta.h"
#include "ui/shell/Frame_Messages.h"
#include "ui/shell/Icons.h"
#include "ui/shell/KQ_ClickMatrix.h"
#include "ui/shell/MenuTiles.h"
#include "ui/shell/WindowManager.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QColor barColour = Theme::MainBar;
const QColor windowColour = Theme::MainWindow;

void paintBackground(QWidget* widget, const QColor& colour)
{
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
}

void hover(TKQ_ClickMatrix* menu, int tile)
{
    const QPointF at = menu->Items().Item(tile)->Rect().center();
    QMouseEvent move(QEvent::MouseMove, at, menu->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(menu, &move);
}

class MainMenuScreen final : public TFormMeta
{
public:
    explicit MainMenuScreen(QWidget* parent) : TFormMeta(parent)
    {
        SetHeaderHeight(TallHeaderHeight);
        SetCaption(QStringLiteral("Willkommen..."));
        SetSubCaption(
            QStringLiteral("Bitte wählen Sie einen der Menüpunkte, um zu weiteren Funktionen zu gelangen..."));
        Menu = CreateMenuTiles(*this, TFormMainMenu::Tiles());
        Menu->Items().Item(5)->SetEnabled(false);
    }
    TKQ_ClickMatrix* Menu;
};

class UsersScreen final : public TFormMeta
{
public:
    explicit UsersScreen(QWidget* parent) : TFormMeta(parent)
    {
        SetHeaderHeight(TallHeaderHeight);
        SetCaption(QStringLiteral("Benutzer wählen"));
        SetSubCaption(QStringLiteral("Bitte wählen Sie ein Benutzerprofil..."));
        Menu = CreateMenuTiles(*this, {{QStringLiteral("Familie"), QStringLiteral("folder")},
                                       {QStringLiteral("Jonas"), QStringLiteral("user-1")},
                                       {QStringLiteral("Lena"), QStringLiteral("user-2")},
                                       {QStringLiteral("Herr Berger"), QStringLiteral("user-3")},
                                       {QStringLiteral("Opa Karl"), QStringLiteral("user-4")}});
        TKQ_ClickMatrixPaintOptions options = Menu->PaintOptions();
        options.Space_Horizontal = 16;
        options.Space_Vertical = 16;
        options.TextShadow = true;
        options.TextShadowColor = QColor(0xB8, 0xC8, 0xD8);
        Menu->SetPaintOptions(options);
        Menu->SetItemsPosition(ipLeft);
        auto* prompt = new QLabel(QStringLiteral("Bitte geben Sie das Passwort ein:"), Content());
        auto* password = new QLineEdit(Content());
        password->setObjectName(QStringLiteral("Edit_Password"));
        password->setEchoMode(QLineEdit::Password);
        password->setFixedWidth(220);
        // Below the tiles, in the layout the tile menu brings.
        auto* column = static_cast<QVBoxLayout*>(Content()->layout());
        column->setStretchFactor(Menu, 1);
        column->addWidget(prompt);
        column->addWidget(password);
    }
    TKQ_ClickMatrix* Menu;
};

class IconsScreen final : public TFormMeta
{
public:
    explicit IconsScreen(QWidget* parent) : TFormMeta(parent)
    {
        SetCaption(QStringLiteral("Symbole"));
        auto* scroll = new QScrollArea(Content());
        scroll->setFrameShape(QFrame::NoFrame);
        auto* menu = new TKQ_ClickMatrix;
        menu->SetItemWidth(88);
        menu->SetItemHeight(54);
        TKQ_ClickMatrixPaintOptions options;
        options.ShowBorderFrame = false;
        options.Space_Horizontal = 4;
        options.Space_Vertical = 4;
        options.TextTop = 37;
        QFont small = menu->font();
        small.setPixelSize(10);
        options.TextFont = small;
        menu->SetPaintOptions(options);
        menu->setMinimumSize(1180, 560);
        menu->BeginUpdate();
        for (const QString& name : Icons::Names())
            menu->Items().Add(name, Icons::Get(name));
        menu->EndUpdate();
        scroll->setWidget(menu);
        auto* layout = new QVBoxLayout(Content());
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(scroll);
    }
};

// The main window as the program will have it: user bar, screen area, unit bar, status bar.
class DemoWindow final : public QMainWindow
{
public:
    DemoWindow()
    {
        setWindowTitle(QStringLiteral(" Vokabeltrainer Quorvel"));
        auto* central = new QWidget(this);
        auto* column = new QVBoxLayout(central);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(0);

        auto* userBar = new QWidget(central);
        userBar->setFixedHeight(81);
        paintBackground(userBar, barColour);
        auto* logo = new QLabel(userBar);
        logo->setPixmap(Icons::Pixmap(QStringLiteral("logo"), 64));
        auto* user = new QLabel(QStringLiteral("Lena "), userBar);
        QFont userFont = user->font();
        userFont.setPointSizeF(userFont.pointSizeF() * 1.4);
        userFont.setBold(true);
        user->setFont(userFont);
        QPalette white = user->palette();
        white.setColor(QPalette::WindowText, Qt::white);
        user->setPalette(white);
        auto* userRow = new QHBoxLayout(userBar);
        userRow->setContentsMargins(10, 0, 14, 0);
        userRow->addWidget(logo);
        userRow->addStretch(1);
        userRow->addWidget(user);

        Area = new QWidget(central);
        Area->setObjectName(QStringLiteral("Panel3"));
        paintBackground(Area, windowColour);

        auto* unitBar = new QWidget(central);
        unitBar->setFixedHeight(48);
        paintBackground(unitBar, barColour);
        auto* unitIcon = new QLabel(unitBar);
        unitIcon->setPixmap(Icons::Pixmap(QStringLiteral("unit"), 24));
        auto* unitLabel = new QLabel(QStringLiteral("Französisch Lektion 3.qxu"), unitBar);
        unitLabel->setPalette(white);
        auto* characters = new TKQ_ClickMatrix(unitBar);
        characters->SetItemWidth(19);
        characters->SetItemHeight(19);
        TKQ_ClickMatrixPaintOptions options;
        options.Space_Horizontal = 2;
        options.Space_Vertical = 2;
        options.ShowBorderFrame = false;
        options.ShowFocusFrame = false;
        options.TextTop = 2;
        characters->SetPaintOptions(options);
        characters->SetItemsPosition(ipCentered);
        characters->setFocusPolicy(Qt::NoFocus);
        characters->SelectItemWhenUnFocused = true;
        characters->setFixedSize(300, 29);
        for (const QString& character : QStringLiteral("àâçéèêëîïôùûü").split(QString(), Qt::SkipEmptyParts)) {
            auto* tile = characters->Items().Add(character);
            tile->SetIconTyp(tiiNone);
        }
        Messages = new TFrameMessage(unitBar);
        Messages->setObjectName(QStringLiteral("FrameMessage1"));
        Messages->setFixedHeight(42);
        auto* unitRow = new QHBoxLayout(unitBar);
        unitRow->setContentsMargins(10, 3, 3, 3);
        unitRow->addWidget(unitIcon);
        unitRow->addWidget(unitLabel);
        unitRow->addStretch(1);
        unitRow->addWidget(characters);
        unitRow->addStretch(1);
        unitRow->addWidget(Messages);

        column->addWidget(userBar);
        column->addWidget(Area, 1);
        column->addWidget(unitBar);
        setCentralWidget(central);
        statusBar()->showMessage(QStringLiteral("Automatische Zeichenersetzung aktiviert."));
        resize(784, 604 + 22);
        Manager = std::make_unique<TWindowManager>(Area);
    }
    ~DemoWindow() override { Manager->CloseWindow(); }

    QWidget* Area;
    TFrameMessage* Messages;
    std::unique_ptr<TWindowManager> Manager;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const QString scene = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("main");
    DemoWindow window;
    window.move(0, 0);
    if (scene == QLatin1String("icons"))
        window.resize(1240, 780);
    window.show();

    QTimer::singleShot(100, &window, [&] {
        if (scene == QLatin1String("users")) {
            auto* screen = window.Manager->SwitchWindow<UsersScreen>();
            screen->Menu->SetFocusedItem(screen->Menu->Items().Item(2));
            hover(screen->Menu, 3);
            auto* notice = new TFormUsersNoRight(&window);
            notice->open();
        } else if (scene == QLatin1String("icons")) {
            window.Manager->SwitchWindow<IconsScreen>(true);
        } else if (scene == QLatin1String("dialog")) {
            window.Manager->SwitchWindow<MainMenuScreen>();
            auto* dialog = new TFormDialogMeta(&window);
            dialog->Label1->setText(QStringLiteral("Benutzerprofile verwalten"));
            dialog->dxButton2->setText(QStringLiteral("Ok"));
            dialog->dxButton3->hide();
            dialog->open();
        } else {
            auto* screen = window.Manager->SwitchWindow<MainMenuScreen>();
            hover(screen->Menu, 2);
            window.Messages->AddMessage(0, QStringLiteral("7 Vokabeln abzufragen"), [](TFrameMessage&) {});
            window.Messages->AddMessage(0, QStringLiteral("Updates gefunden"), [](TFrameMessage&) {});
        }
    });
    // Never outlive the screenshot that the script takes.
    QTimer::singleShot(30000, &application, &QCoreApplication::quit);
    return application.exec();
}
