// The 2D picture: the build, the coordinate switches, the axes and grid
// switches, zoom, the mouse and the formula list.
#include "app/TForm1.h"

#include "app/Dialogs.h"
#include "app/ErrorReport.h"
#include "app/TFormCalculus.h"
#include "app/TFormGraphs.h"
#include "document/Limits.h"
#include "document/PlotDocument.h"
#include "engine/Engine.h"
#include "model/FieldEdits.h"
#include "model/GraphAnalysis.h"
#include "model/ModeLayout.h"
#include "plot2d/Picture.h"
#include "plot2d/View2D.h"
#include "view3d/Tfrm3D.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <QStatusBar>
#include <algorithm>
#include <cmath>

void TForm1::Button2Click() {
    const TStep step(this, QT_TRANSLATE_NOOP("TForm1", "построение"));
    Redraw();
}

void TForm1::Redraw() {
    if (Busy()) return; // the picture stays until the scan has ended
    RunCommand([this] {
        BuildPicture();
        Model.PictureFresh = true;
        PaintBox1->update();
    });
    DocumentMaybeChanged();
}

void TForm1::PaintBox1Paint() {
    if (Busy()) return;       // shows the last picture while a scan runs
    if (Model.PictureFresh) { // the build that asked for this repaint has just drawn it
        Model.PictureFresh = false;
        return;
    }
    // A repaint that no command asked for (the area uncovered, a field over
    // it repainted while the user types) shows the picture of the document in
    // the current view: it still builds, so new colours or formulas show, but
    // it reads and writes no field, and never shows a message: the command
    // that met an error has reported it, and the area keeps its picture.
    try {
        ShowPicture(DocumentInput(), false);
    } catch (const std::exception&) {
    }
}

std::string TForm1::ShowDocumentPicture() {
    const TPlotInput input = DocumentInput();
    const TViewState before = SaveView();
    try {
        ViewFromInput(input);
        ShowPicture(input, false);
    } catch (const std::exception& e) {
        RestoreView(before);
        return e.what();
    }
    Model.PictureFresh = true;
    PaintBox1->update();
    return {};
}

void TForm1::BuildPicture() {
    NormaliseParamFields();
    if (RangeEditsDirty) ReadRangeEditsFromFields();
    ShowPicture(CaptureInput());
}

void TForm1::ShowPicture(const TPlotInput& input, bool command) {
    TPlotRequest request = PictureRequest(input, Model.AnimationRunning, Model.YxTrees);
    request.RelationSeconds = ProofSliceSeconds;
    if (command && !request.StepText.empty()) {
        // The field shows the step the graphs took, and the document keeps
        // what the field shows, so that a save holds it too.
        SetEditText(Edit5, QString::fromStdString(request.StepText));
        PlotDocument.Numbers[YxCartStep] = StrToFloat(request.StepText);
    }
    ComposeShownPicture(request);
    ProofInput = input;
    AnalysePicture(input, request);
}

void TForm1::ComposeShownPicture(const TPlotRequest& request) {
    // At the screen's pixel density: 400 x 400 pixels at 100 %, twice as
    // many each way at 200 %.
    TRelationProgress progress;
    PaintBox1->Picture = PictureImage(request, PaintBox1->devicePixelRatioF(), {}, &progress);
    ShowRelationProof(progress);
    if (!progress.Notes.empty())
        ShowStatus([text = QString::fromStdString(progress.Notes.front())] { return text; });
}

void TForm1::CarryOnProof() {
    // Only the same picture's next slice: a mode left since has none.
    if (Model.State.Input.Mode != ProofInput.Mode) return;
    // The same input: the trees compiled for its picture serve, as they
    // serve an animation's frames, unless a build has compiled since.
    TPlotRequest request = PictureRequest(ProofInput, true, Model.YxTrees);
    request.RelationSeconds = ProofSliceSeconds;
    ComposeShownPicture(request);
    PaintBox1->update();
}

void TForm1::ShowRelationProof(const TRelationProgress& progress) {
    // The label is made with the first relation: before, the status line
    // stays as it was, to the pixel.
    if (RelationProof == nullptr && !progress.Any) return;
    if (RelationProof == nullptr) {
        RelationProof = new QLabel;
        RelationProof->setObjectName(QStringLiteral("RelationProof"));
        RelationProof->hide(); // a status line without relations stays as it was
        statusBar()->addPermanentWidget(RelationProof);
        ProofTimer = new QTimer(this);
        ProofTimer->setSingleShot(true);
        ProofTimer->setInterval(0);
        connect(ProofTimer, &QTimer::timeout, this,
                [this] { RunCommand([this] { CarryOnProof(); }); });
    }
    RelationProof->setVisible(progress.Any);
    // Tenths of a percent, never rounded up to a whole proof.
    const double tenths = std::floor(progress.Proven * 1000) / 10;
    RelationProof->setText(tr("доказано %1 %")
                               .arg(QString::number(tenths, 'f', 1)
                                        .replace(QLatin1Char('.'), QChar(DecimalSeparatorChar))));
    if (progress.Any && !progress.Finished)
        ProofTimer->start();
    else
        ProofTimer->stop();
}

void TForm1::ChangeView(const std::function<void()>& change) {
    const TViewState before = SaveView();
    change();
    if (ViewUsable()) return;
    // A view whose numbers overflow would be written into the fields as a
    // text no build can read again: the last good view stays, in the fields too.
    const std::string why = ViewRefusedMessage(); // of the view refused
    RestoreView(before);
    WriteRangeEditsToFields();
    RangeEditsDirty = false;
    throw BuildRefused(why + " " + tr("Оставлен прежний вид.").toStdString());
}

void TForm1::GrowCanvas() {
    const QSize grow = (Client->size() - QSize(ClientWidth, ClientHeight)).expandedTo(QSize(0, 0));
    if (grow == Grown) return;
    for (const TControlPlace& r : ControlPlaces()) {
        const TControlPlace was = GrownPlace(r, Grown.width(), Grown.height());
        const TControlPlace now = GrownPlace(r, grow.width(), grow.height());
        QWidget* w = Control({r.Kind, r.Number});
        w->move(w->pos() + QPoint(now.X - was.X, now.Y - was.Y)); // a label keeps its own width
        if (r.Kind == TControlKind::PaintBox) w->resize(now.W, now.H);
    }
    Grown = grow;
    FollowPlotArea();
}

void TForm1::FollowPlotArea() {
    const int w = PaintBox1->width(), h = PaintBox1->height();
    if (w == PlotWidth && h == PlotHeight) return;
    UpdateTitle();
    const bool saved = !isWindowModified();
    RunCommand([&] {
        ChangeView([&] { ResizeView(w, h, Model.State.Input.EqualScales); });
        if (Shows(TControlKind::PaintBox)) WriteRangeEditsToFields();
    });
    // A larger window is no change of the document's.
    if (saved)
        RememberSavedState();
    else
        UpdateTitle();
    PaintBox1->update();
}

void TForm1::ReadRangeEditsFromFields() {
    ChangeView([this] { ReadRangeFields(Model.State); });
    WriteRangeEditsToFields();
}

void TForm1::WriteRangeEditsToFields() {
    WriteRangeFields(Model.State);
    ShowFields();
}

void TForm1::N6Click() {
    const TStep step(this, QT_TRANSLATE_NOOP("TForm1", "переключатель"));
    N6->setChecked(!Model.State.Input.Axes);
    if (Frm3D && Frm3D->isVisible()) Frm3D->FormPaint(); // it draws its own axes
    if (Shows(TControlKind::Button, 2)) {
        PaintBox1->update();
        CheckBox7->setChecked(Model.State.Input.Axes); // runs the build again when it changes
    }
}

void TForm1::LegendClick() {
    const TStep step(this, QT_TRANSLATE_NOOP("TForm1", "легенда"));
    Model.State.Legend = !Model.State.Legend;
    NLegend->setChecked(Model.State.Legend);
    if (Shows(TControlKind::Button, 2)) PaintBox1->update(); // the picture of the document
    DocumentMaybeChanged();
}

void TForm1::ExactGraphsClick() {
    const TStep step(this, QT_TRANSLATE_NOOP("TForm1", "точный рисунок графиков"));
    Model.State.ExactGraphs = !Model.State.ExactGraphs;
    NExactGraphs->setChecked(Model.State.ExactGraphs);
    if (Shows(TControlKind::Button, 2)) Redraw();
    DocumentMaybeChanged();
}

void TForm1::ListRowsClick() {
    if (Busy()) return;
    // With the colours in use: a graph without its own shows the colour of its place.
    TFormGraphs dialog(this, ListStyles(WindowState()));
    Dialogs().RunModal(&dialog);
    if (dialog.result() != QDialog::Accepted) return;
    const TStep step(this, QT_TRANSLATE_NOOP("TForm1", "графики списка"));
    TPlotState edited = Model.State;
    ApplyListRows(edited, dialog.Rows());
    Model.State.Styles = edited.Styles;
    const QString typed = ComboBox1->currentText();
    ComboBox1->clear(); // the list follows the items through the box's signals
    for (const std::string& formula : edited.Input.List)
        ComboBox1->addItem(QString::fromStdString(formula));
    ComboBox1->setEditText(typed);
    if (Shows(TControlKind::Button, 2)) Redraw(); // the new graphs compiled and drawn
    DocumentMaybeChanged();
}

void TForm1::CalculusClick() {
    if (Busy()) return;
    TFormCalculus dialog(this, Model.State.Input.FormulaCalculus);
    Dialogs().RunModal(&dialog);
    if (dialog.result() != QDialog::Accepted) return;
    const TStep step(this, QT_TRANSLATE_NOOP("TForm1", "производные графика"));
    Model.State.Input.FormulaCalculus = dialog.Calculus();
    if (Shows(TControlKind::Button, 2)) Redraw();
    DocumentMaybeChanged();
}

void TForm1::CheckBox6Click() {
    const TStep step(this, QT_TRANSLATE_NOOP("TForm1", "переключатель"));
    Edit23->setEnabled(!Edit23->isEnabled());
    RangeEditsDirty = true;
    Button2Click();
}

void TForm1::CheckBox7Click() {
    const TStep step(this, QT_TRANSLATE_NOOP("TForm1", "переключатель"));
    Button2Click();
}

void TForm1::Edit23Change() {
    RangeEditsDirty = true;
}

void TForm1::Button3Click() {
    Zoom(-2);
}

void TForm1::Button4Click() {
    Zoom(2);
}

void TForm1::Zoom(int k) {
    const TStep step(this, QT_TRANSLATE_NOOP("TForm1", "масштаб"));
    if (!RunCommand(
            [this, k] { ChangeView([this, k] { ZoomView(k, Model.State.Input.EqualScales); }); }))
        return;
    WriteRangeEditsToFields();
    Button2Click();
}

void TForm1::PaintBox1MouseDown(TMouseButton button, int x, int y) {
    // A click on a point of interest tells what it is, and moves nothing.
    if (button == TMouseButton::Left && Analysis->Click(x, y)) return;
    DragStartX = x;
    DragStartY = y;
    if (button == TMouseButton::Left)
        Panning = true;
    else if (button == TMouseButton::Right)
        BoxDragging = true;
}

void TForm1::PaintBox1MouseMove(int x, int y) {
    if (Panning) {
        if (RunCommand([&] { ChangeView([&] { PanView(x, y); }); }))
            WriteRangeEditsToFields();
        else
            Panning = false; // told once, not at every move
    }
    if (BoxDragging) UpdateZoomBox(x, y);
    if (Panning || BoxDragging) Redraw(); // the step is the whole drag
    if (Analysis->Tracing()) Analysis->TraceAt(x, y);
    SetCaption(Label25, QString::fromStdString(CursorCoordinateText(PixelToWorldX(x))));
    SetCaption(Label26, QString::fromStdString(CursorCoordinateText(PixelToWorldY(y))));
}

void TForm1::PaintBox1MouseUp(TMouseButton button) {
    const TStep step(this, Panning ? QT_TRANSLATE_NOOP("TForm1", "сдвиг")
                                   : QT_TRANSLATE_NOOP("TForm1", "масштаб"));
    Panning = false;
    if (button != TMouseButton::Right) return;
    BoxDragging = false;
    bool applied = false;
    if (!RunCommand([&] { ChangeView([&] { applied = ApplyZoomBox(); }); })) {
        BoxLeft = BoxRight = BoxTop = BoxBottom = 0;
        return;
    }
    if (!applied) return;
    WriteRangeEditsToFields();
    Button2Click();
}

void TForm1::FormMouseWheel(int delta) {
    if (!Shows(TControlKind::Button, 4) || delta == 0) return;
    if (delta > 0)
        Button4Click(); // away from the user: zoom out
    else
        Button3Click();
}

void TForm1::CompileFormulaList() {
    CompileYxFormulas(Model.State.Input, Model.YxTrees);
}

void TForm1::Button5Click() {
    const TStep step(this, QT_TRANSLATE_NOOP("TForm1", "добавить"));
    const QString text = QString::fromStdString(Model.State.Input.Formula);
    if (text.isEmpty()) return;
    if (std::ssize(Model.State.Input.List) >= MaxListFormulas) {
        ReportFailure(
            tr("В списке уже %1 формул: больше не помещается").arg(MaxListFormulas).toStdString());
        return;
    }
    ComboBox1->addItem(text);
    ComboBox1->setEditText(text);
    DocumentMaybeChanged();
}

void TForm1::Button6Click() {
    const TStep step(this, QT_TRANSLATE_NOOP("TForm1", "удалить"));
    const std::vector<std::string>& list = Model.State.Input.List;
    const auto found = std::find(list.begin(), list.end(), Model.State.Input.Formula);
    if (found == list.end()) return;
    const QString text = QString::fromStdString(*found);
    ComboBox1->removeItem(static_cast<int>(found - list.begin()));
    ComboBox1->setEditText(text); // the formula field keeps its text
    DocumentMaybeChanged();
}

void TForm1::Button7Click() {
    const TStep step(this, QT_TRANSLATE_NOOP("TForm1", "очистить"));
    ComboBox1->clear();
    DocumentMaybeChanged();
}

void TForm1::ComboBox1KeyPress(char key) {
    if (key == KeyEnter) Button2Click();
}

void TForm1::ComboBox1Change() {
    DocumentMaybeChanged();
    if (Model.AnimationRunning && !Busy()) CompileFormulaList();
}
