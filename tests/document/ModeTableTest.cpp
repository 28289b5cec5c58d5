// Properties of the mode table: every document value has exactly one field in
// exactly one parameter set, the layouts show what they fill, and the sets
// keep the order in which the fields are captured.
#include "document/ModeTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <vector>

namespace {

constexpr TPlotMode Modes[] = {pmYx, pmSurface, pmPlane, pmCurve, pmPatch, pmImplicit};
constexpr TCoordinates BothCoordinates[] = {TCoordinates::Cartesian, TCoordinates::Polar};

bool HasCoordinates(TPlotMode m) {
    return m == pmYx || m == pmPlane;
}

std::vector<TFieldBinding> Fields(TPlotMode m, TCoordinates c) {
    const TParameterSet set = ParameterSet(m, c);
    std::vector<TFieldBinding> all(set.Shared.begin(), set.Shared.end());
    all.insert(all.end(), set.Own.begin(), set.Own.end());
    return all;
}

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

TEST(ModeTable, FieldsOfOneSetAreDistinctAndFormulasComeFirst) {
    for (TPlotMode m : Modes) {
        for (TCoordinates c : BothCoordinates) {
            const auto fields = Fields(m, c);
            std::set<int> edits;
            bool numberSeen = false;
            for (const auto& f : fields) {
                EXPECT_TRUE(edits.insert(f.Edit).second) << m << " Edit" << f.Edit;
                if (!f.IsFormula) numberSeen = true;
                EXPECT_FALSE(f.IsFormula && numberSeen) << m << " Edit" << f.Edit;
            }
        }
    }
}

TEST(ModeTable, WhereEachModeKeepsItsValues) {
    const struct {
        TPlotMode mode;
        TCoordinates coords;
        int edit;
        bool formula;
        int index;
    } cases[] = {
        {pmYx, TCoordinates::Cartesian, 3, false, YxPhiMin},
        {pmYx, TCoordinates::Polar, 4, false, YxPhiMax},
        {pmYx, TCoordinates::Cartesian, 5, false, YxCartStep},
        {pmYx, TCoordinates::Polar, 5, false, YxPolarStep},
        {pmYx, TCoordinates::Cartesian, 23, false, YxCartY2},
        {pmYx, TCoordinates::Polar, 26, false, YxPolarX1},
        {pmPlane, TCoordinates::Cartesian, 2, true, fsPlaneX},
        {pmPlane, TCoordinates::Polar, 6, true, fsPlaneY},
        {pmPlane, TCoordinates::Cartesian, 3, false, PlaneCartTMin},
        {pmPlane, TCoordinates::Polar, 5, false, PlanePolarTStep},
        {pmPlane, TCoordinates::Polar, 24, false, PlanePolarY1},
        {pmSurface, TCoordinates::Cartesian, 7, true, fsSurfaceZ},
        {pmSurface, TCoordinates::Cartesian, 10, false, SurfYStep},
        {pmCurve, TCoordinates::Cartesian, 7, true, fsCurveZ},
        {pmCurve, TCoordinates::Cartesian, 5, false, CurveTStep},
        {pmPatch, TCoordinates::Cartesian, 2, true, fsPatchX},
        {pmPatch, TCoordinates::Cartesian, 8, false, PatchVMin},
        {pmImplicit, TCoordinates::Cartesian, 7, true, fsImplicitF},
        {pmImplicit, TCoordinates::Cartesian, 11, false, ImplXMin},
        {pmImplicit, TCoordinates::Cartesian, 18, false, ImplYStep2},
        {pmImplicit, TCoordinates::Cartesian, 22, false, ImplZStep2},
    };
    for (const auto& c : cases) {
        const auto fields = Fields(c.mode, c.coords);
        const auto it = std::find_if(fields.begin(), fields.end(),
                                     [&](const TFieldBinding& f) { return f.Edit == c.edit; });
        ASSERT_NE(it, fields.end()) << c.mode << " Edit" << c.edit;
        EXPECT_EQ(it->IsFormula, c.formula) << c.mode << " Edit" << c.edit;
        EXPECT_EQ(it->Index, c.index) << c.mode << " Edit" << c.edit;
    }
}

TEST(ModeTable, ImplicitFieldsFollowTheDocumentOrder) {
    const auto fields = Fields(pmImplicit, TCoordinates::Cartesian);
    ASSERT_EQ(fields.size(), 13u);
    for (int k = 0; k < 12; ++k) {
        EXPECT_EQ(fields[1 + k].Edit, 11 + k);
        EXPECT_EQ(fields[1 + k].Index, ImplXMin + k);
    }
}

// A layout shows every field it fills, except the angle range of y(x), which
// only the polar switch shows.
TEST(ModeTable, LayoutsShowTheFieldsTheyFill) {
    for (TPlotMode m : Modes) {
        const TModeLayout* layout = ModeLayout(m);
        ASSERT_NE(layout, nullptr) << m;
        EXPECT_EQ(layout->Mode, m);
        EXPECT_EQ(layout->CoordinateSwitch, HasCoordinates(m)) << m;
        std::set<int> shown;
        for (const TControl& c : layout->Show)
            if (c.Kind == TControlKind::Edit) shown.insert(c.Number);
        for (const auto& f : Fields(m, TCoordinates::Cartesian)) {
            const bool angleRange = m == pmYx && (f.Edit == 3 || f.Edit == 4);
            EXPECT_EQ(shown.count(f.Edit) == 1, !angleRange) << m << " Edit" << f.Edit;
        }
    }
}

TEST(ModeTable, CodesOutsideOneToSixHaveNoLayout) {
    for (int code : {0, 7, 255, -1})
        EXPECT_EQ(ModeLayout(code), nullptr) << code;
    for (int code = 1; code <= 6; ++code)
        EXPECT_TRUE(IsPlotMode(code));
    EXPECT_FALSE(IsPlotMode(0));
    EXPECT_FALSE(IsPlotMode(7));
}

TEST(ModeTable, MenuItemsOfEachMode) {
    using M = TMenuItem;
    const std::map<TPlotMode, std::vector<M>> expected = {
        {pmYx, {M::N2Dyx}},
        {pmSurface, {M::N3Dzxy}},
        {pmPlane, {M::N9, M::N2Dxyt}},
        {pmCurve, {M::N9, M::N3Dxyzt}},
        {pmPatch, {M::N9, M::N3Dxyzuv}},
        {pmImplicit, {M::N3DFxyz}},
    };
    for (const auto& [mode, items] : expected) {
        const auto menu = ModeLayout(mode)->Menu;
        EXPECT_EQ(std::vector<M>(menu.begin(), menu.end()), items) << mode;
    }
}

} // namespace
