#include "geometry3d/ModePicture.h"

#include "geometry3d/Builders.h"
#include "geometry3d/Implicit.h"

TModeBuild BuildModePicture(int mode, const TPlotInput& input, TScanProgress& progress) {
    switch (mode) {
    case pmSurface: {
        const TSurfaceRequest r = SurfaceRequest(input.Document);
        return {BuildSurfaceZxy(r.Formula, r.Ranges), false};
    }
    case pmCurve: {
        const TCurveRequest r = CurveRequest(input.Document);
        return {BuildCurve3D(r.X, r.Y, r.Z, r.TMin, r.TMax, r.TStep), false};
    }
    case pmPatch: {
        const TPatchRequest r = PatchRequest(input.Document);
        return {BuildParametricSurface(r.X, r.Y, r.Z, r.Ranges), false};
    }
    case pmImplicit: {
        const TLevelResult result = BuildLevelPoints(ImplicitRequest(input), progress);
        return {result.Built, result.AtBound};
    }
    default:
        return {};
    }
}
