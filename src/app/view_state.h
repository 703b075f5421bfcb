// How the shown picture is viewed, without widgets: the picture component's zoom steps
// (0..9), fit to window, and the whole-number scale zoomed to from a fit; from them, where
// the picture lies in the picture area and which zoom commands act.
#pragma once

#include <QSize>

#include "app/command_states.h"

namespace quendra {

// What a zoom command does to the picture component.
struct ZoomAction {
    int zoomIns = 0;   // calls of zoomIn
    int zoomOuts = 0;  // calls of zoomOut
    bool stretchRatio; // StretchRatio afterwards
};

// How the picture lies in the picture area outside the component's zoom steps.
struct Placement {
    bool shrinkToFit = false; // the whole picture scaled down (a fit of a larger picture)
    int scale = 1;            // whole-number enlargement
    friend bool operator==(const Placement&, const Placement&) = default;
};

inline constexpr int kMaxZoomSteps = 9;

// Fit to window: the largest whole-number scale, at least 1, at which `picture` fits
// inside `area` uncut.
int fitScale(QSize picture, QSize area);

class ViewState {
  public:
    // The component's zoom steps taken (0..9).
    int zoomSteps() const { return zoomSteps_; }
    // Whether fit to window holds (a whole-number fit, until 1:1 or a zoom step).
    bool isFitToWindow() const { return fitToWindow_; }
    // The whole-number scale zoomed to from a fit; 1 otherwise.
    int wholeScale() const { return wholeScale_; }

    // Where a picture of `picture`'s size lies in an area of `area`'s size: a fit takes
    // the largest whole-number scale, or the whole picture scaled down when it is larger
    // than the area; outside a fit, the whole-number scale zoomed to from one.
    Placement placement(QSize picture, QSize area, bool shown) const;
    // The commands with the zoom states a whole-number scale or a scaled-down fit gives
    // (`scale` and `shrunk` as the picture area shows it): zoom out while above 1, 1:1.
    CommandStates withPlacement(CommandStates s, bool shown, int scale, bool shrunk) const;

    // Fit to window (from a whole-number scale of 1).
    void fit();
    // Leaves fit to window (before a zoom step or 1:1).
    void leaveFit() { fitToWindow_ = false; }
    // A zoom step (+1 in, -1 out) from a fit or a whole-number scale above 1: the next
    // whole-number scale (1:1 from a picture scaled down); true where it was taken, or is
    // off (nothing smaller than a fit at 1). False where the component's steps apply.
    bool wholeStep(int direction, bool shown, int scale, bool shrunk);
    // 1:1 from a whole-number scale or a fit; false where that was not the view (the
    // component's steps are undone instead: originalSize).
    bool leaveWholeScale();

    // The component's steps: each changes the zoom states and says what to do.
    ZoomAction zoomIn(CommandStates& s);
    ZoomAction zoomOut(CommandStates& s, bool stretchRatio);
    // One zoom-out more than the zoom-ins counted: the component's margin goes from 0 to
    // its outermost step.
    ZoomAction originalSize(CommandStates& s);

  private:
    int zoomSteps_ = 0;
    bool fitToWindow_ = false;
    int wholeScale_ = 1;
};

} // namespace quendra
