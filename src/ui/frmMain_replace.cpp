// Find > Replace...: finding and replacing across the table, in the markup the
// edit box shows, tokens as units. The dialog works on the table, so what the
// edit box holds is applied first, as a save takes it; every replacement is one
// step of the table's history.
#include <QPlainTextEdit>
#include <QTextCursor>
#include <numeric>

#include "filter_bar.h"
#include "frmMain.h"
#include "game_text.h"
#include "replace_dialog.h"
#include "status_panels.h"
#include "string_table_model.h"
#include "table_history.h"
#include "ui_frmMain.h"

namespace qm {

void frmMain::mnuFindReplace_Click() {
    if (replace_ == nullptr) {
        replace_ = new ReplaceDialog(this);
        connect(replace_, &ReplaceDialog::findNextRequested, this, &frmMain::replaceFindNext);
        connect(replace_, &ReplaceDialog::replaceRequested, this, &frmMain::replaceOne);
        connect(replace_, &ReplaceDialog::replaceAllRequested, this, &frmMain::replaceAll);
    }
    const QString selected = ui->txtText->textCursor().selectedText();
    if (!selected.isEmpty()) {
        replace_->setFindText(selected);
    }
    replace_->show();
    replace_->raise();
    replace_->activateWindow();
}

std::vector<std::size_t> frmMain::replaceScope() const {
    switch (replace_->scope()) {
        case ReplaceDialog::Scope::FilteredRows: return shown_->shownRows();
        case ReplaceDialog::Scope::SelectedRow:
            return loadedRow_ ? std::vector<std::size_t>{std::size_t(*loadedRow_)}
                              : std::vector<std::size_t>{};
        case ReplaceDialog::Scope::AllRows: break;
    }
    std::vector<std::size_t> all(model_->rows().size());
    std::iota(all.begin(), all.end(), std::size_t{0});
    return all;
}

void frmMain::replaceFindNext() {
    const std::optional<SearchPattern> pattern = replace_->pattern();
    if (busy_ || !pattern || !applyEditBox()) {
        return;
    }
    // From the end of what is selected: a match just shown is not found again.
    const QTextCursor caret = ui->txtText->textCursor();
    const MatchSearch found =
        FindNextMatch(model_->rows(), replaceScope(), std::size_t(loadedRow_.value_or(0)),
                      std::size_t(loadedRow_ ? caret.selectionEnd() : 0), *pattern);
    if (!found.match) {
        lastMatch_.reset();
        replace_->showOutcome(QStringLiteral("Not found."));
        return;
    }
    showMatch(*found.match);
    replace_->showOutcome(found.wrapped ? QStringLiteral("Passed the last row and went on from "
                                                         "the first.")
                                        : QString());
}

void frmMain::showMatch(const TextMatch& match) {
    selectRow(int(match.row));
    loadRow(int(match.row));
    QTextCursor cursor = ui->txtText->textCursor();
    cursor.setPosition(int(match.position));
    cursor.setPosition(int(match.position + match.length), QTextCursor::KeepAnchor);
    ui->txtText->setTextCursor(cursor);
    lastMatch_ = match;
}

void frmMain::replaceOne() {
    const std::optional<SearchPattern> pattern = replace_->pattern();
    const std::optional<std::string> replacement = replace_->replacement();
    if (busy_ || !pattern || !replacement || !applyEditBox()) {
        return;
    }
    const QTextCursor caret = ui->txtText->textCursor();
    const bool shown = lastMatch_ && loadedRow_ == int(lastMatch_->row) &&
                       caret.selectionStart() == int(lastMatch_->position) &&
                       caret.selectionEnd() == int(lastMatch_->position + lastMatch_->length);
    if (shown) {
        try {
            if (const std::optional<StringEntry> row =
                    ReplaceMatch(model_->rows(), *lastMatch_, *pattern, *replacement)) {
                const int index = int(lastMatch_->row);
                history_->change(QStringLiteral("Replace (row %1)").arg(index + 1),
                                 {{index, model_->entry(index), *row}});
                loadRow(index);
                QTextCursor after = ui->txtText->textCursor();
                after.setPosition(int(lastMatch_->position + replacement->size()));
                ui->txtText->setTextCursor(after);
            }
        } catch (const ReplaceError& error) {
            dialogs_->warning(replace_, QStringLiteral("Replace"), QString::fromUtf8(error.what()));
            return;
        }
    }
    replaceFindNext();  // the next match, or the first when none was shown
}

void frmMain::replaceAll() {
    const std::optional<SearchPattern> pattern = replace_->pattern();
    const std::optional<std::string> replacement = replace_->replacement();
    if (busy_ || !pattern || !replacement || !applyEditBox()) {
        return;
    }
    Replacement done;
    try {
        done = ReplaceAll(model_->rows(), replaceScope(), *pattern, *replacement);
    } catch (const ReplaceError& error) {
        dialogs_->warning(replace_, QStringLiteral("Replace All"), QString::fromUtf8(error.what()));
        return;
    }
    std::vector<RowChange> changes;
    for (ReplacedRow& row : done.rows) {
        changes.push_back({int(row.index), model_->entry(int(row.index)), std::move(row.row)});
    }
    const QString outcome = QString::fromStdString(ReplacedText(done));
    const QString step =
        QStringLiteral("Replace All (%1)")
            .arg(changes.size() == 1 ? QStringLiteral("1 row")
                                     : QStringLiteral("%1 rows").arg(changes.size()));
    history_->change(step, std::move(changes));
    if (loadedRow_) {
        loadRow(*loadedRow_);  // it may have changed
    }
    lastMatch_.reset();
    replace_->showOutcome(outcome);
    status_->showNotice(outcome);
}

}  // namespace qm
