// Helpers shared by the engine tests.
#pragma once

#include "engine/Engine.h"
#include "engine/TreeWalk.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
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
