#include "app/view_state.h"

#include <gtest/gtest.h>

namespace quendra {
namespace {

TEST(ViewState, NineZoomInsThenDisabledAndOneZoomOutEnablesAgain) {
    ViewState view;
    CommandStates s;
    s.zoomIn = true; // a picture shown
    for (int i = 1; i <= 9; ++i) {
        const ZoomAction a = view.zoomIn(s);
        EXPECT_EQ(a.zoomIns, 1);
        EXPECT_TRUE(a.stretchRatio);
        EXPECT_EQ(view.zoomSteps(), i);
        EXPECT_EQ(s.zoomIn, i < 9) << i;
        EXPECT_TRUE(s.zoomOut && s.origSize);
    }
    EXPECT_EQ(view.zoomIn(s).zoomIns, 0); // a tenth does nothing
    EXPECT_EQ(view.zoomSteps(), 9);

    ZoomAction a = view.zoomOut(s, true);
    EXPECT_EQ(a.zoomOuts, 1);
    EXPECT_EQ(view.zoomSteps(), 8);
    EXPECT_TRUE(s.zoomIn && s.zoomOut && s.origSize && a.stretchRatio);
    for (int i = 0; i < 8; ++i)
        a = view.zoomOut(s, true);
    EXPECT_EQ(view.zoomSteps(), 0);
    EXPECT_FALSE(s.zoomOut || s.origSize || a.stretchRatio);
}

TEST(ViewState, OrigSizeZoomsOutOnceMoreThanCounted) {
    ViewState view;
    CommandStates s;
    view.zoomIn(s);
    view.zoomIn(s);
    const ZoomAction a = view.originalSize(s);
    EXPECT_EQ(a.zoomOuts, 3);
    EXPECT_FALSE(a.stretchRatio);
    EXPECT_EQ(view.zoomSteps(), 0);
    EXPECT_TRUE(s.zoomIn);
    EXPECT_FALSE(s.zoomOut || s.origSize);
    EXPECT_EQ(view.originalSize(s).zoomOuts, 1);
}

TEST(ViewState, AFitTakesTheLargestWholeScaleOrShrinksALargerPicture) {
    ViewState view;
    const QSize area(427, 489);
    EXPECT_EQ(view.placement({320, 200}, area, true), (Placement{false, 1})); // no fit yet
    view.fit();
    EXPECT_EQ(view.placement({160, 200}, area, true), (Placement{false, 2}));
    EXPECT_EQ(view.placement({640, 400}, area, true), (Placement{true, 1}));
    EXPECT_EQ(view.placement({160, 200}, area, false), (Placement{false, 1})); // nothing shown
    EXPECT_EQ(fitScale({0, 0}, area), 1);
}

TEST(ViewState, ZoomStepsFromAFitGoByWholeNumbers) {
    ViewState view;
    view.fit();
    // At the fit's scale 2, one step in is 3, one out from there 2, and 1:1 leaves it.
    EXPECT_TRUE(view.wholeStep(1, true, 2, false));
    EXPECT_FALSE(view.isFitToWindow());
    EXPECT_EQ(view.wholeScale(), 3);
    EXPECT_TRUE(view.wholeStep(-1, true, 3, false));
    EXPECT_EQ(view.wholeScale(), 2);
    CommandStates s;
    s = view.withPlacement(s, true, 2, false);
    EXPECT_TRUE(s.zoomOut && s.origSize);
    EXPECT_TRUE(view.leaveWholeScale());
    EXPECT_EQ(view.wholeScale(), 1);
    EXPECT_FALSE(view.leaveWholeScale());
    // At 1:1 the component's steps apply; a shrunk fit steps in to 1:1, and a fit at 1 out
    // goes nowhere.
    EXPECT_FALSE(view.wholeStep(1, true, 1, false));
    view.fit();
    EXPECT_TRUE(view.wholeStep(1, true, 1, true));
    EXPECT_EQ(view.wholeScale(), 1);
    view.fit();
    EXPECT_TRUE(view.wholeStep(-1, true, 1, false));
    EXPECT_TRUE(view.isFitToWindow());
}

} // namespace
} // namespace quendra
