#include "model/ModeLayout.h"

#include "texts/Texts.h"

#include <vector>

namespace {

// --- where the document's values are shown

// The field of each document number, in index order.
constexpr int NumberFields[DocumentNumberCount] = {
    3,  4,  5,  5,  23, 24, 25, 26, 23, 24, 25, 26, // y(x): angle range, steps, two views
    3,  4,  5,  3,  4,  5,                          // x(t),y(t): cartesian and polar t
    23, 24, 25, 26, 23, 24, 25, 26,                 // x(t),y(t): two views
    3,  4,  5,  8,  9,  10,                         // z(x,y)
    11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, // F(x,y,z)=0, row by row
    3,  4,  5,                                      // x(t),y(t),z(t)
    3,  4,  5,  8,  9,  10,                         // x(u,v),y(u,v),z(u,v)
};

// The field of each formula slot.
constexpr int FormulaFields[DocumentFormulaCount] = {2, 6, 7, 2, 6, 7, 2, 6, 7, 7};

// How a number's field is named in a message, in index order.
// clang-format off
constexpr const char* NumberPlaces[DocumentNumberCount] = {
    "min Fi", "max Fi", QT_TRANSLATE_NOOP("ModeLayout", "Шаг"), QT_TRANSLATE_NOOP("ModeLayout", "Шаг"),
    "y2", "y1", "x2", "x1",
    "y2", "y1", "x2", "x1",
    "min T", "max T", QT_TRANSLATE_NOOP("ModeLayout", "Шаг"), "min T",
    "max T", QT_TRANSLATE_NOOP("ModeLayout", "Шаг"), "y2", "y1",
    "x2", "x1", "y2", "y1",
    "x2", "x1", "min (X)", "max (X)",
    QT_TRANSLATE_NOOP("ModeLayout", "Шаг (X)"), "min (Y)", "max (Y)", QT_TRANSLATE_NOOP("ModeLayout", "Шаг (Y)"),
    "min (X)", "max (X)", QT_TRANSLATE_NOOP("ModeLayout", "шаг1 (X)"), QT_TRANSLATE_NOOP("ModeLayout", "шаг2 (X)"),
    "min (Y)", "max (Y)", QT_TRANSLATE_NOOP("ModeLayout", "шаг1 (Y)"), QT_TRANSLATE_NOOP("ModeLayout", "шаг2 (Y)"),
    "min (Z)", "max (Z)", QT_TRANSLATE_NOOP("ModeLayout", "шаг1 (Z)"), QT_TRANSLATE_NOOP("ModeLayout", "шаг2 (Z)"),
    "min T", "max T", QT_TRANSLATE_NOOP("ModeLayout", "Шаг"), "min (U)",
    "max (U)", QT_TRANSLATE_NOOP("ModeLayout", "Шаг (U)"), "min (V)", "max (V)",
    QT_TRANSLATE_NOOP("ModeLayout", "Шаг (V)"),
};
// clang-format on

constexpr const char* FormulaPlaces[DocumentFormulaCount] = {
    "x(t)=", "y(t)=",   "z=",      "x(t)=",   "y(t)=",
    "z(t)=", "x(u,v)=", "y(u,v)=", "z(u,v)=", "F(x,y,z)="};

const char* ModeName(TPlotMode mode) {
    switch (mode) {
    case pmYx:
        return "y(x)";
    case pmSurface:
        return "z(x,y)";
    case pmPlane:
        return "x(t),y(t)";
    case pmCurve:
        return "x(t),y(t),z(t)";
    case pmPatch:
        return "x(u,v),y(u,v),z(u,v)";
    case pmImplicit:
        return "F(x,y,z)=0";
    }
    return "";
}

// --- the layouts of the six modes

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

// Label19 ... Label26, Edit23 ... Edit26, CheckBox6, CheckBox7 and the area.
#define PLOT_AREA                                                                                  \
    L(19), L(20), L(21), L(22), L(23), L(24), L(25), L(26), E(23), E(24), E(25), E(26), C(6),      \
        C(7), PaintBox1

constexpr TControl YxShow[] = {R(1), R(2), L(1), L(2), L(3),      L(4), L(5),
                               L(6), E(1), E(5), B(1), B(2),      B(3), B(4),
                               B(5), B(6), B(7), C(1), ComboBox1, C(9), PLOT_AREA};
constexpr int YxClear[] = {1};
constexpr TCaption YxCaptions[] = {{1, ""},
                                   {2, "x0="},
                                   {3, QT_TRANSLATE_NOOP("ModeLayout", "Формула y=")},
                                   {6, QT_TRANSLATE_NOOP("ModeLayout", "Шаг")}};
constexpr TMenuItem YxMenu[] = {TMenuItem::N2Dyx};

constexpr TControl SurfaceShow[] = {L(3), L(4), L(5), L(6), L(10), L(11), B(8), E(3),
                                    E(4), E(5), E(7), E(8), E(9),  E(10), C(2)};
constexpr TCaption SurfaceCaptions[] = {
    {3, QT_TRANSLATE_NOOP("ModeLayout", "Формула z=")}, {4, "min"}, {5, "max"},
    {6, QT_TRANSLATE_NOOP("ModeLayout", "Шаг")},        {10, "X"},  {11, "Y"}};
constexpr TMenuItem SurfaceMenu[] = {TMenuItem::N3Dzxy};

constexpr TControl PlaneShow[] = {R(1), R(2), E(2), E(3), E(4), E(5), E(6), L(4),
                                  L(5), L(6), L(7), L(8), B(2), B(3), B(4), PLOT_AREA};
constexpr TCaption PlaneCaptions[] = {{4, "min T"},
                                      {5, "max T"},
                                      {6, QT_TRANSLATE_NOOP("ModeLayout", "Шаг")},
                                      {7, "x(t)="},
                                      {8, "y(t)="}};
constexpr TMenuItem PlaneMenu[] = {TMenuItem::N9, TMenuItem::N2Dxyt};

constexpr TControl CurveShow[] = {E(2), E(3), E(4), E(5), E(6), E(7), L(4),
                                  L(5), L(6), L(7), L(8), L(9), B(9), C(2)};
constexpr TCaption CurveCaptions[] = {
    {4, "min T"}, {5, "max T"}, {6, QT_TRANSLATE_NOOP("ModeLayout", "Шаг")},
    {7, "x(t)="}, {8, "y(t)="}, {9, "z(t)="}};
constexpr TMenuItem CurveMenu[] = {TMenuItem::N9, TMenuItem::N3Dxyzt};

constexpr TControl PatchShow[] = {E(2), E(3), E(4), E(5), E(6), E(7),  E(8),  E(9),  E(10), L(4),
                                  L(5), L(6), L(7), L(8), L(9), L(10), L(11), B(10), C(2)};
constexpr TCaption PatchCaptions[] = {
    {4, "min"},     {5, "max"},     {6, QT_TRANSLATE_NOOP("ModeLayout", "Шаг")},
    {7, "x(u,v)="}, {8, "y(u,v)="}, {9, "z(u,v)="},
    {10, "U"},      {11, "V"}};
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

constexpr TCaption YxCartCaptions[] = {{2, "x0="},
                                       {3, QT_TRANSLATE_NOOP("ModeLayout", "Формула y=")}};
constexpr TControl YxCartShow[] = {C(9)};
constexpr TControl YxCartHide[] = {L(4), L(5), E(3), E(4)};
constexpr TCaption YxPolarCaptions[] = {
    {2, "fi0="}, {3, QT_TRANSLATE_NOOP("ModeLayout", "Формула r=")}, {4, "min Fi"}, {5, "max Fi"}};
constexpr TControl PolarShow[] = {L(4), L(5), E(3), E(4)};
constexpr TControl YxPolarHide[] = {C(9)};
constexpr TCaption PlaneCartCaptions[] = {
    {2, "x0="}, {3, QT_TRANSLATE_NOOP("ModeLayout", "Формула y=")}, {7, "x(t)="}, {8, "y(t)="}};
constexpr TCaption PlanePolarCaptions[] = {
    {2, "fi0="}, {3, QT_TRANSLATE_NOOP("ModeLayout", "Формула r=")}, {7, "fi(t)="}, {8, "r(t)="}};

const TCoordinateLayout YxCartLayout{"y(x0)=", YxCartCaptions, YxCartShow, YxCartHide};
const TCoordinateLayout YxPolarLayout{"r(fi0)=", YxPolarCaptions, PolarShow, YxPolarHide};
const TCoordinateLayout PlaneCartLayout{"y(x0)=", PlaneCartCaptions, {}, {}};
const TCoordinateLayout PlanePolarLayout{"r(fi0)=", PlanePolarCaptions, PolarShow, {}};

} // namespace

int FieldOf(TDocValue value) {
    return value.IsFormula ? FormulaFields[value.Index] : NumberFields[value.Index];
}

std::span<const TNumericField> NumericFields() {
    // Every field that shows numbers, with the role of its numbers (a field
    // shows numbers of one role in every mode).
    static const std::vector<TNumericField> fields = [] {
        std::vector<TNumericField> byEdit;
        for (int edit = 1; edit <= 26; ++edit)
            for (int index = 0; index < DocumentNumberCount; ++index)
                if (NumberFields[index] == edit) {
                    byEdit.push_back({edit, NumberRole(static_cast<TNumberIndex>(index))});
                    break;
                }
        return byEdit;
    }();
    return fields;
}

std::string FieldPlace(TDocValue value, TPlotMode mode) {
    const char* field = value.IsFormula ? FormulaPlaces[value.Index] : NumberPlaces[value.Index];
    return texts::Fill(texts::Translate("ModeLayout", "%1, режим %2"),
                       {texts::Translate("ModeLayout", field), ModeName(mode)});
}

std::vector<TDocValue> ValuesOfMode(int mode, TCoordinates coords) {
    if (!IsPlotMode(mode)) return {};
    const TParameterSet set = ParameterSet(static_cast<TPlotMode>(mode), coords);
    std::vector<TDocValue> all(set.Shared.begin(), set.Shared.end());
    all.insert(all.end(), set.Own.begin(), set.Own.end());
    return all;
}

std::optional<TDocValue> ValueOfField(int mode, TCoordinates coords, int edit) {
    for (const TDocValue& v : ValuesOfMode(mode, coords))
        if (FieldOf(v) == edit) return v;
    return std::nullopt;
}

std::string FormulaCaption(int slot) {
    return slot >= 0 && slot < DocumentFormulaCount ? FormulaPlaces[slot] : "";
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
