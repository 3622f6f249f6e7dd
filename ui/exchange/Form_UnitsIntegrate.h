#pragma once

#include "content/QVL_Unit_Integration.h"
#include "ui/shell/FormDialogMeta.h"

#include <vector>

class QCheckBox;
class QLabel;
class QTreeWidget;
class TQVL;
class TQVL_Card;
class TQVL_Unit;

// "Lektionen zusammenführen": copies the cards of a unit into a long-term
// storage (or another unit) after listing the cards that conflict with cards
// stored there. The caller opens both files, shows the dialog modally and
// closes them again.
class TFormUnitsIntegrate : public TFormDialogMeta
{
    Q_OBJECT
public:
    using Conflict = TQVL_Unit_Integration::Conflict;

    explicit TFormUnitsIntegrate(TQVL& engine, QWidget* parent = nullptr);
    ~TFormUnitsIntegrate() override;

    // Opens the long-term storage of the active unit's languages (creating it
    // when there is none), shows the dialog for the two and closes the storage again.
    static void IntegrateActiveUnit(TQVL& core);

    // Checks the two files and lists the conflicts; runs when the dialog is shown.
    void CheckUnits();
    // "Durchführen": copies the cards and closes the dialog. Nothing changes
    // when the storage cannot be written.
    void Integrate();

    const std::vector<Conflict>& Conflicts() const { return conflicts; }

    // Not owned; both open while the dialog runs.
    TQVL_Unit* SourceUnit = nullptr;
    TQVL_Unit* DestStorage = nullptr;

    QLabel* Label_Unit = nullptr;
    QLabel* Label_Storage = nullptr;
    QLabel* Label_Conflicts = nullptr;
    QTreeWidget* VST1 = nullptr;
    QCheckBox* CheckBox_SkipConflicts = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fitColumns();

    TQVL& core;
    std::vector<Conflict> conflicts;
    bool checked = false;
};
