#include "plot2d/Picture.h"

#include "engine/Derivative.h"
#include "plot2d/Antiderivative.h"

#include "document/Limits.h"
#include "engine/FastForm.h"
#include "engine/Relation.h"
#include "plot2d/Sampling.h"
#include "plot2d/View2D.h"

#include <QPainterPath>

#include <algorithm>
#include <exception>
#include <memory>
#include <mutex>

namespace {

int ListCount(const TPlotInput& input) {
    return input.AllFormulas ? std::min(static_cast<int>(input.List.size()), MaxListFormulas) : 0;
}

} // namespace

std::vector<TYxGraph> YxGraphs(const TPlotInput& input) {
    std::vector<TYxGraph> graphs;
    if (!input.AllFormulas) {
        if (!input.Formula.empty()) graphs.push_back({0, input.Formula});
        return graphs;
    }
    for (int s = 1; s <= ListCount(input); ++s)
        if (!input.List[static_cast<std::size_t>(s - 1)].empty())
            graphs.push_back({s, input.List[static_cast<std::size_t>(s - 1)]});
    return graphs;
}

namespace {

// The derivatives and antiderivatives the graphs' calculus asks for.
void BesideGraphs(const TPlotInput& input, TPlotRequest& request, TYxTrees& trees) {
    trees.Beside.clear();
    for (std::size_t s = 0; s < request.Graphs.size(); ++s) {
        const TGraphRequest& graph = request.Graphs[s];
        const TGraphCalculus calculus =
            s == 0 ? input.FormulaCalculus
                   : (s <= input.Pens.size() ? input.Pens[s - 1].Calculus : TGraphCalculus{});
        // A relation has no tree; a graph drawn exactly keeps its own.
        if (!calculus.Any() || graph.Tree == nullptr || graph.Formula.empty()) continue;
        TGraphRequest beside = graph;
        beside.Relation.reset();
        if (calculus.Antiderivative) {
            beside.Role = TGraphRole::Antiderivative;
            beside.X0 = calculus.X0, beside.Y0 = calculus.Y0;
            request.Beside.push_back(beside);
        }
        if (!calculus.First && !calculus.Second) continue;
        try {
            const std::vector<std::string> texts =
                GuardedDerivativeTexts(graph.Formula, calculus.Second ? 2 : 1);
            for (const TGraphRole role : {TGraphRole::First, TGraphRole::Second}) {
                if (!(role == TGraphRole::First ? calculus.First : calculus.Second)) continue;
                beside.Formula = texts[role == TGraphRole::First ? 0 : 1];
                trees.Beside.push_back(CompileTree(beside.Formula));
                beside.Role = role;
                beside.Tree = trees.Beside.back().get();
                request.Beside.push_back(beside);
            }
        } catch (const DerivativeError& e) {
            // A formula of random numbers has none, as the diagnosis says.
            if (!DrawsRandom(graph.Tree)) request.BesideNotes.push_back(e.what());
        }
    }
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
        if (const auto r = trees.Relations.find(s); r != trees.Relations.end()) {
            if (!r->second.Graph) graph.Tree = nullptr; // a graph keeps its tree for the analysis
            if (r->second.Left) {
                graph.Relation =
                    TRelationTrees{r->second.Left.get(), r->second.Right.get(), r->second.Op};
                if (polar) { // a relation of fi (its x) and r (its y)
                    graph.Relation->Polar = true;
                    graph.Relation->FiMin = request.From, graph.Relation->FiMax = request.To;
                }
            }
        }
        if (s > 0)
            graph.Formula = input.List[static_cast<std::size_t>(s - 1)];
        else if (!input.AllFormulas)
            graph.Formula = input.Formula;
        graph.Colour = input.AllFormulas ? ListGraphColour(GraphColors, s) : GraphColors[0];
        graph.Name = graph.Formula;
        if (s > 0 && static_cast<std::size_t>(s) <= input.Pens.size()) {
            const TGraphPen& pen = input.Pens[static_cast<std::size_t>(s - 1)];
            graph.Colour = pen.Colour.value_or(graph.Colour);
            graph.Width = pen.Width;
            graph.Style = pen.Style;
            graph.Visible = pen.Visible;
            if (!pen.Name.empty()) graph.Name = pen.Name;
        }
        graph.Step = StrToFloat(stepText);
        if (!polar && UsesPixelStep(graph.Step, input.MinimalStep)) {
            graph.Step = PixelStep();
            stepText = FormatNumber(graph.Step);
            request.StepText = stepText;
        }
        request.Graphs.push_back(graph);
    }
    request.Legend = input.Legend;
    if (!polar) BesideGraphs(input, request, trees);
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
    TGraphRequest curve;
    curve.Tree = FormulaTrees[tsPlaneX];
    curve.TreeY = FormulaTrees[tsPlaneY];
    curve.Colour = GraphColors[0];
    curve.Step = step;
    request.Graphs.push_back(curve);
    return request;
}

// A graph's pen: one pixel (cosmetic), as every picture had it, or wider,
// dashed or dotted as its document says.
QPen GraphPen(const TGraphRequest& graph) {
    QPen pen(ToQColor(graph.Colour), graph.Width > 1 ? graph.Width : 0);
    if (graph.Style == TLineStyle::Dash) pen.setStyle(Qt::DashLine);
    if (graph.Style == TLineStyle::Dot) pen.setStyle(Qt::DotLine);
    if (graph.Role == TGraphRole::First) pen.setStyle(Qt::DashLine);
    if (graph.Role == TGraphRole::Second) pen.setStyle(Qt::DotLine);
    if (graph.Role == TGraphRole::Antiderivative) pen.setStyle(Qt::DashDotLine);
    return pen;
}

// The places the legend may take, and how often the graphs' lines cross
// each: a walk's pen passes its points on and counts the segments whose
// box meets a place.
struct TLegendPlaces {
    std::vector<QRect> Places;
    std::vector<long> Crossings;
};

class TCoveringPen : public TCurvePen {
  public:
    TCoveringPen(TCurvePen& next, TLegendPlaces* places) : next_(next), places_(places) {}
    void MoveTo(int x, int y) override {
        next_.MoveTo(x, y);
        at_ = QPoint(x, y);
    }
    void LineTo(int x, int y) override {
        next_.LineTo(x, y);
        const QPoint to(x, y);
        if (places_ != nullptr) {
            const QRect segment = QRect(at_, to).normalized();
            for (std::size_t k = 0; k < places_->Places.size(); ++k)
                if (segment.intersects(places_->Places[k])) ++places_->Crossings[k];
        }
        at_ = to;
    }

  private:
    TCurvePen& next_;
    TLegendPlaces* places_;
    QPoint at_;
};

void DrawGraph(QPainter& p, const TPlotRequest& request, const TGraphRequest& graph,
               TLegendPlaces* places) {
    if (!graph.Visible) return;
    p.setPen(GraphPen(graph));
    TPainterPen painter(p);
    TCoveringPen pen(painter, places);
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

// What a walk drew, to be drawn again on the painter.
class TRecordingPen : public TCurvePen {
  public:
    struct TStep {
        bool Line;
        int X, Y;
    };
    std::vector<TStep> Steps;
    void MoveTo(int x, int y) override { Steps.push_back({false, x, y}); }
    void LineTo(int x, int y) override { Steps.push_back({true, x, y}); }
};

// The trees the walks of y(x) and r(fi) evaluate, kept from one picture to
// the next with the machine code of their rows: each compiled in a context
// of its own, which takes the main thread's cells at every picture. A
// formula is compiled again when the parameters' names or the evaluator
// change, for its tree may then read otherwise.
class TWalkTrees {
  public:
    struct TEntry {
        std::string Formula;
        std::unique_ptr<TEvalContext> Context;
        TTreePtr Tree;
    };
    // The trees of these formulas, in order: those kept, the others compiled.
    std::vector<TEntry> Take(const std::vector<const TGraphRequest*>& graphs) {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (names_ != ParameterNames() || evaluator_ != engine::SelectedEvaluator()) {
            kept_.clear();
            names_ = ParameterNames();
            evaluator_ = engine::SelectedEvaluator();
        }
        std::vector<TEntry> taken;
        taken.reserve(graphs.size());
        for (const TGraphRequest* graph : graphs) {
            const auto kept = std::find_if(kept_.begin(), kept_.end(), [&](const TEntry& e) {
                return e.Tree != nullptr && e.Formula == graph->Formula;
            });
            if (kept != kept_.end()) {
                taken.push_back(std::move(*kept));
                continue;
            }
            TEntry e{graph->Formula, std::make_unique<TEvalContext>(), nullptr};
            e.Tree = CompileTree(e.Formula, *e.Context);
            // Made now, while one thread runs, rather than at the first row.
            PrepareRows(e.Tree.get(), *e.Context, {&TEvalContext::X});
            taken.push_back(std::move(e));
        }
        return taken;
    }
    // Keeps the trees of the last picture (and no others).
    void Give(std::vector<TEntry> entries) {
        const std::lock_guard<std::mutex> lock(mutex_);
        kept_ = std::move(entries);
    }

  private:
    std::mutex mutex_;
    std::vector<TEntry> kept_;
    std::vector<std::string> names_;
    engine::TEvaluator evaluator_ = engine::TEvaluator::MachineCode;
};

TWalkTrees& WalkTrees() {
    static TWalkTrees* trees = new TWalkTrees; // never freed: pictures may be drawn at exit
    return *trees;
}

// The visible graphs of y(x) or r(fi) walked with kept trees, on as many
// threads as there are graphs and cores, and drawn in their order, pixel
// for pixel the picture of one thread walking the request's own trees.
// False where those must draw instead: a parametric curve, or a formula
// that draws random numbers (their order is part of the picture).
bool DrawOnThreads(QPainter& p, const TPlotRequest& request,
                   const std::vector<const TGraphRequest*>& drawn, TLegendPlaces* places) {
    if (request.Kind == TCurveKind::Parametric) return false;
    std::vector<const TGraphRequest*> graphs;
    for (const TGraphRequest* graph : drawn) {
        if (graph->Formula.empty() || DrawsRandom(graph->Tree)) return false;
        if (graph->Visible) graphs.push_back(graph);
    }
    std::vector<TWalkTrees::TEntry> trees = WalkTrees().Take(graphs);
    struct TWalk {
        TRecordingPen Pen;
        int Samples = 0;
        std::exception_ptr Failure;
    };
    std::vector<TWalk> walks(graphs.size());
    for (TWalkTrees::TEntry& e : trees)
        *e.Context = MainContext;
    const int threads = std::min<int>(BuildThreads(), static_cast<int>(graphs.size()));
    RunTasks(walks.size(), threads, [&](std::size_t k) {
        TWalk& w = walks[k];
        const TContextScope scope(*trees[k].Context);
        try {
            const TGraphRequest& graph = *graphs[k];
            const TExprNode* tree = trees[k].Tree.get();
            w.Samples = request.Kind == TCurveKind::Cartesian
                            ? WalkCartesian(tree, ViewX1, ViewX2, graph.Step, w.Pen)
                            : WalkPolar(tree, request.From, request.To, graph.Step, w.Pen);
        } catch (...) {
            w.Failure = std::current_exception();
        }
    });
    // Drawn in order; a walk that was refused ends the picture there, as it
    // would on one thread.
    for (std::size_t k = 0; k < walks.size(); ++k) {
        const TWalk& w = walks[k];
        const TEvalContext& context = *trees[k].Context;
        if (w.Failure) {
            WalkTrees().Give(std::move(trees));
            std::rethrow_exception(w.Failure); // before it evaluated anything
        }
        if (w.Samples > 0) { // the cells as the last sample of the walk left them
            EvalError = context.Error;
            VarX = context.X;
        }
        p.setPen(GraphPen(*graphs[k]));
        TPainterPen painter(p);
        TCoveringPen pen(painter, places);
        for (const TRecordingPen::TStep& s : w.Pen.Steps)
            if (s.Line)
                pen.LineTo(s.X, s.Y);
            else
                pen.MoveTo(s.X, s.Y);
    }
    WalkTrees().Give(std::move(trees));
    return true;
}

// The legend's rows: the graphs drawn in their pens, with their names.
std::vector<const TGraphRequest*> LegendEntries(const TPlotRequest& request,
                                                const std::vector<const TGraphRequest*>& drawn) {
    std::vector<const TGraphRequest*> entries;
    if (!request.Legend || request.Kind == TCurveKind::Parametric) return entries;
    // In the list's order: the graphs walked, and the relations proven.
    for (const TGraphRequest& graph : request.Graphs)
        if (graph.Visible &&
            (graph.Relation || std::find(drawn.begin(), drawn.end(), &graph) != drawn.end()))
            entries.push_back(&graph);
    return entries;
}

// The legend laid out in the plot area: rows of a line in the graph's pen
// and its name, in as many columns as it needs (and as fit; the last cell
// then tells how many are left out).
struct TLegendPlan {
    QSize Size;
    int Rows = 0, Columns = 0, Shown = 0, ColumnWidth = 0, RowHeight = 0;
};

constexpr int LegendMargin = 6, LegendPadding = 4, LegendSample = 20, LegendGap = 4,
              LegendNameWidth = 140, LegendColumnGap = 8;

QString LegendName(const TGraphRequest& graph, const QFontMetrics& m) {
    return m.elidedText(QString::fromStdString(graph.Name), Qt::ElideRight, LegendNameWidth);
}

TLegendPlan PlanLegend(const std::vector<const TGraphRequest*>& entries) {
    TLegendPlan plan;
    const QFontMetrics m(LabelFont());
    plan.RowHeight = m.height() + 2;
    int text = 0;
    for (const TGraphRequest* graph : entries)
        text = std::max(text, m.horizontalAdvance(LegendName(*graph, m)));
    plan.ColumnWidth = LegendSample + LegendGap + text + LegendColumnGap;
    const int n = static_cast<int>(entries.size());
    const int rowsFit =
        std::max(1, (PlotHeight - 2 * LegendMargin - 2 * LegendPadding) / plan.RowHeight);
    const int columnsFit = std::max(
        1, (PlotWidth - 2 * LegendMargin - 2 * LegendPadding + LegendColumnGap) / plan.ColumnWidth);
    plan.Columns = std::min(columnsFit, (n + rowsFit - 1) / rowsFit);
    plan.Shown = std::min(n, rowsFit * plan.Columns);
    plan.Rows = std::min(rowsFit, (plan.Shown + plan.Columns - 1) / plan.Columns);
    plan.Size = QSize(plan.Columns * plan.ColumnWidth - LegendColumnGap + 2 * LegendPadding,
                      plan.Rows * plan.RowHeight + 2 * LegendPadding);
    return plan;
}

// The corners the legend may take, in the order a tie chooses them.
std::vector<QRect> LegendPlaces(QSize size) {
    const int right = PlotWidth - LegendMargin - size.width();
    const int bottom = PlotHeight - LegendMargin - size.height();
    return {QRect(QPoint(right, LegendMargin), size),
            QRect(QPoint(LegendMargin, LegendMargin), size), QRect(QPoint(right, bottom), size),
            QRect(QPoint(LegendMargin, bottom), size)};
}

void DrawLegend(QPainter& p, const TLegendPlan& plan,
                const std::vector<const TGraphRequest*>& entries, const QRect& box) {
    p.save();
    p.setFont(LabelFont());
    const QFontMetrics m(p.font());
    p.fillRect(box, ToQColor(BackgroundColor));
    p.setPen(QPen(ToQColor(AxesColor), 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(box.adjusted(0, 0, -1, -1));
    const int n = static_cast<int>(entries.size());
    for (int k = 0; k < plan.Shown; ++k) {
        const int x = box.left() + LegendPadding + (k / plan.Rows) * plan.ColumnWidth;
        const int top = box.top() + LegendPadding + (k % plan.Rows) * plan.RowHeight;
        const int middle = top + plan.RowHeight / 2;
        const bool more = k == plan.Shown - 1 && plan.Shown < n;
        p.setPen(ToQColor(FontColor));
        const QRect text(x + LegendSample + LegendGap, top, LegendNameWidth, plan.RowHeight);
        if (more) { // the cell of the last one shown tells how many are left out
            p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                       QStringLiteral("… +%1").arg(n - plan.Shown + 1));
            continue;
        }
        p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, LegendName(*entries[k], m));
        p.setPen(GraphPen(*entries[k]));
        p.drawLine(x, middle, x + LegendSample - 1, middle);
    }
    p.restore();
}

// The graphs a picture draws, in order: a graph of y(x) or r(fi) with no
// formula, no usable step or an empty view is skipped; an empty parametric
// slot reads x instead.
std::vector<const TGraphRequest*> DrawnGraphs(const TPlotRequest& request) {
    std::vector<const TGraphRequest*> graphs;
    for (const TGraphRequest& graph : request.Graphs) {
        if (request.Kind != TCurveKind::Parametric &&
            (graph.Tree == nullptr || graph.Relation || !(graph.Step > 0) || ViewX1 >= ViewX2))
            continue;
        graphs.push_back(&graph);
    }
    return graphs;
}

} // namespace

void CompileYxFormulas(const TPlotInput& input, TYxTrees& trees) {
    FreeAllTrees();
    trees.Relations.clear();
    const bool exact = input.ExactGraphs && input.Coordinates == TCoordinates::Cartesian;
    for (const TYxGraph& g : YxGraphs(input)) {
        std::optional<TRelationText> relation = SplitRelation(g.Formula);
        if (!relation && exact) { // the graph as the relation y = f(x)
            relation = TRelationText{"y", g.Formula, TRelationOp::Equal, 0, 0, {}};
            trees.Relations[g.Number].Graph = true;
        }
        // A chain, or random numbers, is not drawn: the diagnosis says why.
        if (!relation || !relation->More.empty()) continue;
        TYxTrees::TRelation& r = trees.Relations[g.Number];
        r.Left = CompileTree(relation->Left);
        r.Right = CompileTree(relation->Right);
        r.Op = relation->Op;
        if (DrawsRandom(r.Left.get()) || DrawsRandom(r.Right.get()) || !r.Left || !r.Right)
            r.Left.reset(), r.Right.reset();
    }
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

namespace {

// Proofs kept from one picture to the next, so that a picture of the same
// relation over the same pixels, with the same values of f and the
// parameters, carries on where the last one stopped.
class TProofs {
  public:
    std::shared_ptr<TProof> For(const std::string& key, const TPixelGrid& grid) {
        const std::lock_guard<std::mutex> lock(mutex_);
        for (auto& [k, proof] : kept_)
            if (k == key) return proof;
        auto proof = std::make_shared<TProof>();
        proof->Grid = grid;
        kept_.emplace_back(key, proof);
        if (kept_.size() > 16) kept_.erase(kept_.begin());
        return proof;
    }

  private:
    std::mutex mutex_;
    std::vector<std::pair<std::string, std::shared_ptr<TProof>>> kept_;
};

TProofs& Proofs() {
    static TProofs* proofs = new TProofs; // never freed: pictures may be drawn at exit
    return *proofs;
}

std::string ProofKey(const TGraphRequest& graph, const TPixelGrid& g) {
    // A graph drawn exactly is the relation y = f(x).
    std::string key = (graph.Tree != nullptr ? "y=" : "") + graph.Formula;
    const auto add = [&](double v) { key.append(reinterpret_cast<const char*>(&v), sizeof v); };
    for (const double v : {g.X1, g.Y2, g.Dx, g.Dy, static_cast<double>(g.Width),
                           static_cast<double>(g.Height), MainContext.F})
        add(v);
    for (std::size_t k = 0; k < ParameterNames().size(); ++k)
        add(MainContext.P[k]);
    for (const std::string& name : ParameterNames())
        key += name + ",";
    return key;
}

// The pixels of a proof on the painter, a run of equal pixels of a row at a
// time: true in the pen's colour, inside shaded, uncertain in a light tint.
void DrawProof(QPainter& p, const TProof& proof, const QColor& pen, double scale) {
    QColor shade = pen, tint = pen;
    shade.setAlpha(80);
    tint.setAlpha(40);
    const TPixelGrid& g = proof.Grid;
    // The pixels' own squares, also where the painter is shifted by a part of
    // a pixel so that its lines run along pixel centres (the SVG's).
    const QTransform& t = p.worldTransform();
    const bool shifted = t.type() <= QTransform::TxTranslate;
    const double ox = shifted ? t.dx() - std::floor(t.dx()) : 0;
    const double oy = shifted ? t.dy() - std::floor(t.dy()) : 0;
    for (int j = 0; j < g.Height; ++j)
        for (int i = 0; i < g.Width;) {
            const TPixelState s = proof.At(i, j);
            int end = i + 1;
            while (end < g.Width && proof.At(end, j) == s)
                ++end;
            if (s != TPixelState::False) {
                const QColor& c = s == TPixelState::True     ? pen
                                  : s == TPixelState::Inside ? shade
                                                             : tint;
                p.fillRect(QRectF(i / scale - ox, j / scale - oy, (end - i) / scale, 1 / scale), c);
            }
            i = end;
        }
}

void DrawRelations(QPainter& p, const TPlotRequest& request, TRelationProgress* progress) {
    const double scale = p.device() != nullptr ? p.device()->devicePixelRatioF() : 1.0;
    TPixelGrid grid;
    grid.Width = static_cast<int>(std::lround(PlotWidth * scale));
    grid.Height = static_cast<int>(std::lround(PlotHeight * scale));
    grid.X1 = ViewX1, grid.Y2 = ViewY2;
    grid.Dx = (ViewX2 - ViewX1) / grid.Width, grid.Dy = (ViewY2 - ViewY1) / grid.Height;
    const auto deadline = TProofClock::now() + std::chrono::microseconds(static_cast<std::int64_t>(
                                                   std::max(0.0, request.RelationSeconds) * 1e6));
    std::size_t pixels = 0, decided = 0;
    for (const TGraphRequest& graph : request.Graphs) {
        if (!graph.Relation || !graph.Visible) continue;
        const std::shared_ptr<TProof> proof = Proofs().For(ProofKey(graph, grid), grid);
        Prove(*graph.Relation, *proof, deadline, BuildThreads());
        p.save();
        p.setRenderHint(QPainter::Antialiasing, false);
        DrawProof(p, *proof, ToQColor(graph.Colour), scale);
        p.restore();
        if (progress != nullptr) {
            progress->Any = true;
            progress->Finished = progress->Finished && proof->Finished;
        }
        pixels += proof->Pixels.size();
        decided += proof->Decided();
    }
    if (progress != nullptr && pixels > 0)
        progress->Proven = static_cast<double>(decided) / static_cast<double>(pixels);
}

} // namespace

namespace {

// The derivatives walked as graphs are, and the antiderivatives a pixel
// column at a time; where one stops, `progress` is told why.
void DrawBeside(QPainter& p, const TPlotRequest& request, TRelationProgress* progress) {
    if (progress != nullptr)
        progress->Notes.insert(progress->Notes.end(), request.BesideNotes.begin(),
                               request.BesideNotes.end());
    for (const TGraphRequest& graph : request.Beside) {
        if (!graph.Visible || !(graph.Step > 0) || ViewX1 >= ViewX2) continue;
        if (graph.Role != TGraphRole::Antiderivative) {
            DrawGraph(p, request, graph, nullptr);
            continue;
        }
        const TAntiderivativeCurve curve =
            AntiderivativeCurve(graph.Tree, graph.X0, graph.Y0, ViewX1, ViewX2, PixelStep());
        p.setPen(GraphPen(graph));
        TPainterPen painter(p);
        DrawCartesianPoints(curve.Left, painter);
        DrawCartesianPoints(curve.Right, painter);
        if (curve.Stop && progress != nullptr)
            progress->Notes.push_back(AntiderivativeStopText(*curve.Stop));
    }
}

} // namespace

void ComposePicture(QPainter& p, const TPlotRequest& request, TRelationProgress* progress) {
    ComposeBackground(p, request.Options);
    DrawRelations(p, request, progress);
    const std::vector<const TGraphRequest*> graphs = DrawnGraphs(request);
    const std::vector<const TGraphRequest*> entries = LegendEntries(request, graphs);
    TLegendPlan plan;
    TLegendPlaces places;
    if (!entries.empty()) {
        plan = PlanLegend(entries);
        places.Places = LegendPlaces(plan.Size);
        places.Crossings.assign(places.Places.size(), 0);
    }
    TLegendPlaces* counted = entries.empty() ? nullptr : &places;
    if (!DrawOnThreads(p, request, graphs, counted))
        for (const TGraphRequest* graph : graphs)
            DrawGraph(p, request, *graph, counted);
    DrawBeside(p, request, progress);
    if (counted != nullptr) {
        const auto least = std::min_element(places.Crossings.begin(), places.Crossings.end());
        DrawLegend(p, plan, entries, places.Places[least - places.Crossings.begin()]);
    }
    ComposeBorder(p);
}

QImage PictureImage(const TPlotRequest& request, qreal density, QSize pixels,
                    TRelationProgress* progress) {
    const int w = pixels.isEmpty() ? qRound(PlotWidth * density) : pixels.width();
    const int h = pixels.isEmpty() ? qRound(PlotHeight * density) : pixels.height();
    QImage image(w, h, QImage::Format_RGB32);
    if (image.isNull()) throw BuildRefused(NoPictureMemoryMessage(w, h));
    // Above 100 % the border's one-pixel line leaves the last device column
    // and row unpainted: they take the border's colour, not what the memory held.
    image.fill(Qt::black);
    image.setDevicePixelRatio(density);
    QPainter painter(&image);
    if (!painter.isActive()) throw BuildRefused(NoPictureMemoryMessage(w, h));
    ComposePicture(painter, request, progress);
    painter.end();
    return image;
}

void ComposePrintPage(QPainter& p, const QRect& page, const QFont& font, const QString& caption,
                      const std::function<void(QPainter&, const QRect&)>& picture, QSize shape) {
    const int margin = std::min(page.width(), page.height()) / 20;
    const QRect area = page.adjusted(margin, margin, -margin, -margin);
    p.setFont(font);
    const int line = p.fontMetrics().height();
    const QSize fits = shape
                           .scaled(std::max(1, area.width()), std::max(1, area.height() - 2 * line),
                                   Qt::KeepAspectRatio)
                           .expandedTo(QSize(1, 1));
    const QRect square(area.x() + (area.width() - fits.width()) / 2,
                       area.y() + (area.height() - fits.height() - 2 * line) / 2, fits.width(),
                       fits.height());
    p.save();
    p.setClipRect(square); // what lies beyond the frame (a pole's branches) is cut there
    picture(p, square);
    p.restore();
    const QRect text(area.x(), square.bottom() + line / 2, area.width(), line);
    p.setPen(Qt::black);
    p.drawText(text, Qt::AlignHCenter | Qt::AlignTop,
               p.fontMetrics().elidedText(caption, Qt::ElideRight, area.width()));
}

void ComposePictureInto(QPainter& p, const QRect& square, const TPlotRequest& request) {
    p.save();
    p.translate(square.topLeft());
    p.scale(static_cast<qreal>(square.width()) / PlotWidth,
            static_cast<qreal>(square.height()) / PlotHeight);
    ComposePicture(p, request);
    p.restore();
}

void ComposeOverlay(QPainter& p, const TOverlay& o) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    if (!o.Shade.isEmpty()) {
        QColor fill = ToQColor(o.ShadeColour);
        fill.setAlpha(70);
        QPainterPath path;
        path.addPolygon(o.Shade);
        path.closeSubpath();
        p.fillPath(path, fill);
    }
    const auto at = [](const TOverlayPoint& pt) {
        return QPointF(WorldToPixelX(pt.X), WorldToPixelY(pt.Y));
    };
    for (const TOverlayPoint& pt : o.Rings) {
        p.setPen(QPen(ToQColor(pt.Colour), 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(at(pt), 4, 4);
    }
    for (const TOverlayPoint& pt : o.Marks) {
        p.setPen(QPen(Qt::black, 1.5));
        p.setBrush(ToQColor(pt.Colour));
        p.drawEllipse(at(pt), 4, 4);
    }
    if (o.Trace && o.TraceSlope) {
        // Directions in pixels of the world's (1, m) and (-m, 1), for the
        // scales of x and y may differ.
        const QPointF at(WorldToPixelX(o.Trace->x()), WorldToPixelY(o.Trace->y()));
        const double sx = PlotWidth / ViewWidth, sy = PlotHeight / ViewHeight;
        const double m = *o.TraceSlope;
        const double reach = 4.0 * (PlotWidth + PlotHeight);
        const auto across = [&](QPointF d) {
            const double length = std::hypot(d.x(), d.y());
            if (!(length > 0) || !std::isfinite(length)) return;
            d *= reach / length;
            p.drawLine(QLineF(at - d, at + d));
        };
        QPen pen(ToQColor(o.TraceColour), 1);
        p.setPen(pen);
        across(std::isfinite(m * sy) ? QPointF(sx, -m * sy) : QPointF(0, 1));
        if (o.Normal) {
            pen.setStyle(Qt::DashLine);
            p.setPen(pen);
            across(QPointF(-m * sx, -sy));
        }
    }
    if (o.Trace) {
        const int x = WorldToPixelX(o.Trace->x()), y = WorldToPixelY(o.Trace->y());
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(Qt::black, 1));
        p.drawLine(x - 7, y, x + 7, y);
        p.drawLine(x, y - 7, x, y + 7);
        p.setFont(LabelFont());
        const QFontMetrics m(p.font());
        const int w = m.horizontalAdvance(o.TraceText) + 4, h = m.height() + 2;
        const int left = std::clamp(x + 8, 1, std::max(1, PlotWidth - w - 1));
        const int top = std::clamp(y - h - 6, 1, std::max(1, PlotHeight - h - 1));
        p.fillRect(QRect(left, top, w, h), QColor(255, 255, 225));
        p.setBrush(Qt::NoBrush); // a frame only: the marks' fill stays out of the label
        p.drawRect(QRect(left, top, w, h));
        p.drawText(QRect(left, top, w, h), Qt::AlignCenter, o.TraceText);
    }
    p.restore();
}
