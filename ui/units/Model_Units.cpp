#include "ui/units/Model_Units.h"

#include "content/QVL_Provider_Item_Custom.h"
#include "content/QVL_Provider_Item_Unit.h"
#include "core/QVL_Math.h"
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

// A merge sort that only ever asks `before(a, b)`. The date column compares
// differences rounded to whole days, which is not a strict weak order, so
// std::stable_sort's requirements do not hold; merging is safe with any answer.
template <typename Before> void mergeSort(std::vector<int>& order, Before before)
{
    std::vector<int> buffer(order.size());
    for (std::size_t width = 1; width < order.size(); width *= 2) {
        for (std::size_t left = 0; left < order.size(); left += 2 * width) {
            const std::size_t middle = std::min(left + width, order.size());
            const std::size_t right = std::min(left + 2 * width, order.size());
            std::size_t i = left, j = middle, out = left;
            while (i < middle && j < right)
                buffer[out++] = before(order[j], order[i]) ? order[j++] : order[i++];
            while (i < middle)
                buffer[out++] = order[i++];
            while (j < right)
                buffer[out++] = order[j++];
        }
        order.swap(buffer);
    }
}

} // namespace

TModelUnits::TModelUnits(QObject* parent) : QAbstractItemModel(parent) {}

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
            row.Entry = entry;
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
    std::vector<int> sorted(rows.size());
    for (std::size_t i = 0; i < sorted.size(); ++i)
        sorted[i] = int(i);
    const int direction = order == Qt::DescendingOrder ? -1 : 1;
    mergeSort(sorted, [&](int a, int b) {
        return direction * Compare(rows[std::size_t(a)], rows[std::size_t(b)], column, order) < 0;
    });

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newRowOf(rows.size());
    std::vector<TRow> reordered;
    reordered.reserve(rows.size());
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        newRowOf[std::size_t(sorted[i])] = int(i);
        reordered.push_back(std::move(rows[std::size_t(sorted[i])]));
    }
    rows.swap(reordered);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before)
        after.append(createIndex(newRowOf[std::size_t(index.row())], index.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
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
