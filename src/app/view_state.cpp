#include "app/view_state.h"

#include <algorithm>

namespace quendra {

int fitScale(QSize picture, QSize area) {
    if (picture.width() <= 0 || picture.height() <= 0)
        return 1;
    return std::max(1, std::min(area.width() / picture.width(), area.height() / picture.height()));
}

Placement ViewState::placement(QSize picture, QSize area, bool shown) const {
    const bool fit = fitToWindow_ && shown && zoomSteps_ == 0;
    const bool larger = picture.width() > area.width() || picture.height() > area.height();
    if (fit)
        return {larger, larger ? 1 : fitScale(picture, area)};
    return {false, zoomSteps_ == 0 ? wholeScale_ : 1};
}

CommandStates ViewState::withPlacement(CommandStates s, bool shown, int scale, bool shrunk) const {
    // The component's zoom steps keep their own states.
    if (!shown || zoomSteps_ != 0 || (scale <= 1 && !shrunk))
        return s;
    s.zoomOut = scale > 1;
    s.origSize = true;
    return s;
}

void ViewState::fit() {
    wholeScale_ = 1;
    fitToWindow_ = true;
}

bool ViewState::wholeStep(int direction, bool shown, int scale, bool shrunk) {
    if (!shown || zoomSteps_ != 0)
        return false;
    if (fitToWindow_) {
        if (direction > 0)
            wholeScale_ = shrunk ? 1 : scale + 1;
        else if (scale > 1)
            wholeScale_ = scale - 1;
        else
            return true; // nothing smaller to go to: the step is off
        fitToWindow_ = false;
        return true;
    }
    if (wholeScale_ > 1) {
        wholeScale_ = std::clamp(wholeScale_ + direction, 1, 64);
        return true;
    }
    return false; // 1:1: the component's zoom steps
}

bool ViewState::leaveWholeScale() {
    const bool scaled = zoomSteps_ == 0 && (wholeScale_ > 1 || fitToWindow_);
    wholeScale_ = 1;
    fitToWindow_ = false;
    return scaled;
}

ZoomAction ViewState::zoomIn(CommandStates& s) {
    if (zoomSteps_ >= kMaxZoomSteps)
        return {0, 0, true}; // the button is disabled by then
    s.origSize = true;
    ++zoomSteps_;
    if (zoomSteps_ > kMaxZoomSteps - 1)
        s.zoomIn = false;
    s.zoomOut = true;
    return {1, 0, true};
}

ZoomAction ViewState::zoomOut(CommandStates& s, bool stretchRatio) {
    ZoomAction a{0, 0, stretchRatio};
    if (zoomSteps_ > 0)
        a.zoomOuts = 1;
    --zoomSteps_;
    if (zoomSteps_ < kMaxZoomSteps)
        s.zoomIn = true;
    if (zoomSteps_ <= 0) {
        // Below 0 only through a click that slipped past the disabled button.
        zoomSteps_ = 0;
        s.zoomOut = false;
        a.stretchRatio = false;
        s.origSize = false;
    }
    return a;
}

ZoomAction ViewState::originalSize(CommandStates& s) {
    const ZoomAction a{0, zoomSteps_ + 1, false};
    zoomSteps_ = 0;
    s.zoomOut = false;
    s.zoomIn = true;
    s.origSize = false;
    return a;
}

} // namespace quendra
