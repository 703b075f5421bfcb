#include "export/c64_fit.h"

#include <algorithm>
#include <array>
#include <bit>

#include "decode/palette.h"

namespace quendra {

namespace {

using Counts = std::array<int, 16>;

std::string hexColour(Rgb c) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text = "#";
    for (std::uint8_t v : {c.r, c.g, c.b}) {
        text += kDigits[v >> 4];
        text += kDigits[v & 15];
    }
    return text;
}

std::string at(int x, int y) {
    return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

// The colour number of each palette colour, by exact RGB; the first of equal ones.
int colourNumberOf(Rgb c, const C64Colours& palette) {
    for (int i = 0; i < 16; ++i) {
        if (palette[i] == c)
            return i;
    }
    return -1;
}

std::string notInPalette(int x, int y, Rgb c) {
    return "pixel " + at(x, y) + " is " + hexColour(c) +
           ", which is none of the palette's 16 colours";
}

// Where the picture's pixels lie on the screen: screen x = offset + picture x * scale.
struct Placement {
    int scale = 1;
    int offset = 0;
    // The picture's columns that screen pixels a..b show, "x 96–103".
    std::string columns(int a, int b) const {
        const int from = (a - offset) / scale, to = (b - offset) / scale;
        return "x " + std::to_string(from) + "–" + std::to_string(to);
    }
};

int mostCounted(const Counts& counts, std::uint32_t allowed) {
    int best = -1;
    for (int c = 0; c < 16; ++c) {
        if ((allowed >> c & 1) && (best < 0 || counts[c] > counts[best]))
            best = c;
    }
    return best;
}

// The colours of `counts` other than those in `excluded`, most counted first.
int othersByCount(const Counts& counts, std::uint32_t excluded, std::array<int, 16>& out) {
    int n = 0;
    for (int c = 0; c < 16; ++c) {
        if (counts[c] > 0 && !(excluded >> c & 1))
            out[n++] = c;
    }
    std::stable_sort(out.begin(), out.begin() + n,
                     [&](int a, int b) { return counts[a] > counts[b]; });
    return n;
}

std::uint32_t maskOf(const Counts& counts) {
    std::uint32_t m = 0;
    for (int c = 0; c < 16; ++c) {
        if (counts[c] > 0)
            m |= 1u << c;
    }
    return m;
}

std::string colourList(std::uint32_t mask) {
    std::string text;
    for (int c = 0; c < 16; ++c) {
        if (mask >> c & 1)
            text += (text.empty() ? "" : ", ") + std::string(c64ColourName(c));
    }
    return text;
}

class Fitter {
  public:
    Fitter(const ColourPicture& picture, const C64Rules& rules, std::string_view name,
           C64Memories& out)
        : picture_(picture), rules_(rules), name_(name), out_(out) {}

    std::string run(int preferredBackground) {
        if (std::string why = place(); !why.empty())
            return why;
        out_ = C64Memories{};
        switch (rules_.mode) {
        case C64Mode::multicolour:
            return multicolour(preferredBackground);
        case C64Mode::hires:
            return hires();
        case C64Mode::fli:
            return fli();
        case C64Mode::afli:
            return afli();
        }
        return "unknown mode";
    }

  private:
    const ColourPicture& picture_;
    const C64Rules& rules_;
    std::string_view name_;
    C64Memories& out_;
    Placement place_;

    std::string place() {
        const int shown = shownWidth(rules_.mode);
        const bool fat = fatPixels(rules_.mode);
        place_.offset = 320 - shown;
        if (picture_.height == 200 && picture_.width == shown) {
            place_.scale = 1;
        } else if (picture_.height == 200 && fat && picture_.width == shown / 2) {
            place_.scale = 2;
        } else {
            std::string sizes = std::to_string(shown) + " × 200 pixels";
            if (fat)
                sizes += " (or " + std::to_string(shown / 2) + " × 200 multicolour pixels)";
            return std::string(name_) + " takes " + sizes + ", this picture is " +
                   std::to_string(picture_.width) + " × " + std::to_string(picture_.height) +
                   " (reduction scales it)";
        }
        if (fat && place_.scale == 1) {
            for (int y = 0; y < 200; ++y) {
                const std::uint8_t* row = picture_.row(y);
                for (int x = 0; x + 1 < picture_.width; x += 2) {
                    if (row[x] != row[x + 1]) {
                        return "pixels x " + std::to_string(x) + "–" + std::to_string(x + 1) +
                               ", y " + std::to_string(y) + " are " +
                               std::string(c64ColourName(row[x])) + " and " +
                               std::string(c64ColourName(row[x + 1])) +
                               "; a multicolour pixel is two pixels wide";
                    }
                }
            }
        }
        return {};
    }

    // The colour of screen pixel (x, y); only for the shown columns.
    std::uint8_t colour(int x, int y) const {
        return picture_.at((x - place_.offset) / place_.scale, y);
    }
    bool shownCell(int column) const { return column >= hiddenColumns(rules_.mode); }

    std::string cellText(int column, int row) const {
        return "cell " + at(column, row) + " at " + place_.columns(8 * column, 8 * column + 7) +
               ", y " + std::to_string(8 * row) + "–" + std::to_string(8 * row + 7);
    }
    std::string lineText(int column, int row, int y) const {
        return "cell " + at(column, row) + " at " + place_.columns(8 * column, 8 * column + 7) +
               ", line " + std::to_string(y);
    }

    Counts countCell(int column, int row, int firstLine = 0, int lines = 8) const {
        Counts counts{};
        const int step = fatPixels(rules_.mode) ? 2 : 1;
        for (int k = firstLine; k < firstLine + lines; ++k) {
            for (int x = 8 * column; x < 8 * column + 8; x += step)
                ++counts[colour(x, 8 * row + k)];
        }
        return counts;
    }

    // Bit pairs of one multicolour cell line: 00 the background, then nibble 01, 10, 11.
    std::uint8_t pairs(int column, int y, const std::array<int, 16>& codeOf) const {
        std::uint8_t byte = 0;
        for (int i = 0; i < 4; ++i)
            byte = static_cast<std::uint8_t>(byte << 2 | codeOf[colour(8 * column + 2 * i, y)]);
        return byte;
    }
    std::uint8_t bits(int column, int y, int setColour) const {
        std::uint8_t byte = 0;
        for (int i = 0; i < 8; ++i)
            byte = static_cast<std::uint8_t>(byte << 1 | (colour(8 * column + i, y) == setColour));
        return byte;
    }

    std::string multicolour(int preferredBackground) {
        std::array<Counts, 1000> cells;
        std::uint32_t common = 0xFFFF; // colours every full cell holds
        int firstFull = -1;
        Counts cellsWith{};
        for (int n = 0; n < 1000; ++n) {
            cells[n] = countCell(n % 40, n / 40);
            const std::uint32_t mask = maskOf(cells[n]);
            const int count = std::popcount(mask);
            if (count > 4) {
                return cellText(n % 40, n / 40) + " has " + std::to_string(count) +
                       " colours; " + std::string(name_) + " takes the background and 3 more";
            }
            for (int c = 0; c < 16; ++c)
                cellsWith[c] += mask >> c & 1;
            if (count == 4) {
                if ((common & mask) == 0) {
                    return cellText(firstFull % 40, firstFull / 40) + " has " +
                           colourList(maskOf(cells[firstFull])) + " and " +
                           cellText(n % 40, n / 40) + " has " + colourList(mask) +
                           ": 4 colours each and none in common; " + std::string(name_) +
                           " takes one background for the whole picture and 3 more per cell";
                }
                common &= mask;
                if (firstFull < 0)
                    firstFull = n;
            }
        }
        int background = preferredBackground;
        if (background < 0 || background > 15 || !(common >> background & 1))
            background = mostCounted(cellsWith, common);
        out_.background = static_cast<std::uint8_t>(background);
        for (int n = 0; n < 1000; ++n) {
            std::array<int, 16> others{};
            othersByCount(cells[n], 1u << background, others);
            std::array<int, 16> codeOf{}; // by colour number: its bit pair
            codeOf[others[0]] = 1;
            codeOf[others[1]] = 2;
            codeOf[others[2]] = 3;
            codeOf[background] = 0;
            out_.screens[n] = static_cast<std::uint8_t>(others[0] << 4 | others[1]);
            out_.colour[n] = static_cast<std::uint8_t>(others[2]);
            for (int k = 0; k < 8; ++k)
                out_.bitmap[8 * n + k] = pairs(n % 40, 8 * (n / 40) + k, codeOf);
        }
        return {};
    }

    // A hires cell (or cell line) of at most two colours: set bits the high nibble.
    void hiresBytes(int n, int screen, const Counts& counts, int firstLine, int lines) {
        std::array<int, 16> order{};
        const int count = othersByCount(counts, 0, order);
        int set = order[0], clear = count > 1 ? order[1] : order[0];
        if (rules_.blackAndWhite) {
            set = 1;
            clear = 0;
        }
        out_.screens[1024 * screen + n] = static_cast<std::uint8_t>(set << 4 | clear);
        for (int k = firstLine; k < firstLine + lines; ++k)
            out_.bitmap[8 * n + k] = set == clear ? 0 : bits(n % 40, 8 * (n / 40) + k, set);
    }

    std::string hires() {
        if (rules_.blackAndWhite) {
            for (int y = 0; y < 200; ++y) {
                for (int x = 0; x < 320; ++x) {
                    if (colour(x, y) > 1) {
                        return "pixel " + at(x, y) + " is " +
                               std::string(c64ColourName(colour(x, y))) + "; " +
                               std::string(name_) + " takes black and white only";
                    }
                }
            }
        }
        for (int n = 0; n < 1000; ++n) {
            const Counts counts = countCell(n % 40, n / 40);
            const int count = std::popcount(maskOf(counts));
            if (count > 2) {
                return cellText(n % 40, n / 40) + " has " + std::to_string(count) +
                       " colours; " + std::string(name_) + " takes 2 per cell";
            }
            hiresBytes(n, 0, counts, 0, 8);
        }
        return {};
    }

    std::string afli() {
        for (int n = 0; n < 1000; ++n) {
            if (!shownCell(n % 40))
                continue;
            for (int k = 0; k < 8; ++k) {
                const Counts counts = countCell(n % 40, n / 40, k, 1);
                const int count = std::popcount(maskOf(counts));
                if (count > 2) {
                    return lineText(n % 40, n / 40, 8 * (n / 40) + k) + " has " +
                           std::to_string(count) + " colours; " + std::string(name_) +
                           " takes 2 per cell line";
                }
                hiresBytes(n, k, counts, k, 1);
            }
        }
        return {};
    }

    std::string fli() {
        const int background = rules_.fixedBackground < 0 ? 0 : rules_.fixedBackground;
        const std::uint32_t backgroundBit = 1u << background;
        const std::string backgroundName(c64ColourName(background));
        out_.background = static_cast<std::uint8_t>(background);
        for (int n = 0; n < 1000; ++n) {
            const int column = n % 40, row = n / 40;
            if (!shownCell(column))
                continue;
            std::array<Counts, 8> lines;
            Counts cell{};
            std::uint32_t common = 0xFFFF & ~backgroundBit;
            int firstFull = -1;
            for (int k = 0; k < 8; ++k) {
                lines[k] = countCell(column, row, k, 1);
                const std::uint32_t mask = maskOf(lines[k]) & ~backgroundBit;
                const int count = std::popcount(mask);
                if (count > 3) {
                    return lineText(column, row, 8 * row + k) + " has " + std::to_string(count) +
                           " colours besides " + backgroundName + "; " + std::string(name_) +
                           " takes " + backgroundName +
                           ", one colour-memory colour per cell and 2 more per line";
                }
                if (count == 3) {
                    if ((common & mask) == 0) {
                        return lineText(column, row, 8 * row + firstFull) + " has " +
                               colourList(maskOf(lines[firstFull]) & ~backgroundBit) +
                               ", line " + std::to_string(8 * row + k) + " has " +
                               colourList(mask) + ": 3 colours besides " + backgroundName +
                               " each and none in common; " + std::string(name_) +
                               " takes one colour-memory colour per cell and 2 more per line";
                    }
                    common &= mask;
                    if (firstFull < 0)
                        firstFull = k;
                }
                for (int c = 0; c < 16; ++c)
                    cell[c] += lines[k][c];
            }
            const int shared = mostCounted(cell, common);
            out_.colour[n] = static_cast<std::uint8_t>(shared);
            for (int k = 0; k < 8; ++k) {
                std::array<int, 16> others{};
                othersByCount(lines[k], backgroundBit | 1u << shared, others);
                std::array<int, 16> codeOf{}; // by colour number: its bit pair
                codeOf[others[0]] = 1;
                codeOf[others[1]] = 2;
                codeOf[shared] = 3;
                codeOf[background] = 0;
                out_.screens[1024 * k + n] = static_cast<std::uint8_t>(others[0] << 4 | others[1]);
                out_.bitmap[8 * n + k] = pairs(column, 8 * row + k, codeOf);
            }
        }
        return {};
    }
};

} // namespace

std::string colourNumbersOf(const IndexedImage& picture, const C64Colours& palette,
                            ColourPicture& out) {
    out.resize(picture.width(), picture.height());
    const IndexMeaning meaning = picture.meaning();
    std::array<int, 16> c64OfGodot{};
    for (int c = 0; c < 16; ++c)
        c64OfGodot[kGodotIndexOfC64[c]] = c;
    // The colour number of each index the picture's palette holds (-1: none).
    std::array<int, 256> numberOf;
    numberOf.fill(-1);
    for (std::size_t i = 0; i < picture.palette().size() && i < 256; ++i) {
        switch (meaning) {
        case IndexMeaning::c64Numbers:
            numberOf[i] = i < 16 ? static_cast<int>(i) : -1;
            break;
        case IndexMeaning::godotIndices:
            numberOf[i] = i < 16 ? c64OfGodot[i] : -1;
            break;
        case IndexMeaning::blendPairs:
            numberOf[i] = (i >> 4) == (i & 15) ? c64OfGodot[i & 15] : -1;
            break;
        case IndexMeaning::fixed:
            numberOf[i] = colourNumberOf(picture.palette()[i], palette);
            break;
        }
    }
    for (int y = 0; y < picture.height(); ++y) {
        const std::uint8_t* in = picture.row(y);
        std::uint8_t* row = out.row(y);
        for (int x = 0; x < picture.width(); ++x) {
            const int c = numberOf[in[x]];
            if (c < 0) {
                if (meaning == IndexMeaning::blendPairs)
                    return "pixel " + at(x, y) + " mixes two colours of an interlaced picture";
                return notInPalette(x, y, picture.pixel(x, y));
            }
            row[x] = static_cast<std::uint8_t>(c);
        }
    }
    return {};
}

std::string colourNumbersOf(const Image& picture, const C64Colours& palette, ColourPicture& out) {
    out.resize(picture.width(), picture.height());
    for (int y = 0; y < picture.height(); ++y) {
        std::uint8_t* row = out.row(y);
        int last = 0;
        for (int x = 0; x < picture.width(); ++x) {
            const Rgb c = picture.pixel(x, y);
            if (palette[last] != c) {
                last = colourNumberOf(c, palette);
                if (last < 0)
                    return notInPalette(x, y, c);
            }
            row[x] = static_cast<std::uint8_t>(last);
        }
    }
    return {};
}

std::string fitExactly(const ColourPicture& picture, const C64Rules& rules,
                       std::string_view formatName, C64Memories& out, int preferredBackground) {
    return Fitter(picture, rules, formatName, out).run(preferredBackground);
}

std::vector<int> crowdedCells(const ColourPicture& picture, const C64Rules& rules) {
    const int shown = shownWidth(rules.mode);
    const bool halved = fatPixels(rules.mode) && picture.width == shown / 2;
    if ((picture.width != shown && !halved) || picture.height != 200)
        return {};
    const int cellWidth = halved ? 4 : 8;
    const int hidden = hiddenColumns(rules.mode);
    const int limit = fatPixels(rules.mode) ? 4 : 2;
    const bool lines = perLine(rules.mode);
    std::vector<int> cells;
    for (int row = 0; row < 25; ++row) {
        for (int column = hidden; column < 40; ++column) {
            const int left = (column - hidden) * cellWidth;
            std::uint32_t cellMask = 0;
            bool crowded = false;
            for (int k = 0; k < 8 && !crowded; ++k) {
                std::uint32_t lineMask = 0;
                for (int i = 0; i < cellWidth; ++i)
                    lineMask |= 1u << (picture.at(left + i, 8 * row + k) & 15);
                cellMask |= lineMask;
                crowded = std::popcount(lines ? lineMask : cellMask) > limit;
            }
            if (crowded)
                cells.push_back(40 * row + column);
        }
    }
    return cells;
}

} // namespace quendra
