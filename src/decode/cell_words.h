// Eight pixels at a time: the 8 pixels of a cell line as one 64-bit word, pixel i in byte i
// of memory, so a cell line is drawn with a few masks instead of eight branches. What the
// FLI family, the sprite-underlay pictures and the super-hires pictures draw with.
#pragma once
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "decode/blend.h"

namespace quendra::cellwords {

using Word = std::uint64_t;

inline constexpr Word kEveryByte = 0x0101010101010101;

// The cell-line masks of a byte: byte i all ones where pixel i is set.
struct Masks {
    Word hires[256];      // pixel i shows bit 7 - i
    Word lowOfPair[256];  // pixels 2m, 2m + 1 show the pair's low bit, bit 6 - 2m
    Word highOfPair[256]; // ... and its high bit, bit 7 - 2m
    Word doubled[256];    // pixels 2m, 2m + 1 show bit 7 - m (the high nibble, x-expanded)
    // An x-expanded multicolour pixel: pixels 4m … 4m + 3 show the pair of bits 7 - 2m and
    // 6 - 2m (the high nibble's two pairs); its low and its high bit.
    Word lowOfWidePair[256];
    Word highOfWidePair[256];
};

constexpr Word maskOf(unsigned bits, auto bitOfPixel) {
    std::array<std::uint8_t, 8> bytes{};
    for (int i = 0; i < 8; ++i)
        bytes[i] = (bits >> bitOfPixel(i)) & 1 ? 0xFF : 0;
    return std::bit_cast<Word>(bytes);
}

constexpr Masks makeMasks() {
    Masks m{};
    for (unsigned b = 0; b < 256; ++b) {
        m.hires[b] = maskOf(b, [](int i) { return 7 - i; });
        m.lowOfPair[b] = maskOf(b, [](int i) { return 6 - (i & ~1); });
        m.highOfPair[b] = maskOf(b, [](int i) { return 7 - (i & ~1); });
        m.doubled[b] = maskOf(b, [](int i) { return 7 - (i >> 1); });
        m.lowOfWidePair[b] = maskOf(b, [](int i) { return 6 - 2 * (i >> 2); });
        m.highOfWidePair[b] = maskOf(b, [](int i) { return 7 - 2 * (i >> 2); });
    }
    return m;
}
inline constexpr Masks kMasks = makeMasks();

// `one` where the mask is set, `zero` elsewhere.
constexpr Word select(Word zero, Word one, Word mask) {
    return zero ^ ((zero ^ one) & mask);
}

// A byte value in every byte of the word.
constexpr Word everyByte(std::uint8_t value) {
    return kEveryByte * value;
}

// What a frame's pixels hold for each colour number, in every byte of a word: the colour
// number itself, or its part of a blend position as the first or the second frame of an
// interlaced pair (so the two frames' words are mixed by or-ing them).
struct ColourParts {
    Word colourNumbers[16], first[16], second[16];
    constexpr ColourParts() : colourNumbers{}, first{}, second{} {
        for (std::uint8_t c = 0; c < 16; ++c) {
            colourNumbers[c] = kEveryByte * c;
            first[c] = kEveryByte * blendFirst(c);
            second[c] = kEveryByte * blendSecond(c);
        }
    }
};
inline constexpr ColourParts kColourParts;

inline void store(std::uint8_t* out, Word w) {
    std::memcpy(out, &w, sizeof w);
}

inline Word load(const std::uint8_t* in) {
    Word w;
    std::memcpy(&w, in, sizeof w);
    return w;
}

} // namespace quendra::cellwords
