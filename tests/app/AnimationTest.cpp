// The animation over f through the main window and its dialog: frames,
// looping, settings that give few or no ticks, Ctrl+A, cancel, edits made
// while it runs, and the windows closed under it.
#include "AppTestSupport.h"

#include "app/Dialogs.h"
#include "view3d/FlyingCamera.h"
#include "view3d/ViewState.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

namespace {

class Animation : public AllWindowsTest {
  protected:
    void TearDown() override {
        RestoreDialogs();
        FrameCounter = 0;
        VarF = 0;
        AllWindowsTest::TearDown();
    }
    // Starts as the dialog's "Анимация" does, with these frames.
    void Start(int first, int last, int interval, bool loop = false) {
        windows->Form2->Edit1->setText(QString::number(first));
        windows->Form2->Edit2->setText(QString::number(last));
        windows->Form2->Edit3->setText(QString::number(interval));
        windows->Form2->CheckBox2->setChecked(loop);
        RunCommand([this] { windows->Form2->Button1Click(); });
    }
    // The frames shown by `ticks` ticks (fewer if the animation ends).
    std::vector<std::string> Ticks(int ticks) {
        std::vector<std::string> shown;
        for (int i = 0; i < ticks && form->Model.AnimationRunning; ++i) {
            form->Timer1Timer();
            shown.push_back(Text(form->Label1) + "|" + std::to_string(static_cast<int>(VarF)));
        }
        return shown;
    }
    static std::string Text(const QLabel* l) { return l->text().toStdString(); }
};

TEST_F(Animation, TheDefaultsShowTwentyFramesThenStop) {
    windows->Form2->show(); // as the dialog shows them
    form->N2Click();
    EXPECT_EQ(windows->Form2->Edit2->text().toStdString(), "20");
    form->ComboBox1->setEditText("sin(x+f/5)");
    Start(1, 20, 50);
    EXPECT_TRUE(form->Model.AnimationRunning);
    EXPECT_TRUE(form->Timer1->isActive());
    EXPECT_EQ(form->Timer1->interval(), 50);
    EXPECT_FALSE(form->N4->isEnabled());
    const QImage start = form->PaintBox1->Picture;
    form->Timer1Timer();
    EXPECT_EQ(Text(form->Label1), " Кадр 1");
    EXPECT_EQ(VarF, 1);
    EXPECT_NE(form->PaintBox1->Picture, start); // the graph moved
    const auto shown = Ticks(100);
    ASSERT_EQ(shown.size(), 19u);
    EXPECT_EQ(shown.back(), "|20"); // frame 20 drawn, then the caption cleared
    EXPECT_FALSE(form->Model.AnimationRunning);
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_EQ(FrameCounter, 20);
    EXPECT_TRUE(form->N4->isEnabled()); // ended by itself: the work can be saved again
    EXPECT_TRUE(failures.empty());
}

TEST_F(Animation, LoopingAndFramesInTheWrongOrder) {
    Start(1, 3, 50, true);
    const auto looped = Ticks(4);
    ASSERT_EQ(looped.size(), 4u);
    EXPECT_EQ(looped[3], " Кадр 1|1"); // after the last, the first again
    EXPECT_TRUE(form->Model.AnimationRunning);
    windows->Form2->Button2Click();

    Start(5, 2, 50);
    EXPECT_EQ(Ticks(10), std::vector<std::string>{"|5"}); // one frame, then stopped
}

// Ctrl+A runs the animation from the window; in a text field it selects
// the text, as in every text field.
TEST_F(Animation, CtrlABeforeTheDialogWasEverOpened) {
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    form->Button2->setFocus();
    QTest::keyClick(form->Button2, Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(form->Model.AnimationRunning); // with the frame settings the dialog shows
    EXPECT_EQ(FirstFrame, 1);
    EXPECT_EQ(LastFrame, 20);
    EXPECT_EQ(FrameInterval, 50);
    EXPECT_TRUE(form->Timer1->isActive());
    EXPECT_FALSE(form->N4->isEnabled());
    for (QLineEdit* field : {form->Edit5, form->ComboBox1->lineEdit()}) {
        field->setText(QStringLiteral("12.5"));
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        EXPECT_TRUE(form->Model.AnimationRunning);
        EXPECT_EQ(field->selectedText(), QStringLiteral("12.5"));
    }
    form->N10Click();
    EXPECT_FALSE(form->Model.AnimationRunning);
    EXPECT_TRUE(form->N4->isEnabled());
}

TEST_F(Animation, CancelInA3DModeBuildsThe2DPictureOnce) {
    form->N3DzxyClick();
    Type(form->Edit7, "x*y+f");
    Start(3, 9, 50);
    form->Timer1Timer();
    form->Timer1Timer();
    EXPECT_EQ(VarF, 4);
    EXPECT_EQ(SurfaceGrid[50][50].z, 4); // the centre: x = y = 0
    form->PaintBox1->Picture = QImage();
    windows->Form2->Button2Click();
    EXPECT_FALSE(form->Model.AnimationRunning);
    EXPECT_EQ(FrameCounter, 0);
    EXPECT_EQ(VarF, 4);                              // compiled formulas keep f of the last frame
    EXPECT_FALSE(form->PaintBox1->Picture.isNull()); // the 2D build ran
    EXPECT_EQ(Text(form->Label1), "");
    EXPECT_TRUE(form->N4->isEnabled());
}

TEST_F(Animation, EditsTakeEffectAtTheNextFrame) {
    form->ComboBox1->setEditText("5"); // a line at y = 5: row 100
    Start(1, 50, 50);
    form->Timer1Timer();
    auto blueAt = [this](int x, int y) {
        return (form->PaintBox1->Picture.pixel(x, y) | 0xFF000000) == 0xFF0000FF;
    };
    EXPECT_TRUE(blueAt(50, 100));
    form->ComboBox1->setEditText("-5"); // recompiled while running
    form->Timer1Timer();
    EXPECT_TRUE(blueAt(50, 300));
    EXPECT_FALSE(blueAt(50, 100));

    // Another mode's frames compile into the slots; back in y(x) the formula
    // is compiled again, not the other mode's formula (y = x, row 350) drawn.
    form->N3DzxyClick();
    Type(form->Edit7, "x");
    form->Timer1Timer();
    form->N2DyxClick();
    form->Timer1Timer();
    EXPECT_TRUE(blueAt(50, 300));
    EXPECT_FALSE(blueAt(50, 350));
    EXPECT_TRUE(failures.empty());
}

TEST_F(Animation, AFrameThatFailsEndsTheAnimationWithOneMessage) {
    form->N3DzxyClick();
    Type(form->Edit7, "x+1.2.3");
    Start(1, 100, 50);
    Ticks(10);
    EXPECT_FALSE(form->Model.AnimationRunning);
    EXPECT_EQ(failures.size(), 1u);
}

TEST_F(Animation, TheImplicitModeCountsFramesWithoutBuilding) {
    form->N3DFxyzClick();
    Type(form->Edit7, "x^2+y^2+z^2-4");
    const int points = LevelPointCount;
    Start(1, 3, 50);
    EXPECT_EQ(Ticks(2).back(), " Кадр 2|2");
    EXPECT_EQ(LevelPointCount, points);
}

TEST_F(Animation, AFieldThatIsNoIntegerKeepsTheDialogOpen) {
    Dialogs().RunModal = [](QDialog* d) { d->show(); };
    form->N2Click();
    windows->Form2->Edit1->setText("7");
    windows->Form2->Edit2->setText("x");
    RunCommand([this] { windows->Form2->Button1Click(); });
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0], "'x' is not a valid integer value");
    EXPECT_EQ(FirstFrame, 7); // read before the failing field
    EXPECT_FALSE(form->Model.AnimationRunning);
    EXPECT_TRUE(windows->Form2->isVisible());
}

TEST_F(Animation, ClosingTheMainWindowStopsTheAnimationFirst) {
    form->show();
    form->ComboBox1->setEditText("sin(x+f)");
    Start(1, 20, 10);
    form->Timer1Timer();
    windows->Frm3D->Timer1->start();
    form->close();
    EXPECT_FALSE(form->Model.AnimationRunning);
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_FALSE(windows->Frm3D->Timer1->isActive());
    EXPECT_EQ(FrameCounter, 0);
    for (TExprNode* tree : FormulaTrees)
        EXPECT_EQ(tree, nullptr);
    QTest::qWait(50); // no tick comes after
    EXPECT_EQ(FrameCounter, 0);
}

TEST_F(Animation, TheTimerDrivesTheFrames) {
    Start(1, 3, 10);
    QTest::qWait(300);
    EXPECT_FALSE(form->Model.AnimationRunning);
    EXPECT_EQ(VarF, 3);
}

// --- the camera's settings in the dialog

TEST_F(Animation, TheCameraSettings) {
    TForm2* d = windows->Form2.get();
    d->RadioButton2->setChecked(true);
    EXPECT_EQ(ViewAlongMode, 2);
    d->RadioButton3->setChecked(true);
    EXPECT_EQ(ViewAlongMode, 3);
    d->RadioButton1->setChecked(true);
    EXPECT_EQ(ViewAlongMode, 1);
    d->Edit4->setText("0");
    d->Edit5->setText("0");
    d->Edit6->setText("1");
    d->Button4Click();
    EXPECT_EQ(CameraUp[0], 0);
    EXPECT_EQ(CameraUp[2], 1);
    d->Edit4->setText("2");
    d->Edit5->setText("up");
    RunCommand([d] { d->Button4Click(); });
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(CameraUp[0], 2); // read before the failing field
    EXPECT_EQ(CameraUp[1], 0);
    CameraIndex = 50;
    d->Button3Click();
    EXPECT_TRUE(windows->Frm3D->Timer1->isActive());
    EXPECT_EQ(CameraIndex, 1);
    d->Button3Click();
    EXPECT_FALSE(windows->Frm3D->Timer1->isActive());
    form->CheckBox2->setChecked(true);
    EXPECT_TRUE(FollowTrajectory);
    form->CheckBox2->setChecked(false);
    EXPECT_FALSE(FollowTrajectory);
    d->CheckBox3->setChecked(true);
    EXPECT_TRUE(form->SceneOptions().Trajectory);
    ResetViewState();
}

// A trajectory build that fails (a range with a negative count) is told once.
TEST_F(Animation, AFailingTrajectoryIsReportedOnce) {
    PlotDocument.Formulas[fsCurveX] = "t";
    PlotDocument.Formulas[fsCurveY] = "t";
    PlotDocument.Formulas[fsCurveZ] = "t";
    PlotDocument.Numbers[CurveTMin] = 10;
    PlotDocument.Numbers[CurveTMax] = 0;
    CurveCount = 0;
    for (int i = 0; i < 5; ++i)
        form->BuildTrajectoryForCamera();
    QApplication::processEvents();
    EXPECT_EQ(failures.size(), 1u);
    EXPECT_EQ(CurveCount, 0);          // no negative count stored
    form->CheckBox2->setChecked(true); // switching the camera on tries again
    form->BuildTrajectoryForCamera();
    QApplication::processEvents();
    EXPECT_EQ(failures.size(), 2u);
}

} // namespace
