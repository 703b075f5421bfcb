// Builders of the single-frame bitmap formats beyond Koala, Art Studio and Doodle, from
// their layouts: the test fixtures, fuzz seeds and sample pictures of those readers.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "samples/c64_files.h"

namespace quendra::samples {

// Where a multicolour format keeps its memories: file offsets, load address included.
struct MulticolourLayout {
    std::size_t length;
    std::uint16_t loadAddress; // the one real files carry
    std::size_t bitmap, screen, colour;
    std::size_t background; // kNoBackground: the format has none (it shows black)
};
inline constexpr std::size_t kNoBackground = 0;

inline constexpr MulticolourLayout kBlazingPaddlesLayout{10242, 0xA000, 2, 8194, 9218, 8066};
inline constexpr MulticolourLayout kArtist64Layout{10242, 0x4000, 2, 8194, 9218, 10241};
inline constexpr MulticolourLayout kVidcom64Layout{10050, 0x5800, 2050, 1026, 2, 2026};
inline constexpr MulticolourLayout kImageSystemLayout{10218, 0x3C00, 1026, 9218, 2, 9217};
inline constexpr MulticolourLayout kSaracenPaintLayout{10219, 0x7800, 1026, 2, 9218, 1010};
inline constexpr MulticolourLayout kRainbowPainterLayout{10242, 0x5C00, 1026,
                                                         2,     9218,   kNoBackground};
inline constexpr MulticolourLayout kInterpaintLayout{10003, 0x4000, 2, 8002, 9002, 10002};

// A file of `layout` holding `p`; bytes no memory covers are 0. `length` 0 keeps the
// layout's own (Vidcom 64 has three).
ByteVector makeMulticolourFile(const CellPicture& p, const MulticolourLayout& layout,
                               std::size_t length = 0);

// Paint Magic: the BASIC line SYS 2070 at $3F8E, bitmap at 116, background at 8116, one
// colour-memory value (p.colour[0]) at 8119, screen at 8308; 9332 bytes.
ByteVector makePaintMagic(const CellPicture& p);

// Art Studio's hires layout (bitmap at 2, screen at 8002) in 9002, 9003 or 9009 bytes.
ByteVector makeArtStudioHiresLayout(const CellPicture& p, std::size_t length,
                                    std::uint16_t loadAddress);

// Hi-Eddi: $2000, bitmap block of 8192, screen block of 1024 (9218 bytes); Image System
// hires without the last 24 bytes (9194).
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
