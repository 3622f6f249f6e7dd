#pragma once

#include "content/QVL_CardArrangement_Field.h"
#include "core/QVL_FileObject.h"

#include <functional>
#include <memory>
#include <vector>

// The rectangle of one shown field: its index in the list, the cell and the field's type.
struct TQVL_CardArrangement_Cell
{
    int Index = 0;
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    TQVL_CardArrangement_FieldType FieldType = cftLabelField;
    bool operator==(const TQVL_CardArrangement_Cell&) const = default;
};

// A card arrangement (".qxa", "Vorlage" for the learner): the ordered fields
// that say what the numbered values of a grammar card mean and where they
// appear, and the rule that turns them into rectangles for any display size.
// Grammar units name their arrangement by its `Uid`. The arrangement owns its
// fields; the manager of arrangements owns the active arrangement.
class TQVL_CardArrangement : public TQVL_FileObject
{
public:
    // Receives one rectangle per shown field: its index in the list, the cell
    // and the field's type.
    using PlaceFieldEvent = std::function<void(int Index, int Left, int Top, int Width, int Height,
                                               TQVL_CardArrangement_FieldType FieldType)>;

    TQVL_CardArrangement();
    ~TQVL_CardArrangement() override;

    // Replaces everything; a failing file leaves the object as it was and
    // raises "Die Datei "…" ist keine gültige Vorlagendatei!".
    void LoadFromXML(TQVL_XMLTag& tag) override;
    void SaveToXML(TQVL_XMLTag& tag) override;

    int FieldCount() const { return int(fields.size()); }
    // The field at `Index`; an index outside the list is a programming error.
    TQVL_CardArrangement_Field* Field(int Index) const;
    // Appends a field with the defaults and returns it.
    TQVL_CardArrangement_Field* AddField();
    void ClearFields();
    // The first field with that id; nullptr if there is none.
    TQVL_CardArrangement_Field* FindField(qint32 Id) const;

    // Rows of the tallest column, a vertical space counting as a whole row;
    // at most 255. 0 when there is nothing to place.
    int RowCount() const;
    // The cell of every label, input field and constant label within
    // Width x Height, in list order. An arrangement without rows has none.
    std::vector<TQVL_CardArrangement_Cell> Cells(int Width, int Height, int MarginY, int MarginX,
                                                 bool NoLeftMargin) const;
    // The cells on a card of Width x Height as the query and play screens
    // show it: 15 % of the height above and below, 20 % of the width either
    // side, both rounded down.
    std::vector<TQVL_CardArrangement_Cell> CardCells(int Width, int Height) const;
    // Hands every cell of Cells to OnPlaceField.
    void Layout(int Width, int Height, int MarginY, int MarginX, bool NoLeftMargin) const;

    QString Name;
    // Value labels and constant labels are shown in bold.
    bool StaticLabelBold = false;
    // Kept and written back; no layout uses it.
    quint8 ColumnWidthPercent = 0;

    PlaceFieldEvent OnPlaceField;

private:
    std::vector<std::unique_ptr<TQVL_CardArrangement_Field>> fields;
};
