// The plot files of the main window: saving its state, opening a saved one;
// and the windows of the colours and of the function list.
#include "app/ParameterPanel.h"
#include "app/TForm1.h"

#include "app/Dialogs.h"
#include "app/ErrorReport.h"
#include "app/TForm2.h"
#include "app/TForm3.h"
#include "app/TForm4.h"
#include "document/PlotDocument.h"
#include "document/PlotFile.h"
#include "document/Settings.h"
#include "engine/Engine.h"
#include "model/Commands.h"
#include "model/Parameters.h"
#include "model/RecentFiles.h"
#include "model/Recovery.h"
#include "view3d/Tfrm3D.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

void TForm1::N4Click() {
    if (Busy()) return;
    const QString chosen = Dialogs().SaveFileName(this, RecentFiles::LastFolder());
    if (chosen.isEmpty()) return;
    SaveAs(chosen);
}

bool TForm1::SaveAs(const QString& chosen) {
    const bool exists = QFileInfo::exists(chosen) || (!IsDocumentFileName(chosen.toStdString()) &&
                                                      QFileInfo::exists(chosen + ".mth"));
    if (exists && !Dialogs().Confirm(this, tr("Такой файл уже существует! Заменить его?"),
                                     tr("Предупреждение!")))
        return false;
    return WritePlotFile(chosen.toStdString());
}

TPlotFileRecord TForm1::GatherRecord(bool readX0) const {
    return RecordOfState(WindowState(), readX0);
}

bool TForm1::WritePlotFile(const std::string& chosen) {
    // Only with the whole document at hand is a file written.
    const TDocumentFile document = DocumentOfState(WindowState(), Model.Kept, true);
    if (IsDocumentFileName(chosen)) {
        WriteDocumentFile(chosen, document);
        DocumentIsFile(chosen);
        return true;
    }
    const TPlotFileRecord r = GatherRecord(true);
    const std::string lost = LostInRecord(document);
    if (!lost.empty() &&
        !Dialogs().Confirm(this,
                           tr("Файл .mth не сохранит всего: %1. Сохранить без этого? (Всё "
                              "сохраняет документ .mthx.)")
                               .arg(QString::fromStdString(lost)),
                           tr("Предупреждение!")))
        return false;
    const std::string path = PlotFileName(chosen);
    ::WritePlotFile(path, r);
    DocumentIsFile(path);
    return true;
}

void TForm1::N5Click() {
    if (Busy() || !MaySetDocumentAside()) return;
    const QString chosen = Dialogs().OpenFileName(this, RecentFiles::LastFolder());
    if (!chosen.isEmpty()) {
        OpenPlotFile(chosen.toStdString());
        return;
    }
    CompileFormulaList();
    BuildCurve3D();
}

void TForm1::OpenPlotFile(const std::string& path) {
    ReadPlotFile(path);   // a failure ends the command here, before anything is applied
    DocumentIsFile(path); // the file is open, whatever the builds below say
    CompileFormulaList();
    BuildCurve3D();
    const std::string unshown = RebuildShownPictures();
    RememberSavedState();               // a picture built from the file changes nothing of it
    Model.History.Reset(WindowState()); // an opened file starts a history of its own
    // The file is open, but its picture cannot be shown (a reversed view): said now.
    if (!unshown.empty())
        ReportFailure(unshown + " " + tr("Показан прежний рисунок.").toStdString());
}

std::string TForm1::RebuildShownPictures() {
    const std::string unshown =
        Shows(TControlKind::PaintBox) ? ShowDocumentPicture() : std::string();
    Rebuild3D();
    return unshown;
}

void TForm1::Rebuild3D() {
    if (Frm3D == nullptr || !Frm3D->isVisible()) return;
    // The 3D window shows the opened document's picture, in the colours it had.
    const int mode = CurrentPlotMode();
    if (mode == pmYx || mode == pmPlane || !IsPlotMode(mode))
        Frm3D->FormPaint();
    else
        BuildModeFromFields();
}

void TForm1::ReadPlotFile(const std::string& path) {
    const bool own = IsDocumentFileName(path);
    std::optional<TDocumentFile> read;
    if (own)
        read = ReadDocumentFile(path);
    else if (const std::optional<TPlotFileRecord> record = ::ReadPlotFile(path))
        read = DocumentOfRecord(*record);
    if (!read) return; // an empty file: nothing changes
    ApplyDocument(*read, own);
}

void TForm1::ApplyDocument(const TDocumentFile& document, bool own) {
    Model.Kept = document;
    Model.Kept.Graphs.clear(); // the state holds them
    Model.State.Styles = document.Graphs;
    Model.State.Legend = document.Legend;
    NLegend->setChecked(document.Legend);
    Model.State.ExactGraphs = document.ExactGraphs;
    NExactGraphs->setChecked(document.ExactGraphs);
    Model.State.Input.FormulaCalculus = document.FormulaCalculus;
    StopPlaying({});
    Model.State.Input.Parameters = document.Parameters;
    ApplyParameters(document.Parameters);
    ParameterPanel->Show(document.Parameters);
    if (!document.Parameters.empty()) ParameterPanel->show();
    const TPlotFileRecord& r = document.Record;
    const bool replaced = DocumentFromRecord(r, PlotDocument);
    for (int k = 0; k < DocumentFormulaCount; ++k)
        Model.TypedFormulas[k] = PlotDocument.Formulas[k];
    SetPlotMode(RecordMode(r)); // a code outside 1 ... 6 leaves the empty layout
    if (Shows(TControlKind::Label, 1)) ShowX0Result(QString::fromStdString(r.ResultText));
    if (Shows(TControlKind::RadioButton, 1)) {
        // Checking the one not checked runs its switch, with a 2D build.
        if (r.Cartesian)
            RadioButton1->setChecked(true);
        else
            RadioButton2->setChecked(true);
    }
    if (Shows(TControlKind::CheckBox, 1)) CheckBox1->setChecked(r.AllFormulas);
    FirstFrame = r.FirstFrame;
    LastFrame = r.LastFrame;
    FrameInterval = r.FrameInterval;
    if (Form2) {
        Form2->ShowFrameSettings();
        Form2->CheckBox2->setChecked(r.LoopAnimation);
    }
    if (Shows(TControlKind::ComboBox)) {
        ComboBox1->clear();
        ComboBox1->setEditText(QString::fromStdString(r.MainFormula));
        for (const TGraphStyle& graph : document.Graphs)
            if (!graph.Formula.empty()) ComboBox1->addItem(QString::fromStdString(graph.Formula));
        ComboBox1->setEditText(QString::fromStdString(r.MainFormula));
    }
    if (own) ApplyDocumentSwitches(document);
    if (replaced) ReportFailure(ReplacedNumbersMessage());
}

void TForm1::N8Click() {
    if (Form4 == nullptr) return;
    Form4->show(); // without making it modal; the same window every time
    Form4->raise();
}

void TForm1::N14Click() {
    if (Form3 == nullptr) return;
    const TStep step(this, QT_TRANSLATE_NOOP("TForm1", "цвета"));
    CentreOnScreen(Form3);
    Dialogs().RunModal(Form3);
}

void TForm1::ApplyDocumentSwitches(const TDocumentFile& d) {
    const TDocumentSwitches& s = d.Switches;
    N6->setChecked(s.Axes);
    const std::pair<QAbstractButton*, bool> boxes[] = {
        {CheckBox7, s.Grid},        {CheckBox6, s.EqualScales}, {CheckBox9, s.MinimalStep},
        {CheckBox8, s.Centre},      {Equally, s.EqualRows},     {CheckBox3, s.Families[0]},
        {CheckBox4, s.Families[1]}, {CheckBox5, s.Families[2]}, {CheckBox2, d.CameraPath}};
    for (const auto& [box, on] : boxes)
        box->setChecked(on);
    ApplyColours(d.Colours);
    ViewAlongMode = static_cast<std::uint8_t>(d.ViewAlong);
}

void TForm1::StartRecovery() {
    RecoveryTimer = new QTimer(this);
    RecoveryTimer->setInterval(RecoveryIntervalMs);
    connect(RecoveryTimer, &QTimer::timeout, this, [this] { SaveRecovery(); });
    RecoveryTimer->start();
}

void TForm1::SaveRecovery() {
    if (Busy()) return;
    UpdateTitle();
    if (!isWindowModified()) {
        if (!Model.RecoveryWritten.empty()) RemoveOwnRecovery();
        Model.RecoveryWritten.clear();
        return;
    }
    const TPlotState state = WindowState();
    const std::string written = StateBytes(state) + Model.FileName;
    if (written == Model.RecoveryWritten) return;
    try {
        WriteRecovery(DocumentOfState(state, Model.Kept, false), Model.FileName);
        Model.RecoveryWritten = written;
    } catch (const std::exception&) {
        // A recovery that cannot be written (a full disk) stops no work of
        // the user's; it is tried again at the next tick.
    }
}

bool TForm1::OfferRecovery() {
    for (const TRecovery& left : LeftRecoveries(ProcessRunning)) {
        if (!Dialogs().Confirm(this, tr("Восстановить несохранённую работу?"),
                               tr("Графики функций"))) {
            RemoveRecovery(left);
            continue;
        }
        return RunCommand([&] { RestoreRecovery(left); });
    }
    return false;
}

void TForm1::RestoreRecovery(const TRecovery& left) {
    const TDocumentFile document = TakeRecovery(left); // throws before anything changes
    ApplyDocument(document, true);
    CompileFormulaList();
    BuildCurve3D();
    RebuildShownPictures();
    // What was saved is the file it belonged to as it is now, or nothing.
    Model.FileName = left.OpenFile;
    Model.SavedRecord = {};
    Model.SavedX0 = Model.State.Fields[1];
    Model.SavedBeyond.clear();
    try {
        if (!left.OpenFile.empty())
            Model.SavedRecord = RecordOfDocument(DocumentOfFile(left.OpenFile));
    } catch (const std::exception&) {
    }
    Model.History.Reset(WindowState());
    UpdateTitle();
    SaveRecovery(); // the work is this program's to keep now
}
