#include "ui/units/UnitKindScreens.h"

#include "ui/edit/Form_EditGrammar.h"
#include "ui/edit/Form_EditPicture.h"
#include "ui/edit/Form_EditSound.h"
#include "ui/edit/Form_EditVoc.h"
#include "ui/print/Form_PrintGrammar.h"
#include "ui/print/Form_PrintVoc.h"
#include "ui/show/Form_ShowGrammar.h"
#include "ui/show/Form_ShowPic.h"
#include "ui/show/Form_ShowVoc.h"

namespace {

template <class TForm> TFormMeta* viewer(QWidget* area, TQVL& core)
{
    return new TForm(area, core);
}

template <class TForm> TFormMeta* editor(QWidget* area, TQVL& core)
{
    return new TForm(core, area);
}

template <class TDialog> void print(TQVL& core, QWidget* parent)
{
    TDialog dialog(core, parent);
    dialog.ShowModal();
}

} // namespace

const TUnitKindScreens& ScreensOfKind(TQVL_CardType kind)
{
    static const TUnitKindScreens voc = {viewer<TFormShowVoc>, editor<TFormEditVoc>, false, print<TFormPrintVoc>, {}};
    static const TUnitKindScreens sound = {
        viewer<TFormShowVoc>, editor<TFormEditSound>, false, print<TFormPrintVoc>, {}};
    static const TUnitKindScreens grammar = {
        viewer<TFormShowGrammar>, editor<TFormEditGrammar>, false, print<TFormPrintGrammar>, {}};
    static const TUnitKindScreens picture = {
        viewer<TFormShowPic>, editor<TFormEditPicture>, true, nullptr,
        QStringLiteral("Bilderlektionen können nicht gedruckt werden: Sie enthalten keine Vokabeln.")};
    // An information unit has no cards to show or edit; printing shows the empty vocabulary list.
    static const TUnitKindScreens info = {nullptr, nullptr, false, print<TFormPrintVoc>, {}};
    switch (kind) {
    case tVoc:
    case tLongTermStorage:
        return voc;
    case tSound:
        return sound;
    case tGrammar:
        return grammar;
    case tPic:
        return picture;
    case tInfo:
        return info;
    }
    return info;
}
