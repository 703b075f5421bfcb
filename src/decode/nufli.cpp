// NUFLI and MUFLI: hires FLI pictures with a layer of sprites under the bitmap, given as
// the C64 memory they are (screens, bitmap and sprites overlap), so drawn pixel by pixel.
// MUFLI's offsets are NUFLI's less 256 (as if loaded at $2100): inferred, no real MUFLI
// file was at hand, nor a packed or interlaced one of either.
#include <algorithm>
#include <array>
#include <vector>

#include "decode/blend.h"
#include "decode/escape_runs.h"
#include "decode/fli.h"
#include "decode/further_readers.h"

namespace quendra {

namespace {

constexpr std::size_t kNufliLength = 23042;
constexpr std::size_t kMufliLength = 21826;

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

inline bool bitOf(std::uint8_t byte, int x) {
    return (byte >> (7 - (x & 7))) & 1;
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
                case 5: case 6: case 7: case 14:
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
        for (int x = 0; x < 320; ++x) {
            const int column = x >> 3, cell = 40 * (y >> 3) + column;
            const std::uint8_t c = column >= 3 || (y & 6) == 0 ? m[v + cell] : 255;
            if (bitOf(m[bitmap + 8 * cell + (y & 7)], x)) {
                row[x] = c >> 4;
                continue;
            }
            if (column < 39) {
                const int slot = (3 + column) / 6;
                const int p = bank + m[v + 1016 + slot];
                if (p < 0 || p >= 360)
                    return false;
                const int sx = column < 3 ? x : ((x - 24) >> 1) % 24;
                if (bitOf(m[2 + 64 * p + ((line + (sx >> 3)) & 63)], sx)) {
                    row[x] = s[slot] & 15;
                    continue;
                }
            }
            if (column < 3) {
                const int p = bank + m[v + 1023];
                if (p < 0 || p >= 360)
                    return false;
                const int pair = (m[2 + 64 * p + ((line + column) & 63)] >> (6 - (x & 6))) & 3;
                if (pair != 0) {
                    row[x] = s[6 + pair] & 15;
                    continue;
                }
            }
            row[x] = c & 15;
        }
    }
    return true;
}

// A MUFLI image (21826 bytes) drawn 296 wide, the FLI strip left out: picture pixel x is
// screen pixel x + 24. False when a sprite pointer it uses points outside the image.
bool drawMufli(const std::uint8_t* m, std::uint8_t* pixels, std::size_t stride) {
    for (int y = 0; y < 200; ++y) {
        const int v = screenOf(y) - 256, t = (y + 1) >> 1;
        const int bitmap = y < 128 ? 16130 : -254;
        const int bank = y < 128 ? 124 : -132;
        const int line = spriteLine(y);
        std::uint8_t* row = pixels + stride * static_cast<std::size_t>(y);
        for (int x = 0; x < 296; ++x) {
            const int column = x >> 3, cell = 40 * (y >> 3) + 3 + column;
            const std::uint8_t c = m[v + cell];
            if (bitOf(m[bitmap + 8 * cell + (y & 7)], x)) {
                row[x] = c >> 4;
                continue;
            }
            if (column < 36) {
                const int slot = column / 6;
                const int p = bank + m[v + 1017 + slot];
                if (p < 0 || p >= 340)
                    return false;
                const std::uint8_t b = m[2 + 64 * p + ((line + (column >> 1) % 3) & 63)];
                const int sx = x >> 1;
                const std::uint8_t own = m[770 + spriteTable(slot) + t];
                if ((m[4610 + t] >> (slot + 1)) & 1) {
                    const int pair = (b >> (6 - (sx & 6))) & 3;
                    if (pair != 0) {
                        row[x] = (pair == 1 ? m[7923] : pair == 2 ? own : m[7922]) & 15;
                        continue;
                    }
                } else if (bitOf(b, sx)) {
                    row[x] = own & 15;
                    continue;
                }
            }
            row[x] = c & 15;
        }
    }
    return true;
}

Decoded showMufli(std::string_view suffix, const std::uint8_t* first, const std::uint8_t* second,
                  const DecodeOptions& options) {
    if (!second) {
        Decoded d = fli::accepted(suffix, options, fli::kWidth, 200, fli::Colours::single);
        if (!drawMufli(first, d.picture.row(0), fli::kWidth))
            return Decoded::reject(suffix, std::string(kBadPointer));
        return d;
    }
    std::vector<std::uint8_t> a(296 * 200), b(296 * 200);
    if (!drawMufli(first, a.data(), 296) || !drawMufli(second, b.data(), 296))
        return Decoded::reject(suffix, std::string(kBadPointer));
    Decoded d = fli::accepted(suffix, options, fli::kWidth, 200, fli::Colours::mixed);
    for (int y = 0; y < 200; ++y) {
        std::uint8_t* row = d.picture.row(y);
        for (int x = 0; x < 296; ++x)
            row[x] = blendPosition(a[296 * y + x], b[296 * y + x]);
    }
    return d;
}

} // namespace

Decoded decodeNufli(Bytes file, const DecodeOptions& options) {
    constexpr std::string_view kSuffix = " (NUFLI)";
    std::vector<std::uint8_t> unpacked;
    const std::uint8_t* image = file.data();
    if (!hasLengthOneOf(file, options, {kNufliLength})) {
        if (file.size() < 7 || file[2] != 0xFD || reportedSize(file, options) != file.size())
            return Decoded::reject(kSuffix, fli::lengthReason("a NUFLI picture",
                                                              "23042, or packed after $FD",
                                                              file, options));
        unpacked.assign(kNufliLength, 0);
        EscapeStream stream(file, file.size() - 1, true);
        if (!stream.fill(std::span(unpacked).subspan(2), file[3], RunCount::zeroIs256))
            return Decoded::reject(kSuffix, "the packed data of this NUFLI picture end before "
                                            "the picture is complete");
        image = unpacked.data();
    }
    Decoded d = fli::accepted(kSuffix, options, 320, 200, fli::Colours::single);
    if (!drawNufli(image, d.picture))
        return Decoded::reject(kSuffix, std::string(kBadPointer));
    return d;
}

int probeNufli(Bytes file, std::uint64_t fileSize) {
    return fileSize == kNufliLength ? fli::sizeScore(file, 0x2000) : 0;
}

Decoded decodeMufli(Bytes file, const DecodeOptions& options) {
    constexpr std::string_view kSuffix = " (MUFLI)";
    if (hasLengthOneOf(file, options, {kMufliLength}))
        return showMufli(kSuffix, file.data(), nullptr, options);
    if (hasLengthOneOf(file, options, {44034})) {
        // Two frames: the first as the file begins, the second put together from two pieces.
        std::vector<std::uint8_t> second(kMufliLength, 0);
        std::copy(file.begin() + 32770, file.begin() + 44034, second.begin() + 2);
        std::copy(file.begin() + 22018, file.begin() + 32514, second.begin() + 11266);
        return showMufli(kSuffix, file.data(), second.data(), options);
    }
    if (file.size() < 6 || reportedSize(file, options) != file.size())
        return Decoded::reject(kSuffix, fli::lengthReason("a MUFLI picture",
                                                          "21826, 44034, or packed", file,
                                                          options));
    std::vector<std::uint8_t> image(kMufliLength, 0);
    EscapeStream stream(file, file.size() - 1, true);
    if (!stream.fill(std::span(image).subspan(2, 21760), file[2], RunCount::zeroIs256))
        return Decoded::reject(kSuffix, "the packed data of this MUFLI picture end before the "
                                        "picture is complete");
    return showMufli(kSuffix, image.data(), nullptr, options);
}

int probeMufli(Bytes, std::uint64_t fileSize) {
    return isOneOf(fileSize, {kMufliLength, 44034}) ? fli::kProbeSize : 0;
}

} // namespace quendra
