// The compiler from formula text to trees of TExprNode.
//
// The text is scanned once up front: the bracket depth after every character,
// a range-minimum table over those depths, and the operator positions sorted
// by depth. Each level of the recursive descent then finds its operators and
// its enclosing brackets by look-up instead of rescanning its text, so that
// deeply nested formulas of a million characters compile in linear-logarithmic
// time instead of quadratic.
#include "engine/Engine.h"
#include "engine/FastForm.h"
#include "engine/Library.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

TExprNode* FormulaTrees[FormulaSlotCount] = {};

namespace {

enum class OperatorLevel { Additive = 0, Multiplicative = 1, Power = 2 };

OperatorLevel LevelOf(char c, bool& isOperator) {
    isOperator = true;
    switch (c) {
    case '+':
    case '-':
        return OperatorLevel::Additive;
    case '*':
    case '/':
        return OperatorLevel::Multiplicative;
    case '^':
        return OperatorLevel::Power;
    default:
        isOperator = false;
        return OperatorLevel::Additive;
    }
}

class ParseContext {
  public:
    explicit ParseContext(std::string_view text) : text_(text) {
        const int n = static_cast<int>(text.size());
        depthAfter_.resize(n);
        int depth = 0;
        for (int k = 0; k < n; ++k) {
            const char c = text[k];
            if (c == '(') {
                ++depth;
            } else if (c == ')') {
                --depth;
            } else {
                bool isOperator = false;
                const OperatorLevel level = LevelOf(c, isOperator);
                if (isOperator) operators_[static_cast<int>(level)].push_back({depth, k});
            }
            depthAfter_[k] = depth;
        }
        for (auto& list : operators_)
            SortByDepth(list, n);
        size_ = n;
        tree_.assign(2 * static_cast<size_t>(n), 0);
        for (int k = 0; k < n; ++k)
            tree_[n + k] = depthAfter_[k];
        for (int k = n - 1; k > 0; --k)
            tree_[k] = std::min(tree_[2 * k], tree_[2 * k + 1]);
        nextOperator_.resize(static_cast<size_t>(n) + 1);
        nextOperator_[n] = n;
        for (int k = n - 1; k >= 0; --k) {
            bool isOperator = false;
            LevelOf(text[k], isOperator);
            nextOperator_[k] = isOperator ? k : nextOperator_[k + 1];
        }
    }

    // True when [a, b) holds no operator character at all (most operands).
    bool HasNoOperator(int a, int b) const { return nextOperator_[a] >= b; }

    std::string_view Text() const { return text_; }

    int DepthBefore(int position) const { return position == 0 ? 0 : depthAfter_[position - 1]; }

    // Narrows [a, b) while brackets enclose all of it.
    void Strip(int& a, int& b) const {
        int base = DepthBefore(a);
        while (b > a && text_[a] == '(' && text_[b - 1] == ')' &&
               (b - a <= 2 || MinDepth(a + 1, b - 2) > base)) {
            ++a;
            --b;
            ++base;
        }
    }

    // Positions of the operators of one level at depth `depth` inside [a, b).
    std::vector<int> OperatorsIn(OperatorLevel level, int depth, int a, int b) const {
        const auto& list = operators_[static_cast<int>(level)];
        std::vector<int> found;
        auto it = std::lower_bound(list.begin(), list.end(), std::pair<int, int>{depth, a});
        for (; it != list.end() && it->first == depth && it->second < b; ++it)
            found.push_back(it->second);
        return found;
    }

  private:
    // Orders (depth, position) pairs by depth, keeping the position order
    // within a depth: a counting sort, as depths lie within -n .. n.
    static void SortByDepth(std::vector<std::pair<int, int>>& list, int n) {
        if (list.empty()) return;
        std::vector<int> start(2 * static_cast<size_t>(n) + 2, 0);
        for (const auto& entry : list)
            ++start[entry.first + n + 1];
        for (size_t k = 1; k < start.size(); ++k)
            start[k] += start[k - 1];
        std::vector<std::pair<int, int>> sorted(list.size());
        for (const auto& entry : list)
            sorted[start[entry.first + n]++] = entry;
        list.swap(sorted);
    }

    // Minimum of depthAfter_ over the positions l .. r inclusive.
    int MinDepth(int l, int r) const {
        int result = depthAfter_[l];
        for (l += size_, r += size_ + 1; l < r; l >>= 1, r >>= 1) {
            if (l & 1) result = std::min(result, tree_[l++]);
            if (r & 1) result = std::min(result, tree_[--r]);
        }
        return result;
    }

    std::string_view text_;
    std::vector<int> depthAfter_;
    std::vector<std::pair<int, int>> operators_[3]; // (depth, position), sorted
    std::vector<int> tree_;
    std::vector<int> nextOperator_; // the first operator at or after each position
    int size_ = 0;
};

struct Range {
    int a, b;
    bool Empty() const { return a >= b; }
};

void Parse(const ParseContext& ctx, TExprNode* node, Range r, int depth);

TExprNode* NewNode() {
    auto* node = new TExprNode;
    InitNode(node);
    return node;
}

// Builds the operand list of a sum, product or power from the segments
// between the operators. A missing first operand (an operator with nothing
// before it and only one operand after, or no operand at all) is compiled
// from the empty text, the constant 0.
void ParseOperatorChain(const ParseContext& ctx, TExprNode* node, Range r,
                        const std::vector<int>& ops, OperatorLevel level, int depth) {
    const std::string_view text = ctx.Text();
    TExprNode* tail = nullptr;
    bool negative = false; // pending minus, or pending divide
    const auto kind = level == OperatorLevel::Additive         ? nkSum
                      : level == OperatorLevel::Multiplicative ? nkProduct
                                                               : nkPower;

    auto addOperand = [&](Range segment, bool isLast) {
        if (tail == nullptr && isLast && level != OperatorLevel::Additive) {
            // The last operand would be the first one: put the missing one before it.
            tail = NewNode();
            node->Child = tail;
            Parse(ctx, tail, Range{0, 0}, depth + 1);
        }
        TExprNode* operand;
        if (tail == nullptr) {
            operand = NewNode();
            node->Child = operand;
        } else {
            operand = NewNode();
            tail->Next = operand;
        }
        tail = operand;
        Parse(ctx, operand, segment, depth + 1);
        // A sum keeps the sign before its first operand; a product multiplies
        // by its first operand whatever operator stands before it.
        if (level == OperatorLevel::Additive)
            operand->Positive = negative ? 0 : 1;
        else if (level == OperatorLevel::Multiplicative)
            operand->Positive = (operand == node->Child || !negative) ? 1 : 0;
    };

    node->Kind = kind;
    int start = r.a;
    for (const int p : ops) {
        const Range segment{start, p};
        if (!segment.Empty()) addOperand(segment, false);
        negative = text[p] == '-' || text[p] == '/';
        start = p + 1;
    }
    const Range last{start, r.b};
    if (!last.Empty()) addOperand(last, true);
    if (tail == nullptr) {
        // Signs or operators only: one operand from the empty text.
        tail = NewNode();
        node->Child = tail;
        Parse(ctx, tail, Range{0, 0}, depth + 1);
        if (level == OperatorLevel::Additive) tail->Positive = negative ? 0 : 1;
    }
}

bool IsNumberText(std::string_view s) {
    if (s.empty()) return false;
    for (const char c : s)
        if (!((c >= '0' && c <= '9') || c == '.' || c == ',')) return false;
    return true;
}

void Parse(const ParseContext& ctx, TExprNode* node, Range r, int depth) {
    InitNode(node);
    if (depth > MaxFormulaDepth) {
        node->Kind = nkConstant;
        node->Value = 0.0;
        return;
    }
    if (!r.Empty()) ctx.Strip(r.a, r.b);
    const std::string_view text = ctx.Text().substr(r.a, r.b - r.a);
    if (!r.Empty() && !ctx.HasNoOperator(r.a, r.b)) {
        const int base = ctx.DepthBefore(r.a);
        for (const auto level :
             {OperatorLevel::Additive, OperatorLevel::Multiplicative, OperatorLevel::Power}) {
            const auto ops = ctx.OperatorsIn(level, base, r.a, r.b);
            if (!ops.empty()) {
                ParseOperatorChain(ctx, node, r, ops, level, depth);
                return;
            }
        }
    }

    const size_t longest = std::min<size_t>(5, text.size());
    for (size_t length = 1; length <= longest; ++length) {
        const std::string_view prefix = text.substr(0, length);
        for (const auto& entry : engine::TreeFunctionNames) {
            if (prefix != entry.Name) continue;
            node->Func = entry.Func;
            node->Child = NewNode();
            const int argumentStart = entry.Name == "SQR(" ? r.a + static_cast<int>(length) - 1
                                                           : r.a + static_cast<int>(length);
            Parse(ctx, node->Child, Range{argumentStart, r.b}, depth + 1);
            return;
        }
    }

    if (IsNumberText(text)) {
        std::string number(text);
        for (char& c : number)
            if (c == '.' || c == ',') c = DecimalSeparatorChar;
        node->Value = StrToFloat(number);
        node->Kind = nkConstant;
        return;
    }

    using namespace engine;
    static const std::pair<std::string_view, TUnaryFunc> variables[] = {
        {"X", ReadVarX}, {"Y", ReadVarY}, {"Z", ReadVarZ}, {"T", ReadVarT},
        {"U", ReadVarU}, {"V", ReadVarV}, {"F", ReadVarF},
    };
    for (const auto& [name, reader] : variables) {
        if (text == name) {
            node->Func = reader;
            return;
        }
    }
    node->Kind = nkConstant;
    if (text == "PI")
        node->Value = PiValue;
    else if (text == "E")
        node->Value = std::exp(1.0);
    else
        node->Value = 0.0;
}

void FreeChain(TExprNode* node) {
    while (node != nullptr) {
        TExprNode* next = node->Next;
        if (node->Child != nullptr) FreeChain(node->Child);
        delete node->Fast;
        delete node;
        node = next;
    }
}

} // namespace

void InitNode(TExprNode* node) {
    node->Kind = nkFunction;
    node->Positive = 1;
    node->Func = nullptr;
    node->Next = nullptr;
    node->Child = nullptr;
}

void StripOuterBrackets(std::string& text) {
    const ParseContext ctx(text);
    int a = 0;
    int b = static_cast<int>(text.size());
    ctx.Strip(a, b);
    text = text.substr(a, b - a);
}

void ParseFormula(TExprNode* node, const std::string& text) {
    const ParseContext ctx(text);
    Parse(ctx, node, Range{0, static_cast<int>(text.size())}, 0);
}

void FreeTree(TExprNode*& tree) {
    FreeChain(tree);
    tree = nullptr;
}

void FreeAllTrees() {
    for (auto& slot : FormulaTrees)
        if (slot != nullptr) FreeTree(slot);
}

void TTreeDeleter::operator()(TExprNode* tree) const {
    FreeTree(tree);
}

TTreePtr CompileTree(const std::string& text) {
    if (text.empty()) return nullptr;
    const std::string upper = UpperCaseFormula(text);
    // A malformed number abandons the compilation; the owner frees the part
    // built so far, so no half-built tree stays behind for a later evaluation.
    TTreePtr root(NewNode());
    ParseFormula(root.get(), upper);
    root->Fast = engine::BuildFastForm(root.get());
    return root;
}

void CompileFormula(int slot, const std::string& text) {
    if (slot < 0 || slot >= FormulaSlotCount) return;
    if (FormulaTrees[slot] != nullptr) FreeTree(FormulaTrees[slot]);
    FormulaTrees[slot] = CompileTree(text).release();
}
