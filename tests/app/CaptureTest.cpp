// Every field of every mode and coordinate system, through the window: a
// value typed into it is captured into its place in the document, and comes
// back into the same field when the mode is laid out again.
#include "AppTestSupport.h"

namespace {

struct Place {
    int edit;
    bool formula;
    int index;
};

struct ModeFields {
    const char* name;
    void (TForm1::*enter)();
    bool polar;
    std::vector<Place> places;
};

// Where the document keeps each field, mode by mode.
std::vector<ModeFields> AllModes() {
    auto num = [](int edit, int index) { return Place{edit, false, index}; };
    auto text = [](int edit, int slot) { return Place{edit, true, slot}; };
    std::vector<Place> implicit = {text(7, fsImplicitF)};
    for (int k = 0; k < 12; ++k)
        implicit.push_back(num(11 + k, ImplXMin + k));
    return {
        {"y(x) cartesian",
         &TForm1::N2DyxClick,
         false,
         {num(3, YxPhiMin), num(4, YxPhiMax), num(5, YxCartStep), num(23, YxCartY2),
          num(24, YxCartY1), num(25, YxCartX2), num(26, YxCartX1)}},
        {"y(x) polar",
         &TForm1::N2DyxClick,
         true,
         {num(3, YxPhiMin), num(4, YxPhiMax), num(5, YxPolarStep), num(23, YxPolarY2),
          num(24, YxPolarY1), num(25, YxPolarX2), num(26, YxPolarX1)}},
        {"x(t),y(t) cartesian",
         &TForm1::N2DxytClick,
         false,
         {text(2, fsPlaneX), text(6, fsPlaneY), num(3, PlaneCartTMin), num(4, PlaneCartTMax),
          num(5, PlaneCartTStep), num(23, PlaneCartY2), num(24, PlaneCartY1), num(25, PlaneCartX2),
          num(26, PlaneCartX1)}},
        {"x(t),y(t) polar",
         &TForm1::N2DxytClick,
         true,
         {text(2, fsPlaneX), text(6, fsPlaneY), num(3, PlanePolarTMin), num(4, PlanePolarTMax),
          num(5, PlanePolarTStep), num(23, PlanePolarY2), num(24, PlanePolarY1),
          num(25, PlanePolarX2), num(26, PlanePolarX1)}},
        {"z(x,y)",
         &TForm1::N3DzxyClick,
         false,
         {text(7, fsSurfaceZ), num(3, SurfXMin), num(4, SurfXMax), num(5, SurfXStep),
          num(8, SurfYMin), num(9, SurfYMax), num(10, SurfYStep)}},
        {"x(t),y(t),z(t)",
         &TForm1::N3DxyztClick,
         false,
         {text(2, fsCurveX), text(6, fsCurveY), text(7, fsCurveZ), num(3, CurveTMin),
          num(4, CurveTMax), num(5, CurveTStep)}},
        {"x(u,v),y(u,v),z(u,v)",
         &TForm1::N3DxyzuvClick,
         false,
         {text(2, fsPatchX), text(6, fsPatchY), text(7, fsPatchZ), num(3, PatchUMin),
          num(4, PatchUMax), num(5, PatchUStep), num(8, PatchVMin), num(9, PatchVMax),
          num(10, PatchVStep)}},
        {"F(x,y,z)=0", &TForm1::N3DFxyzClick, false, implicit},
    };
}

// A value of its own for every field: formulas name their slot, numbers
// their index (all positive, so that no step is made non-negative; a view's
// left edge lower, so that it lies left of the right one).
int NumberFor(const Place& p) {
    const bool left = p.index == YxCartX1 || p.index == YxPolarX1 || p.index == PlaneCartX1 ||
                      p.index == PlanePolarX1;
    return 100 + p.index - (left ? 50 : 0);
}
std::string ValueFor(const Place& p) {
    return p.formula ? "x+" + std::to_string(p.index) : std::to_string(NumberFor(p));
}

TEST_F(WindowTest, EveryFieldIsCapturedIntoItsPlaceAndLaidOutAgain) {
    for (const auto& mode : AllModes()) {
        Open(QLocale(QLocale::C));
        form->CheckBox6->setChecked(false); // y2 as typed
        form->Equally->setChecked(false);   // the Y and Z rows as typed
        (form.get()->*mode.enter)();
        if (mode.polar) form->RadioButton2->setChecked(true);
        for (const auto& p : mode.places)
            Type(form->EditN(p.edit), ValueFor(p).c_str());
        form->NormaliseParamFields();
        form->CaptureDocument();
        for (const auto& p : mode.places) {
            if (p.formula)
                EXPECT_EQ(PlotDocument.Formulas[p.index], ValueFor(p))
                    << mode.name << " Edit" << p.edit;
            else
                EXPECT_EQ(PlotDocument.Numbers[p.index], NumberFor(p))
                    << mode.name << " Edit" << p.edit;
        }
        // Away and back: the layout fills the fields from the document.
        form->N3DzxyClick();
        form->N2DyxClick();
        (form.get()->*mode.enter)();
        if (mode.polar) form->RadioButton2->setChecked(true);
        for (const auto& p : mode.places)
            EXPECT_EQ(Text(form->EditN(p.edit)), ValueFor(p)) << mode.name << " Edit" << p.edit;
        EXPECT_TRUE(failures.empty()) << mode.name;
    }
}

// The labels of the coordinate switch, in both 2D modes and both directions.
TEST_F(WindowTest, TheCoordinateSwitchRelabelsTheFields) {
    const struct {
        const char* name;
        void (TForm1::*enter)();
        bool polar;
        std::vector<std::pair<QLabel * TForm1::*, const char*>> captions;
        const char* button1;
        bool minimalStepShown;
    } cases[] = {
        {"y(x) polar",
         &TForm1::N2DyxClick,
         true,
         {{&TForm1::Label2, "fi0="},
          {&TForm1::Label3, "Формула r="},
          {&TForm1::Label4, "min Fi"},
          {&TForm1::Label5, "max Fi"}},
         "r(fi0)=",
         false},
        {"y(x) cartesian",
         &TForm1::N2DyxClick,
         false,
         {{&TForm1::Label2, "x0="}, {&TForm1::Label3, "Формула y="}},
         "y(x0)=",
         true},
        {"x(t),y(t) polar",
         &TForm1::N2DxytClick,
         true,
         {{&TForm1::Label7, "fi(t)="},
          {&TForm1::Label8, "r(t)="},
          {&TForm1::Label4, "min T"},
          {&TForm1::Label5, "max T"}},
         "r(fi0)=",
         false},
        {"x(t),y(t) cartesian",
         &TForm1::N2DxytClick,
         false,
         {{&TForm1::Label7, "x(t)="}, {&TForm1::Label8, "y(t)="}},
         "y(x0)=",
         false},
    };
    for (const auto& c : cases) {
        Open(QLocale(QLocale::C));
        (form.get()->*c.enter)();
        form->RadioButton2->setChecked(true);
        if (!c.polar) form->RadioButton1->setChecked(true);
        for (const auto& [label, caption] : c.captions)
            EXPECT_EQ(Text(form.get()->*label), caption) << c.name;
        EXPECT_EQ(form->Button1->text().toStdString(), c.button1) << c.name;
        EXPECT_EQ(!form->CheckBox9->isHidden(), c.minimalStepShown) << c.name;
        EXPECT_EQ(form->Edit3->isHidden(), c.name == std::string("y(x) cartesian")) << c.name;
    }
}

} // namespace
