#include "geometry3d/Builders.h"
#include "texts/Texts.h"

#include "engine/Arith80.h"
#include "engine/Engine.h"
#include "geometry3d/Buffers.h"

#include <cmath>
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
    throw BuildRefused(StuckStepMessage(texts::Translate("Steps", name.c_str()),
                                        FormatNumber(step), FormatNumber(end)));
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
    const TExprNode* tree = FormulaTrees[tsSurface];

    std::vector<std::vector<Vertex3D>> grid(rows, std::vector<Vertex3D>(cols));
    double x = xy.Min1;
    for (auto& row : grid) {
        double y = xy.Min2;
        for (Vertex3D& v : row) {
            VarX = x;
            VarY = y;
            v.x = Minus(x, cx);
            v.y = Minus(y, cy);
            v.z = EvalTree(tree); // neither centred nor scaled
            y = Advance(y, xy.Step2);
        }
        x = Advance(x, xy.Step1);
    }
    // The colour depends on the height alone.
    for (auto& row : grid)
        for (Vertex3D& v : row)
            VertexColour(v, v.z, v.z);

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
    for (Vertex3D& v : points) {
        VarT = t;
        v.x = EvalTree(FormulaTrees[tsX]);
        v.y = EvalTree(FormulaTrees[tsY]);
        v.z = EvalTree(FormulaTrees[tsZ]);
        const long double zt = static_cast<long double>(v.z) - t;
        VertexColour(v, zt + v.x, zt + v.y);
        t = Advance(t, tstep);
    }

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

    std::vector<std::vector<Vertex3D>> grid(rows, std::vector<Vertex3D>(cols));
    double u = uv.Min1;
    for (auto& row : grid) {
        double v = uv.Min2;
        for (Vertex3D& p : row) {
            VarU = u;
            VarV = v;
            p.x = EvalTree(FormulaTrees[tsX]);
            p.y = EvalTree(FormulaTrees[tsY]);
            p.z = EvalTree(FormulaTrees[tsZ]);
            v = Advance(v, uv.Step2);
            VertexColour(p, static_cast<long double>(p.z) - p.y,
                         static_cast<long double>(p.z) - p.x);
        }
        u = Advance(u, uv.Step1);
    }

    SurfaceGrid.swap(grid);
    SurfaceRows = rows;
    SurfaceCols = cols;
    ++SurfaceGeneration;
    return true;
}
