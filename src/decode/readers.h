// One decoding function per reader. Each takes the bytes that the reader's one bounded
// read returned (the caller reads at most the named limit) and never reads beyond them.
// Every function is total: any bytes give a picture or a rejection.
#pragma once

#include <cstddef>

#include "decode/decoded.h"
#include "decode/fli_readers.h" // the FLI family and the interlaced pictures

namespace quendra {

// Koala Painter / RunPaint (.koa, .rpm): 10003 or 10006 bytes loaded at $6000.
inline constexpr std::size_t kKoalaReadLimit = 12000;
Decoded decodeKoala(Bytes file, const DecodeOptions& options);

// Koala compressed (.gg): $6000, run-length data (escape 0xFE value count).
inline constexpr std::size_t kKoalaCompressedReadLimit = 12000;
Decoded decodeKoalaCompressed(Bytes file, const DecodeOptions& options);

// Advanced Art Studio (10018 bytes, multicolour) and Art Studio (9009 bytes, hires), $2000.
inline constexpr std::size_t kArtStudioReadLimit = 12000;
Decoded decodeArtStudio(Bytes file, const DecodeOptions& options);

// Amica Paint (.ami): $4000, run-length data (escape 0xC2 count value).
inline constexpr std::size_t kAmicaReadLimit = 12000;
Decoded decodeAmica(Bytes file, const DecodeOptions& options);

// Doodle (.dd): $1C00 or $5C00, 9218 or 9026 bytes, hires.
inline constexpr std::size_t kDoodleReadLimit = 12000;
Decoded decodeDoodle(Bytes file, const DecodeOptions& options);

// Doodle compressed (.jj): $5C00, run-length data (escape 0xFE value count).
inline constexpr std::size_t kDoodleCompressedReadLimit = 12000;
Decoded decodeDoodleCompressed(Bytes file, const DecodeOptions& options);

// Printfox / Pagefox (.bs, .gb, .pg): black and white pages, the first byte tells the type.
inline constexpr std::size_t kPrintfoxReadLimit = 60000;
Decoded decodePrintfox(Bytes file, const DecodeOptions& options);

// FunPainter 2 (.fp2): interlaced FLI through the blend palette.
inline constexpr std::size_t kFunPainterReadLimit = 60000;
Decoded decodeFunPainter(Bytes file, const DecodeOptions& options);

// GoDot 4Bit: "GOD0" full picture, "GOD1" clip, told apart by these four bytes. A full
// picture needs at most kGodotReadLimit bytes, a clip at most kGodotClipReadLimit; the
// one read takes the larger, so either kind is read once.
inline constexpr std::size_t kGodotReadLimit = 4 + 3 * 32000 + 1;
inline constexpr std::size_t kGodotClipReadLimit = 8 + 3 * (255 * 255 * 32) + 1;
Decoded decodeGodot(Bytes file, const DecodeOptions& options);

}  // namespace quendra
