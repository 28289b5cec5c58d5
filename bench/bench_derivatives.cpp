// Exact derivatives: how long Derivative takes for usual formulas, how long
// its text is against the formula's, and what a point of f′ costs against a
// point of f and against a central difference (two points of f), all
// measured in this run; then a picture of y(x) with f′, f″ and ∫f beside the
// graph against the graph alone.
//
// Ends with lines a script can read:
//   formula=<text> derive_us=<n> length_ratio=<r> f_ns=<n> d_ns=<n> ratio_f=<r>
//     ratio_central=<r>
//   case=picture graph_ms=<n> beside_ms=<n> ratio=<r>
#include "engine/Derivative.h"
#include "plot2d/Picture.h"
#include "plot2d/View2D.h"

#include <QGuiApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

// The best of five runs of `work`, in seconds per call of it.
double Best(const std::function<void()>& work, int calls) {
    double best = 1e300;
    for (int run = 0; run < 5; ++run) {
        const auto start = std::chrono::steady_clock::now();
        for (int k = 0; k < calls; ++k)
            work();
        best = std::min(
            best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() /
                      calls);
    }
    return best;
}

// Seconds per point of a tree over 4,096 random points in [0.5, 5].
double PerPoint(const TExprNode* tree) {
    std::mt19937_64 random(35);
    std::vector<double> xs(4096);
    for (double& x : xs)
        x = std::uniform_real_distribution<>(0.5, 5)(random);
    volatile double sink = 0;
    return Best(
               [&] {
                   for (const double x : xs) {
                       VarX = x;
                       sink = sink + EvalTree(tree);
                   }
               },
               20) /
           static_cast<double>(xs.size());
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv); // the label font needs the font database
    InitFloatingPoint();
    DecimalSeparatorChar = '.';
    for (const char* text :
         {"x^3-2*x^2+5*x-7", "sin(x)*cos(x)*tg(x)", "exp(-x^2/2)/sqrt(2*pi)", "ln(x^2+1)/(x-1)",
          "sin(sin(sin(sin(x))))", "x^x", "atg(x)*asin(x/6)", "sqrt(1-sqr(x/6))*ch(x)"}) {
        const TTreePtr f = CompileTree(text);
        const double derive = Best([&] { Derivative(f.get(), &TEvalContext::X); }, 200);
        const TTreePtr d = Derivative(f.get(), &TEvalContext::X);
        const double fPoint = PerPoint(f.get()), dPoint = PerPoint(d.get());
        std::printf("formula=%s derive_us=%.2f length_ratio=%.2f f_ns=%.1f d_ns=%.1f "
                    "ratio_f=%.2f ratio_central=%.2f\n",
                    text, derive * 1e6,
                    static_cast<double>(FormulaText(d.get()).size()) / std::string(text).size(),
                    fPoint * 1e9, dPoint * 1e9, dPoint / fPoint, dPoint / (2 * fPoint));
    }
    PlotWidth = PlotHeight = 400;
    ApplyColours(DefaultColours());
    TPlotInput input = DefaultPlotInput();
    input.Formula = "sin(x)*3";
    TYxTrees trees;
    const auto picture = [&] {
        ViewFromInput(input);
        PictureImage(PictureRequest(input, false, trees));
    };
    const double graph = Best(picture, 20);
    input.FormulaCalculus = {true, true, true, 0, 0};
    const double beside = Best(picture, 20);
    std::printf("case=picture graph_ms=%.2f beside_ms=%.2f ratio=%.2f\n", graph * 1e3, beside * 1e3,
                beside / graph);
    return 0;
}
