// The 2D picture: the build, the coordinate switches, the axes and grid
// switches, zoom, the mouse and the formula list.
#include "app/TForm1.h"

#include "app/ErrorReport.h"
#include "document/PlotDocument.h"
#include "engine/Engine.h"
#include "plot2d/Compose.h"
#include "plot2d/View2D.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <cmath>

namespace {

double FieldNumber(const QLineEdit* field) {
    return StrToFloat(FieldText(field));
}

QString Number(double v) {
    return QString::fromStdString(FormatNumber(v));
}
QString Number(int index) {
    return Number(PlotDocument.Numbers[index]);
}

void SetRange(TForm1* f, TNumberIndex y2, TNumberIndex y1, TNumberIndex x2, TNumberIndex x1) {
    SetEditText(f->Edit23, Number(y2));
    SetEditText(f->Edit24, Number(y1));
    SetEditText(f->Edit25, Number(x2));
    SetEditText(f->Edit26, Number(x1));
}

} // namespace

void TForm1::Button2Click() {
    RunCommand([this] {
        BuildPicture();
        PictureFresh = true;
        PaintBox1->update();
    });
}

void TForm1::PaintBox1Paint() {
    if (PictureFresh) { // the build that asked for this repaint has just drawn it
        PictureFresh = false;
        return;
    }
    // A repaint builds like every other change of the view, but never shows a
    // message: the command that met an error has reported it, and the area
    // keeps the picture it had.
    try {
        BuildPicture();
    } catch (const std::exception&) {
    }
}

void TForm1::BuildPicture() {
    NormaliseParamFields();
    if (RangeEditsDirty) ReadRangeEditsFromFields();

    QImage image(PlotWidth, PlotHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    TPictureOptions options;
    options.Axes = N6->isChecked();
    options.Grid = CheckBox7->isChecked();
    ComposeBackground(painter, options);
    CaptureDocument();
    if (N9->isChecked())
        DrawParametricCurve(painter);
    else
        DrawGraphsOfYx(painter);
    ComposeBorder(painter);
    painter.end();
    PaintBox1->Picture = image;
}

void TForm1::DrawGraphsOfYx(QPainter& painter) {
    if (!Timer1->isActive()) CompileFormulaList();
    const bool all = CheckBox1->isChecked();
    const int n = all ? std::min(ComboBox1->count(), MaxListFormulas) : 0;
    for (int s = 0; s <= n; ++s) {
        double step = FieldNumber(Edit5);
        if (Edit3->isHidden()) { // cartesian y(x): never finer than a pixel column
            const double pixel = std::fabs(PixelToWorldX(2) - PixelToWorldX(1));
            if (pixel > step || CheckBox9->isChecked()) {
                step = pixel;
                SetEditText(Edit5, Number(step));
            }
        }
        const TExprNode* tree = FormulaTrees[s];
        if (tree == nullptr || !(step > 0) || ViewX1 >= ViewX2) continue;
        painter.setPen(QPen(ToQColor(GraphColors[all ? s : 0]), 0));
        TPainterPen pen(painter);
        if (RadioButton1->isChecked())
            WalkCartesian(tree, ViewX1, ViewX2, step, pen);
        else
            WalkPolar(tree, FieldNumber(Edit3), FieldNumber(Edit4), step, pen);
    }
}

void TForm1::DrawParametricCurve(QPainter& painter) {
    FreeAllTrees();
    CompileFormula(0, FieldText(Edit2));
    CompileFormula(1, FieldText(Edit6));
    painter.setPen(QPen(ToQColor(GraphColors[0]), 0));
    const double step = FieldNumber(Edit5);
    const double tmin = FieldNumber(Edit3);
    const double tmax = FieldNumber(Edit4);
    TPainterPen pen(painter);
    WalkParametric(FormulaTrees[0], FormulaTrees[1], tmin, tmax, step, RadioButton2->isChecked(),
                   pen);
}

void TForm1::ReadRangeEditsFromFields() {
    ReadRangeEdits({FieldText(Edit23), FieldText(Edit24), FieldText(Edit25), FieldText(Edit26)},
                   CheckBox6->isChecked());
    WriteRangeEditsToFields();
}

void TForm1::WriteRangeEditsToFields() {
    const TRangeTexts t = WriteRangeEdits();
    SetEditText(Edit23, QString::fromStdString(t.Y2));
    SetEditText(Edit24, QString::fromStdString(t.Y1));
    SetEditText(Edit25, QString::fromStdString(t.X2));
    SetEditText(Edit26, QString::fromStdString(t.X1));
}

void TForm1::RadioButton2Click() {
    Button1->setText(QString::fromUtf8("r(fi0)="));
    SetCaption(Label2, QString::fromUtf8("fi0="));
    SetCaption(Label3, QString::fromUtf8("Формула r="));
    if (N9->isChecked()) {
        SetCaption(Label7, QString::fromUtf8("fi(t)="));
        SetCaption(Label8, QString::fromUtf8("r(t)="));
        SetEditText(Edit3, Number(PlanePolarTMin));
        SetEditText(Edit4, Number(PlanePolarTMax));
        SetEditText(Edit5, Number(PlanePolarTStep));
        SetRange(this, PlanePolarY2, PlanePolarY1, PlanePolarX2, PlanePolarX1);
    } else {
        CheckBox9->hide();
        SetCaption(Label4, QString::fromUtf8("min Fi"));
        SetCaption(Label5, QString::fromUtf8("max Fi"));
        SetEditText(Edit5, Number(YxPolarStep));
        SetRange(this, YxPolarY2, YxPolarY1, YxPolarX2, YxPolarX1);
    }
    for (QWidget* w : {static_cast<QWidget*>(Label4), static_cast<QWidget*>(Label5),
                       static_cast<QWidget*>(Edit3), static_cast<QWidget*>(Edit4)})
        w->show();
    Button2Click();
}

void TForm1::RadioButton1Click() {
    Button1->setText(QString::fromUtf8("y(x0)="));
    SetCaption(Label2, QString::fromUtf8("x0="));
    SetCaption(Label3, QString::fromUtf8("Формула y="));
    if (N2Dyx->isChecked()) {
        CheckBox9->show();
        for (QWidget* w : {static_cast<QWidget*>(Label4), static_cast<QWidget*>(Label5),
                           static_cast<QWidget*>(Edit3), static_cast<QWidget*>(Edit4)})
            w->hide();
        SetEditText(Edit5, Number(YxCartStep));
        SetRange(this, YxCartY2, YxCartY1, YxCartX2, YxCartX1);
    } else {
        SetCaption(Label7, QString::fromUtf8("x(t)="));
        SetCaption(Label8, QString::fromUtf8("y(t)="));
        SetEditText(Edit3, Number(PlaneCartTMin));
        SetEditText(Edit4, Number(PlaneCartTMax));
        SetEditText(Edit5, Number(PlaneCartTStep));
        SetRange(this, PlaneCartY2, PlaneCartY1, PlaneCartX2, PlaneCartX1);
    }
    Button2Click();
}

void TForm1::N6Click() {
    N6->setChecked(!N6->isChecked());
    // The 3D window, once it exists, repaints its own axes here.
    if (!Button2->isHidden()) {
        PaintBox1->update();
        CheckBox7->setChecked(N6->isChecked()); // runs the build again when it changes
    }
}

void TForm1::CheckBox6Click() {
    Edit23->setEnabled(!Edit23->isEnabled());
    RangeEditsDirty = true;
    Button2Click();
}

void TForm1::CheckBox7Click() {
    Button2Click();
}

void TForm1::Edit23Change() {
    RangeEditsDirty = true;
}

void TForm1::Button3Click() {
    ZoomView(-2, CheckBox6->isChecked());
    WriteRangeEditsToFields();
    Button2Click();
}

void TForm1::Button4Click() {
    ZoomView(2, CheckBox6->isChecked());
    WriteRangeEditsToFields();
    Button2Click();
}

void TForm1::PaintBox1MouseDown(TMouseButton button, int x, int y) {
    DragStartX = x;
    DragStartY = y;
    if (button == TMouseButton::Left)
        Panning = true;
    else if (button == TMouseButton::Right)
        BoxDragging = true;
}

void TForm1::PaintBox1MouseMove(int x, int y) {
    if (Panning) {
        PanView(x, y);
        WriteRangeEditsToFields();
    }
    if (BoxDragging) UpdateZoomBox(x, y);
    if (Panning || BoxDragging) Button2Click();
    SetCaption(Label25, QString::fromStdString(CursorCoordinateText(PixelToWorldX(x))));
    SetCaption(Label26, QString::fromStdString(CursorCoordinateText(PixelToWorldY(y))));
}

void TForm1::PaintBox1MouseUp(TMouseButton button) {
    Panning = false;
    if (button != TMouseButton::Right) return;
    BoxDragging = false;
    if (!ApplyZoomBox()) return;
    WriteRangeEditsToFields();
    Button2Click();
}

void TForm1::FormMouseWheel(int delta) {
    if (Button4->isHidden() || delta == 0) return;
    if (delta > 0)
        Button4Click(); // away from the user: zoom out
    else
        Button3Click();
}

void TForm1::CompileFormulaList() {
    FreeAllTrees();
    if (CheckBox1->isChecked()) {
        const int n = std::min(ComboBox1->count(), MaxListFormulas);
        for (int i = 0; i < n; ++i)
            CompileFormula(i + 1, ComboBox1->itemText(i).toStdString());
    } else {
        CompileFormula(0, ComboBox1->currentText().toStdString());
    }
}

void TForm1::Button5Click() {
    const QString text = ComboBox1->currentText();
    if (text.isEmpty()) return;
    if (ComboBox1->count() >= MaxListFormulas) {
        ReportFailure("В списке уже 10 формул: больше не помещается");
        return;
    }
    ComboBox1->addItem(text);
    ComboBox1->setEditText(text);
}

void TForm1::Button6Click() {
    const QString text = ComboBox1->currentText();
    for (int i = 0; i < ComboBox1->count(); ++i) {
        if (ComboBox1->itemText(i) == text) {
            ComboBox1->removeItem(i);
            ComboBox1->setEditText(text); // the formula field keeps its text
            return;
        }
    }
}

void TForm1::Button7Click() {
    ComboBox1->clear();
}

void TForm1::ComboBox1KeyPress(char key) {
    if (key == KeyEnter) Button2Click();
}

void TForm1::ComboBox1Change() {
    if (Timer1->isActive()) CompileFormulaList();
}
