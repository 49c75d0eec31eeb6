#pragma once
// Exception types of the core. Each carries a message in the user's words, so the
// window can show what() as it stands.

#include <stdexcept>
#include <string>

namespace qm {

/// A file could not be opened, read, written or replaced.
class FileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// A text that is not what it should be (not UTF-8, or a character beyond
/// Latin-1 where game text is expected). what() says which character or byte.
class TextError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// A markup text that the encoder cannot turn into game bytes. what() reads
/// «"<piece>" <reason>», for example «"(Pause:x)" has no number».
class EncodeError : public std::runtime_error {
  public:
    EncodeError(std::string piece, std::string reason)
        : std::runtime_error("\"" + piece + "\" " + reason),
          piece_(std::move(piece)),
          reason_(std::move(reason)) {}
    const std::string& piece() const { return piece_; }
    const std::string& reason() const { return reason_; }

  private:
    std::string piece_;
    std::string reason_;
};

/// A table file (JSON, CSV, PO) that is not in its format, or whose rows cannot
/// be taken into the string table. what() says where and why.
class TableError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// A save that was refused before anything was written (a row that cannot be
/// encoded, text too long for the region, nothing to save, an unusable file).
class SaveError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace qm
