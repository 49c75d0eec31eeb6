#include <fstream>
#include <iostream>

#include "commands.hpp"
#include "demo/demo.hpp"
#include "rom/layout.hpp"

namespace qm::cli {

int runDemo(const std::string& outPath) {
    const Bytes image = BuildDemoImage();
    std::ofstream out(outPath, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image.data()),
              static_cast<std::streamsize>(image.size()));
    out.close();
    if (!out) {
        std::cerr << "quillmoor-script: Cannot write \"" << outPath << "\".\n";
        return 1;
    }
    std::cout << "Wrote a demo ROM image with " << kStringCount << " strings to " << outPath
              << "\n";
    return 0;
}

}  // namespace qm::cli
