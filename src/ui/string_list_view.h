#pragma once
// The list lvText: a report-style view of the string table in which one row is
// always selected once there is one, and which never scrolls sideways by itself.

#include <QTreeView>

namespace qm {

class StringListView : public QTreeView {
    Q_OBJECT
  public:
    using QTreeView::QTreeView;

    /// Keeps the horizontal position: a click on a wide Text cell would otherwise
    /// scroll the Number column out of sight.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

  protected:
    /// Ctrl+click on the selected row selects it again instead of leaving no row
    /// for Apply and the commands to work on.
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
};

}  // namespace qm
