// The sample walks of the 2D graphs: y(x), r(fi) and the parametric curve.
// Each walk evaluates the compiled trees at every sample and hands the
// accepted points, as pixels, to a pen that joins or starts polylines.
#pragma once

#include "engine/Engine.h"

#include <utility>
#include <vector>

// Where the walks draw: move without drawing, or draw a line from the
// current position.
class TCurvePen {
  public:
    virtual ~TCurvePen() = default;
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
};

// Joins accepted samples: a sample is joined to the previous one unless it is
// the first of the walk, lies outside the pixel band, or follows a rejected one.
class TCurveJoiner {
  public:
    TCurveJoiner(TCurvePen& pen, int bandLow, int bandHigh)
        : pen_(pen), bandLow_(bandLow), bandHigh_(bandHigh) {}
    void Accept(bool first, int px, int py);
    void Reject() { penUp_ = true; }

  private:
    TCurvePen& pen_;
    int bandLow_, bandHigh_;
    bool penUp_ = false;
};

// The width of one pixel column in world units.
double PixelStep();

// A cartesian graph is never sampled finer than one pixel column, and the
// minimal step ("Минимальный шаг") takes exactly one pixel column.
bool UsesPixelStep(double typedStep, bool minimalStep);

// The point at angle a and radius r, each product in 80 bits.
void PolarPoint(double a, double r, double& x, double& y);

// y = f(x) from xs to xe: samples while xe + step > x. Returns the number of
// samples taken. Draws nothing for an empty tree, a step that is not above
// zero, or xs >= xe.
int WalkCartesian(const TExprNode* tree, double xs, double xe, double step, TCurvePen& pen);

// Points (x, y) of a curve over x drawn as the samples of a cartesian walk
// are: joined in order, and a point outside the band the walk accepts left
// out, the line broken there.
void DrawCartesianPoints(const std::vector<std::pair<double, double>>& points, TCurvePen& pen);

// r = f(fi) from fmin to fmax; nothing for a step that is not above zero.
int WalkPolar(const TExprNode* tree, double fmin, double fmax, double step, TCurvePen& pen);

// (x(t), y(t)), or (cos(fi(t)) r(t), sin(fi(t)) r(t)) in polar coordinates.
int WalkParametric(const TExprNode* treeX, const TExprNode* treeY, double tmin, double tmax,
                   double step, bool polar, TCurvePen& pen);
