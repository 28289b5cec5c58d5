// Nanoseconds per evaluation of a few formulas on 4,096 distinct random
// points (x, y, z uniform in [-5, 5], fixed seed): our EvalTree next to the
// same formula in C++ called through a function pointer (native-call), the
// same inlined into the loop (the limit), muparser and fparser (optimised).
// Then the scan of an implicit surface: x^2+y^2+z^2-4 over the default grid,
// about 1.3 million evaluations, in milliseconds; and the compile time of a
// formula of 10,000 characters.
//
// Ends with lines a script can read:
//   formula=<text> ours_ns=<n> native_call_ns=<n> ratio_native=<r> muparser_ns=<n>
//     ratio_muparser=<r> fparser_ns=<n> ratio_fparser=<r> native_inline_ns=<n>
//   (one line; the same for the row formula=scan with milliseconds)
//   formula=<text> machine_ns=<n> interpreter_ns=<n> ratio_interpreter=<r> row_ns=<n>
//     interpreter_row_ns=<n> ratio_row_interpreter=<r> ratio_row_native=<r>
//   (the machine code and the interpreter, both compiled in the run; the
//   rows are EvalRow over 64 points along x, per point)
//   case=compile_10000 ms=<n>
// PLOTTER_EVALUATOR=interpreter measures the interpreter instead of the
// machine code.
#include "engine/Engine.h"
#include "engine/FastForm.h"

#include "BenchSupport.h"

#include <benchmark/benchmark.h>
#include <fparser.hh>
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

constexpr int PointCount = 4096; // more than the branch predictors learn
struct Points {
    std::vector<double> x, y, z;
    Points() {
        std::mt19937_64 gen(42);
        std::uniform_real_distribution<double> d(-5, 5);
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

// The evaluations of one formula over the points; `eval` gets the index.
template <typename Eval> void Loop(benchmark::State& state, Eval eval) {
    double sum = 0;
    int i = 0;
    for (auto _ : state) {
        sum += eval(i);
        i = (i + 1) & (PointCount - 1);
    }
    benchmark::DoNotOptimize(sum);
}

void BM_Ours(benchmark::State& state, const Formula* f) {
    CompileFormula(0, f->text);
    const auto& p = SamplePoints();
    const TExprNode* tree = FormulaTrees[0];
    Loop(state, [&](int i) {
        VarX = p.x[i];
        VarY = p.y[i];
        VarZ = p.z[i];
        return EvalTree(tree);
    });
    FreeAllTrees();
}

// The same through the interpreter, compiled in the same run.
void BM_Interpreter(benchmark::State& state, const Formula* f) {
    engine::SelectEvaluator(engine::TEvaluator::Interpreter);
    TTreePtr tree = CompileTree(f->text);
    engine::SelectEvaluator(engine::TEvaluator::MachineCode);
    const auto& p = SamplePoints();
    Loop(state, [&](int i) {
        VarX = p.x[i];
        VarY = p.y[i];
        VarZ = p.z[i];
        return EvalTree(tree.get());
    });
}

// Rows of RowLength points: y and z of the row's first point, x of each.
// One iteration is one row; the figures are per point.
constexpr int RowLength = 64;
void BM_Row(benchmark::State& state, const Formula* f, engine::TEvaluator evaluator) {
    engine::SelectEvaluator(evaluator);
    TTreePtr tree = CompileTree(f->text);
    engine::SelectEvaluator(engine::TEvaluator::MachineCode);
    const auto& p = SamplePoints();
    double out[RowLength];
    bool errors[RowLength];
    double sum = 0;
    int row = 0;
    for (auto _ : state) {
        const int first = row * RowLength;
        VarY = p.y[first];
        VarZ = p.z[first];
        EvalRow(tree.get(), MainContext, &TEvalContext::X, p.x.data() + first, RowLength, out,
                errors);
        sum += out[RowLength - 1];
        row = (row + 1) % (PointCount / RowLength);
    }
    benchmark::DoNotOptimize(sum);
}

void BM_NativeCall(benchmark::State& state, const Formula* f) {
    Native fn = f->native;
    benchmark::DoNotOptimize(fn); // the compiler cannot see through the pointer
    const auto& p = SamplePoints();
    Loop(state, [&](int i) { return fn(p.x[i], p.y[i], p.z[i]); });
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
    Loop(state, [&](int i) { return fn(p.x[i], p.y[i], p.z[i]); });
}

void BM_Muparser(benchmark::State& state, const Formula* f) {
    double x = 0, y = 0, z = 0;
    mu::Parser parser;
    parser.DefineVar("x", &x);
    parser.DefineVar("y", &y);
    parser.DefineVar("z", &z);
    parser.SetExpr(f->text);
    const auto& p = SamplePoints();
    Loop(state, [&](int i) {
        x = p.x[i];
        y = p.y[i];
        z = p.z[i];
        return parser.Eval();
    });
}

void BM_Fparser(benchmark::State& state, const Formula* f) {
    FunctionParser parser;
    if (parser.Parse(f->text, "x,y,z") >= 0) {
        state.SkipWithError("fparser cannot parse the formula");
        return;
    }
    parser.Optimize();
    const auto& p = SamplePoints();
    double vars[3];
    Loop(state, [&](int i) {
        vars[0] = p.x[i];
        vars[1] = p.y[i];
        vars[2] = p.z[i];
        return parser.Eval(vars);
    });
}

// The scan of the implicit surface with the default ranges: 3 families of 21
// planes, each scanned along both directions of a 101 x 101 grid, the first
// sample of every line twice. `set` puts a grid point into the formula's
// variables, `eval` evaluates.
constexpr int ScanPlanes = 21, ScanSamples = 101;
template <typename Set, typename Eval> double Scan(Set set, Eval eval) {
    double sum = 0;
    for (int family = 0; family < 3; ++family)
        for (int n = 0; n < ScanPlanes; ++n) {
            const double nv = -5 + 0.5 * n;
            for (int pass = 0; pass < 2; ++pass)
                for (int a = 0; a < ScanSamples; ++a) {
                    const double av = -5 + 0.1 * a;
                    set(nv, av, -5.0);
                    sum += eval();
                    for (int b = 0; b < ScanSamples; ++b) {
                        set(nv, av, -5 + 0.1 * b);
                        sum += eval();
                    }
                }
        }
    return sum;
}

void BM_ScanOurs(benchmark::State& state) {
    CompileFormula(0, "x^2+y^2+z^2-4");
    const TExprNode* tree = FormulaTrees[0];
    for (auto _ : state)
        benchmark::DoNotOptimize(Scan(
            [](double n, double p, double q) {
                VarX = n;
                VarY = p;
                VarZ = q;
            },
            [tree] { return EvalTree(tree); }));
    FreeAllTrees();
}

void BM_ScanNative(benchmark::State& state) {
    Native fn = Formulas[0].native;
    benchmark::DoNotOptimize(fn);
    double x = 0, y = 0, z = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(Scan([&](double n, double p, double q) { x = n, y = p, z = q; },
                                      [&] { return fn(x, y, z); }));
}

void BM_ScanInline(benchmark::State& state) {
    double x = 0, y = 0, z = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(Scan([&](double n, double p, double q) { x = n, y = p, z = q; },
                                      [&] { return x * x + y * y + z * z - 4; }));
}

void BM_ScanMuparser(benchmark::State& state) {
    double x = 0, y = 0, z = 0;
    mu::Parser parser;
    parser.DefineVar("x", &x);
    parser.DefineVar("y", &y);
    parser.DefineVar("z", &z);
    parser.SetExpr(Formulas[0].text);
    for (auto _ : state)
        benchmark::DoNotOptimize(Scan([&](double n, double p, double q) { x = n, y = p, z = q; },
                                      [&] { return parser.Eval(); }));
}

void BM_ScanFparser(benchmark::State& state) {
    FunctionParser parser;
    parser.Parse(Formulas[0].text, "x,y,z");
    parser.Optimize();
    double vars[3];
    for (auto _ : state)
        benchmark::DoNotOptimize(
            Scan([&](double n, double p, double q) { vars[0] = n, vars[1] = p, vars[2] = q; },
                 [&] { return parser.Eval(vars); }));
}

// A formula of 10,000 characters: a sum of products and function calls.
std::string LongFormula() {
    std::string f;
    for (int k = 0; f.size() < 10000; ++k)
        f += (k ? "+" : "") + std::string("sin(x*") + std::to_string(k % 97) + ")*(y-" +
             std::to_string(k % 13) + ")/(1+z*z)";
    return f.substr(0, 10000 - 1) + "1";
}

void BM_Compile10000(benchmark::State& state) {
    const std::string text = LongFormula();
    for (auto _ : state) {
        TTreePtr tree = CompileTree(text);
        benchmark::DoNotOptimize(tree.get());
    }
}

} // namespace

int main(int argc, char** argv) {
    InitFloatingPoint();
    if (const char* v = std::getenv("PLOTTER_EVALUATOR"))
        engine::SelectEvaluator(std::string(v) == "interpreter" ? engine::TEvaluator::Interpreter
                                                                : engine::TEvaluator::MachineCode);
    using Inl = void (*)(benchmark::State&);
    const Inl inlined[] = {BM_NativeInline<0>, BM_NativeInline<1>, BM_NativeInline<2>,
                           BM_NativeInline<3>, BM_NativeInline<4>, BM_NativeInline<5>};
    int k = 0;
    for (const auto& f : Formulas) {
        const std::string name = f.text;
        benchmark::RegisterBenchmark(("ours/" + name).c_str(), BM_Ours, &f);
        benchmark::RegisterBenchmark(("interpreter/" + name).c_str(), BM_Interpreter, &f);
        benchmark::RegisterBenchmark(("row/" + name).c_str(), BM_Row, &f,
                                     engine::TEvaluator::MachineCode);
        benchmark::RegisterBenchmark(("interpreter_row/" + name).c_str(), BM_Row, &f,
                                     engine::TEvaluator::Interpreter);
        benchmark::RegisterBenchmark(("native_call/" + name).c_str(), BM_NativeCall, &f);
        benchmark::RegisterBenchmark(("native_inline/" + name).c_str(), inlined[k++]);
        benchmark::RegisterBenchmark(("muparser/" + name).c_str(), BM_Muparser, &f);
        benchmark::RegisterBenchmark(("fparser/" + name).c_str(), BM_Fparser, &f);
    }
    // (All in nanoseconds: the best-of reporter keeps the benchmarks' own unit.)
    benchmark::RegisterBenchmark("ours/scan", BM_ScanOurs);
    benchmark::RegisterBenchmark("native_call/scan", BM_ScanNative);
    benchmark::RegisterBenchmark("native_inline/scan", BM_ScanInline);
    benchmark::RegisterBenchmark("muparser/scan", BM_ScanMuparser);
    benchmark::RegisterBenchmark("fparser/scan", BM_ScanFparser);
    benchmark::RegisterBenchmark("compile_10000", BM_Compile10000);
    // Seven short repetitions, interleaved with the other measurements of
    // the same formula.
    auto best = bench::RunBestOf(argc, argv, 7, "0.05");

    std::printf("\n");
    std::vector<std::string> rows;
    for (const auto& f : Formulas)
        rows.push_back(f.text);
    rows.push_back("scan");
    for (const auto& name : rows) {
        const bool scan = name == "scan";
        const double unit = scan ? 1e6 : 1; // the scan in milliseconds
        const double ours = best["ours/" + name] / unit;
        const double native = best["native_call/" + name] / unit;
        const double inl = best["native_inline/" + name] / unit;
        const double mu = best["muparser/" + name] / unit;
        const double fp = best["fparser/" + name] / unit;
        if (ours <= 0 || native <= 0 || mu <= 0 || fp <= 0) continue; // filtered out
        std::printf("formula=%s ours_%s=%.2f native_call_%s=%.2f ratio_native=%.2f "
                    "muparser_%s=%.2f ratio_muparser=%.2f fparser_%s=%.2f ratio_fparser=%.2f "
                    "native_inline_%s=%.2f\n",
                    name.c_str(), scan ? "ms" : "ns", ours, scan ? "ms" : "ns", native,
                    ours / native, scan ? "ms" : "ns", mu, ours / mu, scan ? "ms" : "ns", fp,
                    ours / fp, scan ? "ms" : "ns", inl);
    }
    // The machine code against the interpreter, point by point and in rows
    // (PLOTTER_EVALUATOR does not change these), and the rows against the
    // native call.
    for (const auto& f : Formulas) {
        const std::string name = f.text;
        const double ours = best["ours/" + name], interp = best["interpreter/" + name];
        const double row = best["row/" + name] / RowLength;
        const double interpRow = best["interpreter_row/" + name] / RowLength;
        const double native = best["native_call/" + name];
        if (ours <= 0 || interp <= 0 || row <= 0 || interpRow <= 0 || native <= 0) continue;
        std::printf("formula=%s machine_ns=%.2f interpreter_ns=%.2f ratio_interpreter=%.2f "
                    "row_ns=%.2f interpreter_row_ns=%.2f ratio_row_interpreter=%.2f "
                    "ratio_row_native=%.2f\n",
                    name.c_str(), ours, interp, ours / interp, row, interpRow, row / interpRow,
                    row / native);
    }
    if (best.count("compile_10000"))
        std::printf("case=compile_10000 ms=%.4f\n", best["compile_10000"] / 1e6);
    return 0;
}
