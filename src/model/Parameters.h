// The document's parameters as the program uses them: a new name checked
// against the language and the names defined, the names and values put
// where the formulas read them, and the command line's --set NAME=VALUE.
#pragma once

#include "document/PlotInput.h"

#include <QString>

#include <string>
#include <vector>

enum class TParameterNameFault { None, Form, Taken, Twice };
// Why `name` cannot be one more parameter beside `defined`: not of the form
// of a name, a name the language reads as something else, or one defined.
TParameterNameFault ParameterNameFault(const std::string& name,
                                       const std::vector<TParameter>& defined);
// The message of a fault, naming the name.
QString ParameterNameMessage(TParameterNameFault fault, const std::string& name);

// A new parameter: value 1, from -10 to 10 in steps of 0.1.
TParameter NewParameter(const std::string& name);

// The names and values into the formula engine (its parameter names and
// the main context's cells): what every build, field, analysis and export
// after it reads. Names the language reads otherwise are left undefined.
void ApplyParameters(const std::vector<TParameter>& parameters);

// One --set of the command line.
struct TParameterSetting {
    std::string Name, Value;
};
// "NAME=VALUE"; a text without '=' is a usage error.
TParameterSetting ParameterSettingOf(const QString& text);
// The parameters with the settings made in their order: each defines its
// name (a new parameter) or sets its value; a value is a number or a
// formula of the parameters before it. A name that cannot be a parameter
// or a value that is no number throws std::runtime_error with the message.
std::vector<TParameter> WithSettings(std::vector<TParameter> parameters,
                                     const std::vector<TParameterSetting>& settings);
// The settings of this run of the command line, which the inputs of its
// files take (InputOfFile) and the diagnosis of --check knows.
void SetCommandSettings(const std::vector<TParameterSetting>& settings);
const std::vector<TParameterSetting>& CommandSettings();

// A parameter playing: the slider's position it stands at and the way it
// goes (+1 up, -1 down).
struct TPlayer {
    int Position = 0;
    int Direction = 1;
};
// One step of play, on the slider's positions (SliderPositions): over and
// over from the minimum again after the maximum (also when no way is
// chosen), there and back, or up to the maximum once; false when once has
// reached it (the position stays there).
bool AdvancePlay(const TParameter& p, TPlayer& player);

// The slider's positions of a parameter: from 0 at its minimum, one a step,
// to the last at its maximum (at most 100,000 of them); a value between
// positions takes the nearest.
int SliderPositions(const TParameter& p);
int SliderPosition(const TParameter& p, double value);
double SliderValue(const TParameter& p, int position);
