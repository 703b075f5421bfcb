// A C64 bitmap picture as the machine's memories hold it, before a file format lays them
// out, and the rules of the mode it is drawn in.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace quendra {

enum class C64Mode : std::uint8_t {
    multicolour, // background + 3 colours per 4 x 8 cell of fat pixels
    hires,       // 2 colours per 8 x 8 cell
    fli,         // multicolour, every pixel line of a cell its own 2 screen colours
    afli,        // hires, every pixel line of a cell its own 2 colours
};

// What a format adds to its mode's rules.
struct C64Rules {
    C64Mode mode = C64Mode::multicolour;
    int fixedBackground = -1;   // the background the format keeps (FLI Designer: black); -1 free
    bool blackAndWhite = false; // a bitmap without colours: set bits white, clear bits black
};

inline constexpr bool fatPixels(C64Mode mode) {
    return mode == C64Mode::multicolour || mode == C64Mode::fli;
}
inline constexpr bool perLine(C64Mode mode) {
    return mode == C64Mode::fli || mode == C64Mode::afli;
}
// The cell columns the machine cannot show in FLI modes (the FLI-bug strip).
inline constexpr int hiddenColumns(C64Mode mode) {
    return perLine(mode) ? 3 : 0;
}
// The width of the picture the readers give: 320, or 296 for the FLI modes.
inline constexpr int shownWidth(C64Mode mode) {
    return 320 - 8 * hiddenColumns(mode);
}

// Cell n = 40 * row + column; bitmap byte 8n + k is pixel line k of cell n.
struct C64Memories {
    std::array<std::uint8_t, 8000> bitmap{};
    std::array<std::uint8_t, 8 * 1024> screens{}; // screen y & 7 at 1024 * (y & 7); one: screen 0
    std::array<std::uint8_t, 1000> colour{};      // colour memory (multicolour modes)
    std::uint8_t background = 0;
    int border = -1; // the border a program shows ($D020); -1: the background
};

// The C64's names of its colours, by number: "light blue".
std::string_view c64ColourName(int colour);
// A colour number from "0".."15" or a name as c64ColourName gives it (any case, "-" or "_"
// for the space); -1 for anything else.
int c64ColourNamed(std::string_view text);

} // namespace quendra
