#include "row_list.h"

#include <algorithm>

#include <QHeaderView>
#include <QLineEdit>

#include "filter_bar.h"
#include "row_marks.h"
#include "status_panels.h"
#include "string_list_view.h"
#include "string_table_model.h"

namespace qm {

namespace {

// The width of the Text and Original columns below which the list scrolls sideways.
constexpr int kNarrowestText = 160;

}  // namespace

RowList::RowList(StringListView& view, FilterBar& bar, StringTableModel& model,
                 StatusPanels& status)
    : QObject(&view),
      view_(view),
      bar_(bar),
      model_(model),
      status_(status),
      shown_(new RowFilterModel(model, this)) {
    view_.setModel(shown_);
    setUpColumns();
    connect(&bar_, &FilterBar::filterChanged, this, &RowList::txtFilter_Change);
    view_.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&view_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex index = view_.indexAt(at);
        if (index.isValid()) {
            emit rowMenuRequested(shown_->mapToSource(index).row(),
                                  view_.viewport()->mapToGlobal(at));
        }
    });
    // The row is loaded when the selection moves, by key or click, and not on
    // keys that leave it where it is.
    connect(view_.selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (const std::optional<int> row = selectedRow(); row && !filtering_) {
            emit rowChosen(*row);
        }
    });
}

void RowList::setUpColumns() {
    QHeaderView* header = view_.header();
    header->setStretchLastSection(false);
    // The Text column takes whatever width the others leave; they fit the
    // widest thing they can show.
    const QFontMetrics metrics(view_.font());
    const char* widest[] = {"Number", "Mad Ms. Edna", "", "Coloured", "Pointer Value", ""};
    for (int column = 0; column <= kColOriginal; ++column) {
        view_.setColumnWidth(column,
                             metrics.horizontalAdvance(QString::fromLatin1(widest[column])) + 24);
    }
    view_.setIconSize(RowMarkSize());
    view_.setColumnWidth(
        kColNumber,
        std::max(view_.columnWidth(kColNumber),
                 RowMarkSize().width() + metrics.horizontalAdvance(QStringLiteral("512")) + 24));
    // Source before translation, as translators read them.
    header->moveSection(header->visualIndex(kColOriginal), header->visualIndex(kColText));
    view_.setStretchColumns({kColText, kColOriginal}, kNarrowestText);
    view_.setColumnShown(kColOriginal, false);
}

std::optional<int> RowList::selectedRow() const {
    const QModelIndexList rows = view_.selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        return std::nullopt;
    }
    return shown_->mapToSource(rows.constFirst()).row();
}

void RowList::selectRow(int row) {
    QModelIndex index = shown_->mapFromSource(model_.index(row, 0));
    if (!index.isValid()) {
        bar_.clear();  // a command lands on a row the filter hides
        status_.showNotice(QStringLiteral("The filter was cleared to show row %1").arg(row + 1));
        index = shown_->mapFromSource(model_.index(row, 0));
    }
    view_.selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view_.scrollTo(index);
}

std::vector<std::size_t> RowList::shownRows() const {
    return shown_->shownRows();
}

void RowList::showOriginalColumn(bool shown) {
    view_.setColumnShown(kColOriginal, shown);
}

void RowList::setAnchorRow(std::optional<int> row) {
    anchor_ = row;
}

void RowList::txtFilter_Change() {
    // The row in the editor stays in the list, selected and in view, whatever
    // the filter; the list's own moves meanwhile are no moves of the user's.
    const std::optional<int> selected = selectedRow();
    filtering_ = true;
    RowFilter filter = bar_.filter();
    filter.map = &model_.characterMap();
    shown_->setFilter(filter, anchor_);
    QModelIndex index =
        selected ? shown_->mapFromSource(model_.index(*selected, 0)) : QModelIndex();
    if (!index.isValid() && anchor_) {
        index = shown_->mapFromSource(model_.index(*anchor_, 0));
    }
    if (index.isValid()) {
        view_.selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        view_.scrollTo(index);
    } else {
        view_.selectionModel()->clear();
    }
    filtering_ = false;
}

}  // namespace qm
