#include "plot2d/Picture.h"

#include "document/Limits.h"
#include "plot2d/Sampling.h"
#include "plot2d/View2D.h"

#include <algorithm>

namespace {

constexpr int MaxListFormulas = tsListLast - tsListFirst + 1;

int ListCount(const TPlotInput& input) {
    return input.AllFormulas ? std::min(static_cast<int>(input.List.size()), MaxListFormulas) : 0;
}

TPlotRequest YxRequest(const TPlotInput& input, bool animating, TYxTrees& trees) {
    if (!animating || trees.Generation != FormulaTreesGeneration) CompileYxFormulas(input, trees);
    const TPlotDocument& doc = input.Document;
    const bool polar = input.Coordinates == TCoordinates::Polar;
    TPlotRequest request;
    request.Kind = polar ? TCurveKind::Polar : TCurveKind::Cartesian;
    if (polar) {
        request.From = doc.Numbers[YxPhiMin];
        request.To = doc.Numbers[YxPhiMax];
    }
    // Each slot reads the step as the field would show it: a step replaced
    // by the pixel width is read back from its text by the next slot.
    std::string stepText = FormatNumber(doc.Numbers[polar ? YxPolarStep : YxCartStep]);
    const int n = ListCount(input);
    for (int s = 0; s <= n; ++s) {
        TGraphRequest graph;
        graph.Tree = FormulaTrees[s];
        graph.Colour = GraphColors[input.AllFormulas ? s : 0];
        graph.Step = StrToFloat(stepText);
        if (!polar && UsesPixelStep(graph.Step, input.MinimalStep)) {
            graph.Step = PixelStep();
            stepText = FormatNumber(graph.Step);
            request.StepText = stepText;
        }
        request.Graphs.push_back(graph);
    }
    return request;
}

TPlotRequest ParametricRequest(const TPlotInput& input) {
    const TPlotDocument& doc = input.Document;
    const bool polar = input.Coordinates == TCoordinates::Polar;
    FreeAllTrees();
    CompileFormula(tsPlaneX, doc.Formulas[fsPlaneX]);
    CompileFormula(tsPlaneY, doc.Formulas[fsPlaneY]);
    TPlotRequest request;
    request.Kind = TCurveKind::Parametric;
    request.Polar = polar;
    request.From = doc.Numbers[polar ? PlanePolarTMin : PlaneCartTMin];
    request.To = doc.Numbers[polar ? PlanePolarTMax : PlaneCartTMax];
    const double step = doc.Numbers[polar ? PlanePolarTStep : PlaneCartTStep];
    request.Graphs.push_back(
        {FormulaTrees[tsPlaneX], FormulaTrees[tsPlaneY], GraphColors[0], step});
    return request;
}

void DrawGraph(QPainter& p, const TPlotRequest& request, const TGraphRequest& graph) {
    p.setPen(QPen(ToQColor(graph.Colour), 0));
    TPainterPen pen(p);
    switch (request.Kind) {
    case TCurveKind::Cartesian:
        WalkCartesian(graph.Tree, ViewX1, ViewX2, graph.Step, pen);
        break;
    case TCurveKind::Polar:
        WalkPolar(graph.Tree, request.From, request.To, graph.Step, pen);
        break;
    case TCurveKind::Parametric:
        WalkParametric(graph.Tree, graph.TreeY, request.From, request.To, graph.Step, request.Polar,
                       pen);
        break;
    }
}

} // namespace

void CompileYxFormulas(const TPlotInput& input, TYxTrees& trees) {
    FreeAllTrees();
    if (input.AllFormulas) {
        const int n = ListCount(input);
        for (int i = 0; i < n; ++i)
            CompileFormula(tsListFirst + i, input.List[i]);
    } else {
        CompileFormula(tsFormula, input.Formula);
    }
    trees.Generation = FormulaTreesGeneration;
}

TPlotRequest PictureRequest(const TPlotInput& input, bool animating, TYxTrees& trees) {
    TPlotRequest request;
    if (input.Mode == pmYx)
        request = YxRequest(input, animating, trees);
    else if (input.Mode == pmPlane)
        request = ParametricRequest(input);
    request.Options.Axes = input.Axes;
    request.Options.Grid = input.Grid;
    return request;
}

void ViewFromInput(const TPlotInput& input) {
    const bool polar = input.Coordinates == TCoordinates::Polar;
    const double* n = input.Document.Numbers;
    TNumberIndex x1 = YxCartX1, x2 = YxCartX2, y1 = YxCartY1, y2 = YxCartY2;
    if (input.Mode == pmPlane) {
        x1 = polar ? PlanePolarX1 : PlaneCartX1, x2 = polar ? PlanePolarX2 : PlaneCartX2;
        y1 = polar ? PlanePolarY1 : PlaneCartY1, y2 = polar ? PlanePolarY2 : PlaneCartY2;
    } else if (polar) {
        x1 = YxPolarX1, x2 = YxPolarX2, y1 = YxPolarY1, y2 = YxPolarY2;
    }
    SetView(n[x1], n[x2], n[y1], n[y2], input.EqualScales);
    if (!ViewUsable()) throw BuildRefused(ViewRefusedMessage());
}

void ComposePicture(QPainter& p, const TPlotRequest& request) {
    ComposeBackground(p, request.Options);
    for (const TGraphRequest& graph : request.Graphs) {
        // A graph of y(x) or r(fi) with no formula, no usable step or an
        // empty view is skipped; an empty parametric slot reads x instead.
        if (request.Kind != TCurveKind::Parametric &&
            (graph.Tree == nullptr || !(graph.Step > 0) || ViewX1 >= ViewX2))
            continue;
        DrawGraph(p, request, graph);
    }
    ComposeBorder(p);
}

QImage PictureImage(const TPlotRequest& request, qreal density) {
    QImage image(qRound(PlotWidth * density), qRound(PlotHeight * density), QImage::Format_RGB32);
    // Above 100 % the border's one-pixel line leaves the last device column
    // and row unpainted: they take the border's colour, not what the memory held.
    image.fill(Qt::black);
    image.setDevicePixelRatio(density);
    QPainter painter(&image);
    ComposePicture(painter, request);
    painter.end();
    return image;
}
