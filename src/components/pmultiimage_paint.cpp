// PictureView: drawing. The picture's own scaled drawing (whole-pixel copies by the
// placement rules, a shrunk copy where a large picture is fitted) or the platform's generic
// drawing; then the painted signal.
#include "components/pmultiimage.h"

#include <QPainter>

#include "components/render.h"

namespace quendra {

bool PictureView::genericDrawing() const {
    return !libPalette_ || info_.type == QLatin1String("ICO") || info_.type == QLatin1String("WMF");
}

// The platform drawing: stretched to the client, or W x H centred on the control's outer
// size, or at the client's corner. No proportional scaling and no zoom on this path.
QRect PictureView::genericTarget(const QRect& client) const {
    if (stretch_)
        return client;
    if (center_)
        return {client.x() + (width() - picture_.width()) / 2,
                client.y() + (height() - picture_.height()) / 2, picture_.width(),
                picture_.height()};
    return {client.topLeft(), picture_.size()};
}

placement::Area PictureView::destination(const QSize& client) const {
    const int w = picture_.width(), h = picture_.height();
    if (stretchRatio_)
        return placement::proportional(w, h, client.width(), client.height());
    if (stretch_)
        return {0, 0, client.width(), client.height()};
    return placement::unscaled(w * scale_, h * scale_, client.width(), client.height(), center_);
}

// The zoom rectangle counts only for the scaled placements.
QRect PictureView::source() const {
    if (zoom_.active && (stretch_ || stretchRatio_) && !genericDrawing())
        return {zoom_.left, zoom_.top, zoom_.right - zoom_.left, zoom_.bottom - zoom_.top};
    return {0, 0, picture_.width(), picture_.height()};
}

bool PictureView::shrinks(const QSize& client) const {
    return shrinkToFit_ && !stretch_ && !stretchRatio_ && scale_ == 1 && !display_.isNull() &&
           (display_.width() > client.width() || display_.height() > client.height()) &&
           client.width() > 0 && client.height() > 0;
}

const QImage& PictureView::shrunkFor(const QSize& client) {
    const QSize target = display_.size().scaled(client, Qt::KeepAspectRatio);
    if (shrunkCopy_.size() != target) {
        // Qt's smooth scaling averages the area each screen pixel covers.
        shrunkCopy_ =
            display_
                .scaled(target.expandedTo({1, 1}), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                .convertToFormat(display_.format());
    }
    return shrunkCopy_;
}

void PictureView::paintOwn(QPainter& painter, const QRect& client) {
    if (frame_.size() != client.size())
        frame_ = QImage(client.size(), QImage::Format_RGB32);
    if (frame_.isNull()) { // no drawing surface to be had: show the background only
        painter.fillRect(client, color_);
        return;
    }
    // The copy writes the pixels it covers; the background goes only where it does not.
    QRect covered;
    if (shrinks(client.size())) {
        const QImage& small = shrunkFor(client.size());
        const placement::Area to = placement::unscaled(small.width(), small.height(),
                                                       client.width(), client.height(), center_);
        covered = render::unscaled(frame_, small, to.x, to.y);
    } else if (!display_.isNull()) {
        const placement::Area to = destination(client.size());
        covered = stretch_ || stretchRatio_ || scale_ > 1
                      ? render::scaled(frame_, display_, source(), to, color_.rgb())
                      : render::unscaled(frame_, display_, to.x, to.y);
    }
    render::fillOutside(frame_, covered, color_.rgb());
    painter.drawImage(client.topLeft(), frame_);
}

void PictureView::paintGeneric(QPainter& painter, const QRect& client) {
    painter.fillRect(client, color_);
    if (display_.isNull())
        return;
    painter.save();
    painter.setClipRect(client);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(genericTarget(client), display_);
    painter.restore();
}

QRect PictureView::destinationRect() const {
    if (picture_.isNull())
        return {};
    const QRect client = contentsRect();
    if (genericDrawing())
        return genericTarget(client).translated(-client.topLeft());
    const placement::Area a = destination(client.size());
    return {a.x, a.y, a.width, a.height};
}

QRect PictureView::sourceRect() const {
    return picture_.isNull() ? QRect() : source();
}

void PictureView::paintEvent(QPaintEvent*) {
    {
        QPainter painter(this);
        if (borderStyle_ == BorderStyle::SingleBorder) {
            painter.setPen(palette().color(QPalette::WindowText));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRect(0, 0, width() - 1, height() - 1));
        }
        const QRect client = contentsRect();
        if (!client.isEmpty()) {
            if (genericDrawing())
                paintGeneric(painter, client);
            else
                paintOwn(painter, client);
        }
    }
    emit painted(this);
}

} // namespace quendra
