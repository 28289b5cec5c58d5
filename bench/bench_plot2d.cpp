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

// The y(x) input of one formula or a list of n, as the window captures it.
TPlotInput YxInput(std::vector<std::string> formulas, bool polar) {
    TPlotInput input = DefaultPlotInput();
    input.Coordinates = polar ? TCoordinates::Polar : TCoordinates::Cartesian;
    input.AllFormulas = formulas.size() > 1;
    if (input.AllFormulas)
        input.List = std::move(formulas);
    else if (!formulas.empty())
        input.Formula = formulas[0];
    return input;
}

// The request as an animation frame makes it: the trees compiled once
// before the loop serve every build.
TYxTrees Trees;
TPlotRequest YxPicture(const TPlotInput& input) {
    return PictureRequest(input, true, Trees);
}
TPlotInput Prepared(const TPlotInput& input) {
    CompileYxFormulas(input, Trees);
    return input;
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
    const TPlotInput input = Prepared(YxInput({}, false));
    for (auto _ : state)
        Compose(YxPicture(input));
}

void BM_BuildSine(benchmark::State& state) {
    DefaultView();
    const TPlotInput input = Prepared(YxInput({"sin(x)"}, false));
    for (auto _ : state)
        Compose(YxPicture(input));
}

void BM_BuildPolarDefault(benchmark::State& state) {
    DefaultView();
    const TPlotInput input = Prepared(YxInput({"1+sin(5*x)"}, true));
    for (auto _ : state)
        Compose(YxPicture(input));
}

// The parametric curve of a new document, compiled at every build as the
// window compiles it.
void BM_BuildParametricDefault(benchmark::State& state) {
    DefaultView();
    TPlotInput input = DefaultPlotInput();
    input.Mode = pmPlane;
    for (auto _ : state)
        Compose(PictureRequest(input, false, Trees));
}

void BM_BuildList10(benchmark::State& state) {
    DefaultView();
    std::vector<std::string> list;
    for (int k = 1; k <= 10; ++k)
        list.push_back("sin(x*" + std::to_string(k) + ")*" + std::to_string(k) + "/3");
    const TPlotInput input = Prepared(YxInput(list, false));
    for (auto _ : state)
        Compose(YxPicture(input));
}

// One drag of 100 mouse moves with the left button down, each a full build.
void BM_PanDrag100(benchmark::State& state) {
    DefaultView();
    const TPlotInput input = Prepared(YxInput({"sin(x)"}, false));
    for (auto _ : state) {
        DragStartX = 200, DragStartY = 200;
        for (int i = 1; i <= 100; ++i) {
            PanView(200 + (i % 2 ? 1 : -1), 200);
            Compose(YxPicture(input));
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv); // the label font needs the font database
    InitMemoryReuse();               // as the program starts
    InitFloatingPoint();
    DecimalSeparatorChar = '.';
    benchmark::RegisterBenchmark("composition", BM_Composition);
    benchmark::RegisterBenchmark("build_empty", BM_BuildEmpty);
    benchmark::RegisterBenchmark("build_sine", BM_BuildSine);
    benchmark::RegisterBenchmark("build_polar_default", BM_BuildPolarDefault);
    benchmark::RegisterBenchmark("build_parametric_default", BM_BuildParametricDefault);
    benchmark::RegisterBenchmark("build_list10", BM_BuildList10);
    benchmark::RegisterBenchmark("pan_drag_100_moves", BM_PanDrag100);
    auto best = bench::RunBestOf(argc, argv, 5, "0.5");
    auto ms = [&best](const std::string& name) { return best[name] / 1e6; };
    const double composition = ms("composition");
    for (const char* name : {"build_empty", "build_sine", "build_polar_default",
                             "build_parametric_default", "build_list10", "pan_drag_100_moves"}) {
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
