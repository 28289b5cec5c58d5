// Pictures of the two 2D modes made from a plot input alone, with no window:
// the view from the document, the request with its compiled formulas and
// step, and the composed image.
#include "plot2d/Picture.h"
#include "document/Limits.h"
#include "plot2d/View2D.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace {

constexpr QRgb Blue = 0xFF0000FF;

class Picture : public ::testing::Test {
  protected:
    void SetUp() override {
        PlotWidth = PlotHeight = 400;
        ApplyColours(DefaultColours());
        DecimalSeparatorChar = '.';
        input = DefaultPlotInput();
    }
    void TearDown() override { FreeAllTrees(); }
    QImage Compose() {
        ViewFromInput(input);
        request = PictureRequest(input, false, trees);
        return PictureImage(request);
    }
    // The graph's colour within one pixel of the world point (x, y).
    static bool Drawn(const QImage& image, double x, double y) {
        const int px = WorldToPixelX(x), py = WorldToPixelY(y);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if ((image.pixel(px + dx, py + dy) | 0xFF000000) == Blue) return true;
        return false;
    }

    TPlotInput input;
    TYxTrees trees;
    TPlotRequest request;
};

struct Point {
    double x, y;
    bool drawn;
};

// Each kind of curve at points it passes and at their mirror images, which
// it does not pass: a picture turned or reflected fails.
TEST_F(Picture, EachKindOfCurveFromTheDocumentAlone) {
    const double pi = 3.141592653589793;
    const struct {
        const char* name;
        int mode;
        TCoordinates coords;
        const char* formula; // y(x); for x(t),y(t) "x;y"
        std::vector<Point> points;
    } cases[] = {
        {"y = x*x/4 - 3",
         pmYx,
         TCoordinates::Cartesian,
         "x*x/4-3",
         {{2, -2, true}, {-4, 1, true}, {2, 2, false}, {4, -1, false}}},
        // The spiral r = fi passes (-pi, 0), (0, pi/2) and (0, -3pi/2).
        {"r = fi",
         pmYx,
         TCoordinates::Polar,
         "x",
         {{-pi, 0, true},
          {0, pi / 2, true},
          {0, -3 * pi / 2, true},
          {pi, 0, false},
          {0, -pi / 2, false},
          {0, 3 * pi / 2, false}}},
        {"the ellipse x = 6 cos t, y = 3 sin t",
         pmPlane,
         TCoordinates::Cartesian,
         "cos(t)*6;sin(t)*3",
         {{6, 0, true}, {0, 3, true}, {0, -3, true}, {0, 6, false}}},
        // fi(t) = t, r(t) = t/2 over 0 ... 2 pi: half the spiral.
        {"fi = t, r = t/2",
         pmPlane,
         TCoordinates::Polar,
         "t;t/2",
         {{-pi / 2, 0, true}, {0, pi / 4, true}, {pi / 2, 0, false}, {0, -pi / 4, false}}},
    };
    for (const auto& c : cases) {
        input = DefaultPlotInput();
        input.Mode = c.mode;
        input.Coordinates = c.coords;
        const std::string formula = c.formula;
        if (c.mode == pmYx) {
            input.Formula = formula;
        } else {
            input.Document.Formulas[fsPlaneX] = formula.substr(0, formula.find(';'));
            input.Document.Formulas[fsPlaneY] = formula.substr(formula.find(';') + 1);
        }
        const QImage image = Compose();
        ASSERT_EQ(image.size(), QSize(400, 400)) << c.name;
        for (const Point& p : c.points)
            EXPECT_EQ(Drawn(image, p.x, p.y), p.drawn) << c.name << " at " << p.x << ", " << p.y;
    }
}

// The pixel rule of cartesian y(x): the document's step 0.01 is finer than a
// pixel column, so the request takes the column's width and says what the
// step field then shows; in polar coordinates the step stays.
TEST_F(Picture, TheStepOfTheDocumentAndThePixelRule) {
    input.Formula = "x";
    Compose();
    ASSERT_EQ(request.Graphs.size(), 1u);
    EXPECT_EQ(request.Graphs[0].Step, 0.049999999999998934);
    EXPECT_EQ(request.StepText, "0.0499999999999989");
    input.MinimalStep = false;
    input.Document.Numbers[YxCartStep] = 1;
    Compose();
    EXPECT_EQ(request.Graphs[0].Step, 1);
    EXPECT_EQ(request.StepText, "");
    input.Coordinates = TCoordinates::Polar;
    Compose();
    EXPECT_EQ(request.Graphs[0].Step, 0.01);
    EXPECT_EQ(request.Kind, TCurveKind::Polar);
    EXPECT_EQ(request.To, 6.283185307179586);
}

// The whole list: one graph per item, in the colour of its place.
TEST_F(Picture, TheListDrawsEachItemInItsColour) {
    input.List = {"1", "2", "3"};
    input.AllFormulas = true;
    GraphColors[2] = 0x0000FF; // red
    Compose();
    ASSERT_EQ(request.Graphs.size(), 4u); // slot 0 stays empty
    EXPECT_EQ(request.Graphs[0].Tree, nullptr);
    EXPECT_EQ(request.Graphs[2].Colour, 0x0000FFu);
    const QImage image = PictureImage(request);
    EXPECT_EQ(image.pixel(WorldToPixelX(5), WorldToPixelY(2)) | 0xFF000000, 0xFFFF0000);
}

// Each graph of a list with the pen its document gives: the default pen is
// today's picture pixel for pixel; a wider one covers more, a dashed one
// less, a hidden one nothing, and a colour of its own replaces its place's.
TEST_F(Picture, EachGraphWithItsOwnPen) {
    input.List = {"x/2", "2"};
    input.AllFormulas = true;
    input.Grid = input.Axes = false;
    const auto count = [](const QImage& image, QRgb colour) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += (image.pixel(x, y) | 0xFF000000) == colour;
        return n;
    };
    const QImage today = Compose();
    const int thin = count(today, Blue);
    ASSERT_GT(thin, 700); // two lines across the area
    input.Pens = {TGraphPen{}, TGraphPen{}};
    EXPECT_EQ(Compose(), today);
    const struct {
        const char* name;
        TGraphPen pen;
        double low, high; // the blue pixels as a share of today's
        QRgb own;         // a colour of its own, counted apart
    } cases[] = {
        {"four pixels wide", {std::nullopt, 4, TLineStyle::Solid, true, "", {}}, 2.2, 3.2, 0},
        {"dashed", {std::nullopt, 1, TLineStyle::Dash, true, "", {}}, 0.7, 0.95, 0},
        {"dotted", {std::nullopt, 1, TLineStyle::Dot, true, "", {}}, 0.6, 0.9, 0},
        {"hidden", {std::nullopt, 1, TLineStyle::Solid, false, "", {}}, 0.45, 0.55, 0},
        {"red", {0x0000FF, 1, TLineStyle::Solid, true, "", {}}, 0.45, 0.55, 0xFFFF0000},
    };
    for (const auto& c : cases) {
        input.Pens = {c.pen, TGraphPen{}}; // the first graph's pen; the second as today
        const QImage image = Compose();
        const double share = static_cast<double>(count(image, Blue)) / thin;
        EXPECT_GE(share, c.low) << c.name;
        EXPECT_LE(share, c.high) << c.name;
        if (c.own != 0) {
            EXPECT_NEAR(count(image, c.own), thin / 2, thin / 10) << c.name;
        }
    }
}

// A list drawn on several threads is the picture of one thread, pixel for
// pixel, and leaves the cells and the error flag as one thread leaves them;
// a refused walk stops the picture at the same graph.
TEST_F(Picture, AListOnAnyNumberOfThreadsIsThePictureOfOne) {
    const struct {
        const char* name;
        std::vector<std::string> list;
        TCoordinates coordinates;
    } cases[] = {
        {"cartesian",
         {"sin(x)*3", "x^2/8-4", "sqrt(x)", "1/x", "ln(x)+t", "tg(x)", "x", "cos(x*5)", "2^x",
          "abs(x)-f"},
         TCoordinates::Cartesian},
        {"polar", {"1+sin(5*x)", "sqrt(x)", "x/2", "1/sin(x)"}, TCoordinates::Polar},
        {"random", {"rand(5)", "rand(3)*x", "x"}, TCoordinates::Cartesian},
    };
    for (const auto& c : cases) {
        input.List = c.list;
        input.AllFormulas = true;
        input.Coordinates = c.coordinates;
        for (int k = 0; k < 10; ++k)
            GraphColors[k] = 0x010203u * static_cast<unsigned>(k + 1);
        const auto picture = [&](int threads) {
            SetBuildThreads(threads);
            VarX = VarT = 0.5, VarF = 2, EvalError = false;
            SeedRandom(3);
            const QImage image = Compose();
            SetBuildThreads(0);
            return std::tuple(image, VarX, EvalError);
        };
        const auto one = picture(1);
        for (const int threads : {2, 3, 7}) {
            const auto many = picture(threads);
            EXPECT_TRUE(std::get<0>(many) == std::get<0>(one))
                << c.name << ", " << threads << " threads";
            EXPECT_EQ(std::get<1>(many), std::get<1>(one))
                << c.name << ", " << threads << " threads";
            EXPECT_EQ(std::get<2>(many), std::get<2>(one))
                << c.name << ", " << threads << " threads";
        }
    }
}

// The trees the walks keep from one picture to the next read each picture's
// cells, and are made again when a parameter's cell moves to another name.
TEST_F(Picture, KeptTreesReadEachPicturesCellsAndNames) {
    input.Formula = "a+f";
    const struct {
        std::vector<std::string> names;
        double p0, p1, f;
        double y; // the line drawn: a + f
    } steps[] = {
        {{"A"}, 3, 0, 0, 3},        {{"A"}, -2, 0, 0, -2},     {{"A"}, -2, 0, 4, 2},
        {{"B", "A"}, 7, -4, 0, -4}, {{"A", "B"}, 7, -4, 1, 8},
    };
    for (const auto& step : steps) {
        SetParameterNames(step.names);
        MainContext.P[0] = step.p0, MainContext.P[1] = step.p1, VarF = step.f;
        const QImage image = Compose();
        EXPECT_TRUE(Drawn(image, 5, step.y)) << step.y;
        for (const double other : {3.0, -2.0, 2.0, -4.0, 8.0, 7.0})
            if (other != step.y) {
                EXPECT_FALSE(Drawn(image, 5, other)) << step.y << " " << other;
            }
    }
    SetParameterNames({});
    VarF = 0;
}

// "Точный рисунок графиков": a graph drawn as the relation y = f(x) never
// joins across a pole, and follows a spike to the edge; the sampled graph
// is as it was without it.
TEST_F(Picture, ExactGraphsAreProvenPixelByPixel) {
    const auto blueIn = [](const QImage& image, int column, int row1, int row2) {
        int n = 0;
        for (int row = row1; row <= row2; ++row)
            n += (image.pixel(column, row) | 0xFF000000) == Blue;
        return n;
    };
    input.Formula = "tg(x)";
    const QImage sampled = Compose();
    input.ExactGraphs = true;
    const QImage exact = Compose();
    EXPECT_FALSE(exact == sampled);
    // The column of x = pi/2 (1.55 .. 1.6) holds no |y| below 8.
    const int pole = WorldToPixelX(1.5707963267948966);
    EXPECT_EQ(blueIn(exact, pole, WorldToPixelY(8), WorldToPixelY(-8)), 0);
    // Beside it the curve is drawn: x = 1 has tg 1.557.
    EXPECT_TRUE(Drawn(exact, 1, std::tan(1.0)));
    input.Formula = "x*(x-3)/(x-3.001)";
    const QImage spike = Compose();
    int top = 0;
    for (int column = 0; column < PlotWidth; ++column)
        top += blueIn(spike, column, 1, 1);
    EXPECT_GT(top, 0);
    input.ExactGraphs = false;
    EXPECT_TRUE(Compose() != spike);
    input.Formula = "tg(x)";
    EXPECT_TRUE(Compose() == sampled);
}

// While an animation runs, the trees compiled once serve every frame until
// another build compiles into the slots.
// f′ dashed, f″ dotted and ∫f dash-dotted, in the graph's colour, at points
// of their closed forms and not at their mirror images; f′ has no value
// where f has none, and ∫f says where it stops.
TEST_F(Picture, DerivativesAndAntiderivativesBesideAGraph) {
    const double pi = 3.141592653589793;
    const struct {
        const char* formula;
        TGraphCalculus calculus;
        std::vector<Point> points;
    } rows[] = {
        {"sin(x)",
         {true, false, false, 0, 0},
         {{0, 1, true}, {pi, -1, true}, {0.3, -0.955, false}}},
        {"sin(x)",
         {false, true, false, 0, 0},
         {{pi / 2, -1, true}, {-pi / 2, 1, true}, {-pi / 2 - 0.5, -1, false}}},
        {"sin(x)",
         {false, false, true, 0, 2},
         {{pi / 2, 3, true}, {pi, 4, true}, {-pi / 2, 3, true}, {pi / 2, -3, false}}},
        {"x^3/3",
         {true, true, false, 0, 0},
         {{2, 4, true}, {-2, 4, true}, {2, 2, false}, {-1.5, -3, true}}},
        {"ln(x)",
         {true, false, false, 0, 0},
         {{1, 1, true}, {4, 0.25, true}, {-1, -1, false}, {-4, -0.25, false}}},
    };
    // (∫ sin through (0, 2) is 3 - cos.)
    for (const auto& row : rows) {
        input.Formula = row.formula;
        input.FormulaCalculus = {};
        const QImage plain = Compose();
        input.FormulaCalculus = row.calculus;
        const QImage image = Compose();
        for (const Point& point : row.points) {
            if (Drawn(plain, point.x, point.y)) continue; // the graph itself is there
            EXPECT_EQ(Drawn(image, point.x, point.y), point.drawn)
                << row.formula << " at (" << point.x << ", " << point.y << ")";
        }
    }
    // Beside a graph drawn exactly too, but not beside a relation.
    input.Formula = "sin(x)";
    input.FormulaCalculus = {true, false, false, 0, 0};
    input.ExactGraphs = true;
    EXPECT_TRUE(Drawn(Compose(), 3.141592653589793, -1));
    input.ExactGraphs = false;
    input.Formula = "y=sin(x)";
    Compose();
    EXPECT_TRUE(request.Beside.empty());
    // A list row draws its own, from its pen.
    input.AllFormulas = true;
    input.List = {"x^2"};
    input.Pens.resize(1);
    input.Pens[0].Colour = 0xFF0000; // blue as the colour block keeps it
    input.Pens[0].Calculus.First = true;
    EXPECT_TRUE(Drawn(Compose(), 3, 6));
    input.Pens[0].Calculus.First = false;
    EXPECT_FALSE(Drawn(Compose(), 3, 6));
    // ∫ 1/x from 1 stops at the pole.
    input.AllFormulas = false;
    input.Formula = "1/x";
    input.FormulaCalculus = {false, false, true, 1, 0};
    ViewFromInput(input);
    TRelationProgress progress;
    const QImage image = PictureImage(PictureRequest(input, false, trees), 1, {}, &progress);
    ASSERT_EQ(progress.Notes.size(), 1u);
    EXPECT_NE(progress.Notes[0].find("полюс"), std::string::npos) << progress.Notes[0];
    EXPECT_TRUE(Drawn(image, std::exp(2.0), 2));
    // A derivative too long to make is told.
    input.Formula = "sin(x)";
    for (int k = 1; k < 1000; ++k)
        input.Formula += "*sin(x+" + std::to_string(k) + ")";
    input.FormulaCalculus = {true, false, false, 0, 0};
    TRelationProgress told;
    PictureImage(PictureRequest(input, false, trees), 1, {}, &told);
    ASSERT_EQ(told.Notes.size(), 1u);
    EXPECT_NE(told.Notes[0].find("слишком длинна"), std::string::npos);
}

TEST_F(Picture, AnimationFramesReuseTheTrees) {
    input.Formula = "sin(x)";
    Compose();
    const TExprNode* compiled = FormulaTrees[0];
    request = PictureRequest(input, true, trees);
    EXPECT_EQ(FormulaTrees[0], compiled);
    CompileFormula(5, "x"); // another build
    request = PictureRequest(input, true, trees);
    EXPECT_EQ(FormulaTrees[5], nullptr); // compiled afresh: only slot 0 holds a tree
    EXPECT_NE(FormulaTrees[0], nullptr);
}

// Other modes have no 2D picture: the background alone, trees untouched.
TEST_F(Picture, ThreeDModesGiveTheBackgroundAlone) {
    CompileFormula(2, "y");
    input.Mode = pmSurface;
    Compose();
    EXPECT_TRUE(request.Graphs.empty());
    EXPECT_NE(FormulaTrees[2], nullptr);
}

TEST_F(Picture, AViewThatCannotBeUsedIsRefused) {
    input.Document.Numbers[YxCartX1] = -1e308;
    input.Document.Numbers[YxCartX2] = 1.7e308;
    EXPECT_THROW(ViewFromInput(input), BuildRefused);
}

} // namespace

namespace {

// The printed page: the picture in a square within the margins, nothing of
// it beyond the square even where the graph runs off to poles, and the
// caption alone under it; inside the square, the plot area's picture.
TEST_F(Picture, ThePrintedPageHoldsThePictureInItsSquare) {
    input.Formula = "tg(x)";
    const QImage area = Compose();
    QImage page(600, 850, QImage::Format_RGB32);
    page.fill(Qt::white);
    QRect square;
    {
        QPainter p(&page);
        ComposePrintPage(p, page.rect(), QFont(QStringLiteral("Liberation Sans"), 11),
                         QStringLiteral("y = tg(x)"), [&](QPainter& q, const QRect& s) {
                             square = s;
                             ComposePictureInto(q, s, request);
                         });
    }
    EXPECT_EQ(square.width(), square.height());
    EXPECT_GE(square.left(), 30);
    EXPECT_LE(square.right(), 570);
    // Ink outside the square: only the caption, in one band under it.
    int top = page.height(), bottom = -1;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (!square.contains(x, y) && qGray(page.pixel(x, y)) < 200)
                top = std::min(top, y), bottom = std::max(bottom, y);
    EXPECT_GT(top, square.bottom());
    EXPECT_LT(bottom - top, 20);
    // At 540 / 400 of the area's scale, the picture's pixels where the area has its graph.
    int graph = 0, kept = 0;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 400; ++x) {
            if ((area.pixel(x, y) | 0xFF000000) != Blue) continue;
            ++graph;
            bool near = false; // within a pixel of where the scale takes it
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx) {
                    const QRgb q = page.pixel(square.left() + x * square.width() / 400 + dx,
                                              square.top() + y * square.height() / 400 + dy);
                    near = qBlue(q) > 150 && qRed(q) < 150;
                }
            kept += near;
        }
    EXPECT_GT(graph, 500);
    EXPECT_GT(kept, graph * 95 / 100);
}

// Which graphs a y(x) picture draws, numbered as the window numbers them.
TEST(YxGraphs, TheBoxOrTheListNumberedAsTheWindowShowsThem) {
    TPlotInput input;
    input.Formula = "x";
    input.List = {"sin(x)", "", "x^2", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    const auto numbers = [&] {
        std::vector<int> n;
        for (const TYxGraph& g : YxGraphs(input))
            n.push_back(g.Number);
        return n;
    };
    EXPECT_EQ(numbers(), std::vector<int>{0});
    input.AllFormulas = true; // the list's items, the empty one left out
    EXPECT_EQ(numbers(), (std::vector<int>{1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    input.List.resize(MaxListFormulas + 5, "x");
    EXPECT_EQ(YxGraphs(input).size(), static_cast<std::size_t>(MaxListFormulas - 1));
    EXPECT_EQ(YxGraphs(input)[1].Formula, "x^2");
    input.AllFormulas = false;
    input.Formula.clear();
    EXPECT_TRUE(YxGraphs(input).empty());
}

} // namespace

namespace {

// What analysis draws over the picture, on white: each part where its
// point's pixel is, in its colour, and nothing elsewhere.
TEST(Overlay, EachPartLiesAtItsPointInItsColour) {
    PlotWidth = PlotHeight = 400;
    SetView(-10, 10, -10, 10, true);
    QImage image(400, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    TOverlay o;
    o.Rings = {{0, 0, ClBlue}};
    o.Marks = {{5, 5, ClGreen}};
    o.Trace = QPointF(-5, -5);
    o.TraceText = "x = -5, y = -5";
    o.Shade << QPointF(250, 300) << QPointF(350, 300) << QPointF(350, 350) << QPointF(250, 350);
    o.ShadeColour = 0x0000FF; // red
    {
        QPainter p(&image);
        ComposeOverlay(p, o);
    }
    const auto pixel = [&](double x, double y, int dx = 0, int dy = 0) {
        return QColor(image.pixel(WorldToPixelX(x) + dx, WorldToPixelY(y) + dy));
    };
    // The ring: blue on its circle of radius 4, white at its centre.
    EXPECT_GT(pixel(0, 0, 4, 0).blue(), 200);
    EXPECT_LT(pixel(0, 0, 4, 0).red(), 128);
    EXPECT_EQ(pixel(0, 0), QColor(Qt::white));
    // The mark: filled green.
    EXPECT_EQ(pixel(5, 5).rgb() & 0xFFFFFF, 0x008000u);
    // The cross: black seven pixels either way, the label above right.
    for (const int d : {-7, -3, 3, 7}) {
        EXPECT_EQ(pixel(-5, -5, d, 0), QColor(Qt::black)) << d;
        EXPECT_EQ(pixel(-5, -5, 0, d), QColor(Qt::black)) << d;
    }
    EXPECT_EQ(pixel(-5, -5, 8, 8), QColor(Qt::white));
    EXPECT_EQ(QColor(image.pixel(WorldToPixelX(-5) + 12, WorldToPixelY(-5) - 10)),
              QColor(255, 255, 225));
    // The area: red made light, within its outline only.
    const QColor shaded(image.pixel(300, 325));
    EXPECT_EQ(shaded.red(), 255);
    EXPECT_GT(shaded.green(), 150);
    EXPECT_LT(shaded.green(), 255);
    EXPECT_EQ(QColor(image.pixel(240, 325)), QColor(Qt::white));
}

} // namespace
