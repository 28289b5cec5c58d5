// The main window's side of the six modes: which field shows which document
// value, what each mode's layout shows and writes, and the captions of the
// coordinate switch. Which values a mode has is the document's mode table.
#pragma once

#include "document/ModeTable.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

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
    bool operator==(const TControl&) const = default;
};

// The main window's client area, in pixels.
constexpr int ClientWidth = 474, ClientHeight = 517;

// How a control of the main window starts.
enum TControlFlag : unsigned {
    Hidden = 1,   // not shown until a mode shows it
    Disabled = 2, // greyed out
    Checked = 4,  // a check box or radio button that starts checked
    Right = 8,    // a label read right to left: its right edge stays put
    Fixed = 16,   // a label that keeps its size whatever it shows
};

// One control of the main window: its kind and number, its place, its
// caption (or an edit's first text; a source of the translation under
// TForm1), its hint and how it starts.
struct TControlPlace {
    TControlKind Kind;
    int Number;
    int X, Y, W, H;
    const char* Text;
    const char* Hint;
    unsigned Flags;
};
// Every control, in the order of creation, which is also the order in which
// overlapping controls lie over each other.
std::span<const TControlPlace> ControlPlaces();

// A control's place when the client area is `dw` wider and `dh` higher
// than its size above: the plot area grows by as much; the controls right
// of x = 300 beside or under it (the range fields of its right edge and
// their labels) move right with its right edge, and those under y = 297
// move down with its bottom edge; the rest keep their places.
TControlPlace GrownPlace(const TControlPlace& place, int dw, int dh);

// The mode items of the menu "Опции".
enum class TMenuItem : std::uint8_t { N2Dyx, N3Dzxy, N3DFxyz, N9, N2Dxyt, N3Dxyzt, N3Dxyzuv };

struct TCaption {
    int Label; // LabelN
    const char* Text;
};

// The edit field EditN that shows a document value.
int FieldOf(TDocValue value);

// Every value a mode shows in one coordinate system, the shared ones first;
// none for a code that is no mode.
std::vector<TDocValue> ValuesOfMode(int mode, TCoordinates coords);
// The value the field EditN shows in that layout, if it shows one.
std::optional<TDocValue> ValueOfField(int mode, TCoordinates coords, int edit);

// The numeric fields of every mode, each once, in the order of their
// numbers, with the role of the numbers they show.
struct TNumericField {
    int Edit;
    TNumberRole Role;
};
std::span<const TNumericField> NumericFields();

// Where a document value is typed, as the user reads it in a message:
// "шаг2 (X), режим F(x,y,z)=0".
std::string FieldPlace(TDocValue value, TPlotMode mode);

// How a formula field is named: "x(t)=", "F(x,y,z)=".
std::string FormulaCaption(int slot);

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
// The layout of the mode shows the control (the coordinate switch's radio
// buttons where it offers the switch); a code that is no mode shows none.
bool LayoutShows(int mode, TControl control);

// What the switch to one coordinate system changes besides loading the
// mode's parameter set of those coordinates (TParameterSet::Own).
struct TCoordinateLayout {
    const char* Button1; // the caption of "y(x0)=" / "r(fi0)="
    std::span<const TCaption> Captions;
    std::span<const TControl> Show;
    std::span<const TControl> Hide;
};

const TCoordinateLayout& CoordinateLayout(TPlotMode mode, TCoordinates coords);
