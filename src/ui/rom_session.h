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
    /// Takes the choices of a recovered project (glossary, spelling language,
    /// project words, ignored warnings; not its notes and states, which are
    /// rows' steps) as unsaved changes. Returns what could not be read.
    std::vector<std::string> restoreProjectChoices(const Project& recovered);

    // rom_session_assistant.cpp: the glossary, spelling and suggestion sources.

    /// The glossary file in use, as a path to read; empty: none. It is named even
    /// when it could not be read.
    std::string glossaryPath() const;
    /// Uses the glossary file at path from now on; the project file names it (from
    /// the ROM image's folder when it lies there). Throws FileError and
    /// ProjectFileError; then nothing changed.
    void useGlossary(const std::string& path);
    /// Takes the terms of the glossary file at path that the glossary in use lacks
    /// into it, read anew from its file, and writes it; without one, into a new
    /// NAME.glossary.csv beside the ROM image, which is then in use. Returns how
    /// many terms it took. Throws FileError and ProjectFileError; then nothing
    /// changed.
    std::size_t importGlossary(const std::string& path);
    /// Adds a term to the glossary in use (or a new one, as importGlossary does)
    /// and writes it. Throws ProjectFileError for a term it has (in any case),
    /// FileError; then nothing changed.
    void addGlossaryTerm(GlossaryTerm term);
    /// Writes the glossary in use as CSV to path, atomically. Throws FileError,
    /// also for the glossary's own file, the ROM image and the original.
    void exportGlossary(const std::string& path) const;
    /// No glossary from now on; its file stays as it is.
    void stopUsingGlossary();
    /// Checks spelling with the dictionary of language ("": none) from now on;
    /// the project file keeps the choice. Throws SpellingError and FileError;
    /// then nothing changed.
    void setSpellingLanguage(const std::string& language);
    /// "Add to Project Words": word counts as spelt right; the project file keeps it.
    void addProjectWord(const std::string& word);
    /// Adds the translated entries of a PO file as a further source of
    /// suggestions, until another ROM image is opened. Returns how many there are.
    /// Throws FileError and TableError.
    std::size_t addPoSuggestions(const std::string& po);
    /// The same for another ROM image's translated rows against its original.
    /// Throws FileError.
    std::size_t addRomSuggestions(const std::string& rom, const std::string& original);

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
    /// The glossary, the dictionary, the project words or the suggestions'
    /// sources changed: what the assistant shows shows anew.
    void assistantChanged();
    /// A choice of the project file changed and is not saved yet.
    void projectChoiceChanged();

  private:
    void afterSave();
    /// Marks the project's choices unsaved when changed is true.
    void markProjectChanged(bool changed = true);
    /// Writes the project file beside romPath (skipped while the one read was
    /// damaged). Throws FileError naming what was saved and what not.
    void writeProject(const std::string& romPath);
    SaveOptions saveOptions() const;
    /// Reads the glossary and the dictionary project_ names, for romPath; what
    /// cannot be read is left out and said in notices.
    void readAssistantParts(const std::string& romPath, std::vector<std::string>& notices);
    /// How the project file names file: from the ROM image's folder when it lies
    /// there or below, so the folder can move as a whole; else in full.
    std::string nameInProject(const std::string& file) const;
    /// After a copy was saved elsewhere: the project still names the glossary
    /// that the one beside fromRom named.
    void keepGlossaryFrom(const std::string& fromRom);
    /// The glossary file a term or an import goes into, as it is on disk now.
    std::pair<std::string, Glossary> glossaryToExtend() const;
    void extendGlossary(const std::string& file, Glossary glossary);
    void takeGlossary(std::optional<Glossary> glossary);

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
