// The readers of the single-frame bitmap pictures beyond Koala, Art Studio and Doodle:
// one decoding function, one read limit and one probe per format. The decoding functions
// are total like those in readers.h; the probes look at the length and the first bytes only.
//
// Load addresses are not checked (real files carry unexpected ones), except by Hires
// Manager, whose files are told by theirs; the probes count them in favour of a format.
#pragma once

#include <cstddef>

#include "decode/decoded.h"

namespace quendra {

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

} // namespace quendra
