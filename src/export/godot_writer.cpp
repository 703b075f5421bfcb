// The GoDot 4Bit writer: pixels to GoDot indices by exact match against a table, 8 x 8
// cells expanded to 32 bytes each, then run-length compressed (format: decode/godot_format.h).
#include "export/godot_writer.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>
#include <string_view>

#include "decode/godot_format.h"

namespace quendra {

namespace {

// The match tables as the program states its colours: "$00" then blue, green and red.
constexpr std::string_view kColourMatchText[16] = {
    "$00000000", "$00a80000", "$00004868", "$00303030", "$00000088", "$00d048d0",
    "$005888e0", "$00787878", "$00ff8800", "$007878ff", "$0058d000", "$00b8b8b8",
    "$00f0ffa8", "$0078f0f0", "$0068ffa8", "$00ffffff",
};
constexpr std::string_view kGreyMatchText[16] = {
    "$00000000", "$00101010", "$00202020", "$00303030", "$00484848", "$00585858",
    "$00686868", "$00787878", "$00888888", "$00989898", "$00a8a8a8", "$00b8b8b8",
    "$00d0d0d0", "$00e0e0e0", "$00f0f0f0", "$00ffffff",
};

constexpr int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    throw std::invalid_argument("not a hexadecimal digit");
}

constexpr std::uint8_t hexByte(std::string_view text, std::size_t at) {
    return static_cast<std::uint8_t>(16 * hexDigit(text[at]) + hexDigit(text[at + 1]));
}

// "$00BBGGRR" to a colour.
constexpr Rgb colourFromText(std::string_view text) {
    if (text.size() != 9 || text[0] != '$')
        throw std::invalid_argument("not a colour constant");
    return {hexByte(text, 7), hexByte(text, 5), hexByte(text, 3)};
}

constexpr std::array<Rgb, 16> tableFromText(const std::string_view (&text)[16]) {
    std::array<Rgb, 16> table{};
    for (std::size_t i = 0; i < 16; ++i)
        table[i] = colourFromText(text[i]);
    return table;
}

constexpr std::array<Rgb, 16> kColourMatchTable = tableFromText(kColourMatchText);
constexpr std::array<Rgb, 16> kGreyMatchTable = tableFromText(kGreyMatchText);

// A channel rounded as the table entries were (to the nearest multiple of 8, halves up,
// above 255 kept at 255) takes one of 33 values; its code is the multiple's number, 32
// standing for 255.
constexpr std::size_t channelCode(std::uint8_t c) {
    return (c + 4u) >> 3;
}

constexpr std::size_t colourCode(Rgb c) {
    return (channelCode(c.r) * 33 + channelCode(c.g)) * 33 + channelCode(c.b);
}

// The index of every rounded colour: the first table entry equal to it, 0 when none is.
// Filled from the last entry to the first, so the first match wins.
using MatchLookup = std::array<std::uint8_t, 33 * 33 * 33>;
constexpr MatchLookup makeLookup(const std::array<Rgb, 16>& table) {
    MatchLookup lookup{};
    for (std::size_t i = table.size(); i-- > 0;) {
        lookup[colourCode(table[i])] = static_cast<std::uint8_t>(i);
    }
    return lookup;
}

// Every entry must be a rounded colour itself, or the codes would not tell them apart.
constexpr bool allRounded(const std::array<Rgb, 16>& table) {
    auto rounded = [](std::uint8_t c) { return c == 255 || c % 8 == 0; };
    for (const Rgb& c : table) {
        if (!rounded(c.r) || !rounded(c.g) || !rounded(c.b))
            return false;
    }
    return true;
}
static_assert(allRounded(kColourMatchTable) && allRounded(kGreyMatchTable));

constexpr MatchLookup kColourLookup = makeLookup(kColourMatchTable);
constexpr MatchLookup kGreyLookup = makeLookup(kGreyMatchTable);

const MatchLookup& lookupFor(bool grey) {
    return grey ? kGreyLookup : kColourLookup;
}

void appendCompressed(std::span<const std::uint8_t> cells, std::vector<std::uint8_t>& out) {
    const std::size_t n = cells.size();
    std::size_t k = 0;
    while (k < n) {
        const std::uint8_t b = cells[k];
        if (b == kGodotEscape) {
            // Always a run of its own, also beside other 0xAD bytes, as GoDot writes it.
            out.insert(out.end(), {kGodotEscape, 0x01, kGodotEscape});
            ++k;
        } else if (n - k >= 4 && cells[k + 1] == b && cells[k + 2] == b && cells[k + 3] == b) {
            std::size_t run = 4;
            while (run < 256 && k + run < n && cells[k + run] == b)
                ++run;
            out.insert(out.end(),
                       {kGodotEscape, static_cast<std::uint8_t>(run == 256 ? 0 : run), b});
            k += run;
        } else {
            out.push_back(b);
            ++k;
        }
    }
}

// Appends the 32-byte cells of one cell row; `band` is scratch space of 8 lines of
// 8 * columns indices. `matchLine(y, out)` writes line y's GoDot indices.
template <typename MatchLine>
void appendCellRow(int height, int cellRow, int columns, MatchLine matchLine,
                   std::vector<std::uint8_t>& band, std::vector<std::uint8_t>& cells) {
    const std::size_t stride = 8 * static_cast<std::size_t>(columns);
    std::fill(band.begin(), band.end(), 0); // beyond the picture's edge: index 0
    for (int l = 0; l < 8; ++l) {
        const int y = 8 * cellRow + l;
        if (y >= height)
            break;
        matchLine(y, band.data() + l * stride);
    }
    for (int c = 0; c < columns; ++c) {
        for (int l = 0; l < 8; ++l) {
            const std::uint8_t* line = band.data() + l * stride + 8 * c;
            for (int i = 0; i < 8; i += 2) {
                cells.push_back(static_cast<std::uint8_t>(line[i] << 4 | line[i + 1]));
            }
        }
    }
}

// The whole file of a width x height picture into `out`; empty or why not.
template <typename MatchLine>
std::string encodeCells(int width, int height, MatchLine matchLine, Progress* progress,
                        GodotScratch& scratch, std::vector<std::uint8_t>& out) {
    // Sides that are not whole cells are padded to whole cells.
    const int columns = (width + 7) / 8;
    const int rows = (height + 7) / 8;
    out.clear();
    if (columns > kGodotMaxCells || rows > kGodotMaxCells) {
        return "a GoDot clip holds at most 255 x 255 cells of 8 x 8 pixels; this picture needs " +
               std::to_string(columns) + " x " + std::to_string(rows);
    }
    const bool full = width == 8 * kGodotFullColumns && height == 8 * kGodotFullRows;

    std::vector<std::uint8_t>& cells = scratch.cells;
    cells.clear();
    cells.reserve(kGodotCellBytes * static_cast<std::size_t>(columns) * rows);
    scratch.band.resize(64 * static_cast<std::size_t>(columns));
    if (progress)
        progress->start(rows > 0 ? rows - 1 : 0);
    for (int r = 0; r < rows; ++r) {
        appendCellRow(height, r, columns, matchLine, scratch.band, cells);
        if (progress)
            progress->position(r);
    }

    out.reserve(kGodotClipHeaderBytes + cells.size() / 2 + 1);
    if (full) {
        out.insert(out.end(), {'G', 'O', 'D', '0'});
    } else {
        out.insert(out.end(), {'G', 'O', 'D', '1', 0, 0, static_cast<std::uint8_t>(columns),
                               static_cast<std::uint8_t>(rows)});
    }
    appendCompressed(cells, out);
    out.push_back(kGodotEscape); // ends the data for every reader
    return {};
}

} // namespace

std::span<const Rgb, 16> godotMatchTable(bool grey) {
    return grey ? kGreyMatchTable : kColourMatchTable;
}

std::uint8_t matchGodotIndex(Rgb colour, bool grey) {
    return lookupFor(grey)[colourCode(colour)];
}

std::vector<std::uint8_t> compressGodotCells(std::span<const std::uint8_t> cells) {
    std::vector<std::uint8_t> out;
    appendCompressed(cells, out);
    return out;
}

GodotEncoded encodeGodot(const Image& picture, bool grey, Progress* progress) {
    const MatchLookup& lookup = lookupFor(grey);
    auto matchLine = [&](int y, std::uint8_t* out) {
        const std::uint8_t* p = picture.data() + y * picture.bytesPerLine();
        for (int x = 0; x < picture.width(); ++x, p += 3)
            out[x] = lookup[colourCode({p[0], p[1], p[2]})];
    };
    GodotScratch scratch;
    GodotEncoded result;
    result.error =
        encodeCells(picture.width(), picture.height(), matchLine, progress, scratch, result.bytes);
    result.ok = result.error.empty();
    return result;
}

std::string encodeGodot(const IndexedImage& picture, bool grey, GodotScratch& scratch,
                        std::vector<std::uint8_t>& out) {
    // Each palette entry matched once; an index beyond the palette is black.
    std::array<std::uint8_t, 256> match;
    match.fill(matchGodotIndex(Rgb{}, grey));
    const auto& palette = picture.palette();
    for (std::size_t i = 0; i < palette.size() && i < 256; ++i)
        match[i] = matchGodotIndex(palette[i], grey);
    auto matchLine = [&](int y, std::uint8_t* line) {
        const std::uint8_t* in = picture.row(y);
        for (int x = 0; x < picture.width(); ++x)
            line[x] = match[in[x]];
    };
    return encodeCells(picture.width(), picture.height(), matchLine, nullptr, scratch, out);
}

WriteResult writeGodotFile(const std::filesystem::path& target, const Image& picture, bool grey,
                           Progress* progress) {
    const GodotEncoded encoded = encodeGodot(picture, grey, progress);
    if (!encoded.ok)
        return {false, encoded.error};
    return writeFileAtomically(target, encoded.bytes);
}

} // namespace quendra
