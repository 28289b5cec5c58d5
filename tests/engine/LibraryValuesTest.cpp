// Every function of the formula language at points where its value is known
// in closed form, through each evaluator: the tree walk, the interpreter,
// the machine code and the text evaluator. The points are not mirror images
// of each other, so that a wrong sign or a wrong branch shows.
#include "TestSupport.h"

#include "engine/FastForm.h"

#include <cmath>

namespace {

constexpr long double PiL = 3.14159265358979323846264338327950288L;
constexpr long double Ln2 = 0.693147180559945309417232121458176568L;
constexpr long double Ln3 = 1.098612288668109691395245236922525704L;
constexpr long double Sqrt3 = 1.732050807568877293527446341505872367L;
constexpr long double Sqrt2 = 1.414213562373095048801688724209698079L;
constexpr long double E = 2.718281828459045235360287471352662498L;

double D(long double v) {
    return static_cast<double>(v);
}

struct ValueCase {
    const char* formula; // of x
    double x;
    double expected;
};

const ValueCase Values[] = {
    {"cos(x)", D(PiL / 3), 0.5},
    {"cos(x)", D(PiL), -1},
    {"sin(x)", D(PiL / 6), 0.5},
    {"sin(x)", D(4 * PiL / 3), D(-Sqrt3 / 2)},
    {"tg(x)", D(PiL / 4), 1},
    {"tg(x)", D(-PiL / 3), D(-Sqrt3)},
    {"ctg(x)", D(PiL / 4), 1},
    {"ctg(x)", D(2 * PiL / 3), D(-1 / Sqrt3)},
    {"sec(x)", D(PiL / 3), 2},
    {"sec(x)", D(PiL), -1},
    {"csec(x)", D(PiL / 6), 2},
    {"csec(x)", D(-PiL / 2), -1},
    {"atg(x)", 1, D(PiL / 4)},
    {"atg(x)", D(-Sqrt3), D(-PiL / 3)},
    {"actg(x)", 1, D(PiL / 4)},
    {"actg(x)", -1, D(3 * PiL / 4)},
    {"actg(x)", D(Sqrt3), D(PiL / 6)},
    {"asin(x)", 0.5, D(PiL / 6)},
    {"asin(x)", D(-1 / Sqrt2), D(-PiL / 4)},
    {"acos(x)", 0.5, D(PiL / 3)},
    {"acos(x)", -0.5, D(2 * PiL / 3)},
    {"sh(x)", D(Ln2), 0.75},
    {"sh(x)", D(-Ln3), D(-4.0L / 3)},
    {"ch(x)", D(Ln2), 1.25},
    {"ch(x)", D(Ln3), D(5.0L / 3)},
    {"th(x)", D(Ln2), 0.6},
    {"th(x)", D(-Ln3), -0.8},
    {"cth(x)", D(Ln2), D(5.0L / 3)},
    {"cth(x)", D(-Ln3), -1.25},
    {"exp(x)", 1, D(E)},
    {"exp(x)", -2, D(1 / (E * E))},
    {"ln(x)", D(E), 1},
    {"ln(x)", 0.5, D(-Ln2)},
    {"lg(x)", 1000, 3},
    {"lg(x)", 0.01, -2},
    {"sqrt(x)", 2, D(Sqrt2)},
    {"sqrt(x)", 0.25, 0.5},
    {"sqr(x)", 3, 9},
    {"sqr(x)", -1.5, 2.25},
    {"abs(x)", -2.5, 2.5},
    {"abs(x)", 3, 3},
    {"sign(x)", -3, -1},
    {"sign(x)", 0.5, 1},
    {"rand(x)", 1, 0}, // uniform in 0 ... x-1
    {"rand(x)", -0.4, 0},
    {"x*pi", 1, D(PiL)},
    {"x*e", -1, D(-E)},
};

// Within four units in the last place of the closed-form value.
void ExpectClose(double got, double expected, const std::string& what) {
    const double ulp = std::nextafter(std::fabs(expected), HUGE_VAL) - std::fabs(expected);
    EXPECT_NEAR(got, expected, 4 * ulp) << what;
}

class LibraryValues : public ::testing::TestWithParam<engine::TEvaluator> {
  protected:
    void SetUp() override {
        DecimalSeparatorChar = '.';
        engine::SelectEvaluator(GetParam());
    }
    void TearDown() override {
        FreeAllTrees();
        engine::SelectEvaluator(engine::TEvaluator::MachineCode);
    }
};

TEST_P(LibraryValues, EveryFunctionAtKnownPoints) {
    for (const ValueCase& c : Values) {
        const std::string what = std::string(c.formula) + " at " + std::to_string(c.x);
        const Evaluated fast = CompileAndEval(c.formula, c.x);
        EXPECT_FALSE(fast.error) << what;
        ExpectClose(fast.value, c.expected, what + " (compiled)");
        EvalError = false;
        ExpectClose(engine::EvalTreeWalk(FormulaTrees[0]), c.expected, what + " (tree walk)");
        bool error = false;
        const double text = EvalFormulaText(UpperCaseFormula(c.formula), error, c.x);
        EXPECT_FALSE(error) << what;
        ExpectClose(text, c.expected, what + " (text)");
    }
}

INSTANTIATE_TEST_SUITE_P(Evaluators, LibraryValues,
                         ::testing::Values(engine::TEvaluator::MachineCode,
                                           engine::TEvaluator::Interpreter),
                         [](const auto& info) {
                             return info.param == engine::TEvaluator::MachineCode ? "MachineCode"
                                                                                  : "Interpreter";
                         });

// A divisor that is not a number is a domain error, as a zero one is, in
// both paths: 0 * ch(1000) is 0 times infinity.
TEST(LibraryValues, ANotANumberDivisorIsAnError) {
    for (const char* formula : {"1/(0*ch(1000))", "x/(0*exp(1000))", "2/(x-x)"}) {
        bool error = false;
        EvalFormulaText(UpperCaseFormula(formula), error, 1);
        EXPECT_TRUE(error) << formula << " (text)";
        EXPECT_TRUE(CompileAndEval(formula, 1).error) << formula << " (compiled)";
    }
    FreeAllTrees();
}

} // namespace
