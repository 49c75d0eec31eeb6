#include "string_table_model.h"

#include <QColor>
#include <algorithm>
#include <iterator>

#include "game_text.h"

namespace qm {

int StringTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int StringTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColOriginal + 1;
}

QVariant StringTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const auto r = std::size_t(index.row());
    switch (role) {
        case Qt::DisplayRole:
            if (index.column() == kColOriginal) {
                const StringEntry* original = originalOf(index.row());
                return original ? FromGameText(original->Text) : QString();
            }
            return FromGameText(ColumnText(rows_[r], r, index.column()));
        case Qt::ForegroundRole: return refusals_[r] ? QVariant(QColor(255, 0, 0)) : QVariant();
        case Qt::ToolTipRole:
            return refusals_[r] ? QStringLiteral("Cannot be saved: %1")
                                      .arg(QString::fromStdString(*refusals_[r]))
                                : QVariant();
        default: return {};
    }
}

QVariant StringTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section > kColOriginal) {
        return {};
    }
    return section == kColOriginal
               ? QStringLiteral("Original")
               : QString::fromLatin1(kColumnCaptions[static_cast<std::size_t>(section)]);
}

void StringTableModel::setRows(std::vector<StringEntry> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    refusals_.clear();
    std::transform(rows_.begin(), rows_.end(), std::back_inserter(refusals_), SaveRefusal);
    countChangedRows();
    endResetModel();
}

void StringTableModel::setOriginal(std::vector<StringEntry> original) {
    original_ = std::move(original);
    if (!rows_.empty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, kColOriginal));
    }
}

const StringEntry* StringTableModel::originalOf(int r) const {
    return r >= 0 && std::size_t(r) < original_.size() ? &original_[std::size_t(r)] : nullptr;
}

void StringTableModel::setEntry(int r, StringEntry entry) {
    StringEntry& row = rows_.at(static_cast<std::size_t>(r));
    changedRows_ += int(!entry.IsUnchanged()) - int(!row.IsUnchanged());
    row = std::move(entry);
    refusals_.at(std::size_t(r)) = SaveRefusal(row);
    emit dataChanged(index(r, 0), index(r, kColOriginal));
}

void StringTableModel::setContent(int r, const StringEntry& content) {
    StringEntry row = entry(r);
    row.Portrait = content.Portrait;
    row.Coloured = content.Coloured;
    row.Text = content.Text;
    setEntry(r, std::move(row));
}

void StringTableModel::markSaved() {
    MarkSaved(rows_);
    countChangedRows();
}

void StringTableModel::countChangedRows() {
    changedRows_ = int(std::count_if(rows_.begin(), rows_.end(),
                                     [](const StringEntry& row) { return !row.IsUnchanged(); }));
}

}  // namespace qm
