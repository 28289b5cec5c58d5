// The interpreter of the fast form: a threaded run over its instructions,
// every operation computed in 80-bit precision on the x87 unit and rounded
// to double, exactly as the tree walk computes it.
#include "engine/Arith80.h"
#include "engine/FastForm.h"
#include "engine/Library.h"
#include "engine/TreeWalk.h"

#include <memory>

namespace {

struct Arith {
    static double Add(double a, double b) {
        return static_cast<double>(static_cast<long double>(a) + b);
    }
    static double Sub(double a, double b) {
        return static_cast<double>(static_cast<long double>(a) - b);
    }
    static double Mul(double a, double b) {
        return static_cast<double>(static_cast<long double>(a) * b);
    }
    // For a divisor that is neither 0 nor NaN.
    static double Quot(double a, double b) {
        return static_cast<double>(static_cast<long double>(a) / b);
    }
};

} // namespace

namespace {

using engine::PowerSquare;

inline double DivideChecked(double r, double v) {
    if (v == 0 || v != v) {
        CurrentContext().Error = true;
        return 0.0;
    }
    return Arith::Quot(r, v);
}

// Evaluates a tree; with a null tree and a non-null `thread`, fills the jump
// table of that form instead.
double Run(const TExprNode* tree, engine::TFastProgram* thread) {
    static const void* const targets[engine::FastOpCount] = {
        &&Ret,
        &&PushCell,
        &&PushConst,
        &&CallCell,
        &&Call,
        &&ProductCells,
        &&Plus0,
        &&Minus0,
        &&Add,
        &&Sub,
        &&AddCell,
        &&SubCell,
        &&AddConst,
        &&SubConst,
        &&AddCallCell,
        &&SubCallCell,
        &&AddProductCells,
        &&AddSquareCell,
        &&SquareCell,
        &&Recip,
        &&Mul,
        &&Div,
        &&MulCell,
        &&DivCell,
        &&MulConst,
        &&DivConst,
        &&MulCallCell,
        &&Pow,
        &&PowConst,
        &&PowSquare,
        &&PowCell,
        &&Sqrt,
        &&ProductConstCell,
        &&SinCell,
        &&CosCell,
    };
    if (tree == nullptr) {
        if (thread != nullptr) {
            auto& table = thread->Threaded;
            table.clear();
            for (const auto& in : thread->Code)
                table.push_back(targets[static_cast<int>(in.Op)]);
        }
        return CurrentContext().X;
    }
    if (tree->Fast == nullptr || tree->Fast->Program == nullptr) return engine::EvalTreeWalk(tree);
    const engine::TFastProgram& form = *tree->Fast->Program;
    const engine::FastInstr* ip = form.Code.data();
    const void* const* next = form.Threaded.data();
    // The operand stack belongs to this evaluation, so that evaluations of
    // different trees (or of one tree, re-entered) never share it.
    constexpr int LocalStackSize = 32;
    double localStack[LocalStackSize];
    std::unique_ptr<double[]> deepStack;
    if (form.StackSize > LocalStackSize) deepStack.reset(new double[form.StackSize]);
    double* sp = deepStack ? deepStack.get() : localStack; // sp[-1] is the top of the stack
    double acc = 0.0;

#define DISPATCH()                                                                                 \
    do {                                                                                           \
        ++ip;                                                                                      \
        goto* * ++next;                                                                            \
    } while (0)

    goto** next;
Ret:
    return acc;
PushCell:
    *sp++ = acc;
    acc = *ip->Cell;
    DISPATCH();
PushConst:
    *sp++ = acc;
    acc = ip->Value;
    DISPATCH();
CallCell:
    *sp++ = acc;
    acc = ip->Func(*ip->Cell);
    DISPATCH();
Call:
    acc = ip->Func(acc);
    DISPATCH();
ProductCells:
    *sp++ = acc;
    acc = Arith::Mul(*ip->Cell, *ip->Cell2);
    DISPATCH();
Plus0:
    acc = 0.0 + acc; // exact: only turns -0 into +0
    DISPATCH();
Minus0:
    acc = 0.0 - acc;
    DISPATCH();
Add:
    acc = Arith::Add(*--sp, acc);
    DISPATCH();
Sub:
    acc = Arith::Sub(*--sp, acc);
    DISPATCH();
AddCell:
    acc = Arith::Add(acc, *ip->Cell);
    DISPATCH();
SubCell:
    acc = Arith::Sub(acc, *ip->Cell);
    DISPATCH();
AddConst:
    acc = Arith::Add(acc, ip->Value);
    DISPATCH();
SubConst:
    acc = Arith::Sub(acc, ip->Value);
    DISPATCH();
AddCallCell:
    acc = Arith::Add(acc, ip->Func(*ip->Cell));
    DISPATCH();
SubCallCell:
    acc = Arith::Sub(acc, ip->Func(*ip->Cell));
    DISPATCH();
AddProductCells:
    acc = Arith::Add(acc, Arith::Mul(*ip->Cell, *ip->Cell2));
    DISPATCH();
AddSquareCell:
    acc = Arith::Add(acc, PowerSquare(*ip->Cell));
    DISPATCH();
SquareCell:
    *sp++ = acc;
    acc = PowerSquare(*ip->Cell);
    DISPATCH();
Recip:
    acc = DivideChecked(1.0, acc);
    DISPATCH();
Mul:
    acc = Arith::Mul(*--sp, acc);
    DISPATCH();
Div : {
    const double r = *--sp;
    acc = DivideChecked(r, acc);
    DISPATCH();
}
MulCell:
    acc = Arith::Mul(acc, *ip->Cell);
    DISPATCH();
DivCell:
    acc = DivideChecked(acc, *ip->Cell);
    DISPATCH();
MulConst:
    acc = Arith::Mul(acc, ip->Value);
    DISPATCH();
DivConst:
    acc = Arith::Quot(acc, ip->Value);
    DISPATCH();
MulCallCell:
    acc = Arith::Mul(acc, ip->Func(*ip->Cell));
    DISPATCH();
Pow : {
    const double b = *--sp;
    acc = engine::Power(b, acc);
    DISPATCH();
}
PowConst:
    acc = engine::Power(acc, ip->Value);
    DISPATCH();
PowSquare:
    acc = PowerSquare(acc);
    DISPATCH();
PowCell:
    acc = engine::Power(acc, *ip->Cell);
    DISPATCH();
ProductConstCell:
    *sp++ = acc;
    acc = Arith::Mul(ip->Value, *ip->Cell);
    DISPATCH();
SinCell:
    *sp++ = acc;
    acc = SinOf(*ip->Cell);
    DISPATCH();
CosCell:
    *sp++ = acc;
    acc = CosOf(*ip->Cell);
    DISPATCH();
Sqrt:
    if (acc >= 0)
        acc = __builtin_sqrt(acc);
    else
        acc = engine::FnSqrt(acc); // the domain error
    DISPATCH();
#undef DISPATCH
}

} // namespace

namespace engine {
double EvalTreeInterpreted(const TExprNode* tree) {
    return Run(tree, nullptr);
}
void ThreadInterpreter(TFastProgram& program) {
    Run(nullptr, &program);
}
} // namespace engine
