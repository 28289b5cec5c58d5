// The legend of the y(x) picture: where it goes, what its rows show, and a
// hundred graphs with pens of their own exported as PNG.
#include "plot2d/Export2D.h"
#include "plot2d/Picture.h"
#include "plot2d/View2D.h"

#include <QImage>
#include <gtest/gtest.h>

#include <set>

namespace {

constexpr QRgb White = 0xFFFFFFFF, Blue = 0xFF0000FF;

class Legend : public ::testing::Test {
  protected:
    void SetUp() override {
        PlotWidth = PlotHeight = 400;
        ApplyColours(DefaultColours());
        DecimalSeparatorChar = '.';
        input = DefaultPlotInput();
        input.Axes = input.Grid = false; // white but for the graphs, the border and the legend
        input.Legend = true;
    }
    void TearDown() override { FreeAllTrees(); }
    QImage Compose() {
        ViewFromInput(input);
        request = PictureRequest(input, false, trees);
        return PictureImage(request);
    }
    // The box of what is neither background nor `graph` inside the border.
    static QRect Box(const QImage& image, QRgb graph = Blue) {
        QRect box;
        for (int y = 1; y < image.height() - 1; ++y)
            for (int x = 1; x < image.width() - 1; ++x) {
                const QRgb c = image.pixel(x, y) | 0xFF000000;
                if (c != White && c != graph) box |= QRect(x, y, 1, 1);
            }
        return box;
    }

    TPlotInput input;
    TYxTrees trees;
    TPlotRequest request;
};

TEST_F(Legend, TakesTheCornerTheGraphsCrossLeast) {
    enum Corner { TopRight, TopLeft, BottomRight, BottomLeft };
    const struct {
        std::vector<std::string> list;
        Corner corner;
    } rows[] = {
        {{"9.5"}, BottomRight},      // a line along the top
        {{"-9.5"}, TopRight},        // along the bottom
        {{"x"}, TopLeft},            // from bottom left to top right
        {{"-x"}, TopRight},          // from top left to bottom right
        {{"9.5", "-9.5"}, TopRight}, // both rows crossed alike: the first choice
        {{"x", "-x"}, TopRight},     // every corner crossed
        {{"9", "9.5"}, BottomRight},
    };
    input.AllFormulas = true;
    for (const auto& r : rows) {
        input.List = r.list;
        const QRect box = Box(Compose());
        ASSERT_FALSE(box.isEmpty()) << r.list[0];
        const bool top = box.top() < 200, left = box.left() < 200;
        const Corner at = top ? (left ? TopLeft : TopRight) : (left ? BottomLeft : BottomRight);
        EXPECT_EQ(at, r.corner) << r.list[0] << " " << r.list.size();
        // Six pixels from the edges it lies against.
        EXPECT_EQ(left ? box.left() : 399 - box.right(), 6) << r.list[0];
        EXPECT_EQ(top ? box.top() : 399 - box.bottom(), 6) << r.list[0];
    }
}

TEST_F(Legend, NamesItsGraphsOrTheirFormulasAndLeavesNoMark) {
    input.Formula = "-8";
    const QImage named = Compose(); // the formula box: its formula
    const QRect formula = Box(named);
    ASSERT_FALSE(formula.isEmpty());
    input.Legend = false;
    const QImage plain = Compose();
    EXPECT_TRUE(Box(plain).isEmpty());
    input.Legend = true;
    input.AllFormulas = true;
    input.List = {"-8"};
    input.Pens = {TGraphPen{}};
    input.Pens[0].Name = std::string(60, 'W'); // elided: no wider than any other long name
    const QRect wide = Box(Compose());
    EXPECT_GT(wide.width(), formula.width() + 80);
    input.Pens[0].Name = std::string(200, 'W');
    EXPECT_EQ(Box(Compose()).width(), wide.width());
    input.Pens[0].Visible = false; // a hidden graph has no row: no legend at all
    EXPECT_TRUE(Box(Compose()).isEmpty());
    // A relation has its row too, as wide as a graph of the same name.
    input.Pens[0].Visible = true;
    input.List = {"y=-8"};
    EXPECT_EQ(Box(Compose()).width(), wide.width());
    input.Mode = pmPlane; // the parametric curve has none
    input.Pens.clear();
    EXPECT_TRUE(Box(Compose()).isEmpty());
}

// A hundred graphs, each a level line in a colour of its own, every tenth
// hidden, exported: each visible line lies where its formula puts it, the
// hidden ones nowhere, and each visible graph has its row in the legend, in
// its colour.
TEST_F(Legend, AHundredStyledGraphsExported) {
    input.AllFormulas = true;
    input.EqualScales = false;
    const auto colour = [](int k) {
        return static_cast<TColorValue>(0x400000 + (k * 2) + ((250 - k * 2) << 8));
    };
    const auto rgb = [](TColorValue c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, c >> 16); };
    for (int k = 0; k < 100; ++k) {
        input.List.push_back(std::to_string(k) + "/5-9.9");
        TGraphPen pen;
        pen.Colour = colour(k);
        pen.Visible = k % 10 != 9;
        pen.Name = "g" + std::to_string(k);
        input.Pens.push_back(pen);
    }
    ViewFromInput(input);
    request = PictureRequest(input, false, trees);
    const QImage image =
        QImage::fromData(PicturePng(request)).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(image.size(), QSize(400, 400));
    // The legend's frame (in the axes' colour, the axes being off) and its
    // rows lie in one corner; a column beyond it shows every line.
    std::set<QRgb> inLegend, elsewhere;
    QRect legend;
    for (int y = 1; y < 399; ++y)
        for (int x = 1; x < 399; ++x)
            if ((image.pixel(x, y) | 0xFF000000) == rgb(AxesColor)) legend |= QRect(x, y, 1, 1);
    ASSERT_FALSE(legend.isEmpty());
    for (int y = 1; y < 399; ++y)
        for (int x = 1; x < 399; ++x)
            (legend.contains(x, y) ? inLegend : elsewhere).insert(image.pixel(x, y) | 0xFF000000);
    const int column = legend.left() > 200 ? 3 : 396;
    for (int k = 0; k < 100; ++k) {
        const QRgb c = rgb(colour(k));
        const int row = WorldToPixelY(k / 5.0 - 9.9);
        if (k % 10 == 9) {
            EXPECT_EQ(elsewhere.count(c) + inLegend.count(c), 0u) << k;
            continue;
        }
        EXPECT_EQ(image.pixel(column, row) | 0xFF000000, c) << k;
        EXPECT_EQ(inLegend.count(c), 1u) << k;
    }
}

} // namespace
