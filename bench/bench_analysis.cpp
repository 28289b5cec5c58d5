// Milliseconds per search of the points of interest: a list of ten formulas
// over the default view (roots, extrema, y-axis crossings and the 45
// pairwise intersections), and sin(1/x) over [-1, 1], which stops at a
// thousand points. Ends with one line per case:
//   case=<name> ms=<n>
#include "BenchSupport.h"
#include "analysis/Analysis.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr double Pixel = 20.0 / 400; // the default view's pixel width

void BM_List10(benchmark::State& state) {
    FreeAllTrees();
    std::vector<TGraph> graphs;
    for (int k = 1; k <= 10; ++k) {
        const std::string formula =
            "sin(x*" + std::to_string(k) + ")*" + std::to_string(k) + "/3";
        CompileFormula(k, formula);
        graphs.push_back({FormulaTrees[k], k, formula});
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(PointsOfInterest(graphs, -10, 10, Pixel).Points.size());
}

void BM_SinInverse(benchmark::State& state) {
    FreeAllTrees();
    CompileFormula(0, "sin(1/x)");
    const TGraph g{FormulaTrees[0], 0, "sin(1/x)"};
    for (auto _ : state)
        benchmark::DoNotOptimize(PointsOfInterest({g}, -1, 1, 2.0 / 400).Points.size());
}

} // namespace

int main(int argc, char** argv) {
    InitMemoryReuse(); // as the program starts
    InitFloatingPoint();
    DecimalSeparatorChar = '.';
    benchmark::RegisterBenchmark("list10_default_view", BM_List10);
    benchmark::RegisterBenchmark("sin_inverse", BM_SinInverse);
    auto best = bench::RunBestOf(argc, argv, 5, "0.3");
    std::printf("\n");
    for (const char* name : {"list10_default_view", "sin_inverse"})
        std::printf("case=%s ms=%.3f\n", name, best[name] / 1e6);
    FreeAllTrees();
    return 0;
}
