// The 3D picture of a mode, built from what a picture is made of: the one
// place that knows which builder a mode takes. The window's build buttons,
// its animation and its reopened files, and the command line's export all
// come here.
#pragma once

#include "document/PlotInput.h"

class TScanProgress;

struct TModeBuild {
    bool Built = false;   // false: nothing to build (no formula), nothing changed
    bool AtBound = false; // the implicit scan stopped at the bound on points
};

// Runs the builder of `mode` on `input`: the surface z(x,y), the space
// curve, the parametric surface, or the scan of F(x,y,z)=0, which tells
// `progress` how far it is. A 2D mode, or none, builds nothing. Throws as
// the builders do.
TModeBuild BuildModePicture(int mode, const TPlotInput& input, TScanProgress& progress);
