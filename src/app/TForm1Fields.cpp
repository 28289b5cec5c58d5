// The numeric fields: evaluation on Enter, "y(x0)=", the normalisation before
// a build and the capture of the current mode's fields into the document.
// Also the creation and closing of the window.
#include "app/TForm1.h"

#include "animation/FrameSettings.h"
#include "app/ErrorReport.h"
#include "document/PlotDocument.h"
#include "engine/Engine.h"
#include "geometry3d/Colouring.h"
#include "plot2d/Colours.h"
#include "plot2d/View2D.h"
#include "view3d/CameraSettings.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QTimer>

#include <cmath>

namespace {

void SetField(QLineEdit* field, const std::string& text) {
    SetEditText(field, QString::fromStdString(text));
}

double FieldNumber(const QLineEdit* field) {
    return StrToFloat(FieldText(field));
}

} // namespace

void TForm1::EvalNumberField(QLineEdit* field, char key) {
    if (key != KeyEnter) return;
    bool error = false;
    const std::string text = FieldText(field);
    std::string result;
    try {
        result = FormatNumber(StrToFloat(text));
    } catch (const ConversionError&) {
        // Not a plain number: a formula of x = 0. A malformed number inside it
        // ends the command with the field unchanged.
        result = FormatNumber(EvalFormulaText(UpperCaseFormula(text), error, 0));
    }
    SetField(field, error ? "Error!" : result);
}

void TForm1::Button1Click() {
    bool error = false;
    const double x0 = FieldNumber(Edit1);
    const double v =
        EvalFormulaText(UpperCaseFormula(ComboBox1->currentText().toStdString()), error, x0);
    SetCaption(Label1, QString::fromStdString(error ? "Error!" : FormatNumber(v)));
}

void TForm1::SanitiseNumberField(QLineEdit* field) {
    const std::string s = FieldText(field);
    bool acceptable = !s.empty();
    int separators = 0, minuses = 0;
    for (size_t i = 0; i < s.size() && acceptable; ++i) {
        const char c = s[i];
        if (c == ',' || c == '.') {
            ++separators;
        } else if (c == '-') {
            ++minuses;
            if (i != 0) acceptable = false;
        } else if (!((c >= '0' && c <= '9') || c == 'E' || c == 'e')) {
            acceptable = false;
        }
    }
    if (separators > 1 || minuses > 1) acceptable = false;
    if (!acceptable) SetField(field, "0");
}

void TForm1::MakeFieldNonNegative(QLineEdit* field) {
    const double value = FieldNumber(field);
    if (!(value >= 0)) SetField(field, FormatNumber(std::fabs(FieldNumber(field))));
}

void TForm1::NormaliseParamFields() {
    for (int k :
         {3, 4, 5, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26})
        EvalNumberField(Edits[k], KeyEnter);
    for (QLineEdit* e : {Edit3, Edit4, Edit5})
        SanitiseNumberField(e);
    MakeFieldNonNegative(Edit5);
    for (QLineEdit* e : {Edit8, Edit9, Edit10})
        SanitiseNumberField(e);
    MakeFieldNonNegative(Edit10);
    for (int row = 0; row < 3; ++row) {
        const int first = 11 + 4 * row;
        for (int k = first; k < first + 3; ++k)
            SanitiseNumberField(Edits[k]);
        MakeFieldNonNegative(Edits[first + 3]);
    }
}

void TForm1::CaptureDocument() {
    TPlotDocument& doc = PlotDocument;
    auto number = [&](TNumberIndex index, const QLineEdit* field) {
        doc.Numbers[index] = FieldNumber(field);
    };
    auto formula = [&](TFormulaSlot slot, const QLineEdit* field) {
        StoreFormula(doc, slot, FieldText(field));
    };
    auto view = [&](TNumberIndex y2, TNumberIndex y1, TNumberIndex x2, TNumberIndex x1) {
        number(y2, Edit23);
        number(y1, Edit24);
        number(x2, Edit25);
        number(x1, Edit26);
    };
    if (N2Dxyt->isChecked()) {
        formula(fsPlaneX, Edit2);
        formula(fsPlaneY, Edit6);
        const bool cartesian = RadioButton1->isChecked();
        number(cartesian ? PlaneCartTMin : PlanePolarTMin, Edit3);
        number(cartesian ? PlaneCartTMax : PlanePolarTMax, Edit4);
        number(cartesian ? PlaneCartTStep : PlanePolarTStep, Edit5);
        if (cartesian)
            view(PlaneCartY2, PlaneCartY1, PlaneCartX2, PlaneCartX1);
        else
            view(PlanePolarY2, PlanePolarY1, PlanePolarX2, PlanePolarX1);
    } else if (N2Dyx->isChecked()) {
        number(YxPhiMin, Edit3);
        number(YxPhiMax, Edit4);
        const bool cartesian = RadioButton1->isChecked();
        number(cartesian ? YxCartStep : YxPolarStep, Edit5);
        if (cartesian)
            view(YxCartY2, YxCartY1, YxCartX2, YxCartX1);
        else
            view(YxPolarY2, YxPolarY1, YxPolarX2, YxPolarX1);
    } else if (N3Dzxy->isChecked()) {
        formula(fsSurfaceZ, Edit7);
        number(SurfXMin, Edit3);
        number(SurfXMax, Edit4);
        number(SurfXStep, Edit5);
        number(SurfYMin, Edit8);
        number(SurfYMax, Edit9);
        number(SurfYStep, Edit10);
    } else if (N3DFxyz->isChecked()) {
        formula(fsImplicitF, Edit7);
        for (int k = 0; k < 12; ++k)
            number(static_cast<TNumberIndex>(ImplXMin + k), Edits[11 + k]);
    } else if (N3Dxyzt->isChecked()) {
        formula(fsCurveX, Edit2);
        formula(fsCurveY, Edit6);
        formula(fsCurveZ, Edit7);
        number(CurveTMin, Edit3);
        number(CurveTMax, Edit4);
        number(CurveTStep, Edit5);
    } else if (N3Dxyzuv->isChecked()) {
        formula(fsPatchX, Edit2);
        formula(fsPatchY, Edit6);
        formula(fsPatchZ, Edit7);
        number(PatchUMin, Edit3);
        number(PatchUMax, Edit4);
        number(PatchUStep, Edit5);
        number(PatchVMin, Edit8);
        number(PatchVMax, Edit9);
        number(PatchVStep, Edit10);
    }
}

void TForm1::FormCreate() {
    // The locale's decimal separator, as it stands in the text of 0.1.
    const QString tenth = QLocale().toString(0.1);
    DecimalSeparatorChar = tenth.size() > 1 && tenth[1] == QLatin1Char(',') ? ',' : '.';
    SeedRandomFromClock();
    Panning = BoxDragging = RangeEditsDirty = false;
    SetDocumentDefaults(PlotDocument);
    SetPlotMode(pmYx);
    FirstFrame = 1;
    LastFrame = 20;
    FrameInterval = 50;
    for (auto& f : PlotDocument.Formulas)
        f.clear();
    for (auto& c : GraphColors)
        c = ClBlue;
    RandomiseColourCoeffs();
    AxesColor = ClGreen;
    BackgroundColor = ClWhite;
    FontColor = ClBlack;
    ViewAlongMode = 1;
    PlotWidth = PaintBox1->width();
    PlotHeight = PaintBox1->height();

    // The first view, from the fields just laid out; y2 follows from equal scales.
    RunCommand([this] {
        ViewX1 = FieldNumber(Edit26);
        ViewX2 = FieldNumber(Edit25);
        ViewY1 = FieldNumber(Edit24);
        ViewY2 = EqualScaleExtent(static_cast<double>(static_cast<long double>(ViewX2) - ViewX1),
                                  ViewY1);
        SetField(Edit23, FormatNumber(ViewY2));
        RecomputeViewFromEdges();
    });
    Button2Click();
}

void TForm1::FormClose() {
    // Stop the animation first, so that no tick evaluates a freed tree.
    Timer1->stop();
    FrameCounter = 0;
    VarF = 0;
    RunCommand([this] { BuildPicture(); });
    FreeAllTrees();
}
