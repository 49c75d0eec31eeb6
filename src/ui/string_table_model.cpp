#include "string_table_model.h"

#include "game_text.h"

namespace qm {

int StringTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int StringTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant StringTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid) ||
        role != Qt::DisplayRole) {
        return {};
    }
    return FromGameText(ColumnText(entry(index.row()), std::size_t(index.row()), index.column()));
}

QVariant StringTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= kColumnCount) {
        return {};
    }
    return QString::fromLatin1(kColumnCaptions[static_cast<std::size_t>(section)]);
}

void StringTableModel::setRows(std::vector<StringEntry> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

void StringTableModel::setEntry(int r, StringEntry entry) {
    rows_.at(static_cast<std::size_t>(r)) = std::move(entry);
    emit dataChanged(index(r, 0), index(r, kColumnCount - 1), {Qt::DisplayRole});
}

}  // namespace qm
