// The plain layouts' readers and probes by format name, for callers that hold no registry
// row (fuzz targets, benchmarks, tests), and Paint Magic's probe. Each reads its row's layout;
// the facts are the row's alone.
#include <algorithm>
#include <iterator>

#include "decode/formats.h"
#include "decode/reader_checks.h"
#include "decode/readers.h"

namespace quendra {

namespace {

const C64Format& row(std::string_view name) {
    const C64Format* found = findFormat(name);
    return found ? *found : fallbackFormat();
}

} // namespace

Decoded decodeArtStudioHires(Bytes file, const DecodeOptions& options) {
    static const C64Format& format = row("Art Studio hires");
    return decodeCells(format, file, options);
}

int probeArtStudioHires(Bytes file, std::uint64_t fileSize) {
    static const C64Format& format = row("Art Studio hires");
    return probeCells(format, file, fileSize);
}

Decoded decodeInterpaintHires(Bytes file, const DecodeOptions& options) {
    static const C64Format& format = row("Interpaint hires");
    return decodeCells(format, file, options);
}

int probeInterpaintHires(Bytes file, std::uint64_t fileSize) {
    static const C64Format& format = row("Interpaint hires");
    return probeCells(format, file, fileSize);
}

Decoded decodeInterpaint(Bytes file, const DecodeOptions& options) {
    static const C64Format& format = row("Interpaint multicolour");
    return decodeCells(format, file, options);
}

int probeInterpaint(Bytes file, std::uint64_t fileSize) {
    static const C64Format& format = row("Interpaint multicolour");
    return probeCells(format, file, fileSize);
}

Decoded decodeHiEddi(Bytes file, const DecodeOptions& options) {
    static const C64Format& format = row("Hi-Eddi");
    return decodeCells(format, file, options);
}

int probeHiEddi(Bytes file, std::uint64_t fileSize) {
    static const C64Format& format = row("Hi-Eddi");
    return probeCells(format, file, fileSize);
}

Decoded decodeImageSystemHires(Bytes file, const DecodeOptions& options) {
    static const C64Format& format = row("Image System hires");
    return decodeCells(format, file, options);
}

int probeImageSystemHires(Bytes file, std::uint64_t fileSize) {
    static const C64Format& format = row("Image System hires");
    return probeCells(format, file, fileSize);
}

Decoded decodeHiresBitmap(Bytes file, const DecodeOptions& options) {
    static const C64Format& format = row("Hires bitmap");
    return decodeCells(format, file, options);
}

int probeHiresBitmap(Bytes file, std::uint64_t fileSize) {
    static const C64Format& format = row("Hires bitmap");
    return probeCells(format, file, fileSize);
}

Decoded decodeHiresBitmapInverted(Bytes file, const DecodeOptions& options) {
    static const C64Format& format = row("Hires bitmap, inverted");
    return decodeCells(format, file, options);
}

int probeHiresBitmapInverted(Bytes file, std::uint64_t fileSize) {
    static const C64Format& format = row("Hires bitmap, inverted");
    return probeCells(format, file, fileSize);
}

Decoded decodeAdvancedArtStudio(Bytes file, const DecodeOptions& options) {
    static const C64Format& format = row("Advanced Art Studio");
    return decodeCells(format, file, options);
}

int probeAdvancedArtStudio(Bytes file, std::uint64_t fileSize) {
    static const C64Format& format = row("Advanced Art Studio");
    return probeCells(format, file, fileSize);
}

Decoded decodeBlazingPaddles(Bytes file, const DecodeOptions& options) {
    static const C64Format& format = row("Blazing Paddles");
    return decodeCells(format, file, options);
}

int probeBlazingPaddles(Bytes file, std::uint64_t fileSize) {
    static const C64Format& format = row("Blazing Paddles");
    return probeCells(format, file, fileSize);
}

Decoded decodeArtist64(Bytes file, const DecodeOptions& options) {
    static const C64Format& format = row("Artist 64");
    return decodeCells(format, file, options);
}

int probeArtist64(Bytes file, std::uint64_t fileSize) {
    static const C64Format& format = row("Artist 64");
    return probeCells(format, file, fileSize);
}

Decoded decodeVidcom64(Bytes file, const DecodeOptions& options) {
    static const C64Format& format = row("Vidcom 64");
    return decodeCells(format, file, options);
}

int probeVidcom64(Bytes file, std::uint64_t fileSize) {
    static const C64Format& format = row("Vidcom 64");
    return probeCells(format, file, fileSize);
}

Decoded decodeImageSystem(Bytes file, const DecodeOptions& options) {
    static const C64Format& format = row("Image System multicolour");
    return decodeCells(format, file, options);
}

int probeImageSystem(Bytes file, std::uint64_t fileSize) {
    static const C64Format& format = row("Image System multicolour");
    return probeCells(format, file, fileSize);
}

Decoded decodeSaracenPaint(Bytes file, const DecodeOptions& options) {
    static const C64Format& format = row("Saracen Paint");
    return decodeCells(format, file, options);
}

int probeSaracenPaint(Bytes file, std::uint64_t fileSize) {
    static const C64Format& format = row("Saracen Paint");
    return probeCells(format, file, fileSize);
}

Decoded decodeRainbowPainter(Bytes file, const DecodeOptions& options) {
    static const C64Format& format = row("Rainbow Painter");
    return decodeCells(format, file, options);
}

int probeRainbowPainter(Bytes file, std::uint64_t fileSize) {
    static const C64Format& format = row("Rainbow Painter");
    return probeCells(format, file, fileSize);
}

Decoded decodePaintMagic(Bytes file, const DecodeOptions& options) {
    static const C64Format& format = row("Paint Magic");
    return decodeCells(format, file, options);
}

// Paint Magic's files are programs that show the picture they carry: the BASIC line
// "SYS 2070" at 6 tells them.
int probePaintMagic(Bytes file, std::uint64_t fileSize) {
    static const C64Format& format = row("Paint Magic");
    if (probeCells(format, file, fileSize) == 0)
        return 0;
    constexpr std::uint8_t kSys2070[] = {0x9E, '2', '0', '7', '0'};
    const bool runs =
        file.size() >= 11 && std::equal(std::begin(kSys2070), std::end(kSys2070), file.begin() + 6);
    return runs ? kProbeSignature : kProbeLength;
}

} // namespace quendra
