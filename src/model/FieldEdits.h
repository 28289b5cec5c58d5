// What the window does to the texts of its fields, on the state alone: Enter
// in a field of numbers, the normalisation before a build, the capture of a
// mode's fields into the document and their load from it, the range fields
// of the 2D view, and "y(x0)=". The window shows the texts afterwards.
#pragma once

#include "document/PlotDocument.h"
#include "engine/Engine.h"
#include "model/ModeLayout.h"
#include "model/PlotState.h"

#include <functional>
#include <optional>
#include <span>
#include <string>

// Enter in a field of numbers: a number, or a formula of x = 0, written back
// in the general format; "Error!" when it has no value, and false with what
// failed.
bool EvaluateField(std::string& text, TTextFaultInfo* fault);

// Where the field EditN is typed in the state's mode and coordinates, as a
// message names it ("x1, режим y(x)"); none when the mode does not use it.
std::optional<std::string> PlaceOfField(const TPlotInput& input, int edit);

// Runs something on the field EditN: a text there that does not convert is
// told with the field's place in the current mode. With `onlyThisMode`, a
// field the current mode does not use fails nothing.
void InField(const TPlotInput& input, int edit, const std::function<void()>& action,
             bool onlyThisMode);

// A field's text checked as the role of its numbers says: a text without the
// characters of a number is 0 where the role sanitises, and a size is not
// negative (ConversionError for a text that does not convert there).
void CheckFieldRole(std::string& text, TNumberRole role);

// A field that failed on Enter: its number, its text before and what failed.
using TFieldFailed = std::function<void(int edit, const std::string& text, const TTextFaultInfo&)>;

// Before a build: every field of numbers evaluated as Enter does, then each
// checked as the role of its numbers says (an empty text is 0, a size is not
// negative). A field that does not convert stops the build (ConversionError
// with its place) only when the current mode uses it.
void NormaliseFields(TPlotState& state, const TFieldFailed& failed);

// The current mode's fields into the document: formulas as typed (kept in
// `typed` too, before the document cuts them) and numbers converted; the
// shared values first, then those of the coordinate system.
void CaptureFields(const TPlotState& state, TPlotDocument& document,
                   std::string (&typed)[DocumentFormulaCount]);

// The fields of document values: numbers in the general format, formulas
// as they are stored.
void LoadFields(TPlotState& state, std::span<const TDocValue> values,
                const TPlotDocument& document);
// The numbers of the current mode as their fields show them (15 digits), as
// a build would capture them; a text that is no number leaves its value.
void CaptureShownNumbers(const TPlotState& state, TPlotDocument& document);

// The range fields read into the 2D view; a text that does not convert is
// told at the first field, in the order they are read, that holds it.
void ReadRangeFields(const TPlotState& state);
// The 2D view's edges written into the range fields.
void WriteRangeFields(TPlotState& state);

// While "Equally" is checked, the Y and Z rows of the implicit surface's
// fields (Edit15 ... Edit22) follow the X row (Edit11 ... Edit14).
void FollowXRow(TPlotState& state);

// "y(x0)=": the formula of the box at the x0 of the first field, in the
// general format; "Error!" with what failed when it has no value there. A
// text of x0 that does not convert throws.
std::string X0Result(const TPlotState& state, TTextFaultInfo* fault, bool& error);
// "y′(x0)=": the exact derivative of the box's formula at the same x0, in
// the general format; "Error!" where it has none (or the formula none, or
// the diagnosis marks the formula, or it is empty), and why in `why`. A text of x0 that does not convert throws.
std::string X0Slope(const TPlotState& state, std::string& why);
