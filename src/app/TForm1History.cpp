// Undo and redo: the state the window shows, gathered into one value after
// each action of the user and shown again when a step is undone or redone;
// the menu "Правка" and Ctrl+Z in a field.
#include "app/TForm1.h"

#include "app/ErrorReport.h"
#include "app/TForm2.h"
#include "document/PlotDocument.h"
#include "document/Settings.h"
#include "geometry3d/Buffers.h"
#include "plot2d/View2D.h"
#include "view3d/FlyingCamera.h"
#include "view3d/Tfrm3D.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>

#include <vector>

TStep::TStep(TForm1* form, const char* name) : form_(form) {
    form_->Model.History.Begin(name);
}

TStep::~TStep() {
    form_->Model.History.End(form_->WindowState());
}

TPlotState TForm1::WindowState() const {
    TPlotState s;
    s.Input = DocumentInput();
    for (int k = 1; k < StateFieldCount; ++k)
        s.Fields[k] = FieldText(EditN(k));
    s.X0Result = Label1->text().toStdString();
    s.Colours = CurrentColours();
    static_assert(std::tuple_size_v<decltype(s.Colouring)> == ColourCoeffCount);
    std::copy(std::begin(ColourCoeffs), std::end(ColourCoeffs), s.Colouring.begin());
    s.Animation = {FirstFrame,
                   LastFrame,
                   FrameInterval,
                   Form2 != nullptr && Form2->CheckBox2->isChecked(),
                   CheckBox2->isChecked(),
                   ViewAlongMode};
    s.View = {ViewX1, ViewX2, ViewY1, ViewY2};
    return s;
}

void TForm1::ShowState(const TPlotState& s) {
    const TPlotInput& in = s.Input;
    for (int k = 0; k < DocumentFormulaCount; ++k) {
        Model.TypedFormulas[k] = in.Document.Formulas[k];
        PlotDocument.Formulas[k] = CutFormula(in.Document.Formulas[k]);
    }
    std::copy(std::begin(in.Document.Numbers), std::end(in.Document.Numbers), PlotDocument.Numbers);
    ApplyColours(s.Colours);
    std::copy(s.Colouring.begin(), s.Colouring.end(), ColourCoeffs);
    FirstFrame = s.Animation.FirstFrame;
    LastFrame = s.Animation.LastFrame;
    FrameInterval = s.Animation.FrameInterval;
    ViewAlongMode = s.Animation.ViewAlong;
    FollowTrajectory = s.Animation.CameraPath;
    {
        // The controls take the state with their handlers quiet: nothing is
        // built or recorded until every control holds it.
        std::vector<QSignalBlocker> quiet;
        for (QObject* o : Client->children())
            quiet.emplace_back(o);
        if (Form2)
            for (QObject* o :
                 std::initializer_list<QObject*>{Form2->CheckBox2, Form2->RadioButton1,
                                                 Form2->RadioButton2, Form2->RadioButton3})
                quiet.emplace_back(o);
        SetPlotMode(in.Mode);
        if (!RadioButton1->isHidden()) {
            (in.Coordinates == TCoordinates::Polar ? RadioButton2 : RadioButton1)->setChecked(true);
            ShowCoordinates(N2Dyx->isChecked() ? pmYx : pmPlane, in.Coordinates);
        }
        CheckBox1->setChecked(in.AllFormulas);
        CheckBox9->setChecked(in.MinimalStep);
        N6->setChecked(in.Axes);
        CheckBox7->setChecked(in.Grid);
        CheckBox6->setChecked(in.EqualScales);
        Edit23->setEnabled(!in.EqualScales);
        CheckBox3->setChecked(in.Families[0]);
        CheckBox4->setChecked(in.Families[1]);
        CheckBox5->setChecked(in.Families[2]);
        CheckBox8->setChecked(in.Centre);
        Equally->setChecked(in.EqualRows);
        for (int k = 15; k <= 22; ++k)
            EditN(k)->setEnabled(!in.EqualRows);
        CheckBox2->setChecked(s.Animation.CameraPath);
        ComboBox1->clear();
        for (const std::string& item : in.List)
            ComboBox1->addItem(QString::fromStdString(item));
        ComboBox1->setEditText(QString::fromStdString(in.Formula));
        for (int k = 1; k < StateFieldCount; ++k) {
            SetEditText(EditN(k), QString::fromStdString(s.Fields[k]));
            TipForCutText(EditN(k));
        }
        SetCaption(Label1, QString::fromStdString(s.X0Result));
        if (Form2) {
            Form2->CheckBox2->setChecked(s.Animation.Loop);
            Form2->RadioButton1->setChecked(s.Animation.ViewAlong == 1);
            Form2->RadioButton2->setChecked(s.Animation.ViewAlong == 2);
            Form2->RadioButton3->setChecked(s.Animation.ViewAlong == 3);
            Form2->ShowFrameSettings();
        }
    }
    ViewX1 = s.View.X1, ViewX2 = s.View.X2, ViewY1 = s.View.Y1, ViewY2 = s.View.Y2;
    RecomputeViewFromEdges();
    RangeEditsDirty = false;
    CompileFormulaList();
    UpdateFormulaMarks();
    // The pictures of the state: the 2D one in its exact view, and the 3D
    // window's while it is shown.
    if (!PaintBox1->isHidden()) {
        try {
            ShowPicture(DocumentInput(), false);
        } catch (const std::exception&) {
            // The picture the state had came from a build that succeeded or
            // failed just so; a failure was told then.
        }
        Model.PictureFresh = true;
        PaintBox1->update();
    }
    RunCommand([this] { Rebuild3D(); });
    UpdateTitle();
}

void TForm1::UndoClick() {
    if (!Busy() && !Model.AnimationRunning) Model.History.Undo();
}

void TForm1::RedoClick() {
    if (!Busy() && !Model.AnimationRunning) Model.History.Redo();
}

void TForm1::UpdateUndoItems() {
    Model.History.SetBlocked(Busy() || Model.AnimationRunning);
    const auto item = [](QAction* a, const QString& verb, const std::string& name, bool can) {
        a->setText(name.empty() ? verb : verb + QStringLiteral(": ") + tr(name.c_str()));
        a->setEnabled(can);
    };
    item(NUndo, tr("Отменить"), Model.History.UndoName(), Model.History.CanUndo());
    item(NRedo, tr("Повторить"), Model.History.RedoName(), Model.History.CanRedo());
}

bool TForm1::UndoKeyForHistory(QObject* watched, QEvent* event) const {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!key->matches(QKeySequence::Undo) && !key->matches(QKeySequence::Redo) &&
        key->keyCombination() != QKeyCombination(Qt::CTRL, Qt::Key_Y))
        return false;
    // A field whose text is the one the history holds has no typing of its
    // own to undo: the key goes to the menu's item.
    if (watched == ComboBox1 || watched == ComboBox1->lineEdit())
        return ComboBox1->currentText().toStdString() == Model.History.State().Input.Formula;
    for (int k = 1; k < StateFieldCount; ++k)
        if (watched == EditN(k)) return FieldText(EditN(k)) == Model.History.State().Fields[k];
    return false;
}
