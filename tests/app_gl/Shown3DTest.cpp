// The 3D window of the whole program, on a display with OpenGL: what it
// shows after it was hidden and a new picture was built.
#include "app/AppTestSupport.h"

#include "app/ParameterPanel.h"
#include "geometry3d/Buffers.h"
#include "view3d/Tfrm3D.h"

#include <QScreen>
#include <QSlider>
#include <QTest>

namespace {

class Shown3D : public AllWindowsTest {
  protected:
    void SetUp() override {
        AllWindowsTest::SetUp();
        if (windows->Frm3D->View == nullptr) GTEST_SKIP() << "no OpenGL on this platform";
        form->show();
        form->N3DzxyClick();
    }
    // What the screen shows of the 3D window's picture.
    QImage OnScreen() const {
        Tfrm3D* w = windows->Frm3D.get();
        const QPoint at = w->View->mapToGlobal(QPoint(0, 0));
        return w->screen()
            ->grabWindow(0, at.x(), at.y(), w->View->width(), w->View->height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
    void Build(const char* formula) {
        Type(form->Edit7, formula);
        RunCommand([this] { form->Button8Click(); });
        ASSERT_TRUE(QTest::qWaitForWindowExposed(windows->Frm3D.get()));
        QTest::qWait(200);
    }
};

// Esc hides the window; the next build shows it again with the new picture.
TEST_F(Shown3D, TheNextBuildAfterEscShowsThePictureJustBuilt) {
    Build("x");
    const QImage first = OnScreen();
    windows->Frm3D->FormKeyDown(Qt::Key_Escape, Qt::NoModifier);
    ASSERT_FALSE(windows->Frm3D->isVisible());
    const int frames = windows->Frm3D->FramesDrawn;
    Build("-x*y/5");
    EXPECT_GT(windows->Frm3D->FramesDrawn, frames);
    const QImage shown = OnScreen();
    EXPECT_TRUE(shown != first);
    windows->Frm3D->FormPaint(); // drawn now, certainly from the new buffers
    QTest::qWait(200);
    EXPECT_TRUE(OnScreen() == shown);
    EXPECT_TRUE(failures.empty());
}

} // namespace

namespace {

// A parameter of a surface's formula: a drag rebuilds the surface as it
// moves while the build is quick; a slow one when the handle rests, and
// when the drag ends.
TEST_F(Shown3D, ASurfaceFollowsItsParameter) {
    Build("a+x*0");
    RunCommand([this] { form->AddParameter("a"); });
    ASSERT_TRUE(failures.empty()) << failures[0];
    ASSERT_FALSE(SurfaceGrid.empty());
    EXPECT_DOUBLE_EQ(SurfaceGrid[0][0].z, 1); // a = 1
    QSlider* slider = form->ParameterPanel->Rows[0].Slider;
    const auto to = [&](double v) {
        slider->setValue(SliderPosition(form->Model.State.Input.Parameters[0], v));
    };
    slider->sliderPressed();
    form->Parameter3DMs = 0; // quick: live
    to(3);
    EXPECT_DOUBLE_EQ(SurfaceGrid[0][0].z, 3);
    form->Parameter3DMs = 10 * TForm1::Live3DMs; // as if slow
    to(-2);
    EXPECT_DOUBLE_EQ(SurfaceGrid[0][0].z, 3); // not while it moves
    QTest::qWait(400);                        // the handle rests
    EXPECT_DOUBLE_EQ(SurfaceGrid[0][0].z, -2);
    to(5);
    EXPECT_DOUBLE_EQ(SurfaceGrid[0][0].z, -2);
    slider->sliderReleased();
    EXPECT_DOUBLE_EQ(SurfaceGrid[0][0].z, 5); // the drag's end
    EXPECT_TRUE(failures.empty()) << failures[0];
}

} // namespace
