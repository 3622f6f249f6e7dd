#include "ui/units/Model_Units.h"

#include "content/QVL_Provider_Item_Custom.h"
#include "content/QVL_Provider_Item_Unit.h"
#include "core/QVL_Math.h"
#include "core/QVL_MergeSort.h"
#include "ui/shell/Icons.h"

#include <algorithm>

namespace {

int sign(double value)
{
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

int compareNames(const QString& a, const QString& b)
{
    return sign(a.toUpper().compare(b.toUpper(), Qt::CaseSensitive));
}


} // namespace

TModelUnits::TModelUnits(QObject* parent) : TRowsModel<QAbstractItemModel>(parent) {}

TModelUnits::~TModelUnits() = default;

void TModelUnits::SetFolder(const TQVL_Provider_Item_Custom* folder)
{
    beginResetModel();
    rows.clear();
    if (folder) {
        rows.reserve(std::size_t(folder->ChildCount()));
        for (int i = 0; i < folder->ChildCount(); ++i) {
            const TQVL_Provider_Item_Custom* entry = folder->Child(i);
            TRow row;
            row.IsFile = entry->IsFile;
            row.Name = entry->Name;
            row.Path = entry->Path;
            if (const auto* unit = dynamic_cast<const TQVL_Provider_Item_Unit*>(entry)) {
                row.CardCount = unit->CardCount;
                row.LastQueryDate = unit->LastQueryDate;
                row.SuccessLast = unit->SuccessLast;
            }
            rows.push_back(std::move(row));
        }
    }
    endResetModel();
}

int TModelUnits::Compare(const TRow& a, const TRow& b, int column, Qt::SortOrder order)
{
    const int inverted = order == Qt::DescendingOrder ? -1 : 1;
    if (a.IsFile != b.IsFile)
        return (a.IsFile ? 1 : -1) * inverted;
    if (!a.IsFile)
        return compareNames(a.Name, b.Name) * inverted;
    switch (column) {
    case colCards:
        return sign(double(a.CardCount) - double(b.CardCount));
    case colLastQuery:
        return sign(double(RoundHalfEven(a.LastQueryDate.Serial() - b.LastQueryDate.Serial())));
    case colSuccess:
        return sign(double(a.SuccessLast) - double(b.SuccessLast));
    default:
        return compareNames(a.Name, b.Name);
    }
}

void TModelUnits::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= ColumnCount)
        return;
    const int direction = order == Qt::DescendingOrder ? -1 : 1;
    reorderRows(rows, MergeSortedOrder(rows.size(), [&](int a, int b) {
                    return direction * Compare(rows[std::size_t(a)], rows[std::size_t(b)], column, order) < 0;
                }));
}

QModelIndex TModelUnits::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() || row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount)
        return {};
    return createIndex(row, column);
}

QModelIndex TModelUnits::parent(const QModelIndex&) const
{
    return {};
}

int TModelUnits::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : RowCount();
}

int TModelUnits::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TModelUnits::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const TRow& row = Row(index.row());
    if (role == Qt::DecorationRole && index.column() == colName) {
        if (!row.IsFile)
            return Icons::Get(QStringLiteral("folder"));
        // Packed units have their own symbol; the extension is taken as it is written.
        return Icons::Get(row.Name.endsWith(QLatin1String(".qxuz")) ? QStringLiteral("unit-packed")
                                                                    : QStringLiteral("unit"));
    }
    // The date column is narrow: its full text shows as a tip.
    if (role == Qt::ToolTipRole && index.column() == colLastQuery && row.IsFile && !row.LastQueryDate.IsEmpty())
        return row.LastQueryDate.ToText();
    if (role != Qt::DisplayRole)
        return {};
    if (index.column() == colName)
        return row.Name;
    if (!row.IsFile)
        return QString();
    switch (index.column()) {
    case colCards:
        return QString::number(row.CardCount);
    case colLastQuery:
        return row.LastQueryDate.IsEmpty() ? QString() : row.LastQueryDate.ToText();
    case colSuccess:
        return row.LastQueryDate.IsEmpty() ? QString() : QString::number(row.SuccessLast) + QLatin1Char('%');
    default:
        return {};
    }
}

QVariant TModelUnits::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case colName:
        return QStringLiteral("Dateiname");
    case colCards:
        return QStringLiteral("Karten");
    case colLastQuery:
        return QStringLiteral("Letzte Abfrage");
    case colSuccess:
        return QStringLiteral("Erfolg");
    default:
        return {};
    }
}

Qt::ItemFlags TModelUnits::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}
