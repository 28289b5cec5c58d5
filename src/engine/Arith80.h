// The small pieces of 80-bit arithmetic that the evaluators, the 2D walks
// and the 3D builders share: every stored value is a double, every sum,
// difference and mean on the way is taken in extended precision.
#pragma once

#include <cmath>

// One sampling step: the parameter accumulated in doubles, each addition in
// extended precision.
inline double Advance(double v, double step) {
    return static_cast<double>(static_cast<long double>(v) + step);
}

// The walk condition: end + step (in 80 bits) still beyond the current value.
inline bool Before(double end, double step, double v) {
    return static_cast<long double>(end) + step > v;
}

// True when a step moves the values of [min, max]: added to the end of the
// larger magnitude, whose neighbouring doubles lie farthest apart, it
// changes the value. A step that does not would never end a walk.
inline bool StepMoves(double min, double max, double step) {
    const double end = __builtin_fabs(min) > __builtin_fabs(max) ? min : max;
    return Advance(end, step) != end;
}

// a - b in extended precision, rounded to double.
inline double Minus(double a, double b) {
    return static_cast<double>(static_cast<long double>(a) - b);
}

// The middle of a range, (min + max) / 2 in extended precision.
inline double Centre(double min, double max) {
    return static_cast<double>((static_cast<long double>(max) + min) / 2);
}

// The processor's sine and cosine take no argument of magnitude 2^63 or
// more; the program gives 0 for those (and so for the infinities).
constexpr double TrigLimit = 0x1p63;
inline bool BeyondTrigRange(double x) {
    return __builtin_fabs(x) >= TrigLimit;
}
inline bool BeyondTrigRange(long double x) {
    return __builtin_fabsl(x) >= TrigLimit;
}

// Sine and cosine of a double: the correctly rounded library value, 0 beyond
// the processor's range.
inline double SinOf(double x) {
    return BeyondTrigRange(x) ? 0.0 : __builtin_sin(x);
}
inline double CosOf(double x) {
    return BeyondTrigRange(x) ? 0.0 : __builtin_cos(x);
}
