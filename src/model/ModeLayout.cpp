#include "model/ModeLayout.h"

#include "texts/Texts.h"

#include <QtGlobal>

#include <algorithm>
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

namespace {

using K = TControlKind;

const TControlPlace Places[] = {
    {K::Label, 1, 144, 20, 100, 13, "", nullptr, Fixed},
    {K::Label, 2, 8, 20, 17, 13, "x0=", nullptr, Right},
    {K::Label, 3, 0, 58, 62, 13, QT_TRANSLATE_NOOP("TForm1", "Формула y="), nullptr, 0},
    {K::Label, 4, 279, 0, 26, 13, "min X", nullptr, Hidden},
    {K::Label, 5, 330, 0, 29, 13, "max X", nullptr, Hidden},
    {K::Label, 6, 402, 0, 20, 13, QT_TRANSLATE_NOOP("TForm1", "Шаг"), nullptr, 0},
    {K::Label, 7, 40, 8, 20, 13, "x(t)=", nullptr, Hidden | Right},
    {K::Label, 8, 40, 33, 20, 13, "y(t)=", nullptr, Hidden | Right},
    {K::Label, 9, 40, 58, 20, 13, "z(t)=", nullptr, Hidden | Right},
    {K::Label, 10, 264, 17, 8, 13, "U", nullptr, Hidden},
    {K::Label, 11, 264, 45, 7, 13, "V", nullptr, Hidden},
    {K::Label, 12, 142, 139, 7, 13, "X", nullptr, Hidden},
    {K::Label, 13, 142, 168, 7, 13, "Y", nullptr, Hidden},
    {K::Label, 14, 142, 196, 7, 13, "Z", nullptr, Hidden},
    {K::Label, 15, 165, 120, 16, 13, "min", nullptr, Hidden},
    {K::Label, 16, 209, 120, 19, 13, "max", nullptr, Hidden},
    {K::Label, 17, 253, 120, 25, 13, QT_TRANSLATE_NOOP("TForm1", "шаг1"),
     QT_TRANSLATE_NOOP("TForm1", "между точками линии уровня"), Hidden},
    {K::Label, 18, 297, 120, 25, 13, QT_TRANSLATE_NOOP("TForm1", "шаг2"),
     QT_TRANSLATE_NOOP("TForm1", "между линиями уровня"), Hidden},
    {K::Label, 19, 78, 504, 11, 13, "x1", nullptr, 0},
    {K::Label, 20, 360, 504, 11, 13, "x2", nullptr, 0},
    {K::Label, 21, 462, 458, 12, 13, "y1", nullptr, 0},
    {K::Label, 22, 462, 120, 12, 13, "y2", nullptr, 0},
    {K::Label, 23, 165, 504, 13, 13, "X=", nullptr, 0},
    {K::Label, 24, 237, 504, 13, 13, "Y=", nullptr, 0},
    {K::Label, 25, 181, 504, 3, 13, "", nullptr, 0},
    {K::Label, 26, 253, 504, 3, 13, "", nullptr, 0},
    {K::PaintBox, 1, 24, 97, 400, 400, nullptr, nullptr, 0},
    {K::Edit, 1, 24, 16, 73, 21, "", nullptr, 0},
    {K::Button, 1, 104, 14, 33, 25, "y(x0)=", nullptr, 0},
    {K::Edit, 2, 64, 4, 193, 21, "", nullptr, Hidden},
    {K::Edit, 6, 64, 29, 193, 21, "", nullptr, Hidden},
    {K::Edit, 7, 64, 54, 193, 21, "", nullptr, Hidden},
    {K::ComboBox, 1, 64, 54, 193, 21, nullptr, nullptr, 0},
    {K::CheckBox, 1, 7, 74, 49, 17, QT_TRANSLATE_NOOP("TForm1", "Все"), nullptr, 0},
    {K::Button, 5, 64, 78, 65, 17, QT_TRANSLATE_NOOP("TForm1", "добавить"), nullptr, 0},
    {K::Button, 6, 128, 78, 65, 17, QT_TRANSLATE_NOOP("TForm1", "удалить"), nullptr, 0},
    {K::Button, 7, 192, 78, 65, 17, QT_TRANSLATE_NOOP("TForm1", "очистить"), nullptr, 0},
    {K::Edit, 3, 272, 13, 41, 21, "0", nullptr, Hidden},
    {K::Edit, 4, 324, 13, 41, 21, "0", nullptr, Hidden},
    {K::Edit, 5, 392, 13, 41, 21, "0", nullptr, 0},
    {K::Edit, 8, 272, 41, 41, 21, "0", nullptr, Hidden},
    {K::Edit, 9, 324, 41, 41, 21, "0", nullptr, Hidden},
    {K::Edit, 10, 392, 41, 41, 21, "0", nullptr, Hidden},
    {K::CheckBox, 9, 435, 15, 15, 17, "", QT_TRANSLATE_NOOP("TForm1", "Минимальный шаг"), 0},
    {K::Button, 2, 272, 52, 161, 25, QT_TRANSLATE_NOOP("TForm1", "Построить график"), nullptr, 0},
    {K::Button, 9, 272, 52, 161, 25, QT_TRANSLATE_NOOP("TForm1", "Построить 3D кривую"), nullptr,
     Hidden},
    {K::Button, 8, 272, 68, 161, 25, QT_TRANSLATE_NOOP("TForm1", "Построить поверхность"), nullptr,
     Hidden},
    {K::Button, 10, 272, 68, 161, 25, QT_TRANSLATE_NOOP("TForm1", "Построить поверхность"), nullptr,
     Hidden},
    {K::Button, 11, 272, 68, 161, 25, QT_TRANSLATE_NOOP("TForm1", "Построить поверхность"), nullptr,
     Hidden},
    {K::Button, 3, 434, 48, 17, 17, "+", nullptr, 0},
    {K::Button, 4, 434, 64, 17, 17, "-", nullptr, 0},
    {K::RadioButton, 1, 296, 80, 57, 17, QT_TRANSLATE_NOOP("TForm1", "декарт"), nullptr, Checked},
    {K::RadioButton, 2, 360, 80, 52, 17, QT_TRANSLATE_NOOP("TForm1", "поляр"), nullptr, 0},
    {K::CheckBox, 2, 100, 79, 121, 17, QT_TRANSLATE_NOOP("TForm1", "траектория камеры"),
     QT_TRANSLATE_NOOP("TForm1", "поместить камеру на траекторию x(t),y(t),z(t)"), Hidden},
    // The rows of the implicit surface: min, max, шаг1, шаг2 of X, Y and Z;
    // the rows Y and Z follow X while "Equally" is on.
    {K::Edit, 11, 153, 135, 41, 21, "0", nullptr, Hidden},
    {K::Edit, 12, 198, 135, 41, 21, "0", nullptr, Hidden},
    {K::Edit, 13, 244, 135, 41, 21, "0", nullptr, Hidden},
    {K::Edit, 14, 289, 135, 41, 21, "0", nullptr, Hidden},
    {K::Edit, 15, 153, 164, 41, 21, "0", nullptr, Hidden | Disabled},
    {K::Edit, 16, 198, 164, 41, 21, "0", nullptr, Hidden | Disabled},
    {K::Edit, 17, 244, 164, 41, 21, "0", nullptr, Hidden | Disabled},
    {K::Edit, 18, 289, 164, 41, 21, "0", nullptr, Hidden | Disabled},
    {K::Edit, 19, 153, 192, 41, 21, "0", nullptr, Hidden | Disabled},
    {K::Edit, 20, 198, 192, 41, 21, "0", nullptr, Hidden | Disabled},
    {K::Edit, 21, 244, 192, 41, 21, "0", nullptr, Hidden | Disabled},
    {K::Edit, 22, 289, 192, 41, 21, "0", nullptr, Hidden | Disabled},
    {K::CheckBox, 3, 121, 137, 15, 17, "",
     QT_TRANSLATE_NOOP("TForm1", "линии уровня перпендикулярно оси X"), Hidden | Checked},
    {K::CheckBox, 4, 121, 166, 15, 17, "",
     QT_TRANSLATE_NOOP("TForm1", "линии уровня перпендикулярно оси Y"), Hidden | Checked},
    {K::CheckBox, 5, 121, 194, 15, 17, "",
     QT_TRANSLATE_NOOP("TForm1", "линии уровня перпендикулярно оси Z"), Hidden | Checked},
    {K::Equally, 1, 158, 224, 65, 17, "Equally", nullptr, Hidden | Checked},
    {K::CheckBox, 8, 232, 224, 97, 17, QT_TRANSLATE_NOOP("TForm1", "Центрировать"), nullptr,
     Hidden},
    // The 2D view; y2 follows x1, x2 and y1 while the scales are equal.
    {K::Edit, 23, 424, 97, 50, 21, "", nullptr, Disabled},
    {K::Edit, 24, 424, 476, 50, 21, "", nullptr, 0},
    {K::Edit, 25, 375, 496, 50, 21, "", nullptr, 0},
    {K::Edit, 26, 24, 496, 50, 21, "", nullptr, 0},
    {K::CheckBox, 6, 429, 120, 15, 17, "", QT_TRANSLATE_NOOP("TForm1", "Равные масштабы"), Checked},
    {K::CheckBox, 7, 7, 289, 15, 17, "", QT_TRANSLATE_NOOP("TForm1", "Вспомогательная сетка"),
     Checked},
};

} // namespace

TControlPlace GrownPlace(const TControlPlace& place, int dw, int dh) {
    TControlPlace grown = place;
    if (place.Kind == TControlKind::PaintBox) {
        grown.W += dw;
        grown.H += dh;
        return grown;
    }
    constexpr int PlotTop = 97, RightFrom = 300, DownFrom = 297;
    if (place.X >= RightFrom && place.Y >= PlotTop) grown.X += dw;
    if (place.Y >= DownFrom) grown.Y += dh;
    return grown;
}

std::span<const TControlPlace> ControlPlaces() {
    return Places;
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

bool LayoutShows(int mode, TControl control) {
    const TModeLayout* layout = ModeLayout(mode);
    if (layout == nullptr) return false;
    if (control.Kind == TControlKind::RadioButton) return layout->CoordinateSwitch;
    return std::find(layout->Show.begin(), layout->Show.end(), control) != layout->Show.end();
}

const TCoordinateLayout& CoordinateLayout(TPlotMode mode, TCoordinates coords) {
    const bool polar = coords == TCoordinates::Polar;
    if (mode == pmPlane) return polar ? PlanePolarLayout : PlaneCartLayout;
    return polar ? YxPolarLayout : YxCartLayout;
}
