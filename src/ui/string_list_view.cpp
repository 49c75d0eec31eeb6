#include "string_list_view.h"

#include <QScrollBar>

namespace qm {

void StringListView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    const int x = horizontalScrollBar()->value();
    QTreeView::scrollTo(index, hint);
    horizontalScrollBar()->setValue(x);
}

QItemSelectionModel::SelectionFlags StringListView::selectionCommand(const QModelIndex& index,
                                                                     const QEvent* event) const {
    const auto command = QTreeView::selectionCommand(index, event);
    if (index.isValid() &&
        (command & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))) {
        return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
    }
    return command;
}

}  // namespace qm
