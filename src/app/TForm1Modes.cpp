// The six modes: the reset of the window and the layout of each mode, filled
// from the plot document.
#include "app/TForm1.h"

#include "document/PlotDocument.h"
#include "engine/Engine.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

QString Number(int index) {
    return QString::fromStdString(FormatNumber(PlotDocument.Numbers[index]));
}
QString Formula(int slot) {
    return QString::fromStdString(PlotDocument.Formulas[slot]);
}
QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

template <typename... W> void Show(W*... widgets) {
    (widgets->show(), ...);
}

} // namespace

int TForm1::CurrentPlotMode() const {
    if (N2Dyx->isChecked()) return pmYx;
    if (N3Dzxy->isChecked()) return pmSurface;
    if (N3DFxyz->isChecked()) return pmImplicit;
    if (N2Dxyt->isChecked()) return pmPlane;
    if (N3Dxyzt->isChecked()) return pmCurve;
    if (N3Dxyzuv->isChecked()) return pmPatch;
    return 0;
}

void TForm1::HideAllControls() {
    for (int k = 1; k <= 26; ++k)
        Labels[k]->hide();
    for (int k = 1; k <= 11; ++k)
        Labels[k]->clear();
    for (int k = 1; k <= 26; ++k)
        Edits[k]->hide();
    for (QPushButton* b : {Button1, Button2, Button3, Button4, Button5, Button6, Button7, Button8,
                           Button9, Button10, Button11})
        b->hide();
    RadioButton1->hide();
    RadioButton2->hide();
    for (QCheckBox* b : {CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5, CheckBox6,
                         CheckBox7, CheckBox8, CheckBox9})
        b->hide();
    CheckBox9->setChecked(true);
    Equally->hide();
    ComboBox1->hide();
    for (QAction* a : {N2Dyx, N3Dzxy, N3DFxyz, N9, N2Dxyt, N3Dxyzt, N3Dxyzuv})
        a->setChecked(false);
    PaintBox1->hide();
}

void TForm1::SetPlotMode(int mode) {
    HideAllControls();
    switch (mode) {
    case pmYx:
        Show(RadioButton1, RadioButton2);
        RadioButton1->setChecked(true); // runs "декарт" if it was not checked
        Show(Label1, Label2, Label3, Label4, Label5, Label6);
        Label1->clear();
        SetCaption(Label2, Text("x0="));
        SetCaption(Label3, Text("Формула y="));
        SetCaption(Label6, Text("Шаг"));
        Show(Edit1, Edit5);
        Edit1->clear();
        SetEditText(Edit3, Number(YxPhiMin));
        SetEditText(Edit4, Number(YxPhiMax));
        SetEditText(Edit5, Number(YxCartStep));
        SetEditText(Edit23, Number(YxCartY2));
        SetEditText(Edit24, Number(YxCartY1));
        SetEditText(Edit25, Number(YxCartX2));
        SetEditText(Edit26, Number(YxCartX1));
        Show(Button1, Button2, Button3, Button4, Button5, Button6, Button7);
        Show(ComboBox1, CheckBox1);
        N2Dyx->setChecked(true);
        for (int k = 19; k <= 26; ++k)
            Labels[k]->show();
        Show(Edit23, Edit24, Edit25, Edit26, CheckBox6, CheckBox7, CheckBox9, PaintBox1);
        break;
    case pmSurface:
        Show(Label3, Label4, Label5, Label6, Label10, Label11, Button8);
        Show(Edit3, Edit4, Edit5, Edit7, Edit8, Edit9, Edit10);
        SetEditText(Edit3, Number(SurfXMin));
        SetEditText(Edit4, Number(SurfXMax));
        SetEditText(Edit5, Number(SurfXStep));
        SetEditText(Edit7, Formula(fsSurfaceZ));
        SetEditText(Edit8, Number(SurfYMin));
        SetEditText(Edit9, Number(SurfYMax));
        SetEditText(Edit10, Number(SurfYStep));
        SetCaption(Label3, Text("Формула z="));
        SetCaption(Label4, Text("min"));
        SetCaption(Label5, Text("max"));
        SetCaption(Label6, Text("Шаг"));
        SetCaption(Label10, Text("X"));
        SetCaption(Label11, Text("Y"));
        N3Dzxy->setChecked(true);
        CheckBox2->show();
        break;
    case pmPlane:
        Show(RadioButton1, RadioButton2);
        RadioButton1->setChecked(true);
        Show(Edit2, Edit3, Edit4, Edit5, Edit6);
        Show(Label4, Label5, Label6, Label7, Label8, Button2, Button3, Button4);
        SetEditText(Edit2, Formula(fsPlaneX));
        SetEditText(Edit6, Formula(fsPlaneY));
        SetEditText(Edit3, Number(PlaneCartTMin));
        SetEditText(Edit4, Number(PlaneCartTMax));
        SetEditText(Edit5, Number(PlaneCartTStep));
        SetEditText(Edit23, Number(PlaneCartY2));
        SetEditText(Edit24, Number(PlaneCartY1));
        SetEditText(Edit25, Number(PlaneCartX2));
        SetEditText(Edit26, Number(PlaneCartX1));
        SetCaption(Label4, Text("min T"));
        SetCaption(Label5, Text("max T"));
        SetCaption(Label6, Text("Шаг"));
        SetCaption(Label7, Text("x(t)="));
        SetCaption(Label8, Text("y(t)="));
        N9->setChecked(true);
        N2Dxyt->setChecked(true);
        for (int k = 19; k <= 26; ++k)
            Labels[k]->show();
        Show(Edit23, Edit24, Edit25, Edit26, CheckBox6, CheckBox7, PaintBox1);
        break;
    case pmCurve:
        Show(Edit2, Edit3, Edit4, Edit5, Edit6, Edit7);
        Show(Label4, Label5, Label6, Label7, Label8, Label9, Button9);
        SetEditText(Edit3, Number(CurveTMin));
        SetEditText(Edit4, Number(CurveTMax));
        SetEditText(Edit5, Number(CurveTStep));
        SetEditText(Edit2, Formula(fsCurveX));
        SetEditText(Edit6, Formula(fsCurveY));
        SetEditText(Edit7, Formula(fsCurveZ));
        SetCaption(Label4, Text("min T"));
        SetCaption(Label5, Text("max T"));
        SetCaption(Label6, Text("Шаг"));
        SetCaption(Label7, Text("x(t)="));
        SetCaption(Label8, Text("y(t)="));
        SetCaption(Label9, Text("z(t)="));
        N9->setChecked(true);
        N3Dxyzt->setChecked(true);
        CheckBox2->show();
        break;
    case pmPatch:
        for (int k = 2; k <= 10; ++k)
            Edits[k]->show();
        for (int k = 4; k <= 11; ++k)
            Labels[k]->show();
        Button10->show();
        SetEditText(Edit3, Number(PatchUMin));
        SetEditText(Edit4, Number(PatchUMax));
        SetEditText(Edit5, Number(PatchUStep));
        SetEditText(Edit2, Formula(fsPatchX));
        SetEditText(Edit6, Formula(fsPatchY));
        SetEditText(Edit7, Formula(fsPatchZ));
        SetEditText(Edit8, Number(PatchVMin));
        SetEditText(Edit9, Number(PatchVMax));
        SetEditText(Edit10, Number(PatchVStep));
        SetCaption(Label4, Text("min"));
        SetCaption(Label5, Text("max"));
        SetCaption(Label6, Text("Шаг"));
        SetCaption(Label7, Text("x(u,v)="));
        SetCaption(Label8, Text("y(u,v)="));
        SetCaption(Label9, Text("z(u,v)="));
        SetCaption(Label10, Text("U"));
        SetCaption(Label11, Text("V"));
        N9->setChecked(true);
        N3Dxyzuv->setChecked(true);
        CheckBox2->show();
        break;
    case pmImplicit:
        Label3->show();
        SetCaption(Label3, Text(" 0 = F(x,y,z) ="));
        for (int k = 12; k <= 18; ++k)
            Labels[k]->show();
        Edit7->show();
        for (int k = 11; k <= 22; ++k)
            Edits[k]->show();
        for (int k = 0; k < 12; ++k)
            SetEditText(Edits[11 + k], Number(ImplXMin + k));
        SetEditText(Edit7, Formula(fsImplicitF));
        Show(Button11, CheckBox3, CheckBox4, CheckBox5, CheckBox8, Equally);
        N3DFxyz->setChecked(true);
        break;
    default:
        break; // no mode: every mode control stays hidden
    }
}

void TForm1::N2DyxClick() {
    SetPlotMode(pmYx);
}
void TForm1::N3DzxyClick() {
    SetPlotMode(pmSurface);
}
void TForm1::N2DxytClick() {
    SetPlotMode(pmPlane);
}
void TForm1::N3DxyztClick() {
    SetPlotMode(pmCurve);
}
void TForm1::N3DxyzuvClick() {
    SetPlotMode(pmPatch);
}
void TForm1::N3DFxyzClick() {
    SetPlotMode(pmImplicit);
}
