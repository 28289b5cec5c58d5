// The plot document: the formulas and numeric parameters of every mode, last
// used. The window's fields are the working copy; the document is written at
// a build and read back when a mode is laid out or a plot file is opened.
#pragma once

#include <cstdint>
#include <string>

// The mode codes; the same numbers are stored in plot files.
enum TPlotMode : std::uint8_t {
    pmYx = 1,
    pmSurface = 2,
    pmPlane = 3,
    pmCurve = 4,
    pmPatch = 5,
    pmImplicit = 6,
};

// A code outside 1 ... 6 is no mode (the window then shows no mode controls).
inline bool IsPlotMode(int code) {
    return code >= pmYx && code <= pmImplicit;
}

// The coordinates of the two 2D modes.
enum class TCoordinates : std::uint8_t { Cartesian, Polar };

enum TFormulaSlot {
    fsPlaneX = 0, // 2D x(t) (fi(t) in polar)
    fsPlaneY,     // 2D y(t) (r(t) in polar)
    fsSurfaceZ,
    fsCurveX,
    fsCurveY,
    fsCurveZ,
    fsPatchX,
    fsPatchY,
    fsPatchZ,
    fsImplicitF,
};

// Index order is the storage order of the plot file.
enum TNumberIndex {
    YxPhiMin = 0,
    YxPhiMax,
    YxCartStep,
    YxPolarStep,
    YxCartY2,
    YxCartY1,
    YxCartX2,
    YxCartX1,
    YxPolarY2,
    YxPolarY1,
    YxPolarX2,
    YxPolarX1,
    PlaneCartTMin,
    PlaneCartTMax,
    PlaneCartTStep,
    PlanePolarTMin,
    PlanePolarTMax,
    PlanePolarTStep,
    PlaneCartY2,
    PlaneCartY1,
    PlaneCartX2,
    PlaneCartX1,
    PlanePolarY2,
    PlanePolarY1,
    PlanePolarX2,
    PlanePolarX1,
    SurfXMin,
    SurfXMax,
    SurfXStep,
    SurfYMin,
    SurfYMax,
    SurfYStep,
    ImplXMin,
    ImplXMax,
    ImplXStep1,
    ImplXStep2,
    ImplYMin,
    ImplYMax,
    ImplYStep1,
    ImplYStep2,
    ImplZMin,
    ImplZMax,
    ImplZStep1,
    ImplZStep2,
    CurveTMin,
    CurveTMax,
    CurveTStep,
    PatchUMin,
    PatchUMax,
    PatchUStep,
    PatchVMin,
    PatchVMax,
    PatchVStep,
};

constexpr int DocumentFormulaCount = 10;
constexpr int DocumentNumberCount = 53;
constexpr int MaxStoredFormulaLength = 100; // characters

struct TPlotDocument {
    std::string Formulas[DocumentFormulaCount];
    double Numbers[DocumentNumberCount] = {};
};

// The one document of the program. Written by the capture of the fields and
// by the plot-file reader; read by the mode layout, the coordinate switches,
// the plot-file writer and the 3D curve build.
extern TPlotDocument PlotDocument;

// Writes the default numbers and empties every formula slot.
void SetDocumentDefaults(TPlotDocument& document);

// The text as the document keeps it: its first 100 characters (UTF-8 aware).
std::string CutFormula(const std::string& text);

// Stores a formula into a slot, cut to 100 characters.
void StoreFormula(TPlotDocument& document, TFormulaSlot slot, const std::string& text);
