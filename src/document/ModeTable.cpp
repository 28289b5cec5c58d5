#include "document/ModeTable.h"

#include <array>

namespace {

constexpr TControl L(int n) {
    return {TControlKind::Label, n};
}
constexpr TControl E(int n) {
    return {TControlKind::Edit, n};
}
constexpr TControl B(int n) {
    return {TControlKind::Button, n};
}
constexpr TControl C(int n) {
    return {TControlKind::CheckBox, n};
}
constexpr TControl R(int n) {
    return {TControlKind::RadioButton, n};
}
constexpr TControl ComboBox1{TControlKind::ComboBox, 1};
constexpr TControl PaintBox1{TControlKind::PaintBox, 1};
constexpr TControl EquallyBox{TControlKind::Equally, 1};

constexpr TFieldBinding Num(int edit, TNumberIndex index) {
    return {edit, false, index};
}
constexpr TFieldBinding Text(int edit, TFormulaSlot slot) {
    return {edit, true, slot};
}

// --- the parameter sets, in the order of capture

constexpr TFieldBinding YxShared[] = {Num(3, YxPhiMin), Num(4, YxPhiMax)};
constexpr TFieldBinding YxCart[] = {Num(5, YxCartStep), Num(23, YxCartY2), Num(24, YxCartY1),
                                    Num(25, YxCartX2), Num(26, YxCartX1)};
constexpr TFieldBinding YxPolar[] = {Num(5, YxPolarStep), Num(23, YxPolarY2), Num(24, YxPolarY1),
                                     Num(25, YxPolarX2), Num(26, YxPolarX1)};

constexpr TFieldBinding PlaneShared[] = {Text(2, fsPlaneX), Text(6, fsPlaneY)};
constexpr TFieldBinding PlaneCart[] = {
    Num(3, PlaneCartTMin), Num(4, PlaneCartTMax), Num(5, PlaneCartTStep), Num(23, PlaneCartY2),
    Num(24, PlaneCartY1),  Num(25, PlaneCartX2),  Num(26, PlaneCartX1)};
constexpr TFieldBinding PlanePolar[] = {
    Num(3, PlanePolarTMin), Num(4, PlanePolarTMax), Num(5, PlanePolarTStep), Num(23, PlanePolarY2),
    Num(24, PlanePolarY1),  Num(25, PlanePolarX2),  Num(26, PlanePolarX1)};

constexpr TFieldBinding Surface[] = {Text(7, fsSurfaceZ), Num(3, SurfXMin), Num(4, SurfXMax),
                                     Num(5, SurfXStep),   Num(8, SurfYMin), Num(9, SurfYMax),
                                     Num(10, SurfYStep)};

constexpr TFieldBinding Curve[] = {Text(2, fsCurveX), Text(6, fsCurveY), Text(7, fsCurveZ),
                                   Num(3, CurveTMin), Num(4, CurveTMax), Num(5, CurveTStep)};

constexpr TFieldBinding Patch[] = {Text(2, fsPatchX), Text(6, fsPatchY), Text(7, fsPatchZ),
                                   Num(3, PatchUMin), Num(4, PatchUMax), Num(5, PatchUStep),
                                   Num(8, PatchVMin), Num(9, PatchVMax), Num(10, PatchVStep)};

// Edit11 ... Edit22 hold the implicit surface's twelve numbers in index order.
constexpr auto Implicit = [] {
    std::array<TFieldBinding, 13> set{};
    set[0] = Text(7, fsImplicitF);
    for (int k = 0; k < 12; ++k)
        set[1 + k] = Num(11 + k, static_cast<TNumberIndex>(ImplXMin + k));
    return set;
}();

// --- the layouts of the six modes

// Label19 ... Label26, Edit23 ... Edit26, CheckBox6, CheckBox7 and the area.
#define PLOT_AREA                                                                                  \
    L(19), L(20), L(21), L(22), L(23), L(24), L(25), L(26), E(23), E(24), E(25), E(26), C(6),      \
        C(7), PaintBox1

constexpr TControl YxShow[] = {R(1), R(2), L(1), L(2), L(3),      L(4), L(5),
                               L(6), E(1), E(5), B(1), B(2),      B(3), B(4),
                               B(5), B(6), B(7), C(1), ComboBox1, C(9), PLOT_AREA};
constexpr int YxClear[] = {1};
constexpr TCaption YxCaptions[] = {{1, ""}, {2, "x0="}, {3, "Формула y="}, {6, "Шаг"}};
constexpr TMenuItem YxMenu[] = {TMenuItem::N2Dyx};

constexpr TControl SurfaceShow[] = {L(3), L(4), L(5), L(6), L(10), L(11), B(8), E(3),
                                    E(4), E(5), E(7), E(8), E(9),  E(10), C(2)};
constexpr TCaption SurfaceCaptions[] = {{3, "Формула z="}, {4, "min"}, {5, "max"},
                                        {6, "Шаг"},        {10, "X"},  {11, "Y"}};
constexpr TMenuItem SurfaceMenu[] = {TMenuItem::N3Dzxy};

constexpr TControl PlaneShow[] = {R(1), R(2), E(2), E(3), E(4), E(5), E(6), L(4),
                                  L(5), L(6), L(7), L(8), B(2), B(3), B(4), PLOT_AREA};
constexpr TCaption PlaneCaptions[] = {
    {4, "min T"}, {5, "max T"}, {6, "Шаг"}, {7, "x(t)="}, {8, "y(t)="}};
constexpr TMenuItem PlaneMenu[] = {TMenuItem::N9, TMenuItem::N2Dxyt};

constexpr TControl CurveShow[] = {E(2), E(3), E(4), E(5), E(6), E(7), L(4),
                                  L(5), L(6), L(7), L(8), L(9), B(9), C(2)};
constexpr TCaption CurveCaptions[] = {{4, "min T"}, {5, "max T"}, {6, "Шаг"},
                                      {7, "x(t)="}, {8, "y(t)="}, {9, "z(t)="}};
constexpr TMenuItem CurveMenu[] = {TMenuItem::N9, TMenuItem::N3Dxyzt};

constexpr TControl PatchShow[] = {E(2), E(3), E(4), E(5), E(6), E(7),  E(8),  E(9),  E(10), L(4),
                                  L(5), L(6), L(7), L(8), L(9), L(10), L(11), B(10), C(2)};
constexpr TCaption PatchCaptions[] = {{4, "min"},     {5, "max"},     {6, "Шаг"}, {7, "x(u,v)="},
                                      {8, "y(u,v)="}, {9, "z(u,v)="}, {10, "U"},  {11, "V"}};
constexpr TMenuItem PatchMenu[] = {TMenuItem::N9, TMenuItem::N3Dxyzuv};

constexpr TControl ImplicitShow[] = {L(3),  L(12), L(13), L(14), L(15), L(16),     L(17),
                                     L(18), E(7),  E(11), E(12), E(13), E(14),     E(15),
                                     E(16), E(17), E(18), E(19), E(20), E(21),     E(22),
                                     B(11), C(3),  C(4),  C(5),  C(8),  EquallyBox};
constexpr TCaption ImplicitCaptions[] = {{3, " 0 = F(x,y,z) ="}};
constexpr TMenuItem ImplicitMenu[] = {TMenuItem::N3DFxyz};

#undef PLOT_AREA

const TModeLayout Layouts[] = {
    {pmYx, true, YxShow, YxClear, YxCaptions, YxMenu},
    {pmSurface, false, SurfaceShow, {}, SurfaceCaptions, SurfaceMenu},
    {pmPlane, true, PlaneShow, {}, PlaneCaptions, PlaneMenu},
    {pmCurve, false, CurveShow, {}, CurveCaptions, CurveMenu},
    {pmPatch, false, PatchShow, {}, PatchCaptions, PatchMenu},
    {pmImplicit, false, ImplicitShow, {}, ImplicitCaptions, ImplicitMenu},
};

// --- the coordinate switch

constexpr TCaption YxCartCaptions[] = {{2, "x0="}, {3, "Формула y="}};
constexpr TControl YxCartShow[] = {C(9)};
constexpr TControl YxCartHide[] = {L(4), L(5), E(3), E(4)};
constexpr TCaption YxPolarCaptions[] = {
    {2, "fi0="}, {3, "Формула r="}, {4, "min Fi"}, {5, "max Fi"}};
constexpr TControl PolarShow[] = {L(4), L(5), E(3), E(4)};
constexpr TControl YxPolarHide[] = {C(9)};
constexpr TCaption PlaneCartCaptions[] = {
    {2, "x0="}, {3, "Формула y="}, {7, "x(t)="}, {8, "y(t)="}};
constexpr TCaption PlanePolarCaptions[] = {
    {2, "fi0="}, {3, "Формула r="}, {7, "fi(t)="}, {8, "r(t)="}};

const TCoordinateLayout YxCartLayout{"y(x0)=", YxCartCaptions, YxCartShow, YxCartHide};
const TCoordinateLayout YxPolarLayout{"r(fi0)=", YxPolarCaptions, PolarShow, YxPolarHide};
const TCoordinateLayout PlaneCartLayout{"y(x0)=", PlaneCartCaptions, {}, {}};
const TCoordinateLayout PlanePolarLayout{"r(fi0)=", PlanePolarCaptions, PolarShow, {}};

} // namespace

bool IsPlotMode(int code) {
    return code >= pmYx && code <= pmImplicit;
}

TParameterSet ParameterSet(TPlotMode mode, TCoordinates coords) {
    const bool polar = coords == TCoordinates::Polar;
    switch (mode) {
    case pmYx:
        return {YxShared, polar ? std::span<const TFieldBinding>(YxPolar) : YxCart};
    case pmPlane:
        return {PlaneShared, polar ? std::span<const TFieldBinding>(PlanePolar) : PlaneCart};
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

const TModeLayout* ModeLayout(int code) {
    for (const auto& layout : Layouts)
        if (layout.Mode == code) return &layout;
    return nullptr;
}

const TCoordinateLayout& CoordinateLayout(TPlotMode mode, TCoordinates coords) {
    const bool polar = coords == TCoordinates::Polar;
    if (mode == pmPlane) return polar ? PlanePolarLayout : PlaneCartLayout;
    return polar ? YxPolarLayout : YxCartLayout;
}
