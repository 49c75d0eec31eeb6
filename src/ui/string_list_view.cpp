#include "string_list_view.h"

#include <QEvent>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>

namespace qm {

void StringListView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    const int x = horizontalScrollBar()->value();
    QTreeView::scrollTo(index, hint);
    horizontalScrollBar()->setValue(x);
}

void StringListView::setStretchColumn(int column, int minimumWidth) {
    stretchColumn_ = column;
    stretchMinimum_ = minimumWidth;
    fitStretchColumn();
}

void StringListView::resizeEvent(QResizeEvent* event) {
    QTreeView::resizeEvent(event);
    fitStretchColumn();
}

void StringListView::fitStretchColumn() {
    if (!stretchColumn_ || model() == nullptr) {
        return;
    }
    int others = 0;
    for (int column = 0; column < header()->count(); ++column) {
        others += column == *stretchColumn_ ? 0 : header()->sectionSize(column);
    }
    const bool roomy = viewport()->width() - others >= stretchMinimum_;
    header()->setSectionResizeMode(*stretchColumn_,
                                   roomy ? QHeaderView::Stretch : QHeaderView::Interactive);
    if (!roomy) {
        header()->resizeSection(*stretchColumn_, stretchMinimum_);
    }
}

bool StringListView::event(QEvent* event) {
    const bool handled = QTreeView::event(event);
    if (event->type() == QEvent::Paint && hasFocus()) {
        // The frame, drawn over the style's own, in the colour of the selection.
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawRect(rect().adjusted(1, 1, -1, -1));
    }
    return handled;
}

void StringListView::focusInEvent(QFocusEvent* event) {
    QTreeView::focusInEvent(event);
    update();
}

void StringListView::focusOutEvent(QFocusEvent* event) {
    QTreeView::focusOutEvent(event);
    update();
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
