// The 3D window of the whole program, on a display with OpenGL: what it
// shows after it was hidden and a new picture was built.
#include "app/AppTestSupport.h"

#include "view3d/Tfrm3D.h"

#include <QScreen>
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
