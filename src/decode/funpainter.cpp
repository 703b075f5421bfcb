// FunPainter 2: an interlaced FLI multicolour picture (two frames) loaded at $3FF0.
//   0   2   load address $3FF0
//   2   2   "FU"
//   4   12  not read
//   16  1   0: the data is plain; anything else: packed
//   17  1   run marker of packed data
//   18  ... data; expands to the memory image from $4000
// Packed data: (marker) count value gives count copies of value, count 0 meaning 256;
// any other byte is itself. In plain data every byte is itself.
//
// The memory image, by offset from $4000:
//   0      8 x 1024  first frame's screen memories 0..7 (1000 cells each)
//   8192   8000      first frame's bitmap
//   16192  100       background colours of pixel lines 0..99
//   16384  1000      colour memory, shared by both frames
//   17384  8 x 1024  second frame's screen memories
//   25576  8000      second frame's bitmap
//   33576  100       background colours of pixel lines 100..199
// Pixel line y takes its cell colours from screen memory y mod 8 (FLI). Each pixel shows
// the blend palette's mix of its colour in the first frame and its colour in the second.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "decode/blend.h"
#include "decode/reader_checks.h"
#include "decode/readers.h"

namespace quendra {

namespace {

constexpr std::string_view kSuffix = " (FunPainter 2 / IFLI)";
constexpr std::size_t kExpansionArea = 60000;
constexpr std::size_t kHeaderBytes = 18;

constexpr std::size_t kScreenStride = 1024;
constexpr std::size_t kFirstScreens = 0;
constexpr std::size_t kFirstBitmap = 8192;
constexpr std::size_t kUpperBackgrounds = 16192;
constexpr std::size_t kColourMemory = 16384;
constexpr std::size_t kSecondScreens = 17384;
constexpr std::size_t kSecondBitmap = 25576;
constexpr std::size_t kLowerBackgrounds = 33576;

// Expands the data into the zero-filled area, dropping writes beyond it. An item may begin
// at any byte; a run whose count or value lies beyond the data appends nothing.
void expand(Bytes data, bool packed, std::uint8_t marker, std::vector<std::uint8_t>& area) {
    const std::uint8_t* in = data.data();
    const std::uint8_t* const end = in + data.size();
    std::uint8_t* out = area.data();
    std::uint8_t* const limit = out + area.size();
    while (in < end && out < limit) {
        // Literals up to the next marker (in plain data, up to the end) in one copy.
        const void* found =
            packed ? std::memchr(in, marker, static_cast<std::size_t>(end - in)) : nullptr;
        const std::uint8_t* stop = found ? static_cast<const std::uint8_t*>(found) : end;
        const std::size_t literals =
            std::min(static_cast<std::size_t>(stop - in), static_cast<std::size_t>(limit - out));
        std::memcpy(out, in, literals);
        out += literals;
        in = stop;
        // A marker: a run, unless the data ends within it.
        if (out == limit || end - in < 3)
            break;
        const std::size_t count = in[1] == 0 ? 256 : in[1];
        const std::size_t n = std::min(count, static_cast<std::size_t>(limit - out));
        std::memset(out, in[2], n);
        out += n;
        in += 3;
    }
}

// One frame's parts of the blend position for the four bit pairs of a cell line, 00 in the
// low byte, so that a pair picks its part by shifting the word 8 * pair to the right.
std::uint32_t pack(std::uint8_t c0, std::uint8_t c1, std::uint8_t c2, std::uint8_t c3) {
    return c0 | c1 << 8 | c2 << 16 | static_cast<std::uint32_t>(c3) << 24;
}

// Draws cell column by cell column; the progress position after multicolour column x is
// x div 4, so each cell column reports its number four times.
void draw(const std::uint8_t* mem, IndexedImage& picture, Progress* progress) {
    // The background parts of every pixel line, from the two tables.
    std::uint8_t backgroundFirst[200], backgroundSecond[200];
    for (int y = 0; y < 200; ++y) {
        const std::uint8_t c =
            y < 100 ? mem[kUpperBackgrounds + y] : mem[kLowerBackgrounds + y - 100];
        backgroundFirst[y] = blendFirst(c);
        backgroundSecond[y] = blendSecond(c);
    }
    for (int cx = 0; cx < 40; ++cx) {
        for (int cy = 0; cy < 25; ++cy) {
            const std::size_t n = static_cast<std::size_t>(cy) * 40 + cx;
            const std::uint8_t colour = mem[kColourMemory + n];
            const std::uint8_t colourFirst = blendFirst(colour);
            const std::uint8_t colourSecond = blendSecond(colour);
            for (int k = 0; k < 8; ++k) {
                const int y = 8 * cy + k;
                const std::uint8_t s1 = mem[kFirstScreens + kScreenStride * k + n];
                const std::uint8_t s2 = mem[kSecondScreens + kScreenStride * k + n];
                // Pairs 00 background, 01 screen high nibble, 10 screen low nibble, 11 colour.
                const std::uint32_t first =
                    pack(backgroundFirst[y], blendFirst(s1 >> 4), blendFirst(s1), colourFirst);
                const std::uint32_t second =
                    pack(backgroundSecond[y], blendSecond(s2 >> 4), blendSecond(s2), colourSecond);
                // Each bit pair times 8, the shift that picks its byte.
                const unsigned b1 = mem[kFirstBitmap + 8 * n + k] << 3;
                const unsigned b2 = mem[kSecondBitmap + 8 * n + k] << 3;
                std::uint8_t* row = picture.row(y) + 8 * cx;
                for (int m = 0; m < 4; ++m) {
                    const int shift = 6 - 2 * m;
                    const auto v = static_cast<std::uint8_t>(first >> ((b1 >> shift) & 24) |
                                                             second >> ((b2 >> shift) & 24));
                    row[2 * m] = v;
                    row[2 * m + 1] = v;
                }
            }
        }
        if (progress) {
            for (int i = 0; i < 4; ++i)
                progress->position(cx);
        }
    }
}

} // namespace

Decoded decodeFunPainter(Bytes file, const DecodeOptions& options) {
    // The reader sees what one read of the limit returns.
    file = file.first(std::min(file.size(), kFunPainterReadLimit));
    if (file.size() < 4) {
        return Decoded::reject(kSuffix, "a FunPainter 2 picture is at least 4 bytes long, not " +
                                            std::to_string(reportedSize(file, options)));
    }
    if (file[0] != 0xF0 || file[1] != 0x3F) {
        return Decoded::reject(kSuffix, "a FunPainter 2 picture loads at $3FF0");
    }
    if (file[2] != 'F' || file[3] != 'U') {
        return Decoded::reject(kSuffix, "a FunPainter 2 picture has \"FU\" after its load address");
    }

    Decoded d = Decoded::accept(kSuffix, options);
    d.decodingBegan = true;
    d.picture.setPalette(blendPalette());
    d.picture.setMeaning(IndexMeaning::blendPairs, false);
    if (options.progress)
        options.progress->start(40);

    std::vector<std::uint8_t> area(kExpansionArea, 0);
    if (file.size() > kHeaderBytes) {
        expand(file.subspan(kHeaderBytes), file[16] != 0, file[17], area);
    }
    draw(area.data(), d.picture, options.progress);
    return d;
}

int probeFunPainter(Bytes file, std::uint64_t) {
    return file.size() >= 4 && file[0] == 0xF0 && file[1] == 0x3F && file[2] == 'F' &&
                   file[3] == 'U'
               ? kProbeSignature
               : 0;
}

} // namespace quendra
