#include "engine/Engine.h"
#include "plot2d/View2D.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

void DefaultView() {
    PlotWidth = PlotHeight = 400;
    ViewX1 = -10, ViewX2 = 10, ViewY1 = -10, ViewY2 = 10;
    RecomputeViewFromEdges();
    BoxLeft = BoxRight = BoxTop = BoxBottom = 0;
    Panning = BoxDragging = false;
}

TEST(View2D, DefaultViewMapsCornersAndOrigin) {
    DefaultView();
    EXPECT_EQ(ScaleX, 0.05);
    EXPECT_EQ(ScaleY, -0.05);
    EXPECT_EQ(GridStep, 2);
    const struct {
        double x, y;
        int px, py;
    } cases[] = {{-10, 10, 0, 0}, {10, -10, 400, 400}, {0, 0, 200, 200}, {2, 0, 240, 200}};
    for (const auto& c : cases) {
        EXPECT_EQ(WorldToPixelX(c.x), c.px);
        EXPECT_EQ(WorldToPixelY(c.y), c.py);
    }
    EXPECT_EQ(PixelToWorldX(0), -10);
    EXPECT_EQ(PixelToWorldY(400), -10);
    EXPECT_DOUBLE_EQ(PixelToWorldY(0), 10); // 80-bit arithmetic: 10.000000000000002
}

// A plot area of a new size: the x edges and the centre stay; with equal
// scales a unit is as many pixels in x as in y, and the square area gives
// back the square view.
TEST(View2D, AResizedAreaKeepsTheCentreAndTheScaleRule) {
    const struct {
        int w, h;
        bool equal;
        double y1, y2;
    } rows[] = {
        {800, 400, true, -5, 5},
        {400, 800, true, -20, 20},
        {1026, 833, true, -8.118908382066277, 8.118908382066277},
        {800, 400, false, -10, 10},
        {400, 400, true, -10, 10},
    };
    for (const auto& r : rows) {
        DefaultView();
        ViewY1 = 0, ViewY2 = 20; // the centre at 10
        RecomputeViewFromEdges();
        ResizeView(r.w, r.h, r.equal);
        EXPECT_EQ(PlotWidth, r.w);
        EXPECT_EQ(ViewX1, -10);
        EXPECT_EQ(ViewX2, 10);
        EXPECT_DOUBLE_EQ(ViewY1, 10 + r.y1) << r.w << "x" << r.h;
        EXPECT_DOUBLE_EQ(ViewY2, 10 + r.y2) << r.w << "x" << r.h;
        if (r.equal) {
            EXPECT_DOUBLE_EQ(ScaleX, -ScaleY);
        }
        EXPECT_EQ(WorldToPixelX(10), r.w); // the x edges reach the area's edges
        EXPECT_EQ(WorldToPixelY(ViewY1), r.h);
    }
    ResizeView(400, 400, true); // back from the last, stretched one
    EXPECT_DOUBLE_EQ(ViewY1, 0);
    EXPECT_DOUBLE_EQ(ViewY2, 20);
    DefaultView();
}

// The area a picture of a size shows: the current one scaled where the
// aspect is the same, else the area of that aspect with a shorter side of 400.
TEST(View2D, APictureOfAnySizeShowsAnAreaAtADensity) {
    const struct {
        int areaW, areaH, w, h;
        int shownW, shownH;
        double density;
    } rows[] = {
        {400, 400, 400, 400, 400, 400, 1},      {400, 400, 800, 800, 400, 400, 2},
        {400, 400, 1000, 1000, 400, 400, 2.5},  {400, 400, 600, 400, 600, 400, 1},
        {400, 400, 1100, 950, 463, 400, 2.375}, {400, 400, 400, 1000, 400, 1000, 1},
        {1026, 798, 2052, 1596, 1026, 798, 2},  {1026, 798, 800, 800, 400, 400, 2},
    };
    for (const auto& r : rows) {
        PlotWidth = r.areaW, PlotHeight = r.areaH;
        const TPictureArea a = PictureArea(r.w, r.h);
        EXPECT_EQ(a.Width, r.shownW) << r.w << "x" << r.h;
        EXPECT_EQ(a.Height, r.shownH) << r.w << "x" << r.h;
        EXPECT_DOUBLE_EQ(a.Density, r.density) << r.w << "x" << r.h;
    }
    DefaultView();
}

TEST(View2D, GridStepIsTheNearestPowerOfTwoToATenthOfTheWidth) {
    const struct {
        double width, step;
    } cases[] = {{20, 2},
                 {10, 1},
                 {4, 0.5},
                 {3, 0.25},
                 {1, 0.125},
                 {100, 8},
                 {0.001, 0.0001220703125},
                 // views without a usable grid
                 {0, 0},
                 {-5, 0},
                 {std::numeric_limits<double>::infinity(), 0},
                 {std::numeric_limits<double>::quiet_NaN(), 0}};
    for (const auto& c : cases) {
        ViewWidth = c.width;
        EXPECT_EQ(ComputeGridStep(), c.step) << c.width;
    }
}

TEST(View2D, PixelsOutsideTheIntegerRangeAreClamped) {
    EXPECT_EQ(RoundPixel(2.5L), 2); // ties to even
    EXPECT_EQ(RoundPixel(3.5L), 4);
    EXPECT_EQ(RoundPixel(-2.5L), -2);
    EXPECT_EQ(RoundPixel(1e30L), 1 << 30);
    EXPECT_EQ(RoundPixel(-1e30L), -(1 << 30));
    EXPECT_EQ(RoundPixel(std::numeric_limits<long double>::quiet_NaN()), 0);
}

TEST(View2D, ZoomKeepsTheCentre) {
    DefaultView();
    ZoomView(-2, true);
    EXPECT_EQ(ViewX1, -8.666666666666666);
    EXPECT_EQ(ViewX2, 8.666666666666666);
    EXPECT_EQ(GridStep, 2);
    EXPECT_NEAR(ViewY2 - ViewY1, 20 * 13.0 / 15, 1e-12);
    ZoomView(2, true); // "+" then "-" leaves 221/225 of the extent
    EXPECT_NEAR(ViewWidth, 20 * 221.0 / 225, 1e-12);

    DefaultView();
    ZoomView(2, true);
    EXPECT_EQ(ViewX1, -11.333333333333334);
    EXPECT_EQ(ViewX2, 11.333333333333334);
    const TRangeTexts t = WriteRangeEdits();
    char saved = DecimalSeparatorChar;
    DecimalSeparatorChar = '.';
    EXPECT_EQ(WriteRangeEdits().X1, "-11.3333333333333");
    DecimalSeparatorChar = saved;
    (void)t;

    DefaultView();
    ViewY2 = 30; // unequal scales: y2 moves by its own amount
    RecomputeViewFromEdges();
    ZoomView(-2, false);
    EXPECT_NEAR(ViewY2, 30 - 40.0 / 15, 1e-12);
}

TEST(View2D, ReadRangeEditsConvertsInOrderAndDerivesY2) {
    DecimalSeparatorChar = '.';
    DefaultView();
    RangeEditsDirty = true;
    ReadRangeEdits({"99", "-5", "5", "-5"}, true);
    EXPECT_EQ(ViewX1, -5);
    EXPECT_EQ(ViewX2, 5);
    EXPECT_EQ(ViewY1, -5);
    EXPECT_EQ(ViewY2, 5); // from equal scales, not from the text
    EXPECT_FALSE(RangeEditsDirty);
    ReadRangeEdits({"7", "-5", "5", "-5"}, false);
    EXPECT_EQ(ViewY2, 7);

    // The first text that is no number stops the reading; earlier edges stay.
    RangeEditsDirty = true;
    EXPECT_THROW(ReadRangeEdits({"1", "Error!", "3", "-1"}, true), ConversionError);
    EXPECT_EQ(ViewX1, -1);
    EXPECT_EQ(ViewX2, 3);
    EXPECT_TRUE(RangeEditsDirty);
}

TEST(View2D, PanFollowsTheCursor) {
    DefaultView();
    DragStartX = 200;
    DragStartY = 200;
    PanView(220, 190);
    EXPECT_EQ(ViewX1, -11);
    EXPECT_EQ(ViewY1, -10.5);
    EXPECT_EQ(ViewX2, 9);
    EXPECT_EQ(ViewY2, 9.5);
    EXPECT_EQ(DragStartX, 220);
    EXPECT_EQ(GridStep, 2);
    // Panned by 200 pixels, 4 at a time as a drag moves, x1 is rounding
    // noise beside 0: the field shows 0, the view keeps the number computed.
    DefaultView();
    for (int k = 0; k < 50; ++k) {
        DragStartX = 0, DragStartY = 0;
        PanView(-4, 0);
    }
    EXPECT_NE(ViewX1, 0);
    EXPECT_LT(std::fabs(ViewX1), 1e-14);
    EXPECT_EQ(WriteRangeEdits().X1, "0");
    EXPECT_EQ(WriteRangeEdits().X2, "20");
}

TEST(View2D, ZoomBoxHasTheHeightOfItsWidth) {
    DefaultView();
    DragStartX = 100;
    DragStartY = 100;
    UpdateZoomBox(300, 150);
    EXPECT_EQ(BoxLeft, 100);
    EXPECT_EQ(BoxRight, 300);
    EXPECT_EQ(BoxTop, 100);
    EXPECT_EQ(BoxBottom, 300);
    ASSERT_TRUE(ApplyZoomBox());
    EXPECT_EQ(ViewX1, -5);
    EXPECT_EQ(ViewX2, 5);
    EXPECT_DOUBLE_EQ(ViewY1, -5); // the fields show -5 and 5
    EXPECT_DOUBLE_EQ(ViewY2, 5);
    EXPECT_EQ(GridStep, 1);
    EXPECT_EQ(BoxLeft + BoxRight + BoxTop + BoxBottom, 0);

    DefaultView();
    DragStartX = 100;
    DragStartY = 300;
    UpdateZoomBox(200, 50); // upward: from row 300 up, whatever the mouse's row
    EXPECT_EQ(BoxBottom, 300);
    EXPECT_EQ(BoxTop, 200);
    EXPECT_EQ(BoxHeight, BoxWidth);

    DefaultView();
    DragStartX = DragStartY = 50;
    UpdateZoomBox(50, 50); // a click without moving
    EXPECT_FALSE(ApplyZoomBox());
    EXPECT_EQ(ViewX1, -10);
}

TEST(View2D, CursorCoordinatesAreRoundedToSixPlaces) {
    DecimalSeparatorChar = '.';
    DefaultView();
    EXPECT_EQ(CursorCoordinateText(PixelToWorldX(0)), "-10");
    EXPECT_EQ(CursorCoordinateText(PixelToWorldY(400)), "-10");
    EXPECT_EQ(CursorCoordinateText(0.12345649), "0.123456");
    EXPECT_EQ(CursorCoordinateText(1e13), "10000000000000");
    EXPECT_EQ(CursorCoordinateText(1e20), "1E20"); // beyond the rounding range
}

} // namespace

namespace {

// Rounding noise beside a view shows as 0; anything a view could show stays.
TEST(ShownNumbers, NoiseWithinTheViewsScaleOfZeroIsZero) {
    const struct {
        double v, span, shown;
    } rows[] = {
        {6.661338147750939e-16, 20, 0},  // x1 after a pan of 200 pixels
        {-4.440892098500626e-16, 20, 0}, // a root's y
        {2.1e-11, 20, 2.1e-11},          // just beyond the bound: a number
        {1e-13, 0.01, 1e-13},            // in a view a hundredth wide
        {-1.9e-14, 1e-2, -1.9e-14},      // beyond the bound of a narrow view
        {-0.9e-14, 1e-2, 0},             // within it
        {3, 20, 3},
        {0, 0, 0},
    };
    for (const auto& r : rows)
        EXPECT_EQ(ShownNumber(r.v, r.span), r.shown) << r.v << " in " << r.span;
}

} // namespace
