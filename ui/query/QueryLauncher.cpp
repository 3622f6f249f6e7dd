#include "ui/query/QueryLauncher.h"

#include "app/QVL.h"
#include "content/QVL_Card_Type.h"
#include "content/QVL_Unit.h"
#include "core/QVL_Error.h"
#include "query/QVL_Query.h"
#include "ui/play/Form_PlayGrammar.h"
#include "ui/play/Form_PlayPic.h"
#include "ui/play/Form_PlayVoc.h"
#include "ui/query/Form_Query_Grammar.h"
#include "ui/query/Form_Query_Pic.h"
#include "ui/query/Form_Query_Voc.h"
#include "ui/query/Form_Query_VocMultipleChoice.h"
#include "ui/shell/Main.h"
#include "ui/shell/WindowManager.h"

#include <utility>

namespace {

TQueryWindowOpener& installedOpener()
{
    static TQueryWindowOpener opener;
    return opener;
}

template <class TForm> TWindowManager::TScreenFactory factory(TQVL& core)
{
    return [&core](QWidget* area) -> TFormMeta* { return new TForm(area, core); };
}

// Shows `window` for the active unit, filling the screen area, and starts its run.
TFormRunMeta* openRunWindow(TMainForm& main, TQueryWindow window)
{
    TQVL& core = main.Core();
    TWindowManager::TScreenFactory create;
    switch (window) {
    case TQueryWindow::Voc:
        create = factory<TFormQueryVoc>(core);
        break;
    case TQueryWindow::MultipleChoice:
        create = factory<TFormQueryVocMultipleChoice>(core);
        break;
    case TQueryWindow::Picture:
        create = factory<TFormQueryPic>(core);
        break;
    case TQueryWindow::Grammar:
        create = factory<TFormQueryGrammar>(core);
        break;
    case TQueryWindow::PlayVoc:
        create = factory<TFormPlayVoc>(core);
        break;
    case TQueryWindow::PlayPicture:
        create = factory<TFormPlayPic>(core);
        break;
    case TQueryWindow::PlayGrammar:
        create = factory<TFormPlayGrammar>(core);
        break;
    case TQueryWindow::None:
        return nullptr;
    }
    auto* screen = static_cast<TFormRunMeta*>(main.WindowManager().SwitchWindow(create, true));
    try {
        screen->Start();
    } catch (...) {
        // Leaving the screen stops a run that did get going.
        main.ShowMainMenu();
        throw;
    }
    return screen;
}

// The window of the active unit's kind for `queryType`; a programming error without an open unit.
TQueryWindow activeUnitWindow(const TQVL& core, TQVL_QueryType queryType)
{
    const TQVL_Unit& unit = core.Units->GetActiveUnit();
    if (!unit.IsOpen)
        throw TQVL_Error(QStringLiteral("no active Unit"));
    return QueryWindowFor(unit.Typ, queryType);
}

} // namespace

TQueryWindowOpener InstallQueryWindowOpener(TQueryWindowOpener opener)
{
    return std::exchange(installedOpener(), std::move(opener));
}

TQueryWindow QueryWindowFor(TQVL_CardType unitType, TQVL_QueryType queryType)
{
    const bool play = queryType == TQVL_QueryType::Play;
    switch (unitType) {
    case tVoc:
    case tSound:
    case tLongTermStorage:
        if (play)
            return TQueryWindow::PlayVoc;
        return queryType == TQVL_QueryType::MultipleChoice ? TQueryWindow::MultipleChoice : TQueryWindow::Voc;
    case tPic:
        return play ? TQueryWindow::PlayPicture : TQueryWindow::Picture;
    case tGrammar:
        return play ? TQueryWindow::PlayGrammar : TQueryWindow::Grammar;
    default:
        return TQueryWindow::None;
    }
}

TFormMeta* ShowQueryWindow(TMainForm& main, TQueryWindow window)
{
    if (window == TQueryWindow::None)
        return nullptr;
    if (installedOpener()) {
        installedOpener()(main, window);
        return nullptr;
    }
    return openRunWindow(main, window);
}

TFormQueryMeta* OpenQueryWindow(TMainForm& main)
{
    const TQVL_QueryType queryType = main.Core().Query->QueryType;
    if (queryType == TQVL_QueryType::Play)
        return nullptr;
    return static_cast<TFormQueryMeta*>(openRunWindow(main, activeUnitWindow(main.Core(), queryType)));
}

TFormPlayMeta* OpenPlayWindow(TMainForm& main)
{
    return static_cast<TFormPlayMeta*>(openRunWindow(main, activeUnitWindow(main.Core(), TQVL_QueryType::Play)));
}

TFormMeta* StartQueryWindow(TMainForm& main)
{
    TQVL& core = main.Core();
    const TQVL_Unit& unit = core.Units->GetActiveUnit();
    return unit.IsOpen ? ShowQueryWindow(main, QueryWindowFor(unit.Typ, core.Query->QueryType)) : nullptr;
}
