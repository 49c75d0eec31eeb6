#include "table_history.h"

#include <QAction>
#include <QUndoCommand>
#include <QUndoStack>

#include "string_table_model.h"
#include "text.hpp"

namespace qm {

/// One row's content and review before and after a step.
struct RowChange {
    int row = 0;
    StringEntry before;
    StringEntry after;
    RowReview reviewBefore;
    RowReview reviewAfter;
};

namespace {

// Rows' content and reviews before and after; redo writes the after, undo the before.
class RowsCommand : public QUndoCommand {
  public:
    RowsCommand(StringTableModel& model, TableHistory& history, const QString& text,
                std::vector<RowChange> changes)
        : QUndoCommand(text), model_(model), history_(history), changes_(std::move(changes)) {}

    void undo() override { write(&RowChange::before, &RowChange::reviewBefore); }
    void redo() override { write(&RowChange::after, &RowChange::reviewAfter); }

  private:
    void write(StringEntry RowChange::*side, RowReview RowChange::*review) {
        for (const RowChange& change : changes_) {
            model_.setContent(change.row, change.*side);
            model_.setReview(change.row, change.*review);
        }
        if (!pushing_) {
            emit history_.stepShown(changes_.front().row);
        }
        pushing_ = false;
    }

    StringTableModel& model_;
    TableHistory& history_;
    std::vector<RowChange> changes_;
    // QUndoStack::push runs redo once; that first run is the change itself, not
    // a redo the user asked for.
    bool pushing_ = true;
};

}  // namespace

TableHistory::TableHistory(StringTableModel& model, QObject* parent)
    : QObject(parent),
      model_(model),
      stack_(new QUndoStack(this)),
      undo_(stack_->createUndoAction(this)),
      redo_(stack_->createRedoAction(this)) {
    undo_->setObjectName(QStringLiteral("mnuUndo"));
    redo_->setObjectName(QStringLiteral("mnuRedo"));
    // Ctrl+Z and Ctrl+Y belong to the edit box while it has the focus (the window
    // lets them through there); Alt+Backspace reaches the table from anywhere.
    undo_->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)});
    redo_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y),
                         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                         QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Backspace)});
    connect(stack_, &QUndoStack::indexChanged, this, &TableHistory::tableChanged);
    // The window decides when an undo may run (the edit box is settled first).
    for (QAction* action : {undo_, redo_}) {
        action->disconnect(stack_);
    }
}

void TableHistory::changeRow(const QString& name, int row, const StringEntry& content,
                             std::optional<RowReview> review) {
    push(QStringLiteral("%1 (row %2)").arg(name).arg(row + 1), changesOf({{row, content, review}}));
}

std::size_t TableHistory::changeRows(const QString& name, std::vector<RowContent> contents) {
    std::vector<RowChange> changes = changesOf(std::move(contents));
    const std::size_t count = changes.size();
    push(QStringLiteral("%1 (%2)").arg(name, QString::fromStdString(Counted(count, "row", "rows"))),
         std::move(changes));
    return count;
}

std::size_t TableHistory::changeTo(const QString& name, std::span<const StringEntry> rows,
                                   const Reviews* reviews) {
    std::vector<RowContent> contents;
    for (int row = 0; row < model_.rowCount() && std::size_t(row) < rows.size(); ++row) {
        contents.push_back(
            {row, rows[std::size_t(row)],
             reviews ? std::optional(ReviewOf(*reviews, std::size_t(row))) : std::nullopt});
    }
    return changeRows(name, std::move(contents));
}

std::vector<RowChange> TableHistory::changesOf(std::vector<RowContent> contents) const {
    std::vector<RowChange> changes;
    for (RowContent& content : contents) {
        const StringEntry& before = model_.entry(content.row);
        const RowReview& reviewBefore = ReviewOf(model_.reviews(), std::size_t(content.row));
        RowReview reviewAfter = content.review.value_or(reviewBefore);
        if (!content.review && content.content.Text != before.Text) {
            reviewAfter.state = StateAfterTextChange(reviewAfter.state);
        }
        if (!SameContent(before, content.content) || reviewAfter != reviewBefore) {
            changes.push_back({content.row, before, std::move(content.content), reviewBefore,
                               std::move(reviewAfter)});
        }
    }
    return changes;
}

void TableHistory::push(const QString& text, std::vector<RowChange> changes) {
    if (!changes.empty()) {
        stack_->push(new RowsCommand(model_, *this, text, std::move(changes)));
    }
}

void TableHistory::undo() {
    stack_->undo();
}

void TableHistory::redo() {
    stack_->redo();
}

void TableHistory::markClean() {
    stack_->setClean();
}

void TableHistory::clear() {
    stack_->clear();
}

}  // namespace qm
