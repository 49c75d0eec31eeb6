// Apply and the Insert menu: the editor's own commands.
#include "command_runner.h"
#include "entry_editor.h"
#include "frmMain.h"
#include "game_text.h"
#include "row_navigator.h"
#include "translation_commands.h"
#include "ui_frmMain.h"

namespace qm {

bool frmMain::settle(Settle how) {
    return how == Settle::Nothing || navigator_->applyEditBox();
}

void frmMain::cmdApply_Click() {
    if (navigator_->applyEditor() && editor().row()) {
        translation_->offerIdenticalRows(*editor().row());
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

}  // namespace qm
