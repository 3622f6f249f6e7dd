#include "ui/shell/FormMessage.h"

#include "ui/shell/DialogService.h"
#include "ui/shell/FitToText.h"
#include "ui/shell/FormDialogMeta.h"
#include "ui/shell/Icons.h"
#include "ui/shell/KQ_ClickMatrix.h"
#include "ui/shell/PlainText.h"
#include "ui/shell/Theme.h"

#include <QApplication>
#include <QKeyEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QColor fillColour = Theme::MessageFill;
const QColor frameColour = Theme::MessageFrame;
const QColor textColour = Theme::MessageText;

} // namespace

TFormMessage::TFormMessage(const QString& iconName, const QString& title, const QString& text, QWidget* parent)
    : QDialog(parent ? parent : TDialogService::ParentWindow(), Qt::Dialog | Qt::FramelessWindowHint)
{
    setModal(true);
    below = QApplication::focusWidget();

    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, textColour);
    setPalette(colours);

    Image_Icon = new QLabel(this);
    Image_Icon->setObjectName(QStringLiteral("Image_Icon"));
    Image_Icon->setFixedSize(24, 24);
    Image_Icon->setPixmap(Icons::Pixmap(iconName, 24));

    QFont titleFont = font();
    titleFont.setPixelSize(11);
    titleFont.setBold(true);
    Label_Title = AsPlainText(new QLabel(title, this));
    Label_Title->setObjectName(QStringLiteral("Label_Title"));
    Label_Title->setFont(titleFont);

    QFont textFont = titleFont;
    textFont.setBold(false);
    Label_Text = AsPlainText(new QLabel(text, this));
    Label_Text->setObjectName(QStringLiteral("Label_Text"));
    Label_Text->setFont(textFont);
    Label_Text->setWordWrap(true);
    Label_Text->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Button_Close = new QToolButton(this);
    Button_Close->setObjectName(QStringLiteral("Button_Close"));
    Button_Close->setAutoRaise(true);
    Button_Close->setIcon(Icons::Get(QStringLiteral("close")));
    Button_Close->setIconSize(QSize(8, 8));
    Button_Close->setFixedSize(15, 15);
    Button_Close->setFocusPolicy(Qt::NoFocus);
    Button_Close->setToolTip(QStringLiteral("Schließen"));
    connect(Button_Close, &QToolButton::clicked, this, &QDialog::accept);

    // The notice is designed as 327 x 50 with the texts from x = 44; a longer
    // text wraps and the notice grows downwards instead of cutting it.
    auto* texts = new QVBoxLayout;
    texts->setSpacing(0);
    texts->addWidget(Label_Title);
    texts->addWidget(Label_Text, 1);
    auto* closeColumn = new QVBoxLayout;
    closeColumn->addWidget(Button_Close);
    closeColumn->addStretch(1);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(10, 4, 3, 2);
    row->setSpacing(10);
    row->addWidget(Image_Icon, 0, Qt::AlignVCenter);
    row->addLayout(texts, 1);
    row->addLayout(closeColumn);
    setFixedSize(FitToText::Grown(*this, QSize(DesignWidth, DesignHeight)));
}

TFormMessage::~TFormMessage() = default;

int TFormMessage::ShowModal()
{
    return TFormDialogMeta::RunModal(*this);
}

QString TFormMessage::Title() const
{
    return Label_Title->text();
}

QString TFormMessage::Text() const
{
    return Label_Text->text();
}

void TFormMessage::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), fillColour);
    painter.setPen(frameColour);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TFormMessage::mousePressEvent(QMouseEvent* event)
{
    // Clicks on the labels arrive here too: they take no mouse input themselves.
    if (event->button() == Qt::LeftButton)
        accept();
}

void TFormMessage::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        accept();
        return;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        // The learner is moving on in the screen below: the notice steps aside.
        accept();
        if (below && below->isEnabled())
            QCoreApplication::postEvent(below, new QKeyEvent(QEvent::KeyPress, event->key(), event->modifiers(),
                                                             event->text(), event->isAutoRepeat(), 1));
        return;
    default:
        // Escape rejects, as in every dialog.
        QDialog::keyPressEvent(event);
    }
}

TFormUsersNoRight::TFormUsersNoRight(QWidget* parent)
    : TFormMessage(QStringLiteral("lock"), QStringLiteral("Keine Rechte"),
                   QStringLiteral("Für diese Funktion besitzt ihr Benutzerprofil keine Rechte."), parent)
{
}

TFormUnitsNotSelected::TFormUnitsNotSelected(QWidget* parent)
    : TFormMessage(QStringLiteral("unit-none"), QStringLiteral("Noch keine Lektion gewählt!"),
                   QStringLiteral("Für diese Funktion muss eine Lektion ausgewählt sein."), parent)
{
}
