// Undo and redo: the state the window shows, gathered into one value after
// each action of the user and shown again when a step is undone or redone;
// the menu "Правка" and Ctrl+Z in a field.
#include "app/FormulaMarks.h"
#include "app/ParameterPanel.h"
#include "app/TForm1.h"

#include "app/ErrorReport.h"
#include "app/TForm2.h"
#include "document/PlotDocument.h"
#include "document/Settings.h"
#include "geometry3d/Buffers.h"
#include "plot2d/View2D.h"
#include "view3d/FlyingCamera.h"
#include "view3d/Tfrm3D.h"

#include <QAbstractItemModel>
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
void TForm1::BindControls() {
    // Each control writes its value into the state now, and every change of
    // it from now on, before any handler of the change runs.
    const auto bind = [this](auto* sender, auto signal, const std::function<void()>& write) {
        write();
        connect(sender, signal, this, write);
    };
    TPlotState& s = Model.State;
    for (int k = 1; k < StateFieldCount; ++k)
        bind(EditN(k), &QLineEdit::textChanged,
             [&s, k, e = EditN(k)] { s.Fields[k] = e->text().toStdString(); });
    const auto list = [&s, c = ComboBox1] {
        s.Input.List.clear();
        for (int i = 0; i < c->count(); ++i)
            s.Input.List.push_back(c->itemText(i).toStdString());
    };
    // The box's own reaction to a new row (a first item becomes its text)
    // runs before the row's signal reaches this binding: the list is read
    // again with the text.
    bind(ComboBox1, &QComboBox::editTextChanged, [&s, c = ComboBox1, list] {
        s.Input.Formula = c->currentText().toStdString();
        list();
    });
    QAbstractItemModel* items = ComboBox1->model();
    bind(items, &QAbstractItemModel::rowsInserted, list);
    bind(items, &QAbstractItemModel::rowsRemoved, list);
    bind(items, &QAbstractItemModel::modelReset, list);
    bind(items, &QAbstractItemModel::dataChanged, list);
    const std::pair<QAbstractButton*, bool*> switches[] = {
        {CheckBox1, &s.Input.AllFormulas}, {CheckBox9, &s.Input.MinimalStep},
        {CheckBox7, &s.Input.Grid},        {CheckBox6, &s.Input.EqualScales},
        {CheckBox3, &s.Input.Families[0]}, {CheckBox4, &s.Input.Families[1]},
        {CheckBox5, &s.Input.Families[2]}, {CheckBox8, &s.Input.Centre},
        {Equally, &s.Input.EqualRows},     {CheckBox2, &s.Animation.CameraPath}};
    for (const auto& [box, value] : switches)
        bind(box, &QAbstractButton::toggled, [box, value] { *value = box->isChecked(); });
    bind(N6, &QAction::toggled, [&s, a = N6] { s.Input.Axes = a->isChecked(); });
    bind(RadioButton1, &QRadioButton::toggled, [&s, r = RadioButton1] {
        s.Input.Coordinates = r->isChecked() ? TCoordinates::Cartesian : TCoordinates::Polar;
    });
}

void TForm1::ShowX0Result(const QString& text) {
    Model.State.X0Result = text.toStdString();
    SetCaption(Label1, text);
}

TPlotState TForm1::WindowState() const {
    return StateWithGlobals(Model);
}

void TForm1::ShowState(const TPlotState& s) {
    Model.State = s; // what the handlers below read while the controls, quiet, take it
    const TPlotInput& in = s.Input;
    ApplyGlobals(Model, s);
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
        LayOutMode(in.Mode); // its picture is made below, in the state's view
        if (Shows(TControlKind::RadioButton, 1)) {
            (in.Coordinates == TCoordinates::Polar ? RadioButton2 : RadioButton1)->setChecked(true);
            ShowCoordinates(CurrentPlotMode() == pmYx ? pmYx : pmPlane, in.Coordinates);
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
        NLegend->setChecked(s.Legend);
        NExactGraphs->setChecked(s.ExactGraphs);
        ParameterPanel->Show(in.Parameters);
        for (TFormulaMarks* marks : {Edit2Marks, Edit6Marks, Edit7Marks, ComboBox1Marks})
            marks->Refresh(); // the parameters they read may be others
        ComboBox1->clear();
        for (const std::string& item : in.List)
            ComboBox1->addItem(QString::fromStdString(item));
        ComboBox1->setEditText(QString::fromStdString(in.Formula));
        for (int k = 1; k < StateFieldCount; ++k) {
            SetEditText(EditN(k), QString::fromStdString(s.Fields[k]));
            // From its start, as a text the program writes shows (its own
            // handler for that is quiet here too).
            if (!EditN(k)->hasFocus()) EditN(k)->setCursorPosition(0);
            TipForCutText(EditN(k));
        }
        SetCaption(Label1, QString::fromStdString(s.X0Result));
        // Also while hidden: the next 2D layout starts from the state's system.
        (in.Coordinates == TCoordinates::Polar ? RadioButton2 : RadioButton1)->setChecked(true);
        if (Form2) {
            Form2->CheckBox2->setChecked(s.Animation.Loop);
            Form2->RadioButton1->setChecked(s.Animation.ViewAlong == 1);
            Form2->RadioButton2->setChecked(s.Animation.ViewAlong == 2);
            Form2->RadioButton3->setChecked(s.Animation.ViewAlong == 3);
            Form2->ShowFrameSettings();
        }
    }
    Model.State = s; // what the controls now show
    ApplyView(s.View);
    CompileFormulaList();
    UpdateFormulaMarks();
    // The pictures of the state: the 2D one in its exact view, and the 3D
    // window's while it is shown.
    if (Shows(TControlKind::PaintBox)) {
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
        return Model.State.Input.Formula == Model.History.State().Input.Formula;
    for (int k = 1; k < StateFieldCount; ++k)
        if (watched == EditN(k)) return Model.State.Fields[k] == Model.History.State().Fields[k];
    return false;
}
