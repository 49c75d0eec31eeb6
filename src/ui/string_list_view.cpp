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

void StringListView::setStretchColumns(QList<int> columns, int minimumWidth) {
    stretchColumns_ = std::move(columns);
    stretchMinimum_ = minimumWidth;
    fitStretchColumns();
}

void StringListView::resizeEvent(QResizeEvent* event) {
    QTreeView::resizeEvent(event);
    fitStretchColumns();
}

void StringListView::fitStretchColumns() {
    if (model() == nullptr) {
        return;
    }
    int others = 0;
    int stretched = 0;
    for (int column = 0; column < header()->count(); ++column) {
        if (!stretchColumns_.contains(column)) {
            others += header()->sectionSize(column);  // 0 when hidden
        } else if (!header()->isSectionHidden(column)) {
            ++stretched;
        }
    }
    const bool roomy = viewport()->width() - others >= stretched * stretchMinimum_;
    for (int column : stretchColumns_) {
        header()->setSectionResizeMode(column,
                                       roomy ? QHeaderView::Stretch : QHeaderView::Interactive);
        if (!roomy) {
            header()->resizeSection(column, stretchMinimum_);
        }
    }
}

void StringListView::setColumnShown(int column, bool shown) {
    setColumnHidden(column, !shown);
    fitStretchColumns();
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
