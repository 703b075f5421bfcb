// The dispatch table: which reader shows a file, chosen by the exact extension.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

#include "decode/decoded.h"

namespace quendra {

enum class ReaderKind {
    Koala,
    ArtStudio,
    Amica,
    KoalaCompressed,
    Doodle,
    DoodleCompressed,
    Printfox,
    FunPainter,
    Godot,
};

using ReaderFunction = Decoded (*)(Bytes, const DecodeOptions&);

struct ReaderInfo {
    ReaderKind kind;
    std::string_view method;                    // the viewer's reader method, e.g. "KoalaView"
    std::array<std::string_view, 6> extensions; // exact, case-sensitive forms; unused are empty
    std::string_view captionSuffix;             // what the frame appends to the caption first
    std::size_t readLimit;                      // the one bounded read
    std::string_view description;               // a person's name for the format
    ReaderFunction decode;
};

// Rows in dispatch order; the last row is the GoDot path, which has no extensions and
// takes every extension that no other row names.
std::span<const ReaderInfo> readerTable();

// The text from the last "." of the name part to the end, dot included; empty if none.
std::string_view extensionOf(std::string_view fileName);

// Exact, case-sensitive match on the table's forms; the GoDot row when none matches.
const ReaderInfo& readerForExtension(std::string_view extension);
const ReaderInfo& readerForFile(std::string_view fileName);

// A description for a file list, matched without regard to case, for the C64 formats
// the program reads (".4bt" and ".clp" included); empty when the extension is none of them.
std::string_view formatDescription(std::string_view extension);

// The first `limit` bytes of a file (fewer when it is shorter); empty when it cannot be read.
std::vector<std::uint8_t> readFilePrefix(const std::filesystem::path& path, std::size_t limit);

// Reads and decodes a file as the viewer would: the reader by extension, its read limit,
// and on the GoDot path the magic, with a clip read again up to its own limit.
Decoded decodeFile(const std::filesystem::path& path, const DecodeOptions& options);

}  // namespace quendra
