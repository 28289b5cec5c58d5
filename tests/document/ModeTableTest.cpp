// Properties of the mode table: every document value belongs to exactly one
// parameter set, the sets keep the order in which the fields are captured,
// and each number has the role that says how its text is made usable.
#include "document/ModeTable.h"

#include "ModeSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

namespace {

TEST(ModeTable, EveryDocumentValueBelongsToExactlyOneSet) {
    std::map<int, int> numbers, formulas; // index -> how many sets hold it
    for (TPlotMode m : Modes) {
        for (TCoordinates c : BothCoordinates) {
            const TParameterSet set = ParameterSet(m, c);
            // Shared fields count once per mode, own fields once per set.
            if (c == TCoordinates::Cartesian || HasCoordinates(m))
                for (const auto& f : set.Own)
                    ++(f.IsFormula ? formulas : numbers)[f.Index];
            if (c == TCoordinates::Cartesian)
                for (const auto& f : set.Shared)
                    ++(f.IsFormula ? formulas : numbers)[f.Index];
        }
    }
    for (int i = 0; i < DocumentNumberCount; ++i)
        EXPECT_EQ(numbers[i], 1) << "number " << i;
    for (int i = 0; i < DocumentFormulaCount; ++i)
        EXPECT_EQ(formulas[i], 1) << "formula " << i;
    EXPECT_EQ(numbers.size(), static_cast<size_t>(DocumentNumberCount));
    EXPECT_EQ(formulas.size(), static_cast<size_t>(DocumentFormulaCount));
}

TEST(ModeTable, ValuesOfOneSetAreDistinctAndFormulasComeFirst) {
    for (TPlotMode m : Modes) {
        for (TCoordinates c : BothCoordinates) {
            std::set<std::pair<bool, int>> seen;
            bool numberSeen = false;
            for (const auto& v : Values(m, c)) {
                EXPECT_TRUE(seen.insert({v.IsFormula, v.Index}).second) << m << " " << v.Index;
                if (!v.IsFormula) numberSeen = true;
                EXPECT_FALSE(v.IsFormula && numberSeen) << m << " " << v.Index;
            }
        }
    }
}

TEST(ModeTable, ImplicitValuesFollowTheDocumentOrder) {
    const auto values = Values(pmImplicit, TCoordinates::Cartesian);
    ASSERT_EQ(values.size(), 13u);
    EXPECT_EQ(values[0], (TDocValue{true, fsImplicitF}));
    for (int k = 0; k < 12; ++k)
        EXPECT_EQ(values[1 + k].Index, ImplXMin + k);
}

// The roles say how a build makes each number's text usable: steps become
// non-negative plain numbers, шаг1 a plain number, шаг2 non-negative, the
// view's edges are only evaluated.
TEST(ModeTable, RolesOfTheNumbers) {
    using R = TNumberRole;
    const std::map<TNumberIndex, R> cases = {
        {YxPhiMin, R::Range},      {YxCartStep, R::Step},      {YxPolarX1, R::View},
        {PlaneCartTMax, R::Range}, {PlanePolarTStep, R::Step}, {PlaneCartY2, R::View},
        {SurfYMin, R::Range},      {SurfXStep, R::Step},       {ImplXMin, R::Range},
        {ImplYStep1, R::LineStep}, {ImplZStep2, R::PlaneStep}, {CurveTStep, R::Step},
        {PatchVMax, R::Range},     {PatchVStep, R::Step},
    };
    for (const auto& [index, role] : cases)
        EXPECT_EQ(NumberRole(index), role) << index;
    const struct {
        R role;
        bool sanitised, nonNegative;
    } rules[] = {{R::Range, true, false},
                 {R::Step, true, true},
                 {R::LineStep, true, false},
                 {R::PlaneStep, false, true},
                 {R::View, false, false}};
    for (const auto& r : rules) {
        EXPECT_EQ(IsSanitised(r.role), r.sanitised) << static_cast<int>(r.role);
        EXPECT_EQ(IsNonNegative(r.role), r.nonNegative) << static_cast<int>(r.role);
    }
}

TEST(ModeTable, CodesOutsideOneToSixAreNoMode) {
    for (int code = 1; code <= 6; ++code)
        EXPECT_TRUE(IsPlotMode(code));
    for (int code : {0, 7, 255, -1})
        EXPECT_FALSE(IsPlotMode(code)) << code;
}

} // namespace
