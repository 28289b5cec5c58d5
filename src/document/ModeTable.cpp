#include "document/ModeTable.h"

#include <array>

namespace {

constexpr TDocValue Num(TNumberIndex index) {
    return {false, index};
}
constexpr TDocValue Text(TFormulaSlot slot) {
    return {true, slot};
}

constexpr TDocValue YxShared[] = {Num(YxPhiMin), Num(YxPhiMax)};
constexpr TDocValue YxCart[] = {Num(YxCartStep), Num(YxCartY2), Num(YxCartY1), Num(YxCartX2),
                                Num(YxCartX1)};
constexpr TDocValue YxPolar[] = {Num(YxPolarStep), Num(YxPolarY2), Num(YxPolarY1), Num(YxPolarX2),
                                 Num(YxPolarX1)};

constexpr TDocValue PlaneShared[] = {Text(fsPlaneX), Text(fsPlaneY)};
constexpr TDocValue PlaneCart[] = {Num(PlaneCartTMin), Num(PlaneCartTMax), Num(PlaneCartTStep),
                                   Num(PlaneCartY2),   Num(PlaneCartY1),   Num(PlaneCartX2),
                                   Num(PlaneCartX1)};
constexpr TDocValue PlanePolar[] = {Num(PlanePolarTMin), Num(PlanePolarTMax), Num(PlanePolarTStep),
                                    Num(PlanePolarY2),   Num(PlanePolarY1),   Num(PlanePolarX2),
                                    Num(PlanePolarX1)};

constexpr TDocValue Surface[] = {Text(fsSurfaceZ), Num(SurfXMin), Num(SurfXMax), Num(SurfXStep),
                                 Num(SurfYMin),    Num(SurfYMax), Num(SurfYStep)};

constexpr TDocValue Curve[] = {Text(fsCurveX), Text(fsCurveY), Text(fsCurveZ),
                               Num(CurveTMin), Num(CurveTMax), Num(CurveTStep)};

constexpr TDocValue Patch[] = {Text(fsPatchX), Text(fsPatchY), Text(fsPatchZ),
                               Num(PatchUMin), Num(PatchUMax), Num(PatchUStep),
                               Num(PatchVMin), Num(PatchVMax), Num(PatchVStep)};

// The implicit surface's twelve numbers in index order.
constexpr auto Implicit = [] {
    std::array<TDocValue, 13> set{};
    set[0] = Text(fsImplicitF);
    for (int k = 0; k < 12; ++k)
        set[1 + k] = Num(static_cast<TNumberIndex>(ImplXMin + k));
    return set;
}();

} // namespace

TParameterSet ParameterSet(TPlotMode mode, TCoordinates coords) {
    const bool polar = coords == TCoordinates::Polar;
    switch (mode) {
    case pmYx:
        return {YxShared, polar ? std::span<const TDocValue>(YxPolar) : YxCart};
    case pmPlane:
        return {PlaneShared, polar ? std::span<const TDocValue>(PlanePolar) : PlaneCart};
    case pmSurface:
        return {Surface, {}};
    case pmCurve:
        return {Curve, {}};
    case pmPatch:
        return {Patch, {}};
    case pmImplicit:
        return {Implicit, {}};
    }
    return {};
}

TNumberRole NumberRole(TNumberIndex index) {
    switch (index) {
    case YxCartStep:
    case YxPolarStep:
    case PlaneCartTStep:
    case PlanePolarTStep:
    case SurfXStep:
    case SurfYStep:
    case CurveTStep:
    case PatchUStep:
    case PatchVStep:
        return TNumberRole::Step;
    case YxCartY2:
    case YxCartY1:
    case YxCartX2:
    case YxCartX1:
    case YxPolarY2:
    case YxPolarY1:
    case YxPolarX2:
    case YxPolarX1:
    case PlaneCartY2:
    case PlaneCartY1:
    case PlaneCartX2:
    case PlaneCartX1:
    case PlanePolarY2:
    case PlanePolarY1:
    case PlanePolarX2:
    case PlanePolarX1:
        return TNumberRole::View;
    case ImplXStep1:
    case ImplYStep1:
    case ImplZStep1:
        return TNumberRole::LineStep;
    case ImplXStep2:
    case ImplYStep2:
    case ImplZStep2:
        return TNumberRole::PlaneStep;
    default:
        return TNumberRole::Range;
    }
}

bool IsSanitised(TNumberRole role) {
    return role == TNumberRole::Range || role == TNumberRole::Step || role == TNumberRole::LineStep;
}

bool IsNonNegative(TNumberRole role) {
    return role == TNumberRole::Step || role == TNumberRole::PlaneStep;
}
