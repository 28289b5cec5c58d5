#include "geometry3d/MeshFiles.h"

#include "geometry3d/Buffers.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

using TPoint = std::array<float, 3>;

TPoint Position(const Vertex3D& v) {
    return {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)};
}

bool CellDrawable(std::int32_t i, std::int32_t j) {
    return Drawable(SurfaceGrid[i][j]) && Drawable(SurfaceGrid[i + 1][j]) &&
           Drawable(SurfaceGrid[i + 1][j + 1]) && Drawable(SurfaceGrid[i][j + 1]);
}

// The unit normal of the cell, from the cross product of its diagonals
// (a to c, b to d); zero for a cell without area.
TPoint CellNormal(std::int32_t i, std::int32_t j) {
    const TPoint a = Position(SurfaceGrid[i][j]), b = Position(SurfaceGrid[i + 1][j]);
    const TPoint c = Position(SurfaceGrid[i + 1][j + 1]), d = Position(SurfaceGrid[i][j + 1]);
    const double u[3] = {double(c[0]) - a[0], double(c[1]) - a[1], double(c[2]) - a[2]};
    const double w[3] = {double(d[0]) - b[0], double(d[1]) - b[1], double(d[2]) - b[2]};
    const double n[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2],
                         u[0] * w[1] - u[1] * w[0]};
    const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (!(length > 0) || !std::isfinite(length)) return {0, 0, 0};
    return {static_cast<float>(n[0] / length), static_cast<float>(n[1] / length),
            static_cast<float>(n[2] / length)};
}

template <typename T> void PutLittle(char*& at, T value) {
    std::memcpy(at, &value, sizeof value); // the machines we build for are little-endian
    at += sizeof value;
}

std::int64_t DrawableCells() {
    std::int64_t cells = 0;
    for (std::int32_t i = 0; i + 1 < SurfaceRows; ++i)
        for (std::int32_t j = 0; j + 1 < SurfaceCols; ++j)
            cells += CellDrawable(i, j);
    return cells;
}

// "v x y z r g b" of a vertex, or of the origin in black when it cannot be drawn.
void PutObjVertex(TFileSink& sink, const Vertex3D& v) {
    char line[160];
    int n;
    if (Drawable(v)) {
        const TPoint p = Position(v);
        n = std::snprintf(line, sizeof line, "v %.9g %.9g %.9g %.6g %.6g %.6g\n", p[0], p[1], p[2],
                          static_cast<float>(v.r), static_cast<float>(v.g),
                          static_cast<float>(v.b));
    } else {
        n = std::snprintf(line, sizeof line, "v 0 0 0 0 0 0\n");
    }
    sink.Write(line, static_cast<std::size_t>(n));
}

} // namespace

static_assert(sizeof(float) == 4);

std::int64_t WriteSurfaceStl(TFileSink& sink) {
    char header[80] = {};
    std::snprintf(header, sizeof header, "Function Plotter surface");
    sink.Write(header, sizeof header);
    const std::int64_t triangles = 2 * DrawableCells();
    char count[4];
    char* at = count;
    PutLittle(at, static_cast<std::uint32_t>(triangles));
    sink.Write(count, sizeof count);
    char facet[2 * 50];
    for (std::int32_t i = 0; i + 1 < SurfaceRows; ++i)
        for (std::int32_t j = 0; j + 1 < SurfaceCols; ++j) {
            if (!CellDrawable(i, j)) continue;
            const TPoint normal = CellNormal(i, j);
            const TPoint a = Position(SurfaceGrid[i][j]), b = Position(SurfaceGrid[i + 1][j]);
            const TPoint c = Position(SurfaceGrid[i + 1][j + 1]);
            const TPoint d = Position(SurfaceGrid[i][j + 1]);
            at = facet;
            for (const auto& triangle : {std::array<TPoint, 3>{a, b, c}, {a, c, d}}) {
                for (float f : normal)
                    PutLittle(at, f);
                for (const TPoint& p : triangle)
                    for (float f : p)
                        PutLittle(at, f);
                PutLittle(at, std::uint16_t{0});
            }
            sink.Write(facet, sizeof facet);
        }
    return triangles;
}

std::int64_t WriteSurfaceObj(TFileSink& sink) {
    sink.Write("# Function Plotter surface\n");
    for (std::int32_t i = 0; i < SurfaceRows; ++i)
        for (std::int32_t j = 0; j < SurfaceCols; ++j)
            PutObjVertex(sink, SurfaceGrid[i][j]);
    std::int64_t triangles = 0;
    char line[96];
    for (std::int32_t i = 0; i + 1 < SurfaceRows; ++i)
        for (std::int32_t j = 0; j + 1 < SurfaceCols; ++j) {
            if (!CellDrawable(i, j)) continue;
            const std::int64_t a = std::int64_t{i} * SurfaceCols + j + 1, b = a + SurfaceCols,
                               c = b + 1, d = a + 1;
            const int n = std::snprintf(line, sizeof line, "f %lld %lld %lld\nf %lld %lld %lld\n",
                                        static_cast<long long>(a), static_cast<long long>(b),
                                        static_cast<long long>(c), static_cast<long long>(a),
                                        static_cast<long long>(c), static_cast<long long>(d));
            sink.Write(line, static_cast<std::size_t>(n));
            triangles += 2;
        }
    return triangles;
}

std::int64_t WriteCurveObj(TFileSink& sink) {
    sink.Write("# Function Plotter curve\n");
    for (std::int32_t i = 0; i < CurveCount; ++i)
        PutObjVertex(sink, CurvePoints[i]);
    // A polyline for each run of drawable points, as the window draws it.
    std::int64_t lines = 0;
    std::string run;
    int inRun = 0;
    const auto end = [&] {
        if (inRun >= 2) {
            sink.Write("l" + run + "\n");
            ++lines;
        }
        run.clear();
        inRun = 0;
    };
    for (std::int32_t i = 0; i < CurveCount; ++i) {
        if (!Drawable(CurvePoints[i])) {
            end();
            continue;
        }
        run += " " + std::to_string(i + 1);
        ++inRun;
    }
    end();
    return lines;
}

std::int64_t WriteLevelPointsPly(TFileSink& sink) {
    const std::int64_t points = DrawableLevelPointCount();
    sink.Write("ply\nformat binary_little_endian 1.0\ncomment Function Plotter level points\n"
               "element vertex " +
               std::to_string(points) +
               "\nproperty float x\nproperty float y\nproperty float z\n"
               "property uchar red\nproperty uchar green\nproperty uchar blue\nend_header\n");
    const auto byte = [](double c) {
        return static_cast<std::uint8_t>(std::lround(std::fmin(std::fmax(c, 0.0), 1.0) * 255));
    };
    char record[15];
    for (std::int32_t i = 0; i < LevelPointCount; ++i) {
        const Vertex3D& v = LevelPoints[i];
        if (!Drawable(v)) continue;
        char* at = record;
        for (float f : Position(v))
            PutLittle(at, f);
        for (double c : {v.r, v.g, v.b})
            PutLittle(at, byte(c));
        sink.Write(record, sizeof record);
    }
    return points;
}

std::int64_t SurfaceTriangleCount() {
    return 2 * DrawableCells();
}

std::int64_t CurveSegmentCount() {
    std::int64_t segments = 0;
    for (std::int32_t i = 0; i + 1 < CurveCount; ++i)
        segments += Drawable(CurvePoints[i]) && Drawable(CurvePoints[i + 1]) &&
                    Position(CurvePoints[i]) != Position(CurvePoints[i + 1]);
    return segments;
}

std::int64_t DrawableLevelPointCount() {
    std::int64_t points = 0;
    for (std::int32_t i = 0; i < LevelPointCount; ++i)
        points += Drawable(LevelPoints[i]);
    return points;
}
