// What one step of a parameter's slider costs: the redraw of ten y(x)
// graphs that read it, with their trees kept (as the window keeps them
// while a parameter moves) and compiled afresh, at 400 x 400 and at
// 1600 x 1200, and the rebuild of a 100 x 100 surface. Ends with one line
// per case:
//   case=<name> ms=<n> per_second=<n> from_scratch_ms=<n> ratio_from_scratch=<r>
// where the ratio is the kept trees' time over the time of compiling them
// at every step, measured in the same run.
#include "BenchSupport.h"
#include "engine/Engine.h"
#include "geometry3d/Buffers.h"
#include "geometry3d/Builders.h"
#include "model/Parameters.h"
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

std::vector<TParameter> Parameters = {NewParameter("a"), NewParameter("b")};

// The next position of a's slider: its value changes at every step.
void NextStep() {
    static int position = 0;
    position = (position + 1) % 200;
    Parameters[0].Value = -10 + position * 0.1;
    ApplyParameters(Parameters);
}

TPlotInput TenGraphs() {
    TPlotInput input = DefaultPlotInput();
    input.AllFormulas = true;
    for (int k = 1; k <= 10; ++k)
        input.List.push_back("a*sin(x*" + std::to_string(k) + ")/" + std::to_string(k) + "+b");
    input.Parameters = Parameters;
    return input;
}

void Redraw(benchmark::State& state, int width, int height, bool kept) {
    ViewX1 = -10, ViewX2 = 10, ViewY1 = -10, ViewY2 = 10;
    PlotWidth = PlotHeight = 400;
    RecomputeViewFromEdges();
    ResizeView(width, height, true);
    const TPlotInput input = TenGraphs();
    TYxTrees trees;
    ApplyParameters(Parameters);
    CompileYxFormulas(input, trees);
    QImage image(width, height, QImage::Format_RGB32);
    for (auto _ : state) {
        NextStep();
        // The names stay: the kept trees read the cells' new values.
        const TPlotRequest request = PictureRequest(input, kept, trees);
        QPainter painter(&image);
        ComposePicture(painter, request);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    FreeAllTrees();
}

void BM_Kept400(benchmark::State& s) {
    Redraw(s, 400, 400, true);
}
void BM_Scratch400(benchmark::State& s) {
    Redraw(s, 400, 400, false);
}
void BM_Kept1600(benchmark::State& s) {
    Redraw(s, 1600, 1200, true);
}
void BM_Scratch1600(benchmark::State& s) {
    Redraw(s, 1600, 1200, false);
}

void BM_Surface100(benchmark::State& state) {
    for (auto _ : state) {
        NextStep();
        const bool built = BuildSurfaceZxy("A*SIN(X)*COS(Y)+B", {-10, 10, 0.2, -10, 10, 0.2});
        benchmark::DoNotOptimize(built);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv); // the label font needs the font database
    InitMemoryReuse();               // as the program starts
    InitFloatingPoint();
    DecimalSeparatorChar = '.';
    SeedRandom(1);
    RandomiseColourCoeffs();
    benchmark::RegisterBenchmark("step_list10_400", BM_Kept400);
    benchmark::RegisterBenchmark("scratch_list10_400", BM_Scratch400);
    benchmark::RegisterBenchmark("step_list10_1600x1200", BM_Kept1600);
    benchmark::RegisterBenchmark("scratch_list10_1600x1200", BM_Scratch1600);
    benchmark::RegisterBenchmark("step_surface_100", BM_Surface100);
    auto best = bench::RunBestOf(argc, argv, 5, "0.5");
    auto ms = [&best](const std::string& name) { return best[name] / 1e6; };
    const struct {
        const char *name, *scratch;
    } cases[] = {{"step_list10_400", "scratch_list10_400"},
                 {"step_list10_1600x1200", "scratch_list10_1600x1200"},
                 {"step_surface_100", nullptr}};
    for (const auto& c : cases) {
        const double t = ms(c.name), scratch = c.scratch ? ms(c.scratch) : t;
        std::printf(
            "case=%s ms=%.4f per_second=%.1f from_scratch_ms=%.4f ratio_from_scratch=%.2f\n",
            c.name, t, 1000 / t, scratch, t / scratch);
    }
    std::fflush(stdout);
    return 0;
}
