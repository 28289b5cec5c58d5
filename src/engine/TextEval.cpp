// The direct evaluator of formula text: one recursive pass over the text,
// without a tree, reporting every problem through the caller's flag. It serves
// single values ("y(x0)=" and the numeric fields), never plotting.
#include "engine/Engine.h"
#include "engine/Library.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

std::int32_t FrameCounter = 0;

namespace {

using engine::IsIntegral;
using engine::IsOddIntegral;
using engine::PowMagnitude;

// Removes the brackets that enclose the whole text, repeatedly, in one pass:
// j pairs can go when the first j characters are '(' and the last j are ')'
// and the bracket depth does not come back to j anywhere in between.
std::string_view StripBrackets(std::string_view s) {
    const int n = static_cast<int>(s.size());
    int pairs = 0;
    while (2 * pairs + 1 < n && s[pairs] == '(' && s[n - 1 - pairs] == ')')
        ++pairs;
    if (pairs == 0) return s;
    std::vector<int> depthAfter(n);
    int depth = 0;
    for (int k = 0; k < n; ++k) {
        if (s[k] == '(') ++depth;
        if (s[k] == ')') --depth;
        depthAfter[k] = depth;
    }
    // inner[j]: the least depth over the positions j+1 .. n-2-j.
    std::vector<int> inner(pairs);
    int least = 1 << 30;
    for (int k = pairs; k <= n - 1 - pairs; ++k)
        least = std::min(least, depthAfter[k]);
    for (int j = pairs - 1; j >= 0; --j) {
        if (j + 1 <= n - 2 - j) least = std::min({least, depthAfter[j + 1], depthAfter[n - 2 - j]});
        inner[j] = least;
    }
    int j = 0;
    while (j < pairs && inner[j] > j)
        ++j;
    return s.substr(j, n - 2 * j);
}

double AddLD(double r, double v, bool plus) {
    return static_cast<double>(plus ? static_cast<long double>(r) + v
                                    : static_cast<long double>(r) - v);
}

double TextPower(double b, double e, TTextFault& fault) {
    if (b < 0) {
        if (!IsIntegral(e)) {
            fault = TTextFault::NegativeBase;
            return b;
        }
        const double m = PowMagnitude(-b, e);
        return IsOddIntegral(e) ? -m : m;
    }
    if (b == 0) {
        if (e < 0) fault = TTextFault::ZeroPower;
        return 0.0;
    }
    if (b > 0) return PowMagnitude(b, e);
    return b;
}

class TextEvaluator {
  public:
    TextEvaluator(bool& error, double x, TTextFaultInfo* fault)
        : error_(error), x_(x), fault_(fault) {}

    double Eval(std::string_view text, int depth) {
        if (depth > MaxFormulaDepth) return Fail(TTextFault::TooDeep, text);
        // Every call scans its text; past a bound on the whole evaluation the
        // formula counts as too complex, so that no text can hang the program.
        work_ += static_cast<long long>(text.size()) + 1;
        if (work_ > WorkBudget) return Fail(TTextFault::TooLong, text);
        const std::string_view s = StripBrackets(text);
        const size_t n = s.size();
        int bracketDepth = 0; // carried from one scan to the next

        // Additive scan: empty operands are skipped.
        {
            double sum = 0.0;
            bool plus = true;
            bool met = false;
            size_t start = 0;
            for (size_t i = 0; i < n; ++i) {
                const char c = s[i];
                if (c == '(') {
                    ++bracketDepth;
                } else if (c == ')') {
                    --bracketDepth;
                } else if ((c == '+' || c == '-') && bracketDepth == 0) {
                    if (i > start)
                        sum = AddLD(sum, Eval(s.substr(start, i - start), depth + 1), plus);
                    plus = c == '+';
                    met = true;
                    start = i + 1;
                }
                if (i == n - 1 && met && start < n)
                    sum = AddLD(sum, Eval(s.substr(start), depth + 1), plus);
            }
            if (met) return sum;
        }

        // Multiplicative scan: every operand is evaluated, empty or not.
        {
            double product = 1.0;
            bool multiply = true;
            bool met = false;
            size_t start = 0;
            auto combine = [&](double v) {
                if (multiply) {
                    product = static_cast<double>(static_cast<long double>(product) * v);
                } else if (v == 0 || v != v) {
                    Fail(TTextFault::DivisionByZero, s);
                } else {
                    product = static_cast<double>(static_cast<long double>(product) / v);
                }
            };
            for (size_t i = 0; i < n; ++i) {
                const char c = s[i];
                if (c == '(') {
                    ++bracketDepth;
                } else if (c == ')') {
                    --bracketDepth;
                } else if ((c == '*' || c == '/') && bracketDepth == 0) {
                    combine(Eval(s.substr(start, i - start), depth + 1));
                    multiply = c == '*';
                    met = true;
                    start = i + 1;
                }
                if (i == n - 1 && met && start < n) combine(Eval(s.substr(start), depth + 1));
            }
            if (met) return product;
        }

        // Power scan: the first operand is the base, every later one an exponent.
        {
            double base = 0.0;
            bool met = false;
            size_t start = 0;
            for (size_t i = 0; i < n; ++i) {
                const char c = s[i];
                if (c == '(') {
                    ++bracketDepth;
                } else if (c == ')') {
                    --bracketDepth;
                } else if (c == '^' && bracketDepth == 0) {
                    const double v = Eval(s.substr(start, i - start), depth + 1);
                    base = met ? Power(base, v, s) : v;
                    met = true;
                    start = i + 1;
                }
                if (i == n - 1 && met && start < n)
                    base = Power(base, Eval(s.substr(start), depth + 1), s);
            }
            if (met) return base;
        }

        const size_t longest = std::min<size_t>(4, n);
        for (size_t length = 1; length <= longest; ++length) {
            double result;
            if (Function(s, s.substr(0, length), depth, result)) return result;
        }
        return Leaf(s);
    }

  private:
    // Sets the flag; the first failure is kept with the text it happened in.
    double Fail(TTextFault kind, std::string_view where) {
        if (fault_ != nullptr && fault_->Kind == TTextFault::None) {
            fault_->Kind = kind;
            fault_->Text = std::string(where);
        }
        error_ = true;
        return 0.0;
    }

    double Power(double base, double exponent, std::string_view where) {
        TTextFault fault = TTextFault::None;
        const double result = TextPower(base, exponent, fault);
        if (fault != TTextFault::None) Fail(fault, where);
        return result;
    }

    double Argument(std::string_view s, size_t from, int depth) {
        return Eval(s.substr(from), depth + 1);
    }

    // Evaluates the text built from the argument, as the tangent and its
    // relatives are defined: TG(a) is the value of SIN a / COS a.
    double Rewritten(std::string_view before, std::string_view arg, std::string_view middle,
                     std::string_view arg2, int depth) {
        std::string text;
        text.reserve(before.size() + arg.size() + middle.size() + arg2.size());
        text.append(before).append(arg).append(middle).append(arg2);
        return Eval(text, depth + 1);
    }

    // The quotient of two functions of the argument, as the text "N a / D a"
    // (or "1 / D a" without a numerator) evaluates. When the argument's brackets
    // balance, that text splits exactly at its one '/', and both halves
    // evaluate the argument alone: then the argument is evaluated once (twice
    // when it draws random numbers, which both halves do), instead of once per
    // half at every level of a nested tangent.
    double Quotient(TUnaryFunc numerator, TUnaryFunc denominator, std::string_view arg, int depth) {
        int balance = 0;
        for (const char c : arg)
            balance += (c == '(') - (c == ')');
        const bool random =
            arg.find("RND") != std::string_view::npos || arg.find("RAND") != std::string_view::npos;
        if (balance != 0) {
            const std::string_view d = denominator == engine::FnSin ? "/SIN" : "/COS";
            if (numerator == nullptr)
                return Rewritten(std::string("1").append(d), arg, "", "", depth);
            return Rewritten(numerator == engine::FnSin ? "SIN" : "COS", arg, d, arg, depth);
        }
        double product = 1.0;
        double v = 0.0;
        if (numerator != nullptr) {
            // The halves are one level deeper than the rewritten text.
            v = Eval(arg, depth + 3);
            product = numerator(v);
            if (random) v = Eval(arg, depth + 3);
        } else {
            v = Eval(arg, depth + 3);
        }
        const double divisor = denominator(v);
        if (divisor == 0 || divisor != divisor) {
            Fail(TTextFault::DivisionByZero, arg); // the zero divisor is skipped
            return product;
        }
        return static_cast<double>(static_cast<long double>(product) / divisor);
    }

    bool Function(std::string_view s, std::string_view name, int depth, double& result) {
        const size_t L = name.size();
        const std::string_view rest = s.substr(L);
        if (name == "SIGN") return result = engine::FnSign(Argument(s, L, depth)), true;
        if (name == "ABS") return result = engine::FnAbs(Argument(s, L, depth)), true;
        if (name == "SQRT") {
            const double v = Argument(s, L, depth);
            result = v >= 0 ? std::sqrt(v) : Fail(TTextFault::SquareRoot, s);
            return true;
        }
        if (name == "SQR(") return result = engine::FnSqr(Argument(s, L - 1, depth)), true;
        if (name == "EXP") return result = engine::FnExp(Argument(s, L, depth)), true;
        if (name == "LN" || name == "LG") {
            const long double v = Argument(s, L, depth);
            if (!(v > 0)) return result = Fail(TTextFault::Logarithm, s), true;
            const long double ln = std::log(v);
            result = static_cast<double>(name == "LN" ? ln : ln / std::log(10.0L));
            return true;
        }
        if (name == "COS") return result = engine::FnCos(Argument(s, L, depth)), true;
        if (name == "SIN") return result = engine::FnSin(Argument(s, L, depth)), true;
        if (name == "TG") return result = Quotient(engine::FnSin, engine::FnCos, rest, depth), true;
        if (name == "CTG")
            return result = Quotient(engine::FnCos, engine::FnSin, rest, depth), true;
        if (name == "ATG") return result = engine::FnAtg(Argument(s, L, depth)), true;
        if (name == "ACTG") return result = engine::FnActg(Argument(s, L, depth)), true;
        if (name == "ASIN" || name == "ACOS") {
            const double v = Argument(s, L, depth);
            if (std::fabs(v) > 1) return result = Fail(TTextFault::ArcRange, s), true;
            result = name == "ASIN" ? engine::FnAsin(v) : engine::FnAcos(v);
            return true;
        }
        if (name == "SH") return result = engine::FnSh(Argument(s, L, depth)), true;
        if (name == "CH") return result = engine::FnCh(Argument(s, L, depth)), true;
        if (name == "TH" || name == "CTH") {
            const long double v = Argument(s, L, depth);
            const long double up = std::exp(v), down = std::exp(-v);
            result = static_cast<double>(name == "TH" ? (up - down) / (up + down)
                                                      : (up + down) / (up - down));
            return true;
        }
        if (name == "SEC") return result = Quotient(nullptr, engine::FnCos, rest, depth), true;
        if (name == "CSEC") return result = Quotient(nullptr, engine::FnSin, rest, depth), true;
        if (name == "PI") return result = engine::PiValue, true;
        if (name == "RND") return result = RandomReal(), true;
        if (name == "RAND") return result = engine::FnRand(Argument(s, L, depth)), true;
        return false;
    }

    double Leaf(std::string_view s) {
        if (s == "X") return x_;
        if (s == "E") return std::exp(1.0);
        if (s == "F") return FrameCounter;
        if (const int k = ParameterIndex(s); k >= 0) return CurrentContext().P[k];
        bool number = !s.empty();
        for (const char c : s)
            if (!((c >= '0' && c <= '9') || c == '.' || c == ',')) number = false;
        if (!number) return Fail(TTextFault::Unknown, s);
        std::string text(s);
        for (char& c : text)
            if (c == '.' || c == ',') c = DecimalSeparatorChar;
        return StrToFloat(text);
    }

    // Characters scanned in all by one evaluation: far beyond any formula a
    // field holds (a text of 1,000 characters nested 50 deep scans 50,000),
    // and reached within milliseconds by texts that would take forever.
    static constexpr long long WorkBudget = 1'000'000;

    bool& error_;
    double x_;
    TTextFaultInfo* fault_;
    long long work_ = 0;
};

} // namespace

double EvalFormulaText(const std::string& text, bool& error, double x, TTextFaultInfo* fault) {
    if (fault != nullptr) *fault = TTextFaultInfo{};
    TextEvaluator evaluator(error, x, fault);
    return evaluator.Eval(text, 0);
}
