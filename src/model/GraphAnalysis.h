// Analysis on the 2D picture: the trace that follows a graph under the
// mouse, the points of interest drawn on the graphs, and what "Найти…"
// found, all drawn over the picture of the plot area. It works on the
// graphs of the picture last shown, and is drawn by the area after the
// picture.
#pragma once

#include "analysis/Analysis.h"
#include "plot2d/Picture.h"

#include <QCoreApplication>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QPainter;

class TGraphAnalysis : public QObject {
    Q_DECLARE_TR_FUNCTIONS(TGraphAnalysis)

  public:
    // `repaint` asks the plot area to paint again; `showInfo` shows what a
    // click on a point found, near the click, or hides it (no text).
    struct TInfo {
        QString Text;
        int X = 0, Y = 0; // the pixel of the click
    };
    TGraphAnalysis(QObject* owner, std::function<void()> repaint,
                   std::function<void(const std::optional<TInfo>&)> showInfo);

    // A new picture was shown: its graphs are what is analysed from now on
    // (while FormulaTrees holds the trees it was made with).
    void Shown(const TPlotRequest& request);
    // The formulas of the graphs, by their place in the request (of a
    // parametric curve, x(t) and y(t)); what was found goes when they change.
    void SetFormulas(std::vector<QString> formulas);
    // No picture to analyse (a 3D mode): everything is put away.
    void Forget();
    // The picture of an input was shown: its graphs with their formulas (the
    // box's, then the list's in y(x); x(t) and y(t) of a parametric curve),
    // or nothing in a 3D mode. True when it has graphs to analyse.
    bool ShownInput(const TPlotInput& input, const TPlotRequest& request);

    // --- the trace
    void SetTracing(bool on);
    bool Tracing() const { return tracing_; }
    // The mouse at pixel (x, y) of the area: the nearest graph there.
    void TraceAt(int x, int y);
    // Left and Right move a pixel (a sample), ten with Shift; Up and Down go
    // to the next graph; Esc ends the trace. True when the key was taken.
    bool TraceKey(int key, bool shift);
    // What the trace label says: "x = …, y = …" (fi or t first where they
    // apply); on a graph y(x), its exact slope and angle as well.
    QString TraceText() const;
    // The slope of the traced graph y(x) at the traced point, from its
    // exact derivative; none where it has none.
    std::optional<double> TraceSlope() const { return traceSlope_; }
    // The normal drawn beside the tangent while tracing.
    void SetNormal(bool on);

    // --- the points of interest
    void SetShowPoints(bool on);
    bool ShowingPoints() const { return showPoints_; }
    // Computes the points now, for the current view (the window waits until
    // the view rests before it asks).
    void ComputePoints();
    const TPointsFound& Points() const { return points_; }
    // A click at pixel (x, y): on a point, its kind and coordinates in the
    // info label; true when a point was hit.
    bool Click(int x, int y);
    QString InfoText() const;
    // The language changed: what the info label said goes.
    void Retranslate();

    // --- "Найти…": the graphs to choose from, by their number and formula
    struct TChoice {
        int Number;
        QString Formula;
    };
    std::vector<TChoice> Graphs() const;
    // Finds a kind of point (root, minimum, maximum, intersection with
    // `second`) or the area on [a, b]; marks what it found and answers in
    // words. Throws with a message for an area that cannot be given.
    enum class TFindKind { Root, Minimum, Maximum, Intersection, Area };
    QString Find(TFindKind kind, int graph, int second, double a, double b);

    // The trace, the points and the marks as the picture's overlay, and
    // the overlay drawn.
    TOverlay Overlay() const;
    void Paint(QPainter& p) const;

  private:
    bool Valid() const;
    const TGraphRequest* GraphOf(int number) const;
    void Trace(std::size_t graph, double x);
    void TraceSample(std::size_t graph, long index);
    void ShowInfo(const std::optional<TInfo>& info);

    std::function<void()> repaint_;
    std::function<void(const std::optional<TInfo>&)> showInfo_;
    std::optional<TInfo> info_;
    TPlotRequest request_;
    std::uint64_t generation_ = ~std::uint64_t{0};
    std::vector<int> numbers_; // the graph number of each graph of the request
    // What the analysed picture shows besides its formulas: its kind and its
    // view; when it or the formulas change, what was found on the one before goes.
    struct TShownPicture {
        TCurveKind Kind = TCurveKind::Cartesian;
        bool Polar = false;
        double From = 0, To = 0;
        double View[4] = {0, 0, 0, 0};
        bool operator==(const TShownPicture&) const = default;
    };
    TShownPicture shown_;
    void ClearFound(); // the points, the marks, the trace's point and the labels
    std::vector<QString> formulas_;

    bool tracing_ = false;
    std::size_t traceGraph_ = 0;
    std::optional<double> traceX_, traceY_, traceParameter_; // the point, and fi or t
    std::optional<double> traceSlope_;
    bool normal_ = false;
    // The derivatives of the request's graphs, made as the trace first meets
    // each (null: none, as of random numbers).
    std::vector<std::optional<TTreePtr>> slopes_;
    long traceIndex_ = 0; // the sample, in polar and parametric curves

    bool showPoints_ = false;
    TPointsFound points_;

    std::vector<TGraphPoint> marks_; // what "Найти…" found
    struct TShade {
        int Graph;
        double From, To;
    };
    std::optional<TShade> shade_;
};

// The kind of a point as the window names it: "Корень", "Минимум" ...
QString PointKindText(const TGraphPoint& p);

// What the status line and the command line say of the graphs a search
// skipped because their formulas draw random numbers; empty where none was.
QString RandomGraphsText(const std::vector<int>& numbers);
