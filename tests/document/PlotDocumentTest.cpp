#include "document/PlotDocument.h"
#include "engine/Engine.h"

#include <gtest/gtest.h>

namespace {

TEST(PlotDocument, DefaultsAsTheFieldsShowThem) {
    TPlotDocument doc;
    doc.Formulas[4] = "left over";
    doc.Numbers[0] = 99;
    SetDocumentDefaults(doc);
    const struct {
        TNumberIndex index;
        const char* text;
    } cases[] = {
        {YxPhiMin, "0"},
        {YxPhiMax, "6.28318530717959"},
        {YxCartStep, "0.01"},
        {YxPolarStep, "0.01"},
        {YxCartY2, "10"},
        {YxCartY1, "-10"},
        {YxCartX2, "10"},
        {YxCartX1, "-10"},
        {YxPolarX1, "-10"},
        {PlaneCartTMin, "0"},
        {PlaneCartTMax, "6.28318530717959"},
        {PlanePolarTStep, "0.01"},
        {PlanePolarX1, "-10"},
        {SurfXMin, "-10"},
        {SurfXStep, "0.2"},
        {SurfYMax, "10"},
        {ImplXMin, "-5"},
        {ImplXStep1, "0.1"},
        {ImplXStep2, "0.5"},
        {ImplZMax, "5"},
        {ImplZStep2, "0.5"},
        {CurveTMin, "0"},
        {CurveTMax, "6.28318530717959"},
        {CurveTStep, "0.0314159265358979"},
        {PatchUMin, "-3.14159265358979"},
        {PatchUMax, "3.14159265358979"},
        {PatchUStep, "0.314159265358979"},
        {PatchVMin, "-3.14159265358979"},
        {PatchVStep, "0.314159265358979"},
    };
    const char saved = DecimalSeparatorChar;
    DecimalSeparatorChar = '.';
    for (const auto& c : cases)
        EXPECT_EQ(FormatNumber(doc.Numbers[c.index]), c.text) << c.index;
    DecimalSeparatorChar = saved;
    for (const auto& f : doc.Formulas)
        EXPECT_TRUE(f.empty());
    EXPECT_EQ(doc.Numbers[YxPhiMax], 6.283185307179586);
    EXPECT_EQ(doc.Numbers[CurveTStep], 0.031415926535897934);
    EXPECT_EQ(doc.Numbers[PatchUStep], 0.3141592653589793);
    EXPECT_EQ(doc.Numbers[PatchUMin], -3.141592653589793);
}

TEST(PlotDocument, IndicesFollowTheStorageOrder) {
    EXPECT_EQ(YxPhiMin, 0);
    EXPECT_EQ(YxPolarX1, 11);
    EXPECT_EQ(PlaneCartTMin, 12);
    EXPECT_EQ(PlanePolarX1, 25);
    EXPECT_EQ(SurfXMin, 26);
    EXPECT_EQ(ImplXMin, 32);
    EXPECT_EQ(ImplZStep2, 43);
    EXPECT_EQ(CurveTMin, 44);
    EXPECT_EQ(PatchUMin, 47);
    EXPECT_EQ(PatchVStep, 52);
    EXPECT_EQ(fsImplicitF, 9);
    EXPECT_EQ(fsCurveX, 3);
}

TEST(PlotDocument, FormulasAreCutToTheirFirstHundredCharacters) {
    TPlotDocument doc;
    const struct {
        std::string text;
        std::string stored;
    } cases[] = {
        {std::string(100, 'x'), std::string(100, 'x')},
        {std::string(101, 'x'), std::string(100, 'x')},
        {std::string(150, 'y'), std::string(100, 'y')},
        {"", ""},
        {"sin(x)", "sin(x)"},
        // Cyrillic letters take two bytes each; none is split.
        {std::string(99, 'a') + "жж", std::string(99, 'a') + "ж"},
    };
    for (const auto& c : cases) {
        StoreFormula(doc, fsSurfaceZ, c.text);
        EXPECT_EQ(doc.Formulas[fsSurfaceZ], c.stored);
    }
}

} // namespace
