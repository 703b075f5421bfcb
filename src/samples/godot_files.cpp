#include "samples/godot_files.h"

#include "decode/palette.h"

namespace quendra::samples {

IndexedImage godotTestPattern(int width, int height, unsigned seed) {
    IndexedImage p(width, height);
    p.setPalette(kGodotPalette);
    p.setMeaning(IndexMeaning::godotIndices, false);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned col = static_cast<unsigned>(x / 8), row = static_cast<unsigned>(y / 8);
            unsigned i;
            if ((col + row + seed) % 5 == 0) {
                i = col + row + seed; // a solid cell
            } else if (y % 8 == 5) {
                i = x % 2 == 0 ? 10 : 13; // bytes 0xAD
            } else {
                i = static_cast<unsigned>(x + 3 * y) + col + seed;
            }
            p.setIndex(x, y, static_cast<std::uint8_t>(i % 16));
        }
    }
    return p;
}

ByteVector godotCells(const IndexedImage& picture) {
    const int columns = (picture.width() + 7) / 8;
    const int rows = (picture.height() + 7) / 8;
    auto at = [&](int x, int y) -> unsigned {
        return x < picture.width() && y < picture.height() ? picture.index(x, y) & 0x0F : 0;
    };
    ByteVector cells;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            for (int l = 0; l < 8; ++l) {
                for (int i = 0; i < 8; i += 2) {
                    const int x = 8 * c + i, y = 8 * r + l;
                    cells.push_back(static_cast<std::uint8_t>(at(x, y) << 4 | at(x + 1, y)));
                }
            }
        }
    }
    return cells;
}

ByteVector godotLiterals(std::span<const std::uint8_t> cells) {
    ByteVector data;
    for (std::uint8_t b : cells) {
        if (b == 0xAD) {
            data.insert(data.end(), {0xAD, 0x01, 0xAD});
        } else {
            data.push_back(b);
        }
    }
    data.push_back(0xAD);
    return data;
}

ByteVector makeGodotPicture(std::span<const std::uint8_t> data) {
    ByteVector f{'G', 'O', 'D', '0'};
    f.insert(f.end(), data.begin(), data.end());
    return f;
}

ByteVector makeGodotClip(int columns, int rows, std::span<const std::uint8_t> data) {
    ByteVector f{'G',
                 'O',
                 'D',
                 '1',
                 0,
                 0,
                 static_cast<std::uint8_t>(columns),
                 static_cast<std::uint8_t>(rows)};
    f.insert(f.end(), data.begin(), data.end());
    return f;
}

ByteVector makeGodot(const IndexedImage& picture) {
    const ByteVector data = godotLiterals(godotCells(picture));
    if (picture.width() == 320 && picture.height() == 200)
        return makeGodotPicture(data);
    return makeGodotClip((picture.width() + 7) / 8, (picture.height() + 7) / 8, data);
}

} // namespace quendra::samples
