// The C64's character set (upper case and graphics, screen codes 0-127, 8 bytes each), which
// PETSCII screens are drawn with. The program ships no copy of the C64's character ROM: it
// reads one the user has (a file given to setCharacterRomFile, else a chargen file where
// emulators keep it), and otherwise draws with a stand-in font of its own.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

namespace quendra {

struct CharacterRom {
    std::array<std::uint8_t, 1024> glyphs{}; // screen codes 0-127
    bool standIn = true;                     // the program's own glyphs, not the C64's
    std::string source;                      // the file read, empty for the stand-in
};

// Where emulators keep the character ROM: the user's VICE folders, then the system's.
std::array<std::filesystem::path, 4> usualCharacterRomPlaces();

// The glyphs of a chargen file (4096 bytes, or the 2048 of one set; the first 1024 bytes
// are the upper-case set); false when the file cannot be read or has another size.
bool readCharacterRom(const std::filesystem::path& file, CharacterRom& rom);

// The character set the readers draw with: the one given to setCharacterRomFile, else the
// first readable usual place, else the stand-in. Found once, on first use.
const CharacterRom& characterRom();

// Chooses the file characterRom() reads; pictures drawn from then on take it (call it before
// threads draw, as the converter's --chargen does). False, changing nothing, when the file is
// not a character ROM.
bool setCharacterRomFile(const std::filesystem::path& file);

// Forgets the file chosen: pictures drawn from then on take the usual places' set, else the
// stand-in.
void forgetCharacterRomFile();

// The program's own 8 x 8 glyphs for screen codes 0-127: letters, digits and signs in a
// plain 5 x 7 design, and the graphics characters drawn from lines and blocks.
std::array<std::uint8_t, 1024> standInGlyphs();

} // namespace quendra
