#include "export/png_pixel_ratio.h"

#include <array>
#include <cstring>

namespace quendra {

namespace {

constexpr std::array<std::uint32_t, 256> makeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}
constexpr auto kCrcTable = makeCrcTable();

// The CRC of a chunk covers its type and data.
std::uint32_t crc32(const std::uint8_t* data, std::size_t size) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i)
        c = kCrcTable[(c ^ data[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void putBigEndian(std::uint8_t* at, std::uint32_t v) {
    at[0] = static_cast<std::uint8_t>(v >> 24);
    at[1] = static_cast<std::uint8_t>(v >> 16);
    at[2] = static_cast<std::uint8_t>(v >> 8);
    at[3] = static_cast<std::uint8_t>(v);
}

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Signature, then IHDR: length 13, type, 13 bytes of data, CRC.
constexpr std::size_t kAfterHeader = 8 + 4 + 4 + 13 + 4;

} // namespace

bool addPixelAspect(std::vector<std::uint8_t>& png, std::uint32_t pixelsAcross,
                    std::uint32_t pixelsDown) {
    if (png.size() < kAfterHeader || std::memcmp(png.data(), kSignature, 8) != 0 ||
        std::memcmp(png.data() + 8, "\0\0\0\x0DIHDR", 8) != 0) {
        return false;
    }
    // Length 9, "pHYs", X, Y, unit 0, CRC.
    std::uint8_t chunk[4 + 4 + 9 + 4] = {0, 0, 0, 9, 'p', 'H', 'Y', 's'};
    putBigEndian(chunk + 8, pixelsAcross);
    putBigEndian(chunk + 12, pixelsDown);
    chunk[16] = 0;
    putBigEndian(chunk + 17, crc32(chunk + 4, 4 + 9));
    png.insert(png.begin() + kAfterHeader, std::begin(chunk), std::end(chunk));
    return true;
}

} // namespace quendra
