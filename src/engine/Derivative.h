// Exact derivatives of compiled formulas: a new tree that compiles and runs
// like any formula, and the text of a tree in the formula language.
#pragma once

#include "engine/Engine.h"

#include <stdexcept>
#include <string>
#include <vector>

// A formula without a derivative: one that draws random numbers, or one
// whose derivative would be too long to make.
class DerivativeError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The derivative of the tree with respect to `variable` (X, Y, Z, T, U or
// V of the context; every other variable, the frame number and the
// parameters are constants), simplified where that is exact: numbers are
// folded only where the result is exact, sums and products are merged, and
// 0 and 1 drop out. Where the derivative does not exist (abs, sign and
// sqrt at 0, ln at 0) its value is a domain error. The tree reads the
// current context, with its fast form. No tree is the formula x, as for
// EvalTree. Throws DerivativeError for RAND, and for a derivative too long
// to make (a product of thousands of factors).
TTreePtr Derivative(const TExprNode* tree, double TEvalContext::*variable);

// The tree as formula text that compiles to the same tree: brackets where
// the language would read the text otherwise (its powers chain from the
// left, so 2^3^2 is (2^3)^2; its sums are split first, so x*-1 is x - 1),
// names in lower case and numbers in the fewest digits that read back.
std::string FormulaText(const TExprNode* tree);

// The derivative of formula text as text, for the command line and the
// window: FormulaText(Derivative(CompileTree(text))).
std::string DerivativeText(const std::string& text, double TEvalContext::*variable);

// The texts of the first derivatives with respect to x of a graph y(x), up
// to `order` (1 or 2), each guarded so that it has no value where the
// formula (or the first derivative) has none: "(f′)+0*(f)" and
// "(f″)+0*(f′)+0*(f)", whose products flag the lower ones' domain errors
// and add 0 elsewhere. Throws DerivativeError.
std::vector<std::string> GuardedDerivativeTexts(const std::string& text, int order);

// True when the trees have the same shape, operations, signs and numbers
// (bit for bit): what a formula's text compiles to, whatever its spacing.
bool SameTree(const TExprNode* a, const TExprNode* b);
