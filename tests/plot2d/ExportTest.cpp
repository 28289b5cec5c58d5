// The 2D picture as PNG, SVG and PDF, checked with tools we did not write:
// rsvg-convert renders the SVG and pdftoppm the PDF, pdfinfo counts the
// PDF's pages, and each rendering is held against the PNG of the same
// picture.
#include "plot2d/Export2D.h"
#include "plot2d/View2D.h"

#include "ToolSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class Export : public ::testing::Test {
  protected:
    void SetUp() override {
        PlotWidth = PlotHeight = 400;
        ApplyColours(DefaultColours());
        DecimalSeparatorChar = '.';
        ASSERT_TRUE(dir.isValid());
    }
    void TearDown() override { FreeAllTrees(); }
    TPlotRequest Request(int mode, const char* formula, TCoordinates coords) {
        TPlotInput input = DefaultPlotInput();
        input.Mode = mode;
        input.Coordinates = coords;
        if (mode == pmYx) {
            input.Formula = formula;
        } else {
            input.Document.Formulas[fsPlaneX] = "cos(t)*6-cos(t*6)*2";
            input.Document.Formulas[fsPlaneY] = "sin(t)*6-sin(t*6)*2";
        }
        ViewFromInput(input);
        return PictureRequest(input, false, trees);
    }
    QString Write(const char* name, const QByteArray& bytes) {
        const QString path = dir.filePath(QString::fromUtf8(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QTemporaryDir dir;
    TYxTrees trees;
};

struct Case {
    const char* name;
    int mode;
    const char* formula;
    TCoordinates coords;
};
const Case Cases[] = {
    {"y(x)", pmYx, "sin(x)*3", TCoordinates::Cartesian},
    {"r(fi)", pmYx, "1+sin(5*x)*4", TCoordinates::Polar},
    {"x(t),y(t)", pmPlane, "", TCoordinates::Cartesian},
};

// The SVG and the PDF, rendered by tools of their own at 400 x 400, look as
// the PNG: at most 3 % of the pixels differ clearly (antialiasing at the
// edges of lines and letters), and none of those lies away from a line.
TEST_F(Export, SvgAndPdfRenderAsThePng) {
    for (const Case& c : Cases) {
        const TPlotRequest request = Request(c.mode, c.formula, c.coords);
        QImage png;
        ASSERT_TRUE(png.loadFromData(PicturePng(request), "PNG"));
        ASSERT_EQ(png.size(), QSize(400, 400));
        const QImage composed = PictureImage(request);
        int differ = 0;
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 400; ++x)
                differ += (png.pixel(x, y) | 0xFF000000) != (composed.pixel(x, y) | 0xFF000000);
        EXPECT_EQ(differ, 0) << c.name; // the same pixels, with a colour table

        const QString svg = Write("picture.svg", PictureSvg(request));
        QImage fromSvg;
        ASSERT_TRUE(fromSvg.loadFromData(
            RunTool("rsvg-convert", {QStringLiteral("-w"), "400", "-h", "400", svg}), "PNG"));
        const TDifference s = ComparePictures(png, fromSvg);
        EXPECT_LT(s.Share, 0.03) << c.name << " SVG";
        EXPECT_EQ(s.Far, 0) << c.name << " SVG";
        std::printf("%s: SVG differs in %.2f %% of the pixels\n", c.name, 100 * s.Share);

        const QString pdf = Write("picture.pdf", PicturePdf(request));
        const QString info = QString::fromUtf8(RunTool("pdfinfo", {pdf}));
        EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+1\\n"))) << info.toStdString();
        EXPECT_TRUE(info.contains(QRegularExpression("Page size:\\s+400 x 400 pts")))
            << info.toStdString();
        RunTool("pdftoppm",
                {QStringLiteral("-r"), "72", "-png", "-singlefile", pdf, dir.filePath("fromPdf")});
        QImage fromPdf(dir.filePath("fromPdf.png"));
        const TDifference d = ComparePictures(png, fromPdf);
        EXPECT_LT(d.Share, 0.03) << c.name << " PDF";
        EXPECT_EQ(d.Far, 0) << c.name << " PDF";
        std::printf("%s: PDF differs in %.2f %% of the pixels\n", c.name, 100 * d.Share);
    }
}

// Curves are paths and labels text in the SVG, not a picture of them.
TEST_F(Export, TheSvgKeepsCurvesAsPathsAndLabelsAsText) {
    const QString svg = QString::fromUtf8(PictureSvg(Request(pmYx, "x", TCoordinates::Cartesian)));
    EXPECT_FALSE(svg.contains(QStringLiteral("<image")));
    EXPECT_TRUE(svg.contains(QStringLiteral("<polyline")) || svg.contains(QStringLiteral("<path")));
    EXPECT_TRUE(svg.contains(QStringLiteral(">-8</text>")) || svg.contains(QStringLiteral(">-8<")));
}

// Scale 2 and 4: the same picture at two and four times the pixels.
TEST_F(Export, PngAtTwoAndFourTimesThePixels) {
    const TPlotRequest request = Request(pmYx, "sin(x)*3", TCoordinates::Cartesian);
    for (int scale : {2, 4}) {
        QImage big;
        ASSERT_TRUE(big.loadFromData(PicturePng(request, scale), "PNG"));
        EXPECT_EQ(big.size(), QSize(400 * scale, 400 * scale));
        const QImage small = big.scaled(400, 400, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QImage png;
        png.loadFromData(PicturePng(request), "PNG");
        EXPECT_LT(ComparePictures(png, small).Share, 0.05) << scale;
    }
}

} // namespace
