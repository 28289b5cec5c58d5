// The trackball: quaternion arithmetic that turns the frame vectors with the
// mouse, and the rotations that put the frame onto the axes of the picture.
#pragma once

struct TQuaternion {
    double w, x, y, z;
};

double VectorLength(const double v[3]);

// The Hamilton product a b.
TQuaternion QuatMultiply(const TQuaternion& a, const TQuaternion& b);

// Turns v in place about `axis` by `angle` degrees (right-hand rule). A zero
// axis scales v by cos^2 of half the angle instead.
void RotateVector(double v[3], const double axis[3], double angle);

// The two rotations, in degrees about an axis, that carry `up` onto the Y
// axis and then `right` onto the X axis. A rotation whose axis is zero is
// left out (Count says how many there are).
struct TTrackballRotations {
    int Count = 0;
    float Angle[2] = {};
    float Axis[2][3] = {};
};
TTrackballRotations TrackballRotations(const double up[3], const double right[3]);

// Multiplies the current OpenGL matrix by those rotations.
void ApplyTrackball(const double up[3], const double right[3]);
