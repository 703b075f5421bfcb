// Builders of the single-frame bitmap formats beyond Koala, Art Studio and Doodle, from
// their layouts: the test fixtures, fuzz seeds and sample pictures of those readers.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "decode/formats.h"
#include "samples/c64_files.h"

namespace quendra::samples {

// A file of a plain layout format (its registry row's `cells`) holding `p`: the row's
// first length and load address unless others are given; bytes no memory covers are 0.
ByteVector makeCellFile(const C64Format& format, const CellPicture& p, std::size_t length = 0,
                        std::uint16_t loadAddress = 0);

// The same by the row's name: the layouts of Blazing Paddles, Artist 64, Vidcom 64, Image
// System, Saracen Paint, Rainbow Painter and Interpaint.
using LayoutName = FormatId;
inline constexpr LayoutName kBlazingPaddlesLayout = FormatId::blazingPaddles;
inline constexpr LayoutName kArtist64Layout = FormatId::artist64;
inline constexpr LayoutName kVidcom64Layout = FormatId::vidcom64;
inline constexpr LayoutName kImageSystemLayout = FormatId::imageSystem;
inline constexpr LayoutName kSaracenPaintLayout = FormatId::saracenPaint;
inline constexpr LayoutName kRainbowPainterLayout = FormatId::rainbowPainter;
inline constexpr LayoutName kInterpaintLayout = FormatId::interpaint;
ByteVector makeMulticolourFile(const CellPicture& p, LayoutName format, std::size_t length = 0);

// A multicolour layout given by its offsets, for formats whose rows hold no cell layout:
// length, load address, bitmap, screen, colour and background (kNoBackground: none).
struct MulticolourLayout {
    std::size_t length;
    std::uint16_t loadAddress;
    std::size_t bitmap, screen, colour;
    std::size_t background;
};
inline constexpr std::size_t kNoBackground = 0;
ByteVector makeMulticolourFile(const CellPicture& p, const MulticolourLayout& layout,
                               std::size_t length = 0);

// Paint Magic: its layout, with the BASIC line SYS 2070 that real files begin with.
ByteVector makePaintMagic(const CellPicture& p);

// Art Studio's hires layout (bitmap at 2, screen at 8002) in 9002, 9003 or 9009 bytes.
ByteVector makeArtStudioHiresLayout(const CellPicture& p, std::size_t length,
                                    std::uint16_t loadAddress);

// Hi-Eddi; Image System hires (Hi-Eddi's layout without the last 24 bytes).
ByteVector makeHiEddi(const CellPicture& p);
ByteVector makeImageSystemHires(const CellPicture& p);

// A plain bitmap: load address and p.bitmap, padded with 0 to `length` (8002 or 8194).
ByteVector makeHiresBitmap(const CellPicture& p, std::size_t length = 8002,
                           std::uint16_t loadAddress = 0x2000);

// A hires FLI picture: a bitmap and one screen for each of the eight lines of a cell row.
struct HiresFliPicture {
    std::array<std::uint8_t, 8000> bitmap{};
    std::array<std::array<std::uint8_t, 1000>, 8> screens{};
};

// Every screen different, every cell with both colours in every line.
HiresFliPicture hiresFliPattern(unsigned seed = 0);

// Hires Manager's packer, the other way: data that unpacks (read backwards) to `data`.
ByteVector packHiresManager(std::span<const std::uint8_t> data);

// Hires Manager: $4000, $FF at 3 (in the hidden first cell row), bitmap at 2, screens at
// 8194 (16385 bytes); `packed`: the header, 12 bytes of 0, then offsets 322-16371 packed.
ByteVector makeHiresManager(const HiresFliPicture& p, bool packed);

} // namespace quendra::samples
