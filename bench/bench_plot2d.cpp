// Milliseconds per composition of the whole 2D picture (background, axes,
// grid, graphs, border) next to the composition without graphs, measured in
// the same run. No window: the pictures are composed from plot requests as
// the main window makes them. Ends with one line per case:
//   case=<name> ms=<n> ms_per_build=<n> composition_ms=<n> ratio_composition=<r>
#include "BenchSupport.h"
#include "engine/Engine.h"
#include "plot2d/Picture.h"
#include "plot2d/View2D.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The default view -10 .. 10 on both axes.
void DefaultView() {
    ViewX1 = -10, ViewX2 = 10, ViewY1 = -10, ViewY2 = 10;
    RecomputeViewFromEdges();
}

void Compose(const TPlotRequest& request) {
    QImage image(PlotWidth, PlotHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    ComposePicture(painter, request);
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
}

// The request of y(x) with the formulas in slots 0 ... n, as the window makes it.
TPlotRequest YxPicture(int n, bool polar) {
    TYxInput input;
    input.Trees = FormulaTrees;
    input.ListCount = n;
    input.All = n > 0;
    input.Polar = polar;
    input.PixelRule = !polar;
    input.MinimalStep = true;
    input.FMin = 0;
    input.FMax = 6.283185307179586;
    std::string step = "0.01";
    return YxRequest(input, step);
}

void BM_Composition(benchmark::State& state) {
    DefaultView();
    FreeAllTrees();
    const TPlotRequest background; // no graphs
    for (auto _ : state)
        Compose(background);
}

void BM_BuildEmpty(benchmark::State& state) {
    DefaultView();
    FreeAllTrees();
    for (auto _ : state)
        Compose(YxPicture(0, false));
}

void BM_BuildSine(benchmark::State& state) {
    DefaultView();
    FreeAllTrees();
    CompileFormula(tsFormula, "sin(x)");
    for (auto _ : state)
        Compose(YxPicture(0, false));
}

void BM_BuildPolarDefault(benchmark::State& state) {
    DefaultView();
    FreeAllTrees();
    CompileFormula(tsFormula, "1+sin(5*x)");
    for (auto _ : state)
        Compose(YxPicture(0, true));
}

void BM_BuildList10(benchmark::State& state) {
    DefaultView();
    FreeAllTrees();
    for (int k = 1; k <= 10; ++k)
        CompileFormula(k, "sin(x*" + std::to_string(k) + ")*" + std::to_string(k) + "/3");
    for (auto _ : state)
        Compose(YxPicture(10, false));
}

// One drag of 100 mouse moves with the left button down, each a full build.
void BM_PanDrag100(benchmark::State& state) {
    DefaultView();
    FreeAllTrees();
    CompileFormula(tsFormula, "sin(x)");
    for (auto _ : state) {
        DragStartX = 200, DragStartY = 200;
        for (int i = 1; i <= 100; ++i) {
            PanView(200 + (i % 2 ? 1 : -1), 200);
            Compose(YxPicture(0, false));
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv); // the label font needs the font database
    InitFloatingPoint();
    DecimalSeparatorChar = '.';
    benchmark::RegisterBenchmark("composition", BM_Composition);
    benchmark::RegisterBenchmark("build_empty", BM_BuildEmpty);
    benchmark::RegisterBenchmark("build_sine", BM_BuildSine);
    benchmark::RegisterBenchmark("build_polar_default", BM_BuildPolarDefault);
    benchmark::RegisterBenchmark("build_list10", BM_BuildList10);
    benchmark::RegisterBenchmark("pan_drag_100_moves", BM_PanDrag100);
    auto best = bench::RunBestOf(argc, argv, 5, "0.5");
    auto ms = [&best](const std::string& name) { return best[name] / 1e6; };
    const double composition = ms("composition");
    for (const char* name : {"build_empty", "build_sine", "build_polar_default", "build_list10",
                             "pan_drag_100_moves"}) {
        const double total = ms(name);
        const double perBuild = std::string(name) == "pan_drag_100_moves" ? total / 100 : total;
        std::printf(
            "case=%s ms=%.4f ms_per_build=%.4f composition_ms=%.4f ratio_composition=%.2f\n", name,
            total, perBuild, composition, perBuild / composition);
    }
    std::fflush(stdout);
    FreeAllTrees();
    return 0;
}
