#include "TestSupport.h"

#include "engine/Library.h"

#include <cfloat>
#include <limits>
#include <random>
#include <set>

namespace {

const double Pi = 3.141592653589793;
const double Inf = std::numeric_limits<double>::infinity();

class Eval : public SeparatorTest {};
INSTANTIATE_FOR_SEPARATORS(Eval);

struct EvalCase {
    const char* formula;
    double x;
    double expected; // compared bit for bit
    bool error;
};

TEST_P(Eval, DomainRulesOfTheTreePath) {
    const EvalCase cases[] = {
        {"1/0", 0, 0, true},
        {"x/0", 5, 0, true},
        {"1/x", 0, 0, true},
        {"1/x*3", 0, 0, true}, // the error gives 0 and evaluation goes on
        {"0^(-1)", 0, 0, false},
        {"0^0", 0, 0, false},
        {"(-8)^(1/3)", 0, 0, true},
        {"(-8)^3", 0, -512, false},
        {"(-2)^2", 0, 4, false},
        {"(-2)^3", 0, -8, false},
        {"2^10", 0, 1024, false},
        {"x^(-2)", 4, 0.0625, false},
        {"ctg(0)", 0, Inf, false},
        {"csec(0)", 0, Inf, false},
        {"cth(0)", 0, Inf, false},
        {"asin(1)", 0, Pi / 2, false},
        {"asin(-1)", 0, -Pi / 2, false},
        {"acos(-1)", 0, Pi, false},
        {"acos(1)", 0, 0, false},
        {"asin(1.5)", 0, 0, true},
        {"acos(-1.5)", 0, 0, true},
        {"sign(0)", 0, 0, false},
        {"sign(-0.5)", 0, -1, false},
        {"sign(7)", 0, 1, false},
        {"lg(1000)", 0, 3, false},
        {"lg(0)", 0, 0, true},
        {"ln(0)", 0, 0, true},
        {"ln(-1)", 0, 0, true},
        {"ln(1)", 0, 0, false},
        {"sqrt(-1)", 0, 0, true},
        {"sqrt(16)", 0, 4, false},
        {"sqr(3)", 0, 9, false},
        {"abs(-2)", 0, 2, false},
        {"exp(0)", 0, 1, false},
        {"sh(0)", 0, 0, false},
        {"ch(0)", 0, 1, false},
        {"cos(x)", 9223372036854775808.0, 0, false}, // |x| >= 2^63 gives 0
        {"sin(x)", -1e19, 0, false},
        {"sec(0)", 0, 1, false},
        {"atg(0)", 0, 0, false},
        {"actg(0)", 0, Pi / 2, false},
        {"rand(0)", 0, 0, false},
        {"rand(0.4)", 0, 0, false},
        {"rand(0.5)", 0, 0, false}, // 0.5 rounds to 0
        {"x*x", 3, 9, false},
        {"x-x", 2, 0, false},
    };
    for (const auto& c : cases) {
        const Evaluated r = CompileAndEval(c.formula, c.x);
        EXPECT_TRUE(SameBits(r.value, c.expected))
            << c.formula << " gave " << r.value << ", expected " << c.expected;
        EXPECT_EQ(r.error, c.error) << c.formula;
    }
}

TEST_P(Eval, OverflowAndPolesGiveNonFiniteValuesWithoutError) {
    const struct {
        const char* formula;
        bool nan;
    } cases[] = {{"th(1000)", true},  {"th(-1000)", true},  {"exp(1000)", false},
                 {"sh(1000)", false}, {"ch(-1000)", false}, {"10^400", false}};
    for (const auto& c : cases) {
        const Evaluated r = CompileAndEval(c.formula);
        EXPECT_EQ(std::isnan(r.value), c.nan) << c.formula;
        if (!c.nan) {
            EXPECT_TRUE(std::isinf(r.value)) << c.formula;
        }
        EXPECT_FALSE(r.error) << c.formula;
    }
    EXPECT_EQ(CompileAndEval("th(1)").value, std::tanh(1.0));
    const Evaluated tangent = CompileAndEval("tg(pi/2)"); // cos of the double nearest pi/2 is not 0
    EXPECT_NEAR(tangent.value, 1.633123935319537e16, 1e3);
    EXPECT_FALSE(tangent.error);
}

TEST_P(Eval, EmptySlotGivesX) {
    VarX = 12.25;
    EXPECT_EQ(EvalTree(nullptr), 12.25);
    VarX = 0;
}

TEST_P(Eval, RandDrawsIntegersBelowTheRoundedMagnitude) {
    SeedRandom(7);
    const struct {
        const char* formula;
        std::set<double> values;
    } cases[] = {{"rand(-3.6)", {0, 1, 2, 3}}, {"rand(2.5)", {0, 1}}, {"rand(1)", {0}}};
    for (const auto& c : cases) {
        CompileFormula(0, c.formula);
        std::set<double> seen;
        for (int i = 0; i < 400; ++i)
            seen.insert(EvalTree(FormulaTrees[0]));
        EXPECT_EQ(seen, c.values) << c.formula;
    }
}

TEST_P(Eval, ErrorFlagIsNeverClearedByEvaluation) {
    CompileFormula(0, "x+1");
    EvalError = true;
    VarX = 1;
    EXPECT_EQ(EvalTree(FormulaTrees[0]), 2);
    EXPECT_TRUE(EvalError);
    EvalError = false;
}

// The power rule: the result is exp(e ln b) in 80-bit precision rounded to
// double, or a double at least as close to the exact power and within 1 ulp.
double UlpDistance(double a, double b) {
    if (a == b) return 0;
    int steps = 0;
    double t = a;
    while (t != b && steps < 4) {
        t = std::nextafter(t, b);
        ++steps;
    }
    return steps;
}

TEST(PowerRule, IntegerExponentsAreAtLeastAsCloseAsTheLogarithmFormula) {
    std::mt19937_64 gen(12345);
    std::uniform_real_distribution<double> base(0.001, 50.0);
    std::uniform_int_distribution<int> exponent(-60, 60);
    for (int i = 0; i < 200000; ++i) {
        const double b = base(gen);
        const int e = exponent(gen);
        const double ours = engine::Power(b, e);
        const double former = static_cast<double>(
            std::exp(static_cast<long double>(e) * std::log(static_cast<long double>(b))));
        __float128 exact = 1;
        for (int k = 0; k < std::abs(e); ++k)
            exact *= b;
        if (e < 0) exact = 1 / exact;
        if (ours == former) continue;
        ASSERT_LE(UlpDistance(ours, former), 1) << b << "^" << e;
        const __float128 dOurs = ours - exact, dFormer = former - exact;
        ASSERT_LE(dOurs < 0 ? -dOurs : dOurs, dFormer < 0 ? -dFormer : dFormer) << b << "^" << e;
    }
}

TEST(PowerRule, SpecialBasesAndExponents) {
    const double Nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double b, e, expected;
        bool error;
    } cases[] = {
        {0, -1, 0, false},     {0, 0, 0, false},
        {Nan, 2, 0, false},    {Nan, 0, 0, false},
        {-2, 0.5, 0, true},    {-2, 2, 4, false},
        {-2, -1, -0.5, false}, {-Inf, 3, -Inf, false},
        {Inf, 2, Inf, false},  {2, Inf, Inf, false},
        {0.5, Inf, 0, false},  {-1, Inf, 0, true},
        {4, 0.5, 2, false},    {2, -1074, 4.9406564584124654e-324, false},
        {2, 1024, Inf, false},
    };
    for (const auto& c : cases) {
        EvalError = false;
        const double r = engine::Power(c.b, c.e);
        EXPECT_TRUE(SameBits(r, c.expected)) << c.b << "^" << c.e << " gave " << r;
        EXPECT_EQ(EvalError, c.error) << c.b << "^" << c.e;
    }
    EvalError = false;
    EXPECT_TRUE(std::isnan(engine::Power(Inf, 0))); // exp(0 * ln inf)
}

} // namespace

namespace {

// A numeric field's number: plain, or a formula of x = 0; nothing where the
// formula fails, with the failure named.
TEST(FieldNumbers, PlainNumbersAndFormulasOfXZero) {
    DecimalSeparatorChar = '.';
    const struct {
        const char* text;
        bool value;
        double number;
        TTextFault fault;
    } rows[] = {
        {"2.5", true, 2.5, TTextFault::None},
        {"pi/2", true, 1.5707963267948966, TTextFault::None},
        {"x+3", true, 3, TTextFault::None}, // x is 0
        {"abc", false, 0, TTextFault::Unknown},
        {"sqrt(-4)", false, 0, TTextFault::SquareRoot},
        {"1/0", false, 0, TTextFault::DivisionByZero},
    };
    for (const auto& row : rows) {
        TTextFaultInfo fault;
        const std::optional<double> v = FieldNumberValue(row.text, &fault);
        EXPECT_EQ(v.has_value(), row.value) << row.text;
        if (v) {
            EXPECT_EQ(*v, row.number) << row.text;
        }
        EXPECT_EQ(fault.Kind, row.fault) << row.text;
    }
}

} // namespace
