#pragma once

#include "content/QVL_Card_Type.h"

class TFormEdit;
class TMainForm;

// Opens the card editor of the active unit's kind in the main window, after
// the checks of the main menu: a unit must be open, its file must be
// writable (the learner is told when it is not) and the user needs the right
// to edit units. A file another program saved meanwhile is read again first.
// "Übernehmen & Zurück" returns to the main menu. Returns the editor, or
// nullptr when none was opened.
TFormEdit* OpenUnitEditor(TMainForm& main);

// Creates a unit of `typ` through the new-unit dialog (the user needs the
// right to edit units), opens it as the active unit and shows its editor.
// Returns the editor, or nullptr when the learner cancelled.
TFormEdit* CreateNewUnit(TMainForm& main, TQVL_CardType typ);

// "Bearbeiten": the unit editor "Lektion bearbeiten" for the active unit (not
// for a long-term storage). The current screen (an open card editor, a
// query, a viewer) is left for the main menu first. After a change
// of name or languages the unit is opened again, so that the main window
// shows its new name and loads its languages.
void EditActiveUnit(TMainForm& main);
