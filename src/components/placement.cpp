#include "components/placement.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace quendra::placement {

long long roundHalfEven(long double value) {
    const long double below = std::floor(value);
    const long double rest = value - below;
    long long result = static_cast<long long>(below);
    if (rest > 0.5L || (rest == 0.5L && (result % 2 != 0)))
        ++result;
    return result;
}

Area proportional(int pictureWidth, int pictureHeight, int clientWidth, int clientHeight) {
    const Area whole{0, 0, clientWidth, clientHeight};
    // Extended precision throughout, as the rounding of the offsets depends on it.
    const long double w = pictureWidth, h = pictureHeight;
    const long double cw = clientWidth, ch = clientHeight;
    if (h >= w) {
        if (h <= 0)
            return whole; // the scale would divide by zero
        const long double scaled = w * (ch / h);
        return {static_cast<int>(roundHalfEven((cw - scaled) / 2)), 0,
                static_cast<int>(roundHalfEven(cw - (cw - scaled))), clientHeight};
    }
    if (w <= 0)
        return whole;
    const long double scaled = h * (cw / w);
    return {0, static_cast<int>(roundHalfEven((ch - scaled) / 2)), clientWidth,
            static_cast<int>(roundHalfEven(ch - (ch - scaled)))};
}

Area unscaled(int pictureWidth, int pictureHeight, int clientWidth, int clientHeight, bool centre) {
    if (!centre)
        return {0, 0, pictureWidth, pictureHeight};
    // Integer division truncates toward zero, also for a picture larger than the client.
    return {(clientWidth - pictureWidth) / 2, (clientHeight - pictureHeight) / 2, pictureWidth,
            pictureHeight};
}

namespace {

void setZoomRect(ZoomState& zoom, int pictureWidth, int pictureHeight) {
    zoom.left = zoom.margin;
    zoom.top = zoom.margin;
    zoom.right = pictureWidth - zoom.margin;
    zoom.bottom = pictureHeight - zoom.margin;
    zoom.active = true;
}

} // namespace

bool zoomIn(ZoomState& zoom, int pictureWidth, int pictureHeight) {
    if (pictureWidth - 2 * zoom.margin < zoom.margin)
        return false;
    zoom.margin += 10;
    setZoomRect(zoom, pictureWidth, pictureHeight);
    return true;
}

bool zoomOut(ZoomState& zoom, int pictureWidth, int pictureHeight) {
    if (zoom.margin < 0)
        return false;
    zoom.margin -= 10;
    setZoomRect(zoom, pictureWidth, pictureHeight);
    return true;
}

int sampleIndex(int sourceStart, int sourceExtent, int destExtent, int destIndex) {
    // The centre of destination pixel i, (i + 1/2) / destExtent of the way along the span,
    // mapped into the source and rounded down: floor((2i + 1) * extent / (2 * destExtent)).
    const std::int64_t num = (2 * std::int64_t{destIndex} + 1) * sourceExtent;
    const std::int64_t den = 2 * std::int64_t{destExtent};
    std::int64_t q = num / den;
    if (num % den != 0 && num < 0)
        --q; // round toward minus infinity
    return static_cast<int>(sourceStart + q);
}

int displayDepthClass(int bitsPerPixel) {
    if (bitsPerPixel <= 0)
        return 24;
    if (bitsPerPixel <= 4)
        return 4;
    if (bitsPerPixel <= 15)
        return 8;
    return 24;
}

int readDepth(ReadDepth resolution, int displayDepth) {
    switch (resolution) {
    case ReadDepth::AsStored:
        return 0;
    case ReadDepth::Monochrome:
        return 1;
    case ReadDepth::Colours16:
        return 4;
    case ReadDepth::Colours256:
        return 8;
    case ReadDepth::TrueColour:
        return 24;
    case ReadDepth::Automatic:
        break;
    }
    return displayDepth;
}

int writeDepth(WriteDepth resolution, PictureFormat format, int displayDepth) {
    // Columns: BMP/PNG/TIF/PCX, GIF, JPG.
    const int column = format == PictureFormat::GIF ? 1 : format == PictureFormat::JPEG ? 2 : 0;
    static constexpr int table[6][3] = {
        {0, 0, 24},  // AsStored
        {1, 1, 1},   // Monochrome
        {4, 4, 24},  // Colours16
        {8, 8, 24},  // Colours256
        {24, 8, 24}, // TrueColour
        {8, 8, 1},   // JpegGrey
    };
    if (resolution == WriteDepth::Automatic) {
        const int auto_[3] = {displayDepth, std::min(displayDepth, 8), 24};
        return auto_[column];
    }
    return table[static_cast<int>(resolution)][column];
}

int tiffCompressionCode(TiffSaveCompression compression) {
    switch (compression) {
    case TiffSaveCompression::Uncompressed:
        return 1;
    case TiffSaveCompression::Ccitt:
        return 2;
    case TiffSaveCompression::Lzw:
        return 5;
    case TiffSaveCompression::PackBits:
        return 32773;
    }
    return 1;
}

int jpegQuality(int requested) {
    return requested >= 1 && requested <= 100 ? requested : 25;
}

int jpegSmoothing(int requested) {
    return requested >= 0 && requested <= 100 ? requested : 5;
}

} // namespace quendra::placement
