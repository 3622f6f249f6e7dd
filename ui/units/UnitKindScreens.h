#pragma once

#include "content/QVL_Card_Type.h"

#include <QString>

class QWidget;
class TFormMeta;
class TQVL;

// What each kind of unit is shown, edited and printed in, in one table: a
// new kind, or a new screen for a kind, is one row to change.
struct TUnitKindScreens
{
    using TScreen = TFormMeta* (*)(QWidget* area, TQVL& core);
    using TPrint = void (*)(TQVL& core, QWidget* parent);

    // The card viewer (a TFormShowMeta), filling the screen area.
    TScreen Viewer = nullptr;
    // The card editor (a TFormEdit).
    TScreen Editor = nullptr;
    bool EditorFills = false;
    // Runs the print dialog modally; nullptr when the kind has nothing to print.
    TPrint Print = nullptr;
    // Why the kind cannot be printed, when it cannot.
    QString NotPrintable;
};

// The row of `kind`; every entry is empty for a kind without screens.
const TUnitKindScreens& ScreensOfKind(TQVL_CardType kind);
