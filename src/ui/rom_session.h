#pragma once
// The open ROM image, once: its path, its rows (the table the list shows), the
// table's undo history, the room its text needs, the original it is compared
// with, and the long work on it (load, save, export, import, patch). It asks
// nothing and shows nothing: operations return what happened or throw the
// core's errors, and the window decides what the user sees.

#include <QObject>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "exchange/formats.hpp"
#include "markup/charmap.hpp"
#include "patch/patch.hpp"
#include "project/assistant.hpp"
#include "project/project_file.hpp"
#include "rom/stamp.hpp"
#include "save/budget.hpp"
#include "save/writer.hpp"
#include "table_history.h"
#include "translation/row_state.hpp"
#include "types.hpp"

namespace qm {

class StringTableModel;

class RomSession : public QObject {
    Q_OBJECT
  public:
    explicit RomSession(QObject* parent = nullptr);

    StringTableModel& model() const { return *model_; }
    TableHistory& history() const { return *history_; }
    std::span<const StringEntry> rows() const;

    /// The open ROM image's path; empty before the first successful load.
    const std::string& path() const { return path_; }
    /// The open file's size as it was loaded or last saved.
    std::uintmax_t fileSize() const { return stamp_ ? stamp_->size : 0; }
    /// Whether the table holds rows the file does not, or notes and states the
    /// project file does not.
    bool hasUnsavedChanges() const;

    /// Loads the ROM image at path, with its character map (NAME.tbl) and its
    /// project file (NAME.qmproj: notes, review states, choices) when they are
    /// there; the table, history and budget change only when it loads. Throws
    /// FileError. Returns what the user should know: a map or project file that
    /// could not be read (the window goes on without it; a damaged project file
    /// is then never written over).
    std::vector<std::string> open(const std::string& path, const ProgressFn& progress);
    /// Saves the table into the open file, then the notes and states into the
    /// project file beside it. Throws SaveError (a row, or the text region,
    /// refused) or FileError (the file is left as it was; or the rows are saved
    /// and the message says the project file is not).
    void save(const ProgressFn& progress);
    /// Saves the table into a copy at path (CopyName's beside the open file for
    /// Save As Copy), which then is the open file. Throws as save() does.
    void saveCopy(const std::string& path, const ProgressFn& progress);
    /// How many rows an existing file at path differs in from the copy a save
    /// would write there; nothing when there is no regular file there or it is
    /// that copy byte for byte. Throws SaveError when the table cannot be saved, FileError.
    std::optional<std::size_t> rowsDifferingIn(const std::string& path) const;

    /// Whether save() and saveCopy() also write the internal header's checksum
    /// pair (the user's choice: four bytes outside the two areas); off at first.
    void setFixHeaderChecksum(bool fix) { fixHeaderChecksum_ = fix; }
    /// Writes the image a save would write, with its header's checksum fixed, to
    /// target (a scratch copy to test in an emulator); the open file is not
    /// written and the table stays unsaved. Throws SaveError (a row, or the text
    /// region, refused), FileError (target is the open file or the original).
    void writeTestCopy(const std::string& target, const ProgressFn& progress) const;

    /// Writes the table (with the original's texts beside it while one is
    /// open) to path in format. Throws FileError, TableError.
    void exportTable(const std::string& path, TableFormat format) const;
    struct Imported {
        std::size_t changed = 0;         ///< rows the table file changed
        std::vector<std::string> notes;  ///< what the user should know
    };
    /// Takes a table file into the table as one undo step. Throws FileError,
    /// TableError; then nothing changed.
    Imported importTable(const std::string& path);
    /// Writes a patch from the ROM image original to the open file, as saved.
    /// Returns its size in bytes. Throws FileError, PatchError.
    std::size_t createPatch(const std::string& original, const std::string& out,
                            PatchFormat format) const;

    /// Whether another program changed the open file since it was loaded or last
    /// saved (size, time, or the bytes of the two areas). A file that cannot be
    /// read counts as unchanged here: the save then says why it cannot write.
    bool fileChanged() const;
    /// fileChanged(), but true only once for each state of the file on disk: for
    /// a notice when the window comes to the front.
    bool fileChangedUnnoticed();
    /// Merge: the file as it is now, with the rows the user changed on top of
    /// it, as one undo step (unless the file now holds another number of rows,
    /// which no step can take back). Returns the rows (0-based) both sides
    /// changed, where the user's version was kept. Throws FileError.
    std::vector<std::size_t> mergeFromFile();
    /// Overwrite: the next save writes over the file as it is now.
    void overwriteFile();

    /// The per-ROM choices of the project file (its notes and states are the
    /// model's reviews).
    const Project& project() const { return project_; }
    /// The notes and states as the project file holds them.
    const Reviews& savedReviews() const { return savedReviews_; }
    /// Whether the project's choices (ignored warnings, glossary, spelling)
    /// changed since the project file was read or written.
    bool projectChanged() const { return projectChanged_; }
    /// The checks, glossary terms, suggestions and spelling of the open image.
    const TranslationAssistant& assistant() const { return assistant_; }
    /// Ignores check's warning on row (0-based) from now on, or no longer; kept in
    /// the project file with the next save.
    void ignoreWarning(int row, Check check, bool ignored);

    /// The character map the rows are shown and typed with; empty: none.
    const CharacterMap& characterMap() const { return map_; }
    /// Shows and types the rows with map from now on (the rows do not change).
    void setCharacterMap(const CharacterMap& map);
    /// Writes the character map to NAME.tbl beside the open file. Throws FileError.
    void saveCharacterMap() const;

    /// Compares with the ROM image at path from now on. Throws FileError.
    void openOriginal(const std::string& path);
    void closeOriginal();
    /// The original's path; empty while none is open.
    const std::string& originalPath() const { return originalPath_; }

    /// The rows that share row's original and are untranslated, given row's
    /// content as one step; returns how many.
    std::size_t applyToIdenticalRows(int row);
    std::vector<std::size_t> identicalRows(int row) const;

    /// What the status bar says of the table, as if row held candidate.
    RegionUsage usageWith(int row, const StringEntry& candidate) const;
    RegionUsage usage() const { return budget_.usage(); }
    StateCounts countsWith(int row, const StringEntry& candidate) const;
    StateCounts counts() const;

  signals:
    /// A ROM image was opened.
    void opened();
    /// An original was opened or closed.
    void originalChanged(bool open);
    /// The character map changed: every text shows anew.
    void characterMapChanged();
    /// The table was saved: every row is as the file holds it.
    void saved();

  private:
    void afterSave();
    /// Writes the project file beside romPath (skipped while the one read was
    /// damaged). Throws FileError naming what was saved and what not.
    void writeProject(const std::string& romPath);
    SaveOptions saveOptions() const;

    StringTableModel* model_;
    TableHistory* history_;
    RegionBudget budget_;
    std::string path_;
    std::string originalPath_;
    // The file as it was loaded or last saved, and the last change noticed.
    std::optional<RomStamp> stamp_;
    CharacterMap map_;
    Project project_;
    bool projectChanged_ = false;
    TranslationAssistant assistant_;
    Reviews savedReviews_;
    // The project file beside the ROM image could not be read: it is left alone.
    bool projectUnreadable_ = false;
    std::optional<RomStamp> noticed_;
    bool fixHeaderChecksum_ = false;
};

}  // namespace qm
