// Nanoseconds per evaluation of a few formulas: our EvalTree next to the same
// formula in C++ called through a function pointer (native-call), the same
// inlined into the loop (the limit), and muparser. Ends with one line per
// formula: formula=... ours_ns=... native_call_ns=... ratio_native=...
#include "engine/Engine.h"
#include "engine/FastForm.h"

#include "BenchSupport.h"

#include <benchmark/benchmark.h>
#include <muParser.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

using Native = double (*)(double, double, double);

struct Formula {
    const char* text;
    Native native;
};

#define FORMULA(expr)                                                                              \
    [](double x, double y, double z) -> double {                                                   \
        (void)x;                                                                                   \
        (void)y;                                                                                   \
        (void)z;                                                                                   \
        return expr;                                                                               \
    }

const Formula Formulas[] = {
    {"x^2+y^2+z^2-4", FORMULA(x* x + y * y + z * z - 4)},
    {"sin(x)*cos(y)", FORMULA(std::sin(x) * std::cos(y))},
    {"sqrt(x*x+y*y)", FORMULA(std::sqrt(x* x + y * y))},
    {"x*x", FORMULA(x* x)},
    {"sin(x)/x+cos(3*x)", FORMULA(std::sin(x) / x + std::cos(3 * x))},
    {"(sin(x)+cos(y))*sqrt(x*x+y*y+1)/(1+x*x)",
     FORMULA((std::sin(x) + std::cos(y)) * std::sqrt(x * x + y * y + 1) / (1 + x * x))},
};

constexpr int PointCount = 1024;
struct Points {
    std::vector<double> x, y, z;
    Points() {
        std::mt19937_64 gen(42);
        std::uniform_real_distribution<double> d(-10, 10);
        for (int i = 0; i < PointCount; ++i) {
            x.push_back(d(gen));
            y.push_back(d(gen));
            z.push_back(d(gen));
        }
    }
};
const Points& SamplePoints() {
    static const Points p;
    return p;
}

template <Native F> inline double Inline(double x, double y, double z) {
    return F(x, y, z);
}

void BM_Ours(benchmark::State& state, const Formula* f) {
    CompileFormula(0, f->text);
    const auto& p = SamplePoints();
    const TExprNode* tree = FormulaTrees[0];
    double sum = 0;
    int i = 0;
    for (auto _ : state) {
        VarX = p.x[i];
        VarY = p.y[i];
        VarZ = p.z[i];
        sum += EvalTree(tree);
        i = (i + 1) & (PointCount - 1);
    }
    benchmark::DoNotOptimize(sum);
    FreeAllTrees();
}

void BM_NativeCall(benchmark::State& state, const Formula* f) {
    Native fn = f->native;
    benchmark::DoNotOptimize(fn); // the compiler cannot see through the pointer
    const auto& p = SamplePoints();
    double sum = 0;
    int i = 0;
    for (auto _ : state) {
        sum += fn(p.x[i], p.y[i], p.z[i]);
        i = (i + 1) & (PointCount - 1);
    }
    benchmark::DoNotOptimize(sum);
}

template <int K> void BM_NativeInline(benchmark::State& state) {
    constexpr auto fn = [](double x, double y, double z) {
        (void)y;
        (void)z;
        if constexpr (K == 0) return x * x + y * y + z * z - 4;
        if constexpr (K == 1) return std::sin(x) * std::cos(y);
        if constexpr (K == 2) return std::sqrt(x * x + y * y);
        if constexpr (K == 3) return x * x;
        if constexpr (K == 4) return std::sin(x) / x + std::cos(3 * x);
        if constexpr (K == 5)
            return (std::sin(x) + std::cos(y)) * std::sqrt(x * x + y * y + 1) / (1 + x * x);
    };
    const auto& p = SamplePoints();
    double sum = 0;
    int i = 0;
    for (auto _ : state) {
        sum += fn(p.x[i], p.y[i], p.z[i]);
        i = (i + 1) & (PointCount - 1);
    }
    benchmark::DoNotOptimize(sum);
}

void BM_Muparser(benchmark::State& state, const Formula* f) {
    double x = 0, y = 0, z = 0;
    mu::Parser parser;
    parser.DefineVar("x", &x);
    parser.DefineVar("y", &y);
    parser.DefineVar("z", &z);
    parser.SetExpr(f->text);
    const auto& p = SamplePoints();
    double sum = 0;
    int i = 0;
    for (auto _ : state) {
        x = p.x[i];
        y = p.y[i];
        z = p.z[i];
        sum += parser.Eval();
        i = (i + 1) & (PointCount - 1);
    }
    benchmark::DoNotOptimize(sum);
}

} // namespace

int main(int argc, char** argv) {
    InitFloatingPoint();
    if (const char* v = std::getenv("PLOTTER_EVALUATOR"))
        engine::SelectEvaluator(std::string(v) != "x87");
    using Inl = void (*)(benchmark::State&);
    const Inl inlined[] = {BM_NativeInline<0>, BM_NativeInline<1>, BM_NativeInline<2>,
                           BM_NativeInline<3>, BM_NativeInline<4>, BM_NativeInline<5>};
    int k = 0;
    for (const auto& f : Formulas) {
        const std::string name = f.text;
        benchmark::RegisterBenchmark(("ours/" + name).c_str(), BM_Ours, &f);
        benchmark::RegisterBenchmark(("native_call/" + name).c_str(), BM_NativeCall, &f);
        benchmark::RegisterBenchmark(("native_inline/" + name).c_str(), inlined[k++]);
        benchmark::RegisterBenchmark(("muparser/" + name).c_str(), BM_Muparser, &f);
    }
    // Seven short repetitions, interleaved with the other measurements of
    // the same formula.
    auto best = bench::RunBestOf(argc, argv, 7, "0.05");

    for (const auto& f : Formulas) {
        const std::string name = f.text;
        const double ours = best["ours/" + name];
        const double native = best["native_call/" + name];
        const double inl = best["native_inline/" + name];
        const double mu = best["muparser/" + name];
        if (ours <= 0 || native <= 0 || mu <= 0) continue; // filtered out
        std::printf("formula=%s ours_ns=%.2f native_call_ns=%.2f ratio_native=%.2f "
                    "muparser_ns=%.2f ratio_muparser=%.2f native_inline_ns=%.2f\n",
                    name.c_str(), ours, native, ours / native, mu, ours / mu, inl);
    }
    return 0;
}
