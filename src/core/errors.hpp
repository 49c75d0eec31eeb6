#pragma once
// Exception types of the core. Each carries a message in the user's words, in
// UTF-8, so the window and the tool can show what() as it stands.

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>

namespace qm {

/// A file could not be opened, read, written or replaced.
class FileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// A file that another program changed since this one read it, found before
/// anything was written over it. what() names the file.
class FileChangedError : public FileError {
  public:
    using FileError::FileError;
};

/// A text that is not what it should be (not UTF-8, or a character beyond
/// Latin-1 where game text is expected). what() says which character or byte.
class TextError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// A markup text that the encoder cannot turn into game bytes. what() reads
/// «character 5: "-" is a character the game's font does not have».
class EncodeError : public std::runtime_error {
  public:
    EncodeError(std::size_t position, std::size_t length, const std::string& reason)
        : std::runtime_error("character " + std::to_string(position + 1) + ": " + reason),
          position_(position),
          length_(length) {}
    /// The offending piece: 0-based position and length in the text.
    std::size_t position() const { return position_; }
    std::size_t length() const { return length_; }

  private:
    std::size_t position_;
    std::size_t length_;
};

/// A table file (JSON, CSV, PO) that is not in its format, or whose rows cannot
/// be taken into the string table. what() says where and why.
class TableError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// A file of a ROM image's own beside it or for it (a character map, a project
/// file, a recovery file) that is not in its format. what() reads «line 3:
/// <reason>» when the problem has a line (line() then gives it), else the reason.
class ProjectFileError : public std::runtime_error {
  public:
    ProjectFileError(std::size_t line, const std::string& reason)
        : std::runtime_error(line > 0 ? "line " + std::to_string(line) + ": " + reason : reason),
          line_(line) {}
    /// cause with what it is about in front: «The character map "a.tbl": line 3: ...».
    ProjectFileError(const std::string& about, const ProjectFileError& cause)
        : std::runtime_error(about + ": " + cause.what()), line_(cause.line()) {}
    std::size_t line() const { return line_; }

  private:
    std::size_t line_;
};

/// A save that was refused before anything was written (a row that cannot be
/// encoded, text too long for the region, nothing to save, an unusable file).
class SaveError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
    /// Row index (0-based) refused by the encoder: «Row 17, character 5: ...».
    SaveError(std::size_t row, const EncodeError& cause)
        : std::runtime_error("Row " + std::to_string(row + 1) + ", " + cause.what()),
          row_(row),
          position_(cause.position()) {}
    /// The refused row and the position of the offending character, when a row
    /// was refused.
    std::optional<std::size_t> row() const { return row_; }
    std::optional<std::size_t> position() const { return position_; }

  private:
    std::optional<std::size_t> row_;
    std::optional<std::size_t> position_;
};

/// Spelling cannot be checked as asked: no dictionary of that language, a name
/// that is no language, or a build without Hunspell. what() says which.
class SpellingError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace qm
