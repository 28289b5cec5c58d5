#include "AppTestSupport.h"

namespace {

// The same cases under a point and a comma locale.
class Fields : public WindowTest, public ::testing::WithParamInterface<const char*> {
  protected:
    void SetUp() override { Open(QLocale(QString::fromUtf8(GetParam()))); }
};
INSTANTIATE_TEST_SUITE_P(Locales, Fields, ::testing::Values("C", "ru_RU"), [](const auto& info) {
    return std::string(info.param) == "C" ? "point" : "comma";
});

TEST_P(Fields, TheSeparatorComesFromTheLocale) {
    EXPECT_EQ(DecimalSeparatorChar, std::string(GetParam()) == "C" ? '.' : ',');
    EXPECT_EQ(Text(form->Edit4), Local("6.28318530717959"));
}

TEST_P(Fields, EnterTurnsAFormulaIntoItsValue) {
    FrameCounter = 0;
    const struct {
        const char* typed;
        const char* shown; // '.' for the separator
    } cases[] = {
        {"2*pi", "6.28318530717959"},
        {"pi/2", "1.5707963267949"},
        {"sqrt(-1)", "Error!"},
        {"", "Error!"},
        {"x", "0"},
        {"1e3", "1000"},
        {"f", "0"},
        {"1/0", "Error!"},
        {"0^(-1)", "Error!"},
        {"2.5", "2.5"},
        {"2,5", "2.5"},
        {"-7", "-7"},
        {"0.000001", "1E-6"},
        {"y", "Error!"},
        {"abc", "Error!"},
    };
    for (QLineEdit* field : {form->Edit1, form->Edit5, form->Edit12, form->Edit24}) {
        for (const auto& c : cases) {
            Enter(field, c.typed);
            EXPECT_EQ(Text(field), Local(c.shown)) << c.typed;
        }
    }
    Enter(form->Edit3, "tg(pi/2)");
    EXPECT_GT(StrToFloat(Text(form->Edit3)), 1e15);
    FrameCounter = 7;
    Enter(form->Edit3, "f");
    EXPECT_EQ(Text(form->Edit3), "7");
    FrameCounter = 0;
    EXPECT_TRUE(failures.empty());
}

TEST_P(Fields, AMalformedNumberInAFormulaIsReportedAndTheFieldKeepsItsText) {
    Enter(form->Edit3, "1.2.3*x");
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0], "'" + Local("1.2.3") + "' is not a valid floating point value");
    EXPECT_EQ(Text(form->Edit3), "1.2.3*x");
}

TEST_P(Fields, KeysOtherThanEnterDoNothing) {
    Type(form->Edit3, "2*pi");
    form->EvalNumberField(form->Edit3, 'a');
    EXPECT_EQ(Text(form->Edit3), "2*pi");
}

TEST_P(Fields, ValueOfTheFormulaAtX0) {
    const struct {
        const char* formula;
        const char* x0;
        const char* shown;
    } cases[] = {{"x^2", "3", "9"},
                 {"y", "3", "Error!"},
                 {"sin(x)", "0", "0"},
                 {"x/2", "1.5", "0.75"},
                 {"sqrt(x)", "-4", "Error!"}};
    for (const auto& c : cases) {
        form->ComboBox1->setEditText(QString::fromUtf8(c.formula));
        Type(form->Edit1, Local(c.x0).c_str());
        RunCommand([&] { form->Button1Click(); });
        EXPECT_EQ(Text(form->Label1), Local(c.shown)) << c.formula;
    }
    EXPECT_TRUE(failures.empty());
    form->Label1->setText("kept");
    Type(form->Edit1, "x"); // not a plain number
    RunCommand([&] { form->Button1Click(); });
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0], "'x' is not a valid floating point value");
    EXPECT_EQ(Text(form->Label1), "kept");
}

TEST_P(Fields, NormalisationLeavesPlainNumbersOnly) {
    const struct {
        int field;
        const char* typed;
        const char* normalised;
    } cases[] = {
        {5, "-0.5", "0.5"},
        {12, "0", "0"},
        {3, "2*pi", "6.28318530717959"},
        {4, "0.000001", "1E-6"},      // the program's own text of a small number is kept
        {10, "-0.0000025", "2.5E-6"}, // a step made non-negative
        {8, "abc", "0"},
        {11, "-2", "-2"},
        {13, "sqrt(-1)", "0"},
        {14, "-0.25", "0.25"},
        {23, "2*5", "10"},
        {9, "1e3", "1000"},
    };
    for (const auto& c : cases)
        Type(form->EditN(c.field), c.typed);
    RunCommand([&] { form->NormaliseParamFields(); });
    for (const auto& c : cases)
        EXPECT_EQ(Text(form->EditN(c.field)), Local(c.normalised)) << c.typed;
    EXPECT_TRUE(failures.empty());
}

// A шаг2 or view field that is no number stops the builds of its own mode,
// with the conversion's message and the field's place; a bad field of
// another mode stops nothing.
TEST_P(Fields, BadFieldsStopOnlyTheBuildsOfTheirMode) {
    form->N3DFxyzClick();
    form->Edit14->setFocus();
    Type(form->Edit14, "abc"); // шаг2 of X
    form->Edit14->clearFocus();
    form->N3DzxyClick(); // its fields only are built from here
    form->N2DyxClick();
    form->Button2Click();
    form->Button3Click(); // zoom
    EXPECT_TRUE(failures.empty()) << failures[0];
    form->N3DzxyClick();
    Type(form->Edit7, "x*y");
    RunCommand([this] { form->Button8Click(); });
    EXPECT_TRUE(failures.empty()) << failures[0];

    form->N3DFxyzClick();
    Type(form->Edit14, "abc");
    RunCommand([this] { form->Button11Click(); });
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0], "'Error!' is not a valid floating point value: шаг2 (X), режим "
                           "F(x,y,z)=0");
    EXPECT_EQ(Text(form->Edit14), "Error!");

    form->N2DyxClick();
    failures.clear();
    Type(form->Edit26, "zzz");
    form->Button2Click();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0], "'Error!' is not a valid floating point value: x1, режим y(x)");
}

TEST_P(Fields, ARepaintWithAPendingErrorKeepsThePictureAndShowsNoMessage) {
    const QImage before = form->PaintBox1->Picture;
    Type(form->Edit25, "Error!");
    form->Button2Click();
    EXPECT_EQ(failures.size(), 1u);
    for (int i = 0; i < 3; ++i)
        form->PaintBox1Paint();
    EXPECT_EQ(failures.size(), 1u);
    EXPECT_EQ(form->PaintBox1->Picture, before);
    Type(form->Edit25, "10");
    form->Button2Click();
    EXPECT_EQ(failures.size(), 1u);
}

TEST_P(Fields, CaptureStoresTheCurrentModeAndCoordinateSet) {
    form->RadioButton2->setChecked(true);
    Type(form->Edit5, Local("0.02").c_str());
    Type(form->Edit24, "-8");
    const double cartStep = PlotDocument.Numbers[YxCartStep];
    form->Button2Click();
    EXPECT_EQ(PlotDocument.Numbers[YxPolarStep], 0.02);
    EXPECT_EQ(PlotDocument.Numbers[YxPolarY1], -8);
    EXPECT_EQ(PlotDocument.Numbers[YxCartStep], cartStep);
    EXPECT_EQ(PlotDocument.Numbers[YxCartY1], -10);
    EXPECT_EQ(PlotDocument.Numbers[YxPhiMax], StrToFloat(Local("6.28318530717959")));

    form->N3DzxyClick();
    const std::string longFormula(150, 'x');
    Type(form->Edit7, longFormula.c_str());
    Type(form->Edit3, "-4");
    form->CaptureDocument();
    EXPECT_EQ(PlotDocument.Formulas[fsSurfaceZ], std::string(100, 'x'));
    EXPECT_EQ(Text(form->Edit7), longFormula);
    EXPECT_EQ(PlotDocument.Numbers[SurfXMin], -4);
    form->N3DxyztClick();
    form->N3DzxyClick();
    EXPECT_EQ(Text(form->Edit7), std::string(100, 'x'));
}

TEST_P(Fields, CaptureStopsAtTheFirstFieldThatIsNoNumber) {
    form->N3DxyzuvClick();
    Type(form->Edit3, "-1");
    Type(form->Edit4, "oops");
    Type(form->Edit5, "0.5");
    EXPECT_FALSE(RunCommand([&] { form->CaptureDocument(); }));
    EXPECT_EQ(PlotDocument.Numbers[PatchUMin], -1);
    // As the field showed it when the mode was chosen (15 digits), not π itself.
    EXPECT_EQ(PlotDocument.Numbers[PatchUMax], 3.14159265358979);
}

TEST_F(WindowTest, ChangeHandlersFireOnlyForADifferentText) {
    RangeEditsDirty = false;
    SetEditText(form->Edit24, form->Edit24->text());
    EXPECT_FALSE(RangeEditsDirty);
    SetEditText(form->Edit24, "-9");
    EXPECT_TRUE(RangeEditsDirty);

    int clicks = 0;
    QObject::connect(form->RadioButton1, &QRadioButton::toggled, [&](bool on) { clicks += on; });
    form->RadioButton1->setChecked(true); // already checked: no click
    EXPECT_EQ(clicks, 0);
}

TEST_F(WindowTest, ClosingFreesTheTreesAndStopsTheAnimation) {
    form->ComboBox1->setEditText("x");
    form->Button2Click();
    EXPECT_NE(FormulaTrees[0], nullptr);
    form->Timer1->start(1000);
    form->FormClose();
    EXPECT_FALSE(form->Timer1->isActive());
    for (const auto* t : FormulaTrees)
        EXPECT_EQ(t, nullptr);
}

} // namespace
