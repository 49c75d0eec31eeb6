#pragma once
// The table's history: every change to rows (Apply, Import Table, Replace All,
// Apply to Identical Rows, a revert) is one undo step on a QUndoStack, named in
// the Edit menu. A step stores what the user can change of each row (portrait,
// colour, text), never what the file holds, so an undo after a save shows the
// row as changed again.

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

#include "rom/string_table.hpp"

class QAction;
class QUndoStack;

namespace qm {

class StringTableModel;

/// One row's content before and after a step.
struct RowChange {
    int row = 0;
    StringEntry before;
    StringEntry after;
};

class TableHistory : public QObject {
    Q_OBJECT
  public:
    /// shown(row) is called after an undo or a redo with the first row it changed.
    TableHistory(StringTableModel& model, std::function<void(int)> shown, QObject* parent);

    /// Writes the changes into the table as one step named text; rows whose
    /// content would not change are left out, and nothing at all is recorded when
    /// no row changes.
    void change(const QString& text, std::vector<RowChange> changes);
    /// The changes that turn the table into rows (of the same length).
    std::vector<RowChange> changesTo(std::span<const StringEntry> rows) const;
    /// Forgets every step: a new table has been loaded.
    void clear();

    QAction* undoAction() const { return undo_; }
    QAction* redoAction() const { return redo_; }
    QUndoStack* stack() const { return stack_; }

  private:
    StringTableModel& model_;
    std::function<void(int)> shown_;
    QUndoStack* stack_;
    QAction* undo_;
    QAction* redo_;
};

}  // namespace qm
