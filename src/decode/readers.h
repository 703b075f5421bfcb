// One decoding function per reader. Each takes the bytes that the reader's one bounded
// read returned (the caller reads at most the named limit) and never reads beyond them.
// Every function is total: any bytes give a picture or a rejection. The probes (see
// ProbeFunction) judge a file by its length and first bytes, for content detection.
#pragma once

#include <cstddef>

#include "decode/decoded.h"
#include "decode/fli_readers.h" // the FLI family and the interlaced pictures

namespace quendra {

// Koala Painter / RunPaint (.koa, .rpm): 10003 or 10006 bytes loaded at $6000.
inline constexpr std::size_t kKoalaReadLimit = 12000;
Decoded decodeKoala(Bytes file, const DecodeOptions& options);
int probeKoala(Bytes file, std::uint64_t fileSize);

// Koala compressed (.gg): $6000, run-length data (escape 0xFE value count).
inline constexpr std::size_t kKoalaCompressedReadLimit = 12000;
Decoded decodeKoalaCompressed(Bytes file, const DecodeOptions& options);
int probeKoalaCompressed(Bytes file, std::uint64_t fileSize);

// Advanced Art Studio (10018 bytes, multicolour) and Art Studio (9009 bytes, hires), $2000.
inline constexpr std::size_t kArtStudioReadLimit = 12000;
Decoded decodeArtStudio(Bytes file, const DecodeOptions& options);
int probeArtStudio(Bytes file, std::uint64_t fileSize);

// Amica Paint (.ami): $4000, run-length data (escape 0xC2 count value).
inline constexpr std::size_t kAmicaReadLimit = 12000;
Decoded decodeAmica(Bytes file, const DecodeOptions& options);
int probeAmica(Bytes file, std::uint64_t fileSize);

// Doodle (.dd): $1C00 or $5C00, 9218 or 9026 bytes, hires.
inline constexpr std::size_t kDoodleReadLimit = 12000;
Decoded decodeDoodle(Bytes file, const DecodeOptions& options);
int probeDoodle(Bytes file, std::uint64_t fileSize);

// Doodle compressed (.jj): $5C00, run-length data (escape 0xFE value count).
inline constexpr std::size_t kDoodleCompressedReadLimit = 12000;
Decoded decodeDoodleCompressed(Bytes file, const DecodeOptions& options);
int probeDoodleCompressed(Bytes file, std::uint64_t fileSize);

// Printfox / Pagefox (.bs, .gb, .pg): black and white pages, the first byte tells the type.
// No probe: one letter says too little to pick these out of unknown files.
inline constexpr std::size_t kPrintfoxReadLimit = 60000;
Decoded decodePrintfox(Bytes file, const DecodeOptions& options);

// FunPainter 2 (.fp2): interlaced FLI through the blend palette.
inline constexpr std::size_t kFunPainterReadLimit = 60000;
Decoded decodeFunPainter(Bytes file, const DecodeOptions& options);
int probeFunPainter(Bytes file, std::uint64_t fileSize);

// GoDot 4Bit: "GOD0" full picture, "GOD1" clip, told apart by these four bytes. A full
// picture needs at most kGodotReadLimit bytes, a clip at most kGodotClipReadLimit; the
// one read takes the larger, so either kind is read once.
inline constexpr std::size_t kGodotReadLimit = 4 + 3 * 32000 + 1;
inline constexpr std::size_t kGodotClipReadLimit = 8 + 3 * (255 * 255 * 32) + 1;
Decoded decodeGodot(Bytes file, const DecodeOptions& options);
int probeGodot(Bytes file, std::uint64_t fileSize);

// Load addresses are not checked by the further bitmap formats (real files carry
// unexpected ones), except by Hires Manager, whose files are told by theirs; the probes
// count them in favour of a format.

// Koala Painter under .kla: 10003 or 10006 bytes at any load address, 10001 without one,
// any other length packed as Koala compressed.
inline constexpr std::size_t kKlaReadLimit = 12000;
Decoded decodeKla(Bytes file, const DecodeOptions& options);
int probeKla(Bytes file, std::uint64_t fileSize);

// The plain layouts (cell_layout.h): their registry rows hold the layouts and one generic
// reader reads them all. These read by the row of their name, for callers that hold no row
// (fuzz targets, benchmarks, tests); Paint Magic's probe also checks its BASIC line.
Decoded decodeArtStudioHires(Bytes file, const DecodeOptions& options);
int probeArtStudioHires(Bytes file, std::uint64_t fileSize);
Decoded decodeInterpaintHires(Bytes file, const DecodeOptions& options);
int probeInterpaintHires(Bytes file, std::uint64_t fileSize);
Decoded decodeInterpaint(Bytes file, const DecodeOptions& options);
int probeInterpaint(Bytes file, std::uint64_t fileSize);
Decoded decodeHiEddi(Bytes file, const DecodeOptions& options);
int probeHiEddi(Bytes file, std::uint64_t fileSize);
Decoded decodeImageSystemHires(Bytes file, const DecodeOptions& options);
int probeImageSystemHires(Bytes file, std::uint64_t fileSize);
Decoded decodeHiresBitmap(Bytes file, const DecodeOptions& options);
int probeHiresBitmap(Bytes file, std::uint64_t fileSize);
Decoded decodeHiresBitmapInverted(Bytes file, const DecodeOptions& options);
int probeHiresBitmapInverted(Bytes file, std::uint64_t fileSize);
Decoded decodeAdvancedArtStudio(Bytes file, const DecodeOptions& options);
int probeAdvancedArtStudio(Bytes file, std::uint64_t fileSize);
Decoded decodeBlazingPaddles(Bytes file, const DecodeOptions& options);
int probeBlazingPaddles(Bytes file, std::uint64_t fileSize);
Decoded decodeArtist64(Bytes file, const DecodeOptions& options);
int probeArtist64(Bytes file, std::uint64_t fileSize);
Decoded decodeVidcom64(Bytes file, const DecodeOptions& options);
int probeVidcom64(Bytes file, std::uint64_t fileSize);
Decoded decodeImageSystem(Bytes file, const DecodeOptions& options);
int probeImageSystem(Bytes file, std::uint64_t fileSize);
Decoded decodeSaracenPaint(Bytes file, const DecodeOptions& options);
int probeSaracenPaint(Bytes file, std::uint64_t fileSize);
Decoded decodePaintMagic(Bytes file, const DecodeOptions& options);
int probePaintMagic(Bytes file, std::uint64_t fileSize);
Decoded decodeRainbowPainter(Bytes file, const DecodeOptions& options);
int probeRainbowPainter(Bytes file, std::uint64_t fileSize);

// Hires Manager (.him): hires FLI at $4000, 16385 bytes or packed; the only format here
// whose load address is checked.
inline constexpr std::size_t kHiresManagerReadLimit = 49155;
inline constexpr std::uint32_t kHiresManagerLength = 16385; // the plain kind, its row's length
Decoded decodeHiresManager(Bytes file, const DecodeOptions& options);
int probeHiresManager(Bytes file, std::uint64_t fileSize);

} // namespace quendra
