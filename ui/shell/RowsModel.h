#pragma once

#include <QAbstractItemModel>

#include <cstddef>
#include <utility>
#include <vector>

// Base of the list models whose rows live in a vector and are sorted by
// reordering it; the views keep their current and selected rows, because the
// persistent indexes move with the rows.
template <class Base> class TRowsModel : public Base
{
public:
    using Base::Base;

protected:
    // `order` names the old row numbers in their new sequence.
    template <class Row> void reorderRows(std::vector<Row>& rows, const std::vector<int>& order)
    {
        emit this->layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        std::vector<int> newRowOf(rows.size());
        std::vector<Row> reordered;
        reordered.reserve(rows.size());
        for (std::size_t i = 0; i < order.size(); ++i) {
            newRowOf[std::size_t(order[i])] = int(i);
            reordered.push_back(std::move(rows[std::size_t(order[i])]));
        }
        rows.swap(reordered);
        const QModelIndexList before = this->persistentIndexList();
        QModelIndexList after;
        after.reserve(before.size());
        for (const QModelIndex& index : before)
            after.append(this->createIndex(newRowOf[std::size_t(index.row())], index.column()));
        this->changePersistentIndexList(before, after);
        emit this->layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    }
};
