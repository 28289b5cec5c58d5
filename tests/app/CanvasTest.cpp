// The window made larger: the plot area grows with it, the range fields
// stay at its corners, the view keeps its centre with one unit alike in x
// and y, the curves reach the larger area's edges, and back at the start's
// size the picture is pixel for pixel the one it was.
#include "AppTestSupport.h"

#include "model/WindowGeometry.h"

#include <QApplication>
#include <QComboBox>
#include <QStatusBar>

namespace {

constexpr QRgb Blue = 0xFF0000FF;

void Settle() {
    for (int k = 0; k < 5; ++k)
        QApplication::processEvents();
}

TEST_F(WindowTest, TheCanvasGrowsWithTheWindow) {
    for (const char* f : {"x", "sin(x)"}) {
        form->ComboBox1->setEditText(f);
        form->Button5Click();
    }
    form->CheckBox1->setChecked(true);
    form->Button2Click();
    form->RememberSavedState(); // as a save leaves it
    form->show();
    Settle();
    const QSize start = form->size();
    const QImage small = form->PaintBox1->Picture;
    ASSERT_EQ(small.size(), QSize(400, 400));
    ASSERT_FALSE(form->isWindowModified());

    form->resize(1100, 950);
    Settle();
    const QSize area = form->PaintBox1->size();
    EXPECT_EQ(area, QSize(400, 400) + (form->size() - start));
    EXPECT_GT(area.width(), 1000);
    EXPECT_EQ(form->Edit23->geometry().topLeft(),
              form->PaintBox1->geometry().topRight() + QPoint(1, 0));   // y2 at its corner
    EXPECT_EQ(form->Edit26->y(), form->PaintBox1->geometry().bottom()); // x1 under it
    EXPECT_EQ(PlotWidth, area.width());
    EXPECT_DOUBLE_EQ(ScaleX, -ScaleY);
    EXPECT_DOUBLE_EQ(ViewY1 + ViewY2, 0); // the centre kept
    EXPECT_EQ(Text(form->Edit26), "-10");
    EXPECT_NEAR(StrToFloat(Text(form->Edit24)), -10.0 * area.height() / area.width(), 1e-12);
    EXPECT_FALSE(form->isWindowModified()); // a larger window changes no document
    // The picture, built again, fills the area: the line reaches the top
    // and the bottom, the sine the left and right edges.
    form->Button2Click();
    const QImage& large = form->PaintBox1->Picture;
    ASSERT_EQ(large.size(), area);
    const auto rowHas = [&](int y) {
        for (int x = 1; x < large.width() - 1; ++x)
            if ((large.pixel(x, y) | 0xFF000000) == Blue) return true;
        return false;
    };
    const auto columnHas = [&](int x) {
        for (int y = 1; y < large.height() - 1; ++y)
            if ((large.pixel(x, y) | 0xFF000000) == Blue) return true;
        return false;
    };
    EXPECT_TRUE(rowHas(1));
    EXPECT_TRUE(rowHas(large.height() - 2));
    EXPECT_TRUE(columnHas(1));
    EXPECT_TRUE(columnHas(large.width() - 2));

    form->resize(start);
    Settle();
    form->Button2Click();
    EXPECT_EQ(form->PaintBox1->size(), QSize(400, 400));
    EXPECT_EQ(Text(form->Edit24), "-10");
    EXPECT_TRUE(form->PaintBox1->Picture == small);
    EXPECT_TRUE(failures.empty()) << failures[0];

    // The size is kept at a close for the next start.
    form->resize(900, 700);
    Settle();
    form->close();
    auto next = std::make_unique<TForm1>();
    next->restoreGeometry(SavedWindowGeometry());
    EXPECT_EQ(next->size(), QSize(900, 700));
}

} // namespace
