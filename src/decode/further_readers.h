// The readers of the further C64 formats: character sets, text screens, sprite sheets,
// NUFLI/UFLI, sprite-overlay hires pictures and more paint programs. Each has the shape of
// the readers in readers.h: total, one bounded read (its limit beside it), a probe that
// judges a file by its length and first bytes where anything in them speaks for the format.
#pragma once

#include <cstddef>

#include "decode/decoded.h"

namespace quendra {

// Read limits: the largest accepted file of each group, with room for packed data.
inline constexpr std::size_t kPlainLayoutReadLimit = 24000;
inline constexpr std::size_t kPackedPaintReadLimit = 65536;
inline constexpr std::size_t kVicReadLimit = 40000;
inline constexpr std::size_t kCgfxReadLimit = 1 << 20;

// Extensions routed to the readers in readers.h by the bytes: .vic by its length alone,
// .gig as Art Studio hires or else Koala.
Decoded decodeVic(Bytes file, const DecodeOptions& options);
int probeVic(Bytes file, std::uint64_t fileSize);
Decoded decodeArtStudioHiresOrKoala(Bytes file, const DecodeOptions& options);
int probeArtStudioHiresOrKoala(Bytes file, std::uint64_t fileSize);

// Small layouts of their own (plain_layouts.cpp).
Decoded decodeMwin(Bytes file, const DecodeOptions& options);
int probeMwin(Bytes file, std::uint64_t fileSize);
Decoded decodeGraphicsBitmap(Bytes file, const DecodeOptions& options); // .gr, .cs
int probeGraphicsBitmap(Bytes file, std::uint64_t fileSize);
Decoded decodeCgfx(Bytes file, const DecodeOptions& options);
int probeCgfx(Bytes file, std::uint64_t fileSize);
Decoded decodeIhe(Bytes file, const DecodeOptions& options);
int probeIhe(Bytes file, std::uint64_t fileSize);
Decoded decodeVhi(Bytes file, const DecodeOptions& options);
int probeVhi(Bytes file, std::uint64_t fileSize);

// Packed paint pictures (paint_packed.cpp).
Decoded decodeMicroIllustrator(Bytes file, const DecodeOptions& options);
int probeMicroIllustrator(Bytes file, std::uint64_t fileSize);
Decoded decodePixelPerfect(Bytes file, const DecodeOptions& options);
int probePixelPerfect(Bytes file, std::uint64_t fileSize);
Decoded decodeZom(Bytes file, const DecodeOptions& options);
Decoded decodeBdp(Bytes file, const DecodeOptions& options);
int probeBdp(Bytes file, std::uint64_t fileSize);
Decoded decodeShp(Bytes file, const DecodeOptions& options);

// More FLI pictures (fli_more.cpp).
Decoded decodeFlm(Bytes file, const DecodeOptions& options);
Decoded decodeFbi(Bytes file, const DecodeOptions& options);
Decoded decodeHcb(Bytes file, const DecodeOptions& options);
int probeHcb(Bytes file, std::uint64_t fileSize);
Decoded decodeEci(Bytes file, const DecodeOptions& options);
Decoded decodeCfli(Bytes file, const DecodeOptions& options);
int probeCfli(Bytes file, std::uint64_t fileSize);
Decoded decodeFliProfi(Bytes file, const DecodeOptions& options);
int probeFliProfi(Bytes file, std::uint64_t fileSize);
Decoded decodeXfl(Bytes file, const DecodeOptions& options);

// Character sets, sprite sheets, Logo Painter (charsets.cpp), CharPad (charpad.cpp).
inline constexpr std::size_t kCharsetReadLimit = 65536;
Decoded decodeCharset64c(Bytes file, const DecodeOptions& options);
int probeCharset64c(Bytes file, std::uint64_t fileSize);
Decoded decodeCharsetG(Bytes file, const DecodeOptions& options);
int probeCharsetG(Bytes file, std::uint64_t fileSize);
Decoded decodeCharsetZs(Bytes file, const DecodeOptions& options);
int probeCharsetZs(Bytes file, std::uint64_t fileSize);
Decoded decodeLogoPainter(Bytes file, const DecodeOptions& options);
int probeLogoPainter(Bytes file, std::uint64_t fileSize);
Decoded decodeSpritePad(Bytes file, const DecodeOptions& options);
int probeSpritePad(Bytes file, std::uint64_t fileSize);
Decoded decodeSpriteSheetA(Bytes file, const DecodeOptions& options);
int probeSpriteSheetA(Bytes file, std::uint64_t fileSize);
inline constexpr std::size_t kCharPadReadLimit = 1 << 20;
Decoded decodeCharPad(Bytes file, const DecodeOptions& options);
int probeCharPad(Bytes file, std::uint64_t fileSize);

// PETSCII screens (petscii.cpp), drawn with characterRom() (character_rom.h).
Decoded decodePetsciiScreen(Bytes file, const DecodeOptions& options); // .pet
int probePetsciiScreen(Bytes file, std::uint64_t fileSize);
Decoded decodePetsciiDraw(Bytes file, const DecodeOptions& options); // .pdr
int probePetsciiDraw(Bytes file, std::uint64_t fileSize);
Decoded decodePetsciiBot(Bytes file, const DecodeOptions& options); // .pbot
int probePetsciiBot(Bytes file, std::uint64_t fileSize);

// NUFLI and MUFLI (nufli.cpp), UFLI and UIFLI (ufli.cpp): hires FLI over sprites.
inline constexpr std::size_t kUnderlayReadLimit = 65536;
Decoded decodeNufli(Bytes file, const DecodeOptions& options); // .nuf, .nup
int probeNufli(Bytes file, std::uint64_t fileSize);
Decoded decodeMufli(Bytes file, const DecodeOptions& options); // .muf, .mui, .mup
int probeMufli(Bytes file, std::uint64_t fileSize);
Decoded decodeUfli(Bytes file, const DecodeOptions& options);
int probeUfli(Bytes file, std::uint64_t fileSize);
Decoded decodeUifli(Bytes file, const DecodeOptions& options);

// Four-colour character-mode pictures (char_mode.cpp).
Decoded decodeCle(Bytes file, const DecodeOptions& options);
int probeCle(Bytes file, std::uint64_t fileSize);
Decoded decodeIle(Bytes file, const DecodeOptions& options);
Decoded decodeMle(Bytes file, const DecodeOptions& options);

// Hires under sprite layers, the super-hires family (super_hires.cpp).
Decoded decodeShs(Bytes file, const DecodeOptions& options);
Decoded decodeSh1(Bytes file, const DecodeOptions& options);
Decoded decodeSh2(Bytes file, const DecodeOptions& options);
Decoded decodeShe(Bytes file, const DecodeOptions& options);
int probeShe(Bytes file, std::uint64_t fileSize);
Decoded decodeShi(Bytes file, const DecodeOptions& options);
Decoded decodeEsh(Bytes file, const DecodeOptions& options);
Decoded decodeShx(Bytes file, const DecodeOptions& options);
Decoded decodeShf(Bytes file, const DecodeOptions& options);
Decoded decodeSif(Bytes file, const DecodeOptions& options);
// .ish: 30738 bytes the two-frame sprite-overlay picture, else Image System hires.
inline constexpr std::size_t kImageSystemHiresOrInterlaceReadLimit = 40000;
Decoded decodeImageSystemHiresOrInterlace(Bytes file, const DecodeOptions& options);
int probeImageSystemHiresOrInterlace(Bytes file, std::uint64_t fileSize);

} // namespace quendra
