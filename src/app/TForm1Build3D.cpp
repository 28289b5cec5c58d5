// The 3D builds of the main window: they read the fields (or the document),
// hand the formulas and numbers to the builders and repaint the 3D window.
#include "app/TForm1.h"

#include "document/PlotDocument.h"
#include "engine/Engine.h"
#include "geometry3d/Buffers.h"
#include "geometry3d/Builders.h"
#include "view3d/Tfrm3D.h"
#include "view3d/ViewState.h"

#include <QAction>
#include <QLineEdit>

namespace {

double FieldNumber(const QLineEdit* field) {
    return StrToFloat(FieldText(field));
}

// The ranges of the two parameter rows Edit3 ... Edit5 and Edit8 ... Edit10.
TGridRanges GridRanges(const TForm1* f) {
    return {FieldNumber(f->Edit3), FieldNumber(f->Edit4), FieldNumber(f->Edit5),
            FieldNumber(f->Edit8), FieldNumber(f->Edit9), FieldNumber(f->Edit10)};
}

// The trajectory camera starts at the beginning of every new curve: the eye
// on point 1, looking at point 2 (a curve of fewer points leaves it as it is).
void PlaceCameraAtStart() {
    if (CurveCount < 3) return;
    for (int i = 0; i < 3; ++i) {
        const double* eye = &CurvePoints[1].x;
        const double* centre = &CurvePoints[2].x;
        CameraEye[i] = static_cast<float>(eye[i]);
        CameraCentre[i] = static_cast<float>(centre[i]);
    }
}

} // namespace

TSceneOptions TForm1::SceneOptions() const {
    TSceneOptions options;
    options.Mode = CurrentPlotMode();
    options.Axes = N6->isChecked();
    return options;
}

void TForm1::BuildSurfaceZxy() {
    NormaliseParamFields();
    CaptureDocument();
    const TGridRanges xy = GridRanges(this);
    if (::BuildSurfaceZxy(FieldText(Edit7), xy) && Frm3D) Frm3D->FormPaint();
}

void TForm1::BuildCurve3D() {
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
    PlaceCameraAtStart();
    if (Frm3D) Frm3D->FormPaint();
}

void TForm1::BuildParametricSurface() {
    NormaliseParamFields();
    CaptureDocument();
    const TGridRanges uv = GridRanges(this);
    if (::BuildParametricSurface(FieldText(Edit2), FieldText(Edit6), FieldText(Edit7), uv) && Frm3D)
        Frm3D->FormPaint();
}

void TForm1::Button8Click() {
    SeedRandomFromClock();
    RandomiseColourCoeffs(3);
    BuildSurfaceZxy();
    if (Frm3D) Frm3D->show();
}

void TForm1::Button9Click() {
    RandomiseColourCoeffs(3); // the generator is not seeded again here
    BuildCurve3D();
    if (Frm3D) Frm3D->show();
}

void TForm1::Button10Click() {
    SeedRandomFromClock();
    RandomiseColourCoeffs(3);
    BuildParametricSurface();
    if (Frm3D) Frm3D->show();
}
