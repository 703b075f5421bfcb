#include "decode/formats.h"

#include <algorithm>
#include <cctype>
#include <fstream>

#include "decode/readers.h"

namespace quendra {

namespace {

constexpr ReaderInfo kTable[] = {
    {ReaderKind::Koala, "KoalaView", {".koa", ".KOA", ".rpm", ".RPM"}, " (Koala)",
     kKoalaReadLimit, "Koala Painter picture", decodeKoala},
    {ReaderKind::ArtStudio, "ArtView", {".ocp", ".OCP"}, " (Advanced Art Studio)",
     kArtStudioReadLimit, "Art Studio picture", decodeArtStudio},
    {ReaderKind::Amica, "AmiView", {".ami", ".AMI"}, " (Amica Paint)", kAmicaReadLimit,
     "Amica Paint picture", decodeAmica},
    {ReaderKind::KoalaCompressed, "KoalaCompView", {".gg", ".GG"}, " (Koala compressed)",
     kKoalaCompressedReadLimit, "Koala compressed picture", decodeKoalaCompressed},
    {ReaderKind::Doodle, "DoodleView", {".dd", ".DD"}, " (Doodle HiRes)", kDoodleReadLimit,
     "Doodle picture", decodeDoodle},
    {ReaderKind::DoodleCompressed, "DoodleCompView", {".jj", ".JJ"},
     " (Doodle HiRes compressed)", kDoodleCompressedReadLimit, "Doodle compressed picture",
     decodeDoodleCompressed},
    {ReaderKind::Printfox, "PageGBView", {".gb", ".GB", ".BS", ".bs", ".pg", ".PG"},
     " (Page-/Printfox)", kPrintfoxReadLimit, "Printfox/Pagefox picture", decodePrintfox},
    {ReaderKind::FunPainter, "FP2View", {".fp2", ".FP2"}, " (FunPainter 2 / IFLI)",
     kFunPainterReadLimit, "FunPainter 2 picture", decodeFunPainter},
    {ReaderKind::Godot, "GoDot", {}, " (4Bit GoDot)", kGodotReadLimit, "GoDot 4Bit picture",
     decodeGodot},
};

struct Description {
    std::string_view extension;  // lower case
    std::string_view text;
};

constexpr Description kDescriptions[] = {
    {".koa", "Koala Painter picture"},      {".rpm", "RunPaint picture"},
    {".gg", "Koala compressed picture"},    {".ocp", "Art Studio picture"},
    {".ami", "Amica Paint picture"},        {".dd", "Doodle picture"},
    {".jj", "Doodle compressed picture"},   {".bs", "Printfox screen picture"},
    {".gb", "Printfox large picture"},      {".pg", "Pagefox page"},
    {".fp2", "FunPainter 2 picture"},       {".4bt", "GoDot 4Bit picture"},
    {".clp", "GoDot 4Bit clip"},
};

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

std::span<const ReaderInfo> readerTable() { return kTable; }

std::string_view extensionOf(std::string_view fileName) {
    // Only "/" separates folders here: "\\" and ":" are ordinary characters of a file name.
    const auto sep = fileName.rfind('/');
    const std::string_view name =
        sep == std::string_view::npos ? fileName : fileName.substr(sep + 1);
    const auto dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view{} : name.substr(dot);
}

const ReaderInfo& readerForExtension(std::string_view extension) {
    for (const ReaderInfo& row : kTable) {
        for (std::string_view form : row.extensions) {
            if (!form.empty() && form == extension) return row;
        }
    }
    return kTable[std::size(kTable) - 1];
}

const ReaderInfo& readerForFile(std::string_view fileName) {
    return readerForExtension(extensionOf(fileName));
}

std::string_view formatDescription(std::string_view extension) {
    for (const Description& d : kDescriptions) {
        if (equalsIgnoringCase(d.extension, extension)) return d.text;
    }
    return {};
}

std::vector<std::uint8_t> readFilePrefix(const std::filesystem::path& path, std::size_t limit) {
    std::vector<std::uint8_t> bytes;
    // Only plain files: opening a pipe or a device named like a picture would wait forever.
    std::error_code regular;
    if (!std::filesystem::is_regular_file(path, regular)) return bytes;
    std::ifstream in(path, std::ios::binary);
    if (!in) return bytes;
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    // Grow in steps when the size is unknown (a pipe, a special file).
    const std::size_t want = ec ? std::min<std::size_t>(limit, 1 << 16)
                                : static_cast<std::size_t>(std::min<std::uintmax_t>(size, limit));
    bytes.resize(want);
    std::size_t got = 0;
    while (true) {
        in.read(reinterpret_cast<char*>(bytes.data() + got),
                static_cast<std::streamsize>(bytes.size() - got));
        got += static_cast<std::size_t>(in.gcount());
        if (!in || got >= limit) break;
        if (got == bytes.size()) bytes.resize(std::min(limit, bytes.size() * 2 + 1));
    }
    bytes.resize(got);
    return bytes;
}

Decoded decodeFile(const std::filesystem::path& path, const DecodeOptions& options) {
    const ReaderInfo& reader = readerForFile(path.filename().string());
    std::vector<std::uint8_t> bytes = readFilePrefix(path, reader.readLimit);
    if (reader.kind == ReaderKind::Godot && bytes.size() >= 4 && bytes[0] == 'G' &&
        bytes[1] == 'O' && bytes[2] == 'D' && bytes[3] == '1') {
        bytes = readFilePrefix(path, kGodotClipReadLimit);
    }
    return reader.decode(bytes, options);
}

}  // namespace quendra
