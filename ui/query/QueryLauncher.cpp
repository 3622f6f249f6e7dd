#include "ui/query/QueryLauncher.h"

#include "ui/play/Form_PlayMeta.h"
#include "ui/query/Form_QueryMeta.h"
#include "ui/shell/WindowManager.h"

#include "content/QVL_Card_Type.h"
#include "app/QVL.h"
#include "ui/shell/Main.h"

#include <utility>

namespace {

TQueryWindowOpener& installedOpener()
{
    static TQueryWindowOpener opener;
    return opener;
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
    switch (window) {
    case TQueryWindow::Voc:
    case TQueryWindow::MultipleChoice:
    case TQueryWindow::Picture:
    case TQueryWindow::Grammar:
        return OpenQueryWindow(main);
    case TQueryWindow::PlayVoc:
    case TQueryWindow::PlayPicture:
    case TQueryWindow::PlayGrammar:
        return OpenPlayWindow(main);
    case TQueryWindow::None:
        break;
    }
    return nullptr;
}

TFormMeta* StartQueryWindow(TMainForm& main)
{
    TQVL& core = main.Core();
    const TQVL_Unit& unit = core.Units->GetActiveUnit();
    return unit.IsOpen ? ShowQueryWindow(main, QueryWindowFor(unit.Typ, core.Query->QueryType)) : nullptr;
}
