// Pictures that are a bitmap and its colours at fixed offsets of the file: the registry row
// of such a format holds its layout (C64Format::cells), and one decoder and one probe serve
// them all. Formats with logic of their own (packers, checked signatures, interlace) keep a
// reader unit.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "decode/decoded.h"

namespace quendra {

struct C64Format;

inline constexpr std::size_t kAbsent = std::numeric_limits<std::size_t>::max();

// The one read of a plain layout: more than the longest takes, so a longer file is told.
inline constexpr std::size_t kCellsReadLimit = 12000;

enum class CellKind : std::uint8_t {
    none,        // no plain layout: the row has a reader of its own
    multicolour, // bitmap, screen, colour memory and background (see cells.h)
    hires,       // bitmap and screen: set pixels high nibble, clear pixels low nibble
    bitmapOnly,  // bitmap alone, every cell in `cellColours` (a screen byte)
};

// What speaks for a file in content detection, besides its length.
enum class CellEvidence : std::uint8_t {
    lengthAndAddress, // the length; surer when the file loads at the row's first address
    onlyAtAddress,    // only a file at the row's first address (another format's twin)
    lengthOnly,       // the length alone: nothing in the file tells it from a twin
    never,            // content detection never names it: only its name tells
};

// The file lengths a layout takes; 0: unused.
using LayoutLengths = std::array<std::uint32_t, 3>;

struct CellLayout {
    CellKind kind = CellKind::none;
    std::string_view what = {};                // "an Artist 64 picture", for rejections
    LayoutLengths lengths = {};
    // File offsets, load address included; kAbsent where the format has none.
    std::size_t bitmap = 2;
    std::size_t screen = kAbsent;
    std::size_t colour = kAbsent;     // colour memory
    bool oneColour = false;           // `colour` is one byte for every cell
    std::size_t background = kAbsent; // none: bit pairs 00 are black
    std::uint8_t cellColours = 0;     // bitmapOnly
    CellEvidence evidence = CellEvidence::lengthAndAddress;
};

// The lengths for people: "10050, 10241 or 10242".
std::string lengthsText(const LayoutLengths& lengths);

// Whether the file (at most its read limit) has one of the lengths, its size on disk
// deciding where known; else the rejection "<what> is <lengths> bytes long, ...".
bool hasLayoutLength(const LayoutLengths& lengths, Bytes file, const DecodeOptions& options);
Decoded layoutLengthRejection(std::string_view what, const LayoutLengths& lengths, Bytes file,
                              const DecodeOptions& options);

// A plain layout's probe score for a file of one of its lengths (0 for others), by its
// evidence and the row's first load address.
int layoutScore(const LayoutLengths& lengths, CellEvidence evidence, std::uint16_t loadAddress,
                Bytes file, std::uint64_t fileSize);

// The picture of a file in `format`'s cell layout, or why not: a file of another length
// (its size on disk decides, options.fileSize) is refused.
Decoded decodeCells(const C64Format& format, Bytes file, const DecodeOptions& options);

// The layout's probe (see ProbeFunction), by its lengths, evidence and first load address.
int probeCells(const C64Format& format, Bytes file, std::uint64_t fileSize);

} // namespace quendra
