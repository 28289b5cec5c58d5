#include "plot2d/Sampling.h"
#include "texts/Texts.h"

#include "document/Limits.h"
#include "engine/Arith80.h"
#include "plot2d/View2D.h"

#include <cmath>

void TCurveJoiner::Accept(bool first, int px, int py) {
    if (!first && py >= bandLow_ && py <= bandHigh_ && !penUp_) {
        pen_.LineTo(px, py);
    } else {
        pen_.MoveTo(px, py);
        penUp_ = false;
    }
}

double PixelStep() {
    return std::fabs(PixelToWorldX(2) - PixelToWorldX(1));
}

bool UsesPixelStep(double typedStep, bool minimalStep) {
    return PixelStep() > typedStep || minimalStep;
}

namespace {

// The polar and parametric walks refuse a step that would not move their
// parameter; the cartesian one stops where it no longer moves (the pixel
// rule chose its step, not the user).
void CheckStepMoves(double from, double to, double step, const char* name) {
    if (StepMoves(from, to, step)) return;
    const double end = std::fabs(from) > std::fabs(to) ? from : to;
    throw BuildRefused(
        StuckStepMessage(texts::Translate("Steps", name), FormatNumber(step), FormatNumber(end)));
}

// The walk all three kinds of curve share: parameter values from `from` by
// repeated addition while end + step lies beyond them; `sample` evaluates the
// point (x, y) of a value with the current context's error flag cleared
// before it. A point is
// accepted when no error occurred and low <= y <= high.
template <typename Sample>
int Walk(double from, double to, double step, long double low, long double high, int bandLow,
         int bandHigh, const char* stepName, TCurvePen& pen, Sample sample) {
    // A walk of more samples than a picture may have is refused before it starts.
    const long double most = (static_cast<long double>(to) - from) / step + 2;
    if (!(most <= MaxPictureVertices)) throw BuildRefused(TooManyPointsMessage(most));
    if (stepName != nullptr) CheckStepMoves(from, to, step, stepName);
    TCurveJoiner joiner(pen, bandLow, bandHigh);
    bool& error = CurrentContext().Error;
    int samples = 0;
    for (double v = from; Before(to, step, v);) {
        ++samples;
        error = false;
        double x = 0, y = 0;
        sample(v, x, y);
        if (error || !(low <= y && y <= high))
            joiner.Reject();
        else
            joiner.Accept(v <= from, WorldToPixelX(x), WorldToPixelY(y));
        // A step too small to move the value any more would never end the walk.
        const double next = Advance(v, step);
        if (next == v) break;
        v = next;
    }
    return samples;
}

} // namespace

void PolarPoint(double a, double r, double& x, double& y) {
    double sine, cosine;
    ::sincos(a, &sine, &cosine);
    x = static_cast<double>(static_cast<long double>(cosine) * r);
    y = static_cast<double>(static_cast<long double>(sine) * r);
}

int WalkCartesian(const TExprNode* tree, double xs, double xe, double step, TCurvePen& pen) {
    if (tree == nullptr || !(step > 0) || xs >= xe) return 0;
    // The accepted band is the view extended by one view height above and below.
    const long double low = static_cast<long double>(ViewY1) - ViewHeight;
    const long double high = static_cast<long double>(ViewY2) + ViewHeight;
    return Walk(xs, xe, step, low, high, -100, PlotHeight + 100, nullptr, pen,
                [tree, &c = CurrentContext()](double v, double& x, double& y) {
                    c.X = v;
                    x = v;
                    y = EvalTree(tree);
                });
}

int WalkPolar(const TExprNode* tree, double fmin, double fmax, double step, TCurvePen& pen) {
    if (!(step > 0)) return 0;
    return Walk(fmin, fmax, step, ViewY1, ViewY2, -2 * PlotHeight, 2 * PlotHeight,
                QT_TRANSLATE_NOOP("Steps", "Шаг по углу"), pen,
                [tree, &c = CurrentContext()](double a, double& x, double& y) {
                    c.X = a;
                    PolarPoint(a, EvalTree(tree), x, y);
                });
}

int WalkParametric(const TExprNode* treeX, const TExprNode* treeY, double tmin, double tmax,
                   double step, bool polar, TCurvePen& pen) {
    if (!(step > 0)) return 0;
    return Walk(tmin, tmax, step, ViewY1, ViewY2, -2 * PlotHeight, 2 * PlotHeight,
                QT_TRANSLATE_NOOP("Steps", "Шаг по t"), pen,
                [=, &c = CurrentContext()](double t, double& x, double& y) {
                    c.T = t;
                    const double a = EvalTree(treeX);
                    const double b = EvalTree(treeY);
                    if (polar)
                        PolarPoint(a, b, x, y);
                    else
                        x = a, y = b;
                });
}
