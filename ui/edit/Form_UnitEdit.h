#pragma once

#include "content/QVL_MeaningCleanup.h"
#include "content/QVL_Unit_Data.h"
#include "ui/shell/FormDialogMeta.h"

#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class TQVL;
class TQVL_Unit;

// "Lektion bearbeiten": the page "Lektionsdaten" changes the active unit's
// name (its file name) and languages; the page "Vokabeln bereinigen" splits
// meanings at chosen delimiters, shows the cards it would change and changes
// them only after the learner confirmed.
class TFormUnitEdit : public TFormDialogMeta
{
    Q_OBJECT
public:
    // `unit` is open and writable.
    TFormUnitEdit(TQVL& core, TQVL_Unit& unit, QWidget* parent = nullptr);
    ~TFormUnitEdit() override;

    // The page "Lektionsdaten" as a value.
    TQVL_Unit_Data Data() const;
    // "Übernehmen": writes the unit's data and closes the dialog.
    void ApplyData();
    // The delimiters chosen on the page "Vokabeln bereinigen".
    QString Delimiters() const;
    // "Vorschau": lists the cards the clean-up would change.
    void Preview();
    // "Bereinigen": after the confirmation, cleans the previewed cards and saves the unit.
    void Clean();
    const std::vector<TQVL_MeaningCleanup::Change>& Changes() const { return changes; }

    QTabWidget* PageControl1 = nullptr;
    QLineEdit* Edit_Name = nullptr;
    QComboBox* ComboBox_Home = nullptr;
    QComboBox* ComboBox_Foreign = nullptr;
    QCheckBox* CheckBox_Comma = nullptr;
    QCheckBox* CheckBox_Semicolon = nullptr;
    QCheckBox* CheckBox_Slash = nullptr;
    QPushButton* Button_Preview = nullptr;
    QPushButton* Button_Clean = nullptr;
    QLabel* Label_Changes = nullptr;
    QTreeWidget* VST1 = nullptr;

private:
    TQVL& core;
    TQVL_Unit& unit;
    std::vector<TQVL_MeaningCleanup::Change> changes;
};
