#include "io.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>

#include "errors.hpp"
#include "files.hpp"
#include "text.hpp"

namespace qm::cli {

namespace {

bool quietly = false;

}  // namespace

int Fail(std::string_view message) {
    std::cerr << "quillmoor-script: " << message << "\n";
    return kFailed;
}

void Tell(std::string_view line) {
    if (!quietly) {
        std::cout << line << "\n";
    }
}

void SetQuiet(bool quiet) {
    quietly = quiet;
}

Bytes ReadInput(const std::string& path, std::uintmax_t limit) {
    if (path == "-") {
        return ReadStream(STDIN_FILENO, "standard input", limit);
    }
    return RegularFile(path).readAll(limit);
}

void WriteOutput(const std::string& path, std::string_view data) {
    if (path != "-") {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.data());
        WriteFileAtomically(path, std::span<const std::uint8_t>(bytes, data.size()));
        return;
    }
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            throw FileError(std::string("Cannot write to standard output: ") +
                            std::strerror(n < 0 ? errno : EIO) + ".");
        }
        done += static_cast<std::size_t>(n);
    }
}

void RefuseToOverwrite(const std::string& output, const std::string& input) {
    if (output != "-" && SameFile(output, input)) {
        throw FileError("Cannot write " + Quoted(output) + ": it is " + Quoted(input) +
                        " itself, which would be lost.");
    }
}

}  // namespace qm::cli
