#include "plot2d/Antiderivative.h"

#include "texts/Texts.h"

#include <boost/math/quadrature/gauss_kronrod.hpp>

#include <algorithm>
#include <cmath>

namespace {

// One stretch of the integral, or why it has none.
struct TPiece {
    double Value = 0;
    std::optional<TAntiderivativeStop::TWhy> Failure;
};

bool Defined(const TExprNode* f, double x) {
    TEvalContext& context = CurrentContext();
    context.X = x;
    context.Error = false;
    return std::isfinite(EvalTree(f)) && !context.Error;
}

TPiece Integral(const TExprNode* f, double a, double b) {
    TEvalContext& context = CurrentContext();
    bool outside = false;
    const auto integrand = [&](double t) {
        context.X = t;
        context.Error = false;
        const double v = EvalTree(f);
        if (context.Error || !std::isfinite(v)) {
            outside = true;
            return 0.0;
        }
        return v;
    };
    double error = 0, l1 = 0, value = 0;
    try {
        value = boost::math::quadrature::gauss_kronrod<double, 15>::integrate(integrand, a, b, 10,
                                                                              1e-12, &error, &l1);
    } catch (const std::exception&) {
        return {0, TAntiderivativeStop::TWhy::Pole};
    }
    if (outside) return {0, TAntiderivativeStop::TWhy::Domain};
    // An integrand that grows without bound within the stretch leaves an
    // error the quadrature cannot bring down.
    if (!std::isfinite(value) || !std::isfinite(error) || error > 1e-7 * std::max(1.0, l1))
        return {0, TAntiderivativeStop::TWhy::Pole};
    return {value, std::nullopt};
}

// From (x, y) toward `edge` by steps of `step` (negative leftward), the
// points up to and including the first beyond the edge.
std::optional<TAntiderivativeStop> Go(const TExprNode* f, double x, long double y, double edge,
                                      double step, std::vector<std::pair<double, double>>& out) {
    out.push_back({x, static_cast<double>(y)});
    const double start = x;
    for (long k = 1; step > 0 ? x < edge : x > edge; ++k) {
        const double next = start + static_cast<double>(k) * step;
        if (next == x) break; // a step too small to move on
        const TPiece piece = Integral(f, x, next);
        if (piece.Failure) {
            // A stretch that ends at the edge of the domain (sqrt at 0) may
            // fail as a pole does: past it, the integrand tells.
            const bool beyond = Defined(f, next + step / 2);
            return TAntiderivativeStop{x,
                                       beyond ? *piece.Failure : TAntiderivativeStop::TWhy::Domain};
        }
        y += piece.Value;
        x = next;
        out.push_back({x, static_cast<double>(y)});
    }
    return std::nullopt;
}

} // namespace

TAntiderivativeCurve AntiderivativeCurve(const TExprNode* f, double x0, double y0, double xs,
                                         double xe, double step) {
    TAntiderivativeCurve curve;
    if (!(step > 0) || !(xs < xe) || !std::isfinite(x0) || !std::isfinite(y0)) return curve;
    // Where the curve enters the view, and its value there.
    double from = std::clamp(x0, xs, xe);
    long double y = y0;
    if (from != x0) {
        // In pieces no wider than the view (at most 4096 of them), so that
        // an integrand that oscillates far away is still resolved.
        const long double distance = static_cast<long double>(from) - x0;
        const double pieces =
            std::min(4096.0L, std::ceil(std::fabs(distance) / (static_cast<long double>(xe) - xs)));
        double a = x0;
        for (double k = 1; k <= pieces; ++k) {
            const double b = k == pieces ? from : static_cast<double>(x0 + distance * (k / pieces));
            const TPiece piece = Integral(f, a, b);
            if (piece.Failure) {
                curve.Stop = TAntiderivativeStop{a, *piece.Failure};
                return curve;
            }
            y += piece.Value;
            a = b;
        }
    }
    const auto right = from < xe ? Go(f, from, y, xe, step, curve.Right) : std::nullopt;
    const auto left = from > xs ? Go(f, from, y, xs, -step, curve.Left) : std::nullopt;
    if (right && left)
        curve.Stop = std::fabs(right->X - x0) <= std::fabs(left->X - x0) ? right : left;
    else
        curve.Stop = right ? right : left;
    return curve;
}

std::string AntiderivativeStopText(const TAntiderivativeStop& stop) {
    return texts::Fill(
        stop.Why == TAntiderivativeStop::TWhy::Domain
            ? texts::Translate("Picture",
                               "Первообразная ∫f обрывается при x = %1: функция там не определена.")
            : texts::Translate("Picture", "Первообразная ∫f обрывается при x = %1: у функции там "
                                          "полюс."),
        {FormatNumber(stop.X)});
}
