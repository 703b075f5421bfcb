// NUFLI and MUFLI: hires FLI pictures with a layer of sprites under the bitmap, given as
// the C64 memory they are (screens, bitmap and sprites overlap), so drawn pixel by pixel.
// MUFLI's offsets are NUFLI's less 256 (as if loaded at $2100): inferred, no real MUFLI
// file was at hand, nor a packed or interlaced one of either.
#include <algorithm>
#include <array>
#include <vector>

#include "decode/cell_words.h"
#include "decode/escape_runs.h"
#include "decode/fli.h"
#include "decode/further_readers.h"
#include "decode/row_facts.h"

namespace quendra {

namespace {

using namespace cellwords;

// Where sprite i's per-line table lies (i = 0-5).
constexpr int spriteTable(int i) {
    return 1024 * (i >> 1) + 128 * (i & 1);
}

// The sprite data byte of screen line y (sprite lines doubled, re-used every 21 lines),
// before the byte column is added and the sum taken & 63.
constexpr int spriteLine(int y) {
    return ((y + 47) >> 1) * 3 + (y < 123 ? 0 : y < 165 ? 1 : 2);
}

// The screen that line y takes its colours from.
constexpr int screenOf(int y) {
    return y < 128 ? 8194 + 1024 * ((~y >> 1) & 7) : 2 + 1024 * (((y >> 1) + (y >= 168)) & 3);
}

constexpr std::string_view kBadPointer = "a sprite pointer of this picture points outside it";

// A NUFLI image (23042 bytes, load address included) drawn 320 wide as C64 colour numbers;
// false when a sprite pointer it uses points outside the image.
bool drawNufli(const std::uint8_t* m, IndexedImage& out) {
    std::uint8_t s[10];
    s[0] = m[8185];
    for (int i = 0; i < 6; ++i)
        s[1 + i] = m[1026 + spriteTable(i)];
    s[7] = m[8179], s[8] = m[8184], s[9] = m[8178];
    for (int y = 0; y < 200; ++y) {
        if (y >= 1) {
            for (int i = 0; i < 6; ++i) {
                const std::uint8_t b = m[1026 + spriteTable(i) + ((y + 1) >> 1)];
                const bool odd = y & 1;
                switch (b >> 4) {
                case 0:
                    if (odd)
                        s[1 + i] = b;
                    break;
                case 5:
                case 6:
                case 7:
                case 14:
                    if (odd == (i == 0))
                        s[(b >> 4) == 5 ? 7 : (b >> 4) == 6 ? 9 : (b >> 4) == 7 ? 0 : 8] = b;
                    break;
                default:
                    break;
                }
            }
        }
        const int v = screenOf(y);
        const int bank = y < 128 ? 128 : -128;
        const int bitmap = y < 128 ? 16386 : 2;
        const int line = spriteLine(y);
        std::uint8_t* row = out.row(y);
        for (int column = 0; column < 40; ++column) {
            const int cell = 40 * (y >> 3) + column;
            const std::uint8_t c = column >= 3 || (y & 6) == 0 ? m[v + cell] : 255;
            const std::uint8_t bits = m[bitmap + 8 * cell + (y & 7)];
            Word w = everyByte(c & 15);
            // The sprites show only where the bitmap is clear; a pointer outside the image
            // spoils the picture only where it would be shown.
            if (column < 3) {
                const Word shown = ~kMasks.hires[bits];
                Word underlay = 0;
                if (shown != 0) {
                    const int p = bank + m[v + 1016 + (3 + column) / 6];
                    if (p < 0 || p >= 360)
                        return false;
                    underlay = kMasks.hires[m[2 + 64 * p + ((line + column) & 63)]];
                }
                if ((shown & ~underlay) != 0) {
                    const int p = bank + m[v + 1023];
                    if (p < 0 || p >= 360)
                        return false;
                    const std::uint8_t pairs = m[2 + 64 * p + ((line + column) & 63)];
                    const Word low = kMasks.lowOfPair[pairs];
                    w = select(select(w, everyByte(s[7] & 15), low),
                               select(everyByte(s[8] & 15), everyByte(s[9] & 15), low),
                               kMasks.highOfPair[pairs]);
                }
                w = select(w, everyByte(s[(3 + column) / 6] & 15), underlay);
            } else if (column < 39 && bits != 0xFF) {
                const int slot = (3 + column) / 6;
                const int p = bank + m[v + 1016 + slot];
                if (p < 0 || p >= 360)
                    return false;
                // Pixel 8 column + i shows sprite pixel (4 (column - 3) + (i >> 1)) mod 24,
                // four x-expanded pixels of one sprite byte.
                const int first = (4 * (column - 3)) % 24;
                const unsigned sprite = m[2 + 64 * p + ((line + (first >> 3)) & 63)];
                w = select(w, everyByte(s[slot] & 15),
                           kMasks.doubled[(sprite << (first & 7)) & 0xFF]);
            }
            store(row + 8 * column, select(w, everyByte(c >> 4), kMasks.hires[bits]));
        }
    }
    return true;
}

// A MUFLI image (21826 bytes) drawn 296 wide, the FLI strip left out: picture pixel x is
// screen pixel x + 24. False when a sprite pointer it uses points outside the image. The
// pixels are `parts` of their colours (colour numbers, or one frame's part of a blend
// position); with `mixIn` they are or-ed into the pixels there, as the second frame of a mix.
template <bool mixIn>
bool drawMufli(const std::uint8_t* m, const Word* parts, std::uint8_t* pixels) {
    for (int y = 0; y < 200; ++y) {
        const int v = screenOf(y) - 256, t = (y + 1) >> 1;
        const int bitmap = y < 128 ? 16130 : -254;
        const int bank = y < 128 ? 124 : -132;
        const int line = spriteLine(y);
        std::uint8_t* row = pixels + 296 * static_cast<std::size_t>(y);
        for (int column = 0; column < 37; ++column) {
            const int cell = 40 * (y >> 3) + 3 + column;
            const std::uint8_t c = m[v + cell];
            const std::uint8_t bits = m[bitmap + 8 * cell + (y & 7)];
            Word w = parts[c & 15];
            if (column < 36 && bits != 0xFF) {
                // Pixel 8 column + i shows sprite pixel 4 column + (i >> 1): half a sprite
                // byte, x-expanded; a pointer outside the image spoils the picture only where
                // the sprite would be shown.
                const int slot = column / 6;
                const int p = bank + m[v + 1017 + slot];
                if (p < 0 || p >= 340)
                    return false;
                const unsigned b = m[2 + 64 * p + ((line + (column >> 1) % 3) & 63)];
                const unsigned half = (b << (4 * (column & 1))) & 0xFF;
                const Word own = parts[m[770 + spriteTable(slot) + t] & 15];
                if ((m[4610 + t] >> (slot + 1)) & 1) {
                    const Word low = kMasks.lowOfWidePair[half];
                    w = select(select(w, parts[m[7923] & 15], low),
                               select(own, parts[m[7922] & 15], low), kMasks.highOfWidePair[half]);
                } else {
                    w = select(w, own, kMasks.doubled[half]);
                }
            }
            const Word on = select(w, parts[c >> 4], kMasks.hires[bits]);
            std::uint8_t* out = row + 8 * column;
            store(out, mixIn ? load(out) | on : on);
        }
    }
    return true;
}

Decoded showMufli(const std::uint8_t* first, const std::uint8_t* second,
                  const DecodeOptions& options) {
    Decoded d = fli::accepted(options, fli::kWidth, 200,
                              second ? fli::Colours::mixed : fli::Colours::single);
    const bool drawn = second
                           ? drawMufli<false>(first, kColourParts.first, d.picture.row(0)) &&
                                 drawMufli<true>(second, kColourParts.second, d.picture.row(0))
                           : drawMufli<false>(first, kColourParts.colourNumbers, d.picture.row(0));
    if (!drawn)
        return Decoded::reject(std::string(kBadPointer));
    return d;
}

} // namespace

Decoded decodeNufli(Bytes file, const DecodeOptions& options) {
    const C64Format& row = formatRow(FormatId::nufli);
    std::vector<std::uint8_t> unpacked;
    const std::uint8_t* image = file.data();
    if (!hasLayoutLength(row.lengths, file, options)) {
        if (file.size() < 7 || file[2] != 0xFD || reportedSize(file, options) != file.size())
            return Decoded::reject(fli::lengthReason(
                "a NUFLI picture", lengthsText(row.lengths) + ", or packed after $FD", file,
                options));
        unpacked.assign(row.lengths[0], 0);
        EscapeStream stream(file, file.size() - 1, true);
        if (!stream.fill(std::span(unpacked).subspan(2), file[3], RunCount::zeroIs256))
            return Decoded::reject("the packed data of this NUFLI picture end before "
                                   "the picture is complete");
        image = unpacked.data();
    }
    Decoded d = fli::accepted(options, 320, 200, fli::Colours::single);
    if (!drawNufli(image, d.picture))
        return Decoded::reject(std::string(kBadPointer));
    return d;
}

int probeNufli(Bytes file, std::uint64_t fileSize) {
    const C64Format& row = formatRow(FormatId::nufli);
    return takesLength(row, fileSize) ? fli::sizeScore(file, row.loadAddresses[0]) : 0;
}

// Its row's lengths: one frame, then two.
Decoded decodeMufli(Bytes file, const DecodeOptions& options) {
    const C64Format& row = formatRow(FormatId::mufli);
    const std::uint32_t oneFrame = row.lengths[0], twoFrames = row.lengths[1];
    if (hasLengthOneOf(file, options, {oneFrame}))
        return showMufli(file.data(), nullptr, options);
    if (hasLengthOneOf(file, options, {twoFrames})) {
        // Two frames: the first as the file begins, the second put together from two pieces.
        std::vector<std::uint8_t> second(oneFrame, 0);
        std::copy(file.begin() + 32770, file.begin() + twoFrames, second.begin() + 2);
        std::copy(file.begin() + 22018, file.begin() + 32514, second.begin() + 11266);
        return showMufli(file.data(), second.data(), options);
    }
    if (file.size() < 6 || reportedSize(file, options) != file.size())
        return Decoded::reject(fli::lengthReason("a MUFLI picture", sizesOf(row), file, options));
    std::vector<std::uint8_t> image(oneFrame, 0);
    EscapeStream stream(file, file.size() - 1, true);
    if (!stream.fill(std::span(image).subspan(2, 21760), file[2], RunCount::zeroIs256))
        return Decoded::reject("the packed data of this MUFLI picture end before the "
                               "picture is complete");
    return showMufli(image.data(), nullptr, options);
}

int probeMufli(Bytes, std::uint64_t fileSize) {
    return takesLength(formatRow(FormatId::mufli), fileSize) ? fli::kProbeSize : 0;
}

} // namespace quendra
