// Entry selection and editing: loading the selected row into the editor, the
// live preview of the edit box, Apply writing the editor back into the row, and
// what the status bar and the caption say about the edits.
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QPixmap>
#include <QPixmapCache>
#include <QTextCursor>
#include <QUndoStack>

#include "filter_bar.h"
#include "frmMain.h"
#include "game_text.h"
#include "markup/portraits.hpp"
#include "original_panel.h"
#include "portrait_card.h"
#include "preview/preview.hpp"
#include "preview_box.h"
#include "status_panels.h"
#include "string_table_model.h"
#include "table_history.h"
#include "text.hpp"
#include "ui_frmMain.h"

namespace qm {

std::optional<int> frmMain::selectedRow() const {
    const QModelIndexList rows = ui->lvText->selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        return std::nullopt;
    }
    return shown_->mapToSource(rows.constFirst()).row();
}

void frmMain::selectRow(int row) {
    QModelIndex index = shown_->mapFromSource(model_->index(row, 0));
    if (!index.isValid()) {
        ui->barFilter->clear();  // a command lands on a row the filter hides
        status_->showNotice(QStringLiteral("The filter was cleared to show row %1").arg(row + 1));
        index = shown_->mapFromSource(model_->index(row, 0));
    }
    ui->lvText->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ui->lvText->scrollTo(index);
}

void frmMain::lvText_SelectionChanged() {
    // Only a move to another row loads it: the editor keeps what the user typed
    // through any key or click that leaves the selection where it was.
    const std::optional<int> row = selectedRow();
    if (filtering_ || !row || row == loadedRow_) {
        return;
    }
    if (!editorDiffers()) {
        loadRow(*row);
        return;
    }
    // A modal question inside the list's own key or click handling would leave
    // the list half way through it; it comes as soon as the list is done.
    if (!rowQuestionPending_) {
        rowQuestionPending_ = true;
        QMetaObject::invokeMethod(this, &frmMain::confirmRowChange, Qt::QueuedConnection);
    }
}

void frmMain::confirmRowChange() {
    rowQuestionPending_ = false;
    const std::optional<int> row = selectedRow();
    if (!row || row == loadedRow_) {
        return;
    }
    if (leaveEditedRow()) {
        loadRow(*row);
        return;
    }
    // Cancelled: the edited row stays selected, with the caret where it was.
    const QTextCursor caret = ui->txtText->textCursor();
    selectRow(*loadedRow_);
    ui->txtText->setTextCursor(caret);
    ui->txtText->setFocus(Qt::OtherFocusReason);
}

Dialogs::ApplyChangesAnswer frmMain::settleEditor() {
    using Answer = Dialogs::ApplyChangesAnswer;
    if (!editorDiffers()) {
        return Answer::Discard;
    }
    const Answer answer = dialogs_->askApplyChanges(
        this, kCaption, QStringLiteral("Apply the changes to row %1?").arg(*loadedRow_ + 1));
    if (answer == Answer::Apply && !applyEditor()) {
        return Answer::Cancel;
    }
    if (answer == Answer::Discard) {
        loadRow(*loadedRow_);
    }
    return answer;
}

bool frmMain::leaveEditedRow() {
    return settleEditor() != Dialogs::ApplyChangesAnswer::Cancel;
}

void frmMain::undoTable(bool redo) {
    if (busy_ || settleEditor() != Dialogs::ApplyChangesAnswer::Discard) {
        return;  // cancelled, or the edits just applied are the step to undo next
    }
    redo ? history_->stack()->redo() : history_->stack()->undo();
}

void frmMain::showChangedRow(int row) {
    selectRow(row);
    loadRow(row);
}

void frmMain::tableRowsChanged(int first, int last) {
    for (int row = first; row <= last; ++row) {
        budget_.update(std::size_t(row), model_->entry(row));
    }
    showEditState();
}

void frmMain::UpdateTextEdit() {
    if (const std::optional<int> row = selectedRow()) {
        loadRow(*row);
    }
}

void frmMain::loadRow(int row) {
    const StringEntry& entry = model_->entry(row);
    loadedRow_ = row;
    loadingRow_ = true;
    revertedColour_.reset();
    pendingStep_.clear();
    // A missing picture must not leave the previous row in the editor.
    showPortrait(entry.Portrait);
    ui->hsPortrait->setValue(entry.Portrait);
    // The colour first, so that the preview is drawn once, for the new text.
    const bool coloured = entry.Coloured == Colour::Yes;
    ui->chkColoured->setChecked(coloured);
    ui->txtText2->setBaseFormat(EntryColour(coloured), kPreviewPointSize);
    ui->txtText->setPlainText(FromGameText(entry.Text));
    ui->pnlOriginal->showRow(model_->originalOf(row));
    loadingRow_ = false;
    showEditState();
}

void frmMain::txtText_Change() {
    ui->txtText2->showMarkup(ui->txtText->toPlainText());
    txtText_CursorMoved();
    if (!loadingRow_) {
        showEditState();
    }
}

void frmMain::txtText_CursorMoved() {
    // The preview keeps the caret's line in view: the lines before the caret
    // are the line breaks of the preview of the text before it.
    const QString before = ui->txtText->toPlainText().left(ui->txtText->textCursor().position());
    const std::string shown = PreviewText(before.toLatin1().toStdString());
    ui->txtText2->showLine(int(std::count(shown.begin(), shown.end(), kPreviewLineBreak)));
}

void frmMain::showPortrait(int number) {
    // Read once per file version: a row change should not decode a bitmap, but
    // a picture the user replaces shows at the next change of row.
    const QFileInfo file(QDir(portraitFolder_).filePath(PortraitFileName(number)));
    const QString key = file.filePath() + QString::number(file.lastModified().toMSecsSinceEpoch());
    QPixmap picture;
    if (!QPixmapCache::find(key, &picture) && picture.load(file.filePath())) {
        QPixmapCache::insert(key, picture);
    }
    if (picture.isNull()) {
        ui->imgPortrait->clear();
    } else {
        ui->imgPortrait->setPixmap(picture);
    }
}

void frmMain::showRefusedRow(int row, int position) {
    if (row != loadedRow_ && !leaveEditedRow()) {
        return;
    }
    selectRow(row);
    loadRow(row);
    QTextCursor caret = ui->txtText->textCursor();
    caret.setPosition(std::min(position, int(ui->txtText->document()->characterCount()) - 1));
    ui->txtText->setTextCursor(caret);
    ui->txtText->setFocus(Qt::OtherFocusReason);
}

std::optional<StringEntry> frmMain::editedEntry() const {
    if (!loadedRow_ || *loadedRow_ >= model_->rowCount()) {
        return std::nullopt;
    }
    StringEntry entry = model_->entry(*loadedRow_);
    entry.Portrait = static_cast<std::int16_t>(ui->hsPortrait->value());
    entry.Text = ui->txtText->toPlainText().toLatin1().toStdString();
    // A colour the box cannot show ("?", "") stays until the box is changed; so
    // does one a revert put there.
    const Colour shown = revertedColour_.value_or(entry.Coloured);
    const bool checked = ui->chkColoured->isChecked();
    entry.Coloured = checked == (shown == Colour::Yes) ? shown : checked ? Colour::Yes : Colour::No;
    return entry;
}

void frmMain::cmdApply_Click() {
    if (applyEditor() && loadedRow_) {
        offerIdenticalRows(*loadedRow_);
    }
}

bool frmMain::applyEditor() {
    const std::optional<StringEntry> entry = editedEntry();
    if (!entry) {
        return true;
    }
    if (const std::optional<char32_t> bad = FirstBeyondLatin1(ui->txtText->toPlainText())) {
        dialogs_->warning(this, QStringLiteral("Apply"),
                          QString::fromStdString(DescribeCharacter(*bad)) +
                              QStringLiteral(" is a character no ROM text can hold. Nothing "
                                             "was applied."));
        return false;
    }
    const int row = *loadedRow_;
    history_->change((pendingStep_.isEmpty() ? QStringLiteral("Apply") : pendingStep_) +
                         QStringLiteral(" (row %1)").arg(row + 1),
                     {{row, model_->entry(row), *entry}});
    return true;
}

bool frmMain::applyEditBox() {
    return !editorDiffers() || applyEditor();
}

bool frmMain::editorDiffers() const {
    const std::optional<StringEntry> entry = editedEntry();
    if (!entry) {
        return false;
    }
    const StringEntry& row = model_->entry(*loadedRow_);
    return entry->Text != row.Text || entry->Portrait != row.Portrait ||
           entry->Coloured != row.Coloured;
}

void frmMain::showEditState() {
    const std::optional<StringEntry> entry = editedEntry();
    setWindowModified(model_->changedRows() > 0 || editorDiffers());
    if (!ui->lvText->isEnabled()) {
        return;  // no ROM image yet: nothing to measure
    }
    const RegionUsage usage =
        entry ? budget_.usageWith(std::size_t(*loadedRow_), *entry) : budget_.usage();
    status_->showBudget(QString::fromStdString(BudgetText(usage)),
                        usage.over() || usage.unencodableRow.has_value());
    // The counts, like the budget, take the edit box as if it were applied.
    const StateCounts counts =
        entry ? model_->countsWith(*loadedRow_, StateOf(*entry, model_->originalOf(*loadedRow_)))
              : CountStates(model_->states());
    status_->showStates(QString::fromStdString(StatusText(counts)));
}

void frmMain::cmdAdd_Click() {
    // Below the button, where a drop-down list opens, wherever the pointer is.
    ui->mnuInsert->popup(ui->cmdAdd->mapToGlobal(QPoint(0, ui->cmdAdd->height())));
}

void frmMain::chkColoured_Click() {
    revertedColour_.reset();  // the user's own choice now
    ui->txtText2->setBaseFormat(EntryColour(ui->chkColoured->isChecked()), kPreviewPointSize);
    showEditState();
}

void frmMain::hsPortrait_Change() {
    showPortrait(ui->hsPortrait->value());
    if (!loadingRow_) {
        showEditState();
    }
}

}  // namespace qm
