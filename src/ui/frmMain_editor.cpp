// Entry selection and editing: loading the selected row into the editor, the
// live preview of the edit box, and Apply writing the editor back into the row.
#include <QCursor>
#include <QDir>
#include <QItemSelectionModel>
#include <QPixmap>
#include <QTextCursor>

#include "frmMain.h"
#include "game_text.h"
#include "markup/portraits.hpp"
#include "portrait_card.h"
#include "string_table_model.h"
#include "text.hpp"
#include "ui_frmMain.h"

namespace qm {

namespace {

constexpr qreal kPreviewPointSize = 14;

QColor entryColour(bool coloured) {
    return coloured ? QColor(160, 168, 232) : QColor(255, 255, 255);
}

}  // namespace

std::optional<int> frmMain::selectedRow() const {
    const QModelIndexList rows = ui->lvText->selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        return std::nullopt;
    }
    return rows.constFirst().row();
}

void frmMain::selectRow(int row) {
    const QModelIndex index = model_->index(row, 0);
    ui->lvText->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ui->lvText->scrollTo(index);
}

void frmMain::UpdateTextEdit() {
    const std::optional<int> row = selectedRow();
    if (!row) {
        return;
    }
    const StringEntry& entry = model_->entry(*row);
    // A missing picture must not leave the previous row in the editor.
    showPortrait(entry.Portrait);
    ui->hsPortrait->setValue(entry.Portrait);
    ui->txtText->setPlainText(FromGameText(entry.Text));
    const bool coloured = entry.Coloured == Colour::Yes;
    ui->chkColoured->setChecked(coloured);
    ui->txtText2->setBaseFormat(entryColour(coloured), kPreviewPointSize);
}

void frmMain::showRefusedRow(int row, int position) {
    selectRow(row);
    UpdateTextEdit();
    QTextCursor caret = ui->txtText->textCursor();
    caret.setPosition(std::min(position, int(ui->txtText->document()->characterCount()) - 1));
    ui->txtText->setTextCursor(caret);
    ui->txtText->setFocus(Qt::OtherFocusReason);
}

void frmMain::txtText_Change() {
    ui->txtText2->showMarkup(ui->txtText->toPlainText());
}

void frmMain::showPortrait(int number) {
    const QPixmap picture(QDir(portraitFolder_).filePath(PortraitFileName(number)));
    if (picture.isNull()) {
        ui->imgPortrait->clear();
    } else {
        ui->imgPortrait->setPixmap(picture);
    }
}

// The list reports a key before it moves its selection, so the key up loads
// the row that is selected once the key has done its work.
void frmMain::lvText_KeyDown() {
    UpdateTextEdit();
}

void frmMain::lvText_KeyUp() {
    UpdateTextEdit();
}

void frmMain::lvText_KeyPress() {
    UpdateTextEdit();
}

void frmMain::lvText_Click() {
    UpdateTextEdit();
}

void frmMain::cmdApply_Click() {
    const std::optional<int> row = selectedRow();
    if (!row) {
        return;
    }
    const QString text = ui->txtText->toPlainText();
    if (const std::optional<char32_t> bad = FirstBeyondLatin1(text)) {
        dialogs_->warning(this, QStringLiteral("Apply"),
                          QString::fromStdString(DescribeCharacter(*bad)) +
                              QStringLiteral(" is a character no ROM text can hold. Nothing "
                                             "was applied."));
        return;
    }
    StringEntry entry = model_->entry(*row);
    entry.Portrait = static_cast<std::int16_t>(ui->hsPortrait->value());
    entry.Text = text.toLatin1().toStdString();
    entry.Coloured = ui->chkColoured->isChecked() ? Colour::Yes : Colour::No;
    model_->setEntry(*row, std::move(entry));
}

void frmMain::cmdAdd_Click() {
    ui->mnuInsert->popup(QCursor::pos());
}

void frmMain::chkColoured_Click() {
    ui->txtText2->setBaseFormat(entryColour(ui->chkColoured->isChecked()), kPreviewPointSize);
}

void frmMain::hsPortrait_Change() {
    showPortrait(ui->hsPortrait->value());
}

}  // namespace qm
