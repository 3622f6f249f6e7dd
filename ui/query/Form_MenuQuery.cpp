#include "ui/query/Form_MenuQuery.h"

#include "app/QVL.h"
#include "app/QVL_EndRun.h"
#include "core/QVL_Error.h"
#include "query/QVL_Query_Cardpile.h"
#include "query/QVL_Query_Options.h"
#include "query/QVL_Result_Card.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "ui/shell/DialogService.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/KQ_ClickMatrix.h"
#include "ui/shell/MenuTiles.h"
#include "ui/shell/Navigator.h"
#include "users/QVL_User.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QPushButton>

namespace {

const QString wrongTypeReason = QStringLiteral("Abfrage für diesen Lektionstyp nicht möglich");
const QString tooFewReason = QStringLiteral("Die Lektion enthält zu wenige Vokabeln für diese Abfrage");

// A long-term query may look this many days ahead when nothing is due today.
constexpr double lookAheadDays = 3;

} // namespace

TFormMenuQuery::TFormMenuQuery(QWidget* parent, TQVL& engine) : TFormMeta(parent), core(engine)
{
    setObjectName(QStringLiteral("FormMenuQuery"));
    SetHeaderHeight(TallHeaderHeight);
    SetCaption(QStringLiteral("Vokabeln abfragen"));
    SetSubCaption(QStringLiteral("Wählen Sie eine Abfragevariante..."));
    auto choice = [this](int tile) { return [this, tile](TNavigator&) { SelectTile(tile); }; };
    KQ_ClickMatrix1 = CreateMenuTiles(
        *this, {{QStringLiteral("Einfache Abfrage"), QStringLiteral("query"), choice(TileSimple)},
                {QStringLiteral("Multiple-Choice"), QStringLiteral("choice"), choice(TileMultipleChoice)},
                {QStringLiteral("Auf Zeit"), QStringLiteral("timer"), choice(TileTimed)},
                {QStringLiteral("Mehrere Lektionen"), QStringLiteral("units"), choice(TileMultipleUnits)}});
    KQ_ClickMatrix1->onFocusItem = [this](TKQ_ClickMatrixItem* item) {
        if (item)
            tileFocused(item->Index());
    };

    Check_ChangeOptions = new QCheckBox(QStringLiteral("Abfrageeinstellungen vornehmen"), Content());
    Check_ChangeOptions->setObjectName(QStringLiteral("Check_ChangeOptions"));
    Button_Back = new QPushButton(QStringLiteral("Zurück"), Content());
    Button_Back->setObjectName(QStringLiteral("Button_Back"));
    SetEscapeButton(Button_Back);
    auto* row = new QHBoxLayout;
    row->addWidget(Check_ChangeOptions);
    row->addStretch();
    row->addWidget(Button_Back);
    Content()->layout()->addItem(row);
    connect(Button_Back, &QPushButton::clicked, this,
            [this] { Guarded([this] { Navigator().Show(TDestination::MainMenu); }); });

    Prepare();
}

TFormMenuQuery::~TFormMenuQuery() = default;

void TFormMenuQuery::Prepare()
{
    reasons = {};
    setTiles(reasons, false);
    const bool read = Guarded([&] {
        // The pile no longer needs the further units of an earlier multi-unit query.
        EndRun(core);
        TQVL_Query_Options& options = *core.Query->Options;
        if (options.IsOpen)
            options.CloseFile();
        options.Open(OptionsFileName(core));
        Check_ChangeOptions->setChecked(options.changeoptions);
        Check_ChangeOptions->setEnabled(true);
        if (LacksRight(core, &TQVL_User_Rights::QUERY_OPTIONS)) {
            Check_ChangeOptions->setChecked(false);
            Check_ChangeOptions->setEnabled(false);
        }
        options.CloseFile();
    });
    if (!read) {
        setTiles(reasons, true);
        return;
    }
    const TQVL_Unit& unit = core.Units->GetActiveUnit();
    if (unit.IsOpen)
        reasons = TileReasonsFor(unit.Typ, unit.Cards->Count());
    setTiles(reasons, false);
}

TFormMenuQuery::TTileReasons TFormMenuQuery::TileReasonsFor(int unitType, int cardCount)
{
    TTileReasons result;
    if (unitType == tPic || unitType == tGrammar)
        result[TileMultipleChoice] = result[TileTimed] = wrongTypeReason;
    auto tooFew = [&result](int tile) {
        if (result[std::size_t(tile)].isEmpty())
            result[std::size_t(tile)] = tooFewReason;
    };
    if (cardCount < 2) {
        tooFew(TileSimple);
        tooFew(TileMultipleChoice);
    }
    if (cardCount < 7)
        tooFew(TileMultipleChoice);
    return result;
}

void TFormMenuQuery::setTiles(const TTileReasons& tileReasons, bool allDisabled)
{
    for (int i = 0; i < TileCount; ++i)
        KQ_ClickMatrix1->Items().Item(i)->SetEnabled(!allDisabled && tileReasons[std::size_t(i)].isEmpty());
}

bool TFormMenuQuery::TileEnabled(int index) const
{
    return KQ_ClickMatrix1->Items().Item(index)->Enabled();
}

void TFormMenuQuery::tileFocused(int index)
{
    Navigator().ShowStatus(TileEnabled(index) ? QString() : TileReason(index));
}

void TFormMenuQuery::SelectTile(int index)
{
    if (index < 0 || index >= TileCount || !TileEnabled(index))
        return;
    if (!Navigator().CheckUnitSelected())
        return;
    Guarded([&] { choose(index); });
}

void TFormMenuQuery::choose(int index)
{
    TQVL_Query& query = *core.Query;
    TQVL_Query_Options& options = *query.Options;
    const TQVL_Unit& unit = core.Units->GetActiveUnit();

    prepareLongTermMode(unit);

    // Every query of this menu runs with these settings; the options screen may change some.
    options.ApplyMenuSettings(!LacksRight(core, &TQVL_User_Rights::QUERY_SELFASSESSMENT));

    options.changeoptions = Check_ChangeOptions->isChecked();
    WriteOptions(core);

    if (index == TileMultipleUnits) {
        query.QueryType = TQVL_QueryType::Simple;
        Navigator().Show(TDestination::UnitList);
        return;
    }
    query.QueryType = index == TileMultipleChoice ? TQVL_QueryType::MultipleChoice : TQVL_QueryType::Simple;
    if (index == TileTimed)
        options.Step().questiondisplaytime = true;
    // A pile left over from a choice that failed further on must not count its cards twice.
    query.Cardpile->Clear();
    query.Cardpile->AddUnit(unit);
    Navigator().Show(options.changeoptions ? TDestination::QueryOptions : TDestination::Run);
}

void TFormMenuQuery::prepareLongTermMode(const TQVL_Unit& unit)
{
    TQVL_Query& query = *core.Query;
    if (unit.Typ != tLongTermStorage) {
        query.SetLongTermMode(false);
        return;
    }
    query.SetLongTermMode(true);
    const TQVL_DateTime now = TQVL_DateTime::Now();
    query.SetReferenceDate(now);
    const TQVL_Result_User* results = core.Users->HasActiveUser() ? &core.Users->GetActiveUser().Results() : nullptr;
    if (TQVL_Query_Cardpile::HasDueCards(unit, results, now))
        return;
    if (!TDialogService::Current().Confirm(
            QStringLiteral("Es stehen keine Vokabeln zur heutigen Abfrage bereit!\rWollen Sie bereits die Karten der "
                           "nächsten 3 Tage lernen? Dies sollte aus lernmethodischen Gründen die Ausnahme bleiben.")))
        throw TQVL_Error(QStringLiteral("Abbruch durch Benutzer!"));
    const TQVL_DateTime ahead(now.Serial() + lookAheadDays);
    query.SetReferenceDate(ahead);
    if (!TQVL_Query_Cardpile::HasDueCards(unit, results, ahead))
        throw TQVL_Error(QStringLiteral("Es stehen bis zu diesem Datum ebenfalls keine Vokabeln zur Abfrage bereit!"));
}

QString TFormMenuQuery::OptionsFileName(const TQVL& core)
{
    return core.System->AppDataFolder + QStringLiteral("/Data/QueryOptions.xml");
}

void TFormMenuQuery::WriteOptions(TQVL& core)
{
    TQVL_Query_Options& options = *core.Query->Options;
    if (options.IsOpen)
        options.CloseFile();
    // A new file: a new uid and the values in memory, written in one save.
    options.NewFile(OptionsFileName(core));
    options.CloseFile();
}

bool TFormMenuQuery::LacksRight(const TQVL& core, TQVL_Right right)
{
    return core.Users->HasActiveUser() && !(core.Users->GetActiveUser().Rights().*right);
}
