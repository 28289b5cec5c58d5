// Milliseconds per frame of the 3D window for the default surface (101 x 101)
// and a 500 x 500 surface, next to the build of that surface and to a frame
// that only clears and shows the window, measured in the same run. A frame
// is drawn into the window's framebuffer, finished (glFinish) and shown.
// Runs on the display it is given (Xvfb and its software renderer under
// ./test's machine). Ends with one line per case:
//   case=<surface_default|surface_500> frame_ms=<n> build_ms=<n> clear_swap_ms=<n>
// and the builds on one and on two threads:
//   case=<...> threads=<n> build_ms=<n>
// PLOTTER_DISPLAY_LISTS=0 sends every vertex at every frame instead.
// The surface at the size bound (2048 x 2048): its build and first frame.
#include "BenchSupport.h"
#include "document/PlotDocument.h"
#include "engine/Engine.h"
#include "geometry3d/Buffers.h"
#include "geometry3d/Builders.h"
#include "view3d/Scene.h"
#include "view3d/Tfrm3D.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

std::unique_ptr<Tfrm3D> Window;

const TGridRanges DefaultGrid{-10, 10, 0.2, -10, 10, 0.2};
const TGridRanges Grid500{-10, 10, 20.0 / 499, -10, 10, 20.0 / 499};
const char* const Formula = "sin(x)*cos(y)*3";

// One frame: the scene (or only the clear) into the framebuffer, finished,
// and shown in the window.
void Frame(bool scene) {
    Window->View->makeCurrent();
    if (scene) {
        Window->DrawFrame();
    } else {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    glFinish();
    Window->View->doneCurrent();
    Window->View->FrameFresh = true;
    Window->View->repaint();
    QApplication::processEvents();
}

void BM_Frame(benchmark::State& state, const TGridRanges* grid) {
    BuildSurfaceZxy(Formula, *grid);
    Frame(true); // the display list is made once, at the first frame
    for (auto _ : state)
        Frame(true);
}

void BM_Build(benchmark::State& state, const TGridRanges* grid, int threads) {
    SetBuildThreads(threads);
    for (auto _ : state)
        BuildSurfaceZxy(Formula, *grid);
    SetBuildThreads(0);
}

void BM_ClearSwap(benchmark::State& state) {
    for (auto _ : state)
        Frame(false);
}

} // namespace

int main(int argc, char** argv) {
    InitMemoryReuse(); // as the program starts
    InitFloatingPoint();
    QApplication app(argc, argv);
    InitFloatingPoint();
    const char* lists = std::getenv("PLOTTER_DISPLAY_LISTS");
    const bool useLists = lists == nullptr || std::string(lists) != "0";
    SeedRandom(1);
    RandomiseColourCoeffs();
    Window = std::make_unique<Tfrm3D>();
    Window->FormCreate(QPoint(40, 40));
    Window->SceneOptions = [useLists] {
        TSceneOptions o;
        o.Mode = pmSurface;
        o.DisplayLists = useLists;
        return o;
    };
    Window->show();
    if (!QTest::qWaitForWindowExposed(Window.get())) {
        std::fprintf(stderr, "no window on this display\n");
        return 1;
    }
    Window->View->grabFramebuffer(); // the context
    benchmark::RegisterBenchmark("frame/surface_default", BM_Frame, &DefaultGrid);
    benchmark::RegisterBenchmark("build/surface_default", BM_Build, &DefaultGrid, 0);
    benchmark::RegisterBenchmark("frame/surface_500", BM_Frame, &Grid500);
    benchmark::RegisterBenchmark("build/surface_500", BM_Build, &Grid500, 0);
    for (const int threads : {1, 2}) {
        const std::string n = std::to_string(threads);
        benchmark::RegisterBenchmark(("build/surface_default/threads:" + n).c_str(), BM_Build,
                                     &DefaultGrid, threads);
        benchmark::RegisterBenchmark(("build/surface_500/threads:" + n).c_str(), BM_Build, &Grid500,
                                     threads);
    }
    benchmark::RegisterBenchmark("clear_swap", BM_ClearSwap);
    auto best = bench::RunBestOf(argc, argv, 5, "0.3");
    std::printf("\n");
    const double clearSwap = best["clear_swap"] / 1e6;
    for (const char* name : {"surface_default", "surface_500"}) {
        std::printf("case=%s frame_ms=%.3f build_ms=%.3f clear_swap_ms=%.3f\n", name,
                    best[std::string("frame/") + name] / 1e6,
                    best[std::string("build/") + name] / 1e6, clearSwap);
    }
    for (const char* name : {"surface_default", "surface_500"}) {
        const std::string build = std::string("build/") + name + "/threads:";
        for (const int threads : {1, 2})
            std::printf("case=%s threads=%d build_ms=%.3f\n", name, threads,
                        best[build + std::to_string(threads)] / 1e6);
        std::printf("case=%s ratio_threads=%.2f\n", name, best[build + "2"] / best[build + "1"]);
    }
    // The surface at the bound: its build and its first frame (the arrays
    // and the display list made, then drawn), once.
    {
        const TGridRanges bound{-10, 10, 20.0 / 2047, -10, 10, 20.0 / 2047};
        QElapsedTimer clock;
        clock.start();
        BuildSurfaceZxy(Formula, bound);
        const double build = clock.nsecsElapsed() / 1e6;
        clock.restart();
        Frame(true);
        const double first = clock.nsecsElapsed() / 1e6;
        clock.restart();
        Frame(true);
        std::printf("case=surface_bound build_ms=%.1f first_frame_ms=%.1f frame_ms=%.1f\n", build,
                    first, clock.nsecsElapsed() / 1e6);
    }
    Window.reset();
    return 0;
}
