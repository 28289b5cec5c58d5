// The parameters of the document in the window: the panel "Параметры", the
// offer to add a name a formula reads, and each change as a step with its
// picture.
#include "app/TForm1.h"

#include "app/ErrorReport.h"
#include "app/FormulaMarks.h"
#include "app/ParameterPanel.h"
#include "document/Limits.h"
#include "model/FormulaMessages.h"
#include "model/Parameters.h"
#include "view3d/Tfrm3D.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>

#include <optional>

void TForm1::CreateParameterPanel() {
    ParameterPanel = new TParameterPanel(this);
    addDockWidget(Qt::RightDockWidgetArea, ParameterPanel);
    ParameterPanel->hide(); // until the user asks for it or adds a parameter
    ParameterPanel->Add = [this](const std::string& name) {
        RunCommand([&] { AddParameter(name); });
    };
    ParameterPanel->Remove = [this](int k) { RunCommand([&] { RemoveParameter(k); }); };
    ParameterPanel->ValueChanged = [this](int k, double v) {
        RunCommand([&] { SetParameterValue(k, v); });
    };
    ParameterPanel->RangeChanged = [this](int k, double min, double max, double step) {
        RunCommand([&] { SetParameterRange(k, min, max, step); });
    };
    ParameterPanel->DragStarted = [this](int) {
        if (ParameterDragging) return;
        ParameterDragging = true;
        Model.History.Begin(QT_TRANSLATE_NOOP("TForm1", "параметр"));
    };
    ParameterPanel->DragEnded = [this](int) {
        if (!ParameterDragging) return;
        ParameterDragging = false;
        RunCommand([this] { Rebuild3D(); }); // the drag has paused: the 3D picture follows
        Model.History.End(WindowState());
    };
    connect(ParameterPanel, &QDockWidget::visibilityChanged, this,
            [this](bool shown) { NParameters->setChecked(shown); });
    ParameterOffer = new QLabel;
    ParameterOffer->setObjectName(QStringLiteral("ParameterOffer"));
    ParameterOffer->setTextFormat(Qt::RichText);
    ParameterOffer->hide();
    statusBar()->addPermanentWidget(ParameterOffer);
    connect(ParameterOffer, &QLabel::linkActivated, this,
            [this](const QString& name) { RunCommand([&] { AddParameter(name.toStdString()); }); });
}

void TForm1::ParametersClick() {
    ParameterPanel->setVisible(!ParameterPanel->isVisible());
    NParameters->setChecked(ParameterPanel->isVisible());
}

void TForm1::AddParameter(const std::string& name) {
    const TParameterNameFault fault = ParameterNameFault(name, Model.State.Input.Parameters);
    if (fault != TParameterNameFault::None)
        throw BuildRefused(ParameterNameMessage(fault, name).toStdString());
    if (std::ssize(Model.State.Input.Parameters) >= MaxParameters)
        throw BuildRefused(
            tr("Параметров уже %1: больше не помещается.").arg(MaxParameters).toStdString());
    const TStep step(this, QT_TRANSLATE_NOOP("TForm1", "добавить параметр"));
    Model.State.Input.Parameters.push_back(NewParameter(name));
    ParameterPanel->NewName->clear();
    ParameterPanel->show();
    ParametersChanged();
}

void TForm1::RemoveParameter(int k) {
    std::vector<TParameter>& all = Model.State.Input.Parameters;
    if (k < 0 || k >= std::ssize(all)) return;
    const TStep step(this, QT_TRANSLATE_NOOP("TForm1", "удалить параметр"));
    all.erase(all.begin() + k);
    ParametersChanged();
}

void TForm1::SetParameterValue(int k, double value) {
    std::vector<TParameter>& all = Model.State.Input.Parameters;
    if (k < 0 || k >= std::ssize(all) || all[static_cast<std::size_t>(k)].Value == value) return;
    std::optional<TStep> step; // a drag is one step, held open by the panel
    if (!ParameterDragging) step.emplace(this, QT_TRANSLATE_NOOP("TForm1", "параметр"));
    all[static_cast<std::size_t>(k)].Value = value;
    ParametersChanged();
}

void TForm1::SetParameterRange(int k, double min, double max, double step) {
    std::vector<TParameter>& all = Model.State.Input.Parameters;
    if (k < 0 || k >= std::ssize(all)) return;
    TParameter& p = all[static_cast<std::size_t>(k)];
    if (!(min < max) || !(step > 0)) {
        ParameterPanel->Show(all); // the boxes show the range it keeps
        throw BuildRefused(tr("Параметр «%1»: «от» должно быть меньше «до», а шаг больше 0.")
                               .arg(QString::fromStdString(p.Name))
                               .toStdString());
    }
    if (p.Min == min && p.Max == max && p.Step == step) return;
    const TStep change(this, QT_TRANSLATE_NOOP("TForm1", "диапазон параметра"));
    p.Min = min, p.Max = max, p.Step = step;
    ParametersChanged();
}

void TForm1::ParametersChanged() {
    ApplyParameters(Model.State.Input.Parameters);
    ParameterPanel->Show(Model.State.Input.Parameters);
    if (Shows(TControlKind::PaintBox))
        Redraw();
    else if (!ParameterDragging)
        Rebuild3D();
    ShowParameterOffer(DocumentInput());
    for (TFormulaMarks* marks : {Edit2Marks, Edit6Marks, Edit7Marks, ComboBox1Marks})
        marks->Refresh(); // a name it now reads is no longer unknown
    DocumentMaybeChanged();
}

void TForm1::ShowParameterOffer(const TPlotInput& input) {
    const std::vector<std::string> names = ParameterCandidates(input);
    ParameterOffer->setVisible(!names.empty());
    if (names.empty()) return;
    // A name is Latin letters and digits: nothing in it is markup.
    const QString name = QString::fromStdString(names.front());
    ParameterOffer->setText(
        QStringLiteral("<a href=\"%1\">%2</a>").arg(name, tr("Добавить параметр «%1»").arg(name)));
}
