#include "view3d/Scene.h"

#include "document/PlotDocument.h"
#include "engine/Engine.h"
#include "geometry3d/Buffers.h"
#include "view3d/FlyingCamera.h"
#include "view3d/Trackball.h"
#include "view3d/ViewState.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include <GL/gl.h>
#include <GL/glu.h>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <vector>

TSurfaceArrays SurfaceArrays = TSurfaceArrays::Auto;

namespace {

void Emit(const Vertex3D& v) {
    glColor3f(static_cast<float>(v.r), static_cast<float>(v.g), static_cast<float>(v.b));
    glVertex3f(static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z));
}

// The filled surface in one call. Each cell a, b, c, d goes as the two
// triangles (b, c, a) and (c, d, a): the triangles, in their vertex order,
// that the renderer makes of the polygon a, b, c, d, so that the picture is
// the one the cells drawn one by one give (a test compares the two).
//
// The arrays are written row by row on the build threads, straight into the
// memory the renderer reads them from, without a copy on the way (a surface
// at the size bound has 4 million vertices and 24 million indices).
std::size_t SurfaceVertexCount() {
    if (SurfaceRows < 2 || SurfaceCols < 2) return 0;
    return static_cast<std::size_t>(SurfaceRows) * static_cast<std::size_t>(SurfaceCols);
}

// Six indices for each cell: room for every cell, whether drawn or not.
std::size_t SurfaceIndexRoom() {
    if (SurfaceVertexCount() == 0) return 0;
    return static_cast<std::size_t>(SurfaceRows - 1) * static_cast<std::size_t>(SurfaceCols - 1) *
           6;
}

// Small surfaces are not worth starting threads for.
int FillThreads() {
    return SurfaceVertexCount() >= (std::size_t{1} << 16) ? BuildThreads() : 1;
}

// Three floats of position and three of colour for every grid point, row by row.
void FillSurfaceVertices(float* positions, float* colours) {
    const auto cols = static_cast<std::size_t>(SurfaceCols);
    RunTasks(static_cast<std::size_t>(SurfaceRows), FillThreads(), [&](std::size_t i) {
        float* p = positions + i * cols * 3;
        float* c = colours + i * cols * 3;
        const std::vector<Vertex3D>& row = SurfaceGrid[i];
        for (std::size_t j = 0; j < cols; ++j) {
            const Vertex3D& v = row[j];
            *p++ = static_cast<float>(v.x);
            *p++ = static_cast<float>(v.y);
            *p++ = static_cast<float>(v.z);
            *c++ = static_cast<float>(v.r);
            *c++ = static_cast<float>(v.g);
            *c++ = static_cast<float>(v.b);
        }
    });
}

// The triangles of the cells whose four corners can be drawn, in the order
// of the cells; gives the number of indices written (at most the room).
std::size_t FillSurfaceIndices(GLuint* indices) {
    const std::int32_t cols = SurfaceCols;
    const std::size_t rowRoom = static_cast<std::size_t>(cols - 1) * 6;
    const auto rows = static_cast<std::size_t>(SurfaceRows - 1);
    std::vector<std::size_t> counts(rows);
    RunTasks(rows, FillThreads(), [&](std::size_t row) {
        const auto i = static_cast<std::int32_t>(row);
        GLuint* out = indices + row * rowRoom;
        const std::vector<Vertex3D>& upper = SurfaceGrid[i];
        const std::vector<Vertex3D>& lower = SurfaceGrid[i + 1];
        bool left = Drawable(upper[0]) && Drawable(lower[0]);
        for (std::int32_t j = 0; j + 1 < cols; ++j) {
            const bool right = Drawable(upper[j + 1]) && Drawable(lower[j + 1]);
            if (left && right) {
                const auto a = static_cast<GLuint>(i * cols + j), b = a + cols, c = b + 1,
                           d = a + 1;
                *out++ = b;
                *out++ = c;
                *out++ = a;
                *out++ = c;
                *out++ = d;
                *out++ = a;
            }
            left = right;
        }
        counts[row] = static_cast<std::size_t>(out - (indices + row * rowRoom));
    });
    // Rows that left cells out leave gaps, closed in order.
    std::size_t total = 0;
    for (std::size_t row = 0; row < rows; ++row) {
        if (total != row * rowRoom)
            std::memmove(indices + total, indices + row * rowRoom, counts[row] * sizeof(GLuint));
        total += counts[row];
    }
    return total;
}

// Triangles of vertex arrays (three floats of position and three of colour
// per vertex): pointers into memory of ours, or offsets into the bound
// buffer objects.
void DrawTriangleArrays(const void* positions, const void* colours, GLsizei count,
                        const void* indices) {
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, positions);
    glColorPointer(3, GL_FLOAT, 0, colours);
    glDrawElements(GL_TRIANGLES, count, GL_UNSIGNED_INT, indices);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

struct TTriangleArrays {
    std::vector<float> Positions, Colours;
    std::vector<GLuint> Indices;
};

TTriangleArrays SurfaceTriangles() {
    TTriangleArrays arrays;
    const std::size_t n = SurfaceVertexCount();
    if (n == 0) return arrays;
    arrays.Positions.resize(n * 3);
    arrays.Colours.resize(n * 3);
    FillSurfaceVertices(arrays.Positions.data(), arrays.Colours.data());
    arrays.Indices.resize(SurfaceIndexRoom());
    arrays.Indices.resize(FillSurfaceIndices(arrays.Indices.data()));
    return arrays;
}

void EmitSurfaceTriangles() {
    const TTriangleArrays arrays = SurfaceTriangles();
    if (arrays.Indices.empty()) return;
    DrawTriangleArrays(arrays.Positions.data(), arrays.Colours.data(),
                       static_cast<GLsizei>(arrays.Indices.size()), arrays.Indices.data());
}

// Memory for the surface's arrays, aligned to 2 MB and, on Linux, marked for
// huge pages before it is first written: the kernel then maps a surface at
// the size bound in a few hundred faults instead of fifty thousand.
class TArrayBlock {
  public:
    // Room for `bytes`, its contents undefined; kept while it is big enough
    // and not four times too big.
    void* Reserve(std::size_t bytes) {
        constexpr std::size_t huge = std::size_t{2} << 20;
        const std::size_t room = (std::max<std::size_t>(bytes, 1) + huge - 1) / huge * huge;
        if (room > bytes_ || room < bytes_ / 4) {
            memory_.reset(); // the old block first: the two need not fit at once
            bytes_ = 0;
            memory_.reset(std::aligned_alloc(huge, room));
            if (memory_ == nullptr) throw std::bad_alloc();
#if defined(__linux__)
            madvise(memory_.get(), room, MADV_HUGEPAGE); // a hint: refused, it costs nothing
#endif
            bytes_ = room;
        }
        return memory_.get();
    }

  private:
    struct TFree {
        void operator()(void* p) const { std::free(p); }
    };
    std::unique_ptr<void, TFree> memory_;
    std::size_t bytes_ = 0;
};

// The triangles in memory of ours, handed to the renderer at every frame: a
// software renderer reads them where they are, and keeps no copy.
struct TSurfaceClientArrays {
    TArrayBlock Vertices, Indices;
    std::size_t Count = 0;
    std::uint64_t Generation = ~std::uint64_t{0};

    void Draw() {
        const std::size_t n = SurfaceVertexCount();
        if (Generation != SurfaceGeneration) {
            Count = 0;
            Generation = ~std::uint64_t{0}; // until the arrays are whole
            positions_ = static_cast<float*>(Vertices.Reserve(n * 6 * sizeof(float)));
            indices_ = static_cast<GLuint*>(Indices.Reserve(SurfaceIndexRoom() * sizeof(GLuint)));
            if (n > 0) {
                FillSurfaceVertices(positions_, positions_ + n * 3);
                Count = FillSurfaceIndices(indices_);
            }
            Generation = SurfaceGeneration;
        }
        if (Count == 0) return;
        // Pointers into our memory: no buffer object may be bound to read them.
        if (QOpenGLContext* context = QOpenGLContext::currentContext();
            context != nullptr &&
            context->functions()->hasOpenGLFeature(QOpenGLFunctions::Buffers)) {
            context->functions()->glBindBuffer(GL_ARRAY_BUFFER, 0);
            context->functions()->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
        }
        DrawTriangleArrays(positions_, positions_ + n * 3, static_cast<GLsizei>(Count), indices_);
    }

  private:
    float* positions_ = nullptr;
    GLuint* indices_ = nullptr;
};

// The same triangles in buffer objects of the context, made again when the
// surface changes: the arrays go to the renderer once, without the copy and
// conversion a display list makes of them.
struct TSurfaceBuffers {
    GLuint Arrays = 0, Indices = 0;
    GLsizei Count = 0;
    std::size_t ColourOffset = 0;
    std::uint64_t Generation = ~std::uint64_t{0};

    using TMapBuffer = void*(APIENTRY*)(GLenum target, GLenum access);
    using TUnmapBuffer = GLboolean(APIENTRY*)(GLenum target);

    // Fills the bound buffer of `target`, `bytes` long, through fill(memory)
    // in the renderer's own memory; false where it lends none, or where the
    // contents were lost before the buffer was given back.
    static bool FillMapped(QOpenGLContext* context, GLenum target, std::size_t bytes,
                           const std::function<void(void*)>& fill) {
        const auto map = reinterpret_cast<TMapBuffer>(context->getProcAddress("glMapBuffer"));
        const auto unmap = reinterpret_cast<TUnmapBuffer>(context->getProcAddress("glUnmapBuffer"));
        if (map == nullptr || unmap == nullptr) return false;
        context->functions()->glBufferData(target, static_cast<GLsizeiptr>(bytes), nullptr,
                                           GL_STATIC_DRAW);
        void* memory = map(target, GL_WRITE_ONLY);
        if (memory == nullptr) return false;
        try {
            fill(memory);
        } catch (...) {
            unmap(target);
            throw;
        }
        return unmap(target) == GL_TRUE;
    }

    void Upload(QOpenGLContext* context) {
        Count = 0; // until the new arrays are whole
        QOpenGLFunctions* f = context->functions();
        const std::size_t n = SurfaceVertexCount();
        const std::size_t vertexBytes = n * 3 * sizeof(float);
        ColourOffset = vertexBytes;
        std::size_t count = 0;
        f->glBindBuffer(GL_ARRAY_BUFFER, Arrays);
        f->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, Indices);
        const bool mapped = n > 0 &&
                            FillMapped(context, GL_ARRAY_BUFFER, 2 * vertexBytes,
                                       [n](void* memory) {
                                           auto* positions = static_cast<float*>(memory);
                                           FillSurfaceVertices(positions, positions + n * 3);
                                       }) &&
                            FillMapped(context, GL_ELEMENT_ARRAY_BUFFER,
                                       SurfaceIndexRoom() * sizeof(GLuint), [&count](void* memory) {
                                           count = FillSurfaceIndices(static_cast<GLuint*>(memory));
                                       });
        if (!mapped) {
            const TTriangleArrays arrays = SurfaceTriangles();
            const auto bytes = [](const auto& v) {
                return static_cast<GLsizeiptr>(v.size() * sizeof(v[0]));
            };
            f->glBufferData(GL_ARRAY_BUFFER, bytes(arrays.Positions) + bytes(arrays.Colours),
                            nullptr, GL_STATIC_DRAW);
            f->glBufferSubData(GL_ARRAY_BUFFER, 0, bytes(arrays.Positions),
                               arrays.Positions.data());
            f->glBufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(ColourOffset),
                               bytes(arrays.Colours), arrays.Colours.data());
            f->glBufferData(GL_ELEMENT_ARRAY_BUFFER, bytes(arrays.Indices), arrays.Indices.data(),
                            GL_STATIC_DRAW);
            count = arrays.Indices.size();
        }
        Count = static_cast<GLsizei>(count);
        Generation = SurfaceGeneration;
    }

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
            try {
                Upload(context);
            } catch (...) { // nothing left bound for the drawing that follows
                f->glBindBuffer(GL_ARRAY_BUFFER, 0);
                f->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
                throw;
            }
        }
        if (Count > 0) {
            f->glBindBuffer(GL_ARRAY_BUFFER, Arrays);
            f->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, Indices);
            DrawTriangleArrays(nullptr, reinterpret_cast<const void*>(ColourOffset), Count,
                               nullptr);
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
            Generation = ~std::uint64_t{0}; // until the list is whole
            glNewList(List, GL_COMPILE);
            try {
                draw();
            } catch (...) {
                glEndList();
                throw;
            }
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
TSurfaceClientArrays SurfaceClientArrays;

// A renderer that draws on the processor: Mesa's llvmpipe, softpipe and
// swrast, and the like.
bool SoftwareRenderer() {
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    if (renderer == nullptr) return false;
    const std::string name(renderer);
    for (const char* soft : {"llvmpipe", "softpipe", "swrast", "Software"})
        if (name.find(soft) != std::string::npos) return true;
    return false;
}

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
    else
        try {
            if (SurfaceArrays == TSurfaceArrays::Client ||
                (SurfaceArrays == TSurfaceArrays::Auto && SoftwareRenderer()))
                SurfaceClientArrays.Draw();
            else if (!SurfaceBuffers.Draw())
                SurfaceList.Draw(lists, SurfaceGeneration, EmitSurfaceTriangles);
        } catch (const std::exception&) {
            // No memory or no threads for the arrays: the cells one by one,
            // which need neither. Nothing may leave a frame being painted.
            EmitSurface();
        }
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
