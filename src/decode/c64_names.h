// The C64 habit of naming a file by its format's prefix: "pi.worldmap", "mpic.face".
#pragma once

#include <string_view>

namespace quendra {

// Whether the name is a C64-style one: the text before the first "." of its name part
// names a C64 format (one the file list shows), and its extension names neither a C64
// format nor a disk or tape image. Such a name is kept whole where a name gets another
// extension (pi.worldmap gives pi.worldmap.png). PC pictures are not known here: a caller
// that also reads them ("pi.png") tells them apart first.
bool isC64StyleName(std::string_view fileName);

// Whether a C64 format in the file list lists `extension` ("." included), in any case.
bool namesListedFormat(std::string_view extension);

} // namespace quendra
