#include "ui/show/ShowLauncher.h"

#include "app/QVL.h"
#include "content/QVL_Unit.h"
#include "ui/shell/Main.h"
#include "ui/shell/WindowManager.h"
#include "ui/show/Form_ShowGrammar.h"
#include "ui/show/Form_ShowPic.h"
#include "ui/show/Form_ShowVoc.h"

namespace {

template <class TForm> TFormShowMeta* open(TMainForm& main, bool lastQuery, bool resultsStored)
{
    return main.WindowManager().SwitchWindowPrepared<TForm>(
        true,
        [&](TForm& viewer) {
            viewer.FLastQueryResults_Show = lastQuery;
            viewer.FLastQueryResults_Stored = resultsStored;
        },
        true);
}

} // namespace

TFormShowMeta* OpenCardViewer(TMainForm& main, bool lastQuery, bool resultsStored)
{
    const TQVL_Unit& unit = main.Core().Units->GetActiveUnit();
    if (!unit.IsOpen)
        return nullptr;
    switch (unit.Typ) {
    case tVoc:
    case tSound:
    case tLongTermStorage:
        return open<TFormShowVoc>(main, lastQuery, resultsStored);
    case tPic:
        return open<TFormShowPic>(main, lastQuery, resultsStored);
    case tGrammar:
        return open<TFormShowGrammar>(main, lastQuery, resultsStored);
    case tInfo:
        return nullptr;
    }
    return nullptr;
}
