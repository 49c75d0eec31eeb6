#pragma once
// The list lvText under its filter bar: the rows the filter shows, which row of
// the table is selected, and selecting one. A change of the filter moves the
// list's selection without any move of the user's; only the user's moves reach
// the window, as rowChosen.

#include <QObject>
#include <optional>
#include <vector>

namespace qm {

class FilterBar;
class RowFilterModel;
class StatusPanels;
class StringListView;
class StringTableModel;

class RowList : public QObject {
    Q_OBJECT
  public:
    RowList(StringListView& view, FilterBar& bar, StringTableModel& model, StatusPanels& status);

    /// The selected row of the table (not of the filtered list), if any.
    std::optional<int> selectedRow() const;
    /// Selects row of the table and scrolls it into view, clearing the filter
    /// when it hides that row (the status bar says so).
    void selectRow(int row);
    /// The rows the filter shows, as rows of the table, ascending.
    std::vector<std::size_t> shownRows() const;
    /// Shows or hides the original's column.
    void showOriginalColumn(bool shown);
    /// The row the editor holds: it stays in the list, whatever the filter.
    void setAnchorRow(std::optional<int> row);
    /// The rows changed: the filter is applied to them anew.
    void refilter() { txtFilter_Change(); }

  signals:
    /// The user moved the selection to row (by key, click or a command).
    void rowChosen(int row);
    /// The user asked for row's context menu at pos (global).
    void rowMenuRequested(int row, const QPoint& pos);

  private:
    void setUpColumns();
    /// The filter line or its state choice changed: the list shows the rows
    /// that pass, the selected one kept where it still passes.
    void txtFilter_Change();

    StringListView& view_;
    FilterBar& bar_;
    StringTableModel& model_;
    StatusPanels& status_;
    RowFilterModel* shown_;
    // The filter is changing the rows shown: the list's moves are not the user's.
    bool filtering_ = false;
    std::optional<int> anchor_;
};

}  // namespace qm
