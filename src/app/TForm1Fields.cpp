// The numeric fields: evaluation on Enter, "y(x0)=" and the normalisation
// before a build; also the creation and closing of the window.
#include "app/ParameterPanel.h"
#include "app/TForm1.h"

#include "app/ErrorReport.h"
#include "app/TForm2.h"
#include "document/PlotDocument.h"
#include "document/Settings.h"
#include "engine/Engine.h"
#include "geometry3d/Buffers.h"
#include "model/FieldEdits.h"
#include "model/FormulaMessages.h"
#include "model/Parameters.h"
#include "plot2d/View2D.h"
#include "view3d/Tfrm3D.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTimer>

#include <cmath>

void TForm1::ShowFields() {
    for (int k = 1; k < StateFieldCount; ++k)
        SetEditText(EditN(k), QString::fromStdString(Model.State.Fields[k]));
}

void TForm1::EvalNumberField(QLineEdit* field, char key) {
    if (key != KeyEnter) return;
    for (int k = 1; k < StateFieldCount; ++k) {
        if (EditN(k) != field) continue;
        std::string& text = Model.State.Fields[k];
        const std::string typed = text;
        TTextFaultInfo fault;
        const bool ok = EvaluateField(text, &fault);
        ShowFields();
        if (!ok) ExplainError([this, field] { return FieldCaption(field); }, typed, fault);
    }
}

void TForm1::Button1Click() {
    bool error = false;
    TTextFaultInfo fault;
    ShowX0Result(QString::fromStdString(X0Result(Model.State, &fault, error)));
    if (error) ExplainError([this] { return Button1->text(); }, Model.State.Input.Formula, fault);
}

void TForm1::SlopeButtonClick() {
    CaptureDocument();
    std::string why;
    SlopeResult->setText(QString::fromStdString(X0Slope(Model.State, why)));
    if (!why.empty())
        ShowStatus(
            [text = tr("y′(x0)= Error! — %1").arg(QString::fromStdString(why))] { return text; });
}

void TForm1::ExplainError(const std::function<QString()>& place, const std::string& text,
                          const TTextFaultInfo& fault) {
    const TStatus message = [=] {
        return tr("%1 Error! — %2").arg(place(), TextFaultMessage(text, fault));
    };
    // A build tells the first field that failed, after the formulas.
    if (!Model.FieldErrorStatus) Model.FieldErrorStatus = message;
    ShowStatus(message);
}

QString TForm1::FieldCaption(const QLineEdit* field) const {
    if (field == Edit1) return Label2->text();
    for (int edit = 2; edit <= 26; ++edit)
        if (EditN(edit) == field)
            if (const auto place = PlaceOfField(Model.State.Input, edit))
                return QString::fromStdString(*place) + QLatin1Char(':');
    return {};
}

void TForm1::NormaliseParamFields() {
    Model.FieldErrorStatus = nullptr;
    // The fields show what was done, also when a field stops the build.
    const auto show = qScopeGuard([this] { ShowFields(); });
    NormaliseFields(
        Model.State, [this](int edit, const std::string& text, const TTextFaultInfo& fault) {
            ExplainError([this, edit] { return FieldCaption(EditN(edit)); }, text, fault);
        });
}

void TForm1::FormCreate() {
    // The locale's decimal separator, as it stands in the text of 0.1.
    const QString tenth = QLocale().toString(0.1);
    DecimalSeparatorChar = tenth.size() > 1 && tenth[1] == QLatin1Char(',') ? ',' : '.';
    SeedRandomFromClock();
    Panning = BoxDragging = RangeEditsDirty = false;
    SetDocumentDefaults(PlotDocument); // every formula slot empty as well
    for (std::string& typed : Model.TypedFormulas)
        typed.clear();
    Model.Kept = {}; // no parameters or keys of another program yet
    Model.State.Styles.clear();
    Model.State.Legend = false;
    NLegend->setChecked(false);
    Model.State.ExactGraphs = false;
    NExactGraphs->setChecked(false);
    StopPlaying({});
    Model.State.Input.Parameters.clear();
    ApplyParameters({});
    if (ParameterPanel) ParameterPanel->Show({});
    SetPlotMode(pmYx);
    SetDefaultSettings();
    RandomiseColourCoeffs();
    PlotWidth = PaintBox1->width();
    PlotHeight = PaintBox1->height();
    // The first view, from the fields just laid out; y2 follows from equal scales.
    RunCommand([this] { ReadRangeEditsFromFields(); });
    Button2Click();
    // A new document, saved nowhere, that nothing has changed yet.
    Model.FileName.clear();
    RebuildRecentMenu();
    RememberSavedState();
}

void TForm1::FormClose() {
    // The animation's cancel first, so that no tick evaluates a freed tree.
    if (Form2 != nullptr) {
        RunCommand([this] { Form2->Button2Click(); });
    } else {
        StopAnimation();
        FrameCounter = 0;
        Button2Click();
    }
    if (Frm3D != nullptr) Frm3D->Timer1->stop(); // the flight and the spin too
    FreeAllTrees();
    if (RecoveryTimer != nullptr) RecoveryTimer->stop();
    RemoveOwnRecovery(); // a normal end: whatever was not saved, the user let go
    Model.RecoveryWritten.clear();
}
