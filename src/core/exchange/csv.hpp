#pragma once
// Comma-separated values as RFC 4180 describes them, the way spreadsheets
// exchange tables: records of text fields, UTF-8, with no meaning given to any
// row or column here.

#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

/// One record (line of a table) of a CSV file.
struct CsvRecord {
    std::vector<std::string> fields;  ///< UTF-8, quotes removed, line ends kept as written
    int line = 0;  ///< 1-based line where the record starts; 0 when made in memory

    friend bool operator==(const CsvRecord&, const CsvRecord&) = default;
};

/// A CSV text that cannot be read, or records that cannot be written. what()
/// reads «line 4, column 12: a quoted field has no closing quote»; line() and
/// column() are 1-based (column in characters), 0 when the error has no position.
class CsvError : public std::runtime_error {
  public:
    CsvError(int line, int column, const std::string& reason);
    explicit CsvError(const std::string& message) : std::runtime_error(message) {}
    int line() const { return line_; }
    int column() const { return column_; }

  private:
    int line_ = 0;
    int column_ = 0;
};

/// Reads a CSV text one record at a time and hands each field over as it is
/// read, so that a caller keeps only the columns it needs and memory stays
/// near the text's size, however many fields a line has. The rules are ReadCsv's.
class CsvReader {
  public:
    /// Receives one field (UTF-8, quotes removed) and its 0-based column.
    using FieldSink = std::function<void(std::size_t column, std::string&& field)>;

    explicit CsvReader(std::string_view text);
    /// Reads the next record, handing its fields to sink (none for an empty
    /// line). Returns false, reading nothing, at the end of the text. Throws
    /// CsvError.
    bool next(const FieldSink& sink);
    /// The 1-based line where the record last read starts.
    int line() const { return recordLine_; }

  private:
    std::string readUnquoted();
    std::string readQuoted();
    void takeChar(std::string& out);
    bool atEnd() const { return pos_ >= text_.size(); }
    bool at(char c) const { return pos_ < text_.size() && text_[pos_] == c; }
    bool atLineEnd() const;
    void skipLineEnd();
    void newLine();
    int column() const;
    [[noreturn]] void fail(const std::string& reason) const;

    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t lineStart_ = 0;
    int line_ = 1;
    int recordLine_ = 0;
};

/// Reads a whole CSV text into its records, in file order. Accepts CRLF and LF
/// line ends (the last line may have none), quoted fields holding commas, doubled
/// quotes and line ends (kept as they stand, CRLF included), and a UTF-8 byte
/// order mark at the start (skipped). An empty line is a record without fields;
/// an empty text has no records. Throws CsvError for a quoted field without a
/// closing quote, a character other than a comma or line end after a closing
/// quote, a quote inside an unquoted field, a carriage return outside quotes
/// that no line feed follows, and bytes that are not valid UTF-8.
std::vector<CsvRecord> ReadCsv(std::string_view text);

/// Writes records as CSV text: CRLF after every record, no byte order mark, fields
/// separated by commas. A field is quoted (and its quotes doubled) when it holds a
/// comma, quote, CR or LF, when it starts or ends with a space or tab (readers
/// that trim blanks would lose them), when it starts with a byte order mark, and
/// when it is the only field of its record and empty (an empty line would read
/// back as a record without fields). ReadCsv gives the same fields back. Throws
/// CsvError when a field is not valid UTF-8.
std::string WriteCsv(std::span<const CsvRecord> records);

}  // namespace qm
