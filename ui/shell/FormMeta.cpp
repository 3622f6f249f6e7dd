#include "ui/shell/FormMeta.h"

#include "ui/shell/Accessibility.h"
#include "ui/shell/KQ_ClickMatrix.h"
#include "ui/shell/Navigator.h"
#include "ui/shell/PlainText.h"
#include "ui/shell/Theme.h"
#include "ui/shell/WindowManager.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The header's look: a blue band in the colours of the main window's bars.
class HeaderBar final : public QWidget
{
public:
    explicit HeaderBar(QWidget* parent) : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        QLinearGradient gradient(0, 0, 0, height());
        gradient.setColorAt(0, Theme::HeaderTop);
        gradient.setColorAt(1, Theme::HeaderBottom);
        painter.fillRect(rect(), gradient);
        painter.setPen(Theme::HeaderLine);
        painter.drawLine(0, height() - 1, width() - 1, height() - 1);
    }
};

} // namespace

TFormMeta::TFormMeta(QWidget* parent) : QWidget(parent)
{
    resize(DesignWidth, DesignHeight);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Theme::ScreenBackground);
    setPalette(colours);

    header = new HeaderBar(this);
    header->setObjectName(QStringLiteral("Panel_Header"));
    captionLabel = AsPlainText(new QLabel(header));
    captionLabel->setObjectName(QStringLiteral("Label_Caption"));
    subCaptionLabel = AsPlainText(new QLabel(header));
    subCaptionLabel->setObjectName(QStringLiteral("Label_SubCaption"));
    subCaptionLabel->setWordWrap(true);
    subCaptionLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont captionFont = captionLabel->font();
    captionFont.setBold(true);
    captionFont.setPointSizeF(captionFont.pointSizeF() * 1.25);
    captionLabel->setFont(captionFont);
    QPalette headerText = captionLabel->palette();
    headerText.setColor(QPalette::WindowText, Qt::white);
    captionLabel->setPalette(headerText);
    headerText.setColor(QPalette::WindowText, Theme::HeaderSubCaption);
    subCaptionLabel->setPalette(headerText);

    auto* headerLayout = new QVBoxLayout(header);
    headerLayout->setContentsMargins(12, 4, 12, 4);
    headerLayout->setSpacing(1);
    headerLayout->addWidget(captionLabel);
    headerLayout->addWidget(subCaptionLabel, 1);

    content = new QWidget(this);
    content->setObjectName(QStringLiteral("Panel_Content"));

    formLayout = new QVBoxLayout(this);
    formLayout->setContentsMargins(0, 0, 0, 0);
    formLayout->setSpacing(0);
    formLayout->addWidget(header);
    formLayout->addWidget(content, 1);
    SetHeaderHeight(DefaultHeaderHeight);
}

TFormMeta::~TFormMeta() = default;

TNavigator& TFormMeta::Navigator() const
{
    const TWindowManager* manager = TWindowManager::Of(parentWidget());
    return manager && manager->Navigator() ? *manager->Navigator() : TNavigator::Nowhere();
}

void TFormMeta::ReleaseLater()
{
    hide();
    deleteLater();
}

QString TFormMeta::Caption() const
{
    return captionLabel->text();
}

void TFormMeta::SetCaption(const QString& text)
{
    captionLabel->setText(text);
}

QString TFormMeta::SubCaption() const
{
    return subCaptionLabel->text();
}

void TFormMeta::SetSubCaption(const QString& text)
{
    subCaptionLabel->setText(text);
}

int TFormMeta::HeaderHeight() const
{
    return header->maximumHeight();
}

void TFormMeta::SetHeaderHeight(int height)
{
    header->setFixedHeight(height);
    // A short header has room for the caption line only.
    subCaptionLabel->setVisible(height >= TallHeaderHeight);
}

void TFormMeta::SetDefaultButton(QPushButton* button)
{
    if (defaultButton)
        defaultButton->setDefault(false);
    defaultButton = button;
    if (button)
        button->setDefault(true);
}

void TFormMeta::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Outside a dialog a push button leaves Enter alone; a learner expects it to press the focused one.
    const QList<QPushButton*> buttons = findChildren<QPushButton*>();
    for (QPushButton* button : buttons)
        button->setAutoDefault(true);
    Accessibility::Describe(this, Caption());
    const QList<TKQ_ClickMatrix*> menus = findChildren<TKQ_ClickMatrix*>();
    bool menuFocused = false;
    for (TKQ_ClickMatrix* menu : menus) {
        if (menu->focusPolicy() == Qt::NoFocus)
            continue;
        menu->setFocus(Qt::OtherFocusReason);
        menu->FocusFirstItem();
        menuFocused = true;
    }
    // Otherwise the focus would stay where the last screen had it, hidden now,
    // and neither Tab, Enter nor Escape would reach this screen.
    if (!menuFocused && !isAncestorOf(QApplication::focusWidget()))
        for (QWidget* next = nextInFocusChain(); next && next != this; next = next->nextInFocusChain())
            if (isAncestorOf(next) && next->isVisible() && next->isEnabled() && (next->focusPolicy() & Qt::TabFocus)) {
                next->setFocus(Qt::TabFocusReason);
                break;
            }
}

void TFormMeta::keyPressEvent(QKeyEvent* event)
{
    const bool plain = event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
    if (plain && event->key() == Qt::Key_Escape && escapeButton && escapeButton->isVisible() &&
        escapeButton->isEnabled() && isAncestorOf(escapeButton)) {
        event->accept();
        escapeButton->click();
        return;
    }
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && defaultButton &&
        defaultButton->isVisible() && defaultButton->isEnabled() && isAncestorOf(defaultButton)) {
        event->accept();
        defaultButton->click();
        return;
    }
    QWidget::keyPressEvent(event);
}
