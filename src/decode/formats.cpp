#include "decode/formats.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "decode/cells.h"
#include "decode/further_readers.h"
#include "decode/readers.h"

namespace quendra {

namespace {

// The facts that two rows share (the second row names another extension or reads the file
// by the first one's reader). Koala's memories after a load address (and under .kla without
// one too); a compressed Koala picture's longest file.
constexpr LayoutLengths kKoalaLengths{10003, 10006};
constexpr LayoutLengths kKlaLengths{kKoalaLengths[0], kKoalaLengths[1], kKoalaDataBytes};
constexpr LayoutLengths kDoodleLengths{9218, 9026};
constexpr LayoutLengths kGunpaintLengths{33602, 33603};
constexpr std::uint32_t kPackedKoalaUpTo = 10099;
constexpr CellLayout kArtStudioHiresLayout{.kind = CellKind::hires,
                                           .what = "an Art Studio hires picture",
                                           .lengths = {9002, 9003, 9009},
                                           .screen = 8002};
constexpr FliLayout kFliDesignerLayout{.kind = FliKind::multicolour,
                                       .what = "an FLI picture",
                                       .lengths = {17218, 17409},
                                       .frames = {FliFrame{.bitmap = 9218, .screens = 1026}},
                                       .colour = 2};
// The plain kind of FLI Graph, and what its packed kind unpacks to (fli_graph.cpp).
constexpr FliLayout kFliGraphLayout{
    .kind = FliKind::multicolour,
    .what = "an FLI Graph picture",
    .lengths = {17474, 17665, 17666},
    .frames = {FliFrame{.bitmap = 9474, .screens = 1282, .backgrounds = 2}},
    .colour = 258};
// Only the top 14 cell rows are shown.
constexpr FliLayout kHiresFliLayout{.kind = FliKind::hires,
                                    .what = "a Hires FLI picture",
                                    .lengths = {16386},
                                    .frames = {FliFrame{.bitmap = 2, .screens = 8194}},
                                    .lines = 112};
// 400 lines: the lower half's cells go on counting where the upper half's stop.
constexpr FliLayout kBfliLayout{.kind = FliKind::multicolour,
                                .what = "a BFLI picture",
                                .lengths = {33795},
                                .shows = FliFrames::stacked,
                                .frames = {FliFrame{.bitmap = 9219, .screens = 1027},
                                           FliFrame{.bitmap = 25603, .screens = 17411}},
                                .colour = 3};
// Interlaced; the frames share the bitmap and the colour memory.
constexpr FliLayout kFfliLayout{
    .kind = FliKind::multicolour,
    .what = "an FFLI picture",
    .lengths = {26115},
    .shows = FliFrames::mixed,
    .frames = {FliFrame{.bitmap = 9475, .screens = 1283, .backgrounds = 3},
               FliFrame{.bitmap = 9475, .screens = 17667, .backgrounds = 25859}},
    .colour = 259};
// Interlaced hires, one screen a frame, the frames one on the other.
constexpr FliLayout kHiresInterlaceLayout{
    .kind = FliKind::hires,
    .what = "a Hires-Interlace picture",
    .lengths = {24578},
    .shows = FliFrames::mixed,
    .frames = {FliFrame{.bitmap = 2, .screens = 10242}, FliFrame{.bitmap = 16386, .screens = 9218}},
    .screenPerLine = false};

// The dispatch takes the first row that holds a file's extension, so no two rows should
// hold the same form. The viewer and the converter need nothing but a row.
constexpr C64Format kFormats[] = {
    {.name = "Koala Painter",
     .id = FormatId::koala,
     .extensions = {".koa", ".KOA"},
     .captionSuffix = " (Koala)",
     .readLimit = kKoalaReadLimit,
     .lengths = kKoalaLengths,
     .typeText = "Koala Painter picture",
     .decode = decodeKoala,
     .probe = probeKoala,
     .loadAddresses = {0x6000},
     .samples = {"koala.koa"}},
    {.name = "RunPaint",
     .extensions = {".rpm", ".RPM"},
     .captionSuffix = " (Koala)",
     .readLimit = kKoalaReadLimit,
     .lengths = kKoalaLengths,
     .typeText = "RunPaint picture",
     .decode = decodeKoala,
     .probe = probeKoala,
     .loadAddresses = {0x6000},
     .samples = {"runpaint.rpm"}},
    // Both kinds: the length tells multicolour from hires, and the caption follows.
    {.name = "Art Studio",
     .id = FormatId::artStudio,
     .extensions = {".ocp", ".OCP"},
     .captionSuffix = " (Advanced Art Studio)",
     .readLimit = kArtStudioReadLimit,
     .lengths = {10018, 9009},
     .typeText = "Art Studio picture",
     .decode = decodeArtStudio,
     .probe = probeArtStudio,
     .loadAddresses = {0x2000},
     .samples = {"art-studio-multicolour.ocp", "art-studio-hires.ocp"}},
    {.name = "Amica Paint",
     .id = FormatId::amica,
     .extensions = {".ami", ".AMI"},
     .captionSuffix = " (Amica Paint)",
     .readLimit = kAmicaReadLimit,
     .packedUpTo = 10299,
     .typeText = "Amica Paint picture",
     .decode = decodeAmica,
     .probe = probeAmica,
     .loadAddresses = {0x4000},
     .samples = {"amica.ami"}},
    {.name = "Koala compressed",
     .id = FormatId::koalaCompressed,
     .extensions = {".gg", ".GG"},
     .captionSuffix = " (Koala compressed)",
     .readLimit = kKoalaCompressedReadLimit,
     .packedUpTo = kPackedKoalaUpTo,
     .typeText = "Koala compressed picture",
     .decode = decodeKoalaCompressed,
     .probe = probeKoalaCompressed,
     .loadAddresses = {0x6000},
     .samples = {"koala-compressed.gg"}},
    {.name = "Doodle",
     .id = FormatId::doodle,
     .extensions = {".dd", ".DD"},
     .captionSuffix = " (Doodle HiRes)",
     .readLimit = kDoodleReadLimit,
     .lengths = kDoodleLengths,
     .typeText = "Doodle picture",
     .decode = decodeDoodle,
     .probe = probeDoodle,
     .loadAddresses = {0x1C00, 0x5C00},
     .samples = {"doodle.dd"}},
    {.name = "Doodle compressed",
     .id = FormatId::doodleCompressed,
     .extensions = {".jj", ".JJ"},
     .captionSuffix = " (Doodle HiRes compressed)",
     .readLimit = kDoodleCompressedReadLimit,
     .packedUpTo = 9218,
     .typeText = "Doodle compressed picture",
     .decode = decodeDoodleCompressed,
     .probe = probeDoodleCompressed,
     .loadAddresses = {0x5C00},
     .samples = {"doodle-compressed.jj"}},
    // Printfox and Pagefox: one reader, the first byte tells the page type. For desktops,
    // the type letter tells a page when the byte after it is no text (a run marker or a
    // literal cell byte of a screen or large picture, a page's row count below 32 or from
    // 128 on; the MIME writer adds that condition). Taller pages are known by name only.
    {.name = "Printfox large",
     .extensions = {".gb", ".GB"},
     .captionSuffix = " (Page-/Printfox)",
     .readLimit = kPrintfoxReadLimit,
     .packed = true,
     .typeText = "Printfox large picture",
     .reportsProgress = true,
     .decode = decodePrintfox,
     .showsInGrey = false,
     .signature = "G",
     .samples = {"printfox-large.gb"}},
    {.name = "Printfox screen",
     .extensions = {".BS", ".bs"},
     .captionSuffix = " (Page-/Printfox)",
     .readLimit = kPrintfoxReadLimit,
     .packed = true,
     .typeText = "Printfox screen picture",
     .reportsProgress = true,
     .decode = decodePrintfox,
     .showsInGrey = false,
     .signature = "B",
     .samples = {"printfox-screen.bs"}},
    {.name = "Pagefox",
     .extensions = {".pg", ".PG"},
     .captionSuffix = " (Page-/Printfox)",
     .readLimit = kPrintfoxReadLimit,
     .packed = true,
     .typeText = "Pagefox page",
     .reportsProgress = true,
     .decode = decodePrintfox,
     .showsInGrey = false,
     .signature = "P",
     .samples = {"pagefox-page.pg"}},
    {.name = "FunPainter 2",
     .id = FormatId::funPainter,
     .extensions = {".fp2", ".FP2"},
     .captionSuffix = " (FunPainter 2 / IFLI)",
     .readLimit = kFunPainterReadLimit,
     .sizes = "packed or not, up to 60000",
     .typeText = "FunPainter 2 picture",
     .reportsProgress = true,
     .decode = decodeFunPainter,
     .showsInGrey = false,
     .fitsGodot = false,
     .probe = probeFunPainter,
     .loadAddresses = {0x3FF0},
     .signature = "FUNPAINT",
     .signatureOffset = 2,
     .samples = {"funpainter.fp2"}},
    // The bitmap pictures of further C64 programs.
    {.name = "Art Studio hires",
     .id = FormatId::artStudioHires,
     .extensions = {".art", ".aas", ".hpi"},
     .captionSuffix = " (Art Studio HiRes)",
     .readLimit = kCellsReadLimit,
     .typeText = "Art Studio hires picture",
     .loadAddresses = {0x2000, 0x4000},
     .cells = kArtStudioHiresLayout,
     .samples = {"art-studio-hires-art.art"}},
    {.name = "Interpaint hires",
     .id = FormatId::interpaintHires,
     .extensions = {".iph"},
     .captionSuffix = " (Interpaint HiRes)",
     .readLimit = kCellsReadLimit,
     .typeText = "Interpaint hires picture",
     .loadAddresses = {0x4000},
     // Art Studio's layout: only the load address of real files sets it apart.
     .cells = {.kind = CellKind::hires,
               .what = "an Interpaint hires picture",
               .lengths = {9002, 9003, 9009},
               .screen = 8002,
               .evidence = CellEvidence::onlyAtAddress},
     .samples = {"interpaint-hires.iph"}},
    {.name = "Interpaint multicolour",
     .id = FormatId::interpaint,
     .extensions = {".ipt"},
     .captionSuffix = " (Interpaint)",
     .readLimit = kCellsReadLimit,
     .typeText = "Interpaint picture",
     .loadAddresses = {0x4000},
     // Koala's layout: a 10003-byte file at another address is Koala's.
     .cells = {.kind = CellKind::multicolour,
               .what = "an Interpaint picture",
               .lengths = {10003},
               .screen = 8002,
               .colour = 9002,
               .background = 10002,
               .evidence = CellEvidence::onlyAtAddress},
     .samples = {"interpaint.ipt"}},
    {.name = "Hi-Eddi",
     .id = FormatId::hiEddi,
     .extensions = {".hed"},
     .captionSuffix = " (Hi-Eddi)",
     .readLimit = kCellsReadLimit,
     .typeText = "Hi-Eddi picture",
     .loadAddresses = {0x2000},
     // A bitmap block and a screen block as they lie in memory from $2000.
     .cells =
         {.kind = CellKind::hires, .what = "a Hi-Eddi picture", .lengths = {9218}, .screen = 8194},
     .samples = {"hi-eddi.hed"}},
    {.name = "Image System hires",
     .id = FormatId::imageSystemHires,
     .extensions = {".ish"},
     .captionSuffix = " (Image System HiRes)",
     .readLimit = kImageSystemHiresOrInterlaceReadLimit,
     .lengths = {30738}, // the interlaced kind with sprites; the plain kind is the layout's
     .typeText = "Image System hires picture",
     .decode = decodeImageSystemHiresOrInterlace,
     .probe = probeImageSystemHiresOrInterlace,
     .loadAddresses = {0x2000},
     // The plain kind: Hi-Eddi's layout without its last 24 bytes (super_hires.cpp reads
     // the interlaced kind itself).
     .cells = {.kind = CellKind::hires,
               .what = "an Image System hires picture",
               .lengths = {9194},
               .screen = 8194},
     .samples = {"image-system-hires.ish", "super-hires-interlace-ish.ish"}},
    {.name = "Hires bitmap",
     .id = FormatId::hiresBitmap,
     .extensions = {".hbm", ".fgs", ".mon", ".gcd", ".hir"},
     .captionSuffix = " (HiRes bitmap)",
     .readLimit = kCellsReadLimit,
     .typeText = "Hires bitmap",
     .loadAddresses = {0x2000, 0x6000},
     // A bitmap and nothing else: set bits white on black.
     .cells = {.kind = CellKind::bitmapOnly,
               .what = "a hires bitmap",
               .lengths = {8002, 8194},
               .cellColours = 0x10},
     .samples = {"hires-bitmap.hbm"}},
    {.name = "Hires bitmap, inverted",
     .id = FormatId::hiresBitmapInverted,
     .extensions = {".gih", ".rpo"},
     .captionSuffix = " (HiRes bitmap)",
     .readLimit = kCellsReadLimit,
     .typeText = "Hires bitmap (inverted)",
     .loadAddresses = {0x2000, 0x6000},
     // Set bits black on white; nothing in the file tells it from the usual kind.
     .cells = {.kind = CellKind::bitmapOnly,
               .what = "an inverted hires bitmap",
               .lengths = {8002},
               .cellColours = 0x01,
               .evidence = CellEvidence::lengthOnly},
     .samples = {"hires-bitmap-inverted.gih"}},
    {.name = "Koala Painter (.kla)",
     .id = FormatId::kla,
     .extensions = {".kla"},
     .captionSuffix = " (Koala)",
     .readLimit = kKlaReadLimit,
     .lengths = kKlaLengths,
     .packedUpTo = kPackedKoalaUpTo,
     .typeText = "Koala Painter picture",
     .decode = decodeKla,
     .probe = probeKla,
     .loadAddresses = {0x6000, 0x2000},
     .samples = {"koala-pc.kla"}},
    {.name = "Advanced Art Studio",
     .id = FormatId::advancedArtStudio,
     .extensions = {".mpic", ".mpi"},
     .captionSuffix = " (Advanced Art Studio)",
     .readLimit = kCellsReadLimit,
     .typeText = "Advanced Art Studio picture",
     .loadAddresses = {0x2000},
     // The multicolour .ocp layout; the border colour at 9002 is not shown.
     .cells = {.kind = CellKind::multicolour,
               .what = "an Advanced Art Studio picture",
               .lengths = {10018},
               .screen = 8002,
               .colour = 9018,
               .background = 9003},
     .samples = {"advanced-art-studio.mpic"}},
    {.name = "Blazing Paddles",
     .id = FormatId::blazingPaddles,
     .extensions = {".pi", ".bpl"},
     .captionSuffix = " (Blazing Paddles)",
     .readLimit = kCellsReadLimit,
     .typeText = "Blazing Paddles picture",
     .loadAddresses = {0xA000},
     // The background lies in the spare bytes after the bitmap.
     .cells = {.kind = CellKind::multicolour,
               .what = "a Blazing Paddles picture",
               .lengths = {10242},
               .screen = 8194,
               .colour = 9218,
               .background = 8066},
     .samples = {"blazing-paddles.pi"}},
    {.name = "Artist 64",
     .id = FormatId::artist64,
     .extensions = {".a64", ".wig"},
     .captionSuffix = " (Artist 64)",
     .readLimit = kCellsReadLimit,
     .typeText = "Artist 64 picture",
     .loadAddresses = {0x4000},
     .cells = {.kind = CellKind::multicolour,
               .what = "an Artist 64 picture",
               .lengths = {10242},
               .screen = 8194,
               .colour = 9218,
               .background = 10241},
     .samples = {"artist-64.a64"}},
    {.name = "Vidcom 64",
     .id = FormatId::vidcom64,
     .extensions = {".vid", ".dol", ".bed"},
     .captionSuffix = " (Vidcom 64)",
     .readLimit = kCellsReadLimit,
     .typeText = "Vidcom 64 picture",
     .loadAddresses = {0x5800},
     // Colour memory first; 10241- and 10242-byte files hold some of the unused tail.
     .cells = {.kind = CellKind::multicolour,
               .what = "a Vidcom 64 picture",
               .lengths = {10050, 10241, 10242},
               .bitmap = 2050,
               .screen = 1026,
               .colour = 2,
               .background = 2026},
     .samples = {"vidcom-64.vid"}},
    {.name = "Image System multicolour",
     .id = FormatId::imageSystem,
     .extensions = {".ism"},
     .captionSuffix = " (Image System)",
     .readLimit = kCellsReadLimit,
     .typeText = "Image System picture",
     .loadAddresses = {0x3C00},
     // The background is the byte before the screen.
     .cells = {.kind = CellKind::multicolour,
               .what = "an Image System picture",
               .lengths = {10218},
               .bitmap = 1026,
               .screen = 9218,
               .colour = 2,
               .background = 9217},
     .samples = {"image-system.ism"}},
    {.name = "Saracen Paint",
     .id = FormatId::saracenPaint,
     .extensions = {".sar"},
     .captionSuffix = " (Saracen Paint)",
     .readLimit = kCellsReadLimit,
     .typeText = "Saracen Paint picture",
     .loadAddresses = {0x7800},
     // The background lies in the spare bytes after the screen.
     .cells = {.kind = CellKind::multicolour,
               .what = "a Saracen Paint picture",
               .lengths = {10219},
               .bitmap = 1026,
               .screen = 2,
               .colour = 9218,
               .background = 1010},
     .samples = {"saracen-paint.sar"}},
    {.name = "Paint Magic",
     .id = FormatId::paintMagic,
     .extensions = {".pmg"},
     .captionSuffix = " (Paint Magic)",
     .readLimit = kCellsReadLimit,
     .typeText = "Paint Magic picture",
     .probe = probePaintMagic,
     .loadAddresses = {0x3F8E},
     // A program that shows the picture it carries: one colour-memory value for every
     // cell, the border colour (8120) not shown.
     .cells = {.kind = CellKind::multicolour,
               .what = "a Paint Magic picture",
               .lengths = {9332},
               .bitmap = 116,
               .screen = 8308,
               .colour = 8119,
               .oneColour = true,
               .background = 8116},
     .samples = {"paint-magic.pmg"}},
    {.name = "Rainbow Painter",
     .id = FormatId::rainbowPainter,
     .extensions = {".rp"},
     .captionSuffix = " (Rainbow Painter)",
     .readLimit = kCellsReadLimit,
     .typeText = "Rainbow Painter picture",
     .loadAddresses = {0x5C00},
     // No background byte: bit pairs 00 show black.
     .cells = {.kind = CellKind::multicolour,
               .what = "a Rainbow Painter picture",
               .lengths = {10242},
               .bitmap = 1026,
               .screen = 2,
               .colour = 9218},
     .samples = {"rainbow-painter.rp"}},
    {.name = "Hires Manager",
     .id = FormatId::hiresManager,
     .extensions = {".him"},
     .captionSuffix = " (Hires Manager)",
     .readLimit = kHiresManagerReadLimit,
     .lengths = {kHiresManagerLength},
     .packed = true,
     .typeText = "Hires Manager picture",
     .decode = decodeHiresManager,
     .probe = probeHiresManager,
     .loadAddresses = {0x4000},
     .samples = {"hires-manager.him"}},
#include "decode/fli_formats.inc"
    // GoDot: the picture row is also the fallback. One read takes a clip whole; the magic
    // decides between picture and clip, and a clip names itself in the caption.
    {.name = "GoDot 4Bit",
     .id = FormatId::godot,
     .extensions = {".4bt"},
     .captionSuffix = " (4Bit GoDot)",
     .readLimit = kGodotClipReadLimit,
     .packed = true,
     .typeText = "GoDot 4Bit picture",
     .reportsProgress = true,
     .decode = decodeGodot,
     .probe = probeGodot,
     .signature = "GOD0",
     .samples = {"godot.4bt"}},
    {.name = "GoDot 4Bit clip",
     .id = FormatId::godotClip,
     .extensions = {".clp"},
     .captionSuffix = " (4Bit GoDot)",
     .kindSuffix = " (4Bit GoDot-Clip)",
     .readLimit = kGodotClipReadLimit,
     .packed = true,
     .typeText = "GoDot 4Bit clip",
     .reportsProgress = true,
     .decode = decodeGodot,
     .probe = probeGodot,
     .signature = "GOD1",
     .samples = {"godot-clip.clp"}},
#include "decode/further_formats.inc"
};

// Where each handle's row lies; every handle names exactly one row, and none the fallback.
constexpr std::array<std::size_t, kFormatIdCount> kRowOf = [] {
    std::array<std::size_t, kFormatIdCount> at{};
    for (std::size_t i = 0; i < std::size(kFormats); ++i)
        at[static_cast<std::size_t>(kFormats[i].id)] = i;
    at[static_cast<std::size_t>(FormatId::none)] = at[static_cast<std::size_t>(FormatId::godot)];
    return at;
}();
constexpr bool everyHandleNamesOneRow() {
    for (std::size_t id = 1; id < kFormatIdCount; ++id) {
        const auto rows = std::ranges::count_if(kFormats, [id](const C64Format& row) {
            return static_cast<std::size_t>(row.id) == id;
        });
        if (rows != 1)
            return false;
    }
    return true;
}
static_assert(everyHandleNamesOneRow());
static_assert(kFormats[kRowOf[static_cast<std::size_t>(FormatId::godot)]].decode == decodeGodot);


bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

std::span<const C64Format> c64Formats() {
    return kFormats;
}

Decoded decodeAs(const C64Format& format, Bytes file, const DecodeOptions& options) {
    Decoded d = format.decode                      ? format.decode(file, options)
                : format.fli.kind != FliKind::none ? decodeFliLayout(format, file, options)
                                                   : decodeCells(format, file, options);
    if (!d.format)
        d.format = &format;
    return d;
}

int probeAs(const C64Format& format, Bytes file, std::uint64_t fileSize) {
    if (format.probe)
        return format.probe(file, fileSize);
    return format.fli.kind != FliKind::none ? probeFliLayout(format, file, fileSize)
                                            : probeCells(format, file, fileSize);
}

bool isDetectable(const C64Format& format) {
    return format.probe ||
           (format.cells.kind != CellKind::none && format.cells.evidence != CellEvidence::never) ||
           (format.fli.kind != FliKind::none && format.fli.evidence != CellEvidence::never);
}

std::string sizesOf(const C64Format& format) {
    if (!format.sizes.empty())
        return std::string(format.sizes);
    if (format.lengthsFrom != 0) {
        return format.lengthsUpTo == 0 ? "at least " + std::to_string(format.lengthsFrom)
                                       : std::to_string(format.lengthsFrom) + " to " +
                                             std::to_string(format.lengthsUpTo);
    }
    // Its own reader's and its layout's, where it has both (the one a kind of its own).
    const LayoutLengths& layout =
        format.cells.kind != CellKind::none ? format.cells.lengths : format.fli.lengths;
    std::vector<std::uint32_t> lengths(format.lengths.begin(), format.lengths.end());
    if (format.lengths != layout)
        lengths.insert(lengths.end(), layout.begin(), layout.end());
    std::erase(lengths, 0u);
    std::ranges::sort(lengths);
    std::string text;
    for (std::uint32_t length : lengths)
        text += (text.empty() ? "" : ", ") + std::to_string(length);
    if (format.packed || format.packedUpTo != 0) {
        text += text.empty() ? "packed" : ", or packed";
        if (format.packedUpTo != 0)
            text += (lengths.empty() ? ", up to " : " up to ") + std::to_string(format.packedUpTo);
    }
    return text;
}

const LayoutLengths& lengthsOf(const C64Format& format) {
    if (format.lengths[0] != 0)
        return format.lengths;
    return format.cells.kind != CellKind::none ? format.cells.lengths : format.fli.lengths;
}

const C64Format& formatRow(FormatId id) {
    return kFormats[kRowOf[static_cast<std::size_t>(id)]];
}

std::string_view shownCaption(const C64Format& format) {
    return format.kindSuffix.empty() ? format.captionSuffix : format.kindSuffix;
}

const C64Format& fallbackFormat() {
    return formatRow(FormatId::godot);
}

std::string_view extensionOf(std::string_view fileName) {
    // Only "/" separates folders here: "\\" and ":" are ordinary characters of a file name.
    const auto sep = fileName.rfind('/');
    const std::string_view name =
        sep == std::string_view::npos ? fileName : fileName.substr(sep + 1);
    const auto dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view{} : name.substr(dot);
}

const C64Format& formatForExtension(std::string_view extension) {
    // The exact forms first, in row order, so that a form one row holds in one case and
    // another row in the other keeps its row; then any case ("Mixed.Koa" is a Koala).
    for (const C64Format& row : kFormats) {
        for (std::string_view form : row.extensions) {
            if (!form.empty() && form == extension)
                return row;
        }
    }
    for (const C64Format& row : kFormats) {
        for (std::string_view form : row.extensions) {
            if (!form.empty() && equalsIgnoringCase(form, extension))
                return row;
        }
    }
    return fallbackFormat();
}

const C64Format& formatForFile(std::string_view fileName) {
    return formatForExtension(extensionOf(fileName));
}

bool listsExtension(const C64Format& format, std::string_view extension) {
    return std::ranges::any_of(format.extensions, [&](std::string_view form) {
        return !form.empty() && equalsIgnoringCase(form, extension);
    });
}

std::string_view typeTextFor(std::string_view extension) {
    for (const C64Format& row : kFormats) {
        if (listsExtension(row, extension))
            return row.typeText;
    }
    return {};
}

} // namespace quendra
