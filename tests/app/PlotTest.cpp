#include "AppTestSupport.h"

#include <array>
#include <cmath>

namespace {

constexpr QRgb Blue = 0xFF0000FF, Red = 0xFFFF0000;

TEST_F(WindowTest, TheBuildDrawsTheTypedFormula) {
    EXPECT_EQ(CountPixels(Blue), 0); // the first build has an empty formula box
    form->ComboBox1->setEditText("sin(x)");
    form->Button2Click();
    EXPECT_GT(CountPixels(Blue), 300);
    // The sine passes through the origin and through (pi/2, 1) = pixel (231, 180).
    EXPECT_EQ(form->PaintBox1->Picture.pixel(231, 180) | 0xFF000000, Blue);
    EXPECT_TRUE(failures.empty());
}

TEST_F(WindowTest, EnterInTheFormulaBoxBuildsAndDoesNotAddToTheList) {
    form->ComboBox1->setEditText("x");
    form->ComboBox1KeyPress(KeyEnter);
    EXPECT_GT(CountPixels(Blue), 300);
    EXPECT_EQ(form->ComboBox1->count(), 0);
}

TEST_F(WindowTest, ADivisionByZeroPlotsNothingAndReportsNothing) {
    form->ComboBox1->setEditText("1/0");
    form->Button2Click();
    EXPECT_EQ(CountPixels(Blue), 0);
    EXPECT_TRUE(failures.empty());
}

TEST_F(WindowTest, AMalformedNumberInTheFormulaIsReported) {
    form->ComboBox1->setEditText("x+1.2.3");
    form->Button2Click();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0], "'1.2.3' is not a valid floating point value");
}

TEST_F(WindowTest, PolarCircleAndParametricCircle) {
    form->RadioButton2->setChecked(true);
    form->ComboBox1->setEditText("5");
    form->Button2Click();
    const QImage& polar = form->PaintBox1->Picture;
    EXPECT_EQ(polar.pixel(300, 200) | 0xFF000000, Blue); // (5, 0)
    EXPECT_EQ(polar.pixel(200, 100) | 0xFF000000, Blue); // (0, 5)
    EXPECT_NE(polar.pixel(250, 150) | 0xFF000000, Blue); // inside the circle

    form->N2DxytClick();
    Type(form->Edit2, "5*cos(t)");
    Type(form->Edit6, "5*sin(t)");
    Type(form->Edit4, "6.3");
    Type(form->Edit5, "0.01");
    form->Button2Click();
    EXPECT_EQ(form->PaintBox1->Picture.pixel(300, 200) | 0xFF000000, Blue);
    Type(form->Edit5, "0"); // step 0 draws nothing
    form->Button2Click();
    EXPECT_EQ(CountPixels(Blue), 0);
}

TEST_F(WindowTest, TheFormulaList) {
    QComboBox* box = form->ComboBox1;
    for (const char* f : {"sin(x)", "cos(x)", "sin(x)"}) {
        box->setEditText(f);
        form->Button5Click();
    }
    EXPECT_EQ(box->count(), 3);
    box->setEditText("SIN(X)");
    form->Button6Click(); // case matters: nothing removed
    EXPECT_EQ(box->count(), 3);
    box->setEditText("sin(x)");
    form->Button6Click(); // only the first
    ASSERT_EQ(box->count(), 2);
    EXPECT_EQ(box->itemText(0).toStdString(), "cos(x)");
    EXPECT_EQ(box->itemText(1).toStdString(), "sin(x)");
    EXPECT_EQ(box->currentText().toStdString(), "sin(x)");
    box->setEditText("");
    form->Button5Click(); // an empty text is not added
    EXPECT_EQ(box->count(), 2);
    form->Button7Click();
    EXPECT_EQ(box->count(), 0);
    EXPECT_TRUE(failures.empty());
}

TEST_F(WindowTest, TheListGrowsBeyondTenUpToItsLimit) {
    for (int k = 1; k <= 12; ++k) {
        form->ComboBox1->setEditText(QString("x+%1").arg(k));
        form->Button5Click();
    }
    EXPECT_EQ(form->ComboBox1->count(), 12);
    EXPECT_TRUE(failures.empty());
    form->CheckBox1->setChecked(true);
    form->Button2Click();
    for (int s = 1; s <= 12; ++s)
        EXPECT_NE(FormulaTrees[s], nullptr) << s;
    EXPECT_EQ(FormulaTrees[0], nullptr);
    EXPECT_EQ(FormulaTrees[13], nullptr);
    // The eleventh graph takes the first graph's colour again.
    for (int k = 0; k < GraphColourCount; ++k)
        GraphColors[k] = static_cast<TColorValue>(0x010101 * k);
    EXPECT_EQ(ListGraphColour(GraphColors, 11), GraphColors[1]);
    EXPECT_EQ(ListGraphColour(GraphColors, 20), GraphColors[10]);
    while (form->ComboBox1->count() < MaxListFormulas)
        form->ComboBox1->addItem(QString("x-%1").arg(form->ComboBox1->count()));
    form->ComboBox1->setEditText("x*2");
    form->Button5Click();
    EXPECT_EQ(form->ComboBox1->count(), MaxListFormulas);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].find("1000"), std::string::npos) << failures[0];
}

TEST_F(WindowTest, ListItemsTakeTheColoursOfTheirSlots) {
    GraphColors[0] = 0x00FF00; // green: the single formula only
    GraphColors[1] = 0x0000FF; // red: the first list item
    form->ComboBox1->setEditText("x");
    form->Button5Click();
    form->ComboBox1->setEditText("-x");
    form->Button2Click();
    EXPECT_EQ(CountPixels(Red), 0);
    form->CheckBox1->setChecked(true);
    form->Button2Click();
    EXPECT_GT(CountPixels(Red), 300); // item "x" in the colour of graph 1
    form->Button7Click();
    form->Button2Click();
    EXPECT_EQ(CountPixels(Red), 0); // "Все" with an empty list: axes and grid only
    ApplyColours(DefaultColours());
}

TEST_F(WindowTest, DragPans) {
    form->PaintBox1MouseDown(TMouseButton::Left, 200, 200);
    form->PaintBox1MouseMove(220, 190);
    form->PaintBox1MouseUp(TMouseButton::Left);
    EXPECT_EQ(Text(form->Edit26), "-11");
    EXPECT_EQ(Text(form->Edit24), "-10.5");
    EXPECT_FALSE(Panning);
    form->PaintBox1MouseMove(240, 190); // no button: no pan
    EXPECT_EQ(Text(form->Edit26), "-11");
}

TEST_F(WindowTest, TheRightButtonZoomsToABox) {
    form->PaintBox1MouseDown(TMouseButton::Right, 100, 100);
    form->PaintBox1MouseMove(300, 150);
    EXPECT_EQ(BoxRight, 300);
    form->PaintBox1MouseUp(TMouseButton::Right);
    EXPECT_EQ(Text(form->Edit26), "-5");
    EXPECT_EQ(Text(form->Edit25), "5");
    EXPECT_EQ(Text(form->Edit24), "-5");
    EXPECT_EQ(Text(form->Edit23), "5");

    form->PaintBox1MouseDown(TMouseButton::Right, 50, 50); // a right click alone
    form->PaintBox1MouseUp(TMouseButton::Right);
    EXPECT_EQ(Text(form->Edit26), "-5");
}

TEST_F(WindowTest, CursorCoordinatesBelowThePlotArea) {
    form->PaintBox1MouseMove(0, 400);
    EXPECT_EQ(Text(form->Label25), "-10");
    EXPECT_EQ(Text(form->Label26), "-10");
    form->PaintBox1MouseMove(200, 200);
    EXPECT_EQ(Text(form->Label25), "0");
}

TEST_F(WindowTest, ZoomButtonsAndTheWheel) {
    form->Button3Click();
    EXPECT_EQ(Text(form->Edit26), "-8.66666666666667");
    EXPECT_EQ(Text(form->Edit25), "8.66666666666667");
    Open(QLocale(QLocale::C));
    form->FormMouseWheel(120); // away from the user: zoom out
    EXPECT_EQ(Text(form->Edit26), "-11.3333333333333");
    form->FormMouseWheel(0);
    EXPECT_EQ(Text(form->Edit26), "-11.3333333333333");
    form->N3DzxyClick(); // no zoom buttons: the wheel does nothing
    const double x1 = ViewX1;
    form->FormMouseWheel(-120);
    EXPECT_EQ(ViewX1, x1);
}

TEST_F(WindowTest, AxesSwitchTurnsTheGridWithIt) {
    form->N6Click();
    EXPECT_FALSE(form->N6->isChecked());
    EXPECT_FALSE(form->CheckBox7->isChecked());
    EXPECT_NE(form->PaintBox1->Picture.pixel(100, 200) | 0xFF000000, 0xFF008000u);
    form->N6Click();
    EXPECT_TRUE(form->CheckBox7->isChecked());
    form->N3DzxyClick();
    form->CheckBox7->setChecked(false);
    form->N6Click(); // in a 3D mode the grid box stays as it is
    EXPECT_FALSE(form->CheckBox7->isChecked());
}

TEST_F(WindowTest, EqualScalesSwitchEnablesY2) {
    EXPECT_FALSE(form->Edit23->isEnabled());
    form->CheckBox6->setChecked(false);
    EXPECT_TRUE(form->Edit23->isEnabled());
    Type(form->Edit23, "30");
    form->Button2Click();
    EXPECT_EQ(ViewY2, 30); // used as typed
    form->CheckBox6->setChecked(true);
    EXPECT_EQ(ViewY2, 10); // from x1, x2 and y1 again
    EXPECT_EQ(Text(form->Edit23), "10");
}

} // namespace

namespace {

// The repaint a build asks for shows that build's picture; any later one
// draws the document anew (new colours show) and reads and writes no field.
TEST_F(WindowTest, RepaintsDrawTheDocumentAndLeaveTheFieldsAlone) {
    form->ComboBox1->setEditText("x");
    form->Button2Click();
    Type(form->Edit5, "2*3");
    Type(form->Edit24, "4+");
    GraphColors[0] = 0x0000FF; // red
    form->PaintBox1Paint();    // shows the build that asked for it
    EXPECT_EQ(CountPixels(0xFFFF0000), 0);
    form->PaintBox1Paint();
    EXPECT_GT(CountPixels(0xFFFF0000), 300);
    EXPECT_EQ(Text(form->Edit5), "2*3");
    EXPECT_EQ(Text(form->Edit24), "4+");
    EXPECT_EQ(ViewY1, -10);
    EXPECT_TRUE(failures.empty());
    ApplyColours(DefaultColours());
}

} // namespace

#include <QTest>

namespace {

// The real key path: typed text and Enter, through the window's key handling.
TEST_F(WindowTest, TypingAFormulaAndEnterBuilds) {
    form->show();
    QTest::keyClicks(form->ComboBox1, "x*x");
    QTest::keyClick(form->ComboBox1, Qt::Key_Return);
    EXPECT_GT(CountPixels(Blue), 100);
    EXPECT_EQ(form->ComboBox1->count(), 0); // Enter did not add the text to the list

    form->Edit24->clear();
    QTest::keyClicks(form->Edit24, "-2*3");
    EXPECT_TRUE(RangeEditsDirty);
    QTest::keyClick(form->Edit24, Qt::Key_Return);
    EXPECT_EQ(Text(form->Edit24), "-6");
    EXPECT_EQ(ViewY1, -10); // a typed range takes effect at the next build, not on Enter
    form->Button2->click();
    EXPECT_EQ(ViewY1, -6);
    EXPECT_TRUE(failures.empty());
}

TEST_F(WindowTest, TheWheelOverThePlotAreaZooms) {
    form->show();
    QWheelEvent wheel(QPointF(100, 100), form->PaintBox1->mapToGlobal(QPointF(100, 100)), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(form->PaintBox1, &wheel);
    EXPECT_EQ(Text(form->Edit26), "-11.3333333333333");
}

} // namespace

namespace {

// Typing key by key, with the events between the keys delivered as a real
// keyboard has them: the x2 field lies over the plot area's bottom row, so
// each key repaints the area, and that repaint must neither evaluate nor
// rewrite any field.
TEST_F(WindowTest, TypingIntoARangeFieldRewritesNoField) {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    Type(form->Edit24, "2+3");
    for (const char* typed : {"-20", "a-b", "1E300", "3*4/2"}) {
        form->Edit25->setFocus();
        form->Edit25->selectAll();
        for (const char* c = typed; *c != 0; ++c) {
            QTest::keyClick(form->Edit25, *c);
            QTest::qWait(2);
        }
        EXPECT_EQ(Text(form->Edit25), typed);
        EXPECT_EQ(Text(form->Edit24), "2+3");
    }
    // Enter evaluates the field typed in, and only that one.
    QTest::keyClick(form->Edit25, Qt::Key_Return);
    EXPECT_EQ(Text(form->Edit25), "6");
    EXPECT_EQ(Text(form->Edit24), "2+3");
    EXPECT_TRUE(failures.empty());
}

// A view of no width or no height draws nothing that could be seen: it is
// refused like a view whose numbers overflow, and the last good view stays.
TEST_F(WindowTest, AViewWithoutWidthOrHeightIsRefused) {
    form->CheckBox6->setChecked(false);
    failures.clear();
    for (const auto& [x1, x2, y1, y2] : {std::array<const char*, 4>{"5", "5", "-10", "10"},
                                         std::array<const char*, 4>{"-10", "10", "3", "3"}}) {
        Type(form->Edit26, x1);
        Type(form->Edit25, x2);
        Type(form->Edit24, y1);
        Type(form->Edit23, y2);
        form->Button2Click();
        ASSERT_EQ(failures.size(), 1u) << x1 << " " << y1;
        EXPECT_EQ(failures[0].rfind("Такой вид не помещается", 0), 0u) << failures[0];
        EXPECT_EQ(ViewX1, -10);
        EXPECT_EQ(ViewX2, 10);
        EXPECT_EQ(Text(form->Edit25), "10");
        failures.clear();
    }
    // "+" far from the origin until the edges would meet: refused before.
    Type(form->Edit26, "1000000");
    Type(form->Edit25, "1000020");
    Type(form->Edit24, "1000000");
    Type(form->Edit23, "1000020");
    form->Button2Click();
    for (int i = 0; i < 1000 && failures.empty(); ++i)
        form->Button3Click();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_LT(ViewX1, ViewX2);
    EXPECT_LT(ViewY1, ViewY2);
}

} // namespace
