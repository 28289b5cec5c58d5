// Formulas nobody would type: very deep, very long, with NUL bytes or bytes
// that are no UTF-8. Each runs on a thread with a 1 MiB stack, as small as a
// worker thread's, through the compiler, both tree evaluators and the text
// evaluator; it must come back with a value or the error flag.
#include "TestSupport.h"
#include "engine/FastForm.h"

#include <pthread.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

// The stack of a thread on Windows, the smallest a user's program meets.
// AddressSanitizer's redzones and ThreadSanitizer's instrumentation make
// frames larger, so the sanitizer builds give the same depth of calls four
// times the room.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr std::size_t SmallStack = std::size_t{4} << 20;
#else
constexpr std::size_t SmallStack = std::size_t{1} << 20;
#endif

// Runs work on a new thread with a small stack and waits for it.
void OnSmallStack(const std::function<void()>& work) {
    pthread_attr_t attr;
    ASSERT_EQ(pthread_attr_init(&attr), 0);
    ASSERT_EQ(pthread_attr_setstacksize(&attr, SmallStack), 0);
    pthread_t thread;
    auto body = [](void* arg) -> void* {
        InitFloatingPoint();
        (*static_cast<const std::function<void()>*>(arg))();
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attr, body, const_cast<std::function<void()>*>(&work)), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
}

struct Outcome {
    double machine, interpreted, text;
    bool machineError, interpretedError, textError;
};

// The formula through everything that evaluates it, at x = 0.5.
Outcome EvaluateEverywhere(const std::string& text) {
    Outcome o{};
    VarX = 0.5;
    VarY = VarZ = VarT = VarU = VarV = VarF = 0;
    engine::SelectEvaluator(engine::TEvaluator::MachineCode);
    CompileFormula(0, text);
    EvalError = false;
    o.machine = EvalTree(FormulaTrees[0]);
    o.machineError = EvalError;
    engine::SelectEvaluator(engine::TEvaluator::Interpreter);
    CompileFormula(1, text);
    EvalError = false;
    o.interpreted = EvalTree(FormulaTrees[1]);
    o.interpretedError = EvalError;
    engine::SelectEvaluator(engine::TEvaluator::MachineCode);
    o.text = EvalFormulaText(text, o.textError, 0.5);
    FreeAllTrees();
    return o;
}

bool Same(double a, double b) {
    return SameBits(a, b) || (a != a && b != b);
}

TEST(HostileInput, DeepLongAndBrokenFormulasOnASmallStack) {
    const struct {
        const char* name;
        std::string text;
    } cases[] = {
        {"100000 brackets", Repeat("(", 100000) + "X" + Repeat(")", 100000)},
        {"100000 open brackets", Repeat("(", 100000) + "X"},
        {"100000 closing brackets", "X" + Repeat(")", 100000)},
        {"100000 SIN", Repeat("SIN", 100000) + "X"},
        {"100000 SIN(", Repeat("SIN(", 100000) + "X" + Repeat(")", 100000)},
        {"100000 SQRT(", Repeat("SQRT(", 100000) + "X"},
        {"100000 minus signs", Repeat("-", 100000) + "X"},
        {"100000 minus brackets", Repeat("-(", 100000) + "X" + Repeat(")", 100000)},
        {"100000 powers", Repeat("X^", 100000) + "X"},
        {"100000 products in brackets", Repeat("X*(", 100000) + "1" + Repeat(")", 100000)},
        {"100000 sums", Repeat("X+", 100000) + "X"},
        {"100000 quotients", Repeat("X/", 100000) + "X"},
        {"1 MB of sums", Repeat("X+", 500000) + "X"},
        {"1 MB of numbers", Repeat("12345.6789-", 100000)},
        {"1 MB of letters", Repeat("QWERTYUIOP", 100000)},
        {"1 MB of one function name", Repeat("ARCTG", 200000)},
        {"NUL in the middle", std::string("X\0+1", 4)},
        {"NUL only", std::string(3, '\0')},
        {"NUL in a name", std::string("SI\0N(X)", 7)},
        {"NUL in a number", std::string("1.\0005", 4)},
        {"lone continuation bytes", "X+\x80\x81"},
        {"a lead byte without continuation", "\xc3(X)"},
        {"an overlong slash", "\xc0\xaf"
                              "X"},
        {"bytes FE FF", "\xfe\xff"
                        "SIN(X)"},
        {"a cut four-byte sequence", "X*\xf0\x9f\x98"},
        {"Cyrillic x", "\xd1\x85+1"},
    };
    for (const auto& c : cases) {
        Outcome o{};
        OnSmallStack([&] { o = EvaluateEverywhere(c.text); });
        // Machine code and the interpreter run the same tree.
        EXPECT_TRUE(Same(o.machine, o.interpreted)) << c.name;
        EXPECT_EQ(o.machineError, o.interpretedError) << c.name;
        // Both agree with the text evaluator wherever neither reports an error
        // (the text evaluator reports nesting beyond its limit).
        if (!o.machineError && !o.textError) {
            EXPECT_TRUE(Same(o.machine, o.text))
                << c.name << ": " << o.machine << " from the tree, " << o.text << " from the text";
        }
    }
}

TEST(HostileInput, WhatTheDeepFormulasGive) {
    // Values checked by hand: the deep part beyond the nesting limit is cut
    // to an unknown name, which counts 0.
    const struct {
        const char* name;
        std::string text;
        double tree;
    } cases[] = {
        {"balanced brackets are stripped", Repeat("(", 100000) + "X" + Repeat(")", 100000), 0.5},
        {"a run of signs: the last one counts", Repeat("-", 100000) + "X", -0.5},
        {"the same with a plus last", Repeat("-", 100000) + "+X", 0.5},
        {"flat sums", Repeat("X+", 100000) + "X", 50000.5},
        {"NUL ends nothing: \"X\\0\" is an unknown name, plus 1", std::string("X\0+1", 4), 1},
    };
    for (const auto& c : cases) {
        Outcome o{};
        OnSmallStack([&] { o = EvaluateEverywhere(c.text); });
        EXPECT_EQ(o.machine, c.tree) << c.name;
    }
}

} // namespace
