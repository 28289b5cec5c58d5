// The whole 2D picture from a plain description of what to draw: background,
// axes and grid, the graphs, the border and the zoom box. The description is
// made from a plot input (the window's captured fields, or a plot file), so
// tests, benchmarks and the command line compose pictures without a window.
#pragma once

#include "document/PlotInput.h"
#include "engine/Engine.h"
#include "plot2d/Compose.h"
#include "plot2d/Prover.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

enum class TCurveKind : unsigned char {
    Cartesian,  // y = f(x) over the view's x range
    Polar,      // r = f(fi) over an angle range
    Parametric, // (x(t), y(t)), or fi(t) and r(t) when Polar is set
};

// One graph: its tree (null: nothing to draw), the second tree of a
// parametric curve, the pen colour and the step of its walk.
// How long an export waits for the proofs of relations, in seconds; and the
// slice of a proof a window's picture takes, so that its first answer comes
// within 100 ms and the window answers between slices.
constexpr double DefaultRelationSeconds = 10;
constexpr double ProofSliceSeconds = 0.06;

// What a curve is to its graph: the graph itself, or drawn beside it in its
// colour: its derivative f′ (dashed), its second derivative f″ (dotted), or
// the curve of its antiderivative ∫f (dash-dotted).
enum class TGraphRole : unsigned char { Graph, First, Second, Antiderivative };

struct TGraphRequest {
    const TExprNode* Tree = nullptr;
    const TExprNode* TreeY = nullptr;
    // A relation of x and y instead of a graph (Tree is then null), or a
    // graph drawn exactly as the relation y = f(x) (Tree is its own).
    std::optional<TRelationTrees> Relation;
    TColorValue Colour = ClBlue;
    int Width = 1; // device-independent pixels; 1 is the cosmetic pen of one pixel
    TLineStyle Style = TLineStyle::Solid;
    bool Visible = true;
    double Step = 0;
    // The formula the tree was compiled from, so that another thread may
    // compile it for itself; empty where none may.
    std::string Formula;
    std::string Name; // what the legend calls it: its name, or its formula
    TGraphRole Role = TGraphRole::Graph;
    double X0 = 0, Y0 = 0; // the point the antiderivative passes through
};

struct TPlotRequest {
    TPictureOptions Options;
    TCurveKind Kind = TCurveKind::Cartesian;
    bool Polar = false;      // a parametric curve in polar coordinates
    double From = 0, To = 0; // the angle range (polar) or the t range (parametric)
    std::vector<TGraphRequest> Graphs;
    // The curves drawn beside the graphs of y(x) in cartesian coordinates:
    // derivatives (Tree) and antiderivatives (Tree is the integrand), after
    // the graphs and not in the legend.
    std::vector<TGraphRequest> Beside;
    // Why a derivative asked for is not there (one too long to make); a
    // composition passes it on with its progress.
    std::vector<std::string> BesideNotes;
    // The legend: each visible graph's name in its pen, in the corner where
    // the graphs cross it least (top right, top left, bottom right, bottom
    // left on a tie).
    bool Legend = false;
    // What the step field shows after the build when the pixel rule replaced
    // the step; empty when the step stays as typed.
    std::string StepText;
    // How long the proofs of relations may take in one composition.
    double RelationSeconds = DefaultRelationSeconds;
};

// The formulas of y(x) compiled into FormulaTrees, and whether they may
// serve again: while an animation runs, the trees compiled at its start (or
// at the last edit of the formula) serve every frame, as long as no other
// build has compiled into the slots since.
// The graphs of the y(x) list that a picture draws at most: the list slots
// of the trees.
constexpr int MaxListFormulas = tsListLast - tsListFirst + 1;

struct TYxTrees {
    std::uint64_t Generation = ~std::uint64_t{0}; // FormulaTreesGeneration after compiling
    // The two sides of each formula that is a relation, by slot.
    struct TRelation {
        TTreePtr Left, Right;
        TRelationOp Op = TRelationOp::Equal;
        bool Graph = false; // a y(x) graph drawn exactly, as y = f(x)
    };
    std::map<int, TRelation> Relations;
    // The trees of the derivatives drawn beside the graphs.
    std::vector<TTreePtr> Beside;
};

// The graphs a y(x) picture of the input draws, by number and formula: the
// formula box (0), or with the whole list its items 1, 2 … (at most
// MaxListFormulas);
// an empty formula draws nothing and is left out.
struct TYxGraph {
    int Number;
    std::string Formula;
};
std::vector<TYxGraph> YxGraphs(const TPlotInput& input);

// Empties every slot and compiles the y(x) formula into slot 0, or, with
// the whole list, list item k into slot k (at most MaxListFormulas items).
void CompileYxFormulas(const TPlotInput& input, TYxTrees& trees);

// The request of the picture of the input's mode:
// - y(x): the formula or the list (compiled afresh unless `animating` and
//   the trees still serve), each slot with the document's step; in
//   cartesian coordinates the step is never finer than a pixel column and
//   "Минимальный шаг" makes it exactly one (StepText then says what the
//   step field shows; a later slot reads that text). The pen of slot s is
//   its own pen of the input's, else the colour of its place with the
//   whole list (ListGraphColour), or graph colour 0 for the formula box.
// - x(t),y(t): both formulas compiled afresh at every build, also during an
//   animation, in the colour of graph 0.
// - any other mode: the background alone; the trees are not touched.
// The view is the current one (View2D); the options are the input's.
TPlotRequest PictureRequest(const TPlotInput& input, bool animating, TYxTrees& trees);

// The view of the input's 2D mode from its document: x1, x2 and y1, and y2
// from the x range with equal scales. A view that cannot be used (its
// numbers overflow, or it has no width or height) throws BuildRefused.
void ViewFromInput(const TPlotInput& input);

// Composes the picture of the current view on `p`, which covers the plot area.
// The graphs of a y(x) list are walked on as many threads as a build may use
// (each in a context of its own), and drawn in the order of the list: the
// picture, the main thread's cells and its error flag are those of one thread.
//
// A relation is proven pixel by pixel (at the painter's pixel density) for
// up to request.RelationSeconds, carrying on the proof an earlier picture of
// the same relation, view and values left unfinished. `progress`, where
// given, says how much of the relations' pixels is proven.
struct TRelationProgress {
    bool Any = false;     // the picture has relations
    bool Finished = true; // every proof is finished
    double Proven = 1;    // the share of their pixels decided
    // What the curves beside the graphs could not draw, in words: an
    // antiderivative that stops at a pole, a derivative of random numbers.
    std::vector<std::string> Notes;
};
void ComposePicture(QPainter& p, const TPlotRequest& request,
                    TRelationProgress* progress = nullptr);

// A printed page on `p`, whose page is `page`: within margins of a
// twentieth of its shorter side, the picture as large as fits with the
// aspect of `shape` (a square unless the plot area is not one), with the
// caption in a line of `font` under it, the two centred. `picture` draws
// the picture into the rectangle it is given, and nothing it draws lies
// beyond it.
void ComposePrintPage(QPainter& p, const QRect& page, const QFont& font, const QString& caption,
                      const std::function<void(QPainter&, const QRect&)>& picture,
                      QSize shape = QSize(1, 1));
// The 2D picture of the request scaled into `square` (a rectangle of the
// plot area's aspect), as the plot area shows it.
void ComposePictureInto(QPainter& p, const QRect& square, const TPlotRequest& request);

// What the analysis on the graph draws over the picture: the area under a
// graph (its outline in pixels, filled in the graph's colour made light),
// the points of interest as rings and what "Найти…" found as filled dots,
// each in its graph's colour, and the trace's cross with its label. Points
// are in the world of the current view.
struct TOverlayPoint {
    double X, Y;
    TColorValue Colour;
};
struct TOverlay {
    QPolygonF Shade; // empty: no area
    TColorValue ShadeColour = 0;
    std::vector<TOverlayPoint> Rings, Marks;
    std::optional<QPointF> Trace; // the traced point
    QString TraceText;
    // The slope of the graph there: its tangent is drawn across the area in
    // the graph's colour, and its normal, dashed, where asked.
    std::optional<double> TraceSlope;
    bool Normal = false;
    TColorValue TraceColour = 0;
};
void ComposeOverlay(QPainter& p, const TOverlay& overlay);

// The picture as an image of the plot area at a pixel density (400 x 400
// pixels at 1, twice as many each way at 2), drawn in the same coordinates;
// of exactly `pixels` where given (the area times the density, rounded).
QImage PictureImage(const TPlotRequest& request, qreal density = 1, QSize pixels = {},
                    TRelationProgress* progress = nullptr);
