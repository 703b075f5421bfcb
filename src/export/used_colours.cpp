#include "export/used_colours.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace quendra {

void findUsedColours(std::span<const std::uint8_t> indices, std::span<const Rgb> palette,
                     UsedColours& out) {
    std::array<bool, 256> used{};
    // Eight at a time: the loop's own steps cost as much as the marks.
    const std::uint8_t* p = indices.data();
    std::size_t n = indices.size();
    for (; n >= 8; n -= 8, p += 8) {
        used[p[0]] = used[p[1]] = used[p[2]] = used[p[3]] = true;
        used[p[4]] = used[p[5]] = used[p[6]] = used[p[7]] = true;
    }
    for (; n > 0; --n)
        used[*p++] = true;
    out.count = 0;
    for (int i = 0; i < 256; ++i) {
        if (!used[i])
            continue;
        const Rgb rgb = i < static_cast<int>(palette.size()) ? palette[i] : Rgb{};
        const auto end = out.colours.begin() + out.count;
        const auto found = std::find(out.colours.begin(), end, rgb);
        if (found == end)
            out.colours[out.count++] = rgb;
        out.slot[i] = static_cast<std::uint8_t>(found - out.colours.begin());
    }
    if (out.count == 0)
        out.colours[out.count++] = Rgb{}; // a picture without pixels
    out.keepsIndices = true;
    for (int i = 0; i < 256 && out.keepsIndices; ++i)
        out.keepsIndices = !used[i] || (i < 16 && out.slot[i] == i);
}

int bitsForColours(std::size_t colours) {
    if (colours <= 2)
        return 1;
    if (colours <= 4)
        return 2;
    if (colours <= 16)
        return 4;
    return 8;
}

namespace {

// Packs eight pixels at a time, each below 16, two to the byte; returns how many pixels it
// packed (a multiple of 8; the rest is the caller's).
int packNibblesAsTheyAre(const std::uint8_t* in, int width, std::uint8_t* out) {
    if constexpr (std::endian::native != std::endian::little)
        return 0;
    int x = 0;
    for (; x + 8 <= width; x += 8) {
        std::uint64_t w;
        std::memcpy(&w, in + x, sizeof w); // byte i: pixel x + i
        // Byte 2k: pixel 2k in the high nibble, pixel 2k + 1 in the low one.
        w = ((w << 4) | (w >> 8)) & 0x00FF00FF00FF00FF;
        w = (w | w >> 8) & 0x0000FFFF0000FFFF;
        w = (w | w >> 16) & 0x00000000FFFFFFFF;
        const auto packed = static_cast<std::uint32_t>(w);
        std::memcpy(out + x / 2, &packed, sizeof packed);
    }
    return x;
}

} // namespace

void packRow(const std::uint8_t* in, int width, const std::array<std::uint8_t, 256>& slot, int bits,
             std::uint8_t* out) {
    if (bits == 8) {
        for (int x = 0; x < width; ++x)
            out[x] = slot[in[x]];
        return;
    }
    if (bits == 4) { // the usual case: 16 colours
        int x = 0;
        for (; x + 1 < width; x += 2)
            *out++ = static_cast<std::uint8_t>(slot[in[x]] << 4 | slot[in[x + 1]]);
        if (x < width)
            *out = static_cast<std::uint8_t>(slot[in[x]] << 4);
        return;
    }
    const int perByte = 8 / bits;
    std::fill_n(out, (static_cast<std::size_t>(width) * bits + 7) / 8, 0);
    for (int x = 0; x < width; ++x) {
        out[x / perByte] |=
            static_cast<std::uint8_t>(slot[in[x]] << (8 - bits * (x % perByte + 1)));
    }
}

void packRow(const std::uint8_t* indices, int width, const UsedColours& used, int bits,
             std::uint8_t* out) {
    int x = 0;
    if (bits == 4 && used.keepsIndices) // C64 colour numbers, every one used: no lookups
        x = packNibblesAsTheyAre(indices, width, out);
    packRow(indices + x, width - x, used.slot, bits, out + x / 2);
}

} // namespace quendra
