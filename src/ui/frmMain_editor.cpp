// Entry selection and editing: loading the selected row into the editor, and
// Apply writing the editor back into it.
#include <QCursor>
#include <QDir>
#include <QItemSelectionModel>
#include <QPixmap>

#include "dialogs.h"
#include "frmMain.h"
#include "markup/portraits.hpp"
#include "portrait_card.h"
#include "string_table_model.h"
#include "ui_frmMain.h"

namespace qm {

namespace {

const QColor kEntryColoured(160, 168, 232);
const QColor kEntryWhite(255, 255, 255);
constexpr qreal kPreviewPointSize = 14;

QColor entryColour(bool coloured) {
    return coloured ? kEntryColoured : kEntryWhite;
}

// The first character a ROM text cannot hold, if any: game text is one byte
// per character, and a wider one would silently turn into "?".
std::optional<QChar> firstNonLatin1(const QString& text) {
    for (QChar c : text) {
        if (c.unicode() > 0xFF) {
            return c;
        }
    }
    return std::nullopt;
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
    const int portrait = GetPortraitNumber(entry.Portrait);
    // A missing picture must not leave the previous row in the editor.
    showPortrait(portrait);
    ui->hsPortrait->setValue(portrait);
    ui->txtText->setPlainText(QString::fromLatin1(entry.Text));
    const bool coloured = entry.Coloured == "Yes";
    ui->chkColoured->setChecked(coloured);
    previewColour_ = entryColour(coloured);
    previewPointSize_ = kPreviewPointSize;
    showPreviewOf(ui->txtText->toPlainText());
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
    if (const std::optional<QChar> bad = firstNonLatin1(text)) {
        dialogs_->warning(this, QStringLiteral("Apply"),
                          QStringLiteral("The text holds the character \"%1\", which no ROM "
                                         "text can hold. Nothing was applied.")
                              .arg(*bad));
        return;
    }
    StringEntry entry = model_->entry(*row);
    entry.Portrait = GetPortraitName(static_cast<std::int16_t>(ui->hsPortrait->value()));
    entry.Text = text.toLatin1().toStdString();
    entry.Coloured = ui->chkColoured->isChecked() ? "Yes" : "No";
    model_->setEntry(*row, std::move(entry));
}

void frmMain::cmdAdd_Click() {
    ui->mnuInsert->popup(QCursor::pos());
}

void frmMain::chkColoured_Click() {
    previewColour_ = entryColour(ui->chkColoured->isChecked());
    colourWholePreview();
    FixPreview();
}

void frmMain::hsPortrait_Change() {
    showPortrait(ui->hsPortrait->value());
}

}  // namespace qm
