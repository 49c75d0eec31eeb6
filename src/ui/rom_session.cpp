#include "rom_session.h"

#include "errors.hpp"
#include "files.hpp"
#include "rom/load.hpp"
#include "save/copy_name.hpp"
#include "save/writer.hpp"
#include "string_table_model.h"
#include "translation/diff.hpp"
#include "translation/filter.hpp"

namespace qm {

namespace {

void writeBytes(const std::string& path, std::string_view bytes) {
    WriteFileAtomically(path, {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

}  // namespace

RomSession::RomSession(QObject* parent)
    : QObject(parent),
      model_(new StringTableModel(this)),
      history_(new TableHistory(*model_, this)) {
    connect(model_, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& from, const QModelIndex& to) {
                for (int row = from.row(); row <= to.row(); ++row) {
                    budget_.update(std::size_t(row), model_->entry(row));
                }
            });
}

std::span<const StringEntry> RomSession::rows() const {
    return model_->rows();
}

bool RomSession::hasUnsavedRows() const {
    return model_->changedRows() > 0;
}

void RomSession::open(const std::string& path, const ProgressFn& progress) {
    std::vector<StringEntry> rows = LoadRom(path, progress);
    model_->setRows(std::move(rows));
    history_->clear();
    budget_.reset(model_->rows());
    path_ = path;
}

void RomSession::save(const ProgressFn& progress) {
    SaveRom(path_, model_->rows(), progress);
    afterSave();
}

void RomSession::saveCopy(const std::string& path, const ProgressFn& progress) {
    // The copy is written whole or not at all; only then is it the open file.
    SaveRomCopyTo(path_, path, model_->rows(), progress, SystemFileOps(), SaveOptions{});
    path_ = path;
    afterSave();
}

std::optional<std::size_t> RomSession::rowsDifferingIn(const std::string& path) const {
    const ResolvedFile file = ResolveFile(path);
    if (!file.exists || !file.isRegular) {
        return std::nullopt;  // nothing there, or nothing a save could replace
    }
    const Bytes wanted = SavedImage(path_, model_->rows());
    const Bytes existing = RegularFile(path).readAll(kLargestRomImage);
    if (existing == wanted) {
        return std::nullopt;
    }
    return DiffTables(LoadRom(existing), model_->rows()).size();
}

void RomSession::afterSave() {
    model_->markSaved();
    history_->markClean();
    emit saved();
}

void RomSession::exportTable(const std::string& path, TableFormat format) const {
    if (SameFile(path, path_)) {
        throw FileError("Cannot write the table over the ROM image itself.");
    }
    writeBytes(path, TableToText(format, model_->rows(), model_->original()));
}

RomSession::Imported RomSession::importTable(const std::string& path) {
    const Bytes bytes = RegularFile(path).readAll(kLargestTableFile);
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    TableImport imported =
        ApplyTable(model_->rows(), TableFromText(TableFormatForFileName(path), text));
    history_->changeTo(QStringLiteral("Import Table"), imported.rows);
    return {imported.changed, std::move(imported.notes)};
}

std::size_t RomSession::createPatch(const std::string& original, const std::string& out,
                                    PatchFormat format) const {
    if (SameFile(out, path_) || SameFile(out, original)) {
        throw FileError("Cannot write the patch over one of the ROM images it describes.");
    }
    const Bytes patch = CreatePatch(format, RegularFile(original).readAll(kMaxPatchedSize),
                                    RegularFile(path_).readAll(kMaxPatchedSize));
    writeBytes(out, std::string_view(reinterpret_cast<const char*>(patch.data()), patch.size()));
    return patch.size();
}

void RomSession::openOriginal(const std::string& path) {
    model_->setOriginal(LoadRom(path));
    originalPath_ = path;
    emit originalChanged(true);
}

void RomSession::closeOriginal() {
    model_->setOriginal({});
    originalPath_.clear();
    emit originalChanged(false);
}

std::vector<std::size_t> RomSession::identicalRows(int row) const {
    return IdenticalRows(model_->rows(), model_->original(), std::size_t(row));
}

std::size_t RomSession::applyToIdenticalRows(int row) {
    std::vector<RowContent> contents;
    for (const std::size_t other : identicalRows(row)) {
        contents.emplace_back(int(other), model_->entry(row));
    }
    return history_->changeRows(QStringLiteral("Apply to Identical Rows"), std::move(contents));
}

RegionUsage RomSession::usageWith(int row, const StringEntry& candidate) const {
    return budget_.usageWith(std::size_t(row), candidate);
}

StateCounts RomSession::countsWith(int row, const StringEntry& candidate) const {
    return model_->countsWith(row, StateOf(candidate, model_->originalOf(row)));
}

StateCounts RomSession::counts() const {
    return CountStates(model_->states());
}

}  // namespace qm
