// The plot area at the screen's pixel density. ctest runs these tests at
// 100 % and again at 200 % (QT_SCALE_FACTOR=2).
#include "AppTestSupport.h"

#include <QPixmap>

#include <cstdlib>

namespace {

using Density = WindowTest;

TEST_F(Density, ThePlotAreaIsDrawnAtTheScreensPixelDensity) {
    const qreal density = form->PaintBox1->devicePixelRatioF();
    if (const char* factor = std::getenv("QT_SCALE_FACTOR")) {
        ASSERT_EQ(density, std::atof(factor)); // the scaling reached the window
    }
    form->ComboBox1->setEditText("sin(x)*3");
    form->Button2Click();
    const QImage& picture = form->PaintBox1->Picture;
    EXPECT_EQ(picture.size(), QSize(400, 400) * density);
    EXPECT_EQ(picture.devicePixelRatio(), density);
    // The area shows the picture pixel for pixel, not scaled up or down.
    const QImage shown = form->PaintBox1->grab().toImage().convertToFormat(picture.format());
    EXPECT_EQ(shown.size(), picture.size());
    EXPECT_TRUE(shown == picture);
}

} // namespace
