// The builders of the 3D pictures: each samples its formulas into its buffer
// and colours the vertices. They take the formula texts and the numbers of
// the ranges; which fields or document values those come from is the
// caller's business.
//
// Every builder first empties the slots of FormulaTrees and compiles its
// formulas into them (tsSurface, or tsX, tsY, tsZ), where they stay. An
// empty formula builds nothing (false, nothing changes). A malformed number
// in a formula throws ConversionError; a count that is negative or beyond
// MaxVertices throws BuildRefused. Both happen before the buffer or its
// counts change.
#pragma once

#include "document/Limits.h"
#include "document/PlotDocument.h"

#include <cstdint>
#include <string>

struct TGridRanges {
    double Min1, Max1, Step1; // x or u
    double Min2, Max2, Step2; // y or v
};

// What each 3D build of the document is made of: its formulas, as the
// document holds them, and the numbers of its ranges and steps.
struct TSurfaceRequest {
    std::string Formula;
    TGridRanges Ranges; // x and y
};
TSurfaceRequest SurfaceRequest(const TPlotDocument& document);

struct TCurveRequest {
    std::string X, Y, Z;
    double TMin, TMax, TStep;
};
TCurveRequest CurveRequest(const TPlotDocument& document);

struct TPatchRequest {
    std::string X, Y, Z;
    TGridRanges Ranges; // u and v
};
TPatchRequest PatchRequest(const TPlotDocument& document);

// Refuses (BuildRefused) a step that does not move the numbers of its range;
// `name` says which step it is ("Шаг по оси X"). A zero step takes one
// sample and passes.
void CheckStepMoves(double min, double max, double step, const std::string& name);

// The number of samples of a range: the quotient (max - min) / step in
// extended precision, rounded to the nearest integer (ties to even) or, with
// `truncate`, toward zero, plus one. A zero step (an infinite or undefined
// quotient) gives one sample. A negative count or more than MaxVertices
// samples throws BuildRefused; so does a quotient too large to count.
std::int32_t SampleCount(double min, double max, double step, bool truncate);

// The surface z(x,y), centred on the middle of the x and y ranges, coloured
// by height.
bool BuildSurfaceZxy(const std::string& z, const TGridRanges& xy);

// The space curve x(t), y(t), z(t) from tmin while its count lasts.
bool BuildCurve3D(const std::string& x, const std::string& y, const std::string& z, double tmin,
                  double tmax, double tstep);

// The surface x(u,v), y(u,v), z(u,v), where its formulas put it.
bool BuildParametricSurface(const std::string& x, const std::string& y, const std::string& z,
                            const TGridRanges& uv);
