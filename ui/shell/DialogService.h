#pragma once

#include "core/QVL_ErrorDisplay.h"
#include "core/QVL_System.h"

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

// The answer to a question with the buttons "Ja", "Nein" and "Abbrechen".
enum class TDialogChoice
{
    Yes,
    No,
    Cancel,
};

// Every message box, question, input box and file or folder picker of the
// screens goes through the installed service: the program shows real
// dialogs, tests install a scripted one, so no test ever blocks on a window.
class TDialogService : public TQVL_ErrorDisplay
{
public:
    ~TDialogService() override = default;

    void ShowError(const QString& text) override = 0;
    virtual void ShowInformation(const QString& text) = 0;
    // Yes/no question; true for yes.
    virtual bool Confirm(const QString& question) = 0;
    // Ja / Nein / Abbrechen; closing the box counts as Abbrechen.
    virtual TDialogChoice ConfirmOrCancel(const QString& question) = 0;
    // A line of text; nothing when cancelled.
    virtual std::optional<QString> InputText(const QString& title, const QString& prompt, const QString& value,
                                             bool password = false) = 0;
    // Empty when cancelled.
    virtual QString OpenFileName(const QString& title, const QString& folder, const QString& filter) = 0;
    // Several files at once; by default the one file OpenFileName asks for.
    virtual QStringList OpenFileNames(const QString& title, const QString& folder, const QString& filter)
    {
        const QString file = OpenFileName(title, folder, filter);
        return file.isEmpty() ? QStringList() : QStringList{file};
    }
    virtual QString SaveFileName(const QString& title, const QString& folder, const QString& filter) = 0;
    // The folder picker rooted at the special folder `rootKind`; empty when cancelled.
    virtual QString BrowseForFolder(const QString& title, TQVL_SpecialFolder root, const QString& initialFolder) = 0;

    // The installed service (the real dialogs unless a test installed its own).
    static TDialogService& Current();
    // Installs `service` (not owned; nullptr restores the real dialogs) and returns the previous one.
    static TDialogService* Install(TDialogService* service);
    // The window dialogs are shown over.
    static void SetParentWindow(QWidget* window);
    static QWidget* ParentWindow();
};
