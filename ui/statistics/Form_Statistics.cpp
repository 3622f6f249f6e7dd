#include "ui/statistics/Form_Statistics.h"

#include "app/QVL.h"
#include "core/QVL_Error.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "statistics/QVL_Statistics_Activity.h"
#include "statistics/QVL_Statistics_Calendar.h"
#include "statistics/QVL_Statistics_DayChart.h"
#include "statistics/QVL_Statistics_Forecast.h"
#include "statistics/QVL_Statistics_Journal.h"
#include "statistics/QVL_Statistics_KeyFigures.h"
#include "statistics/QVL_Statistics_QuerySuccessDiagram.h"
#include "ui/help/HelpService.h"
#include "ui/shell/DialogService.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/Navigator.h"
#include "ui/shell/PlainText.h"
#include "ui/shell/ShownText.h"
#include "ui/shell/StorageForecasts.h"
#include "ui/shell/Theme.h"
#include "ui/statistics/Chart_Calendar.h"
#include "ui/statistics/Chart_Forecast.h"
#include "ui/statistics/Model_Journal.h"
#include "users/QVL_User.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>

#include <cmath>

namespace {

// "%3.2f" with the locale's decimal separator.
QString fixed2(double value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', 2);
}

// An underlined text that acts like a link: a click, Enter or Space runs `OnClick`.
class LinkLabel final : public QLabel
{
public:
    LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
    {
        QFont underlined = font();
        underlined.setUnderline(true);
        setFont(underlined);
        QPalette colours = palette();
        colours.setColor(QPalette::WindowText, Theme::Ink);
        setPalette(colours);
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::StrongFocus);
    }
    std::function<void()> OnClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && OnClick)
            OnClick();
        QLabel::mouseReleaseEvent(event);
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space) &&
            OnClick) {
            OnClick();
            return;
        }
        QLabel::keyPressEvent(event);
    }
};

QLabel* valueLabel(QWidget* parent, const char* name)
{
    auto* value = new QLabel(parent);
    value->setObjectName(QString::fromLatin1(name));
    QFont bold = value->font();
    bold.setBold(true);
    value->setFont(bold);
    QPalette colours = value->palette();
    colours.setColor(QPalette::WindowText, Theme::Ink);
    value->setPalette(colours);
    return value;
}

QPixmap colourSwatch(const QColor& colour)
{
    QPixmap swatch(12, 12);
    swatch.fill(colour);
    QPainter painter(&swatch);
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawRect(0, 0, 11, 11);
    return swatch;
}

} // namespace

TFormStatistics::TFormStatistics(QWidget* parent, TQVL& core) : TFormMeta(parent), Core(core)
{
    setObjectName(QStringLiteral("FormStatistics"));
    SetHeaderHeight(TallHeaderHeight);
    SetCaption(QStringLiteral("Statistiken"));
    SetSubCaption(QStringLiteral("Klicken Sie auf einen der Reiter, um die Inhalte einzusehen..."));

    PageControl1 = new QTabWidget(Content());
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(createOverview(), QStringLiteral("Übersicht"));
    PageControl1->addTab(createDayQueries(), QStringLiteral("Abfragezeiten"));
    PageControl1->addTab(createDiagram(), QStringLiteral("Abfrageerfolge"));
    PageControl1->addTab(createJournal(), QStringLiteral("Protokoll"));
    PageControl1->addTab(createCalendar(), QStringLiteral("Kalender"));
    PageControl1->addTab(createForecast(), QStringLiteral("Vorschau"));
    PageControl1->setCurrentIndex(0);

    Button_Help = new QPushButton(QStringLiteral("Hilfe"), Content());
    Button_Help->setObjectName(QStringLiteral("Button_Help"));
    Button_Back = new QPushButton(QStringLiteral("Zurück"), Content());
    Button_Back->setObjectName(QStringLiteral("Button_Back"));
    SetEscapeButton(Button_Back);
    connect(Button_Help, &QPushButton::clicked, this,
            [] { Guarded([] { THelpService::ShowHelpPage(QStringLiteral("Form_Statistics.html")); }); });
    connect(Button_Back, &QPushButton::clicked, this,
            [this] { Guarded([this] { Navigator().Show(TDestination::MainMenu); }); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button_Help);
    buttons->addWidget(Button_Back);
    auto* layout = new QVBoxLayout(Content());
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(buttons);

    const TQVL_DateTime now = TQVL_DateTime::Now();
    PeriodFrom = TQVL_DateTime(now.Serial() - 6).DateOf();
    PeriodTo = now;
    ScaleToDate = true;
    Guarded([this] {
        drawDayQueries();
        DrawDiagram();
        fillJournal();
        fillOverview();
        fillCalendar();
        fillForecast();
    });
}

TFormStatistics::~TFormStatistics() = default;

QWidget* TFormStatistics::createOverview()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet_Overview"));
    Label_UserName = AsPlainText(new QLabel(page));
    Label_UserName->setObjectName(QStringLiteral("Label_UserName"));
    QFont large = Label_UserName->font();
    large.setPointSize(Theme::TitlePointSize);
    large.setBold(true);
    Label_UserName->setFont(large);
    QPalette colours = Label_UserName->palette();
    colours.setColor(QPalette::WindowText, Theme::Ink);
    Label_UserName->setPalette(colours);

    Label_Units = valueLabel(page, "Label_Units");
    Label_Queries = valueLabel(page, "Label_Queries");
    Label_Cards = valueLabel(page, "Label_Cards");
    Label_CardsPerQuery = valueLabel(page, "Label_CardsPerQuery");
    Label_CardsPerQuerySpread = valueLabel(page, "Label_CardsPerQuerySpread");
    Label_Gap = valueLabel(page, "Label_Gap");
    Label_GapSpread = valueLabel(page, "Label_GapSpread");
    Label_LastDeletion = new QLabel(page);
    Label_LastDeletion->setObjectName(QStringLiteral("Label_LastDeletion"));
    Label_LastDeletion->setWordWrap(true);
    Label_LastDeletion->hide();

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(6);
    const std::pair<QString, std::pair<QLabel*, QLabel*>> rows[] = {
        {QStringLiteral("Lektionen abgefragt:"), {Label_Units, nullptr}},
        {QStringLiteral("Abfragen insgesamt:"), {Label_Queries, nullptr}},
        {QStringLiteral("Vokabeln abgefragt:"), {Label_Cards, nullptr}},
        {QStringLiteral("Vokabeln pro Abfrage:"), {Label_CardsPerQuery, Label_CardsPerQuerySpread}},
        {QStringLiteral("Abstand d. Abf. (Std.):"), {Label_Gap, Label_GapSpread}},
    };
    int line = 0;
    for (const auto& [caption, values] : rows) {
        grid->addWidget(new QLabel(caption, page), line, 0);
        grid->addWidget(values.first, line, 1, Qt::AlignRight);
        if (values.second) {
            values.second->setToolTip(QStringLiteral("Standardabweichung"));
            grid->addWidget(values.second, line, 2, Qt::AlignRight);
        }
        ++line;
    }
    grid->setColumnStretch(3, 1);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->setSpacing(12);
    layout->addWidget(Label_UserName);
    layout->addLayout(grid);
    layout->addWidget(Label_LastDeletion);
    layout->addStretch(1);
    return page;
}

QWidget* TFormStatistics::createDayQueries()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet_DayQueries"));
    auto* caption = new QLabel(QStringLiteral("Dauer der Abfragen der letzten Tage in Minuten:"), page);
    Image_DayQueries = new QLabel(page);
    Image_DayQueries->setObjectName(QStringLiteral("Image_DayQueries"));
    Image_DayQueries->setFixedSize(DayChartWidth, DayChartHeight);
    Image_DayQueries->setContextMenuPolicy(Qt::DefaultContextMenu);
    Image_DayQueries->installEventFilter(this);
    PopupMenu_DayQueries = new QMenu(this);
    PopupMenu_DayQueries->setObjectName(QStringLiteral("PopupMenu_DayQueries"));
    Action_SaveDayQueries = PopupMenu_DayQueries->addAction(QStringLiteral("Als PNG-Bild speichern..."));
    Action_SaveDayQueries->setObjectName(QStringLiteral("Action_SaveDayQueries"));
    connect(Action_SaveDayQueries, &QAction::triggered, this,
            [this] { Guarded([this] { saveImage(dayChart, QStringLiteral("Abfragezeiten speichern")); }); });

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->addWidget(caption);
    layout->addWidget(Image_DayQueries, 0, Qt::AlignHCenter);
    layout->addStretch(1);
    return page;
}

QWidget* TFormStatistics::createDiagram()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet_Diagram"));
    auto* caption = new QLabel(QStringLiteral("Abfrageerfolge:"), page);
    auto* link = new LinkLabel(QStringLiteral("Einstellungen"), page);
    link->setObjectName(QStringLiteral("Label_Settings"));
    Label_Settings = link;
    link->OnClick = [this] {
        Guarded([this] { showDiagramMenu(Label_Settings->mapToGlobal(QPoint(0, Label_Settings->height() + 5))); });
    };
    Image_Diagram = new QLabel(page);
    Image_Diagram->setObjectName(QStringLiteral("Image_Diagram"));
    Image_Diagram->setFixedSize(DiagramImageWidth, DiagramImageHeight);
    Image_Diagram->installEventFilter(this);

    PopupMenu_Diagram = new QMenu(this);
    PopupMenu_Diagram->setObjectName(QStringLiteral("PopupMenu_Diagram"));
    Menu_Period = PopupMenu_Diagram->addMenu(QStringLiteral("Datum eingrenzen"));
    Menu_Period->setObjectName(QStringLiteral("Menu_Period"));
    auto period = [this](const char* name, const QString& text, double daysBack) {
        QAction* action = Menu_Period->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, [this, daysBack] { Guarded([&] { setPeriod(daysBack); }); });
        return action;
    };
    Action_Last7Days = period("Action_Last7Days", QStringLiteral("Letzten 7 Tage"), 7);
    Action_Last21Days = period("Action_Last21Days", QStringLiteral("Letzten 21 Tage"), 21);
    Action_Last2Months = period("Action_Last2Months", QStringLiteral("Letzten 2 Monate"), 60);
    Action_LastHalfYear = period("Action_LastHalfYear", QStringLiteral("Letztes halbes Jahr"), 150);
    Action_All = period("Action_All", QStringLiteral("Alle"), -1);
    Action_ScaleToDate = PopupMenu_Diagram->addAction(QStringLiteral("Auf Zeitleiste skalieren"));
    Action_ScaleToDate->setObjectName(QStringLiteral("Action_ScaleToDate"));
    Action_ScaleToDate->setCheckable(true);
    Action_ScaleToDate->setChecked(true);
    connect(Action_ScaleToDate, &QAction::toggled, this, [this](bool on) {
        Guarded([&] {
            ScaleToDate = on;
            DrawDiagram();
        });
    });
    PopupMenu_Diagram->addSeparator();
    Menu_Legend = PopupMenu_Diagram->addMenu(QStringLiteral("Legende"));
    Menu_Legend->setObjectName(QStringLiteral("Menu_Legend"));
    PopupMenu_Diagram->addSeparator();
    Action_SaveDiagram = PopupMenu_Diagram->addAction(QStringLiteral("Als PNG-Bild speichern..."));
    Action_SaveDiagram->setObjectName(QStringLiteral("Action_SaveDiagram"));
    connect(Action_SaveDiagram, &QAction::triggered, this,
            [this] { Guarded([this] { saveImage(diagram, QStringLiteral("Abfrageerfolge speichern")); }); });

    auto* top = new QHBoxLayout;
    top->addWidget(caption);
    top->addStretch(1);
    top->addWidget(Label_Settings);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->addLayout(top);
    layout->addWidget(Image_Diagram, 0, Qt::AlignHCenter);
    layout->addStretch(1);
    return page;
}

QWidget* TFormStatistics::createJournal()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet_Journal"));
    JournalModel = new TModelJournal(this);
    VST_Journal = new QTreeView(page);
    VST_Journal->setObjectName(QStringLiteral("VST_Journal"));
    VST_Journal->setModel(JournalModel);
    VST_Journal->setRootIsDecorated(false);
    VST_Journal->setUniformRowHeights(true);
    VST_Journal->setAllColumnsShowFocus(true);
    VST_Journal->setSelectionBehavior(QAbstractItemView::SelectRows);
    VST_Journal->setSelectionMode(QAbstractItemView::SingleSelection);
    VST_Journal->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QHeaderView* columnHeader = VST_Journal->header();
    columnHeader->setSectionsMovable(false);
    columnHeader->setSectionsClickable(true);
    columnHeader->setSortIndicatorShown(true);
    columnHeader->setSortIndicator(sortColumn, sortOrder);
    columnHeader->setStretchLastSection(true);
    const int widths[] = {100, 70, 200, 70};
    for (int i = 0; i < 4; ++i)
        columnHeader->resizeSection(i, std::max(widths[i], columnHeader->sectionSizeHint(i)));
    connect(columnHeader, &QHeaderView::sectionClicked, this,
            [this](int column) { Guarded([&] { journalHeaderClicked(column); }); });
    Label_JournalDay = AsPlainText(new QLabel(page));
    Label_JournalDay->setObjectName(QStringLiteral("Label_JournalDay"));
    Button_JournalAll = new QPushButton(QStringLiteral("Alle Abfragen zeigen"), page);
    Button_JournalAll->setObjectName(QStringLiteral("Button_JournalAll"));
    connect(Button_JournalAll, &QPushButton::clicked, this, [this] { Guarded([this] { ShowJournalDay({}); }); });
    auto* dayRow = new QHBoxLayout;
    dayRow->addWidget(Label_JournalDay, 1);
    dayRow->addWidget(Button_JournalAll);
    Label_JournalDay->hide();
    Button_JournalAll->hide();
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(dayRow);
    layout->addWidget(VST_Journal);
    return page;
}

QWidget* TFormStatistics::createCalendar()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet_Calendar"));
    auto* caption = new QLabel(QStringLiteral("Antworten je Tag in den letzten zwölf Monaten:"), page);
    Chart_Calendar = new TChartCalendar(page);
    Chart_Calendar->setObjectName(QStringLiteral("Chart_Calendar"));
    Chart_Calendar->OnDayChosen = [this](QDate day) { Guarded([&] { ShowJournalDay(day); }); };
    Chart_Calendar->OnCurrentChanged = [this](int index) {
        Label_CalendarDay->setText(Chart_Calendar->DayText(index));
    };
    Label_CalendarDay = AsPlainText(new QLabel(page));
    Label_CalendarDay->setObjectName(QStringLiteral("Label_CalendarDay"));
    Label_DaysStudied = valueLabel(page, "Label_DaysStudied");
    Label_LongestStreak = valueLabel(page, "Label_LongestStreak");
    auto* figures = new QHBoxLayout;
    figures->addWidget(Label_DaysStudied);
    figures->addSpacing(Label_DaysStudied->fontMetrics().averageCharWidth() * 4);
    figures->addWidget(Label_LongestStreak);
    figures->addStretch(1);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->addWidget(caption);
    layout->addWidget(Chart_Calendar);
    layout->addWidget(Label_CalendarDay);
    layout->addLayout(figures);
    layout->addStretch(1);
    return page;
}

QWidget* TFormStatistics::createForecast()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet_Forecast"));
    auto* caption = new QLabel(QStringLiteral("Fällige Karten der nächsten 30 Tage:"), page);
    Combo_ForecastStorage = new QComboBox(page);
    Combo_ForecastStorage->setObjectName(QStringLiteral("Combo_ForecastStorage"));
    Combo_ForecastStorage->setAccessibleName(QStringLiteral("Langzeitspeicher der Vorschau"));
    Combo_ForecastStorage->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    caption->setBuddy(Combo_ForecastStorage);
    connect(Combo_ForecastStorage, &QComboBox::currentIndexChanged, this,
            [this](int choice) { Guarded([&] { showForecast(choice); }); });
    Chart_Forecast = new TChartForecast(page);
    Chart_Forecast->setObjectName(QStringLiteral("Chart_Forecast"));
    Chart_Forecast->installEventFilter(this);
    Label_ForecastSum = AsPlainText(new QLabel(page));
    Label_ForecastSum->setObjectName(QStringLiteral("Label_ForecastSum"));
    PopupMenu_Forecast = new QMenu(this);
    PopupMenu_Forecast->setObjectName(QStringLiteral("PopupMenu_Forecast"));
    Action_SaveForecast = PopupMenu_Forecast->addAction(QStringLiteral("Als PNG-Bild speichern..."));
    Action_SaveForecast->setObjectName(QStringLiteral("Action_SaveForecast"));
    connect(Action_SaveForecast, &QAction::triggered, this,
            [this] { Guarded([this] { saveImage(ForecastImage(), QStringLiteral("Vorschau speichern")); }); });

    auto* top = new QHBoxLayout;
    top->addWidget(caption);
    top->addWidget(Combo_ForecastStorage);
    top->addStretch(1);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->addLayout(top);
    layout->addWidget(Chart_Forecast, 1);
    layout->addWidget(Label_ForecastSum);
    return page;
}

void TFormStatistics::fillOverview()
{
    const TQVL_User& user = Core.Users->GetActiveUser();
    Label_UserName->setText(ShownText(user.name));
    const TQVL_Statistics_KeyFigures figures =
        TQVL_Statistics_KeyFigures::Compute(Core.Statistics->GetUnitResults(), TQVL_DateTime::Now());
    Label_Units->setText(QString::number(figures.UnitCount));
    Label_Queries->setText(QString::number(figures.QueryCount));
    Label_Cards->setText(QString::number(figures.CardsQueried));
    Label_CardsPerQuery->setText(fixed2(figures.CardsPerQuery));
    Label_CardsPerQuerySpread->setText(QStringLiteral("± ") + fixed2(figures.CardsPerQuerySpread));
    Label_Gap->setText(fixed2(figures.GapHours));
    Label_GapSpread->setText(QStringLiteral("± ") + fixed2(figures.GapHoursSpread));
    const TQVL_DateTime deleted = user.Results().lastdeletion_date;
    Label_LastDeletion->setVisible(!deleted.IsEmpty());
    if (!deleted.IsEmpty())
        Label_LastDeletion->setText(
            QStringLiteral("Die Abfrageergebnisse wurden zuletzt am \"%1\" gelöscht.").arg(deleted.ToText()));
}

void TFormStatistics::drawDayQueries()
{
    dayChart = QImage(DayChartWidth, DayChartHeight, QImage::Format_RGB32);
    dayChart.fill(Qt::white);
    QPainter painter(&dayChart);
    TQVL_Statistics_DayChart::Draw(painter, dayChart.size(), Core.Statistics->GetDayQueries(14));
    painter.end();
    Image_DayQueries->setPixmap(QPixmap::fromImage(dayChart));
}

void TFormStatistics::DrawDiagram()
{
    TQVL_Statistics_UnitResults units = Core.Statistics->GetUnitResults();
    if (PeriodFrom.IsEmpty())
        PeriodFrom = TQVL_Statistics::GetFirstQueryDate(units);
    TQVL_Statistics::FilterUnitResults(units, PeriodFrom, PeriodTo);

    diagram = QImage(DiagramImageWidth, DiagramImageHeight, QImage::Format_RGB32);
    TQVL_Statistics_QuerySuccessDiagram& shared = *Core.Statistics->Diagram;
    shared.Clear(diagram);
    shared.DiagramWidth = 450;
    shared.DiagramHeight = 150;
    shared.ScaleToDate = ScaleToDate;
    shared.AutoRange = false;
    shared.DateFrom = PeriodFrom;
    shared.DateTo = PeriodTo;
    shared.Draw(diagram, units);
    Image_Diagram->setPixmap(QPixmap::fromImage(diagram));

    Menu_Legend->clear();
    for (std::size_t i = 0; i < units.size(); ++i) {
        QAction* item = Menu_Legend->addAction(
            QIcon(colourSwatch(TQVL_Statistics_QuerySuccessDiagram::DiagramColor(int(i)))),
            ShownText(units[i]->unit_lastknownfilename));
        item->setCheckable(false);
    }
    Menu_Legend->setEnabled(!units.empty());
}

void TFormStatistics::fillJournal()
{
    std::vector<TQVL_Statistics_Journal::TEntry> entries =
        TQVL_Statistics_Journal::Entries(Core.Statistics->GetUnitResults(), TQVL_DateTime::Now());
    if (journalDay.isValid())
        std::erase_if(entries, [this](const auto& entry) { return entry.DateTime.Date() != journalDay; });
    JournalModel->SetEntries(std::move(entries));
    JournalModel->sort(sortColumn, sortOrder);
}

void TFormStatistics::ShowJournalDay(QDate day)
{
    journalDay = day;
    fillJournal();
    const bool filtered = journalDay.isValid();
    Label_JournalDay->setVisible(filtered);
    Button_JournalAll->setVisible(filtered);
    if (filtered) {
        const int count = JournalModel->rowCount();
        Label_JournalDay->setText(QStringLiteral("%1 %2 am %3")
                                      .arg(count)
                                      .arg(count == 1 ? QStringLiteral("Abfrage") : QStringLiteral("Abfragen"))
                                      .arg(TQVL_Statistics_Calendar::DateText(journalDay)));
        PageControl1->setCurrentWidget(VST_Journal->parentWidget());
        if (count > 0)
            VST_Journal->setCurrentIndex(JournalModel->index(0, 0));
        VST_Journal->setFocus(Qt::OtherFocusReason);
    }
}

void TFormStatistics::fillCalendar()
{
    const QDate today = TQVL_DateTime::Now().Date();
    const TQVL_Statistics_Activity activity = TQVL_Statistics_Activity::Collect(Core.Statistics->GetUnitResults());
    Chart_Calendar->SetCalendar(TQVL_Statistics_Calendar::Compute(activity, today));
    const TQVL_Statistics_Calendar& calendar = Chart_Calendar->Calendar();
    Label_DaysStudied->setText(calendar.DaysStudiedText());
    Label_LongestStreak->setText(calendar.LongestStreakText());
}

void TFormStatistics::fillForecast()
{
    const TQVL_DateTime now = TQVL_DateTime::Now();
    forecasts.clear();
    std::vector<int> all(std::size_t(TQVL_Statistics_Forecast::DefaultDays), 0);
    for (TStorageForecast& storage : StorageForecasts(Core, now, TQVL_Statistics_Forecast::DefaultDays)) {
        for (std::size_t day = 0; day < all.size() && day < storage.Due.size(); ++day)
            all[day] += storage.Due[day];
        forecasts.push_back({storage.Name, std::move(storage.Due)});
    }
    forecasts.push_back({QStringLiteral("Alle Langzeitspeicher"), std::move(all)});
    const QSignalBlocker quiet(Combo_ForecastStorage);
    Combo_ForecastStorage->clear();
    // All together first: what a learner with several storages asks first.
    for (auto it = forecasts.rbegin(); it != forecasts.rend(); ++it)
        Combo_ForecastStorage->addItem(it->Name);
    Combo_ForecastStorage->setCurrentIndex(0);
    showForecast(0);
}

void TFormStatistics::showForecast(int choice)
{
    if (choice < 0 || choice >= int(forecasts.size()))
        return;
    const StorageForecast& shown = forecasts[forecasts.size() - 1 - std::size_t(choice)];
    Chart_Forecast->SetValues(shown.Due, TQVL_DateTime::Now().Date());
    qint64 total = 0;
    for (const int due : shown.Due)
        total += due;
    Label_ForecastSum->setText(QStringLiteral("Heute fällig: %1, in den nächsten 30 Tagen zusammen: %2")
                                   .arg(shown.Due.empty() ? 0 : shown.Due.front())
                                   .arg(total));
}

QImage TFormStatistics::ForecastImage() const
{
    return Chart_Forecast->Image(QSize(DayChartWidth, DayChartHeight));
}

void TFormStatistics::setPeriod(double daysBack)
{
    const TQVL_DateTime now = TQVL_DateTime::Now();
    PeriodFrom = daysBack < 0 ? TQVL_DateTime() : TQVL_DateTime(now.Serial() - daysBack).DateOf();
    PeriodTo = now;
    DrawDiagram();
}

void TFormStatistics::showDiagramMenu(const QPoint& globalPosition)
{
    PopupMenu_Diagram->popup(globalPosition);
}

void TFormStatistics::journalHeaderClicked(int column)
{
    if (column == sortColumn)
        sortOrder = sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    else
        sortOrder = Qt::AscendingOrder;
    sortColumn = column;
    VST_Journal->header()->setSortIndicator(sortColumn, sortOrder);
    JournalModel->sort(sortColumn, sortOrder);
}

void TFormStatistics::saveImage(const QImage& image, const QString& title) const
{
    QString path = TDialogService::Current().SaveFileName(title, Core.System->DocumentsFolder,
                                                          QStringLiteral("PNG-Bilder (*.png)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        path += QStringLiteral(".png");
    // Written beside and renamed over the target, so a failed save leaves an older file whole.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit())
        throw TQVL_Error(QStringLiteral("Das Bild \"%1\" konnte nicht gespeichert werden.").arg(QDir::toNativeSeparators(path)));
}

bool TFormStatistics::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ContextMenu) {
        const QPoint at = static_cast<QContextMenuEvent*>(event)->globalPos();
        if (watched == Image_Diagram) {
            showDiagramMenu(at);
            return true;
        }
        if (watched == Image_DayQueries) {
            PopupMenu_DayQueries->popup(at);
            return true;
        }
        if (watched == Chart_Forecast) {
            PopupMenu_Forecast->popup(at);
            return true;
        }
    }
    return TFormMeta::eventFilter(watched, event);
}
