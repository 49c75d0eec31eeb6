#pragma once
// Runs quillmoor-script (or the editor) as a user does, capturing status and output.

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#endif

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

#ifdef _WIN32
/// The quoting by which the C runtime splits a command line back into arguments.
inline std::wstring quoteArgument(const std::wstring& arg) {
    std::wstring quoted = L"\"";
    std::size_t slashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++slashes;
            continue;
        }
        quoted.append(c == L'"' ? 2 * slashes + 1 : slashes, L'\\');
        quoted += c;
        slashes = 0;
    }
    return quoted.append(2 * slashes, L'\\') + L"\"";
}

inline HANDLE inheritedFile(const std::filesystem::path& path, bool write) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return ::CreateFileW(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                         write ? CREATE_ALWAYS : OPEN_EXISTING, 0, nullptr);
}

/// Runs the tool (beside the test program) with args, its standard handles on files.
inline ScriptOutcome runScript(const std::vector<std::string>& args,
                               const std::filesystem::path& scratch,
                               const std::string& stdoutTo = "",
                               const std::filesystem::path& stdinFrom = "NUL",
                               const std::string& = "", const std::string& = ">") {
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring cmd = quoteArgument(std::filesystem::path(self).parent_path() / QM_SCRIPT_PATH);
    for (const auto& a : args) {
        cmd += L" " + quoteArgument(std::filesystem::path(std::u8string(a.begin(), a.end())));
    }
    // Fresh names for every run: Wine may still hold the last run's files as
    // "delete pending", and creating one of those names then fails now and again.
    static int runs = 0;
    const std::string n = std::to_string(++runs);
    const auto out = scratch / (".stdout" + n);
    const auto err = scratch / (".stderr" + n);
    STARTUPINFOW start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = inheritedFile(stdinFrom, false);
    start.hStdOutput =
        inheritedFile(stdoutTo.empty() ? out : std::filesystem::path(stdoutTo), true);
    start.hStdError = inheritedFile(err, true);
    PROCESS_INFORMATION process{};
    DWORD status = DWORD(-1);
    // Under Wine on a busy machine a start fails now and again; a second try is
    // not the tool's business to need, so the test harness makes it.
    bool started = false;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        started = ::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                   &start, &process);
        if (!started) {
            ::Sleep(200);
        }
    }
    if (started) {
        ::WaitForSingleObject(process.hProcess, INFINITE);
        ::GetExitCodeProcess(process.hProcess, &status);
        ::CloseHandle(process.hProcess);
        ::CloseHandle(process.hThread);
    }
    for (HANDLE h : {start.hStdInput, start.hStdOutput, start.hStdError}) {
        ::CloseHandle(h);
    }
    ScriptOutcome r{int(status), stdoutTo.empty() ? readText(out) : std::string(), readText(err)};
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return r;
}
#else
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
#endif

}  // namespace qm::testing
