#include "view3d/Trackball.h"

#include <GL/gl.h>

#include <cmath>

namespace {

constexpr long double PiL = 3.14159265358979323846264338327950288L;

// arccos in degrees, as atan2(sqrt(1 - a^2), a).
long double ArcCosDegrees(long double a) {
    return std::atan2(std::sqrt(1 - a * a), a) * 180 / PiL;
}

} // namespace

double VectorLength(const double v[3]) {
    const long double x = v[0], y = v[1], z = v[2];
    return static_cast<double>(std::sqrt(x * x + y * y + z * z));
}

TQuaternion QuatMultiply(const TQuaternion& a, const TQuaternion& b) {
    const long double aw = a.w, ax = a.x, ay = a.y, az = a.z;
    return {static_cast<double>(aw * b.w - ax * b.x - ay * b.y - az * b.z),
            static_cast<double>(aw * b.x + ax * b.w + ay * b.z - az * b.y),
            static_cast<double>(aw * b.y + ay * b.w + az * b.x - ax * b.z),
            static_cast<double>(aw * b.z + az * b.w + ax * b.y - ay * b.x)};
}

void RotateVector(double v[3], const double axis[3], double angle) {
    const long double h = angle * PiL / 360; // half the angle, in radians
    const long double s = std::sin(h);
    const double length = VectorLength(axis);
    double a[3] = {axis[0], axis[1], axis[2]};
    if (length > 0)
        for (double& c : a)
            c = static_cast<double>(c * s / length);
    const double w = static_cast<double>(std::cos(h));
    const TQuaternion q{w, a[0], a[1], a[2]};
    const TQuaternion conjugate{w, -a[0], -a[1], -a[2]};
    const TQuaternion p{0, v[0], v[1], v[2]};
    const TQuaternion r = QuatMultiply(QuatMultiply(q, p), conjugate);
    v[0] = r.x;
    v[1] = r.y;
    v[2] = r.z;
}

TTrackballRotations TrackballRotations(const double up[3], const double right[3]) {
    TTrackballRotations result;
    double a[3] = {up[0], up[1], up[2]};
    double b[3] = {right[0], right[1], right[2]};
    // The frame drifts with rounding; the clamps keep it in the arc cosine's domain.
    if (std::fabs(a[1]) > 1) a[1] = a[1] > 0 ? 1 : -1;
    const double alpha = static_cast<double>(ArcCosDegrees(a[1]));
    const double n[3] = {a[2], 0, -a[0]}; // the Y axis crossed with up
    if (VectorLength(n) > 0) {
        result.Angle[result.Count] = static_cast<float>(-alpha);
        for (int i = 0; i < 3; ++i)
            result.Axis[result.Count][i] = static_cast<float>(n[i]);
        ++result.Count;
        RotateVector(b, n, -alpha);
    }
    if (std::fabs(b[0]) > 1) b[0] = b[0] > 0 ? 1 : -1;
    double beta = static_cast<double>(ArcCosDegrees(b[0]));
    if (b[2] > 0) beta = -beta;
    if (VectorLength(a) > 0) {
        result.Angle[result.Count] = static_cast<float>(-beta);
        for (int i = 0; i < 3; ++i)
            result.Axis[result.Count][i] = static_cast<float>(a[i]);
        ++result.Count;
    }
    return result;
}

void ApplyTrackball(const double up[3], const double right[3]) {
    const TTrackballRotations r = TrackballRotations(up, right);
    for (int i = 0; i < r.Count; ++i)
        glRotatef(r.Angle[i], r.Axis[i][0], r.Axis[i][1], r.Axis[i][2]);
}
