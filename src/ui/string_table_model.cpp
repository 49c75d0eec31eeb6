#include "string_table_model.h"

#include <QColor>
#include <algorithm>

#include "game_text.h"
#include "markup/display.hpp"
#include "row_marks.h"

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
                return original ? displayText(original->Text) : QString();
            }
            if (index.column() == kColText) {
                return displayText(rows_[r].Text);
            }
            return FromGameText(ColumnText(rows_[r], r, index.column()));
        case Qt::DecorationRole:
            return index.column() == kColNumber
                       ? QVariant(RowMark(states_[r], states_[r].warnings > 0))
                       : QVariant();
        case Qt::ForegroundRole:
            return states_[r].unsaveable() ? QVariant(QColor(255, 0, 0)) : QVariant();
        case Qt::ToolTipRole: {
            QString words = RowStateText(states_[r], ReviewOf(reviews_, r).note);
            for (const Warning& warning : warningsOf(int(r))) {
                const std::string_view check = CheckName(warning.check);
                words += (words.isEmpty() ? QString() : QStringLiteral("\n")) +
                         QStringLiteral("Warning, %1: %2")
                             .arg(QString::fromUtf8(check.data(), qsizetype(check.size())),
                                  QString::fromStdString(warning.message));
            }
            return words.isEmpty() ? QVariant() : QVariant(words);
        }
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

void StringTableModel::setRows(std::vector<StringEntry> rows, Reviews reviews) {
    beginResetModel();
    rows_ = std::move(rows);
    reviews_ = std::move(reviews);
    updateStates();
    countChangedRows();
    endResetModel();
}

void StringTableModel::setOriginal(std::vector<StringEntry> original) {
    original_ = std::move(original);
    updateStates();
    if (!rows_.empty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, kColOriginal));
    }
}

const StringEntry* StringTableModel::originalOf(int r) const {
    return r >= 0 && std::size_t(r) < original_.size() ? &original_[std::size_t(r)] : nullptr;
}

void StringTableModel::setCharacterMap(const CharacterMap* map) {
    map_ = map;
    updateStates();
    if (!rows_.empty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, kColOriginal));
    }
}

const CharacterMap& StringTableModel::characterMap() const {
    static const CharacterMap none;
    return map_ ? *map_ : none;
}

QString StringTableModel::displayText(const std::string& markup) const {
    return QString::fromStdString(MarkupToDisplay(markup, characterMap()));
}

void StringTableModel::setReviews(Reviews reviews) {
    reviews_ = std::move(reviews);
    updateStates();
    if (!rows_.empty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, kColOriginal));
    }
}

void StringTableModel::setReview(int r, RowReview review) {
    if (ReviewOf(reviews_, std::size_t(r)) == review) {
        return;
    }
    SetReview(reviews_, std::size_t(r), std::move(review));
    const RowState state = stateWith(r, entry(r));
    counts_ = countsWith(r, state);
    states_.at(std::size_t(r)) = state;
    emit dataChanged(index(r, 0), index(r, kColOriginal));
}

RowState StringTableModel::stateWith(int r, const StringEntry& candidate) const {
    RowState state =
        StateOf(candidate, originalOf(r), characterMap(), ReviewOf(reviews_, std::size_t(r)).state);
    if (checks_ != nullptr) {
        state.warnings = checks_->warningsOf(rows_, std::size_t(r), candidate, *project_).size();
    }
    return state;
}

void StringTableModel::setChecks(const TranslationAssistant* assistant, const Project* project) {
    checks_ = assistant;
    project_ = project;
    recheck();
}

const std::vector<Warning>& StringTableModel::warningsOf(int r) const {
    static const std::vector<Warning> none;
    return std::size_t(r) < warnings_.size() ? warnings_[std::size_t(r)] : none;
}

std::vector<Warning> StringTableModel::warnings() const {
    std::vector<Warning> all;
    for (const std::vector<Warning>& row : warnings_) {
        all.insert(all.end(), row.begin(), row.end());
    }
    return all;
}

void StringTableModel::recheck() {
    updateStates();
    if (!rows_.empty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, kColOriginal));
    }
}

void StringTableModel::recheckAround(int r) {
    if (checks_ == nullptr) {
        return;
    }
    for (const std::size_t k : checks_->sameOriginal(std::size_t(r))) {
        if (int(k) == r || k >= rows_.size()) {
            continue;  // row r's own were counted with its state
        }
        std::vector<Warning> now = checks_->warningsOf(rows_, k, rows_[k], *project_);
        counts_.warnings = counts_.warnings - states_[k].warnings + now.size();
        states_[k].warnings = now.size();
        warnings_[k] = std::move(now);
        emit dataChanged(index(int(k), 0), index(int(k), kColOriginal));
    }
}

void StringTableModel::setEntry(int r, StringEntry entry) {
    StringEntry& row = rows_.at(static_cast<std::size_t>(r));
    changedRows_ += int(!entry.IsUnchanged()) - int(!row.IsUnchanged());
    row = std::move(entry);
    const RowState state = stateWith(r, row);
    counts_ = countsWith(r, state);
    states_.at(std::size_t(r)) = state;
    if (checks_ != nullptr) {
        warnings_.at(std::size_t(r)) = checks_->warningsOf(rows_, std::size_t(r), row, *project_);
    }
    emit dataChanged(index(r, 0), index(r, kColOriginal));
    recheckAround(r);
}

void StringTableModel::setContent(int r, const StringEntry& content) {
    StringEntry row = entry(r);
    row.Portrait = content.Portrait;
    row.Coloured = content.Coloured;
    row.Text = content.Text;
    setEntry(r, std::move(row));
}

void StringTableModel::setLoadedForms(std::span<const StringEntry> file) {
    for (std::size_t k = 0; k < rows_.size() && k < file.size(); ++k) {
        rows_[k].Loaded = file[k].Loaded;
        rows_[k].Pointer = file[k].Pointer;
    }
    countChangedRows();
    updateStates();
    if (!rows_.empty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, kColOriginal));
    }
}

void StringTableModel::markSaved() {
    MarkSaved(rows_);
    countChangedRows();
    updateStates();
    if (!rows_.empty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, kColOriginal));
    }
}

StateCounts StringTableModel::countsWith(int r, const RowState& candidate) const {
    const StateCounts out = CountStates({&state(r), 1});
    const StateCounts in = CountStates({&candidate, 1});
    StateCounts counts = counts_;
    for (auto field : {&StateCounts::rows, &StateCounts::compared, &StateCounts::translated,
                       &StateCounts::untranslated, &StateCounts::overflow, &StateCounts::unsaveable,
                       &StateCounts::changed, &StateCounts::warnings}) {
        counts.*field = counts.*field - out.*field + in.*field;
    }
    for (auto field : {&ReviewCounts::draft, &ReviewCounts::needsReview, &ReviewCounts::approved}) {
        counts.reviews.*field = counts.reviews.*field - out.reviews.*field + in.reviews.*field;
    }
    return counts;
}

void StringTableModel::updateStates() {
    states_ = StatesOf(rows_, original_, characterMap(), reviews_);
    warnings_.assign(rows_.size(), {});
    if (checks_ != nullptr) {
        for (Warning& warning : checks_->warningsOf(rows_, *project_)) {
            if (warning.row < rows_.size()) {
                states_[warning.row].warnings += 1;
                warnings_[warning.row].push_back(std::move(warning));
            }
        }
    }
    counts_ = CountStates(states_);
}

void StringTableModel::countChangedRows() {
    changedRows_ = int(std::count_if(rows_.begin(), rows_.end(),
                                     [](const StringEntry& row) { return !row.IsUnchanged(); }));
}

}  // namespace qm
