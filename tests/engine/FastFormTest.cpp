// The fast form must give the tree walk's results bit for bit, with the same
// EvalError and the same order of random draws.
#include "TestSupport.h"

#include "engine/FastForm.h"

#include <algorithm>
#include <memory>
#include <set>

#include <limits>
#include <random>
#include <vector>

namespace {

const std::vector<std::string> Formulas = {
    "x^2+y^2+z^2-4",
    "sin(x)*cos(y)",
    "sqrt(x*x+y*y)",
    "x*x",
    "sin(x)/x+cos(3*x)",
    "(sin(x)+cos(y))*sqrt(x*x+y*y+1)/(1+x*x)",
    "-x",
    "-x-y",
    "0-x",
    "x/y/z",
    "1/x",
    "x/0",
    "x^y",
    "x^z^2",
    "(x*y)^2",
    "2^x",
    "x^(-2)",
    "x^3",
    "x^0.5",
    "-x^2",
    "x*-1",
    "2^-1",
    "ln(x)",
    "lg(y)",
    "sqrt(x)",
    "asin(x)",
    "acos(y)",
    "tg(x)+ctg(y)",
    "sec(x)*csec(y)",
    "sh(x)-ch(y)+th(z)-cth(x)",
    "exp(x)*abs(y)/sign(z)",
    "sqr(x+y)",
    "atg(x)+actg(y)",
    "x+y+z",
    "x*y*z",
    "x-y*z/x",
    "sin",
    "x/2",
    "x*2",
    "x/(1-1)",
    "1+2*3",
    "pi*x+e",
    "sin(cos(sin(x)))",
    "sqrt(2)*x",
    "(x)/(y)",
    "sin(x)^2+cos(x)^2",
    "x^x",
    "-(-x)",
    "x^2",
    "y^2*x",
    "t+u+v+f",
    "rand(10)+rand(x)",
    "*x",
    "/2",
    "^3",
    "-",
    "f*x-0",
    "x+y*sqrt(-1)",
    "(x+y)*(x-y)/(x*x-y*y)",
    "x^y^z",
    "0*x",
    "x-x",
    "-0*x",
    // Nested deeper than the operand stack an evaluation keeps on its own
    // stack frame.
    [] {
        std::string f = "x";
        for (int i = 0; i < 40; ++i)
            f = "y-(" + f + ")*x";
        return f;
    }(),
};

std::vector<double> SamplePoints() {
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> points = {
        0.0,   -0.0,    1,      -1,     2,   -2,   0.5,
        -0.5,  3,       1e-300, -1e300, inf, -inf, std::numeric_limits<double>::quiet_NaN(),
        1e308, 4.9e-324};
    std::mt19937_64 gen(2024);
    std::uniform_real_distribution<double> wide(-20, 20);
    for (int i = 0; i < 60; ++i)
        points.push_back(wide(gen));
    return points;
}

struct Result {
    double value;
    bool error;
};

Result RunBoth(const TExprNode* tree, bool fast, std::uint64_t seed) {
    SeedRandom(seed);
    EvalError = false;
    const double v = fast ? EvalTree(tree) : engine::EvalTreeWalk(tree);
    return {v, EvalError};
}

void ExpectSameAsTreeWalk(const std::string& formula, const std::vector<double>& points) {
    CompileFormula(0, formula);
    const TExprNode* tree = FormulaTrees[0];
    ASSERT_NE(tree, nullptr) << formula;
    ASSERT_NE(tree->Fast, nullptr) << formula;
    // The form under test is the one that runs.
    const bool machineCode = engine::SelectedEvaluator() == engine::TEvaluator::MachineCode;
    ASSERT_EQ(tree->Fast->Program->MachineCode != nullptr, machineCode) << formula;
    std::mt19937_64 pick(7);
    std::uniform_int_distribution<size_t> index(0, points.size() - 1);
    for (int i = 0; i < 400; ++i) {
        VarX = points[index(pick)];
        VarY = points[index(pick)];
        VarZ = points[index(pick)];
        VarT = points[index(pick)];
        VarU = points[index(pick)];
        VarV = points[index(pick)];
        VarF = points[index(pick)];
        const Result fast = RunBoth(tree, true, 1000 + i);
        const Result walk = RunBoth(tree, false, 1000 + i);
        ASSERT_TRUE(SameBits(fast.value, walk.value) ||
                    (std::isnan(fast.value) && std::isnan(walk.value)))
            << formula << " at x=" << VarX << " y=" << VarY << " z=" << VarZ << ": fast "
            << fast.value << ", walk " << walk.value;
        ASSERT_EQ(fast.error, walk.error) << formula << " at x=" << VarX << " y=" << VarY;
    }
}

// Runs each test with both forms: the machine code and the interpreter.
class FastForm : public ::testing::TestWithParam<engine::TEvaluator> {
  protected:
    void SetUp() override {
        if (GetParam() == engine::TEvaluator::MachineCode && !engine::MachineCodeAvailable())
            GTEST_SKIP() << "no machine code here";
        engine::SelectEvaluator(GetParam());
    }
    void TearDown() override {
        engine::SelectEvaluator(engine::TEvaluator::MachineCode);
        FreeAllTrees();
    }
};
INSTANTIATE_TEST_SUITE_P(Evaluators, FastForm,
                         ::testing::Values(engine::TEvaluator::Interpreter,
                                           engine::TEvaluator::MachineCode),
                         [](const auto& info) {
                             return info.param == engine::TEvaluator::MachineCode ? "machine_code"
                                                                                  : "interpreter";
                         });

TEST_P(FastForm, MatchesTheTreeWalkBitForBit) {
    const auto points = SamplePoints();
    for (const auto& f : Formulas)
        ExpectSameAsTreeWalk(f, points);
}

// A row is its points evaluated one by one, each with the flag cleared:
// the same bits and flags, the same random draws, and the context left as
// the last point leaves it, along each variable. The machine code computes
// what does not depend on the variable once, before the loop; its errors
// still flag every point.
TEST_P(FastForm, ARowIsItsPointsOneByOne) {
    double TEvalContext::*const variables[] = {&TEvalContext::X, &TEvalContext::Y, &TEvalContext::Z,
                                               &TEvalContext::T, &TEvalContext::U, &TEvalContext::V,
                                               &TEvalContext::F};
    std::vector<double> values = SamplePoints();
    std::shuffle(values.begin(), values.end(), std::mt19937_64(5));
    std::vector<std::string> formulas = Formulas;
    for (const char* f : {"sqrt(y)*x+ln(z)", "x/(y-y)+v", "rand(5)*y+sin(z)*t", "y*2+sin(z)",
                          "(sin(y)+cos(z))*sqrt(x*x+y*y+1)/(1+x*x)", "sqr(y)^x-lg(-u)/f"})
        formulas.push_back(f);
    for (std::uint64_t seed = 1; seed <= 60; ++seed) {
        SeedRandom(seed);
        formulas.push_back(RandomFormula(2 + static_cast<int>(seed % 4), false));
    }
    const std::size_t n = values.size();
    for (std::size_t k = 0; k < formulas.size(); ++k) {
        CompileFormula(0, formulas[k]);
        const TExprNode* tree = FormulaTrees[0];
        // Half the trees get their rows made at once beforehand, in one
        // piece of code; the others at the first row along each variable.
        if (k % 2 != 0) {
            PrepareRows(tree, MainContext,
                        std::vector<double TEvalContext::*>(std::begin(variables),
                                                            std::end(variables)));
            EXPECT_EQ(tree->Fast->Program->RowCode.size(),
                      GetParam() == engine::TEvaluator::MachineCode ? 1u : 0u);
        }
        for (std::size_t slot = 0; slot < 7; ++slot) {
            double TEvalContext::*const v = variables[slot];
            const auto start = [&] {
                MainContext.X = 0.5, MainContext.Y = -2, MainContext.Z = 3, MainContext.T = 0;
                MainContext.U = 1e-300, MainContext.V = -0.0, MainContext.F = 7;
                MainContext.Error = true; // cleared before each point
                SeedRandom(100 + k);
            };
            start();
            std::vector<double> out(n + 1, 42.0);
            std::unique_ptr<bool[]> errors(new bool[n + 1]());
            errors[n] = true;
            EvalRow(tree, MainContext, v, values.data(), n, out.data(), errors.get());
            const double lastCell = MainContext.*v;
            const bool lastError = MainContext.Error;
            const std::uint64_t nextDraw = MainContext.Random();
            // The machine code ran the row in code of its own.
            ASSERT_EQ(tree->Fast->Program->Rows[slot] != nullptr,
                      GetParam() == engine::TEvaluator::MachineCode);
            start();
            for (std::size_t i = 0; i < n; ++i) {
                MainContext.*v = values[i];
                MainContext.Error = false;
                const double walk = engine::EvalTreeWalk(tree);
                ASSERT_TRUE(SameBits(out[i], walk) || (std::isnan(out[i]) && std::isnan(walk)))
                    << formulas[k] << " at " << values[i] << ": row " << out[i] << ", walk "
                    << walk;
                ASSERT_EQ(errors[i], MainContext.Error) << formulas[k] << " at " << values[i];
            }
            EXPECT_TRUE(SameBits(lastCell, MainContext.*v)) << formulas[k];
            EXPECT_EQ(lastError, MainContext.Error) << formulas[k];
            EXPECT_EQ(nextDraw, MainContext.Random()) << formulas[k];
            EXPECT_EQ(out[n], 42.0) << formulas[k] << ": written past the row";
            EXPECT_TRUE(errors[n]) << formulas[k] << ": written past the row";
        }
    }
    // An empty row changes nothing.
    CompileFormula(0, "1/x");
    MainContext.X = 0.25, MainContext.Error = true;
    double none = 42.0;
    bool noFlag = false;
    EvalRow(FormulaTrees[0], MainContext, &TEvalContext::X, &none, 0, &none, &noFlag);
    EXPECT_EQ(MainContext.X, 0.25);
    EXPECT_TRUE(MainContext.Error);
    EXPECT_EQ(none, 42.0);
}

TEST_P(FastForm, MatchesTheTreeWalkOnRandomFormulas) {
    const auto points = SamplePoints();
    for (std::uint64_t seed = 1; seed <= 400; ++seed) {
        SeedRandom(seed);
        ExpectSameAsTreeWalk(RandomFormula(2 + static_cast<int>(seed % 4), false), points);
    }
}

// Operands whose 80-bit result, rounded again to double, is not the
// correctly rounded double: the fast form must still give the 80-bit one.
TEST_P(FastForm, KeepsTheTwiceRoundedResultsOfTheTreeWalk) {
    std::mt19937_64 gen(77);
    std::uniform_real_distribution<double> d(0.5, 2);
    std::uniform_int_distribution<int> shift(0, 64); // sums need operands far apart
    struct Op {
        const char* formula;
        long double (*ld)(long double, long double);
        double (*dbl)(double, double);
    };
    const Op ops[] = {
        {"x+y", [](long double a, long double b) { return a + b; },
         [](double a, double b) { return a + b; }},
        {"x*y", [](long double a, long double b) { return a * b; },
         [](double a, double b) { return a * b; }},
        {"x/y", [](long double a, long double b) { return a / b; },
         [](double a, double b) { return a / b; }},
    };
    for (const auto& op : ops) {
        CompileFormula(0, op.formula);
        int found = 0, wrong = 0;
        for (int i = 0; i < 20000000 && found < 200; ++i) {
            const double a = d(gen), b = std::ldexp(d(gen), -shift(gen));
            const double twice = static_cast<double>(op.ld(a, b));
            const bool differs = twice != op.dbl(a, b);
            if (!differs && i >= 300000) continue; // past the first pairs, only the rare ones
            found += differs;
            VarX = a;
            VarY = b;
            if (!SameBits(EvalTree(FormulaTrees[0]), twice) && wrong++ < 5)
                ADD_FAILURE() << op.formula << " " << a << " " << b;
        }
        EXPECT_EQ(wrong, 0) << op.formula;
        EXPECT_EQ(found, 200) << op.formula;
    }
    VarX = 1;
    VarY = 0x1p-53 + 0x1p-64; // 1 + y lies just above a midpoint; 80 bits round it onto it
    CompileFormula(0, "x+y");
    EXPECT_EQ(EvalTree(FormulaTrees[0]), 1.0);
}

TEST_P(FastForm, FoldsConstantsButKeepsErrorsAndRandomDraws) {
    CompileFormula(0, "2*3+4^2");
    EvalError = false;
    EXPECT_EQ(EvalTree(FormulaTrees[0]), 22);
    // Folded into the one constant: the same program as the literal 22.
    const engine::TFastProgram& folded = *FormulaTrees[0]->Fast->Program;
    TTreePtr literal = CompileTree("22");
    const engine::TFastProgram& plain = *literal->Fast->Program;
    if (GetParam() == engine::TEvaluator::Interpreter) {
        EXPECT_EQ(folded.Code.size(), 2u); // one constant and the return
    } else {
        ASSERT_TRUE(folded.MachineCode && plain.MachineCode);
        EXPECT_EQ(
            std::vector<unsigned char>(folded.MachineCode->Bytes(),
                                       folded.MachineCode->Bytes() + folded.MachineCode->Used()),
            std::vector<unsigned char>(plain.MachineCode->Bytes(),
                                       plain.MachineCode->Bytes() + plain.MachineCode->Used()));
    }

    CompileFormula(0, "1/0+x");
    VarX = 1;
    EvalError = false;
    EXPECT_EQ(EvalTree(FormulaTrees[0]), 1);
    EXPECT_TRUE(EvalError); // the error is raised at every evaluation, not folded away

    CompileFormula(0, "rand(1000)");
    std::set<double> draws;
    for (int i = 0; i < 50; ++i)
        draws.insert(EvalTree(FormulaTrees[0]));
    EXPECT_GT(draws.size(), 1u);
    EvalError = false;
    FreeAllTrees();
}

TEST_P(FastForm, HandMadeTreesWithoutOperationEvaluateToZero) {
    TExprNode node;
    InitNode(&node);
    EXPECT_EQ(EvalTree(&node), 0.0);
    TExprNode constant;
    InitNode(&constant);
    constant.Kind = nkConstant;
    constant.Value = 2.5;
    EXPECT_EQ(EvalTree(&constant), 2.5);
}

} // namespace
