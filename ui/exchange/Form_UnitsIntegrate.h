#pragma once

#include "ui/shell/FormDialogMeta.h"

#include <vector>

class QCheckBox;
class QLabel;
class QTreeWidget;
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
    // One conflicting pair: a card of the destination and a card of the source.
    struct Conflict
    {
        bool Equal;
        TQVL_Card* StorageCard;
        TQVL_Card* SourceCard;
    };

    explicit TFormUnitsIntegrate(QWidget* parent = nullptr);
    ~TFormUnitsIntegrate() override;

    // Opens the long-term storage of the active unit's languages (creating it
    // when there is none), shows the dialog for the two and closes the storage again.
    static void IntegrateActiveUnit();

    // Checks the two files and lists the conflicts; runs when the dialog is shown.
    void CheckUnits();
    // "Durchführen": copies the cards and closes the dialog. Nothing changes
    // when the storage cannot be written.
    void Integrate();

    // The conflicting pairs: similar pairs first (storage cards outer, source
    // cards inner, in file order), then identical pairs that were not similar.
    static std::vector<Conflict> FindConflicts(const TQVL_Unit& storage, const TQVL_Unit& source);
    // Why `source` cannot go into `destination`; empty when it can.
    static QString Mismatch(const TQVL_Unit& destination, const TQVL_Unit& source);

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
    std::vector<Conflict> conflicts;
    bool checked = false;
};
