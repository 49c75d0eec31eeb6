// The File menu: Open ROM, Save ROM, Save As Copy and Quit.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include "dialogs.h"
#include "errors.hpp"
#include "frmMain.h"
#include "rom/load.hpp"
#include "save/copy_name.hpp"
#include "save/writer.hpp"
#include "status_panels.h"
#include "string_table_model.h"
#include "ui_frmMain.h"

namespace qm {

namespace {

const QString kCaption = QStringLiteral("Quillmoor Text Edit");
const QString kRomFilter = QStringLiteral("SNES ROM (*.smc);;All Files (*)");

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
        window_.status_->showTime();
        window_.busy_ = false;
    }
    LongWork(const LongWork&) = delete;
    LongWork& operator=(const LongWork&) = delete;

    ProgressFn progress() {
        return [this](std::string_view text) {
            // Most reports repeat the one before (a percentage changes every ~28
            // bytes of the region); only a new text is worth showing.
            if (text == lastText_) {
                return;
            }
            lastText_.assign(text);
            window_.status_->showText(QString::fromLatin1(text.data(), qsizetype(text.size())));
            // Letting events run once per report would cost more than the work.
            if (sinceRepaint_.elapsed() >= kRepaintMs) {
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                sinceRepaint_.restart();
            }
        };
    }

  private:
    static constexpr qint64 kRepaintMs = 40;
    frmMain& window_;
    QElapsedTimer sinceRepaint_;
    std::string lastText_;
};

void frmMain::mnuOpenRom_Click() {
    if (busy_) {
        return;
    }
    model_->clear();
    const std::optional<QString> path =
        dialogs_->getOpenFileName(this, QStringLiteral("Select Rom"), kRomFilter);
    if (!path || path->isEmpty()) {
        return;
    }
    openRom(*path);
}

void frmMain::openRom(const QString& path) {
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
        return;
    }
    enableEditing();
    if (model_->rowCount() > 0) {
        selectRow(0);
    }
    UpdateTextEdit();
    RomPath = nativePath(path);
    showRomPathInCaption();
}

void frmMain::enableEditing() {
    ui->lvText->setEnabled(true);
    ui->fraText->setEnabled(true);
    ui->txtText2->setEnabled(true);
    ui->mnuInsert->setEnabled(true);
    ui->mnuFind->setEnabled(true);
    ui->mnuSaveRom->setEnabled(true);
    ui->mnuSaveAs->setEnabled(true);
}

void frmMain::showRomPathInCaption() {
    setWindowTitle(kCaption + QStringLiteral(" - ") +
                   QFile::decodeName(QByteArray::fromStdString(FileNameOf(RomPath))));
}

void frmMain::mnuSaveRom_Click() {
    if (busy_) {
        return;
    }
    runSave(QStringLiteral("Save ROM"),
            [this](const ProgressFn& progress) { SaveRom(RomPath, model_->rows(), progress); });
}

void frmMain::mnuSaveAs_Click() {
    if (busy_) {
        return;
    }
    // The copy is written whole or not at all; only then is it the open file.
    std::string copy;
    if (runSave(QStringLiteral("Save As Copy"), [&](const ProgressFn& progress) {
            copy = SaveRomAsCopy(RomPath, model_->rows(), progress);
        })) {
        RomPath = copy;
        showRomPathInCaption();
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
        }
    }
    if (!failure) {
        model_->markSaved();
        return true;
    }
    dialogs_->warning(this, title, *failure);
    if (refusedRow) {
        showRefusedRow(int(*refusedRow), int(refusedAt));
    }
    return false;
}

void frmMain::mnuQuit_Click() {
    close();
}

}  // namespace qm
