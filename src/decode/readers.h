// One decoding function per reader. Each takes the bytes that the reader's one bounded
// read returned (the caller reads at most the named limit) and never reads beyond them.
// Every function is total: any bytes give a picture or a rejection. The probes (see
// ProbeFunction) judge a file by its length and first bytes, for content detection.
#pragma once

#include <cstddef>

#include "decode/decoded.h"

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

// ---- The bitmap pictures beyond the first ten formats ----
// Load addresses are not checked (real files carry unexpected ones), except by Hires
// Manager, whose files are told by theirs; the probes count them in favour of a format.

// Art Studio hires (.art, .aas, .hpi): 9009, 9003 or 9002 bytes, bitmap and screen.
inline constexpr std::size_t kArtStudioHiresReadLimit = 12000;
Decoded decodeArtStudioHires(Bytes file, const DecodeOptions& options);
int probeArtStudioHires(Bytes file, std::uint64_t fileSize);

// Interpaint hires (.iph): Art Studio's hires layout, real files load at $4000.
inline constexpr std::size_t kInterpaintHiresReadLimit = 12000;
Decoded decodeInterpaintHires(Bytes file, const DecodeOptions& options);
int probeInterpaintHires(Bytes file, std::uint64_t fileSize);

// Interpaint multicolour (.ipt): 10003 bytes, Koala's layout, real files load at $4000.
inline constexpr std::size_t kInterpaintReadLimit = 12000;
Decoded decodeInterpaint(Bytes file, const DecodeOptions& options);
int probeInterpaint(Bytes file, std::uint64_t fileSize);

// Hi-Eddi (.hed): 9218 bytes, bitmap block and screen block.
inline constexpr std::size_t kHiEddiReadLimit = 12000;
Decoded decodeHiEddi(Bytes file, const DecodeOptions& options);
int probeHiEddi(Bytes file, std::uint64_t fileSize);

// Image System hires (.ish): 9194 bytes, Hi-Eddi's layout without its last 24 bytes.
inline constexpr std::size_t kImageSystemHiresReadLimit = 12000;
Decoded decodeImageSystemHires(Bytes file, const DecodeOptions& options);
int probeImageSystemHires(Bytes file, std::uint64_t fileSize);

// Plain hires bitmaps without colours (.hbm, .fgs, .mon, .gcd, .hir): 8002 or 8194 bytes,
// set bits white on black.
inline constexpr std::size_t kHiresBitmapReadLimit = 12000;
Decoded decodeHiresBitmap(Bytes file, const DecodeOptions& options);
int probeHiresBitmap(Bytes file, std::uint64_t fileSize);

// The same with set bits black on white (.gih, .rpo): 8002 bytes.
Decoded decodeHiresBitmapInverted(Bytes file, const DecodeOptions& options);
int probeHiresBitmapInverted(Bytes file, std::uint64_t fileSize);

// Koala Painter under .kla: 10003 or 10006 bytes at any load address, 10001 without one,
// any other length packed as Koala compressed.
inline constexpr std::size_t kKlaReadLimit = 12000;
Decoded decodeKla(Bytes file, const DecodeOptions& options);
int probeKla(Bytes file, std::uint64_t fileSize);

// Advanced Art Studio under .mpic: 10018 bytes, the multicolour .ocp layout.
inline constexpr std::size_t kAdvancedArtStudioReadLimit = 12000;
Decoded decodeAdvancedArtStudio(Bytes file, const DecodeOptions& options);
int probeAdvancedArtStudio(Bytes file, std::uint64_t fileSize);

// Blazing Paddles (.pi): 10242 bytes, real files load at $A000.
inline constexpr std::size_t kBlazingPaddlesReadLimit = 12000;
Decoded decodeBlazingPaddles(Bytes file, const DecodeOptions& options);
int probeBlazingPaddles(Bytes file, std::uint64_t fileSize);

// Artist 64 (.a64): 10242 bytes, real files load at $4000.
inline constexpr std::size_t kArtist64ReadLimit = 12000;
Decoded decodeArtist64(Bytes file, const DecodeOptions& options);
int probeArtist64(Bytes file, std::uint64_t fileSize);

// Vidcom 64 (.vid): 10050, 10241 or 10242 bytes, real files load at $5800.
inline constexpr std::size_t kVidcom64ReadLimit = 12000;
Decoded decodeVidcom64(Bytes file, const DecodeOptions& options);
int probeVidcom64(Bytes file, std::uint64_t fileSize);

// Image System multicolour (.ism): 10218 bytes, real files load at $3C00.
inline constexpr std::size_t kImageSystemReadLimit = 12000;
Decoded decodeImageSystem(Bytes file, const DecodeOptions& options);
int probeImageSystem(Bytes file, std::uint64_t fileSize);

// Saracen Paint (.sar): 10219 bytes, real files load at $7800.
inline constexpr std::size_t kSaracenPaintReadLimit = 12000;
Decoded decodeSaracenPaint(Bytes file, const DecodeOptions& options);
int probeSaracenPaint(Bytes file, std::uint64_t fileSize);

// Paint Magic (.pmg): 9332 bytes, a self-showing program with the picture inside.
inline constexpr std::size_t kPaintMagicReadLimit = 12000;
Decoded decodePaintMagic(Bytes file, const DecodeOptions& options);
int probePaintMagic(Bytes file, std::uint64_t fileSize);

// Rainbow Painter (.rp): 10242 bytes, real files load at $5C00.
inline constexpr std::size_t kRainbowPainterReadLimit = 12000;
Decoded decodeRainbowPainter(Bytes file, const DecodeOptions& options);
int probeRainbowPainter(Bytes file, std::uint64_t fileSize);

// Hires Manager (.him): hires FLI at $4000, 16385 bytes or packed; the only format here
// whose load address is checked.
inline constexpr std::size_t kHiresManagerReadLimit = 49155;
Decoded decodeHiresManager(Bytes file, const DecodeOptions& options);
int probeHiresManager(Bytes file, std::uint64_t fileSize);

}  // namespace quendra
