#include "convert/output_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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

} // namespace

std::string putFile(const fs::path& target, std::span<const std::uint8_t> bytes, bool replace) {
    const fs::path tmp = temporarySibling(target);
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return "cannot write " + target.string() + ": " + why(errno);
    auto fail = [&](int error) {
        ::close(fd);
        ::unlink(tmp.c_str());
        return "cannot write " + target.string() + ": " + why(error);
    };
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        done += static_cast<std::size_t>(n);
    }
    struct stat existing {};
    const bool replacing = replace && ::stat(target.c_str(), &existing) == 0;
    if (replacing && ::fsync(fd) != 0)
        return fail(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(tmp.c_str());
        return "cannot write " + target.string() + ": " + why(error);
    }
    const int error = replace ? (::rename(tmp.c_str(), target.c_str()) == 0 ? 0 : errno)
                              : renameNoReplace(tmp, target);
    if (error != 0) {
        ::unlink(tmp.c_str());
        if (error == EEXIST)
            return target.string() + " exists; --force replaces it";
        return "cannot write " + target.string() + ": " + why(error);
    }
    return {};
}

} // namespace quendra::convert
