#include "plot2d/View2D.h"
#include "texts/Texts.h"

#include "engine/Arith80.h"
#include "engine/Engine.h"

#include <cmath>

int PlotWidth = 400, PlotHeight = 400;
double ViewX1 = 0, ViewX2 = 0, ViewY1 = 0, ViewY2 = 0;
double ViewWidth = 0, ViewHeight = 0;
double ScaleX = 0, ScaleY = 0;
double GridStep = 0;
bool RangeEditsDirty = false;

int DragStartX = 0, DragStartY = 0;
bool Panning = false, BoxDragging = false;
int BoxLeft = 0, BoxRight = 0, BoxTop = 0, BoxBottom = 0;
double BoxX1 = 0, BoxX2 = 0, BoxWidth = 0, BoxY1 = 0, BoxY2 = 0, BoxHeight = 0;

namespace {
constexpr long double PixelLimit = 1 << 30; // far outside any area, safe for drawing
}

int RoundPixel(long double v) {
    if (v != v) return 0;
    if (v > PixelLimit) return static_cast<int>(PixelLimit);
    if (v < -PixelLimit) return -static_cast<int>(PixelLimit);
    return static_cast<int>(std::llrint(v)); // the current rounding: to nearest, ties to even
}

int WorldToPixelX(double x) {
    return RoundPixel((static_cast<long double>(x) - ViewX1) / ScaleX);
}

int WorldToPixelY(double y) {
    return RoundPixel((static_cast<long double>(y) - ViewY1) / ScaleY + PlotHeight);
}

double PixelToWorldX(int i) {
    return static_cast<double>(static_cast<long double>(i) * ScaleX + ViewX1);
}

double PixelToWorldY(int j) {
    return static_cast<double>(static_cast<long double>(j - PlotHeight) * ScaleY + ViewY1);
}

double EqualScaleExtent(double a, double b) {
    return static_cast<double>(static_cast<long double>(a) * PlotHeight / PlotWidth + b);
}

double ComputeGridStep() {
    const long double ratio = static_cast<long double>(ViewWidth) / 10;
    if (!(ratio > 0) || std::isinf(ratio)) return 0.0;
    const long double n = std::nearbyint(std::log(ratio) / std::log(2.0L));
    const double step = static_cast<double>(std::exp2(n));
    return step > 0 && std::isfinite(step) ? step : 0.0;
}

TViewState SaveView() {
    return {ViewX1, ViewX2, ViewY1, ViewY2, ViewWidth, ViewHeight, ScaleX, ScaleY, GridStep};
}

void RestoreView(const TViewState& v) {
    ViewX1 = v.X1, ViewX2 = v.X2, ViewY1 = v.Y1, ViewY2 = v.Y2;
    ViewWidth = v.Width, ViewHeight = v.Height;
    ScaleX = v.ScaleX, ScaleY = v.ScaleY, GridStep = v.Step;
}

bool ViewUsable() {
    for (const double v : {ViewWidth, ViewHeight, ScaleX, ScaleY})
        if (!std::isfinite(v) || v == 0) return false;
    if (ViewX1 == ViewX2 || ViewY1 == ViewY2) return false;
    if (!(ViewX1 < ViewX2)) return false; // the left edge right of the right one
    for (const double edge : {ViewX1, ViewX2, ViewY1, ViewY2}) {
        if (!std::isfinite(edge)) return false;
        try {
            if (!std::isfinite(StrToFloat(FormatNumber(edge)))) return false;
        } catch (const ConversionError&) {
            return false;
        }
    }
    return true;
}

namespace {

// The scales and the grid step of the extents.
void RecomputeScales() {
    ScaleX = static_cast<double>(static_cast<long double>(ViewWidth) / PlotWidth);
    ScaleY = static_cast<double>(-static_cast<long double>(ViewHeight) / PlotHeight);
    GridStep = ComputeGridStep();
}

// The far edges from the near ones and the extents, then the scales.
void RecomputeFarEdges() {
    ViewX2 = static_cast<double>(static_cast<long double>(ViewX1) + ViewWidth);
    ViewY2 = static_cast<double>(static_cast<long double>(ViewY1) + ViewHeight);
    RecomputeScales();
}

} // namespace

void RecomputeViewFromEdges() {
    ViewWidth = Minus(ViewX2, ViewX1);
    ViewHeight = Minus(ViewY2, ViewY1);
    RecomputeScales();
}

void SetView(double x1, double x2, double y1, double y2, bool equalScales) {
    ViewX1 = x1;
    ViewX2 = x2;
    ViewY1 = y1;
    ViewY2 = equalScales ? EqualScaleExtent(Minus(ViewX2, ViewX1), ViewY1) : y2;
    RecomputeViewFromEdges();
}

void ResizeView(int width, int height, bool equalScales) {
    PlotWidth = width;
    PlotHeight = height;
    if (equalScales) {
        const long double centre = (static_cast<long double>(ViewY1) + ViewY2) / 2;
        const long double extent = static_cast<long double>(ViewWidth) * height / width;
        ViewY1 = static_cast<double>(centre - extent / 2);
        ViewY2 = EqualScaleExtent(Minus(ViewX2, ViewX1), ViewY1);
    }
    RecomputeViewFromEdges();
}

TPictureArea PictureArea(int width, int height) {
    if (static_cast<long long>(width) * PlotHeight == static_cast<long long>(height) * PlotWidth)
        return {PlotWidth, PlotHeight, static_cast<double>(width) / PlotWidth};
    const double density = std::min(width, height) / 400.0;
    return {static_cast<int>(std::lround(width / density)),
            static_cast<int>(std::lround(height / density)), density};
}

std::string ViewRefusedMessage() {
    if (ViewX1 > ViewX2)
        return texts::Fill(texts::Translate("View2D", "Левый край вида x1 = %1 правее правого "
                                                      "x2 = %2: поменяйте их местами."),
                           {FormatNumber(ViewX1), FormatNumber(ViewX2)});
    return texts::Translate("View2D",
                            "Такой вид не помещается в числа: края или размеры выходят за "
                            "пределы, или у него нет ширины или высоты.");
}

void ReadRangeEdits(const TRangeTexts& texts, bool equalScales) {
    // In this order, so that a text that is no number stops the reading with
    // the edges before it kept.
    ViewX1 = StrToFloat(texts.X1);
    ViewX2 = StrToFloat(texts.X2);
    ViewY1 = StrToFloat(texts.Y1);
    SetView(ViewX1, ViewX2, ViewY1, equalScales ? 0 : StrToFloat(texts.Y2), equalScales);
    RangeEditsDirty = false;
}

TRangeTexts WriteRangeEdits() {
    // An edge a few units in the last place from zero (after a pan) shows as 0.
    return {FormatNumber(ShownY(ViewY2)), FormatNumber(ShownY(ViewY1)),
            FormatNumber(ShownX(ViewX2)), FormatNumber(ShownX(ViewX1))};
}

void ZoomView(int k, bool equalScales) {
    const long double dX = static_cast<long double>(ViewWidth) * 10 * k / 300;
    const long double dY = static_cast<long double>(ViewHeight) * 10 * k / 300;
    ViewX1 = static_cast<double>(ViewX1 - dX);
    ViewWidth = static_cast<double>(ViewWidth + 2 * dX);
    ViewY1 = static_cast<double>(ViewY1 - dY);
    if (equalScales)
        ViewY2 = static_cast<double>(static_cast<long double>(ViewWidth) * PlotHeight / PlotWidth +
                                     ViewY1);
    else
        ViewY2 = static_cast<double>(ViewY2 + dY);
    ViewHeight = Minus(ViewY2, ViewY1);
    RecomputeFarEdges();
}

void PanView(int x, int y) {
    const long double newX1 =
        static_cast<long double>(PixelToWorldX(DragStartX)) - PixelToWorldX(x) + ViewX1;
    const long double newY1 =
        static_cast<long double>(PixelToWorldY(DragStartY)) - PixelToWorldY(y) + ViewY1;
    ViewX1 = static_cast<double>(newX1);
    ViewY1 = static_cast<double>(newY1);
    ViewX2 = static_cast<double>(static_cast<long double>(ViewX1) + ViewWidth);
    ViewY2 = static_cast<double>(static_cast<long double>(ViewY1) + ViewHeight);
    DragStartX = x;
    DragStartY = y;
}

void UpdateZoomBox(int x, int y) {
    if (x > DragStartX) {
        BoxLeft = DragStartX;
        BoxRight = x;
    } else {
        BoxLeft = x;
        BoxRight = DragStartX;
    }
    BoxX1 = PixelToWorldX(BoxLeft);
    BoxX2 = PixelToWorldX(BoxRight);
    BoxWidth = Minus(BoxX2, BoxX1);
    if (y > DragStartY) { // downward: the box hangs from the starting row
        BoxTop = DragStartY;
        BoxY2 = PixelToWorldY(BoxTop);
        BoxY1 = EqualScaleExtent(-BoxWidth, BoxY2);
        BoxBottom = WorldToPixelY(BoxY1);
    } else {
        BoxBottom = DragStartY;
        BoxY1 = PixelToWorldY(BoxBottom);
        BoxY2 = EqualScaleExtent(BoxWidth, BoxY1);
        BoxTop = WorldToPixelY(BoxY2);
    }
    BoxHeight = Minus(BoxY2, BoxY1);
}

bool ApplyZoomBox() {
    if (BoxLeft == BoxRight || BoxTop == BoxBottom) return false;
    ViewX1 = BoxX1;
    ViewWidth = BoxWidth;
    ViewY1 = BoxY1;
    ViewHeight = BoxHeight;
    RecomputeFarEdges();
    BoxLeft = BoxRight = BoxTop = BoxBottom = 0;
    return true;
}

std::string CursorCoordinateText(double value) {
    const long double scaled = static_cast<long double>(value) * 1000000;
    // Beyond the 64-bit range the value is shown as it is.
    if (!(std::fabs(scaled) < 9.2e18L)) return FormatNumber(value);
    const auto rounded = static_cast<long long>(std::nearbyint(scaled));
    return FormatNumber(static_cast<double>(static_cast<long double>(rounded) / 1000000));
}

double ShownNumber(double v, double span) {
    return std::fabs(v) < 1e-12 * std::fabs(span) ? 0.0 : v;
}

double ShownX(double x) {
    return ShownNumber(x, ViewWidth);
}

double ShownY(double y) {
    return ShownNumber(y, ViewHeight);
}
