// The six modes: the reset of the window, the layout of each mode filled from
// the plot document, the capture of its fields back into the document, and
// the switch between cartesian and polar coordinates. Which field holds what
// is the mode table's business; here the table meets the widgets.
#include "app/TForm1.h"

#include "app/Translation.h"

#include "document/PlotDocument.h"
#include "engine/Engine.h"
#include "model/FieldEdits.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

int TForm1::CurrentPlotMode() const {
    return Model.State.Input.Mode;
}

bool TForm1::Shows(TControlKind kind, int number) const {
    return LayoutShows(CurrentPlotMode(), {kind, number});
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
    Model.State.X0Result.clear();
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
    Model.State.Input.Mode = 0;
    PaintBox1->hide();
}

void TForm1::ShowDocumentValues(std::span<const TDocValue> values) {
    LoadFields(Model.State, values, PlotDocument);
    ShowFields();
}

void TForm1::SetPlotMode(int mode) {
    if (Busy()) return; // the scan reads the fields of its mode
    LayOutMode(mode);
    // A 2D mode shows the picture of its document in its own view at once.
    if (Shows(TControlKind::PaintBox)) ShowDocumentPicture();
    DocumentMaybeChanged();
}

void TForm1::ChooseMode(TPlotMode mode) {
    const TStep step(this, QT_TRANSLATE_NOOP("TForm1", "смена режима"));
    if (Busy()) return;
    LayOutMode(mode);
    // The document holds what the fields now show, as a build would take it.
    CaptureShownNumbers(Model.State, PlotDocument);
    if (Shows(TControlKind::PaintBox)) ShowDocumentPicture();
    DocumentMaybeChanged();
}

void TForm1::LayOutMode(int mode) {
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
    ShowDocumentValues(set.Shared);
    ShowDocumentValues(set.Own);
    for (const TMenuItem item : layout->Menu)
        MenuItem(item)->setChecked(true);
    Model.State.Input.Mode = layout->Mode;
    ShowSlopeControls(layout->Mode, TCoordinates::Cartesian);
    UpdateFormulaMarks();
}

void TForm1::ShowSlopeControls(int mode, TCoordinates coords) {
    const bool shown = mode == pmYx && coords == TCoordinates::Cartesian;
    SlopeButton->setVisible(shown);
    SlopeResult->setVisible(shown);
    if (!shown) SlopeResult->clear();
}

void TForm1::CaptureDocument() {
    CaptureFields(Model.State, PlotDocument, Model.TypedFormulas);
}

TPlotInput TForm1::CaptureInput() {
    CaptureDocument();
    TPlotInput input = DocumentInput();
    ShowFormulaDiagnosis(input);
    return input;
}

TPlotInput TForm1::DocumentInput() const {
    TPlotInput input = Model.State.Input;
    input.Document = TypedDocument(Model);
    input.Pens = PensOfList(input.List, Model.State.Styles);
    input.Legend = Model.State.Legend;
    input.ExactGraphs = Model.State.ExactGraphs;
    return input;
}

TCoordinates TForm1::Coordinates() const {
    return Model.State.Input.Coordinates;
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
    ShowDocumentValues(ParameterSet(mode, coords).Own);
    for (const TControl& c : layout.Show)
        Control(c)->show();
    ShowSlopeControls(mode, coords);
    UpdateFormulaMarks();
}

// "декарт": the y(x) mode when its item is checked, otherwise the parametric
// one (also while a layout has unchecked every mode item).
void TForm1::RadioButton1Click() {
    SwitchCoordinates(CurrentPlotMode() == pmYx ? pmYx : pmPlane, TCoordinates::Cartesian);
}

// "поляр": the parametric mode when its item is checked, otherwise y(x).
void TForm1::RadioButton2Click() {
    const int mode = CurrentPlotMode();
    const bool parametric = mode == pmPlane || mode == pmCurve || mode == pmPatch;
    SwitchCoordinates(parametric ? pmPlane : pmYx, TCoordinates::Polar);
}

void TForm1::N2DyxClick() {
    ChooseMode(pmYx);
}
void TForm1::N3DzxyClick() {
    ChooseMode(pmSurface);
}
void TForm1::N2DxytClick() {
    ChooseMode(pmPlane);
}
void TForm1::N3DxyztClick() {
    ChooseMode(pmCurve);
}
void TForm1::N3DxyzuvClick() {
    ChooseMode(pmPatch);
}
void TForm1::N3DFxyzClick() {
    ChooseMode(pmImplicit);
}
