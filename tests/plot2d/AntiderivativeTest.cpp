// The antiderivative's curve against closed forms, and where it stops.
#include "plot2d/Antiderivative.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

TEST(Antiderivative, FollowsClosedFormsFromItsPoint) {
    const struct {
        const char* integrand;
        double x0, y0, xs, xe;
        std::function<double(double)> closed;
    } rows[] = {
        {"cos(x)", 0, 0, -5, 5, [](double x) { return std::sin(x); }},
        {"exp(x)", 0, 1, -3, 3, [](double x) { return std::exp(x); }},
        {"1/x", 1, 0, 0.25, 8, [](double x) { return std::log(x); }},
        // From a point beyond the view: one stretch up to its edge first.
        {"2*x", -5, 25, 0, 3, [](double x) { return x * x; }},
        {"2*x", 9, 81, -3, 2, [](double x) { return x * x; }},
        // Far away, an integrand that oscillates: cos(100000) - cos(x).
        {"sin(x)", 1e5, 0, -5, 5, [](double x) { return std::cos(1e5) - std::cos(x); }},
        {"x^2*sin(x)", 1, 0, -4, 4,
         [](double x) {
             const auto F = [](double t) {
                 return 2 * t * std::sin(t) - (t * t - 2) * std::cos(t);
             };
             return F(x) - F(1);
         }},
    };
    for (const auto& row : rows) {
        const TTreePtr f = CompileTree(row.integrand);
        const TAntiderivativeCurve curve =
            AntiderivativeCurve(f.get(), row.x0, row.y0, row.xs, row.xe, 0.01);
        EXPECT_FALSE(curve.Stop) << row.integrand;
        std::size_t points = 0;
        for (const auto* side : {&curve.Left, &curve.Right})
            for (const auto& [x, y] : *side) {
                EXPECT_NEAR(y, row.closed(x), 1e-9 * (1 + std::fabs(row.closed(x))))
                    << row.integrand << " at " << x;
                ++points;
            }
        // A point a step apart from one edge to the other.
        EXPECT_NEAR(static_cast<double>(points), (row.xe - row.xs) / 0.01, 4) << row.integrand;
    }
}

TEST(Antiderivative, StopsAtAPoleOrTheEdgeOfTheDomain) {
    const struct {
        const char* integrand;
        double x0;
        TAntiderivativeStop::TWhy why;
        double stopLow, stopHigh; // where the failing step begins
    } rows[] = {
        {"1/x", 1, TAntiderivativeStop::TWhy::Pole, 0, 0.02},
        {"1/(x-2)^2", 0, TAntiderivativeStop::TWhy::Pole, 1.98, 2},
        {"sqrt(x)", 4, TAntiderivativeStop::TWhy::Domain, 0, 0.02},
        {"ln(x+3)", 0, TAntiderivativeStop::TWhy::Domain, -3, -2.98},
    };
    for (const auto& row : rows) {
        const TTreePtr f = CompileTree(row.integrand);
        const TAntiderivativeCurve curve = AntiderivativeCurve(f.get(), row.x0, 0, -5, 5, 0.01);
        ASSERT_TRUE(curve.Stop) << row.integrand;
        EXPECT_EQ(curve.Stop->Why, row.why) << row.integrand << " at " << curve.Stop->X;
        EXPECT_GE(curve.Stop->X, row.stopLow) << row.integrand;
        EXPECT_LE(curve.Stop->X, row.stopHigh) << row.integrand;
    }
    // Nothing is drawn from a point where the integrand has no value.
    const TTreePtr f = CompileTree("sqrt(x)");
    const TAntiderivativeCurve none = AntiderivativeCurve(f.get(), -1, 0, -5, 5, 0.01);
    ASSERT_TRUE(none.Stop);
    EXPECT_LE(none.Left.size() + none.Right.size(), 2u);
}

} // namespace
