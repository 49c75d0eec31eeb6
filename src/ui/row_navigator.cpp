#include "row_navigator.h"

#include <QWidget>

#include "entry_editor.h"
#include "errors.hpp"
#include "markup/display.hpp"
#include "rom_session.h"
#include "row_list.h"
#include "text.hpp"

namespace qm {

RowNavigator::RowNavigator(QWidget& window, RomSession& session, EntryEditor& editor, RowList& list,
                           Dialogs& dialogs)
    : QObject(&window),
      window_(window),
      session_(session),
      editor_(editor),
      list_(list),
      dialogs_(dialogs) {
    connect(&list_, &RowList::rowChosen, this, &RowNavigator::lvText_SelectionChanged);
}

void RowNavigator::lvText_SelectionChanged(int row) {
    // Only a move to another row loads it: the editor keeps what the user typed
    // through any key or click that leaves the selection where it was.
    if (row == editor_.row()) {
        return;
    }
    if (!editor_.isModified()) {
        editor_.load(row);
        return;
    }
    // A modal question inside the list's own key or click handling would leave
    // the list half way through it; it comes as soon as the list is done.
    if (editor_.queueRowQuestion()) {
        QMetaObject::invokeMethod(this, &RowNavigator::confirmRowChange, Qt::QueuedConnection);
    }
}

void RowNavigator::confirmRowChange() {
    editor_.rowQuestionAsked();
    const std::optional<int> row = list_.selectedRow();
    if (!row || row == editor_.row()) {
        return;
    }
    if (leaveEditedRow()) {
        editor_.load(*row);
        return;
    }
    // Cancelled: the edited row stays selected, with the caret where it was.
    const int caret = editor_.selectionEnd();
    list_.selectRow(*editor_.row());
    editor_.placeCaret(caret);
}

Dialogs::ApplyChangesAnswer RowNavigator::settleEditor() {
    using Answer = Dialogs::ApplyChangesAnswer;
    if (!editor_.isModified()) {
        return Answer::Discard;
    }
    const int row = *editor_.row();
    const Answer answer = dialogs_.askApplyChanges(
        &window_, kCaption, QStringLiteral("Apply the changes to row %1?").arg(row + 1));
    if (answer == Answer::Apply && !applyEditor()) {
        return Answer::Cancel;
    }
    if (answer == Answer::Discard) {
        editor_.load(row);
    }
    return answer;
}

bool RowNavigator::leaveEditedRow() {
    return settleEditor() != Dialogs::ApplyChangesAnswer::Cancel;
}

bool RowNavigator::goTo(int row) {
    if (row != editor_.row() && !leaveEditedRow()) {
        return false;
    }
    list_.selectRow(row);  // loads it into the editor
    return true;
}

bool RowNavigator::applyEditor() {
    const std::optional<StringEntry> entry = editor_.edited();
    if (!entry) {
        return true;
    }
    try {
        DisplayToMarkup(editor_.text().toStdString(), session_.characterMap());
    } catch (const TextError& e) {  // a character no code stands for
        dialogs_.warning(&window_, QStringLiteral("Apply"),
                         QString::fromUtf8(e.what()) + QStringLiteral(" Nothing was applied."));
        return false;
    }
    session_.history().changeRow(editor_.stepName(), *editor_.row(), *entry,
                                 editor_.editedReview());
    editor_.applied();
    return true;
}

bool RowNavigator::applyEditBox() {
    return !editor_.isModified() || applyEditor();
}

void RowNavigator::undo(bool redo) {
    if (settleEditor() != Dialogs::ApplyChangesAnswer::Discard) {
        return;  // cancelled, or the edits just applied are the step to undo next
    }
    redo ? session_.history().redo() : session_.history().undo();
}

void RowNavigator::showChangedRow(int row) {
    list_.selectRow(row);
    editor_.load(row);
}

void RowNavigator::showRefusedRow(int row, int position) {
    if (goTo(row)) {
        editor_.load(row);
        editor_.placeCaret(position);
    }
}

}  // namespace qm
