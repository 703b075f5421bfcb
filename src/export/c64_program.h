// The C64 picture program (.prg): loaded at $0801 and started with RUN, its BASIC line's SYS
// runs the displayer (displayers/show_bitmap.s), which shows the picture until a key or
// fire is pressed and returns to BASIC with the machine as it found it. Multicolour
// pictures carry their colour memory, hires ones only a bitmap and screen.
//
// File (after the load address): the BASIC line, the displayer's parameters and code,
// zeros up to $0C00; the screen at $0C00 (1000 bytes), then for multicolour the colour
// memory at $0FE8 and the bitmap at $13D0, for hires the bitmap at $0FE8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "decode/formats.h"
#include "export/c64_picture.h"

namespace quendra {

inline constexpr std::uint16_t kProgramStart = 0x0801;

// The program's format: not in the registry (a .prg is no picture file to the readers), but
// its reader reads back what the writers lay out.
extern const C64Format kProgramFormat;

// The displayer's bytes from $0801: the BASIC line, its parameters and its code.
std::size_t displayerSize();

void layOutMulticolourProgram(const C64Memories& memories, std::uint16_t loadAddress,
                              std::vector<std::uint8_t>& out);
void layOutHiresProgram(const C64Memories& memories, std::uint16_t loadAddress,
                        std::vector<std::uint8_t>& out);

} // namespace quendra
