// The 3D buffers as files other programs read: the surfaces (z(x,y) and
// x(u,v),y(u,v),z(u,v)) as binary STL and as OBJ, the space curve as OBJ
// lines, and the level points of an implicit surface as binary PLY. Each
// writes what the 3D window draws: positions in single precision, a cell
// or point that OpenGL could not take (a corner not finite there) left out.
#pragma once

#include "document/AtomicFile.h"

#include <cstdint>

// Binary STL: two triangles per grid cell (a b c and a c d, with a at
// (i, j), b at (i+1, j), c at (i+1, j+1), d at (i, j+1)), both with the
// normal of the cell (its diagonals' cross product, made unit). Returns the
// number of triangles.
std::int64_t WriteSurfaceStl(TFileSink& sink);

// OBJ: every grid vertex as "v x y z r g b" (one that is not finite as the
// origin, in black; no face uses it), then the triangles of the STL as faces.
std::int64_t WriteSurfaceObj(TFileSink& sink);

// OBJ: every point of the curve as "v x y z r g b", then the runs of
// drawable points as polylines "l i j k ...".
std::int64_t WriteCurveObj(TFileSink& sink);

// Binary little-endian PLY: every level point as x y z (float) and red,
// green, blue (0 ... 255). Returns the number of points.
std::int64_t WriteLevelPointsPly(TFileSink& sink);

// What each file would hold of the buffers: the surface's triangles, the
// curve's segments between two drawable points that differ in single
// precision, and the drawable level points. A file with none of them holds
// nothing to see, and is not written.
std::int64_t SurfaceTriangleCount();
std::int64_t CurveSegmentCount();
std::int64_t DrawableLevelPointCount();
