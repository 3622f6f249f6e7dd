#pragma once

#include "exchange/QVL_Export.h"
#include "ui/shell/FormDialogMeta.h"

#include <array>

class QCheckBox;
class QComboBox;
class QRadioButton;
class TQVL;
class TQVL_Unit;

// "Lektion exportieren": writes the active lesson or long-term storage into a
// file that other programs read (CSV for spreadsheets, KVTML for KDE's
// vocabulary programs, a package for flashcard programs on desktop and
// phone), with the fields the learner chooses.
class TFormUnitsExport : public TFormDialogMeta
{
    Q_OBJECT
public:
    TFormUnitsExport(TQVL& core, const TQVL_Unit& unit, QWidget* parent = nullptr);
    ~TFormUnitsExport() override;

    // The settings as the engine takes them; raises the German message of the
    // first setting that does not fit.
    TQVL_Export Choices() const;
    // Asks for the target file and writes it; false when the learner cancelled.
    bool Export();
    // The file written last.
    QString WrittenFile() const { return writtenFile; }

    // Checks the right and the unit, then runs the dialog for the active unit.
    static void ExportActiveUnit(TQVL& core, QWidget* parent = nullptr);

    QRadioButton* check_CSV = nullptr;
    QRadioButton* check_KVTML = nullptr;
    QRadioButton* check_Anki = nullptr;
    QComboBox* ComboBox_Delimiter = nullptr;
    std::array<QCheckBox*, TQVL_Import_CSV::fFieldCount> check_Fields{};

private:
    TQVL_Export_Format chosenFormat() const;
    void formatChanged();

    TQVL& core;
    const TQVL_Unit& unit;
    QString writtenFile;
};
