#include "io.hpp"

#include <iostream>

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

}  // namespace qm::cli
