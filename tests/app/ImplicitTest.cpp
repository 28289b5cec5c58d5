// The implicit surface through the main window: its button, the rows that
// follow "Equally", cancel and what may happen while the scan lets events
// in, and the random surface of F12.
#include "AppTestSupport.h"

#include "geometry3d/Implicit.h"
#include "view3d/Tfrm3D.h"

#include <QApplication>
#include <QProgressBar>
#include <QTimer>

#include <cmath>

namespace {

using Implicit = AllWindowsTest;

TEST_F(Implicit, TheButtonScansTheDefaultSphere) {
    form->N3DFxyzClick();
    Type(form->Edit7, "x^2+y^2+z^2-4");
    form->Button11Click();
    EXPECT_TRUE(failures.empty());
    EXPECT_EQ(LevelPointCount, 2916);
    EXPECT_TRUE(windows->Frm3D->isVisible());
    EXPECT_TRUE(windows->Frm3D->ProgressBar1->isHidden()); // gone at the end
    EXPECT_TRUE(windows->Frm3D->Button1->isHidden());
    EXPECT_GT(windows->Frm3D->ProgressBar1->value(), 90); // it moved to about the end
    for (double c : Coefficients())
        EXPECT_LT(c, 1.3);
    EXPECT_EQ(PlotDocument.Formulas[fsImplicitF], "x^2+y^2+z^2-4");
}

TEST_F(Implicit, TheRowsFollowTheXRowWhileEquallyIsChecked) {
    form->N3DFxyzClick();
    EXPECT_TRUE(form->Equally->isChecked());
    for (int k = 15; k <= 22; ++k)
        EXPECT_FALSE(form->EditN(k)->isEnabled()) << k;
    Type(form->Edit12, "7");
    EXPECT_EQ(Text(form->Edit16), "7");
    EXPECT_EQ(Text(form->Edit20), "7");
    Type(form->Edit14, "0.25");
    EXPECT_EQ(Text(form->Edit18), "0.25");
    EXPECT_EQ(Text(form->Edit22), "0.25");

    form->Equally->setChecked(false);
    for (int k = 15; k <= 22; ++k)
        EXPECT_TRUE(form->EditN(k)->isEnabled()) << k;
    Type(form->Edit12, "3");
    EXPECT_EQ(Text(form->Edit16), "7"); // no longer mirrored
    Type(form->Edit16, "9");
    form->Equally->setChecked(true);
    EXPECT_FALSE(form->Edit16->isEnabled());
    EXPECT_EQ(Text(form->Edit16), "9"); // the X values come at the next change
    Type(form->Edit12, "4");
    EXPECT_EQ(Text(form->Edit16), "4");
}

TEST_F(Implicit, CentringAndTheFamilyBoxesReachTheScan) {
    form->N3DFxyzClick();
    Type(form->Edit7, "x^2+y^2+z^2-4");
    form->CheckBox3->setChecked(false);
    form->CheckBox4->setChecked(false);
    form->Button11Click();
    ASSERT_GT(LevelPointCount, 0);
    for (const Vertex3D& v : LevelPoints)
        EXPECT_EQ(std::fmod(std::fabs(v.z), 0.5), 0); // planes z = const only
    form->CheckBox3->setChecked(true);
    form->CheckBox4->setChecked(true);
    Type(form->Edit11, "0"); // all rows 0 .. 5: centred on 2.5
    form->CheckBox8->setChecked(true);
    form->Button11Click();
    ASSERT_GT(LevelPointCount, 0);
    for (const Vertex3D& v : LevelPoints)
        EXPECT_LE(v.x, 2.5 - 0.5);
}

// "Отмена" clicked while the first family is scanned: the family ends after
// its plane, the others are skipped, the bar and button go, the points stay.
TEST_F(Implicit, CancelDuringTheFirstFamily) {
    form->N3DFxyzClick();
    Type(form->Edit7, "x^2+y^2+z^2-30");
    QTimer::singleShot(0, windows->Frm3D.get(), [this] { windows->Frm3D->Button1->click(); });
    form->Button11Click();
    ASSERT_GT(LevelPointCount, 0);
    for (const Vertex3D& v : LevelPoints)
        EXPECT_EQ(v.x, -5); // the first plane of the X family only
    EXPECT_TRUE(windows->Frm3D->ProgressBar1->isHidden());
    EXPECT_TRUE(windows->Frm3D->Button1->isHidden());
    EXPECT_TRUE(failures.empty());
}

TEST_F(Implicit, EndlessAndAbsurdScansAreRefusedBeforeTheyStart) {
    form->N3DFxyzClick();
    Type(form->Edit7, "x^2+y^2+z^2-4");
    form->Button11Click();
    const int count = LevelPointCount;
    const struct {
        const char* name;
        int field;
        const char* text;
        const char* message;
    } cases[] = {
        {"шаг1 zero", 13, "0", "Шаг1 по оси"},
        {"шаг1 negative", 13, "-0.1", "Шаг1 по оси"},
        {"шаг2 zero", 14, "0", "Шаг2 по оси"},
        {"a plane of too many samples", 13, "0.0001", "Слишком много точек"},
    };
    for (const auto& c : cases) {
        // A refused build has captured its fields: start each case afresh.
        SetDocumentDefaults(PlotDocument);
        form->N3DFxyzClick();
        Type(form->Edit7, "x^2+y^2+z^2-4");
        failures.clear();
        Type(form->EditN(c.field), c.text);
        RunCommand([&] { form->Button11Click(); }); // as the button runs it
        ASSERT_EQ(failures.size(), 1u) << c.name;
        EXPECT_EQ(failures[0].rfind(c.message, 0), 0u) << c.name << ": " << failures[0];
        EXPECT_EQ(LevelPointCount, count) << c.name;
        EXPECT_TRUE(windows->Frm3D->ProgressBar1->isHidden()) << c.name;
    }
}

// While the scan lets events in, builds, mode changes, undo and F12 wait; closing
// the main window stops the scan and closes it when the scan has ended.
TEST_F(Implicit, NothingElseRunsWhileTheScanLetsEventsIn) {
    form->N3DFxyzClick();
    Type(form->Edit7, "x^2+y^2+z^2-4");
    int tries = 0;
    QTimer::singleShot(0, form, [&] {
        ++tries;
        form->Button8Click();
        form->Button11Click();
        form->N2DyxClick();
        form->N13Click();
        form->Button2Click();
        form->PaintBox1Paint();
        EXPECT_FALSE(form->NUndo->isEnabled());
        form->UndoClick(); // the mode switch before the scan stays
        EXPECT_EQ(form->CurrentPlotMode(), pmImplicit);
    });
    form->Button11Click();
    EXPECT_EQ(tries, 1);
    EXPECT_EQ(LevelPointCount, 2916); // the one scan, whole
    EXPECT_EQ(form->CurrentPlotMode(), pmImplicit);
    EXPECT_NE(FormulaTrees[tsSurface], nullptr); // the scan's tree, still there
    EXPECT_TRUE(failures.empty());
}

TEST_F(Implicit, ClosingTheMainWindowDuringTheScan) {
    form->show();
    form->N3DFxyzClick();
    Type(form->Edit7, "x^2+y^2+z^2-30");
    QTimer::singleShot(0, form, [&] { form->close(); });
    form->Button11Click();
    EXPECT_TRUE(form->isVisible()); // not while the scan ran
    ASSERT_GT(LevelPointCount, 0);
    for (const Vertex3D& v : LevelPoints)
        EXPECT_EQ(v.x, -5); // stopped after the first plane
    QApplication::processEvents();
    EXPECT_FALSE(form->isVisible()); // closed once it had ended
    for (TExprNode* tree : FormulaTrees)
        EXPECT_EQ(tree, nullptr); // and the trees freed by the closing
}

TEST_F(Implicit, F12WritesARandomSurfaceOnlyInTheModeZxy) {
    void (TForm1::*const modes[])() = {&TForm1::N2DyxClick, &TForm1::N2DxytClick,
                                       &TForm1::N3DxyztClick, &TForm1::N3DxyzuvClick,
                                       &TForm1::N3DFxyzClick};
    for (auto enter : modes) {
        std::invoke(enter, form);
        Type(form->Edit7, "kept");
        const int rows = SurfaceRows;
        failures.clear();
        form->N13Click();
        EXPECT_EQ(Text(form->Edit7), "kept");
        EXPECT_EQ(SurfaceRows, rows);
        ASSERT_EQ(failures.size(), 1u); // it says where it works
        EXPECT_NE(failures[0].find("z(x,y)"), std::string::npos);
    }
    failures.clear();
    form->N3DzxyClick();
    SeedRandom(21);
    form->N13Click();
    const std::string first = Text(form->Edit7);
    EXPECT_FALSE(first.empty());
    EXPECT_EQ(SurfaceRows, 101); // built at once
    EXPECT_TRUE(windows->Frm3D->isVisible());
    EXPECT_EQ(PlotDocument.Formulas[fsSurfaceZ], CutFormula(first));
    form->N13Click();
    EXPECT_NE(Text(form->Edit7), first); // a new one each time
    EXPECT_TRUE(failures.empty());
}

} // namespace
