#include "ui/shell/FormDialogMeta.h"

#include "ui/shell/Accessibility.h"
#include "ui/shell/DialogService.h"
#include "ui/shell/FitToText.h"
#include "ui/shell/PlainText.h"
#include "ui/shell/Theme.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char* const destructiveProperty = "quorvelDestructive";

TFormDialogMeta::TModalRunner& installedRunner()
{
    static TFormDialogMeta::TModalRunner runner;
    return runner;
}

QWidget* strip(QWidget* parent, const char* name, const QColor& colour)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFixedHeight(TFormDialogMeta::StripHeight);
    panel->setAutoFillBackground(true);
    QPalette colours = panel->palette();
    colours.setColor(QPalette::Window, colour);
    panel->setPalette(colours);
    return panel;
}

} // namespace

TFormDialogMeta::TFormDialogMeta(QWidget* parent)
    : QDialog(parent ? parent : TDialogService::ParentWindow(),
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setWindowTitle(QStringLiteral("Quorvel"));
    setFixedSize(DesignWidth, DesignHeight);

    QWidget* title = strip(this, "Panel_Title", Qt::white);
    Label1 = AsPlainText(new QLabel(title));
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont titleFont = Label1->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.15);
    Label1->setFont(titleFont);
    auto* titleLayout = new QHBoxLayout(title);
    titleLayout->setContentsMargins(12, 0, 12, 0);
    titleLayout->addWidget(Label1);

    content = new QWidget(this);
    content->setObjectName(QStringLiteral("Panel_Content"));

    QWidget* bottom = strip(this, "Panel_Buttons", Theme::DialogButtonStrip);
    auto* buttonRow = new QHBoxLayout(bottom);
    buttonRow->setContentsMargins(10, 0, 10, 0);
    buttonRow->addStretch(1);
    auto makeButton = [&](const char* name, const QString& text) {
        auto* button = new QPushButton(text, bottom);
        button->setObjectName(QString::fromLatin1(name));
        // Enter presses the focused button, elsewhere the default one.
        button->setAutoDefault(true);
        return button;
    };
    dxButton1 = makeButton("dxButton1", QStringLiteral("Hilfe"));
    dxButton2 = makeButton("dxButton2", QStringLiteral("Abbruch"));
    dxButton3 = makeButton("dxButton3", QStringLiteral("Übernehmen"));
    // Not whichever button happens to come first: the one that carries the dialog out.
    dxButton3->setDefault(true);
    buttonRow->addWidget(dxButton3);
    buttonRow->addWidget(dxButton2);
    buttonRow->addWidget(dxButton1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(title);
    layout->addWidget(content, 1);
    layout->addWidget(bottom);
}

TFormDialogMeta::~TFormDialogMeta() = default;

void TFormDialogMeta::MarkDestructive(QWidget* button)
{
    button->setProperty(destructiveProperty, true);
}

bool TFormDialogMeta::IsDestructive(const QWidget* widget)
{
    return widget && widget->property(destructiveProperty).toBool();
}

void TFormDialogMeta::setVisible(bool visible)
{
    // Sized before it is placed, so that it opens centred with its final size.
    const bool opening = visible && !isVisible();
    if (opening)
        fitToContents();
    QDialog::setVisible(visible);
    if (opening && IsDestructive(focusWidget())) {
        // The next control in the tab order that is safe, else the button that carries the dialog out.
        for (QWidget* next = focusWidget()->nextInFocusChain(); next != focusWidget(); next = next->nextInFocusChain())
            if (isAncestorOf(next) && next->isVisible() && next->isEnabled() && (next->focusPolicy() & Qt::TabFocus) &&
                !IsDestructive(next)) {
                next->setFocus(Qt::OtherFocusReason);
                return;
            }
        dxButton3->setFocus(Qt::OtherFocusReason);
    }
}

bool TFormDialogMeta::event(QEvent* event)
{
    if (event->type() == QEvent::LayoutRequest && isVisible())
        fitToContents();
    return QDialog::event(event);
}

void TFormDialogMeta::fitToContents()
{
    ensurePolished();
    const QSize size = FitToText::Grown(*this, QSize(DesignWidth, DesignHeight));
    if (size != this->size() || minimumSize() != maximumSize())
        setFixedSize(size);
}

int TFormDialogMeta::ShowModal()
{
    return RunModal(*this);
}

int TFormDialogMeta::RunModal(QDialog& dialog)
{
    Accessibility::Describe(&dialog, dialog.windowTitle());
    if (const TModalRunner runner = installedRunner())
        return runner(dialog);
    return dialog.exec();
}

TFormDialogMeta::TModalRunner TFormDialogMeta::InstallModalRunner(TModalRunner runner)
{
    TModalRunner previous = std::move(installedRunner());
    installedRunner() = std::move(runner);
    return previous;
}
