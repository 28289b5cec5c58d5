#include "view3d/FlyingCamera.h"

#include "document/Settings.h"
#include "geometry3d/Buffers.h"
#include "view3d/ViewState.h"

bool FollowTrajectory = false;
std::int32_t CameraIndex = 0;

namespace {

// Fewer points than this give no flight (the start needs points 1 and 2).
constexpr std::int32_t FlightPoints = 3;

bool CanFly() {
    return CurveCount >= FlightPoints &&
           static_cast<std::int32_t>(CurvePoints.size()) >= CurveCount;
}

void SetPoint(float (&v)[3], std::int32_t index) {
    const Vertex3D& p = CurvePoints[index];
    v[0] = static_cast<float>(p.x);
    v[1] = static_cast<float>(p.y);
    v[2] = static_cast<float>(p.z);
}

} // namespace

void PlaceCamera() {
    if (!CanFly()) return;
    if (CameraIndex >= CurveCount || CameraIndex < 0) CameraIndex = 1;
    SetPoint(CameraEye, CameraIndex);
    switch (ViewAlongMode) {
    case 2: { // backward; from point 1 (or 0) to the last point
        const std::int32_t j = CameraIndex <= 1 ? CurveCount - 1 : CameraIndex - 1;
        SetPoint(CameraCentre, j);
        break;
    }
    case 3: // the origin
        CameraCentre[0] = CameraCentre[1] = CameraCentre[2] = 0;
        break;
    default: { // forward; from the last point to point 1
        const std::int32_t j = CameraIndex < CurveCount - 1 ? CameraIndex + 1 : 1;
        SetPoint(CameraCentre, j);
        break;
    }
    }
    CameraPlaced = true;
}

void StepCamera(int direction) {
    if (!CanFly()) return;
    if (direction > 0) {
        ++CameraIndex;
        if (CameraIndex >= CurveCount) CameraIndex = 1;
    } else {
        --CameraIndex;
        if (CameraIndex <= 0) CameraIndex = CurveCount - 1;
    }
    PlaceCamera();
}

void FlyCamera() {
    if (!CanFly()) return;
    PlaceCamera();
    ++CameraIndex;
    if (CameraIndex >= CurveCount) CameraIndex = 1;
}

void CameraAtStart() {
    if (!CanFly()) return;
    SetPoint(CameraEye, 1);
    SetPoint(CameraCentre, 2);
}
