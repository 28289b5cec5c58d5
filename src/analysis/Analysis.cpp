#include "analysis/Analysis.h"
#include "engine/Derivative.h"
#include "texts/Texts.h"

#include <boost/math/quadrature/gauss_kronrod.hpp>
#include <boost/math/tools/minima.hpp>
#include <boost/math/tools/toms748_solve.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <functional>
#include <limits>
#include <type_traits>
#include <vector>

namespace {

// A function of x, without a value where it is not defined; and its values
// at many points at once, the same as one point after another gives them.
class TFunction {
  public:
    using TAt = std::function<std::optional<double>(double)>;
    using TRows = std::function<void(const std::vector<double>& x, std::optional<double>* y)>;
    template <typename F>
    requires std::is_invocable_r_v < std::optional<double>, F,
    double > TFunction(F at) : at_(std::move(at)) {}
    TFunction(TAt at, TRows rows) : at_(std::move(at)), rows_(std::move(rows)) {}
    std::optional<double> operator()(double x) const { return at_(x); }
    void At(const std::vector<double>& x, std::optional<double>* y) const {
        if (rows_) return rows_(x, y);
        for (std::size_t i = 0; i < x.size(); ++i)
            y[i] = at_(x[i]);
    }

  private:
    TAt at_;
    TRows rows_;
};

// Samples of f at a, a + h, ... b, with h no wider than `step`.
struct TSamples {
    std::vector<double> X;
    std::vector<std::optional<double>> Y;
    bool Coarse = false; // wider apart than `step`: there were too many
};

constexpr std::size_t MaxSamples = std::size_t{1} << 22;

TSamples Sample(const TFunction& f, double a, double b, double step) {
    TSamples s;
    const long double width = static_cast<long double>(b) - a;
    long double n = step > 0 ? std::ceil(width / step) : 1;
    if (!(n >= 1)) n = 1;
    s.Coarse = n > MaxSamples;
    n = std::min<long double>(n, MaxSamples);
    const auto count = static_cast<std::size_t>(n);
    s.X.reserve(count + 1);
    for (std::size_t i = 0; i <= count; ++i)
        s.X.push_back(i == count ? b : static_cast<double>(a + width * i / count));
    s.Y.resize(s.X.size());
    f.At(s.X, s.Y.data());
    return s;
}

int Sign(double v) {
    return v > 0 ? 1 : v < 0 ? -1 : 0;
}

std::string Number(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.15g", v);
    return text;
}

// Collects points up to the limit.
class TCollector {
  public:
    explicit TCollector(TPointsFound& found) : found_(found) {}
    bool Full() const { return found_.Points.size() >= MaxGraphPoints; }
    void Add(const TGraphPoint& p) {
        if (Full()) {
            found_.Incomplete = true;
            return;
        }
        found_.Points.push_back(p);
    }

  private:
    TPointsFound& found_;
};

// The root in [l, r], where f changes sign, solved to the nearest doubles;
// nothing when what changes sign there is a pole (the values grow toward
// it instead of falling) or a gap in the domain.
std::optional<double> SolveBracket(const TFunction& f, double l, double r, double fl, double fr) {
    const auto g = [&](double x) {
        const std::optional<double> v = f(x);
        if (!v) throw std::domain_error("no value");
        return *v;
    };
    try {
        boost::uintmax_t iterations = 200;
        const auto [lo, hi] = boost::math::tools::toms748_solve(
            g, l, r, fl, fr, boost::math::tools::eps_tolerance<double>(53), iterations);
        const double glo = g(lo), ghi = g(hi);
        const double x = std::fabs(glo) <= std::fabs(ghi) ? lo : hi;
        const double at = std::min(std::fabs(glo), std::fabs(ghi));
        // A root: the value there is far below the values at the bracket's ends.
        if (at == 0 || at <= 1e-3 * std::min(std::fabs(fl), std::fabs(fr))) return x;
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

// Doubles in their order as whole numbers, so that halving the distance
// between two of them takes at most 64 steps to reach neighbours.
std::int64_t Ordered(double x) {
    std::int64_t i;
    std::memcpy(&i, &x, sizeof i);
    return i < 0 ? std::numeric_limits<std::int64_t>::min() - i : i;
}
double FromOrdered(std::int64_t i) {
    if (i < 0) i = std::numeric_limits<std::int64_t>::min() - i;
    double x;
    std::memcpy(&x, &i, sizeof x);
    return x;
}

// The edge of the domain between a sample with no value and one with a
// value, found by halving down to neighbouring doubles: the last double
// with a value, and that value.
std::pair<double, double> DomainEdge(const TFunction& f, double undefinedAt, double definedAt) {
    std::int64_t out = Ordered(undefinedAt), in = Ordered(definedAt);
    while (out - in > 1 || in - out > 1) {
        const std::int64_t m = out + (in - out) / 2;
        (f(FromOrdered(m)) ? in : out) = m;
    }
    const double edge = FromOrdered(in);
    return {edge == 0 ? 0.0 : edge, *f(edge)}; // -0 is 0
}

// The sign changes of f on [l, r]: three inner samples split it in four;
// a quarter where the sign changes is solved, and where the inner samples
// show more changes than one, each quarter is looked at the same way, as
// deep as the quarters stay wider than a few doubles (an oscillation
// without end stops at the limit of points).
// `work` counts down the looks that one search may still take: values that
// change sign everywhere (random draws, noise) would split quarters without
// end; when it runs out, the search stops as at the limit of points.
void FindChanges(const TFunction& f, double l, double r, double fl, double fr, int depth,
                 std::vector<double>& roots, bool& full, std::size_t& work) {
    if (full) return;
    if (work == 0) {
        full = true;
        return;
    }
    --work;
    double x[5] = {l, 0, 0, 0, r};
    std::optional<double> y[5] = {fl, {}, {}, {}, fr};
    for (int k = 1; k < 4; ++k) {
        x[k] = l + (r - l) * k / 4;
        y[k] = f(x[k]);
    }
    int changes = 0;
    bool defined = true;
    for (int k = 0; k < 4; ++k) {
        if (!y[k] || !y[k + 1])
            defined = false;
        else
            changes += Sign(*y[k]) * Sign(*y[k + 1]) < 0;
    }
    const bool deeper =
        changes > 1 && depth > 0 && x[1] > l && x[2] > x[1] && x[3] > x[2] && r > x[3] && defined;
    // An inner sample that is exactly zero between two that are not.
    for (int k = 1; k < 4; ++k)
        if (y[k] && *y[k] == 0 && y[k - 1] && *y[k - 1] != 0 && y[k + 1] && *y[k + 1] != 0)
            roots.push_back(x[k]);
    for (int k = 0; k < 4; ++k) {
        if (!y[k] || !y[k + 1]) continue;
        const double a = *y[k], b = *y[k + 1];
        if (deeper) {
            FindChanges(f, x[k], x[k + 1], a, b, depth - 1, roots, full, work);
        } else if (Sign(a) * Sign(b) < 0) {
            if (roots.size() >= MaxGraphPoints) {
                full = true;
                return;
            }
            if (const auto root = SolveBracket(f, x[k], x[k + 1], a, b)) roots.push_back(*root);
        }
    }
}

constexpr int HiddenDepth = 24;
// Looks into quarters per search, beyond one for each pair of samples: far
// more than any formula but noise needs.
constexpr std::size_t SearchWork = std::size_t{1} << 20;

// The roots of f (roots of a difference for intersections), in order.
std::vector<double> Roots(const TFunction& f, double a, double b, double step, bool& incomplete) {
    const TSamples s = Sample(f, a, b, step);
    std::vector<double> roots;
    bool full = false;
    std::size_t work = SearchWork + 4 * s.X.size();
    const auto zero = [&](std::size_t i) { return i < s.Y.size() && s.Y[i] && *s.Y[i] == 0; };
    for (std::size_t i = 0; i < s.X.size() && !full; ++i) {
        const std::optional<double>& y = s.Y[i];
        // A zero at a sample; where the graph runs along zero, none.
        if (zero(i) && !(i > 0 && zero(i - 1)) && !zero(i + 1)) roots.push_back(s.X[i]);
        if (i + 1 == s.X.size()) break;
        const std::optional<double>& next = s.Y[i + 1];
        if (y && next) {
            FindChanges(f, s.X[i], s.X[i + 1], *y, *next, HiddenDepth, roots, full, work);
        } else if (y || next) {
            // An end of the domain: a root when the graph ends at zero; and
            // the piece up to it is searched as any other (it may hold
            // sign changes, or oscillate ever faster toward the end).
            const bool left = y.has_value();
            const auto [edge, value] = DomainEdge(f, s.X[left ? i + 1 : i], s.X[left ? i : i + 1]);
            const double inside = left ? *y : *next;
            if (inside != 0 &&
                (value == 0 || std::fabs(value) <= 1e-8 * std::max(1.0, std::fabs(inside))))
                roots.push_back(edge);
            if (left)
                FindChanges(f, s.X[i], edge, inside, value, HiddenDepth, roots, full, work);
            else
                FindChanges(f, edge, s.X[i + 1], value, inside, HiddenDepth, roots, full, work);
        }
    }
    incomplete = full || s.Coarse;
    std::sort(roots.begin(), roots.end());
    roots.erase(std::unique(roots.begin(), roots.end()), roots.end());
    return roots;
}

struct TExtremum {
    double X, Y;
    bool Minimum;
};

// Whether the extremum that a search found at x (value gx of g, the graph
// turned so that the extremum is a minimum) is one. Looks at points ever
// nearer to x on both sides, within [l, r]: toward a pole the values grow
// without bound, and some lie far below gx (farther than the samples around
// it lie above it, `rise`); where the bracket crosses a gap in the domain,
// the search ends at its edge, and some have no value. Near a true
// extremum, the search's own imprecision is far smaller than the rise.
bool TrueExtremum(const std::function<double(double)>& g, double l, double r, double x, double gx,
                  double rise) {
    const double w = (r - l) / 2;
    for (int k = 1; k <= 64; ++k)
        for (const double side : {-1.0, 1.0}) {
            const double near = x + side * std::ldexp(w, -k);
            if (!(near > l && near < r) || near == x) continue;
            const double gNear = g(near);
            if (std::isinf(gNear) || gNear < gx - rise) return false; // no value: a gap
        }
    return true;
}

// The local minima and maxima inside (a, b): where a sample lies below (or
// above) both neighbours, found to the precision a flat extremum allows.
// Past MaxGraphPoints of them, or past sixteen times as many places looked
// into (noise has a candidate at every other sample), the search stops and
// says so.
std::vector<TExtremum> Extrema(const TFunction& f, double a, double b, double step,
                               bool& incomplete) {
    const TSamples s = Sample(f, a, b, step);
    std::vector<TExtremum> found;
    incomplete = incomplete || s.Coarse;
    std::size_t examined = 0;
    for (std::size_t i = 1; i + 1 < s.X.size(); ++i) {
        if (!s.Y[i - 1] || !s.Y[i] || !s.Y[i + 1]) continue;
        const double l = *s.Y[i - 1], m = *s.Y[i], r = *s.Y[i + 1];
        const bool minimum = m < l && m <= r, maximum = m > l && m >= r;
        if (!minimum && !maximum) continue;
        if (found.size() > MaxGraphPoints || ++examined > 16 * MaxGraphPoints) {
            incomplete = true;
            break;
        }
        const double sign = minimum ? 1 : -1;
        const std::function<double(double)> g = [&](double x) {
            const std::optional<double> v = f(x);
            return v ? sign * *v : std::numeric_limits<double>::infinity();
        };
        const auto [x, gx] = boost::math::tools::brent_find_minima(
            g, s.X[i - 1], s.X[i + 1], std::numeric_limits<double>::digits / 2);
        const std::optional<double> y = f(x);
        if (!y || !(x > a && x < b)) continue;
        const double rise = std::max(sign * (l - m), sign * (r - m));
        if (!TrueExtremum(g, s.X[i - 1], s.X[i + 1], x, gx, rise)) continue;
        // The best of the sample and the search (a kink can sit on a sample).
        if (sign * m < sign * *y)
            found.push_back({s.X[i], m, minimum});
        else
            found.push_back({x, *y, minimum});
    }
    return found;
}

// The largest value of |f| on the samples, to tell a zero from a small value.
double Scale(const TFunction& f, double a, double b, double step) {
    double scale = 1;
    const TSamples s = Sample(f, a, b, step);
    for (const auto& y : s.Y)
        if (y) scale = std::max(scale, std::fabs(*y));
    return scale;
}

// Roots of f, with the zeros it touches without crossing (extrema of value 0).
void AddRoots(const TFunction& f, double a, double b, double step, TPointKind kind, int graph,
              int with, const TFunction& height, TPointsFound& found) {
    bool incomplete = false;
    std::vector<double> roots = Roots(f, a, b, step, incomplete);
    const double scale = Scale(f, a, b, step);
    for (const TExtremum& e : Extrema(f, a, b, step, incomplete))
        if (std::fabs(e.Y) <= 1e-9 * scale) roots.push_back(e.X);
    std::sort(roots.begin(), roots.end());
    TCollector points(found);
    double last = -std::numeric_limits<double>::infinity();
    for (const double x : roots) {
        // The same zero found twice (at a sample and as a touch) counts once.
        if (std::fabs(x - last) <= 1e-7 * std::fabs(x)) continue;
        last = x;
        const std::optional<double> y = height(x);
        points.Add({kind, x, y.value_or(0), graph, with});
    }
    if (incomplete) found.Incomplete = true;
}

TFunction Of(const TGraph& g) {
    const TExprNode* tree = g.Tree;
    return {[tree](double x) { return GraphValue(tree, x); },
            [tree](const std::vector<double>& x, std::optional<double>* y) {
                TRowResults r;
                r.Eval(tree, CurrentContext(), &TEvalContext::X, x);
                for (std::size_t i = 0; i < x.size(); ++i)
                    y[i] = r.Errors()[i] || !std::isfinite(r.Values()[i])
                               ? std::nullopt
                               : std::optional<double>(r.Values()[i]);
            }};
}

void Order(TPointsFound& found) {
    std::stable_sort(found.Points.begin(), found.Points.end(),
                     [](const TGraphPoint& p, const TGraphPoint& q) { return p.X < q.X; });
    if (found.Points.size() > MaxGraphPoints) {
        found.Points.resize(MaxGraphPoints);
        found.Incomplete = true;
    }
}

} // namespace

const char* KindName(TPointKind kind) {
    switch (kind) {
    case TPointKind::Root:
        return "root";
    case TPointKind::Minimum:
        return "min";
    case TPointKind::Maximum:
        return "max";
    case TPointKind::Intersection:
        return "intersection";
    case TPointKind::YIntercept:
        return "y0";
    case TPointKind::Inflection:
        return "inflection";
    }
    return "";
}

std::optional<double> GraphValue(const TExprNode* tree, double x) {
    TEvalContext& c = CurrentContext();
    c.X = x;
    c.Error = false;
    const double v = EvalTree(tree);
    if (c.Error || !std::isfinite(v)) return std::nullopt;
    return v;
}

namespace {
// A graph that draws random numbers is not searched: true, with its number
// noted, for such a graph (or pair).
bool SkipRandom(TPointsFound& found, const TGraph& f, const TGraph* g = nullptr) {
    for (const TGraph* h : {&f, g})
        if (h != nullptr && DrawsRandom(h->Tree)) found.Random.push_back(h->Number);
    return !found.Random.empty();
}
} // namespace

TPointsFound FindRoots(const TGraph& f, double a, double b, double step) {
    TPointsFound found;
    if (SkipRandom(found, f)) return found;
    const TFunction fx = Of(f);
    AddRoots(fx, a, b, step, TPointKind::Root, f.Number, -1, fx, found);
    Order(found);
    return found;
}

TPointsFound FindExtrema(const TGraph& f, double a, double b, double step) {
    TPointsFound found;
    if (SkipRandom(found, f)) return found;
    TCollector points(found);
    bool incomplete = false;
    for (const TExtremum& e : Extrema(Of(f), a, b, step, incomplete))
        points.Add({e.Minimum ? TPointKind::Minimum : TPointKind::Maximum, e.X, e.Y, f.Number});
    found.Incomplete = found.Incomplete || incomplete;
    Order(found);
    return found;
}

TPointsFound FindIntersections(const TGraph& f, const TGraph& g, double a, double b, double step) {
    TPointsFound found;
    if (SkipRandom(found, f, &g)) return found;
    const TFunction fx = Of(f), gx = Of(g);
    const auto minus = [](const std::optional<double>& u,
                          const std::optional<double>& v) -> std::optional<double> {
        if (!u || !v) return std::nullopt;
        return static_cast<double>(static_cast<long double>(*u) - *v);
    };
    // Each graph's row, then the other's: neither draws random numbers.
    const TFunction difference = {[&](double x) { return minus(fx(x), gx(x)); },
                                  [&](const std::vector<double>& x, std::optional<double>* y) {
                                      std::vector<std::optional<double>> v(x.size());
                                      fx.At(x, y);
                                      gx.At(x, v.data());
                                      for (std::size_t i = 0; i < x.size(); ++i)
                                          y[i] = minus(y[i], v[i]);
                                  }};
    AddRoots(difference, a, b, step, TPointKind::Intersection, f.Number, g.Number, fx, found);
    Order(found);
    return found;
}

TPointsFound FindInflections(const TGraph& f, double a, double b, double step) {
    TPointsFound found;
    if (SkipRandom(found, f)) return found;
    TTreePtr second;
    try {
        second = CompileTree(
            GuardedDerivativeTexts(f.Formula.empty() ? FormulaText(f.Tree) : f.Formula, 2)[1]);
    } catch (const DerivativeError&) {
        return found;
    }
    bool incomplete = false;
    const TFunction fx = Of(f);
    TCollector points(found);
    const TFunction curvature = Of({second.get(), f.Number, ""});
    for (const double x : Roots(curvature, a, b, step, incomplete)) {
        // A zero on a sample counts as a root; here the sign must change
        // (x^4 has none), on both sides within a sample.
        const std::optional<double> left = curvature(x - step / 2), right = curvature(x + step / 2);
        if (!left || !right || !((*left < 0 && *right > 0) || (*left > 0 && *right < 0))) continue;
        if (const std::optional<double> y = fx(x))
            points.Add({TPointKind::Inflection, x, *y, f.Number});
    }
    found.Incomplete = incomplete;
    Order(found);
    return found;
}

namespace {

// The points that belong to graph i: its roots, extrema and y-axis crossing,
// and its intersections with the graphs after it.
TPointsFound PointsOfGraph(const std::vector<TGraph>& graphs, std::size_t i, double a, double b,
                           double step) {
    TPointsFound all;
    if (SkipRandom(all, graphs[i])) return all;
    const auto take = [&](const TPointsFound& some) {
        all.Points.insert(all.Points.end(), some.Points.begin(), some.Points.end());
        all.Incomplete = all.Incomplete || some.Incomplete;
    };
    take(FindRoots(graphs[i], a, b, step));
    take(FindExtrema(graphs[i], a, b, step));
    take(FindInflections(graphs[i], a, b, step));
    if (a <= 0 && 0 <= b)
        if (const auto y = GraphValue(graphs[i].Tree, 0))
            all.Points.push_back({TPointKind::YIntercept, 0, *y, graphs[i].Number});
    for (std::size_t j = i + 1; j < graphs.size(); ++j)
        if (!DrawsRandom(graphs[j].Tree)) take(FindIntersections(graphs[i], graphs[j], a, b, step));
    return all;
}

} // namespace

TPointsFound PointsOfInterest(const std::vector<TGraph>& graphs, double a, double b, double step) {
    // Each graph's search in a context of its own, with the trees of that
    // graph and of those after it compiled for it; random draws keep one
    // thread, their order being part of the result.
    bool threads = true;
    for (const TGraph& g : graphs)
        threads = threads && !(g.Tree != nullptr && g.Formula.empty()) && !DrawsRandom(g.Tree);
    struct TSearch {
        TEvalContext Context;
        std::vector<TTreePtr> Trees;
        std::vector<TGraph> Graphs;
        TPointsFound Found;
        std::exception_ptr Failure;
    };
    std::vector<TSearch> searches(graphs.size());
    for (std::size_t i = 0; i < graphs.size(); ++i) {
        TSearch& s = searches[i];
        s.Context = MainContext;
        s.Graphs = graphs;
        if (!threads) continue;
        for (std::size_t j = i; j < graphs.size(); ++j) {
            s.Trees.push_back(CompileTree(graphs[j].Formula, s.Context));
            s.Graphs[j].Tree = s.Trees.back().get();
            // Made now, while one thread runs, rather than at the first row.
            PrepareRows(s.Graphs[j].Tree, s.Context, {&TEvalContext::X});
        }
    }
    const int count = threads ? std::min<int>(BuildThreads(), static_cast<int>(graphs.size())) : 1;
    RunTasks(searches.size(), count, [&](std::size_t i) {
        TSearch& s = searches[i];
        // Without trees of its own, a search evaluates the main thread's.
        const TContextScope scope(threads ? s.Context : MainContext);
        try {
            s.Found = PointsOfGraph(s.Graphs, i, a, b, step);
        } catch (...) {
            s.Failure = std::current_exception();
        }
    });
    TPointsFound all;
    for (const TSearch& s : searches) {
        if (s.Failure) std::rethrow_exception(s.Failure);
        all.Points.insert(all.Points.end(), s.Found.Points.begin(), s.Found.Points.end());
        all.Incomplete = all.Incomplete || s.Found.Incomplete;
        all.Random.insert(all.Random.end(), s.Found.Random.begin(), s.Found.Random.end());
    }
    Order(all);
    return all;
}

double SearchStep(double pixel, double a, double b) {
    return std::min(pixel, std::fabs(b - a) / 400);
}

void KeepInView(TPointsFound& found, double y1, double y2) {
    const double low = std::min(y1, y2), high = std::max(y1, y2);
    std::erase_if(found.Points, [&](const TGraphPoint& p) { return !(p.Y >= low && p.Y <= high); });
}

namespace {
std::string NoArea() {
    return texts::Translate("Analysis", "Площадь не считается: интеграл не сходится на этом "
                                        "отрезке.");
}
} // namespace

TArea Integrate(const TGraph& f, double a, double b, double step) {
    if (DrawsRandom(f.Tree))
        throw AreaRefused(texts::Translate(
            "Analysis", "Площадь не считается: формула графика берёт случайные числа."));
    const TFunction fx = Of(f);
    const double lo = std::min(a, b), hi = std::max(a, b);
    const TSamples s = Sample(fx, lo, hi, step);
    for (std::size_t i = 0; i < s.X.size(); ++i) {
        if (s.Y[i]) continue;
        // No value: beyond the doubles (an overflow), or outside the domain.
        TEvalContext& c = CurrentContext();
        c.X = s.X[i];
        c.Error = false;
        const double v = EvalTree(f.Tree);
        const bool overflow = !c.Error && std::isinf(v);
        throw AreaRefused(texts::Fill(
            overflow ? texts::Translate("Analysis", "Площадь не считается: значение функции при "
                                                    "x = %1 больше самого большого числа "
                                                    "(переполнение).")
                     : texts::Translate("Analysis", "Площадь не считается: функция не определена "
                                                    "при x = %1."),
            {Number(s.X[i])}));
    }
    // A pole: the sign changes, and what is there is no root.
    for (std::size_t i = 0; i + 1 < s.X.size(); ++i) {
        const double l = *s.Y[i], r = *s.Y[i + 1];
        if (Sign(l) * Sign(r) < 0 && !SolveBracket(fx, s.X[i], s.X[i + 1], l, r))
            throw AreaRefused(texts::Fill(
                texts::Translate("Analysis", "Площадь бесконечна: график проходит через полюс "
                                             "около x = %1."),
                {Number(s.X[i])}));
    }
    double error = 0, l1 = 0;
    const auto g = [&](double x) {
        const std::optional<double> v = fx(x);
        return v ? *v : std::numeric_limits<double>::quiet_NaN();
    };
    double value;
    try {
        value = boost::math::quadrature::gauss_kronrod<double, 61>::integrate(g, lo, hi, 15, 1e-14,
                                                                              &error, &l1);
    } catch (const std::exception&) {
        throw AreaRefused(NoArea());
    }
    if (!std::isfinite(value) || !std::isfinite(error) ||
        error > 1e-6 * std::max(1.0, std::fabs(l1)))
        throw AreaRefused(NoArea());
    return {a <= b ? value : -value, error};
}
