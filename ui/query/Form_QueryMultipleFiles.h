#pragma once

#include "ui/shell/FormMeta.h"

#include <QStringList>

#include <vector>

class QPushButton;
class QToolButton;
class QTreeWidget;
class TQVL_Unit;
class TQVL;

// The unit list of a query or play run over several units ("Lektionen
// hinzufügen"): the active unit and further units of the same languages and
// kind. The further units are opened as additional units of the units
// manager; "Weiter >" puts all their cards into the pile and leaves them open
// for the run, "Abbruch" and leaving the screen otherwise close them.
class TFormQueryMultipleFiles : public TFormMeta
{
    Q_OBJECT
public:
    // Lists the active unit when one is open.
    TFormQueryMultipleFiles(QWidget* parent, TQVL& engine);
    ~TFormQueryMultipleFiles() override;

    // Closes the further units that are still listed.
    void BeforeClose() override;

    // The plus button: asks for a unit file and adds it.
    void AddFiles();
    // Opens each file as a further unit and appends it. A unit whose languages
    // or kind differ from a listed one is closed again and refused with an
    // error; a file that is listed already is not added twice.
    void AddUnits(const QStringList& fileNames);
    // The minus button: removes the selected row, closing its unit unless it is the active unit.
    void RemoveSelected();
    // "Weiter >": puts the cards of the listed units into the pile and goes on.
    void Continue();
    // "Abbruch": closes the further units and returns to the menu the run was set up in.
    void Abort();

    // The folder the file dialog starts in and the paths are shown relative to.
    QString StartFolder() const { return startFolder; }
    // The listed units, in list order.
    std::vector<TQVL_Unit*> Units() const;
    // The type names of the list's "Karten" column, by unit type.
    static QString TypeName(int unitType);

    QTreeWidget* VST1 = nullptr;
    QToolButton* Button_Add = nullptr;
    QToolButton* Button_Remove = nullptr;
    QPushButton* Button_Next = nullptr;
    QPushButton* Button_Abort = nullptr;
    QPushButton* Button_Help = nullptr;

private:
    TQVL& core;
    struct Entry
    {
        TQVL_Unit* Unit;
        // Opened by this screen (not the active unit).
        bool Own;
    };

    void addUnit(const QString& fileName);
    void appendRow(const Entry& entry);
    void closeOwnUnits();
    void updateButtons();

    QString startFolder;
    std::vector<Entry> entries;
};
