// Whole-file access through the wide Win32 file functions.
#include "storage/FileIO.h"

#include <windows.h>

#include <atomic>
#include <climits>

namespace kelvo::fileio {
namespace {

class FileHandle {
  public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (valid())
            CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool close() {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return CloseHandle(handle) != FALSE;
    }

  private:
    HANDLE handle_;
};

bool isSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

DWORD attributesOf(const std::wstring& path) {
    return path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
}

bool writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk =
            bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

std::wstring temporaryPathFor(const std::wstring& path) {
    static std::atomic<unsigned> counter{0};
    return path + L".tmp" + std::to_wstring(GetCurrentProcessId()) + L"_" +
           std::to_wstring(++counter);
}

// A scanner or indexer may hold the target open for a moment; the rename is
// tried again briefly before the write counts as failed.
bool moveOver(const std::wstring& from, const std::wstring& to) {
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExW(from.c_str(), to.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = GetLastError();
        if (attempt == 4 || (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION))
            return false;
        Sleep(20);
    }
}

// Where the folders that can be created begin: after "C:\" or "\\server\share\".
std::size_t firstCreatableComponent(const std::wstring& path) {
    if (path.size() >= 2 && path[1] == L':')
        return path.size() > 2 && isSeparator(path[2]) ? 3 : 2;
    if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1])) {
        std::size_t separators = 0;
        for (std::size_t i = 2; i < path.size(); ++i) {
            if (isSeparator(path[i]) && ++separators == 2)
                return i + 1;
        }
        return path.size();
    }
    return isSeparator(path[0]) ? 1 : 0;
}

} // namespace

std::optional<std::string> readFile(const std::wstring& path) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file.valid() || !GetFileSizeEx(file.get(), &size) || size.QuadPart > INT_MAX)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(file.get(), bytes.data() + filled, static_cast<DWORD>(bytes.size() - filled),
                      &got, nullptr))
            return std::nullopt;
        if (got == 0)
            break; // the file shrank meanwhile
        filled += got;
    }
    bytes.resize(filled);
    return bytes;
}

bool writeFileAtomic(const std::wstring& path, std::string_view bytes) {
    if (path.empty())
        return false;
    const std::wstring temporary = temporaryPathFor(path);
    FileHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return false;
    bool ok = writeAll(file.get(), bytes);
    ok = ok && FlushFileBuffers(file.get());
    ok = file.close() && ok;
    ok = ok && moveOver(temporary, path);
    if (!ok)
        DeleteFileW(temporary.c_str());
    return ok;
}

bool fileExists(const std::wstring& path) {
    const DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool directoryExists(const std::wstring& path) {
    const DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool createDirectories(const std::wstring& path) {
    if (path.empty())
        return false;
    // Each prefix ending before a separator is a parent; the whole path comes last.
    for (std::size_t i = firstCreatableComponent(path); i <= path.size(); ++i) {
        if (i < path.size() && !isSeparator(path[i]))
            continue;
        if (i == 0 || isSeparator(path[i - 1]))
            continue; // doubled or trailing separator
        const std::wstring prefix = path.substr(0, i);
        // An existing parent may refuse creation (a drive root, no rights).
        if (!CreateDirectoryW(prefix.c_str(), nullptr) && !directoryExists(prefix))
            return false;
    }
    return directoryExists(path);
}

bool removeFile(const std::wstring& path) {
    return DeleteFileW(path.c_str()) != FALSE;
}

} // namespace kelvo::fileio
