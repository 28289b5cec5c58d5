// The 3D window at the screen's pixel density. ctest runs these tests at
// 100 % and again at 200 % (QT_SCALE_FACTOR=2).
#include "Window3DSupport.h"

#include <cstdlib>

namespace {

class Density3D : public Window3D {};

TEST_F(Density3D, TheFrameAndItsPointsAreDrawnAtTheScreensPixelDensity) {
    const qreal density = form->View->devicePixelRatioF();
    if (const char* factor = std::getenv("QT_SCALE_FACTOR")) {
        ASSERT_EQ(density, std::atof(factor)); // the scaling reached the window
    }
    const int d = static_cast<int>(density);
    // The axes fill the frame of 400 x 400 points in every pixel of it:
    // the red arrow head where it is at 100 %, scaled.
    QImage f = Frame();
    ASSERT_EQ(f.size(), QSize(400, 400) * d);
    EXPECT_GT(Count(f, Red, QRect(70 * d, 280 * d, 40 * d, 40 * d)), 30 * d * d);
    // Four level points far apart: each a square of d x d pixels, the size
    // of one pixel at 100 %.
    options.Axes = false;
    options.Mode = pmImplicit;
    LevelPoints.clear();
    for (const double x : {-6.0, -2.0, 2.0, 6.0})
        LevelPoints.push_back({x, 0, 0, 1, 1, 1});
    LevelPointCount = static_cast<std::int32_t>(LevelPoints.size());
    ++LevelGeneration;
    f = Frame();
    EXPECT_EQ(Count(f, [](int r, int g, int b) { return r + g + b > 0; }), 4 * d * d);
}

} // namespace
