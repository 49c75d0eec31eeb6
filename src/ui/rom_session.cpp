#include "rom_session.h"

#include "command_files.hpp"
#include "errors.hpp"
#include "exchange/table_file.hpp"
#include "files.hpp"
#include "patch/patch_file.hpp"
#include "project/charmap_file.hpp"
#include "rom/load.hpp"
#include "rom/reader.hpp"
#include "save/copy_name.hpp"
#include "save/writer.hpp"
#include "string_table_model.h"
#include "translation/diff.hpp"
#include "translation/filter.hpp"
#include "translation/merge.hpp"

namespace qm {

RomSession::RomSession(QObject* parent)
    : QObject(parent),
      model_(new StringTableModel(this)),
      history_(new TableHistory(*model_, this)) {
    model_->setCharacterMap(&map_);  // the same map, whatever it comes to hold
    model_->setChecks(&assistant_, &project_);
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

bool RomSession::hasUnsavedChanges() const {
    return model_->changedRows() > 0 || model_->reviews() != savedReviews_ || projectChanged_;
}

void RomSession::ignoreWarning(int row, Check check, bool ignored) {
    SetWarningIgnored(project_, std::size_t(row), check, ignored);
    markProjectChanged();
    model_->recheck();
}

void RomSession::markProjectChanged(bool changed) {
    if (changed) {
        projectChanged_ = true;
        emit projectChoiceChanged();
    }
}

std::vector<std::string> RomSession::restoreProjectChoices(const Project& recovered) {
    Project choices = recovered;
    choices.reviews = project_.reviews;
    std::vector<std::string> notices;
    if (choices == project_) {
        return notices;
    }
    project_ = std::move(choices);
    markProjectChanged();
    readAssistantParts(path_, notices);
    model_->recheck();
    emit assistantChanged();
    return notices;
}

std::vector<std::string> RomSession::open(const std::string& path, const ProgressFn& progress) {
    LoadedRom loaded = LoadRomFile(path, progress);
    std::vector<std::string> notices;
    CharacterMap map;
    try {
        map = ReadCharacterMapBeside(path).value_or(CharacterMap{});
    } catch (const std::runtime_error& e) {  // FileError, ProjectFileError
        notices.push_back(std::string(e.what()) + " The texts show placeholders instead.");
    }
    Project project;
    projectUnreadable_ = false;
    try {
        project = ReadProjectBeside(path);
    } catch (const std::runtime_error& e) {  // FileError, ProjectFileError
        projectUnreadable_ = true;
        notices.push_back(std::string(e.what()) +
                          " The notes and review states it holds are not shown, and the file "
                          "is left as it is.");
    }
    // The map, the notes and states, then the rows: the states are worked out once.
    map_ = std::move(map);
    assistant_.setMap(map_);
    savedReviews_ = project.reviews;
    project_ = project;
    projectChanged_ = false;
    readAssistantParts(path, notices);  // before the rows, which it checks
    model_->setRows(std::move(loaded.rows), std::move(project.reviews));
    history_->clear();
    budget_.reset(model_->rows());
    path_ = path;
    stamp_ = loaded.stamp;
    noticed_.reset();
    emit opened();
    return notices;
}

void RomSession::setCharacterMap(const CharacterMap& map) {
    map_ = map;
    assistant_.setMap(map_);
    model_->setCharacterMap(&map_);  // every text and state anew
    emit characterMapChanged();
}

void RomSession::saveCharacterMap() const {
    WriteCharacterMapFile(CharacterMapPathFor(path_), map_);
}

void RomSession::save(const ProgressFn& progress) {
    stamp_ = SaveRom(path_, model_->rows(), progress, saveOptions());
    afterSave();
    writeProject(path_);
}

void RomSession::saveCopy(const std::string& path, const ProgressFn& progress) {
    // The copy is written whole or not at all; only then is it the open file.
    stamp_ = SaveRomCopyTo(path_, path, model_->rows(), progress, SystemFileOps(), saveOptions());
    keepGlossaryFrom(std::exchange(path_, path));
    afterSave();
    writeProject(path_);
}

namespace {

// The stamp of the ROM image at path as it is now.
RomStamp currentStamp(const std::string& path) {
    const RegularFile file(path);
    return StampOf(file, ReadRomText(file));
}

}  // namespace

bool RomSession::fileChanged() const {
    try {
        return stamp_ && !RomFileMatches(path_, *stamp_);
    } catch (const FileError&) {
        return false;
    }
}

bool RomSession::fileChangedUnnoticed() {
    if (!fileChanged()) {
        return false;
    }
    const RomStamp now = currentStamp(path_);
    return std::exchange(noticed_, now) != now;
}

std::vector<std::size_t> RomSession::mergeFromFile() {
    const LoadedRom theirs = LoadRomFile(path_);
    MergedRows merged = MergeRows(model_->rows(), theirs.rows);
    if (merged.rows.size() == model_->rows().size()) {
        // The rows now stand against the file as it is; the merge itself is a step.
        model_->setLoadedForms(theirs.rows);
        history_->changeTo(QStringLiteral("Merge"), merged.rows);
    } else {
        model_->setRows(std::move(merged.rows), model_->reviews());
        history_->clear();
        budget_.reset(model_->rows());
    }
    stamp_ = theirs.stamp;
    return merged.conflicts;
}

void RomSession::overwriteFile() {
    stamp_ = currentStamp(path_);
}

std::optional<std::size_t> RomSession::rowsDifferingIn(const std::string& path) const {
    const ResolvedFile file = ResolveFile(path);
    if (!file.exists || !file.isRegular) {
        return std::nullopt;  // nothing there, or nothing a save could replace
    }
    const Bytes wanted = SavedImage(path_, model_->rows(), saveOptions());
    const Bytes existing = RegularFile(path).readAll(kLargestRomImage);
    if (existing == wanted) {
        return std::nullopt;
    }
    return DiffTables(LoadRom(existing), model_->rows()).size();
}

void RomSession::writeProject(const std::string& romPath) {
    if (projectUnreadable_) {
        return;
    }
    Project project = project_;
    project.reviews = model_->reviews();
    try {
        WriteProjectBeside(romPath, project);
    } catch (const FileError& e) {
        throw FileError("The rows are saved, but not the notes and review states: " +
                        std::string(e.what()));
    }
    savedReviews_ = project.reviews;
    projectChanged_ = false;
}

SaveOptions RomSession::saveOptions() const {
    return {.fixHeaderChecksum = fixHeaderChecksum_, .expected = stamp_};
}

void RomSession::writeTestCopy(const std::string& target, const ProgressFn& progress) const {
    RefuseToOverwrite(target, path_);
    if (!originalPath_.empty()) {
        RefuseToOverwrite(target, originalPath_);
    }
    const Bytes image =
        SavedImage(path_, model_->rows(),
                   SaveOptions{.fixHeaderChecksum = true, .expected = std::nullopt}, progress);
    WriteFileAtomically(target, image);
}

void RomSession::afterSave() {
    model_->markSaved();
    history_->markClean();
    emit saved();
}

void RomSession::exportTable(const std::string& path, TableFormat format) const {
    RefuseToOverwrite(path, path_);
    if (!originalPath_.empty()) {
        RefuseToOverwrite(path, originalPath_);
    }
    WriteOutput(path, TableToText(format, model_->rows(),
                                  TableContext{model_->original(), &map_, &model_->reviews()}));
}

RomSession::Imported RomSession::importTable(const std::string& path) {
    const TableContext context{{}, &map_, &model_->reviews()};
    TableImport imported = ApplyTable(model_->rows(), ReadTableFile(path, {}, context), context);
    history_->changeTo(QStringLiteral("Import Table"), imported.rows, &imported.reviews);
    return {imported.changed, std::move(imported.notes)};
}

std::size_t RomSession::createPatch(const std::string& original, const std::string& out,
                                    PatchFormat format) const {
    return CreatePatchFile(format, original, path_, out);
}

void RomSession::openOriginal(const std::string& path) {
    std::vector<StringEntry> original = LoadRom(path);
    assistant_.setOriginal(original);
    model_->setOriginal(std::move(original));
    originalPath_ = path;
    emit originalChanged(true);
}

void RomSession::closeOriginal() {
    assistant_.setOriginal({});
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
        contents.push_back({int(other), model_->entry(row)});
    }
    return history_->changeRows(QStringLiteral("Apply to Identical Rows"), std::move(contents));
}

RegionUsage RomSession::usageWith(int row, const StringEntry& candidate) const {
    return budget_.usageWith(std::size_t(row), candidate);
}

StateCounts RomSession::countsWith(int row, const StringEntry& candidate) const {
    return model_->countsWith(row, model_->stateWith(row, candidate));
}

StateCounts RomSession::counts() const {
    return CountStates(model_->states());
}

}  // namespace qm
