// Frames of the 3D window read back from OpenGL: where the default view puts
// the axes, the surface inside them, the stereo halves, the outlines of the
// wireframe, and pictures that must not change with how they are sent.
#include "Window3DSupport.h"

#include "engine/Engine.h"

#include <QOpenGLFunctions>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

class Render : public Window3D {};

TEST_F(Render, TheDefaultViewPutsTheAxesWhereTheyBelong) {
    const QImage f = Frame();
    ASSERT_EQ(f.size(), QSize(400, 400));
    // The arrow heads: X (red) at the lower left, Y (green) at the right,
    // Z (blue) at the top; each cone is a patch of its colour.
    EXPECT_GT(Count(f, Red, QRect(70, 280, 40, 40)), 30);
    EXPECT_GT(Count(f, Green, QRect(355, 230, 35, 30)), 30);
    EXPECT_GT(Count(f, Blue, QRect(190, 5, 30, 30)), 30);
    // The negative halves end in a line, without a head.
    EXPECT_LT(Count(f, Red, QRect(240, 120, 40, 40)), 45);
    EXPECT_LT(Count(f, Blue, QRect(180, 300, 40, 40)), 45);
    // Everything else is the black background.
    EXPECT_GT(Count(f, Black), f.width() * f.height() * 9 / 10);
}

TEST_F(Render, WithoutAxesAndBuffersTheWindowIsBlack) {
    options.Axes = false;
    for (int mode : {int{pmSurface}, int{pmCurve}, int{pmImplicit}, int{pmYx}, 0}) {
        options.Mode = mode;
        const QImage f = Frame();
        EXPECT_EQ(Count(f, Black), f.width() * f.height()) << mode;
    }
}

TEST_F(Render, TheBufferOfTheCurrentModeIsDrawn) {
    options.Axes = false;
    ASSERT_TRUE(BuildSurfaceZxy("1", {-10, 10, 1, -10, 10, 1}));
    ASSERT_TRUE(BuildCurve3D("5*cos(t)", "5*sin(t)", "0", 0, 6.3, 0.1));
    LevelPoints.assign(50, Vertex3D{1, 1, 1, 1, 1, 1});
    LevelPointCount = 50;
    ++LevelGeneration;
    const struct {
        int mode;
        bool trajectory;
        int minimum, maximum; // lit pixels
    } cases[] = {
        {pmSurface, false, 5000, 1000000}, // a filled square
        {pmPatch, false, 5000, 1000000},
        {pmCurve, false, 50, 3000}, // a thin circle
        {pmImplicit, false, 1, 50}, // points at one place
        {pmYx, false, 0, 0},
        {pmYx, true, 50, 3000}, // "рисовать траекторию" in any mode
    };
    for (const auto& c : cases) {
        options.Mode = c.mode;
        options.Trajectory = c.trajectory;
        const int lit = Count(Frame(), Lit);
        EXPECT_GE(lit, c.minimum) << c.mode << " " << c.trajectory;
        EXPECT_LE(lit, c.maximum) << c.mode << " " << c.trajectory;
    }
}

// A surface on -10 .. 10 is 4 units wide at the scale 0.2, inside the axes,
// which run from -2.5 to 2.5: a strip along X covers four fifths of the X
// axis and leaves its arrow head alone.
TEST_F(Render, TheDefaultSurfaceLiesInsideTheAxes) {
    options.Mode = pmSurface;
    auto columns = [](const QImage& f, bool (*test)(int, int, int)) {
        int lo = f.width(), hi = -1;
        for (int y = 0; y < f.height(); ++y)
            for (int x = 0; x < f.width(); ++x) {
                const QRgb p = f.pixel(x, y);
                if (test(qRed(p), qGreen(p), qBlue(p))) lo = std::min(lo, x), hi = std::max(hi, x);
            }
        return std::make_pair(lo, hi);
    };
    const QImage axes = Frame();
    const auto [axisLeft, axisRight] = columns(axes, Red);
    const int head = Count(axes, Red, QRect(70, 280, 40, 40));
    ASSERT_TRUE(BuildSurfaceZxy("0", {-10, 10, 0.2, -0.2, 0.2, 0.2}));
    const QImage both = Frame();
    EXPECT_EQ(Count(both, Red, QRect(70, 280, 40, 40)), head); // the head is not covered
    options.Axes = false;
    const auto [stripLeft, stripRight] = columns(Frame(), Lit);
    const double ratio = static_cast<double>(stripRight - stripLeft) / (axisRight - axisLeft);
    EXPECT_GT(ratio, 0.7);
    EXPECT_LT(ratio, 0.9);
    EXPECT_GT(stripLeft, axisLeft);
    EXPECT_LT(stripRight, axisRight);
}

TEST_F(Render, StereoHalvesOfAnOddWidth) {
    form->resize(401, 300);
    QTest::qWait(50);
    StereoSplit = true;
    const QImage f = Frame();
    ASSERT_EQ(f.width() % 2, 1);
    const int half = f.width() / 2;
    // Both halves show the axes; the last column keeps the clear colour.
    EXPECT_GT(Count(f, Green, QRect(0, 0, half, f.height())), 50);
    EXPECT_GT(Count(f, Green, QRect(half, 0, half, f.height())), 50);
    EXPECT_EQ(Count(f, Black, QRect(f.width() - 1, 0, 1, f.height())), f.height());
    // The halves differ by the eye angle of 3 degrees either way.
    EXPECT_NE(f.copy(0, 0, half, f.height()), f.copy(half, 0, half, f.height()));
    StereoSplit = false;
}

TEST_F(Render, WireframeOutlinesTheCells) {
    options.Mode = pmSurface;
    options.Axes = false;
    ASSERT_TRUE(BuildSurfaceZxy("0", {-10, 10, 10, -10, 10, 10})); // 2 x 2 cells
    const int filled = Count(Frame(), Lit);
    Wireframe = true;
    const int outlined = Count(Frame(), Lit);
    Wireframe = false;
    EXPECT_GT(filled, 5000);
    EXPECT_GT(outlined, 100);
    EXPECT_LT(outlined, filled / 5);
}

TEST_F(Render, DisplayListsDrawTheSamePictureAsVertexByVertex) {
    SeedRandom(9);
    RandomiseColourCoeffs();
    ASSERT_TRUE(BuildSurfaceZxy("sin(x)*cos(y)*3", {-10, 10, 0.5, -10, 10, 0.5}));
    ASSERT_TRUE(BuildCurve3D("cos(t)*8", "sin(t)*8", "t", 0, 12, 0.05));
    for (bool wire : {false, true}) {
        Wireframe = wire;
        options.Mode = pmSurface;
        options.Trajectory = true;
        options.DisplayLists = false;
        const QImage direct = Frame();
        options.DisplayLists = true;
        const QImage listed = Frame();
        const QImage again = Frame(); // from the same, unchanged lists
        EXPECT_EQ(direct, listed) << wire;
        EXPECT_EQ(listed, again) << wire;
    }
    Wireframe = false;
    // A rebuilt buffer is drawn anew, not from its old list.
    const QImage before = Frame();
    ASSERT_TRUE(BuildSurfaceZxy("x", {-10, 10, 0.5, -10, 10, 0.5}));
    EXPECT_NE(Frame(), before);
}

// A surface big enough for its arrays to be filled on threads, with cells
// left out in the first, a middle and the last row: the arrays in our memory
// and in buffer objects draw what the cells drawn one by one draw.
TEST_F(Render, TheSurfaceArraysDrawTheCellsWhereverTheyLive) {
    SeedRandom(4);
    RandomiseColourCoeffs();
    options.Mode = pmSurface;
    ASSERT_TRUE(BuildSurfaceZxy("sin(x)*cos(y)*3", {-10, 10, 20.0 / 299, -10, 10, 20.0 / 299}));
    ASSERT_EQ(SurfaceRows * SurfaceCols, 300 * 300);
    SurfaceGrid[0][7].z = std::numeric_limits<double>::quiet_NaN();
    for (int j = 0; j < 300; j += 3)
        SurfaceGrid[150][j].x = std::numeric_limits<double>::infinity();
    SurfaceGrid[299][299].y = 1e300;
    ++SurfaceGeneration;
    SetBuildThreads(3);
    options.DisplayLists = false;
    const QImage direct = Frame();
    options.DisplayLists = true;
    for (const TSurfaceArrays place : {TSurfaceArrays::Client, TSurfaceArrays::Buffers}) {
        SurfaceArrays = place;
        EXPECT_EQ(Frame(), direct) << static_cast<int>(place);
    }
    // A rebuilt surface is drawn from its new arrays, in both places.
    ASSERT_TRUE(BuildSurfaceZxy("x/4", {-10, 10, 20.0 / 299, -10, 10, 20.0 / 299}));
    options.DisplayLists = false;
    const QImage rebuilt = Frame();
    EXPECT_NE(rebuilt, direct);
    options.DisplayLists = true;
    for (const TSurfaceArrays place : {TSurfaceArrays::Client, TSurfaceArrays::Buffers}) {
        SurfaceArrays = place;
        EXPECT_EQ(Frame(), rebuilt) << static_cast<int>(place);
    }
    // Buffer objects that something else left bound do not capture the
    // pointers into our memory.
    form->View->makeCurrent();
    QOpenGLFunctions* f = form->View->context()->functions();
    GLuint stray[2] = {};
    f->glGenBuffers(2, stray);
    f->glBindBuffer(GL_ARRAY_BUFFER, stray[0]);
    f->glBufferData(GL_ARRAY_BUFFER, 64, nullptr, GL_STATIC_DRAW);
    f->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, stray[1]);
    f->glBufferData(GL_ELEMENT_ARRAY_BUFFER, 64, nullptr, GL_STATIC_DRAW);
    form->View->doneCurrent();
    SurfaceArrays = TSurfaceArrays::Client;
    EXPECT_EQ(Frame(), rebuilt);
    form->View->makeCurrent();
    f->glDeleteBuffers(2, stray);
    form->View->doneCurrent();
    SurfaceArrays = TSurfaceArrays::Auto;
    SetBuildThreads(0);
}

TEST_F(Render, VerticesThatAreNotFiniteAreLeftOut) {
    options.Mode = pmSurface;
    options.Axes = false;
    ASSERT_TRUE(BuildSurfaceZxy("0", {-10, 10, 1, -10, 10, 1}));
    const int whole = Count(Frame(), Lit);
    const double bad[] = {std::numeric_limits<double>::infinity(),
                          std::numeric_limits<double>::quiet_NaN(), 1e300};
    for (double v : bad) {
        SurfaceGrid[10][10].z = v;
        SurfaceGrid[10][10].r = v;
        ++SurfaceGeneration;
        const int lit = Count(Frame(), Lit);
        EXPECT_LT(lit, whole) << v; // the four cells around it are missing
        EXPECT_GT(lit, whole / 2) << v;
    }
    // A point of the curve at infinity breaks the strip there.
    options.Mode = pmCurve;
    ASSERT_TRUE(BuildCurve3D("5*cos(t)", "5*sin(t)", "0", 0, 6.3, 0.1));
    const int curve = Count(Frame(), Lit);
    CurvePoints[30].y = std::numeric_limits<double>::infinity();
    ++CurveGeneration;
    const int broken = Count(Frame(), Lit);
    EXPECT_LT(broken, curve);
    EXPECT_GT(broken, curve * 8 / 10);
}

TEST_F(Render, AResizeRedrawsWithTheNewAspect) {
    const int frames = form->FramesDrawn;
    form->resize(300, 200);
    QTest::qWait(100);
    const QImage f = Frame();
    EXPECT_EQ(f.width(), 300 * static_cast<int>(form->devicePixelRatioF()));
    EXPECT_GT(form->FramesDrawn, frames);
    EXPECT_GT(Count(f, Green), 50);
}

} // namespace

namespace {

// A build or a key draws the frame itself; the paint that follows shows that
// frame and neither draws nor clears it again.
TEST_F(Render, TheFrameTheWindowDrawsIsTheOneShown) {
    // What the window's framebuffer holds, read without drawing.
    auto held = [this] {
        form->View->makeCurrent();
        const QSize size = form->View->size() * form->View->devicePixelRatioF();
        QImage image(size, QImage::Format_RGBA8888);
        glReadPixels(0, 0, size.width(), size.height(), GL_RGBA, GL_UNSIGNED_BYTE, image.bits());
        form->View->doneCurrent();
        return image.mirrored().convertToFormat(QImage::Format_RGB32);
    };
    form->FormPaint();
    const int frames = form->FramesDrawn;
    QTest::qWait(100);                    // the paint that shows it
    EXPECT_EQ(form->FramesDrawn, frames); // shown, not drawn again
    EXPECT_GT(Count(held(), Green), 50);
    form->FormKeyDown(Qt::Key_L, Qt::NoModifier);
    QTest::qWait(100);
    EXPECT_EQ(form->FramesDrawn, frames + 1);
    EXPECT_GT(Count(held(), Green), 50);
    Wireframe = false;
}

} // namespace

#include "view3d/FrameImage.h"

namespace {

// The frame drawn into a framebuffer of its own is the window's frame, and
// it can be larger than the window (and the screen).
TEST_F(Render, AFrameOfItsOwnIsTheWindowsFrameAtAnySize) {
    SeedRandom(9);
    RandomiseColourCoeffs();
    ASSERT_TRUE(BuildSurfaceZxy("sin(x)*cos(y)*3", {-10, 10, 0.5, -10, 10, 0.5}));
    options.Mode = pmSurface;
    for (bool wire : {false, true}) {
        Wireframe = wire;
        const QImage shown = Frame();
        const QImage own = RenderFrame(shown.width(), shown.height(), options);
        EXPECT_TRUE(own == shown) << wire;
    }
    Wireframe = false;
    const QImage big = RenderFrame(2400, 1800, options);
    ASSERT_EQ(big.size(), QSize(2400, 1800));
    EXPECT_GT(Count(big, Lit), 500000);
    EXPECT_EQ(Count(big, Lit, QRect(0, 0, 50, 50)), 0); // the corner stays black
}

} // namespace
