#include "ui/show/ShowLauncher.h"

#include "app/QVL.h"
#include "content/QVL_Unit.h"
#include "ui/shell/Main.h"
#include "ui/shell/WindowManager.h"
#include "ui/show/Form_ShowMeta.h"
#include "ui/units/UnitKindScreens.h"

TFormShowMeta* OpenCardViewer(TMainForm& main, bool lastQuery, bool resultsStored)
{
    TQVL& core = main.Core();
    const TQVL_Unit& unit = core.Units->GetActiveUnit();
    const TUnitKindScreens::TScreen viewer = unit.IsOpen ? ScreensOfKind(unit.Typ).Viewer : nullptr;
    if (!viewer)
        return nullptr;
    auto* screen =
        main.WindowManager().SwitchWindowPrepared([&core, viewer](QWidget* area) { return viewer(area, core); }, true,
                                                  [&](TFormMeta& shown) {
                                                      auto& cards = static_cast<TFormShowMeta&>(shown);
                                                      cards.FLastQueryResults_Show = lastQuery;
                                                      cards.FLastQueryResults_Stored = resultsStored;
                                                  },
                                                  true);
    return static_cast<TFormShowMeta*>(screen);
}
