#include "decode/formats.h"

#include <algorithm>
#include <cctype>
#include <fstream>

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
     .typeText = "Koala Painter picture",
     .decode = decodeKoala},
    {.name = "RunPaint",
     .extensions = {".rpm", ".RPM"},
     .captionSuffix = " (Koala)",
     .readLimit = kKoalaReadLimit,
     .typeText = "RunPaint picture",
     .decode = decodeKoala},
    // Both kinds: the length tells multicolour from hires, and the caption follows.
    {.name = "Art Studio",
     .extensions = {".ocp", ".OCP"},
     .captionSuffix = " (Advanced Art Studio)",
     .readLimit = kArtStudioReadLimit,
     .typeText = "Art Studio picture",
     .decode = decodeArtStudio},
    {.name = "Amica Paint",
     .extensions = {".ami", ".AMI"},
     .captionSuffix = " (Amica Paint)",
     .readLimit = kAmicaReadLimit,
     .typeText = "Amica Paint picture",
     .decode = decodeAmica},
    {.name = "Koala compressed",
     .extensions = {".gg", ".GG"},
     .captionSuffix = " (Koala compressed)",
     .readLimit = kKoalaCompressedReadLimit,
     .typeText = "Koala compressed picture",
     .decode = decodeKoalaCompressed},
    {.name = "Doodle",
     .extensions = {".dd", ".DD"},
     .captionSuffix = " (Doodle HiRes)",
     .readLimit = kDoodleReadLimit,
     .typeText = "Doodle picture",
     .decode = decodeDoodle},
    {.name = "Doodle compressed",
     .extensions = {".jj", ".JJ"},
     .captionSuffix = " (Doodle HiRes compressed)",
     .readLimit = kDoodleCompressedReadLimit,
     .typeText = "Doodle compressed picture",
     .decode = decodeDoodleCompressed},
    // Printfox and Pagefox: one reader, the first byte tells the page type.
    {.name = "Printfox large",
     .extensions = {".gb", ".GB"},
     .captionSuffix = " (Page-/Printfox)",
     .readLimit = kPrintfoxReadLimit,
     .typeText = "Printfox large picture",
     .reportsProgress = true,
     .decode = decodePrintfox,
     .showsInGrey = false},
    {.name = "Printfox screen",
     .extensions = {".BS", ".bs"},
     .captionSuffix = " (Page-/Printfox)",
     .readLimit = kPrintfoxReadLimit,
     .typeText = "Printfox screen picture",
     .reportsProgress = true,
     .decode = decodePrintfox,
     .showsInGrey = false},
    {.name = "Pagefox",
     .extensions = {".pg", ".PG"},
     .captionSuffix = " (Page-/Printfox)",
     .readLimit = kPrintfoxReadLimit,
     .typeText = "Pagefox page",
     .reportsProgress = true,
     .decode = decodePrintfox,
     .showsInGrey = false},
    {.name = "FunPainter 2",
     .extensions = {".fp2", ".FP2"},
     .captionSuffix = " (FunPainter 2 / IFLI)",
     .readLimit = kFunPainterReadLimit,
     .typeText = "FunPainter 2 picture",
     .reportsProgress = true,
     .decode = decodeFunPainter,
     .showsInGrey = false,
     .fitsGodot = false,
     .inFileMask = false},
    // The FLI family (296 pixels wide, the FLI-bug strip left out) and the interlaced
    // pictures (two frames mixed through the blend palette, so "Show gray" leaves them be).
    {.name = "FLI Designer",
     .extensions = {".fli", ".FLI"},
     .captionSuffix = " (FLI)",
     .readLimit = kFliDesignerReadLimit,
     .typeText = "FLI picture",
     .decode = decodeFliDesigner},
    {.name = "FLI Graph",
     .extensions = {".bml", ".BML"},
     .captionSuffix = " (FLI Graph)",
     .readLimit = kFliGraphReadLimit,
     .typeText = "FLI Graph picture",
     .decode = decodeFliGraph},
    {.name = "AFLI",
     .extensions = {".afl", ".AFL"},
     .captionSuffix = " (AFLI)",
     .readLimit = kAfliReadLimit,
     .typeText = "AFLI picture",
     .decode = decodeAfli},
    {.name = "Hires FLI",
     .extensions = {".hfc", ".HFC"},
     .captionSuffix = " (Hires FLI)",
     .readLimit = kHiresFliReadLimit,
     .typeText = "Hires FLI picture",
     .decode = decodeHiresFli},
    {.name = "BFLI",
     .extensions = {".bfli", ".BFLI"},
     .captionSuffix = " (BFLI)",
     .readLimit = kBfliReadLimit,
     .typeText = "BFLI picture",
     .decode = decodeBfli},
    {.name = "True Paint",
     .extensions = {".mci", ".MCI"},
     .captionSuffix = " (True Paint)",
     .readLimit = kTruePaintReadLimit,
     .typeText = "True Paint picture",
     .decode = decodeTruePaint,
     .showsInGrey = false},
    {.name = "Drazlace",
     .extensions = {".drl", ".DRL"},
     .captionSuffix = " (Drazlace)",
     .readLimit = kDrazlaceReadLimit,
     .typeText = "Drazlace picture",
     .decode = decodeDrazlace,
     .showsInGrey = false},
    {.name = "Gunpaint",
     .extensions = {".gun", ".GUN"},
     .captionSuffix = " (Gunpaint)",
     .readLimit = kGunpaintReadLimit,
     .typeText = "Gunpaint picture",
     .decode = decodeGunpaint,
     .showsInGrey = false},
    {.name = "FFLI",
     .extensions = {".ffli", ".FFLI"},
     .captionSuffix = " (FFLI)",
     .readLimit = kFfliReadLimit,
     .typeText = "FFLI picture",
     .decode = decodeFfli,
     .showsInGrey = false},
    {.name = "Drazpaint",
     .extensions = {".drz", ".DRZ", ".drp", ".DRP"},
     .captionSuffix = " (Drazpaint)",
     .readLimit = kDrazpaintReadLimit,
     .typeText = "Drazpaint picture",
     .decode = decodeDrazpaint},
    {.name = "Hires-Interlace",
     .extensions = {".hlf", ".HLF"},
     .captionSuffix = " (Hires-Interlace)",
     .readLimit = kHiresInterlaceReadLimit,
     .typeText = "Hires-Interlace picture",
     .decode = decodeHiresInterlace,
     .showsInGrey = false},
    // GoDot: the picture row is also the fallback. One read takes a clip whole; the magic
    // decides between picture and clip, and a clip names itself in the caption.
    {.name = "GoDot 4Bit",
     .extensions = {".4bt"},
     .captionSuffix = " (4Bit GoDot)",
     .readLimit = kGodotClipReadLimit,
     .typeText = "GoDot 4Bit picture",
     .reportsProgress = true,
     .decode = decodeGodot},
    {.name = "GoDot 4Bit clip",
     .extensions = {".clp"},
     .captionSuffix = " (4Bit GoDot)",
     .readLimit = kGodotClipReadLimit,
     .typeText = "GoDot 4Bit clip",
     .reportsProgress = true,
     .decode = decodeGodot},
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
    for (const C64Format& row : kFormats) {
        for (std::string_view form : row.extensions) {
            if (!form.empty() && form == extension)
                return row;
        }
    }
    return fallbackFormat();
}

const C64Format& formatForFile(std::string_view fileName) {
    return formatForExtension(extensionOf(fileName));
}

std::string_view typeTextFor(std::string_view extension) {
    for (const C64Format& row : kFormats) {
        for (std::string_view form : row.extensions) {
            if (!form.empty() && equalsIgnoringCase(form, extension))
                return row.typeText;
        }
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
    return readPicture(path, formatForFile(path.filename().string()), options);
}

} // namespace quendra
