#include "samples/funpainter_files.h"

#include <algorithm>

namespace quendra::samples {

FunPainterPicture funPainterPattern(unsigned seed) {
    FunPainterPicture p;
    const CellPicture a = testPattern(seed);
    const CellPicture b = testPattern(seed + 1);
    for (int k = 0; k < 8; ++k) {
        for (int n = 0; n < 1000; ++n) {
            p.first.screens[k][n] = static_cast<std::uint8_t>(a.screen[n] + 0x11 * k);
            p.second.screens[k][n] = static_cast<std::uint8_t>(b.screen[n] + 0x13 * k);
        }
    }
    p.first.bitmap = a.bitmap;
    p.second.bitmap = b.bitmap;
    p.colour = a.colour;
    for (int y = 0; y < 200; ++y)
        p.backgrounds[y] = static_cast<std::uint8_t>((y + seed) % 16);
    return p;
}

ByteVector funPainterMemory(const FunPainterPicture& p) {
    ByteVector m(33676, 0);
    auto put = [&](std::size_t at, const auto& bytes) {
        std::copy(bytes.begin(), bytes.end(), m.begin() + static_cast<std::ptrdiff_t>(at));
    };
    for (int k = 0; k < 8; ++k) {
        put(1024 * k, p.first.screens[k]);
        put(17384 + 1024 * k, p.second.screens[k]);
    }
    put(8192, p.first.bitmap);
    put(25576, p.second.bitmap);
    put(16384, p.colour);
    std::copy(p.backgrounds.begin(), p.backgrounds.begin() + 100, m.begin() + 16192);
    std::copy(p.backgrounds.begin() + 100, p.backgrounds.end(), m.begin() + 33576);
    return m;
}

ByteVector funPainterRuns(const ByteVector& data, std::uint8_t marker) {
    ByteVector out;
    std::size_t i = 0;
    while (i < data.size()) {
        const std::uint8_t v = data[i];
        std::size_t n = 1;
        while (i + n < data.size() && data[i + n] == v && n < 256)
            ++n;
        if (n >= 4 || v == marker) {
            out.insert(out.end(), {marker, static_cast<std::uint8_t>(n & 0xFF), v});
        } else {
            out.insert(out.end(), n, v);
        }
        i += n;
    }
    return out;
}

ByteVector makeFunPainter(const FunPainterPicture& p, bool packed, std::uint8_t marker) {
    ByteVector f{0xF0, 0x3F, 'F', 'U', 'N', 'P', 'A', 'I', 'N', 'T', ' ', '(', 'Q', 'D', ')', ' '};
    f.push_back(packed ? 1 : 0);
    f.push_back(marker);
    const ByteVector memory = funPainterMemory(p);
    const ByteVector data = packed ? funPainterRuns(memory, marker) : memory;
    f.insert(f.end(), data.begin(), data.end());
    return f;
}

} // namespace quendra::samples
