#pragma once

#include "content/QVL_Card_Type.h"

#include <QString>

class TFormMeta;

// Where a screen may ask to go. The owner picks the screen class for it, and
// whether it fills the screen area.
enum class TDestination
{
    MainMenu,
    // The second page of the main menu.
    MoreFunctions,
    QueryMenu,
    PlayMenu,
    NewUnitMenu,
    Statistics,
    QueryOptions,
    // The list of units for a query or play run over several units.
    UnitList,
    QueryResults,
    // The card viewer of the active unit's kind.
    Cards,
    // The card viewer with the counts of the last query.
    LastQueryCards,
    // The card editor of the active unit's kind, after the editing checks.
    CardEditor,
    // The window of the query or play run the menus set up in the core.
    Run,
    // The cards the learner gets wrong most often.
    ProblemWords,
};

// The menu commands a screen may run; they keep the rights checks of the menu.
enum class TCommand
{
    SelectUnit,
    LongTermStorages,
    Community,
    Update,
};

// What screens ask of the one owner of the screen area. Screens state their
// intent here and never reach for the main window; the window manager hands
// the navigator to its screens (TFormMeta::Navigator), and a test can put a
// fake one in its place.
class TNavigator
{
public:
    virtual ~TNavigator() = default;

    // Switches to `destination`; returns the screen now shown, or nullptr when
    // none was (a check failed, or nothing of that kind exists).
    virtual TFormMeta* Show(TDestination destination) = 0;
    virtual void Run(TCommand command) = 0;
    // Creates a unit of `kind` through the new-unit dialog and opens its editor.
    virtual void CreateUnit(TQVL_CardType kind) = 0;
    // True when a unit is open; otherwise tells the learner that none is.
    virtual bool CheckUnitSelected() = 0;
    // Tells the learner that a right is missing.
    virtual void ShowNoRight() = 0;
    // The text of the main window's status bar.
    virtual void ShowStatus(const QString& text) = 0;

    // Goes nowhere: the navigator of a screen that no window manager shows.
    static TNavigator& Nowhere();
};
