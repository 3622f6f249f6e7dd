#pragma once

#include "ui/shell/DialogService.h"

// The real dialogs: message boxes, input boxes and the file dialogs of Qt.
class TMessageBoxDialogService final : public TDialogService
{
public:
    void ShowError(const QString& text) override;
    void ShowInformation(const QString& text) override;
    bool Confirm(const QString& question) override;
    TDialogChoice ConfirmOrCancel(const QString& question) override;
    std::optional<QString> InputText(const QString& title, const QString& prompt, const QString& value,
                                     bool password) override;
    QString OpenFileName(const QString& title, const QString& folder, const QString& filter) override;
    QStringList OpenFileNames(const QString& title, const QString& folder, const QString& filter) override;
    QString SaveFileName(const QString& title, const QString& folder, const QString& filter) override;
    QString BrowseForFolder(const QString& title, TQVL_SpecialFolder root, const QString& initialFolder) override;
};
