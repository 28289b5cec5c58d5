#include "AppTestSupport.h"

#include <algorithm>
#include <cstring>

#include <QMenuBar>

namespace {

std::set<std::string> Union(std::set<std::string> a, const std::set<std::string>& b) {
    a.insert(b.begin(), b.end());
    return a;
}

const std::set<std::string> PlotAreaControls =
    Union(Names({"Edit23", "Edit24", "Edit25", "Edit26", "CheckBox6", "CheckBox7", "PaintBox1"}),
          Names({}, "Label", 19, 26));

TEST_F(WindowTest, StartsWithTheYxLayoutAndTheFirstBuildDrawn) {
    EXPECT_EQ(form->windowTitle().toStdString(), "Графики функций");
    EXPECT_EQ(form->Client->size(), QSize(474, 517));
    EXPECT_EQ(form->minimumSize(), form->size()); // it grows from here, and no smaller
    const auto expected =
        Union(PlotAreaControls, Union(Names({"Edit1", "Edit5", "ComboBox1", "CheckBox1",
                                             "CheckBox9", "RadioButton1", "RadioButton2"}),
                                      Union(Names({}, "Label", 1, 6), Names({}, "Button", 1, 7))));
    EXPECT_EQ(Shown(), expected);
    EXPECT_EQ(CheckedModeItems(), Names({"N2Dyx"}));
    EXPECT_TRUE(form->N6->isChecked());
    EXPECT_TRUE(form->RadioButton1->isChecked());
    EXPECT_TRUE(form->CheckBox9->isChecked());
    EXPECT_EQ(Text(form->Edit3), "0");
    EXPECT_EQ(Text(form->Edit4), "6.28318530717959");
    EXPECT_EQ(Text(form->Edit5), "0.0499999999999989"); // the first build's pixel width
    EXPECT_EQ(Text(form->Edit23), "10");
    EXPECT_EQ(Text(form->Edit24), "-10");
    EXPECT_EQ(Text(form->Edit25), "10");
    EXPECT_EQ(Text(form->Edit26), "-10");
    EXPECT_EQ(Text(form->Label3), "Формула y=");
    EXPECT_EQ(Text(form->Label4), "");
    EXPECT_EQ(Text(form->Label2), "x0=");
    EXPECT_FALSE(form->Edit23->isEnabled());
    EXPECT_EQ(ViewX1, -10);
    EXPECT_EQ(ViewY2, 10);
    EXPECT_EQ(GridStep, 2);
    EXPECT_FALSE(RangeEditsDirty);
    ASSERT_FALSE(form->PaintBox1->Picture.isNull());
    EXPECT_EQ(form->PaintBox1->Picture.pixel(100, 200) | 0xFF000000, 0xFF008000u); // the x axis
    EXPECT_TRUE(failures.empty());
}

TEST_F(WindowTest, MenuCaptionsAndShortcuts) {
    const struct {
        QAction* item;
        const char* caption;
        const char* key;
    } items[] = {{form->N4, "Сохранить", "F2"},
                 {form->N5, "Открыть", "F3"},
                 {form->N2, "Настроить анимацию", ""},
                 {form->N10, "Анимация (вкл/выкл)", "Ctrl+A"},
                 {form->N14, "Цвета", ""},
                 {form->N6, "Рисовать оси координат", "F8"},
                 {form->N2Dyx, "2D y(x)", ""},
                 {form->N3Dzxy, "3D z(x,y)", ""},
                 {form->N3DFxyz, "3D F(x,y,z)=0", ""},
                 {form->N9, "Параметрические уравнения", ""},
                 {form->N2Dxyt, "2D x(t),y(t)", ""},
                 {form->N3Dxyzt, "3D x(t),y(t),z(t)", ""},
                 {form->N3Dxyzuv, "3D x(u,v),y(u,v),z(u,v)", ""},
                 {form->N13, "Генерировать случайную функцию", "F12"},
                 {form->N8, "Список функций", ""}};
    for (const auto& i : items) {
        EXPECT_EQ(i.item->text().toStdString(), i.caption);
        EXPECT_EQ(i.item->shortcut().toString().toStdString(), i.key) << i.caption;
    }
    EXPECT_EQ(form->N3->title().toStdString(), "Файл");
    EXPECT_EQ(form->N1->title().toStdString(), "Опции");
    EXPECT_EQ(form->N7->title().toStdString(), "Помощь");
}

struct ModeCase {
    const char* name;
    void (TForm1::*command)();
    std::set<std::string> shown;
    std::set<std::string> checked;
    std::vector<std::pair<int, const char*>> edits;  // field number, text
    std::vector<std::pair<int, const char*>> labels; // label number, caption
};

TEST_F(WindowTest, EachModeLaysOutItsControlsFieldsAndCheckMarks) {
    const ModeCase cases[] = {
        {"surface",
         &TForm1::N3DzxyClick,
         Names({"Label3", "Label4", "Label5", "Label6", "Label10", "Label11", "Button8", "Edit3",
                "Edit4", "Edit5", "Edit7", "Edit8", "Edit9", "Edit10", "CheckBox2"}),
         Names({"N3Dzxy"}),
         {{3, "-10"}, {4, "10"}, {5, "0.2"}, {7, ""}, {8, "-10"}, {9, "10"}, {10, "0.2"}},
         {{3, "Формула z="}, {4, "min"}, {5, "max"}, {6, "Шаг"}, {10, "X"}, {11, "Y"}}},
        {"plane",
         &TForm1::N2DxytClick,
         Union(PlotAreaControls, Names({"RadioButton1", "RadioButton2", "Edit2", "Edit3", "Edit4",
                                        "Edit5", "Edit6", "Label4", "Label5", "Label6", "Label7",
                                        "Label8", "Button2", "Button3", "Button4"})),
         Names({"N9", "N2Dxyt"}),
         {{3, "0"}, {4, "6.28318530717959"}, {5, "0.01"}, {23, "10"}, {26, "-10"}},
         {{4, "min T"}, {5, "max T"}, {6, "Шаг"}, {7, "x(t)="}, {8, "y(t)="}}},
        {"curve",
         &TForm1::N3DxyztClick,
         Names({"Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7", "Label4", "Label5", "Label6",
                "Label7", "Label8", "Label9", "Button9", "CheckBox2"}),
         Names({"N9", "N3Dxyzt"}),
         {{2, ""}, {3, "0"}, {4, "6.28318530717959"}, {5, "0.0314159265358979"}, {6, ""}, {7, ""}},
         {{7, "x(t)="}, {8, "y(t)="}, {9, "z(t)="}, {4, "min T"}}},
        {"patch",
         &TForm1::N3DxyzuvClick,
         Union(Union(Names({}, "Edit", 2, 10), Names({}, "Label", 4, 11)),
               Names({"Button10", "CheckBox2"})),
         Names({"N9", "N3Dxyzuv"}),
         {{3, "-3.14159265358979"},
          {4, "3.14159265358979"},
          {5, "0.314159265358979"},
          {8, "-3.14159265358979"},
          {9, "3.14159265358979"},
          {10, "0.314159265358979"}},
         {{7, "x(u,v)="}, {8, "y(u,v)="}, {9, "z(u,v)="}, {10, "U"}, {11, "V"}, {4, "min"}}},
        {"implicit",
         &TForm1::N3DFxyzClick,
         Union(Union(Names({}, "Label", 12, 18), Names({}, "Edit", 11, 22)),
               Names({"Label3", "Edit7", "Button11", "CheckBox3", "CheckBox4", "CheckBox5",
                      "CheckBox8", "Equally"})),
         Names({"N3DFxyz"}),
         {{11, "-5"},
          {12, "5"},
          {13, "0.1"},
          {14, "0.5"},
          {15, "-5"},
          {18, "0.5"},
          {19, "-5"},
          {22, "0.5"},
          {7, ""}},
         {{3, " 0 = F(x,y,z) ="},
          {12, "X"},
          {13, "Y"},
          {14, "Z"},
          {15, "min"},
          {16, "max"},
          {17, "шаг1"},
          {18, "шаг2"}}},
    };
    for (const auto& c : cases) {
        form->CheckBox9->setChecked(false);
        (form.get()->*c.command)();
        EXPECT_EQ(Shown(), c.shown) << c.name;
        EXPECT_EQ(CheckedModeItems(), c.checked) << c.name;
        for (const auto& [k, text] : c.edits)
            EXPECT_EQ(Text(form->EditN(k)), text) << c.name << " Edit" << k;
        for (const auto& [k, text] : c.labels)
            EXPECT_EQ(Text(form->LabelN(k)), text) << c.name << " Label" << k;
        EXPECT_TRUE(form->CheckBox9->isChecked()) << c.name; // checked again at every change
        EXPECT_EQ(form->CurrentPlotMode() != 0, true) << c.name;
    }
    EXPECT_TRUE(failures.empty());
}

TEST_F(WindowTest, EnteringAPlaneModeFromPolarLoadsTheCartesianSet) {
    PlotDocument.Numbers[PlaneCartTMax] = 3;
    PlotDocument.Numbers[PlanePolarTMax] = 4;
    form->N2DxytClick();
    form->RadioButton2->setChecked(true); // runs "поляр"
    EXPECT_EQ(Text(form->Edit4), "4");
    EXPECT_EQ(Text(form->Label7), "fi(t)=");
    EXPECT_EQ(form->Button1->text().toStdString(), "r(fi0)=");
    form->N2DxytClick();
    EXPECT_TRUE(form->RadioButton1->isChecked());
    EXPECT_EQ(Text(form->Edit4), "3");
    EXPECT_EQ(Text(form->Label7), "x(t)=");
    EXPECT_EQ(CheckedModeItems(), Names({"N9", "N2Dxyt"}));
}

// What the handlers ask of the layout ("does this mode show the plot
// area?") is what the window shows, for every control the coordinate
// system leaves alone.
TEST_F(WindowTest, TheLayoutTellsWhatTheWindowShows) {
    const std::pair<const char*, TControlKind> kinds[] = {
        {"Label", TControlKind::Label},
        {"Edit", TControlKind::Edit},
        {"Button", TControlKind::Button},
        {"CheckBox", TControlKind::CheckBox},
        {"RadioButton", TControlKind::RadioButton},
        {"ComboBox", TControlKind::ComboBox},
        {"PaintBox", TControlKind::PaintBox},
        {"Equally", TControlKind::Equally}};
    const auto control = [&](const std::string& name) {
        for (const auto& [prefix, kind] : kinds)
            if (name.rfind(prefix, 0) == 0) {
                const std::string digits = name.substr(std::strlen(prefix));
                return TControl{kind, digits.empty() ? 1 : std::stoi(digits)};
            }
        ADD_FAILURE() << name;
        return TControl{};
    };
    for (const int mode : {pmYx, pmSurface, pmPlane, pmCurve, pmPatch, pmImplicit}) {
        form->SetPlotMode(mode);
        std::vector<TControl> switched;
        if (mode == pmYx || mode == pmPlane) {
            const TCoordinateLayout& c =
                CoordinateLayout(static_cast<TPlotMode>(mode), TCoordinates::Cartesian);
            switched.insert(switched.end(), c.Show.begin(), c.Show.end());
            switched.insert(switched.end(), c.Hide.begin(), c.Hide.end());
        }
        for (const auto& [name, w] : Controls()) {
            const TControl c = control(name);
            if (std::find(switched.begin(), switched.end(), c) != switched.end()) continue;
            EXPECT_EQ(form->Shows(c.Kind, c.Number), !w->isHidden()) << mode << " " << name;
        }
    }
    form->SetPlotMode(0);
    EXPECT_FALSE(form->Shows(TControlKind::PaintBox));
}

TEST_F(WindowTest, YxModeEmptiesX0AndTheResultAndRelabelsForPolar) {
    Type(form->Edit1, "3");
    form->Label1->setText("9");
    form->RadioButton2->setChecked(true);
    EXPECT_EQ(Text(form->Label4), "min Fi");
    EXPECT_EQ(Text(form->Label3), "Формула r=");
    EXPECT_TRUE(form->CheckBox9->isHidden());
    EXPECT_FALSE(form->Edit3->isHidden());
    EXPECT_EQ(Text(form->Edit5), "0.01"); // the polar step of the document
    form->N2DyxClick();
    EXPECT_EQ(Text(form->Edit1), "");
    EXPECT_EQ(Text(form->Label1), "");
    EXPECT_TRUE(form->RadioButton1->isChecked());
    EXPECT_TRUE(form->Edit3->isHidden());
    EXPECT_FALSE(form->CheckBox9->isHidden());
    EXPECT_EQ(Text(form->Label3), "Формула y=");
}

TEST_F(WindowTest, ACodeOutsideTheModesLeavesAnEmptyWindow) {
    for (int code : {0, 7, 255}) {
        form->SetPlotMode(code);
        EXPECT_EQ(Shown(), std::set<std::string>{}) << code;
        EXPECT_EQ(CheckedModeItems(), std::set<std::string>{}) << code;
        EXPECT_EQ(form->CurrentPlotMode(), 0);
        form->N3DzxyClick(); // a mode of the menu restores a normal layout
        EXPECT_EQ(CheckedModeItems(), Names({"N3Dzxy"}));
    }
}

TEST_F(WindowTest, ChoosingAModeDiscardsTypedValues) {
    form->N3DzxyClick();
    Type(form->Edit3, "-3");
    form->N3DzxyClick();
    EXPECT_EQ(Text(form->Edit3), "-10");
}

TEST_F(WindowTest, MenuItemsRunTheirCommands) {
    form->N3Dxyzt->trigger();
    EXPECT_EQ(CheckedModeItems(), Names({"N9", "N3Dxyzt"}));
    form->N2Dyx->trigger();
    EXPECT_EQ(CheckedModeItems(), Names({"N2Dyx"}));
    form->N2Dyx->trigger(); // the current mode again: still checked
    EXPECT_EQ(CheckedModeItems(), Names({"N2Dyx"}));
    form->N6->trigger();
    EXPECT_FALSE(form->N6->isChecked());
    EXPECT_FALSE(form->CheckBox7->isChecked());
}

} // namespace

namespace {

TEST_F(WindowTest, TabOrderHintsAndPlaces) {
    const std::vector<QWidget*> order = {
        form->Edit1,        form->Button1,   form->Edit3,     form->Edit4,     form->Edit5,
        form->Edit8,        form->Edit9,     form->Edit10,    form->Button2,   form->RadioButton1,
        form->RadioButton2, form->Button3,   form->Button4,   form->ComboBox1, form->CheckBox1,
        form->Button5,      form->Button6,   form->Button7,   form->Edit2,     form->Edit6,
        form->Edit7,        form->Button8,   form->Button9,   form->Button10,  form->CheckBox2,
        form->Edit11,       form->Edit12,    form->Edit13,    form->Edit14,    form->Edit15,
        form->Edit16,       form->Edit17,    form->Edit18,    form->Edit19,    form->Edit20,
        form->Edit21,       form->Edit22,    form->CheckBox3, form->CheckBox4, form->CheckBox5,
        form->Button11,     form->Equally,   form->Edit23,    form->Edit24,    form->Edit25,
        form->Edit26,       form->CheckBox6, form->CheckBox7, form->CheckBox8, form->CheckBox9};
    std::vector<QWidget*> seen;
    QWidget* w = form->Edit1;
    for (int i = 0; i < 500 && seen.size() < order.size(); ++i, w = w->nextInFocusChain())
        if (std::find(order.begin(), order.end(), w) != order.end() &&
            std::find(seen.begin(), seen.end(), w) == seen.end())
            seen.push_back(w);
    EXPECT_EQ(seen, order);

    const std::pair<QWidget*, const char*> hints[] = {
        {form->CheckBox9, "Минимальный шаг"},
        {form->CheckBox6, "Равные масштабы"},
        {form->CheckBox7, "Вспомогательная сетка"},
        {form->CheckBox2, "поместить камеру на траекторию x(t),y(t),z(t)"},
        {form->CheckBox3, "линии уровня перпендикулярно оси X"},
        {form->Label17, "между точками линии уровня"},
        {form->Label18, "между линиями уровня"}};
    for (const auto& [widget, hint] : hints)
        EXPECT_EQ(widget->toolTip().toStdString(), hint);

    const struct {
        QWidget* widget;
        QRect place;
    } places[] = {{form->PaintBox1, {24, 97, 400, 400}}, {form->Edit1, {24, 16, 73, 21}},
                  {form->ComboBox1, {64, 54, 193, 21}},  {form->Edit7, {64, 54, 193, 21}},
                  {form->Button2, {272, 52, 161, 25}},   {form->Button11, {272, 68, 161, 25}},
                  {form->Edit23, {424, 97, 50, 21}},     {form->Edit26, {24, 496, 50, 21}},
                  {form->Edit22, {289, 192, 41, 21}},    {form->RadioButton2, {360, 80, 52, 17}}};
    // "поляр" is 3 pixels wider than at first, so that its text is not cut.
    for (const auto& p : places)
        EXPECT_EQ(p.widget->geometry(), p.place);
    EXPECT_FALSE(form->Edit15->isEnabled());
    EXPECT_TRUE(form->Edit11->isEnabled());
    EXPECT_TRUE(form->Equally->isChecked());
    EXPECT_FALSE(form->CheckBox8->isChecked());
}

} // namespace

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>

namespace {

// The result of "y(x0)=" has the place and size of the layout from the start
// and shows the whole value, whatever its length.
TEST_F(WindowTest, TheValueAtX0IsShownWhole) {
    EXPECT_EQ(form->Label1->geometry(), QRect(144, 20, 100, 13));
    form->ComboBox1->setEditText("sin(x)*3+x^2/10");
    Type(form->Edit1, "1");
    form->Button1Click();
    const std::string shown = Text(form->Label1);
    EXPECT_EQ(shown, "2.62441295442369");
    EXPECT_EQ(form->Label1->geometry(), QRect(144, 20, 100, 13));
    const QFontMetrics metrics(form->Label1->font());
    EXPECT_LE(metrics.horizontalAdvance(form->Label1->text()), form->Label1->width());
}

TEST_F(WindowTest, TheWindowOpensCentredOnTheDesktop) {
    const QRect desktop = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint offset = form->frameGeometry().center() - desktop.center();
    EXPECT_LE(std::abs(offset.x()), 1);
    EXPECT_LE(std::abs(offset.y()), 1);
}

} // namespace
