#include "export/atomic_write.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace quendra {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTemporaryMark = ".tmp-";
// How many more temporary names a write tries when one is taken.
constexpr int kNameTries = 8;

// Writes all of `bytes`; 0 or the errno.
int writeAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

WriteResult failure(int error) {
    return {false, std::strerror(error), error};
}

fs::path folderOf(const fs::path& target) {
    return target.has_parent_path() ? target.parent_path() : fs::path(".");
}

bool allDigits(std::string_view s) {
    return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

// True when no process with that id runs (one that runs under another user counts as
// running).
bool processEnded(std::string_view id) {
    if (id.size() > 9)
        return false;
    const pid_t pid = static_cast<pid_t>(std::stol(std::string(id)));
    return pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH;
}

// The process id in a temporary name made by temporarySibling() for a file with one of
// `extensions`, or empty when the name is not one.
std::string_view temporaryOwner(std::string_view name,
                                std::span<const std::string_view> extensions) {
    const std::size_t mark = name.rfind(kTemporaryMark);
    if (mark == std::string_view::npos)
        return {};
    const std::string_view counted = name.substr(mark + kTemporaryMark.size());
    const std::size_t dash = counted.find('-');
    if (dash == std::string_view::npos || !allDigits(counted.substr(0, dash)) ||
        !allDigits(counted.substr(dash + 1))) {
        return {};
    }
    const std::string_view target = name.substr(0, mark);
    const std::size_t dot = target.rfind('.');
    if (dot == std::string_view::npos || dot == 0)
        return {};
    const std::string_view extension = target.substr(dot + 1);
    for (std::string_view e : extensions) {
        if (e == extension)
            return counted.substr(0, dash);
    }
    return {};
}

// Puts the complete file `fd` (unnamed, or named `tmp` already) in `target`'s place.
// Closes `fd`; on failure no file of the write remains.
WriteResult commit(int fd, bool named, fs::path tmp, const fs::path& target, Flush flush) {
    struct stat existing {};
    const bool flushIt = flush == Flush::Always || ::stat(target.c_str(), &existing) == 0;
    if (flushIt && ::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        if (named)
            ::unlink(tmp.c_str());
        return failure(error);
    }
    if (!named) {
        // A name taken already is a leftover of an earlier process with this id: another one.
        int error = nameUnnamedFile(fd, tmp);
        for (int tries = 0; error == EEXIST && tries < kNameTries; ++tries)
            error = nameUnnamedFile(fd, tmp = temporarySibling(target));
        if (error != 0) {
            ::close(fd);
            return failure(error);
        }
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(tmp.c_str());
        return failure(error);
    }
    if (::rename(tmp.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(tmp.c_str());
        return failure(error);
    }
    return {true, {}, 0};
}

} // namespace

fs::path temporarySibling(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    fs::path tmp = target;
    tmp +=
        std::string(kTemporaryMark) + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    return tmp;
}

bool canNameUnnamedFiles() {
    static const bool can = [] {
        std::error_code ec;
        return fs::is_directory("/proc/self/fd", ec);
    }();
    return can;
}

int openUnnamedFile(const fs::path& folder) {
    return ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
}

int nameUnnamedFile(int fd, const fs::path& name) {
    char self[64];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
    return ::linkat(AT_FDCWD, self, AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ? 0 : errno;
}

WriteResult writeFileAtomically(const fs::path& target, std::span<const std::uint8_t> bytes,
                                Flush flush) {
    // Any failure to make an unnamed file (a file system without them, a folder that cannot
    // be written) goes the named way, which tells the reason.
    const int unnamed = canNameUnnamedFiles() ? openUnnamedFile(folderOf(target)) : -1;
    if (unnamed >= 0) {
        if (const int error = writeAll(unnamed, bytes); error != 0) {
            ::close(unnamed); // the unnamed file goes with it
            return failure(error);
        }
        return commit(unnamed, false, temporarySibling(target), target, flush);
    }
    fs::path tmp = temporarySibling(target);
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    for (int tries = 0; fd < 0 && errno == EEXIST && tries < kNameTries; ++tries) {
        tmp = temporarySibling(target);
        fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    }
    if (fd < 0)
        return failure(errno);
    if (const int error = writeAll(fd, bytes); error != 0) {
        ::close(fd);
        ::unlink(tmp.c_str());
        return failure(error);
    }
    return commit(fd, true, tmp, target, flush);
}

std::size_t removeStaleTemporaries(const fs::path& folder,
                                   std::span<const std::string_view> extensions) {
    std::size_t removed = 0;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const std::string_view owner = temporaryOwner(name, extensions);
        if (owner.empty() || !processEnded(owner))
            continue;
        std::error_code kind;
        if (!it->is_regular_file(kind) || it->is_symlink(kind))
            continue;
        if (::unlink(it->path().c_str()) == 0)
            ++removed;
    }
    return removed;
}

} // namespace quendra
