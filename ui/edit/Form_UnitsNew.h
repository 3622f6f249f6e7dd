#pragma once

#include "content/QVL_Card_Type.h"
#include "content/QVL_Unit_New.h"
#include "ui/shell/FormDialogMeta.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class TQVL;

// Asks what a new unit of one kind needs: its name, its home and foreign
// language (from the installed language profiles), for a grammar unit the
// card arrangement, for a picture unit where its pictures live. "Ok" writes
// the unit file into the units folder; CreatedFile() names it.
class TFormUnitsNew : public TFormDialogMeta
{
    Q_OBJECT
public:
    TFormUnitsNew(TQVL& core, TQVL_CardType typ, QWidget* parent = nullptr);
    ~TFormUnitsNew() override;

    // The choices of the controls.
    TQVL_Unit_New Choices() const;
    // "Ok": creates the unit file and closes the dialog; a wrong choice is
    // reported and the dialog stays.
    void CreateUnit();
    QString CreatedFile() const { return createdFile; }
    // Where new units go: the units folder of the user, or of the options.
    static QString UnitsFolder(const TQVL& core);

    QLineEdit* Edit_Name = nullptr;
    QComboBox* ComboBox_Home = nullptr;
    QComboBox* ComboBox_Foreign = nullptr;
    QComboBox* ComboBox_Arrangement = nullptr;
    QCheckBox* CheckBox_OwnFolder = nullptr;

private:
    void fillArrangements();

    TQVL& core;
    const TQVL_CardType typ;
    QString createdFile;
};
