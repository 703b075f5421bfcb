#include "samples/printfox_files.h"

namespace quendra::samples {

namespace {
constexpr std::uint8_t kMarker = 0x9B;
}

ByteVector printfoxPage(int columns, int rows, unsigned seed) {
    ByteVector page(static_cast<std::size_t>(columns) * rows * 8);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            std::uint8_t* cell = &page[(static_cast<std::size_t>(r) * columns + c) * 8];
            const unsigned kind = (static_cast<unsigned>(r * 7 + c * 3) + seed) % 5;
            for (int k = 0; k < 8; ++k) {
                switch (kind) {
                case 0: // white, joins runs
                    cell[k] = 0x00;
                    break;
                case 1: // black, joins runs
                    cell[k] = 0xFF;
                    break;
                case 2:
                    cell[k] = static_cast<std::uint8_t>(0x80 >> k | 0x01 << k);
                    break;
                case 3:
                    cell[k] = k % 2 ? 0x55 : 0xAA;
                    break;
                default:
                    cell[k] = k == 3 ? kMarker : static_cast<std::uint8_t>(c + r + k);
                    break;
                }
            }
        }
    }
    return page;
}

ByteVector printfoxRuns(const ByteVector& page, bool pageRuns) {
    const std::size_t maxRun = pageRuns ? 256 : 65535;
    ByteVector out;
    std::size_t i = 0;
    while (i < page.size()) {
        const std::uint8_t v = page[i];
        std::size_t n = 1;
        while (i + n < page.size() && page[i + n] == v && n < maxRun)
            ++n;
        if (n >= 4 || v == kMarker) {
            out.push_back(kMarker);
            if (pageRuns) {
                out.push_back(static_cast<std::uint8_t>(n & 0xFF)); // 256 is stored as 0
            } else {
                out.push_back(static_cast<std::uint8_t>(n & 0xFF));
                out.push_back(static_cast<std::uint8_t>(n >> 8));
            }
            out.push_back(v);
        } else {
            out.insert(out.end(), n, v);
        }
        i += n;
    }
    return out;
}

ByteVector printfoxTrailer() {
    return {kMarker, 0x00, 0x10, 0x0F};
}

namespace {
ByteVector withType(char type, const ByteVector& page, bool trailer) {
    ByteVector f{static_cast<std::uint8_t>(type)};
    const ByteVector data = printfoxRuns(page, false);
    f.insert(f.end(), data.begin(), data.end());
    if (trailer) {
        const ByteVector t = printfoxTrailer();
        f.insert(f.end(), t.begin(), t.end());
    }
    return f;
}
} // namespace

ByteVector makePrintfoxScreen(const ByteVector& page, bool trailer) {
    return withType('B', page, trailer);
}

ByteVector makePrintfoxLarge(const ByteVector& page, bool trailer) {
    return withType('G', page, trailer);
}

ByteVector makePagefoxPage(int rows, int columns, const ByteVector& page, std::string_view field) {
    ByteVector f{'P', static_cast<std::uint8_t>(rows), static_cast<std::uint8_t>(columns)};
    for (char c : field)
        f.push_back(static_cast<std::uint8_t>(c));
    f.push_back(0);
    const ByteVector data = printfoxRuns(page, true);
    f.insert(f.end(), data.begin(), data.end());
    return f;
}

} // namespace quendra::samples
