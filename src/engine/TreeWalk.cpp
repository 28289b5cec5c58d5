#include "engine/TreeWalk.h"

#include "engine/Library.h"

namespace engine {

namespace {

double EvalNode(const TExprNode* node);

double EvalSum(const TExprNode* operand) {
    double r = 0.0;
    for (; operand != nullptr; operand = operand->Next) {
        const long double v = EvalNode(operand);
        r = static_cast<double>(operand->Positive ? r + v : r - v);
    }
    return r;
}

double EvalProduct(const TExprNode* operand) {
    double r = 1.0;
    for (; operand != nullptr; operand = operand->Next) {
        const double v = EvalNode(operand);
        if (operand->Positive) {
            r = static_cast<double>(static_cast<long double>(r) * v);
        } else if (v == 0 || v != v) {
            CurrentContext().Error = true;
            r = 0.0;
        } else {
            r = static_cast<double>(static_cast<long double>(r) / v);
        }
    }
    return r;
}

double EvalPower(const TExprNode* operand) {
    if (operand == nullptr) return 0.0;
    double r = EvalNode(operand);
    for (operand = operand->Next; operand != nullptr; operand = operand->Next)
        r = Power(r, EvalNode(operand));
    return r;
}

double EvalNode(const TExprNode* node) {
    switch (node->Kind) {
    case nkSum:
        return EvalSum(node->Child);
    case nkProduct:
        return EvalProduct(node->Child);
    case nkPower:
        return EvalPower(node->Child);
    case nkFunction: {
        const double a = node->Child != nullptr ? EvalNode(node->Child) : CurrentContext().X;
        // A node that never got an operation (only a hand-made tree can have
        // one) counts as the constant 0.
        return node->Func != nullptr ? node->Func(a) : 0.0;
    }
    case nkConstant:
        return node->Value;
    }
    return 0.0;
}

} // namespace

double EvalTreeWalk(const TExprNode* tree) {
    return tree == nullptr ? CurrentContext().X : EvalNode(tree);
}

} // namespace engine
