// What can be read off the graph of y = f(x) over an interval: its roots,
// local minima and maxima, where two graphs meet, where it crosses the y
// axis, and the area under it. The graphs are compiled trees evaluated as
// the builds evaluate them (80-bit, a domain error as no value); the
// numerical work is Boost.Math's (TOMS 748 for roots, Brent for extrema,
// Gauss-Kronrod for areas); here is decided where to look and what counts.
#pragma once

#include "engine/Engine.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

enum class TPointKind : std::uint8_t {
    Root,
    Minimum,
    Maximum,
    Intersection,
    YIntercept,
    Inflection
};

// "root", "min", "max", "intersection", "y0", "inflection": the kind's name
// on the command line.
const char* KindName(TPointKind kind);

struct TGraphPoint {
    TPointKind Kind;
    double X, Y;
    int Graph;     // the graph's number (its slot)
    int With = -1; // the other graph of an intersection
};

// At most this many points are found in one search; a graph that oscillates
// without end (sin(1/x) near 0) stops there, and the result says so.
constexpr std::size_t MaxGraphPoints = 1000;

struct TPointsFound {
    std::vector<TGraphPoint> Points; // ordered by x
    bool Incomplete = false;         // stopped at MaxGraphPoints: "показаны не все"
    // The graphs not searched because their formulas draw random numbers:
    // such a graph is another at every look, and has no points to find.
    std::vector<int> Random;
};

// A graph to search: its tree (null: the graph of x), its number, and the
// formula of the tree, so that another thread may compile it for itself
// (empty where none may).
struct TGraph {
    const TExprNode* Tree;
    int Number;
    std::string Formula;
};

// f(x) as a build evaluates it, in the current context; nothing where the
// evaluation flags an error or gives a value that is not finite.
std::optional<double> GraphValue(const TExprNode* tree, double x);

// The points of one kind on [a, b], looked for on samples `step` apart
// (the picture's pixel width, or finer). Roots are sign changes, solved to
// the nearest doubles, and zeros the graph touches without crossing (a
// minimum or maximum of value 0); a sign change through a pole or across a
// domain gap is none; an end of the domain at a zero is one. Extrema lie
// inside the interval, kinks included; toward a pole, where the values grow
// without bound, or across a gap in the domain there is none. A graph that
// draws random numbers is not searched (it goes to `Random`). Every search
// ends: past a bound on its work it stops, as at MaxGraphPoints.
TPointsFound FindRoots(const TGraph& f, double a, double b, double step);
TPointsFound FindExtrema(const TGraph& f, double a, double b, double step);
TPointsFound FindIntersections(const TGraph& f, const TGraph& g, double a, double b, double step);
// Where the graph's curvature changes sign: the roots of its exact second
// derivative at which it changes sign, where the graph has a value.
TPointsFound FindInflections(const TGraph& f, double a, double b, double step);

// Every point of interest of the graphs on [a, b]: roots, extrema,
// inflection points, the crossing of the y axis, and the intersections of
// each pair. The graphs
// are searched on as many threads as a build may use, each in a context of
// its own (the main thread's cells stay as they were); the points are those
// of one thread, in the same order.
TPointsFound PointsOfInterest(const std::vector<TGraph>& graphs, double a, double b, double step);

// The spacing of a search's samples on [a, b] beside a picture whose pixel
// columns are `pixel` wide: a pixel, or finer on a short interval (at least
// 400 samples).
double SearchStep(double pixel, double a, double b);

// Keeps the points whose y lies between y1 and y2 (in either order): those
// a view of that height shows.
void KeepInView(TPointsFound& found, double y1, double y2);

// An area that cannot be given: the message says why.
class AreaRefused : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct TArea {
    double Value; // the integral of f from a to b
    double Error; // its estimated error
};

// The integral of f over [a, b] (a > b gives its negative). Refused where
// f draws random numbers, where it has no value at a sample `step` apart,
// where it passes a pole, or where the integral does not settle.
TArea Integrate(const TGraph& f, double a, double b, double step);
