// Symbolic derivatives. A tree is read into terms that can be shared and
// compared (a derivative repeats pieces of its formula), differentiated by
// the rules of each operation, simplified as it is built, and written back
// as a tree of the compiler's own shape: the one its text compiles to.
#include "engine/Derivative.h"

#include "engine/FastForm.h"
#include "engine/Library.h"
#include "texts/Texts.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

namespace engine {

namespace {

enum class TTermKind { Constant, Leaf, Call, Sum, Product, Power };

struct TTerm;
using TExpr = std::shared_ptr<const TTerm>;

// Sum: operands added (Positive) or subtracted; Product: multiplied or
// divided, in order; Power: the first operand raised to each next in turn;
// Call: Func of the one operand; Leaf: a variable or parameter reader.
struct TTerm {
    TTermKind Kind = TTermKind::Constant;
    double Value = 0.0;
    TUnaryFunc Func = nullptr;
    std::vector<TExpr> Operands;
    std::vector<bool> Positive;
    std::size_t Hash = 0;
};

std::size_t Mix(std::size_t h, std::size_t v) {
    return h ^ (v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2));
}

// The work a derivative may take, in terms made and compared: a product of
// n factors has n terms of n factors, and one of a thousand factors would
// take a second and most of a gigabyte for a text nobody reads. A chain of
// functions as deep as the compiler follows (1000) stays well within.
constexpr std::size_t MaxDerivativeWork = 2'000'000;
thread_local std::size_t WorkDone = 0;

void Work(std::size_t amount = 1) {
    WorkDone += amount;
    if (WorkDone > MaxDerivativeWork)
        throw DerivativeError(texts::Translate(
            "Engine",
            "Производная слишком длинна, чтобы её строить: в формуле слишком много множителей."));
}

// The terms seen so far of a sum or product, by hash, so that an equal one
// is found without comparing it with every other.
class TSeen {
  public:
    // The index of the first one seen that `match` takes, or -1.
    template <typename Match> std::ptrdiff_t Find(const TExpr& e, Match match) const {
        const auto [first, last] = byHash_.equal_range(e->Hash);
        std::ptrdiff_t found = -1;
        for (auto it = first; it != last; ++it) {
            Work();
            if (match(it->second) && (found < 0 || it->second < static_cast<std::size_t>(found)))
                found = static_cast<std::ptrdiff_t>(it->second);
        }
        return found;
    }
    void Add(const TExpr& e, std::size_t index) {
        Work();
        byHash_.emplace(e->Hash, index);
    }

  private:
    std::unordered_multimap<std::size_t, std::size_t> byHash_;
};

TExpr Make(TTerm t) {
    Work(1 + t.Operands.size());
    std::size_t h = static_cast<std::size_t>(t.Kind);
    h = Mix(h, std::hash<double>{}(t.Value));
    h = Mix(h, std::hash<const void*>{}(reinterpret_cast<const void*>(t.Func)));
    for (std::size_t i = 0; i < t.Operands.size(); ++i)
        h = Mix(Mix(h, t.Operands[i]->Hash), t.Positive.empty() ? 2 : t.Positive[i]);
    t.Hash = h;
    return std::make_shared<const TTerm>(std::move(t));
}

bool Same(const TExpr& a, const TExpr& b) {
    if (a == b) return true;
    if (a->Hash != b->Hash || a->Kind != b->Kind || a->Func != b->Func ||
        a->Operands.size() != b->Operands.size() || a->Positive != b->Positive)
        return false;
    if (a->Kind == TTermKind::Constant &&
        std::bit_cast<std::uint64_t>(a->Value) != std::bit_cast<std::uint64_t>(b->Value))
        return false;
    for (std::size_t i = 0; i < a->Operands.size(); ++i)
        if (!Same(a->Operands[i], b->Operands[i])) return false;
    return true;
}

TExpr Num(double v) {
    TTerm t;
    t.Value = v == 0 ? 0.0 : v; // no -0: its text reads back as 0
    return Make(std::move(t));
}

bool IsNum(const TExpr& e, double v) {
    return e->Kind == TTermKind::Constant && e->Value == v;
}
bool IsZero(const TExpr& e) {
    return IsNum(e, 0.0);
}

TExpr Leaf(TUnaryFunc reader) {
    TTerm t;
    t.Kind = TTermKind::Leaf;
    t.Func = reader;
    return Make(std::move(t));
}

TExpr Call(TUnaryFunc f, TExpr argument) {
    TTerm t;
    t.Kind = TTermKind::Call;
    t.Func = f;
    t.Operands = {std::move(argument)};
    return Make(std::move(t));
}

using TSigned = std::vector<std::pair<TExpr, bool>>;

TExpr Node(TTermKind kind, const TSigned& operands) {
    TTerm t;
    t.Kind = kind;
    for (const auto& [e, positive] : operands) {
        t.Operands.push_back(e);
        t.Positive.push_back(positive);
    }
    return Make(std::move(t));
}

// a + b and a * b where the double result is the exact one.
std::optional<double> ExactSum(double a, double b) {
    const double s = a + b;
    if (!std::isfinite(s)) return std::nullopt;
    const double bb = s - a;
    if ((a - (s - bb)) + (b - bb) != 0) return std::nullopt;
    return s;
}
std::optional<double> ExactProduct(double a, double b) {
    const double p = a * b;
    if (!std::isfinite(p) || (p == 0 && a != 0 && b != 0) || std::fma(a, b, -p) != 0)
        return std::nullopt;
    return p;
}
std::optional<double> ExactQuotient(double a, double b) {
    if (b == 0) return std::nullopt;
    const double q = a / b;
    if (!std::isfinite(q) || (q == 0 && a != 0) || std::fma(q, b, -a) != 0) return std::nullopt;
    return q;
}

TExpr Neg(const TExpr& e);
TExpr Product(const std::vector<std::pair<TExpr, bool>>& factors);

// The sum of the terms: nested sums merged, numbers folded where exact,
// zeros left out and a term that recurs taken as a multiple.
TExpr Sum(const TSigned& terms) {
    TSigned flat;
    std::function<void(const TExpr&, bool)> add = [&](const TExpr& e, bool positive) {
        if (e->Kind == TTermKind::Sum) {
            for (std::size_t i = 0; i < e->Operands.size(); ++i)
                add(e->Operands[i], positive == e->Positive[i]);
        } else if (e->Kind == TTermKind::Constant && e->Value < 0) {
            flat.push_back({Num(-e->Value), !positive});
        } else if (!IsZero(e)) {
            flat.push_back({e, positive});
        }
    };
    for (const auto& [e, positive] : terms)
        add(e, positive);

    TSigned kept, numbers;
    std::vector<int> count;
    TSeen seen;
    double folded = 0;
    for (const auto& entry : flat) {
        // (Named, not bound: a lambda below takes them.)
        const TExpr& e = entry.first;
        const bool positive = entry.second;
        if (e->Kind == TTermKind::Constant) {
            if (const auto s = ExactSum(folded, positive ? e->Value : -e->Value))
                folded = *s;
            else
                numbers.push_back({e, positive});
            continue;
        }
        const std::ptrdiff_t i = seen.Find(
            e, [&](std::size_t k) { return kept[k].second == positive && Same(kept[k].first, e); });
        if (i >= 0) {
            ++count[static_cast<std::size_t>(i)];
        } else {
            seen.Add(e, kept.size());
            kept.push_back({e, positive}), count.push_back(1);
        }
    }
    TSigned out;
    for (std::size_t i = 0; i < kept.size(); ++i) {
        TExpr e = kept[i].first;
        if (count[i] > 1) e = Product({{Num(count[i]), true}, {e, true}});
        out.push_back({e, kept[i].second});
    }
    if (folded != 0) out.push_back({Num(std::fabs(folded)), folded > 0});
    out.insert(out.end(), numbers.begin(), numbers.end());
    if (out.empty()) return Num(0);
    // A positive term first: b-a rather than -a+b.
    for (std::size_t i = 1; i < out.size(); ++i)
        if (!out[0].second && out[i].second) {
            std::rotate(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(i),
                        out.begin() + static_cast<std::ptrdiff_t>(i) + 1);
            break;
        }
    if (out.size() == 1 && out[0].second) return out[0].first;
    if (out.size() == 1 && out[0].first->Kind == TTermKind::Constant)
        return Num(-out[0].first->Value);
    return Node(TTermKind::Sum, out);
}

TExpr Neg(const TExpr& e) {
    return Sum({{e, false}});
}

TExpr Power(const TExpr& base, const TExpr& exponent);

// Equal factors of a list gathered as powers.
std::vector<TExpr> Gathered(const std::vector<TExpr>& factors) {
    std::vector<TExpr> out;
    std::vector<int> count;
    TSeen seen;
    for (const TExpr& f : factors) {
        const std::ptrdiff_t i = seen.Find(f, [&](std::size_t k) { return Same(out[k], f); });
        if (i >= 0) {
            ++count[static_cast<std::size_t>(i)];
        } else {
            seen.Add(f, out.size());
            out.push_back(f), count.push_back(1);
        }
    }
    for (std::size_t i = 0; i < out.size(); ++i)
        if (count[i] > 1) out[i] = Power(out[i], Num(count[i]));
    return out;
}

// The product of the factors: nested products merged, signs drawn out,
// numbers folded into one leading factor where exact, a factor and its
// divisor cancelled, and equal factors taken as a power. Divisors come last,
// in one bracket when there are several. A product with a factor 0 is 0,
// but keeps its divisors (0/u is the derivative of sign(u): 0 but at u = 0).
TExpr Product(const TSigned& factors) {
    std::vector<TExpr> up, down, upNumbers, downNumbers;
    bool negative = false, zero = false;
    double coefficient = 1;
    std::function<void(const TExpr&, bool)> add = [&](const TExpr& e, bool multiplied) {
        if (e->Kind == TTermKind::Product) {
            for (std::size_t i = 0; i < e->Operands.size(); ++i)
                add(e->Operands[i], multiplied == e->Positive[i]);
        } else if (e->Kind == TTermKind::Sum && e->Operands.size() == 1 && !e->Positive[0]) {
            negative = !negative;
            add(e->Operands[0], multiplied);
        } else if (e->Kind == TTermKind::Constant) {
            double v = e->Value;
            if (v < 0) negative = !negative, v = -v;
            if (v == 0 && multiplied) {
                zero = true;
            } else if (const auto c = multiplied ? ExactProduct(coefficient, v)
                                                 : ExactQuotient(coefficient, v)) {
                coefficient = *c;
            } else {
                (multiplied ? upNumbers : downNumbers).push_back(Num(v));
            }
        } else {
            (multiplied ? up : down).push_back(e);
        }
    };
    for (const auto& [e, multiplied] : factors)
        add(e, multiplied);
    if (zero) {
        if (down.empty()) return Num(0);
        up = {Num(0)};
        upNumbers.clear();
        downNumbers.clear();
        negative = false;
    } else {
        // A divisor cancels the first equal factor not cancelled yet.
        TSeen seen;
        for (std::size_t k = 0; k < up.size(); ++k)
            seen.Add(up[k], k);
        std::vector<bool> cancelled(up.size());
        std::vector<TExpr> left;
        for (const TExpr& d : down) {
            const std::ptrdiff_t k =
                seen.Find(d, [&](std::size_t j) { return !cancelled[j] && Same(up[j], d); });
            if (k >= 0)
                cancelled[static_cast<std::size_t>(k)] = true;
            else
                left.push_back(d);
        }
        std::vector<TExpr> kept;
        for (std::size_t k = 0; k < up.size(); ++k)
            if (!cancelled[k]) kept.push_back(up[k]);
        up = std::move(kept);
        down = std::move(left);
        up = Gathered(up);
        if (coefficient != 1) up.insert(up.begin(), Num(coefficient));
        up.insert(up.end(), upNumbers.begin(), upNumbers.end());
    }
    down = Gathered(down);
    down.insert(down.end(), downNumbers.begin(), downNumbers.end());
    TExpr result;
    if (down.empty() && up.size() == 1) {
        result = up[0];
    } else if (down.empty() && up.empty()) {
        result = Num(1);
    } else {
        TSigned operands;
        if (up.empty()) up.push_back(Num(1));
        for (const TExpr& e : up)
            operands.push_back({e, true});
        if (down.size() == 1) {
            operands.push_back({down[0], false});
        } else if (!down.empty()) {
            TSigned divisors;
            for (const TExpr& e : down)
                divisors.push_back({e, true});
            operands.push_back({Node(TTermKind::Product, divisors), false});
        }
        result = Node(TTermKind::Product, operands);
    }
    return negative ? Neg(result) : result;
}

TExpr Mul(const TExpr& a, const TExpr& b) {
    return Product({{a, true}, {b, true}});
}
TExpr Div(const TExpr& a, const TExpr& b) {
    return Product({{a, true}, {b, false}});
}

// b^n for a whole number b and n from 0 to 3, where the result is exact.
std::optional<double> SmallPower(double b, double n) {
    if (!(std::fabs(b) < 131072) || b != std::trunc(b) || (n != 0 && n != 2 && n != 3))
        return std::nullopt;
    if (n == 0) return b == 0 ? std::nullopt : std::optional<double>(1.0);
    return n == 2 ? b * b : b * b * b;
}

TExpr Power(const TExpr& base, const TExpr& exponent) {
    if (IsNum(exponent, 1)) return base;
    if (IsNum(base, 1)) return base;
    if (base->Kind == TTermKind::Constant && exponent->Kind == TTermKind::Constant)
        if (const auto p = SmallPower(base->Value, exponent->Value)) return Num(*p);
    TTerm t;
    t.Kind = TTermKind::Power;
    // (b^e)^n is the chain b^e^n of the language.
    if (base->Kind == TTermKind::Power)
        t.Operands = base->Operands;
    else
        t.Operands = {base};
    t.Operands.push_back(exponent);
    return Make(std::move(t));
}

// The value of a number or of a signed number ("(-2)").
std::optional<double> PlainNumber(const TExpr& e) {
    if (e->Kind == TTermKind::Constant) return e->Value;
    if (e->Kind == TTermKind::Sum && e->Operands.size() == 1)
        if (const auto v = PlainNumber(e->Operands[0])) return e->Positive[0] ? *v : -*v;
    return std::nullopt;
}

// a - b, folded where exact.
TExpr Less(double a, double b) {
    if (const auto d = ExactSum(a, -b)) return Num(*d);
    return Sum({{Num(a), true}, {Num(b), false}});
}

// ---------------------------------------------------------------------------
// From trees and back

TExpr FromNode(const TExprNode* node) {
    switch (node->Kind) {
    case nkConstant:
        return Num(node->Value);
    case nkFunction: {
        if (node->Func == nullptr) return Num(0);
        if (VariableCell(node->Func) != nullptr) return Leaf(node->Func);
        return Call(node->Func, node->Child != nullptr ? FromNode(node->Child) : Leaf(ReadVarX));
    }
    case nkSum:
    case nkProduct:
    case nkPower: {
        TTerm t;
        t.Kind = node->Kind == nkSum       ? TTermKind::Sum
                 : node->Kind == nkProduct ? TTermKind::Product
                                           : TTermKind::Power;
        for (const TExprNode* c = node->Child; c != nullptr; c = c->Next) {
            t.Operands.push_back(FromNode(c));
            if (t.Kind != TTermKind::Power) t.Positive.push_back(c->Positive != 0);
        }
        if (t.Operands.empty()) return Num(node->Kind == nkProduct ? 1 : 0);
        if (t.Kind == TTermKind::Power && t.Operands.size() == 1) return t.Operands[0];
        return Make(std::move(t));
    }
    }
    return Num(0);
}

TExprNode* ToNode(const TExpr& e) {
    TExprNode* node = NewTreeNode();
    switch (e->Kind) {
    case TTermKind::Constant:
        if (e->Value < 0) { // a number of the language has no sign
            node->Kind = nkSum;
            node->Child = NewTreeNode();
            node->Child->Kind = nkConstant;
            node->Child->Value = -e->Value;
            node->Child->Positive = 0;
        } else {
            node->Kind = nkConstant;
            node->Value = e->Value;
        }
        return node;
    case TTermKind::Leaf:
        node->Func = e->Func;
        return node;
    case TTermKind::Call:
        node->Func = e->Func;
        node->Child = ToNode(e->Operands[0]);
        return node;
    case TTermKind::Sum:
    case TTermKind::Product:
    case TTermKind::Power: {
        node->Kind = e->Kind == TTermKind::Sum       ? nkSum
                     : e->Kind == TTermKind::Product ? nkProduct
                                                     : nkPower;
        TExprNode* tail = nullptr;
        for (std::size_t i = 0; i < e->Operands.size(); ++i) {
            TExprNode* c = ToNode(e->Operands[i]);
            if (!e->Positive.empty()) c->Positive = e->Positive[i] ? 1 : 0;
            (tail == nullptr ? node->Child : tail->Next) = c;
            tail = c;
        }
        return node;
    }
    }
    return node;
}

// ---------------------------------------------------------------------------
// The rules

class TDifferentiator {
  public:
    explicit TDifferentiator(TUnaryFunc variable) : variable_(variable) {}

    TExpr Of(const TExpr& e) {
        switch (e->Kind) {
        case TTermKind::Constant:
            return Num(0);
        case TTermKind::Leaf:
            return Num(e->Func == variable_ ? 1 : 0);
        case TTermKind::Call: {
            const TExpr& u = e->Operands[0];
            const TExpr du = Of(u);
            if (IsZero(du)) return du;
            return Mul(Outer(e->Func, u), du);
        }
        case TTermKind::Sum: {
            TSigned terms;
            for (std::size_t i = 0; i < e->Operands.size(); ++i)
                terms.push_back({Of(e->Operands[i]), e->Positive[i]});
            return Sum(terms);
        }
        case TTermKind::Product:
            return OfProduct(e);
        case TTermKind::Power: {
            TExpr u = e->Operands[0];
            TExpr du = Of(u);
            for (std::size_t i = 1; i < e->Operands.size(); ++i) {
                du = OfPower(u, du, e->Operands[i]);
                u = Power(u, e->Operands[i]);
            }
            return du;
        }
        }
        return Num(0);
    }

  private:
    // (f g ... / h ...)' : each factor's derivative in its place, and for a
    // divisor h the whole product times -h'/h.
    TExpr OfProduct(const TExpr& e) {
        const std::size_t n = e->Operands.size();
        TSigned terms;
        for (std::size_t i = 0; i < n; ++i) {
            const TExpr d = Of(e->Operands[i]);
            if (IsZero(d)) continue;
            TSigned factors;
            for (std::size_t k = 0; k < n; ++k)
                if (k != i || !e->Positive[i])
                    factors.push_back({e->Operands[k], static_cast<bool>(e->Positive[k])});
            factors.push_back({d, true});
            if (!e->Positive[i]) factors.push_back({e->Operands[i], false});
            terms.push_back({Product(factors), static_cast<bool>(e->Positive[i])});
        }
        return Sum(terms);
    }

    // (u^v)' from u, u' and v. The language's 0^c is 0 for every c, so where
    // the true derivative has no value at u = 0 (c < 1 but whole and c > 0)
    // the rule divides by a power of u that is 0 there.
    TExpr OfPower(const TExpr& u, const TExpr& du, const TExpr& v) {
        const TExpr dv = Of(v);
        const TExpr uv = Power(u, v);
        if (IsZero(dv)) {
            if (IsZero(du)) return du;
            if (const auto number = PlainNumber(v)) {
                const double c = *number;
                if (c == 0) return Num(0);
                if (c == 1) return du;
                if (c > 1)
                    return Product({{Num(c), true}, {Power(u, Less(c, 1)), true}, {du, true}});
                return Product({{Num(c), true}, {du, true}, {Power(u, Less(1, c)), false}});
            }
            return Product({{v, true}, {uv, true}, {du, true}, {u, false}});
        }
        if (IsZero(du)) {
            if (IsNum(u, std::exp(1.0))) return Mul(uv, dv);
            return Product({{uv, true}, {Call(FnLn, u), true}, {dv, true}});
        }
        return Mul(uv, Sum({{Mul(dv, Call(FnLn, u)), true},
                            {Product({{v, true}, {du, true}, {u, false}}), true}}));
    }

    // f'(u) of a library function, to be multiplied by u'.
    TExpr Outer(TUnaryFunc f, const TExpr& u) {
        const auto one = Num(1);
        const auto square = [](const TExpr& e) { return Power(e, Num(2)); };
        if (f == FnCos) return Neg(Call(FnSin, u));
        if (f == FnSin) return Call(FnCos, u);
        if (f == FnTg) return Div(one, square(Call(FnCos, u)));
        if (f == FnCtg) return Neg(Div(one, square(Call(FnSin, u))));
        if (f == FnSec) return Div(Call(FnSin, u), square(Call(FnCos, u)));
        if (f == FnCsec) return Neg(Div(Call(FnCos, u), square(Call(FnSin, u))));
        if (f == FnAtg) return Div(one, Sum({{one, true}, {square(u), true}}));
        if (f == FnActg) return Neg(Div(one, Sum({{one, true}, {square(u), true}})));
        if (f == FnAsin) return Div(one, Call(FnSqrt, Sum({{one, true}, {square(u), false}})));
        if (f == FnAcos) return Neg(Div(one, Call(FnSqrt, Sum({{one, true}, {square(u), false}}))));
        if (f == FnSh) return Call(FnCh, u);
        if (f == FnCh) return Call(FnSh, u);
        if (f == FnTh) return Div(one, square(Call(FnCh, u)));
        if (f == FnCth) return Neg(Div(one, square(Call(FnSh, u))));
        if (f == FnExp) return Call(FnExp, u);
        if (f == FnLn) return Div(one, u);
        if (f == FnLg) return Div(one, Mul(u, Call(FnLn, Num(10))));
        if (f == FnSqrt) return Div(one, Mul(Num(2), Call(FnSqrt, u)));
        if (f == FnSqr) return Mul(Num(2), u);
        if (f == FnAbs) return Div(u, Call(FnAbs, u)); // 0/0 at 0
        if (f == FnSign) return Div(Num(0), u);        // 0 but at 0
        return Num(0);                                 // a function no formula can name
    }

    TUnaryFunc variable_;
};

TUnaryFunc ReaderOf(double TEvalContext::*variable) {
    if (variable == &TEvalContext::Y) return ReadVarY;
    if (variable == &TEvalContext::Z) return ReadVarZ;
    if (variable == &TEvalContext::T) return ReadVarT;
    if (variable == &TEvalContext::U) return ReadVarU;
    if (variable == &TEvalContext::V) return ReadVarV;
    if (variable == &TEvalContext::F) return ReadVarF;
    return ReadVarX;
}

// ---------------------------------------------------------------------------
// Text

std::string NumberText(double v) {
    if (v == PiValue) return "pi";
    if (v == std::exp(1.0)) return "e";
    if (std::isinf(v) && v > 0) return "1" + std::string(309, '0'); // reads back as +inf
    if (v < 0 || v != v) return "(-" + NumberText(-v) + ")";
    char buffer[400];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed).ptr;
    return std::string(buffer, end);
}

std::string LeafName(TUnaryFunc f) {
    static const std::pair<TUnaryFunc, const char*> variables[] = {
        {ReadVarX, "x"}, {ReadVarY, "y"}, {ReadVarZ, "z"}, {ReadVarT, "t"},
        {ReadVarU, "u"}, {ReadVarV, "v"}, {ReadVarF, "f"},
    };
    for (const auto& [reader, name] : variables)
        if (f == reader) return name;
    const std::vector<std::string>& names = ParameterNames();
    for (std::size_t k = 0; k < names.size(); ++k)
        if (f == ParameterReader(static_cast<int>(k))) {
            std::string name = names[k];
            for (char& c : name)
                if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            return name;
        }
    return "0";
}

std::string FunctionName(TUnaryFunc f) {
    for (const auto& entry : TreeFunctionNames)
        if (entry.Func == f) {
            std::string name(entry.Name);
            if (name.back() == '(') name.pop_back();
            for (char& c : name)
                c = static_cast<char>(c - 'A' + 'a');
            return name;
        }
    return "";
}

void Write(const TExprNode* n, std::string& out);

// An operand, bracketed where the language would otherwise read it as part
// of the chain around it.
void WriteOperand(const TExprNode* n, std::string& out, bool bracket) {
    if (bracket) out += '(';
    Write(n, out);
    if (bracket) out += ')';
}

void Write(const TExprNode* n, std::string& out) {
    switch (n->Kind) {
    case nkConstant:
        out += NumberText(n->Value);
        return;
    case nkFunction: {
        if (n->Func == nullptr) {
            out += '0';
            return;
        }
        if (VariableCell(n->Func) != nullptr) {
            out += LeafName(n->Func);
            return;
        }
        out += FunctionName(n->Func);
        out += '(';
        if (n->Child != nullptr)
            Write(n->Child, out);
        else
            out += 'x';
        out += ')';
        return;
    }
    case nkSum:
        if (n->Child == nullptr) out += '0';
        for (const TExprNode* c = n->Child; c != nullptr; c = c->Next) {
            if (!c->Positive)
                out += '-';
            else if (c != n->Child || c->Next == nullptr)
                out += '+'; // a lone +: the sum of one operand
            WriteOperand(c, out, c->Kind == nkSum);
        }
        return;
    case nkProduct:
        if (n->Child == nullptr) out += '1';
        for (const TExprNode* c = n->Child; c != nullptr; c = c->Next) {
            if (c != n->Child)
                out += c->Positive ? '*' : '/';
            else if (!c->Positive)
                out += "1/";
            WriteOperand(c, out, c->Kind == nkSum || c->Kind == nkProduct);
        }
        if (n->Child != nullptr && n->Child->Next == nullptr) out += '*'; // a lone factor
        return;
    case nkPower:
        if (n->Child == nullptr) out += '0';
        for (const TExprNode* c = n->Child; c != nullptr; c = c->Next) {
            if (c != n->Child) out += '^';
            WriteOperand(c, out, c->Kind != nkConstant && c->Kind != nkFunction);
        }
        if (n->Child != nullptr && n->Child->Next == nullptr) out += '^'; // a lone operand
        return;
    }
}

} // namespace

} // namespace engine

TTreePtr Derivative(const TExprNode* tree, double TEvalContext::*variable) {
    using namespace engine;
    if (DrawsRandom(tree))
        throw DerivativeError(
            texts::Translate("Engine", "У формулы нет производной: в ней случайные числа (RAND)."));
    WorkDone = 0;
    TDifferentiator d(ReaderOf(variable));
    // No tree is the formula x, as EvalTree reads it.
    TTreePtr root(ToNode(d.Of(tree != nullptr ? FromNode(tree) : Leaf(ReadVarX))));
    root->Fast = BuildFastForm(root.get());
    return root;
}

std::string FormulaText(const TExprNode* tree) {
    if (tree == nullptr) return "x";
    std::string out;
    engine::Write(tree, out);
    return out;
}

std::string DerivativeText(const std::string& text, double TEvalContext::*variable) {
    const TTreePtr tree = CompileTree(text);
    return FormulaText(Derivative(tree.get(), variable).get());
}

std::vector<std::string> GuardedDerivativeTexts(const std::string& text, int order) {
    const std::string first = DerivativeText(text, &TEvalContext::X);
    std::vector<std::string> texts{"(" + first + ")+0*(" + text + ")"};
    if (order >= 2)
        texts.push_back("(" + DerivativeText(first, &TEvalContext::X) + ")+0*(" + first + ")+0*(" +
                        text + ")");
    return texts;
}

bool SameTree(const TExprNode* a, const TExprNode* b) {
    for (; a != nullptr && b != nullptr; a = a->Next, b = b->Next) {
        if (a->Kind != b->Kind || a->Positive != b->Positive || a->Func != b->Func ||
            (a->Kind == nkConstant &&
             std::bit_cast<std::uint64_t>(a->Value) != std::bit_cast<std::uint64_t>(b->Value)) ||
            !SameTree(a->Child, b->Child))
            return false;
    }
    return a == nullptr && b == nullptr;
}
