// The flying camera: the eye on a point of the space curve, looking at the
// next point, the previous one or the origin, stepped by the arrow keys or
// the 3D window's timer.
#pragma once

#include <cstdint>

// The 3D window draws the trajectory-camera frame instead of the turntable.
extern bool FollowTrajectory;
// The point of CurvePoints where the eye is.
extern std::int32_t CameraIndex;

// Sets the eye on point CameraIndex and the target by ViewAlongMode (1 the
// next point, 2 the previous one, 3 the origin). A curve of fewer than three
// points gives no flight: nothing changes. An index beyond the last point,
// left by a curve rebuilt shorter, wraps to point 1 first.
void PlaceCamera();

// One point forward (+1) or back (-1), the index kept in 1 ... CurveCount - 1,
// then PlaceCamera.
void StepCamera(int direction);

// One tick of the flight: PlaceCamera, then one point on (after the last,
// point 1 again).
void FlyCamera();

// Before the first step: the eye on point 1, looking at point 2.
void CameraAtStart();
