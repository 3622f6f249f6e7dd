#include "ui/show/Model_ShowCards.h"

#include "core/QVL_Math.h"
#include "core/QVL_MergeSort.h"
#include "ui/shell/Icons.h"
#include "ui/shell/PlainText.h"

#include <QColor>

#include <algorithm>

namespace {

constexpr int lightSize = 12;

int sign(qint64 value)
{
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

// The character a UTF-16 code unit becomes in Latin-1; "?" for the others.
inline ushort latin1(ushort unit)
{
    return unit <= 0xFF ? unit : ushort('?');
}


} // namespace

TModelShowCards::TModelShowCards(QObject* parent) : TRowsModel<QAbstractTableModel>(parent)
{
    for (const char* name : {"light-off", "light-red", "light-yellow", "light-green"})
        lights.push_back(Icons::Pixmap(QString::fromLatin1(name), lightSize));
}

TModelShowCards::~TModelShowCards() = default;

int TModelShowCards::TrafficLight(bool hasResult, qint32 queried, qint32 right)
{
    if (!hasResult || queried <= 0)
        return 0;
    const qint64 percent = RoundHalfEven(double(right) / double(queried) * 100.0);
    if (percent <= 32)
        return 1;
    if (percent <= 65)
        return 2;
    if (percent <= 100)
        return 3;
    return 0;
}

int TModelShowCards::CompareAnsi(const QString& a, const QString& b)
{
    const ushort* p = a.utf16();
    const ushort* q = b.utf16();
    const ushort* pEnd = p + a.size();
    const ushort* qEnd = q + b.size();
    while (p < pEnd && q < qEnd) {
        const ushort x = latin1(*p);
        const ushort y = latin1(*q);
        if (x != y)
            return x < y ? -1 : 1;
        // A surrogate pair is one character and becomes one "?".
        p += QChar::isHighSurrogate(*p) && p + 1 < pEnd && QChar::isLowSurrogate(p[1]) ? 2 : 1;
        q += QChar::isHighSurrogate(*q) && q + 1 < qEnd && QChar::isLowSurrogate(q[1]) ? 2 : 1;
    }
    return p < pEnd ? 1 : (q < qEnd ? -1 : 0);
}

int TModelShowCards::Compare(const TRow& a, const TRow& b, TKind kind, int column)
{
    switch (kind) {
    case TKind::Text:
    case TKind::Picture: {
        const std::size_t at = std::size_t(column);
        static const QString none;
        return CompareAnsi(at < a.Texts.size() ? a.Texts[at] : none, at < b.Texts.size() ? b.Texts[at] : none);
    }
    case TKind::Queried:
        return sign((a.HasResult ? qint64(a.Queried) : -1LL << 40) - (b.HasResult ? qint64(b.Queried) : -1LL << 40));
    case TKind::Right:
        return sign((a.HasResult ? qint64(a.Right) : -1LL << 40) - (b.HasResult ? qint64(b.Right) : -1LL << 40));
    case TKind::Stage:
        return sign(qint64(a.Stage) - qint64(b.Stage));
    case TKind::DueDate: {
        if (a.Due.IsEmpty() || b.Due.IsEmpty())
            return int(a.Due.IsEmpty()) - int(b.Due.IsEmpty());
        return a.Due < b.Due ? -1 : (b.Due < a.Due ? 1 : 0);
    }
    case TKind::Light:
    case TKind::PointValue:
        return 0;
    }
    return 0;
}

void TModelShowCards::SetColumns(std::vector<TColumn> newColumns)
{
    beginResetModel();
    columns = std::move(newColumns);
    endResetModel();
}

void TModelShowCards::SetRows(std::vector<TRow> newRows, std::vector<QPixmap> newThumbnails, int newRowHeight)
{
    beginResetModel();
    rows = std::move(newRows);
    thumbnails = std::move(newThumbnails);
    rowHeight = newRowHeight;
    endResetModel();
}

int TModelShowCards::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : RowCount();
}

int TModelShowCards::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(columns.size());
}

QVariant TModelShowCards::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const TRow& row = Row(index.row());
    const TColumn& column = columns[std::size_t(index.column())];
    const std::size_t at = std::size_t(index.column());
    switch (role) {
    case Qt::DisplayRole:
        switch (column.Kind) {
        case TKind::Text:
            return at < row.Texts.size() ? row.Texts[at] : QString();
        case TKind::Queried:
            return row.HasResult ? QString::number(row.Queried) : QString();
        case TKind::Right:
            return row.HasResult ? QString::number(row.Right) : QString();
        case TKind::PointValue:
            return row.HasResult ? QString::number(row.PointValue) : QString();
        case TKind::Stage:
            return QString::number(row.Stage);
        case TKind::DueDate:
            return row.Due.IsEmpty() ? QString() : row.Due.ShortDateText();
        case TKind::Light:
        case TKind::Picture:
            return {};
        }
        return {};
    case Qt::DecorationRole:
        if (column.Kind == TKind::Light)
            return lights[std::size_t(TrafficLight(row))];
        if (column.Kind == TKind::Picture && row.Thumbnail >= 0 && std::size_t(row.Thumbnail) < thumbnails.size())
            return thumbnails[std::size_t(row.Thumbnail)];
        return {};
    case Qt::ToolTipRole:
        // The file name of a thumbnail, and texts that may be cut off.
        if (column.Kind == TKind::Picture || column.Kind == TKind::Text)
            return at < row.Texts.size() && !row.Texts[at].isEmpty() ? QVariant(PlainToolTip(row.Texts[at]))
                                                                     : QVariant();
        return {};
    case Qt::FontRole:
        if (column.Font && row.GreyColumn != index.column())
            return *column.Font;
        return {};
    case Qt::ForegroundRole:
        if (row.GreyColumn == index.column())
            return QColor(0x80, 0x80, 0x80);
        return {};
    case Qt::TextAlignmentRole:
        if (column.Kind == TKind::Queried || column.Kind == TKind::Right || column.Kind == TKind::PointValue ||
            column.Kind == TKind::Stage)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::AccessibleTextRole:
        if (column.Kind == TKind::Light) {
            static const char* const names[] = {"kein Ergebnis", "rot", "gelb", "grün"};
            return QString::fromUtf8(names[TrafficLight(row)]);
        }
        return {};
    default:
        return {};
    }
}

QVariant TModelShowCards::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= int(columns.size()))
        return {};
    if (role == Qt::DisplayRole)
        return columns[std::size_t(section)].Header;
    return {};
}

Qt::ItemFlags TModelShowCards::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void TModelShowCards::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= int(columns.size()))
        return;
    const TKind kind = columns[std::size_t(column)].Kind;
    if (kind == TKind::Light || kind == TKind::PointValue)
        return;
    const int direction = order == Qt::DescendingOrder ? -1 : 1;
    reorderRows(rows, MergeSortedOrder(rows.size(), [&](int a, int b) {
                    return direction * Compare(rows[std::size_t(a)], rows[std::size_t(b)], kind, column) < 0;
                }));
}
