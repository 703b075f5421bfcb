// GoDot 4Bit reader: full pictures ("GOD0", 320 x 200) and clips ("GOD1", whole cells of
// any size the header can hold). The format is laid out in godot_format.h. Cells the data
// does not reach stay 0: the format's rules keep the picture of a file that ends early.
#include <algorithm>
#include <string>

#include "decode/formats.h"
#include "decode/godot_format.h"
#include "decode/palette.h"
#include "decode/reader_checks.h"
#include "decode/readers.h"

namespace quendra {

namespace {

// A clip file longer than this shows the progress window while it is drawn.
constexpr std::size_t kClipProgressAbove = 32000;

bool hasMagic(Bytes file, char kind) {
    return file.size() >= 4 && file[0] == 'G' && file[1] == 'O' && file[2] == 'D' &&
           file[3] == kind;
}

// Draws expanded cell data into `out`, `columns` cells to a cell row; `out` must hold every
// cell the data reaches. Calls rowDone(r) whenever cell row r is complete.
template <typename RowDone>
void drawCells(IndexedImage& out, const std::vector<std::uint8_t>& cells, int columns,
               RowDone rowDone) {
    const std::size_t size = cells.size();
    if (columns <= 0 || size == 0)
        return;
    const std::size_t rowBytes = kGodotCellBytes * static_cast<std::size_t>(columns);
    std::size_t b = 0;
    for (int r = 0; b < size; ++r) {
        for (int c = 0; c < columns && b < size; ++c) {
            for (int l = 0; l < 8 && b < size; ++l) {
                std::uint8_t* line = out.row(8 * r + l) + 8 * c;
                for (int i = 0; i < 8 && b < size; i += 2, ++b) {
                    line[i] = cells[b] >> 4;
                    line[i + 1] = cells[b] & 0x0F;
                }
            }
        }
        if (b % rowBytes == 0)
            rowDone(r);
    }
}

Decoded decodeFull(Bytes file, const DecodeOptions& options) {
    Decoded d = Decoded::accept(options, 8 * kGodotFullColumns, 8 * kGodotFullRows);
    d.picture.setPalette(godotPalette(options.grey));
    d.picture.setMeaning(IndexMeaning::godotIndices, options.grey);
    std::vector<std::uint8_t> own;
    std::vector<std::uint8_t>& cells = options.workspace ? *options.workspace : own;
    expandGodotData(file.subspan(kGodotFullHeaderBytes), kGodotFullDataBytes, cells);
    drawCells(d.picture, cells, kGodotFullColumns, [](int) {});
    return d;
}

Decoded decodeClip(Bytes file, const DecodeOptions& options) {
    if (file.size() < kGodotClipHeaderBytes) {
        return Decoded::reject("a GoDot clip's header is 8 bytes, this file has " +
                               std::to_string(reportedSize(file, options)));
    }
    const int columns = file[6];
    const int rows = file[7];
    Decoded d = Decoded::accept(options, 8 * columns, 8 * rows);
    Progress* progress = nullptr;
    if (file.size() > kClipProgressAbove) {
        d.decodingBegan = true;
        progress = options.progress;
        if (progress)
            progress->start(rows);
    }
    d.picture.setPalette(godotPalette(options.grey));
    d.picture.setMeaning(IndexMeaning::godotIndices, options.grey);
    const std::size_t cellCount = static_cast<std::size_t>(columns) * rows;
    std::vector<std::uint8_t> own;
    std::vector<std::uint8_t>& cells = options.workspace ? *options.workspace : own;
    expandGodotData(file.subspan(kGodotClipHeaderBytes), kGodotCellBytes * cellCount, cells);
    // After a cell row the bar shows the number of the next one, counted from 1; it stays
    // at its maximum after the last.
    drawCells(d.picture, cells, columns, [&](int r) {
        if (progress)
            progress->position(std::min(r + 2, rows));
    });
    return d;
}

} // namespace

std::vector<std::uint8_t> expandGodotData(Bytes data, std::size_t limit) {
    std::vector<std::uint8_t> out;
    expandGodotData(data, limit, out);
    return out;
}

void expandGodotData(Bytes data, std::size_t limit, std::vector<std::uint8_t>& out) {
    // A run of three bytes gives 256 at most: no need to make room for more.
    out.resize(std::min(limit, data.size() / 3 * 256 + data.size() % 3));
    std::uint8_t* o = out.data();
    const std::uint8_t* const end = o + out.size();
    std::size_t i = 0;
    while (i < data.size() && o != end) {
        const std::uint8_t b = data[i];
        if (b != kGodotEscape) {
            *o++ = b;
            ++i;
            continue;
        }
        if (data.size() - i < 3)
            break; // a lone escape byte ends the data
        const std::size_t count = data[i + 1] == 0 ? 256 : data[i + 1];
        const std::size_t n = std::min<std::size_t>(count, static_cast<std::size_t>(end - o));
        o = std::fill_n(o, n, data[i + 2]);
        i += 3;
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
}

Decoded decodeGodot(Bytes file, const DecodeOptions& options) {
    // The magic names the kind, whichever of the two rows' extensions the file has.
    static const C64Format* const picture = &formatRow(FormatId::godot);
    static const C64Format* const clip = &formatRow(FormatId::godotClip);
    // Each built from its reader's picture, never default-made: a batch's files make no
    // new picture storage (DecodeOptions::reuse).
    if (hasMagic(file, '0')) {
        Decoded d = decodeFull(file, options);
        d.format = picture;
        return d;
    }
    if (hasMagic(file, '1')) {
        Decoded d = decodeClip(file, options);
        d.format = clip;
        return d;
    }
    return Decoded::reject("a GoDot 4Bit file starts with \"GOD0\" or \"GOD1\"");
}

int probeGodot(Bytes file, std::uint64_t) {
    return hasMagic(file, '0') || hasMagic(file, '1') ? kProbeSignature : 0;
}

} // namespace quendra
