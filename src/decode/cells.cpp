#include "decode/cells.h"

namespace quendra {

void decodeHires(IndexedImage& out, Bitmap bitmap, CellBytes screen) {
    for (int cy = 0; cy < kCellRows; ++cy) {
        for (int cx = 0; cx < kCellColumns; ++cx) {
            const int n = cy * kCellColumns + cx;
            const std::uint8_t s = screen[n];
            const std::uint8_t on = s >> 4;
            const std::uint8_t off = s & 15;
            for (int k = 0; k < 8; ++k) {
                const std::uint8_t b = bitmap[8 * n + k];
                std::uint8_t* row = out.row(8 * cy + k) + 8 * cx;
                for (int i = 0; i < 8; ++i)
                    row[i] = (b >> (7 - i)) & 1 ? on : off;
            }
        }
    }
}

void decodeMulticolour(IndexedImage& out, Bitmap bitmap, CellBytes screen, CellBytes colour,
                       std::uint8_t background) {
    for (int cy = 0; cy < kCellRows; ++cy) {
        for (int cx = 0; cx < kCellColumns; ++cx) {
            const int n = cy * kCellColumns + cx;
            const std::uint8_t colours[4] = {
                static_cast<std::uint8_t>(background & 15),
                static_cast<std::uint8_t>(screen[n] >> 4),
                static_cast<std::uint8_t>(screen[n] & 15),
                static_cast<std::uint8_t>(colour[n] & 15),
            };
            for (int k = 0; k < 8; ++k) {
                const std::uint8_t b = bitmap[8 * n + k];
                std::uint8_t* row = out.row(8 * cy + k) + 8 * cx;
                for (int m = 0; m < 4; ++m) {
                    const std::uint8_t c = colours[(b >> (6 - 2 * m)) & 3];
                    row[2 * m] = c;
                    row[2 * m + 1] = c;
                }
            }
        }
    }
}

void decodeHiresFli(IndexedImage& out, Bitmap bitmap, FliScreens screens) {
    for (int y = 0; y < 8 * kCellRows; ++y) {
        const std::uint8_t* screen = screens.data() + kFliScreenBlock * (y & 7);
        std::uint8_t* row = out.row(y);
        for (int cx = 0; cx < kCellColumns; ++cx) {
            const int n = (y >> 3) * kCellColumns + cx;
            const std::uint8_t on = screen[n] >> 4;
            const std::uint8_t off = screen[n] & 15;
            const std::uint8_t b = bitmap[8 * n + (y & 7)];
            for (int i = 0; i < 8; ++i)
                row[8 * cx + i] = (b >> (7 - i)) & 1 ? on : off;
        }
    }
}

void decodeAdvancedArtStudioLayout(
    IndexedImage& out, std::span<const std::uint8_t, kAdvancedArtStudioDataBytes> data) {
    decodeMulticolour(out, data.subspan<0, kBitmapBytes>(), data.subspan<8000, kScreenBytes>(),
                      data.subspan<9016, kScreenBytes>(), data[9001]);
}

void decodeKoalaLayout(IndexedImage& out, std::span<const std::uint8_t, kKoalaDataBytes> data) {
    decodeMulticolour(out, data.subspan<0, kBitmapBytes>(), data.subspan<8000, kScreenBytes>(),
                      data.subspan<9000, kScreenBytes>(), data[10000]);
}

} // namespace quendra
