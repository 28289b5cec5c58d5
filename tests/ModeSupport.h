// The six modes and their parameter sets, for the tests of the mode table
// and of the window's layout.
#pragma once

#include "document/ModeTable.h"

#include <vector>

inline constexpr TPlotMode Modes[] = {pmYx, pmSurface, pmPlane, pmCurve, pmPatch, pmImplicit};
inline constexpr TCoordinates BothCoordinates[] = {TCoordinates::Cartesian, TCoordinates::Polar};

inline bool HasCoordinates(TPlotMode m) {
    return m == pmYx || m == pmPlane;
}

// The values of a mode in one coordinate system: the shared ones, then its own.
inline std::vector<TDocValue> Values(TPlotMode m, TCoordinates c) {
    const TParameterSet set = ParameterSet(m, c);
    std::vector<TDocValue> all(set.Shared.begin(), set.Shared.end());
    all.insert(all.end(), set.Own.begin(), set.Own.end());
    return all;
}
