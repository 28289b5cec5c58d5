// Which document values each of the six modes uses, in the order they are
// captured, and the role each number plays. Where the values are shown in a
// window is the window's business.
#pragma once

#include "document/PlotDocument.h"

#include <span>

// A formula slot (TFormulaSlot) or a number (TNumberIndex) of the document.
struct TDocValue {
    bool IsFormula;
    int Index;
    bool operator==(const TDocValue&) const = default;
};

// The values of a mode, in the order they are captured: first those both
// coordinate systems share, then those of one coordinate system (for the
// modes without coordinates, Own is empty). Formulas come before numbers.
struct TParameterSet {
    std::span<const TDocValue> Shared;
    std::span<const TDocValue> Own;
};

// The values of `mode` in coordinates `coords` (ignored by the 3D modes).
TParameterSet ParameterSet(TPlotMode mode, TCoordinates coords);

// What a number is, which says how its text is made usable before a build.
enum class TNumberRole {
    Range,     // a minimum or maximum: a plain number
    Step,      // a sampling step: a plain number, made non-negative
    LineStep,  // шаг1 of an implicit row: a plain number
    PlaneStep, // шаг2 of an implicit row: made non-negative
    View,      // an edge of the 2D view: evaluated only
};
TNumberRole NumberRole(TNumberIndex index);

// A number of this role whose text is no plain number is reset to 0.
bool IsSanitised(TNumberRole role);
// A number of this role below zero takes its absolute value.
bool IsNonNegative(TNumberRole role);
