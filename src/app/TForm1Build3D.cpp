// The 3D builds of the main window: they read the fields (or the document),
// hand the formulas and numbers to the builders and repaint the 3D window.
#include "app/TForm1.h"

#include "app/ErrorReport.h"
#include "app/TForm2.h"
#include "document/PlotDocument.h"
#include "engine/Engine.h"
#include "geometry3d/Buffers.h"
#include "geometry3d/Builders.h"
#include "geometry3d/Implicit.h"
#include "view3d/FlyingCamera.h"
#include "view3d/Tfrm3D.h"
#include "view3d/ViewState.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QTimer>

namespace {

double FieldNumber(const QLineEdit* field) {
    return StrToFloat(FieldText(field));
}

// The ranges of the two parameter rows Edit3 ... Edit5 and Edit8 ... Edit10.
TGridRanges GridRanges(const TForm1* f) {
    return {FieldNumber(f->Edit3), FieldNumber(f->Edit4), FieldNumber(f->Edit5),
            FieldNumber(f->Edit8), FieldNumber(f->Edit9), FieldNumber(f->Edit10)};
}

// The scan's progress in the 3D window, and its "Отмена".
class TWindowProgress : public TScanProgress {
  public:
    explicit TWindowProgress(Tfrm3D* window) : window_(window) {}
    void Start() override {
        CancelRequested = false;
        if (window_) window_->ProgressStart(0);
    }
    bool Plane(double weight, double step, double rangeMax, double rangeMin) override {
        if (window_) window_->ProgressAdvance(weight, step, rangeMax, rangeMin);
        return CancelRequested;
    }
    void End() override {
        if (window_) window_->ProgressEnd();
    }

  private:
    Tfrm3D* window_;
};

} // namespace

bool TForm1::Busy() const {
    return LevelScanRunning;
}

TSceneOptions TForm1::SceneOptions() const {
    TSceneOptions options;
    options.Mode = CurrentPlotMode();
    options.Axes = N6->isChecked();
    options.Trajectory = Form2 != nullptr && Form2->CheckBox3->isChecked();
    return options;
}

void TForm1::BuildSurfaceZxy() {
    if (Busy()) return;
    NormaliseParamFields();
    CaptureDocument();
    const TGridRanges xy = GridRanges(this);
    if (::BuildSurfaceZxy(FieldText(Edit7), xy) && Frm3D) Frm3D->FormPaint();
}

void TForm1::BuildCurve3D() {
    if (Busy()) return;
    std::string x, y, z;
    double tmin, tmax, tstep;
    if (N3Dxyzt->isChecked()) {
        // The document's curve follows the window.
        NormaliseParamFields();
        CaptureDocument();
        x = FieldText(Edit2), y = FieldText(Edit6), z = FieldText(Edit7);
        tmin = FieldNumber(Edit3), tmax = FieldNumber(Edit4), tstep = FieldNumber(Edit5);
    } else {
        // Elsewhere the curve, the camera's path, comes from the document.
        x = PlotDocument.Formulas[fsCurveX];
        y = PlotDocument.Formulas[fsCurveY];
        z = PlotDocument.Formulas[fsCurveZ];
        tmin = PlotDocument.Numbers[CurveTMin];
        tmax = PlotDocument.Numbers[CurveTMax];
        tstep = PlotDocument.Numbers[CurveTStep];
    }
    if (!::BuildCurve3D(x, y, z, tmin, tmax, tstep)) return;
    CameraAtStart(); // every new curve starts the camera at its beginning
    TrajectoryFailed = false;
    if (Frm3D) Frm3D->FormPaint();
}

void TForm1::BuildParametricSurface() {
    if (Busy()) return;
    NormaliseParamFields();
    CaptureDocument();
    const TGridRanges uv = GridRanges(this);
    if (::BuildParametricSurface(FieldText(Edit2), FieldText(Edit6), FieldText(Edit7), uv) && Frm3D)
        Frm3D->FormPaint();
}

void TForm1::Button8Click() {
    if (Busy()) return;
    SeedRandomFromClock();
    RandomiseColourCoeffs(3);
    BuildSurfaceZxy();
    if (Frm3D) Frm3D->show();
}

void TForm1::Button9Click() {
    if (Busy()) return;
    RandomiseColourCoeffs(3); // the generator is not seeded again here
    BuildCurve3D();
    if (Frm3D) Frm3D->show();
}

void TForm1::Button10Click() {
    if (Busy()) return;
    SeedRandomFromClock();
    RandomiseColourCoeffs(3);
    BuildParametricSurface();
    if (Frm3D) Frm3D->show();
}

void TForm1::BuildLevelPoints() {
    if (Busy()) return;
    NormaliseParamFields();
    CaptureDocument();
    TImplicitRequest request;
    request.Formula = FieldText(Edit7);
    for (int axis = 0; axis < 3; ++axis) {
        const int first = 11 + 4 * axis;
        request.Rows[axis] = {FieldNumber(Edits[first]), FieldNumber(Edits[first + 1]),
                              FieldNumber(Edits[first + 2]), FieldNumber(Edits[first + 3])};
    }
    request.Families[lfX] = CheckBox3->isChecked();
    request.Families[lfY] = CheckBox4->isChecked();
    request.Families[lfZ] = CheckBox5->isChecked();
    request.Centre = CheckBox8->isChecked();
    TWindowProgress progress(Frm3D);
    const TLevelResult result = ::BuildLevelPoints(request, progress);
    if (result.Built && Frm3D) Frm3D->FormPaint();
    if (CloseAfterScan) {
        // The window was closed during the scan: it closes now.
        QTimer::singleShot(0, this, [this] { close(); });
    } else if (result.AtBound) {
        ReportFailure(TooManyPointsMessage(static_cast<long double>(MaxVertices)) +
                      " Показаны точки, найденные до этого.");
    }
}

void TForm1::Button11Click() {
    if (Busy()) return;
    SeedRandomFromClock();
    RandomiseColourCoeffs(1.3);
    if (Frm3D) Frm3D->show(); // first, so that the progress can be seen
    BuildLevelPoints();
}

void TForm1::N13Click() {
    if (Busy() || !N3Dzxy->isChecked()) return;
    const int depth = 2 + static_cast<int>(RandomBelow(4));
    SetEditText(Edit7, QString::fromStdString(RandomFormula(depth, false)));
    Button8Click();
}

void TForm1::EquallyClick() {
    for (int k = 15; k <= 22; ++k)
        Edits[k]->setEnabled(!Edits[k]->isEnabled());
}

void TForm1::Edit11Change() {
    if (!Equally->isChecked()) return;
    for (int k = 0; k < 4; ++k) {
        SetEditText(Edits[15 + k], Edits[11 + k]->text());
        SetEditText(Edits[19 + k], Edits[11 + k]->text());
    }
}
