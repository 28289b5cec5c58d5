// The fast form of a compiled tree: the tree flattened into a short program of
// specialised instructions over the evaluation cells, with constant subtrees
// folded. It gives bit for bit the results, the EvalError and the order of
// random draws of the plain tree walk, which stays the reference.
#pragma once

#include "engine/Engine.h"
#include "engine/Jit.h"

#include <cstdint>
#include <memory>
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

namespace engine {

struct TFastProgram {
    std::vector<FastInstr> Code;
    int StackSize = 0; // room the operands waiting for their operation need
    // The jump target of every instruction.
    std::vector<const void*> Threaded;
    // The instruction of a program that is one instruction long, else null.
    const FastInstr* Single = nullptr;
    // The same program as machine code, where it could be made.
    std::unique_ptr<TJitCode> MachineCode;
    // The machine code's rows along each variable x y z t u v f, made at
    // the first row along it (null: none could be made).
    TJitCode::TRowEntry Rows[7] = {};
    bool RowsTried[7] = {};
    std::vector<std::unique_ptr<TJitCode>> RowCode; // the code of those rows
};

} // namespace engine

namespace engine {

// Builds the fast form of the tree under `root`, or null where the tree walk
// should be used (a node without an operation).
TFastForm* BuildFastForm(const TExprNode* root);

// The number of nodes of a tree, counted up to a little beyond `limit`.
std::size_t CountTreeNodes(const TExprNode* root, std::size_t limit = SIZE_MAX);

// The cell a variable node reads, or null for any other node.
const double* CellOf(const TExprNode* n);

// True when the node's value can never be -0, so that adding it to the
// starting 0 of a sum changes nothing.
bool NeverNegativeZero(const TExprNode* n);

// The interpreter of the fast form: every operation in 80-bit precision on
// the x87 unit, rounded to double. It runs where no machine code was made.
double EvalTreeInterpreted(const TExprNode* tree);
void ThreadInterpreter(TFastProgram& program); // fills the jump table

// Which form the trees compiled from now on run: their machine code where
// it can be made (the default), or the interpreter (for tests and
// measurements).
enum class TEvaluator { MachineCode, Interpreter };
void SelectEvaluator(TEvaluator evaluator);
TEvaluator SelectedEvaluator();

} // namespace engine
