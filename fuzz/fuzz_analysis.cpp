// Fuzz target of the analysis: any bytes as a formula, searched for its
// points of interest and its area on [-10, 10] as the window searches them.
// Every search must end, whatever the formula (random draws, noise, poles at
// every scale), and each point it reports must be where the graph has a value.
#include "analysis/Analysis.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    DecimalSeparatorChar = '.';
    try {
        CompileFormula(0, text);
        CompileFormula(1, "sin(x)");
    } catch (const ConversionError&) {
        return 0;
    }
    const TGraph graph{FormulaTrees[0], 0, text}, sine{FormulaTrees[1], 1, "sin(x)"};
    const TPointsFound found = PointsOfInterest({graph, sine}, -10, 10, 0.05);
    for (const TGraphPoint& p : found.Points)
        if (!std::isfinite(p.X) || !std::isfinite(p.Y)) std::abort();
    try {
        Integrate(graph, -10, 10, 0.05);
    } catch (const AreaRefused&) {
    }
    FreeAllTrees();
    return 0;
}
