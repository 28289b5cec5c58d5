// The window's rules for the texts of its fields, on a state alone: the
// role checks, the normalisation before a build, the range fields and y(x0).
#include "model/FieldEdits.h"

#include "document/Settings.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class FieldEdits : public ::testing::Test {
  protected:
    void SetUp() override { DecimalSeparatorChar = '.'; }
    void TearDown() override { FreeAllTrees(); }
};

TEST_F(FieldEdits, ARoleSanitisesByCharactersAndKeepsSizesNonNegative) {
    using R = TNumberRole;
    const struct {
        R role;
        const char* text;
        const char* checked; // nullptr: the check throws
    } cases[] = {
        // Only the characters count: a text that could begin a number stays.
        {R::Range, "E", "E"},
        {R::Range, "1e", "1e"},
        {R::Range, "-1.5", "-1.5"},
        {R::Range, "1E-6", "1E-6"},
        {R::Range, "-2.5e-7", "-2.5e-7"},
        {R::Range, "", "0"},
        {R::Range, "1..2", "0"},
        {R::Range, "1.2,3", "0"},
        {R::Range, "--1", "0"},
        {R::Range, "2-", "0"},
        {R::Range, "1 ", "0"},
        {R::Range, "1E-6E-2", "0"},
        {R::Range, "1-E6", "0"},
        {R::Range, "1E+6", "0"},
        {R::LineStep, "-3", "-3"},
        {R::LineStep, "abc", "0"},
        // A size is read as a number, and its sign dropped.
        {R::Step, "-0.5", "0.5"},
        {R::Step, "abc", "0"},
        {R::PlaneStep, "-2.5E-6", "2.5E-6"},
        {R::PlaneStep, "abc", nullptr},
        {R::View, "abc", "abc"},
        {R::View, "-3", "-3"},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        if (c.checked == nullptr) {
            EXPECT_THROW(CheckFieldRole(text, c.role), ConversionError) << c.text;
            continue;
        }
        CheckFieldRole(text, c.role);
        EXPECT_EQ(text, c.checked) << c.text;
    }
}

TEST_F(FieldEdits, ABadFieldStopsOnlyTheBuildOfItsMode) {
    const struct {
        int mode;
        bool stops;
    } cases[] = {{pmImplicit, true}, {pmYx, false}, {pmSurface, false}};
    for (const auto& c : cases) {
        TPlotState state;
        state.Input.Mode = c.mode;
        state.Fields[14] = "abc"; // шаг2 (X) of F(x,y,z)=0
        state.Fields[13] = "-0.25";
        std::vector<std::pair<int, std::string>> failed;
        const auto normalise = [&] {
            NormaliseFields(state, [&](int edit, const std::string& text, const TTextFaultInfo&) {
                failed.emplace_back(edit, text);
            });
        };
        if (c.stops) {
            try {
                normalise();
                ADD_FAILURE() << "no stop in mode " << c.mode;
            } catch (const ConversionError& e) {
                EXPECT_STREQ(e.what(), "'Error!' is not a valid floating point value: шаг2 (X), "
                                       "режим F(x,y,z)=0");
            }
        } else {
            EXPECT_NO_THROW(normalise()) << c.mode;
        }
        EXPECT_EQ(state.Fields[14], "Error!") << c.mode;
        EXPECT_EQ(state.Fields[13], "-0.25") << c.mode; // шаг1 keeps its sign
        // Every empty field of numbers failed too; the one typed is among them.
        EXPECT_NE(std::find(failed.begin(), failed.end(), std::pair<int, std::string>{14, "abc"}),
                  failed.end());
    }
}

TEST_F(FieldEdits, TheRangeFieldsAreToldAtTheFirstFieldRead) {
    TPlotState state;
    state.Input.Mode = pmYx;
    state.Fields = {};
    state.Fields[23] = "10", state.Fields[24] = "q", state.Fields[25] = "10";
    state.Fields[26] = "q";
    try {
        ReadRangeFields(state);
        ADD_FAILURE() << "read";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'q' is not a valid floating point value: x1, режим y(x)");
    }
    state.Fields[24] = "-5", state.Fields[26] = "-2.5";
    state.Input.EqualScales = false;
    ReadRangeFields(state);
    WriteRangeFields(state);
    EXPECT_EQ(state.Fields[23], "10");
    EXPECT_EQ(state.Fields[24], "-5");
    EXPECT_EQ(state.Fields[25], "10");
    EXPECT_EQ(state.Fields[26], "-2.5");
}

TEST_F(FieldEdits, TheResultAtX0) {
    const struct {
        const char* formula;
        const char* x0;
        const char* result;
    } cases[] = {
        {"x^2", "3", "9"},         {"SIN(x)", "0", "0"},   {"sqrt(x)", "2", "1.4142135623731"},
        {"ln(x)", "-1", "Error!"}, {"1/x", "0", "Error!"},
    };
    for (const auto& c : cases) {
        TPlotState state;
        state.Input.Formula = c.formula;
        state.Fields[1] = c.x0;
        bool error = true;
        TTextFaultInfo fault;
        EXPECT_EQ(X0Result(state, &fault, error), c.result) << c.formula;
        EXPECT_EQ(error, std::string(c.result) == "Error!") << c.formula;
    }
    TPlotState state;
    state.Input.Formula = "x";
    state.Fields[1] = "pi";
    bool error = false;
    EXPECT_THROW(X0Result(state, nullptr, error), ConversionError);
}

TEST_F(FieldEdits, CaptureKeepsTheTypedFormulaAndLoadShowsTheDocument) {
    TPlotDocument document;
    SetDocumentDefaults(document);
    std::string typed[DocumentFormulaCount];
    TPlotState state;
    state.Input.Mode = pmSurface;
    LoadFields(state, ValuesOfMode(pmSurface, TCoordinates::Cartesian), document);
    const std::string formula(150, 'x');
    state.Fields[7] = formula;
    state.Fields[3] = "-4";
    CaptureFields(state, document, typed);
    EXPECT_EQ(document.Formulas[fsSurfaceZ], std::string(100, 'x'));
    EXPECT_EQ(typed[fsSurfaceZ], formula);
    EXPECT_EQ(document.Numbers[SurfXMin], -4);
    LoadFields(state, ValuesOfMode(pmSurface, TCoordinates::Cartesian), document);
    EXPECT_EQ(state.Fields[7], std::string(100, 'x'));
    EXPECT_EQ(state.Fields[3], "-4");
    state.Fields[4] = "oops";
    EXPECT_THROW(CaptureFields(state, document, typed), ConversionError);
}

TEST_F(FieldEdits, TheRowsFollowTheXRowOnlyWhileEqually) {
    for (const bool equally : {true, false}) {
        TPlotState state;
        state.Input.EqualRows = equally;
        for (int k = 11; k <= 22; ++k)
            state.Fields[k] = std::to_string(k);
        FollowXRow(state);
        for (int k = 15; k <= 22; ++k)
            EXPECT_EQ(state.Fields[k], std::to_string(equally ? 11 + (k - 15) % 4 : k)) << k;
        EXPECT_EQ(state.Fields[14], "14");
    }
}

} // namespace
