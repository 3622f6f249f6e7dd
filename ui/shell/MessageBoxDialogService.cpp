#include "ui/shell/MessageBoxDialogService.h"

#include "core/QVL_System.h"
#include "ui/shell/PlainText.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace {

TMessageBoxDialogService realDialogs;
TDialogService* installed = nullptr;
QPointer<QWidget> parentWindow;

QString title()
{
    return QApplication::applicationDisplayName();
}

// Messages name files, lessons and cards: shown as typed, never as markup.
int showBox(QMessageBox::Icon icon, const QString& text, QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, title(), text, buttons, parentWindow);
    box.setTextFormat(Qt::PlainText);
    return box.exec();
}

} // namespace

TDialogService& TDialogService::Current()
{
    return installed ? *installed : realDialogs;
}

TDialogService* TDialogService::Install(TDialogService* service)
{
    TDialogService* previous = installed;
    installed = service;
    TQVL_ErrorDisplay::Install(service ? service : &realDialogs);
    return previous;
}

void TDialogService::SetParentWindow(QWidget* window)
{
    parentWindow = window;
}

QWidget* TDialogService::ParentWindow()
{
    return parentWindow;
}

void TMessageBoxDialogService::ShowError(const QString& text)
{
    // A context line and its cause are joined by a carriage return; a message box wants line feeds.
    QString shown = text;
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    showBox(QMessageBox::Critical, shown, QMessageBox::Ok);
}

void TMessageBoxDialogService::ShowInformation(const QString& text)
{
    showBox(QMessageBox::Information, text, QMessageBox::Ok);
}

bool TMessageBoxDialogService::Confirm(const QString& question)
{
    return showBox(QMessageBox::Question, question, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

TDialogChoice TMessageBoxDialogService::ConfirmOrCancel(const QString& question)
{
    QMessageBox box(QMessageBox::Question, title(), question, QMessageBox::NoButton, parentWindow);
    box.setTextFormat(Qt::PlainText);
    QAbstractButton* yes = box.addButton(QStringLiteral("Ja"), QMessageBox::YesRole);
    QAbstractButton* no = box.addButton(QStringLiteral("Nein"), QMessageBox::NoRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == yes)
        return TDialogChoice::Yes;
    if (box.clickedButton() == no)
        return TDialogChoice::No;
    return TDialogChoice::Cancel;
}

std::optional<QString> TMessageBoxDialogService::InputText(const QString& caption, const QString& prompt,
                                                           const QString& value, bool password)
{
    QInputDialog dialog(parentWindow);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    // The prompt may name a learner or a folder; the dialog has no switch for its format.
    if (auto* label = dialog.findChild<QLabel*>())
        AsPlainText(label);
    dialog.setTextEchoMode(password ? QLineEdit::Password : QLineEdit::Normal);
    dialog.setTextValue(value);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

QString TMessageBoxDialogService::OpenFileName(const QString& caption, const QString& folder, const QString& filter)
{
    return QFileDialog::getOpenFileName(parentWindow, caption, folder, filter);
}

QStringList TMessageBoxDialogService::OpenFileNames(const QString& caption, const QString& folder,
                                                   const QString& filter)
{
    return QFileDialog::getOpenFileNames(parentWindow, caption, folder, filter);
}

QString TMessageBoxDialogService::SaveFileName(const QString& caption, const QString& folder, const QString& filter)
{
    return QFileDialog::getSaveFileName(parentWindow, caption, folder, filter);
}

QString TMessageBoxDialogService::BrowseForFolder(const QString& caption, TQVL_SpecialFolder root,
                                                 const QString& initialFolder)
{
    QFileDialog dialog(parentWindow, caption, initialFolder.isEmpty() ? SpecialFolder(root) : initialFolder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return TQVL_System::ExcludeTrailingBackslash(dialog.selectedFiles().constFirst());
}
