#include "app/EntryListModel.h"

#include <algorithm>

#include "memo/BroltMemoData.h"
#include "support/Cp932.h"

EntryListModel::EntryListModel(const BroltMemoData& memoStore,
                               const std::vector<std::string>& found, QObject* parent)
    : QAbstractListModel(parent),
      store(memoStore),
      foundWords(found),
      entryIcon(":/icons/entry.svg"),
      hitIcon(":/icons/entry-hit.svg") {}

int EntryListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows;
}

std::string_view EntryListModel::HeadwordAt(int row) const {
    // The store may run ahead of the rows for a moment (a change before the
    // reset that follows it): never index past it.
    if (row < 0 || static_cast<std::size_t>(row) >= store.Count()) {
        return {};
    }
    return store.HeadwordAt(static_cast<std::size_t>(row));
}

bool EntryListModel::IsHit(int row) const {
    std::string_view headword = HeadwordAt(row);
    return std::binary_search(foundWords.begin(), foundWords.end(), headword,
                              [](std::string_view a, std::string_view b) { return a < b; });
}

QVariant EntryListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdU16String(cp932::ToUtf16(HeadwordAt(index.row())));
        case Qt::DecorationRole:
            return IsHit(index.row()) ? hitIcon : entryIcon;
        default:
            return {};
    }
}

void EntryListModel::Reload() {
    beginResetModel();
    rows = static_cast<int>(store.Count());
    endResetModel();
}

void EntryListModel::RemoveRow(int row) {
    beginRemoveRows(QModelIndex(), row, row);
    --rows;
    endRemoveRows();
}
