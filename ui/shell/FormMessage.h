#pragma once

#include <QDialog>
#include <QPointer>

class QLabel;
class QToolButton;

// A small modal notice over the main window: icon, bold title, one text, and
// a close button. A click anywhere on it, Escape or Enter closes it; an arrow
// key closes it and goes on to the control that had the focus below it.
//
// The two notices of the program derive from it and only fix icon, title and
// text; they share this file because that is all they are.
class TFormMessage : public QDialog
{
    Q_OBJECT
public:
    static constexpr int DesignWidth = 327;
    static constexpr int DesignHeight = 50;

    // Without a parent the notice belongs to the main window (TDialogService::ParentWindow()).
    TFormMessage(const QString& iconName, const QString& title, const QString& text, QWidget* parent = nullptr);
    ~TFormMessage() override;

    // Shows the notice modally through TFormDialogMeta::RunModal (tests install a runner).
    int ShowModal();

    QString Title() const;
    QString Text() const;

    QLabel* Image_Icon = nullptr;
    QLabel* Label_Title = nullptr;
    QLabel* Label_Text = nullptr;
    QToolButton* Button_Close = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPointer<QWidget> below;
};

// The logged-in user lacks the right for a command.
class TFormUsersNoRight : public TFormMessage
{
    Q_OBJECT
public:
    explicit TFormUsersNoRight(QWidget* parent = nullptr);
};

// A command needs an open unit and there is none.
class TFormUnitsNotSelected : public TFormMessage
{
    Q_OBJECT
public:
    explicit TFormUnitsNotSelected(QWidget* parent = nullptr);
};
