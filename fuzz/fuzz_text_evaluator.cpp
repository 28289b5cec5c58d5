// Fuzz target of the text evaluator: any bytes as the text of a numeric
// field or of "y(x0)=". It must neither crash nor hang: a value, the error
// flag, or the conversion message for a malformed number.
#include "engine/Engine.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte chooses the separator and the value of x.
    DecimalSeparatorChar = (data[0] & 1) ? ',' : '.';
    const double xs[] = {0.0, 1.5, -2.0, 1e300, 0.1};
    const double x = xs[(data[0] >> 1) % 5];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    bool error = false;
    SeedRandom(data[0]);
    try {
        EvalFormulaText(UpperCaseFormula(text), error, x);
    } catch (const ConversionError&) {
    }
    DecimalSeparatorChar = '.';
    return 0;
}
