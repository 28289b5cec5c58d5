// The curve of a graph's antiderivative: F(x) = y0 + the integral of f from
// x0 to x, made from x0 outward one step (a pixel column) at a time by
// adaptive Gauss–Kronrod quadrature. Where f leaves its domain or has a
// pole, the curve stops on that side, and says where and why.
#pragma once

#include "engine/Engine.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

struct TAntiderivativeStop {
    double X = 0; // where the step that failed begins
    enum class TWhy { Domain, Pole } Why = TWhy::Domain;
};

struct TAntiderivativeCurve {
    // (x, F(x)) from x0 (or from the edge of [xs, xe] nearest to it) toward
    // each edge, as far as the curve goes.
    std::vector<std::pair<double, double>> Left, Right;
    std::optional<TAntiderivativeStop> Stop; // the nearer stop to x0 of the two sides
};

// The curve over [xs, xe] with points `step` apart (x0 among them). With x0
// outside [xs, xe], the stretch up to the nearer edge is integrated in
// pieces as wide as the view (at most 4096).
TAntiderivativeCurve AntiderivativeCurve(const TExprNode* f, double x0, double y0, double xs,
                                         double xe, double step);

// The stop in words, for the status line.
std::string AntiderivativeStopText(const TAntiderivativeStop& stop);
