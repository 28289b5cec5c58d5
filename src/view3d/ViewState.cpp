#include "view3d/ViewState.h"

#include <cmath>

double ViewOffsetZ = -5.2;
double ViewScale = 0.2;
float SpinAngles[3] = {-60, 0, -120};
float SpinSpeeds[3] = {0, 0, 0};
double TrackUp[3] = {0, 1, 0};
double TrackRight[3] = {1, 0, 0};
bool Dragging = false;
std::int32_t LastMouseX = 0, LastMouseY = 0;
std::int32_t KeyStep = 0;
bool StereoSplit = false;
bool Wireframe = false;
float ArrowCircle[13][2] = {};
float CameraEye[3] = {0, 0, 0}, CameraCentre[3] = {0, 0, 0}, CameraUp[3] = {1, 1, 1};
bool CameraPlaced = false;

void ResetViewState() {
    ViewOffsetZ = -5.2;
    ViewScale = 0.2;
    StereoSplit = false;
    CameraPlaced = false;
    const float angles[3] = {-60, 0, -120};
    for (int i = 0; i < 3; ++i) {
        SpinAngles[i] = angles[i];
        SpinSpeeds[i] = 0;
        CameraEye[i] = 0;
        CameraCentre[i] = 0;
        CameraUp[i] = 1;
        TrackUp[i] = i == 1 ? 1 : 0;
        TrackRight[i] = i == 0 ? 1 : 0;
    }
    Wireframe = false;
    Dragging = false;
    BuildArrowCircle();
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
