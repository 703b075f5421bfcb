// Printfox and Pagefox: black-and-white pages, run-length compressed, stored cell by cell.
//
// The first byte tells the kind; the extension does not matter.
//   "B"  screen picture, 40 x 25 cells          data from offset 1
//   "G"  large picture, 80 x 50 cells           data from offset 1
//   "P"  page: byte 1 cell rows, byte 2 cell columns, then a field ended by a zero
//        byte (skipped); data after that zero, or from offset 3 when there is none
//
// Data is a sequence of tokens, 0x9B being the run marker:
//   B, G   0x9B low high value   (high * 256 + low) copies of value, 0 copies allowed
//   P      0x9B count value      count copies of value, count 0 meaning 256
//   other  the byte itself
// Expanded, the page is cell after cell along a row, rows top to bottom, 8 bytes a cell
// (byte k = pixel line k), bit 7 leftmost; a set bit is black, a clear bit white. Bytes the
// data does not reach stay 0 (white): the format's rules keep the page of a file that ends
// early.
#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "decode/palette.h"
#include "decode/readers.h"

namespace quendra {

namespace {

constexpr std::uint8_t kRunMarker = 0x9B;
constexpr std::size_t kMinimumPageArea = 60000;

// Palette indices of the picture: a set bit draws kInk.
constexpr std::uint8_t kInk = 0;
constexpr std::uint8_t kPaper = 1;
constexpr std::array<Rgb, 2> kInkAndPaper{kBlack, kWhite};

struct Layout {
    bool shortRuns; // type P: one count byte, 0 meaning 256
    int rows;       // cells
    int columns;
    std::size_t dataStart;
};

// Writes `count` copies of `value` at `out`, dropping what falls beyond the area.
void fill(std::vector<std::uint8_t>& area, std::size_t& out, std::size_t count,
          std::uint8_t value) {
    if (out < area.size()) {
        const std::size_t n = std::min(count, area.size() - out);
        std::memset(area.data() + out, value, n);
    }
    out += count;
}

// Expands the tokens into the zero-filled page area. A token may begin at any byte;
// a run whose count or value lies beyond the data appends nothing.
void expand(Bytes data, bool shortRuns, std::vector<std::uint8_t>& area) {
    const std::size_t runLength = shortRuns ? 3 : 4;
    std::size_t out = 0;
    std::size_t p = 0;
    while (p < data.size() && out < area.size()) {
        const std::uint8_t b = data[p];
        if (b != kRunMarker) {
            area[out++] = b;
            ++p;
            continue;
        }
        if (data.size() - p < runLength)
            break;
        std::size_t count;
        if (shortRuns) {
            count = data[p + 1] == 0 ? 256 : data[p + 1];
        } else {
            count = data[p + 1] + 256u * data[p + 2];
        }
        fill(area, out, count, data[p + runLength - 1]);
        p += runLength;
    }
}

// Eight palette indices for every byte value, bit 7 first.
struct BitRows {
    std::array<std::array<std::uint8_t, 8>, 256> pixels{};
    constexpr BitRows() {
        for (int v = 0; v < 256; ++v) {
            for (int i = 0; i < 8; ++i)
                pixels[v][i] = (v >> (7 - i)) & 1 ? kInk : kPaper;
        }
    }
};
constexpr BitRows kBitRows;

void draw(const std::vector<std::uint8_t>& area, const Layout& layout, IndexedImage& picture,
          Progress* progress) {
    const std::uint8_t* page = area.data();
    for (int y = 0; y < layout.rows; ++y) {
        const std::uint8_t* cellRow = page + static_cast<std::size_t>(y) * layout.columns * 8;
        for (int k = 0; k < 8; ++k) {
            std::uint8_t* line = picture.row(8 * y + k);
            for (int x = 0; x < layout.columns; ++x) {
                std::memcpy(line + 8 * x, kBitRows.pixels[cellRow[8 * x + k]].data(), 8);
            }
        }
        if (progress)
            progress->position(y);
    }
}

} // namespace

Decoded decodePrintfox(Bytes file, const DecodeOptions& options) {
    // The reader sees what one read of the limit returns.
    file = file.first(std::min(file.size(), kPrintfoxReadLimit));
    if (file.empty())
        return Decoded::reject("the file is empty");

    Layout layout{};
    switch (file[0]) {
    case 'B':
        layout = {false, 25, 40, 1};
        break;
    case 'G':
        layout = {false, 50, 80, 1};
        break;
    case 'P': {
        if (file.size() < 3) {
            return Decoded::reject("a Pagefox page needs 3 header bytes, this file has " +
                                   std::to_string(reportedSize(file, options)));
        }
        const auto zero = std::find(file.begin() + 3, file.end(), std::uint8_t{0});
        const std::size_t start =
            zero == file.end() ? 3 : static_cast<std::size_t>(zero - file.begin()) + 1;
        layout = {true, file[1], file[2], start};
        break;
    }
    default:
        return Decoded::reject("the first byte is not \"B\", \"G\" or \"P\"");
    }

    Decoded d = Decoded::accept(options, 8 * layout.columns, 8 * layout.rows);
    d.decodingBegan = true;
    d.picture.setPalette(kInkAndPaper);
    d.picture.setMeaning(IndexMeaning::fixed, false); // black and white in every palette
    if (options.progress)
        options.progress->start(layout.rows);

    const std::size_t pageBytes = static_cast<std::size_t>(layout.rows) * layout.columns * 8;
    std::vector<std::uint8_t> own;
    std::vector<std::uint8_t>& area = options.workspace ? *options.workspace : own;
    area.assign(std::max(pageBytes, kMinimumPageArea), 0);
    expand(file.subspan(layout.dataStart), layout.shortRuns, area);
    draw(area, layout, d.picture, options.progress);
    return d;
}

} // namespace quendra
