#pragma once

#include "content/QVL_Card_Type.h"
#include "query/QVL_Query_Type.h"

#include <functional>

class TFormPlayMeta;
class TFormQueryMeta;
class TMainForm;

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

// The one rule for which window a query of `queryType` over units of
// `unitType` gets: vocabulary, sound and storage units use the vocabulary
// windows, picture and grammar units their own; None for others.
TQueryWindow QueryWindowFor(TQVL_CardType unitType, TQVL_QueryType queryType);

class TFormMeta;

// Switches the main window to `window`, which starts the query the menus set
// up in the core; nothing for TQueryWindow::None. Returns the window, or
// nullptr when none was shown.
TFormMeta* ShowQueryWindow(TMainForm& main, TQueryWindow window);

// How ShowQueryWindow opens a window. Tests install one that records the
// request; an empty opener restores the program's. Returns the previous one.
using TQueryWindowOpener = std::function<void(TMainForm& main, TQueryWindow window)>;
TQueryWindowOpener InstallQueryWindowOpener(TQueryWindowOpener opener);

// Opens the query window QueryWindowFor names for the active unit and the
// query's QueryType, and starts the query over the pile the caller
// filled. When starting fails the main menu is shown and the error passes on.
// Returns nullptr, opening nothing, for unit kinds without a query window
// and for the play mode.
TFormQueryMeta* OpenQueryWindow(TMainForm& main);
// The same for the play screen of the active unit's kind.
TFormPlayMeta* OpenPlayWindow(TMainForm& main);

// ShowQueryWindow for the active unit's type and the query's QueryType.
TFormMeta* StartQueryWindow(TMainForm& main);
