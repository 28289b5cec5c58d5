// The state the windows show, in one value: what a picture is made of (the
// mode, the document with its formulas as typed, the y(x) list and the
// switches), every field's text as it stands, the colours, the animation's
// settings, the 2D view and the 3D colouring. Undo keeps these values; two states are the same
// when their bytes are.
#pragma once

#include "document/DocumentFile.h"
#include "document/PlotInput.h"
#include "document/Settings.h"

#include <array>
#include <cstdint>
#include <string>

// The animation as its dialog and the main window set it.
struct TAnimationSettings {
    std::int32_t FirstFrame = 0, LastFrame = 0, FrameInterval = 0;
    bool Loop = false;          // "Цикл"
    bool CameraPath = false;    // "траектория камеры"
    std::uint8_t ViewAlong = 1; // where the flying camera looks
};

// The edges of the 2D view, kept exactly (the range fields hold 15 digits).
struct TViewEdges {
    double X1 = 0, X2 = 0, Y1 = 0, Y2 = 0;
};

constexpr int StateFieldCount = 27; // Fields[k] is the text of Editk; 0 is unused

struct TPlotState {
    TPlotInput Input;
    std::array<std::string, StateFieldCount> Fields;
    std::string X0Result; // the caption after "y(x0)="
    TColourBlock Colours{};
    // The coefficients of the 3D pictures' colouring, random at each build:
    // a 3D step taken back shows its picture in the colours it had.
    std::array<double, 6> Colouring{};
    TAnimationSettings Animation;
    TViewEdges View;
    // The styles of the y(x) graphs, each with the formula it belongs to:
    // a graph takes the first style of its formula not taken by one before
    // it (StylesOfList), wherever the list moved it.
    std::vector<TGraphStyle> Styles;
    bool Legend = false;      // Опции → "Легенда"
    bool ExactGraphs = false; // Опции → "Точный рисунок графиков"
};

// The bytes of a state: every member, in a fixed order, with the length of
// each text and list before it. Equal bytes, equal states.
std::string StateBytes(const TPlotState& state);
// The state of bytes that StateBytes wrote; throws std::invalid_argument for
// bytes it did not write (too few, or more than it reads).
TPlotState StateFromBytes(const std::string& bytes);

inline bool SameState(const TPlotState& a, const TPlotState& b) {
    return StateBytes(a) == StateBytes(b);
}
