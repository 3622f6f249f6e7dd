#pragma once

#include "ui/shell/FormDialogMeta.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class TQVL_User;

// The learner's settings of one long-term storage: how its cards fall due
// ("Lernverfahren") and, for FSRS, the share of cards he wants to still know
// when they come up ("gewünschte Behaltensquote"). Saved into his profile at "Ok".
class TFormLongTermStorageSettings : public TFormDialogMeta
{
    Q_OBJECT
public:
    // `user` is the logged-in profile; the storage is named by its uid, file and shown name.
    TFormLongTermStorageSettings(TQVL_User& user, const QString& uid, const QString& fileName,
                                 const QString& storageName, QWidget* parent = nullptr);
    ~TFormLongTermStorageSettings() override;

    // "Ok": checks and saves the settings, then closes the dialog.
    void SaveSettings();

    QComboBox* ComboBox_LearnMethod = nullptr;
    QDoubleSpinBox* SpinEdit_Retention = nullptr;
    QLabel* Label_Retention = nullptr;

private:
    TQVL_User& profile;
    QString storageUid;
    QString storageFile;
};
