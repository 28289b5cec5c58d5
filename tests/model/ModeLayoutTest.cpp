// The main window's side of the mode table: the field of each document
// value, what each layout shows, the menu items it checks, and the roles of
// the numeric fields that the normalisation before a build follows.
#include "model/ModeLayout.h"

#include "ModeSupport.h"

#include <QRect>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <vector>

namespace {

TEST(ModeLayout, TheFieldsOfOneSetAreDistinct) {
    for (TPlotMode m : Modes)
        for (TCoordinates c : BothCoordinates) {
            std::set<int> edits;
            for (const auto& v : Values(m, c))
                EXPECT_TRUE(edits.insert(FieldOf(v)).second) << m << " Edit" << FieldOf(v);
        }
}

TEST(ModeLayout, WhereEachModeKeepsItsValues) {
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
        const auto v = ValueOfField(c.mode, c.coords, c.edit);
        ASSERT_TRUE(v) << c.mode << " Edit" << c.edit;
        EXPECT_EQ(v->IsFormula, c.formula) << c.mode << " Edit" << c.edit;
        EXPECT_EQ(v->Index, c.index) << c.mode << " Edit" << c.edit;
    }
    // Fields a layout does not show, and no mode at all.
    EXPECT_FALSE(ValueOfField(pmYx, TCoordinates::Cartesian, 11));
    EXPECT_FALSE(ValueOfField(pmSurface, TCoordinates::Cartesian, 23));
    EXPECT_FALSE(ValueOfField(0, TCoordinates::Cartesian, 2));
}

TEST(ModeLayout, ImplicitFieldsFollowTheDocumentOrder) {
    const auto values = Values(pmImplicit, TCoordinates::Cartesian);
    ASSERT_EQ(values.size(), 13u);
    for (int k = 0; k < 12; ++k)
        EXPECT_EQ(FieldOf(values[1 + k]), 11 + k);
}

// The normalisation before a build, field by field: evaluated all, checked
// for a plain number, made non-negative.
TEST(ModeLayout, TheNumericFieldsAndHowTheyAreMadeUsable) {
    const std::map<int, std::pair<bool, bool>> expected = {
        {3, {true, false}},   {4, {true, false}},  {5, {true, true}},    {8, {true, false}},
        {9, {true, false}},   {10, {true, true}},  {11, {true, false}},  {12, {true, false}},
        {13, {true, false}},  {14, {false, true}}, {15, {true, false}},  {16, {true, false}},
        {17, {true, false}},  {18, {false, true}}, {19, {true, false}},  {20, {true, false}},
        {21, {true, false}},  {22, {false, true}}, {23, {false, false}}, {24, {false, false}},
        {25, {false, false}}, {26, {false, false}}};
    std::map<int, std::pair<bool, bool>> actual;
    int previous = 0;
    for (const TNumericField& f : NumericFields()) {
        EXPECT_GT(f.Edit, previous); // in the order of the fields
        previous = f.Edit;
        actual[f.Edit] = {IsSanitised(f.Role), IsNonNegative(f.Role)};
    }
    EXPECT_EQ(actual, expected);
    // A field shows numbers of one role in every mode.
    for (int index = 0; index < DocumentNumberCount; ++index) {
        const int edit = FieldOf({false, index});
        const auto field = std::find_if(NumericFields().begin(), NumericFields().end(),
                                        [&](const TNumericField& f) { return f.Edit == edit; });
        ASSERT_NE(field, NumericFields().end()) << index;
        EXPECT_EQ(field->Role, NumberRole(static_cast<TNumberIndex>(index))) << index;
    }
}

TEST(ModeLayout, PlacesNameTheFieldAndTheMode) {
    EXPECT_EQ(FieldPlace({false, ImplXStep2}, pmImplicit), "шаг2 (X), режим F(x,y,z)=0");
    EXPECT_EQ(FieldPlace({false, YxCartY2}, pmYx), "y2, режим y(x)");
    EXPECT_EQ(FieldPlace({false, PatchVStep}, pmPatch), "Шаг (V), режим x(u,v),y(u,v),z(u,v)");
    EXPECT_EQ(FieldPlace({true, fsCurveZ}, pmCurve), "z(t)=, режим x(t),y(t),z(t)");
}

// A layout shows every field it fills, except the angle range of y(x), which
// only the polar switch shows.
TEST(ModeLayout, LayoutsShowTheFieldsTheyFill) {
    for (TPlotMode m : Modes) {
        const TModeLayout* layout = ModeLayout(m);
        ASSERT_NE(layout, nullptr) << m;
        EXPECT_EQ(layout->Mode, m);
        EXPECT_EQ(layout->CoordinateSwitch, HasCoordinates(m)) << m;
        std::set<int> shown;
        for (const TControl& c : layout->Show)
            if (c.Kind == TControlKind::Edit) shown.insert(c.Number);
        for (const auto& v : Values(m, TCoordinates::Cartesian)) {
            const int edit = FieldOf(v);
            const bool angleRange = m == pmYx && (edit == 3 || edit == 4);
            EXPECT_EQ(shown.count(edit) == 1, !angleRange) << m << " Edit" << edit;
        }
    }
}

TEST(ModeLayout, CodesOutsideOneToSixHaveNoLayout) {
    for (int code : {0, 7, 255, -1})
        EXPECT_EQ(ModeLayout(code), nullptr) << code;
}

TEST(ModeLayout, MenuItemsOfEachMode) {
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

namespace {

QRect RectOf(const TControlPlace& p) {
    return QRect(p.X, p.Y, p.W, p.H);
}

} // namespace

// A larger window: the range fields stay at the plot area's corners, no
// control comes over the area or over another that it did not cover before.
TEST(ModeLayout, AGrownWindowKeepsTheFieldsAtThePlotArea) {
    const auto places = ControlPlaces();
    const auto area = std::find_if(places.begin(), places.end(), [](const TControlPlace& p) {
        return p.Kind == TControlKind::PaintBox;
    });
    ASSERT_NE(area, places.end());
    const auto edit = [&](int n) {
        return *std::find_if(places.begin(), places.end(), [&](const TControlPlace& p) {
            return p.Kind == TControlKind::Edit && p.Number == n;
        });
    };
    for (const QSize grow : {QSize(0, 0), QSize(626, 433), QSize(300, 0), QSize(0, 300)}) {
        SCOPED_TRACE(grow.width() * 1000 + grow.height());
        const QRect a = RectOf(GrownPlace(*area, grow.width(), grow.height()));
        EXPECT_EQ(a.size(), QSize(400, 400) + grow);
        const auto at = [&](int n) {
            return RectOf(GrownPlace(edit(n), grow.width(), grow.height()));
        };
        EXPECT_EQ(at(23).topLeft(), QPoint(a.right() + 1, a.top()));       // y2
        EXPECT_EQ(at(24).bottomLeft(), QPoint(a.right() + 1, a.bottom())); // y1
        EXPECT_EQ(at(26).topLeft(), QPoint(a.left(), a.bottom()));         // x1
        EXPECT_EQ(at(25).right(), a.right() + 1);                          // x2
        for (const TControlPlace& p : places) {
            const QRect before = RectOf(p),
                        after = RectOf(GrownPlace(p, grow.width(), grow.height()));
            if (grow.isNull()) {
                EXPECT_EQ(after, before);
            }
            if (&p == &*area) continue;
            if (!before.intersects(RectOf(*area))) {
                EXPECT_FALSE(after.intersects(a)) << p.Number;
            }
            for (const TControlPlace& q : places) {
                if (&q == &p || &q == &*area || before.intersects(RectOf(q))) continue;
                EXPECT_FALSE(after.intersects(RectOf(GrownPlace(q, grow.width(), grow.height()))))
                    << int(p.Kind) << ":" << p.Number << " " << int(q.Kind) << ":" << q.Number;
            }
        }
    }
}
