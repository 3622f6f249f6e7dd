#include "ui/statistics/Model_Journal.h"

#include "ui/shell/PlainText.h"

TModelJournal::TModelJournal(QObject* parent) : TRowsModel<QAbstractTableModel>(parent) {}

void TModelJournal::SetEntries(std::vector<TEntry> newEntries)
{
    beginResetModel();
    entries = std::move(newEntries);
    endResetModel();
}

int TModelJournal::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : RowCount();
}

int TModelJournal::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : TQVL_Statistics_Journal::ColumnCount;
}

QVariant TModelJournal::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const TEntry& entry = Entry(index.row());
    if (role == Qt::DisplayRole)
        return TQVL_Statistics_Journal::Text(entry, index.column());
    if (role == Qt::ToolTipRole && index.column() == TQVL_Statistics_Journal::colUnit)
        return PlainToolTip(entry.UnitFileName);
    if (role == Qt::TextAlignmentRole && index.column() == TQVL_Statistics_Journal::colDuration)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant TModelJournal::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case TQVL_Statistics_Journal::colDate:
        return QStringLiteral("Datum");
    case TQVL_Statistics_Journal::colTime:
        return QStringLiteral("Uhrzeit");
    case TQVL_Statistics_Journal::colUnit:
        return QStringLiteral("Lektion");
    case TQVL_Statistics_Journal::colDuration:
        return QStringLiteral("Dauer");
    case TQVL_Statistics_Journal::colSuccess:
        return QStringLiteral("Erfolg");
    default:
        return {};
    }
}

Qt::ItemFlags TModelJournal::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void TModelJournal::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= TQVL_Statistics_Journal::ColumnCount)
        return;
    reorderRows(entries, TQVL_Statistics_Journal::SortedOrder(entries, column, order));
}
