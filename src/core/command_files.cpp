#include "command_files.hpp"

#include "errors.hpp"
#include "files.hpp"
#include "text.hpp"

namespace qm {

Bytes ReadInput(const std::string& path, std::uintmax_t limit) {
    if (path == "-") {
        return ReadStandardInput(limit);
    }
    return RegularFile(path).readAll(limit);
}

void WriteOutput(const std::string& path, std::string_view data) {
    if (path == "-") {
        WriteStandardOutput(data);
        return;
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.data());
    WriteFileAtomically(path, std::span<const std::uint8_t>(bytes, data.size()));
}

void RefuseToOverwrite(const std::string& output, const std::string& input) {
    if (output == "-" ? input != "-" && IsStandardOutput(input) : SameFile(output, input)) {
        throw FileError("Cannot write " +
                        (output == "-" ? std::string("to standard output") : Quoted(output)) +
                        ": it is " + Quoted(input) + " itself, which would be lost.");
    }
}

void RefuseStandardInputTwice(const std::string& first, const std::string& second) {
    if (first == "-" && second == "-") {
        throw FileError(
            "Only one of the inputs can come from standard input (\"-\"): give the other as a "
            "file.");
    }
}

}  // namespace qm
