#include "table_history.h"

#include <QAction>
#include <QUndoCommand>
#include <QUndoStack>

#include "string_table_model.h"

namespace qm {

namespace {

bool sameContent(const StringEntry& a, const StringEntry& b) {
    return a.Portrait == b.Portrait && a.Coloured == b.Coloured && a.Text == b.Text;
}

// Rows' content before and after; redo writes the after, undo the before.
class RowsCommand : public QUndoCommand {
  public:
    RowsCommand(StringTableModel& model, const std::function<void(int)>& shown, const QString& text,
                std::vector<RowChange> changes)
        : QUndoCommand(text), model_(model), shown_(shown), changes_(std::move(changes)) {}

    void undo() override { write(&RowChange::before); }
    void redo() override { write(&RowChange::after); }

  private:
    void write(StringEntry RowChange::*side) {
        for (const RowChange& change : changes_) {
            model_.setContent(change.row, change.*side);
        }
        if (!pushing_) {
            shown_(changes_.front().row);
        }
        pushing_ = false;
    }

    StringTableModel& model_;
    const std::function<void(int)>& shown_;
    std::vector<RowChange> changes_;
    // QUndoStack::push runs redo once; that first run is the change itself, not
    // a redo the user asked for.
    bool pushing_ = true;
};

}  // namespace

TableHistory::TableHistory(StringTableModel& model, std::function<void(int)> shown, QObject* parent)
    : QObject(parent),
      model_(model),
      shown_(std::move(shown)),
      stack_(new QUndoStack(this)),
      undo_(stack_->createUndoAction(this)),
      redo_(stack_->createRedoAction(this)) {
    undo_->setObjectName(QStringLiteral("mnuUndo"));
    redo_->setObjectName(QStringLiteral("mnuRedo"));
}

void TableHistory::change(const QString& text, std::vector<RowChange> changes) {
    std::erase_if(changes,
                  [](const RowChange& change) { return sameContent(change.before, change.after); });
    if (!changes.empty()) {
        stack_->push(new RowsCommand(model_, shown_, text, std::move(changes)));
    }
}

std::vector<RowChange> TableHistory::changesTo(std::span<const StringEntry> rows) const {
    std::vector<RowChange> changes;
    for (int row = 0; row < model_.rowCount() && std::size_t(row) < rows.size(); ++row) {
        if (!sameContent(model_.entry(row), rows[std::size_t(row)])) {
            changes.push_back({row, model_.entry(row), rows[std::size_t(row)]});
        }
    }
    return changes;
}

void TableHistory::clear() {
    stack_->clear();
}

}  // namespace qm
