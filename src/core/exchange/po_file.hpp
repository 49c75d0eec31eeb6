#pragma once
// GNU gettext PO files, read and written by gettext's own library (libgettextpo),
// the way translators exchange texts with their PO editors. Entries are plain
// records here; which row of a table an entry stands for is decided elsewhere.

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

/// Whether this build reads and writes PO files: a build without libgettextpo
/// (Windows: Debian has no build of it there) has every call below throw PoError.
bool PoFilesSupported();

/// One entry of a PO file. All texts are UTF-8.
struct PoEntry {
    std::string context;  ///< msgctxt; an empty context is written as none
    std::string msgid;    ///< the source text; may be empty when context is not
    std::string msgstr;   ///< the translation; empty while untranslated
    bool fuzzy = false;   ///< "#, fuzzy": a translation to check; never set on an empty msgstr
    std::vector<std::string> extractedComments;        ///< "#." lines, one line each
    std::vector<std::string> translatorComments = {};  ///< "# " lines, one line each
    int line = 0;  ///< when read: 1-based line of the entry's msgstr keyword; else 0
};

/// A PO text that cannot be read or entries that cannot be written. what() reads
/// «line 12: end-of-line within string» when the problem has a line (line() then
/// gives it), otherwise just the reason (line() is 0).
class PoError : public std::runtime_error {
  public:
    PoError(int line, const std::string& reason)
        : std::runtime_error(line > 0 ? "line " + std::to_string(line) + ": " + reason : reason),
          line_(line) {}
    int line() const { return line_; }

  private:
    int line_ = 0;
};

/// The bytes of a PO file holding entries in the given order, after a header entry
/// (Project-Id-Version "Quillmoor", an empty Language, charset UTF-8, 8bit, the
/// other fields at their template values so that a PO editor fills them in).
/// Throws PoError, before anything is written, when a text is not UTF-8 or holds
/// a NUL, when an entry has neither context nor msgid (that marks the header), when
/// a comment holds a line break or ends with a backslash, or when two entries share
/// context and msgid; and when the written text does not read back to the same entries (as when the
/// temporary folder is full). The fuzzy flag of an entry with an empty msgstr is not written:
/// gettext reads an untranslated entry as not fuzzy. Throws FileError when no temporary file can be
/// made. Thread-safe; calls into libgettextpo are serialised.
std::string WritePo(std::span<const PoEntry> entries);

/// The entries of a PO text in file order, without its header entry and without
/// obsolete ("#~") entries. The file must be UTF-8: a header naming another
/// charset is refused, a file without a header is read as UTF-8, and a UTF-8
/// byte order mark at the start is skipped. Throws
/// PoError for anything libgettextpo finds wrong (the first problem, with its
/// line), for plural entries, for a "domain" keyword, for text that is not
/// UTF-8, and for a NUL anywhere (raw, or escaped in a string: \0, \x00, ...); FileError when no
/// temporary file can be made. Never ends the process. Thread-safe; calls into libgettextpo are
/// serialised.
std::vector<PoEntry> ReadPo(std::string_view text);

/// The size of a PO text as libgettextpo will see it, counted without parsing
/// it: parsing costs the library some 40 bytes for every line, and more for
/// every entry, whatever the line holds.
struct PoCounts {
    std::size_t lines = 0;
    std::size_t entries = 0;  ///< msgid keywords, the header's and obsolete entries' too
};
PoCounts CountPo(std::string_view text);

}  // namespace qm
