// Whole-file access for the native build: wide paths become UTF-8 for POSIX.
#include "storage/FileIO.h"

#include "storage/TextCodec.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvo::fileio {
namespace {

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closing can report a failed delayed write, so callers that write check it.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

std::string nativePath(const std::wstring& path) {
    return toUtf8(path);
}

bool statPath(const std::wstring& path, struct stat& st) {
    return !path.empty() && ::stat(nativePath(path).c_str(), &st) == 0;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::string parentFolder(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Unique within the process and across processes, in the target's folder so
// that the rename never crosses file systems.
std::string temporaryPathFor(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    return path + ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(++counter);
}

// The rename itself is only durable once the folder entry is on disk.
void syncFolder(const std::string& folder) {
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid())
        ::fsync(dir.get());
}

} // namespace

std::optional<std::string> readFile(const std::wstring& path) {
    FileDescriptor fd(::open(nativePath(path).c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st {};
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            return bytes;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

bool writeFileAtomic(const std::wstring& path, std::string_view bytes) {
    if (path.empty())
        return false;
    const std::string target = nativePath(path);
    const std::string temporary = temporaryPathFor(target);
    struct stat existing {};
    const bool replacing = ::stat(target.c_str(), &existing) == 0;
    FileDescriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!fd.valid())
        return false;
    bool ok = writeAll(fd.get(), bytes);
    if (ok && replacing) // keep the permissions the user gave the file
        ok = ::fchmod(fd.get(), existing.st_mode & 07777) == 0;
    ok = ok && ::fsync(fd.get()) == 0;
    ok = fd.close() && ok;
    ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    syncFolder(parentFolder(target));
    return true;
}

bool fileExists(const std::wstring& path) {
    struct stat st {};
    return statPath(path, st) && S_ISREG(st.st_mode);
}

bool directoryExists(const std::wstring& path) {
    struct stat st {};
    return statPath(path, st) && S_ISDIR(st.st_mode);
}

bool createDirectories(const std::wstring& path) {
    if (path.empty())
        return false;
    const std::string target = nativePath(path);
    // Each prefix ending before a '/' is a parent; the whole path comes last.
    for (std::size_t end = target.find('/', 1);; end = target.find('/', end + 1)) {
        const std::string prefix = target.substr(0, end);
        struct stat st {};
        // An existing parent may still refuse mkdir (read-only mount, no rights).
        if (!prefix.empty() && prefix.back() != '/' && ::mkdir(prefix.c_str(), 0777) != 0 &&
            !(::stat(prefix.c_str(), &st) == 0 && S_ISDIR(st.st_mode)))
            return false;
        if (end == std::string::npos)
            break;
    }
    return directoryExists(path);
}

bool removeFile(const std::wstring& path) {
    return !path.empty() && ::unlink(nativePath(path).c_str()) == 0;
}

} // namespace kelvo::fileio
