// Milliseconds for the scan of the implicit surface x^2+y^2+z^2-4 with the
// default ranges (three families of 21 planes, 101 x 101 lines in both
// directions: about 1.3 million evaluations of F), next to the same number
// of bare evaluations of the same tree, and to the same formula written in
// C++, both in the scan's order of samples; the scan on one thread and on
// two. Then the scan of four planes of the size of the bound (2048 x 2048
// samples each). Ends with the lines
//   case=implicit_default threads=<n> points=<n> scan_ms=<n> bare_eval_ms=<n>
//     native_ms=<n> ratio_bare=<r> ratio_native=<r>
//   case=implicit_bound threads=<n> scan_ms=<n>
// for 1 and 2 threads, and the ratios of the times on two threads to one.
#include "BenchSupport.h"
#include "engine/Engine.h"
#include "geometry3d/Implicit.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

const char* const Formula = "x^2+y^2+z^2-4";

TImplicitRequest DefaultRequest() {
    TImplicitRequest r;
    r.Formula = Formula;
    for (auto& row : r.Rows)
        row = {-5, 5, 0.1, 0.5};
    return r;
}

// Four planes perpendicular to X, each of 2048 x 2048 samples: the most a
// plane may have.
TImplicitRequest BoundRequest() {
    TImplicitRequest r;
    r.Formula = Formula;
    r.Rows[0] = {-5, 5, 0.1, 10.0 / 3};
    r.Rows[1] = r.Rows[2] = {-5, 5, 10.0 / 2047, 1};
    r.Families[1] = r.Families[2] = false;
    return r;
}

class Silent : public TScanProgress {
  public:
    bool Plane(double, double, double, double) override { return false; }
};

// The samples of the scan in its order: `eval` at every one, the first
// sample of each line twice.
template <typename Eval> double ScanOrder(Eval eval) {
    double sum = 0;
    for (int family = 0; family < 3; ++family)
        for (double n = -5; n <= 5; n = static_cast<double>(static_cast<long double>(n) + 0.5))
            for (int pass = 0; pass < 2; ++pass)
                for (double a = -5; a <= 5;
                     a = static_cast<double>(static_cast<long double>(a) + 0.1)) {
                    sum += eval(n, a, -5.0);
                    for (double b = -5; b <= 5;
                         b = static_cast<double>(static_cast<long double>(b) + 0.1))
                        sum += eval(n, a, b);
                }
    return sum;
}

void BM_Scan(benchmark::State& state, TImplicitRequest (*request)(), int threads) {
    const TImplicitRequest r = request();
    Silent progress;
    SetBuildThreads(threads);
    for (auto _ : state)
        BuildLevelPoints(r, progress);
    SetBuildThreads(0);
    state.counters["points"] = LevelPointCount;
}

void BM_Bare(benchmark::State& state) {
    CompileFormula(0, Formula);
    const TExprNode* tree = FormulaTrees[0];
    for (auto _ : state)
        benchmark::DoNotOptimize(ScanOrder([tree](double n, double p, double q) {
            VarX = n;
            VarY = p;
            VarZ = q;
            EvalError = false;
            return EvalTree(tree);
        }));
}

double NativeF(double x, double y, double z) {
    return x * x + y * y + z * z - 4;
}

void BM_Native(benchmark::State& state) {
    double (*f)(double, double, double) = NativeF;
    benchmark::DoNotOptimize(f);
    for (auto _ : state)
        benchmark::DoNotOptimize(ScanOrder(f));
}

} // namespace

int main(int argc, char** argv) {
    InitMemoryReuse(); // as the program starts
    InitFloatingPoint();
    for (const int threads : {1, 2}) {
        const std::string n = std::to_string(threads);
        benchmark::RegisterBenchmark(("scan/threads:" + n).c_str(), BM_Scan, DefaultRequest,
                                     threads);
        benchmark::RegisterBenchmark(("bound/threads:" + n).c_str(), BM_Scan, BoundRequest,
                                     threads);
    }
    benchmark::RegisterBenchmark("bare_eval", BM_Bare);
    benchmark::RegisterBenchmark("native", BM_Native);
    auto best = bench::RunBestOf(argc, argv, 7, "0.2");
    Silent progress;
    BuildLevelPoints(DefaultRequest(), progress);
    const double bare = best["bare_eval"] / 1e6, native = best["native"] / 1e6;
    std::printf("\n");
    for (const int threads : {1, 2}) {
        const std::string n = std::to_string(threads);
        const double scan = best["scan/threads:" + n] / 1e6;
        std::printf("case=implicit_default threads=%d points=%d scan_ms=%.3f bare_eval_ms=%.3f "
                    "native_ms=%.3f ratio_bare=%.2f ratio_native=%.2f\n",
                    threads, LevelPointCount, scan, bare, native, scan / bare, scan / native);
    }
    for (const int threads : {1, 2})
        std::printf("case=implicit_bound threads=%d scan_ms=%.3f\n", threads,
                    best["bound/threads:" + std::to_string(threads)] / 1e6);
    std::printf("ratio_threads default=%.2f bound=%.2f\n",
                best["scan/threads:2"] / best["scan/threads:1"],
                best["bound/threads:2"] / best["bound/threads:1"]);
    FreeAllTrees();
    return 0;
}
