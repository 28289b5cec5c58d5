// Differential fuzz target of the evaluators: a formula built from the input
// bytes (or the bytes themselves as formula text) is compiled once to machine
// code and once for the interpreter, and both must give the tree walk's
// result bit for bit, with the same EvalError, at points that include NaN,
// the infinities, the largest and the subnormal numbers.
#include "engine/Engine.h"
#include "engine/FastForm.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

class Reader {
  public:
    Reader(const std::uint8_t* data, std::size_t size) : p_(data), n_(size) {}
    std::uint8_t Byte() {
        if (n_ == 0) return 0;
        --n_;
        return *p_++;
    }
    bool Empty() const { return n_ == 0; }
    double Double() {
        std::uint64_t bits = 0;
        for (int i = 0; i < 8; ++i)
            bits = bits << 8 | Byte();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }

  private:
    const std::uint8_t* p_;
    std::size_t n_;
};

const char* const Numbers[] = {"0",
                               "1",
                               "2",
                               "3",
                               "10",
                               "0.5",
                               "1.5",
                               "0,25",
                               "1000000",
                               "0.000001",
                               "123456789012345678901",
                               "7",
                               "1e5",
                               "4294967296",
                               "9007199254740993"};
const char* const Functions[] = {"sin",  "cos",  "tg",  "ctg", "sec",  "csec", "atg", "actg",
                                 "asin", "acos", "sh",  "ch",  "th",   "cth",  "exp", "ln",
                                 "lg",   "sqrt", "sqr", "abs", "sign", "rand"};

std::string Formula(Reader& r, int depth) {
    const std::uint8_t b = r.Byte();
    const int choice = depth <= 0 ? b % 4 : b % 10;
    switch (choice) {
    case 0:
        return std::string(1, "xyztuvf"[r.Byte() % 7]);
    case 1:
        return Numbers[r.Byte() % (sizeof Numbers / sizeof *Numbers)];
    case 2:
        return r.Byte() % 2 ? "pi" : "e";
    case 3:
        return std::string("(-") + Numbers[r.Byte() % (sizeof Numbers / sizeof *Numbers)] + ")";
    case 4:
    case 5:
    case 6: { // a chain of two to five operands of one operator level
        const char op = "+-*/^"[r.Byte() % 5];
        const int count = 2 + r.Byte() % 4;
        std::string text = Formula(r, depth - 1);
        for (int i = 1; i < count; ++i) {
            const char o = r.Byte() % 3 == 0 ? "+-*/^"[r.Byte() % 5] : op;
            text += o + Formula(r, depth - 1);
        }
        return r.Byte() % 2 ? "(" + text + ")" : text;
    }
    case 7: {
        const char* f = Functions[r.Byte() % (sizeof Functions / sizeof *Functions)];
        return std::string(f) + "(" + Formula(r, depth - 1) + ")";
    }
    case 8:
        return "-" + Formula(r, depth - 1);
    default:
        return "(" + Formula(r, depth - 1) + ")";
    }
}

// The same bits and the same error flag. Where a signalling NaN is among
// the inputs, the payload of a NaN result is the compiler's business (it
// depends on whether an operand was loaded before or within its operation,
// and no NaN's payload is ever seen), so only being a NaN must agree.
bool SameResult(double a, bool errorA, double b, bool errorB, bool signalling) {
    if (errorA != errorB) return false;
    if (signalling && std::isnan(a) && std::isnan(b)) return true;
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool IsSignallingNaN(double d) {
    std::uint64_t u;
    std::memcpy(&u, &d, sizeof u);
    return std::isnan(d) && (u & (std::uint64_t{1} << 51)) == 0;
}

struct Result {
    double value;
    bool error;
};

Result Run(const TExprNode* tree, bool walk) {
    SeedRandom(99);
    EvalError = false;
    const double v = walk ? engine::EvalTreeWalk(tree) : EvalTree(tree);
    return {v, EvalError};
}

const double Special[] = {0.0,
                          -0.0,
                          1,
                          -1,
                          0.5,
                          2,
                          -2,
                          3,
                          -3.5,
                          1e300,
                          -1e300,
                          1e-300,
                          DBL_MIN,
                          4.9e-324,
                          -4.9e-324,
                          1e-310,
                          DBL_MAX,
                          -DBL_MAX,
                          std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity(),
                          std::numeric_limits<double>::quiet_NaN(),
                          9223372036854775808.0,
                          1.5707963267948966,
                          710,
                          -745};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool initialised = [] {
        InitFloatingPoint();
        return true;
    }();
    (void)initialised;
    Reader r(data, size);
    std::string text;
    if (r.Byte() % 4 == 0) {
        const std::size_t length = size > 1 ? std::min<std::size_t>(r.Byte(), size - 2) : 0;
        for (std::size_t i = 0; i < length; ++i)
            text += static_cast<char>(r.Byte());
    } else {
        text = Formula(r, 1 + r.Byte() % 6);
    }
    TTreePtr machine, interpreted;
    try {
        engine::SelectEvaluator(engine::TEvaluator::MachineCode);
        machine = CompileTree(text);
        engine::SelectEvaluator(engine::TEvaluator::Interpreter);
        interpreted = CompileTree(text);
        engine::SelectEvaluator(engine::TEvaluator::MachineCode);
    } catch (const ConversionError&) {
        engine::SelectEvaluator(engine::TEvaluator::MachineCode);
        return 0;
    }
    if (!machine) return 0;
    double* const cells[] = {&VarX, &VarY, &VarZ, &VarT, &VarU, &VarV, &VarF};
    // The row varies one of the cells over the values it takes below.
    const int rowCell = static_cast<int>(text.size() % 7);
    std::vector<double> rowValues;
    for (int point = 0; point < 6; ++point) {
        for (double* cell : cells) {
            const std::uint8_t b = r.Byte();
            *cell = b < 200 ? Special[b % (sizeof Special / sizeof *Special)] : r.Double();
        }
        rowValues.push_back(*cells[rowCell]);
        const Result walk = Run(machine.get(), true);
        const Result jit = Run(machine.get(), false);
        const Result interp = Run(interpreted.get(), false);
        bool signalling = false;
        for (const double* cell : cells)
            signalling = signalling || IsSignallingNaN(*cell);
        if (!SameResult(walk.value, walk.error, jit.value, jit.error, signalling) ||
            !SameResult(walk.value, walk.error, interp.value, interp.error, signalling)) {
            auto bits = [](double d) {
                std::uint64_t u;
                std::memcpy(&u, &d, sizeof u);
                return static_cast<unsigned long long>(u);
            };
            std::fprintf(stderr,
                         "difference: %s at x=%016llx y=%016llx z=%016llx: walk %016llx %d, "
                         "machine code %016llx %d, interpreter %016llx %d\n",
                         text.c_str(), bits(VarX), bits(VarY), bits(VarZ), bits(walk.value),
                         walk.error, bits(jit.value), jit.error, bits(interp.value), interp.error);
            std::abort();
        }
        if (r.Empty()) break;
    }
    // The machine code's row against the walk point by point, the random
    // draws running on from one point to the next.
    double TEvalContext::*const members[] = {&TEvalContext::X, &TEvalContext::Y, &TEvalContext::Z,
                                             &TEvalContext::T, &TEvalContext::U, &TEvalContext::V,
                                             &TEvalContext::F};
    bool signalling = false;
    for (const double* cell : cells)
        signalling = signalling || IsSignallingNaN(*cell);
    for (const double v : rowValues)
        signalling = signalling || IsSignallingNaN(v);
    const std::size_t n = rowValues.size();
    std::vector<double> out(n);
    std::unique_ptr<bool[]> errors(new bool[n]);
    SeedRandom(99);
    EvalRow(machine.get(), MainContext, members[rowCell], rowValues.data(), n, out.data(),
            errors.get());
    SeedRandom(99);
    for (std::size_t i = 0; i < n; ++i) {
        *cells[rowCell] = rowValues[i];
        EvalError = false;
        const double walk = engine::EvalTreeWalk(machine.get());
        if (!SameResult(walk, EvalError, out[i], errors[i], signalling)) {
            std::fprintf(stderr, "row difference: %s at point %zu of %zu\n", text.c_str(), i, n);
            std::abort();
        }
    }
    return 0;
}
