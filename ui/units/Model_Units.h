#pragma once

#include "ui/shell/RowsModel.h"

#include "core/QVL_DateTime.h"

#include <QAbstractItemModel>
#include <QString>

#include <vector>

class TQVL_Provider_Item_Custom;

// The rows of the unit selection: the entries of one folder of the unit
// provider, folders and unit files mixed. Each row keeps a copy of what it
// shows, so painting never reaches into a provider tree that its owner may
// clear at any moment (the main window does so right after a unit opened).
class TModelUnits : public TRowsModel<QAbstractItemModel>
{
    Q_OBJECT
public:
    enum TColumn
    {
        colName,
        colCards,
        colLastQuery,
        colSuccess,
        ColumnCount
    };

    struct TRow
    {
        bool IsFile = false;
        QString Name;
        // The key of the row: the screen looks the entry up by it when the row is used.
        QString Path;
        int CardCount = 0;
        TQVL_DateTime LastQueryDate;
        int SuccessLast = 0;
    };

    explicit TModelUnits(QObject* parent = nullptr);
    ~TModelUnits() override;

    // One row per child of `folder`, in provider order; nullptr empties the list.
    void SetFolder(const TQVL_Provider_Item_Custom* folder);
    void Clear() { SetFolder(nullptr); }
    const TRow& Row(int row) const { return rows[std::size_t(row)]; }
    int RowCount() const { return int(rows.size()); }

    // The order of two rows for the list's sort column and direction: < 0 when
    // `a` belongs above `b` in an ascending list. The list reverses this
    // result for a descending sort; folders invert their own results then, so
    // they stay on top and in A-to-Z order in both directions.
    static int Compare(const TRow& a, const TRow& b, int column, Qt::SortOrder order);

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A stable sort by Compare, reversed for a descending order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    std::vector<TRow> rows;
};
