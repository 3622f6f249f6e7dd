#pragma once

#include "core/QVL_DateTime.h"
#include "ui/shell/FormMeta.h"
#include "users/QVL_User_Rights.h"

#include <QString>

#include <array>

class QCheckBox;
class QPushButton;
class TKQ_ClickMatrix;
class TQVL;
class TQVL_Result_User;
class TQVL_Unit;

// The query menu: the learner picks a query variant for the active unit. It
// empties the card pile, reads the query options, and on a choice writes the
// per-query settings into the options file, fills the pile and goes on to the
// options screen, the unit list or the query window.
class TFormMenuQuery : public TFormMeta
{
    Q_OBJECT
public:
    enum
    {
        TileSimple = 0,
        TileMultipleChoice = 1,
        TileTimed = 2,
        TileMultipleUnits = 3,
        TileCount = 4,
    };
    // Why each tile is disabled; an empty text means enabled.
    using TTileReasons = std::array<QString, TileCount>;

    // Prepares the menu right away (see Prepare).
    TFormMenuQuery(QWidget* parent, TQVL& engine);
    ~TFormMenuQuery() override;

    // Empties the pile, reads the options file into the query's options and
    // sets the check box and the tiles. A file that cannot be read disables
    // every tile and reaches the learner as an error.
    void Prepare();
    // Chooses tile `index` as a click does: nothing for a disabled tile, the
    // no-unit notice without a unit, errors to the error display.
    void SelectTile(int index);
    bool TileEnabled(int index) const;
    QString TileReason(int index) const { return reasons.at(std::size_t(index)); }

    // The tiles of a unit of `unitType` with `cardCount` cards.
    static TTileReasons TileReasonsFor(int unitType, int cardCount);
    // The query options file of the application-data folder.
    static QString OptionsFileName(const TQVL& core);
    // Rewrites the options file from the query's options (new uid) and closes it.
    static void WriteOptions(TQVL& core);
    // Whether a user is logged in and lacks the right `right`.
    static bool LacksRight(const TQVL& core, TQVL_Right right);

    TKQ_ClickMatrix* KQ_ClickMatrix1 = nullptr;
    QCheckBox* Check_ChangeOptions = nullptr;
    QPushButton* Button_Back = nullptr;

private:
    TQVL& core;
    void choose(int index);
    void prepareLongTermMode(const TQVL_Unit& unit);
    void setTiles(const TTileReasons& tileReasons, bool allDisabled);
    void tileFocused(int index);

    TTileReasons reasons;
};
