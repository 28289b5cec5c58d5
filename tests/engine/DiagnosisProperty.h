// The diagnosis against the compiler, shared by the property test and the
// fuzz target: a text without a diagnosis compiles to a tree that gives the
// text evaluator's value wherever the text evaluator reports no error.
#pragma once

#include "engine/Diagnosis.h"
#include "engine/Engine.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace diagnosis_property {

// Pieces of formulas: operands, operators, and the slips users make. A
// text alternates operands and operators, with a slip now and then, so
// that about half of the texts are clean.
inline const char* const Operands[] = {
    "x",       "x",       "f",      "pi",    "e",     "2",      "0",      "3",
    "1.5",     "0,25",    "10",     "(x+1)", "(-x)",  "sinx",   "cos(x)", "tg(x)",
    "ctgx",    "sqrt(x)", "sqr(x)", "lg(x)", "ln(x)", "expx",   "abs(x)", "sign(x)",
    "asin(x)", "th(x)",   "sec(x)", "(2-x)", "(x*x)", "atg(x)",
};
inline const char* const Operators[] = {"+", "-", "*", "/", "^", "+", "-", "*"};
inline const char* const Slips[] = {
    "y", " ",   "abc",  "sni", "rnd", "=", "2x", "xy", "\xC2\xB7", "1.2.3", "1e5", "(",
    ")", "sin", "sin(", "sqr", "()",  "+", "*",  "",   "pix",      "x)",    "((",  "^-",
};

template <typename Next, typename T, std::size_t N> const char* Pick(Next& next, T (&list)[N]) {
    return list[next() % N];
}

// A text of `count` pieces chosen by `next` (any source of small numbers).
template <typename Next> std::string PieceText(int count, Next&& next) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (next() % 10 == 0)
            text += Pick(next, Slips);
        else
            text += i % 2 == 0 ? Pick(next, Operands) : Pick(next, Operators);
    }
    return text;
}

// The two evaluators round at different steps (the tree keeps sums and
// powers in 80 bits, the text evaluator rounds each partial result to
// double): equal up to rounding. Where one of them overflows on the way (to
// an infinity or a NaN), the other need not: such values are not compared.
inline bool SameValue(double a, double b) {
    if (!std::isfinite(a) || !std::isfinite(b)) return true;
    if (a == b) return true;
    return std::fabs(a - b) <= 1e-12 * std::fmax(1.0, std::fmax(std::fabs(a), std::fabs(b)));
}

// Empty when the property holds for `text` at x, else what differs.
// `compared` counts the texts that were clean and had a value to compare.
inline std::string Disagreement(const std::string& text, double x, int* compared = nullptr) {
    if (!Diagnose(text).empty()) return {};
    const std::string upper = UpperCaseFormula(text);
    // Random numbers are drawn in a different order by the two evaluators.
    if (upper.find("RAND") != std::string::npos) return {};
    TTreePtr tree;
    try {
        tree = CompileTree(text);
    } catch (const ConversionError&) {
        return "a text without diagnosis throws: " + text;
    }
    if (!tree) return {};
    bool error = false;
    double expected = 0;
    try {
        expected = EvalFormulaText(upper, error, x);
    } catch (const ConversionError&) {
        return {};
    }
    if (error) return {};
    if (compared != nullptr) ++*compared;
    VarX = x;
    VarF = FrameCounter;
    EvalError = false;
    const double value = EvalTree(tree.get());
    if (SameValue(value, expected)) return {};
    // TH and CTH round SH and CH to double in the tree, which overflow past
    // about 710 to NaN, where the text evaluator's 80-bit quotient is still
    // 1; and NaN goes on through SIGN as -1. The diagnosis treats TH as any
    // other name, which the texts without it check.
    if (upper.find("TH") != std::string::npos) return {};
    char numbers[160];
    std::snprintf(numbers, sizeof numbers, " at x = %.17g: the tree gives %.17g, the text %.17g", x,
                  value, expected);
    return "\"" + text + "\"" + numbers;
}

} // namespace diagnosis_property
