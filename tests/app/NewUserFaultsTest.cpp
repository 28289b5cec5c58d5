// Faults a new user met, each driven through the window as the user did:
// files that open with a picture that is not theirs, a save right after
// start that holds another step than the field shows, and more.
#include "FilesTestSupport.h"

#include "document/PlotFile.h"
#include "view3d/Tfrm3D.h"

#include <QTest>

#include <cstring>

namespace {

// A file saved right after start holds the step its field shows.
TEST_F(Files, AFileSavedRightAfterStartHoldsTheStepTheFieldShows) {
    ASSERT_EQ(Text(form->Edit5), "0.0499999999999989");
    Save("start");
    const auto b = Bytes(dir / "start.mth");
    ASSERT_EQ(b.size(), 2680u);
    double step;
    std::memcpy(&step, b.data() + 2272, 8);
    EXPECT_EQ(step, 0.0499999999999989);
    form->N3DzxyClick();
    form->N2DyxClick(); // the document's step comes back into the field
    EXPECT_EQ(Text(form->Edit5), "0.0499999999999989");
}

// After an open, the picture is the opened document's at once: in polar
// coordinates with the file's formula, not the formula shown before.
TEST_F(Files, AnOpenShowsTheOpenedDocumentsPicture) {
    form->RadioButton2->setChecked(true);
    form->ComboBox1->setEditText("6"); // the circle r = 6
    form->Button2Click();
    Save("circle6");
    form->RadioButton1->setChecked(true);
    form->ComboBox1->setEditText("3"); // the line y = 3
    form->Button2Click();
    const auto blueAt = [this](double x, double y) {
        return (form->PaintBox1->Picture.pixel(WorldToPixelX(x), WorldToPixelY(y)) | 0xFF000000) ==
               0xFF0000FF;
    };
    ASSERT_TRUE(blueAt(8, 3));
    Open("circle6.mth");
    ASSERT_TRUE(failures.empty()) << failures[0];
    EXPECT_TRUE(form->RadioButton2->isChecked());
    EXPECT_EQ(form->ComboBox1->currentText().toStdString(), "6");
    EXPECT_FALSE(blueAt(8, 3));
    EXPECT_TRUE(blueAt(0, 6));
    EXPECT_TRUE(blueAt(-6, 0));
}

// Opening in z(x,y) mode while the 3D window shows a surface builds the
// opened one at once.
TEST_F(Files, AnOpenInASurfaceModeRebuildsTheShownSurface) {
    form->N3DzxyClick();
    Type(form->Edit7, "x");
    form->Button8Click();
    Save("x");
    Type(form->Edit7, "y*2");
    form->Button8Click();
    ASSERT_TRUE(windows->Frm3D->isVisible());
    ASSERT_NEAR(SurfaceGrid[0][100].z, 20, 1e-9);
    Open("x.mth");
    ASSERT_TRUE(failures.empty()) << failures[0];
    EXPECT_EQ(SurfaceGrid[0][100].z, -10); // z = x at x = -10
}

} // namespace

namespace {

class NewUser : public AllWindowsTest {};

// Ctrl+A before the animation dialog was ever opened: the frames of the
// settings (1 to 20, 50 ms) run, and the dialog shows them.
TEST_F(NewUser, CtrlABeforeTheDialogWasOpenedAnimatesTheStartFrames) {
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    form->Edit5->setFocus();
    QTest::keyClick(form->Edit5, Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(form->AnimationRunning);
    EXPECT_EQ(form->Timer1->interval(), 50);
    EXPECT_EQ(FrameCounter, 1);
    EXPECT_EQ(Text(windows->Form2->Edit1), "1");
    EXPECT_EQ(Text(windows->Form2->Edit2), "20");
    EXPECT_EQ(Text(windows->Form2->Edit3), "50");
    form->N10Click();
    EXPECT_FALSE(form->AnimationRunning);
    // Frames that no plot file could hold are refused by the dialog.
    windows->Form2->Edit2->setText("2000000000");
    RunCommand([this] { windows->Form2->Button1Click(); });
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].rfind("Номера кадров", 0), 0u) << failures[0];
    EXPECT_FALSE(form->AnimationRunning);
    EXPECT_EQ(LastFrame, 20);
}

// The formula box does not complete what is typed from its list: Enter
// draws what the user typed.
TEST_F(NewUser, TheFormulaBoxDoesNotCompleteFromItsList) {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
    form->ComboBox1->setEditText("sin(x)+2");
    form->Button5Click();
    form->ComboBox1->setEditText("");
    form->ComboBox1->setFocus();
    for (const char c : std::string("sin(")) {
        QTest::keyClick(form->ComboBox1, c);
        QTest::qWait(2);
    }
    QTest::keyClick(form->ComboBox1, Qt::Key_Return);
    EXPECT_EQ(form->ComboBox1->currentText().toStdString(), "sin(");
}

// Closing the main window ends the program, whatever else is shown.
TEST_F(NewUser, ClosingTheMainWindowEndsTheProgram) {
    form->show();
    windows->Form4->show();
    windows->Frm3D->show();
    form->close();
    EXPECT_FALSE(windows->Form4->isVisible());
    EXPECT_FALSE(windows->Frm3D->isVisible());
    EXPECT_EQ(quits, 1);
    for (QWidget* w :
         {static_cast<QWidget*>(windows->Form4.get()), static_cast<QWidget*>(windows->Frm3D.get())})
        EXPECT_FALSE(w->testAttribute(Qt::WA_QuitOnClose)); // never keeps it running
}

} // namespace
