// The fast form of a compiled tree: the tree flattened into a short program of
// specialised instructions over the evaluation cells, with constant subtrees
// folded. It gives bit for bit the results, the EvalError and the order of
// random draws of the plain tree walk, which stays the reference.
#pragma once

#include "engine/Engine.h"

#include <vector>

namespace engine {

enum class FastOp : unsigned char {
    Ret,
    PushCell,     // push; acc = *Cell
    PushConst,    // push; acc = Value
    CallCell,     // push; acc = Func(*Cell)
    Call,         // acc = Func(acc)
    ProductCells, // push; acc = 1 * *Cell * *Cell2
    Plus0,        // acc = 0 + acc   (the first operand of a sum)
    Minus0,       // acc = 0 - acc
    Add,          // acc = pop + acc
    Sub,
    AddCell,
    SubCell,
    AddConst,
    SubConst,
    AddCallCell, // acc = acc + Func(*Cell)
    SubCallCell,
    AddProductCells, // acc = acc + *Cell * *Cell2
    AddSquareCell,   // acc = acc + Power(*Cell, 2)
    SquareCell,      // push; acc = Power(*Cell, 2)
    Recip,           // acc = 1 / acc  (a product that starts with a division)
    Mul,             // acc = pop * acc
    Div,
    MulCell,
    DivCell,
    MulConst,
    DivConst,    // Value is neither 0 nor NaN
    MulCallCell, // acc = acc * Func(*Cell)
    Pow,         // acc = Power(pop, acc)
    PowConst,
    PowSquare,
    PowCell,
    Sqrt,             // acc = FnSqrt(acc)
    ProductConstCell, // push; acc = Value * *Cell
    SinCell,          // push; acc = FnSin(*Cell)
    CosCell,          // push; acc = FnCos(*Cell)
};

constexpr int FastOpCount = static_cast<int>(FastOp::CosCell) + 1;

struct FastInstr {
    FastOp Op;
    const double* Cell = nullptr;
    const double* Cell2 = nullptr;
    double Value = 0.0;
    TUnaryFunc Func = nullptr;
};

} // namespace engine

struct TFastForm {
    std::vector<engine::FastInstr> Code;
    int StackSize = 0; // room the operands waiting for their operation need
    // The jump target of every instruction, one table per variant.
    std::vector<const void*> Threaded[2];
    // The instruction of a program that is one instruction long, else null.
    const engine::FastInstr* Single = nullptr;
};

namespace engine {

// Builds the fast form of the tree under `root`, or null where the tree walk
// should be used (a node without an operation).
TFastForm* BuildFastForm(const TExprNode* root);

using TEvalTree = double (*)(const TExprNode* tree);

// Two variants of EvalTree give the same results: one computes each operation
// in 80-bit precision on the x87 unit; the other uses double arithmetic with
// an exact error term (fused multiply-add) and falls back to the 80-bit
// operation in the rare cases where rounding twice could give another double.
double EvalTreeX87(const TExprNode* tree);
double EvalTreeFma(const TExprNode* tree); // only where the processor has FMA

// Fill the form's jump table of each variant.
void ThreadX87(TFastForm& form);
void ThreadFma(TFastForm& form);

// The variant EvalTree runs: the FMA one where the processor has it.
extern TEvalTree EvalTreeVariant;
bool ProcessorHasFma();
// For tests and measurements: choose the variant (FMA only where available).
void SelectEvaluator(bool fma);

} // namespace engine
