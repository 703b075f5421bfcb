// The C64's 16 colours, their grey levels and GoDot's dark-to-light order of them.
#pragma once

#include <array>
#include <span>

#include "decode/image.h"

namespace quendra {

// By C64 colour number.
inline constexpr std::array<Rgb, 16> kC64Palette{{
    {0, 0, 0},       {255, 255, 255}, {136, 0, 0},     {170, 255, 238},
    {204, 68, 204},  {0, 204, 85},    {0, 0, 170},     {238, 238, 119},
    {221, 136, 85},  {102, 68, 0},    {255, 119, 119}, {51, 51, 51},
    {119, 119, 119}, {170, 255, 102}, {0, 136, 255},   {187, 187, 187},
}};

// GoDot index of each C64 colour number; GoDot orders the colours dark to light.
inline constexpr std::array<std::uint8_t, 16> kGodotIndexOfC64{
    0, 15, 4, 12, 5, 10, 1, 13, 6, 2, 9, 3, 7, 14, 8, 11};

// By GoDot index.
inline constexpr std::array<Rgb, 16> kGodotPalette{{
    {0, 0, 0},       {0, 0, 170},     {102, 68, 0},    {51, 51, 51},
    {136, 0, 0},     {204, 68, 204},  {221, 136, 85},  {119, 119, 119},
    {0, 136, 255},   {255, 119, 119}, {0, 204, 85},    {187, 187, 187},
    {170, 255, 238}, {238, 238, 119}, {170, 255, 102}, {255, 255, 255},
}};

constexpr std::array<Rgb, 16> makeGodotGreyPalette() {
    std::array<Rgb, 16> p{};
    for (int i = 0; i < 16; ++i) {
        const auto v = static_cast<std::uint8_t>(17 * i);
        p[i] = {v, v, v};
    }
    return p;
}

// Grey level of GoDot index i is 17 * i.
inline constexpr std::array<Rgb, 16> kGodotGreyPalette = makeGodotGreyPalette();

constexpr std::array<Rgb, 16> makeC64GreyPalette() {
    std::array<Rgb, 16> p{};
    for (int i = 0; i < 16; ++i) p[i] = kGodotGreyPalette[kGodotIndexOfC64[i]];
    return p;
}

// By C64 colour number: the grey level of the same colour in GoDot's order.
inline constexpr std::array<Rgb, 16> kC64GreyPalette = makeC64GreyPalette();

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};

inline std::span<const Rgb> c64Palette(bool grey) {
    return grey ? std::span<const Rgb>(kC64GreyPalette) : std::span<const Rgb>(kC64Palette);
}
inline std::span<const Rgb> godotPalette(bool grey) {
    return grey ? std::span<const Rgb>(kGodotGreyPalette) : std::span<const Rgb>(kGodotPalette);
}

}  // namespace quendra
