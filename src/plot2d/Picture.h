// The whole 2D picture from a plain description of what to draw: background,
// axes and grid, the graphs, the border and the zoom box. The window fills
// the request from its fields and compiled trees; nothing here reads a
// widget, so tests and benchmarks compose pictures without a window.
#pragma once

#include "engine/Engine.h"
#include "plot2d/Compose.h"

#include <string>
#include <vector>

enum class TCurveKind : unsigned char {
    Cartesian,  // y = f(x) over the view's x range
    Polar,      // r = f(fi) over an angle range
    Parametric, // (x(t), y(t)), or fi(t) and r(t) when Polar is set
};

// One graph: its tree (null: nothing to draw), the second tree of a
// parametric curve, the pen colour and the step of its walk.
struct TGraphRequest {
    const TExprNode* Tree = nullptr;
    const TExprNode* TreeY = nullptr;
    TColorValue Colour = ClBlue;
    double Step = 0;
};

struct TPlotRequest {
    TPictureOptions Options;
    TCurveKind Kind = TCurveKind::Cartesian;
    bool Polar = false;      // a parametric curve in polar coordinates
    double From = 0, To = 0; // the angle range (polar) or the t range (parametric)
    std::vector<TGraphRequest> Graphs;
};

// What the graphs of y(x) or r(fi) are made of.
struct TYxInput {
    TExprNode* const* Trees = nullptr; // the slots of the compiled formulas
    int ListCount = 0;                 // n: the list items drawn, 0 for the single formula
    bool All = false;                  // the whole list is drawn ("Все")
    bool Polar = false;                // r(fi) over [FMin, FMax] instead of y(x)
    bool PixelRule = true;             // the cartesian layout: never finer than a pixel
    bool MinimalStep = false;          // "Минимальный шаг": exactly one pixel column
    double FMin = 0, FMax = 0;
};

// The graphs of slots 0 ... n. Each slot takes the number in `stepField` as
// its step; where the pixel rule replaces it, the pixel step is written back
// into `stepField`, so that the next slot reads the written text. The pen of
// slot s is graph colour s with the whole list, else graph colour 0.
TPlotRequest YxRequest(const TYxInput& input, std::string& stepField);

// The 2D parametric curve, in the colour of graph 0.
TPlotRequest ParametricRequest(const TExprNode* treeX, const TExprNode* treeY, double tmin,
                               double tmax, double step, bool polar);

// Composes the picture of the current view on `p`, which covers the plot area.
void ComposePicture(QPainter& p, const TPlotRequest& request);
