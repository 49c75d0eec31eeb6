// The File menu: opening a ROM image (also from the recent list), saving it in
// place or as a copy, the unsaved-changes question, tables in and out, patches,
// and the original to compare with.
#include <QDir>
#include <QFileInfo>

#include "app_settings.h"
#include "command_runner.h"
#include "entry_editor.h"
#include "errors.hpp"
#include "exchange_commands.h"
#include "file_filters.h"
#include "frmMain.h"
#include "paths.h"
#include "recent_roms_menu.h"
#include "rom_session.h"
#include "row_list.h"
#include "row_navigator.h"
#include "save/copy_name.hpp"
#include "status_panels.h"
#include "string_table_model.h"
#include "text.hpp"
#include "ui_frmMain.h"

namespace qm {

namespace {

const QString kOfferExport = QStringLiteral(
    "\n\nYour changes are still in the table. Export the table now, to a file and folder of "
    "your choice?");

QString rowsText(std::size_t rows) {
    return QString::fromStdString(Counted(rows, "row", "rows"));
}

// How an existing file at copy differs from the copy a save would write there;
// nothing when there is none or it is that copy already.
std::optional<QString> howCopyDiffers(const RomSession& session, const std::string& copy) {
    try {
        const std::optional<std::size_t> rows = session.rowsDifferingIn(copy);
        if (!rows) {
            return std::nullopt;
        }
        return *rows == 0 ? QStringLiteral("differs from it outside the text")
                          : QStringLiteral("differs in %1").arg(rowsText(*rows));
    } catch (const SaveError&) {
        return std::nullopt;  // the save refuses, and says why
    } catch (const FileError&) {
        return QStringLiteral("cannot be read to compare");
    }
}

}  // namespace

void frmMain::mnuOpenRom_Click() {
    // Discard takes effect only once another file has loaded: until then the
    // window, the table and the edit box stay exactly as they are.
    if (!maybeSaveChanges()) {
        return;
    }
    const std::optional<QString> path =
        dialogs_->getOpenFileName(this, QStringLiteral("Select Rom"), kRomFilter, openFolder());
    if (path && !path->isEmpty()) {
        openRom(*path);
    }
}

QString frmMain::openFolder() const {
    if (!romPath().empty()) {
        return QFileInfo(QtPath(romPath())).absolutePath();
    }
    return settings_->lastRomFolder();
}

bool frmMain::openRom(const QString& path) {
    std::vector<std::string> notices;
    const bool opened = commands_->run(QStringLiteral("Open ROM"), Settle::Nothing, [&] {
        commands_->runLong([&](const ProgressFn& progress) {
            notices = session_->open(NativePath(path), progress);
        });
    });
    if (!opened) {
        return false;
    }
    for (const std::string& notice : notices) {
        dialogs_->warning(this, QStringLiteral("Open ROM"), QString::fromStdString(notice));
    }
    enableEditing();
    editor().forgetRow();
    list_->setAnchorRow(std::nullopt);
    showRomPathInCaption();
    exchange_->reopenOriginal();
    if (session_->model().rowCount() > 0) {
        list_->selectRow(0);  // loads the row into the editor
    }
    recent_->remember(QFileInfo(path).absoluteFilePath());
    settings_->setLastRomFolder(QFileInfo(path).absolutePath());
    showEditState();
    emit romShown();
    return true;
}

void frmMain::openRecentRom(const QString& path) {
    if (commands_->busy()) {
        return;
    }
    if (!QFileInfo::exists(path)) {
        recent_->forget(path);
        dialogs_->warning(this, QStringLiteral("Open ROM"),
                          QStringLiteral("%1 no longer exists; it was taken off the recent ROMs.")
                              .arg(QuotedPath(path)));
        return;
    }
    if (maybeSaveChanges()) {
        openRom(path);
    }
}

bool frmMain::maybeSaveChanges() {
    if (!isWindowModified()) {
        return true;
    }
    switch (dialogs_->askSaveChanges(
        this, kCaption, QStringLiteral("Save changes to %1?").arg(ShownFileName(romPath())))) {
        case Dialogs::SaveChangesAnswer::Discard: emit changesDiscarded(); return true;
        case Dialogs::SaveChangesAnswer::Cancel: return false;
        case Dialogs::SaveChangesAnswer::Save: break;
    }
    return saveWithEditBox();
}

bool frmMain::saveWithEditBox() {
    if (navigator_->applyEditBox()) {
        mnuSaveRom_Click();
    }
    return !isWindowModified();
}

bool frmMain::settleOtherWriter(const QString& title) {
    if (!session_->fileChanged()) {
        return true;
    }
    switch (dialogs_->choose(
        this, title, changedOnDisk(),
        {QStringLiteral("&Merge"), QStringLiteral("&Overwrite"), QStringLiteral("&Cancel")}, 2,
        2)) {
        case 0: break;
        case 1: session_->overwriteFile(); return true;
        default: return false;
    }
    const std::vector<std::size_t> conflicts = session_->mergeFromFile();
    if (editor().row()) {
        editor().load(*editor().row());
    }
    if (!conflicts.empty()) {
        std::vector<std::string> rows;
        for (const std::size_t row : conflicts) {
            rows.push_back("Row " + std::to_string(row + 1));
        }
        dialogs_->information(this, title,
                              QString::fromStdString(ListedLines(
                                  "Both you and the other program changed these rows; your "
                                  "version was kept (Edit > Undo takes the merge back):",
                                  rows)));
    }
    return true;
}

QString frmMain::changedOnDisk() const {
    return QStringLiteral("%1 was changed by another program since it was opened.")
        .arg(ShownFileName(romPath()));
}

void frmMain::mnuSaveRom_Click() {
    if (!settleOtherWriter(QStringLiteral("Save ROM"))) {
        return;
    }
    runSave(QStringLiteral("Save ROM"),
            [this](const ProgressFn& progress) { session_->save(progress); });
}

void frmMain::mnuSaveAs_Click() {
    if (!settleOtherWriter(QStringLiteral("Save As Copy"))) {
        return;
    }
    const std::string copy = CopyName(romPath());
    // Another piece of work may stand under the copy's name: never replace it unasked.
    if (const std::optional<QString> differs = howCopyDiffers(*session_, copy)) {
        switch (dialogs_->choose(
            this, QStringLiteral("Save As Copy"),
            QStringLiteral("%1 already exists and %2. Replace it?")
                .arg(ShownFileName(copy), *differs),
            {QStringLiteral("&Yes"), QStringLiteral("&No"), QStringLiteral("Save As Copy &To...")},
            1, 1)) {
            case 0: break;
            case 2: mnuSaveAsTo_Click(); return;
            default: return;
        }
    }
    if (runSave(QStringLiteral("Save As Copy"),
                [&](const ProgressFn& progress) { session_->saveCopy(copy, progress); })) {
        showCopySaved();
    }
}

void frmMain::mnuSaveAsTo_Click() {
    if (!settleOtherWriter(QStringLiteral("Save As Copy To"))) {
        return;
    }
    const auto target = dialogs_->getSaveFileName(this, QStringLiteral("Save As Copy To"),
                                                  kRomFilter, QtPath(CopyName(romPath())));
    if (target && runSave(QStringLiteral("Save As Copy To"), [&](const ProgressFn& progress) {
            session_->saveCopy(NativePath(target->path), progress);
        })) {
        showCopySaved();
    }
}

void frmMain::showCopySaved() {
    showRomPathInCaption();
    if (!session_->originalPath().empty()) {  // the copy is compared with it too
        settings_->setOriginalFor(AbsolutePath(romPath()), QtPath(session_->originalPath()));
    }
    recent_->remember(AbsolutePath(romPath()));
    status_->showNotice(QStringLiteral("Saved a copy as %1").arg(ShownFileName(romPath())));
}

bool frmMain::runSave(const QString& title, const std::function<void(const ProgressFn&)>& save) {
    std::optional<QString> failure;
    std::optional<std::size_t> refusedRow;
    std::size_t refusedAt = 0;
    try {
        commands_->runLong(save);
    } catch (const SaveError& error) {
        failure = QString::fromUtf8(error.what());
        refusedRow = error.row();
        refusedAt = error.position().value_or(0);
    } catch (const FileError& error) {
        failure = QString::fromUtf8(error.what());
    } catch (const std::bad_alloc&) {
        failure = QStringLiteral("There is not enough memory to save.");
    }
    showEditState();
    if (!failure) {
        return true;
    }
    if (refusedRow) {  // the user's to fix, on that row
        dialogs_->warning(this, title, *failure);
        navigator_->showRefusedRow(int(*refusedRow), int(refusedAt));
    } else if (dialogs_->askYesNo(this, title, *failure + kOfferExport)) {
        // The file cannot take the changes; a table written anywhere keeps them.
        commands_->run(QStringLiteral("Export Table"), Settle::Nothing,
                       [this] { exchange_->mnuExportTable_Click(); });
    }
    return false;
}

void frmMain::mnuCreatePatch_Click() {
    // The patch describes the file as saved.
    if (isWindowModified()) {
        switch (dialogs_->askSaveChanges(
            this, QStringLiteral("Create Patch"),
            QStringLiteral("The patch describes %1 as saved. Save changes to %1 first?")
                .arg(ShownFileName(romPath())))) {
            case Dialogs::SaveChangesAnswer::Cancel: return;
            case Dialogs::SaveChangesAnswer::Discard: break;
            case Dialogs::SaveChangesAnswer::Save:
                if (!saveWithEditBox()) {
                    return;  // the save was refused
                }
        }
    }
    exchange_->createPatch();
}

void frmMain::showOriginal(bool open) {
    list_->showOriginalColumn(open);
    editor().showOriginalSide(open);
    ui->mnuCloseOriginal->setEnabled(open);
    ui->mnuRevertOriginal->setEnabled(open);
    ui->mnuApplyIdentical->setEnabled(open);
}

}  // namespace qm
