#pragma once
// Runs quillmoor-script as a user does, capturing its exit status and output.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace qm::testing {

struct ScriptOutcome {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string slurpFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline std::string shellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return q + "'";
}

/// Runs the tool with args; its output goes through files in scratch (removed
/// after), or to stdoutTo when given; standard input comes from stdinFrom.
inline ScriptOutcome runScript(const std::vector<std::string>& args,
                               const std::filesystem::path& scratch,
                               const std::string& stdoutTo = "",
                               const std::filesystem::path& stdinFrom = "/dev/null") {
    std::string cmd = shellQuote(QM_SCRIPT_PATH);
    for (const auto& a : args) {
        cmd += " " + shellQuote(a);
    }
    const auto out = scratch / ".stdout";
    const auto err = scratch / ".stderr";
    cmd += " <" + shellQuote(stdinFrom.string()) + " >" +
           shellQuote(stdoutTo.empty() ? out.string() : stdoutTo) + " 2>" +
           shellQuote(err.string());
    const int raw = std::system(cmd.c_str());
    ScriptOutcome r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = slurpFile(out);
    r.err = slurpFile(err);
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return r;
}

}  // namespace qm::testing
