// Symbolic derivatives against closed forms, against a central difference of
// random formulas, and their text against the compiler that reads it back.
#include "engine/Derivative.h"
#include "TestSupport.h"
#include "engine/Diagnosis.h"
#include "engine/Engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

namespace {

class Derivatives : public ::testing::Test {
  protected:
    void SetUp() override {
        DecimalSeparatorChar = '.';
        EvalError = false;
    }
    void TearDown() override { FreeAllTrees(); }
};

using TClosed = std::function<long double(long double)>;

// Units in the last place between a value and the double nearest to the
// exact one.
double UlpsApart(double value, long double exact) {
    const double nearest = static_cast<double>(exact);
    return std::fabs(value - nearest) / std::fabs(std::nextafter(nearest, HUGE_VAL) - nearest);
}

TEST_F(Derivatives, AgreeWithClosedFormsAtRandomPoints) {
    // exact: the closed form's double is what one rounding gives, so the
    // derivative must be within a few ulp; elsewhere within 1e-12 relative
    // (absolute below 1, where the terms of a sum cancel).
    const struct {
        const char* formula;
        TClosed derivative;
        double a, b;
        bool exact;
    } rows[] = {
        {"x^2", [](auto x) { return 2 * x; }, -5, 5, true},
        {"3*x-7", [](auto) { return 3; }, -5, 5, true},
        {"sqr(x)", [](auto x) { return 2 * x; }, -5, 5, true},
        {"abs(x)", [](auto x) { return x > 0 ? 1 : -1; }, -5, 5, true},
        {"sign(x)", [](auto) { return 0; }, -5, 5, true},
        {"ln(x)", [](auto x) { return 1 / x; }, 0.01, 100, true},
        {"x^3", [](auto x) { return 3 * x * x; }, -5, 5, false},
        {"sin(x)", [](auto x) { return std::cos(x); }, -6, 6, false},
        {"cos(x)", [](auto x) { return -std::sin(x); }, -6, 6, false},
        {"tg(x)", [](auto x) { return 1 / (std::cos(x) * std::cos(x)); }, -1.4, 1.4, false},
        {"ctg(x)", [](auto x) { return -1 / (std::sin(x) * std::sin(x)); }, 0.1, 3, false},
        {"sec(x)", [](auto x) { return std::sin(x) / (std::cos(x) * std::cos(x)); }, -1.4, 1.4,
         false},
        {"csec(x)", [](auto x) { return -std::cos(x) / (std::sin(x) * std::sin(x)); }, 0.1, 3,
         false},
        {"atg(x)", [](auto x) { return 1 / (1 + x * x); }, -5, 5, false},
        {"actg(x)", [](auto x) { return -1 / (1 + x * x); }, -5, 5, false},
        {"asin(x)", [](auto x) { return 1 / std::sqrt(1 - x * x); }, -0.99, 0.99, false},
        {"acos(x)", [](auto x) { return -1 / std::sqrt(1 - x * x); }, -0.99, 0.99, false},
        {"sh(x)", [](auto x) { return std::cosh(x); }, -5, 5, false},
        {"ch(x)", [](auto x) { return std::sinh(x); }, -5, 5, false},
        {"th(x)", [](auto x) { return 1 / (std::cosh(x) * std::cosh(x)); }, -5, 5, false},
        {"cth(x)", [](auto x) { return -1 / (std::sinh(x) * std::sinh(x)); }, 0.1, 5, false},
        {"exp(x)", [](auto x) { return std::exp(x); }, -5, 5, false},
        {"lg(x)", [](auto x) { return 1 / (x * std::log(10.0L)); }, 0.01, 100, false},
        {"sqrt(x)", [](auto x) { return 0.5L / std::sqrt(x); }, 0.01, 100, false},
        {"x^x", [](auto x) { return std::pow(x, x) * (std::log(x) + 1); }, 0.1, 5, false},
        {"sin(x^2)", [](auto x) { return 2 * x * std::cos(x * x); }, -3, 3, false},
        {"exp(sin(x))", [](auto x) { return std::cos(x) * std::exp(std::sin(x)); }, -5, 5, false},
        {"ln(ln(x))", [](auto x) { return 1 / (x * std::log(x)); }, 1.1, 50, false},
        {"(x^2+1)/(x-3)", [](auto x) { return (x * x - 6 * x - 1) / ((x - 3) * (x - 3)); }, -2, 2.5,
         false},
        {"x^(1/3)", [](auto x) { return std::pow(x, -2.0L / 3) / 3; }, 0.1, 8, false},
        {"2^x", [](auto x) { return std::pow(2.0L, x) * std::log(2.0L); }, -5, 5, false},
        {"e^(x^2)", [](auto x) { return 2 * x * std::exp(x * x); }, -2, 2, false},
        {"x^(-2)", [](auto x) { return -2 / (x * x * x); }, 0.5, 4, false},
        {"sqrt(1-x^2)", [](auto x) { return -x / std::sqrt(1 - x * x); }, -0.9, 0.9, false},
        {"x*sin(x)/(1+x^2)",
         [](auto x) {
             return (std::sin(x) + x * std::cos(x)) / (1 + x * x) -
                    2 * x * x * std::sin(x) / ((1 + x * x) * (1 + x * x));
         },
         -4, 4, false},
        {"(x^2)^3", [](auto x) { return 6 * x * x * x * x * x; }, -2, 2, false},
        {"x^2.5", [](auto x) { return 2.5L * std::pow(x, 1.5L); }, 0, 4, false},
        {"abs(sin(x))*x",
         [](auto x) {
             return std::fabs(std::sin(x)) + x * std::cos(x) * (std::sin(x) > 0 ? 1 : -1);
         },
         0.1, 6, false},
    };
    std::mt19937_64 random(35);
    for (const auto& row : rows) {
        TTreePtr tree = CompileTree(row.formula);
        TTreePtr d = Derivative(tree.get(), &TEvalContext::X);
        for (int i = 0; i < 200; ++i) {
            const double x = std::uniform_real_distribution<>(row.a, row.b)(random);
            VarX = x, EvalError = false;
            const double value = EvalTree(d.get());
            const long double exact = row.derivative(x);
            ASSERT_FALSE(EvalError) << row.formula << " at " << x;
            if (row.exact)
                EXPECT_LE(UlpsApart(value, exact), 2) << row.formula << " at " << x;
            else
                EXPECT_NEAR(value, static_cast<double>(exact), 1e-12 * (1 + std::fabs(exact)))
                    << row.formula << " at " << x << ": " << FormulaText(d.get());
        }
    }
}

// The other variables, the frame number and the parameters are constants.
TEST_F(Derivatives, TakeTheChosenVariable) {
    const struct {
        const char* formula;
        double TEvalContext::*variable;
        const char* derivative;
    } rows[] = {
        {"t^2*x", &TEvalContext::T, "2*x*t"},
        {"t^2*x", &TEvalContext::X, "t^2"},
        {"sin(u*v)", &TEvalContext::V, "cos(u*v)*u"},
        {"y*z+f", &TEvalContext::Z, "y"},
        {"x+y", &TEvalContext::U, "0"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(DerivativeText(row.formula, row.variable), row.derivative) << row.formula;
}

// abs, sqrt, ln and sign have no derivative at 0, nor asin at 1, and the
// language's 0^c is 0, so that x^0.5 would have one there without care.
TEST_F(Derivatives, AreDomainErrorsWhereNoneExists) {
    const struct {
        const char* formula;
        double x;
        bool error;
    } rows[] = {
        {"abs(x)", 0, true},   {"sqrt(x)", 0, true},      {"ln(x)", 0, true},
        {"sign(x)", 0, true},  {"x^0.5", 0, true},        {"x^(1/3)", 0, true},
        {"asin(x)", 1, true},  {"x^(-1)", 0, true},       {"sign(x)", 2, false},
        {"x^1.5", 0, false},   {"x^2", 0, false},         {"x^1", 0, false},
        {"abs(x-1)", 1, true}, {"sqrt(x^2+1)", 0, false},
    };
    for (const auto& row : rows) {
        TTreePtr d = Derivative(CompileTree(row.formula).get(), &TEvalContext::X);
        VarX = row.x, EvalError = false;
        const double value = EvalTree(d.get());
        EXPECT_EQ(EvalError, row.error)
            << row.formula << " at " << row.x << ": " << FormulaText(d.get()) << " = " << value;
    }
    VarX = 0, EvalError = false;
    EXPECT_EQ(EvalTree(Derivative(CompileTree("x^1").get(), &TEvalContext::X).get()), 1);
}

TEST_F(Derivatives, AreShortAndRefuseRandomNumbers) {
    const struct {
        const char* formula;
        const char* derivative;
    } rows[] = {
        {"x^2", "2*x"},         {"sin(2*x)", "2*cos(2*x)"},
        {"x*ln(x)", "ln(x)+1"}, {"x^x", "x^x*(ln(x)+1)"},
        {"1/x", "-1/x^2"},      {"sqrt(x)", "0.5/sqrt(x)"},
        {"(x+1)*(x-1)", "2*x"}, {"x*-1", "1"}, // x - 1
        {"e^x", "e^x"},         {"exp(-x^2)", "-2*exp(-x^2)*x"},
        {"pi*x", "pi"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(DerivativeText(row.formula, &TEvalContext::X), row.derivative) << row.formula;
    // The usual functions and their compositions stay within 6 times their
    // length and 30 characters.
    for (const char* formula :
         {"sin(x)*cos(x)*tg(x)", "x^3-2*x^2+5*x-7", "exp(-x^2/2)/sqrt(2*pi)", "ln(x^2+1)/(x-1)",
          "sin(sin(sin(sin(x))))", "atg(x)*asin(x/2)", "x^x^2", "sqrt(1-sqr(x))*ch(x)",
          "(x+1)^5*(x-2)^3", "th(x)/lg(x)+sec(x)"}) {
        const std::string d = DerivativeText(formula, &TEvalContext::X);
        EXPECT_LE(d.size(), 6 * std::string(formula).size() + 30) << formula << ": " << d;
    }
    for (const char* formula : {"rand(5)", "x*rand(x)"})
        EXPECT_THROW(Derivative(CompileTree(formula).get(), &TEvalContext::X), DerivativeError);
    // A product of a thousand factors has a thousand terms of a thousand:
    // refused before it takes a second and most of a gigabyte. A chain of
    // functions as deep as the compiler follows is not.
    std::string product = "sin(x)", chain = "x";
    for (int k = 1; k < 1000; ++k) {
        product += "*sin(x+" + std::to_string(k) + ")";
        chain = "sin(" + chain + ")";
    }
    EXPECT_THROW(Derivative(CompileTree(product).get(), &TEvalContext::X), DerivativeError);
    const TTreePtr deep = Derivative(CompileTree(chain).get(), &TEvalContext::X);
    VarX = 0.5, EvalError = false;
    long double expected = 1, u = 0.5L;
    for (int k = 1; k < 1000; ++k) // 999 sines
        expected *= std::cos(u), u = std::sin(u);
    EXPECT_NEAR(EvalTree(deep.get()), static_cast<double>(expected), 1e-12);
}

// Where the text would read otherwise, brackets keep the tree: powers chain
// from the left and sums are split before products.
TEST_F(Derivatives, TextReadsBackAsTheTree) {
    const struct {
        std::string formula, text;
    } rows[] = {
        {"(2^3)^2", "(2^3)^2"},
        {"2^3^2", "2^3^2"},
        {"2^(3^2)", "2^(3^2)"},
        {"x*(-1)", "x*(-1)"},
        {"x-(y-1)", "x-(y-1)"},
        {"x/(y*2)", "x/(y*2)"},
        {"-X^2", "-x^2"},
        {"SIN(X)^2", "sin(x)^2"},
        {"sqr(x+1)", "sqr(x+1)"},
        {"0.1+3.14159265358979311", "0.1+pi"},
        {"+x", "+x"},
        {"x*", "x*"},
        {"1" + std::string(400, '0'), "1" + std::string(309, '0')},
        {"0.00000000000000000001", "0.00000000000000000001"},
    };
    for (const auto& row : rows) {
        TTreePtr tree = CompileTree(row.formula);
        EXPECT_EQ(FormulaText(tree.get()), row.text) << row.formula;
        EXPECT_TRUE(SameTree(CompileTree(FormulaText(tree.get())).get(), tree.get()))
            << row.formula;
    }
}

// For random formulas over every operator and function: the text of the
// derivative reads back as the same tree, with nothing the compiler does
// not understand, and where the formula is smooth the derivative agrees
// with its central difference.
TEST_F(Derivatives, OfRandomFormulasReadBackAndAgreeWithCentralDifferences) {
    TFormulas formulas(3510);
    int compared = 0;
    for (int k = 0; k < 10000; ++k) {
        const std::string text = formulas.Next(4);
        TTreePtr tree = CompileTree(text);
        EXPECT_TRUE(SameTree(CompileTree(FormulaText(tree.get())).get(), tree.get())) << text;
        TTreePtr d = Derivative(tree.get(), &TEvalContext::X);
        const std::string printed = FormulaText(d.get());
        ASSERT_TRUE(SameTree(CompileTree(printed).get(), d.get())) << text << " -> " << printed;
        EXPECT_TRUE(Diagnose(printed).empty()) << text << " -> " << printed;

        const double x = formulas.Uniform(-3, 3);
        VarY = formulas.Uniform(-3, 3);
        double largest = 0;
        const auto f = [&](double at, bool& ok) {
            VarX = at, EvalError = false;
            const double v = EvalTree(tree.get());
            ok = ok && !EvalError && std::isfinite(v);
            largest = std::max(largest, std::fabs(v));
            return static_cast<long double>(v);
        };
        const double h = 1e-4 * (1 + std::fabs(x));
        bool ok = true;
        f(x, ok);
        const long double d1 = (f(x + h, ok) - f(x - h, ok)) / (2 * h);
        const long double d2 = (f(x + h / 2, ok) - f(x - h / 2, ok)) / h;
        // Smooth here: the two differences agree closely, and the values'
        // rounding does not drown the change (sh(200) + x).
        if (!ok || !(std::fabs(d1 - d2) <= 1e-7 * (1 + std::fabs(d2))) ||
            largest * 1e-15 / h > 1e-9 * (1 + std::fabs(d2)))
            continue;
        VarX = x, EvalError = false;
        const double value = EvalTree(d.get());
        if (EvalError) continue; // (t - t)^0.5 and the like, whose parts have none
        EXPECT_NEAR(value, d2, 1e-6 * (1 + std::fabs(d2)) + 2 * std::fabs(d1 - d2))
            << text << " -> " << printed << " at x = " << x << ", y = " << VarY;
        ++compared;
    }
    EXPECT_GT(compared, 5000);
}

} // namespace
