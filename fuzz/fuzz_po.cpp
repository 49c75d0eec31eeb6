// libFuzzer target for PO files, in memory: libgettextpo reads only files, so
// each input goes through a scratch file in a memory-backed folder. Any input is read
// into entries or refused with PoError (never an end of the process); a NUL is
// refused; a table read from it names a row only by exactly its number; entries
// that can be written read back the same. Any failed check aborts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "errors.hpp"
#include "exchange/formats.hpp"
#include "exchange/po_file.hpp"

namespace {

using namespace qm;

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_po: check failed: %s\n", what);
        std::abort();
    }
}

bool sameEntries(const std::vector<PoEntry>& a, const std::vector<PoEntry>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].context != b[i].context || a[i].msgid != b[i].msgid ||
            a[i].msgstr != b[i].msgstr || a[i].extractedComments != b[i].extractedComments ||
            (a[i].fuzzy && !a[i].msgstr.empty()) != (b[i].fuzzy && !b[i].msgstr.empty())) {
            return false;
        }
    }
    return true;
}

}  // namespace

// libgettextpo leaks on its own: the name of every file it reads, the strings its
// parser had gathered when it meets a syntax error, the context of every message
// (its message_free never frees it). What the library allocates is its own to
// free, so leaks from inside it are suppressed by module; ours still fail the
// run. The library has no frame pointers, so only the slow unwinder sees whose
// leak it is; the library's own frames lie within the first few of every stack,
// and unwinding no further than 8 makes each input about twice as fast.
extern "C" const char* __asan_default_options() {
    return "fast_unwind_on_malloc=0:malloc_context_size=8";
}

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libgettextpo.so\n";
}

// The scratch file lives where $TMPDIR says: on a disk, emptying it and writing
// it again for every input waits for the disk. A folder in memory, when there is
// one, keeps the target in memory and three to five times faster.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* memory = "/dev/shm";
    std::error_code error;
    if (std::filesystem::is_directory(memory, error) && ::access(memory, W_OK | X_OK) == 0) {
        ::setenv("TMPDIR", memory, 1);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<PoEntry> entries;
    try {
        entries = ReadPo(text);
    } catch (const PoError&) {
        return 0;
    }
    check(text.find('\0') == std::string_view::npos, "a NUL is refused");
    // Inputs this small stay under every size limit, so the table reads too.
    const std::vector<TableRecord> records = TableFromPo(text);
    check(records.size() == entries.size(), "one record per entry");
    for (std::size_t i = 0; i < records.size(); ++i) {
        check(!records[i].row || entries[i].context == std::to_string(*records[i].row + 1),
              "a row is named by exactly its number");
    }
    std::string written;
    try {
        written = WritePo(entries);  // refuses, say, a comment that ends with a backslash
    } catch (const PoError&) {
        return 0;
    }
    check(sameEntries(ReadPo(written), entries), "written entries read back the same");
    return 0;
}
