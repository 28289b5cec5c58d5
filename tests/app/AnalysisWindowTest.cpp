// The menu "Анализ" through the window: the trace under the mouse and its
// keys, the points of interest drawn and clicked, following the view, and
// "Найти…".
#include "AppTestSupport.h"

#include "app/TFormFind.h"
#include "model/Commands.h"
#include "model/GraphAnalysis.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <regex>

namespace {

class AnalysisWindow : public AllWindowsTest {
  protected:
    void SetUp() override {
        AllWindowsTest::SetUp();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
    }
    void Plot(std::vector<const char*> formulas) {
        form->Button7Click();
        for (const char* f : formulas) {
            form->ComboBox1->setEditText(f);
            form->Button5Click();
        }
        form->CheckBox1->setChecked(formulas.size() > 1);
        form->ComboBox1->setEditText(formulas[0]);
        form->Button2Click();
    }
    std::string Trace() const { return form->Analysis->TraceText().toStdString(); }
};

TEST_F(AnalysisWindow, TheTraceFollowsTheNearestGraphAndItsKeys) {
    Plot({"x/2", "sin(x)*4"});
    form->NTrace->trigger();
    ASSERT_TRUE(form->NTrace->isChecked());
    // At x = 2 (pixel 240): x/2 is 1 (row 180), sin(2)*4 is 3.64 (row 127);
    // the slopes 4 cos(2) and 1/2, with their angles atan(slope).
    QTest::mouseMove(form->PaintBox1, QPoint(240, 130));
    EXPECT_EQ(Trace(), "x = 2, y = 3.63718970730273, y′ = -1.66458734618857, угол -59°");
    QTest::mouseMove(form->PaintBox1, QPoint(240, 185));
    EXPECT_EQ(Trace(), "x = 2, y = 1, y′ = 0.5, угол 26.57°");
    QTest::keyClick(form->PaintBox1, Qt::Key_Right); // one pixel on
    EXPECT_EQ(Trace(), "x = 2.05, y = 1.025, y′ = 0.5, угол 26.57°");
    QTest::keyClick(form->PaintBox1, Qt::Key_Right, Qt::ShiftModifier); // ten
    EXPECT_EQ(Trace(), "x = 2.55, y = 1.275, y′ = 0.5, угол 26.57°");
    QTest::keyClick(form->PaintBox1, Qt::Key_Down); // the next graph of the list
    EXPECT_EQ(Trace(), "x = 2.55, y = 2.23073486956567, y′ = -3.32021414094089, угол -73.24°");
    QTest::keyClick(form->PaintBox1, Qt::Key_Escape);
    EXPECT_FALSE(form->NTrace->isChecked());
    EXPECT_EQ(Trace(), "");
}

// The tangent crosses the area at the traced point and follows it; the
// normal joins it on request.
TEST_F(AnalysisWindow, TheTangentFollowsTheTrace) {
    Plot({"sin(x)*4"});
    form->NTrace->trigger();
    const auto blue = [&](double x, double y) { // within two pixels of (x, y)
        const QImage shown = form->PaintBox1->grab().toImage();
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx) {
                const QRgb c = shown.pixel(WorldToPixelX(x) + dx, WorldToPixelY(y) + dy);
                if (qBlue(c) > 200 && qRed(c) < 120 && qGreen(c) < 120) return true;
            }
        return false;
    };
    QTest::mouseMove(form->PaintBox1, QPoint(WorldToPixelX(0), WorldToPixelY(0)));
    EXPECT_EQ(Trace(), "x = 0, y = 0, y′ = 4, угол 75.96°");
    // y = 4x, away from the graph (4 sin 1.5 is 3.99, 4 sin(-2) is -3.64).
    EXPECT_TRUE(blue(1.5, 6));
    EXPECT_TRUE(blue(-2, -8));
    EXPECT_FALSE(blue(8, -2)); // the normal y = -x/4: not yet
    form->NNormal->trigger();
    EXPECT_TRUE(blue(8, -2) || blue(8.2, -2.05)); // dashed
    EXPECT_TRUE(blue(-8, 2) || blue(-8.2, 2.05));
    // At x = -1 (20 pixels left): y = 4 sin(-1) + 4 cos(-1)(x + 1).
    QTest::keyClick(form->PaintBox1, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(form->PaintBox1, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(Trace().rfind("x = -1, y = -3.36588393923159, y′ = 2.16120922347256", 0), 0u)
        << Trace();
    EXPECT_FALSE(blue(1.5, 6));
    EXPECT_TRUE(blue(2, 4 * std::sin(-1.0) + 4 * std::cos(-1.0) * 3));
    form->NNormal->trigger();
}

TEST_F(AnalysisWindow, TheTraceOfAPolarCurveSnapsToItsSamples) {
    form->RadioButton2->setChecked(true);
    form->ComboBox1->setEditText("5");
    Type(form->Edit5, "0.5"); // samples at fi = 0, 0.5, 1 ...
    form->Button2Click();
    form->NTrace->trigger();
    // Near (0, 5): fi = 1.5 is the nearest sample.
    QTest::mouseMove(form->PaintBox1, QPoint(WorldToPixelX(0), WorldToPixelY(5)));
    EXPECT_EQ(Trace().rfind("fi = 1.5, x = 0.353686008338", 0), 0u) << Trace();
    QTest::keyClick(form->PaintBox1, Qt::Key_Right);
    EXPECT_EQ(Trace().rfind("fi = 2, ", 0), 0u) << Trace();
}

TEST_F(AnalysisWindow, PointsOfInterestFollowTheViewAndTellWhatTheyAre) {
    Plot({"sin(x)*3"});
    form->NPoints->trigger();
    const auto count = [&](TPointKind kind) {
        return std::count_if(form->Analysis->Points().Points.begin(),
                             form->Analysis->Points().Points.end(),
                             [&](const TGraphPoint& p) { return p.Kind == kind; });
    };
    EXPECT_EQ(count(TPointKind::Root), 7); // -3 pi ... 3 pi
    EXPECT_EQ(count(TPointKind::Maximum), 3);
    EXPECT_EQ(count(TPointKind::YIntercept), 1);
    // A ring in the graph's colour around the root at pi.
    const QImage shown = form->PaintBox1->grab().toImage();
    int blue = 0;
    for (int dx = -5; dx <= 5; ++dx)
        blue +=
            qBlue(shown.pixel(WorldToPixelX(3.141592653589793) + dx, WorldToPixelY(0) - 4)) > 200;
    EXPECT_GT(blue, 0);
    // A click on it says what it is.
    QTest::mouseClick(form->PaintBox1, Qt::LeftButton, {},
                      QPoint(WorldToPixelX(3.141592653589793), WorldToPixelY(0)));
    EXPECT_EQ(form->Analysis->InfoText().toStdString(),
              "Корень: x = 3.14159265358979, y = 0"); // rounding noise shows as 0
    EXPECT_EQ(ViewX1, -10);                           // the click moved nothing
    // Another formula: the label and the points of the last picture go.
    form->ComboBox1->setEditText("x^2-12");
    form->Button2Click();
    EXPECT_EQ(form->Analysis->InfoText(), QString());
    QTest::qWait(400);
    EXPECT_EQ(count(TPointKind::Root), 2); // -3.46 and 3.46 only
    form->ComboBox1->setEditText("sin(x)*3");
    form->Button2Click();
    QTest::qWait(400);
    // Zoomed in, once the view rests: the roots in the new view only.
    for (int i = 0; i < 6; ++i)
        form->Button3Click();
    QTest::qWait(400);
    EXPECT_EQ(count(TPointKind::Root), 3); // -pi, 0 and pi in -4.24 ... 4.24
}

TEST_F(AnalysisWindow, FindARootAnExtremumAnIntersectionAndAnArea) {
    Plot({"sin(x)", "x/4"});
    form->NFind->trigger();
    TFormFind* find = windows->FormFind.get();
    ASSERT_TRUE(find->isVisible());
    ASSERT_EQ(find->ComboBox1->count(), 2);
    const struct {
        int kind;
        const char *from, *to;
        const char* answer;
    } cases[] = {
        {0, "3", "4", "Корни на [3; 4]: x = 3.14159265358979, y = 0"},
        {2, "0", "3", "Максимумы на [0; 3]: x = 1.57079632"},
        {3, "1", "pi", "Пересечения на [1; 3.14159265358979]: x = 2.47457678"},
        {4, "0", "pi", "Площадь на [0; 3.14159265358979]: 2 (погрешность"},
    };
    for (const auto& c : cases) {
        find->ComboBox3->setCurrentIndex(c.kind);
        find->Edit1->setText(c.from);
        find->Edit2->setText(c.to);
        find->Button1->click();
        EXPECT_EQ(find->Label6->text().toStdString().rfind(c.answer, 0), 0u)
            << find->Label6->text().toStdString();
    }
    EXPECT_TRUE(failures.empty()) << failures[0];
    // An area that cannot be given says why.
    Plot({"1/x"});
    find->FormShow();
    find->ComboBox3->setCurrentIndex(4);
    find->Edit1->setText("-1"), find->Edit2->setText("1");
    find->Button1->click();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].find("не определена при x = 0"), std::string::npos) << failures[0];
}

} // namespace

namespace {

// The points the window marks are the points the command line prints for
// the file the window saves: both come the same way from the document.
TEST_F(AnalysisWindow, TheWindowAndTheCommandLineFindTheSamePoints) {
    Plot({"x^3/20-x", "cos(x)*3"});
    form->NPoints->trigger();
    form->Analysis->ComputePoints();
    std::vector<std::pair<double, double>> shown;
    for (const TGraphPoint& p : form->Analysis->Points().Points)
        shown.emplace_back(p.X, p.Y);
    ASSERT_GT(shown.size(), 5u);
    QTemporaryDir dir;
    const std::string path = QDir(dir.path()).filePath("points.mth").toStdString();
    ASSERT_TRUE(RunCommand([&] { form->WritePlotFile(path); }));
    const TCommandOutput out = AnalyseGraphs(GraphsOfFile(path), {}, {});
    std::vector<std::pair<double, double>> printed;
    const std::regex line("\"x\": ([-0-9.e+]+), \"y\": ([-0-9.e+]+)");
    for (auto m = std::sregex_iterator(out.Out.begin(), out.Out.end(), line);
         m != std::sregex_iterator(); ++m)
        printed.emplace_back(std::stod((*m)[1]), std::stod((*m)[2]));
    EXPECT_EQ(printed, shown);
}

} // namespace
