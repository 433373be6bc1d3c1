#include "text/TextFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "core/CNotifier.h"

namespace {

// Owns a file descriptor.
class FileHandle {
public:
    explicit FileHandle(int descriptor) : fd(descriptor) {}
    ~FileHandle() {
        if (fd >= 0) {
            close(fd);
        }
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int Get() const { return fd; }
    bool Close() {
        const int result = close(fd);
        fd = -1;
        return result == 0;
    }

private:
    int fd;
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::string ReadUpTo(int fd, std::size_t limit) {
    std::string contents;
    char buffer[65536];
    while (contents.size() < limit) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        contents.append(buffer, static_cast<std::size_t>(got));
    }
    if (contents.size() > limit) {
        contents.resize(limit);
    }
    return contents;
}

// Follows symbolic links so that the rename replaces the file the link points to, not the link.
std::string ResolveTarget(const std::string& path) {
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) != nullptr) {
        return resolved;
    }
    return path;
}

}  // namespace

std::optional<std::string> ReadFileBytes(const std::string& path, EmptyFile empty) {
    FileHandle file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (file.Get() < 0) {
        return std::nullopt;
    }
    struct stat info {};
    if (fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    std::string contents = ReadUpTo(file.Get(), kMaxFileBytes);
    if (contents.empty() && empty == EmptyFile::Missing) {
        return std::nullopt;
    }
    return contents;
}

std::optional<int> UnreadableReason(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return errno == ENOENT ? std::nullopt : std::optional<int>(errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    }
    FileHandle file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (file.Get() < 0) {
        return errno;
    }
    return std::nullopt;
}

namespace {

enum class Writing { kReplace, kAppend };

// Whether `target` may be written: missing (it will be made), or a regular file the user may
// write. `info` gets what the target is; errno says why not.
bool MayWrite(const std::string& target, struct stat& info, bool& exists) {
    exists = stat(target.c_str(), &info) == 0;
    if (!exists) {
        return errno == ENOENT;
    }
    if (!S_ISREG(info.st_mode)) {
        errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        return false;
    }
    // The owner's write bit counts even for root, who could otherwise overwrite anything.
    if ((info.st_mode & S_IWUSR) == 0) {
        errno = EACCES;
        return false;
    }
    return access(target.c_str(), W_OK) == 0;
}

bool Write(const std::string& path, std::string_view bytes, Writing writing) {
    const bool append = writing != Writing::kReplace;
    const std::string target = ResolveTarget(path);
    std::string contents;
    std::optional<mode_t> keptMode;
    struct stat info {};
    bool exists = false;
    if (!MayWrite(target, info, exists)) {
        return false;
    }
    if (exists) {
        keptMode = info.st_mode & 07777;
        if (append) {
            FileHandle existing(open(target.c_str(), O_RDONLY | O_CLOEXEC));
            if (existing.Get() < 0) {
                return false;
            }
            contents = ReadUpTo(existing.Get(), SIZE_MAX);
        }
    }
    contents.append(bytes);

    // A new file gets 0666 less the umask from open(); a replaced one keeps its permissions.
    static std::atomic<unsigned> serial{0};
    const std::string temporary =
        target + ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(serial.fetch_add(1));
    FileHandle file(
        open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666));
    if (file.Get() < 0) {
        return false;
    }
    const bool written = (!keptMode || fchmod(file.Get(), *keptMode) == 0) &&
                         WriteAll(file.Get(), contents) && fsync(file.Get()) == 0 && file.Close();
    if (!written || rename(temporary.c_str(), target.c_str()) != 0) {
        const int reason = errno;
        unlink(temporary.c_str());
        errno = reason;
        return false;
    }
    return true;
}

}  // namespace

bool WriteFileBytes(const std::string& path, std::string_view bytes, bool append) {
    return Write(path, bytes, append ? Writing::kAppend : Writing::kReplace);
}

bool AppendLines(const std::string& path, std::string_view lines) {
    const std::string target = ResolveTarget(path);
    struct stat info {};
    bool exists = false;
    if (!MayWrite(target, info, exists)) {
        return false;
    }
    FileHandle file(open(target.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY, 0666));
    if (file.Get() < 0 || fstat(file.Get(), &info) != 0) {
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        errno = EINVAL;
        return false;
    }
    // Another window may be appending to the same file: one writer at a time, each after the
    // other's last line. The lock goes with the descriptor.
    while (flock(file.Get(), LOCK_EX) != 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    const off_t size = lseek(file.Get(), 0, SEEK_END);
    if (size < 0) {
        return false;
    }
    std::string bytes;
    char last = '\n';
    if (size > 0 && pread(file.Get(), &last, 1, size - 1) != 1) {
        return false;
    }
    if (last != '\n') {
        bytes.push_back('\n');
    }
    bytes.append(lines);
    if (!WriteAll(file.Get(), bytes) || fsync(file.Get()) != 0) {
        // A full disk: what went in is taken back, so that the file reads as it was.
        const int reason = errno;
        [[maybe_unused]] const int restored = ftruncate(file.Get(), size);
        errno = reason;
        return false;
    }
    return file.Close();
}

bool WriteFileBytesOrNotify(const std::string& path, std::string_view bytes, bool append,
                            CNotifier& notifier) {
    if (WriteFileBytes(path, bytes, append)) {
        return true;
    }
    notifier.WriteFailed(path, errno);
    return false;
}

int RemoveStaleTemporaries(const std::string& folder) {
    DIR* directory = opendir(folder.c_str());
    if (directory == nullptr) {
        return 0;
    }
    int removed = 0;
    while (const dirent* entry = readdir(directory)) {
        const std::string_view name = entry->d_name;
        const std::size_t mark = name.rfind(".tmp-");
        if (mark == std::string_view::npos || mark == 0) {
            continue;
        }
        // "PID-N": digits, a dash, digits.
        const std::string_view tail = name.substr(mark + 5);
        const std::size_t dash = tail.find('-');
        const auto digits = [](std::string_view part) {
            return !part.empty() && part.size() <= 10 &&
                   part.find_first_not_of("0123456789") == std::string_view::npos;
        };
        if (dash == std::string_view::npos || !digits(tail.substr(0, dash)) ||
            !digits(tail.substr(dash + 1))) {
            continue;
        }
        const long long pid = std::strtoll(std::string(tail.substr(0, dash)).c_str(), nullptr, 10);
        const bool gone =
            pid <= 0 || pid > INT_MAX || (kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH);
        if (gone && unlink((folder + "/" + std::string(name)).c_str()) == 0) {
            ++removed;
        }
    }
    closedir(directory);
    return removed;
}
