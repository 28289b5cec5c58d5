// The 3D geometry between the builders and the 3D window: coloured vertices
// in three buffers, one per kind of picture. A builder rewrites its buffer
// and counts in place; the window only reads them. A buffer keeps its last
// contents when the mode changes.
#pragma once

#include "document/Limits.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

struct Vertex3D {
    double x, y, z; // position in the formula's units (possibly centred)
    double r, g, b; // colour, each in 0 .. 1 for finite positions; see MarkUndefined
};

// Marks a vertex whose evaluation had a domain error (sqrt(-1), ln 0): its
// position stays what the builder stored, but it has no colour (r is NaN,
// as for a position that is not finite), and it is no point of the picture.
inline void MarkUndefined(Vertex3D& v) {
    v.r = std::numeric_limits<double>::quiet_NaN();
}

// A vertex as OpenGL takes it, in single precision: one that is not finite
// there (an infinity, a NaN, a value beyond the float range) or was marked
// undefined is left out of the pictures and of the mesh files, and so is
// every cell it is a corner of.
inline bool Drawable(const Vertex3D& v) {
    return std::isfinite(static_cast<float>(v.x)) && std::isfinite(static_cast<float>(v.y)) &&
           std::isfinite(static_cast<float>(v.z)) && !std::isnan(v.r);
}

// Surfaces z(x,y) and x(u,v), y(u,v), z(u,v): SurfaceRows rows (values of x
// or u) of SurfaceCols vertices (values of y or v). Written by their builders.
extern std::vector<std::vector<Vertex3D>> SurfaceGrid;
extern std::int32_t SurfaceRows, SurfaceCols;

// The space curve x(t), y(t), z(t), also the path of the flying camera.
extern std::vector<Vertex3D> CurvePoints;
extern std::int32_t CurveCount;

// The level points of an implicit surface F(x,y,z) = 0.
extern std::vector<Vertex3D> LevelPoints;
extern std::int32_t LevelPointCount;

// Counts every change of a buffer, so that a drawing can tell whether what
// it made from a buffer is still current.
extern std::uint64_t SurfaceGeneration, CurveGeneration, LevelGeneration;

// The six coefficients of the colouring rule, in [0, 3) (or [0, 1.3) after
// an implicit-surface build).
constexpr int ColourCoeffCount = 6;
extern double ColourCoeffs[ColourCoeffCount];

// Each coefficient a uniform random number from [0, 1) times `scale`, in order.
void RandomiseColourCoeffs(double scale = 3);

// The colouring rule: component k = |sin(A p + B) cos(B q + A)| with
// (A, B) = (c0, c1) for red, (c2, c3) for green, (c4, c5) for blue, in
// extended precision. A sine or cosine of an argument of magnitude 2^63 or
// more is 0, as the processor gives it.
void VertexColour(Vertex3D& v, long double p, long double q);

// The most vertices one build may make: a surface, a curve or one plane of
// an implicit surface. More is refused before anything changes.
constexpr std::int64_t MaxVertices = MaxPictureVertices;
