#pragma once

#include <functional>

class TMainForm;
class TQVL;

// The windows that run a query or a play run over the card pile.
enum class TQueryWindow
{
    None,
    Voc,
    MultipleChoice,
    Picture,
    Grammar,
    PlayVoc,
    PlayPicture,
    PlayGrammar,
};

// The window for a query of `queryType` (0 simple, 1 play, 2 multiple choice)
// over units of `unitType`: vocabulary, sound and storage units use the
// vocabulary windows, picture and grammar units their own; None for others.
TQueryWindow QueryWindowFor(int unitType, int queryType);

// Switches the main window to `window`, which starts the query the menus set
// up in the core; nothing for TQueryWindow::None.
void ShowQueryWindow(TMainForm& main, TQueryWindow window);

// How ShowQueryWindow opens a window. Tests install one that records the
// request; an empty opener restores the program's. Returns the previous one.
using TQueryWindowOpener = std::function<void(TMainForm& main, TQueryWindow window)>;
TQueryWindowOpener InstallQueryWindowOpener(TQueryWindowOpener opener);

// ShowQueryWindow for the active unit's type and the query's QueryType.
void StartQueryWindow(TMainForm& main);

// Back to the menu of play mode, where a multi-unit play run was set up.
void ShowPlayMenu(TMainForm& main);

// Closes the further units a multi-unit query opened: every additional unit
// of the units manager. Call it once their cards have left the pile.
void CloseQueryUnits(TQVL& core);
