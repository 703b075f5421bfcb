// Geometry and colour-depth tables of the picture area (PictureView), as small pure
// functions: where a picture lands in the client rectangle, the zoom margin and rectangle,
// which picture pixel a scaled copy takes, and which depth goes to the image library.
#pragma once

#include "export/picture_format.h"

namespace quendra {

enum class ReadDepth { AsStored, Monochrome, Colours16, Colours256, TrueColour, Automatic };
enum class WriteDepth {
    AsStored,
    Monochrome,
    Colours16,
    Colours256,
    TrueColour,
    JpegGrey,
    Automatic
};
enum class TiffSaveCompression { Uncompressed, Ccitt, Lzw, PackBits };
enum class BorderStyle { NoBorder, SingleBorder };

// Zoom margin and rectangle; left/top/right/bottom may be negative or cross.
struct ZoomState {
    int margin = 0;
    bool active = false;
    int left = 0, top = 0, right = 0, bottom = 0;
};

namespace placement {

// A destination area by position and size (size never negative; position may be).
struct Area {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Area&) const = default;
};

// Round to the nearest integer, an exact half to the even neighbour.
long long roundHalfEven(long double value);

// Scaling that keeps the picture's proportions. The axis to fill follows the picture's own
// shape: an upright or square picture fills the client's height, a wide one its width; the
// other axis is centred and may come out larger than the client (then it is cut on both
// sides). A picture side of 0 gives the whole client.
Area proportional(int pictureWidth, int pictureHeight, int clientWidth, int clientHeight);

// An unscaled picture at (0, 0), or centred with the offsets halved toward zero.
Area unscaled(int pictureWidth, int pictureHeight, int clientWidth, int clientHeight, bool centre);

// Zoom steps of 10 pixels of margin. Zooming in is refused once width - 2m < m (the width
// alone is looked at); zooming out is refused once the margin is negative, so it stops at
// -10. Both set the rectangle (m, m, W - m, H - m) and the active flag when they act.
bool zoomIn(ZoomState& zoom, int pictureWidth, int pictureHeight);
bool zoomOut(ZoomState& zoom, int pictureWidth, int pictureHeight);

// Nearest-pixel sampling for a scaled copy along one axis: the source span starts at edge
// `sourceStart` and runs `sourceExtent` pixels (negative: backwards, giving a mirrored copy);
// returns the source index that destination pixel `destIndex` (0 <= destIndex <
// destExtent) takes. The index may lie outside the picture when the span does.
int sampleIndex(int sourceStart, int sourceExtent, int destExtent, int destIndex);

// Colour depths handed to the image library.

// The screen's bits per pixel reduced to 4, 8 or 24; 0 or less (none reported) gives 24.
int displayDepthClass(int bitsPerPixel);
int readDepth(ReadDepth resolution, int displayDepth);
int writeDepth(WriteDepth resolution, PictureFormat format, int displayDepth);
// The TIFF Compression tag value for the setting.
int tiffCompressionCode(TiffSaveCompression compression);

// Setter rules: quality 1..100 is kept, anything else becomes 25; smoothing 0..100 is
// kept, anything else becomes 5.
int jpegQuality(int requested);
int jpegSmoothing(int requested);

} // namespace placement
} // namespace quendra
