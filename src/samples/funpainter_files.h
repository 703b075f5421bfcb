// Builders of FunPainter 2 files from frame data, for tests, fuzz seeds and samples.
#pragma once

#include <array>
#include <cstdint>

#include "samples/c64_files.h"

namespace quendra::samples {

// One FLI multicolour frame: pixel line y takes its cell colours from screens[y % 8].
struct FliFrame {
    std::array<std::array<std::uint8_t, 1000>, 8> screens{};
    std::array<std::uint8_t, 8000> bitmap{};
};

// An interlaced picture: two frames sharing the colour memory and the line backgrounds.
struct FunPainterPicture {
    FliFrame first;
    FliFrame second;
    std::array<std::uint8_t, 1000> colour{};
    std::array<std::uint8_t, 200> backgrounds{}; // one for each pixel line
};

// Every cell uses all four bit pairs, every screen memory differs, every line has its own
// background, and the second frame differs from the first.
FunPainterPicture funPainterPattern(unsigned seed = 0);

// The memory image from $4000 as FunPainter 2 stores it (33676 bytes).
ByteVector funPainterMemory(const FunPainterPicture& p);

inline constexpr std::size_t kFunPainterPlainSize = 18 + 33676;

// $3FF0, "FU", 12 header bytes, the packing flag and the run marker, then the memory image:
// plain (33694 bytes) or packed with `marker` (runs of four or more, and every marker byte).
ByteVector makeFunPainter(const FunPainterPicture& p, bool packed, std::uint8_t marker = 0xAD);

// Packs bytes as FunPainter 2 does: marker count value, count 0 meaning 256.
ByteVector funPainterRuns(const ByteVector& data, std::uint8_t marker);

} // namespace quendra::samples
