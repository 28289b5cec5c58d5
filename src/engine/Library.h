// The operations of the formula language shared by the tree evaluator, its
// fast form and the text evaluator: the power rule and the named functions.
#pragma once

#include "engine/Engine.h"

#include <cstdint>
#include <string_view>

namespace engine {

// exp(e * ln b) for b > 0, as computed in 80-bit precision and rounded to
// double, or the double nearest to the exact b^e where that is cheaper to get
// (integer exponents). Never further than 1 ulp from the former.
double PowMagnitude(double b, double e);

// True when e has no fractional part (infinities and NaN have one).
bool IsIntegral(double e);

// True when the integer e is odd (|e| beyond 2^63 counts as even).
bool IsOddIntegral(double e);

// The power rule of compiled trees; may set EvalError.
double Power(double b, double e);

// Power(b, 2), the square the fast form uses for a constant exponent 2.
inline double PowerSquare(double b) {
    return b != b ? 0.0 : b * b;
}

// The 80-bit nearest to pi/2, as the arc functions use it.
constexpr long double HalfPiL = 1.5707963267948966192313216916397514L;
constexpr double PiValue = 3.141592653589793;

double FnCos(double x); // |x| >= 2^63 gives 0
double FnSin(double x);
double FnTg(double x);
double FnCtg(double x);
double FnSec(double x);
double FnCsec(double x);
double FnAtg(double x);
double FnActg(double x);
double FnAsin(double x); // sets EvalError outside [-1, 1]
double FnAcos(double x);
double FnSh(double x);
double FnCh(double x);
double FnTh(double x);
double FnCth(double x);
double FnExp(double x);
double FnLn(double x); // sets EvalError for x <= 0 and NaN
double FnLg(double x);
double FnSqrt(double x); // sets EvalError for x < 0 and NaN
double FnSqr(double x);
double FnAbs(double x);
double FnSign(double x);
double FnRand(double x);

// The variable readers: ignore the argument, return the cell.
double ReadVarX(double);
double ReadVarY(double);
double ReadVarZ(double);
double ReadVarT(double);
double ReadVarU(double);
double ReadVarV(double);
double ReadVarF(double);

// True for operations whose result depends only on their argument, so that
// a constant argument may be folded at compile time.
bool IsPureFunction(TUnaryFunc f);

// The reader of parameter cell k (0 ... MaxParameters - 1).
TUnaryFunc ParameterReader(int k);

// The cell a variable or parameter reader returns, or null for other operations.
const double* VariableCell(TUnaryFunc f);

struct TFunctionName {
    std::string_view Name;
    TUnaryFunc Func;
};

// Function names of compiled trees, in the order they are compared.
extern const TFunctionName TreeFunctionNames[22];

} // namespace engine
