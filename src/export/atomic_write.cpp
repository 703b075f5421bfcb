#include "export/atomic_write.h"

#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
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

// Renames without replacing; 0, EEXIST when the target exists, or another errno.
int renameNoReplace(const fs::path& from, const fs::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // A file system without that kind of rename: a hard link refuses to replace as well.
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return 0;
    }
    if (errno != EPERM && errno != ENOTSUP)
        return errno;
    // Neither: check, then rename (leaves a short window).
    struct stat st {};
    if (::lstat(to.c_str(), &st) == 0)
        return EEXIST;
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int flushed(int fd) {
    return ::fsync(fd) == 0 ? 0 : errno;
}

// Closes `fd`, keeping the first error.
int closed(int fd, int error) {
    if (::close(fd) != 0 && error == 0)
        return errno;
    return error;
}

// The complete unnamed file `fd` takes `target`'s name; 0 or the errno. Leaves `fd` open.
int nameUnnamed(int fd, const fs::path& target, Flush flush, Existing existing) {
    int error = nameUnnamedFile(fd, target);
    if (error != EEXIST || existing == Existing::Keep)
        return error;
    // Replacing: flushed before it takes the name, so that a crash cannot leave it empty.
    if (flush == Flush::WhenReplacing) {
        if ((error = flushed(fd)) != 0)
            return error;
    }
    // A temporary name taken already is a leftover of an earlier process with this id:
    // another one.
    fs::path tmp = temporarySibling(target);
    error = nameUnnamedFile(fd, tmp);
    for (int tries = 0; error == EEXIST && tries < kNameTries; ++tries)
        error = nameUnnamedFile(fd, tmp = temporarySibling(target));
    if (error != 0)
        return error;
    if (::rename(tmp.c_str(), target.c_str()) != 0) {
        error = errno;
        ::unlink(tmp.c_str());
    }
    return error;
}

// The complete file named `tmp`, closed already, takes `target`'s name; 0 or the errno. On
// failure `tmp` is gone.
int renameNamed(const fs::path& tmp, const fs::path& target, Existing existing) {
    const int error = existing == Existing::Keep                   ? renameNoReplace(tmp, target)
                      : ::rename(tmp.c_str(), target.c_str()) == 0 ? 0
                                                                   : errno;
    if (error != 0)
        ::unlink(tmp.c_str());
    return error;
}

WriteResult outcome(int error) {
    return error == 0 ? WriteResult{true, {}, 0} : failure(error);
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

int openUnnamedFile(const fs::path& folder, mode_t mode) {
    return ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
}

int nameUnnamedFile(int fd, const fs::path& name) {
    char self[64];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
    return ::linkat(AT_FDCWD, self, AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ? 0 : errno;
}

namespace {

// Created with no more than the asked permissions (the umask may narrow them), then given
// exactly those before a byte is written or a name given.
mode_t creationMode(std::optional<mode_t> mode) {
    return mode ? (*mode & 0777) : 0666;
}

int setMode(int fd, std::optional<mode_t> mode) {
    return !mode || ::fchmod(fd, *mode & 07777) == 0 ? 0 : errno;
}

} // namespace

WriteResult writeFileAtomically(const fs::path& target, std::span<const std::uint8_t> bytes,
                                Flush flush, Existing existing, std::optional<mode_t> mode) {
    // Any failure to make an unnamed file (a file system without them, a folder that cannot
    // be written) goes the named way, which tells the reason.
    const int unnamed =
        canNameUnnamedFiles() ? openUnnamedFile(folderOf(target), creationMode(mode)) : -1;
    if (unnamed < 0)
        return writeFileByTemporaryName(target, bytes, flush, existing, mode);
    int error = setMode(unnamed, mode);
    if (error == 0)
        error = writeAll(unnamed, bytes);
    if (error == 0 && flush == Flush::Always)
        error = flushed(unnamed);
    if (error == 0)
        error = nameUnnamed(unnamed, target, flush, existing);
    // A failed write's unnamed file goes with the descriptor.
    return outcome(closed(unnamed, error));
}

WriteResult writeFileByTemporaryName(const fs::path& target, std::span<const std::uint8_t> bytes,
                                     Flush flush, Existing existing, std::optional<mode_t> mode) {
    fs::path tmp = temporarySibling(target);
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, creationMode(mode));
    for (int tries = 0; fd < 0 && errno == EEXIST && tries < kNameTries; ++tries) {
        tmp = temporarySibling(target);
        fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, creationMode(mode));
    }
    if (fd < 0)
        return failure(errno);
    // Here the file is closed before it takes its name, so the flush cannot wait for the
    // rename to tell whether it replaces a file.
    struct stat st {};
    const bool flushIt = flush == Flush::Always ||
                         (existing == Existing::Replace && ::lstat(target.c_str(), &st) == 0);
    int error = setMode(fd, mode);
    if (error == 0)
        error = writeAll(fd, bytes);
    if (error == 0 && flushIt)
        error = flushed(fd);
    error = closed(fd, error);
    if (error != 0) {
        ::unlink(tmp.c_str());
        return failure(error);
    }
    return outcome(renameNamed(tmp, target, existing));
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
