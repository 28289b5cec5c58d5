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
    // The formulas the build takes, each with the caption of its place.
    std::vector<std::pair<TStatus, std::string>> formulas;
    if (input.Mode == pmYx) {
        if (input.AllFormulas) {
            for (size_t k = 0; k < input.List.size(); ++k)
                formulas.emplace_back([k] { return tr("Формула %1 списка").arg(k + 1); },
                                      input.List[k]);
        } else {
            formulas.emplace_back([this] { return Label3->text(); }, input.Formula);
        }
    } else {
        for (const TDocValue& v : ValuesOfMode(input.Mode, input.Coordinates))
            if (v.IsFormula)
                formulas.emplace_back(
                    [slot = v.Index] { return QString::fromStdString(FormulaCaption(slot)); },
                    input.Document.Formulas[v.Index]);
    }
    for (const auto& [caption, text] : formulas) {
        const std::vector<TDiagnosis> found = Diagnose(text);
        if (found.empty()) continue;
        ShowStatus([caption, text, d = found.front()] {
            return caption() + QLatin1Char(' ') + DiagnosisMessage(text, d);
        });
        return;
    }
    ShowStatus(Model.FieldErrorStatus);
}

void TForm1::ShowStatus(const TStatus& status) {
    Model.Status = status;
    const QString text = status ? status() : QString();
    StatusLine->setText(text);
    // A message longer than the line shows whole in its tooltip.
    StatusLine->setToolTip(text);
}
