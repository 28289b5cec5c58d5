// The six modes: the reset of the window, the layout of each mode filled from
// the plot document, the capture of its fields back into the document, and
// the switch between cartesian and polar coordinates. Which field holds what
// is the mode table's business; here the table meets the widgets.
#include "app/TForm1.h"

#include "app/Translation.h"

#include "document/PlotDocument.h"
#include "engine/Engine.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

int TForm1::CurrentPlotMode() const {
    if (N2Dyx->isChecked()) return pmYx;
    if (N3Dzxy->isChecked()) return pmSurface;
    if (N3DFxyz->isChecked()) return pmImplicit;
    if (N2Dxyt->isChecked()) return pmPlane;
    if (N3Dxyzt->isChecked()) return pmCurve;
    if (N3Dxyzuv->isChecked()) return pmPatch;
    return 0;
}

QWidget* TForm1::Control(TControl control) const {
    const int n = control.Number;
    switch (control.Kind) {
    case TControlKind::Label:
        return LabelN(n);
    case TControlKind::Edit:
        return EditN(n);
    case TControlKind::Button:
        return ButtonN(n);
    case TControlKind::CheckBox:
        return CheckBoxN(n);
    case TControlKind::RadioButton:
        return RadioButtonN(n);
    case TControlKind::ComboBox:
        return ComboBox1;
    case TControlKind::PaintBox:
        return PaintBox1;
    case TControlKind::Equally:
        return Equally;
    }
    return nullptr;
}

QAction* TForm1::MenuItem(TMenuItem item) const {
    switch (item) {
    case TMenuItem::N2Dyx:
        return N2Dyx;
    case TMenuItem::N3Dzxy:
        return N3Dzxy;
    case TMenuItem::N3DFxyz:
        return N3DFxyz;
    case TMenuItem::N9:
        return N9;
    case TMenuItem::N2Dxyt:
        return N2Dxyt;
    case TMenuItem::N3Dxyzt:
        return N3Dxyzt;
    case TMenuItem::N3Dxyzuv:
        return N3Dxyzuv;
    }
    return nullptr;
}

void TForm1::HideAllControls() {
    for (int k = 1; k <= 26; ++k)
        LabelN(k)->hide();
    for (int k = 1; k <= 11; ++k) {
        LabelN(k)->clear();
        ForgetSource(LabelN(k));
    }
    for (int k = 1; k <= 26; ++k)
        EditN(k)->hide();
    for (int k = 1; k <= 11; ++k)
        Control({TControlKind::Button, k})->hide();
    RadioButton1->hide();
    RadioButton2->hide();
    for (int k = 1; k <= 9; ++k)
        Control({TControlKind::CheckBox, k})->hide();
    CheckBox9->setChecked(true);
    Equally->hide();
    ComboBox1->hide();
    for (QAction* a : {N2Dyx, N3Dzxy, N3DFxyz, N9, N2Dxyt, N3Dxyzt, N3Dxyzuv})
        a->setChecked(false);
    PaintBox1->hide();
}

// Writes document values into their fields, in the order given: numbers in
// the general format, formulas as they are stored.
void TForm1::LoadFields(std::span<const TDocValue> values) {
    for (const TDocValue& v : values) {
        const std::string text = v.IsFormula ? PlotDocument.Formulas[v.Index]
                                             : FormatNumber(PlotDocument.Numbers[v.Index]);
        SetEditText(EditN(FieldOf(v)), QString::fromStdString(text));
    }
}

void TForm1::SetPlotMode(int mode) {
    if (Busy()) return; // the scan reads the fields of its mode
    HideAllControls();
    const TModeLayout* layout = ModeLayout(mode);
    if (layout == nullptr) return; // no mode: every mode control stays hidden
    if (layout->CoordinateSwitch) {
        RadioButton1->show();
        RadioButton2->show();
        RadioButton1->setChecked(true); // runs "декарт" if it was not checked
    }
    for (const TControl& c : layout->Show)
        Control(c)->show();
    for (const int edit : layout->Clear)
        EditN(edit)->clear();
    for (const TCaption& c : layout->Captions)
        SetText(LabelN(c.Label), "ModeLayout", c.Text);
    const TParameterSet set = ParameterSet(layout->Mode, TCoordinates::Cartesian);
    LoadFields(set.Shared);
    LoadFields(set.Own);
    for (const TMenuItem item : layout->Menu)
        MenuItem(item)->setChecked(true);
    UpdateFormulaMarks();
    // A 2D mode shows the picture of its document in its own view at once.
    if (!PaintBox1->isHidden()) ShowDocumentPicture();
    DocumentMaybeChanged();
}

void TForm1::CaptureDocument() {
    const int mode = CurrentPlotMode();
    if (!IsPlotMode(mode)) return;
    // The coordinate system is read after the fields both systems share.
    auto capture = [](std::span<const TDocValue> values, TForm1* form) {
        for (const TDocValue& v : values) {
            const std::string text = FieldText(form->EditN(FieldOf(v)));
            if (v.IsFormula) {
                StoreFormula(PlotDocument, static_cast<TFormulaSlot>(v.Index), text);
                form->Model.TypedFormulas[v.Index] = text;
            } else {
                form->InField(
                    FieldOf(v), [&] { PlotDocument.Numbers[v.Index] = StrToFloat(text); }, false);
            }
        }
    };
    const auto plotMode = static_cast<TPlotMode>(mode);
    capture(ParameterSet(plotMode, TCoordinates::Cartesian).Shared, this);
    capture(ParameterSet(plotMode, Coordinates()).Own, this);
}

TPlotInput TForm1::CaptureInput() {
    CaptureDocument();
    TPlotInput input = DocumentInput();
    ShowFormulaDiagnosis(input);
    return input;
}

TPlotInput TForm1::DocumentInput() const {
    TPlotInput input;
    input.Mode = CurrentPlotMode();
    input.Document = PlotDocument;
    // The builds take the formulas as typed; the document keeps 100 characters.
    for (int k = 0; k < DocumentFormulaCount; ++k)
        if (CutFormula(Model.TypedFormulas[k]) == PlotDocument.Formulas[k])
            input.Document.Formulas[k] = Model.TypedFormulas[k];
    ReadSwitches(input);
    return input;
}

TCoordinates TForm1::Coordinates() const {
    return RadioButton1->isChecked() ? TCoordinates::Cartesian : TCoordinates::Polar;
}

void TForm1::ReadSwitches(TPlotInput& input) const {
    input.Coordinates = Coordinates();
    input.Formula = ComboBox1->currentText().toStdString();
    input.List.clear();
    for (int i = 0; i < ComboBox1->count(); ++i)
        input.List.push_back(ComboBox1->itemText(i).toStdString());
    input.AllFormulas = CheckBox1->isChecked();
    input.MinimalStep = CheckBox9->isChecked();
    input.Axes = N6->isChecked();
    input.Grid = CheckBox7->isChecked();
    input.EqualScales = CheckBox6->isChecked();
    input.Families[0] = CheckBox3->isChecked();
    input.Families[1] = CheckBox4->isChecked();
    input.Families[2] = CheckBox5->isChecked();
    input.Centre = CheckBox8->isChecked();
    input.EqualRows = Equally->isChecked();
}

// Relabels the fields for one coordinate system of a 2D mode, loads its
// parameter set from the document and builds.
void TForm1::SwitchCoordinates(TPlotMode mode, TCoordinates coords) {
    const TStep step(this, QT_TRANSLATE_NOOP("TForm1", "смена координат"));
    ShowCoordinates(mode, coords);
    Button2Click();
}

void TForm1::ShowCoordinates(TPlotMode mode, TCoordinates coords) {
    const TCoordinateLayout& layout = CoordinateLayout(mode, coords);
    SetText(Button1, "ModeLayout", layout.Button1);
    for (const TCaption& c : layout.Captions)
        SetText(LabelN(c.Label), "ModeLayout", c.Text);
    for (const TControl& c : layout.Hide)
        Control(c)->hide();
    LoadFields(ParameterSet(mode, coords).Own);
    for (const TControl& c : layout.Show)
        Control(c)->show();
    UpdateFormulaMarks();
}

// "декарт": the y(x) mode when its item is checked, otherwise the parametric
// one (also while a layout has unchecked every mode item).
void TForm1::RadioButton1Click() {
    SwitchCoordinates(N2Dyx->isChecked() ? pmYx : pmPlane, TCoordinates::Cartesian);
}

// "поляр": the parametric mode when its item is checked, otherwise y(x).
void TForm1::RadioButton2Click() {
    SwitchCoordinates(N9->isChecked() ? pmPlane : pmYx, TCoordinates::Polar);
}

void TForm1::N2DyxClick() {
    const TStep step(this, QT_TRANSLATE_NOOP("TForm1", "смена режима"));
    SetPlotMode(pmYx);
}
void TForm1::N3DzxyClick() {
    const TStep step(this, QT_TRANSLATE_NOOP("TForm1", "смена режима"));
    SetPlotMode(pmSurface);
}
void TForm1::N2DxytClick() {
    const TStep step(this, QT_TRANSLATE_NOOP("TForm1", "смена режима"));
    SetPlotMode(pmPlane);
}
void TForm1::N3DxyztClick() {
    const TStep step(this, QT_TRANSLATE_NOOP("TForm1", "смена режима"));
    SetPlotMode(pmCurve);
}
void TForm1::N3DxyzuvClick() {
    const TStep step(this, QT_TRANSLATE_NOOP("TForm1", "смена режима"));
    SetPlotMode(pmPatch);
}
void TForm1::N3DFxyzClick() {
    const TStep step(this, QT_TRANSLATE_NOOP("TForm1", "смена режима"));
    SetPlotMode(pmImplicit);
}
