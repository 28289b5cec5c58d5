// The 2D view: the visible world rectangle, its mapping onto the pixels of
// the plot area, the grid step, and the view changes of zoom, pan and the
// zoom box. Plain arithmetic with no widgets: the window moves texts between
// its range fields and these functions.
#pragma once

#include <cstdint>
#include <string>

// Size of the plot area in pixels, read once at start-up.
extern int PlotWidth, PlotHeight;

// The view; written by ReadRangeEdits, ZoomView, the pan and the box zoom.
extern double ViewX1, ViewX2, ViewY1, ViewY2;
extern double ViewWidth, ViewHeight;

// A number as the window shows it beside a view `span` wide (or high): one
// within a few units in the last place of the view's scale of zero
// (|v| < 1e-12 × span) is rounding noise and shows as 0; the number
// itself stays as computed.
double ShownNumber(double v, double span);
// x and y as the window shows them in the current view.
double ShownX(double x);
double ShownY(double y);
extern double ScaleX, ScaleY; // world units per pixel column / row (ScaleY < 0)
extern double GridStep;       // a power of two, or 0 for a view with no usable grid
// A range field's text changed since the view was last read from the fields.
extern bool RangeEditsDirty;

// Round to nearest, ties to even, as a pixel coordinate. Values beyond the
// 32-bit range are clamped far outside the area; NaN gives 0.
int RoundPixel(long double v);

int WorldToPixelX(double x);
int WorldToPixelY(double y);
double PixelToWorldX(int i);
double PixelToWorldY(int j);
double EqualScaleExtent(double a, double b);

// 2^Round(log2(ViewWidth / 10)); 0 when that is not a positive finite number.
double ComputeGridStep();

// Derives extents, scales and the grid step from the four edges.
void RecomputeViewFromEdges();

// The whole view, to put back a view change that cannot be used.
struct TViewState {
    double X1, X2, Y1, Y2, Width, Height, ScaleX, ScaleY, Step;
};
TViewState SaveView();
void RestoreView(const TViewState& view);

// True when every edge, extent and scale of the view is a finite number,
// the extents and scales are not zero, and the text each edge is written as
// reads back as a finite number: a view near the limits of double (an
// extent that overflows, an edge whose 15 digits round beyond the largest
// double) is not, nor one without width or height, nor one whose left edge
// x1 lies right of its right edge x2.
bool ViewUsable();

// The four range texts, in the order the fields are written: y2, y1, x2, x1.
struct TRangeTexts {
    std::string Y2, Y1, X2, X1;
};

// Sets the view from its edges; y2 follows from the x range with equal
// scales (the extent of y is the extent of x times height over width).
void SetView(double x1, double x2, double y1, double y2, bool equalScales);

// The plot area takes a new size; the view keeps its x edges and its
// centre, and with equal scales its height follows (one unit the same in x
// and y); without, its edges stay.
void ResizeView(int width, int height, bool equalScales);

// The plot area a picture of `width` × `height` pixels shows, and the
// density it is drawn at: of the aspect of the current area, that area at
// width / PlotWidth (a square at 800 × 800 is the 400 × 400 area at 2);
// of any other aspect, the area of that aspect whose shorter side is 400,
// at the shorter side / 400.
struct TPictureArea {
    int Width, Height;
    double Density;
};
TPictureArea PictureArea(int width, int height);

// The message of a view that cannot be used.
std::string ViewRefusedMessage();

// Takes the view from the range texts (x1, x2, y1 in this order; y2 from the
// text only without equal scales). Throws ConversionError at the first text
// that is no number, keeping the edges converted before it.
void ReadRangeEdits(const TRangeTexts& texts, bool equalScales);

// The range texts of the current view.
TRangeTexts WriteRangeEdits();

// The "+" (k = -2) and "-" (k = +2) zoom about the centre.
void ZoomView(int k, bool equalScales);

// Mouse state of the plot area.
extern int DragStartX, DragStartY;
extern bool Panning, BoxDragging;
extern int BoxLeft, BoxRight, BoxTop, BoxBottom;
extern double BoxX1, BoxX2, BoxWidth, BoxY1, BoxY2, BoxHeight;

// Moves the view by the distance from the drag start to (x, y), which
// becomes the new drag start.
void PanView(int x, int y);

// The zoom box from the drag start to (x, y); its height follows its width.
void UpdateZoomBox(int x, int y);

// Installs the zoom box as the view; false (and no change) for a box
// collapsed to a line or a point. Clears the box either way when applied.
bool ApplyZoomBox();

// The text of a cursor coordinate: rounded to six decimal places.
std::string CursorCoordinateText(double value);
