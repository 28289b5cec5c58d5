// Helpers shared by the engine tests.
#pragma once

#include "engine/Engine.h"
#include "engine/TreeWalk.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>

// s written n times over.
inline std::string Repeat(const std::string& s, int n) {
    std::string out;
    out.reserve(s.size() * n);
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

// Runs each test under both decimal separators of the locale.
class SeparatorTest : public ::testing::TestWithParam<char> {
  protected:
    void SetUp() override {
        saved_ = DecimalSeparatorChar;
        DecimalSeparatorChar = GetParam();
        FreeAllTrees();
        EvalError = false;
    }
    void TearDown() override {
        FreeAllTrees();
        DecimalSeparatorChar = saved_;
    }
    // The text with every '.' written as the current separator.
    static std::string Local(std::string text) {
        for (char& c : text)
            if (c == '.') c = DecimalSeparatorChar;
        return text;
    }

  private:
    char saved_ = '.';
};

inline std::string SeparatorName(const ::testing::TestParamInfo<char>& info) {
    return info.param == '.' ? "point" : "comma";
}

#define INSTANTIATE_FOR_SEPARATORS(Suite)                                                          \
    INSTANTIATE_TEST_SUITE_P(Separators, Suite, ::testing::Values('.', ','), SeparatorName)

struct Evaluated {
    double value;
    bool error;
};

// Compiles text into slot 0 and evaluates it at the given cells (the cells
// of t, u, v and f hold 0).
inline Evaluated CompileAndEval(const std::string& text, double x = 0, double y = 0, double z = 0) {
    CompileFormula(0, text);
    VarT = VarU = VarV = VarF = 0;
    VarX = x;
    VarY = y;
    VarZ = z;
    EvalError = false;
    const double v = EvalTree(FormulaTrees[0]);
    return {v, EvalError};
}

inline bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The number of nodes of a tree that would be evaluated without an operation.
inline int NodesWithoutOperation(const TExprNode* n) {
    int count = 0;
    for (; n != nullptr; n = n->Next) {
        if (n->Kind == nkFunction && n->Func == nullptr) ++count;
        if ((n->Kind == nkSum || n->Kind == nkProduct || n->Kind == nkPower) && !n->Child) ++count;
        count += NodesWithoutOperation(n->Child);
    }
    return count;
}

// A random formula of x and y over every operator and library function.
class TFormulas {
  public:
    explicit TFormulas(std::uint64_t seed) : random_(seed) {}
    std::string Next(int depth) {
        if (depth == 0 || Below(4) == 0) return Leaf();
        switch (Below(6)) {
        case 0:
            return "(" + Next(depth - 1) + (Below(2) ? "+" : "-") + Next(depth - 1) + ")";
        case 1:
            return "(" + Next(depth - 1) + (Below(2) ? "*" : "/") + Next(depth - 1) + ")";
        case 2: {
            static const char* exponents[] = {"2", "3", "(-1)", "(-2)", "0", "0.5", "(1/3)", "y"};
            return "(" + Next(depth - 1) + ")^" + exponents[Below(8)];
        }
        default: {
            static const char* functions[] = {
                "sin", "cos", "tg",  "ctg", "sec", "csec", "atg",  "actg", "asin", "acos", "sh",
                "ch",  "th",  "cth", "exp", "ln",  "lg",   "sqrt", "sqr",  "abs",  "sign"};
            return std::string(functions[Below(21)]) + "(" + Next(depth - 1) + ")";
        }
        }
    }
    double Uniform(double a, double b) { return std::uniform_real_distribution<>(a, b)(random_); }
    unsigned Below(unsigned n) { return static_cast<unsigned>(random_() % n); }

  private:
    std::string Leaf() {
        switch (Below(5)) {
        case 0:
            return "x";
        case 1:
            return "y";
        case 2:
            return std::to_string(static_cast<int>(Below(7))) + "." + std::to_string(Below(10));
        default:
            return Below(2) ? "x" : "y";
        }
    }
    std::mt19937_64 random_;
};
