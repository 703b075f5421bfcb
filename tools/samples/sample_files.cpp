#include "samples/sample_files.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

namespace quendra::samples {

namespace {

using Bytes = std::span<const std::uint8_t>;

void append(ByteVector& out, Bytes bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

// A file's first bytes, with room for the rest.
ByteVector startFile(std::initializer_list<std::uint8_t> head) {
    ByteVector f;
    f.reserve(40000);
    f.insert(f.end(), head);
    return f;
}

// How one format writes a run of `count` (2..maxRun) copies of `value`.
using RunToken = void (*)(ByteVector& out, std::uint8_t value, int count);

// Run-length coding shared by the compressed formats: a run of at least four equal bytes
// becomes a run token, and so does every byte equal to the format's escape byte (a run
// of one); the other bytes are literals.
ByteVector pack(Bytes data, std::uint8_t escape, int maxRun, RunToken run) {
    ByteVector out;
    for (std::size_t i = 0; i < data.size();) {
        std::size_t n = 1;
        while (i + n < data.size() && data[i + n] == data[i] &&
               n < static_cast<std::size_t>(maxRun))
            ++n;
        if (n >= 4 || data[i] == escape) {
            run(out, data[i], static_cast<int>(n));
            i += n;
        } else {
            out.push_back(data[i++]);
        }
    }
    return out;
}

// The memories of a multicolour picture one after another, as Koala keeps them.
ByteVector koalaData(const CellPicture& p) {
    ByteVector d;
    append(d, p.bitmap);
    append(d, p.screen);
    append(d, p.colour);
    d.push_back(p.background);
    return d;
}

// A hires picture: colour pairs per cell with a different drawing than the test pattern:
// a diagonal of squares on stripes.
CellPicture hiresDrawing() {
    CellPicture p = testPattern(5);
    for (int n = 0; n < 1000; ++n) {
        const int row = n / 40, col = n % 40;
        for (int k = 0; k < 8; ++k) {
            const bool square = std::abs(col - row * 8 / 5) < 3 && k > 0 && k < 7;
            p.bitmap[8 * n + k] = square ? 0x7E : static_cast<std::uint8_t>(k % 2 ? 0xAA : 0x55);
        }
        p.screen[n] = static_cast<std::uint8_t>(((row + col) % 15 + 1) << 4 | (col % 8));
    }
    return p;
}

// Black rings around the page's middle, in cell order (8 bytes a cell, bit 7 leftmost).
ByteVector ringsPage(int columns, int rows) {
    ByteVector page(static_cast<std::size_t>(columns) * rows * 8, 0);
    const int cx = columns * 4, cy = rows * 4;
    for (int y = 0; y < rows * 8; ++y) {
        for (int x = 0; x < columns * 8; ++x) {
            const int r2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
            const bool black = (r2 / (24 * columns)) % 2 == 0 || x < 4 || y < 4 ||
                               x >= columns * 8 - 4 || y >= rows * 8 - 4;
            if (black) {
                const std::size_t cell = static_cast<std::size_t>(y / 8) * columns + x / 8;
                page[cell * 8 + y % 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
    }
    return page;
}

// GoDot cell data: 4-bit indices, two pixels a byte (left one high), 8 x 8 cells in rows.
template <typename IndexAt> ByteVector godotCells(int columns, int rows, IndexAt indexAt) {
    ByteVector out;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            for (int line = 0; line < 8; ++line) {
                for (int i = 0; i < 8; i += 2) {
                    const int x = 8 * c + i, y = 8 * r + line;
                    out.push_back(
                        static_cast<std::uint8_t>(indexAt(x, y) << 4 | indexAt(x + 1, y)));
                }
            }
        }
    }
    return out;
}

void godotRun(ByteVector& out, std::uint8_t value, int count) {
    out.insert(out.end(), {0xAD, static_cast<std::uint8_t>(count & 0xFF), value}); // 256 as 0
}

} // namespace

ByteVector sampleKoala() {
    return makeKoala(testPattern(0));
}

ByteVector sampleRunPaint() {
    return makeKoala(testPattern(3), /*padded=*/true);
}

ByteVector sampleKoalaCompressed() {
    ByteVector f = startFile({0x00, 0x60});
    append(f,
           pack(koalaData(testPattern(1)), 0xFE, 255, [](ByteVector& out, std::uint8_t v, int n) {
               out.insert(out.end(), {0xFE, v, static_cast<std::uint8_t>(n)});
           }));
    f.push_back(0); // the last byte never starts an item
    return f;
}

ByteVector sampleAdvancedArtStudio() {
    const CellPicture p = testPattern(2);
    ByteVector f = startFile({0x00, 0x20});
    append(f, p.bitmap);
    append(f, p.screen);
    f.push_back(0);
    f.push_back(p.background);
    f.insert(f.end(), 14, 0);
    append(f, p.colour);
    return f; // 10018 bytes
}

ByteVector sampleArtStudioHires() {
    const CellPicture p = hiresDrawing();
    ByteVector f = startFile({0x00, 0x20});
    append(f, p.bitmap);
    append(f, p.screen);
    f.insert(f.end(), 7, 0);
    return f; // 9009 bytes
}

ByteVector sampleAmica() {
    ByteVector f = startFile({0x00, 0x40});
    append(f,
           pack(koalaData(testPattern(4)), 0xC2, 255, [](ByteVector& out, std::uint8_t v, int n) {
               out.insert(out.end(), {0xC2, static_cast<std::uint8_t>(n), v});
           }));
    f.push_back(0);
    return f;
}

ByteVector sampleDoodle() {
    const CellPicture p = hiresDrawing();
    ByteVector f = startFile({0x00, 0x1C});
    append(f, p.screen);
    f.insert(f.end(), 24, 0);
    append(f, p.bitmap);
    f.insert(f.end(), 192, 0);
    return f; // 9218 bytes
}

ByteVector sampleDoodleCompressed() {
    CellPicture p = hiresDrawing();
    std::reverse(p.screen.begin(), p.screen.end()); // not the same picture as the .dd
    ByteVector data;
    append(data, p.screen);
    data.insert(data.end(), 24, 0);
    append(data, p.bitmap);
    ByteVector f = startFile({0x00, 0x5C});
    append(f, pack(data, 0xFE, 255, [](ByteVector& out, std::uint8_t v, int n) {
               out.insert(out.end(), {0xFE, v, static_cast<std::uint8_t>(n)});
           }));
    f.push_back(0);
    return f;
}

namespace {

// Printfox types B and G: runs are 0x9B, count low, count high, value.
ByteVector printfoxFile(char type, int columns, int rows) {
    ByteVector f = startFile({static_cast<std::uint8_t>(type)});
    append(f,
           pack(ringsPage(columns, rows), 0x9B, 65535, [](ByteVector& out, std::uint8_t v, int n) {
               out.insert(out.end(), {0x9B, static_cast<std::uint8_t>(n & 0xFF),
                                      static_cast<std::uint8_t>(n >> 8), v});
           }));
    f.insert(f.end(), 5, 0); // no token starts in the last five bytes
    return f;
}

} // namespace

ByteVector samplePrintfoxScreen() {
    return printfoxFile('B', 40, 25);
}
ByteVector samplePrintfoxLarge() {
    return printfoxFile('G', 80, 50);
}

ByteVector samplePagefoxPage() {
    constexpr int kColumns = 50, kRows = 30;
    ByteVector f = startFile({'P', kRows, kColumns, 0}); // an empty field, ended by its zero byte
    append(f,
           pack(ringsPage(kColumns, kRows), 0x9B, 256, [](ByteVector& out, std::uint8_t v, int n) {
               out.insert(out.end(), {0x9B, static_cast<std::uint8_t>(n & 0xFF), v});
           }));
    f.insert(f.end(), 9, 0); // no token starts in the last nine bytes
    return f;
}

ByteVector sampleFunPainter() {
    // The memory image from $4000: two FLI frames (eight screens each, then the bitmap),
    // line backgrounds for the top half, colour memory, the second frame, bottom half's.
    // Broad bands of colour, so that it packs well.
    ByteVector mem(33676, 0);
    auto frame = [&](std::size_t at, int shift) {
        for (int screen = 0; screen < 8; ++screen) {
            for (int n = 0; n < 1000; ++n) {
                const int row = n / 40, col = n % 40;
                const int hi = (col / 8 + screen / 2 + shift) % 16,
                          lo = (row / 5 + 2 * shift + 3) % 16;
                mem[at + 1024 * screen + n] = static_cast<std::uint8_t>(hi << 4 | lo);
            }
        }
        const std::uint8_t pairs[4] = {0x1B, 0x6C, 0xB1, 0xC6};
        for (int n = 0; n < 1000; ++n) {
            const auto bits = pairs[(n / 40 + n % 40 + shift) % 4];
            std::fill_n(mem.begin() + static_cast<long>(at + 8192 + 8 * n), 8, bits);
        }
    };
    frame(0, 0);
    frame(17384, 1);
    for (int y = 0; y < 100; ++y) {
        mem[16192 + y] = static_cast<std::uint8_t>(y / 13 % 16);
        mem[33576 + y] = static_cast<std::uint8_t>((y / 13 + 8) % 16);
    }
    for (int n = 0; n < 1000; ++n)
        mem[16384 + n] = static_cast<std::uint8_t>((n % 40) / 10 + 12);

    constexpr std::uint8_t kMarker = 0xFF;
    ByteVector f = startFile({0xF0, 0x3F, 'F', 'U'});
    f.insert(f.end(), 12, 0);
    f.push_back(1);       // packed
    f.push_back(kMarker); // run marker
    append(f, pack(mem, kMarker, 256, [](ByteVector& out, std::uint8_t v, int n) {
               out.insert(out.end(), {kMarker, static_cast<std::uint8_t>(n & 0xFF), v});
           }));
    f.push_back(0);
    return f;
}

ByteVector sampleGodotPicture() {
    // Sixteen bars dark to light, with a band of the same colours running the other way.
    const ByteVector cells = godotCells(40, 25, [](int x, int y) {
        const int bar = x / 20;
        return (y >= 80 && y < 120) ? 15 - bar : bar;
    });
    ByteVector f = startFile({'G', 'O', 'D', '0'});
    append(f, pack(cells, 0xAD, 256, godotRun));
    f.push_back(0xAD); // the writer's closing byte
    return f;
}

ByteVector sampleGodotClip() {
    constexpr int kColumns = 12, kRows = 8;
    const ByteVector cells = godotCells(kColumns, kRows, [](int x, int y) {
        return ((x / 8 + y / 8) % 2 == 0) ? (x + y) / 12 % 16 : 15 - (x / 6) % 16;
    });
    ByteVector f = startFile({'G', 'O', 'D', '1', 0, 0, kColumns, kRows});
    append(f, pack(cells, 0xAD, 256, godotRun));
    f.push_back(0xAD);
    return f;
}

std::vector<SampleFile> allSampleFiles() {
    return {
        {"koala.koa", sampleKoala()},
        {"runpaint.rpm", sampleRunPaint()},
        {"art-studio-multicolour.ocp", sampleAdvancedArtStudio()},
        {"art-studio-hires.ocp", sampleArtStudioHires()},
        {"amica.ami", sampleAmica()},
        {"koala-compressed.gg", sampleKoalaCompressed()},
        {"doodle.dd", sampleDoodle()},
        {"doodle-compressed.jj", sampleDoodleCompressed()},
        {"printfox-screen.bs", samplePrintfoxScreen()},
        {"printfox-large.gb", samplePrintfoxLarge()},
        {"pagefox-page.pg", samplePagefoxPage()},
        {"funpainter.fp2", sampleFunPainter()},
        {"godot.4bt", sampleGodotPicture()},
        {"godot-clip.clp", sampleGodotClip()},
    };
}

} // namespace quendra::samples
