// The six plot modes and, for each, which field of the main window holds
// which document number or formula, and what the window shows. The layout of
// a mode, the capture of its fields into the document and the switch between
// cartesian and polar coordinates all read these tables, so that a field's
// place in the document is written down once.
#pragma once

#include "document/PlotDocument.h"

#include <cstdint>
#include <span>

// The mode codes; the same numbers are stored in plot files.
enum TPlotMode : std::uint8_t {
    pmYx = 1,
    pmSurface = 2,
    pmPlane = 3,
    pmCurve = 4,
    pmPatch = 5,
    pmImplicit = 6,
};

// A code outside 1 ... 6 is no mode (the layout then shows no mode controls).
bool IsPlotMode(int code);

enum class TCoordinates : std::uint8_t { Cartesian, Polar };

// A control of the main window by kind and number, as the window names them
// (Label3, Edit23, Button8 ...). Kinds with one control use number 1.
enum class TControlKind : std::uint8_t {
    Label,
    Edit,
    Button,
    CheckBox,
    RadioButton,
    ComboBox,
    PaintBox,
    Equally,
};

struct TControl {
    TControlKind Kind;
    int Number;
};

// The mode items of the menu "Опции".
enum class TMenuItem : std::uint8_t { N2Dyx, N3Dzxy, N3DFxyz, N9, N2Dxyt, N3Dxyzt, N3Dxyzuv };

// An edit field EditN bound to a document number or formula slot.
struct TFieldBinding {
    int Edit;
    bool IsFormula;
    int Index; // a TNumberIndex, or a TFormulaSlot when IsFormula
};

struct TCaption {
    int Label; // LabelN
    const char* Text;
};

// The fields of a mode that the document keeps, in the order they are
// captured: first those both coordinate systems share, then those of one
// coordinate system (for the modes without coordinates, Own is empty).
struct TParameterSet {
    std::span<const TFieldBinding> Shared;
    std::span<const TFieldBinding> Own;
};

// The fields of `mode` in coordinates `coords` (ignored by the 3D modes).
TParameterSet ParameterSet(TPlotMode mode, TCoordinates coords);

// What the layout of a mode shows and writes, after the window was emptied.
struct TModeLayout {
    TPlotMode Mode;
    // The mode offers the coordinate switch: both radio buttons are shown and
    // "декарт" is checked before anything else, which runs its click action
    // when it was not checked.
    bool CoordinateSwitch;
    std::span<const TControl> Show;
    std::span<const int> Clear; // edit fields emptied
    std::span<const TCaption> Captions;
    std::span<const TMenuItem> Menu; // checked in this order
};

// The layout of a mode code; null for a code outside 1 ... 6.
const TModeLayout* ModeLayout(int code);

// What the switch to one coordinate system changes besides loading the
// mode's parameter set of those coordinates (TParameterSet::Own).
struct TCoordinateLayout {
    const char* Button1; // the caption of "y(x0)=" / "r(fi0)="
    std::span<const TCaption> Captions;
    std::span<const TControl> Show;
    std::span<const TControl> Hide;
};

const TCoordinateLayout& CoordinateLayout(TPlotMode mode, TCoordinates coords);
