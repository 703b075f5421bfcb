// Pixel work of the picture area: copies of the picture into a frame of the client's size,
// unscaled or scaled by whole pixels (nearest pixel, never blended). The frame is then
// drawn 1:1, so what lands on the screen is exactly these pixels.
#pragma once

#include <QImage>
#include <QRect>

#include "components/placement.h"

namespace quendra::render {

// The picture in the frame's pixel format (32-bit RGB); shares the data when it already is.
QImage forDisplay(const QImage& picture);

// Copies `picture` (a forDisplay() image) with its top-left corner at (x, y) into `frame`;
// what falls outside the frame is cut. Returns the part of the frame written.
QRect unscaled(QImage& frame, const QImage& picture, int x, int y);

// Copies the part `source` of `picture` (a forDisplay() image) scaled into `destination`
// of `frame`. `source` may have a negative width or height (a mirrored copy along that
// axis: the span runs from its left/top edge backwards) and may reach outside the picture
// (those pixels take `background`); a source or destination of zero width or height copies
// nothing. The destination may reach outside the frame; that part is cut. Returns the part
// of the frame written.
QRect scaled(QImage& frame, const QImage& picture, const QRect& source,
             const placement::Area& destination, QRgb background);

// Fills every pixel of `frame` outside `covered` with `colour`.
void fillOutside(QImage& frame, const QRect& covered, QRgb colour);

} // namespace quendra::render
