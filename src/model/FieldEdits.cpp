#include "model/FieldEdits.h"

#include "analysis/Analysis.h"
#include "engine/Derivative.h"
#include "engine/Relation.h"
#include "model/FormulaMessages.h"
#include "plot2d/View2D.h"
#include "texts/Texts.h"

#include <cmath>

bool EvaluateField(std::string& text, TTextFaultInfo* fault) {
    // A malformed number inside a formula ends the command with the field unchanged.
    const std::optional<double> v = FieldNumberValue(text, fault);
    text = v ? FormatNumber(*v) : "Error!";
    return v.has_value();
}

std::optional<std::string> PlaceOfField(const TPlotInput& input, int edit) {
    if (const auto v = ValueOfField(input.Mode, input.Coordinates, edit))
        return FieldPlace(*v, static_cast<TPlotMode>(input.Mode));
    return std::nullopt;
}

void InField(const TPlotInput& input, int edit, const std::function<void()>& action,
             bool onlyThisMode) {
    try {
        action();
    } catch (const ConversionError& e) {
        if (const auto place = PlaceOfField(input, edit)) throw e.At(*place);
        if (!onlyThisMode) throw;
    }
}

void NormaliseFields(TPlotState& state, const TFieldFailed& failed) {
    // Every field evaluated first, then each checked as its numbers' role
    // says. A field that does not convert stops the build only when the
    // current mode uses it; another mode's field waits for its own build.
    for (const TNumericField& f : NumericFields())
        InField(
            state.Input, f.Edit,
            [&] {
                std::string& text = state.Fields[f.Edit];
                const std::string before = text;
                TTextFaultInfo fault;
                if (!EvaluateField(text, &fault)) failed(f.Edit, before, fault);
            },
            true);
    for (const TNumericField& f : NumericFields())
        InField(
            state.Input, f.Edit, [&] { CheckFieldRole(state.Fields[f.Edit], f.Role); }, true);
}

void CheckFieldRole(std::string& text, TNumberRole role) {
    if (IsSanitised(role) && !HasNumberCharacters(text)) text = std::string("0");
    if (!IsNonNegative(role)) return;
    const double value = StrToFloat(text);
    if (!(value >= 0)) text = FormatNumber(std::fabs(value));
}

void CaptureFields(const TPlotState& state, TPlotDocument& document,
                   std::string (&typed)[DocumentFormulaCount]) {
    const int mode = state.Input.Mode;
    if (!IsPlotMode(mode)) return;
    auto capture = [&](std::span<const TDocValue> values) {
        for (const TDocValue& v : values) {
            const std::string& text = state.Fields[FieldOf(v)];
            if (v.IsFormula) {
                StoreFormula(document, static_cast<TFormulaSlot>(v.Index), text);
                typed[v.Index] = text;
            } else {
                InField(
                    state.Input, FieldOf(v), [&] { document.Numbers[v.Index] = StrToFloat(text); },
                    false);
            }
        }
    };
    // The coordinate system is read after the fields both systems share.
    const auto plotMode = static_cast<TPlotMode>(mode);
    capture(ParameterSet(plotMode, TCoordinates::Cartesian).Shared);
    capture(ParameterSet(plotMode, state.Input.Coordinates).Own);
}

void LoadFields(TPlotState& state, std::span<const TDocValue> values,
                const TPlotDocument& document) {
    for (const TDocValue& v : values)
        state.Fields[FieldOf(v)] =
            v.IsFormula ? document.Formulas[v.Index] : FormatNumber(document.Numbers[v.Index]);
}

void CaptureShownNumbers(const TPlotState& state, TPlotDocument& document) {
    for (const TDocValue& v : ValuesOfMode(state.Input.Mode, state.Input.Coordinates)) {
        if (v.IsFormula) continue;
        try {
            document.Numbers[v.Index] = StrToFloat(state.Fields[FieldOf(v)]);
        } catch (const ConversionError&) {
        }
    }
}

void ReadRangeFields(const TPlotState& state) {
    const auto& f = state.Fields;
    try {
        ReadRangeEdits({f[23], f[24], f[25], f[26]}, state.Input.EqualScales);
    } catch (const ConversionError& e) {
        // The first field, in the order they are read, that holds the text.
        for (const int edit : {26, 25, 24, 23})
            if (f[edit] == e.text())
                InField(
                    state.Input, edit, [&] { throw e; }, false);
        throw;
    }
}

void WriteRangeFields(TPlotState& state) {
    const TRangeTexts t = WriteRangeEdits();
    state.Fields[23] = t.Y2;
    state.Fields[24] = t.Y1;
    state.Fields[25] = t.X2;
    state.Fields[26] = t.X1;
}

void FollowXRow(TPlotState& state) {
    if (!state.Input.EqualRows) return;
    auto& f = state.Fields;
    for (int k = 0; k < 4; ++k)
        f[15 + k] = f[19 + k] = f[11 + k];
}

std::string X0Slope(const TPlotState& state, std::string& why) {
    const double x0 = StrToFloat(state.Fields[1]);
    why.clear();
    const std::string& formula = state.Input.Formula;
    if (SplitRelation(formula)) {
        why = texts::Fill(
            texts::Translate("FieldEdits",
                             "«%1» — отношение, а не график y(x): у него нет производной."),
            {formula});
        return "Error!";
    }
    // What the diagnosis marks has no derivative the user meant.
    if (const std::vector<TDiagnosis> marks = Diagnose(formula); !marks.empty()) {
        why = DiagnosisMessage(formula, marks[0]).toStdString();
        return "Error!";
    }
    if (formula.empty()) {
        why = texts::Translate("FieldEdits", "формула пуста.");
        return "Error!";
    }
    try {
        // Where the formula has no value, its derivative has none.
        const TTreePtr slope = CompileTree(GuardedDerivativeTexts(formula, 1)[0]);
        if (const std::optional<double> v = GraphValue(slope.get(), x0)) return FormatNumber(*v);
        why = texts::Fill(texts::Translate("FieldEdits", "у формулы нет производной при x = %1."),
                          {FormatNumber(x0)});
    } catch (const DerivativeError& e) {
        why = e.what();
    }
    return "Error!";
}

std::string X0Result(const TPlotState& state, TTextFaultInfo* fault, bool& error) {
    const double x0 = StrToFloat(state.Fields[1]);
    error = false;
    const double v = EvalFormulaText(UpperCaseFormula(state.Input.Formula), error, x0, fault);
    return error ? "Error!" : FormatNumber(v);
}
