// Writing a file so that a failure never destroys the file that was there, and so that a
// process killed in the middle leaves nothing behind that a later run would not clear.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace quendra {

struct WriteResult {
    bool written = false;
    std::string error;   // why not, for people; empty when written
    int errorNumber = 0; // the errno behind `error`, 0 when there is none
};

// When the new data is flushed to the disk before it takes the target's name.
enum class Flush {
    Always,
    // Only when it replaces a file, so that a crash cannot leave that name empty; new
    // files are not flushed one by one (a disk round trip per file of a batch).
    WhenReplacing,
};

// What a write does when a file of the target's name exists.
enum class Existing {
    Replace, // the new file takes its place in one step
    Keep,    // the write fails with EEXIST and that file stays as it was
};

// Writes `bytes` to an unnamed file in the target's folder (O_TMPFILE) and links it straight
// to `target`'s name, which fails when the name exists: then, to replace, it gives the
// file a temporary name and renames that over `target` at once. On a file system without
// unnamed files it is written under a temporary name from the start, renamed without
// replacing first. On any failure the temporary file is gone and `target` is untouched
// (with Existing::Keep, a file that appeared meanwhile as well). A process killed after
// the temporary name was given and before the rename leaves that name;
// removeStaleTemporaries() clears it. A new file costs four system calls (open, write,
// link, close) without flushing.
// The new file's permissions are 0666 narrowed by the umask, or exactly `mode` when given:
// then the file has them from its creation on, before it bears any name (a private file
// replaced is never readable by others, not even for a moment).
WriteResult writeFileAtomically(const std::filesystem::path& target,
                                std::span<const std::uint8_t> bytes, Flush flush = Flush::Always,
                                Existing existing = Existing::Replace,
                                std::optional<mode_t> mode = std::nullopt);

// The way of writeFileAtomically where unnamed files cannot be made: written under a
// temporary name from the start (stepping over names taken already), then renamed.
WriteResult writeFileByTemporaryName(const std::filesystem::path& target,
                                     std::span<const std::uint8_t> bytes,
                                     Flush flush = Flush::Always,
                                     Existing existing = Existing::Replace,
                                     std::optional<mode_t> mode = std::nullopt);

// The temporary name used beside `target`: "<target>.tmp-<process id>-<count>", unique per
// call.
std::filesystem::path temporarySibling(const std::filesystem::path& target);

// Whether unnamed files can be given a name here (through /proc).
bool canNameUnnamedFiles();
// An unnamed file open for writing in `folder` (permissions `mode` narrowed by the umask);
// -1 with errno set when the folder or its file system cannot have one.
int openUnnamedFile(const std::filesystem::path& folder, mode_t mode = 0666);
// Gives the unnamed file `fd` the name `name`; 0 or the errno (EEXIST when `name` exists:
// nothing is replaced).
int nameUnnamedFile(int fd, const std::filesystem::path& name);

// Removes the files in `folder` that bear the temporary names of writes whose process has
// ended ("<name>.<extension>.tmp-<id>-<count>", `<id>` no longer running, `<extension>`
// one of `extensions` given without the dot, lower case as written). Files of running
// processes and every other file stay. Returns how many were removed.
std::size_t removeStaleTemporaries(const std::filesystem::path& folder,
                                   std::span<const std::string_view> extensions);

} // namespace quendra
