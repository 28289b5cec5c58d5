// The formula engine: the formula language, its compiler to trees, tree
// evaluation with the function library, the direct text evaluator, the
// standard number text and the random formula generator.
//
// Everything here is plain C++ with no Qt, so tools and tests link it without
// a display. What an evaluation reads and changes (the variables, the error
// flag, the random generator) lives in an evaluation context; the names
// VarX ... EvalError are the main thread's. The compiled trees, the slots and
// every other state are the main thread's alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// ---------------------------------------------------------------------------
// Compiled formula trees

enum TNodeKind : std::uint8_t {
    nkSum = 0,      // operands chained through Next, each added or subtracted
    nkProduct = 1,  // 1 multiplied or divided by each operand in turn
    nkPower = 2,    // first operand raised to the second, then to the third...
    nkFunction = 3, // Func applied to the child's value (a variable: no child)
    nkConstant = 4, // Value
};

using TUnaryFunc = double (*)(double);

struct TExprNode;
namespace engine {
struct TFastProgram; // the interpreter's program and the machine code (engine-internal)
double EvalTreeWalk(const TExprNode* tree);
} // namespace engine

// What EvalTree runs for a compiled tree: chosen when the tree is compiled,
// the tree's machine code, or the interpreter of its flattened program.
struct TFastForm {
    double (*Run)(const TExprNode* tree) = nullptr;
    engine::TFastProgram* Program = nullptr; // owned
    TFastForm() = default;
    TFastForm(const TFastForm&) = delete;
    TFastForm& operator=(const TFastForm&) = delete;
    ~TFastForm();
};

struct TExprNode {
    TNodeKind Kind = nkFunction;
    std::uint8_t Positive = 1; // sum: added / subtracted; product: multiplied / divided
    TUnaryFunc Func = nullptr;
    double Value = 0.0;
    TExprNode* Next = nullptr;  // next operand of the same parent
    TExprNode* Child = nullptr; // first operand, or the function's argument
    // Set on the root of a tree made by CompileFormula; owned by that root and
    // freed with it. Null elsewhere, and EvalTree then walks the tree itself.
    TFastForm* Fast = nullptr;
};

// The y(x) list draws at most this many graphs, each in a slot of its own.
constexpr int ListSlotCount = 1000;
constexpr int FormulaSlotCount = 1 + ListSlotCount;

// The slots of FormulaTrees each kind of plot compiles into.
enum TTreeSlot : int {
    tsFormula = 0,   // the formula box of y(x) or r(fi)
    tsListFirst = 1, // list item k goes into slot k
    tsListLast = ListSlotCount,
    tsPlaneX = 0,  // x(t) (fi(t)) of the 2D parametric curve
    tsPlaneY = 1,  // y(t) (r(t))
    tsSurface = 0, // z(x,y), and F(x,y,z) of the implicit surface
    tsX = 0,       // x, y and z of a space curve or a parametric surface
    tsY = 1,
    tsZ = 2,
};

// The compiled formulas of the current plot; every plotting operation frees
// all slots and compiles what it needs into fixed slots.
extern TExprNode* FormulaTrees[FormulaSlotCount];

// What the evaluations of a thread read and change: the cells read by the
// variables x y z t u v f (written by the plotting code before each sample;
// they start at 0 and keep their last value), the flag a domain error sets
// (never cleared by evaluation), the random generator of RND and RAND, and
// the values of the parameters (below).
constexpr int MaxParameters = 64;
struct TEvalContext {
    double X = 0.0, Y = 0.0, Z = 0.0, T = 0.0, U = 0.0, V = 0.0, F = 0.0;
    bool Error = false;
    std::mt19937_64 Random{0x5eed};
    double P[MaxParameters] = {};
};

// ---------------------------------------------------------------------------
// Parameters: names a document defines (a, b, k1 …), each read from a cell
// of the context as f is. A formula reads a name as a parameter only where
// the language gives it no meaning (an unknown name) and only while it is
// defined: what a formula means without parameters it means with them.

// The defined names as formulas read them (upper case), parameter k in cell
// P[k]; at most MaxParameters. A change compiles the trees afresh at their
// next use (FormulaTreesGeneration moves on).
void SetParameterNames(const std::vector<std::string>& upperNames);
const std::vector<std::string>& ParameterNames();
// The cell of a defined name (upper case), or -1.
int ParameterIndex(std::string_view upperName);
// The language reads the name (letters and digits) as something else, so
// that it cannot be a parameter's: a function, variable or constant, F, RND
// or RAND, or a name that starts with a function's (SINA reads SIN(A)).
bool NameTakenByLanguage(const std::string& name);

// The main thread's context, which the names below are.
extern TEvalContext MainContext;
// Bound at compile time, so that a store to one is a store to a fixed
// address, as to any global.
inline constexpr double &VarX = MainContext.X, &VarY = MainContext.Y, &VarZ = MainContext.Z,
                        &VarT = MainContext.T, &VarU = MainContext.U, &VarV = MainContext.V,
                        &VarF = MainContext.F;
inline constexpr bool& EvalError = MainContext.Error;

// The context of the evaluations of the calling thread: MainContext until a
// scope binds another. A tree compiled while a context is current reads that
// context's cells; it must be evaluated while the same context is current
// (on whichever thread), because its library calls flag errors and draw
// random numbers in the current one.
TEvalContext& CurrentContext();
class TContextScope {
  public:
    explicit TContextScope(TEvalContext& context);
    ~TContextScope();
    TContextScope(const TContextScope&) = delete;
    TContextScope& operator=(const TContextScope&) = delete;

  private:
    TEvalContext* saved_;
};

// The animation's frame number, read by the name F of the text evaluator.
extern std::int32_t FrameCounter;

// The locale's decimal separator ('.' or ','), set once at start-up.
extern char DecimalSeparatorChar;

// A text that is not a plain number where one is needed. what() is the
// message the user sees; a caller that knows where the text came from may
// add that place to it.
class ConversionError : public std::exception {
  public:
    enum class TKind { FloatingPoint, Integer };
    explicit ConversionError(const std::string& text, TKind kind = TKind::FloatingPoint);
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& text() const { return text_; }
    // The same failure, with ": `place`" after the message.
    ConversionError At(const std::string& place) const;

  private:
    std::string text_;
    std::string message_;
};

// Upper-cases the letters a to z; every other byte stays as it is.
std::string UpperCaseFormula(const std::string& text);

// Frees a whole tree, for owners of compiled trees.
struct TTreeDeleter {
    void operator()(TExprNode* tree) const;
};
using TTreePtr = std::unique_ptr<TExprNode, TTreeDeleter>;

// Compiles text into a tree the caller owns, with its fast form; null for an
// empty text. The text is upper-cased first. A malformed number throws
// ConversionError. The tree reads the current context, or `context`.
TTreePtr CompileTree(const std::string& text);
TTreePtr CompileTree(const std::string& text, TEvalContext& context);

// True when evaluating the tree draws random numbers (RND, RAND): its results
// then depend on the order of the evaluations.
bool DrawsRandom(const TExprNode* tree);

// How many threads a build may use: PLOTTER_THREADS when it is a number
// from 1 up, otherwise the machine's hardware threads; SetBuildThreads
// overrides both (0 restores them).
int BuildThreads();
void SetBuildThreads(int threads);

// Runs task(0) ... task(count - 1), each once, on the calling thread and
// threads - 1 helper threads, which take the next task as they finish one;
// returns when all are done. A task that throws (out of memory, say) ends
// the handing out of tasks; once the threads have stopped, the first such
// exception is thrown again on the calling thread.
void RunTasks(std::size_t count, int threads, const std::function<void(std::size_t)>& task);

// Compiles text into slot `slot` of FormulaTrees (an empty text leaves it
// empty). A malformed number throws ConversionError and leaves the slot empty.
void CompileFormula(int slot, const std::string& text);

// Fills `node`, and the subtree under it, from upper-case text.
void ParseFormula(TExprNode* node, const std::string& text);

// Removes brackets that enclose the whole text, repeatedly, in place.
void StripOuterBrackets(std::string& text);

void InitNode(TExprNode* node);

// A node for a tree built by hand and owned through TTreePtr (or FreeTree),
// from the pool the compiler takes its nodes from.
TExprNode* NewTreeNode();

// Frees every node of the tree `tree` refers to and sets the reference to null.
void FreeTree(TExprNode*& tree);

void FreeAllTrees();

// Counts every change of the slots of FormulaTrees, so that whoever compiled
// them can tell whether they still hold its formulas.
extern std::uint64_t FormulaTreesGeneration;

// While a long build evaluates the trees of FormulaTrees and lets other
// events run, the trees must stay: FreeAllTrees and CompileFormula then
// throw TreesLocked instead of freeing them.
extern bool FormulaTreesLocked;
class TreesLocked : public std::runtime_error {
  public:
    TreesLocked();
};

// Evaluates a tree; null (an empty slot) gives VarX. A tree made by hand,
// without a fast form, is walked.
inline double EvalTree(const TExprNode* tree) {
    if (tree == nullptr) return CurrentContext().X;
    if (tree->Fast != nullptr) return tree->Fast->Run(tree);
    return engine::EvalTreeWalk(tree);
}

// The tree at n points that differ in one variable of `context` (the
// context the tree was compiled for): for each point in turn, the variable
// takes values[i] and the error flag is cleared; the value goes to out[i]
// and the flag to errors[i]. The same bits, flags and random draws as n
// evaluations by EvalTree, and the context is left as they leave it; the
// machine code runs the points in one loop of its own.
void EvalRow(const TExprNode* tree, TEvalContext& context, double TEvalContext::*variable,
             const double* values, std::size_t n, double* out, bool* errors);
// The values and flags of one row after another, in arrays kept from row
// to row.
class TRowResults {
  public:
    // EvalRow of the tree at `values` into Values() and Errors().
    void Eval(const TExprNode* tree, TEvalContext& context, double TEvalContext::*variable,
              const std::vector<double>& values);
    const double* Values() const { return values_.data(); }
    const bool* Errors() const { return errors_.get(); }
    bool AnyError() const;

  private:
    std::vector<double> values_;
    std::unique_ptr<bool[]> errors_;
    std::size_t size_ = 0, room_ = 0;
};
// Makes the machine code of the tree's rows along these variables at once,
// before rows along them are evaluated (each is otherwise made at its first
// row). A builder calls it before its threads start: making code executable
// costs least while one thread runs.
void PrepareRows(const TExprNode* tree, TEvalContext& context,
                 const std::vector<double TEvalContext::*>& variables);

// Why the text evaluator set its flag: the first failure it met.
enum class TTextFault {
    None,
    Unknown,        // a name or text it does not know (Y, "abc", an empty operand)
    SquareRoot,     // SQRT of a negative number
    Logarithm,      // LN or LG of a number not above 0
    ArcRange,       // ASIN or ACOS outside -1 .. 1
    DivisionByZero, // a divisor (or a cosine or sine below a fraction bar) of 0
    ZeroPower,      // 0 to a negative power
    NegativeBase,   // a negative number to a power that is not whole
    TooDeep,        // nesting deeper than MaxFormulaDepth
    TooLong,        // more work than any formula of a field needs
};
struct TTextFaultInfo {
    TTextFault Kind = TTextFault::None;
    std::string Text; // the (upper-case) text it happened in
};

// The direct evaluator of formula text (already upper-cased): x stands for
// the name X, FrameCounter for F. Every problem sets `error`; `fault`, when
// given, gets the first of them.
double EvalFormulaText(const std::string& text, bool& error, double x,
                       TTextFaultInfo* fault = nullptr);

// A number as every numeric field takes it: a plain number in the locale's
// form, or else a formula of x = 0 by the text evaluator; nothing where that
// reports an error (`fault` then says which). A malformed number inside the
// formula throws ConversionError.
std::optional<double> FieldNumberValue(const std::string& text, TTextFaultInfo* fault = nullptr);

// Digits, one separator (',' or '.'), one exponent letter, and a minus at
// the start or as the exponent's sign: the characters of a number, so that
// the program's own text of a small number (1E-6) passes. Nothing is
// converted; an empty text does not pass.
bool HasNumberCharacters(const std::string& text);

// The standard number text: 15 significant digits, DecimalSeparatorChar.
std::string FormatNumber(double value);

// Strict conversion of a plain number in the locale's format; throws
// ConversionError on anything else.
double StrToFloat(const std::string& text);

// Strict conversion of a whole decimal number of 32 bits, with blanks
// around it allowed; throws ConversionError ("... is not a valid integer
// value") on anything else.
std::int32_t StrToInt(const std::string& text);

// Random formula text z(x,y) in lower case.
std::string RandomFormula(int depth, bool inArgument);
std::string RandomLeaf();
std::string RandomSum(int depth, bool inArgument);
std::string RandomProduct(int depth, bool inArgument);
std::string RandomFunctionCall(int depth, bool inArgument);

// The random generator of the current context, shared by RAND, RND and the
// formula generator.
void SeedRandom(std::uint64_t seed);
void SeedRandomFromClock();
std::uint32_t RandomBelow(std::uint32_t n); // uniform in 0 .. n-1; 0 when n is 0
double RandomReal();                        // uniform in [0, 1)

// Masks every floating-point exception and selects extended precision for
// long double arithmetic where the platform has it.
void InitFloatingPoint();

// Memory the process frees stays with it, up to 256 MB, for the next build
// or frame to take again, instead of going back to the system at each free
// and coming back page by page: a software renderer frees and takes again
// hundreds of megabytes at every frame of a big surface. Called once, before
// the first window.
void InitMemoryReuse();

// The deepest nesting the compiler and the text evaluator follow; deeper
// parts compile to the constant 0 and make the text evaluator report an error.
constexpr int MaxFormulaDepth = 1000;
