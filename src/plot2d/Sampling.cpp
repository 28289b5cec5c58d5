#include "plot2d/Sampling.h"
#include "texts/Texts.h"

#include "document/Limits.h"
#include "engine/Arith80.h"
#include "plot2d/View2D.h"

#include <algorithm>
#include <cmath>
#include <vector>

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

// A walk's values are made this many at a time, then evaluated as rows.
constexpr std::size_t WalkChunk = 2048;

// A sample's point and whether its evaluation flagged an error.
struct TWalkPoint {
    double X = 0, Y = 0;
    bool Error = false;
};

// The walk all three kinds of curve share: parameter values from `from` by
// repeated addition while end + step lies beyond them, made a chunk at a
// time before they are evaluated; `rows(values, points)` gives each value's
// point and flag, with the current context left as evaluating the points one
// by one, in order, would leave it. A point is accepted when no error
// occurred and low <= y <= high.
template <typename Rows>
int Walk(double from, double to, double step, long double low, long double high, int bandLow,
         int bandHigh, const char* stepName, TCurvePen& pen, Rows rows) {
    // A walk of more samples than a picture may have is refused before it starts.
    const long double most = (static_cast<long double>(to) - from) / step + 2;
    if (!(most <= MaxPictureVertices)) throw BuildRefused(TooManyPointsMessage(most));
    if (stepName != nullptr) CheckStepMoves(from, to, step, stepName);
    TCurveJoiner joiner(pen, bandLow, bandHigh);
    std::vector<double> values;
    std::vector<TWalkPoint> points;
    values.reserve(std::min<std::size_t>(WalkChunk, static_cast<std::size_t>(most)));
    int samples = 0;
    double v = from;
    for (bool more = Before(to, step, v); more;) {
        values.clear();
        while (more && values.size() < WalkChunk) {
            values.push_back(v);
            // A step too small to move the value any more would never end the walk.
            const double next = Advance(v, step);
            more = next != v && Before(to, step, next);
            v = next;
        }
        points.resize(values.size());
        rows(values, points);
        for (std::size_t i = 0; i < values.size(); ++i) {
            const TWalkPoint& p = points[i];
            if (p.Error || !(low <= p.Y && p.Y <= high))
                joiner.Reject();
            else
                joiner.Accept(values[i] <= from, WorldToPixelX(p.X), WorldToPixelY(p.Y));
        }
        samples += static_cast<int>(values.size());
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

namespace {

// What a cartesian curve draws: y within the view extended by one view
// height above and below, joined within 100 pixels above and below the area.
struct TCartesianBand {
    long double Low = static_cast<long double>(ViewY1) - ViewHeight;
    long double High = static_cast<long double>(ViewY2) + ViewHeight;
    int PixelLow = -100, PixelHigh = PlotHeight + 100;
};

} // namespace

void DrawCartesianPoints(const std::vector<std::pair<double, double>>& points, TCurvePen& pen) {
    const TCartesianBand band;
    TCurveJoiner joiner(pen, band.PixelLow, band.PixelHigh);
    for (std::size_t i = 0; i < points.size(); ++i) {
        const auto [x, y] = points[i];
        if (!(band.Low <= y && y <= band.High))
            joiner.Reject();
        else
            joiner.Accept(i == 0, WorldToPixelX(x), WorldToPixelY(y));
    }
}

int WalkCartesian(const TExprNode* tree, double xs, double xe, double step, TCurvePen& pen) {
    if (tree == nullptr || !(step > 0) || xs >= xe) return 0;
    const TCartesianBand band;
    TRowResults r;
    return Walk(xs, xe, step, band.Low, band.High, band.PixelLow, band.PixelHigh, nullptr, pen,
                [&](const std::vector<double>& values, std::vector<TWalkPoint>& points) {
                    r.Eval(tree, CurrentContext(), &TEvalContext::X, values);
                    for (std::size_t i = 0; i < values.size(); ++i)
                        points[i] = {values[i], r.Values()[i], r.Errors()[i]};
                });
}

int WalkPolar(const TExprNode* tree, double fmin, double fmax, double step, TCurvePen& pen) {
    if (!(step > 0)) return 0;
    TRowResults r;
    return Walk(fmin, fmax, step, ViewY1, ViewY2, -2 * PlotHeight, 2 * PlotHeight,
                QT_TRANSLATE_NOOP("Steps", "Шаг по углу"), pen,
                [&](const std::vector<double>& values, std::vector<TWalkPoint>& points) {
                    r.Eval(tree, CurrentContext(), &TEvalContext::X, values);
                    for (std::size_t i = 0; i < values.size(); ++i) {
                        TWalkPoint& p = points[i];
                        PolarPoint(values[i], r.Values()[i], p.X, p.Y);
                        p.Error = r.Errors()[i];
                    }
                });
}

int WalkParametric(const TExprNode* treeX, const TExprNode* treeY, double tmin, double tmax,
                   double step, bool polar, TCurvePen& pen) {
    if (!(step > 0)) return 0;
    // Where both formulas draw random numbers, their draws alternate point by
    // point; otherwise each formula's row draws them in the same order.
    const bool alternate = DrawsRandom(treeX) && DrawsRandom(treeY);
    TRowResults rx, ry;
    return Walk(tmin, tmax, step, ViewY1, ViewY2, -2 * PlotHeight, 2 * PlotHeight,
                QT_TRANSLATE_NOOP("Steps", "Шаг по t"), pen,
                [&](const std::vector<double>& values, std::vector<TWalkPoint>& points) {
                    TEvalContext& c = CurrentContext();
                    const auto place = [&](TWalkPoint& p, double a, double b) {
                        if (polar)
                            PolarPoint(a, b, p.X, p.Y);
                        else
                            p.X = a, p.Y = b;
                    };
                    if (alternate) {
                        for (std::size_t i = 0; i < values.size(); ++i) {
                            c.T = values[i];
                            c.Error = false;
                            const double a = EvalTree(treeX);
                            place(points[i], a, EvalTree(treeY));
                            points[i].Error = c.Error;
                        }
                        return;
                    }
                    rx.Eval(treeX, c, &TEvalContext::T, values);
                    ry.Eval(treeY, c, &TEvalContext::T, values);
                    for (std::size_t i = 0; i < values.size(); ++i) {
                        place(points[i], rx.Values()[i], ry.Values()[i]);
                        points[i].Error = rx.Errors()[i] || ry.Errors()[i];
                    }
                    c.Error = points.back().Error; // the last point flags x(t) or y(t)
                });
}
