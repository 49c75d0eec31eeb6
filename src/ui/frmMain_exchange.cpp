// File > Export Table..., Import Table... and Create Patch...: the string table
// in the exchange formats, and a patch that shares a translation.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include "errors.hpp"
#include "exchange/formats.hpp"
#include "files.hpp"
#include "frmMain.h"
#include "patch/patch.hpp"
#include "save/copy_name.hpp"
#include "status_panels.h"
#include "string_table_model.h"
#include "table_history.h"
#include "text.hpp"
#include "ui_frmMain.h"

namespace qm {

namespace {

const QString kTableFilters = QStringLiteral(
    "JSON table (*.json);;CSV table for spreadsheets (*.csv);;gettext PO file (*.po *.pot)");
const QString kPatchFilters = QStringLiteral("BPS patch (*.bps);;IPS patch (*.ips)");
const QString kOriginalKey = QStringLiteral("patch/original");

std::string nativePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// The name's extension decides where it names a format; otherwise the filter the
// file was chosen under.
TableFormat tableFormatOf(const Dialogs::SaveTarget& target) {
    const QString suffix = QFileInfo(target.path).suffix().toLower();
    if (QStringList{"json", "csv", "po", "pot"}.contains(suffix) || target.filter.isEmpty()) {
        return TableFormatForFileName(nativePath(target.path));
    }
    return target.filter.startsWith(QStringLiteral("CSV"))       ? TableFormat::Csv
           : target.filter.startsWith(QStringLiteral("gettext")) ? TableFormat::Po
                                                                 : TableFormat::Json;
}

PatchFormat patchFormatOf(const Dialogs::SaveTarget& target) {
    if (const auto named = PatchFormatForFileName(nativePath(target.path))) {
        return *named;
    }
    return target.filter.startsWith(QStringLiteral("IPS")) ? PatchFormat::Ips : PatchFormat::Bps;
}

QString rowsText(std::size_t rows) {
    return rows == 1 ? QStringLiteral("1 row") : QStringLiteral("%1 rows").arg(rows);
}

void writeFile(const QString& path, std::string_view bytes) {
    WriteFileAtomically(nativePath(path),
                        {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

}  // namespace

QString frmMain::besideRom(const QString& extension) const {
    const QFileInfo rom(QFile::decodeName(QByteArray::fromStdString(RomPath)));
    return rom.dir().filePath(rom.completeBaseName() + extension);
}

void frmMain::mnuExportTable_Click() {
    // The table goes out with what the edit box holds, as a save takes it.
    if (busy_ || !applyEditBox()) {
        return;
    }
    const auto target = dialogs_->getSaveFileName(
        this, QStringLiteral("Export Table"), kTableFilters, besideRom(QStringLiteral(".json")));
    if (!target || busy_) {
        return;
    }
    try {
        if (SameFile(nativePath(target->path), RomPath)) {
            throw FileError("Cannot write the table over the ROM image itself.");
        }
        writeFile(target->path, TableToText(tableFormatOf(*target), model_->rows()));
        status_->showNotice(QStringLiteral("Exported %1 rows").arg(model_->rowCount()));
    } catch (const std::runtime_error& e) {  // FileError, TableError
        dialogs_->warning(this, QStringLiteral("Export Table"), QString::fromUtf8(e.what()));
    }
}

void frmMain::mnuImportTable_Click() {
    const auto path =
        dialogs_->getOpenFileName(this, QStringLiteral("Import Table"), kTableFilters);
    if (!path || busy_) {
        return;
    }
    TableImport imported;
    try {
        const Bytes bytes = RegularFile(nativePath(*path)).readAll(kLargestTableFile);
        const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        imported = ApplyTable(model_->rows(),
                              TableFromText(TableFormatForFileName(nativePath(*path)), text));
    } catch (const std::runtime_error& e) {  // FileError, TableError
        dialogs_->warning(this, QStringLiteral("Import Table"),
                          QStringLiteral("Nothing was imported. ") + QString::fromUtf8(e.what()));
        return;
    }
    // Text typed into the edit box and not applied stays there; otherwise the
    // editor shows its row as imported.
    const bool keepEditor = editorDiffers();
    std::vector<RowChange> changes = history_->changesTo(imported.rows);
    const QString step = QStringLiteral("Import Table (%1)").arg(rowsText(changes.size()));
    history_->change(step, std::move(changes));
    if (loadedRow_ && !keepEditor) {
        loadRow(*loadedRow_);
    }
    status_->showNotice(rowsText(imported.changed) + QStringLiteral(" changed"));
    if (!imported.notes.empty()) {
        std::string notes;
        for (const std::string& note : imported.notes) {
            notes += (notes.empty() ? "" : "\n") + note;
        }
        dialogs_->information(this, QStringLiteral("Import Table"), QString::fromStdString(notes));
    }
}

void frmMain::mnuCreatePatch_Click() {
    if (busy_) {
        return;
    }
    // The patch describes the file as saved.
    if (isWindowModified()) {
        const QString name = QFile::decodeName(QByteArray::fromStdString(FileNameOf(RomPath)));
        switch (dialogs_->askSaveChanges(
            this, QStringLiteral("Create Patch"),
            QStringLiteral("The patch describes %1 as saved. Save changes to %1 first?")
                .arg(name))) {
            case Dialogs::SaveChangesAnswer::Cancel: return;
            case Dialogs::SaveChangesAnswer::Discard: break;
            case Dialogs::SaveChangesAnswer::Save:
                if (!saveWithEditBox()) {
                    return;  // the save was refused
                }
        }
    }
    const auto original =
        dialogs_->getOpenFileName(this, QStringLiteral("Select the Original, Unmodified ROM"),
                                  QStringLiteral("SNES ROM (*.smc);;All Files (*)"),
                                  settings_->value(kOriginalKey).toString());
    if (!original) {
        return;
    }
    settings_->setValue(kOriginalKey, *original);
    const auto target = dialogs_->getSaveFileName(this, QStringLiteral("Create Patch"),
                                                  kPatchFilters, besideRom(QStringLiteral(".bps")));
    if (!target) {
        return;
    }
    try {
        const std::string out = nativePath(target->path);
        if (SameFile(out, RomPath) || SameFile(out, nativePath(*original))) {
            throw FileError("Cannot write the patch over one of the ROM images it describes.");
        }
        const Bytes patch = CreatePatch(patchFormatOf(*target),
                                        RegularFile(nativePath(*original)).readAll(kMaxPatchedSize),
                                        RegularFile(RomPath).readAll(kMaxPatchedSize));
        writeFile(target->path,
                  std::string_view(reinterpret_cast<const char*>(patch.data()), patch.size()));
        status_->showNotice(QStringLiteral("Patch written: %1")
                                .arg(QString::fromStdString(BytesText(patch.size()))));
    } catch (const std::runtime_error& e) {  // FileError, PatchError
        dialogs_->warning(this, QStringLiteral("Create Patch"), QString::fromUtf8(e.what()));
    }
}

}  // namespace qm
