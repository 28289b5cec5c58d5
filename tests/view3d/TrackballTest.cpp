// The trackball arithmetic, the mouse and the keys of the 3D window.
#include "Window3DSupport.h"

#include "engine/Engine.h"
#include "view3d/Trackball.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

constexpr double Pi = 3.141592653589793;

TEST(Trackball, QuaternionsAndVectors) {
    const double v[3] = {3, 4, 12};
    EXPECT_EQ(VectorLength(v), 13);
    const TQuaternion i{0, 1, 0, 0}, j{0, 0, 1, 0}, k{0, 0, 0, 1};
    const TQuaternion ij = QuatMultiply(i, j); // i j = k
    EXPECT_EQ(ij.w, 0);
    EXPECT_EQ(ij.z, 1);
    const TQuaternion ji = QuatMultiply(j, i); // j i = -k
    EXPECT_EQ(ji.z, -1);
    const TQuaternion kk = QuatMultiply(k, k); // k k = -1
    EXPECT_EQ(kk.w, -1);

    double x[3] = {1, 0, 0};
    const double zAxis[3] = {0, 0, 2}; // its length does not matter
    RotateVector(x, zAxis, 90);
    EXPECT_NEAR(x[0], 0, 1e-15);
    EXPECT_NEAR(x[1], 1, 1e-15);
    double y[3] = {0, 2, 0};
    const double none[3] = {0, 0, 0};
    RotateVector(y, none, 60); // a zero axis: scaled by cos^2 30 degrees
    EXPECT_NEAR(y[1], 2 * 0.75, 1e-15);
}

TEST(Trackball, RotationsOfTheInitialAndATurnedFrame) {
    const double up[3] = {0, 1, 0}, right[3] = {1, 0, 0};
    const TTrackballRotations initial = TrackballRotations(up, right);
    ASSERT_EQ(initial.Count, 1); // the first step is left out: n is zero
    EXPECT_EQ(initial.Angle[0], 0);
    EXPECT_EQ(initial.Axis[0][1], 1);

    // The frame turned by 30 degrees about X: one rotation puts up back on Y.
    double turnedUp[3] = {0, 1, 0};
    const double xAxis[3] = {1, 0, 0};
    RotateVector(turnedUp, xAxis, 30);
    const TTrackballRotations turned = TrackballRotations(turnedUp, right);
    ASSERT_EQ(turned.Count, 2);
    EXPECT_NEAR(turned.Angle[0], -30, 1e-5);
    EXPECT_NEAR(std::fabs(turned.Angle[1]), 0, 1e-5);
    // An up vector beyond the unit sphere is clamped, not a NaN.
    const double long_[3] = {0, 1.0000001, 0};
    const TTrackballRotations clamped = TrackballRotations(long_, right);
    EXPECT_FALSE(std::isnan(clamped.Angle[clamped.Count - 1]));
}

class Keys : public Window3D {};
class Mouse : public Window3D {};

TEST_F(Mouse, ADragOf30PixelsTurnsTheRightVectorByTenDegrees) {
    form->FormMouseDown(100, 100);
    form->FormMouseMove(130, 100);
    EXPECT_NEAR(TrackRight[0], std::cos(10 * Pi / 180), 1e-15);
    EXPECT_NEAR(TrackRight[1], 0, 1e-15);
    EXPECT_NEAR(TrackRight[2], std::sin(10 * Pi / 180), 1e-15);
    EXPECT_EQ(TrackUp[1], 1);
    form->FormMouseUp();
    form->FormMouseMove(200, 200); // no button: nothing turns
    EXPECT_NEAR(TrackRight[0], std::cos(10 * Pi / 180), 1e-15);
    EXPECT_FALSE(Dragging);
}

// The matrix of the trackball's rotations as OpenGL makes it, in doubles.
struct Matrix {
    double m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    // This times the rotation by `degrees` about `axis` (glRotate's rule).
    void Rotate(double degrees, const float axis[3]) {
        const double l = std::sqrt(axis[0] * axis[0] + axis[1] * axis[1] + axis[2] * axis[2]);
        const double x = axis[0] / l, y = axis[1] / l, z = axis[2] / l;
        const double c = std::cos(degrees * Pi / 180), s = std::sin(degrees * Pi / 180);
        const double r[3][3] = {
            {x * x * (1 - c) + c, x * y * (1 - c) - z * s, x * z * (1 - c) + y * s},
            {y * x * (1 - c) + z * s, y * y * (1 - c) + c, y * z * (1 - c) - x * s},
            {z * x * (1 - c) - y * s, z * y * (1 - c) + x * s, z * z * (1 - c) + c}};
        double p[3][3] = {};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                for (int k = 0; k < 3; ++k)
                    p[i][j] += m[i][k] * r[k][j];
        std::copy(&p[0][0], &p[0][0] + 9, &m[0][0]);
    }
    void Apply(const double v[3], double out[3]) const {
        for (int i = 0; i < 3; ++i)
            out[i] = m[i][0] * v[0] + m[i][1] * v[1] + m[i][2] * v[2];
    }
};

Matrix TrackballMatrix() {
    const TTrackballRotations r = TrackballRotations(TrackUp, TrackRight);
    Matrix m;
    for (int i = 0; i < r.Count; ++i)
        m.Rotate(r.Angle[i], r.Axis[i]);
    return m;
}

double Dot(const double a[3], const double b[3]) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

// Random drags: the frame stays orthonormal, and the picture's rotations
// carry it back onto the axes (up onto Y, right onto X).
TEST_F(Mouse, RandomDragsKeepTheFrameAndItsRotationsCarryItOntoTheAxes) {
    std::mt19937 random(5);
    std::uniform_int_distribution<int> step(-40, 40);
    for (int drag = 0; drag < 50; ++drag) {
        ResetViewState();
        int x = 200, y = 200;
        form->FormMouseDown(x, y);
        for (int move = 0; move < 1 + drag % 7; ++move)
            form->FormMouseMove(x += step(random), y += step(random));
        form->FormMouseUp();
        EXPECT_NEAR(Dot(TrackUp, TrackUp), 1, 1e-12) << drag;
        EXPECT_NEAR(Dot(TrackRight, TrackRight), 1, 1e-12) << drag;
        EXPECT_NEAR(Dot(TrackUp, TrackRight), 0, 1e-12) << drag;
        const Matrix m = TrackballMatrix();
        double up[3], right[3];
        m.Apply(TrackUp, up);
        m.Apply(TrackRight, right);
        EXPECT_NEAR(up[1], 1, 1e-5) << drag;
        EXPECT_NEAR(right[0], 1, 1e-5) << drag;
    }
}

// A drag to the right turns the picture to the right: a point in front of
// the origin (toward the eye) moves right; a drag down moves it down.
TEST_F(Mouse, ThePictureTurnsWithTheMouse) {
    const double front[3] = {0, 0, 1};
    const struct {
        int dx, dy;
        int sx, sy; // the signs of the point's moves on the screen
    } drags[] = {{30, 0, 1, 0}, {-30, 0, -1, 0}, {0, 30, 0, -1}, {0, -30, 0, 1}};
    for (const auto& d : drags) {
        ResetViewState();
        form->FormMouseDown(200, 200);
        form->FormMouseMove(200 + d.dx, 200 + d.dy);
        form->FormMouseUp();
        double moved[3];
        TrackballMatrix().Apply(front, moved);
        auto sign = [](double v) { return std::fabs(v) < 1e-9 ? 0 : v > 0 ? 1 : -1; };
        EXPECT_EQ(sign(moved[0]), d.sx) << d.dx << "," << d.dy;
        EXPECT_EQ(sign(moved[1]), d.sy) << d.dx << "," << d.dy; // y grows upward
    }
}

TEST_F(Mouse, ApplyTrackballOfTheInitialFrameLeavesTheMatrix) {
    form->View->makeCurrent();
    glLoadIdentity();
    ApplyTrackball(TrackUp, TrackRight);
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(m[i], i % 5 == 0 ? 1 : 0) << i;
    // A frame turned by 90 degrees about Z: up is (-1, 0, 0); the matrix
    // turns it back onto Y.
    const double up[3] = {-1, 0, 0}, right[3] = {0, 1, 0};
    glLoadIdentity();
    ApplyTrackball(up, right);
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    const float upOnY = m[1] * static_cast<float>(up[0]) + m[5] * static_cast<float>(up[1]);
    EXPECT_NEAR(upOnY, 1, 1e-6);
    form->View->doneCurrent();
}

TEST_F(Keys, TheKeyTable) {
    const struct {
        const char* name;
        int key;
        Qt::KeyboardModifiers modifiers;
        int times;
        double offsetZ, scale;
        bool wireframe, split;
    } cases[] = {
        {"Up with Shift, ten times", Qt::Key_Up, Qt::ShiftModifier, 10, -4.2, 0.2, false, false},
        {"Up with Ctrl", Qt::Key_Up, Qt::ControlModifier, 1, -5.15, 0.2, false, false},
        {"Down", Qt::Key_Down, Qt::NoModifier, 2, -5.22, 0.2, false, false},
        {"Insert", Qt::Key_Insert, Qt::NoModifier, 1, 0, 0.2, false, false},
        {"keypad + three times", Qt::Key_Plus, Qt::KeypadModifier, 3, -5.2, 0.675, false, false},
        {"keypad -", Qt::Key_Minus, Qt::KeypadModifier, 1, -5.2, 0.2 / 1.5, false, false},
        {"main keyboard + does nothing", Qt::Key_Plus, Qt::NoModifier, 1, -5.2, 0.2, false, false},
        {"L", Qt::Key_L, Qt::NoModifier, 1, -5.2, 0.2, true, false},
        {"L twice", Qt::Key_L, Qt::NoModifier, 2, -5.2, 0.2, false, false},
        {"S", Qt::Key_S, Qt::NoModifier, 1, -5.2, 0.2, false, true},
        {"Home", Qt::Key_Home, Qt::NoModifier, 1, -5.2, 0.2, false, false},
    };
    for (const auto& c : cases) {
        ResetViewState();
        const int frames = form->FramesDrawn;
        for (int i = 0; i < c.times; ++i)
            form->FormKeyDown(c.key, c.modifiers);
        EXPECT_NEAR(ViewOffsetZ, c.offsetZ, 1e-12) << c.name;
        EXPECT_NEAR(ViewScale, c.scale, 1e-15) << c.name;
        EXPECT_EQ(Wireframe, c.wireframe) << c.name;
        EXPECT_EQ(StereoSplit, c.split) << c.name;
        EXPECT_EQ(form->FramesDrawn, frames + c.times) << c.name; // a frame after every key
    }
}

// Home brings the view back to its start after drags, keys and the spin.
TEST_F(Keys, HomeRestoresTheStartView) {
    form->FormMouseDown(100, 100);
    form->FormMouseMove(170, 140);
    form->FormMouseUp();
    for (int key : {Qt::Key_Up, Qt::Key_Up, Qt::Key_L})
        form->FormKeyDown(key, Qt::NoModifier);
    form->FormKeyDown(Qt::Key_Plus, Qt::KeypadModifier);
    SpinAngles[1] = 33;
    form->FormKeyDown(Qt::Key_Home, Qt::NoModifier);
    EXPECT_EQ(ViewOffsetZ, -5.2);
    EXPECT_EQ(ViewScale, 0.2);
    EXPECT_EQ(TrackUp[1], 1);
    EXPECT_EQ(TrackRight[0], 1);
    EXPECT_EQ(TrackRight[2], 0);
    EXPECT_EQ(SpinAngles[0], -60);
    EXPECT_EQ(SpinAngles[1], 0);
    EXPECT_TRUE(Wireframe); // the drawing style is not the view
}

TEST_F(Keys, EscapeAndTheCloseBoxOnlyHide) {
    form->FormKeyDown(Qt::Key_Escape, Qt::NoModifier);
    EXPECT_FALSE(form->isVisible());
    form->show();
    form->close();
    EXPECT_FALSE(form->isVisible());
    form->show();
    EXPECT_TRUE(form->isVisible()); // the same window, shown again
}

TEST_F(Keys, TStartsAndStopsTheSpinWithNewSpeedsEachTime) {
    SeedRandom(3);
    form->FormKeyDown(Qt::Key_T, Qt::NoModifier);
    EXPECT_TRUE(form->Timer1->isActive());
    EXPECT_EQ(form->Timer1->interval(), 50);
    const float first[3] = {SpinSpeeds[0], SpinSpeeds[1], SpinSpeeds[2]};
    for (float s : first) {
        EXPECT_GE(s, -3);
        EXPECT_LT(s, 3);
    }
    form->FormKeyDown(Qt::Key_T, Qt::NoModifier);
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_NE(SpinSpeeds[0], first[0]);
}

TEST_F(Keys, TheSpinWrapsItsAngles) {
    const struct {
        float angle, speed, after;
    } cases[] = {{359, 2.5f, 1.5f}, {-359, -2.5f, -1.5f}, {10, 2.5f, 12.5f}, {357.5f, 2.5f, 0}};
    for (const auto& c : cases) {
        SpinAngles[0] = c.angle;
        SpinSpeeds[0] = c.speed;
        SpinSpeeds[1] = SpinSpeeds[2] = 0;
        form->Timer1Timer();
        EXPECT_FLOAT_EQ(SpinAngles[0], c.after) << c.angle << " + " << c.speed;
    }
}

TEST_F(Keys, TheWindowAndItsStartState) {
    EXPECT_EQ(form->windowTitle().toStdString(), "3D");
    EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(form->Button1->isHidden());
    EXPECT_EQ(form->Button1->text().toStdString(), "Отмена");
    EXPECT_TRUE(form->ProgressBar1->isHidden());
    EXPECT_EQ(form->ProgressBar1->maximum(), 100);
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_EQ(ViewOffsetZ, -5.2);
    EXPECT_EQ(ViewScale, 0.2);
    EXPECT_EQ(SpinAngles[2], -120);
    EXPECT_EQ(CameraUp[0], 1);
    // The arrow circle: radius 0.1 every 30 degrees, entry 12 back at 0.
    for (int k = 0; k <= 12; ++k) {
        EXPECT_NEAR(ArrowCircle[k][0], 0.1 * std::cos(k * Pi / 6), 1e-7) << k;
        EXPECT_NEAR(ArrowCircle[k][1], 0.1 * std::sin(k * Pi / 6), 1e-7) << k;
    }
}

} // namespace
