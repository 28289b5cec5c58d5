#include "geometry3d/Builders.h"
#include "texts/Texts.h"

#include "engine/Arith80.h"
#include "engine/Engine.h"
#include "geometry3d/Buffers.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string TooMany(long double count) {
    return TooManyPointsMessage(count);
}

void CheckGridSize(std::int32_t rows, std::int32_t cols) {
    const long double total = static_cast<long double>(rows) * cols;
    if (total > MaxVertices) throw BuildRefused(TooMany(total));
}

// The rows of a grid computed by as many threads as a build may use, each a
// run of whole rows. The main thread computes the first run with the slots'
// trees; every other thread has a context of its own, starting from the main
// thread's cells, and trees of its own compiled for it. Afterwards the main
// thread's cells are those of the last sample and its error flag tells
// whether any sample had an error, as after one thread. A formula that draws
// random numbers keeps the whole grid on the main thread.
class TGridThreads {
  public:
    // `formulas` are those of the slots tsX, tsY, ... in order; their rows
    // along `along` (if any) are made before the threads start.
    TGridThreads(const std::vector<std::string>& formulas, std::int32_t rows,
                 double TEvalContext::*along) {
        bool random = false;
        for (std::size_t k = 0; k < formulas.size(); ++k)
            random = random || DrawsRandom(FormulaTrees[k]);
        const int threads = random ? 1 : std::clamp(BuildThreads(), 1, std::max(rows, 1));
        parts_.resize(static_cast<std::size_t>(threads));
        for (int k = 0; k < threads; ++k) {
            TPart& part = parts_[static_cast<std::size_t>(k)];
            part.Begin = static_cast<std::int32_t>(static_cast<std::int64_t>(rows) * k / threads);
            part.End =
                static_cast<std::int32_t>(static_cast<std::int64_t>(rows) * (k + 1) / threads);
            if (k == 0) {
                for (std::size_t f = 0; f < formulas.size(); ++f)
                    part.Trees.push_back(FormulaTrees[f]);
                continue;
            }
            part.OwnContext = std::make_unique<TEvalContext>(MainContext);
            part.Context = part.OwnContext.get();
            part.Context->Error = false;
            for (const std::string& formula : formulas) {
                part.OwnTrees.push_back(CompileTree(formula, *part.Context));
                part.Trees.push_back(part.OwnTrees.back().get());
            }
        }
        if (along != nullptr)
            for (TPart& part : parts_)
                for (const TExprNode* tree : part.Trees)
                    PrepareRows(tree, *part.Context, {along});
    }

    // Runs `row(context, trees, index, results)` for every row; `results`
    // are the thread's arrays for the rows of its trees.
    void Run(const std::function<void(TEvalContext&, const std::vector<const TExprNode*>&,
                                      std::int32_t, TRowResults*)>& row) {
        RunTasks(parts_.size(), static_cast<int>(parts_.size()), [&](std::size_t k) {
            TPart& part = parts_[k];
            const TContextScope scope(*part.Context);
            for (std::int32_t i = part.Begin; i < part.End; ++i)
                row(*part.Context, part.Trees, i, part.Rows);
        });
        const TPart& last = parts_.back();
        for (std::size_t k = 1; k < parts_.size(); ++k)
            EvalError = EvalError || parts_[k].Context->Error;
        if (last.Context != &MainContext && last.End > last.Begin) {
            const bool error = EvalError;
            const TEvalContext& c = *last.Context;
            VarX = c.X, VarY = c.Y, VarZ = c.Z, VarT = c.T, VarU = c.U, VarV = c.V, VarF = c.F;
            EvalError = error;
        }
    }

  private:
    struct TPart {
        std::int32_t Begin = 0, End = 0;
        TEvalContext* Context = &MainContext;
        std::unique_ptr<TEvalContext> OwnContext;
        std::vector<TTreePtr> OwnTrees;
        std::vector<const TExprNode*> Trees;
        TRowResults Rows[3];
    };
    std::vector<TPart> parts_;
};

// The values a loop of repeated steps from `min` takes, `count` of them.
std::vector<double> Steps(double min, double step, std::int32_t count) {
    std::vector<double> values(static_cast<std::size_t>(std::max(count, 0)));
    double v = min;
    for (double& value : values) {
        value = v;
        v = Advance(v, step);
    }
    return values;
}

// A row of the tree into `row`; the context's error flag stays set once any
// sample so far had an error, as it does when the points are evaluated one
// by one.
void EvalRowKeepingError(TRowResults& row, const TExprNode* tree, TEvalContext& c,
                         double TEvalContext::*variable, const std::vector<double>& values) {
    const bool before = c.Error;
    row.Eval(tree, c, variable, values);
    c.Error = before || row.AnyError();
}

} // namespace

TSurfaceRequest SurfaceRequest(const TPlotDocument& d) {
    const double* n = d.Numbers;
    return {d.Formulas[fsSurfaceZ],
            {n[SurfXMin], n[SurfXMax], n[SurfXStep], n[SurfYMin], n[SurfYMax], n[SurfYStep]}};
}

TCurveRequest CurveRequest(const TPlotDocument& d) {
    return {d.Formulas[fsCurveX], d.Formulas[fsCurveY], d.Formulas[fsCurveZ],
            d.Numbers[CurveTMin], d.Numbers[CurveTMax], d.Numbers[CurveTStep]};
}

TPatchRequest PatchRequest(const TPlotDocument& d) {
    const double* n = d.Numbers;
    return {d.Formulas[fsPatchX],
            d.Formulas[fsPatchY],
            d.Formulas[fsPatchZ],
            {n[PatchUMin], n[PatchUMax], n[PatchUStep], n[PatchVMin], n[PatchVMax], n[PatchVStep]}};
}

void CheckStepMoves(double min, double max, double step, const std::string& name) {
    if (step == 0 || StepMoves(min, max, step)) return;
    const double end = std::fabs(min) > std::fabs(max) ? min : max;
    throw BuildRefused(StuckStepMessage(texts::Translate("Steps", name.c_str()), FormatNumber(step),
                                        FormatNumber(end)));
}

std::int32_t SampleCount(double min, double max, double step, bool truncate) {
    const long double q = (static_cast<long double>(max) - min) / step;
    // A zero step: the processor's conversion of the undefined or infinite
    // quotient leaves nothing in the low 32 bits, so one sample is taken.
    if (!std::isfinite(q)) return 1;
    const long double n = (truncate ? std::trunc(q) : std::nearbyint(q)) + 1;
    if (n < 0)
        throw BuildRefused(texts::Translate("Builders",
                                            "Максимум диапазона меньше минимума: построить "
                                            "нечего. Поменяйте местами min и max."));
    if (n > MaxVertices) throw BuildRefused(TooMany(n));
    return static_cast<std::int32_t>(n);
}

bool BuildSurfaceZxy(const std::string& z, const TGridRanges& xy) {
    FreeAllTrees();
    if (z.empty()) return false;
    CompileFormula(tsSurface, z);
    const std::int32_t rows = SampleCount(xy.Min1, xy.Max1, xy.Step1, false);
    const std::int32_t cols = SampleCount(xy.Min2, xy.Max2, xy.Step2, false);
    CheckGridSize(rows, cols);
    CheckStepMoves(xy.Min1, xy.Max1, xy.Step1, QT_TRANSLATE_NOOP("Steps", "Шаг по оси X"));
    CheckStepMoves(xy.Min2, xy.Max2, xy.Step2, QT_TRANSLATE_NOOP("Steps", "Шаг по оси Y"));
    const double cx = Centre(xy.Min1, xy.Max1);
    const double cy = Centre(xy.Min2, xy.Max2);
    // Each row is made by the thread that computes it, so that the threads
    // share the work of the memory too.
    std::vector<std::vector<Vertex3D>> grid(static_cast<std::size_t>(rows));
    const std::vector<double> xs = Steps(xy.Min1, xy.Step1, rows);
    const std::vector<double> ys = Steps(xy.Min2, xy.Step2, cols);
    TGridThreads threads({z}, rows, &TEvalContext::Y);
    threads.Run([&](TEvalContext& c, const std::vector<const TExprNode*>& trees, std::int32_t i,
                    TRowResults* rows) {
        const double x = xs[static_cast<std::size_t>(i)];
        grid[static_cast<std::size_t>(i)].resize(ys.size());
        c.X = x;
        EvalRowKeepingError(rows[0], trees[0], c, &TEvalContext::Y, ys);
        std::size_t j = 0;
        for (Vertex3D& v : grid[static_cast<std::size_t>(i)]) {
            v.x = Minus(x, cx);
            v.y = Minus(ys[j], cy);
            v.z = rows[0].Values()[j]; // neither centred nor scaled
            VertexColour(v, v.z, v.z); // the colour depends on the height alone
            if (rows[0].Errors()[j++]) MarkUndefined(v);
        }
    });

    SurfaceGrid.swap(grid);
    SurfaceRows = rows;
    SurfaceCols = cols;
    ++SurfaceGeneration;
    return true;
}

bool BuildCurve3D(const std::string& x, const std::string& y, const std::string& z, double tmin,
                  double tmax, double tstep) {
    FreeAllTrees();
    if (x.empty() || y.empty() || z.empty()) return false;
    CompileFormula(tsX, x);
    CompileFormula(tsY, y);
    CompileFormula(tsZ, z);
    const std::int32_t count = SampleCount(tmin, tmax, tstep, true);
    CheckStepMoves(tmin, tmax, tstep, QT_TRANSLATE_NOOP("Steps", "Шаг по t"));

    std::vector<Vertex3D> points(count);
    double t = tmin;
    // The error flag stays set once any point had an error, as before; each
    // point's own error marks it.
    const bool before = EvalError;
    bool any = false;
    for (Vertex3D& v : points) {
        VarT = t;
        EvalError = false;
        v.x = EvalTree(FormulaTrees[tsX]);
        v.y = EvalTree(FormulaTrees[tsY]);
        v.z = EvalTree(FormulaTrees[tsZ]);
        const long double zt = static_cast<long double>(v.z) - t;
        VertexColour(v, zt + v.x, zt + v.y);
        if (EvalError) MarkUndefined(v), any = true;
        t = Advance(t, tstep);
    }
    EvalError = before || any;

    CurvePoints.swap(points);
    CurveCount = count;
    ++CurveGeneration;
    return true;
}

bool BuildParametricSurface(const std::string& x, const std::string& y, const std::string& z,
                            const TGridRanges& uv) {
    FreeAllTrees();
    if (x.empty() || y.empty() || z.empty()) return false;
    CompileFormula(tsX, x);
    CompileFormula(tsY, y);
    CompileFormula(tsZ, z);
    const std::int32_t rows = SampleCount(uv.Min1, uv.Max1, uv.Step1, false);
    const std::int32_t cols = SampleCount(uv.Min2, uv.Max2, uv.Step2, false);
    CheckGridSize(rows, cols);
    CheckStepMoves(uv.Min1, uv.Max1, uv.Step1, QT_TRANSLATE_NOOP("Steps", "Шаг по u"));
    CheckStepMoves(uv.Min2, uv.Max2, uv.Step2, QT_TRANSLATE_NOOP("Steps", "Шаг по v"));

    // Each row is made by the thread that computes it, so that the threads
    // share the work of the memory too.
    std::vector<std::vector<Vertex3D>> grid(static_cast<std::size_t>(rows));
    const std::vector<double> us = Steps(uv.Min1, uv.Step1, rows);
    const std::vector<double> vs = Steps(uv.Min2, uv.Step2, cols);
    // Random draws go to x, y and z of each point in turn: such formulas are
    // evaluated point by point, the others a row of each at a time.
    const bool pointByPoint = DrawsRandom(FormulaTrees[tsX]) || DrawsRandom(FormulaTrees[tsY]) ||
                              DrawsRandom(FormulaTrees[tsZ]);
    TGridThreads threads({x, y, z}, rows, pointByPoint ? nullptr : &TEvalContext::V);
    threads.Run([&](TEvalContext& c, const std::vector<const TExprNode*>& trees, std::int32_t i,
                    TRowResults* rows) {
        const double u = us[static_cast<std::size_t>(i)];
        c.U = u;
        std::vector<Vertex3D>& line = grid[static_cast<std::size_t>(i)];
        line.resize(vs.size());
        // Each point's own error, beside the flag kept for the whole build.
        std::vector<char> undefined(line.size());
        if (pointByPoint) {
            const bool before = c.Error;
            bool any = false;
            for (std::size_t j = 0; j < line.size(); ++j) {
                c.V = vs[j];
                c.Error = false;
                line[j].x = EvalTree(trees[0]);
                line[j].y = EvalTree(trees[1]);
                line[j].z = EvalTree(trees[2]);
                undefined[j] = c.Error;
                any = any || c.Error;
            }
            c.Error = before || any;
        } else {
            for (std::size_t k = 0; k < 3; ++k) {
                EvalRowKeepingError(rows[k], trees[k], c, &TEvalContext::V, vs);
                for (std::size_t j = 0; j < line.size(); ++j)
                    undefined[j] = undefined[j] || rows[k].Errors()[j];
            }
            for (std::size_t j = 0; j < line.size(); ++j)
                line[j].x = rows[0].Values()[j], line[j].y = rows[1].Values()[j],
                line[j].z = rows[2].Values()[j];
        }
        for (std::size_t j = 0; j < line.size(); ++j) {
            Vertex3D& p = line[j];
            VertexColour(p, static_cast<long double>(p.z) - p.y,
                         static_cast<long double>(p.z) - p.x);
            if (undefined[j]) MarkUndefined(p);
        }
    });

    SurfaceGrid.swap(grid);
    SurfaceRows = rows;
    SurfaceCols = cols;
    ++SurfaceGeneration;
    return true;
}
