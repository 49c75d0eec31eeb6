#pragma once
// The table's history: every change to rows (Apply, Import Table, Replace All,
// Apply to Identical Rows, a revert) is one undo step on a QUndoStack, named in
// the Edit menu. A step stores what the user can change of each row (portrait,
// colour, text), never what the file holds, so an undo after a save shows the
// row as changed again. What a row held before is read here, from the table.

#include <QObject>
#include <QString>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "rom/string_table.hpp"
#include "translation/review.hpp"

class QAction;
class QUndoStack;

namespace qm {

class StringTableModel;
struct RowChange;  // table_history.cpp

/// A row (0-based), the content it is to take and, when it changes, its note
/// and state.
struct RowContent {
    int row = 0;
    StringEntry content;
    std::optional<RowReview> review = std::nullopt;
};

class TableHistory : public QObject {
    Q_OBJECT
  public:
    TableHistory(StringTableModel& model, QObject* parent);

    /// Gives row content's portrait, colour and text, and review (when given)
    /// its note and state, as one step «name (row N)». Nothing is recorded when
    /// the row would not change.
    void changeRow(const QString& name, int row, const StringEntry& content,
                   std::optional<RowReview> review = std::nullopt);
    /// Gives each row its content (and review, where given) as one step «name (N
    /// rows)», N counting the rows that change; nothing is recorded when none
    /// does. An Approved row whose text changes without a review of its own goes
    /// back to Draft in the same step. Returns N.
    std::size_t changeRows(const QString& name, std::vector<RowContent> contents);
    /// The table takes the content of rows (row k of rows for row k), and with
    /// reviews the rows' notes and states, as one step.
    std::size_t changeTo(const QString& name, std::span<const StringEntry> rows,
                         const Reviews* reviews = nullptr);

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
    /// The changes contents make, rows that would not change left out.
    std::vector<RowChange> changesOf(std::vector<RowContent> contents) const;
    void push(const QString& text, std::vector<RowChange> changes);

    StringTableModel& model_;
    QUndoStack* stack_;
    QAction* undo_;
    QAction* redo_;
};

}  // namespace qm
