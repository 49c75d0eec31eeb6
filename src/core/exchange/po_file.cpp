#include "exchange/po_file.hpp"

#include <gettext-po.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <type_traits>
#include <utility>

#include "exchange/po_scan.hpp"
#include "exchange/scratch_file.hpp"
#include "text.hpp"

namespace qm {

namespace {

constexpr const char* kHeader =
    "Project-Id-Version: Quillmoor\n"
    "Report-Msgid-Bugs-To: \n"
    "PO-Revision-Date: YEAR-MO-DA HO:MI+ZONE\n"
    "Last-Translator: FULL NAME <EMAIL@ADDRESS>\n"
    "Language-Team: LANGUAGE <LL@li.org>\n"
    "Language: \n"
    "MIME-Version: 1.0\n"
    "Content-Type: text/plain; charset=UTF-8\n"
    "Content-Transfer-Encoding: 8bit\n";

// ---- Reports from libgettextpo ------------------------------------------------

/// What libgettextpo reports during one ReadPo or WritePo.
struct Report {
    std::jmp_buf fatal;  ///< where a fatal report jumps back to
    int errors = 0;
    int firstLine = 0;
    std::string firstText;
    po_message_t locate = nullptr;  ///< while set, only this message's line is wanted
    int located = 0;
};

// libgettextpo keeps its handler in process-wide pointers, so one call at a time.
std::mutex gMutex;
Report* gReport = nullptr;

int lineOf(const char* filename, std::size_t lineno) {
    return filename == nullptr || lineno == static_cast<std::size_t>(-1) || lineno > INT_MAX
               ? 0
               : static_cast<int>(lineno);
}

void note(int severity, po_message_t message, int line, const char* text) {
    Report& report = *gReport;
    if (report.locate != nullptr) {
        if (message == report.locate) {
            report.located = line;
        }
    } else if (severity != PO_SEVERITY_WARNING && report.errors++ == 0) {
        report.firstLine = line;
        report.firstText = text;
        while (!report.firstText.empty() && report.firstText.back() == '\n') {
            report.firstText.pop_back();
        }
    }
}

// A fatal report must not return (the library's own handler calls exit): jump
// back to the guarded call instead. note() has returned by then, so the jump
// skips no destructor.
void onError(int severity, po_message_t message, const char* filename, std::size_t lineno,
             std::size_t, int, const char* text) {
    if (gReport == nullptr) {
        if (severity == PO_SEVERITY_FATAL_ERROR) {
            std::abort();  // unreachable: every call that reports runs in a Session
        }
        return;
    }
    note(severity, message, lineOf(filename, lineno), text);
    if (severity == PO_SEVERITY_FATAL_ERROR) {
        std::longjmp(gReport->fatal, 1);
    }
}

void onError2(int severity, po_message_t message, const char* filename, std::size_t lineno,
              std::size_t column, int multiline, const char* text, po_message_t, const char*,
              std::size_t, std::size_t, int, const char*) {
    onError(severity, message, filename, lineno, column, multiline, text);
}

// Our handler does not count errors in glibc's error_message_count, so a file
// with errors is read to its end and returned: libgettextpo raises its closing
// fatal report ("found N fatal errors") only when that count is above zero.
const po_xerror_handler kHandler = {onError, onError2};

/// Holds the lock, the report and the scratch file for one ReadPo or WritePo.
struct Session {
    Session() : lock(gMutex) { gReport = &report; }
    ~Session() { gReport = nullptr; }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    /// The file libgettextpo reads or writes, empty: one for the process, made
    /// when first needed, as making one for every call costs more than the call.
    ScratchFile& scratch() {
        static std::optional<ScratchFile> file;
        if (!file) {
            file.emplace();
        }
        file->clear();
        return *file;
    }

    std::lock_guard<std::mutex> lock;
    Report report;
};

PoError reportedError(const Report& report, const std::string& fallback) {
    if (report.errors == 0) {
        return PoError(0, fallback);
    }
    std::string text = report.firstText;
    if (report.errors > 1) {
        text += " (and " + std::to_string(report.errors - 1) + " more errors)";
    }
    return PoError(report.firstLine, text);
}

// setjmp's frame holds no object with a destructor, as a longjmp into it requires.
po_file_t guardedRead(Report& report, const char* path) {
    if (setjmp(report.fatal) != 0) {
        return nullptr;  // libgettextpo's half-read catalog and its open FILE leak
    }
    return po_file_read(path, &kHandler);
}

bool guardedWrite(Report& report, po_file_t file, const char* path) {
    if (setjmp(report.fatal) != 0) {
        return false;
    }
    po_file_write(file, path, &kHandler);
    return true;
}

/// libgettextpo keeps the line of each message's msgstr but has no getter for it;
/// its format check reports that line, so give the message a c-format mismatch
/// and catch the report. This overwrites the message's texts: read them first.
int locate(Report& report, po_message_t message) {
    po_message_set_msgid_plural(message, nullptr);
    po_message_set_msgid(message, "%d");
    po_message_set_msgstr(message, "%s");
    po_message_set_format(message, "c-format", 1);
    report.locate = message;
    report.located = 0;
    po_message_check_format(message, &kHandler);
    report.locate = nullptr;
    return report.located;
}

// ---- The file libgettextpo reads or writes -------------------------------------

struct PoFileFree {
    void operator()(po_file_t file) const { po_file_free(file); }
};
struct PoIteratorFree {
    void operator()(po_message_iterator_t it) const { po_message_iterator_free(it); }
};
using PoFile = std::unique_ptr<std::remove_pointer_t<po_file_t>, PoFileFree>;
using PoIterator = std::unique_ptr<std::remove_pointer_t<po_message_iterator_t>, PoIteratorFree>;

// ---- Entries -------------------------------------------------------------------

std::string joinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line + '\n';
    }
    return text;
}

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    for (std::size_t end; (end = text.find('\n')) != std::string_view::npos;
         text.remove_prefix(end + 1)) {
        lines.emplace_back(text.substr(0, end));
    }
    if (!text.empty()) {
        lines.emplace_back(text);
    }
    return lines;
}

bool isText(std::string_view s) {
    return FindInvalidUtf8(s) == std::string_view::npos && s.find('\0') == std::string_view::npos;
}

bool isUtf8(const PoEntry& e) {
    return isText(e.context) && isText(e.msgid) && isText(e.msgstr) &&
           std::all_of(e.extractedComments.begin(), e.extractedComments.end(), isText) &&
           std::all_of(e.translatorComments.begin(), e.translatorComments.end(), isText);
}

// gettext reads an untranslated entry as not fuzzy, so none is written so.
bool isFuzzy(const PoEntry& e) {
    return e.fuzzy && !e.msgstr.empty();
}

bool sameContent(const PoEntry& a, const PoEntry& b) {
    return a.context == b.context && a.msgid == b.msgid && a.msgstr == b.msgstr &&
           isFuzzy(a) == isFuzzy(b) && a.extractedComments == b.extractedComments &&
           a.translatorComments == b.translatorComments;
}

void checkForWriting(std::span<const PoEntry> entries) {
    std::map<std::pair<std::string, std::string>, std::size_t> seen;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const PoEntry& e = entries[i];
        const std::string where = "entry " + std::to_string(i + 1) + ": ";
        if (!isUtf8(e)) {
            throw PoError(0, where + "a text that is not UTF-8 or holds a NUL character");
        }
        if (e.context.empty() && e.msgid.empty()) {
            throw PoError(0, where + "an empty msgid needs a context (alone it marks the header)");
        }
        for (const auto* comments : {&e.extractedComments, &e.translatorComments}) {
            for (const auto& comment : *comments) {
                // gettext joins a line that ends with a backslash to the next one.
                if (comment.find_first_of("\r\n") != std::string::npos || comment.ends_with('\\')) {
                    throw PoError(0, where + "a comment holds a line break or ends with \\");
                }
            }
        }
        const auto [it, added] = seen.emplace(std::pair(e.context, e.msgid), i);
        if (!added) {
            throw PoError(0, "entries " + std::to_string(it->second + 1) + " and " +
                                 std::to_string(i + 1) + " have the same context and msgid");
        }
    }
}

po_message_t makeMessage(const char* context, const std::string& msgid, const std::string& msgstr) {
    po_message_t message = po_message_create();
    po_message_set_msgctxt(message, context);
    po_message_set_msgid(message, msgid.c_str());
    po_message_set_msgstr(message, msgstr.c_str());
    return message;
}

void fill(po_file_t file, std::span<const PoEntry> entries) {
    PoIterator it(po_message_iterator(file, nullptr));
    po_message_insert(it.get(), makeMessage(nullptr, "", kHeader));
    for (const PoEntry& e : entries) {
        po_message_t message =
            makeMessage(e.context.empty() ? nullptr : e.context.c_str(), e.msgid, e.msgstr);
        po_message_set_fuzzy(message, isFuzzy(e));
        po_message_set_extracted_comments(message, joinLines(e.extractedComments).c_str());
        po_message_set_comments(message, joinLines(e.translatorComments).c_str());
        po_message_insert(it.get(), message);
    }
}

/// Refuses a header that names a charset other than UTF-8 (or its ASCII subset):
/// libgettextpo hands texts over in the file's charset without converting them.
void checkCharset(Report& report, po_message_t header) {
    std::unique_ptr<char, decltype(&std::free)> type(
        po_header_field(po_message_msgstr(header), "Content-Type"), &std::free);
    const std::string_view value = type ? type.get() : "";
    const std::size_t at = value.find("charset=");
    if (at == std::string_view::npos) {
        return;
    }
    std::string charset(value.substr(at + 8));
    charset.erase(charset.find_last_not_of(" \t") + 1);
    std::string lower = charset;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const char* ok : {"utf-8", "utf8", "ascii", "us-ascii", "charset"}) {
        if (lower == ok) {
            return;
        }
    }
    throw PoError(locate(report, header),
                  "the file is in the character set " + charset + "; save it as UTF-8");
}

std::vector<PoEntry> readEntries(Report& report, po_file_t file) {
    const char* const* domains = po_file_domains(file);
    for (; *domains != nullptr; ++domains) {
        if (std::strcmp(*domains, "messages") != 0) {
            throw PoError(0, "the file uses the \"domain\" keyword, which is not supported");
        }
    }
    std::vector<PoEntry> entries;
    std::vector<po_message_t> messages;
    PoIterator it(po_message_iterator(file, nullptr));
    while (po_message_t message = po_next_message(it.get())) {
        const char* context = po_message_msgctxt(message);
        if (po_message_is_obsolete(message)) {
            continue;
        }
        if (context == nullptr && *po_message_msgid(message) == '\0') {
            checkCharset(report, message);
            continue;
        }
        if (po_message_msgid_plural(message) != nullptr) {
            throw PoError(locate(report, message),
                          "plural entries (msgid_plural) are not supported");
        }
        entries.push_back({context != nullptr ? context : "", po_message_msgid(message),
                           po_message_msgstr(message), po_message_is_fuzzy(message) != 0,
                           splitLines(po_message_extracted_comments(message)),
                           splitLines(po_message_comments(message))});
        messages.push_back(message);
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i].line = locate(report, messages[i]);
        if (!isUtf8(entries[i])) {
            throw PoError(entries[i].line, "text that is not UTF-8");
        }
    }
    return entries;
}

}  // namespace

PoCounts CountPo(std::string_view text) {
    return ScanPo(text).counts;
}

bool PoFilesSupported() {
    return true;
}

std::string WritePo(std::span<const PoEntry> entries) {
    checkForWriting(entries);
    std::string text;
    {
        Session session;
        ScratchFile& scratch = session.scratch();
        PoFile file(po_file_create());
        fill(file.get(), entries);
        if (!guardedWrite(session.report, file.get(), scratch.path().c_str())) {
            file.release();  // abandoned mid-write: leak it rather than free what may be half-done
            throw reportedError(session.report, "cannot write the PO file");
        }
        if (session.report.errors > 0) {
            throw reportedError(session.report, "");
        }
        text = scratch.readAll();
    }
    // libgettextpo does not report a failed write (a full disk leaves a short
    // file), so the text must read back to what was asked for.
    const std::vector<PoEntry> back = ReadPo(text);
    if (!std::equal(back.begin(), back.end(), entries.begin(), entries.end(), sameContent)) {
        throw PoError(0,
                      "the PO text did not read back as written (is the temporary folder full?)");
    }
    return text;
}

std::vector<PoEntry> ReadPo(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);  // some editors mark UTF-8 so; gettext would call it a syntax error
    }
    if (const int line = ScanPo(text).nulLine) {
        throw PoError(line, "a NUL character, which no text may hold");
    }
    Session session;
    ScratchFile& scratch = session.scratch();
    scratch.write(text);
    PoFile file(guardedRead(session.report, scratch.path().c_str()));
    if (file == nullptr || session.report.errors > 0) {
        throw reportedError(session.report, "cannot read the PO file");
    }
    return readEntries(session.report, file.get());
}

}  // namespace qm
