#include "plot2d/Sampling.h"
#include "engine/Engine.h"
#include "plot2d/View2D.h"

#include <gtest/gtest.h>

#include <cmath>
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
