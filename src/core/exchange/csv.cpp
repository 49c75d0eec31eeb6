#include "exchange/csv.hpp"

#include "text.hpp"

namespace qm {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

/// Reads one text front to back, keeping the line and the start of the line
/// so that an error can say where it is.
class CsvReader {
  public:
    explicit CsvReader(std::string_view text) : text_(text) {
        if (text_.starts_with(kByteOrderMark)) {
            pos_ = lineStart_ = kByteOrderMark.size();
        }
    }

    std::vector<CsvRecord> readAll() {
        std::vector<CsvRecord> records;
        while (!atEnd()) {
            records.push_back(readRecord());
        }
        return records;
    }

  private:
    CsvRecord readRecord() {
        CsvRecord record;
        record.line = line_;
        if (atLineEnd()) {
            skipLineEnd();
            return record;
        }
        for (;;) {
            record.fields.push_back(at('"') ? readQuoted() : readUnquoted());
            if (atEnd()) {
                return record;
            }
            if (!at(',')) {
                skipLineEnd();
                return record;
            }
            ++pos_;
        }
    }

    /// Stops at a comma, a line end or the end of the text.
    std::string readUnquoted() {
        std::string field;
        while (!atEnd() && !at(',') && !atLineEnd()) {
            if (at('"')) {
                fail("a quote inside an unquoted field (quote the whole field)");
            }
            if (at('\r')) {
                fail("a carriage return without a line feed outside quotes");
            }
            takeChar(field);
        }
        return field;
    }

    std::string readQuoted() {
        const int openLine = line_;
        const int openColumn = column();
        std::string field;
        ++pos_;
        for (;;) {
            if (atEnd()) {
                throw CsvError(openLine, openColumn, "a quoted field has no closing quote");
            }
            if (at('"')) {
                if (text_.substr(pos_).starts_with("\"\"")) {
                    field += '"';
                    pos_ += 2;
                    continue;
                }
                ++pos_;
                if (!atEnd() && !at(',') && !atLineEnd()) {
                    fail("a closing quote followed by something other than a comma or a line end");
                }
                return field;
            }
            if (at('\n')) {
                field += '\n';
                ++pos_;
                newLine();
            } else {
                takeChar(field);
            }
        }
    }

    /// Appends the UTF-8 character at the position to out and moves past it.
    void takeChar(std::string& out) {
        const std::size_t length = Utf8CharLength(text_, pos_);
        if (length == 0) {
            fail("bytes that are not valid UTF-8");
        }
        out.append(text_.substr(pos_, length));
        pos_ += length;
    }

    bool atEnd() const { return pos_ >= text_.size(); }
    bool at(char c) const { return pos_ < text_.size() && text_[pos_] == c; }
    bool atLineEnd() const { return at('\n') || text_.substr(pos_).starts_with("\r\n"); }
    /// Moves past the LF or CRLF at the position.
    void skipLineEnd() {
        pos_ += at('\r') ? 2 : 1;
        newLine();
    }
    /// Called just past a line feed.
    void newLine() {
        ++line_;
        lineStart_ = pos_;
    }

    /// 1-based column in characters; everything before the position is valid UTF-8.
    int column() const {
        int count = 1;
        for (std::size_t i = lineStart_; i < pos_; ++i) {
            count += (static_cast<unsigned char>(text_[i]) & 0xC0) != 0x80;
        }
        return count;
    }

    [[noreturn]] void fail(const std::string& reason) const {
        throw CsvError(line_, column(), reason);
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t lineStart_ = 0;
    int line_ = 1;
};

bool needsQuotes(std::string_view field, bool onlyField) {
    if (field.empty()) {
        return onlyField;
    }
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    return field.find_first_of(",\"\r\n") != std::string_view::npos || blank(field.front()) ||
           blank(field.back()) || field.starts_with(kByteOrderMark);
}

}  // namespace

CsvError::CsvError(int line, int column, const std::string& reason)
    : std::runtime_error("line " + std::to_string(line) + ", column " + std::to_string(column) +
                         ": " + reason),
      line_(line),
      column_(column) {}

std::vector<CsvRecord> ReadCsv(std::string_view text) {
    return CsvReader(text).readAll();
}

std::string WriteCsv(std::span<const CsvRecord> records) {
    std::string out;
    for (std::size_t r = 0; r < records.size(); ++r) {
        const auto& fields = records[r].fields;
        for (std::size_t f = 0; f < fields.size(); ++f) {
            const std::string& field = fields[f];
            if (FindInvalidUtf8(field) != std::string_view::npos) {
                throw CsvError("record " + std::to_string(r + 1) + ", field " +
                               std::to_string(f + 1) + ": bytes that are not valid UTF-8");
            }
            if (f > 0) {
                out += ',';
            }
            if (!needsQuotes(field, fields.size() == 1)) {
                out += field;
                continue;
            }
            out += '"';
            for (char c : field) {
                if (c == '"') {
                    out += '"';
                }
                out += c;
            }
            out += '"';
        }
        out += "\r\n";
    }
    return out;
}

}  // namespace qm
