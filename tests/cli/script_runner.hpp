#pragma once
// Runs quillmoor-script (or the editor) as a user does, capturing status and output.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "fixtures/rom_builder.hpp"

namespace qm::testing {

struct ScriptOutcome {
    int status = -1;
    std::string out;
    std::string err;
};

/// Runs the tool with args; its output goes through files in scratch (removed
/// after), or to stdoutTo when given, opened by the shell's redirect; standard
/// input comes from stdinFrom; the shell runs `before` first ("umask 077;").
/// program is the tool unless another is given.
inline ScriptOutcome runScript(const std::vector<std::string>& args,
                               const std::filesystem::path& scratch,
                               const std::string& stdoutTo = "",
                               const std::filesystem::path& stdinFrom = "/dev/null",
                               const std::string& before = "", const std::string& redirect = ">",
                               const std::string& program = QM_SCRIPT_PATH) {
    const auto quote = [](const std::string& s) {
        std::string q = "'";
        for (char c : s) {
            q += c == '\'' ? std::string("'\\''") : std::string(1, c);
        }
        return q + "'";
    };
    const auto out = scratch / ".stdout";
    const auto err = scratch / ".stderr";
    std::string cmd = before + quote(program);
    for (const auto& a : args) {
        cmd += " " + quote(a);
    }
    cmd += " <" + quote(stdinFrom.string()) + " " + redirect +
           quote(stdoutTo.empty() ? out.string() : stdoutTo) + " 2>" + quote(err.string());
    const int raw = std::system(cmd.c_str());
    ScriptOutcome r{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1,
                    stdoutTo.empty() ? readText(out) : std::string(), readText(err)};
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return r;
}

}  // namespace qm::testing
