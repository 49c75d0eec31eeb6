#include "exchange_commands.h"

#include <QDir>
#include <QFileInfo>
#include <QWidget>

#include "app_settings.h"
#include "dialogs.h"
#include "entry_editor.h"
#include "errors.hpp"
#include "file_filters.h"
#include "paths.h"
#include "project/charmap_file.hpp"
#include "rom_session.h"
#include "status_panels.h"
#include "text.hpp"

namespace qm {

namespace {

const QString kCompareTitle = QStringLiteral("Compare With Original");

QString rowsText(std::size_t rows) {
    return QString::fromStdString(Counted(rows, "row", "rows"));
}

}  // namespace

ExchangeCommands::ExchangeCommands(QWidget& window, RomSession& session, EntryEditor& editor,
                                   Dialogs& dialogs, StatusPanels& status, AppSettings& settings)
    : QObject(&window),
      window_(window),
      session_(session),
      editor_(editor),
      dialogs_(dialogs),
      status_(status),
      settings_(settings) {}

QString ExchangeCommands::besideRom(const QString& extension) const {
    const QFileInfo rom(QtPath(session_.path()));
    return rom.dir().filePath(rom.completeBaseName() + extension);
}

QString ExchangeCommands::romKey() const {
    return AbsolutePath(session_.path());
}

void ExchangeCommands::mnuExportTable_Click() {
    const auto target = dialogs_.getSaveFileName(&window_, QStringLiteral("Export Table"),
                                                 kTableFilters, besideRom(QStringLiteral(".json")));
    if (target) {
        session_.exportTable(NativePath(target->path), TableFormatOf(*target));
        status_.showNotice(QStringLiteral("Exported %1").arg(rowsText(session_.rows().size())));
    }
}

void ExchangeCommands::mnuImportTable_Click() {
    const auto path =
        dialogs_.getOpenFileName(&window_, QStringLiteral("Import Table"), kTableFilters);
    if (!path) {
        return;
    }
    // Text typed into the edit box and not applied stays there; otherwise the
    // editor shows its row as imported.
    const bool keepEditor = editor_.isModified();
    RomSession::Imported imported;
    try {
        imported = session_.importTable(NativePath(*path));
    } catch (const std::runtime_error& e) {  // FileError, TableError
        dialogs_.warning(&window_, QStringLiteral("Import Table"),
                         QStringLiteral("Nothing was imported. ") + QString::fromUtf8(e.what()));
        return;
    }
    if (editor_.row() && !keepEditor) {
        editor_.load(*editor_.row());
    }
    status_.showNotice(rowsText(imported.changed) + QStringLiteral(" changed"));
    if (!imported.notes.empty()) {
        QStringList notes;
        for (const std::string& note : imported.notes) {
            notes << QString::fromStdString(note);
        }
        dialogs_.information(&window_, QStringLiteral("Import Table"), notes.join(u'\n'));
    }
}

void ExchangeCommands::createPatch() {
    const auto original = dialogs_.getOpenFileName(
        &window_, QStringLiteral("Select the Original, Unmodified ROM"), kRomFilter,
        session_.originalPath().empty() ? settings_.patchOriginal()
                                        : QtPath(session_.originalPath()));
    if (!original) {
        return;
    }
    settings_.setPatchOriginal(*original);
    const auto target = dialogs_.getSaveFileName(&window_, QStringLiteral("Create Patch"),
                                                 kPatchFilters, besideRom(QStringLiteral(".bps")));
    if (target) {
        const std::size_t size = session_.createPatch(
            NativePath(*original), NativePath(target->path), PatchFormatOf(*target));
        status_.showNotice(
            QStringLiteral("Patch written: %1").arg(QString::fromStdString(BytesText(size))));
    }
}

void ExchangeCommands::mnuCharacterMap_Click() {
    const std::string file = CharacterMapPathFor(session_.path());
    const std::optional<CharacterMap> map = dialogs_.editCharacterMap(
        &window_, session_.characterMap(), FreeCodeUsage(session_.rows()), ShownFileName(file));
    if (map) {
        session_.setCharacterMap(*map);
        session_.saveCharacterMap();  // a failure is said; the texts show the new map
        status_.showNotice(QStringLiteral("Character map saved to %1").arg(ShownFileName(file)));
    }
}

void ExchangeCommands::mnuCompareOriginal_Click() {
    const std::optional<QString> path =
        dialogs_.getOpenFileName(&window_, QStringLiteral("Select the Original ROM"), kRomFilter,
                                 QFileInfo(QtPath(session_.path())).absolutePath());
    if (path && !path->isEmpty() && openOriginal(*path)) {
        settings_.setOriginalFor(romKey(), QtPath(session_.originalPath()));
    }
}

void ExchangeCommands::mnuCloseOriginal_Click() {
    session_.closeOriginal();
    settings_.setOriginalFor(romKey(), QString());
}

bool ExchangeCommands::openOriginal(const QString& path) {
    try {
        session_.openOriginal(NativePath(QFileInfo(path).absoluteFilePath()));
        return true;
    } catch (const FileError& error) {
        dialogs_.warning(&window_, kCompareTitle, QString::fromUtf8(error.what()));
        return false;
    }
}

void ExchangeCommands::reopenOriginal() {
    const QString path = settings_.originalFor(romKey());
    if (path.isEmpty()) {
        if (!session_.originalPath().empty()) {
            session_.closeOriginal();
        }
    } else if (!QFileInfo::exists(path)) {
        session_.closeOriginal();
        settings_.setOriginalFor(romKey(), QString());
        dialogs_.warning(&window_, kCompareTitle,
                         QStringLiteral("The original ROM image %1 no longer exists; the "
                                        "comparison was closed.")
                             .arg(QuotedPath(path)));
    } else if (!openOriginal(path)) {
        session_.closeOriginal();
    }
}

}  // namespace qm
