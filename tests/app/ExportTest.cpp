// Pictures out of the window: "Экспорт рисунка…" in every mode, checked by
// tools we did not write (admesh reads the STL, assimp the OBJ and the
// PLY), the print's page, and the clipboard.
#include "FilesTestSupport.h"

#include "ToolSupport.h"
#include "geometry3d/Buffers.h"
#include "model/Export.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPrinter>
#include <QRegularExpression>

namespace {

class Exports : public Files {
  protected:
    void SetUp() override {
        Files::SetUp();
        Dialogs().ExportFileName = [this](QWidget*, const QString&, const QStringList& filters,
                                          QString& chosen) {
            offered = filters;
            chosen = filters[filterIndex];
            return QString::fromStdString((dir / exportAs).string());
        };
    }
    void Export(const std::string& name, int filter = 0) {
        exportAs = name;
        filterIndex = filter;
        RunCommand([this] { form->ExportClick(); });
    }
    // A number the tool printed after `label`.
    static long long After(const QString& output, const QString& label) {
        const auto m = QRegularExpression(QRegularExpression::escape(label) + "\\s*:?\\s*(-?\\d+)")
                           .match(output);
        EXPECT_TRUE(m.hasMatch()) << label.toStdString() << " in " << output.toStdString();
        return m.captured(1).toLongLong();
    }
    std::string exportAs;
    int filterIndex = 0;
    QStringList offered;
};

// The 2D PNG is the plot area's picture, pixel for pixel, in both 2D modes
// and both coordinate systems (the Density suite runs at 100 % and 200 %).
class DensityExport : public Exports {};
TEST_F(DensityExport, TheExportedPngIsThePlotAreasPicture) {
    const qreal density = form->PaintBox1->devicePixelRatioF();
    const int filter = density > 1.5 ? 1 : 0; // "PNG, 800 × 800" at 200 %
    const struct {
        void (TForm1::*mode)();
        bool polar;
        const char* formula;
    } cases[] = {{&TForm1::N2DyxClick, false, "sin(x)*3"},
                 {&TForm1::N2DyxClick, true, "1+sin(5*x)*4"},
                 {&TForm1::N2DxytClick, false, nullptr},
                 {&TForm1::N2DxytClick, true, nullptr}};
    for (const auto& c : cases) {
        std::invoke(c.mode, form);
        (c.polar ? form->RadioButton2 : form->RadioButton1)->setChecked(true);
        if (c.formula)
            form->ComboBox1->setEditText(c.formula);
        else
            Type(form->Edit2, "cos(t)*6"), Type(form->Edit6, "sin(t)*3+t/2");
        form->Button2Click();
        Export("area", filter);
        ASSERT_TRUE(failures.empty()) << failures[0];
        const QImage exported((dir / "area.png").c_str()); // the extension added
        const QImage shown = form->PaintBox1->Picture;
        ASSERT_EQ(exported.size(), shown.size());
        int differ = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                differ += (exported.pixel(x, y) | 0xFF000000) != (shown.pixel(x, y) | 0xFF000000);
        EXPECT_EQ(differ, 0) << c.polar;
        if (density > 1.5) continue;
        // At 100 %, the larger PNG is the picture composed at twice the scale.
        Export("big", 1);
        const QImage big((dir / "big.png").c_str());
        const QImage twice = form->PictureOfMode(800).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(big.size(), QSize(800, 800));
        EXPECT_TRUE(big.convertToFormat(QImage::Format_RGB32) == twice) << c.polar;
    }
}

TEST_F(Exports, TheDialogOffersTheFormatsOfTheMode) {
    const struct {
        void (TForm1::*mode)();
        std::vector<const char*> formats;
    } cases[] = {
        {&TForm1::N2DyxClick, {"PNG, 400", "PNG, 800", "PNG, 1600", "SVG", "PDF"}},
        {&TForm1::N3DzxyClick, {"PNG, 400", "PNG, 800", "PNG, 1600", "PNG, 3200", "STL", "OBJ"}},
        {&TForm1::N3DxyztClick, {"PNG, 400", "PNG, 800", "PNG, 1600", "PNG, 3200", "OBJ"}},
        {&TForm1::N3DFxyzClick, {"PNG, 400", "PNG, 800", "PNG, 1600", "PNG, 3200", "PLY"}},
    };
    for (const auto& c : cases) {
        std::invoke(c.mode, form);
        Export("offered.x");
        ASSERT_EQ(offered.size(), static_cast<int>(c.formats.size()));
        for (int i = 0; i < offered.size(); ++i)
            EXPECT_TRUE(offered[i].startsWith(QString::fromUtf8(c.formats[i])))
                << offered[i].toStdString();
    }
    // A name whose extension names a format that does not fit the mode.
    form->N2DyxClick();
    failures.clear();
    Export("surface.stl");
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0],
              "Рисунок режима 2D y(x) сохраняется как PNG, SVG или PDF, а не как STL.");
    EXPECT_FALSE(fs::exists(dir / "surface.stl"));
}

// The meshes of the 3D modes, read by admesh and assimp: their counts are
// those of the buffers, cells with a corner that is not finite left out.
TEST_F(Exports, MeshesAsOtherProgramsReadThem) {
    form->N3DzxyClick();
    Type(form->Edit7, "exp(x*x*y*y)"); // beyond single precision near the corners
    Type(form->Edit3, "-4"), Type(form->Edit4, "4"), Type(form->Edit5, "0.1");
    Type(form->Edit8, "-4"), Type(form->Edit9, "4"), Type(form->Edit10, "0.1");
    RunCommand([this] { form->Button8Click(); });
    std::int64_t cells = 0;
    std::set<std::pair<int, int>> used; // the vertices of the cells drawn
    for (int i = 0; i + 1 < SurfaceRows; ++i)
        for (int j = 0; j + 1 < SurfaceCols; ++j) {
            bool finite = true;
            for (const Vertex3D* v : {&SurfaceGrid[i][j], &SurfaceGrid[i + 1][j],
                                      &SurfaceGrid[i + 1][j + 1], &SurfaceGrid[i][j + 1]})
                finite = finite && std::isfinite(static_cast<float>(v->z));
            cells += finite;
            if (finite) used.insert({{i, j}, {i + 1, j}, {i + 1, j + 1}, {i, j + 1}});
        }
    ASSERT_LT(cells, (SurfaceRows - 1) * (SurfaceCols - 1)); // some are left out
    Export("dome", 4);                                       // STL
    ASSERT_TRUE(failures.empty()) << failures[0];
    const QString stl = QString::fromUtf8(
        RunTool("admesh", {"--exact", "--normal-directions", (dir / "dome.stl").c_str()}));
    EXPECT_EQ(After(stl, "Number of facets"), 2 * cells);
    for (const char* none : {"Degenerate facets", "Edges fixed", "Backwards edges",
                             "Facets reversed", "Normals fixed"})
        EXPECT_EQ(After(stl, none), 0) << none;
    EXPECT_EQ(After(stl, "Number of parts"), 1);

    Export("dome", 5); // OBJ
    const QString obj = QString::fromUtf8(RunTool("assimp", {"info", (dir / "dome.obj").c_str()}));
    EXPECT_EQ(After(obj, "Faces"), 2 * cells);
    EXPECT_EQ(After(obj, "Vertices"), static_cast<long long>(used.size())); // the unused dropped
    const auto objBytes = Bytes(dir / "dome.obj");
    const std::string objText(objBytes.begin(), objBytes.end());
    long long vertexLines = 0;
    for (std::size_t at = objText.find("\nv "); at != std::string::npos;
         at = objText.find("\nv ", at + 1))
        ++vertexLines;
    EXPECT_EQ(vertexLines, SurfaceRows * SurfaceCols); // every vertex of the buffer

    form->N3DxyztClick();
    Type(form->Edit2, "cos(t)*8"), Type(form->Edit6, "sin(t)*8"), Type(form->Edit7, "t");
    RunCommand([this] { form->Button9Click(); });
    Export("curve", 4);
    const QString lines =
        QString::fromUtf8(RunTool("assimp", {"info", (dir / "curve.obj").c_str()}));
    EXPECT_EQ(After(lines, "Vertices"), CurveCount);
    EXPECT_EQ(After(lines, "Faces"), CurveCount - 1);
    EXPECT_TRUE(lines.contains(QStringLiteral("lines")));

    form->N3DFxyzClick();
    Type(form->Edit7, "x^2+y^2+z^2-4");
    RunCommand([this] { form->Button11Click(); });
    ASSERT_EQ(LevelPointCount, 2916); // the default sphere
    Export("sphere", 4);
    const QString ply =
        QString::fromUtf8(RunTool("assimp", {"info", (dir / "sphere.ply").c_str(), "-r"}));
    EXPECT_EQ(After(ply, "Vertices"), LevelPointCount);
    // Read back by our own reading of the format: the header, then x y z as
    // floats and the colour as three bytes.
    const auto bytes = Bytes(dir / "sphere.ply");
    const std::string text(bytes.begin(), bytes.end());
    const std::size_t body = text.find("end_header\n") + 11;
    ASSERT_EQ(bytes.size() - body, static_cast<std::size_t>(LevelPointCount) * 15);
    for (int i : {0, 1000, 2915}) {
        float p[3];
        std::memcpy(p, bytes.data() + body + 15 * i, 12);
        EXPECT_FLOAT_EQ(p[0], static_cast<float>(LevelPoints[i].x)) << i;
        EXPECT_FLOAT_EQ(p[2], static_cast<float>(LevelPoints[i].z)) << i;
        EXPECT_EQ(bytes[body + 15 * i + 13], std::lround(LevelPoints[i].g * 255)) << i;
    }
}

// The print: one page, with margins; the plot area's picture (as the PNG
// has it) as a square in the middle, nothing of it beyond its frame even
// where the graph runs off to a pole; the formula in a line under it.
TEST_F(Exports, ThePrintedPage) {
    form->ComboBox1->setEditText("tg(x)");
    form->Button2Click();
    const std::string pdf = (dir / "print.pdf").string();
    Dialogs().PrintPreview = [&](QWidget*, const std::function<void(QPrinter*)>& paint) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        printer.setPageSize(QPageSize(QPageSize::A4));
        paint(&printer);
    };
    form->NPrint->trigger();
    ASSERT_TRUE(failures.empty()) << failures[0];
    const QString info = QString::fromUtf8(RunTool("pdfinfo", {QString::fromStdString(pdf)}));
    EXPECT_EQ(After(info, "Pages"), 1);
    RunTool("pdftoppm", {"-r", "54", "-png", "-singlefile", QString::fromStdString(pdf),
                         (dir / "page").c_str()});
    const QImage page = QImage((dir / "page.png").c_str()).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(page.isNull());
    // The runs of rows with ink: the picture, then the caption.
    std::vector<std::pair<int, int>> runs;
    for (int y = 0; y < page.height(); ++y) {
        bool ink = false;
        for (int x = 0; x < page.width() && !ink; ++x)
            ink = qGray(page.pixel(x, y)) < 160;
        if (!ink) continue;
        if (!runs.empty() && runs.back().second >= y - 2)
            runs.back().second = y;
        else
            runs.push_back({y, y});
    }
    ASSERT_EQ(runs.size(), 2u);
    int left = page.width(), right = 0;
    for (int y = runs[0].first; y <= runs[0].second; ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 160) left = std::min(left, x), right = std::max(right, x);
    const QRect frame(left, runs[0].first, right - left + 1, runs[0].second - runs[0].first + 1);
    // A square in the middle across, inside margins, and the caption under it.
    EXPECT_NEAR(frame.width(), frame.height(), 2);
    EXPECT_NEAR(frame.center().x(), page.width() / 2.0, 2);
    EXPECT_GT(frame.left(), page.width() / 25);
    EXPECT_GT(frame.width(), page.width() * 0.8);
    EXPECT_LT(runs[1].second - runs[1].first, page.height() / 40);
    // What the frame holds is the plot area's picture (which the PNG is).
    const QImage png = form->PaintBox1->Picture;
    const QImage printed = page.copy(frame);
    const TDifference d = ComparePictures(
        png.scaled(printed.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation), printed);
    EXPECT_LT(d.Share, 0.06); // the dotted grid prints as fine solid lines

    EXPECT_EQ(d.Far, 0);
}

TEST_F(Exports, CopyPutsThePictureOnTheClipboard) {
    form->ComboBox1->setEditText("x");
    form->Button2Click();
    form->CopyClick();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    ASSERT_TRUE(data->hasImage());
    const QImage copied = qvariant_cast<QImage>(data->imageData());
    EXPECT_TRUE(copied.convertToFormat(QImage::Format_RGB32) ==
                form->PaintBox1->Picture.convertToFormat(QImage::Format_RGB32));
    EXPECT_TRUE(data->data(QStringLiteral("image/svg+xml")).startsWith("<?xml"));
    EXPECT_EQ(form->NCopy->shortcut().toString().toStdString(), "Ctrl+C");
}

} // namespace
