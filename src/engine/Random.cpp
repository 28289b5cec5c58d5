// The random generator of the current context, shared by RAND, RND, the random
// formula generator and the random colours, and the random formula generator.
#include "engine/Engine.h"

#include <chrono>
#include <random>

namespace {

std::mt19937_64& Generator() {
    return CurrentContext().Random;
}

std::string Draw(int depth, bool inArgument) {
    return RandomFormula(depth, inArgument);
}

} // namespace

void SeedRandom(std::uint64_t seed) {
    Generator().seed(seed);
}

void SeedRandomFromClock() {
    SeedRandom(static_cast<std::uint64_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count()));
}

std::uint32_t RandomBelow(std::uint32_t n) {
    if (n == 0) return 0;
    // Multiply-shift with rejection of the biased low products (Lemire).
    std::uint64_t product =
        static_cast<std::uint64_t>(static_cast<std::uint32_t>(Generator()())) * n;
    auto low = static_cast<std::uint32_t>(product);
    if (low < n) {
        const std::uint32_t threshold = static_cast<std::uint32_t>(-n) % n;
        while (low < threshold) {
            product = static_cast<std::uint64_t>(static_cast<std::uint32_t>(Generator()())) * n;
            low = static_cast<std::uint32_t>(product);
        }
    }
    return static_cast<std::uint32_t>(product >> 32);
}

double RandomReal() {
    return static_cast<double>(Generator()() >> 11) * 0x1p-53;
}

std::string RandomFormula(int depth, bool inArgument) {
    const std::uint32_t r = RandomBelow(15); // drawn even at depth 0
    if (depth <= 0 || r == 0) return RandomLeaf();
    const std::uint32_t s = RandomBelow(13);
    if (s <= 3) return RandomSum(depth, inArgument);
    if (s <= 5) return RandomProduct(depth, inArgument);
    return RandomFunctionCall(depth, inArgument);
}

std::string RandomLeaf() {
    const std::uint32_t r = RandomBelow(21);
    if (r <= 8) return "x";
    if (r <= 17) return "y";
    if (r == 18) return "pi";
    if (r == 19) return "e";
    const int n = static_cast<int>(RandomBelow(11)) - 5;
    return "(" + std::to_string(n) + ")";
}

std::string RandomSum(int depth, bool inArgument) {
    const std::uint32_t k = RandomBelow(2);
    std::string text = "(" + Draw(depth - 1, inArgument);
    for (std::uint32_t i = 0; i <= k; ++i) {
        const char op = RandomBelow(2) == 0 ? '+' : '-';
        text += op;
        text += Draw(depth - 1, inArgument);
    }
    return text + ")";
}

std::string RandomProduct(int depth, bool inArgument) {
    const std::uint32_t k = RandomBelow(2);
    std::string text = Draw(depth - 1, inArgument);
    for (std::uint32_t i = 0; i <= k; ++i) {
        const char op = RandomBelow(3) == 0 ? '/' : '*';
        text += op;
        text += Draw(depth - 1, inArgument);
    }
    return text;
}

std::string RandomFunctionCall(int depth, bool inArgument) {
    switch (RandomBelow(4)) {
    case 1:
        return "cos(" + Draw(depth - 1, true) + ")";
    case 2:
        return "sqrt(" + Draw(depth - 1, true) + ")";
    case 3:
        if (inArgument) return "sqr(" + Draw(depth - 1, false) + ")";
        [[fallthrough]];
    default:
        return "sin(" + Draw(depth - 1, true) + ")";
    }
}
