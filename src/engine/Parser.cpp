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
#include "engine/ParseNotes.h"
#include "texts/Texts.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
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

// The working arrays of one parse. They are kept for the next parse, so
// that compiling formula after formula (every plot does) does not ask the
// system for fresh memory each time.
struct ParseScratch {
    std::vector<int> depthAfter;
    std::vector<std::pair<int, int>> operators[3]; // (depth, position), sorted
    std::vector<int> tree;
    std::vector<int> nextOperator; // the first operator at or after each position
    std::vector<int> counts;
    std::vector<std::pair<int, int>> sorted;
    bool inUse = false;

    void Release() {
        inUse = false;
        // A huge formula's arrays are not kept.
        constexpr size_t Keep = 1 << 20;
        if (tree.capacity() > 2 * Keep) *this = ParseScratch{};
    }
};

ParseScratch& AcquireScratch() {
    thread_local std::vector<std::unique_ptr<ParseScratch>> pool;
    for (auto& s : pool)
        if (!s->inUse) {
            s->inUse = true;
            return *s;
        }
    pool.push_back(std::make_unique<ParseScratch>());
    pool.back()->inUse = true;
    return *pool.back();
}

class ParseContext {
  public:
    explicit ParseContext(std::string_view text)
        : text_(text), s_(AcquireScratch()), depthAfter_(s_.depthAfter), operators_(s_.operators),
          tree_(s_.tree), nextOperator_(s_.nextOperator) {
        const int n = static_cast<int>(text.size());
        depthAfter_.resize(n);
        for (auto& list : s_.operators)
            list.clear();
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
        for (int level = 0; level < 3; ++level)
            SortByDepth(operators_[level], n);
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
    ~ParseContext() { s_.Release(); }
    ParseContext(const ParseContext&) = delete;
    ParseContext& operator=(const ParseContext&) = delete;

    // True when [a, b) holds no operator character at all (most operands).
    bool HasNoOperator(int a, int b) const { return nextOperator_[a] >= b; }

    std::string_view Text() const { return text_; }

    // Where the parse took 0 for text it does not understand, or left an
    // operand out; null while compiling, set by the diagnosis.
    std::vector<engine::TParseNote>* Notes = nullptr;
    void Note(engine::TParseNote::TKind kind, int a, int b) const {
        if (Notes != nullptr) Notes->push_back({kind, a, b});
    }

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

    // The operators of one level at depth `depth` inside [a, b): a run of
    // the list sorted by depth and position.
    std::span<const std::pair<int, int>> OperatorsIn(OperatorLevel level, int depth, int a,
                                                     int b) const {
        const auto& list = operators_[static_cast<int>(level)];
        const auto first =
            std::lower_bound(list.begin(), list.end(), std::pair<int, int>{depth, a});
        auto last = first;
        while (last != list.end() && last->first == depth && last->second < b)
            ++last;
        return {first, last};
    }

  private:
    // Orders (depth, position) pairs by depth, keeping the position order
    // within a depth: a counting sort, as depths lie within -n .. n.
    void SortByDepth(std::vector<std::pair<int, int>>& list, int n) {
        if (list.empty()) return;
        std::vector<int>& start = s_.counts;
        start.assign(2 * static_cast<size_t>(n) + 2, 0);
        for (const auto& entry : list)
            ++start[entry.first + n + 1];
        for (size_t k = 1; k < start.size(); ++k)
            start[k] += start[k - 1];
        std::vector<std::pair<int, int>>& sorted = s_.sorted;
        sorted.resize(list.size());
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
    ParseScratch& s_;
    std::vector<int>& depthAfter_;
    std::vector<std::pair<int, int>>* operators_;
    std::vector<int>& tree_;
    std::vector<int>& nextOperator_;
    int size_ = 0;
};

struct Range {
    int a, b;
    bool Empty() const { return a >= b; }
};

// `quiet`: an empty range is not noted (the caller noted the place already).
void Parse(const ParseContext& ctx, TExprNode* node, Range r, int depth, bool quiet = false);

// Nodes come from blocks that are kept when trees are freed: every plot
// compiles its formulas afresh, and handing thousands of nodes back to the
// system and asking again each time costs more than the parse. The blocks
// live as long as the process; a thread reuses the nodes it freed.
class TNodePool {
  public:
    TExprNode* Take() {
        if (free_.empty()) Grow();
        TExprNode* node = free_.back();
        free_.pop_back();
        *node = TExprNode{};
        return node;
    }
    void Give(TExprNode* node) { free_.push_back(node); }

  private:
    void Grow() {
        constexpr std::size_t BlockNodes = 1024;
        // Reachable through this list until the process ends.
        static auto* blocks = new std::vector<TExprNode*>;
        static std::mutex blocksMutex;
        auto* block = new TExprNode[BlockNodes];
        {
            const std::lock_guard<std::mutex> lock(blocksMutex);
            blocks->push_back(block);
        }
        for (std::size_t i = BlockNodes; i-- > 0;)
            free_.push_back(&block[i]);
    }
    std::vector<TExprNode*> free_;
};

TNodePool& Nodes() {
    thread_local TNodePool pool;
    return pool;
}

TExprNode* NewNode() {
    TExprNode* node = Nodes().Take();
    InitNode(node);
    return node;
}

// Builds the operand list of a sum, product or power from the segments
// between the operators. A missing first operand (an operator with nothing
// before it and only one operand after, or no operand at all) is compiled
// from the empty text, the constant 0.
void ParseOperatorChain(const ParseContext& ctx, TExprNode* node, Range r,
                        std::span<const std::pair<int, int>> ops, OperatorLevel level, int depth) {
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
            Parse(ctx, tail, Range{0, 0}, depth + 1, true);
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
    for (const auto& op : ops) {
        const int p = op.second;
        const Range segment{start, p};
        if (!segment.Empty())
            addOperand(segment, false);
        else if (start != r.a || level != OperatorLevel::Additive) // not a leading sign
            ctx.Note(engine::TParseNote::OperandBefore, p, p + 1);
        negative = text[p] == '-' || text[p] == '/';
        start = p + 1;
    }
    const Range last{start, r.b};
    if (!last.Empty())
        addOperand(last, true);
    else
        ctx.Note(engine::TParseNote::OperandAfter, start - 1, start);
    if (tail == nullptr) {
        // Signs or operators only: one operand from the empty text.
        tail = NewNode();
        node->Child = tail;
        Parse(ctx, tail, Range{0, 0}, depth + 1, true);
        if (level == OperatorLevel::Additive) tail->Positive = negative ? 0 : 1;
    }
}

bool IsNumberText(std::string_view s) {
    if (s.empty()) return false;
    for (const char c : s)
        if (!((c >= '0' && c <= '9') || c == '.' || c == ',')) return false;
    return true;
}

void Parse(const ParseContext& ctx, TExprNode* node, Range r, int depth, bool quiet) {
    InitNode(node);
    if (depth > MaxFormulaDepth) {
        node->Kind = nkConstant;
        node->Value = 0.0;
        ctx.Note(engine::TParseNote::TooDeep, r.a, r.b);
        return;
    }
    const Range typed = r;
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

    // Every function name starts with one of these letters.
    const size_t longest =
        !text.empty() && std::string_view("ACELRST").find(text[0]) != std::string_view::npos
            ? std::min<size_t>(5, text.size())
            : 0;
    for (size_t length = 1; length <= longest; ++length) {
        const std::string_view prefix = text.substr(0, length);
        for (const auto& entry : engine::TreeFunctionNames) {
            if (prefix != entry.Name) continue;
            node->Func = entry.Func;
            node->Child = NewNode();
            const int argumentStart = entry.Name == "SQR(" ? r.a + static_cast<int>(length) - 1
                                                           : r.a + static_cast<int>(length);
            const bool noArgument = argumentStart >= r.b;
            if (noArgument) ctx.Note(engine::TParseNote::NoArgument, r.a, r.b);
            Parse(ctx, node->Child, Range{argumentStart, r.b}, depth + 1, noArgument);
            return;
        }
    }

    if (IsNumberText(text)) {
        // Short integers are exact as they are; other numbers go through
        // the locale's conversion, which may refuse them.
        if (text.size() <= 15 && text.find_first_of(".,") == std::string_view::npos) {
            std::int64_t v = 0;
            for (const char c : text)
                v = v * 10 + (c - '0');
            node->Value = static_cast<double>(v);
            node->Kind = nkConstant;
            return;
        }
        std::string number(text);
        for (char& c : number)
            if (c == '.' || c == ',') c = DecimalSeparatorChar;
        node->Kind = nkConstant;
        if (ctx.Notes == nullptr) {
            node->Value = StrToFloat(number);
        } else {
            try {
                node->Value = StrToFloat(number);
            } catch (const ConversionError&) {
                ctx.Note(engine::TParseNote::Number, r.a, r.b);
            }
        }
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
    if (text == "PI") {
        node->Value = PiValue;
    } else if (text == "E") {
        node->Value = std::exp(1.0);
    } else if (const int k = ParameterIndex(text); k >= 0) {
        node->Kind = nkFunction; // read from its cell, as a variable is
        node->Func = ParameterReader(k);
    } else {
        node->Value = 0.0;
        if (!r.Empty())
            ctx.Note(engine::TParseNote::Unknown, r.a, r.b);
        else if (!quiet)
            ctx.Note(engine::TParseNote::EmptyBrackets, typed.a, typed.b);
    }
}

void FreeChain(TExprNode* node) {
    while (node != nullptr) {
        TExprNode* next = node->Next;
        if (node->Child != nullptr) FreeChain(node->Child);
        delete node->Fast;
        node->Fast = nullptr;
        Nodes().Give(node);
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

TExprNode* NewTreeNode() {
    return NewNode();
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

namespace engine {

std::vector<TParseNote> ParseNotes(const std::string& upper) {
    std::vector<TParseNote> notes;
    if (upper.empty()) return notes;
    ParseContext ctx(upper);
    ctx.Notes = &notes;
    TTreePtr root(NewNode());
    Parse(ctx, root.get(), Range{0, static_cast<int>(upper.size())}, 0);
    return notes;
}

} // namespace engine

void FreeTree(TExprNode*& tree) {
    FreeChain(tree);
    tree = nullptr;
}

bool FormulaTreesLocked = false;
std::uint64_t FormulaTreesGeneration = 0;

namespace {
std::vector<std::string>& DefinedParameters() {
    static std::vector<std::string> names;
    return names;
}
} // namespace

void SetParameterNames(const std::vector<std::string>& upperNames) {
    std::vector<std::string>& names = DefinedParameters();
    const std::vector<std::string> kept(
        upperNames.begin(),
        upperNames.begin() + std::min<std::ptrdiff_t>(std::ssize(upperNames), MaxParameters));
    if (kept == names) return;
    names = kept;
    ++FormulaTreesGeneration; // a tree compiled before may read a name otherwise
}

const std::vector<std::string>& ParameterNames() {
    return DefinedParameters();
}

int ParameterIndex(std::string_view upperName) {
    const std::vector<std::string>& names = DefinedParameters();
    const auto found = std::find(names.begin(), names.end(), upperName);
    return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

bool NameTakenByLanguage(const std::string& name) {
    const std::string upper = UpperCaseFormula(name);
    for (const char* taken : {"X", "Y", "Z", "T", "U", "V", "F", "PI", "E", "RND", "RAND"})
        if (upper == taken) return true;
    for (const auto& entry : engine::TreeFunctionNames)
        if (upper.starts_with(entry.Name)) return true;
    return false;
}

TreesLocked::TreesLocked()
    : std::runtime_error(texts::Translate(
          "Engine", "Идёт построение: дождитесь его конца или нажмите «Отмена».")) {}

void FreeAllTrees() {
    if (FormulaTreesLocked) throw TreesLocked();
    ++FormulaTreesGeneration;
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

TTreePtr CompileTree(const std::string& text, TEvalContext& context) {
    const TContextScope scope(context);
    return CompileTree(text);
}

namespace {
bool Draws(const TExprNode* n) {
    for (; n != nullptr; n = n->Next)
        if ((n->Kind == nkFunction && n->Func == engine::FnRand) || Draws(n->Child)) return true;
    return false;
}
} // namespace

bool DrawsRandom(const TExprNode* tree) {
    return Draws(tree);
}

void CompileFormula(int slot, const std::string& text) {
    if (FormulaTreesLocked) throw TreesLocked();
    if (slot < 0 || slot >= FormulaSlotCount) return;
    ++FormulaTreesGeneration;
    if (FormulaTrees[slot] != nullptr) FreeTree(FormulaTrees[slot]);
    FormulaTrees[slot] = CompileTree(text).release();
}
