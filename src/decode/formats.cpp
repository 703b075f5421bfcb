#include "decode/formats.h"

#include <algorithm>
#include <cctype>
#include <fstream>

#include "decode/further_readers.h"
#include "decode/open_picture.h"
#include "decode/readers.h"

namespace quendra {

namespace {

// The dispatch takes the first row that holds a file's extension, so no two rows should
// hold the same form. The viewer and the converter need nothing but a row.
constexpr C64Format kFormats[] = {
    {.name = "Koala Painter",
     .extensions = {".koa", ".KOA"},
     .captionSuffix = " (Koala)",
     .readLimit = kKoalaReadLimit,
     .sizes = "10003, 10006",
     .typeText = "Koala Painter picture",
     .decode = decodeKoala,
     .probe = probeKoala,
     .loadAddresses = {0x6000}},
    {.name = "RunPaint",
     .extensions = {".rpm", ".RPM"},
     .captionSuffix = " (Koala)",
     .readLimit = kKoalaReadLimit,
     .sizes = "10003, 10006",
     .typeText = "RunPaint picture",
     .decode = decodeKoala,
     .probe = probeKoala,
     .loadAddresses = {0x6000}},
    // Both kinds: the length tells multicolour from hires, and the caption follows.
    {.name = "Art Studio",
     .extensions = {".ocp", ".OCP"},
     .captionSuffix = " (Advanced Art Studio)",
     .readLimit = kArtStudioReadLimit,
     .sizes = "9009, 10018",
     .typeText = "Art Studio picture",
     .decode = decodeArtStudio,
     .probe = probeArtStudio,
     .loadAddresses = {0x2000}},
    {.name = "Amica Paint",
     .extensions = {".ami", ".AMI"},
     .captionSuffix = " (Amica Paint)",
     .readLimit = kAmicaReadLimit,
     .sizes = "packed, up to 10299",
     .typeText = "Amica Paint picture",
     .decode = decodeAmica,
     .probe = probeAmica,
     .loadAddresses = {0x4000}},
    {.name = "Koala compressed",
     .extensions = {".gg", ".GG"},
     .captionSuffix = " (Koala compressed)",
     .readLimit = kKoalaCompressedReadLimit,
     .sizes = "packed, up to 10099",
     .typeText = "Koala compressed picture",
     .decode = decodeKoalaCompressed,
     .probe = probeKoalaCompressed,
     .loadAddresses = {0x6000}},
    {.name = "Doodle",
     .extensions = {".dd", ".DD"},
     .captionSuffix = " (Doodle HiRes)",
     .readLimit = kDoodleReadLimit,
     .sizes = "9026, 9218",
     .typeText = "Doodle picture",
     .decode = decodeDoodle,
     .probe = probeDoodle,
     .loadAddresses = {0x1C00, 0x5C00}},
    {.name = "Doodle compressed",
     .extensions = {".jj", ".JJ"},
     .captionSuffix = " (Doodle HiRes compressed)",
     .readLimit = kDoodleCompressedReadLimit,
     .sizes = "packed, up to 9218",
     .typeText = "Doodle compressed picture",
     .decode = decodeDoodleCompressed,
     .probe = probeDoodleCompressed,
     .loadAddresses = {0x5C00}},
    // Printfox and Pagefox: one reader, the first byte tells the page type. For desktops,
    // the type letter tells a screen or large picture when the byte after it is no text
    // (a run marker, or a literal cell byte; the MIME writer adds that condition); a
    // Pagefox page's letter is followed by its size, which may be any byte.
    {.name = "Printfox large",
     .extensions = {".gb", ".GB"},
     .captionSuffix = " (Page-/Printfox)",
     .readLimit = kPrintfoxReadLimit,
     .sizes = "packed",
     .typeText = "Printfox large picture",
     .reportsProgress = true,
     .decode = decodePrintfox,
     .showsInGrey = false,
     .signature = "G"},
    {.name = "Printfox screen",
     .extensions = {".BS", ".bs"},
     .captionSuffix = " (Page-/Printfox)",
     .readLimit = kPrintfoxReadLimit,
     .sizes = "packed",
     .typeText = "Printfox screen picture",
     .reportsProgress = true,
     .decode = decodePrintfox,
     .showsInGrey = false,
     .signature = "B"},
    {.name = "Pagefox",
     .extensions = {".pg", ".PG"},
     .captionSuffix = " (Page-/Printfox)",
     .readLimit = kPrintfoxReadLimit,
     .sizes = "packed",
     .typeText = "Pagefox page",
     .reportsProgress = true,
     .decode = decodePrintfox,
     .showsInGrey = false},
    {.name = "FunPainter 2",
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
     .signatureOffset = 2},
    // The bitmap pictures of further C64 programs.
    {.name = "Art Studio hires",
     .extensions = {".art", ".aas", ".hpi"},
     .captionSuffix = " (Art Studio HiRes)",
     .readLimit = kArtStudioHiresReadLimit,
     .sizes = "9002, 9003, 9009",
     .typeText = "Art Studio hires picture",
     .decode = decodeArtStudioHires,
     .probe = probeArtStudioHires,
     .loadAddresses = {0x2000, 0x4000}},
    {.name = "Interpaint hires",
     .extensions = {".iph"},
     .captionSuffix = " (Interpaint HiRes)",
     .readLimit = kInterpaintHiresReadLimit,
     .sizes = "9002, 9003, 9009",
     .typeText = "Interpaint hires picture",
     .decode = decodeInterpaintHires,
     .probe = probeInterpaintHires,
     .loadAddresses = {0x4000}},
    {.name = "Interpaint multicolour",
     .extensions = {".ipt"},
     .captionSuffix = " (Interpaint)",
     .readLimit = kInterpaintReadLimit,
     .sizes = "10003",
     .typeText = "Interpaint picture",
     .decode = decodeInterpaint,
     .probe = probeInterpaint,
     .loadAddresses = {0x4000}},
    {.name = "Hi-Eddi",
     .extensions = {".hed"},
     .captionSuffix = " (Hi-Eddi)",
     .readLimit = kHiEddiReadLimit,
     .sizes = "9218",
     .typeText = "Hi-Eddi picture",
     .decode = decodeHiEddi,
     .probe = probeHiEddi,
     .loadAddresses = {0x2000}},
    {.name = "Image System hires",
     .extensions = {".ish"},
     .captionSuffix = " (Image System HiRes)",
     .readLimit = kImageSystemHiresOrInterlaceReadLimit,
     .sizes = "9194, 30738 (interlaced, sprites)",
     .typeText = "Image System hires picture",
     .decode = decodeImageSystemHiresOrInterlace,
     .probe = probeImageSystemHiresOrInterlace,
     .loadAddresses = {0x2000}},
    {.name = "Hires bitmap",
     .extensions = {".hbm", ".fgs", ".mon", ".gcd", ".hir"},
     .captionSuffix = " (HiRes bitmap)",
     .readLimit = kHiresBitmapReadLimit,
     .sizes = "8002, 8194",
     .typeText = "Hires bitmap",
     .decode = decodeHiresBitmap,
     .probe = probeHiresBitmap,
     .loadAddresses = {0x2000, 0x6000}},
    {.name = "Hires bitmap, inverted",
     .extensions = {".gih", ".rpo"},
     .captionSuffix = " (HiRes bitmap)",
     .readLimit = kHiresBitmapReadLimit,
     .sizes = "8002",
     .typeText = "Hires bitmap (inverted)",
     .decode = decodeHiresBitmapInverted,
     .probe = probeHiresBitmapInverted,
     .loadAddresses = {0x2000, 0x6000}},
    {.name = "Koala Painter (.kla)",
     .extensions = {".kla"},
     .captionSuffix = " (Koala)",
     .readLimit = kKlaReadLimit,
     .sizes = "10001, 10003, 10006, or packed up to 10099",
     .typeText = "Koala Painter picture",
     .decode = decodeKla,
     .probe = probeKla,
     .loadAddresses = {0x6000, 0x2000}},
    {.name = "Advanced Art Studio",
     .extensions = {".mpic", ".mpi"},
     .captionSuffix = " (Advanced Art Studio)",
     .readLimit = kAdvancedArtStudioReadLimit,
     .sizes = "10018",
     .typeText = "Advanced Art Studio picture",
     .decode = decodeAdvancedArtStudio,
     .probe = probeAdvancedArtStudio,
     .loadAddresses = {0x2000}},
    {.name = "Blazing Paddles",
     .extensions = {".pi", ".bpl"},
     .captionSuffix = " (Blazing Paddles)",
     .readLimit = kBlazingPaddlesReadLimit,
     .sizes = "10242",
     .typeText = "Blazing Paddles picture",
     .decode = decodeBlazingPaddles,
     .probe = probeBlazingPaddles,
     .loadAddresses = {0xA000}},
    {.name = "Artist 64",
     .extensions = {".a64", ".wig"},
     .captionSuffix = " (Artist 64)",
     .readLimit = kArtist64ReadLimit,
     .sizes = "10242",
     .typeText = "Artist 64 picture",
     .decode = decodeArtist64,
     .probe = probeArtist64,
     .loadAddresses = {0x4000}},
    {.name = "Vidcom 64",
     .extensions = {".vid", ".dol", ".bed"},
     .captionSuffix = " (Vidcom 64)",
     .readLimit = kVidcom64ReadLimit,
     .sizes = "10050, 10241, 10242",
     .typeText = "Vidcom 64 picture",
     .decode = decodeVidcom64,
     .probe = probeVidcom64,
     .loadAddresses = {0x5800}},
    {.name = "Image System multicolour",
     .extensions = {".ism"},
     .captionSuffix = " (Image System)",
     .readLimit = kImageSystemReadLimit,
     .sizes = "10218",
     .typeText = "Image System picture",
     .decode = decodeImageSystem,
     .probe = probeImageSystem,
     .loadAddresses = {0x3C00}},
    {.name = "Saracen Paint",
     .extensions = {".sar"},
     .captionSuffix = " (Saracen Paint)",
     .readLimit = kSaracenPaintReadLimit,
     .sizes = "10219",
     .typeText = "Saracen Paint picture",
     .decode = decodeSaracenPaint,
     .probe = probeSaracenPaint,
     .loadAddresses = {0x7800}},
    {.name = "Paint Magic",
     .extensions = {".pmg"},
     .captionSuffix = " (Paint Magic)",
     .readLimit = kPaintMagicReadLimit,
     .sizes = "9332",
     .typeText = "Paint Magic picture",
     .decode = decodePaintMagic,
     .probe = probePaintMagic,
     .loadAddresses = {0x3F8E}},
    {.name = "Rainbow Painter",
     .extensions = {".rp"},
     .captionSuffix = " (Rainbow Painter)",
     .readLimit = kRainbowPainterReadLimit,
     .sizes = "10242",
     .typeText = "Rainbow Painter picture",
     .decode = decodeRainbowPainter,
     .probe = probeRainbowPainter,
     .loadAddresses = {0x5C00}},
    {.name = "Hires Manager",
     .extensions = {".him"},
     .captionSuffix = " (Hires Manager)",
     .readLimit = kHiresManagerReadLimit,
     .sizes = "16385, or packed",
     .typeText = "Hires Manager picture",
     .decode = decodeHiresManager,
     .probe = probeHiresManager,
     .loadAddresses = {0x4000}},
    // The FLI family (296 pixels wide, the FLI-bug strip left out) and the interlaced
    // pictures (two frames mixed through the blend palette, so "Show gray" leaves them be).
    {.name = "FLI Designer",
     .extensions = {".fli", ".FLI"},
     .captionSuffix = " (FLI)",
     .readLimit = kFliDesignerReadLimit,
     .sizes = "17218, 17409",
     .typeText = "FLI picture",
     .decode = decodeFliDesigner,
     .probe = probeFliDesigner,
     .loadAddresses = {0x3C00, 0x3B00}},
    {.name = "FLI Graph",
     .extensions = {".bml", ".BML"},
     .captionSuffix = " (FLI Graph)",
     .readLimit = kFliGraphReadLimit,
     .sizes = "17474, 17665, 17666, or packed",
     .typeText = "FLI Graph picture",
     .decode = decodeFliGraph,
     .probe = probeFliGraph,
     .loadAddresses = {0x3B00}},
    {.name = "AFLI",
     .extensions = {".afl", ".AFL"},
     .captionSuffix = " (AFLI)",
     .readLimit = kAfliReadLimit,
     .sizes = "16385",
     .typeText = "AFLI picture",
     .decode = decodeAfli,
     .probe = probeAfli,
     .loadAddresses = {0x4000}},
    {.name = "Hires FLI",
     .extensions = {".hfc", ".HFC"},
     .captionSuffix = " (Hires FLI)",
     .readLimit = kHiresFliReadLimit,
     .sizes = "16386",
     .typeText = "Hires FLI picture",
     .decode = decodeHiresFli,
     .probe = probeHiresFli,
     .loadAddresses = {0x4000}},
    {.name = "BFLI",
     .extensions = {".bfli", ".BFLI"},
     .captionSuffix = " (BFLI)",
     .readLimit = kBfliReadLimit,
     .sizes = "33795",
     .typeText = "BFLI picture",
     .decode = decodeBfli,
     .probe = probeBfli,
     .loadAddresses = {0x3BFF},
     .signature = "b",
     .signatureOffset = 2},
    {.name = "True Paint",
     .extensions = {".mci", ".MCI"},
     .captionSuffix = " (True Paint)",
     .readLimit = kTruePaintReadLimit,
     .sizes = "19434, or packed",
     .typeText = "True Paint picture",
     .decode = decodeTruePaint,
     .showsInGrey = false,
     .probe = probeTruePaint,
     .loadAddresses = {0x9C00}},
    {.name = "Drazlace",
     .extensions = {".drl", ".DRL"},
     .captionSuffix = " (Drazlace)",
     .readLimit = kDrazlaceReadLimit,
     .sizes = "18242, or packed",
     .typeText = "Drazlace picture",
     .decode = decodeDrazlace,
     .showsInGrey = false,
     .probe = probeDrazlace,
     .loadAddresses = {0x5800}},
    {.name = "Gunpaint",
     .extensions = {".gun", ".GUN"},
     .captionSuffix = " (Gunpaint)",
     .readLimit = kGunpaintReadLimit,
     .sizes = "33602, 33603",
     .typeText = "Gunpaint picture",
     .decode = decodeGunpaint,
     .showsInGrey = false,
     .probe = probeGunpaint,
     .loadAddresses = {0x4000},
     .signature = "GUNPAINT (JZ)",
     .signatureOffset = 1002},
    {.name = "FFLI",
     .extensions = {".ffli", ".FFLI"},
     .captionSuffix = " (FFLI)",
     .readLimit = kFfliReadLimit,
     .sizes = "26115",
     .typeText = "FFLI picture",
     .decode = decodeFfli,
     .showsInGrey = false,
     .probe = probeFfli,
     .loadAddresses = {0x3AFF},
     .signature = "f",
     .signatureOffset = 2},
    {.name = "Drazpaint",
     .extensions = {".drz", ".DRZ", ".drp", ".DRP"},
     .captionSuffix = " (Drazpaint)",
     .readLimit = kDrazpaintReadLimit,
     .sizes = "10051, or packed",
     .typeText = "Drazpaint picture",
     .decode = decodeDrazpaint,
     .probe = probeDrazpaint,
     .loadAddresses = {0x5800}},
    {.name = "Hires-Interlace",
     .extensions = {".hlf", ".HLF"},
     .captionSuffix = " (Hires-Interlace)",
     .readLimit = kHiresInterlaceReadLimit,
     .sizes = "24578",
     .typeText = "Hires-Interlace picture",
     .decode = decodeHiresInterlace,
     .showsInGrey = false,
     .probe = probeHiresInterlace,
     .loadAddresses = {0x2000}},
    // GoDot: the picture row is also the fallback. One read takes a clip whole; the magic
    // decides between picture and clip, and a clip names itself in the caption.
    {.name = "GoDot 4Bit",
     .extensions = {".4bt"},
     .captionSuffix = " (4Bit GoDot)",
     .readLimit = kGodotClipReadLimit,
     .sizes = "packed",
     .typeText = "GoDot 4Bit picture",
     .reportsProgress = true,
     .decode = decodeGodot,
     .probe = probeGodot,
     .signature = "GOD0"},
    {.name = "GoDot 4Bit clip",
     .extensions = {".clp"},
     .captionSuffix = " (4Bit GoDot)",
     .kindSuffix = " (4Bit GoDot-Clip)",
     .readLimit = kGodotClipReadLimit,
     .sizes = "packed",
     .typeText = "GoDot 4Bit clip",
     .reportsProgress = true,
     .decode = decodeGodot,
     .probe = probeGodot,
     .signature = "GOD1"},
#include "decode/further_formats.inc"
};

constexpr std::size_t fallbackRow() {
    for (std::size_t i = 0; i < std::size(kFormats); ++i) {
        if (kFormats[i].name == "GoDot 4Bit")
            return i;
    }
    return std::size(kFormats);
}
constexpr std::size_t kFallbackRow = fallbackRow();
static_assert(kFallbackRow < std::size(kFormats) && kFormats[kFallbackRow].decode == decodeGodot);

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

const C64Format& fallbackFormat() {
    return kFormats[kFallbackRow];
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

std::vector<std::uint8_t> readFilePrefix(const std::filesystem::path& path, std::size_t limit,
                                         std::uint64_t* fileSize) {
    std::vector<std::uint8_t> bytes;
    if (fileSize)
        *fileSize = 0;
    // Only plain files: opening a pipe or a device named like a picture would wait forever.
    std::error_code regular;
    if (!std::filesystem::is_regular_file(path, regular))
        return bytes;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return bytes;
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (fileSize && !ec)
        *fileSize = size;
    // Grow in steps when the size is unknown (a pipe, a special file).
    const std::size_t want = ec ? std::min<std::size_t>(limit, 1 << 16)
                                : static_cast<std::size_t>(std::min<std::uintmax_t>(size, limit));
    bytes.resize(want);
    std::size_t got = 0;
    while (true) {
        in.read(reinterpret_cast<char*>(bytes.data() + got),
                static_cast<std::streamsize>(bytes.size() - got));
        got += static_cast<std::size_t>(in.gcount());
        if (!in || got >= limit)
            break;
        if (got == bytes.size())
            bytes.resize(std::min(limit, bytes.size() * 2 + 1));
    }
    bytes.resize(got);
    return bytes;
}

Decoded readPicture(const std::filesystem::path& path, const C64Format& format,
                    DecodeOptions options) {
    const std::vector<std::uint8_t> bytes =
        readFilePrefix(path, format.readLimit, &options.fileSize);
    return format.decode(bytes, options);
}

Decoded decodeFile(const std::filesystem::path& path, const DecodeOptions& options) {
    return openPictureFile(path, options).decoded;
}

} // namespace quendra
