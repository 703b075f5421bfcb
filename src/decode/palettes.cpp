#include "decode/palettes.h"

#include <algorithm>
#include <fstream>

#include "decode/blend.h"
#include "decode/palette.h"

namespace quendra {

namespace {

constexpr Rgb hex(std::uint32_t rgb) {
    return {static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
            static_cast<std::uint8_t>(rgb)};
}

constexpr C64Colours fromHex(const std::array<std::uint32_t, 16>& values) {
    C64Colours colours{};
    for (std::size_t i = 0; i < 16; ++i)
        colours[i] = hex(values[i]);
    return colours;
}

// clang-format off
const NamedPalette kPalettes[] = {
    {"default", "Quendra's own colours", kC64Palette},
    {"pepto", "Pepto's PAL palette (VICE, RECOIL)",
     fromHex({0x000000, 0xFFFFFF, 0x68372B, 0x70A4B2, 0x6F3D86, 0x588D43, 0x352879, 0xB8C76F,
              0x6F4F25, 0x433900, 0x9A6759, 0x444444, 0x6C6C6C, 0x9AD284, 0x6C5EB5, 0x959595})},
    {"colodore", "Colodore",
     fromHex({0x000000, 0xFFFFFF, 0x813338, 0x75CEC8, 0x8E3C97, 0x56AC4D, 0x2E2C9B, 0xEDF171,
              0x8E5029, 0x553800, 0xC46C71, 0x4A4A4A, 0x7B7B7B, 0xA9FF9F, 0x706DEB, 0xB2B2B2})},
    {"vice-old", "VICE's older default palette",
     fromHex({0x000000, 0xFFFFFF, 0x894036, 0x7ABFC7, 0x8A46AE, 0x68A941, 0x3E31A2, 0xD0DC71,
              0x905F25, 0x5C4700, 0xBB776D, 0x555555, 0x808080, 0xACEA88, 0x7C70DA, 0xABABAB})},
};
// clang-format on

// C64 colour number of each GoDot index.
constexpr std::array<std::uint8_t, 16> makeC64OfGodot() {
    std::array<std::uint8_t, 16> c64{};
    for (std::uint8_t n = 0; n < 16; ++n)
        c64[kGodotIndexOfC64[n]] = n;
    return c64;
}
constexpr std::array<std::uint8_t, 16> kC64OfGodot = makeC64OfGodot();

constexpr std::size_t kVplFileLimit = 64 * 1024;

std::string lineError(int line, const std::string& what) {
    return "line " + std::to_string(line) + ": " + what;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// The line's words, blanks between them, comment cut off.
std::vector<std::string_view> wordsOf(std::string_view line) {
    const auto hash = line.find('#');
    if (hash != std::string_view::npos)
        line = line.substr(0, hash);
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isBlank(line[i]))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && !isBlank(line[i]))
            ++i;
        if (i > start)
            words.push_back(line.substr(start, i - start));
    }
    return words;
}

} // namespace

std::span<const NamedPalette> namedPalettes() {
    return kPalettes;
}

const NamedPalette& defaultPalette() {
    return kPalettes[0];
}

const NamedPalette* findPalette(std::string_view name) {
    for (const NamedPalette& p : kPalettes) {
        if (p.name == name)
            return &p;
    }
    return nullptr;
}

std::string paletteNameList() {
    std::string list;
    for (const NamedPalette& p : kPalettes) {
        if (!list.empty())
            list += ", ";
        list += p.name;
    }
    return list;
}

PaletteResult parseVpl(std::string_view text) {
    PaletteResult result;
    std::size_t count = 0;
    int lineNumber = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        const auto end = text.find('\n', at);
        const std::string_view line =
            text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
        at = end == std::string_view::npos ? text.size() : end + 1;
        ++lineNumber;
        const std::vector<std::string_view> words = wordsOf(line);
        if (words.empty())
            continue;
        if (count == 16)
            return {false, lineError(lineNumber, "more than 16 colours"), {}};
        if (words.size() < 3 || words.size() > 4) {
            return {false,
                    lineError(lineNumber, "a colour is red, green and blue (and an optional "
                                          "fourth value), not " +
                                              std::to_string(words.size()) + " values"),
                    {}};
        }
        std::uint8_t channel[3] = {};
        for (std::size_t k = 0; k < 3; ++k) {
            const std::string_view w = words[k];
            const int high = w.size() == 2 ? hexValue(w[0]) : -1;
            const int low = w.size() == 2 ? hexValue(w[1]) : -1;
            if (high < 0 || low < 0) {
                return {false,
                        lineError(lineNumber, "\"" + std::string(w) +
                                                  "\" is not a two-digit hexadecimal number"),
                        {}};
            }
            channel[k] = static_cast<std::uint8_t>(16 * high + low);
        }
        if (words.size() == 4) {
            const std::string_view w = words[3];
            const bool hex =
                w.size() <= 2 && hexValue(w[0]) >= 0 && (w.size() == 1 || hexValue(w[1]) >= 0);
            if (!hex) {
                return {false,
                        lineError(lineNumber, "the fourth value \"" + std::string(w) +
                                                  "\" is not a hexadecimal number"),
                        {}};
            }
        }
        result.colours[count++] = {channel[0], channel[1], channel[2]};
    }
    if (count < 16) {
        return {false,
                lineError(std::max(lineNumber, 1), "the file ends after " + std::to_string(count) +
                                                       " colours; a palette has 16"),
                {}};
    }
    result.ok = true;
    return result;
}

PaletteResult readVplFile(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return {false, path.string() + ": not a palette file that can be read", {}};
    const auto size = std::filesystem::file_size(path, ec);
    if (ec)
        return {false, path.string() + ": cannot be read", {}};
    if (size > kVplFileLimit)
        return {false,
                path.string() + ": too large for a palette file (" + std::to_string(size) +
                    " bytes)",
                {}};
    std::ifstream in(path, std::ios::binary);
    std::string text(static_cast<std::size_t>(size), '\0');
    if (!in || !in.read(text.data(), static_cast<std::streamsize>(text.size())))
        return {false, path.string() + ": cannot be read", {}};
    PaletteResult result = parseVpl(text);
    if (!result.ok)
        result.error = path.string() + ": " + result.error;
    return result;
}

PaletteResult resolvePalette(std::string_view nameOrFile) {
    if (const NamedPalette* p = findPalette(nameOrFile))
        return {true, {}, p->colours};
    const std::filesystem::path path{std::string(nameOrFile)};
    if (path.extension() != ".vpl" && path.extension() != ".VPL" &&
        nameOrFile.find('/') == std::string_view::npos) {
        return {false,
                "unknown palette \"" + std::string(nameOrFile) + "\" (known: " + paletteNameList() +
                    ", or a VICE .vpl file)",
                {}};
    }
    return readVplFile(path);
}

std::vector<Rgb> paletteLookup(IndexMeaning meaning, bool grey, const C64Colours& colours) {
    switch (meaning) {
    case IndexMeaning::fixed:
        return {};
    case IndexMeaning::c64Numbers:
        if (grey)
            return {kC64GreyPalette.begin(), kC64GreyPalette.end()};
        return {colours.begin(), colours.end()};
    case IndexMeaning::godotIndices: {
        if (grey)
            return {kGodotGreyPalette.begin(), kGodotGreyPalette.end()};
        std::vector<Rgb> lookup(16);
        for (std::size_t g = 0; g < 16; ++g)
            lookup[g] = colours[kC64OfGodot[g]];
        return lookup;
    }
    case IndexMeaning::blendPairs: {
        const std::span<const Rgb, 256> blend = blendPalette();
        if (colours == kC64Palette)
            return {blend.begin(), blend.end()};
        std::vector<Rgb> lookup(256);
        for (std::size_t i = 0; i < 256; ++i) {
            const Rgb a = colours[kC64OfGodot[i >> 4]];
            const Rgb b = colours[kC64OfGodot[i & 15]];
            lookup[i] = {static_cast<std::uint8_t>((a.r + b.r) >> 1),
                         static_cast<std::uint8_t>((a.g + b.g) >> 1),
                         static_cast<std::uint8_t>((a.b + b.b) >> 1)};
        }
        return lookup;
    }
    }
    return {};
}

void applyPalette(IndexedImage& picture, const C64Colours& colours) {
    if (picture.meaning() == IndexMeaning::fixed)
        return;
    picture.setPalette(paletteLookup(picture.meaning(), picture.grey(), colours));
}

Image inOwnColours(IndexedImage picture) {
    applyPalette(picture, kC64Palette);
    return picture.toRgb();
}

} // namespace quendra
