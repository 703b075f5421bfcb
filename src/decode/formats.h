// The registry of the C64 formats the program reads, and the road of one file from its
// name to a picture. The viewer, the converter, the file list, the About box and the
// sample builder all read the rows below; a new format is one more row.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "decode/cell_layout.h"
#include "decode/decoded.h"
#include "decode/fli_layout.h"

namespace quendra {

using ReaderFunction = Decoded (*)(Bytes, const DecodeOptions&);

// The handle of a row that code names (formatRow): a misspelt one does not compile. Only
// the rows something looks up carry one; each handle names exactly one row.
enum class FormatId : std::uint8_t {
    none,
    koala,
    artStudio,
    amica,
    koalaCompressed,
    doodle,
    doodleCompressed,
    artStudioHires,
    interpaintHires,
    interpaint,
    hiEddi,
    imageSystemHires,
    hiresBitmap,
    hiresBitmapInverted,
    kla,
    advancedArtStudio,
    blazingPaddles,
    artist64,
    vidcom64,
    imageSystem,
    saracenPaint,
    paintMagic,
    rainbowPainter,
    hiresManager,
    fliDesigner,
    fliGraph,
    afli,
    hiresFli,
    bfli,
    truePaint,
    drazlace,
    gunpaint,
    ffli,
    drazpaint,
    hiresInterlace,
    godot,
    godotClip,
    funPainter,
    cduPaint,
    facePainter,
    cheese,
    garfield,
    picasso64,
    koalaLayoutLre,
    microIllustrator,
    ihe,
    vhi,
    pixelPerfect,
    fliWithBackground,
    hcb,
    eci,
    cfli,
    fliProfi,
    charset64c,
    charsetG,
    charsetZs,
    petscii,
    petsciiDraw,
    petsciiBot,
    logoPainter,
    spritePad,
    spriteSheetA,
    nufli,
    mufli,
    ufli,
    characterMode,
    characterModeInterlace,
    characterModeInterlaceMle,
    superHiresShs,
    superHiresSh1,
    superHiresSh2,
    superHiresShe,
    superHiresInterlaceShi,
    superHiresInterlaceEsh,
    superHiresFliShx,
    superHiresFliShf,
};
inline constexpr std::size_t kFormatIdCount = std::size_t(FormatId::superHiresFliShf) + 1;

// One C64 format. An aggregate written with designated initialisers, so a field with a
// default is set only in the rows that need another value. Every field has a default
// (the build warns about a row that leaves out one without).
struct C64Format {
    std::string_view name = {};                      // for people: "Koala Painter"
    FormatId id = FormatId::none;                    // where code names the row
    std::array<std::string_view, 8> extensions = {}; // exact forms with the dot; unused empty
    std::string_view captionSuffix = {};             // appended to the caption before the read
    // The caption suffix of a picture read as this row, where it differs from captionSuffix
    // (a GoDot clip: " (4Bit GoDot)" before the read, " (4Bit GoDot-Clip)" after).
    std::string_view kindSuffix = {};
    std::size_t readLimit = 0; // the one bounded read takes at most this
    // The file lengths it takes, for people, where its facts below do not say it all; empty:
    // made from the facts (sizesOf).
    std::string_view sizes = {};
    // The file lengths its own reader takes unpacked, in the order its messages name them
    // (a layout row's are its layout's), and whether it takes packed files too, up to
    // packedUpTo bytes where that is given.
    LayoutLengths lengths = {};
    bool packed = false;
    std::uint32_t packedUpTo = 0;
    // Where it takes a range of lengths instead: at least this many bytes, and at most
    // lengthsUpTo where that is given.
    std::uint32_t lengthsFrom = 0;
    std::uint32_t lengthsUpTo = 0;
    std::string_view typeText = {};  // the file list's Type column
    bool reportsProgress = false;    // the viewer shows its progress window
    ReaderFunction decode = nullptr; // null: the generic reader of `cells` or `fli`
    bool showsInGrey = true;         // "Show gray" applies to its pictures
    bool fitsGodot = true;           // its pictures fit GoDot 4Bit's 16 colours
    bool inFileMask = true;          // the viewer's file list shows its files
    // Content detection (detect.h) asks it how well a file fits; null: the probe of `cells`
    // or `fli`, and never detected when the row has neither.
    ProbeFunction probe = nullptr;
    // How desktops tell its files by their bytes (the MIME magic written at build time):
    // the load addresses its files begin with (0: unused) and bytes every file holds at
    // signatureOffset, both where given. Neither: only the file's name tells.
    std::array<std::uint16_t, 2> loadAddresses = {};
    std::string_view signature = {};
    std::size_t signatureOffset = 0;
    // The desktops' MIME type; empty: image/x-<first extension>, as C64 tools name them.
    std::string_view mimeType = {};
    // False where the extensions are just as much another kind's (.a archives, .cs C#
    // sources): desktops then tell the files by their bytes only, never by the name.
    bool namesItsFilesOnDesktops = true;
    // A plain layout (cell_layout.h): a bitmap and its colours at fixed offsets, read by
    // one generic reader and probe. CellKind::none for formats with a reader of their own.
    CellLayout cells = {};
    // An FLI-family layout (fli_layout.h): frames at fixed offsets, read by one generic reader
    // and probe. FliKind::none for the others.
    FliLayout fli = {};
    // The file names of the sample pictures that show it, each with one of its extensions
    // (quendra-samples builds them by these names). None: a plain layout row's sample is
    // made from its layout.
    std::array<std::string_view, 2> samples = {};
};

// A row's reading of a file: its own reader, or the generic one of its layout.
Decoded decodeAs(const C64Format& format, Bytes file, const DecodeOptions& options);

// A row's probe: its own, or its layout's; 0 for a row that detection never finds.
int probeAs(const C64Format& format, Bytes file, std::uint64_t fileSize);
bool isDetectable(const C64Format& format);

// The file lengths a row takes, for people ("10050, 10241, 10242", or "packed, ...").
std::string sizesOf(const C64Format& format);

// The unpacked lengths a row's own reader takes, else its layout's.
const LayoutLengths& lengthsOf(const C64Format& format);

// The row of that handle (FormatId::none: the fallback format's).
const C64Format& formatRow(FormatId id);

// The caption suffix of a picture read as `format`: the kind's own where the row has one
// (a GoDot clip), else the row's caption.
std::string_view shownCaption(const C64Format& format);

// Every row, in dispatch order.
std::span<const C64Format> c64Formats();

// The format that takes every file no row names: GoDot 4Bit, whose first bytes decide
// between a picture and a clip.
const C64Format& fallbackFormat();

// The text from the last "." of the name part to the end, dot included; empty if none.
std::string_view extensionOf(std::string_view fileName);

// The dispatch: the first row that holds `extension` exactly, in row order; else the first
// row that holds it in another case; the fallback format when none does.
const C64Format& formatForExtension(std::string_view extension);
const C64Format& formatForFile(std::string_view fileName);

// Whether the row lists `extension` (dot included), compared without regard to case.
bool listsExtension(const C64Format& format, std::string_view extension);

// The Type text for a file list, matched without regard to case; empty when the
// extension is none of the formats'.
std::string_view typeTextFor(std::string_view extension);

// The first `limit` bytes of a file (fewer when it is shorter); empty when it cannot be
// read. `fileSize` receives the file's size on disk when given (0 when unknown).
std::vector<std::uint8_t> readFilePrefix(const std::filesystem::path& path, std::size_t limit,
                                         std::uint64_t* fileSize = nullptr);

// The road of one file once its format is chosen: one bounded read, then the format's
// decode function, with options.fileSize set to the file's size on disk.
Decoded readPicture(const std::filesystem::path& path, const C64Format& format,
                    DecodeOptions options);

// The whole road's picture (openPictureFile in open_picture.h, which names the format too).
Decoded decodeFile(const std::filesystem::path& path, const DecodeOptions& options);

} // namespace quendra
