#pragma once

#include "ui/shell/FormMeta.h"
#include "ui/show/Model_ShowCards.h"

#include <vector>

class QHBoxLayout;
class QPushButton;
class QTreeView;
class TQVL;
class TQVL_Card;
class TQVL_FSRS_Replay;
class TQVL_Language;
class TQVL_Result_Unit;
class TQVL_Unit;
class TShowDelegate;

// Base of the card viewers: every card of the active unit in a sortable table
// with the learner's counts and a traffic light, and the buttons "Zurück",
// "Hilfe" and "Drucken". Start fills the table. The viewers change no data.
class TFormShowMeta : public TFormMeta
{
    Q_OBJECT
public:
    TFormShowMeta(QWidget* parent, TQVL& core);
    ~TFormShowMeta() override;

    // Set by the caller before the viewer starts: show the counts of the last
    // query instead of all queries, and whether that query's results were stored.
    bool FLastQueryResults_Show = false;
    bool FLastQueryResults_Stored = false;

    // The title in last-query mode.
    static QString LastQueryTitle(bool resultsStored);

    // Sets the title and fills the table.
    void Start() override;
    // Refills the table from the active unit and the learner's results, sorted as before.
    void FillList();

    // The widest a column grows to show the texts of its rows.
    static constexpr int MaxColumnWidth = 240;
    // The list is never made narrower than this for want of room on the monitor.
    static constexpr int MinimumListWidth = 400;

    int SortColumn() const { return sortColumn; }
    Qt::SortOrder SortOrder() const { return sortOrder; }

    QTreeView* VST1 = nullptr;
    TModelShowCards* Model = nullptr;
    QPushButton* Button_Back = nullptr;
    QPushButton* Button_Help = nullptr;
    QPushButton* Button_Print = nullptr;
    // The list of the words answered wrong most often, of every lesson.
    QPushButton* Button_ProblemWords = nullptr;

protected:
    // The columns of the table, built anew for each filling.
    virtual std::vector<TModelShowCards::TColumn> BuildColumns() = 0;
    // The row of one card; the counts are set by the base afterwards.
    virtual TModelShowCards::TRow BuildRow(const TQVL_Card& card) = 0;
    // Called before and after the rows are built (thumbnails live in between).
    virtual void BeginFill() {}
    virtual std::vector<QPixmap> EndFill() { return {}; }
    virtual int FillRowHeight() const { return 18; }
    // Called once the table shows the new rows and the screen is usable again.
    virtual void FillDone() {}
    virtual QString HelpPage() const = 0;
    // The print dialog of the viewer (the user has the right).
    virtual void Print();

    TQVL_Unit& Unit() const;
    const TQVL_Language* ForeignLanguage() const;
    const TQVL_Language* HomeLanguage() const;
    // The profile's own font when its font use is on.
    static std::optional<QFont> ProfileFont(const TQVL_Language* language);
    // The row of the buttons, for viewers that add controls to it.
    QHBoxLayout* ButtonRow() const { return buttonRow; }
    // While filling: buttons off and a wait cursor, restored however the filling ends.
    void SetBusy(bool busy);

    TQVL& Core;

private:
    void headerClicked(int column);
    // The columns to sort by, for the keyboard (the context menu key).
    void showSortMenu(const QPoint& at);
    void fitColumns();
    // The widest the list can be with the window on its monitor.
    int roomForList() const;
    void printClicked();
    // `replay` holds the cards of a storage learned with FSRS (their due dates); null for the stages.
    void setCounts(TModelShowCards::TRow& row, const TQVL_Result_Unit* results, const TQVL_FSRS_Replay* replay,
                   qint32 cardUid, TQVL_DateTime now) const;

    QHBoxLayout* buttonRow = nullptr;
    TShowDelegate* delegate = nullptr;
    int sortColumn = 1;
    Qt::SortOrder sortOrder = Qt::AscendingOrder;
};
