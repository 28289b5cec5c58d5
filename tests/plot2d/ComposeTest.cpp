// Pixels of the composed picture where the picture's rules fix them.
#include "plot2d/Compose.h"
#include "engine/Engine.h"
#include "plot2d/View2D.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr QRgb Yellow = 0xFFFFFF00; // a background that is not white

class Compose : public ::testing::Test {
  protected:
    void SetUp() override {
        ApplyColours(DefaultColours());
        BackgroundColor = 0x00FFFF; // yellow in 0x00BBGGRR
        PlotWidth = PlotHeight = 400;
        View(-10, 10, -10, 10);
        BoxLeft = BoxRight = BoxTop = BoxBottom = 0;
        DecimalSeparatorChar = '.';
    }
    void TearDown() override { ApplyColours(DefaultColours()); }
    static void View(double x1, double x2, double y1, double y2) {
        ViewX1 = x1, ViewX2 = x2, ViewY1 = y1, ViewY2 = y2;
        RecomputeViewFromEdges();
    }
    QImage Picture(TPictureOptions options = {}) {
        QImage image(PlotWidth, PlotHeight, QImage::Format_RGB32);
        QPainter p(&image);
        grid = ComposeBackground(p, options);
        ComposeBorder(p);
        return image;
    }
    TGridStatistics grid; // of the last picture
    static QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y) | 0xFF000000; }
    // True when the box right and below (x, y) holds a white label with dark text.
    static bool LabelAt(const QImage& image, int x, int y, QRgb text = 0xFF000000) {
        if (At(image, x, y) != 0xFFFFFFFF) return false;
        for (int dx = 0; dx < 8; ++dx)
            for (int dy = 0; dy < 12; ++dy)
                if (At(image, x + dx, y + dy) == text) return true;
        return false;
    }
};

TEST_F(Compose, DefaultViewGridAxesAndLabels) {
    const QImage image = Picture();
    EXPECT_EQ(At(image, 0, 0), 0xFF000000u); // border
    EXPECT_EQ(At(image, 399, 399), 0xFF000000u);
    EXPECT_EQ(At(image, 100, 150), Yellow);      // background inside
    EXPECT_EQ(At(image, 100, 200), 0xFF008000u); // the x axis
    EXPECT_EQ(At(image, 200, 100), 0xFF008000u); // the y axis
    // Grid columns at x = 2, 4, ... (one in two pixels of the dotted pen).
    for (int column : {40, 80, 120, 160, 240, 280, 320, 360}) {
        int grey = 0;
        for (int y = 50; y < 60; ++y)
            grey += At(image, column, y) == 0xFFC0C0C0u;
        EXPECT_GE(grey, 4) << column;
    }
    EXPECT_TRUE(LabelAt(image, 245, 205)); // the label of x = 2 below the axis
    EXPECT_EQ(At(image, 244, 205), Yellow);
    EXPECT_TRUE(LabelAt(image, 205, 205)); // "0"
    EXPECT_EQ(grid.VerticalLines, 10);
    EXPECT_EQ(grid.HorizontalLines, 10);
}

TEST_F(Compose, ShiftedViewsKeepTheLabelsInsideTheArea) {
    View(1, 21, -10, 10); // the origin is left of the area
    QImage image = Picture();
    EXPECT_NE(At(image, 0, 100), 0xFF008000u); // no y axis inside (only the border)
    const int row = WorldToPixelY(2) + 5;
    EXPECT_TRUE(LabelAt(image, 10, row)); // horizontal labels stay at column 10

    View(-10, 10, 5, 25); // the x axis is below the area
    image = Picture();
    EXPECT_TRUE(LabelAt(image, WorldToPixelX(2) + 5, 385));
}

TEST_F(Compose, LabelsTakeTheFontColourOnlyWithTheAxes) {
    FontColor = 0x0000FF; // red
    QImage image = Picture();
    EXPECT_TRUE(LabelAt(image, 245, 205, 0xFFFF0000));
    TPictureOptions noAxes;
    noAxes.Axes = false;
    image = Picture(noAxes);
    EXPECT_TRUE(LabelAt(image, 245, 205, 0xFF000000));
    EXPECT_FALSE(LabelAt(image, 245, 205, 0xFFFF0000));
    EXPECT_EQ(At(image, 100, 200), Yellow); // no axis
}

TEST_F(Compose, GridOffDrawsNoLabels) {
    TPictureOptions options;
    options.Grid = false;
    const QImage image = Picture(options);
    EXPECT_FALSE(LabelAt(image, 245, 205));
    EXPECT_EQ(grid.VerticalLines, 0);
}

// Far from the origin the walk starts near the area, not at zero: still
// every multiple of the step inside the area has its dotted column, and the
// label of the line just left of the area shows its end inside.
TEST_F(Compose, WalksFromTheFirstVisibleMultipleDrawEveryLineInSight) {
    for (double x1 : {36.5, -1235.5, 54320.5}) {
        View(x1, x1 + 20, x1, x1 + 20);
        const QImage image = Picture();
        const double step = GridStep;
        ASSERT_EQ(step, 2);
        int columns = 0;
        for (double v = std::ceil(x1 / step) * step; v <= x1 + 20; v += step) {
            const int px = WorldToPixelX(v);
            if (px < 2 || px > 397) continue;
            int grey = 0;
            for (int y = 100; y < 120; ++y)
                grey += At(image, px, y) == 0xFFC0C0C0u;
            EXPECT_GE(grey, 4) << x1 << " at " << v;
            ++columns;
        }
        EXPECT_GE(columns, 9) << x1;
        // x1 is half a unit past a multiple: that line is 10 pixels left of
        // the area, and its label, 5 pixels right of it, reaches in. (The
        // walk of the negative multiples ends at x1, so there is none.)
        if (x1 < 0) continue;
        int text = 0;
        const int row = std::min(std::max(WorldToPixelY(0) + 5, 5), 385);
        for (int y = row; y < row + 12; ++y)
            for (int x = 1; x < 8; ++x)
                text += At(image, x, y) == 0xFF000000u;
        EXPECT_GT(text, 0) << x1;
    }
}

TEST_F(Compose, FarAndDegenerateViewsFinish) {
    View(1e12, 1e12 + 20, -10, 10); // a walk from zero would take 5e11 steps
    Picture();
    EXPECT_GE(grid.VerticalLines, 10);
    EXPECT_LE(grid.VerticalLines, 40);
    View(1e17, 1e17 + 20, -10, 10); // the step no longer moves the value
    Picture();
    EXPECT_LE(grid.VerticalLines, 20);
    View(10, -10, -10, 10); // x2 < x1: no grid
    Picture();
    EXPECT_EQ(grid.VerticalLines, 0);
    View(0, 0, 0, 0);
    Picture();
    EXPECT_EQ(grid.VerticalLines + grid.HorizontalLines, 0);
}

TEST_F(Compose, ZoomBoxOutline) {
    BoxLeft = 100, BoxTop = 100, BoxRight = 300, BoxBottom = 300;
    const QImage image = Picture();
    EXPECT_EQ(At(image, 150, 100), 0xFF000000u);
    EXPECT_EQ(At(image, 100, 150), 0xFF000000u);
    EXPECT_EQ(At(image, 299, 150), 0xFF000000u);
    BoxLeft = BoxRight = BoxTop = BoxBottom = 0;
}

} // namespace

#include "plot2d/Sampling.h"

namespace {

// A curve sent to the painter in pieces is the same picture as in one piece.
TEST_F(Compose, LongCurvesAreDrawnInPiecesWithTheSamePixels) {
    CompileFormula(0, "8*sin(7*x)");
    auto draw = [](int chunk) {
        QImage image(PlotWidth, PlotHeight, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        p.setPen(QPen(Qt::blue, 0));
        {
            TPainterPen pen(p, chunk);
            WalkPolar(FormulaTrees[0], 0, 6.3, 0.0005, pen);
        }
        p.end();
        return image;
    };
    const QImage whole = draw(1 << 30);
    EXPECT_EQ(draw(3), whole);
    EXPECT_EQ(draw(5), whole);
    EXPECT_EQ(draw(4096), whole);
    EXPECT_EQ(draw(37), whole);
    FreeAllTrees();
}

} // namespace
