#pragma once

#include "core/QVL_DateTime.h"
#include "ui/shell/FormMeta.h"

#include <QDate>
#include <QImage>
#include <QString>

#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QTabWidget;
class QTreeView;
class TChartCalendar;
class TChartForecast;
class TModelJournal;
class TQVL;

// "Statistiken": the learner's key figures, the query time of the last 15
// days, the success diagram for a chosen period, the journal of all stored
// queries, the last year as a calendar and the due cards of the coming days. Everything is computed from the stored
// results when the screen is created; the screen changes no data.
class TFormStatistics : public TFormMeta
{
    Q_OBJECT
public:
    static constexpr int DayChartWidth = 560;
    static constexpr int DayChartHeight = 210;
    static constexpr int DiagramImageWidth = 540;
    static constexpr int DiagramImageHeight = 190;

    TFormStatistics(QWidget* parent, TQVL& core);
    ~TFormStatistics() override;

    // The period of the success diagram.
    TQVL_DateTime PeriodFrom;
    TQVL_DateTime PeriodTo;
    bool ScaleToDate = true;

    // Draws the success diagram for the period and rebuilds the legend.
    void DrawDiagram();
    // The images as shown.
    const QImage& DayChartImage() const { return dayChart; }
    const QImage& DiagramImage() const { return diagram; }
    // The forecast as it is saved.
    QImage ForecastImage() const;
    int JournalSortColumn() const { return sortColumn; }
    // The journal shows the queries of `day` only (all again for an invalid date) and comes to the front.
    void ShowJournalDay(QDate day);
    QDate JournalDay() const { return journalDay; }
    Qt::SortOrder JournalSortOrder() const { return sortOrder; }

    QTabWidget* PageControl1 = nullptr;
    // Overview.
    QLabel* Label_UserName = nullptr;
    QLabel* Label_Units = nullptr;
    QLabel* Label_Queries = nullptr;
    QLabel* Label_Cards = nullptr;
    QLabel* Label_CardsPerQuery = nullptr;
    QLabel* Label_CardsPerQuerySpread = nullptr;
    QLabel* Label_Gap = nullptr;
    QLabel* Label_GapSpread = nullptr;
    QLabel* Label_LastDeletion = nullptr;
    // Query times.
    QLabel* Image_DayQueries = nullptr;
    QMenu* PopupMenu_DayQueries = nullptr;
    // Success diagram.
    QLabel* Image_Diagram = nullptr;
    QLabel* Label_Settings = nullptr;
    QMenu* PopupMenu_Diagram = nullptr;
    QMenu* Menu_Period = nullptr;
    QMenu* Menu_Legend = nullptr;
    QAction* Action_Last7Days = nullptr;
    QAction* Action_Last21Days = nullptr;
    QAction* Action_Last2Months = nullptr;
    QAction* Action_LastHalfYear = nullptr;
    QAction* Action_All = nullptr;
    QAction* Action_ScaleToDate = nullptr;
    QAction* Action_SaveDiagram = nullptr;
    QAction* Action_SaveDayQueries = nullptr;
    // Journal.
    QTreeView* VST_Journal = nullptr;
    TModelJournal* JournalModel = nullptr;
    QLabel* Label_JournalDay = nullptr;
    QPushButton* Button_JournalAll = nullptr;
    // Calendar.
    TChartCalendar* Chart_Calendar = nullptr;
    QLabel* Label_CalendarDay = nullptr;
    QLabel* Label_DaysStudied = nullptr;
    QLabel* Label_LongestStreak = nullptr;
    // Forecast.
    QComboBox* Combo_ForecastStorage = nullptr;
    TChartForecast* Chart_Forecast = nullptr;
    QLabel* Label_ForecastSum = nullptr;
    QMenu* PopupMenu_Forecast = nullptr;
    QAction* Action_SaveForecast = nullptr;
    QPushButton* Button_Back = nullptr;
    QPushButton* Button_Help = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* createOverview();
    QWidget* createDayQueries();
    QWidget* createDiagram();
    QWidget* createJournal();
    QWidget* createCalendar();
    QWidget* createForecast();
    void fillCalendar();
    void fillForecast();
    void showForecast(int choice);
    void fillOverview();
    void drawDayQueries();
    void fillJournal();
    void setPeriod(double daysBack);
    void showDiagramMenu(const QPoint& globalPosition);
    void journalHeaderClicked(int column);
    void saveImage(const QImage& image, const QString& title) const;

    TQVL& Core;
    QImage dayChart;
    QImage diagram;
    int sortColumn = 0;
    Qt::SortOrder sortOrder = Qt::AscendingOrder;
    QDate journalDay;
    struct StorageForecast
    {
        QString Name;
        std::vector<int> Due;
    };
    // Every storage's, then all together.
    std::vector<StorageForecast> forecasts;
};
