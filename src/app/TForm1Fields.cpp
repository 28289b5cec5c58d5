// The numeric fields: evaluation on Enter, "y(x0)=" and the normalisation
// before a build; also the creation and closing of the window.
#include "app/TForm1.h"

#include "app/ErrorReport.h"
#include "app/TForm2.h"
#include "document/PlotDocument.h"
#include "document/Settings.h"
#include "engine/Engine.h"
#include "geometry3d/Buffers.h"
#include "model/FormulaMessages.h"
#include "plot2d/View2D.h"
#include "view3d/Tfrm3D.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <cmath>

namespace {

void SetField(QLineEdit* field, const std::string& text) {
    SetEditText(field, QString::fromStdString(text));
}

} // namespace

void TForm1::EvalNumberField(QLineEdit* field, char key) {
    if (key != KeyEnter) return;
    const std::string text = FieldText(field);
    TTextFaultInfo fault;
    // A malformed number inside a formula ends the command with the field unchanged.
    const std::optional<double> v = FieldNumberValue(text, &fault);
    SetField(field, v ? FormatNumber(*v) : "Error!");
    if (!v) ExplainError([this, field] { return FieldCaption(field); }, text, fault);
}

void TForm1::Button1Click() {
    bool error = false;
    const double x0 = FieldNumber(Edit1);
    const std::string text = ComboBox1->currentText().toStdString();
    TTextFaultInfo fault;
    const double v = EvalFormulaText(UpperCaseFormula(text), error, x0, &fault);
    SetCaption(Label1, QString::fromStdString(error ? "Error!" : FormatNumber(v)));
    if (error) ExplainError([this] { return Button1->text(); }, text, fault);
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
    const int mode = CurrentPlotMode();
    for (int edit = 2; edit <= 26; ++edit)
        if (EditN(edit) == field)
            if (const auto v = ValueOfField(mode, Coordinates(), edit))
                return QString::fromStdString(FieldPlace(*v, static_cast<TPlotMode>(mode))) +
                       QLatin1Char(':');
    return {};
}

void TForm1::SanitiseNumberField(QLineEdit* field) {
    if (!HasNumberCharacters(FieldText(field))) SetField(field, "0");
}

void TForm1::MakeFieldNonNegative(QLineEdit* field) {
    const double value = FieldNumber(field);
    if (!(value >= 0)) SetField(field, FormatNumber(std::fabs(FieldNumber(field))));
}

void TForm1::NormaliseParamFields() {
    Model.FieldErrorStatus = nullptr;
    // Every field evaluated first, then each checked as its numbers' role
    // says. A field that does not convert stops the build only when the
    // current mode uses it; another mode's field waits for its own build.
    for (const TNumericField& f : NumericFields())
        InField(
            f.Edit, [&] { EvalNumberField(EditN(f.Edit), KeyEnter); }, true);
    for (const TNumericField& f : NumericFields())
        InField(
            f.Edit,
            [&] {
                if (IsSanitised(f.Role)) SanitiseNumberField(EditN(f.Edit));
                if (IsNonNegative(f.Role)) MakeFieldNonNegative(EditN(f.Edit));
            },
            true);
}

void TForm1::InField(int edit, const std::function<void()>& action, bool onlyThisMode) const {
    try {
        action();
    } catch (const ConversionError& e) {
        const int mode = CurrentPlotMode();
        if (const auto v = ValueOfField(mode, Coordinates(), edit))
            throw e.At(FieldPlace(*v, static_cast<TPlotMode>(mode)));
        if (!onlyThisMode) throw;
    }
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
}
