#include "ui/show/Form_ShowMeta.h"

#include "app/QVL.h"
#include "content/QVL_Card.h"
#include "content/QVL_Language.h"
#include "content/QVL_Unit.h"
#include "query/QVL_FSRS_Replay.h"
#include "query/QVL_Result_Card.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "ui/help/HelpService.h"
#include "ui/print/Form_PrintCards.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/Navigator.h"
#include "ui/shell/WindowManager.h"
#include "ui/show/ShowDelegate.h"
#include "users/QVL_User.h"
#include "users/QVL_User_Rights.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

TFormShowMeta::TFormShowMeta(QWidget* parent, TQVL& core) : TFormMeta(parent), Core(core)
{
    Model = new TModelShowCards(this);
    VST1 = new QTreeView(Content());
    VST1->setObjectName(QStringLiteral("VST1"));
    VST1->setModel(Model);
    delegate = new TShowDelegate(VST1);
    VST1->setItemDelegate(delegate);
    VST1->setRootIsDecorated(false);
    VST1->setUniformRowHeights(true);
    VST1->setAllColumnsShowFocus(true);
    VST1->setSelectionBehavior(QAbstractItemView::SelectRows);
    VST1->setSelectionMode(QAbstractItemView::SingleSelection);
    VST1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    VST1->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    QHeaderView* columnHeader = VST1->header();
    columnHeader->setSectionsMovable(false);
    columnHeader->setSectionsClickable(true);
    columnHeader->setSortIndicatorShown(true);
    columnHeader->setStretchLastSection(false);
    connect(columnHeader, &QHeaderView::sectionClicked, this, [this](int column) { Guarded([&] { headerClicked(column); }); });
    // The header takes no keyboard focus; the list's context menu (the menu
    // key, Shift+F10 or a right click) offers the same choice.
    VST1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(VST1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { Guarded([&] { showSortMenu(at); }); });
    auto* sortKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), VST1, nullptr, nullptr, Qt::WidgetShortcut);
    connect(sortKey, &QShortcut::activated, this, [this] {
        Guarded([this] { showSortMenu(VST1->visualRect(VST1->currentIndex()).center()); });
    });

    auto makeButton = [this](const char* name, const QString& text) {
        auto* button = new QPushButton(text, Content());
        button->setObjectName(QString::fromLatin1(name));
        return button;
    };
    Button_Back = makeButton("Button_Back", QStringLiteral("Zurück"));
    SetEscapeButton(Button_Back);
    Button_Help = makeButton("Button_Help", QStringLiteral("Hilfe"));
    Button_Print = makeButton("Button_Print", QStringLiteral("Drucken"));
    Button_ProblemWords = makeButton("Button_ProblemWords", QStringLiteral("Problemwörter"));
    connect(Button_ProblemWords, &QPushButton::clicked, this,
            [this] { Guarded([this] { Navigator().Show(TDestination::ProblemWords); }); });
    connect(Button_Back, &QPushButton::clicked, this,
            [this] { Guarded([this] { Navigator().Show(TDestination::MainMenu); }); });
    connect(Button_Help, &QPushButton::clicked, this, [this] { Guarded([this] { THelpService::ShowHelpPage(HelpPage()); }); });
    connect(Button_Print, &QPushButton::clicked, this, [this] { Guarded([this] { printClicked(); }); });
    const TQVL_Unit& unit = Unit();
    Button_Print->setEnabled(unit.IsOpen && unit.Cards->Count() > 0);

    buttonRow = new QHBoxLayout;
    buttonRow->setSpacing(6);
    buttonRow->addWidget(Button_ProblemWords);
    buttonRow->addStretch(1);
    buttonRow->addWidget(Button_Print);
    buttonRow->addWidget(Button_Help);
    buttonRow->addWidget(Button_Back);
    auto* layout = new QVBoxLayout(Content());
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);
    layout->addWidget(VST1, 1);
    layout->addLayout(buttonRow);
}

TFormShowMeta::~TFormShowMeta() = default;

QString TFormShowMeta::LastQueryTitle(bool resultsStored)
{
    return resultsStored ? QStringLiteral("Einzelergebnisse der letzten Abfrage")
                         : QStringLiteral("Einzelergebnisse der letzten gespeicherten Abfrage");
}

void TFormShowMeta::Start()
{
    if (FLastQueryResults_Show)
        SetCaption(LastQueryTitle(FLastQueryResults_Stored));
    Guarded([this] { FillList(); });
}

TQVL_Unit& TFormShowMeta::Unit() const
{
    return Core.Units->GetActiveUnit();
}

const TQVL_Language* TFormShowMeta::ForeignLanguage() const
{
    const auto* language = dynamic_cast<const TQVL_Language*>(&Core.Languages->ActiveFile());
    return language && language->IsOpen ? language : nullptr;
}

const TQVL_Language* TFormShowMeta::HomeLanguage() const
{
    const TQVL_Language* language = Core.Languages->HomeLanguage.get();
    return language && language->IsOpen ? language : nullptr;
}

std::optional<QFont> TFormShowMeta::ProfileFont(const TQVL_Language* language)
{
    if (!language || !language->FontUse)
        return std::nullopt;
    QFont font(language->SmallFont().Name);
    if (language->SmallFont().Size > 0)
        font.setPointSize(language->SmallFont().Size);
    return font;
}

void TFormShowMeta::SetBusy(bool busy)
{
    for (QPushButton* button : {Button_Back, Button_Help, Button_Print, Button_ProblemWords})
        button->setEnabled(!busy);
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
        const TQVL_Unit& unit = Unit();
        Button_Print->setEnabled(unit.IsOpen && unit.Cards->Count() > 0);
    }
}

void TFormShowMeta::setCounts(TModelShowCards::TRow& row, const TQVL_Result_Unit* results,
                              const TQVL_FSRS_Replay* replay, qint32 cardUid, TQVL_DateTime now) const
{
    // Only looked up: a record created here would end up in the profile at its next save.
    const TQVL_Result_Card* card = results ? results->FindCard(cardUid) : nullptr;
    row.HasResult = card != nullptr;
    // A card without a record stands at stage 0, due now, as the storage counts it.
    row.Stage = card ? card->stage : 0;
    // Due as the storage's method counts it (CountDue).
    row.Due = replay ? TQVL_FSRS_Replay::DueDate(replay->Current(cardUid, card), now)
                     : TQVL_Result_Card::DueDate(card, now);
    if (results)
        row.Due = results->DueDateWithPause(cardUid, row.Due);
    if (!card)
        return;
    row.Queried = FLastQueryResults_Show ? card->last_queried : card->all_queried;
    row.Right = FLastQueryResults_Show ? card->last_right : card->all_right;
    row.PointValue = card->pointvalue;
}

void TFormShowMeta::FillList()
{
    const TQVL_Unit& unit = Unit();
    const TQVL_Result_Unit* results = nullptr;
    if (Core.Users->HasActiveUser() && unit.IsOpen)
        results = Core.Users->GetActiveUser().Results().FindUnit(unit.Uid);

    std::vector<TModelShowCards::TColumn> columns = BuildColumns();
    std::vector<TModelShowCards::TRow> rows;
    std::vector<QPixmap> thumbnails;
    {
        SetBusy(true);
        struct Restore
        {
            TFormShowMeta* screen;
            ~Restore() { screen->SetBusy(false); }
        } restore{this};
        BeginFill();
        const TQVL_DateTime now = TQVL_DateTime::Now();
        // Replayed once for all cards; when the logs cannot be read, the stages, as CountDue does.
        const std::unique_ptr<TQVL_FSRS_Replay> replay =
            results && results->learnmethod == TQVL_LearnMethod::FSRS && results->Owner
                ? results->Owner->ReplayFSRS(*results)
                : nullptr;
        if (unit.IsOpen) {
            rows.reserve(std::size_t(unit.Cards->Count()));
            for (int i = 0; i < unit.Cards->Count(); ++i) {
                const TQVL_Card& card = *unit.Cards->Card(i);
                TModelShowCards::TRow row = BuildRow(card);
                row.Texts.resize(columns.size());
                setCounts(row, results, replay.get(), card.Uid, now);
                rows.push_back(std::move(row));
            }
        }
        thumbnails = EndFill();
    }

    const bool sameColumns = int(columns.size()) == Model->columnCount();
    delegate->RowHeight = FillRowHeight();
    Model->SetColumns(columns);
    Model->SetRows(std::move(rows), std::move(thumbnails), FillRowHeight());
    if (sortColumn >= Model->columnCount())
        sortColumn = 1;
    Model->sort(sortColumn, sortOrder);
    VST1->header()->setSortIndicator(sortColumn, sortOrder);
    if (!sameColumns)
        fitColumns();
    FillDone();
}

void TFormShowMeta::fitColumns()
{
    // Each column as wide as its header and the texts of the rows in view, at
    // least its design width; a very long text (a note of many lines) stops
    // at MaxColumnWidth and shows whole in its tip. The view holds all columns,
    // so the screen grows instead of hiding some behind a scroll bar, as far as
    // the monitor has room: beyond, the list scrolls and the buttons stay in reach.
    QHeaderView* columnHeader = VST1->header();
    const std::vector<TModelShowCards::TColumn>& columns = Model->Columns();
    int total = 0;
    for (int i = 0; i < int(columns.size()); ++i) {
        const int rowsNeed = static_cast<const QAbstractItemView*>(VST1)->sizeHintForColumn(i);
        const int width = std::max({columns[std::size_t(i)].Width, columnHeader->sectionSizeHint(i),
                                    std::min(rowsNeed, MaxColumnWidth)});
        columnHeader->resizeSection(i, width);
        total += width;
    }
    const int frame = 2 * VST1->frameWidth();
    const int scrollBar = VST1->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    VST1->setMinimumWidth(std::min(total + frame + scrollBar, roomForList()));
    // The table is filled while the switch to this screen is still under way:
    // once it is done, the window manager sizes the screen area anew.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (TWindowManager* screens = TWindowManager::Of(this); screens && screens->CurrentWindow() == this)
                screens->CenterWindow();
        },
        Qt::QueuedConnection);
}

int TFormShowMeta::roomForList() const
{
    const QWidget* area = parentWidget();
    const QWidget* top = window();
    const QScreen* monitor = top->screen();
    if (!area || !monitor || !Content()->layout())
        return std::numeric_limits<int>::max();
    // Everything beside the list across the window: its frame and the margins of the screen and its content.
    const QMargins outer = FormLayout()->contentsMargins();
    const QMargins inner = Content()->layout()->contentsMargins();
    const int beside =
        top->frameGeometry().width() - area->width() + outer.left() + outer.right() + inner.left() + inner.right();
    return std::max(MinimumListWidth, monitor->availableGeometry().width() - beside);
}

void TFormShowMeta::headerClicked(int column)
{
    // The sorted column turns its direction; another column starts ascending.
    if (column == sortColumn)
        sortOrder = sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    else
        sortOrder = Qt::AscendingOrder;
    sortColumn = column;
    VST1->header()->setSortIndicator(sortColumn, sortOrder);
    Model->sort(sortColumn, sortOrder);
}

void TFormShowMeta::showSortMenu(const QPoint& at)
{
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("Menu_Sort"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (int column = 0; column < Model->columnCount(); ++column) {
        const QString title = Model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString().trimmed();
        if (VST1->isColumnHidden(column) || title.isEmpty())
            continue;
        QAction* choice = menu->addAction(QStringLiteral("Sortieren nach \"%1\"").arg(title));
        choice->setCheckable(true);
        choice->setChecked(column == sortColumn);
        connect(choice, &QAction::triggered, this, [this, column] { Guarded([&] { headerClicked(column); }); });
    }
    menu->popup(VST1->viewport()->mapToGlobal(at));
}

void TFormShowMeta::printClicked()
{
    const TQVL_Users& users = *Core.Users;
    if (!users.HasActiveUser() || !users.GetActiveUser().Rights().PRINT) {
        Navigator().ShowNoRight();
        return;
    }
    Print();
}

void TFormShowMeta::Print()
{
    TFormPrintCards::PrintActiveUnit(Core, this);
}
