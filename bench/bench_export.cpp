// Milliseconds per export, each measured on its own: the STL of a surface of
// the bound's size (2048 x 2048 vertices, 8.4 million triangles, written to
// a file in the temporary folder and synced), and the SVG and a 4x PNG of a
// list of ten formulas. Ends with one line per case:
//   case=<name> ms=<n>
#include "BenchSupport.h"
#include "document/AtomicFile.h"
#include "engine/Engine.h"
#include "geometry3d/Buffers.h"
#include "geometry3d/Builders.h"
#include "geometry3d/MeshFiles.h"
#include "plot2d/Export2D.h"
#include "plot2d/View2D.h"

#include <QDir>
#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string StlPath() {
    return QDir::temp().filePath(QStringLiteral("bench_export.stl")).toStdString();
}

void BM_StlBound(benchmark::State& state) {
    for (auto _ : state)
        WriteFileAtomically(StlPath(), [](TFileSink& sink) { WriteSurfaceStl(sink); });
}

TPlotRequest ListOfTen() {
    TPlotInput input = DefaultPlotInput();
    input.AllFormulas = true;
    for (int k = 1; k <= 10; ++k)
        input.List.push_back("sin(x*" + std::to_string(k) + ")*" + std::to_string(k) + "/3");
    ViewFromInput(input);
    static TYxTrees trees;
    return PictureRequest(input, false, trees);
}

void BM_SvgList10(benchmark::State& state) {
    const TPlotRequest request = ListOfTen();
    for (auto _ : state)
        benchmark::DoNotOptimize(PictureSvg(request).size());
}

void BM_Compose4List10(benchmark::State& state) {
    const TPlotRequest request = ListOfTen();
    for (auto _ : state)
        benchmark::DoNotOptimize(PictureImage(request, 4).constBits());
}

void BM_Png4List10(benchmark::State& state) {
    const TPlotRequest request = ListOfTen();
    for (auto _ : state)
        benchmark::DoNotOptimize(PicturePng(request, 4).size());
}

} // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv); // fonts for the labels
    InitMemoryReuse(); // as the program starts
    InitFloatingPoint();
    DecimalSeparatorChar = '.';
    SeedRandom(1);
    RandomiseColourCoeffs();
    const double step = 20.0 / 2047;
    if (!BuildSurfaceZxy("sin(x)*cos(y)*3", {-10, 10, step, -10, 10, step}) ||
        SurfaceRows != 2048 || SurfaceCols != 2048) {
        std::fprintf(stderr, "the bound-size surface was not built\n");
        return 1;
    }
    benchmark::RegisterBenchmark("stl_2048", BM_StlBound);
    benchmark::RegisterBenchmark("svg_list10", BM_SvgList10);
    benchmark::RegisterBenchmark("png4x_list10", BM_Png4List10);
    benchmark::RegisterBenchmark("compose4x_list10", BM_Compose4List10);
    auto best = bench::RunBestOf(argc, argv, 3, "0.5");
    std::printf("\n");
    for (const char* name : {"stl_2048", "svg_list10", "png4x_list10", "compose4x_list10"})
        std::printf("case=%s ms=%.2f\n", name, best[name] / 1e6);
    std::remove(StlPath().c_str());
    return 0;
}
