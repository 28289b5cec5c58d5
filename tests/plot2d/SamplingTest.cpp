#include "plot2d/Sampling.h"
#include "engine/Engine.h"
#include "plot2d/View2D.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

struct Segment {
    int x1, y1, x2, y2;
};

// Records what a walk draws: the polylines it starts and the lines it draws.
class RecordingPen : public TCurvePen {
  public:
    std::vector<std::pair<int, int>> points;
    std::vector<Segment> lines;
    int moves = 0;
    void MoveTo(int x, int y) override {
        ++moves;
        at_ = {x, y};
        points.push_back(at_);
    }
    void LineTo(int x, int y) override {
        lines.push_back({at_.first, at_.second, x, y});
        at_ = {x, y};
        points.push_back(at_);
    }
    // True when some line crosses the pixel column c (strictly).
    bool Crosses(int c) const {
        for (const auto& s : lines)
            if (std::min(s.x1, s.x2) < c && std::max(s.x1, s.x2) > c) return true;
        return false;
    }

  private:
    std::pair<int, int> at_{0, 0};
};

class Sampling : public ::testing::Test {
  protected:
    void SetUp() override {
        PlotWidth = PlotHeight = 400;
        View(-10, 10, -10, 10);
        FreeAllTrees();
    }
    void TearDown() override { FreeAllTrees(); }
    static void View(double x1, double x2, double y1, double y2) {
        ViewX1 = x1, ViewX2 = x2, ViewY1 = y1, ViewY2 = y2;
        RecomputeViewFromEdges();
    }
    static const TExprNode* Compile(const char* text, int slot = 0) {
        CompileFormula(slot, text);
        return FormulaTrees[slot];
    }
};

TEST_F(Sampling, StepZeroBecomesThePixelWidthAndTheWalkTakes402Samples) {
    ASSERT_TRUE(UsesPixelStep(0, false));
    const double step = PixelStep();
    EXPECT_EQ(step, 0.049999999999998934);
    DecimalSeparatorChar = ',';
    EXPECT_EQ(FormatNumber(step), "0,0499999999999989");
    DecimalSeparatorChar = '.';
    EXPECT_TRUE(UsesPixelStep(0.01, false)); // never finer than a column
    EXPECT_FALSE(UsesPixelStep(0.5, false));
    EXPECT_TRUE(UsesPixelStep(0.5, true)); // "Минимальный шаг"
    RecordingPen pen;
    EXPECT_EQ(WalkCartesian(Compile("x*x"), ViewX1, ViewX2, step, pen), 402);
    EXPECT_EQ(VarX, 10.049999999999573); // the last sample, just below end + step
}

TEST_F(Sampling, NothingIsDrawnForAnEmptySlotAZeroStepOrAnEmptyRange) {
    RecordingPen pen;
    EXPECT_EQ(WalkCartesian(nullptr, -10, 10, 0.1, pen), 0);
    EXPECT_EQ(WalkCartesian(Compile("x"), -10, 10, 0, pen), 0);
    EXPECT_EQ(WalkCartesian(Compile("x"), 10, -10, 0.1, pen), 0);
    EXPECT_EQ(WalkPolar(Compile("1"), 0, 6.3, 0, pen), 0);
    EXPECT_EQ(WalkParametric(Compile("cos(t)"), Compile("sin(t)", 1), 0, 6.3, 0, false, pen), 0);
    EXPECT_EQ(WalkParametric(Compile("t"), Compile("t", 1), 5, 1, 1, false, pen), 0);
    EXPECT_EQ(WalkParametric(Compile("t"), Compile("t", 1), 1, 1, 1, false, pen), 1);
    EXPECT_TRUE(pen.lines.empty()); // a range of one sample only moves the pen
}

TEST_F(Sampling, StepOneJoinsTheSamplesOfALine) {
    RecordingPen pen;
    EXPECT_EQ(WalkCartesian(Compile("x"), -10, 10, 1, pen), 21);
    EXPECT_EQ(pen.moves, 1);
    EXPECT_EQ(pen.lines.size(), 20u);
    EXPECT_EQ(pen.points.front(), std::make_pair(0, 400));
    EXPECT_EQ(pen.points.back(), std::make_pair(400, 0));
}

TEST_F(Sampling, TangentBreaksAtItsAsymptotes) {
    const double asymptotes[] = {-7.853981633974483, -4.71238898038469, -1.5707963267948966,
                                 1.5707963267948966, 4.71238898038469,  7.853981633974483};
    RecordingPen fine;
    WalkCartesian(Compile("tg(x)"), -10, 10, PixelStep(), fine);
    EXPECT_GE(fine.moves, 7); // six gaps at least (points beyond the band start anew too)
    for (double a : asymptotes)
        EXPECT_FALSE(fine.Crosses(WorldToPixelX(a))) << a;

    RecordingPen coarse; // with step 0.5 some samples on either side are both accepted
    WalkCartesian(Compile("tg(x)"), -10, 10, 0.5, coarse);
    int joined = 0;
    for (double a : asymptotes)
        joined += coarse.Crosses(WorldToPixelX(a));
    EXPECT_GT(joined, 0);
}

TEST_F(Sampling, HyperbolaBranchesAreJoinedOnlyWhenBothSamplesAreAccepted) {
    RecordingPen fine;
    WalkCartesian(Compile("1/x"), -10, 10, PixelStep(), fine);
    EXPECT_FALSE(fine.Crosses(200));
    EXPECT_GE(fine.moves, 2);

    View(-10.5, 9.5, -10, 10);
    RecordingPen coarse;
    WalkCartesian(Compile("1/x"), ViewX1, ViewX2, 1, coarse);
    EXPECT_TRUE(coarse.Crosses(WorldToPixelX(0))); // -0.5 -> -2 joined to 0.5 -> 2
}

TEST_F(Sampling, ASteepRiseIsNotJoinedFromOutsideThePixelBand) {
    // y = 100 x: from x = 0.1 (y = 10, row 0) to 0.2 (y = 20, row -200) the
    // second point is outside the band and is moved to, not joined.
    RecordingPen rise;
    WalkCartesian(Compile("100*x"), 0, 0.2, 0.1, rise);
    EXPECT_EQ(rise.moves, 2);
    EXPECT_EQ(rise.lines.size(), 1u);
    // The matching fall is drawn from the point above into the area.
    RecordingPen fall;
    WalkCartesian(Compile("100*(0.2-x)"), 0, 0.2, 0.1, fall);
    EXPECT_EQ(fall.moves, 1);
    EXPECT_EQ(fall.lines.size(), 2u);
}

TEST_F(Sampling, PolarCirclesLieAtTheirRadius) {
    RecordingPen pen;
    // 0, 0.1, ... accumulate to just below 6.3, so one more sample follows.
    EXPECT_EQ(WalkPolar(Compile("1"), 0, 6.3, 0.1, pen), 65);
    EXPECT_EQ(pen.points.size(), 65u);
    for (const auto& [x, y] : pen.points)
        EXPECT_NEAR(std::hypot(x - 200, y - 200), 20, 1.0);
    EXPECT_EQ(pen.moves, 1);

    RecordingPen big; // r = 20: only the arcs with |20 sin a| <= 10 are kept
    WalkPolar(Compile("20"), 0, 6.3, 0.01, big);
    // |sin a| <= 1/2 on a third of the turn: about 210 of the 631 samples.
    EXPECT_GT(big.points.size(), 200u);
    EXPECT_LT(big.points.size(), 220u);
    for (const auto& [x, y] : big.points) {
        EXPECT_NEAR(std::hypot(x - 200, y - 200), 400, 1.0);
        EXPECT_GE(y, 0);
        EXPECT_LE(y, 400);
    }
    EXPECT_GE(big.moves, 2);
}

TEST_F(Sampling, PolarDefaultsTake630Samples) {
    RecordingPen pen;
    EXPECT_EQ(WalkPolar(Compile("1+sin(5*x)"), 0, 6.283185307179586, 0.01, pen), 630);
    EXPECT_NEAR(VarX, 6.29, 0.001);
}

TEST_F(Sampling, ParametricCircle) {
    RecordingPen pen;
    WalkParametric(Compile("cos(t)"), Compile("sin(t)", 1), 0, 6.3, 0.1, false, pen);
    EXPECT_EQ(pen.moves, 1);
    EXPECT_EQ(pen.lines.size(), 64u);
    for (const auto& [x, y] : pen.points)
        EXPECT_NEAR(std::hypot(x - 200, y - 200), 20, 1.0);

    RecordingPen polar; // fi(t) = t, r(t) = 5: a circle of radius 5
    EXPECT_EQ(WalkParametric(Compile("t"), Compile("5", 1), 0, 6.3, 0.1, true, polar), 65);
    EXPECT_EQ(polar.points.size(), 65u);
    EXPECT_EQ(polar.moves, 1);
    for (const auto& [x, y] : polar.points)
        EXPECT_NEAR(std::hypot(x - 200, y - 200), 100, 1.0);

    // A domain error in either formula rejects the sample: t = 0, 1, 2 give
    // sqrt of a negative number, so the curve starts at t = 3 and joins the
    // samples from there on.
    RecordingPen errors;
    EXPECT_EQ(WalkParametric(Compile("t"), Compile("sqrt(t-3)", 1), 0, 6, 1, false, errors), 7);
    ASSERT_EQ(errors.points.size(), 4u);
    EXPECT_EQ(errors.moves, 1);
    EXPECT_EQ(errors.points.front(), std::make_pair(WorldToPixelX(3), WorldToPixelY(0)));
    EXPECT_EQ(errors.points.back(), std::make_pair(WorldToPixelX(6), WorldToPixelY(std::sqrt(3))));
}

TEST_F(Sampling, AStepTooSmallToMoveTheValueEndsTheWalk) {
    RecordingPen pen;
    // 1e17 + 1 is 1e17 again; a thousand such steps are within the bound on work.
    EXPECT_EQ(WalkCartesian(Compile("x"), 1e17, 1e17 + 1000, 1, pen), 1);
}

} // namespace

#include "document/Limits.h"

namespace {

// A walk that would take more samples than a picture may have is refused
// before it draws anything; one just within the bound is walked.
TEST_F(Sampling, WalksBeyondTheBoundAreRefused) {
    const struct {
        const char* name;
        int (*walk)(TCurvePen&);
        bool refused;
    } cases[] = {
        {"polar, 1e6 turns at 0.01",
         [](TCurvePen& p) { return WalkPolar(Compile("1"), 0, 1e6, 0.01, p); }, true},
        {"parametric, 0 .. 1e6 at 0.01",
         [](TCurvePen& p) {
             return WalkParametric(Compile("t"), Compile("t", 1), 0, 1e6, 0.01, false, p);
         },
         true},
        {"cartesian with a step far below a pixel",
         [](TCurvePen& p) { return WalkCartesian(Compile("x"), -10, 10, 1e-9, p); }, true},
        {"parametric just within the bound",
         [](TCurvePen& p) {
             return WalkParametric(Compile("0"), Compile("0", 1), 0, 4000000, 1, false, p);
         },
         false},
    };
    for (const auto& c : cases) {
        RecordingPen pen;
        if (c.refused) {
            EXPECT_THROW(c.walk(pen), BuildRefused) << c.name;
            EXPECT_TRUE(pen.points.empty()) << c.name;
        } else {
            EXPECT_EQ(c.walk(pen), 4000001) << c.name;
        }
    }
}

} // namespace

#include "engine/Arith80.h"

namespace {

// The walks evaluate their samples as rows. What they draw, and how they
// leave the cells, the error flag and the random generator, must be what
// evaluating each sample in turn gives: the walk below, one point at a time.
struct TPointWalk {
    enum TKind { Cartesian, Polar, Parametric, PolarParametric } Kind;
    const char *X, *Y; // Y only for the parametric curves
    double From, To, Step;
};

RecordingPen WalkPointByPoint(const TPointWalk& w, const TExprNode* tx, const TExprNode* ty) {
    RecordingPen pen;
    const bool cartesian = w.Kind == TPointWalk::Cartesian;
    const long double low = cartesian ? static_cast<long double>(ViewY1) - ViewHeight : ViewY1;
    const long double high = cartesian ? static_cast<long double>(ViewY2) + ViewHeight : ViewY2;
    TCurveJoiner joiner(pen, cartesian ? -100 : -2 * PlotHeight,
                        cartesian ? PlotHeight + 100 : 2 * PlotHeight);
    for (double v = w.From; Before(w.To, w.Step, v);) {
        EvalError = false;
        double x = v, y = 0;
        if (cartesian || w.Kind == TPointWalk::Polar) {
            VarX = v;
            y = EvalTree(tx);
            if (!cartesian) PolarPoint(v, y, x, y);
        } else {
            VarT = v;
            const double a = EvalTree(tx), b = EvalTree(ty);
            if (w.Kind == TPointWalk::PolarParametric)
                PolarPoint(a, b, x, y);
            else
                x = a, y = b;
        }
        if (EvalError || !(low <= y && y <= high))
            joiner.Reject();
        else
            joiner.Accept(v <= w.From, WorldToPixelX(x), WorldToPixelY(y));
        const double next = Advance(v, w.Step);
        if (next == v) break;
        v = next;
    }
    return pen;
}

TEST_F(Sampling, RowsDrawWhatThePointsDrawAndLeaveTheCellsAsTheyDo) {
    const TPointWalk walks[] = {
        // more samples than a chunk, a domain error in each
        {TPointWalk::Cartesian, "ln(x)*sin(1/x)", nullptr, -10, 10, 0.001},
        {TPointWalk::Cartesian, "sqrt(1-x)", nullptr, -3, 3, 0.25}, // the last sample flags
        {TPointWalk::Cartesian, "rand(10)*x/10", nullptr, -10, 10, 0.05},
        {TPointWalk::Polar, "sqrt(cos(2*x))*8", nullptr, 0, 6.3, 0.001},
        {TPointWalk::Polar, "1+rand(9)", nullptr, 0, 6.3, 0.01},
        {TPointWalk::Parametric, "t*cos(t)", "sqrt(t)*2", -5, 9, 0.002},
        {TPointWalk::Parametric, "sqrt(2-t)", "t", -3, 3, 0.01},     // x(t) flags the last sample
        {TPointWalk::Parametric, "rand(20)-10", "t", -10, 10, 0.01}, // one formula draws
        {TPointWalk::Parametric, "rand(20)-10", "rand(t)", -10, 10, 0.01}, // both draw, in turn
        {TPointWalk::PolarParametric, "t", "ln(t)", -1, 7, 0.003},
    };
    for (const TPointWalk& w : walks) {
        const TExprNode* tx = Compile(w.X, 0);
        const TExprNode* ty = w.Y != nullptr ? Compile(w.Y, 1) : nullptr;
        struct TAfter {
            RecordingPen Pen;
            double X, T;
            bool Error;
            std::uint32_t NextDraw;
        };
        const auto run = [&](auto walk) {
            SeedRandom(11);
            VarX = VarT = 0.5;
            EvalError = true;
            TAfter after{walk(), 0, 0, false, 0};
            after.X = VarX, after.T = VarT, after.Error = EvalError;
            after.NextDraw = RandomBelow(1u << 30);
            return after;
        };
        const TAfter rows = run([&] {
            RecordingPen pen;
            if (w.Kind == TPointWalk::Cartesian) WalkCartesian(tx, w.From, w.To, w.Step, pen);
            if (w.Kind == TPointWalk::Polar) WalkPolar(tx, w.From, w.To, w.Step, pen);
            if (w.Kind >= TPointWalk::Parametric)
                WalkParametric(tx, ty, w.From, w.To, w.Step, w.Kind == TPointWalk::PolarParametric,
                               pen);
            return pen;
        });
        const TAfter points = run([&] { return WalkPointByPoint(w, tx, ty); });
        const std::string name = std::string(w.X) + (w.Y != nullptr ? std::string(", ") + w.Y : "");
        EXPECT_EQ(rows.Pen.points, points.Pen.points) << name;
        EXPECT_EQ(rows.Pen.moves, points.Pen.moves) << name;
        EXPECT_GT(points.Pen.moves, 0) << name;
        EXPECT_EQ(std::memcmp(&rows.X, &points.X, sizeof(double)), 0) << name;
        EXPECT_EQ(std::memcmp(&rows.T, &points.T, sizeof(double)), 0) << name;
        EXPECT_EQ(rows.Error, points.Error) << name;
        EXPECT_EQ(rows.NextDraw, points.NextDraw) << name;
    }
}

} // namespace
