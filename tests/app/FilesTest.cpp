// Plot files through the main window's commands, the colours dialog and the
// function-list window, with every dialog answered by the test.
#include "FilesTestSupport.h"

#include "app/Dialogs.h"
#include "document/PlotFile.h"

#include <QFrame>
#include <QPlainTextEdit>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

TEST_F(Files, AFileSavedRightAfterStart) {
    Save("plot");
    ASSERT_TRUE(failures.empty()) << failures[0];
    const auto b = Bytes(dir / "plot.mth");
    ASSERT_EQ(b.size(), 2680u);
    const std::uint8_t head[24] = {1, 0, 0, 0, 20, 0, 0, 0, 50, 0, 0, 0,
                                   1, 0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0};
    EXPECT_EQ(std::memcmp(b.data(), head, sizeof head), 0);
    for (std::size_t at : {std::size_t{24}, std::size_t{1135}})
        EXPECT_EQ(b[at], 0);
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(b[125 + 101 * k], 0);
        EXPECT_EQ(b[1239 + 101 * k], 0);
    }
    EXPECT_EQ(b[1236], 0);
    EXPECT_EQ(b[1237], 1);
    EXPECT_EQ(b[1238], 0);
    double phiMax;
    std::memcpy(&phiMax, b.data() + 2256 + 8 * YxPhiMax, 8);
    EXPECT_EQ(phiMax, 6.28318530717959); // captured from the field's text by the first build
    EXPECT_TRUE(questions.empty());
}

// A mode chosen in the menu and saved at once stores each of its numbers as
// its field shows it, as a build would; a file opened in that mode and
// saved again keeps its numbers, bit for bit.
TEST_F(Files, AModeChosenAndSavedStoresWhatItsFieldsShow) {
    const struct {
        void (TForm1::*choose)();
        int mode;
    } modes[] = {{&TForm1::N2DxytClick, pmPlane},
                 {&TForm1::N3DzxyClick, pmSurface},
                 {&TForm1::N3DxyztClick, pmCurve},
                 {&TForm1::N3DxyzuvClick, pmPatch},
                 {&TForm1::N3DFxyzClick, pmImplicit}};
    for (const auto& m : modes) {
        const int mode = m.mode;
        SetDocumentDefaults(PlotDocument);
        std::invoke(m.choose, form);
        Save("chosen.mth");
        ASSERT_TRUE(failures.empty()) << failures[0];
        TPlotDocument saved;
        DocumentFromRecord(*ReadPlotFile((dir / "chosen.mth").string()), saved);
        for (const TDocValue& v : ValuesOfMode(mode, TCoordinates::Cartesian)) {
            if (v.IsFormula) continue;
            EXPECT_EQ(saved.Numbers[v.Index], StrToFloat(Text(form->EditN(FieldOf(v)))))
                << mode << " Edit" << FieldOf(v);
        }
        if (mode == pmPlane) {
            EXPECT_EQ(saved.Numbers[PlaneCartTMax], 6.28318530717959);
        }
    }

    // 2π itself, as another program may have stored it.
    auto bytes = Bytes(dir / "chosen.mth");
    const double twoPi = 6.283185307179586;
    bytes[12] = pmPlane;
    std::memcpy(bytes.data() + 2256 + 8 * PlaneCartTMax, &twoPi, 8);
    WriteBytes(dir / "twopi.mth", bytes);
    Open("twopi.mth");
    Save("again.mth");
    EXPECT_EQ(Bytes(dir / "again.mth"), Bytes(dir / "twopi.mth"));
}

TEST_F(Files, NamesAndTheOverwriteQuestion) {
    Save("plot");
    Save("plot.mth");
    Save("PLOT.MTH");
    EXPECT_TRUE(fs::exists(dir / "plot.mth"));
    EXPECT_TRUE(fs::exists(dir / "PLOT.MTH.mth"));
    // Only "plot.mth" found a file there: PLOT.MTH.mth was new.
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0], "Такой файл уже существует! Заменить его? / Предупреждение!");
    // A file "plot" without extension makes the question come too.
    fs::remove(dir / "plot.mth");
    std::ofstream(dir / "other").put('x');
    answer = false;
    Save("other");
    EXPECT_EQ(questions.size(), 2u);
    EXPECT_FALSE(fs::exists(dir / "other.mth")); // Cancel: nothing written
    answer = true;
    Save("other");
    EXPECT_TRUE(fs::exists(dir / "other.mth"));
    saveAs.clear(); // a cancelled dialog saves nothing
    RunCommand([this] { form->N4Click(); });
    EXPECT_TRUE(failures.empty());
}

// A window in a given state, saved, changed and opened again.
TEST_F(Files, EveryModeComesBackAsItWasSaved) {
    const struct {
        const char* name;
        void (TForm1::*enter)();
        bool polar;
        int edit;         // a field of the mode ...
        const char* text; // ... with a value of its own
    } cases[] = {
        {"y(x) cartesian", &TForm1::N2DyxClick, false, 26, "-7"},
        {"y(x) polar", &TForm1::N2DyxClick, true, 4, "3.5"},
        {"x(t),y(t) cartesian", &TForm1::N2DxytClick, false, 2, "cos(t)*2"},
        {"x(t),y(t) polar", &TForm1::N2DxytClick, true, 5, "0.05"},
        {"z(x,y)", &TForm1::N3DzxyClick, false, 7, "x*y"},
        {"x(t),y(t),z(t)", &TForm1::N3DxyztClick, false, 4, "12"},
        {"x(u,v),y(u,v),z(u,v)", &TForm1::N3DxyzuvClick, false, 9, "2"},
        {"F(x,y,z)=0", &TForm1::N3DFxyzClick, false, 7, "x^2+y^2-z"},
    };
    for (const auto& c : cases) {
        SetDocumentDefaults(PlotDocument);
        std::invoke(c.enter, form);
        if (c.polar) form->RadioButton2->setChecked(true);
        Type(form->EditN(c.edit), c.text);
        form->NormaliseParamFields();
        form->CaptureDocument();
        const TPlotDocument saved = PlotDocument;
        Save("mode.mth");
        ASSERT_TRUE(failures.empty()) << c.name << ": " << failures[0];

        SetDocumentDefaults(PlotDocument);
        form->N3DzxyClick();
        if (c.enter == &TForm1::N3DzxyClick) form->N2DyxClick();
        Open("mode.mth");
        ASSERT_TRUE(failures.empty()) << c.name << ": " << failures[0];
        for (int k = 0; k < DocumentNumberCount; ++k)
            EXPECT_EQ(PlotDocument.Numbers[k], saved.Numbers[k]) << c.name << " " << k;
        for (int k = 0; k < DocumentFormulaCount; ++k)
            EXPECT_EQ(PlotDocument.Formulas[k], saved.Formulas[k]) << c.name << " " << k;
        EXPECT_EQ(form->RadioButton2->isChecked(), c.polar) << c.name;
        EXPECT_EQ(Text(form->EditN(c.edit)), c.text) << c.name;
        EXPECT_EQ(windows->Form1->CurrentPlotMode(),
                  static_cast<int>(RecordMode(*ReadPlotFile((dir / "mode.mth").string()))))
            << c.name;
    }
}

TEST_F(Files, TheFormulaListAndItsBoxComeBackInYx) {
    for (const char* f : {"sin(x)", "cos(x)", "x*x"}) {
        form->ComboBox1->setEditText(f);
        form->Button5Click();
    }
    form->ComboBox1->setEditText("x/2");
    form->CheckBox1->setChecked(true);
    Type(form->Edit1, "2");
    form->Button1Click();
    Save("list");
    form->Button7Click();
    form->CheckBox1->setChecked(false);
    form->ComboBox1->setEditText("");
    Open("list.mth");
    ASSERT_EQ(form->ComboBox1->count(), 3);
    EXPECT_EQ(form->ComboBox1->itemText(0).toStdString(), "sin(x)");
    EXPECT_EQ(form->ComboBox1->itemText(2).toStdString(), "x*x");
    EXPECT_EQ(form->ComboBox1->currentText().toStdString(), "x/2");
    EXPECT_TRUE(form->CheckBox1->isChecked());
    EXPECT_EQ(form->Label1->text().toStdString(), "1"); // the shown value of y(x0)
    EXPECT_EQ(Text(form->Edit1), "");                   // x0 is not read
}

TEST_F(Files, OpeningWithoutAFileStillCompilesAndBuildsTheCurve) {
    PlotDocument.Formulas[fsCurveX] = "t";
    PlotDocument.Formulas[fsCurveY] = "t";
    PlotDocument.Formulas[fsCurveZ] = "t";
    CurveCount = 0;
    form->ComboBox1->setEditText("x*3");
    Open(""); // the dialog cancelled
    EXPECT_TRUE(failures.empty());
    EXPECT_EQ(CurveCount, 200); // from the document's defaults
    // The curve build comes last: its x, y, z are in the slots.
    EXPECT_NE(FormulaTrees[tsZ], nullptr);
}

TEST_F(Files, EmptyShortAndMissingFiles) {
    std::ofstream(dir / "empty.mth").close();
    std::ofstream(dir / "short.mth") << std::string(100, 'a');
    form->N3DzxyClick();
    const TPlotDocument before = PlotDocument;
    Open("empty.mth");
    EXPECT_TRUE(failures.empty());
    EXPECT_EQ(form->CurrentPlotMode(), pmSurface); // nothing changed
    Open("short.mth");
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].find("short.mth» не прочитан"), std::string::npos) << failures[0];
    EXPECT_NE(failures[0].find("(Read beyond end of file)"), std::string::npos) << failures[0];
    Open("missing.mth");
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_NE(failures[1].find("missing.mth» не прочитан: такого файла нет (File not found)"),
              std::string::npos)
        << failures[1];
    EXPECT_EQ(form->CurrentPlotMode(), pmSurface);
    for (int k = 0; k < DocumentNumberCount; ++k)
        EXPECT_EQ(PlotDocument.Numbers[k], before.Numbers[k]);
}

TEST_F(Files, AReadOnlyFileOpens) {
    form->N3DzxyClick();
    Save("ro.mth");
    fs::permissions(dir / "ro.mth", fs::perms::owner_read, fs::perm_options::replace);
    form->N2DyxClick();
    Open("ro.mth");
    EXPECT_TRUE(failures.empty());
    EXPECT_EQ(form->CurrentPlotMode(), pmSurface);
}

TEST_F(Files, ASaveThatStopsAtX0KeepsTheOldFile) {
    Save("keep.mth");
    const auto before = Bytes(dir / "keep.mth");
    form->ComboBox1->setEditText("something else");
    Type(form->Edit1, "2*x"); // a formula, not yet a number
    Save("keep.mth");
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0], "'2*x' is not a valid floating point value");
    EXPECT_EQ(Bytes(dir / "keep.mth"), before);
}

TEST_F(Files, AFileOfAForeignModeCodeIsRefused) {
    TPlotFileRecord r;
    r.Mode = 9;
    r.FirstFrame = 1, r.LastFrame = 20, r.FrameInterval = 50;
    TPlotDocument doc;
    SetDocumentDefaults(doc);
    for (int k = 0; k < DocumentNumberCount; ++k)
        r.Numbers[k] = doc.Numbers[k];
    r.Numbers[YxCartX1] = 5;
    WritePlotFile((dir / "odd.mth").string(), r);
    Open("odd.mth");
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0], "Файл «odd.mth» не открыт: это не файл графиков (код режима в нём "
                           "не от 1 до 6). Всё осталось как было.");
    EXPECT_EQ(form->CurrentPlotMode(), pmYx);
    EXPECT_EQ(PlotDocument.Numbers[YxCartX1], -10);

    // A file whose view is reversed opens, and says at once that its
    // picture cannot be shown; the picture before stays.
    r.Mode = 1;
    r.Cartesian = true;
    r.Numbers[YxCartX1] = 10, r.Numbers[YxCartX2] = -10;
    WritePlotFile((dir / "reversed.mth").string(), r);
    form->Button2Click();
    const QImage before = form->PaintBox1->Picture;
    failures.clear();
    Open("reversed.mth");
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0], "Левый край вида x1 = 10 правее правого x2 = -10: поменяйте их "
                           "местами. Показан прежний рисунок.");
    EXPECT_EQ(form->PaintBox1->Picture, before);
    EXPECT_EQ(ViewX1, -10);
}

// --- the colours dialog, run by a test in place of the user

TEST_F(Files, TheColoursDialogEditsAWorkingCopy) {
    TForm3* dialog = windows->Form3.get();
    Dialogs().PickColour = [](QWidget*, TColorValue) {
        return std::optional<TColorValue>(0x0000FF);
    };
    std::function<void(TForm3*)> user;
    Dialogs().RunModal = [&](QDialog* d) {
        d->show(); // FormShow
        user(static_cast<TForm3*>(d));
        d->hide();
    };
    // Red for graph 0, closed without "Применить": still blue.
    user = [](TForm3* f) { f->Button1Click(); };
    form->N14Click();
    EXPECT_EQ(GraphColors[0], 0xFF0000u);
    // "По умолчанию" and closed: the settings are untouched.
    AxesColor = 0x123456;
    user = [](TForm3* f) { f->Button5Click(); };
    form->N14Click();
    EXPECT_EQ(AxesColor, 0x123456u);
    // "По умолчанию" and "Применить": the defaults, and the picture redrawn.
    form->Button2Click();
    const QImage before = form->PaintBox1->Picture;
    user = [](TForm3* f) {
        f->Button5Click();
        f->Button6Click();
    };
    form->N14Click();
    EXPECT_EQ(AxesColor, 0x008000u);
    EXPECT_NE(form->PaintBox1->Picture, before);
    // A picked background goes into the next 2D picture.
    user = [](TForm3* f) {
        f->Button3Click();
        f->Button6Click();
    };
    form->N14Click();
    EXPECT_EQ(BackgroundColor, 0x0000FFu);
    EXPECT_EQ(form->PaintBox1->Picture.pixel(150, 50) & 0xFFFFFF, 0xFF0000u); // red, as RGB
    ApplyColours(DefaultColours());
    (void)dialog;
}

TEST_F(Files, TheGraphSelectorShowsItsWorkingColour) {
    TForm3* d = windows->Form3.get();
    GraphColors[3] = 0x00FF00;
    d->FormShow();
    d->ComboBox1->setEditText("3");
    EXPECT_EQ(d->Shape1->palette().color(QPalette::Window), QColor(0, 255, 0));
    for (const char* bad : {"", "x", "11", "-1"}) {
        failures.clear();
        d->ComboBox1->setEditText(bad);
        EXPECT_EQ(failures.size(), 1u) << bad;
    }
    EXPECT_EQ(failures.back(), "Номер графика — от 0 до 10, а не -1.");
    d->ComboBox1->setEditText("x");
    EXPECT_EQ(failures.back(), "'x' is not a valid integer value");
    ApplyColours(DefaultColours());
}

// --- the function list

TEST_F(Files, TheFunctionListWindow) {
    const char* const expected =
        "ОПЕРАТОРЫ\n+   - сумма\n-    - разность\n*    - умножение\n/    - деление\n"
        "^    - возведение в степень\n\nПЕРЕМЕННЫЕ И КОНСТАНТЫ\n"
        "x   - аргумент (в декартовых и в полярных координатах) для y(x)\n"
        "y   - аргумент для z(x,y)\n"
        "t    - переменная для параметрических функций (x(t),y(t),z(t)) \n"
        "e   - число e = 2,718281828... \npi  - число pi = 3,14159265...\n"
        "f    - целочисленный номер кадра (для анимации)\n\nРАЗНЫЕ\n"
        "sqrt(x)    - корень квадратный\nexp(x)   - экспонента\n"
        "ln(x)      - натуральный логарифм\nlg(x)      - десятичный логарифм\n"
        "abs(x)   - модуль числа\nsign(x)  - (1 при x>0, -1 при x<0, 0 при x=0)\n"
        "rnd       - случайное действительное число [0..1)\n"
        "rand(x) - случайное натуральное число [0..x)\n\nТРИГОНОМЕТРИЯ\n"
        "cos(x)    - косинус \nsin(x)     - синус\ntg(x)      - тангенс = sin(x)/cos(x)\n"
        "ctg(x)    - котангенс = 1/tg(x)\nacos(x) - арккосинус\nasin(x)  - арксинус\n"
        "atg(x)   - арктангенс\nactg(x) - арккотангенс\nsec(x)   - секанс = 1/cos(x)\n"
        "csec(x) - косеканс = 1/sin(x)\n"
        "sh(x)     - гиперболический синус = (exp(x)-exp(-x))/2\n"
        "ch(x)    - гиперболический косинус = (exp(x)+exp(-x))/2\n"
        "th(x)     - гиперболический тангенс = sh(x)/ch(x)\n"
        "cth(x)   - гиперболический котангенс = 1/th(x)";
    TForm4* list = windows->Form4.get();
    EXPECT_EQ(list->Memo1->toPlainText().toStdString(), expected);
    EXPECT_EQ(list->Memo1->toPlainText().split('\n').size(), 40);
    EXPECT_TRUE(list->Memo1->isReadOnly());
    EXPECT_EQ(list->size(), QSize(349, 539));
    EXPECT_EQ(list->pos(), QPoint(412, 1));
    EXPECT_EQ(list->Memo1->geometry(), QRect(9, 11, 331, 517));
    EXPECT_TRUE(list->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(list->windowTitle().toStdString(), "Список используемых функций");
    EXPECT_FALSE(list->isVisible());
    form->N8Click();
    form->N8Click();
    EXPECT_TRUE(list->isVisible());
    EXPECT_FALSE(list->isModal()); // the main window stays usable
}

TEST_F(Files, OnlyTheMainWindowIsShownAtStart) {
    form->show();
    EXPECT_FALSE(windows->Form2->isVisible());
    EXPECT_FALSE(windows->Form3->isVisible());
    EXPECT_FALSE(windows->Form4->isVisible());
    EXPECT_FALSE(windows->Frm3D->isVisible());
    EXPECT_EQ(windows->Form2->windowTitle().toStdString(), "Анимация");
    EXPECT_EQ(windows->Form3->windowTitle().toStdString(), "Цвета");
    EXPECT_EQ(windows->Form3->size(), QSize(280, 168));
}

} // namespace
