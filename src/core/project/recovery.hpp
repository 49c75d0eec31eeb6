#pragma once
// What the window writes every few seconds while it holds unsaved work, so that
// a crash, a power cut or a kill loses at most the last seconds: the changed
// rows, the edit box, and the notes and states not yet saved. The window
// decides when to write it and where its folder is (the user's state folder,
// never beside the ROM image); the core says what it holds and what it is called.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "markup/helpers.hpp"
#include "markup/portraits.hpp"
#include "project/project_file.hpp"
#include "rom/string_table.hpp"

namespace qm {

/// A row's portrait, colour and markup text.
struct RowForm {
    std::int16_t portrait = kPortraitNone;
    Colour coloured = Colour::Unset;
    std::string text;  ///< markup, one byte per char

    bool operator==(const RowForm&) const = default;
};

/// A row the table held differently from the file.
struct RecoveredRow {
    std::size_t row = 0;  ///< 0-based
    RowForm before;       ///< as the file held it when it was loaded or last saved
    RowForm after;        ///< as the table held it

    bool operator==(const RecoveredRow&) const = default;
};

/// The edit box as it stood, applied or not.
struct EditBoxState {
    std::size_t row = 0;  ///< 0-based row it was loaded from
    std::string text;     ///< what the box showed: display text, UTF-8
    std::int16_t portrait = kPortraitNone;
    Colour coloured = Colour::Unset;
    std::size_t caret = 0;  ///< the caret's position in text, as the window counts it

    bool operator==(const EditBoxState&) const = default;
};

struct Recovery {
    std::string romPath;                  ///< UTF-8, as the window opened it
    std::uintmax_t romSize = 0;           ///< the file's size when it was loaded or last saved
    std::int64_t savedAt = 0;             ///< when this was written: seconds since 1970-01-01 UTC
    std::vector<RecoveredRow> rows;       ///< ascending
    std::optional<EditBoxState> editBox;  ///< nothing when the box held nothing to keep
    std::optional<Project> project;       ///< when notes, states or choices are not saved

    bool operator==(const Recovery&) const = default;
};

/// Every row of rows that is not as loaded (!IsUnchanged()), with its loaded
/// form as before: what a recovery file holds of a table.
std::vector<RecoveredRow> ChangedRows(std::span<const StringEntry> rows);

/// The recovery file's text: JSON, one recovered row a line. Never fails.
std::string RecoveryText(const Recovery& recovery);

/// The recovery a file's text holds. Throws ProjectFileError with the line for
/// anything that is not what RecoveryText writes.
Recovery ParseRecovery(std::string_view text);

/// The file name of the recovery of the ROM image at romPath of romSize bytes:
/// the image's name (its safe characters, at most 40), "-", 16 hexadecimal
/// digits of a hash of path and size, ".qmrecovery". Another path or size gives
/// another name.
std::string RecoveryFileName(const std::string& romPath, std::uintmax_t romSize);

/// Writes recovery into folder (which must exist) under RecoveryFileName,
/// atomically; returns the file's path. Throws FileError.
std::string WriteRecoveryFile(const std::string& folder, const Recovery& recovery);

/// The recovery at path; nothing when there is no such file. Throws FileError,
/// and ProjectFileError «The recovery file "...": line 3: ...» when it is damaged.
std::optional<Recovery> ReadRecoveryFile(const std::string& path);

/// Removes the file at path (after a save or a Discard); nothing to do when it
/// is gone. Throws FileError.
void RemoveRecoveryFile(const std::string& path);

/// How many rows the recovery gives back: its rows and the edit box's row.
std::size_t RecoveredRowCount(const Recovery& recovery);

/// «Recover 37 unsaved rows from 14:02?»; time is the clock time the window
/// shows for savedAt.
std::string RecoveryQuestion(const Recovery& recovery, std::string_view time);

/// rows with each recovered row's portrait, colour and text (rows past the end
/// are left out); loaded forms stay, so the recovered rows count as unsaved.
std::vector<StringEntry> ApplyRecovery(std::span<const StringEntry> rows, const Recovery& recovery);

/// The recovered rows (0-based) whose row in rows, the file as it is now, no
/// longer holds their before form: another program has changed them since.
std::vector<std::size_t> ChangedSince(const Recovery& recovery, std::span<const StringEntry> rows);

}  // namespace qm
