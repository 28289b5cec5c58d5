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
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>
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
        DragPause->stop();
        RunCommand([this] { Rebuild3D(); }); // the drag has ended: the 3D picture follows
        Model.History.End(WindowState());
    };
    ParameterPanel->PlayChanged = [this](int k, TPlay play, double speed) {
        RunCommand([&] { SetParameterPlay(k, play, speed); });
    };
    ParameterPanel->PlayClicked = [this](int k) { RunCommand([&] { PlayParameter(k); }); };
    connect(ParameterPanel, &QDockWidget::visibilityChanged, this,
            [this](bool shown) { NParameters->setChecked(shown); });
    DragPause = new QTimer(this);
    DragPause->setSingleShot(true);
    DragPause->setInterval(200);
    connect(DragPause, &QTimer::timeout, this, [this] {
        if (ParameterDragging) RunCommand([this] { Rebuild3D(); });
    });
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
    ParametersChanged(true);
}

void TForm1::RemoveParameter(int k) {
    std::vector<TParameter>& all = Model.State.Input.Parameters;
    if (k < 0 || k >= std::ssize(all)) return;
    const TStep step(this, QT_TRANSLATE_NOOP("TForm1", "удалить параметр"));
    StopPlaying(all[static_cast<std::size_t>(k)].Name);
    all.erase(all.begin() + k);
    ParametersChanged(true);
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

void TForm1::ParametersChanged(bool namesChanged) {
    ApplyParameters(Model.State.Input.Parameters);
    ParameterPanel->Show(Model.State.Input.Parameters);
    if (Shows(TControlKind::PaintBox)) {
        Redraw();
    } else if (!ParameterDragging || Parameter3DMs < Live3DMs) {
        // A 3D build follows the drag while it is quick, else when the drag pauses.
        QElapsedTimer clock;
        clock.start();
        Rebuild3D();
        Parameter3DMs = clock.elapsed();
    } else {
        DragPause->start(); // again at each move: it times out when the handle rests
    }
    if (namesChanged) { // what the formulas read as unknown: not at each value a drag passes
        ShowParameterOffer(DocumentInput());
        for (TFormulaMarks* marks : {Edit2Marks, Edit6Marks, Edit7Marks, ComboBox1Marks})
            marks->Refresh(); // a name it now reads is no longer unknown
    }
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

void TForm1::SetParameterPlay(int k, TPlay play, double speed) {
    std::vector<TParameter>& all = Model.State.Input.Parameters;
    if (k < 0 || k >= std::ssize(all) || !(speed > 0)) return;
    TParameter& p = all[static_cast<std::size_t>(k)];
    if (p.Play == play && p.Speed == speed) return;
    const TStep step(this, QT_TRANSLATE_NOOP("TForm1", "игра параметра"));
    p.Play = play;
    p.Speed = speed;
    for (TPlaying& playing : Playing)
        if (playing.Name == p.Name) playing.Timer->setInterval(std::max(1, qRound(1000 / speed)));
    DocumentMaybeChanged();
}

void TForm1::PlayParameter(int k) {
    const std::vector<TParameter>& all = Model.State.Input.Parameters;
    if (k < 0 || k >= std::ssize(all)) return;
    const TParameter& p = all[static_cast<std::size_t>(k)];
    const std::string name = p.Name;
    if (std::any_of(Playing.begin(), Playing.end(),
                    [&](const TPlaying& playing) { return playing.Name == name; })) {
        StopPlaying(name);
        return;
    }
    TPlaying playing{name, {SliderPosition(p, p.Value), 1}, new QTimer(this)};
    playing.Timer->setInterval(std::max(1, qRound(1000 / p.Speed)));
    connect(playing.Timer, &QTimer::timeout, this, [this, name] {
        RunCommand([&] {
            std::vector<TParameter>& now = Model.State.Input.Parameters;
            const auto p = std::find_if(now.begin(), now.end(),
                                        [&](const TParameter& q) { return q.Name == name; });
            const auto playing = std::find_if(Playing.begin(), Playing.end(),
                                              [&](const TPlaying& q) { return q.Name == name; });
            if (playing == Playing.end()) return;
            if (p == now.end() || !AdvancePlay(*p, playing->Player)) { // gone, or played once
                StopPlaying(name);
                return;
            }
            // No step of its own: the values it passes are no one's edits.
            p->Value = SliderValue(*p, playing->Player.Position);
            ParametersChanged();
        });
    });
    playing.Timer->start();
    Playing.push_back(playing);
    ParameterPanel->ShowPlaying(k, true);
}

void TForm1::StopPlaying(const std::string& name) {
    for (auto it = Playing.begin(); it != Playing.end();) {
        if (!name.empty() && it->Name != name) {
            ++it;
            continue;
        }
        it->Timer->stop();
        it->Timer->deleteLater();
        const std::vector<TParameter>& all = Model.State.Input.Parameters;
        const auto p = std::find_if(all.begin(), all.end(),
                                    [&](const TParameter& q) { return q.Name == it->Name; });
        if (p != all.end()) ParameterPanel->ShowPlaying(static_cast<int>(p - all.begin()), false);
        it = Playing.erase(it);
    }
}
