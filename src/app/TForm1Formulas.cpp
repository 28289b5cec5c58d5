// What the formulas hold that the compiler does not understand: the marks
// of the formula fields and the status line under the client area.
#include "app/TForm1.h"

#include "app/FormulaMarks.h"
#include "model/FormulaMessages.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

void TForm1::UpdateFormulaMarks() {
    const int mode = CurrentPlotMode();
    auto holdsFormula = [&](int edit) {
        const auto v = ValueOfField(mode, Coordinates(), edit);
        return v && v->IsFormula;
    };
    Edit2Marks->SetActive(holdsFormula(2));
    Edit6Marks->SetActive(holdsFormula(6));
    Edit7Marks->SetActive(holdsFormula(7));
    ComboBox1Marks->SetActive(mode == pmYx);
}

void TForm1::ShowFormulaDiagnosis(const TPlotInput& input) {
    const TStatus found = FirstDiagnosis(input, [this] { return Label3->text(); });
    ShowStatus(found ? found : Model.FieldErrorStatus);
    ShowParameterOffer(input);
}

void TForm1::ShowStatus(const TStatus& status) {
    Model.Status = status;
    const QString text = status ? status() : QString();
    StatusLine->setText(text);
    // A message longer than the line shows whole in its tooltip.
    StatusLine->setToolTip(text);
}
