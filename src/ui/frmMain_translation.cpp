// The translator's view: an original ROM image to compare with, remembered for
// each ROM image, shown beside the translation in the list and the editor; the
// jumps to the rows that need work, reverts, and rows with the same original.
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QVariantMap>

#include "errors.hpp"
#include "filter_bar.h"
#include "frmMain.h"
#include "game_text.h"
#include "original_panel.h"
#include "rom/load.hpp"
#include "status_panels.h"
#include "string_list_view.h"
#include "string_table_model.h"
#include "table_history.h"
#include "ui_frmMain.h"

namespace qm {

namespace {

const QString kOriginalsKey = QStringLiteral("originals");
const QString kCompareTitle = QStringLiteral("Compare With Original");

QString romKey(const std::string& romPath) {
    return QFileInfo(QFile::decodeName(QByteArray::fromStdString(romPath))).absoluteFilePath();
}

}  // namespace

void frmMain::mnuCompareOriginal_Click() {
    if (busy_) {
        return;
    }
    const std::optional<QString> path = dialogs_->getOpenFileName(
        this, QStringLiteral("Select the Original ROM"),
        QStringLiteral("SNES ROM (*.smc *.sfc);;All Files (*)"), openFolder());
    if (path && !path->isEmpty() && openOriginal(*path)) {
        rememberOriginal(originalPath_);
    }
}

void frmMain::mnuCloseOriginal_Click() {
    showOriginal({});
    rememberOriginal(QString());
}

bool frmMain::openOriginal(const QString& path) {
    try {
        showOriginal(LoadRom(QFile::encodeName(path).toStdString()));
        originalPath_ = QFileInfo(path).absoluteFilePath();
        return true;
    } catch (const FileError& error) {
        dialogs_->warning(this, kCompareTitle, QString::fromUtf8(error.what()));
        return false;
    }
}

void frmMain::reopenOriginal() {
    const QString path = settings_->value(kOriginalsKey).toMap().value(romKey(RomPath)).toString();
    if (path.isEmpty()) {
        if (!model_->original().empty()) {
            showOriginal({});
        }
    } else if (!QFileInfo::exists(path)) {
        showOriginal({});
        rememberOriginal(QString());
        dialogs_->warning(this, kCompareTitle,
                          QStringLiteral("The original ROM image \"%1\" no longer exists; the "
                                         "comparison was closed.")
                              .arg(path));
    } else if (!openOriginal(path)) {
        showOriginal({});
    }
}

void frmMain::rememberOriginal(const QString& path) {
    QVariantMap originals = settings_->value(kOriginalsKey).toMap();
    if (path.isEmpty()) {
        originals.remove(romKey(RomPath));
    } else {
        originals.insert(romKey(RomPath), path);
    }
    settings_->setValue(kOriginalsKey, originals);
}

void frmMain::showOriginal(std::vector<StringEntry> original) {
    const bool open = !original.empty();
    originalPath_.clear();
    model_->setOriginal(std::move(original));
    ui->lvText->setColumnShown(kColOriginal, open);
    ui->pnlOriginal->setVisible(open);
    ui->mnuCloseOriginal->setEnabled(open);
    ui->mnuRevertOriginal->setEnabled(open);
    ui->mnuApplyIdentical->setEnabled(open);
    if (loadedRow_) {
        ui->pnlOriginal->showRow(model_->originalOf(*loadedRow_));
    }
}

void frmMain::mnuFindNextUntranslated_Click() {
    jumpTo(NextUntranslated(model_->states(), loadedRow_),
           model_->original().empty() ? QStringLiteral("No original is open")
                                      : QStringLiteral("No untranslated row"));
}

void frmMain::mnuFindNextProblem_Click() {
    jumpTo(NextProblem(model_->states(), loadedRow_),
           QStringLiteral("No row overflows the text box or cannot be saved"));
}

void frmMain::jumpTo(const RowJump& jump, const QString& nothing) {
    if (!jump.row) {
        status_->showNotice(nothing);
        return;
    }
    const int row = int(*jump.row);
    if (row != loadedRow_ && !leaveEditedRow()) {
        return;
    }
    selectRow(row);
    if (jump.wrapped) {
        status_->showNotice(QStringLiteral("Went on from the first row"));
    }
}

void frmMain::mnuRevertOriginal_Click() {
    if (const StringEntry* original = loadedRow_ ? model_->originalOf(*loadedRow_) : nullptr) {
        revertEditor(original->Portrait, original->Coloured, original->Text,
                     QStringLiteral("Revert to Original"));
    }
}

void frmMain::mnuRevertFile_Click() {
    if (loadedRow_) {
        const LoadedForm& file = model_->entry(*loadedRow_).Loaded;
        revertEditor(file.portrait, file.coloured, file.text, QStringLiteral("Revert to File"));
    }
}

void frmMain::revertEditor(std::int16_t portrait, Colour coloured, const std::string& text,
                           const QString& step) {
    ui->hsPortrait->setValue(portrait);
    ui->chkColoured->setChecked(coloured == Colour::Yes);
    chkColoured_Click();
    revertedColour_ = coloured;
    // One step of the edit box's own undo, so Ctrl+Z there takes the revert back.
    ui->txtText->selectAll();
    ui->txtText->insertAsOneStep(FromGameText(text));
    pendingStep_ = step;
    showEditState();
    ui->txtText->setFocus(Qt::OtherFocusReason);
}

void frmMain::mnuApplyIdentical_Click() {
    if (!loadedRow_ || !applyEditBox()) {
        return;
    }
    const std::vector<std::size_t> rows =
        IdenticalRows(model_->rows(), model_->original(), std::size_t(*loadedRow_));
    if (rows.empty()) {
        status_->showNotice(QStringLiteral("No other untranslated row has the same original"));
        return;
    }
    applyToRows(*loadedRow_, rows);
}

void frmMain::offerIdenticalRows(int row) {
    if (!model_->state(row).translated()) {
        return;  // the original itself, which those rows hold already
    }
    const std::vector<std::size_t> rows =
        IdenticalRows(model_->rows(), model_->original(), std::size_t(row));
    if (!rows.empty() &&
        dialogs_->askYesNo(this, kCaption,
                           rows.size() == 1
                               ? QStringLiteral("Apply to 1 other row with the same original?")
                               : QStringLiteral("Apply to %1 other rows with the same original?")
                                     .arg(rows.size()))) {
        applyToRows(row, rows);
    }
}

void frmMain::applyToRows(int row, const std::vector<std::size_t>& rows) {
    std::vector<RowChange> changes;
    for (const std::size_t other : rows) {
        changes.push_back({int(other), model_->entry(int(other)), model_->entry(row)});
    }
    const QString count =
        rows.size() == 1 ? QStringLiteral("1 row") : QStringLiteral("%1 rows").arg(rows.size());
    history_->change(QStringLiteral("Apply to Identical Rows (%1)").arg(count), std::move(changes));
    status_->showNotice(QStringLiteral("Applied to %1 with the same original").arg(count));
}

void frmMain::txtFilter_Change() {
    const std::optional<int> row = selectedRow();
    // The list moves its selection off a row the filter hides; that is no move
    // of the user's, and the editor keeps its row.
    filtering_ = true;
    shown_->setFilter(ui->barFilter->filter());
    const QModelIndex index = row ? shown_->mapFromSource(model_->index(*row, 0)) : QModelIndex();
    if (index.isValid()) {
        ui->lvText->selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        ui->lvText->scrollTo(index);
    } else {
        ui->lvText->selectionModel()->clear();
    }
    filtering_ = false;
}

}  // namespace qm
