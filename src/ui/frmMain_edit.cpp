// The list and the entry editor: loading the selected row, the question before
// leaving an edited row, Apply and the table's Undo, the jumps to the rows that
// need work, reverts, rows with the same original, and the Insert menu.
#include <QCoreApplication>

#include "command_runner.h"
#include "entry_editor.h"
#include "frmMain.h"
#include "game_text.h"
#include "rom_session.h"
#include "row_list.h"
#include "status_panels.h"
#include "string_table_model.h"
#include "text.hpp"
#include "ui_frmMain.h"

namespace qm {

void frmMain::loadRow(int row) {
    editor().load(row);
    list_->setAnchorRow(row);
    showEditState();
}

void frmMain::lvText_SelectionChanged(int row) {
    // Only a move to another row loads it: the editor keeps what the user typed
    // through any key or click that leaves the selection where it was.
    if (row == editor().row()) {
        return;
    }
    if (!editor().isModified()) {
        loadRow(row);
        return;
    }
    // A modal question inside the list's own key or click handling would leave
    // the list half way through it; it comes as soon as the list is done.
    if (editor().queueRowQuestion()) {
        QMetaObject::invokeMethod(this, &frmMain::confirmRowChange, Qt::QueuedConnection);
    }
}

void frmMain::confirmRowChange() {
    editor().rowQuestionAsked();
    const std::optional<int> row = list_->selectedRow();
    if (!row || row == editor().row()) {
        return;
    }
    if (leaveEditedRow()) {
        loadRow(*row);
        return;
    }
    // Cancelled: the edited row stays selected, with the caret where it was.
    const int caret = editor().selectionEnd();
    list_->selectRow(*editor().row());
    editor().placeCaret(caret);
}

bool frmMain::settle(Settle how) {
    return how == Settle::Nothing || applyEditBox();
}

Dialogs::ApplyChangesAnswer frmMain::settleEditor() {
    using Answer = Dialogs::ApplyChangesAnswer;
    if (!editor().isModified()) {
        return Answer::Discard;
    }
    const int row = *editor().row();
    const Answer answer = dialogs_->askApplyChanges(
        this, kCaption, QStringLiteral("Apply the changes to row %1?").arg(row + 1));
    if (answer == Answer::Apply && !applyEditor()) {
        return Answer::Cancel;
    }
    if (answer == Answer::Discard) {
        loadRow(row);
    }
    return answer;
}

bool frmMain::leaveEditedRow() {
    return settleEditor() != Dialogs::ApplyChangesAnswer::Cancel;
}

bool frmMain::goToRow(int row) {
    if (row != editor().row() && !leaveEditedRow()) {
        return false;
    }
    list_->selectRow(row);  // loads it into the editor
    return true;
}

void frmMain::undoTable(bool redo) {
    if (settleEditor() != Dialogs::ApplyChangesAnswer::Discard) {
        return;  // cancelled, or the edits just applied are the step to undo next
    }
    redo ? session_->history().redo() : session_->history().undo();
}

void frmMain::showChangedRow(int row) {
    list_->selectRow(row);
    loadRow(row);
}

void frmMain::cmdApply_Click() {
    if (applyEditor() && editor().row()) {
        offerIdenticalRows(*editor().row());
    }
}

bool frmMain::applyEditor() {
    const std::optional<StringEntry> entry = editor().edited();
    if (!entry) {
        return true;
    }
    if (const std::optional<char32_t> bad = FirstBeyondLatin1(editor().text())) {
        dialogs_->warning(this, QStringLiteral("Apply"),
                          QString::fromStdString(DescribeCharacter(*bad)) +
                              QStringLiteral(" is a character no ROM text can hold. Nothing "
                                             "was applied."));
        return false;
    }
    session_->history().changeRow(editor().stepName(), *editor().row(), *entry);
    return true;
}

bool frmMain::applyEditBox() {
    return !editor().isModified() || applyEditor();
}

void frmMain::offerIdenticalRows(int row) {
    if (!session_->model().state(row).translated()) {
        return;  // the original itself, which those rows hold already
    }
    const std::size_t rows = session_->identicalRows(row).size();
    if (rows > 0 && dialogs_->askYesNo(this, kCaption,
                                       QStringLiteral("Apply to %1 with the same original?")
                                           .arg(QString::fromStdString(
                                               Counted(rows, "other row", "other rows"))))) {
        mnuApplyIdentical_Click();
    }
}

void frmMain::mnuApplyIdentical_Click() {
    if (!editor().row()) {
        return;
    }
    const std::size_t applied = session_->applyToIdenticalRows(*editor().row());
    status_->showNotice(applied == 0
                            ? QStringLiteral("No other untranslated row has the same original")
                            : QStringLiteral("Applied to %1 with the same original")
                                  .arg(QString::fromStdString(Counted(applied, "row", "rows"))));
}

void frmMain::mnuFindNextUntranslated_Click() {
    jumpTo(NextUntranslated(session_->model().states(), editor().row()),
           session_->originalPath().empty() ? QStringLiteral("No original is open")
                                            : QStringLiteral("No untranslated row"));
}

void frmMain::mnuFindNextProblem_Click() {
    jumpTo(NextProblem(session_->model().states(), editor().row()),
           QStringLiteral("No row overflows the text box or cannot be saved"));
}

void frmMain::jumpTo(const RowJump& jump, const QString& nothing) {
    if (!jump.row) {
        status_->showNotice(nothing);
        return;
    }
    if (goToRow(int(*jump.row)) && jump.wrapped) {
        status_->showNotice(QStringLiteral("Went on from the first row"));
    }
}

void frmMain::mnuRevertOriginal_Click() {
    if (const StringEntry* original =
            editor().row() ? session_->model().originalOf(*editor().row()) : nullptr) {
        editor().revertTo(original->Portrait, original->Coloured, original->Text,
                          QStringLiteral("Revert to Original"));
    }
}

void frmMain::mnuRevertFile_Click() {
    if (editor().row()) {
        const LoadedForm& file = session_->model().entry(*editor().row()).Loaded;
        editor().revertTo(file.portrait, file.coloured, file.text,
                          QStringLiteral("Revert to File"));
    }
}

void frmMain::insertToken(InsertKind kind) {
    QString token = QString::fromStdString(InsertToken(kind, {}));
    if (kind != InsertKind::Return) {
        const InsertQuestion question = InsertQuestionFor(kind);
        // A value the game cannot take is refused in the box, where it is typed.
        const auto check = [](const QString& value) {
            const std::optional<std::string> game = ToGameText(value);
            const std::optional<std::string> problem =
                value.isEmpty() ? std::nullopt : InsertValueProblem(game.value_or("\xFF"));
            return problem ? QString::fromStdString(*problem) : QString();
        };
        const std::optional<QString> answer = dialogs_->getText(
            this, QString::fromStdString(question.title), QString::fromStdString(question.prompt),
            QString::fromStdString(question.defaultValue), check);
        // Cancelled and emptied boxes alike change nothing.
        if (!answer || answer->isEmpty()) {
            return;
        }
        token.insert(token.size() - 1, answer->trimmed());
    }
    editor().insertText(token);
}

void frmMain::showRefusedRow(int row, int position) {
    if (goToRow(row)) {
        loadRow(row);
        editor().placeCaret(position);
    }
}

}  // namespace qm
