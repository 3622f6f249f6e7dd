#pragma once

#include "core/QVL_DateTime.h"
#include "ui/shell/FormDialogMeta.h"

#include <array>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class TQVL_FSRS_Optimizer;
class TQVL_User;

// The learner's settings of one long-term storage: how its cards fall due
// ("Lernverfahren") and, for FSRS, the share of cards he wants to still know
// when they come up ("gewünschte Behaltensquote") and the weights of the
// memory model fitted to his own answers in the review log ("Parameter an
// meine Antworten anpassen"), and a pause for holidays ("Langzeitspeicher
// pausieren bis …"). Saved into his profile at "Ok".
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
    // "Parameter an meine Antworten anpassen": fits the weights to the
    // storage's answers in the review log and shows the log loss before and
    // after; they are saved with "Ok".
    void FitParameters();

    QComboBox* ComboBox_LearnMethod = nullptr;
    QDoubleSpinBox* SpinEdit_Retention = nullptr;
    QLabel* Label_Retention = nullptr;
    QLabel* Label_Parameters = nullptr;
    QPushButton* Button_FitParameters = nullptr;
    QPushButton* Button_DefaultParameters = nullptr;
    QLabel* Label_FitResult = nullptr;
    // "Langzeitspeicher pausieren bis …": for holidays; the date is the day it is back.
    QCheckBox* CheckBox_Pause = nullptr;
    QDateEdit* DateEdit_PauseUntil = nullptr;

private:
    void updateControls();

    TQVL_User& profile;
    QString storageUid;
    QString storageFile;
    // The first day of a pause already set; a new pause begins on the day it is set.
    TQVL_DateTime pausedFrom;
    // A pause that is over stays stored while its cards come back spread over the next days.
    TQVL_DateTime endedFrom, endedUntil;
    // The weights "Ok" saves; none for the defaults.
    std::optional<std::array<double, 21>> weights;
    // The storage's answers from the review log; null when it could not be read (logError says why).
    std::unique_ptr<TQVL_FSRS_Optimizer> optimizer;
    QString logError;
};
