// The two functions every fuzz target defines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "decode/image.h"

// The most pixels a target decodes at all where a header names the size, or saves again.
// Larger pictures run the same code over more cells and only slow the search; the unit
// tests decode the largest each format allows.
inline constexpr std::size_t kFuzzMaxPixels = std::size_t{1} << 18;
// The most pixels a target turns into RGB to save them again (a C64 screen's 64,000 fit).
inline constexpr std::size_t kFuzzMaxRgbPixels = std::size_t{1} << 16;

// Marks a harness helper that the fuzz build leaves uninstrumented: no coverage, no
// sanitizer checks. Only for loops over memory the helper was handed whole, and calling
// nothing (instrumented code cannot be inlined into it).
#if defined(__clang__)
#define QUENDRA_FUZZ_UNINSTRUMENTED __attribute__((no_sanitize("coverage", "address", "undefined")))
#else
#define QUENDRA_FUZZ_UNINSTRUMENTED
#endif

// The largest of `count` bytes (0 when there are none), uninstrumented: checked and traced,
// this per-pixel loop would cost more than the decoding.
QUENDRA_FUZZ_UNINSTRUMENTED inline std::uint8_t largestByte(const std::uint8_t* bytes,
                                                            std::size_t count) {
    std::uint8_t largest = 0;
    for (std::size_t i = 0; i < count; ++i)
        largest = bytes[i] > largest ? bytes[i] : largest;
    return largest;
}

// Whether every index of the picture names a colour of its palette: what a reader promises
// and what turning it into RGB relies on. (toRgb() itself is the same lookup for every
// input; the unit tests check it.)
inline bool indicesWithinPalette(const quendra::IndexedImage& picture) {
    const auto indices = picture.indices();
    return indices.empty() ||
           largestByte(indices.data(), indices.size()) < picture.palette().size();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

// Seed inputs built from the fixtures; written to the corpus folder by the replay program.
std::vector<std::vector<std::uint8_t>> quendraFuzzSeeds();
