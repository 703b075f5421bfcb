#include "decode/cells.h"

#include "decode/cell_words.h"

namespace quendra {

using namespace cellwords;

void decodeHires(IndexedImage& out, Bitmap bitmap, CellBytes screen) {
    for (int cy = 0; cy < kCellRows; ++cy) {
        for (int cx = 0; cx < kCellColumns; ++cx) {
            const int n = cy * kCellColumns + cx;
            const Word on = everyByte(screen[n] >> 4), off = everyByte(screen[n] & 15);
            for (int k = 0; k < 8; ++k)
                store(out.row(8 * cy + k) + 8 * cx, select(off, on, kMasks.hires[bitmap[8 * n + k]]));
        }
    }
}

void decodeMulticolour(IndexedImage& out, Bitmap bitmap, CellBytes screen, CellBytes colour,
                       std::uint8_t background) {
    for (int cy = 0; cy < kCellRows; ++cy) {
        for (int cx = 0; cx < kCellColumns; ++cx) {
            const int n = cy * kCellColumns + cx;
            const Word zero = everyByte(background & 15), one = everyByte(screen[n] >> 4),
                       two = everyByte(screen[n] & 15), three = everyByte(colour[n] & 15);
            for (int k = 0; k < 8; ++k) {
                const std::uint8_t b = bitmap[8 * n + k];
                const Word low = kMasks.lowOfPair[b];
                store(out.row(8 * cy + k) + 8 * cx,
                      select(select(zero, one, low), select(two, three, low), kMasks.highOfPair[b]));
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
            store(row + 8 * cx, select(everyByte(screen[n] & 15), everyByte(screen[n] >> 4),
                                       kMasks.hires[bitmap[8 * n + (y & 7)]]));
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
