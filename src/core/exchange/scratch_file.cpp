#include "exchange/scratch_file.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "errors.hpp"

namespace qm {

namespace {

[[noreturn]] void fail(const char* what) {
    throw FileError(std::string("Cannot ") + what + " a temporary file: " + std::strerror(errno) +
                    ".");
}

}  // namespace

ScratchFile::ScratchFile() {
    std::error_code ec;
    const auto folder = std::filesystem::temp_directory_path(ec);
    std::string name = (folder / "quillmoor-XXXXXX").string();
    fd_ = ec ? -1 : ::mkstemp(name.data());
    if (fd_ < 0) {
        throw FileError("Cannot create a temporary file in \"" + folder.string() +
                        "\": " + std::strerror(ec ? ec.value() : errno) + ".");
    }
    ::unlink(name.c_str());
}

ScratchFile::~ScratchFile() {
    ::close(fd_);
}

std::string ScratchFile::path() const {
    return "/dev/fd/" + std::to_string(fd_);
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
