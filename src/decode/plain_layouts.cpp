// The small layouts of the further paint programs that are more than a bitmap and its
// colours at fixed offsets: Mwin cells, .gr/.cs bitmaps, CGFX frame grids and the
// interlaced pictures of IHE (no screen) and VHI (packed too). (The plain memories of
// CDU-Paint, Face Painter, Cheese, Create with Garfield, Picasso 64 and .lre are registry
// rows with a cell layout, FP and HLE rows with an FLI layout.)
#include <algorithm>
#include <array>

#include "decode/cells.h"
#include "decode/escape_runs.h"
#include "decode/fli.h"
#include "decode/further_readers.h"
#include "decode/reader_checks.h"
#include "decode/row_facts.h"

namespace quendra {

namespace {

// Bit pair of pixel x in a multicolour byte, and bit of pixel x in a hires byte.
inline int pairOf(std::uint8_t byte, int x) {
    return (byte >> (6 - (x & 6))) & 3;
}
inline bool bitOf(std::uint8_t byte, int x) {
    return (byte >> (7 - (x & 7))) & 1;
}

std::uint16_t word(Bytes file, std::size_t at) {
    return static_cast<std::uint16_t>(file[at] | file[at + 1] << 8);
}
std::uint32_t longWord(Bytes file, std::size_t at) {
    return word(file, at) | static_cast<std::uint32_t>(word(file, at + 2)) << 16;
}

} // namespace

// Mwin: a header of 5 bytes, then cells of 10 bytes (screen, colour, 8 bitmap lines), row
// by row; the picture starts `left` pixels and `top` lines into the cell grid. Pair 00 is
// black.
Decoded decodeMwin(Bytes file, const DecodeOptions& options) {
    if (file.size() < 5)
        return lengthRejection("a Mwin picture", "at least 5", file, options);
    const int width = file[3] * 2, height = file[4];
    const int left = (file[1] & 3) * 2, top = file[2] & 7;
    const int columns = (width + 7) / 8 + (left != 0), rows = (height + 7) / 8 + (top != 0);
    const std::size_t length = 5 + static_cast<std::size_t>(rows) * columns * 10;
    if (width == 0 || height == 0)
        return Decoded::reject("this Mwin picture is empty (its header gives no size)");
    if (!hasLengthOneOf(file, options, {length}))
        return lengthRejection("this Mwin picture", std::to_string(length), file, options);
    Decoded d = acceptedPicture(options, width, height);
    for (int y = 0; y < height; ++y) {
        const int gy = y + top;
        std::uint8_t* row = d.picture.row(y);
        for (int x = 0; x < width; ++x) {
            const int gx = x + left;
            const std::size_t cell =
                5 + 10 * (static_cast<std::size_t>(gy >> 3) * columns + (gx >> 3));
            const std::uint8_t colours[4] = {0, static_cast<std::uint8_t>(file[cell] >> 4),
                                             static_cast<std::uint8_t>(file[cell] & 15),
                                             static_cast<std::uint8_t>(file[cell + 1] & 15)};
            row[x] = colours[pairOf(file[cell + 2 + (gy & 7)], gx)];
        }
    }
    return d;
}

int probeMwin(Bytes file, std::uint64_t fileSize) {
    if (file.size() < 5 || file[3] == 0 || file[4] == 0)
        return 0;
    const int width = file[3] * 2, height = file[4];
    const int columns = (width + 7) / 8 + ((file[1] & 3) != 0);
    const int rows = (height + 7) / 8 + ((file[2] & 7) != 0);
    return fileSize == 5 + static_cast<std::uint64_t>(rows) * columns * 10 ? kProbeLength : 0;
}

// .gr and .cs: byte 0 the columns, byte 1 the cell rows, then the hires bitmap cell by cell
// (no load address); set bits black, clear bits white.
Decoded decodeGraphicsBitmap(Bytes file, const DecodeOptions& options) {
    if (file.size() < 10)
        return lengthRejection("a .gr bitmap", "at least 10", file, options);
    const int columns = file[0], rows = file[1];
    const std::size_t length = 2 + static_cast<std::size_t>(columns) * rows * 8;
    if (!hasLengthOneOf(file, options, {length}))
        return lengthRejection("this .gr bitmap", std::to_string(length), file, options);
    Decoded d = acceptedPicture(options, 8 * columns, 8 * rows);
    for (int y = 0; y < 8 * rows; ++y) {
        std::uint8_t* row = d.picture.row(y);
        for (int x = 0; x < 8 * columns; ++x) {
            const std::uint8_t b = file[2 + 8 * ((y >> 3) * columns + (x >> 3)) + (y & 7)];
            row[x] = bitOf(b, x) ? 0 : 1;
        }
    }
    return d;
}

int probeGraphicsBitmap(Bytes file, std::uint64_t fileSize) {
    if (file.size() < 2 || fileSize < 10)
        return 0;
    return fileSize == 2 + static_cast<std::uint64_t>(file[0]) * file[1] * 8 ? kProbeLength : 0;
}

// CGFX: a RIFF file ("RIFF", size, "CGFX") of chunks FRMT (the grid of frames and each
// frame's cells), DATA (the frames, one after another, row by row) and META (skipped).
// FRMT: matrix rows, columns, their product at +4 (read as a 16-bit word: unconfirmed),
// frame rows and columns at +8 and +9, 4 and 0 at +10 and +11. A frame: the bitmap (stride:
// the frame's columns), screen, colour memory, 2 bytes of which the last is its background.
Decoded decodeCgfx(Bytes file, const DecodeOptions& options) {
    auto reject = [&](std::string why) { return Decoded::reject(std::move(why)); };
    if (file.size() < 12 || !std::equal(file.begin(), file.begin() + 4, "RIFF") ||
        !std::equal(file.begin() + 8, file.begin() + 12, "CGFX"))
        return reject("a CGFX picture begins with RIFF and CGFX");
    if (std::uint64_t{longWord(file, 4)} + 8 != reportedSize(file, options) ||
        reportedSize(file, options) != file.size())
        return reject("the RIFF size of this CGFX picture does not match its length");
    const std::uint8_t* format = nullptr;
    Bytes data;
    for (std::size_t at = 12; at < file.size();) {
        if (at + 8 > file.size())
            return reject("a chunk of this CGFX picture is cut off");
        const std::uint32_t size = longWord(file, at + 4);
        if (size > file.size() - at - 8)
            return reject("a chunk of this CGFX picture is cut off");
        const auto id = file.subspan(at, 4);
        if (std::equal(id.begin(), id.end(), "FRMT") && size == 12)
            format = file.data() + at + 8;
        else if (std::equal(id.begin(), id.end(), "DATA"))
            data = file.subspan(at + 8, size);
        else if (!std::equal(id.begin(), id.end(), "META"))
            return reject("this CGFX picture holds a chunk of an unknown kind");
        at += 8 + size;
    }
    if (!format || data.empty())
        return reject("this CGFX picture lacks its FRMT or DATA chunk");
    const int rows = format[0], columns = format[1], frameRows = format[8],
              frameColumns = format[9];
    if ((format[4] | format[5] << 8) != rows * columns || format[10] != 4 || format[11] != 0 ||
        rows * columns * frameRows * frameColumns == 0)
        return reject("the FRMT chunk of this CGFX picture is not one this program reads");
    const std::size_t cells = static_cast<std::size_t>(frameRows) * frameColumns;
    const std::size_t frameBytes = cells * 10 + 2;
    if (data.size() != frameBytes * rows * columns)
        return reject("the DATA chunk of this CGFX picture does not hold its frames exactly");
    const int width = 8 * columns * frameColumns, height = 8 * rows * frameRows;
    Decoded d = acceptedPicture(options, width, height);
    for (int y = 0; y < height; ++y) {
        const int fy = y / (8 * frameRows), ly = y % (8 * frameRows);
        std::uint8_t* row = d.picture.row(y);
        for (int x = 0; x < width; ++x) {
            const int fx = x / (8 * frameColumns), lx = x % (8 * frameColumns);
            const std::uint8_t* f =
                data.data() + frameBytes * (static_cast<std::size_t>(fy) * columns + fx);
            const std::size_t cell = static_cast<std::size_t>(ly >> 3) * frameColumns + (lx >> 3);
            const std::uint8_t colours[4] = {static_cast<std::uint8_t>(f[frameBytes - 1] & 15),
                                             static_cast<std::uint8_t>(f[8 * cells + cell] >> 4),
                                             static_cast<std::uint8_t>(f[8 * cells + cell] & 15),
                                             static_cast<std::uint8_t>(f[9 * cells + cell] & 15)};
            row[x] = colours[pairOf(f[8 * cell + (ly & 7)], lx)];
        }
    }
    return d;
}

int probeCgfx(Bytes file, std::uint64_t) {
    return file.size() >= 12 && std::equal(file.begin(), file.begin() + 4, "RIFF") &&
                   std::equal(file.begin() + 8, file.begin() + 12, "CGFX")
               ? kProbeSignature
               : 0;
}

// IHE: two hires bitmaps at 2 and 8194 and no screen: set bits black, clear grey 12.
Decoded decodeIhe(Bytes file, const DecodeOptions& options) {
    if (!hasLayoutLength(formatRow(FormatId::ihe).lengths, file, options))
        return rowLengthRejection("an IHE picture", formatRow(FormatId::ihe), file, options);
    Decoded d = fli::accepted(options, 320, 200, fli::Colours::mixed);
    std::array<std::uint8_t, kScreenBytes> screen;
    screen.fill(0x0C);
    const fli::FrameMemory first{
        .bitmap = file.data() + 2, .screens = screen.data(), .hires = true};
    fli::FrameMemory second = first;
    second.bitmap = file.data() + 8194;
    fli::drawMix(d.picture, first, second, 0, 0);
    return d;
}
int probeIhe(Bytes, std::uint64_t fileSize) {
    return takesLength(formatRow(FormatId::ihe), fileSize) ? kProbeLength : 0;
}

// VHI: hires interlace, bitmaps at 0 and 8192 and one screen at 16384 after the load
// address (17389 bytes), or the same 17384 bytes packed with the VHI packer.
Decoded decodeVhi(Bytes file, const DecodeOptions& options) {
    std::array<std::uint8_t, 17384> image{};
    if (hasLayoutLength(formatRow(FormatId::vhi).lengths, file, options)) {
        std::copy_n(file.begin() + 2, image.size(), image.begin());
    } else if (reportedSize(file, options) != file.size() || !unpackVhi(file, 2, image)) {
        return Decoded::reject("a VHI picture is " + lengthsText(formatRow(FormatId::vhi).lengths) +
                               " bytes long or packed, and this one's packed data are cut off "
                               "or spoilt");
    }
    Decoded d = fli::accepted(options, 320, 200, fli::Colours::mixed);
    const fli::FrameMemory first{
        .bitmap = image.data(), .screens = image.data() + 16384, .hires = true};
    fli::FrameMemory second = first;
    second.bitmap = image.data() + 8192;
    fli::drawMix(d.picture, first, second, 0, 0);
    return d;
}
int probeVhi(Bytes, std::uint64_t fileSize) {
    return takesLength(formatRow(FormatId::vhi), fileSize) ? kProbeLength : 0;
}

} // namespace quendra
