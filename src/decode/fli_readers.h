// The readers of the FLI family and of the interlaced pictures that are more than a layout
// (packers, interlace rules, signatures with logic), each with its read limit and its probe
// (see ProbeFunction in decoded.h); the fixed-offset kinds are rows with an FLI layout
// (fli_layout.h). FLI pictures are 296 pixels wide (the FLI-bug strip left out); interlaced
// pictures are drawn with the blend palette.
#pragma once

#include <cstddef>

#include "decode/decoded.h"

namespace quendra {

// FLI Designer (.fli): its row's layout (17218 or 17409 bytes at $3C00); a .fli of any
// other length is read as FLI Graph, unless it loads at $3C00.
inline constexpr std::size_t kFliDesignerReadLimit = 65536;
Decoded decodeFliDesigner(Bytes file, const DecodeOptions& options);

// FLI Graph (.bml): 17474, 17665 or 17666 bytes at $3B00, or packed (read from its end).
inline constexpr std::size_t kFliGraphReadLimit = 65536;
Decoded decodeFliGraph(Bytes file, const DecodeOptions& options);
int probeFliGraph(Bytes file, std::uint64_t fileSize);

// True Paint (.mci): interlaced, 19434 bytes at $9C00, or a self-extracting packed file.
inline constexpr std::size_t kTruePaintReadLimit = 65536;
inline constexpr std::uint32_t kTruePaintLength = 19434; // the plain kind, its row's length
Decoded decodeTruePaint(Bytes file, const DecodeOptions& options);

// Drazlace (.drl): interlaced, 18242 bytes at $5800, or packed after "DRAZLACE! 1.0".
inline constexpr std::size_t kDrazlaceReadLimit = 65536;
inline constexpr std::uint32_t kDrazlaceLength = 18242; // the plain kind, its row's length
Decoded decodeDrazlace(Bytes file, const DecodeOptions& options);
int probeDrazlace(Bytes file, std::uint64_t fileSize);

// Gunpaint (.gun): interlaced FLI, 33602 or 33603 bytes at $4000.
inline constexpr std::size_t kGunpaintReadLimit = 40000;
Decoded decodeGunpaint(Bytes file, const DecodeOptions& options);
int probeGunpaint(Bytes file, std::uint64_t fileSize);

// Drazpaint (.drz, .drp): multicolour, 10051 bytes at $5800, or packed after "DRAZPAINT 1.4".
inline constexpr std::size_t kDrazpaintReadLimit = 40000;
inline constexpr std::uint32_t kDrazpaintLength = 10051; // the plain kind, its row's length
Decoded decodeDrazpaint(Bytes file, const DecodeOptions& options);
int probeDrazpaint(Bytes file, std::uint64_t fileSize);

} // namespace quendra
