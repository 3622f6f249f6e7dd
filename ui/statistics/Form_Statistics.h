#pragma once

#include "core/QVL_DateTime.h"
#include "ui/shell/FormMeta.h"

#include <QImage>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTabWidget;
class QTreeView;
class TModelJournal;
class TQVL;

// "Statistiken": the learner's key figures, the query time of the last 15
// days, the success diagram for a chosen period and the journal of all stored
// queries. Everything is computed from the stored results when the screen is
// created; the screen changes no data.
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
    int JournalSortColumn() const { return sortColumn; }
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
    QPushButton* Button_Back = nullptr;
    QPushButton* Button_Help = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* createOverview();
    QWidget* createDayQueries();
    QWidget* createDiagram();
    QWidget* createJournal();
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
};
