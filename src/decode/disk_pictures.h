// Pictures inside disk and tape images: their entries have C64 names and no extension,
// so the name's C64 habits and the bytes decide the format.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "decode/decoded.h"
#include "decode/disk_image.h"
#include "decode/formats.h"
#include "decode/open_picture.h"

namespace quendra {

// The extension ".koa" for the format a painting program's naming habit on disk gives:
// Koala Painter saves "PIC A NAME" behind a $81 byte, Doodle "DDNAME", its packed form
// "JJNAME", Printfox "G-NAME" (or "B-", "P-") and numbered parts "NAME.GB1". Empty when
// the name follows none of them. Trailing spaces and shifted spaces are padding. (Names
// such as "pi.world" carry their format as a prefix, which content detection reads by
// itself.)
std::string_view extensionByC64Name(std::string_view petsciiName);

// The file name an entry goes to the picture road with: its name for people without its
// padding ("/" made "_"), and the extension its naming habit gives, if any:
// "PIC A FERRARI.koa".
std::string pictureNameOf(const DiskEntry& entry);

// A C64 name (or a file name) as a file name: trailing spaces and shifted spaces (the
// padding some programs fill a name's 16 characters with) cut, "/" and control characters
// made "_", a leading "-" or "." behind a "_" (so "." and ".." too), never empty.
std::string safeFileName(std::string_view c64Name);

// An entry's picture, by the one road of a file (open_picture.h) under its picture name.
// No format when none takes the bytes; `decoded.reason` then says why.
struct EntryPicture {
    const C64Format* format = nullptr;
    Decoded decoded;
    std::string note; // something odd about an accepted picture (an unusual load address)
};

// An entry on the one road as a file of its length is taken: its first bytes
// (firstReadLimit of its picture name) into `buffer`, more only when the format found reads
// more; never the whole of a long entry.
OpenedPicture openEntry(const DiskImage& image, const DiskEntry& entry,
                        const DecodeOptions& options, std::vector<std::uint8_t>& buffer);

// Reads the entry from the image (openEntry) and decodes it. DEL entries and empty ones are no
// pictures (and are not decoded).
EntryPicture decodeEntry(const DiskImage& image, const DiskEntry& entry,
                         const DecodeOptions& options);

} // namespace quendra
