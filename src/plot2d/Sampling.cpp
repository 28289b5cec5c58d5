#include "plot2d/Sampling.h"

#include "plot2d/View2D.h"

#include <cmath>

namespace {

// One sample step: the value accumulated in doubles, each addition in 80 bits.
inline double Advance(double v, double step) {
    return static_cast<double>(static_cast<long double>(v) + step);
}

// The walk condition: end + step (in 80 bits) still beyond the current value.
inline bool Before(double end, double step, double v) {
    return static_cast<long double>(end) + step > v;
}

} // namespace

void TCurveJoiner::Accept(bool first, int px, int py) {
    if (!first && py >= bandLow_ && py <= bandHigh_ && !penUp_) {
        pen_.LineTo(px, py);
    } else {
        pen_.MoveTo(px, py);
        penUp_ = false;
    }
}

double CartesianStep(double typedStep, bool minimalStep) {
    const double pixel = std::fabs(PixelToWorldX(2) - PixelToWorldX(1));
    return (pixel > typedStep || minimalStep) ? pixel : typedStep;
}

int WalkCartesian(const TExprNode* tree, double xs, double xe, double step, TCurvePen& pen) {
    if (tree == nullptr || !(step > 0) || xs >= xe) return 0;
    TCurveJoiner joiner(pen, -100, PlotHeight + 100);
    const long double low = static_cast<long double>(ViewY1) - ViewHeight;
    const long double high = static_cast<long double>(ViewY2) + ViewHeight;
    int samples = 0;
    for (double x = xs; Before(xe, step, x);) {
        ++samples;
        EvalError = false;
        VarX = x;
        const double y = EvalTree(tree);
        if (EvalError || !(low <= y && y <= high))
            joiner.Reject();
        else
            joiner.Accept(x <= xs, WorldToPixelX(x), WorldToPixelY(y));
        // A step too small to move x any more would never end the walk.
        const double next = Advance(x, step);
        if (next == x) break;
        x = next;
    }
    return samples;
}

int WalkPolar(const TExprNode* tree, double fmin, double fmax, double step, TCurvePen& pen) {
    if (!(step > 0)) return 0;
    TCurveJoiner joiner(pen, -2 * PlotHeight, 2 * PlotHeight);
    int samples = 0;
    for (double a = fmin; Before(fmax, step, a); a = Advance(a, step)) {
        ++samples;
        EvalError = false;
        VarX = a;
        const double r = EvalTree(tree);
        double sine, cosine;
        ::sincos(a, &sine, &cosine);
        const double y = static_cast<double>(static_cast<long double>(sine) * r);
        if (EvalError || !(ViewY1 <= y && y <= ViewY2)) {
            joiner.Reject();
        } else {
            const double x = static_cast<double>(static_cast<long double>(cosine) * r);
            joiner.Accept(a <= fmin, WorldToPixelX(x), WorldToPixelY(y));
        }
        if (Advance(a, step) == a) break;
    }
    return samples;
}

int WalkParametric(const TExprNode* treeX, const TExprNode* treeY, double tmin, double tmax,
                   double step, bool polar, TCurvePen& pen) {
    if (!(step > 0)) return 0;
    TCurveJoiner joiner(pen, -2 * PlotHeight, 2 * PlotHeight);
    int samples = 0;
    for (double t = tmin; Before(tmax, step, t); t = Advance(t, step)) {
        ++samples;
        EvalError = false;
        VarT = t;
        const double a = EvalTree(treeX);
        const double b = EvalTree(treeY);
        double x = a, y = b;
        if (polar) {
            double sine, cosine;
            ::sincos(a, &sine, &cosine);
            x = static_cast<double>(static_cast<long double>(cosine) * b);
            y = static_cast<double>(static_cast<long double>(sine) * b);
        }
        if (EvalError || !(ViewY1 <= y && y <= ViewY2))
            joiner.Reject();
        else
            joiner.Accept(t <= tmin, WorldToPixelX(x), WorldToPixelY(y));
        if (Advance(t, step) == t) break;
    }
    return samples;
}
