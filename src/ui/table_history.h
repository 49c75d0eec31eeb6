#pragma once
// The table's history: every change to rows (Apply, Import Table, Replace All,
// Apply to Identical Rows, a revert) is one undo step on a QUndoStack, named in
// the Edit menu. A step stores what the user can change of each row (portrait,
// colour, text), never what the file holds, so an undo after a save shows the
// row as changed again. What a row held before is read here, from the table.

#include <QObject>
#include <QString>
#include <span>
#include <utility>
#include <vector>

#include "rom/string_table.hpp"

class QAction;
class QUndoStack;

namespace qm {

class StringTableModel;

/// A row (0-based) and the content it is to take.
using RowContent = std::pair<int, StringEntry>;

class TableHistory : public QObject {
    Q_OBJECT
  public:
    TableHistory(StringTableModel& model, QObject* parent);

    /// Gives row content's portrait, colour and text as one step «name (row N)».
    /// Nothing is recorded when the row would not change.
    void changeRow(const QString& name, int row, const StringEntry& content);
    /// Gives each row its content as one step «name (N rows)», N counting the rows
    /// that change; nothing is recorded when none does. Returns N.
    std::size_t changeRows(const QString& name, std::vector<RowContent> contents);
    /// The table takes the content of rows (row k of rows for row k) as one step.
    std::size_t changeTo(const QString& name, std::span<const StringEntry> rows);

    void undo();
    void redo();
    /// The table now stands as the file holds it.
    void markClean();
    /// Forgets every step: a new table has been loaded.
    void clear();

    QAction* undoAction() const { return undo_; }
    QAction* redoAction() const { return redo_; }

  signals:
    /// An undo or redo wrote rows; row is the first of them.
    void stepShown(int row);
    /// A step was made, undone or redone.
    void tableChanged();

  private:
    void push(const QString& text, std::vector<RowContent> contents);

    StringTableModel& model_;
    QUndoStack* stack_;
    QAction* undo_;
    QAction* redo_;
};

}  // namespace qm
