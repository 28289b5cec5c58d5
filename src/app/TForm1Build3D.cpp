// The 3D builds of the main window: they normalise and capture the fields,
// take the build of the captured document to the builders and repaint the
// 3D window.
#include "app/TForm1.h"

#include "app/ErrorReport.h"
#include "app/TForm2.h"
#include "document/PlotDocument.h"
#include "engine/Engine.h"
#include "geometry3d/Buffers.h"
#include "geometry3d/Builders.h"
#include "geometry3d/Implicit.h"
#include "geometry3d/ModePicture.h"
#include "model/FieldEdits.h"
#include "view3d/FlyingCamera.h"
#include "view3d/Tfrm3D.h"
#include "view3d/ViewState.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QScopeGuard>
#include <QTimer>

namespace {

// The scan's progress in the 3D window, and its "Отмена": Cancel, which
// the scan finds after its plane.
class TWindowProgress : public TScanProgress {
  public:
    explicit TWindowProgress(Tfrm3D* window) : window_(window) {}
    void Cancel() { cancelled_ = true; }
    void Start() override {
        cancelled_ = false;
        if (window_) window_->ProgressStart(0);
    }
    bool Plane(double, double, double, double) override {
        if (window_) window_->ProgressAdvance(done_, true);
        return cancelled_;
    }
    void Line(double done) override {
        done_ = done;
        if (window_) window_->ProgressAdvance(done, false);
    }
    void End() override {
        if (window_) window_->ProgressEnd();
    }

  private:
    Tfrm3D* window_;
    double done_ = 0;
    bool cancelled_ = false;
};

} // namespace

bool TForm1::Busy() const {
    return LevelScanRunning;
}

TSceneOptions TForm1::SceneOptions() const {
    TSceneOptions options;
    options.Mode = CurrentPlotMode();
    options.Axes = Model.State.Input.Axes;
    options.Trajectory = Form2 != nullptr && Form2->CheckBox3->isChecked();
    return options;
}

void TForm1::BuildSurfaceZxy() {
    BuildFromFields(pmSurface);
}

void TForm1::BuildCurve3D() {
    // Outside its mode the curve, the camera's path, comes from the document.
    if (CurrentPlotMode() == pmCurve)
        BuildFromFields(pmCurve);
    else
        Build3D(pmCurve, DocumentInput());
}

void TForm1::BuildParametricSurface() {
    BuildFromFields(pmPatch);
}

void TForm1::BuildLevelPoints() {
    BuildFromFields(pmImplicit);
}

void TForm1::BuildFromFields(TPlotMode mode) {
    if (Busy()) return;
    NormaliseParamFields();
    const TPlotInput input = CaptureInput();
    DocumentMaybeChanged();
    Build3D(mode, input);
}

void TForm1::Build3D(TPlotMode mode, const TPlotInput& input) {
    if (Busy()) return;
    TWindowProgress progress(Frm3D);
    CancelScan = [&progress] { progress.Cancel(); };
    // Nothing is undone while a scan runs (it lets events in).
    NUndo->setEnabled(false);
    NRedo->setEnabled(false);
    const auto scanEnded = qScopeGuard([this] {
        CancelScan = nullptr;
        UpdateUndoItems();
    });
    const TModeBuild result = BuildModePicture(mode, input, progress);
    if (result.Built && mode == pmCurve) {
        CameraAtStart(); // every new curve starts the camera at its beginning
        Model.TrajectoryFailed = false;
    }
    if (result.Built && Frm3D) Frm3D->FormPaint();
    if (Model.CloseAfterScan) {
        // The window was closed during the scan: it closes now.
        QTimer::singleShot(0, this, [this] { close(); });
    } else if (result.AtBound) {
        ReportFailure(TooManyPointsMessage(static_cast<long double>(MaxVertices)) + " " +
                      tr("Показаны точки, найденные до этого.").toStdString());
    }
}

void TForm1::BuildModeFromFields() {
    const int mode = CurrentPlotMode();
    if (mode == pmCurve)
        BuildCurve3D();
    else if (IsPlotMode(mode) && mode != pmYx && mode != pmPlane)
        BuildFromFields(static_cast<TPlotMode>(mode));
}

void TForm1::Button8Click() {
    const TStep step(this, QT_TRANSLATE_NOOP("TForm1", "построение"));
    if (Busy()) return;
    SeedRandomFromClock();
    RandomiseColourCoeffs(3);
    BuildSurfaceZxy();
    if (Frm3D) Frm3D->show();
}

void TForm1::Button9Click() {
    const TStep step(this, QT_TRANSLATE_NOOP("TForm1", "построение"));
    if (Busy()) return;
    RandomiseColourCoeffs(3); // the generator is not seeded again here
    BuildCurve3D();
    if (Frm3D) Frm3D->show();
}

void TForm1::Button10Click() {
    const TStep step(this, QT_TRANSLATE_NOOP("TForm1", "построение"));
    if (Busy()) return;
    SeedRandomFromClock();
    RandomiseColourCoeffs(3);
    BuildParametricSurface();
    if (Frm3D) Frm3D->show();
}

void TForm1::Button11Click() {
    const TStep step(this, QT_TRANSLATE_NOOP("TForm1", "построение"));
    if (Busy()) return;
    SeedRandomFromClock();
    RandomiseColourCoeffs(1.3);
    if (Frm3D) Frm3D->show(); // first, so that the progress can be seen
    BuildLevelPoints();
}

void TForm1::N13Click() {
    const TStep step(this, QT_TRANSLATE_NOOP("TForm1", "построение"));
    if (Busy()) return;
    if (CurrentPlotMode() != pmSurface) {
        ReportFailure(tr("Случайная функция строится в режиме 3D z(x,y): выберите его в меню "
                         "«Опции» и нажмите F12 ещё раз.")
                          .toStdString());
        return;
    }
    const int depth = 2 + static_cast<int>(RandomBelow(4));
    Model.State.Fields[7] = RandomFormula(depth, false);
    ShowFields();
    Button8Click();
}

void TForm1::EquallyClick() {
    const TStep step(this, QT_TRANSLATE_NOOP("TForm1", "переключатель"));
    for (int k = 15; k <= 22; ++k)
        EditN(k)->setEnabled(!EditN(k)->isEnabled());
}

void TForm1::Edit11Change() {
    FollowXRow(Model.State);
    ShowFields();
}
