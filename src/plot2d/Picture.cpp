#include "plot2d/Picture.h"

#include "plot2d/Sampling.h"
#include "plot2d/View2D.h"

TPlotRequest YxRequest(const TYxInput& input, std::string& stepField) {
    TPlotRequest request;
    request.Kind = input.Polar ? TCurveKind::Polar : TCurveKind::Cartesian;
    request.From = input.FMin;
    request.To = input.FMax;
    for (int s = 0; s <= input.ListCount; ++s) {
        TGraphRequest graph;
        graph.Tree = input.Trees[s];
        graph.Colour = GraphColors[input.All ? s : 0];
        graph.Step = StrToFloat(stepField);
        if (input.PixelRule && UsesPixelStep(graph.Step, input.MinimalStep)) {
            graph.Step = PixelStep();
            stepField = FormatNumber(graph.Step);
        }
        request.Graphs.push_back(graph);
    }
    return request;
}

TPlotRequest ParametricRequest(const TExprNode* treeX, const TExprNode* treeY, double tmin,
                               double tmax, double step, bool polar) {
    TPlotRequest request;
    request.Kind = TCurveKind::Parametric;
    request.Polar = polar;
    request.From = tmin;
    request.To = tmax;
    request.Graphs.push_back({treeX, treeY, GraphColors[0], step});
    return request;
}

namespace {

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
