// The Insert and Find menus' commands. They reach the user through dialogs_
// and edit through the edit box's text cursor, so the change handling rebuilds
// the preview and Ctrl+Z undoes an insertion as it does typing.
#include <QPlainTextEdit>
#include <QTextCursor>

#include "commands/find.hpp"
#include "commands/insert.hpp"
#include "frmMain.h"
#include "game_text.h"
#include "string_table_model.h"
#include "ui_frmMain.h"

namespace qm {

void frmMain::insertToken(InsertKind kind) {
    QString token = QString::fromStdString(InsertToken(kind, {}));
    if (kind != InsertKind::Return) {
        const InsertQuestion question = InsertQuestionFor(kind);
        const std::optional<QString> answer = dialogs_->getText(
            this, QString::fromStdString(question.title), QString::fromStdString(question.prompt),
            QString::fromStdString(question.defaultValue));
        // Cancelled and emptied boxes alike change nothing.
        if (!answer || answer->isEmpty()) {
            return;
        }
        // The value goes in as typed; a save names a value it cannot take.
        token.insert(token.size() - 1, *answer);
    }
    ui->txtText->insertAsOneStep(token);
    // Typing and Ctrl+Z go on where the token went, whichever control asked for it.
    ui->txtText->setFocus(Qt::OtherFocusReason);
}

void frmMain::mnuInsertPause_Click() {
    insertToken(InsertKind::Pause);
}

void frmMain::mnuInsertTextSpeed_Click() {
    insertToken(InsertKind::TextSpeed);
}

void frmMain::mnuInsertAnimation_Click() {
    insertToken(InsertKind::Animation);
}

void frmMain::mnuInsertReturn_Click() {
    insertToken(InsertKind::Return);
}

void frmMain::mnuFindFind_Click() {
    const std::optional<QString> answer = dialogs_->getText(
        this, QString(), QStringLiteral("Please enter the text to search for:"), QString());
    // A cancelled box empties the search text, so Find Next then does nothing.
    SearchText = answer.value_or(QString());
    mnuFindFindNext_Click();
}

void frmMain::mnuFindFindNext_Click() {
    if (SearchText.isEmpty()) {
        return;
    }
    const std::optional<int> selected = selectedRow();
    const std::size_t from = selected ? static_cast<std::size_t>(*selected) + 1 : 0;
    // A text with a character no game text has is found nowhere.
    const std::optional<std::string> needle = ToGameText(SearchText);
    const std::optional<std::size_t> found =
        needle ? FindNextRow(model_->rows(), from, *needle) : std::nullopt;
    if (!found) {
        dialogs_->information(this, QStringLiteral("Find"),
                              QString::fromStdString(NotFoundMessage(SearchText.toStdString())));
        return;
    }
    if (int(*found) != loadedRow_ && !leaveEditedRow()) {
        return;
    }
    selectRow(static_cast<int>(*found));  // loads it into the editor
}

}  // namespace qm
