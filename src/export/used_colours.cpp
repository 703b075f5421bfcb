#include "export/used_colours.h"

#include <algorithm>

namespace quendra {

void findUsedColours(std::span<const std::uint8_t> indices, std::span<const Rgb> palette,
                     UsedColours& out) {
    std::array<bool, 256> used{};
    for (std::uint8_t i : indices)
        used[i] = true;
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

} // namespace quendra
