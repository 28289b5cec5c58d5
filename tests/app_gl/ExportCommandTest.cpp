// plotter --export: every format written from a plot file without a window
// is the window's export of the same file, byte for byte (PNG, STL, OBJ,
// PLY) or, rendered by rsvg-convert and pdftoppm, pixel for pixel (SVG,
// PDF); and each way it can fail ends with status 1 and the window's words.
#include "app/AppTestSupport.h"

#include "ToolSupport.h"
#include "document/DocumentFile.h"
#include "document/PlotFile.h"
#include "geometry3d/Buffers.h"
#include "model/Export.h"
#include "model/Parameters.h"
#include "view3d/FrameImage.h"

#include <QDir>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cmath>

#include <limits>

namespace {

class ExportCommand : public AllWindowsTest {
  protected:
    void SetUp() override {
        AllWindowsTest::SetUp();
        ASSERT_TRUE(dir.isValid());
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
    // A plot file of `mode` with a formula in each of its fields.
    QString PlotFile(int mode) {
        TPlotFileRecord r;
        TPlotDocument d;
        SetDocumentDefaults(d);
        for (int k = 0; k < DocumentNumberCount; ++k)
            r.Numbers[k] = d.Numbers[k];
        r.FirstFrame = 1, r.LastFrame = 20, r.FrameInterval = 50;
        r.Mode = mode;
        r.MainFormula = "sin(x)*3+x/4";
        r.Cartesian = true;
        r.Formulas[fsPlaneX] = "cos(t)*6-cos(t*6)*2";
        r.Formulas[fsPlaneY] = "sin(t)*6-sin(t*6)*2";
        r.Formulas[fsSurfaceZ] = "sin(x)*cos(y)*3";
        r.Formulas[fsCurveX] = "cos(t)*8", r.Formulas[fsCurveY] = "sin(t)*8";
        r.Formulas[fsCurveZ] = "t";
        r.Formulas[fsPatchX] = "cos(u)*cos(v)*8", r.Formulas[fsPatchY] = "sin(u)*cos(v)*8";
        r.Formulas[fsPatchZ] = "sin(v)*8";
        r.Formulas[fsImplicitF] = "x^2+y^2+z^2-4";
        const QString path = Path(QStringLiteral("mode%1.mth").arg(mode));
        WritePlotFile(path.toStdString(), r);
        return path;
    }
    struct TRun {
        int Status;
        std::string Err;
    };
    TRun Command(const QStringList& arguments, bool display = true) {
        QProcess p;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (!display) environment.remove(QStringLiteral("DISPLAY"));
        // A run with a display may make an OpenGL context. As in the suites
        // that make one, the sanitizer build checks it without the leak
        // check: at exit the driver's threads end while the check stops the
        // world, which can crash the check itself. The same exports are
        // leak-checked in this process (WindowExport).
        if (display) {
            const QString asan = environment.value(QStringLiteral("ASAN_OPTIONS"));
            environment.insert(QStringLiteral("ASAN_OPTIONS"),
                               asan.isEmpty() ? QStringLiteral("detect_leaks=0")
                                              : asan + QStringLiteral(":detect_leaks=0"));
        }
        // The settings (the language) of the runs in a folder of their own.
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), Path(QStringLiteral("config")));
        p.setProcessEnvironment(environment);
        p.start(QStringLiteral(PLOTTER_BINARY), arguments);
        EXPECT_TRUE(p.waitForFinished(120000));
        return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardError()).toStdString()};
    }
    static QByteArray Read(const QString& path) {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        return f.readAll();
    }
    // The window opens the file, builds its 3D picture with the colours of
    // `seed` as the command line does, and exports.
    void WindowExport(const QString& file, int mode, const QString& out, QSize size = {}) {
        ASSERT_TRUE(RunCommand([&] { form->OpenPlotFile(file.toStdString()); }));
        if (mode == pmYx || mode == pmPlane) {
            form->Button2Click();
        } else {
            SeedRandom(7);
            RandomiseColourCoeffs(mode == pmImplicit ? 1.3 : 3);
            RunCommand([&] {
                if (mode == pmSurface) form->BuildSurfaceZxy();
                if (mode == pmCurve) form->BuildCurve3D();
                if (mode == pmPatch) form->BuildParametricSurface();
                if (mode == pmImplicit) form->BuildLevelPoints();
            });
        }
        ASSERT_TRUE(RunCommand([&] {
            ExportPicture(out.toStdString(), *FormatOfName(out), form->DocumentInput(), size,
                          [&](int w, int h) { return RenderFrame(w, h, form->SceneOptions()); });
        }));
        ASSERT_TRUE(failures.empty()) << failures[0];
    }
    QImage Rendered(const QString& path) {
        const QString png = path + QStringLiteral(".rendered");
        if (path.endsWith(QStringLiteral(".svg")))
            RunTool("rsvg-convert", {"-w", "400", "-h", "400", "-o", png + ".png", path});
        else
            RunTool("pdftoppm", {"-r", "72", "-png", "-singlefile", path, png});
        return QImage(png + ".png").convertToFormat(QImage::Format_RGB32);
    }

    QTemporaryDir dir;
};

TEST_F(ExportCommand, EveryFormatIsTheWindowsExport) {
    const struct {
        int mode;
        const char* name;
        bool bytes; // else rendered
        bool needsDisplay;
    } cases[] = {
        {pmYx, "yx.png", true, false},           {pmYx, "yx.svg", false, false},
        {pmYx, "yx.pdf", false, false},          {pmPlane, "plane.png", true, false},
        {pmPlane, "plane.svg", false, false},    {pmSurface, "surface.stl", true, false},
        {pmSurface, "surface.obj", true, false}, {pmSurface, "surface.png", true, true},
        {pmPatch, "patch.stl", true, false},     {pmCurve, "curve.obj", true, false},
        {pmImplicit, "sphere.ply", true, false},
    };
    for (const auto& c : cases) {
        const QString file = PlotFile(c.mode);
        const QString fromCommand = Path(QStringLiteral("command-") + c.name);
        const TRun run = Command({"--export", fromCommand, "--seed", "7", file}, c.needsDisplay);
        ASSERT_EQ(run.Status, 0) << c.name << ": " << run.Err;
        const QString fromWindow = Path(QStringLiteral("window-") + c.name);
        WindowExport(file, c.mode, fromWindow);
        if (c.bytes) {
            EXPECT_TRUE(Read(fromCommand) == Read(fromWindow)) << c.name;
            EXPECT_GT(Read(fromCommand).size(), 100) << c.name;
        } else {
            const QImage a = Rendered(fromCommand), b = Rendered(fromWindow);
            ASSERT_FALSE(a.isNull()) << c.name;
            EXPECT_TRUE(a == b) << c.name;
        }
    }
    // A 3D frame larger than the screen, at the size asked for.
    const QString big = Path(QStringLiteral("big.png"));
    ASSERT_EQ(Command({"--export", big, "--size", "2000x1500", PlotFile(pmSurface)}).Status, 0);
    EXPECT_EQ(QImage(big).size(), QSize(2000, 1500));
    // A 2D picture of any size: the square one is today's picture scaled; a
    // wide one keeps the x edges and the centre, with one unit alike in x
    // and y (here 60 pixels against the square's 40). The graph
    // y = sin(x)*3 + x/4 lies where it must in each.
    const QString square = Path(QStringLiteral("square.png")),
                  wide = Path(QStringLiteral("wide.png"));
    ASSERT_EQ(Command({"--export", square, "--size", "800x800", PlotFile(pmYx)}).Status, 0);
    ASSERT_EQ(Command({"--export", wide, "--size", "1200x800", PlotFile(pmYx)}).Status, 0);
    const QImage s(square), w(wide);
    ASSERT_EQ(w.size(), QSize(1200, 800));
    EXPECT_EQ(PlotWidth, 400); // the area the command started with, as it was
    const auto graphNear = [](const QImage& image, double px, double py) {
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if ((image.pixel(qRound(px) + dx, qRound(py) + dy) | 0xFF000000) == 0xFF0000FF)
                    return true;
        return false;
    };
    for (const double x : {-8.0, -5.0, 0.0, 3.0, 7.0}) {
        const double y = std::sin(x) * 3 + x / 4;
        EXPECT_TRUE(graphNear(s, (x + 10) * 40, 400 - y * 40)) << x;
        EXPECT_TRUE(graphNear(w, (x + 10) * 60, 400 - y * 60)) << x;
        if (x != 0) { // where the two scales part: not the square's place
            EXPECT_FALSE(graphNear(w, (x + 10) * 40 + 200, 400 - y * 40)) << x;
        }
    }
}

// The program's own document is a plot file to every command: converted
// from .mth, it exports the same pictures and meshes; a list longer than
// what is drawn is told.
TEST_F(ExportCommand, TheDocumentFileIsAPlotFileToo) {
    const struct {
        int mode;
        const char* picture;
    } cases[] = {{pmYx, "png"}, {pmPlane, "svg"}, {pmSurface, "stl"}, {pmImplicit, "ply"}};
    for (const auto& c : cases) {
        const QString file = PlotFile(c.mode);
        const QString document = Path(QStringLiteral("mode%1.mthx").arg(c.mode));
        const TRun convert = Command({"--export", document, file}, false);
        ASSERT_EQ(convert.Status, 0) << convert.Err;
        const QString a = Path(QStringLiteral("from-mth.") + c.picture);
        const QString b = Path(QStringLiteral("from-mthx.") + c.picture);
        ASSERT_EQ(Command({"--export", a, "--seed", "7", file}, false).Status, 0);
        const TRun fromDocument = Command({"--export", b, "--seed", "7", document}, false);
        ASSERT_EQ(fromDocument.Status, 0) << fromDocument.Err;
        EXPECT_TRUE(Read(a) == Read(b)) << c.picture;
        // And back: the same plot file, byte for byte.
        const QString back = Path(QStringLiteral("back%1.mth").arg(c.mode));
        WriteDocumentFile(Path("copy.mthx").toStdString(),
                          ReadDocumentFile(document.toStdString()));
        WritePlotFile(back.toStdString(),
                      RecordOfDocument(ReadDocumentFile(document.toStdString())));
        EXPECT_TRUE(Read(back) == Read(file)) << c.mode;
    }
    TDocumentFile many = ReadDocumentFile(Path(QStringLiteral("mode1.mthx")).toStdString());
    many.Record.AllFormulas = true;
    for (int k = 0; k <= MaxListFormulas; ++k) {
        TGraphStyle g;
        g.Formula = "x-" + std::to_string(k);
        many.Graphs.push_back(g);
    }
    WriteDocumentFile(Path("many.mthx").toStdString(), many);
    const TRun analysed = Command({"--export", Path("many.png"), Path("many.mthx")}, false);
    EXPECT_EQ(analysed.Status, 0) << analysed.Err;
    EXPECT_NE(analysed.Err.find("Графиков в списке 1001: рисуются и считаются первые 1000."),
              std::string::npos)
        << analysed.Err;
    // Graphs with pens of their own: the command and the window draw them alike.
    TDocumentFile styled = ReadDocumentFile(Path(QStringLiteral("mode1.mthx")).toStdString());
    styled.Record.AllFormulas = true;
    styled.Graphs.clear();
    for (const char* f : {"x/2", "2", "-3"}) {
        TGraphStyle g;
        g.Formula = f;
        styled.Graphs.push_back(g);
    }
    styled.Graphs[0].Colour = 0x0000FF, styled.Graphs[0].ColourGiven = true;
    styled.Graphs[0].Width = 3;
    styled.Graphs[1].Style = TLineStyle::Dash;
    styled.Graphs[2].Visible = false;
    WriteDocumentFile(Path("styled.mthx").toStdString(), styled);
    const QString command = Path("styled-command.png"), window = Path("styled-window.png");
    ASSERT_EQ(Command({"--export", command, Path("styled.mthx")}, false).Status, 0);
    WindowExport(Path("styled.mthx"), pmYx, window);
    EXPECT_TRUE(Read(command) == Read(window));
    const QImage picture(command);
    int red = 0, blueAtMinus3 = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            red += (picture.pixel(x, y) & 0xFFFFFF) == 0xFF0000;
    for (int x = 0; x < picture.width(); ++x) // y = -3 lies at 260 of 400 in the view ±10
        blueAtMinus3 += (picture.pixel(x, 260) & 0xFFFFFF) == 0x0000FF;
    EXPECT_GT(red, 1000);       // three pixels wide across the area
    EXPECT_EQ(blueAtMinus3, 0); // the hidden graph
    // A document that is not one ends the command with the window's message.
    QFile bad(Path("bad.mthx"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(R"({"format": "plotter-document", "version": 1, "list": [{"width": 0}]})");
    bad.close();
    const TRun refused = Command({"--export", Path("bad.png"), Path("bad.mthx")}, false);
    EXPECT_EQ(refused.Status, 1);
    const std::string message = "Файл «bad.mthx» не открыт: значение «/list/0/width» должно быть "
                                "целым числом от 1 до 8. Всё осталось как было.\n";
    EXPECT_TRUE(refused.Err.ends_with(message)) << refused.Err;
}

// Each way the command can fail: status 1, and the message the window shows.
TEST_F(ExportCommand, FailuresEndWithTheWindowsMessage) {
    QFile(Path("empty.mth")).open(QIODevice::WriteOnly);
    TPlotFileRecord stuck = *ReadPlotFile(PlotFile(pmImplicit).toStdString());
    stuck.Numbers[ImplXStep2] = 0;
    WritePlotFile(Path("stuck.mth").toStdString(), stuck);
    const struct {
        QStringList arguments;
        int status;
        const char* message;
    } cases[] = {
        {{"--export", Path("a.png"), Path("missing.mth")}, 1, "File not found"},
        {{"--export", Path("a.png"), Path("empty.mth")}, 1, "пуст"},
        {{"--export", Path("a.stl"), PlotFile(pmYx)}, 1, "сохраняется как PNG, SVG или PDF"},
        {{"--export", Path("a.svg"), PlotFile(pmSurface)}, 1, "сохраняется как PNG, STL или OBJ"},
        {{"--export", Path("a.gif"), PlotFile(pmYx)}, 1, "не известен"},
        {{"--export", Path("a.ply"), Path("stuck.mth")},
         1,
         "Шаг2 по оси X должен быть больше нуля"},
        {{"--export", Path("no/such/folder/a.png"), PlotFile(pmYx)}, 1, "File not found"},
        {{"--export", Path("a.png"), "--size", "big", PlotFile(pmYx)}, 2, "--size"},
        {{"--export", Path("a.png")}, 2, "одним файлом"},
    };
    for (const auto& c : cases) {
        const TRun run = Command(c.arguments, false);
        EXPECT_EQ(run.Status, c.status) << c.message << ": " << run.Err;
        EXPECT_NE(run.Err.find(c.message), std::string::npos) << run.Err;
    }
    EXPECT_FALSE(QFile::exists(Path("a.png")));
}

// Half a job, nothing to see, numbers the file does not hold and outputs
// that are inputs: each is a failure with its reason, and writes nothing.
TEST_F(ExportCommand, NoHalfJobsNoEmptyMeshesNoSilentReplacements) {
    const auto variant = [&](int mode, const char* name, auto change) {
        TPlotFileRecord r = *ReadPlotFile(PlotFile(mode).toStdString());
        change(r);
        const QString path = Path(QString::fromLatin1(name));
        WritePlotFile(path.toStdString(), r);
        return path;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const QString flat =
        variant(pmSurface, "flat.mth", [](auto& r) { r.Numbers[SurfXMax] = r.Numbers[SurfXMin]; });
    const QString huge =
        variant(pmSurface, "huge.mth", [](auto& r) { r.Formulas[fsSurfaceZ] = "10^400*x"; });
    const QString far = variant(pmPatch, "far.mth", [](auto& r) {
        r.Numbers[PatchUMin] = -1e308, r.Numbers[PatchUMax] = 1e308, r.Numbers[PatchUStep] = 1e307;
        r.Formulas[fsPatchX] = "u", r.Formulas[fsPatchY] = "u", r.Formulas[fsPatchZ] = "u";
    });
    const QString still = variant(pmCurve, "still.mth", [](auto& r) {
        r.Numbers[CurveTMin] = 0, r.Numbers[CurveTMax] = 1999999, r.Numbers[CurveTStep] = 1;
        r.Formulas[fsCurveX] = r.Formulas[fsCurveY] = r.Formulas[fsCurveZ] = "t*0";
    });
    const QString zeros = variant(pmImplicit, "zeros.mth", [](auto& r) {
        r.Formulas[fsImplicitF] = "x*0";
        for (const int row : {ImplXMin, ImplYMin, ImplZMin}) {
            r.Numbers[row] = -1, r.Numbers[row + 1] = 1;
            r.Numbers[row + 2] = 0.001, r.Numbers[row + 3] = 1;
        }
    });
    const QString slow = variant(pmImplicit, "slow.mth", [](auto& r) {
        for (const int row : {ImplXStep2, ImplYStep2, ImplZStep2})
            r.Numbers[row] = 1e-6;
    });
    const QString noX = variant(pmYx, "nan.mth", [&](auto& r) { r.Numbers[YxCartX1] = nan; });
    const QString infX = variant(pmYx, "inf.mth", [&](auto& r) { r.Numbers[YxCartX2] = inf; });
    const QString noStep = variant(pmYx, "step.mth", [&](auto& r) { r.Numbers[YxCartStep] = nan; });
    const QString reversed = variant(
        pmYx, "reversed.mth", [](auto& r) { r.Numbers[YxCartX1] = 10, r.Numbers[YxCartX2] = -10; });
    const QString self = variant(pmYx, "self.svg", [](auto&) {});
    const QByteArray selfBytes = Read(self);
    const struct {
        QStringList arguments;
        int status;
        const char* message;
    } cases[] = {
        {{"--export", Path("a.stl"), flat}, 1, "нет ни одной клетки"},
        {{"--export", Path("a.stl"), huge}, 1, "нет ни одной клетки"},
        {{"--export", Path("a.obj"), far}, 1, "нет ни одной клетки"},
        {{"--export", Path("a.obj"), still}, 1, "нет ни одного отрезка"},
        {{"--export", Path("a.ply"), zeros}, 1, "--allow-partial"},
        {{"--export", Path("a.ply"), slow}, 1, "--max-points"},
        {{"--export", Path("a.ply"), "--max-points", "1000", PlotFile(pmImplicit)},
         1,
         "не больше 1e+03"},
        {{"--export", Path("a.ply"), "--max-points", "0", PlotFile(pmImplicit)}, 2, "--max-points"},
        {{"--export", Path("a.png"), noX}, 1, "не являются числами"},
        {{"--export", Path("a.png"), infX}, 1, "не являются числами"},
        {{"--export", Path("a.png"), noStep}, 1, "не являются числами"},
        {{"--export", Path("a.png"), reversed}, 1, "поменяйте их местами"},
        {{"--export", self, self}, 1, "из которого он рисуется"},
        {{"--export", Path("a.svg"), "--analyse", PlotFile(pmYx)}, 2, "не даются вместе"},
        {{"--analyse", PlotFile(pmYx), "--integrate", "0", "1", PlotFile(pmYx)},
         2,
         "не даются вместе"},
    };
    for (const auto& c : cases) {
        const TRun run = Command(c.arguments, false);
        EXPECT_EQ(run.Status, c.status) << c.message << ": " << run.Err;
        EXPECT_NE(run.Err.find(c.message), std::string::npos) << c.message << ": " << run.Err;
    }
    for (const char* name : {"a.stl", "a.obj", "a.ply", "a.png", "a.svg"})
        EXPECT_FALSE(QFile::exists(Path(QString::fromLatin1(name)))) << name;
    EXPECT_EQ(Read(self), selfBytes);
    // Allowed, the part found is written, and said to be a part.
    const TRun part = Command({"--export", Path("part.ply"), "--allow-partial", zeros}, false);
    EXPECT_EQ(part.Status, 0) << part.Err;
    EXPECT_NE(part.Err.find("Записаны точки, найденные до этого"), std::string::npos) << part.Err;
    EXPECT_TRUE(QFile::exists(Path("part.ply")));
    EXPECT_EQ(part.Err.find("F(x,y,z)=0:"), std::string::npos); // no progress but on a terminal
    // On a terminal, the scan's progress in one line that grows.
    QProcess terminal;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    terminal.setProcessEnvironment(environment);
    terminal.start(QStringLiteral("script"), {"-qec",
                                              QStringLiteral("%1 --export %2 %3")
                                                  .arg(QStringLiteral(PLOTTER_BINARY),
                                                       Path("sphere.ply"), PlotFile(pmImplicit)),
                                              "/dev/null"});
    ASSERT_TRUE(terminal.waitForFinished(60000));
    EXPECT_EQ(terminal.exitCode(), 0);
    const QString shown = QString::fromUtf8(terminal.readAllStandardOutput());
    std::vector<int> percents; // as the threads' lines add up: growing, up to 100
    auto lines =
        QRegularExpression(QStringLiteral("\rF\\(x,y,z\\)=0: (\\d+) %")).globalMatch(shown);
    while (lines.hasNext())
        percents.push_back(lines.next().captured(1).toInt());
    ASSERT_GE(percents.size(), 3u) << shown.toStdString();
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end())) << shown.toStdString();
    EXPECT_EQ(percents.back(), 100) << shown.toStdString();
}

// A picture that cannot be made for want of memory is a failure, and the
// file it would have replaced stays as it was.
TEST_F(ExportCommand, APictureWithoutMemoryLeavesTheOldFile) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit";
#endif
    const QString keep = Path(QStringLiteral("keep.png"));
    {
        QFile f(keep);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("the old picture");
    }
    QProcess p;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    p.setProcessEnvironment(environment);
    p.start(QStringLiteral("sh"),
            {"-c", "ulimit -v 1048576; exec \"$0\" \"$@\"", QStringLiteral(PLOTTER_BINARY),
             "--export", keep, "--size", "16384x16384", PlotFile(pmYx)});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 1);
    const std::string err = QString::fromLocal8Bit(p.readAllStandardError()).toStdString();
    EXPECT_NE(err.find("16384 × 16384"), std::string::npos) << err;
    EXPECT_NE(err.find("не хватает памяти"), std::string::npos) << err;
    EXPECT_EQ(Read(keep), QByteArray("the old picture"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).filter(QStringLiteral("keep")).size(), 1);
}

} // namespace

namespace {

// plotter --analyse and --integrate: JSON lines whose numbers read back to
// the library's own results, and status 1 where nothing can be computed.
TEST_F(ExportCommand, AnalyseAndIntegrate) {
    TPlotFileRecord r = *ReadPlotFile(PlotFile(pmYx).toStdString());
    r.MainFormula = "";
    r.FormulaList[0] = "x^2-4";
    r.FormulaList[1] = "2-x";
    r.AllFormulas = true;
    const QString file = Path(QStringLiteral("two.mth"));
    WritePlotFile(file.toStdString(), r);
    QProcess p;
    p.start(QStringLiteral(PLOTTER_BINARY), {"--analyse", file, "--from", "-3", "--to", "3"});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0);
    const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).trimmed().split('\n');
    // x^2-4: roots -2 and 2, minimum at 0, y0 -4; 2-x: root 2, y0 2; they
    // meet at -3 (an end of [A, B], which holds it) and at 2.
    QStringList kinds;
    for (const QString& line : lines) {
        const auto m =
            QRegularExpression(
                R"re(^\{"graph": (\d), "formula": "([^"]*)", "kind": "(\w+)", "x": ([^,]+), "y": ([^,}]+)(, "with": (\d))?\}$)re")
                .match(line);
        ASSERT_TRUE(m.hasMatch()) << line.toStdString();
        kinds << m.captured(3) + "@" + m.captured(1);
        if (m.captured(3) == "root" && m.captured(1) == "1") {
            EXPECT_TRUE(m.captured(4) == "-2" || m.captured(4) == "2") << line.toStdString();
        }
        if (m.captured(3) == "intersection") {
            EXPECT_TRUE(m.captured(4) == "-3" || m.captured(4) == "2") << line.toStdString();
            EXPECT_EQ(m.captured(7), "2");
        }
    }
    EXPECT_EQ(kinds.join(' ').toStdString(),
              "intersection@1 root@1 min@1 y0@1 y0@2 root@1 intersection@1 root@2");

    QProcess area;
    area.start(QStringLiteral(PLOTTER_BINARY), {"--integrate", "0", "3", file});
    ASSERT_TRUE(area.waitForFinished(60000));
    EXPECT_EQ(area.exitCode(), 0);
    const QString out = QString::fromUtf8(area.readAllStandardOutput());
    // x^2-4 over [0, 3]: 9 - 12 = -3; 2-x: 6 - 4.5 = 1.5.
    const auto first =
        QRegularExpression(R"re(\{"graph": 1, "area": ([^,]+), "error": [^}]+\})re").match(out);
    ASSERT_TRUE(first.hasMatch()) << out.toStdString();
    EXPECT_NEAR(first.captured(1).toDouble(), -3, 1e-12);
    EXPECT_TRUE(out.contains(QStringLiteral("{\"graph\": 2, \"area\": 1.5")));

    // On an interval too wide for samples a pixel apart, the run says that
    // points may be missing.
    QProcess wide;
    wide.start(QStringLiteral(PLOTTER_BINARY),
               {"--analyse", file, "--from", "-1e308", "--to", "1e308"});
    ASSERT_TRUE(wide.waitForFinished(120000));
    EXPECT_EQ(wide.exitCode(), 0);
    EXPECT_TRUE(QString::fromUtf8(wide.readAllStandardError()).contains("Показаны не все"));

    // A graph that draws random numbers is skipped, and the run says so.
    r.MainFormula = "x";
    r.FormulaList[0] = "sin(x)";
    r.FormulaList[1] = "rand(3)";
    const QString random = Path(QStringLiteral("random.mth"));
    WritePlotFile(random.toStdString(), r);
    QProcess skipped;
    skipped.start(QStringLiteral(PLOTTER_BINARY), {"--analyse", random});
    ASSERT_TRUE(skipped.waitForFinished(60000));
    EXPECT_EQ(skipped.exitCode(), 0);
    const QString said = QString::fromUtf8(skipped.readAllStandardError());
    EXPECT_TRUE(said.contains(QStringLiteral("Не исследуются графики: 2."))) << said.toStdString();
    const QString points = QString::fromUtf8(skipped.readAllStandardOutput());
    EXPECT_EQ(points.count(QStringLiteral("\"graph\": 1")), points.count('\n'));
    EXPECT_GT(points.count('\n'), 5);
    // sin's inflection points, where -sin changes sign: at multiples of pi.
    int inflections = 0;
    for (auto m =
             QRegularExpression(R"re("kind": "inflection", "x": ([^,]+),)re").globalMatch(points);
         m.hasNext(); ++inflections) {
        const double x = m.next().captured(1).toDouble();
        EXPECT_NEAR(std::remainder(x, 3.141592653589793), 0, 1e-9) << x;
    }
    EXPECT_EQ(inflections, 7); // -3 pi ... 3 pi in the view of 10 each way

    for (const QStringList& arguments :
         {QStringList{"--analyse", PlotFile(pmSurface)},
          QStringList{"--integrate", "-1", "1", PlotFile(pmPlane)}}) {
        QProcess refused;
        refused.start(QStringLiteral(PLOTTER_BINARY), arguments);
        ASSERT_TRUE(refused.waitForFinished(60000));
        EXPECT_EQ(refused.exitCode(), 1);
        EXPECT_TRUE(QString::fromUtf8(refused.readAllStandardError()).contains("не график y(x)"));
    }
}

// --check: one JSON line per place, as Qt's JSON reader takes it; status 1
// when there is one, 0 for a formula the compiler understands fully.
TEST_F(ExportCommand, CheckPrintsEachPlaceAsAJsonLine) {
    const struct {
        const char* formula;
        int status;
        const char* kinds; // "kind@pos+len" per line
        const char* firstMessage;
        const char* firstHint;
    } rows[] = {
        {"x+sni(x)", 1, "unknown-name@3+3", "Неизвестная функция «sni» (позиция 3–5)", "sin"},
        {"x + 1", 1, "space@2+1 space@4+1",
         "Пробел в формуле (позиция 2): в языке формул пробелов нет", ""},
        {"\xD1\x84(x", 1, "stray-character@1+1", "Знака «ф» нет в языке формул (позиция 1)", ""},
        {"2x", 1, "unknown-name@1+2", "Между числом и x нужен знак *: 2*x", "2*x"},
        {"sin(x)^2", 0, "", "", ""},
        {"rnd", 1, "unknown-name@1+3",
         "«rnd» — случайное число только в числовых полях; в формуле графика это неизвестное "
         "имя, и оно равно 0 (позиция 1–3). В графике случайные числа даёт rand(n)",
         "rand("},
        // A run of one mark is one line with its count.
        {"x+++1", 1, "empty-operand@3+2", "Перед «+» нет операнда (позиция 3–4), 2 раз подряд", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.formula);
        QProcess p;
        p.start(QStringLiteral(PLOTTER_BINARY), {"--check", QString::fromUtf8(row.formula)});
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), row.status);
        const QString out = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
        QStringList kinds;
        QJsonObject first;
        for (const QString& line : out.split('\n', Qt::SkipEmptyParts)) {
            QJsonParseError error;
            const QJsonDocument json = QJsonDocument::fromJson(line.toUtf8(), &error);
            ASSERT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
            const QJsonObject o = json.object();
            ASSERT_EQ(o.keys(), QStringList({"count", "hint", "kind", "len", "message", "pos"}));
            if (first.isEmpty()) first = o;
            kinds << QStringLiteral("%1@%2+%3")
                         .arg(o["kind"].toString())
                         .arg(o["pos"].toInt())
                         .arg(o["len"].toInt());
        }
        EXPECT_EQ(kinds.join(' ').toStdString(), row.kinds);
        EXPECT_EQ(first["message"].toString().toStdString(), row.firstMessage);
        EXPECT_EQ(first["hint"].toString().toStdString(), row.firstHint);
    }
}

// --derive: the derivative as a line of the language, by x or by --var; a
// formula the diagnosis marks, or one drawing random numbers, fails with the
// message, and an unknown variable is a usage error.
TEST_F(ExportCommand, DerivePrintsTheDerivativeAsAFormula) {
    const struct {
        QStringList arguments;
        int status;
        const char* out;
        const char* err;
    } rows[] = {
        {{"--derive", "x^3-2*x"}, 0, "3*x^2-2\n", ""},
        {{"--derive", "x^2^3"}, 0, "6*x^2^2*x\n", ""}, // (x^2)^3
        {{"--derive", "x*-1"}, 1, "", "операнда"},
        {{"--derive=-t^2*x", "--var", "t"}, 0, "-2*x*t\n", ""},
        {{"--derive", "a*sin(x)", "--set", "a=2"}, 0, "a*cos(x)\n", ""},
        {{"--derive", "rnd*x"}, 1, "", "«rnd» — случайное число только в числовых полях"},
        {{"--derive", "rand(3)*x"}, 1, "", "в ней случайные числа"},
        {{"--derive", "sin(x"}, 1, "", "Не хватает «)»"},
        {{"--derive", "x", "--var", "w"}, 2, "", "--var ждёт одну из переменных"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments.join(' ').toStdString());
        QProcess p;
        p.start(QStringLiteral(PLOTTER_BINARY), row.arguments);
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), row.status);
        EXPECT_EQ(p.readAllStandardOutput().toStdString(), row.out);
        EXPECT_NE(QString::fromUtf8(p.readAllStandardError()).toStdString().find(row.err),
                  std::string::npos);
    }
}

} // namespace

namespace {

// --set gives the formulas' parameters for one run: the export draws what
// the window draws with those values, the analysis finds the roots they
// put, the check knows their names, and what cannot be one is refused.
TEST_F(ExportCommand, ParametersSetForOneRun) {
    TDocumentFile d = DocumentOfRecord(*ReadPlotFile(PlotFile(pmYx).toStdString()));
    d.Record.MainFormula = "a*sin(b*x)";
    d.Parameters = {NewParameter("a"), NewParameter("b")};
    const QString document = Path(QStringLiteral("waves.mthx"));
    WriteDocumentFile(document.toStdString(), d);
    const QString set = Path(QStringLiteral("set.png")), plain = Path(QStringLiteral("plain.png"));
    const TRun exported =
        Command({"--export", set, "--set", "a=2", "--set", "b=a+1", document}, false);
    ASSERT_EQ(exported.Status, 0) << exported.Err;
    d.Record.MainFormula = "2*sin(3*x)";
    d.Parameters.clear();
    const QString written = Path(QStringLiteral("written.mthx"));
    WriteDocumentFile(written.toStdString(), d);
    ASSERT_EQ(Command({"--export", plain, written}, false).Status, 0);
    EXPECT_TRUE(Read(set) == Read(plain));
    // The window, with the values the document keeps (a = b = 1), draws
    // what the command draws with a = 1.
    const QString window = Path(QStringLiteral("window.png"));
    WindowExport(document, pmYx, window);
    ASSERT_EQ(Command({"--export", plain, "--set", "a=1", document}, false).Status, 0);
    EXPECT_TRUE(Read(window) == Read(plain));
    EXPECT_FALSE(Read(window) == Read(set));

    QProcess p;
    p.start(QStringLiteral(PLOTTER_BINARY),
            {"--analyse", document, "--set", "b=2", "--from", "0.5", "--to", "2"});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0);
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    // sin(2x) has its root pi/2 in [0.5, 2], its maximum at pi/4.
    const auto at = [&](const char* kind) {
        const auto m =
            QRegularExpression(
                QStringLiteral(R"("kind": "%1", "x": ([^,]+),)").arg(QString::fromLatin1(kind)))
                .match(out);
        return m.hasMatch() ? m.captured(1).toDouble() : 0.0;
    };
    const double pi = std::acos(-1.0);
    EXPECT_NEAR(at("root"), pi / 2, 1e-12) << out.toStdString();
    EXPECT_NEAR(at("max"), pi / 4, 1e-7) << out.toStdString();

    const struct {
        QStringList arguments;
        int status;
        const char* message;
    } rows[] = {
        {{"--check", "a*x"}, 1, ""},
        {{"--check", "a*x", "--set", "a=1"}, 0, ""},
        {{"--check", "x", "--set", "sin=1"}, 1, "«sin» — имя, которое формулы уже читают иначе"},
        {{"--check", "x", "--set", "a=b"}, 1, "--set a: «b» не число"},
        {{"--export", set, "--set", "2a=1", document}, 1, "«2a» не имя параметра"},
        {{"--export", set, "--set", "a", document}, 2, "--set ждёт ИМЯ=ЗНАЧЕНИЕ"},
    };
    for (const auto& r : rows) {
        const TRun run = Command(r.arguments, false);
        EXPECT_EQ(run.Status, r.status) << r.arguments.join(' ').toStdString();
        EXPECT_NE(run.Err.find(r.message), std::string::npos) << run.Err;
    }
}

} // namespace

namespace {

// Relations from the command line, against their closed forms at pixels
// whose answer no proof can miss, in PNG and, rendered, in SVG and PDF; and
// the window's export of the same document, pixel for pixel.
TEST_F(ExportCommand, RelationsAreDrawnAsProven) {
    // The default view: -10 .. 10 both ways, 20 pixels a unit.
    const auto pixel = [](const QImage& image, double x, double y) {
        return image.pixel(static_cast<int>((x + 10) * 20), static_cast<int>((10 - y) * 20)) |
               0xFF000000;
    };
    const QRgb blue = 0xFF0000FF, white = 0xFFFFFFFF;
    const struct {
        const char* formula;
        std::vector<std::tuple<double, double, QRgb>> at; // world point, its colour
    } cases[] = {
        // Points off the grid's lines and the axes.
        {"x^2+y^2=16", {{3.7588, 1.3681, blue}, {-1.3681, -3.7588, blue}, {1.55, 1.55, white}}},
        {"81-x^2-y^2=abs(81-x^2-y^2)",
         {{2.55, 3.55, blue}, {-5.55, 5.55, blue}, {8.55, 8.55, white}}},
        {"y=sqrt(x-3)*sqrt(1-x)", {{2.05, 3.55, white}, {0.55, -0.45, white}}},
        {"y=sin(40/x)", {{5.05, 1.55, white}, {-2.05, -1.55, white}}},
    };
    for (const auto& c : cases) {
        TDocumentFile d = DocumentOfRecord(*ReadPlotFile(PlotFile(pmYx).toStdString()));
        d.Record.MainFormula = c.formula;
        const QString document = Path(QStringLiteral("relation.mthx"));
        WriteDocumentFile(document.toStdString(), d);
        for (const char* name : {"relation.png", "relation.svg", "relation.pdf"}) {
            const QString out = Path(QString::fromLatin1(name));
            const TRun run = Command({"--export", out, "--time", "20", document}, false);
            ASSERT_EQ(run.Status, 0) << c.formula << ": " << run.Err;
            const QImage image = QString::fromLatin1(name).endsWith(".png")
                                     ? QImage(out).convertToFormat(QImage::Format_RGB32)
                                     : Rendered(out);
            ASSERT_EQ(image.size(), QSize(400, 400)) << name;
            for (const auto& [x, y, colour] : c.at)
                EXPECT_EQ(pixel(image, x, y), colour)
                    << c.formula << " " << name << " at " << x << ", " << y;
        }
        const QString fromWindow = Path(QStringLiteral("window-relation.png"));
        WindowExport(document, pmYx, fromWindow);
        EXPECT_TRUE(Read(fromWindow) == Read(Path(QStringLiteral("relation.png")))) << c.formula;
    }
    // The spike of x(x-3)/(x-3.001) reaches the top edge.
    TDocumentFile d = DocumentOfRecord(*ReadPlotFile(PlotFile(pmYx).toStdString()));
    d.Record.MainFormula = "y=x*(x-3)/(x-3.001)";
    const QString document = Path(QStringLiteral("spike.mthx"));
    WriteDocumentFile(document.toStdString(), d);
    const QString out = Path(QStringLiteral("spike.png"));
    ASSERT_EQ(Command({"--export", out, "--time", "20", document}, false).Status, 0);
    const QImage image = QImage(out).convertToFormat(QImage::Format_RGB32);
    bool top = false;
    for (int i = 0; i < 400; ++i)
        top = top || (image.pixel(i, 1) | 0xFF000000) == blue;
    EXPECT_TRUE(top);
    // The analysis finds no points of a relation yet, and says so.
    QProcess analyse;
    analyse.start(QStringLiteral(PLOTTER_BINARY), {"--analyse", document});
    ASSERT_TRUE(analyse.waitForFinished(60000));
    EXPECT_EQ(analyse.exitCode(), 0);
    EXPECT_TRUE(analyse.readAllStandardOutput().isEmpty());
    EXPECT_NE(QString::fromUtf8(analyse.readAllStandardError()).indexOf("отношение"), -1);
    // A time that is no time is a usage error.
    EXPECT_EQ(Command({"--export", out, "--time", "0", document}, false).Status, 2);
}

} // namespace
