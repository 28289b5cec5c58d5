#include "engine/FastForm.h"

#include "engine/Library.h"
#include "engine/TreeWalk.h"

#include <algorithm>

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
    AddCallCell,     // acc = acc + Func(*Cell)
    SubCallCell,
    AddProductCells, // acc = acc + *Cell * *Cell2
    AddSquareCell,   // acc = acc + Power(*Cell, 2)
    SquareCell,      // push; acc = Power(*Cell, 2)
    Recip,       // acc = 1 / acc  (a product that starts with a division)
    Mul,         // acc = pop * acc
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
};

namespace {

inline double AddLD(double r, double v) {
    return static_cast<double>(static_cast<long double>(r) + v);
}
inline double SubLD(double r, double v) {
    return static_cast<double>(static_cast<long double>(r) - v);
}
inline double MulLD(double r, double v) {
    return static_cast<double>(static_cast<long double>(r) * v);
}
inline double DivChecked(double r, double v) {
    if (v == 0 || v != v) {
        EvalError = true;
        return 0.0;
    }
    return static_cast<double>(static_cast<long double>(r) / v);
}

bool IsConstant(const TExprNode* n) { return n->Kind == nkConstant; }
const double* CellOf(const TExprNode* n) {
    return n->Kind == nkFunction && n->Child == nullptr ? VariableCell(n->Func) : nullptr;
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
                    Emit(FastOp::CallCell, cell, 0.0, n->Func);
                    Pushed();
                    return;
                }
                Value(n->Child);
            } else {
                Emit(FastOp::PushCell, &VarX); // no argument: the function of x
                Pushed();
            }
            Emit(FastOp::Call, nullptr, 0.0, n->Func);
            return;
        case nkSum: Sum(n->Child); return;
        case nkProduct: Product(n->Child); return;
        case nkPower: PowerChain(n->Child); return;
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
        Emit(op->Positive ? FastOp::Plus0 : FastOp::Minus0);
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
    static bool IsSquareOfCell(const TExprNode* n) {
        const TExprNode* a = n->Child;
        return n->Kind == nkPower && a && CellOf(a) && a->Next && IsConstant(a->Next) &&
               a->Next->Value == 2.0 && !a->Next->Next;
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

// True when the subtree reads no cell and draws no random number.
bool IsFoldable(const TExprNode* n) {
    for (; n != nullptr; n = n->Next) {
        if (n->Kind == nkFunction && !IsPureFunction(n->Func)) return false;
        if (n->Child != nullptr && !IsFoldable(n->Child)) return false;
    }
    return true;
}

// A copy of the tree in which every constant subtree that evaluates without
// an error is replaced by its value.
TExprNode* FoldedCopy(const TExprNode* n) {
    auto* copy = new TExprNode(*n);
    copy->Fast = nullptr;
    copy->Next = nullptr;
    copy->Child = nullptr;
    bool folded = false;
    if (n->Kind != nkConstant && IsFoldable(n->Child) &&
        (n->Kind != nkFunction || IsPureFunction(n->Func)) && n->Child != nullptr) {
        const bool savedError = EvalError;
        EvalError = false;
        TExprNode single = *n;
        single.Next = nullptr;
        single.Fast = nullptr;
        const double v = EvalTreeWalk(&single);
        if (!EvalError) {
            copy->Kind = nkConstant;
            copy->Value = v;
            copy->Func = nullptr;
            folded = true;
        }
        EvalError = savedError;
    }
    if (!folded && n->Child != nullptr) {
        TExprNode** link = &copy->Child;
        for (const TExprNode* c = n->Child; c != nullptr; c = c->Next) {
            *link = FoldedCopy(c);
            link = &(*link)->Next;
        }
    }
    return copy;
}

void FreeCopy(TExprNode* n) {
    while (n != nullptr) {
        TExprNode* next = n->Next;
        FreeCopy(n->Child);
        delete n;
        n = next;
    }
}

} // namespace

TFastForm* BuildFastForm(const TExprNode* root) {
    TExprNode* folded = FoldedCopy(root);
    Builder b;
    b.Value(folded);
    FreeCopy(folded);
    if (!b.ok) return nullptr;
    b.Emit(FastOp::Ret);
    auto* form = new TFastForm;
    form->Code = std::move(b.code);
    form->Stack.resize(b.maxDepth + 1);
    return form;
}

double RunFastForm(const TFastForm& form) {
    const FastInstr* ip = form.Code.data();
    double* sp = const_cast<double*>(form.Stack.data()); // sp[-1] is the top of the stack
    double acc = 0.0;
    for (;; ++ip) {
        switch (ip->Op) {
        case FastOp::Ret: return acc;
        case FastOp::PushCell: *sp++ = acc; acc = *ip->Cell; break;
        case FastOp::PushConst: *sp++ = acc; acc = ip->Value; break;
        case FastOp::CallCell: *sp++ = acc; acc = ip->Func(*ip->Cell); break;
        case FastOp::Call: acc = ip->Func(acc); break;
        case FastOp::ProductCells: *sp++ = acc; acc = MulLD(*ip->Cell, *ip->Cell2); break;
        case FastOp::Plus0: acc = AddLD(0.0, acc); break;
        case FastOp::Minus0: acc = SubLD(0.0, acc); break;
        case FastOp::Add: acc = AddLD(*--sp, acc); break;
        case FastOp::Sub: acc = SubLD(*--sp, acc); break;
        case FastOp::AddCell: acc = AddLD(acc, *ip->Cell); break;
        case FastOp::SubCell: acc = SubLD(acc, *ip->Cell); break;
        case FastOp::AddConst: acc = AddLD(acc, ip->Value); break;
        case FastOp::SubConst: acc = SubLD(acc, ip->Value); break;
        case FastOp::AddCallCell: acc = AddLD(acc, ip->Func(*ip->Cell)); break;
        case FastOp::SubCallCell: acc = SubLD(acc, ip->Func(*ip->Cell)); break;
        case FastOp::AddProductCells: acc = AddLD(acc, MulLD(*ip->Cell, *ip->Cell2)); break;
        case FastOp::AddSquareCell: acc = AddLD(acc, PowerSquare(*ip->Cell)); break;
        case FastOp::SquareCell: *sp++ = acc; acc = PowerSquare(*ip->Cell); break;
        case FastOp::Recip: acc = DivChecked(1.0, acc); break;
        case FastOp::Mul: acc = MulLD(*--sp, acc); break;
        case FastOp::Div: {
            const double r = *--sp;
            acc = DivChecked(r, acc);
            break;
        }
        case FastOp::MulCell: acc = MulLD(acc, *ip->Cell); break;
        case FastOp::DivCell: acc = DivChecked(acc, *ip->Cell); break;
        case FastOp::MulConst: acc = MulLD(acc, ip->Value); break;
        case FastOp::DivConst:
            acc = static_cast<double>(static_cast<long double>(acc) / ip->Value);
            break;
        case FastOp::MulCallCell: acc = MulLD(acc, ip->Func(*ip->Cell)); break;
        case FastOp::Pow: {
            const double b = *--sp;
            acc = Power(b, acc);
            break;
        }
        case FastOp::PowConst: acc = Power(acc, ip->Value); break;
        case FastOp::PowSquare: acc = PowerSquare(acc); break;
        case FastOp::PowCell: acc = Power(acc, *ip->Cell); break;
        }
    }
}

} // namespace engine

double EvalTree(const TExprNode* tree) {
    if (tree == nullptr) return VarX;
    if (tree->Fast != nullptr) return engine::RunFastForm(*tree->Fast);
    return engine::EvalTreeWalk(tree);
}
