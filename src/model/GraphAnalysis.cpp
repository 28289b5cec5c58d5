#include "model/GraphAnalysis.h"

#include "engine/Derivative.h"

#include "engine/Arith80.h"
#include "plot2d/Compose.h"
#include "plot2d/Sampling.h"
#include "plot2d/View2D.h"

#include <QCoreApplication>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

QString Number(double v) {
    return QString::fromStdString(FormatNumber(v));
}

// "x = …, y = …" of a point as the window shows it beside the view.
QString PointText(double x, double y) {
    return QStringLiteral("x = %1, y = %2").arg(Number(ShownX(x)), Number(ShownY(y)));
}

// The samples of a polar or parametric walk, as the picture takes them:
// the parameter from `from` by repeated addition while to + step lies beyond.
template <typename Visit> void Samples(double from, double to, double step, Visit visit) {
    if (!(step > 0)) return;
    long index = 0;
    for (double v = from; Before(to, step, v) && index < 200000; ++index) {
        visit(index, v);
        const double next = Advance(v, step);
        if (next == v) break;
        v = next;
    }
}

// A point of a polar or parametric graph at parameter v; nothing where it has no value.
std::optional<std::pair<double, double>> CurvePoint(const TPlotRequest& r, const TGraphRequest& g,
                                                    double v) {
    double x = 0, y = 0;
    EvalError = false;
    if (r.Kind == TCurveKind::Polar) {
        VarX = v;
        PolarPoint(v, EvalTree(g.Tree), x, y);
    } else {
        VarT = v;
        const double a = EvalTree(g.Tree), b = EvalTree(g.TreeY);
        if (r.Polar)
            PolarPoint(a, b, x, y);
        else
            x = a, y = b;
    }
    if (EvalError || !std::isfinite(x) || !std::isfinite(y)) return std::nullopt;
    return std::pair{x, y};
}

} // namespace

QString PointKindText(const TGraphPoint& p) {
    switch (p.Kind) {
    case TPointKind::Root:
        return TGraphAnalysis::tr("Корень");
    case TPointKind::Minimum:
        return TGraphAnalysis::tr("Минимум");
    case TPointKind::Maximum:
        return TGraphAnalysis::tr("Максимум");
    case TPointKind::Intersection:
        return TGraphAnalysis::tr("Пересечение графиков %1 и %2").arg(p.Graph).arg(p.With);
    case TPointKind::YIntercept:
        return TGraphAnalysis::tr("Пересечение с осью y");
    case TPointKind::Inflection:
        return TGraphAnalysis::tr("Точка перегиба");
    }
    return {};
}

QString RandomGraphsText(const std::vector<int>& numbers) {
    if (numbers.empty()) return {};
    QStringList list;
    for (const int n : numbers)
        list << QString::number(n);
    return TGraphAnalysis::tr("Не исследуются графики: %1. Их формулы берут случайные числа, "
                              "особых точек у таких графиков нет.")
        .arg(list.join(QStringLiteral(", ")));
}

TGraphAnalysis::TGraphAnalysis(QObject* owner, std::function<void()> repaint,
                               std::function<void(const std::optional<TInfo>&)> showInfo)
    : QObject(owner), repaint_(std::move(repaint)), showInfo_(std::move(showInfo)) {}

bool TGraphAnalysis::Valid() const {
    return generation_ == FormulaTreesGeneration && !request_.Graphs.empty();
}

void TGraphAnalysis::Shown(const TPlotRequest& request) {
    const TShownPicture shown{
        request.Kind, request.Polar, request.From, request.To, {ViewX1, ViewX2, ViewY1, ViewY2}};
    if (!(shown == shown_)) { // another view or mode: what was found is of the last
        shown_ = shown;
        ClearFound();
    }
    request_ = request;
    generation_ = FormulaTreesGeneration;
    slopes_.clear();
    slopes_.resize(request.Graphs.size());
    numbers_.clear();
    for (std::size_t s = 0; s < request.Graphs.size(); ++s)
        numbers_.push_back(static_cast<int>(s)); // a graph of y(x) is its slot
    if (tracing_ && traceX_ && request.Kind == TCurveKind::Cartesian) Trace(traceGraph_, *traceX_);
}

bool TGraphAnalysis::ShownInput(const TPlotInput& input, const TPlotRequest& request) {
    if (input.Mode != pmYx && input.Mode != pmPlane) {
        Forget();
        return false;
    }
    std::vector<QString> formulas;
    if (input.Mode == pmYx) {
        formulas.push_back(QString::fromStdString(input.Formula));
        for (const std::string& item : input.List)
            formulas.push_back(QString::fromStdString(item));
        if (!input.AllFormulas) formulas.resize(1);
    } else {
        for (const int slot : {fsPlaneX, fsPlaneY})
            formulas.push_back(QString::fromStdString(input.Document.Formulas[slot]));
    }
    SetFormulas(formulas);
    Shown(request);
    return true;
}

void TGraphAnalysis::Forget() {
    request_ = {};
    SetTracing(false);
    points_ = {};
    marks_.clear();
    shade_.reset();
    ShowInfo(std::nullopt);
}

void TGraphAnalysis::SetTracing(bool on) {
    tracing_ = on;
    if (!on) traceX_.reset(), traceY_.reset(), traceParameter_.reset(), traceSlope_.reset();
    repaint_();
}

const TGraphRequest* TGraphAnalysis::GraphOf(int number) const {
    for (std::size_t i = 0; i < numbers_.size(); ++i)
        if (numbers_[i] == number && request_.Graphs[i].Tree != nullptr) return &request_.Graphs[i];
    return nullptr;
}

void TGraphAnalysis::Trace(std::size_t graph, double x) {
    traceGraph_ = graph;
    traceX_ = x;
    traceY_ = GraphValue(request_.Graphs[graph].Tree, x);
    traceParameter_.reset();
    traceSlope_.reset();
    if (!traceY_ || graph >= slopes_.size()) return;
    std::optional<TTreePtr>& slope = slopes_[graph];
    if (!slope) {
        try {
            slope = Derivative(request_.Graphs[graph].Tree, &TEvalContext::X);
        } catch (const DerivativeError&) {
            slope = TTreePtr(); // random numbers: no slope
        }
    }
    if (*slope) traceSlope_ = GraphValue(slope->get(), x);
}

void TGraphAnalysis::SetNormal(bool on) {
    normal_ = on;
    repaint_();
}

void TGraphAnalysis::TraceSample(std::size_t graph, long index) {
    const TGraphRequest& g = request_.Graphs[graph];
    traceGraph_ = graph;
    traceX_.reset(), traceY_.reset(), traceSlope_.reset();
    Samples(request_.From, request_.To, g.Step, [&](long i, double v) {
        if (i != index) return;
        traceIndex_ = i;
        traceParameter_ = v;
        if (const auto p = CurvePoint(request_, g, v)) traceX_ = p->first, traceY_ = p->second;
    });
}

void TGraphAnalysis::TraceAt(int px, int py) {
    if (!tracing_ || !Valid()) return;
    if (request_.Kind == TCurveKind::Cartesian) {
        // The graph whose point at the mouse's x is nearest to the mouse.
        const double x = PixelToWorldX(px);
        std::optional<std::size_t> best;
        int distance = 0;
        for (std::size_t i = 0; i < request_.Graphs.size(); ++i) {
            if (request_.Graphs[i].Tree == nullptr) continue;
            const auto y = GraphValue(request_.Graphs[i].Tree, x);
            if (!y) continue;
            const int d = std::abs(WorldToPixelY(*y) - py);
            if (!best || d < distance) best = i, distance = d;
        }
        if (best) Trace(*best, x);
    } else {
        // The sample of any graph nearest to the mouse.
        std::optional<std::pair<std::size_t, long>> best;
        long distance = 0;
        for (std::size_t i = 0; i < request_.Graphs.size(); ++i) {
            const TGraphRequest& g = request_.Graphs[i];
            if (g.Tree == nullptr && request_.Kind == TCurveKind::Polar) continue;
            Samples(request_.From, request_.To, g.Step, [&](long index, double v) {
                const auto p = CurvePoint(request_, g, v);
                if (!p) return;
                const long dx = WorldToPixelX(p->first) - px, dy = WorldToPixelY(p->second) - py;
                if (!best || dx * dx + dy * dy < distance)
                    best = std::pair{i, index}, distance = dx * dx + dy * dy;
            });
        }
        if (best) TraceSample(best->first, best->second);
    }
    repaint_();
}

bool TGraphAnalysis::TraceKey(int key, bool shift) {
    if (!tracing_) return false;
    if (key == Qt::Key_Escape) {
        SetTracing(false);
        return true;
    }
    if (!Valid() || (!traceX_ && !traceParameter_))
        return key == Qt::Key_Left || key == Qt::Key_Right;
    const int steps = shift ? 10 : 1;
    const bool cartesian = request_.Kind == TCurveKind::Cartesian;
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const int sign = key == Qt::Key_Left ? -1 : 1;
        if (cartesian)
            Trace(traceGraph_, PixelToWorldX(WorldToPixelX(*traceX_) + sign * steps));
        else
            TraceSample(traceGraph_, std::max(0L, traceIndex_ + sign * steps));
        break;
    }
    case Qt::Key_Up:
    case Qt::Key_Down: {
        // The next graph (in the list's order) that has a point there.
        const std::size_t n = request_.Graphs.size();
        for (std::size_t k = 1; k < n; ++k) {
            const std::size_t i = (traceGraph_ + (key == Qt::Key_Down ? k : n - k)) % n;
            if (request_.Graphs[i].Tree == nullptr) continue;
            if (cartesian) {
                if (!GraphValue(request_.Graphs[i].Tree, *traceX_)) continue;
                Trace(i, *traceX_);
            } else {
                TraceSample(i, traceIndex_);
            }
            break;
        }
        break;
    }
    default:
        return false;
    }
    repaint_();
    return true;
}

QString TGraphAnalysis::TraceText() const {
    if (!traceX_ || !traceY_) return {};
    QString text = PointText(*traceX_, *traceY_);
    if (traceParameter_)
        text.prepend((request_.Kind == TCurveKind::Polar ? QStringLiteral("fi = ")
                                                         : QStringLiteral("t = ")) +
                     Number(*traceParameter_) + QStringLiteral(", "));
    if (traceSlope_) {
        // The angle of the tangent with the x axis, to a hundredth of a degree.
        const double degrees =
            std::round(std::atan(*traceSlope_) * 18000 / 3.141592653589793) / 100;
        text += QStringLiteral(", y′ = %1, ").arg(Number(*traceSlope_)) +
                tr("угол %1°").arg(Number(degrees));
    }
    return text;
}

void TGraphAnalysis::SetShowPoints(bool on) {
    showPoints_ = on;
    if (on)
        ComputePoints();
    else
        points_ = {}, ShowInfo(std::nullopt);
    repaint_();
}

void TGraphAnalysis::ComputePoints() {
    points_ = {};
    if (!showPoints_ || !Valid() || request_.Kind != TCurveKind::Cartesian) return;
    std::vector<TGraph> graphs;
    for (std::size_t i = 0; i < request_.Graphs.size(); ++i)
        if (request_.Graphs[i].Tree != nullptr)
            graphs.push_back({request_.Graphs[i].Tree, numbers_[i], request_.Graphs[i].Formula});
    points_ = PointsOfInterest(graphs, ViewX1, ViewX2, PixelStep());
    KeepInView(points_, ViewY1, ViewY2); // only what the view shows
    repaint_();
}

bool TGraphAnalysis::Click(int x, int y) {
    if (!showPoints_) return false;
    for (const auto* list : {&marks_, &points_.Points})
        for (const TGraphPoint& p : *list) {
            const int dx = WorldToPixelX(p.X) - x, dy = WorldToPixelY(p.Y) - y;
            if (dx * dx + dy * dy > 36) continue;
            ShowInfo(TInfo{PointKindText(p) + QStringLiteral(": ") + PointText(p.X, p.Y), x, y});
            return true;
        }
    ShowInfo(std::nullopt);
    return false;
}

void TGraphAnalysis::ShowInfo(const std::optional<TInfo>& info) {
    info_ = info;
    if (showInfo_) showInfo_(info_);
}

QString TGraphAnalysis::InfoText() const {
    return info_ ? info_->Text : QString();
}

std::vector<TGraphAnalysis::TChoice> TGraphAnalysis::Graphs() const {
    std::vector<TChoice> choices;
    if (!Valid() || request_.Kind != TCurveKind::Cartesian) return choices;
    for (std::size_t i = 0; i < request_.Graphs.size(); ++i)
        if (request_.Graphs[i].Tree != nullptr && i < formulas_.size())
            choices.push_back({numbers_[i], formulas_[i]});
    return choices;
}

void TGraphAnalysis::Retranslate() {
    ShowInfo(std::nullopt); // it spoke the language before
    repaint_();
}

void TGraphAnalysis::SetFormulas(std::vector<QString> formulas) {
    if (formulas != formulas_) ClearFound();
    formulas_ = std::move(formulas);
}

void TGraphAnalysis::ClearFound() {
    points_ = {};
    marks_.clear();
    shade_.reset();
    traceX_.reset(), traceY_.reset(), traceParameter_.reset();
    ShowInfo(std::nullopt);
}

QString TGraphAnalysis::Find(TFindKind kind, int number, int second, double a, double b) {
    const TGraphRequest* g = GraphOf(number);
    if (g == nullptr || request_.Kind != TCurveKind::Cartesian)
        throw std::runtime_error(
            TGraphAnalysis::tr("Такого графика y(x) на рисунке нет.").toStdString());
    if (!(a < b)) std::swap(a, b);
    const double step = SearchStep(PixelStep(), a, b);
    const QString where = QStringLiteral("[%1; %2]")
                              .arg(Number(ShownNumber(a, b - a)), Number(ShownNumber(b, b - a)));
    marks_.clear();
    shade_.reset();
    if (kind == TFindKind::Area) {
        const TArea area = Integrate({g->Tree, number, g->Formula}, a, b, step);
        shade_ = TShade{number, a, b};
        repaint_();
        return TGraphAnalysis::tr("Площадь на %1: %2 (погрешность %3)")
            .arg(where, Number(area.Value), Number(area.Error));
    }
    TPointsFound found;
    QString what;
    if (kind == TFindKind::Intersection) {
        const TGraphRequest* h = GraphOf(second);
        if (h == nullptr)
            throw std::runtime_error(
                TGraphAnalysis::tr("Второго такого графика на рисунке нет.").toStdString());
        found = FindIntersections({g->Tree, number, g->Formula}, {h->Tree, second, h->Formula}, a,
                                  b, step);
        what = TGraphAnalysis::tr("Пересечения");
    } else if (kind == TFindKind::Root) {
        found = FindRoots({g->Tree, number, g->Formula}, a, b, step);
        what = TGraphAnalysis::tr("Корни");
    } else {
        found = FindExtrema({g->Tree, number, g->Formula}, a, b, step);
        const TPointKind wanted =
            kind == TFindKind::Minimum ? TPointKind::Minimum : TPointKind::Maximum;
        std::erase_if(found.Points, [&](const TGraphPoint& p) { return p.Kind != wanted; });
        what = kind == TFindKind::Minimum ? tr("Минимумы") : tr("Максимумы");
    }
    marks_ = found.Points;
    repaint_();
    if (!found.Random.empty()) return RandomGraphsText(found.Random);
    if (found.Points.empty()) return TGraphAnalysis::tr("На %1 ничего не найдено.").arg(where);
    QStringList items;
    for (std::size_t i = 0; i < found.Points.size() && i < 10; ++i)
        items << PointText(found.Points[i].X, found.Points[i].Y);
    QString text =
        TGraphAnalysis::tr("%1 на %2: %3").arg(what, where, items.join(QStringLiteral("; ")));
    if (found.Points.size() > 10 || found.Incomplete)
        text += TGraphAnalysis::tr(" … (всего %1%2)")
                    .arg(found.Points.size())
                    .arg(found.Incomplete ? TGraphAnalysis::tr(", показаны не все") : QString());
    return text;
}

TOverlay TGraphAnalysis::Overlay() const {
    TOverlay o;
    if (!Valid()) return o;
    const auto colour = [&](int number) {
        const TGraphRequest* g = GraphOf(number);
        return g ? g->Colour : ClBlack;
    };
    if (shade_) {
        // Between the graph and the x axis, column by column.
        const TGraphRequest* g = GraphOf(shade_->Graph);
        const int from = WorldToPixelX(shade_->From), to = WorldToPixelX(shade_->To);
        const int axis = WorldToPixelY(0);
        o.Shade << QPointF(from, axis);
        for (int x = from; x <= to && g; ++x)
            if (const auto y = GraphValue(g->Tree, PixelToWorldX(x)))
                o.Shade << QPointF(x, std::clamp(WorldToPixelY(*y), -1000, 2000));
        o.Shade << QPointF(to, axis);
        o.ShadeColour = colour(shade_->Graph);
    }
    if (showPoints_)
        for (const TGraphPoint& pt : points_.Points)
            o.Rings.push_back({pt.X, pt.Y, colour(pt.Graph)});
    for (const TGraphPoint& pt : marks_)
        o.Marks.push_back({pt.X, pt.Y, colour(pt.Graph)});
    if (tracing_ && traceX_ && traceY_) {
        o.Trace = QPointF(*traceX_, *traceY_);
        o.TraceText = TraceText();
        o.TraceSlope = traceSlope_;
        o.Normal = normal_;
        o.TraceColour = request_.Graphs[traceGraph_].Colour;
    }
    return o;
}

void TGraphAnalysis::Paint(QPainter& p) const {
    ComposeOverlay(p, Overlay());
}
