#include "ui/shell/Frame_Messages.h"

#include "ui/shell/Guarded.h"
#include "ui/shell/Icons.h"
#include "ui/shell/PlainText.h"
#include "ui/shell/Theme.h"

#include <QAction>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// A click is a press and a release on the same entry. A double-click adds
// nothing: after the first click removed an entry, its second press would
// otherwise land on the entry that moved up.
class MessageListView final : public QListWidget
{
public:
    explicit MessageListView(QWidget* parent) : QListWidget(parent)
    {
        setSelectionMode(QAbstractItemView::NoSelection);
        setMouseTracking(true);
        // A long message wraps within the list's width instead of being cut.
        setWordWrap(true);
        setTextElideMode(Qt::ElideNone);
        setIconSize(QSize(16, 16));
        setFrameShape(QFrame::NoFrame);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        viewport()->setCursor(Qt::PointingHandCursor);
    }

    std::function<void(int row)> onEntryClicked;

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        pressedRow = event->button() == Qt::LeftButton ? indexAt(event->position().toPoint()).row() : -1;
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        const int row = pressedRow;
        pressedRow = -1;
        if (row >= 0 && event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).row() == row)
            clicked(row);
    }
    void mouseDoubleClickEvent(QMouseEvent*) override { pressedRow = -1; }
    void keyPressEvent(QKeyEvent* event) override
    {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentRow() >= 0) {
            clicked(currentRow());
            return;
        }
        QListWidget::keyPressEvent(event);
    }

private:
    void clicked(int row)
    {
        if (onEntryClicked)
            onEntryClicked(row);
    }

    int pressedRow = -1;
};

QIcon kindIcon(int kind)
{
    return kind == 0 ? Icons::Get(QStringLiteral("message")) : QIcon();
}

} // namespace

TFrameMessage::TFrameMessage(QWidget* parent) : QFrame(parent)
{
    setFixedWidth(DefaultWidth);
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, Theme::ListText);
    setPalette(colours);

    auto* list = new MessageListView(this);
    List_Messages = list;
    List_Messages->setObjectName(QStringLiteral("List_Messages"));
    List_Messages->setStyleSheet(
        QStringLiteral("QListWidget#List_Messages::item:hover { background: %1; color: %2; }")
            .arg(Theme::ListHover.name(), Theme::ListText.name()));
    list->onEntryClicked = [this](int row) { ClickEntry(row); };

    Button_Close = new QToolButton(this);
    Button_Close->setObjectName(QStringLiteral("Button_Close"));
    Button_Close->setAutoRaise(true);
    Button_Close->setIcon(Icons::Get(QStringLiteral("close")));
    Button_Close->setIconSize(QSize(10, 10));
    Button_Close->setFixedSize(16, 16);
    Button_Close->setToolTip(QStringLiteral("Schliessen"));
    connect(Button_Close, &QToolButton::clicked, this, &QWidget::hide);

    auto* closeColumn = new QVBoxLayout;
    closeColumn->setContentsMargins(0, 0, 0, 0);
    closeColumn->addWidget(Button_Close);
    closeColumn->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(3, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(List_Messages, 1);
    layout->addLayout(closeColumn);

    setVisible(false);
}

TFrameMessage::~TFrameMessage() = default;

void TFrameMessage::AddMessage(int kind, const QString& title, TMessageAction action)
{
    entries.push_back(Entry{kind, title, std::move(action)});
    auto* row = new QListWidgetItem(kindIcon(kind), title);
    row->setToolTip(PlainToolTip(title));
    List_Messages->addItem(row);
    show();
}

void TFrameMessage::AddMessage(int kind, const QString& title, QAction* action)
{
    AddMessage(kind, title, [target = QPointer<QAction>(action)](TFrameMessage&) {
        if (target && target->isEnabled())
            target->trigger();
    });
}

QStringList TFrameMessage::Titles() const
{
    QStringList titles;
    for (const Entry& entry : entries)
        titles.append(entry.Title);
    return titles;
}

void TFrameMessage::ClickEntry(int index)
{
    if (index < 0 || index >= Count())
        return;
    // The entry goes first, so that it is gone even when its action fails.
    Entry entry = std::move(entries[std::size_t(index)]);
    entries.erase(entries.begin() + index);
    delete List_Messages->takeItem(index);
    if (entries.empty())
        hide();
    if (entry.Action)
        Guarded([&] { entry.Action(*this); });
}
