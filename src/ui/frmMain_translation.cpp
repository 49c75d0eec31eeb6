// The translator's view: an original ROM image to compare with, remembered for
// each ROM image, shown beside the translation in the list and the editor.
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QVariantMap>

#include "errors.hpp"
#include "filter_bar.h"
#include "frmMain.h"
#include "original_panel.h"
#include "rom/load.hpp"
#include "string_list_view.h"
#include "string_table_model.h"
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
        showOriginal({});
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
    if (loadedRow_) {
        ui->pnlOriginal->showRow(model_->originalOf(*loadedRow_));
    }
}

void frmMain::txtFilter_Change() {
    const std::optional<int> row = selectedRow();
    shown_->setFilter(ui->barFilter->filter());
    // The selection goes with the row; a row the filter now hides keeps its
    // place in the editor, and the list selects nothing until the user does.
    if (row) {
        const QModelIndex index = shown_->mapFromSource(model_->index(*row, 0));
        if (index.isValid()) {
            ui->lvText->selectionModel()->setCurrentIndex(
                index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            ui->lvText->scrollTo(index);
        }
    }
}

}  // namespace qm
