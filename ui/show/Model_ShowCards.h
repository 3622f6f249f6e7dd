#pragma once

#include "core/QVL_DateTime.h"
#include "ui/shell/RowsModel.h"

#include <QAbstractTableModel>
#include <QFont>
#include <QPixmap>
#include <QString>

#include <optional>
#include <vector>

// The rows of a card viewer: one per card, with copies of the texts it shows
// and of the learner's counts, so that painting never reaches into the unit
// or the profile. The columns are set by the viewer that fills it.
class TModelShowCards : public TRowsModel<QAbstractTableModel>
{
    Q_OBJECT
public:
    enum class TKind
    {
        Light,      // the traffic light of the counts
        Text,       // a card text
        Picture,    // the thumbnail; sorts by the text (the picture's file name)
        Queried,    // the shown queried count
        Right,      // the shown right count
        PointValue, // the card's point value
        Stage,      // the long-term storage stage
        DueDate,    // when the storage asks the card again
    };

    struct TColumn
    {
        QString Header;
        TKind Kind = TKind::Text;
        int Width = 100;
        // Applied when set (a language profile's own font).
        std::optional<QFont> Font;
    };

    struct TRow
    {
        // One text per column; unused ones stay empty.
        std::vector<QString> Texts;
        // Whether the learner has a record of this card.
        bool HasResult = false;
        qint32 Queried = 0;
        qint32 Right = 0;
        qint32 PointValue = 0;
        // Index into the thumbnails, -1 for none.
        int Thumbnail = -1;
        // A column whose text is a placeholder, shown grey; -1 for none.
        int GreyColumn = -1;
        // The storage stage and the first moment the card is due; an empty date for never.
        qint32 Stage = 0;
        TQVL_DateTime Due;
    };

    explicit TModelShowCards(QObject* parent = nullptr);
    ~TModelShowCards() override;

    // The traffic light for a row's counts: 0 off (no record, nothing
    // queried, or more right than queried), 1 red up to 32 %, 2 yellow up to
    // 65 %, 3 green up to 100 %.
    static int TrafficLight(bool hasResult, qint32 queried, qint32 right);
    static int TrafficLight(const TRow& row) { return TrafficLight(row.HasResult, row.Queried, row.Right); }
    // Texts as the Latin-1 code page has them (other characters as "?"),
    // compared by character code, case-sensitively: < 0 when `a` comes first.
    static int CompareAnsi(const QString& a, const QString& b);
    // The order of two rows for a column of `kind`; icon and point-value
    // columns do not sort (0). Rows without a record come before any count;
    // a card that is never due comes after every due date.
    static int Compare(const TRow& a, const TRow& b, TKind kind, int column);

    void SetColumns(std::vector<TColumn> columns);
    const std::vector<TColumn>& Columns() const { return columns; }
    // Replaces the rows (and the thumbnails they point into).
    void SetRows(std::vector<TRow> rows, std::vector<QPixmap> thumbnails = {}, int rowHeight = 18);
    const TRow& Row(int row) const { return rows[std::size_t(row)]; }
    int RowCount() const { return int(rows.size()); }
    const std::vector<QPixmap>& Thumbnails() const { return thumbnails; }
    int RowHeight() const { return rowHeight; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A stable sort by Compare, reversed for a descending order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    std::vector<TColumn> columns;
    std::vector<TRow> rows;
    std::vector<QPixmap> thumbnails;
    std::vector<QPixmap> lights;
    int rowHeight = 18;
};
