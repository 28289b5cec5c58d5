#include "geometry3d/Buffers.h"

#include "engine/Arith80.h"
#include "engine/Engine.h"

#include <cmath>
#include <limits>

std::vector<std::vector<Vertex3D>> SurfaceGrid;
std::int32_t SurfaceRows = 0, SurfaceCols = 0;
std::vector<Vertex3D> CurvePoints;
std::int32_t CurveCount = 0;
std::vector<Vertex3D> LevelPoints;
std::int32_t LevelPointCount = 0;
std::uint64_t SurfaceGeneration = 0, CurveGeneration = 0, LevelGeneration = 0;

double ColourCoeffs[ColourCoeffCount] = {};

void RandomiseColourCoeffs(double scale) {
    for (double& c : ColourCoeffs)
        c = RandomReal() * scale;
}

namespace {

// The processor's sine and cosine in extended precision: an infinity or a
// NaN gives a NaN, and beyond its range the colouring takes 0.
long double Sine(long double a) {
    if (std::isinf(a)) return std::numeric_limits<long double>::quiet_NaN();
    if (BeyondTrigRange(a)) return 0.0L;
#if defined(__x86_64__) || defined(__i386__)
    long double r;
    asm("fsin" : "=t"(r) : "0"(a));
    return r;
#else
    return std::sin(a);
#endif
}

long double Cosine(long double a) {
    if (std::isinf(a)) return std::numeric_limits<long double>::quiet_NaN();
    if (BeyondTrigRange(a)) return 0.0L;
#if defined(__x86_64__) || defined(__i386__)
    long double r;
    asm("fcos" : "=t"(r) : "0"(a));
    return r;
#else
    return std::cos(a);
#endif
}

} // namespace

void VertexColour(Vertex3D& v, long double p, long double q) {
    double* components[3] = {&v.r, &v.g, &v.b};
    for (int k = 0; k < 3; ++k) {
        const long double a = ColourCoeffs[2 * k];
        const long double b = ColourCoeffs[2 * k + 1];
        const long double sine = Sine(a * p + b); // the sine first
        *components[k] = static_cast<double>(std::fabs(sine * Cosine(b * q + a)));
    }
}
