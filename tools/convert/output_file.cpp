#include "convert/output_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>

#include "decode/printable_name.h"
#include "export/atomic_write.h"
#include "export/picture_format.h"

namespace quendra::convert {

namespace fs = std::filesystem;

namespace {

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
    return "cannot write " + printableName(target.string()) + ": " + std::strerror(error);
}

std::string existsMessage(const fs::path& target) {
    return printableName(target.string()) + " exists; --force replaces it";
}

// A new file written unnamed in the target's folder and then given its name, in one
// change of the folder that fails when the name exists. Empty optional when the file
// system cannot do that; the caller then goes the way of a temporary name.
std::optional<std::string> putNewUnnamed(const fs::path& target,
                                         std::span<const std::uint8_t> bytes) {
    if (!canNameUnnamedFiles())
        return std::nullopt;
    const int fd = openUnnamedFile(target.has_parent_path() ? target.parent_path() : ".");
    if (fd < 0)
        return std::nullopt;
    if (const int error = writeAll(fd, bytes); error != 0) {
        ::close(fd); // the unnamed file goes with it
        return cannotWrite(target, error);
    }
    const int error = nameUnnamedFile(fd, target);
    ::close(fd);
    if (error == 0)
        return std::string();
    if (error == EEXIST)
        return existsMessage(target);
    return cannotWrite(target, error);
}

// The way of a temporary name for a new file, where unnamed files cannot be had.
std::string putNewNamed(const fs::path& target, std::span<const std::uint8_t> bytes) {
    const fs::path tmp = temporarySibling(target);
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return cannotWrite(target, errno);
    int error = writeAll(fd, bytes);
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0)
        error = renameNoReplace(tmp, target);
    if (error != 0) {
        ::unlink(tmp.c_str());
        return error == EEXIST ? existsMessage(target) : cannotWrite(target, error);
    }
    return {};
}

} // namespace

std::string putFile(const fs::path& target, std::span<const std::uint8_t> bytes, bool replace) {
    if (!replace) {
        if (std::optional<std::string> done = putNewUnnamed(target, bytes))
            return *done;
        return putNewNamed(target, bytes);
    }
    const WriteResult written = writeFileAtomically(target, bytes, Flush::WhenReplacing);
    return written.written ? std::string() : cannotWrite(target, written.errorNumber);
}

std::size_t clearLeftovers(const fs::path& folder) {
    constexpr PictureFormat kFormats[] = {
        PictureFormat::PNG,  PictureFormat::GIF,  PictureFormat::BMP,      PictureFormat::PCX,
        PictureFormat::TIFF, PictureFormat::JPEG, PictureFormat::Godot4Bit};
    std::vector<std::string_view> extensions;
    for (PictureFormat format : kFormats)
        extensions.push_back(extensionOf(format));
    return removeStaleTemporaries(folder, extensions);
}

} // namespace quendra::convert
