#include "view3d/ViewState.h"

#include <Qt>

#include <cmath>

// Set to their start values by ResetViewState, below, when the program loads.
double ViewOffsetZ, ViewScale;
float SpinAngles[3], SpinSpeeds[3];
double TrackUp[3], TrackRight[3];
bool Dragging;
std::int32_t LastMouseX = 0, LastMouseY = 0;
std::int32_t KeyStep = 0;
bool StereoSplit, Wireframe;
float ArrowCircle[13][2];
float CameraEye[3], CameraCentre[3], CameraUp[3];
bool CameraPlaced;

void ResetViewState() {
    ViewOffsetZ = StartOffsetZ;
    ViewScale = StartScale;
    StereoSplit = false;
    CameraPlaced = false;
    ResetOrientation();
    for (int i = 0; i < 3; ++i) {
        SpinSpeeds[i] = 0;
        CameraEye[i] = 0;
        CameraCentre[i] = 0;
        CameraUp[i] = 1;
    }
    Wireframe = false;
    Dragging = false;
    BuildArrowCircle();
}

void ResetOrientation() {
    const float angles[3] = {-60, 0, -120};
    for (int i = 0; i < 3; ++i) {
        SpinAngles[i] = angles[i];
        TrackUp[i] = i == 1 ? 1 : 0;
        TrackRight[i] = i == 0 ? 1 : 0;
    }
}

namespace {
[[maybe_unused]] const bool ViewStateStarted = (ResetViewState(), true);
}

void BuildArrowCircle() {
    const long double angle = 3.14159265358979323846264338327950288L / 6;
    const long double c = std::cos(angle), s = std::sin(angle);
    ArrowCircle[0][0] = 0.1f;
    ArrowCircle[0][1] = 0.0f;
    for (int k = 1; k <= 12; ++k) {
        const long double a = ArrowCircle[k - 1][0], b = ArrowCircle[k - 1][1];
        ArrowCircle[k][0] = static_cast<float>(a * c - b * s);
        ArrowCircle[k][1] = static_cast<float>(a * s + b * c);
    }
}

TKeyView CurrentKeyView() {
    return {ViewOffsetZ, ViewScale, Wireframe, StereoSplit};
}

void SetKeyView(const TKeyView& view) {
    ViewOffsetZ = view.OffsetZ;
    ViewScale = view.Scale;
    Wireframe = view.Wireframe;
    StereoSplit = view.Stereo;
}

TKeyOutcome ViewKey(int key, bool shift, bool control, bool keypad, bool followTrajectory,
                    const TKeyView& view) {
    TKeyOutcome out{view, shift ? 10 : control ? 5 : 1, TKeyAction::None};
    TKeyView& v = out.View;
    switch (key) {
    case Qt::Key_Escape:
        out.Action = TKeyAction::Hide;
        break;
    case Qt::Key_Up:
        if (followTrajectory)
            out.Action = TKeyAction::StepForward; // one point on along the trajectory
        else
            v.OffsetZ = static_cast<double>(v.OffsetZ + out.Step * 0.01L); // closer
        break;
    case Qt::Key_Down:
        if (followTrajectory)
            out.Action = TKeyAction::StepBack;
        else
            v.OffsetZ = static_cast<double>(v.OffsetZ - out.Step * 0.01L);
        break;
    case Qt::Key_Insert:
        v.OffsetZ = 0; // the eye at the origin
        break;
    case Qt::Key_Home: // the start distance, scale and orientation
        v.OffsetZ = StartOffsetZ;
        v.Scale = StartScale;
        out.Action = TKeyAction::Home;
        break;
    case Qt::Key_L:
        v.Wireframe = !v.Wireframe;
        break;
    case Qt::Key_S:
        v.Stereo = !v.Stereo;
        break;
    case Qt::Key_T:
        out.Action = TKeyAction::Spin;
        break;
    case Qt::Key_Plus: // only the numeric keypad's
        if (keypad) v.Scale = static_cast<double>(v.Scale * 1.5L);
        break;
    case Qt::Key_Minus:
        if (keypad) v.Scale = static_cast<double>(v.Scale / 1.5L);
        break;
    default:
        break;
    }
    return out;
}
