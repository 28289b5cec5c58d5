#include "document/PlotDocument.h"
#include "document/PlotInput.h"

#include <algorithm>
#include <cmath>

TPlotDocument PlotDocument;

namespace {

constexpr long double PiL = 3.14159265358979323846264338327950288L;
constexpr double Pi = static_cast<double>(PiL);
constexpr double TwoPi = 6.283185307179586;

struct DefaultValue {
    TNumberIndex Index;
    double Value;
};

// Entries not listed default to 0.
constexpr DefaultValue Defaults[] = {
    {YxPhiMax, TwoPi},
    {YxCartStep, 0.01},
    {YxPolarStep, 0.01},
    {YxCartY2, 10},
    {YxCartY1, -10},
    {YxCartX2, 10},
    {YxCartX1, -10},
    {YxPolarY2, 10},
    {YxPolarY1, -10},
    {YxPolarX2, 10},
    {YxPolarX1, -10},
    {PlaneCartTMax, TwoPi},
    {PlaneCartTStep, 0.01},
    {PlanePolarTMax, TwoPi},
    {PlanePolarTStep, 0.01},
    {PlaneCartY2, 10},
    {PlaneCartY1, -10},
    {PlaneCartX2, 10},
    {PlaneCartX1, -10},
    {PlanePolarY2, 10},
    {PlanePolarY1, -10},
    {PlanePolarX2, 10},
    {PlanePolarX1, -10},
    {SurfXMin, -10},
    {SurfXMax, 10},
    {SurfXStep, 0.2},
    {SurfYMin, -10},
    {SurfYMax, 10},
    {SurfYStep, 0.2},
    {ImplXMin, -5},
    {ImplXMax, 5},
    {ImplXStep1, 0.1},
    {ImplXStep2, 0.5},
    {ImplYMin, -5},
    {ImplYMax, 5},
    {ImplYStep1, 0.1},
    {ImplYStep2, 0.5},
    {ImplZMin, -5},
    {ImplZMax, 5},
    {ImplZStep1, 0.1},
    {ImplZStep2, 0.5},
    {CurveTMax, TwoPi},
    {CurveTStep, static_cast<double>(PiL / 100)},
    {PatchUMin, -Pi},
    {PatchUMax, Pi},
    {PatchUStep, static_cast<double>(PiL / 10)},
    {PatchVMin, -Pi},
    {PatchVMax, Pi},
    {PatchVStep, static_cast<double>(PiL / 10)},
};

} // namespace

bool HasParameterNameForm(const std::string& name) {
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (name.empty() || name.size() > 32 || !letter(name[0])) return false;
    return std::all_of(name.begin(), name.end(),
                       [&](char c) { return letter(c) || (c >= '0' && c <= '9'); });
}

std::string UpperParameterName(const std::string& name) {
    std::string upper = name;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

TPlotInput DefaultPlotInput() {
    TPlotInput input;
    SetDocumentDefaults(input.Document);
    return input;
}

void SetDocumentDefaults(TPlotDocument& document) {
    for (auto& formula : document.Formulas)
        formula.clear();
    for (double& number : document.Numbers)
        number = 0.0;
    for (const auto& d : Defaults)
        document.Numbers[d.Index] = d.Value;
}

std::string CutFormula(const std::string& text) {
    int characters = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        // Count lead bytes only, so that a character is never split.
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (characters == MaxStoredFormulaLength) return text.substr(0, i);
            ++characters;
        }
    }
    return text;
}

void StoreFormula(TPlotDocument& document, TFormulaSlot slot, const std::string& text) {
    document.Formulas[slot] = CutFormula(text);
}
