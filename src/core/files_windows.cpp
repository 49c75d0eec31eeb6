// files.hpp on Windows. Every path is UTF-8 up to here and a wide string for
// every call; "the same file" is the volume serial number and the file index.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "errors.hpp"
#include "files.hpp"
#include "files_platform.hpp"
#include "text.hpp"

namespace qm {

namespace fs = std::filesystem;

namespace {

using platform::Fail;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// The most one ReadFile or WriteFile call takes.
constexpr std::size_t kLargestCall = std::size_t{1} << 30;

HANDLE handleOf(FileHandle file) {
    return reinterpret_cast<HANDLE>(file);
}

int lastError() {
    return static_cast<int>(::GetLastError());
}

/// The wide form of a UTF-8 text; false when it is not UTF-8.
bool toWide(const std::string& utf8, std::wstring& out) {
    out.clear();
    if (utf8.empty()) {
        return true;
    }
    const int size = static_cast<int>(utf8.size());
    const int n =
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    if (n <= 0) {
        return false;
    }
    out.resize(static_cast<std::size_t>(n));
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, out.data(), n);
    return true;
}

std::wstring wide(const std::string& path) {
    std::wstring out;
    if (!toWide(path, out)) {
        Fail("use the name", path, ERROR_NO_UNICODE_TRANSLATION);
    }
    return out;
}

std::string utf8(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int n =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(std::max(n, 0)), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

/// Opens path to look at it: no access asked, so folders, devices and files
/// that others hold open all open; links are followed.
HANDLE openToExamine(const std::string& path) {
    std::wstring name;
    if (!toWide(path, name)) {
        ::SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return INVALID_HANDLE_VALUE;
    }
    return ::CreateFileW(name.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

/// What the handle is, when it is a file or folder on a disk (not a device).
bool describe(HANDLE file, BY_HANDLE_FILE_INFORMATION& info) {
    return ::GetFileType(file) == FILE_TYPE_DISK && ::GetFileInformationByHandle(file, &info);
}

std::uintmax_t sizeOf(const BY_HANDLE_FILE_INFORMATION& info) {
    return (std::uintmax_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
}

std::int64_t modifiedOf(const BY_HANDLE_FILE_INFORMATION& info) {
    return static_cast<std::int64_t>((std::uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) |
                                     info.ftLastWriteTime.dwLowDateTime);
}

bool sameFile(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

/// The identity of the existing file at path; false when there is none.
bool identify(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
    const HANDLE file = openToExamine(path);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool known = describe(file, info);
    ::CloseHandle(file);
    return known;
}

/// The path a link leads to, without the «\\?\» that the system puts in front.
std::string finalPath(HANDLE file, const std::string& path) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n =
            ::GetFinalPathNameByHandleW(file, buffer.data(), static_cast<DWORD>(buffer.size()), 0);
        if (n == 0) {
            return path;
        }
        if (n < buffer.size()) {
            buffer.resize(n);
            break;
        }
        buffer.resize(n);
    }
    const std::wstring_view prefix = L"\\\\?\\";
    std::wstring_view result = buffer;
    if (result.starts_with(prefix) && result.size() > 5 && result[5] == L':') {
        result.remove_prefix(prefix.size());
    }
    return utf8(result);
}

}  // namespace

int FileOps::create(const std::string& path, std::uint32_t, FileHandle& file) {
    // A new file takes its folder's access rules; Windows has no umask.
    std::wstring name;
    if (!toWide(path, name)) {
        return ERROR_NO_UNICODE_TRANSLATION;
    }
    const HANDLE h = ::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                   CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    file = reinterpret_cast<FileHandle>(h);
    return h == INVALID_HANDLE_VALUE ? lastError() : 0;
}

int FileOps::write(FileHandle file, const void* data, std::size_t size, std::size_t& written) {
    DWORD n = 0;
    if (!::WriteFile(handleOf(file), data, static_cast<DWORD>(std::min(size, kLargestCall)), &n,
                     nullptr)) {
        return lastError();
    }
    written = n;
    return n == 0 && size > 0 ? ERROR_DISK_FULL : 0;
}

int FileOps::setPermissions(FileHandle file, std::uint32_t permissions) {
    FILE_BASIC_INFO info{};
    constexpr DWORD kKept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                            FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if (!::GetFileInformationByHandleEx(handleOf(file), FileBasicInfo, &info, sizeof info)) {
        return lastError();
    }
    info.FileAttributes =
        (permissions & kKept) != 0 ? (permissions & kKept) : FILE_ATTRIBUTE_NORMAL;
    return ::SetFileInformationByHandle(handleOf(file), FileBasicInfo, &info, sizeof info)
               ? 0
               : lastError();
}

int FileOps::flush(FileHandle file) {
    return ::FlushFileBuffers(handleOf(file)) ? 0 : lastError();
}

int FileOps::close(FileHandle file) {
    return ::CloseHandle(handleOf(file)) ? 0 : lastError();
}

int FileOps::replace(const std::string& from, const std::string& to) {
    std::wstring source;
    std::wstring target;
    if (!toWide(from, source) || !toWide(to, target)) {
        return ERROR_NO_UNICODE_TRANSLATION;
    }
    return ::MoveFileExW(source.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? 0
               : lastError();
}

int FileOps::remove(const std::string& path) {
    std::wstring name;
    if (!toWide(path, name)) {
        return ERROR_NO_UNICODE_TRANSLATION;
    }
    return ::DeleteFileW(name.c_str()) ? 0 : lastError();
}

FileOps& SystemFileOps() {
    static FileOps ops;
    return ops;
}

std::string SystemErrorText(int code) {
    wchar_t* text = nullptr;
    const DWORD n = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = n > 0 ? utf8(std::wstring_view(text, n)) : "";
    ::LocalFree(text);
    while (!message.empty() &&
           (std::isspace(static_cast<unsigned char>(message.back())) || message.back() == '.')) {
        message.pop_back();
    }
    return message.empty() ? "system error " + std::to_string(code) : message;
}

ResolvedFile ResolveFile(const std::string& path) {
    ResolvedFile out;
    out.path = path;
    const HANDLE file = openToExamine(path);
    if (file == INVALID_HANDLE_VALUE) {
        const int error = lastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            return out;
        }
        Fail("examine", path, error);
    }
    out.exists = true;
    BY_HANDLE_FILE_INFORMATION info{};
    if (describe(file, info)) {
        out.isFolder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        out.isRegular = !out.isFolder;
        out.readOnly = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
        out.size = sizeOf(info);
        out.modified = modifiedOf(info);
        out.permissions = info.dwFileAttributes;
        const DWORD own = ::GetFileAttributesW(wide(path).c_str());
        if (own != INVALID_FILE_ATTRIBUTES && (own & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
            out.path = finalPath(file, path);  // a link: what it leads to is replaced
        }
    }
    ::CloseHandle(file);
    return out;
}

std::uint32_t WritableLike(const ResolvedFile& source) {
    return source.permissions & ~std::uint32_t{FILE_ATTRIBUTE_READONLY};
}

RegularFile::RegularFile(const std::string& path) : path_(path) {
    if (path.empty()) {
        throw FileError("No file was chosen.");
    }
    const HANDLE file = ::CreateFileW(wide(path).c_str(), GENERIC_READ, kShareAll, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        Fail("open", path, lastError());
    }
    file_ = reinterpret_cast<FileHandle>(file);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!describe(file, info) || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        const bool folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        ::CloseHandle(file);
        throw FileError("Cannot read " + Quoted(path) + ": " +
                        (folder ? "it is a folder." : "it is not a regular file."));
    }
    size_ = sizeOf(info);
    modified_ = modifiedOf(info);
}

RegularFile::~RegularFile() {
    ::CloseHandle(handleOf(file_));
}

void RegularFile::readAt(std::uintmax_t offset, std::span<std::uint8_t> dest) const {
    std::size_t done = 0;
    while (done < dest.size()) {
        OVERLAPPED at{};
        const std::uintmax_t position = offset + done;
        at.Offset = static_cast<DWORD>(position);
        at.OffsetHigh = static_cast<DWORD>(position >> 32);
        DWORD n = 0;
        const DWORD wanted = static_cast<DWORD>(std::min(dest.size() - done, kLargestCall));
        if (!::ReadFile(handleOf(file_), dest.data() + done, wanted, &n, &at)) {
            Fail("read", path_, lastError());
        }
        if (n == 0) {
            Fail("read", path_, ERROR_HANDLE_EOF);
        }
        done += n;
    }
}

Bytes ReadStandardInput(std::uintmax_t limit) {
    Bytes bytes;
    std::uint8_t buffer[1 << 16];
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    for (;;) {
        DWORD n = 0;
        if (!::ReadFile(input, buffer, sizeof buffer, &n, nullptr)) {
            if (::GetLastError() == ERROR_BROKEN_PIPE) {
                return bytes;  // the writing end has closed: the end of the input
            }
            throw FileError("Cannot read standard input: " + SystemErrorText(lastError()) + ".");
        }
        if (n == 0) {
            return bytes;
        }
        if (bytes.size() + n > limit) {
            throw FileError("Cannot read standard input: it holds more than the " +
                            BytesText(limit) + " allowed.");
        }
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
}

void WriteStandardOutput(std::string_view data) {
    // Straight to the handle: the C runtime's text mode would turn LF into CRLF.
    const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    while (!data.empty()) {
        DWORD n = 0;
        if (!::WriteFile(output, data.data(),
                         static_cast<DWORD>(std::min(data.size(), kLargestCall)), &n, nullptr) ||
            n == 0) {
            throw FileError("Cannot write to standard output: " +
                            SystemErrorText(n == 0 ? ERROR_WRITE_FAULT : lastError()) + ".");
        }
        data.remove_prefix(n);
    }
}

bool SameFile(const std::string& a, const std::string& b) {
    BY_HANDLE_FILE_INFORMATION ia{};
    BY_HANDLE_FILE_INFORMATION ib{};
    return identify(a, ia) && identify(b, ib) && sameFile(ia, ib);
}

bool IsStandardOutput(const std::string& path) {
    BY_HANDLE_FILE_INFORMATION output{};
    BY_HANDLE_FILE_INFORMATION file{};
    return describe(::GetStdHandle(STD_OUTPUT_HANDLE), output) && identify(path, file) &&
           sameFile(output, file);
}

void PrepareProcess() {
    ::SetConsoleOutputCP(CP_UTF8);  // the messages are UTF-8
    // Lines end in LF as on every other system: the same bytes wherever they go.
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
}

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (arguments == nullptr) {
        return std::vector<std::string>(argv, argv + argc);
    }
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i) {
        out.push_back(utf8(arguments[i]));
    }
    ::LocalFree(arguments);
    return out;
}

namespace platform {

fs::path NativePath(const std::string& utf8Path) {
    return fs::path(wide(utf8Path));
}

std::string Utf8Path(const fs::path& path) {
    return utf8(path.native());
}

bool IsSeparator(char c) {
    return c == '/' || c == '\\' || c == ':';  // «C:name» lies in drive C's current folder
}

std::uint32_t ProcessId() {
    return ::GetCurrentProcessId();
}

bool ProcessGone(std::uint32_t pid) {
    const HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (process == nullptr) {
        return ::GetLastError() == ERROR_INVALID_PARAMETER;  // no such process
    }
    const bool ended = ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    ::CloseHandle(process);
    return ended;
}

bool OwnedByUs(const std::string&) {
    return true;  // the folder's access rules already keep others' files from us
}

void KeepOwner(FileHandle, const std::string&) {}  // a new file takes its folder's rules

void SyncFolder(const std::string&) {}  // MOVEFILE_WRITE_THROUGH has done it

}  // namespace platform

}  // namespace qm
