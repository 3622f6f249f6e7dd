#include "ui/play/Form_MenuPlay.h"

#include "app/QVL.h"
#include "app/QVL_EndRun.h"
#include "content/QVL_Card_Container.h"
#include "core/QVL_Error.h"
#include "query/QVL_Query.h"
#include "query/QVL_Query_Cardpile.h"
#include "query/QVL_Query_Options.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/KQ_ClickMatrix.h"
#include "ui/shell/MenuTiles.h"
#include "ui/shell/Navigator.h"
#include "users/QVL_Options.h"

#include <QHBoxLayout>
#include <QLayout>
#include <QPushButton>

TFormMenuPlay::TFormMenuPlay(QWidget* parent, TQVL& engine) : TFormMeta(parent), core(engine)
{
    setObjectName(QStringLiteral("FormMenuPlay"));
    SetHeaderHeight(TallHeaderHeight);
    SetCaption(QStringLiteral("Vokabeln vorspielen"));
    SetSubCaption(QStringLiteral("Lassen Sie sich die Vokabeln am Bildschirm präsentieren..."));
    auto choice = [this](TQVL_PlayForm form) { return [this, form](TNavigator&) { SelectTile(int(form)); }; };
    KQ_ClickMatrix1 = CreateMenuTiles(
        *this, {{QStringLiteral("Übereinander"), QStringLiteral("vocabulary"), choice(TQVL_PlayForm::Together)},
                {QStringLiteral("Nacheinander"), QStringLiteral("play"), choice(TQVL_PlayForm::OneAfterAnother)},
                {QStringLiteral("Pseudo-Abfrage"), QStringLiteral("query"), choice(TQVL_PlayForm::PseudoQuery)},
                {QStringLiteral("Mehrere Lektionen"), QStringLiteral("units"), choice(TQVL_PlayForm::MultipleUnits)}});
    Button_Back = new QPushButton(QStringLiteral("Zurück"), Content());
    Button_Back->setObjectName(QStringLiteral("Button_Back"));
    SetEscapeButton(Button_Back);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(Button_Back);
    Content()->layout()->addItem(row);
    connect(Button_Back, &QPushButton::clicked, this,
            [this] { Guarded([this] { Navigator().Show(TDestination::MainMenu); }); });

    Guarded([this] { prepare(); });
}

TFormMenuPlay::~TFormMenuPlay() = default;

void TFormMenuPlay::prepare()
{
    TQVL_Query& query = *core.Query;
    // The further units of an earlier run over several units are no longer needed.
    EndRun(core);
    query.QueryType = TQVL_QueryType::Play;
    const TQVL_Unit& unit = core.Units->GetActiveUnit();
    TQVL_Query_PlaySettings::ApplyMenuDefaults(*query.Options, unit.IsOpen ? unit.Typ : tInfo);
}

void TFormMenuPlay::SelectTile(int index)
{
    if (index < 0 || index > int(TQVL_PlayForm::MultipleUnits))
        return;
    if (!Navigator().CheckUnitSelected())
        return;
    Guarded([&] { choose(TQVL_PlayForm(index)); });
}

void TFormMenuPlay::choose(TQVL_PlayForm form)
{
    TQVL_Query& query = *core.Query;
    const TQVL_Unit& unit = core.Units->GetActiveUnit();
    // A storage is played whole, not only its due cards.
    query.SetLongTermMode(false);
    query.QueryType = TQVL_QueryType::Play;
    // Afresh for every choice: an earlier choice may have changed the reductions.
    TQVL_Query_PlaySettings::ApplyMenuDefaults(*query.Options, unit.Typ);
    const TQVL_Options& programOptions = *core.Options;
    const TQVL_PlayIntervals intervals{programOptions.play_both_intervall,
                                       programOptions.play_series_showquestionintervall,
                                       programOptions.play_series_showanswerintervall};
    TQVL_Query_PlaySettings::ApplyForm(*query.Options, form, intervals, unit.Typ);
    // The unit list may add units with cards; otherwise there is nothing to show.
    if (form != TQVL_PlayForm::MultipleUnits && unit.Cards->Count() == 0)
        throw TQVL_Error(QStringLiteral("Die Lektion enthält keine Karten, die vorgespielt werden können."));
    // A pile left from a choice that failed further on must not count its cards twice.
    query.Cardpile->Clear();
    query.Cardpile->AddUnit(unit);
    Navigator().Show(form == TQVL_PlayForm::MultipleUnits ? TDestination::UnitList : TDestination::Run);
}
