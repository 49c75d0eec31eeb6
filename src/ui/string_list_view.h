#pragma once
// The list lvText: a report-style view of the string table in which one row is
// always selected once there is one, which never scrolls sideways by itself, and
// which shows when it has the keyboard focus.

#include <QTreeView>

namespace qm {

class StringListView : public QTreeView {
    Q_OBJECT
  public:
    using QTreeView::QTreeView;

    /// The shown columns of these share the width the other columns leave, but
    /// each never less than minimumWidth: a narrower window scrolls sideways.
    void setStretchColumns(QList<int> columns, int minimumWidth);

    /// Shows or hides column, and shares the width again.
    void setColumnShown(int column, bool shown);

    /// Keeps the horizontal position: a click on a wide Text cell would otherwise
    /// scroll the Number column out of sight.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

  protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    /// Ctrl+click on the selected row selects it again instead of leaving no row
    /// for Apply and the commands to work on.
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;

  private:
    void fitStretchColumns();

    QList<int> stretchColumns_;
    int stretchMinimum_ = 0;
};

}  // namespace qm
