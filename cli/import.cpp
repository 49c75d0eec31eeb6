#include <iostream>

#include "commands.hpp"

namespace qm::cli {

int runImport(const std::string&, const std::string&, bool) {
    std::cerr << "import: not available yet\n";
    return 1;
}

}  // namespace qm::cli
