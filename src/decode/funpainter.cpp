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
// The two background tables are line colours only when all their 200 bytes are colour
// numbers (below 16); otherwise every line is drawn on background 0, as other readers draw
// every FunPainter 2 picture. Real files hold zeros there, or a colour on a few lines; one
// real file holds bytes up to 239 in the lower table (a ramp of 6..38 and stray bytes,
// left in memory by something else), which as line colours striped its borders and its
// lower half.
// Pixel line y takes its cell colours from screen memory y mod 8 (FLI). Each pixel shows
// the blend palette's mix of its colour in the first frame and its colour in the second.
#include <algorithm>
#include <array>
#include <cstring>
#include <span>
#include <string>

#include "decode/blend.h"
#include "decode/fli.h"
#include "decode/reader_checks.h"
#include "decode/readers.h"

namespace quendra {

namespace {

constexpr std::size_t kHeaderBytes = 18;

constexpr std::size_t kScreenStride = fli::kScreenStride;
constexpr std::size_t kFirstScreens = 0;
constexpr std::size_t kFirstBitmap = 8192;
constexpr std::size_t kUpperBackgrounds = 16192;
constexpr std::size_t kColourMemory = 16384;
constexpr std::size_t kSecondScreens = 17384;
constexpr std::size_t kSecondBitmap = 25576;
constexpr std::size_t kLowerBackgrounds = 33576;
// The memory image as far as the picture reads it; data beyond it is never shown.
constexpr std::size_t kMemoryImage = kLowerBackgrounds + 100;

// Expands the data into the area, dropping writes beyond it, and zero-fills the rest (the
// format's rules keep the picture of a file that ends early). An item may begin at any
// byte; a run whose count or value lies beyond the data appends nothing.
void expand(Bytes data, bool packed, std::uint8_t marker, std::span<std::uint8_t> area) {
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
    std::memset(out, 0, static_cast<std::size_t>(limit - out));
}

// Draws both frames and their mix in one pass. With a progress receiver it goes in bands of
// cell columns (a pass over the lines costs more than its columns); the progress position
// after multicolour column x is x div 4, so each cell column reports its number four times.
void draw(const std::uint8_t* mem, IndexedImage& picture, Progress* progress) {
    std::uint8_t backgrounds[fli::kLines];
    std::copy_n(mem + kUpperBackgrounds, 100, backgrounds);
    std::copy_n(mem + kLowerBackgrounds, 100, backgrounds + 100);
    if (std::ranges::any_of(backgrounds, [](std::uint8_t b) { return b > 15; }))
        std::ranges::fill(backgrounds, 0);
    fli::FrameMemory first{.bitmap = mem + kFirstBitmap,
                           .screens = mem + kFirstScreens,
                           .screenStride = kScreenStride,
                           .colour = mem + kColourMemory,
                           .backgrounds = backgrounds};
    fli::FrameMemory second = first;
    second.bitmap = mem + kSecondBitmap;
    second.screens = mem + kSecondScreens;
    if (!progress) {
        fli::drawMix(picture, first, second, 0, 0);
        return;
    }
    constexpr int kBand = 8;
    for (int band = 0; band < 40; band += kBand) {
        fli::drawMix(picture, first, second, 0, 0, band, band + kBand);
        for (int cx = band; cx < band + kBand; ++cx) {
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
        return Decoded::reject("a FunPainter 2 picture is at least 4 bytes long, not " +
                               std::to_string(reportedSize(file, options)));
    }
    if (file[0] != 0xF0 || file[1] != 0x3F) {
        return Decoded::reject("a FunPainter 2 picture loads at $3FF0");
    }
    if (file[2] != 'F' || file[3] != 'U') {
        return Decoded::reject("a FunPainter 2 picture has \"FU\" after its load address");
    }

    Decoded d = Decoded::accept(options);
    d.decodingBegan = true;
    d.picture.setPalette(blendPalette());
    d.picture.setMeaning(IndexMeaning::blendPairs, false);
    if (options.progress)
        options.progress->start(40);

    std::array<std::uint8_t, kMemoryImage> area; // on the stack: no allocation per picture
    const bool hasData = file.size() > kHeaderBytes;
    expand(hasData ? file.subspan(kHeaderBytes) : Bytes(), hasData && file[16] != 0,
           hasData ? file[17] : 0, area);
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
