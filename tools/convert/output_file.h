// How the converter puts a finished file in place: through writeFileAtomically, written in
// full first, then given the target's name in one step. Readers never see half a file, and
// a failure leaves whatever was at the target untouched.
//
// Without `replace` an existing target is never touched, even one that appeared after the
// converter checked (Existing::Keep). With `replace` the new data is flushed to the disk
// before it takes an existing file's place, so that a crash cannot leave the name empty;
// new files are not flushed one by one, which would cost a disk round trip per file in a
// batch (Flush::WhenReplacing).
//
// A converter killed between naming a temporary and renaming it leaves that name behind; the
// next converter to write into that folder removes it (clearLeftovers).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace quendra::convert {

// Empty on success, else why not (for people). The target's folder is made when missing,
// so that a folder gets made only when something is written into it.
std::string putFile(const std::filesystem::path& target, std::span<const std::uint8_t> bytes,
                    bool replace);

// Removes from `folder` the temporaries of converters whose process has ended: files named
// "<name>.<output extension>.tmp-<process id>-<count>". Returns how many were removed.
std::size_t clearLeftovers(const std::filesystem::path& folder);

} // namespace quendra::convert
