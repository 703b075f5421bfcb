// FLI pictures and interlaced pictures: what the FLI-family readers and FunPainter 2 share.
//
// A frame is drawn into a buffer of C64 colour numbers, 320 a pixel line, as the screen
// shows it; the picture then takes its pixels from one frame, or from the mix of two.
//
// FLI: pixel line y takes its cell colours from screen number y & 7 (8 screens, 1024 bytes
// apart); the colour memory is one for all lines, and the background may differ per line.
// On the machine the first 24 pixels of every FLI line cannot show that line's colours (the
// video chip has not fetched them yet), so FLI pictures leave that strip out: 296 pixels
// wide, picture pixel x being screen pixel x + 24.
//
// Interlace: the machine shows the two frames on alternate video frames and the eye mixes
// them. A picture pixel is the blend position of its (first, second) colour pair (blend.h),
// drawn with the blend palette. Some formats show the second frame one pixel to the right:
// its picture pixel x is then its screen pixel x + left - 1, and picture pixel 0 shows the
// line's background; the second frame's last pixel is not shown.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "decode/decoded.h"
#include "decode/image.h"
#include "decode/reader_checks.h"

namespace quendra::fli {

inline constexpr int kScreenWidth = 320;
inline constexpr int kBugStrip = 24;
inline constexpr int kWidth = kScreenWidth - kBugStrip; // 296
inline constexpr int kLines = 200;
inline constexpr std::size_t kScreenStride = 1024; // from one FLI screen to the next

// Where one frame's memories lie. The pointers must reach as far as the frame's lines read:
// cell c's bitmap bytes are bitmap[8c .. 8c + 7], its screen byte on line y is
// screens[screenStride * (y & 7) + c], its colour-memory byte colour[c].
struct FrameMemory {
    const std::uint8_t* bitmap = nullptr;
    const std::uint8_t* screens = nullptr;
    std::size_t screenStride = 0;         // kScreenStride for FLI, 0: every line one screen
    const std::uint8_t* colour = nullptr; // multicolour only
    // Background of each pixel line drawn (multicolour only); only the low nibble counts.
    const std::uint8_t* backgrounds = nullptr;
    // The cell number of the frame's first cell: cell 40 * row + column is read at
    // (cellBase + 40 * row + column) & 1023 (the lower half of a BFLI picture starts at 1000).
    int cellBase = 0;
    bool hires = false;
};

// One background for every line of a frame.
struct SameBackground {
    std::uint8_t lines[kLines];
    explicit SameBackground(std::uint8_t background);
};

// Draws the frame's lines [fromLine, fromLine + lines) into the picture's lines
// [firstLine, firstLine + lines) as C64 colour numbers: picture pixel x is the frame's screen
// pixel x + left (0 or kBugStrip). The picture has its size already; its palette is the
// caller's.
void drawFrame(IndexedImage& picture, const FrameMemory& frame, int firstLine, int lines, int left,
               int fromLine = 0);

// Draws both frames of an interlaced picture and shows their mix as blend positions over the
// picture's lines, for the screen's cell columns [firstColumn, endColumn): picture pixel x
// is the first frame's pixel x + left with the second frame's pixel x + left - shift (shift
// 0 or 1); where shift is 1, picture column 0 takes the second frame's background of the
// line instead (a shifted second frame must be multicolour). One pass, cell by cell, with
// no frame buffers.
void drawMix(IndexedImage& picture, const FrameMemory& first, const FrameMemory& second, int left,
             int shift, int firstColumn = 0, int endColumn = 40);

// Probe scores: the one scale content detection weighs every format on (reader_checks.h).
inline constexpr int kProbeSize = quendra::kProbeLength;
inline constexpr int kProbeSizeAndAddress = quendra::kProbeLengthAndAddress;
inline constexpr int kProbeSignature = quendra::kProbeSignature;

inline bool startsWith(Bytes file, std::uint16_t loadAddress) {
    return hasLoadAddress(file, loadAddress);
}

// kProbeSizeAndAddress for a known length with the usual load address, kProbeSize for the
// length alone.
inline int sizeScore(Bytes file, std::uint16_t loadAddress) {
    return startsWith(file, loadAddress) ? kProbeSizeAndAddress : kProbeSize;
}

// "<what> is <sizes> bytes long, this one has <the file's size>".
inline std::string lengthReason(std::string_view what, std::string_view sizes, Bytes file,
                                const DecodeOptions& options) {
    return std::string(what) + " is " + std::string(sizes) + " bytes long, this one has " +
           std::to_string(reportedSize(file, options));
}

// What an accepted picture's indices hold: C64 colour numbers of one frame, or the blend
// positions of two frames mixed.
enum class Colours { single, mixed };

// An accepted picture of the given size (all black so far), in the storage `options` offers,
// saying what its indices hold so that a palette can be applied to it later.
Decoded accepted(const DecodeOptions& options, int width, int height, Colours colours);

} // namespace quendra::fli
