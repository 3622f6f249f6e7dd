#pragma once

class TFormShowMeta;
class TMainForm;

// Opens the card viewer for the kind of the active unit, filling the screen
// area: vocabulary, sound and storage units the vocabulary viewer, picture
// units the picture viewer, grammar units the grammar viewer. With
// `lastQuery` it shows the counts of the last query. Returns the viewer, or
// nullptr for a unit without a viewer (an information unit) or without a unit.
TFormShowMeta* OpenCardViewer(TMainForm& main, bool lastQuery = false, bool resultsStored = false);
