#include "exchange/csv.hpp"

#include "text.hpp"

namespace qm {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

CsvReader::CsvReader(std::string_view text) : text_(text) {
    if (text_.starts_with(kByteOrderMark)) {
        pos_ = lineStart_ = kByteOrderMark.size();
    }
}

bool CsvReader::next(const FieldSink& sink) {
    if (atEnd()) {
        return false;
    }
    recordLine_ = line_;
    if (atLineEnd()) {
        skipLineEnd();
        return true;
    }
    for (std::size_t column = 0;; ++column) {
        sink(column, at('"') ? readQuoted() : readUnquoted());
        if (atEnd()) {
            return true;
        }
        if (!at(',')) {
            skipLineEnd();
            return true;
        }
        ++pos_;
    }
}

/// Stops at a comma, a line end or the end of the text.
std::string CsvReader::readUnquoted() {
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

std::string CsvReader::readQuoted() {
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
void CsvReader::takeChar(std::string& out) {
    const std::size_t length = Utf8CharLength(text_, pos_);
    if (length == 0) {
        fail("bytes that are not valid UTF-8");
    }
    out.append(text_.substr(pos_, length));
    pos_ += length;
}

bool CsvReader::atLineEnd() const {
    return at('\n') || text_.substr(pos_).starts_with("\r\n");
}

/// Moves past the LF or CRLF at the position.
void CsvReader::skipLineEnd() {
    pos_ += at('\r') ? 2 : 1;
    newLine();
}

/// Called just past a line feed.
void CsvReader::newLine() {
    ++line_;
    lineStart_ = pos_;
}

/// 1-based column in characters; everything before the position is valid UTF-8.
int CsvReader::column() const {
    int count = 1;
    for (std::size_t i = lineStart_; i < pos_; ++i) {
        count += (static_cast<unsigned char>(text_[i]) & 0xC0) != 0x80;
    }
    return count;
}

void CsvReader::fail(const std::string& reason) const {
    throw CsvError(line_, column(), reason);
}

namespace {

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
    std::vector<CsvRecord> records;
    CsvReader reader(text);
    CsvRecord record;
    const auto keep = [&](std::size_t, std::string&& field) {
        record.fields.push_back(std::move(field));
    };
    while (reader.next(keep)) {
        record.line = reader.line();
        records.push_back(std::move(record));
        record = {};
    }
    return records;
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
