#include "TestSupport.h"

#include <limits>

namespace {

class NumberText : public SeparatorTest {};
INSTANTIATE_FOR_SEPARATORS(NumberText);

TEST_P(NumberText, FifteenSignificantDigitsFixedOrScientific) {
    const struct {
        double value;
        const char* text; // with '.' standing for the separator
    } cases[] = {
        {6.283185307179586, "6.28318530717959"},
        {0.031415926535897934, "0.0314159265358979"},
        {0.049999999999998934, "0.0499999999999989"},
        {-3.141592653589793, "-3.14159265358979"},
        {0.3141592653589793, "0.314159265358979"},
        {1000, "1000"},
        {1e-6, "1E-6"},
        {0.00001, "0.00001"},
        {0.000015, "0.000015"},
        {1e15, "1E15"},
        {999999999999999.0, "999999999999999"},
        {999999999999999.9, "1E15"},
        {1.5e20, "1.5E20"},
        {-1.5e-7, "-1.5E-7"},
        {1e300, "1E300"},
        {0.1, "0.1"},
        {-10, "-10"},
        {0, "0"},
        {-0.0, "0"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3, "0.333333333333333"},
        {123456.789, "123456.789"},
        {std::numeric_limits<double>::infinity(), "INF"},
        {-std::numeric_limits<double>::infinity(), "-INF"},
        {std::numeric_limits<double>::quiet_NaN(), "NAN"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatNumber(c.value), Local(c.text)) << c.text;
}

TEST_P(NumberText, StrictConversionAcceptsPlainNumbersOnly) {
    const struct {
        const char* text;
        double value;
    } good[] = {
        {"1", 1},
        {" 1 ", 1},
        {"+1", 1},
        {"-1.5", -1.5},
        {"1e3", 1000},
        {"1E-6", 1e-6},
        {"5.", 5},
        {".5", 0.5},
        {"0.01", 0.01},
        {"-0", 0},
        {"6.28318530717959", 6.28318530717959},
        {"1e400", std::numeric_limits<double>::infinity()},
    };
    for (const auto& c : good)
        EXPECT_EQ(StrToFloat(Local(c.text)), c.value) << c.text;

    const char* bad[] = {"",  " ",   "Error!", "1.2.3", "1e",      "e",   "-",    "1 2", "2*pi",
                         ".", "1e+", "--1",    "0x10",  "1e99999", "INF", "1.5.", "١"};
    for (const char* text : bad)
        EXPECT_THROW(StrToFloat(Local(text)), ConversionError) << text;
}

TEST_P(NumberText, TheOtherSeparatorIsRejected) {
    const std::string other = DecimalSeparatorChar == '.' ? "1,5" : "1.5";
    try {
        StrToFloat(other);
        FAIL() << "accepted " << other;
    } catch (const ConversionError& e) {
        EXPECT_EQ(std::string(e.what()), "'" + other + "' is not a valid floating point value");
    }
}

TEST_P(NumberText, FormattedNumbersConvertBackToFifteenDigits) {
    const double values[] = {2 * 3.141592653589793, 0.1, 1e-6, 123.456, -7.25, 1e20};
    for (double v : values) {
        const double back = StrToFloat(FormatNumber(v));
        EXPECT_NEAR(back, v, std::fabs(v) * 1e-14) << v;
    }
}

} // namespace
