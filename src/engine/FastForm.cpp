#include "engine/FastForm.h"

#include "engine/Jit.h"
#include "engine/Library.h"
#include "engine/TreeWalk.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace engine {

const double* CellOf(const TExprNode* n) {
    return n->Kind == nkFunction && n->Child == nullptr ? VariableCell(n->Func) : nullptr;
}

namespace {

bool IsConstant(const TExprNode* n) {
    return n->Kind == nkConstant;
}

bool IsSquareOfCell(const TExprNode* n) {
    const TExprNode* a = n->Child;
    return n->Kind == nkPower && a && CellOf(a) && a->Next && IsConstant(a->Next) &&
           a->Next->Value == 2.0 && !a->Next->Next;
}

class Builder {
  public:
    bool ok = true;
    std::vector<FastInstr> code;
    int depth = 0;
    int maxDepth = 0;

    void Emit(FastOp op, const double* cell = nullptr, double value = 0.0,
              TUnaryFunc func = nullptr, const double* cell2 = nullptr) {
        FastInstr in{op};
        in.Cell = cell;
        in.Cell2 = cell2;
        in.Value = value;
        in.Func = func;
        code.push_back(in);
    }
    void Pushed() { maxDepth = std::max(maxDepth, ++depth); }
    void Popped() { --depth; }

    // Emits code that pushes the previous accumulator and leaves the node's
    // value in the accumulator.
    void Value(const TExprNode* n) {
        if (const double* cell = CellOf(n)) {
            Emit(FastOp::PushCell, cell);
            Pushed();
            return;
        }
        switch (n->Kind) {
        case nkConstant:
            Emit(FastOp::PushConst, nullptr, n->Value);
            Pushed();
            return;
        case nkFunction:
            if (n->Func == nullptr) {
                ok = false;
                return;
            }
            if (n->Child != nullptr) {
                if (const double* cell = CellOf(n->Child)) {
                    const FastOp op = n->Func == FnSin   ? FastOp::SinCell
                                      : n->Func == FnCos ? FastOp::CosCell
                                                         : FastOp::CallCell;
                    Emit(op, cell, 0.0, n->Func);
                    Pushed();
                    return;
                }
                Value(n->Child);
            } else {
                Emit(FastOp::PushCell, &CurrentContext().X); // no argument: the function of x
                Pushed();
            }
            Emit(n->Func == FnSqrt ? FastOp::Sqrt : FastOp::Call, nullptr, 0.0, n->Func);
            return;
        case nkSum:
            Sum(n->Child);
            return;
        case nkProduct:
            Product(n->Child);
            return;
        case nkPower:
            PowerChain(n->Child);
            return;
        }
        ok = false;
    }

    void Sum(const TExprNode* op) {
        if (op == nullptr) {
            Emit(FastOp::PushConst, nullptr, 0.0);
            Pushed();
            return;
        }
        Value(op);
        if (!op->Positive)
            Emit(FastOp::Minus0);
        else if (!NeverNegativeZero(op))
            Emit(FastOp::Plus0); // 0 + v turns -0 into +0

        for (op = op->Next; op != nullptr; op = op->Next) {
            const bool plus = op->Positive != 0;
            if (const double* cell = CellOf(op)) {
                Emit(plus ? FastOp::AddCell : FastOp::SubCell, cell);
            } else if (IsConstant(op)) {
                Emit(plus ? FastOp::AddConst : FastOp::SubConst, nullptr, op->Value);
            } else if (op->Kind == nkFunction && op->Func && op->Child && CellOf(op->Child)) {
                Emit(plus ? FastOp::AddCallCell : FastOp::SubCallCell, CellOf(op->Child), 0.0,
                     op->Func);
            } else if (plus && IsProductOfTwoCells(op)) {
                Emit(FastOp::AddProductCells, CellOf(op->Child), 0.0, nullptr,
                     CellOf(op->Child->Next));
            } else if (plus && IsSquareOfCell(op)) {
                Emit(FastOp::AddSquareCell, CellOf(op->Child));
            } else {
                Value(op);
                Emit(plus ? FastOp::Add : FastOp::Sub);
                Popped();
            }
        }
    }

    static bool IsProductOfTwoCells(const TExprNode* n) {
        const TExprNode* a = n->Child;
        return n->Kind == nkProduct && a && a->Positive && CellOf(a) && a->Next &&
               a->Next->Positive && CellOf(a->Next) && !a->Next->Next;
    }
    void Product(const TExprNode* op) {
        if (op == nullptr) {
            Emit(FastOp::PushConst, nullptr, 1.0);
            Pushed();
            return;
        }
        if (op->Positive && CellOf(op) && op->Next && op->Next->Positive && CellOf(op->Next)) {
            // 1 * a * b: the first multiplication by 1 is exact.
            Emit(FastOp::ProductCells, CellOf(op), 0.0, nullptr, CellOf(op->Next));
            Pushed();
            op = op->Next;
        } else if (op->Positive && IsConstant(op) && op->Next && op->Next->Positive &&
                   CellOf(op->Next)) {
            Emit(FastOp::ProductConstCell, CellOf(op->Next), op->Value);
            Pushed();
            op = op->Next;
        } else {
            Value(op); // 1 * v is v exactly
            if (!op->Positive) Emit(FastOp::Recip);
        }
        for (op = op->Next; op != nullptr; op = op->Next) {
            const bool mul = op->Positive != 0;
            if (const double* cell = CellOf(op)) {
                Emit(mul ? FastOp::MulCell : FastOp::DivCell, cell);
            } else if (IsConstant(op) && (mul || (op->Value != 0 && op->Value == op->Value))) {
                Emit(mul ? FastOp::MulConst : FastOp::DivConst, nullptr, op->Value);
            } else if (mul && op->Kind == nkFunction && op->Func && op->Child &&
                       CellOf(op->Child)) {
                Emit(FastOp::MulCallCell, CellOf(op->Child), 0.0, op->Func);
            } else {
                Value(op);
                Emit(mul ? FastOp::Mul : FastOp::Div);
                Popped();
            }
        }
    }

    void PowerChain(const TExprNode* op) {
        if (op == nullptr) {
            Emit(FastOp::PushConst, nullptr, 0.0);
            Pushed();
            return;
        }
        if (CellOf(op) && op->Next && IsConstant(op->Next) && op->Next->Value == 2.0) {
            Emit(FastOp::SquareCell, CellOf(op));
            Pushed();
            op = op->Next;
        } else {
            Value(op);
        }
        for (op = op->Next; op != nullptr; op = op->Next) {
            if (IsConstant(op)) {
                if (op->Value == 2.0)
                    Emit(FastOp::PowSquare);
                else
                    Emit(FastOp::PowConst, nullptr, op->Value);
            } else if (const double* cell = CellOf(op)) {
                Emit(FastOp::PowCell, cell);
            } else {
                Value(op);
                Emit(FastOp::Pow);
                Popped();
            }
        }
    }
};

// A copy of a tree in which every subtree that reads no cell, draws no random
// number and evaluates without an error is replaced by its value. Built
// bottom-up, so that each node is evaluated once, on its folded children.
class FoldedTree {
  public:
    // The copy lives in an array kept from one compilation to the next, big
    // enough for the whole tree so that no node moves while it is built.
    explicit FoldedTree(const TExprNode* root) : nodes_(Scratch()) {
        nodes_.clear();
        nodes_.reserve(CountTreeNodes(root));
    }
    ~FoldedTree() {
        constexpr std::size_t Keep = 1 << 16;
        if (nodes_.capacity() > Keep) std::vector<TExprNode>().swap(nodes_);
    }
    FoldedTree(const FoldedTree&) = delete;
    FoldedTree& operator=(const FoldedTree&) = delete;

    TExprNode* Copy(const TExprNode* n) {
        TExprNode& copy = nodes_.emplace_back(*n);
        copy.Fast = nullptr;
        copy.Next = nullptr;
        copy.Child = nullptr;
        bool constantChildren = true;
        TExprNode** link = &copy.Child;
        for (const TExprNode* c = n->Child; c != nullptr; c = c->Next) {
            *link = Copy(c);
            constantChildren = constantChildren && (*link)->Kind == nkConstant;
            link = &(*link)->Next;
        }
        const bool pure = n->Kind != nkFunction || IsPureFunction(n->Func);
        if (n->Kind != nkConstant && n->Child != nullptr && constantChildren && pure) {
            bool& error = CurrentContext().Error;
            const bool savedError = error;
            error = false;
            const double v = EvalTreeWalk(&copy); // its Next is still null
            if (!error) {
                copy.Kind = nkConstant;
                copy.Value = v;
                copy.Func = nullptr;
                copy.Child = nullptr;
            }
            error = savedError;
        }
        return &copy;
    }

  private:
    static std::vector<TExprNode>& Scratch() {
        thread_local std::vector<TExprNode> nodes;
        return nodes;
    }
    std::vector<TExprNode>& nodes_;
};

} // namespace

std::size_t CountTreeNodes(const TExprNode* root, std::size_t limit) {
    std::size_t count = 0;
    std::vector<const TExprNode*> todo{root};
    while (!todo.empty() && count <= limit) {
        const TExprNode* n = todo.back();
        todo.pop_back();
        for (; n != nullptr; n = n->Next) {
            ++count;
            if (n->Child != nullptr) todo.push_back(n->Child);
        }
    }
    return count;
}

// True when the node's value can never be -0, so that adding it to the
// starting 0 of a sum changes nothing.
bool NeverNegativeZero(const TExprNode* n) {
    switch (n->Kind) {
    case nkConstant:
        return !(n->Value == 0 && std::signbit(n->Value));
    case nkSum:
        return true; // a sum starts at +0, and +0 + -0 is +0
    case nkProduct: {
        const TExprNode* a = n->Child; // x*x: the square of one cell
        return a && a->Positive && CellOf(a) && a->Next && a->Next->Positive &&
               CellOf(a->Next) == CellOf(a) && !a->Next->Next;
    }
    case nkPower:
        return IsSquareOfCell(n);
    case nkFunction: {
        static const TUnaryFunc nonNegative[] = {FnCos, FnCh, FnExp,  FnAbs,  FnSign, FnRand,
                                                 FnLn,  FnLg, FnAcos, FnActg, FnSqr};
        for (TUnaryFunc f : nonNegative)
            if (n->Func == f) return true;
        return false;
    }
    }
    return false;
}

namespace {

TEvaluator Selected = TEvaluator::MachineCode;

// A program of one instruction, evaluated without the interpreter's set-up.
double RunSingle(const TExprNode* tree) {
    const FastInstr& in = *tree->Fast->Program->Single;
    switch (in.Op) {
    case FastOp::PushConst:
        return in.Value;
    case FastOp::PushCell:
        return *in.Cell;
    case FastOp::ProductCells:
        return static_cast<double>(static_cast<long double>(*in.Cell) * *in.Cell2);
    case FastOp::ProductConstCell:
        return static_cast<double>(static_cast<long double>(in.Value) * *in.Cell);
    case FastOp::SquareCell:
        return PowerSquare(*in.Cell);
    case FastOp::CallCell:
        return in.Func(*in.Cell);
    default:
        return EvalTreeInterpreted(tree);
    }
}

} // namespace

TFastForm* BuildFastForm(const TExprNode* root) {
    FoldedTree folded(root);
    const TExprNode* foldedRoot = folded.Copy(root);
    auto program = std::make_unique<TFastProgram>();
    auto form = std::make_unique<TFastForm>();
    if (Selected == TEvaluator::MachineCode) {
        program->MachineCode = CompileToMachineCode(foldedRoot);
        if (program->MachineCode) {
            form->Run = program->MachineCode->Entry();
            form->Program = program.release();
            return form.release();
        }
    }
    // No machine code: the interpreter runs the flattened program.
    Builder b;
    b.Value(foldedRoot);
    if (!b.ok) return nullptr;
    b.Emit(FastOp::Ret);
    program->Code = std::move(b.code);
    program->StackSize = b.maxDepth + 1;
    if (program->Code.size() == 2) program->Single = &program->Code[0];
    ThreadInterpreter(*program);
    form->Run = program->Single != nullptr ? RunSingle : EvalTreeInterpreted;
    form->Program = program.release();
    return form.release();
}

void SelectEvaluator(TEvaluator evaluator) {
    Selected = evaluator;
}

TEvaluator SelectedEvaluator() {
    return Selected;
}

} // namespace engine

TFastForm::~TFastForm() {
    delete Program;
}

namespace {

constexpr double TEvalContext::*RowVariables[7] = {
    &TEvalContext::X, &TEvalContext::Y, &TEvalContext::Z, &TEvalContext::T,
    &TEvalContext::U, &TEvalContext::V, &TEvalContext::F};

std::size_t RowVariableIndex(double TEvalContext::*variable) {
    return static_cast<std::size_t>(
        std::find(std::begin(RowVariables), std::end(RowVariables), variable) -
        std::begin(RowVariables));
}

} // namespace

// The machine code of the rows along those of `variables` not tried yet, in
// one piece of code, where the tree has machine code.
void PrepareRows(const TExprNode* tree, TEvalContext& context,
                 const std::vector<double TEvalContext::*>& variables) {
    if (tree == nullptr || tree->Fast == nullptr || !tree->Fast->Program->MachineCode) return;
    engine::TFastProgram& program = *tree->Fast->Program;
    std::vector<std::size_t> indices;
    std::vector<const double*> cells;
    for (const auto variable : variables) {
        const std::size_t k = RowVariableIndex(variable);
        if (k >= 7 || program.RowsTried[k] ||
            std::find(indices.begin(), indices.end(), k) != indices.end())
            continue;
        program.RowsTried[k] = true;
        indices.push_back(k);
        cells.push_back(&(context.*variable));
    }
    if (cells.empty()) return;
    const TContextScope scope(context);
    engine::FoldedTree folded(tree);
    engine::TRowCode rows = engine::CompileRowsToMachineCode(folded.Copy(tree), cells);
    if (!rows.Code) return;
    for (std::size_t i = 0; i < indices.size(); ++i)
        program.Rows[indices[i]] = rows.Code->RowAt(rows.Offsets[i]);
    program.RowCode.push_back(std::move(rows.Code));
}

void EvalRow(const TExprNode* tree, TEvalContext& context, double TEvalContext::*variable,
             const double* values, std::size_t n, double* out, bool* errors) {
    PrepareRows(tree, context, {variable});
    const std::size_t k = RowVariableIndex(variable);
    if (tree != nullptr && tree->Fast != nullptr && k < 7 && tree->Fast->Program->Rows[k]) {
        tree->Fast->Program->Rows[k](values, n, &(context.*variable), out, errors);
        return;
    }
    for (std::size_t i = 0; i < n; ++i) {
        context.*variable = values[i];
        context.Error = false;
        out[i] = EvalTree(tree);
        errors[i] = context.Error;
    }
}

void TRowResults::Eval(const TExprNode* tree, TEvalContext& context, double TEvalContext::*variable,
                       const std::vector<double>& values) {
    size_ = values.size();
    values_.resize(size_);
    if (room_ < size_) {
        errors_.reset(new bool[size_]);
        room_ = size_;
    }
    EvalRow(tree, context, variable, values.data(), size_, values_.data(), errors_.get());
}

bool TRowResults::AnyError() const {
    return std::any_of(errors_.get(), errors_.get() + size_, [](bool e) { return e; });
}
