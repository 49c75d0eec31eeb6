// The File menu: Open ROM, Recent ROMs, Save ROM, Save As Copy and Quit, and the
// question that keeps unsaved changes from being lost.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QUndoStack>

#include "dialogs.h"
#include "errors.hpp"
#include "frmMain.h"
#include "rom/load.hpp"
#include "save/copy_name.hpp"
#include "save/writer.hpp"
#include "status_panels.h"
#include "string_table_model.h"
#include "table_history.h"
#include "ui_frmMain.h"

namespace qm {

namespace {

const QString kRomFilter = QStringLiteral("SNES ROM (*.smc);;All Files (*)");
const QString kRecentKey = QStringLiteral("recentRoms");
const QString kLastFolderKey = QStringLiteral("lastRomFolder");
constexpr qsizetype kRecentCount = 5;
const QString kOfferExport = QStringLiteral(
    "\n\nYour changes are still in the table. Export the table now, to a file and folder of "
    "your choice?");

// A recent file's name, with its folder where another entry has the same name.
QString recentRomLabel(const QStringList& recent, qsizetype index) {
    const QFileInfo file(recent[index]);
    for (qsizetype other = 0; other < recent.size(); ++other) {
        if (other != index && QFileInfo(recent[other]).fileName() == file.fileName()) {
            return QStringLiteral("%1 (%2)").arg(file.fileName(),
                                                 QDir::toNativeSeparators(file.absolutePath()));
        }
    }
    return file.fileName();
}

// Paths reach the core in the file system's own encoding.
std::string nativePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace

/// A load or save in progress: the message panel shows its progress texts and
/// the window repaints now and then, but takes no input until the work ends.
class frmMain::LongWork {
  public:
    explicit LongWork(frmMain& window) : window_(window) {
        window_.busy_ = true;
        sinceRepaint_.start();
    }
    ~LongWork() {
        show(latestText_);  // the last report, as it stood when the work ended
        window_.status_->showTime();
        window_.busy_ = false;
    }
    LongWork(const LongWork&) = delete;
    LongWork& operator=(const LongWork&) = delete;

    ProgressFn progress() {
        return [this](std::string_view text) {
            // A new stage shows at once; within a stage (a percentage, the dots of
            // the parsing text) only the text current when the window repaints.
            latestText_.assign(text);
            const bool newStage = stageOf(text) != stageOf(shownText_);
            // Reading the clock costs more than the rest: every 16th report will do.
            const bool repaint = ++reports_ % 16 == 0 && sinceRepaint_.elapsed() >= kRepaintMs;
            if (!newStage && !repaint) {
                return;
            }
            show(text);
            // Letting events run once per report would cost more than the work.
            if (repaint) {
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                sinceRepaint_.restart();
            }
        };
    }

  private:
    static constexpr qint64 kRepaintMs = 40;
    // «Isolating ROM Strings: 10.%» and «Parsing ROM Strings ...» without what
    // changes as the stage goes on.
    static std::string_view stageOf(std::string_view text) {
        text = text.substr(0, text.find(':'));
        return text.substr(0, text.find_last_not_of('.') + 1);
    }

    void show(std::string_view text) {
        if (!text.empty() && text != shownText_) {
            shownText_.assign(text);
            window_.status_->showText(QString::fromLatin1(text.data(), qsizetype(text.size())));
        }
    }

    frmMain& window_;
    QElapsedTimer sinceRepaint_;
    std::string shownText_;
    std::string latestText_;
    unsigned reports_ = 0;
};

void frmMain::mnuOpenRom_Click() {
    // Discard takes effect only once another file has loaded: until then the
    // window, the table and the edit box stay exactly as they are.
    if (busy_ || !maybeSaveChanges()) {
        return;
    }
    const std::optional<QString> path =
        dialogs_->getOpenFileName(this, QStringLiteral("Select Rom"), kRomFilter, openFolder());
    if (!path || path->isEmpty()) {
        return;
    }
    openRom(*path);
}

QString frmMain::openFolder() const {
    if (!RomPath.empty()) {
        return QFileInfo(QFile::decodeName(QByteArray::fromStdString(RomPath))).absolutePath();
    }
    return settings_->value(kLastFolderKey).toString();
}

bool frmMain::openRom(const QString& path) {
    if (busy_) {
        return false;
    }
    std::optional<QString> failure;
    {
        LongWork work(*this);
        try {
            model_->setRows(LoadRom(nativePath(path), work.progress()));
        } catch (const FileError& error) {
            failure = QString::fromUtf8(error.what());
        }
    }
    if (failure) {
        dialogs_->warning(this, QStringLiteral("Open ROM"), *failure);
        return false;
    }
    enableEditing();
    loadedRow_.reset();
    history_->clear();
    budget_.reset(model_->rows());
    RomPath = nativePath(path);
    showRomPathInCaption();
    reopenOriginal();
    if (model_->rowCount() > 0) {
        selectRow(0);  // loads the row into the editor
    }
    rememberRecentRom(QFileInfo(path).absoluteFilePath());
    settings_->setValue(kLastFolderKey, QFileInfo(path).absolutePath());
    showEditState();
    return true;
}

bool frmMain::maybeSaveChanges() {
    if (!isWindowModified()) {
        return true;
    }
    const QString name = QFile::decodeName(QByteArray::fromStdString(FileNameOf(RomPath)));
    switch (
        dialogs_->askSaveChanges(this, kCaption, QStringLiteral("Save changes to %1?").arg(name))) {
        case Dialogs::SaveChangesAnswer::Discard: return true;
        case Dialogs::SaveChangesAnswer::Cancel: return false;
        case Dialogs::SaveChangesAnswer::Save: break;
    }
    return saveWithEditBox();
}

bool frmMain::saveWithEditBox() {
    mnuSaveRom_Click();
    return !isWindowModified();
}

void frmMain::enableEditing() {
    ui->lblStart->hide();
    ui->splitter->show();
    ui->lvText->setEnabled(true);
    ui->fraText->setEnabled(true);
    ui->txtText2->setEnabled(true);
    ui->mnuEdit->setEnabled(true);
    ui->mnuInsert->setEnabled(true);
    ui->mnuFind->setEnabled(true);
    ui->mnuSaveRom->setEnabled(true);
    ui->mnuSaveAs->setEnabled(true);
    ui->mnuImportTable->setEnabled(true);
    ui->mnuExportTable->setEnabled(true);
    ui->mnuCreatePatch->setEnabled(true);
    ui->mnuCompareOriginal->setEnabled(true);
}

void frmMain::showRomPathInCaption() {
    // "[*]" is where the platform marks unsaved changes.
    setWindowTitle(kCaption + QStringLiteral(" - ") +
                   QFile::decodeName(QByteArray::fromStdString(FileNameOf(RomPath))) +
                   QStringLiteral("[*]"));
}

void frmMain::rememberRecentRom(const QString& path) {
    QStringList recent = settings_->value(kRecentKey).toStringList();
    if (recent.value(0) == path) {
        return;  // already at the top
    }
    recent.removeAll(path);
    recent.prepend(path);
    settings_->setValue(kRecentKey, recent.mid(0, kRecentCount));
    showRecentRoms();
}

void frmMain::showRecentRoms() {
    ui->mnuRecentRoms->clear();
    ui->mnuRecentRoms->setToolTipsVisible(true);
    const QStringList recent = settings_->value(kRecentKey).toStringList().mid(0, kRecentCount);
    for (qsizetype i = 0; i < recent.size(); ++i) {
        QAction* item = ui->mnuRecentRoms->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(recentRomLabel(recent, i)));
        item->setStatusTip(recent[i]);
        item->setToolTip(recent[i]);
        connect(item, &QAction::triggered, this, [this, path = recent[i]] { openRecentRom(path); });
    }
    ui->mnuRecentRoms->setEnabled(!recent.isEmpty());
}

void frmMain::openRecentRom(const QString& path) {
    if (busy_) {
        return;
    }
    if (!QFileInfo::exists(path)) {
        QStringList recent = settings_->value(kRecentKey).toStringList();
        recent.removeAll(path);
        settings_->setValue(kRecentKey, recent);
        showRecentRoms();
        dialogs_->warning(this, QStringLiteral("Open ROM"),
                          QStringLiteral("\"%1\" no longer exists; it was taken off the recent "
                                         "ROMs.")
                              .arg(path));
        return;
    }
    if (maybeSaveChanges()) {
        openRom(path);
    }
}

void frmMain::mnuSaveRom_Click() {
    // What the edit box holds goes with the save, as Apply would take it.
    if (busy_ || !applyEditBox()) {
        return;
    }
    runSave(QStringLiteral("Save ROM"),
            [this](const ProgressFn& progress) { SaveRom(RomPath, model_->rows(), progress); });
}

void frmMain::mnuSaveAs_Click() {
    if (busy_ || !applyEditBox()) {
        return;
    }
    // The copy is written whole or not at all; only then is it the open file.
    std::string copy;
    if (runSave(QStringLiteral("Save As Copy"), [&](const ProgressFn& progress) {
            copy = SaveRomAsCopy(RomPath, model_->rows(), progress).path;
        })) {
        RomPath = copy;
        showRomPathInCaption();
        if (!originalPath_.isEmpty()) {
            rememberOriginal(originalPath_);  // the copy is compared with it too
        }
        const QFileInfo written(QFile::decodeName(QByteArray::fromStdString(copy)));
        rememberRecentRom(written.absoluteFilePath());
        status_->showNotice(QStringLiteral("Saved a copy as %1").arg(written.fileName()));
    }
}

bool frmMain::runSave(const QString& title, const std::function<void(const ProgressFn&)>& save) {
    std::optional<QString> failure;
    std::optional<std::size_t> refusedRow;
    std::size_t refusedAt = 0;
    {
        LongWork work(*this);
        try {
            save(work.progress());
        } catch (const SaveError& error) {
            failure = QString::fromUtf8(error.what());
            refusedRow = error.row();
            refusedAt = error.position().value_or(0);
        } catch (const FileError& error) {
            failure = QString::fromUtf8(error.what());
        } catch (const std::bad_alloc&) {
            failure = QStringLiteral("There is not enough memory to save.");
        }
    }
    if (!failure) {
        model_->markSaved();
        history_->stack()->setClean();
        showEditState();
        return true;
    }
    if (refusedRow) {  // the user's to fix, on that row
        dialogs_->warning(this, title, *failure);
        showRefusedRow(int(*refusedRow), int(refusedAt));
    } else if (dialogs_->askYesNo(this, title, *failure + kOfferExport)) {
        // The file cannot take the changes; a table written anywhere keeps them.
        mnuExportTable_Click();
    }
    return false;
}

void frmMain::mnuQuit_Click() {
    close();  // closeEvent asks about unsaved changes
}

}  // namespace qm
