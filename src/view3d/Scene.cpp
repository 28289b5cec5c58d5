#include "view3d/Scene.h"

#include "document/PlotDocument.h"
#include "geometry3d/Buffers.h"
#include "view3d/FlyingCamera.h"
#include "view3d/Trackball.h"
#include "view3d/ViewState.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// A vertex reaches OpenGL in single precision; one that is not finite there
// (an infinity, a NaN, a value beyond the float range) is left out, so that
// nothing undefined reaches the rasteriser.
bool Drawable(const Vertex3D& v) {
    return std::isfinite(static_cast<float>(v.x)) && std::isfinite(static_cast<float>(v.y)) &&
           std::isfinite(static_cast<float>(v.z));
}

void Emit(const Vertex3D& v) {
    glColor3f(static_cast<float>(v.r), static_cast<float>(v.g), static_cast<float>(v.b));
    glVertex3f(static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z));
}

// The filled surface in one call. Each cell a, b, c, d goes as the two
// triangles (b, c, a) and (c, d, a): the triangles, in their vertex order,
// that the renderer makes of the polygon a, b, c, d, so that the picture is
// the one the cells drawn one by one give (a test compares the two).
struct TTriangleArrays {
    std::vector<float> Positions, Colours;
    std::vector<GLuint> Indices;
};

TTriangleArrays SurfaceTriangles() {
    TTriangleArrays arrays;
    const std::int32_t rows = SurfaceRows, cols = SurfaceCols;
    if (rows < 2 || cols < 2) return arrays;
    std::vector<float>& positions = arrays.Positions;
    std::vector<float>& colours = arrays.Colours;
    positions.reserve(static_cast<size_t>(rows) * cols * 3);
    colours.reserve(static_cast<size_t>(rows) * cols * 3);
    for (std::int32_t i = 0; i < rows; ++i)
        for (std::int32_t j = 0; j < cols; ++j) {
            const Vertex3D& v = SurfaceGrid[i][j];
            positions.insert(positions.end(), {static_cast<float>(v.x), static_cast<float>(v.y),
                                               static_cast<float>(v.z)});
            colours.insert(colours.end(), {static_cast<float>(v.r), static_cast<float>(v.g),
                                           static_cast<float>(v.b)});
        }
    std::vector<GLuint>& indices = arrays.Indices;
    indices.reserve(static_cast<size_t>(rows - 1) * (cols - 1) * 6);
    for (std::int32_t i = 0; i + 1 < rows; ++i)
        for (std::int32_t j = 0; j + 1 < cols; ++j) {
            const auto a = static_cast<GLuint>(i * cols + j), b = a + cols, c = b + 1, d = a + 1;
            if (!Drawable(SurfaceGrid[i][j]) || !Drawable(SurfaceGrid[i + 1][j]) ||
                !Drawable(SurfaceGrid[i + 1][j + 1]) || !Drawable(SurfaceGrid[i][j + 1]))
                continue;
            indices.insert(indices.end(), {b, c, a, c, d, a});
        }
    return arrays;
}

void EmitSurfaceTriangles() {
    const TTriangleArrays arrays = SurfaceTriangles();
    if (arrays.Indices.empty()) return;
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, arrays.Positions.data());
    glColorPointer(3, GL_FLOAT, 0, arrays.Colours.data());
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(arrays.Indices.size()), GL_UNSIGNED_INT,
                   arrays.Indices.data());
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

// The same triangles in buffer objects of the context, made again when the
// surface changes: the arrays go to the renderer once, without the copy and
// conversion a display list makes of them.
struct TSurfaceBuffers {
    GLuint Arrays = 0, Indices = 0;
    GLsizei Count = 0;
    std::size_t ColourOffset = 0;
    std::uint64_t Generation = ~std::uint64_t{0};

    // False where the context has no buffer objects.
    bool Draw() {
        QOpenGLContext* context = QOpenGLContext::currentContext();
        if (context == nullptr) return false;
        QOpenGLFunctions* f = context->functions();
        if (!f->hasOpenGLFeature(QOpenGLFunctions::Buffers)) return false;
        if (Arrays == 0) {
            f->glGenBuffers(1, &Arrays);
            f->glGenBuffers(1, &Indices);
            if (Arrays == 0 || Indices == 0) return false;
        }
        if (Generation != SurfaceGeneration) {
            const TTriangleArrays arrays = SurfaceTriangles();
            const auto bytes = [](const auto& v) {
                return static_cast<GLsizeiptr>(v.size() * sizeof(v[0]));
            };
            ColourOffset = arrays.Positions.size() * sizeof(float);
            f->glBindBuffer(GL_ARRAY_BUFFER, Arrays);
            f->glBufferData(GL_ARRAY_BUFFER, bytes(arrays.Positions) + bytes(arrays.Colours),
                            nullptr, GL_STATIC_DRAW);
            f->glBufferSubData(GL_ARRAY_BUFFER, 0, bytes(arrays.Positions),
                               arrays.Positions.data());
            f->glBufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(ColourOffset),
                               bytes(arrays.Colours), arrays.Colours.data());
            f->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, Indices);
            f->glBufferData(GL_ELEMENT_ARRAY_BUFFER, bytes(arrays.Indices), arrays.Indices.data(),
                            GL_STATIC_DRAW);
            Count = static_cast<GLsizei>(arrays.Indices.size());
            Generation = SurfaceGeneration;
        }
        if (Count > 0) {
            f->glBindBuffer(GL_ARRAY_BUFFER, Arrays);
            f->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, Indices);
            glEnableClientState(GL_VERTEX_ARRAY);
            glEnableClientState(GL_COLOR_ARRAY);
            glVertexPointer(3, GL_FLOAT, 0, nullptr);
            glColorPointer(3, GL_FLOAT, 0, reinterpret_cast<const void*>(ColourOffset));
            glDrawElements(GL_TRIANGLES, Count, GL_UNSIGNED_INT, nullptr);
            glDisableClientState(GL_COLOR_ARRAY);
            glDisableClientState(GL_VERTEX_ARRAY);
        }
        f->glBindBuffer(GL_ARRAY_BUFFER, 0);
        f->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
        return true;
    }
    // The context that held them is gone.
    void Release() {
        Arrays = Indices = 0;
        Count = 0;
        Generation = ~std::uint64_t{0};
    }
};

void EmitSurface() {
    for (std::int32_t i = 0; i + 1 < SurfaceRows; ++i)
        for (std::int32_t j = 0; j + 1 < SurfaceCols; ++j) {
            const Vertex3D& a = SurfaceGrid[i][j];
            const Vertex3D& b = SurfaceGrid[i + 1][j];
            const Vertex3D& c = SurfaceGrid[i + 1][j + 1];
            const Vertex3D& d = SurfaceGrid[i][j + 1];
            if (!Drawable(a) || !Drawable(b) || !Drawable(c) || !Drawable(d)) continue;
            glBegin(GL_POLYGON);
            Emit(a);
            Emit(b);
            Emit(c);
            Emit(d);
            glEnd();
        }
}

void EmitCurve() {
    glBegin(GL_LINE_STRIP);
    for (std::int32_t i = 0; i < CurveCount; ++i) {
        if (Drawable(CurvePoints[i])) {
            Emit(CurvePoints[i]);
        } else { // the strip breaks at a point that cannot be drawn
            glEnd();
            glBegin(GL_LINE_STRIP);
        }
    }
    glEnd();
}

void EmitLevelPoints() {
    glBegin(GL_POINTS);
    for (std::int32_t i = 0; i < LevelPointCount; ++i)
        if (Drawable(LevelPoints[i])) Emit(LevelPoints[i]);
    glEnd();
}

// A display list made from one buffer, current while its generation lasts.
struct TCachedList {
    GLuint List = 0;
    std::uint64_t Generation = ~std::uint64_t{0};

    void Draw(bool lists, std::uint64_t generation, void (*draw)()) {
        if (!lists) {
            draw();
            return;
        }
        if (List == 0) List = glGenLists(1);
        if (List == 0) { // no list to be had: draw directly
            draw();
            return;
        }
        if (generation != Generation) {
            glNewList(List, GL_COMPILE);
            draw();
            glEndList();
            Generation = generation;
        }
        glCallList(List);
    }
    void Release() {
        List = 0;
        Generation = ~std::uint64_t{0};
    }
};

TCachedList SurfaceList, SurfaceOutlineList, CurveList, LevelList;
TSurfaceBuffers SurfaceBuffers;

// One axis along `axis` (0 X, 1 Y, 2 Z) in colour c, with its arrow head.
void DrawAxis(int axis, const float c[3]) {
    // A point at `along` on the axis and (a, b) across it.
    auto vertex = [axis](float along, float a, float b) {
        switch (axis) {
        case 0:
            glVertex3f(along, a, b);
            break;
        case 1:
            glVertex3f(b, along, a);
            break;
        default:
            glVertex3f(a, b, along);
            break;
        }
    };
    glColor3f(c[0], c[1], c[2]);
    glBegin(GL_LINES);
    vertex(-2.5f, 0, 0);
    vertex(2.5f, 0, 0);
    glEnd();
    for (int i = 0; i < 12; ++i) {
        glBegin(GL_POLYGON);
        glColor3f(c[0], c[1], c[2]);
        vertex(2.5f, 0, 0);
        glColor3f(0.3f * c[0], 0.3f * c[1], 0.3f * c[2]);
        vertex(2.3f, ArrowCircle[i][0], ArrowCircle[i][1]);
        vertex(2.3f, ArrowCircle[i + 1][0], ArrowCircle[i + 1][1]);
        glEnd();
    }
}

} // namespace

void ReleaseDisplayLists() {
    SurfaceBuffers.Release();
    SurfaceList.Release();
    SurfaceOutlineList.Release();
    CurveList.Release();
    LevelList.Release();
}

void DrawAxes() {
    const float colours[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (int axis = 0; axis < 3; ++axis)
        DrawAxis(axis, colours[axis]);
}

void DrawSurface(bool lists) {
    // Outlines need the cells as polygons: triangles would show their diagonals.
    if (Wireframe || !lists)
        SurfaceOutlineList.Draw(lists, SurfaceGeneration, EmitSurface);
    else if (!SurfaceBuffers.Draw())
        SurfaceList.Draw(lists, SurfaceGeneration, EmitSurfaceTriangles);
}

void DrawCurve(bool lists) {
    CurveList.Draw(lists, CurveGeneration, EmitCurve);
}

void DrawLevelPoints(bool lists) {
    LevelList.Draw(lists, LevelGeneration, EmitLevelPoints);
}

void DrawScene(double eyeAngle, const TSceneOptions& options) {
    glPushMatrix();
    glTranslatef(0, 0, static_cast<float>(ViewOffsetZ));
    glRotatef(static_cast<float>(eyeAngle), 0, 1, 0);
    ApplyTrackball(TrackUp, TrackRight);
    glRotatef(SpinAngles[0], 1, 0, 0);
    glRotatef(SpinAngles[1], 0, 1, 0);
    glRotatef(SpinAngles[2], 0, 0, 1);
    if (options.Axes) DrawAxes(); // before the scale: their size is fixed
    const auto scale = static_cast<float>(ViewScale);
    glScalef(scale, scale, scale);
    if (options.Mode == pmSurface || options.Mode == pmPatch) DrawSurface(options.DisplayLists);
    if (options.Mode == pmCurve || options.Trajectory) DrawCurve(options.DisplayLists);
    if (options.Mode == pmImplicit) DrawLevelPoints(options.DisplayLists);
    glPopMatrix();
}

void DrawTurntableFrame(int w, int h, const TSceneOptions& options) {
    const int half = w / 2;
    glViewport(0, 0, StereoSplit ? half : w, h);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1); // takes effect from the next frame on
    // Every transformation, the projection too, goes onto the current
    // (model-view) matrix; no matrix mode is ever selected.
    gluPerspective(60, static_cast<double>(StereoSplit ? half : w) / h, 0.01, 10);
    DrawScene(3, options);
    if (StereoSplit) {
        glViewport(half, 0, half, h);
        glLoadIdentity();
        gluPerspective(60, static_cast<double>(half) / h, 0.01, 10);
        DrawScene(-3, options);
    }
}

void DrawTrajectoryFrame(int w, int h, const TSceneOptions& options) {
    glViewport(0, 0, w, h);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    gluPerspective(80, static_cast<double>(w) / h, 0.01, 10);
    // The scale before the camera acts in eye space: it moves the near and
    // far planes, not the perspective.
    const auto scale = static_cast<float>(ViewScale);
    glScalef(scale, scale, scale);
    if (!CameraPlaced) CameraAtStart();
    gluLookAt(CameraEye[0], CameraEye[1], CameraEye[2], CameraCentre[0], CameraCentre[1],
              CameraCentre[2], CameraUp[0], CameraUp[1], CameraUp[2]);
    if (options.Mode == pmCurve || options.Trajectory) DrawCurve(options.DisplayLists);
    if (options.Mode == pmSurface || options.Mode == pmPatch) DrawSurface(options.DisplayLists);
    if (options.Mode == pmImplicit) DrawLevelPoints(options.DisplayLists);
}
