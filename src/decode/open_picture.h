// The one road from a file to its picture: which format reads it and what it shows. The
// viewer, the converter, the thumbnailer and every other caller take this road, so they
// all name the same format for a file and show the same pixels.
//
// The format the file's name gives reads it first. When that format refuses the file,
// the evidence of every format is weighed, strongest first: a signature; the length with
// the load address; the named format again, when it takes the file's length and layout
// and only the load address differs (shown with a note); the length alone, only for a file
// whose name names no C64 format (.bin, .prg, none). A format whose evidence is weaker than
// the name's never draws the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "decode/decoded.h"
#include "decode/formats.h"

namespace quendra {

struct OpenedPicture {
    // The format that read the file (the kind it turned out to be: an FLI Graph file
    // under .fli, a GoDot clip under .4bt); null when no format took it.
    const C64Format* format = nullptr;
    // The picture; or, with no format, why nothing takes the file, in words for people that
    // follow the file's name: "FILE: not a C64 picture (...)", "FILE is not a C64 picture".
    Decoded decoded;
    // Something odd about an accepted file that the user should hear of (an unusual load
    // address); empty when there is nothing.
    std::string note;

    bool accepted() const { return format != nullptr && decoded.accepted; }
};

// How many of a file's first bytes the road needs: all that the format of its name reads
// and all that detection looks at.
std::size_t firstReadLimit(std::string_view fileName);

// The road on bytes already in memory: `file` holds the file's first bytes (the whole
// file, or at least its first firstReadLimit(fileName) bytes), `fileSize` the file's
// whole length, `fileName` its name (a path or the name alone; only the name part counts).
// options.fileSize is set from `fileSize`.
OpenedPicture openPicture(Bytes file, std::uint64_t fileSize, std::string_view fileName,
                          const DecodeOptions& options);

// The road on a file: reads its first bytes once and takes the road above. A file that
// cannot be read (missing, a folder, not a plain file, no permission) gets its reason.
OpenedPicture openPictureFile(const std::filesystem::path& path, const DecodeOptions& options);

} // namespace quendra
