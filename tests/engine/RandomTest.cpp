#include "TestSupport.h"

#include <cstring>
#include <map>
#include <set>
#include <vector>

namespace {

// The deepest nesting of brackets opened by sums and function calls (the
// brackets around a number leaf do not count): each of them used one level.
int StructuralDepth(const std::string& text) {
    int depth = 0, deepest = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '(') {
            const bool numberLeaf =
                i + 1 < text.size() &&
                (text[i + 1] == '-' || std::isdigit(static_cast<unsigned char>(text[i + 1])));
            if (!numberLeaf)
                deepest = std::max(deepest, ++depth);
            else
                i = text.find(')', i);
        } else if (text[i] == ')') {
            --depth;
        }
    }
    return deepest;
}

// Every "sqr(" must stand directly inside a sin, cos or sqrt argument: the
// nearest enclosing function call is one of those.
bool SqrPlacedCorrectly(const std::string& text) {
    std::vector<std::string> open; // the function of each open bracket, "" for plain
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '(' && text[i] != ')') continue;
        if (text[i] == ')') {
            open.pop_back();
            continue;
        }
        std::string name;
        for (const char* f : {"sqrt", "sqr", "sin", "cos"}) {
            const size_t n = std::strlen(f);
            if (i >= n && text.compare(i - n, n, f) == 0) {
                name = f;
                break;
            }
        }
        if (name == "sqr") {
            std::string enclosing;
            for (auto it = open.rbegin(); it != open.rend(); ++it)
                if (!it->empty()) {
                    enclosing = *it;
                    break;
                }
            if (enclosing != "sin" && enclosing != "cos" && enclosing != "sqrt") return false;
        }
        open.push_back(name);
    }
    return open.empty();
}

TEST(RandomFormula, InvariantsOverThousandsOfSeededFormulas) {
    int sqrSeen = 0;
    for (std::uint64_t seed = 1; seed <= 3000; ++seed) {
        SeedRandom(seed);
        const int depth = 2 + static_cast<int>(RandomBelow(4));
        const std::string f = RandomFormula(depth, false);
        ASSERT_FALSE(f.empty());
        EXPECT_LE(StructuralDepth(f), depth) << f;
        EXPECT_TRUE(SqrPlacedCorrectly(f)) << f;
        EXPECT_EQ(f.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ "), std::string::npos) << f;
        if (f.find("sqr(") != std::string::npos) ++sqrSeen;
        ASSERT_NO_THROW(CompileFormula(0, f)) << f;
        EXPECT_EQ(NodesWithoutOperation(FormulaTrees[0]), 0) << f;
        // No sign follows another operator: negative numbers are bracketed.
        for (const char* pair : {"+-", "--", "*-", "/-", "+*", "*/"})
            EXPECT_EQ(f.find(pair), std::string::npos) << f;
    }
    EXPECT_GT(sqrSeen, 10); // the rule above was really exercised
    FreeAllTrees();
}

TEST(RandomFormula, DepthZeroIsALeafAndSeedsRepeat) {
    const std::set<std::string> leaves = {"x",    "y",    "pi",   "e",    "(-5)",
                                          "(-4)", "(-3)", "(-2)", "(-1)", "(0)",
                                          "(1)",  "(2)",  "(3)",  "(4)",  "(5)"};
    std::map<std::string, int> seen;
    SeedRandom(99);
    for (int i = 0; i < 3000; ++i) {
        const std::string leaf = RandomFormula(0, false);
        EXPECT_TRUE(leaves.count(leaf)) << leaf;
        ++seen[leaf];
    }
    EXPECT_EQ(seen.size(), leaves.size());
    EXPECT_GT(seen["x"], seen["pi"] * 4); // x and y take 9 of 21 draws each

    SeedRandom(5);
    const std::string a = RandomFormula(5, false);
    SeedRandom(5);
    EXPECT_EQ(RandomFormula(5, false), a);
}

TEST(RandomGenerator, BoundedDrawsStayInRange) {
    SeedRandom(1);
    EXPECT_EQ(RandomBelow(0), 0u);
    EXPECT_EQ(RandomBelow(1), 0u);
    std::vector<int> counts(7);
    for (int i = 0; i < 70000; ++i) {
        const auto r = RandomBelow(7);
        ASSERT_LT(r, 7u);
        ++counts[r];
    }
    for (int c : counts)
        EXPECT_NEAR(c, 10000, 500);
    for (int i = 0; i < 1000; ++i) {
        const double r = RandomReal();
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
    }
    EXPECT_LT(RandomBelow(0xFFFFFFFFu), 0xFFFFFFFFu);
}

} // namespace
