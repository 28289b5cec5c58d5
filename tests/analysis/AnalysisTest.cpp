// Roots, extrema, intersections and areas against values known in closed
// form: simple roots within 4 units in the last place, extrema's x within
// 1e-7 relative, areas within 1e-12 relative; and what is no root (a pole,
// a gap in the domain) or no area (a pole, the domain's end).
#include "analysis/Analysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

namespace {

constexpr double Pi = 3.141592653589793;
constexpr long double PiL = 3.14159265358979323846264338327950288L;
const double Sqrt2 = static_cast<double>(1.41421356237309504880168872420969808L);
const double E = static_cast<double>(2.71828182845904523536028747135266250L);

class Analysis : public ::testing::Test {
  protected:
    void SetUp() override { DecimalSeparatorChar = '.'; }
    void TearDown() override { FreeAllTrees(); }
    // The graph of a formula, compiled into slot `slot`.
    static TGraph Graph(const char* formula, int slot = 0) {
        CompileFormula(slot, formula);
        return {FormulaTrees[slot], slot, formula};
    }
    static double Ulp(double x) { return std::nextafter(std::fabs(x), HUGE_VAL) - std::fabs(x); }
    static std::vector<double> Xs(const TPointsFound& found, TPointKind kind) {
        std::vector<double> xs;
        for (const TGraphPoint& p : found.Points)
            if (p.Kind == kind) xs.push_back(p.X);
        return xs;
    }
};

constexpr double Pixel = 0.05; // the default view's pixel width

TEST_F(Analysis, SimpleRootsToFourUnitsInTheLastPlace) {
    auto cheb = [](int k) { return static_cast<double>(std::cos((2 * k - 1) * PiL / 10)); };
    const struct {
        const char* formula;
        double a, b;
        std::vector<double> roots;
    } cases[] = {
        {"x^2-2", -3, 3, {-Sqrt2, Sqrt2}},
        {"cos(x)", 0, 10, {Pi / 2, 3 * Pi / 2, 5 * Pi / 2}},
        {"16*x^5-20*x^3+5*x", -1.5, 1.5, {cheb(5), cheb(4), 0, cheb(2), cheb(1)}},
        {"ln(x)-1", 0.5, 5, {E}},
        {"x^3-2", 0, 3, {static_cast<double>(std::cbrt(2.0L))}},
        {"10000000000*(x-1)", 0, 3, {1}},
        {"sin(x)", 1, 10, {Pi, 2 * Pi, 3 * Pi}},
    };
    for (const auto& c : cases) {
        const TPointsFound found = FindRoots(Graph(c.formula), c.a, c.b, Pixel);
        const auto xs = Xs(found, TPointKind::Root);
        ASSERT_EQ(xs.size(), c.roots.size()) << c.formula;
        for (std::size_t i = 0; i < xs.size(); ++i)
            EXPECT_LE(std::fabs(xs[i] - c.roots[i]), 4 * Ulp(c.roots[i]))
                << c.formula << " root " << i << ": " << xs[i] << " for " << c.roots[i];
        EXPECT_FALSE(found.Incomplete);
    }
}

// A zero that falls exactly on a sample inside a pixel column is a root
// (the default view's pixel width puts x = 0 on an inner sample).
TEST_F(Analysis, AZeroOnAnInnerSample) {
    const auto xs =
        Xs(FindRoots(Graph("sin(x)*3"), -10, 10, 0.049999999999998934), TPointKind::Root);
    ASSERT_EQ(xs.size(), 7u);
    EXPECT_EQ(xs[3], 0);
}

// Touching zeros, poles, gaps in the domain and its ends.
TEST_F(Analysis, WhatCountsAsARoot) {
    const struct {
        const char* formula;
        double a, b;
        std::vector<double> roots;
        double tolerance;
    } cases[] = {
        {"x^2", -3.03, 2.97, {0}, 1e-7},          // touches zero without crossing
        {"(x-1)^2*(x+2)", -3, 3, {-2, 1}, 1e-7},  // a simple and a double root
        {"sin(x)^2", 0.5, 7, {Pi, 2 * Pi}, 1e-7}, // touches at each multiple of pi
        {"tg(x)", 1, 3, {}, 0},                   // a pole is no root
        {"1/x", -1.01, 0.99, {}, 0},              // nor is one at the origin
        {"sqrt(x)", -1.013, 1, {0}, 0},           // the domain ends at a zero
        {"sqrt(x-2)", 0.01, 5, {2}, 0},
        {"ln(x)", -1.013, 2, {1}, 4e-16}, // the end at 0 is no zero
        {"sqrt(1-x*x)-0.5", -2.01, 2, {-std::sqrt(0.75), std::sqrt(0.75)}, 4e-16},
        {"abs(x)-1", -3, 3, {-1, 1}, 0},
        {"1", -3, 3, {}, 0},
        {"sign(x-0.3051)+0.5", -1, 2, {}, 0}, // a finite jump across zero, unequal sides
    };
    for (const auto& c : cases) {
        const auto xs = Xs(FindRoots(Graph(c.formula), c.a, c.b, Pixel), TPointKind::Root);
        ASSERT_EQ(xs.size(), c.roots.size()) << c.formula;
        for (std::size_t i = 0; i < xs.size(); ++i)
            EXPECT_NEAR(xs[i], c.roots[i], c.tolerance) << c.formula << " " << i;
    }
}

TEST_F(Analysis, ExtremaInsideTheInterval) {
    const struct {
        const char* formula;
        double a, b;
        std::vector<std::pair<double, bool>> extrema; // x, a minimum
    } cases[] = {
        {"sin(x)", 0, 10, {{Pi / 2, false}, {3 * Pi / 2, true}, {5 * Pi / 2, false}}},
        {"x^3-3*x", -3, 3, {{-1, false}, {1, true}}},
        {"abs(x)", -1.013, 1, {{0, true}}}, // a kink
        {"abs(x-0.3)+1", -1, 1, {{0.3, true}}},
        {"(x-1)^2", -1, 1, {}}, // the smallest value is at the end: not inside
        {"x", -1, 1, {}},
        // Flat and repeated values: a floor is one minimum, a constant none.
        {"abs(x-1)+abs(x+1)+abs(x-2)/1000", -3.013, 3, {{1, true}}},
        {"5", -3, 3, {}},
        // A pole is no extremum; the genuine ones beside poles stay.
        {"tg(x)", -2, 2, {}},
        {"tg(x)", -2, 3, {}},
        {"1/x", -1.013, 1, {}},
        {"1/(x-1)^2", -1.013, 3, {}},
        {"ln(abs(x))", -2.013, 2, {}},
        {"x/(x^2-1)", -3.013, 3, {}},
        {"1/(x^2-1)", -3.013, 3, {{0, false}}},
        {"x+1/x", -3.013, 3, {{-1, false}, {1, true}}},
        {"x^2+1/x", -3.013, 3, {{static_cast<double>(std::cbrt(0.5L)), true}}},
        // Across a gap in the domain the graph has no lowest point.
        {"sqrt(x^2-0.0001)", -1.013, 1, {}},
    };
    for (const auto& c : cases) {
        const TGraph g = Graph(c.formula);
        const TPointsFound found = FindExtrema(g, c.a, c.b, Pixel);
        ASSERT_EQ(found.Points.size(), c.extrema.size()) << c.formula;
        for (std::size_t i = 0; i < c.extrema.size(); ++i) {
            const TGraphPoint& p = found.Points[i];
            EXPECT_EQ(p.Kind, c.extrema[i].second ? TPointKind::Minimum : TPointKind::Maximum)
                << c.formula;
            EXPECT_NEAR(p.X, c.extrema[i].first, 1e-7 * std::max(1.0, std::fabs(p.X)))
                << c.formula << " " << i;
            EXPECT_EQ(p.Y, *GraphValue(g.Tree, p.X)) << c.formula; // y is f at that x
        }
    }
}

// Inflection points: where the exact second derivative changes sign and
// the graph has a value; not where it only touches 0 (x^4), nor across a
// pole (1/x) or where the formula has no value.
TEST_F(Analysis, InflectionPointsWhereTheCurvatureChangesSign) {
    const double r = static_cast<double>(0.70710678118654752440084436210484904L); // 1/sqrt(2)
    const struct {
        const char* formula;
        double a, b;
        std::vector<double> xs;
    } rows[] = {
        {"sin(x)", -7, 7, {-2 * Pi, -Pi, 0, Pi, 2 * Pi}},
        {"x^3-3*x", -3, 3, {0}},
        {"exp(-x^2)", -3, 3, {-r, r}},
        {"atg(x)", -5, 5, {0}},
        {"x^4", -3, 3, {}},
        {"1/x", -2, 2, {}},
        {"ln(x)+x^3", -2, 2, {static_cast<double>(std::cbrt(1.0L / 6))}},
        // (mpmath: the root of f'' below 1.)
        {"sqrt(x)*(x-1)^3", -1, 3, {0.364170476926138108, 1}},
    };
    for (const auto& row : rows) {
        const TGraph g = Graph(row.formula);
        const std::vector<double> xs =
            Xs(FindInflections(g, row.a, row.b, Pixel), TPointKind::Inflection);
        ASSERT_EQ(xs.size(), row.xs.size()) << row.formula;
        std::vector<double> expected = row.xs;
        std::sort(expected.begin(), expected.end());
        for (std::size_t k = 0; k < xs.size(); ++k)
            EXPECT_NEAR(xs[k], expected[k], 1e-9 * (1 + std::fabs(expected[k]))) << row.formula;
    }
    EXPECT_TRUE(FindInflections(Graph("rand(3)*x^3"), -1, 1, Pixel).Points.empty());
}

TEST_F(Analysis, IntersectionsOfALineAndAParabola) {
    const TGraph line = Graph("x", 1), parabola = Graph("x^2-2", 2);
    const TPointsFound found = FindIntersections(line, parabola, -5, 5, Pixel);
    ASSERT_EQ(found.Points.size(), 2u);
    EXPECT_EQ(found.Points[0].X, -1);
    EXPECT_EQ(found.Points[0].Y, -1);
    EXPECT_EQ(found.Points[1].X, 2);
    EXPECT_EQ(found.Points[1].Graph, 1);
    EXPECT_EQ(found.Points[1].With, 2);
    // A tangent line touches once.
    const TGraph tangent = Graph("2*x-1", 3), square = Graph("x^2", 4);
    const auto touch = FindIntersections(tangent, square, -5, 5, Pixel).Points;
    ASSERT_EQ(touch.size(), 1u);
    EXPECT_NEAR(touch[0].X, 1, 1e-7);
}

// Long ranges are sampled in many rows, with gaps in the domain between and
// across them; every point is still found where its closed form puts it.
TEST_F(Analysis, ALongRangeIsSearchedWhole) {
    const double a = 0.5, b = 700; // about 14,000 samples
    const struct {
        const char* formula;
        const char* other; // intersections with this graph, or null
        TPointKind kind;
        double first, period; // the points: first + k * period within (a, b)
    } cases[] = {
        {"sin(x)", nullptr, TPointKind::Root, Pi, Pi},
        {"sqrt(sin(x))*3", nullptr, TPointKind::Maximum, Pi / 2, 2 * Pi},
        {"ln(sin(x))", nullptr, TPointKind::Maximum, Pi / 2, 2 * Pi},
        {"sin(x)", "cos(x)", TPointKind::Intersection, Pi / 4, Pi},
    };
    for (const auto& c : cases) {
        const TGraph f = Graph(c.formula, 1);
        const TPointsFound found = c.other != nullptr
                                       ? FindIntersections(f, Graph(c.other, 2), a, b, Pixel)
                                   : c.kind == TPointKind::Root ? FindRoots(f, a, b, Pixel)
                                                                : FindExtrema(f, a, b, Pixel);
        const auto xs = Xs(found, c.kind);
        std::vector<double> expected;
        for (long double x = c.first; x < b; x += c.period)
            expected.push_back(static_cast<double>(x));
        ASSERT_EQ(xs.size(), expected.size()) << c.formula;
        EXPECT_EQ(found.Points.size(), xs.size()) << c.formula;
        for (std::size_t i = 0; i < xs.size(); ++i)
            EXPECT_NEAR(xs[i], expected[i], 1e-7 * expected[i]) << c.formula << " " << i;
    }
}

TEST_F(Analysis, AreasToTwelveDigitsAndAreasThatAreNone) {
    const struct {
        const char* formula;
        double a, b, area;
    } cases[] = {
        {"x^2", 0, 1, 1.0 / 3}, {"sin(x)", 0, Pi, 2},         {"exp(x)", 0, 1, E - 1},
        {"x^3", -1, 2, 3.75},   {"1/(1+x^2)", -1, 1, Pi / 2}, {"sqrt(x)", 0, 4, 16.0 / 3},
        {"x", 2, -1, -1.5},
    };
    for (const auto& c : cases) {
        const TArea area = Integrate(Graph(c.formula), c.a, c.b, Pixel);
        EXPECT_NEAR(area.Value, c.area, 1e-12 * std::fabs(c.area)) << c.formula;
        EXPECT_LT(area.Error, 1e-6 * std::fabs(c.area)) << c.formula;
    }
    const struct {
        const char* formula;
        double a, b;
        const char* why;
    } refused[] = {
        {"1/x", -1, 1, "не определена при x = 0"},
        {"1/x", -1.01, 0.99, "полюс"},
        {"tg(x)", 1, 2, "полюс"},
        {"sqrt(x)", -1, 1, "не определена"},
        {"ln(x)", 0, 1, "не определена при x = 0"},
        {"sign(x-0.3051)+0.5", -1, 2, "полюс"}, // a jump across zero is taken for one
        {"rand(3)", 0, 1, "случайные"},
        {"exp(x)", 0, 1000, "больше самого большого числа"}, // overflow, not the domain
    };
    for (const auto& r : refused) {
        try {
            Integrate(Graph(r.formula), r.a, r.b, Pixel);
            ADD_FAILURE() << r.formula << " gave an area";
        } catch (const AreaRefused& e) {
            EXPECT_NE(std::string(e.what()).find(r.why), std::string::npos) << e.what();
        }
    }
}

// Properties over random cubics: a root is where the sign changes or the
// value is zero; a minimum is not above its neighbours.
TEST_F(Analysis, RootsChangeSignAndMinimaLieLow) {
    std::mt19937 random(3);
    std::uniform_real_distribution<double> coefficient(-3, 3);
    for (int n = 0; n < 200; ++n) {
        char formula[160];
        std::snprintf(formula, sizeof formula, "(x-(%.6f))*(x-(%.6f))*(x-(%.6f))+%.6f",
                      coefficient(random), coefficient(random), coefficient(random),
                      coefficient(random) / 10);
        const TGraph g = Graph(formula);
        const TPointsFound found = PointsOfInterest({g}, -4, 4, Pixel);
        for (const TGraphPoint& p : found.Points) {
            const double below = *GraphValue(g.Tree, std::nextafter(p.X, -HUGE_VAL));
            const double above = *GraphValue(g.Tree, std::nextafter(p.X, HUGE_VAL));
            const double at = *GraphValue(g.Tree, p.X);
            if (p.Kind == TPointKind::Root) {
                EXPECT_TRUE(at == 0 || below * above <= 0 || std::fabs(at) < 1e-12)
                    << formula << " at " << p.X;
            }
            if (p.Kind == TPointKind::Minimum) {
                for (const double d : {1e-3, 1e-2})
                    EXPECT_LE(at,
                              std::min(*GraphValue(g.Tree, p.X - d), *GraphValue(g.Tree, p.X + d)))
                        << formula;
            }
        }
    }
}

// A graph that oscillates without end stops at a thousand points and says so.
TEST_F(Analysis, OscillationWithoutEndStopsAtAThousandPoints) {
    const TPointsFound found = FindRoots(Graph("sin(1/x)"), -1, 1, 2.0 / 400);
    EXPECT_TRUE(found.Incomplete);
    EXPECT_EQ(found.Points.size(), MaxGraphPoints);
    const TExprNode* tree = FormulaTrees[0];
    for (const TGraphPoint& p : found.Points)
        if (std::fabs(p.X) > 1e-6) {
            EXPECT_NEAR(*GraphValue(tree, p.X), 0, 1e-6) << p.X;
        }
}

// A graph that draws random numbers is not searched, and says so; the
// others are; every search ends, even where the sign changes everywhere.
TEST_F(Analysis, RandomGraphsAreSkippedAndEverySearchEnds) {
    const TGraph sine = Graph("sin(x)", 0), noise = Graph("rand(3)", 1), ten = Graph("rand(10)", 2);
    const TPointsFound found = PointsOfInterest({sine, noise}, -10, 10, Pixel);
    EXPECT_EQ(found.Random, std::vector<int>{1});
    EXPECT_EQ(Xs(found, TPointKind::Root).size(), 7u);
    for (const TGraphPoint& p : found.Points)
        EXPECT_EQ(p.Graph, 0);
    for (const TPointsFound& f : {FindRoots(ten, -10, 10, Pixel), FindExtrema(ten, -10, 10, Pixel),
                                  FindIntersections(sine, ten, -10, 10, Pixel)}) {
        EXPECT_TRUE(f.Points.empty());
        EXPECT_EQ(f.Random, std::vector<int>{2});
    }
    // Poles at every scale down to the doubles' spacing: sign changes
    // everywhere, and no root.
    const TPointsFound poles =
        FindRoots(Graph("1/sin(1000000000*x*x*1000000000)", 3), -1, 1, Pixel);
    EXPECT_TRUE(poles.Incomplete);
    // Samples that cannot be a pixel apart say that they may miss points.
    EXPECT_TRUE(FindRoots(Graph("x^2-4", 4), -1e308, 1e308, Pixel).Incomplete);
    EXPECT_FALSE(FindRoots(Graph("x^2-4", 4), -1e3, 1e3, Pixel).Incomplete);
}

TEST_F(Analysis, PointsOfInterestOfTwoGraphs) {
    const TPointsFound found = PointsOfInterest({Graph("x^2-1", 1), Graph("1-x", 2)}, -3, 3, Pixel);
    std::vector<std::string> kinds;
    for (const TGraphPoint& p : found.Points)
        kinds.push_back(std::string(KindName(p.Kind)) + "@" + std::to_string(p.Graph));
    // x^2-1: roots -1 and 1, minimum at 0, y0 -1; 1-x: root 1, y0 1;
    // they meet at -2 and 1.
    EXPECT_EQ(kinds, (std::vector<std::string>{"intersection@1", "root@1", "min@1", "y0@1", "y0@2",
                                               "root@1", "intersection@1", "root@2"}));
}

} // namespace

namespace {

// The points of interest searched on several threads are those of one,
// bit for bit and in the same order, and the main thread's cells stay.
TEST(AnalysisThreads, ThePointsOfInterestAreTheSameOnAnyNumberOfThreads) {
    DecimalSeparatorChar = '.';
    const char* formulas[] = {"sin(x)*3", "x^2/8-4", "sqrt(x)*2-1", "1/x", "tg(x)", "cos(x*2)+x/3"};
    std::vector<TGraph> graphs;
    for (int k = 0; k < 6; ++k) {
        CompileFormula(k, formulas[k]);
        graphs.push_back({FormulaTrees[k], k + 1, formulas[k]});
    }
    const auto search = [&](int threads) {
        SetBuildThreads(threads);
        VarX = 0.25, EvalError = true;
        const TPointsFound found = PointsOfInterest(graphs, -10, 10, 0.05);
        SetBuildThreads(0);
        EXPECT_EQ(VarX, 0.25);
        EXPECT_TRUE(EvalError);
        std::vector<double> bits;
        for (const TGraphPoint& p : found.Points)
            bits.insert(bits.end(), {static_cast<double>(p.Kind), p.X, p.Y,
                                     static_cast<double>(p.Graph), static_cast<double>(p.With)});
        return std::pair(bits, found.Incomplete);
    };
    const auto one = search(1);
    EXPECT_GT(one.first.size(), 5u * 40);
    for (const int threads : {2, 3, 7}) {
        const auto many = search(threads);
        ASSERT_EQ(many.first.size(), one.first.size()) << threads;
        EXPECT_EQ(std::memcmp(many.first.data(), one.first.data(), one.first.size() * 8), 0)
            << threads << " threads";
        EXPECT_EQ(many.second, one.second);
    }
    FreeAllTrees();
}

} // namespace

namespace {

// A search's samples are a pixel apart, or 400 on a short interval; the
// view keeps the points it shows, whichever way its edges are given.
TEST(SearchRules, TheStepAndTheViewsPoints) {
    EXPECT_EQ(SearchStep(0.05, -10, 10), 0.05);
    EXPECT_EQ(SearchStep(0.05, 1, 3), 2.0 / 400);
    EXPECT_EQ(SearchStep(0.05, 3, 1), 2.0 / 400);
    TPointsFound found{{{TPointKind::Root, 0, -11, 0},
                        {TPointKind::Root, 1, -10, 0},
                        {TPointKind::Minimum, 2, 10, 0},
                        {TPointKind::Maximum, 3, 10.5, 0}},
                       false,
                       {}};
    TPointsFound reversed = found;
    KeepInView(found, -10, 10);
    KeepInView(reversed, 10, -10);
    for (const TPointsFound* f : {&found, &reversed}) {
        ASSERT_EQ(f->Points.size(), 2u);
        EXPECT_EQ(f->Points[0].X, 1);
        EXPECT_EQ(f->Points[1].X, 2);
    }
}

} // namespace
