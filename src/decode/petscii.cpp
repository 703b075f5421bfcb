#include "decode/petscii.h"

#include <cstdint>

namespace quendra {

namespace {

// $A0-$BF; $E0-$FE show the same, $FF is pi.
constexpr char32_t kBlocks[32] = {
    0x00A0,  0x258C,  0x2584,  0x2594,  0x2581, 0x258F, 0x2592, 0x2595,
    0x1FB8F, 0x25E4,  0x1FB87, 0x251C,  0x2597, 0x2514, 0x2510, 0x2582,
    0x250C,  0x2534,  0x252C,  0x2524,  0x258E, 0x258D, 0x1FB88, 0x1FB82,
    0x1FB83, 0x2583,  0x1FB7F, 0x2596,  0x259D, 0x2518, 0x2598, 0x259A};

// $C0-$DF, which $60-$7F show too: the shifted letters of the capitals set.
constexpr char32_t kGraphics[32] = {
    0x2500,  0x2660,  0x1FB72, 0x1FB78, 0x1FB77, 0x1FB76, 0x1FB7A, 0x1FB71,
    0x1FB74, 0x256E,  0x2570,  0x256F,  0x1FB7C, 0x2572,  0x2571,  0x1FB7D,
    0x1FB7E, 0x25CF,  0x1FB7B, 0x2665,  0x1FB70, 0x256D,  0x2573,  0x25CB,
    0x2663,  0x1FB75, 0x2666,  0x253C,  0x1FB8C, 0x2502,  0x03C0,  0x25E5};

char32_t unicodeOf(std::uint8_t c) {
    if (c >= 0x20 && c <= 0x5A)
        return c; // space, digits, punctuation, capitals
    switch (c) {
    case 0x5B: return '[';
    case 0x5C: return 0x00A3; // pound
    case 0x5D: return ']';
    case 0x5E: return 0x2191; // up arrow
    case 0x5F: return 0x2190; // left arrow
    case 0xFF: return 0x03C0; // pi
    default: break;
    }
    if (c >= 0x60 && c <= 0x7F)
        return kGraphics[c - 0x60];
    if (c >= 0xC0 && c <= 0xDF)
        return kGraphics[c - 0xC0];
    if (c >= 0xA0 && c <= 0xBF)
        return kBlocks[c - 0xA0];
    if (c >= 0xE0)
        return kBlocks[c - 0xE0];
    return 0; // control codes: the C64 shows no character for them
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

std::string petsciiToUnicode(std::string_view petscii) {
    std::string out;
    out.reserve(petscii.size());
    for (char c : petscii) {
        if (const char32_t u = unicodeOf(static_cast<std::uint8_t>(c)))
            appendUtf8(out, u);
    }
    return out;
}

std::string_view cutPadding(std::string_view name) {
    while (!name.empty() && static_cast<std::uint8_t>(name.back()) == 0xA0)
        name.remove_suffix(1);
    return name;
}

} // namespace quendra
