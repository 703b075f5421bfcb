#include "convert/output_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include "export/atomic_write.h"

namespace quendra::convert {

namespace fs = std::filesystem;

namespace {

std::string why(int error) {
    return std::strerror(error);
}

// Renames without replacing; EEXIST when the target exists.
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

// Writes all of `bytes`; 0 or the error.
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

std::string cannotWrite(const fs::path& target, int error) {
    return "cannot write " + target.string() + ": " + why(error);
}

std::string existsMessage(const fs::path& target) {
    return target.string() + " exists; --force replaces it";
}

// A new file written unnamed in the target's folder and then given its name, in one
// change of the folder that fails when the name exists. Empty optional when the file
// system cannot do that; the caller then goes the way of a temporary name.
std::optional<std::string> putNewUnnamed(const fs::path& target,
                                         std::span<const std::uint8_t> bytes) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0)
        return std::nullopt;
    if (const int error = writeAll(fd, bytes); error != 0) {
        ::close(fd); // the unnamed file goes with it
        return cannotWrite(target, error);
    }
    char self[64];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
    const int linked = ::linkat(AT_FDCWD, self, AT_FDCWD, target.c_str(), AT_SYMLINK_FOLLOW);
    const int error = linked == 0 ? 0 : errno;
    ::close(fd);
    if (error == 0)
        return std::string();
    if (error == EEXIST)
        return existsMessage(target);
    return std::nullopt; // e.g. no /proc: try the other way
}

} // namespace

std::string putFile(const fs::path& target, std::span<const std::uint8_t> bytes, bool replace) {
    if (!replace) {
        if (std::optional<std::string> done = putNewUnnamed(target, bytes))
            return *done;
    }
    const fs::path tmp = temporarySibling(target);
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return cannotWrite(target, errno);
    auto fail = [&](int error) {
        ::close(fd);
        ::unlink(tmp.c_str());
        return cannotWrite(target, error);
    };
    if (const int error = writeAll(fd, bytes); error != 0)
        return fail(error);
    struct stat existing {};
    const bool replacing = replace && ::stat(target.c_str(), &existing) == 0;
    if (replacing && ::fsync(fd) != 0)
        return fail(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(tmp.c_str());
        return cannotWrite(target, error);
    }
    const int error = replace ? (::rename(tmp.c_str(), target.c_str()) == 0 ? 0 : errno)
                              : renameNoReplace(tmp, target);
    if (error != 0) {
        ::unlink(tmp.c_str());
        return error == EEXIST ? existsMessage(target) : cannotWrite(target, error);
    }
    return {};
}

} // namespace quendra::convert
