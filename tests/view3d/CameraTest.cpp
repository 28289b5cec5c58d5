// The flying camera: its index along the curve, where it looks, short and
// rebuilt curves, and the trajectory-camera frame of the 3D window.
#include "Window3DSupport.h"

#include "document/Settings.h"
#include "view3d/FlyingCamera.h"

namespace {

// A curve of `n` points, point k at (k, 0, 0).
void Line(int n) {
    CurvePoints.assign(n, Vertex3D{});
    for (int k = 0; k < n; ++k)
        CurvePoints[k].x = k;
    CurveCount = n;
    ++CurveGeneration;
}

class Camera : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetViewState();
        ViewAlongMode = 1;
        CameraIndex = 0;
    }
    void TearDown() override {
        ViewAlongMode = 1;
        FollowTrajectory = false;
        CameraIndex = 0;
        CurvePoints.clear();
        CurveCount = 0;
    }
};

TEST_F(Camera, TheDefaultCurveFlownForwardComesBackAfter199Ticks) {
    Line(200);
    CameraIndex = 1; // as the dialog's button starts a flight
    int ticks = 0;
    do {
        if (CameraIndex == 199) {
            PlaceCamera();
            EXPECT_EQ(CameraCentre[0], 1); // from the last point, point 1 ahead
        }
        FlyCamera();
        ++ticks;
    } while (CameraIndex != 1 && ticks < 1000);
    EXPECT_EQ(ticks, 199);
    EXPECT_TRUE(CameraPlaced);
}

TEST_F(Camera, WhereTheCameraLooks) {
    Line(50);
    const struct {
        const char* name;
        int mode, index, step;
        float eye, centre;
    } cases[] = {
        {"forward", 1, 10, 0, 10, 11},
        {"forward from the last point", 1, 49, 0, 49, 1},
        {"backward", 2, 10, 0, 10, 9},
        {"backward at index 1", 2, 1, 0, 1, 49},
        {"toward the origin", 3, 20, 0, 20, 0},
        {"a step forward past the end", 1, 49, +1, 1, 2},
        {"a step back at index 1", 1, 1, -1, 49, 1},
        {"a step back from 0", 2, 0, -1, 49, 48},
    };
    for (const auto& c : cases) {
        ViewAlongMode = static_cast<std::uint8_t>(c.mode);
        CameraIndex = c.index;
        if (c.step != 0)
            StepCamera(c.step);
        else
            PlaceCamera();
        EXPECT_EQ(CameraEye[0], c.eye) << c.name;
        EXPECT_EQ(CameraCentre[0], c.centre) << c.name;
    }
}

TEST_F(Camera, AnIndexLeftBeyondARebuiltCurveWrapsToPointOne) {
    Line(200);
    CameraIndex = 150;
    Line(10);
    PlaceCamera();
    EXPECT_EQ(CameraIndex, 1);
    EXPECT_EQ(CameraEye[0], 1);
    CameraIndex = 150;
    FlyCamera();
    EXPECT_EQ(CameraIndex, 2);
}

TEST_F(Camera, CurvesOfFewerThanThreePointsGiveNoFlight) {
    for (int n : {0, 1, 2}) {
        Line(n);
        CameraIndex = 5;
        CameraEye[0] = 42;
        PlaceCamera();
        StepCamera(+1);
        StepCamera(-1);
        FlyCamera();
        CameraAtStart();
        EXPECT_EQ(CameraEye[0], 42) << n;
        EXPECT_EQ(CameraIndex, 5) << n;
    }
}

// --- the trajectory-camera frame, drawn

class TrajectoryFrame : public Window3D {
  protected:
    void TearDown() override {
        FollowTrajectory = false;
        CameraIndex = 0;
        Window3D::TearDown();
    }
};

TEST_F(TrajectoryFrame, ACurveIsBuiltFromTheDocumentWhenThereIsNone) {
    int builds = 0;
    form->BuildTrajectory = [&] {
        ++builds;
        BuildCurve3D("5*cos(t)", "5*sin(t)", "t/10", 0, 6.3, 0.05);
    };
    FollowTrajectory = true;
    options.Mode = pmCurve;
    const QImage f = Frame();
    EXPECT_EQ(builds, 1);
    EXPECT_GT(CurveCount, 100);
    EXPECT_GT(Count(f, Lit), 20); // the path ahead of the camera
    // Drawn from the start: eye on point 1, looking at point 2.
    EXPECT_EQ(CameraEye[0], static_cast<float>(CurvePoints[1].x));
    EXPECT_EQ(CameraCentre[1], static_cast<float>(CurvePoints[2].y));
    Frame();
    EXPECT_EQ(builds, 1); // only while there is no curve
}

TEST_F(TrajectoryFrame, NeitherAxesNorTrackballInThisView) {
    ASSERT_TRUE(BuildCurve3D("5*cos(t)", "5*sin(t)", "0", 0, 6.3, 0.05));
    FollowTrajectory = true;
    options.Axes = true;
    options.Mode = pmSurface;          // the curve is not drawn in this mode ...
    EXPECT_EQ(Count(Frame(), Lit), 0); // ... nor the axes
    options.Trajectory = true;         // "рисовать траекторию"
    const QImage path = Frame();
    EXPECT_GT(Count(path, Lit), 20);
    form->FormMouseDown(10, 10);
    form->FormMouseMove(200, 150); // turns the trackball, which this view ignores
    form->FormMouseUp();
    EXPECT_EQ(Frame(), path);
}

TEST_F(TrajectoryFrame, ArrowsAndTheTimerMoveTheCamera) {
    ASSERT_TRUE(BuildCurve3D("t", "0", "0", 0, 10, 1)); // points at x = 0 ... 10
    FollowTrajectory = true;
    CameraIndex = 1;
    const double offset = ViewOffsetZ;
    form->FormKeyDown(Qt::Key_Up, Qt::NoModifier);
    EXPECT_EQ(CameraIndex, 2);
    EXPECT_EQ(CameraEye[0], 2);
    EXPECT_EQ(ViewOffsetZ, offset); // not the turntable's distance
    form->FormKeyDown(Qt::Key_Down, Qt::NoModifier);
    form->FormKeyDown(Qt::Key_Down, Qt::NoModifier);
    EXPECT_EQ(CameraIndex, 10);
    form->Timer1Timer();
    EXPECT_EQ(CameraEye[0], 10);
    EXPECT_EQ(CameraIndex, 1);
    const float spin = SpinAngles[0];
    SpinSpeeds[0] = 5;
    form->Timer1Timer();
    EXPECT_EQ(SpinAngles[0], spin); // the timer flies instead of spinning
}

} // namespace
