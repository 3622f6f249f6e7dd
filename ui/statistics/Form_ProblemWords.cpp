#include "ui/statistics/Form_ProblemWords.h"

#include "app/QVL.h"
#include "content/QVL_Card_Grammar.h"
#include "content/QVL_Card_Pic.h"
#include "content/QVL_Card_Voc.h"
#include "core/QVL_Error.h"
#include "query/QVL_Query_Cardpile.h"
#include "query/QVL_Query_Options.h"
#include "ui/edit/Form_Edit.h"
#include "ui/query/Form_MenuQuery.h"
#include "ui/shell/DialogService.h"
#include "ui/shell/FitToText.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/Navigator.h"
#include "ui/shell/PlainText.h"
#include "users/QVL_User_Rights.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <map>
#include <memory>

namespace {

enum Column
{
    colWord,
    colUnit,
    colAsked,
    colWrong,
    colShare,
    ColumnCount
};

bool sameFile(const QString& a, const QString& b)
{
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

} // namespace

TFormProblemWords::TFormProblemWords(QWidget* parent, TQVL& engine) : TFormMeta(parent), core(engine)
{
    setObjectName(QStringLiteral("FormProblemWords"));
    SetHeaderHeight(TallHeaderHeight);
    SetCaption(QStringLiteral("Problemwörter"));
    SetSubCaption(QStringLiteral("Die Vokabeln, die Sie am häufigsten falsch beantworten..."));

    Label_Rule = new QLabel(QStringLiteral("Vokabeln mit mindestens %1 falschen Antworten, die mit dem höchsten Anteil "
                                           "falscher Antworten zuerst.")
                                .arg(TQVL_Statistics_ProblemWords::MinWrong),
                            Content());
    Label_Rule->setObjectName(QStringLiteral("Label_Rule"));
    Label_Rule->setWordWrap(true);

    VST1 = new QTreeWidget(Content());
    VST1->setObjectName(QStringLiteral("VST1"));
    VST1->setColumnCount(ColumnCount);
    VST1->setHeaderLabels({QStringLiteral("Vokabel"), QStringLiteral("Lektion"), QStringLiteral("Abgefragt"),
                           QStringLiteral("Falsch"), QStringLiteral("Fehlerquote")});
    VST1->setRootIsDecorated(false);
    VST1->setUniformRowHeights(true);
    VST1->setAllColumnsShowFocus(true);
    VST1->setSelectionMode(QAbstractItemView::SingleSelection);
    VST1->setSelectionBehavior(QAbstractItemView::SelectRows);
    VST1->header()->setSectionResizeMode(colWord, QHeaderView::Stretch);
    VST1->header()->setStretchLastSection(false);
    connect(VST1, &QTreeWidget::currentItemChanged, this, [this] { updateButtons(); });
    connect(VST1, &QTreeWidget::itemActivated, this, [this] { Guarded([this] { EditChosen(); }); });

    Button_Edit = new QPushButton(QStringLiteral("Bearbeiten"), Content());
    Button_Edit->setObjectName(QStringLiteral("Button_Edit"));
    Button_Practice = new QPushButton(QStringLiteral("Als eigene Lektion üben"), Content());
    Button_Practice->setObjectName(QStringLiteral("Button_Practice"));
    Button_Back = new QPushButton(QStringLiteral("Zurück"), Content());
    Button_Back->setObjectName(QStringLiteral("Button_Back"));
    SetEscapeButton(Button_Back);
    connect(Button_Edit, &QPushButton::clicked, this, [this] { Guarded([this] { EditChosen(); }); });
    connect(Button_Practice, &QPushButton::clicked, this, [this] { Guarded([this] { PracticeAsLesson(); }); });
    connect(Button_Back, &QPushButton::clicked, this,
            [this] { Guarded([this] { Navigator().Show(TDestination::MainMenu); }); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button_Edit);
    buttons->addWidget(Button_Practice);
    buttons->addStretch(1);
    buttons->addWidget(Button_Back);
    auto* layout = new QVBoxLayout(Content());
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);
    layout->addWidget(Label_Rule);
    layout->addWidget(VST1, 1);
    layout->addLayout(buttons);

    Guarded([this] { fill(); });
    updateButtons();
}

TFormProblemWords::~TFormProblemWords() = default;

QString TFormProblemWords::CardText(const TQVL_Card& card)
{
    if (const auto* voc = dynamic_cast<const TQVL_Card_Voc*>(&card))
        return voc->ForeignText() + QStringLiteral(" – ") + voc->HomeText();
    if (const auto* pic = dynamic_cast<const TQVL_Card_Pic*>(&card))
        return pic->question.isEmpty() ? pic->answer_text : pic->question;
    if (const auto* grammar = dynamic_cast<const TQVL_Card_Grammar*>(&card)) {
        QStringList values;
        for (int i = 0; i < grammar->FieldValueCount() && values.size() < 3; ++i)
            if (!grammar->FieldValue(i)->value.isEmpty())
                values << grammar->FieldValue(i)->value;
        return values.join(QStringLiteral(" – "));
    }
    return {};
}

void TFormProblemWords::fill()
{
    rows.clear();
    VST1->clear();
    if (!core.Users->HasActiveUser())
        return;
    const TQVL_Statistics_UnitResults units = core.Statistics->GetUnitResults();
    const auto entries = TQVL_Statistics_ProblemWords::Compute(units, MaxWords);
    // Each lesson read once, only to show its cards' words; the open one as it is in memory.
    std::map<QString, std::unique_ptr<TQVL_Unit>> read;
    const TQVL_Unit& active = core.Units->GetActiveUnit();
    for (const auto& entry : entries) {
        TRow row{entry, {}, false};
        const TQVL_Unit* unit = nullptr;
        if (active.IsOpen && active.Uid == entry.UnitUid) {
            unit = &active;
        } else {
            auto found = read.find(entry.UnitFileName);
            if (found == read.end()) {
                auto file = std::make_unique<TQVL_Unit>();
                try {
                    if (QFileInfo(entry.UnitFileName).isFile())
                        file->Open(entry.UnitFileName);
                } catch (const std::exception&) {
                    // A lesson moved or damaged since: its words stay unknown.
                }
                found = read.emplace(entry.UnitFileName, std::move(file)).first;
            }
            if (found->second->IsOpen && found->second->Uid == entry.UnitUid)
                unit = found->second.get();
        }
        if (const TQVL_Card* card = unit ? unit->Cards->FindByUid(entry.CardUid) : nullptr) {
            row.Text = CardText(*card);
            row.Found = true;
        }
        rows.push_back(row);

        auto* item = new QTreeWidgetItem(VST1);
        item->setText(colWord, row.Found ? row.Text : QStringLiteral("(Karte nicht gefunden)"));
        item->setText(colUnit, QFileInfo(entry.UnitFileName).completeBaseName());
        item->setToolTip(colUnit, PlainToolTip(entry.UnitFileName));
        item->setText(colAsked, QString::number(entry.Asked));
        item->setText(colWrong, QString::number(entry.Wrong));
        item->setText(colShare, QStringLiteral("%1 %").arg(TQVL_Statistics_ProblemWords::WrongPercent(entry)));
        for (const int column : {colAsked, colWrong, colShare})
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    }
    for (auto& [name, unit] : read)
        if (unit->IsOpen)
            unit->CloseFile();
    if (VST1->topLevelItemCount() > 0)
        VST1->setCurrentItem(VST1->topLevelItem(0));
    FitToText::Columns(*VST1);
    if (rows.empty())
        SetSubCaption(QStringLiteral("Noch keine Problemwörter: keine Vokabel wurde %1-mal falsch beantwortet.")
                          .arg(TQVL_Statistics_ProblemWords::MinWrong));
}

const TFormProblemWords::TRow* TFormProblemWords::chosen() const
{
    if (rows.empty())
        return nullptr;
    const int index = VST1->currentItem() ? VST1->indexOfTopLevelItem(VST1->currentItem()) : 0;
    return index >= 0 && index < int(rows.size()) ? &rows[std::size_t(index)] : &rows.front();
}

void TFormProblemWords::updateButtons()
{
    const TRow* row = chosen();
    Button_Edit->setEnabled(row && row->Found);
    Button_Practice->setEnabled(row && row->Found);
}

void TFormProblemWords::EditChosen()
{
    const TRow* row = chosen();
    if (!row || !row->Found)
        return;
    const TRow target = *row;
    TQVL_Unit& unit = core.Units->GetActiveUnit();
    if (!unit.IsOpen || unit.Uid != target.Entry.UnitUid) {
        if (unit.IsOpen)
            unit.CloseFile();
        unit.Open(target.Entry.UnitFileName);
    }
    TNavigator& navigator = Navigator();
    auto* editor = dynamic_cast<TFormEdit*>(navigator.Show(TDestination::CardEditor));
    if (!editor)
        return;
    if (const TQVL_Card* card = unit.Cards->FindByUid(target.Entry.CardUid))
        editor->ShowCard(unit.Cards->IndexOf(card));
    // Back to the list, which then shows the card's new words.
    editor->OnDone = [&navigator] { navigator.Show(TDestination::ProblemWords); };
}

void TFormProblemWords::PracticeAsLesson()
{
    const TRow* row = chosen();
    if (!row || !row->Found)
        return;
    const std::vector<TRow> words = rows;
    const TQVL_Statistics_ProblemWords::TEntry first = row->Entry;

    TQVL_Unit& active = core.Units->GetActiveUnit();
    TQVL_Query& query = *core.Query;
    query.Cardpile->Clear();
    core.Units->CloseAdditionalFiles();
    if (!active.IsOpen || active.Uid != first.UnitUid) {
        if (active.IsOpen)
            active.CloseFile();
        active.Open(first.UnitFileName);
    }
    // The chosen word's lesson leads; every other lesson is opened for the run as in a query over several lessons.
    std::map<QString, const TQVL_Unit*> taking{{active.Uid, &active}};
    int leftOut = 0;
    TQVL_Units& manager = *core.Units;
    for (const TRow& word : words) {
        if (!word.Found || taking.count(word.Entry.UnitUid))
            continue;
        // A storage's results carry its mark, which a run over several units would give only to the leading one.
        if (active.Typ == tLongTermStorage) {
            taking.emplace(word.Entry.UnitUid, nullptr);
            continue;
        }
        // Another lesson in the leading one's file (replaced since): its cards are not there.
        if (sameFile(word.Entry.UnitFileName, active.FileName)) {
            taking.emplace(word.Entry.UnitUid, nullptr);
            continue;
        }
        auto* unit = static_cast<TQVL_Unit*>(manager.CreateAdditionalFile());
        try {
            unit->Open(word.Entry.UnitFileName);
        } catch (...) {
            manager.DiscardAdditionalFile(unit);
            taking.emplace(word.Entry.UnitUid, nullptr);
            continue;
        }
        if (unit->Uid != word.Entry.UnitUid || !active.FitsQueryWith(*unit)) {
            manager.CloseAdditionFile(unit);
            // Counted below with the rest of its lesson's words.
            taking.emplace(word.Entry.UnitUid, nullptr);
            continue;
        }
        taking.emplace(word.Entry.UnitUid, unit);
    }

    // The settings of the query menu's simple query. Extra practice: a long-term storage's stages stay.
    TQVL_Query_Options& options = *query.Options;
    if (options.IsOpen)
        options.CloseFile();
    options.Open(TFormMenuQuery::OptionsFileName(core));
    options.CloseFile();
    options.ApplyMenuSettings(!TFormMenuQuery::LacksRight(core, &TQVL_User_Rights::QUERY_SELFASSESSMENT));
    if (TFormMenuQuery::LacksRight(core, &TQVL_User_Rights::QUERY_OPTIONS))
        options.changeoptions = false;
    query.SetLongTermMode(false);
    query.QueryType = TQVL_QueryType::Simple;
    // Stored per lesson, so the pile holds each lesson's cards together, the leading lesson first.
    std::vector<const TQVL_Unit*> order{&active};
    for (const TRow& word : words)
        if (const auto unit = taking.find(word.Entry.UnitUid);
            unit != taking.end() && unit->second && std::find(order.begin(), order.end(), unit->second) == order.end())
            order.push_back(unit->second);
    for (const TQVL_Unit* unit : order) {
        bool any = false;
        for (const TRow& word : words) {
            if (word.Found && word.Entry.UnitUid == unit->Uid)
                if (const TQVL_Card* card = unit->Cards->FindByUid(word.Entry.CardUid)) {
                    query.Cardpile->AddCard(*unit, *card);
                    any = true;
                }
        }
        // As AddUnit does, so that the last query knows its lessons.
        if (any)
            query.Cardpile->Units.push_back(unit);
    }
    for (const TRow& word : words) {
        const auto unit = taking.find(word.Entry.UnitUid);
        if (word.Found && (unit == taking.end() || !unit->second))
            ++leftOut;
    }
    if (query.Cardpile->isEmpty()) {
        query.Cardpile->Clear();
        core.Units->CloseAdditionalFiles();
        throw TQVL_Error(QStringLiteral("Sie müssen mindestens eine Karte abfragen"));
    }
    if (leftOut > 0)
        TDialogService::Current().ShowInformation(
            QStringLiteral("%1 %2 aus Lektionen anderer Sprachen oder Kartenarten %3 nicht mit abgefragt.")
                .arg(leftOut)
                .arg(leftOut == 1 ? QStringLiteral("Problemwort") : QStringLiteral("Problemwörter"))
                .arg(leftOut == 1 ? QStringLiteral("wird") : QStringLiteral("werden")));
    Navigator().Show(options.changeoptions ? TDestination::QueryOptions : TDestination::Run);
}
