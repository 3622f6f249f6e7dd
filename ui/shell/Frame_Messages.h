#pragma once

#include <QFrame>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <vector>

class QAction;
class QListWidget;
class QToolButton;

// The message list of the main window's unit bar: entries with an icon and a
// title; a click on an entry removes it and then runs its action. The close
// button only hides the list; the next message shows it again with all entries.
class TFrameMessage : public QFrame
{
    Q_OBJECT
public:
    static constexpr int DefaultWidth = 240;
    // Gets the list as the sender. Errors it raises reach the error display.
    using TMessageAction = std::function<void(TFrameMessage& sender)>;

    // Hidden until the first message arrives.
    explicit TFrameMessage(QWidget* parent = nullptr);
    ~TFrameMessage() override;

    // `kind` picks the icon (0: a notice); any other number shows none.
    void AddMessage(int kind, const QString& title, TMessageAction action);
    // The action triggers `action` (when it still exists and is enabled).
    void AddMessage(int kind, const QString& title, QAction* action);

    int Count() const { return int(entries.size()); }
    QStringList Titles() const;
    // What a click on the entry does; exposed for tests and keyboard access.
    void ClickEntry(int index);

    QListWidget* List_Messages = nullptr;
    QToolButton* Button_Close = nullptr;

private:
    struct Entry
    {
        int Kind;
        QString Title;
        TMessageAction Action;
    };
    std::vector<Entry> entries;
};
