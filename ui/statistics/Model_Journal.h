#pragma once

#include "ui/shell/RowsModel.h"

#include "statistics/QVL_Statistics_Journal.h"

#include <QAbstractTableModel>

#include <vector>

// The rows of the statistics journal: copies of the stored queries' values.
class TModelJournal : public TRowsModel<QAbstractTableModel>
{
    Q_OBJECT
public:
    using TEntry = TQVL_Statistics_Journal::TEntry;

    explicit TModelJournal(QObject* parent = nullptr);

    void SetEntries(std::vector<TEntry> entries);
    const TEntry& Entry(int row) const { return entries[std::size_t(row)]; }
    int RowCount() const { return int(entries.size()); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    std::vector<TEntry> entries;
};
