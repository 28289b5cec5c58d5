// The scene of the 3D window: the view transformations, the coordinate axes
// with their arrow heads, and the buffer of the current mode, drawn with
// OpenGL 1.1 into the current context.
#pragma once

// What the scene needs to know of the main window.
struct TSceneOptions {
    int Mode = 0;            // the checked mode (a TPlotMode code), 0 for none
    bool Axes = true;        // "Рисовать оси координат"
    bool Trajectory = false; // "рисовать траекторию": the curve in every mode
    // The buffers are drawn from display lists, made again only when a
    // buffer changes, and a filled surface as one array of triangles; off,
    // every frame sends every cell as a polygon and every vertex anew. Both
    // give the same picture.
    bool DisplayLists = true;
};

// Where the filled surface's arrays live when display lists are on: in
// memory of ours, handed over at every frame (what a software renderer reads
// fastest), or in buffer objects of the context (what a graphics card
// wants). Auto asks the renderer's name; both give the same picture.
enum class TSurfaceArrays { Auto, Client, Buffers };
extern TSurfaceArrays SurfaceArrays;

// The turntable frame into a client area of w x h pixels: viewport, clear,
// perspective, and the scene once (or twice, for the stereo halves).
void DrawTurntableFrame(int w, int h, const TSceneOptions& options);

// The trajectory-camera frame: the eye on the space curve (CameraEye,
// CameraCentre, CameraUp; points 1 and 2 until the camera has been placed),
// perspective 80 degrees, no axes, no trackball, spin or offset.
void DrawTrajectoryFrame(int w, int h, const TSceneOptions& options);

// The scene turned by `eyeAngle` degrees about the vertical; leaves the
// current matrix as it found it.
void DrawScene(double eyeAngle, const TSceneOptions& options);

void DrawAxes();
void DrawSurface(bool lists);     // one filled quadrilateral per cell
void DrawCurve(bool lists);       // one line strip through the points
void DrawLevelPoints(bool lists); // one point per vertex

// Forgets the display lists, for a context that goes away.
void ReleaseDisplayLists();
