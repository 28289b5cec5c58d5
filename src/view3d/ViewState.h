// The state of the 3D view: distance, scale, spin, the trackball frame, the
// drawing switches and the trajectory camera. Written by the 3D window's
// mouse, keys and timer (and by the flying camera); read when a frame is
// drawn. It persists while the window is hidden.
#pragma once

#include <cstdint>

extern double ViewOffsetZ;   // translation along the viewing axis (-5.2)
extern double ViewScale;     // scale of the buffers, not of the axes (0.2)
extern float SpinAngles[3];  // degrees about X, Y, Z, after the trackball (-60, 0, -120)
extern float SpinSpeeds[3];  // degrees added per spin tick
extern double TrackUp[3];    // trackball frame: (0, 1, 0) ...
extern double TrackRight[3]; // ... and (1, 0, 0)
extern bool Dragging;        // a mouse button is down in the 3D window
extern std::int32_t LastMouseX, LastMouseY;
extern std::int32_t KeyStep; // 1, 5 or 10 by the modifier keys
extern bool StereoSplit;     // side-by-side stereo halves
extern bool Wireframe;       // polygons drawn as outlines

// The base circle of the axis arrow heads: radius 0.1 in steps of 30
// degrees, entry 12 closing the circle.
extern float ArrowCircle[13][2];

// The trajectory camera: eye, target and up vector for gluLookAt.
extern float CameraEye[3], CameraCentre[3], CameraUp[3];
extern bool CameraPlaced; // stepped at least once

// Every value above to its start value, and the arrow circle built.
void ResetViewState();

// The start distance and scale of the view.
constexpr double StartOffsetZ = -5.2;
constexpr double StartScale = 0.2;

// The picture turned back to its start: the trackball frame and the spin angles.
void ResetOrientation();

// The circle made by turning (0.1, 0) by pi/6 again and again in extended
// precision, each entry stored in single precision.
void BuildArrowCircle();

// The part of the view state that the keys of the 3D window change.
struct TKeyView {
    double OffsetZ;
    double Scale;
    bool Wireframe;
    bool Stereo;
};
TKeyView CurrentKeyView();
void SetKeyView(const TKeyView& view);

// What a key asks of the window beyond the view state.
enum class TKeyAction { None, Hide, Spin, StepForward, StepBack, Home };

struct TKeyOutcome {
    TKeyView View;
    std::int32_t Step; // 1, 5 or 10 by the modifiers (KeyStep)
    TKeyAction Action;
};

// A key of the 3D window (Qt's key code; `keypad` for the numeric keypad's
// + and -; `shift` and `control` held). The arrows move the eye along the
// viewing axis, or step the camera while it follows the trajectory.
TKeyOutcome ViewKey(int key, bool shift, bool control, bool keypad, bool followTrajectory,
                    const TKeyView& view);
