// The plain layouts' readers and probes by format name, for callers that hold no registry
// row (fuzz targets, benchmarks, tests), and Paint Magic's probe. Each reads its row's layout;
// the facts are the row's alone.
#include <algorithm>
#include <iterator>

#include "decode/formats.h"
#include "decode/reader_checks.h"
#include "decode/readers.h"

namespace quendra {

Decoded decodeArtStudioHires(Bytes file, const DecodeOptions& options) {
    static const C64Format& format = formatRow(FormatId::artStudioHires);
    return decodeCells(format, file, options);
}

int probeArtStudioHires(Bytes file, std::uint64_t fileSize) {
    static const C64Format& format = formatRow(FormatId::artStudioHires);
    return probeCells(format, file, fileSize);
}

Decoded decodeInterpaintHires(Bytes file, const DecodeOptions& options) {
    static const C64Format& format = formatRow(FormatId::interpaintHires);
    return decodeCells(format, file, options);
}

int probeInterpaintHires(Bytes file, std::uint64_t fileSize) {
    static const C64Format& format = formatRow(FormatId::interpaintHires);
    return probeCells(format, file, fileSize);
}

Decoded decodeInterpaint(Bytes file, const DecodeOptions& options) {
    static const C64Format& format = formatRow(FormatId::interpaint);
    return decodeCells(format, file, options);
}

int probeInterpaint(Bytes file, std::uint64_t fileSize) {
    static const C64Format& format = formatRow(FormatId::interpaint);
    return probeCells(format, file, fileSize);
}

Decoded decodeHiEddi(Bytes file, const DecodeOptions& options) {
    static const C64Format& format = formatRow(FormatId::hiEddi);
    return decodeCells(format, file, options);
}

int probeHiEddi(Bytes file, std::uint64_t fileSize) {
    static const C64Format& format = formatRow(FormatId::hiEddi);
    return probeCells(format, file, fileSize);
}

Decoded decodeImageSystemHires(Bytes file, const DecodeOptions& options) {
    static const C64Format& format = formatRow(FormatId::imageSystemHires);
    return decodeCells(format, file, options);
}

int probeImageSystemHires(Bytes file, std::uint64_t fileSize) {
    static const C64Format& format = formatRow(FormatId::imageSystemHires);
    return probeCells(format, file, fileSize);
}

Decoded decodeHiresBitmap(Bytes file, const DecodeOptions& options) {
    static const C64Format& format = formatRow(FormatId::hiresBitmap);
    return decodeCells(format, file, options);
}

int probeHiresBitmap(Bytes file, std::uint64_t fileSize) {
    static const C64Format& format = formatRow(FormatId::hiresBitmap);
    return probeCells(format, file, fileSize);
}

Decoded decodeHiresBitmapInverted(Bytes file, const DecodeOptions& options) {
    static const C64Format& format = formatRow(FormatId::hiresBitmapInverted);
    return decodeCells(format, file, options);
}

int probeHiresBitmapInverted(Bytes file, std::uint64_t fileSize) {
    static const C64Format& format = formatRow(FormatId::hiresBitmapInverted);
    return probeCells(format, file, fileSize);
}

Decoded decodeAdvancedArtStudio(Bytes file, const DecodeOptions& options) {
    static const C64Format& format = formatRow(FormatId::advancedArtStudio);
    return decodeCells(format, file, options);
}

int probeAdvancedArtStudio(Bytes file, std::uint64_t fileSize) {
    static const C64Format& format = formatRow(FormatId::advancedArtStudio);
    return probeCells(format, file, fileSize);
}

Decoded decodeBlazingPaddles(Bytes file, const DecodeOptions& options) {
    static const C64Format& format = formatRow(FormatId::blazingPaddles);
    return decodeCells(format, file, options);
}

int probeBlazingPaddles(Bytes file, std::uint64_t fileSize) {
    static const C64Format& format = formatRow(FormatId::blazingPaddles);
    return probeCells(format, file, fileSize);
}

Decoded decodeArtist64(Bytes file, const DecodeOptions& options) {
    static const C64Format& format = formatRow(FormatId::artist64);
    return decodeCells(format, file, options);
}

int probeArtist64(Bytes file, std::uint64_t fileSize) {
    static const C64Format& format = formatRow(FormatId::artist64);
    return probeCells(format, file, fileSize);
}

Decoded decodeVidcom64(Bytes file, const DecodeOptions& options) {
    static const C64Format& format = formatRow(FormatId::vidcom64);
    return decodeCells(format, file, options);
}

int probeVidcom64(Bytes file, std::uint64_t fileSize) {
    static const C64Format& format = formatRow(FormatId::vidcom64);
    return probeCells(format, file, fileSize);
}

Decoded decodeImageSystem(Bytes file, const DecodeOptions& options) {
    static const C64Format& format = formatRow(FormatId::imageSystem);
    return decodeCells(format, file, options);
}

int probeImageSystem(Bytes file, std::uint64_t fileSize) {
    static const C64Format& format = formatRow(FormatId::imageSystem);
    return probeCells(format, file, fileSize);
}

Decoded decodeSaracenPaint(Bytes file, const DecodeOptions& options) {
    static const C64Format& format = formatRow(FormatId::saracenPaint);
    return decodeCells(format, file, options);
}

int probeSaracenPaint(Bytes file, std::uint64_t fileSize) {
    static const C64Format& format = formatRow(FormatId::saracenPaint);
    return probeCells(format, file, fileSize);
}

Decoded decodeRainbowPainter(Bytes file, const DecodeOptions& options) {
    static const C64Format& format = formatRow(FormatId::rainbowPainter);
    return decodeCells(format, file, options);
}

int probeRainbowPainter(Bytes file, std::uint64_t fileSize) {
    static const C64Format& format = formatRow(FormatId::rainbowPainter);
    return probeCells(format, file, fileSize);
}

Decoded decodePaintMagic(Bytes file, const DecodeOptions& options) {
    static const C64Format& format = formatRow(FormatId::paintMagic);
    return decodeCells(format, file, options);
}

// Paint Magic's files are programs that show the picture they carry: the BASIC line
// "SYS 2070" at 6 tells them.
int probePaintMagic(Bytes file, std::uint64_t fileSize) {
    static const C64Format& format = formatRow(FormatId::paintMagic);
    if (probeCells(format, file, fileSize) == 0)
        return 0;
    constexpr std::uint8_t kSys2070[] = {0x9E, '2', '0', '7', '0'};
    const bool runs =
        file.size() >= 11 && std::equal(std::begin(kSys2070), std::end(kSys2070), file.begin() + 6);
    return runs ? kProbeSignature : kProbeLength;
}

} // namespace quendra
