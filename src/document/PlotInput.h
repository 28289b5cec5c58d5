// Everything one picture is made from: the document, whose formulas are
// here as they were typed (the document kept for saving cuts them to 100
// characters), the mode and its coordinates, the y(x) formula with its list,
// and the switches that change what is drawn. The window captures it from
// its fields; a plot file gives it as well, so a picture needs no window.
#pragma once

#include "document/PlotDocument.h"
#include "document/Settings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class TLineStyle : std::uint8_t { Solid, Dash, Dot };

// What a y(x) graph draws beside itself, in its colour: its derivative f′
// (dashed) and second derivative f″ (dotted), and the curve of its
// antiderivative ∫f through (X0, Y0) (dash-dotted).
struct TGraphCalculus {
    bool First = false, Second = false, Antiderivative = false;
    double X0 = 0, Y0 = 0;
    bool Any() const { return First || Second || Antiderivative; }
    bool operator==(const TGraphCalculus&) const = default;
};

// The pen of a graph of the y(x) list, and its name in the legend, as a
// document gives them.
struct TGraphPen {
    std::optional<TColorValue> Colour; // none: the colour of its place in "Цвета"
    int Width = 1;                     // device-independent pixels
    TLineStyle Style = TLineStyle::Solid;
    bool Visible = true;
    std::string Name; // empty: the legend shows the formula
    TGraphCalculus Calculus;
};

// How a parameter plays from its minimum to its maximum: not at all, over
// and over, there and back, or once.
enum class TPlay : std::uint8_t { None, Loop, Bounce, Once };

// A parameter the formulas may read by its name (engine's parameters).
struct TParameter {
    std::string Name; // as typed: Latin letters and digits, a letter first
    double Value = 1, Min = -10, Max = 10, Step = 0.1;
    TPlay Play = TPlay::None;
    double Speed = 10;   // steps a second while it plays
    std::string Unknown; // keys of a later program, as a JSON object ("" for none)
};

struct TPlotInput {
    int Mode = pmYx; // a TPlotMode, or 0: no mode, nothing to draw
    TCoordinates Coordinates = TCoordinates::Cartesian;
    TPlotDocument Document;
    std::string Formula;                   // "Формула y=" ("Формула r=" in polar)
    std::vector<std::string> List;         // the formula list, in its order
    bool AllFormulas = false;              // "Все": the whole list instead of the formula
    bool MinimalStep = true;               // "Минимальный шаг"
    bool Axes = true;                      // "Рисовать оси координат"
    bool Grid = true;                      // "Вспомогательная сетка"
    bool EqualScales = true;               // "Равные масштабы"
    bool Families[3] = {true, true, true}; // level lines across X, Y and Z
    bool Centre = false;                   // "Центрировать"
    bool EqualRows = true;                 // "Equally": the rows Y and Z follow the row X
    // The pens of the list's graphs, by place; a graph beyond them draws
    // with the pen of today's pictures (its colour, one pixel, solid).
    std::vector<TGraphPen> Pens;
    bool Legend = false; // the y(x) picture shows its graphs' names in a corner
    // The y(x) graphs in cartesian coordinates drawn as the relations
    // y = f(x), pixel by pixel as proven, instead of by their samples.
    bool ExactGraphs = false;
    TGraphCalculus FormulaCalculus; // of the graph of the formula box
    std::vector<TParameter> Parameters;
};

// A parameter's name has the form of one: Latin letters and digits, a
// letter first, at most 32 (whether the language reads it as something
// else is the formula engine's to say).
bool HasParameterNameForm(const std::string& name);
// The name as formulas read it: its Latin letters in upper case.
std::string UpperParameterName(const std::string& name);

// The start: the default document in the y(x) mode.
TPlotInput DefaultPlotInput();
