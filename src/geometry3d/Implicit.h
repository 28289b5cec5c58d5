// The implicit surface F(x,y,z) = 0, shown as points of its level lines: the
// curves in which it cuts three families of planes, perpendicular to the X,
// Y and Z axes. Each plane is scanned along a grid of lines in both
// directions; where F changes sign between two neighbouring samples, or is
// zero at a sample, a point is recorded.
#pragma once

#include "document/PlotInput.h"
#include "geometry3d/Buffers.h"

#include <cstdint>
#include <string>

// One axis row of the fields: its range, the spacing of the samples along a
// level line (Step1) and the spacing of the planes (Step2).
struct TAxisRow {
    double Min, Max, Step1, Step2;
};

enum TLevelFamily { lfX = 0, lfY = 1, lfZ = 2 }; // the axis the planes are perpendicular to

struct TImplicitRequest {
    std::string Formula;
    TAxisRow Rows[3]; // X, Y, Z
    bool Families[3] = {true, true, true};
    bool Centre = false;      // centre on the middle of the three ranges
    bool RowsFollowX = false; // "Equally": the rows Y and Z repeat X
};

// The scan of the input's implicit surface: its formula, rows, families and
// centring.
TImplicitRequest ImplicitRequest(const TPlotInput& input);

// What the scan tells while it runs, and how it learns that it should stop.
class TScanProgress {
  public:
    virtual ~TScanProgress() = default;
    virtual void Start() {}
    // After each plane: its share of the bar (weight 1/3 of step / range of
    // the normal axis). Pending events may run here. True stops the scan
    // after this plane.
    virtual bool Plane(double weight, double step, double rangeMax, double rangeMin) = 0;
    // After each line of a plane: the share of the whole scan done, from 0
    // to 1, so that a slow plane shows its progress too.
    virtual void Line(double /*done*/) {}
    virtual void End() {}
};

// The scan runs while this holds: nothing may compile or free the formula
// trees until it has ended.
extern bool LevelScanRunning;

struct TLevelResult {
    bool Built = false;   // false: an empty formula, nothing changed
    bool Stopped = false; // cancelled, or stopped at the bound on points
    bool AtBound = false; // stopped because MaxVertices points were found
};

// Scans the checked families in the order X, Y, Z into LevelPoints and
// colours the points (p = z + x, q = z + y). While it runs, the buffer is
// empty and LevelPointCount is 0; the points found, also after a stop, are
// in place when it returns. Refused with BuildRefused before anything
// changes: a step along a line (Step1) or between planes (Step2) of a row in
// use that is not above zero, and a plane of more than MaxVertices samples.
// A malformed number in the formula throws ConversionError.
TLevelResult BuildLevelPoints(const TImplicitRequest& request, TScanProgress& progress);

// How many times the scan would evaluate the formula: for each checked
// family, its planes times the samples of both grids of lines in a plane.
long double ImplicitSampleCount(const TImplicitRequest& request);

// The roles of the axes in a family: the normal N, the first in-plane axis P
// and the second one Q, along which each line of a plane is sampled.
struct TFamilyRoles {
    int N, P, Q; // indices of the X, Y, Z rows
};
TFamilyRoles FamilyRoles(TLevelFamily family);
