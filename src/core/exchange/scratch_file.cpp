#include "exchange/scratch_file.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "errors.hpp"
#include "text.hpp"

namespace qm {

namespace {

[[noreturn]] void fail(const char* what) {
    throw FileError(std::string("Cannot ") + what + " a temporary file: " + std::strerror(errno) +
                    ".");
}

/// The folder the environment names for temporary files, as the standard
/// library looks for it, or /tmp.
std::string temporaryFolder() {
    for (const char* variable : {"TMPDIR", "TMP", "TEMP", "TEMPDIR"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return value;
        }
    }
    return "/tmp";
}

}  // namespace

ScratchFile::ScratchFile() {
    const std::string folder = temporaryFolder();
    std::string name = folder + "/quillmoor-XXXXXX";
    fd_ = ::mkstemp(name.data());
    if (fd_ < 0) {
        throw FileError("Cannot create a temporary file in " + Quoted(folder) + ": " +
                        std::strerror(errno) + ".");
    }
    ::unlink(name.c_str());
}

ScratchFile::~ScratchFile() {
    ::close(fd_);
}

std::string ScratchFile::path() const {
    return "/dev/fd/" + std::to_string(fd_);
}

void ScratchFile::clear() {
    if (::ftruncate(fd_, 0) != 0 || ::lseek(fd_, 0, SEEK_SET) != 0) {
        fail("empty");
    }
}

void ScratchFile::write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0 && errno != EINTR) {
            fail("write");
        }
        bytes.remove_prefix(n > 0 ? static_cast<std::size_t>(n) : 0);
    }
}

std::string ScratchFile::readAll() const {
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::pread(fd_, buffer, sizeof buffer, static_cast<off_t>(bytes.size()));
        if (n == 0) {
            return bytes;
        }
        if (n < 0 && errno != EINTR) {
            fail("read");
        }
        bytes.append(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
    }
}

}  // namespace qm
