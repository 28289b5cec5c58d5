// The main window "Графики функций": formulas, parameters, the 2D plot area
// and the menus. It moves texts between its controls and the engine, the
// document and the 2D view, and draws; the work itself is done there.
#pragma once

#include "app/Fields.h"

#include "document/PlotInput.h"
#include "engine/Engine.h"
#include "model/Export.h"
#include "model/GraphAnalysis.h"
#include "model/ModeLayout.h"
#include "model/Parameters.h"
#include "model/PlotModel.h"
#include "model/Recovery.h"
#include "plot2d/Picture.h"
#include "view3d/Scene.h"

#include <QCoreApplication>
#include <QImage>
#include <QMainWindow>
#include <QUrl>
#include <QWidget>

#include "document/PlotFile.h"

#include <functional>
#include <string>

class QAction;
class QActionGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPrinter;
class QPushButton;
class QRadioButton;
class QTimer;
class TForm1;
class Tfrm3D;
class TForm2;
class TForm3;
class TForm4;
class TFormFind;
class TFormulaMarks;
class TParameterPanel;

constexpr char KeyEnter = 13;

// The 400 x 400 plot area: shows the picture of the last build and passes
// its mouse to the window.
class TPaintBox : public QWidget {
  public:
    TPaintBox(TForm1* form, QWidget* parent);
    QImage Picture; // what the area shows

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    TForm1* form_;
};

enum class TMouseButton { Left, Right, Middle };

// One action of the user, from its start to the end of the scope: what it
// changes in the window's state is one step of the history, under `name`
// (a text of the context TForm1). Actions begun inside it are part of it.
class TStep {
  public:
    TStep(TForm1* form, const char* name);
    ~TStep();
    TStep(const TStep&) = delete;
    TStep& operator=(const TStep&) = delete;

  private:
    TForm1* form_;
};

class TForm1 : public QMainWindow {
    Q_DECLARE_TR_FUNCTIONS(TForm1)

  public:
    TForm1();
    ~TForm1() override;

    // --- creation, layout and modes
    void FormCreate();
    void FormClose();
    void HideAllControls();
    void SetPlotMode(int mode);
    // The layout of a mode, filled from the document, without a picture.
    void LayOutMode(int mode);
    // A mode chosen in the menu: its layout, the document's numbers of it as
    // the fields show them, and its picture; one step of the history.
    void ChooseMode(TPlotMode mode);
    void N2DyxClick();
    void N3DzxyClick();
    void N2DxytClick();
    void N3DxyztClick();
    void N3DxyzuvClick();
    void N3DFxyzClick();

    // --- numeric fields, y(x0) and capture into the document
    void EvalNumberField(QLineEdit* field, char key);
    void Button1Click();
    // "y′(x0)=": the exact slope of the box's formula at x0, beside "y(x0)="
    // in the y(x) mode's cartesian coordinates.
    void SlopeButtonClick();
    void ShowSlopeControls(int mode, TCoordinates coords);
    QPushButton* SlopeButton = nullptr;
    QLabel* SlopeResult = nullptr;
    void NormaliseParamFields();
    void CaptureDocument();
    // Every field shows its text of Model.State.
    void ShowFields();
    // The capture, and everything else a picture is made of (DocumentInput).
    TPlotInput CaptureInput();
    // What a picture is made of without reading a field: the document with
    // its formulas as they were typed (not cut), the current mode, the
    // formula box, its list and the switches.
    TPlotInput DocumentInput() const;

    // --- undo and redo: the menu "Правка"
    void UndoClick(); // "Отменить", Ctrl+Z
    void RedoClick(); // "Повторить", Ctrl+Shift+Z and Ctrl+Y
    // The items anew: what they would undo or redo, and whether they can.
    void UpdateUndoItems();
    // The window's state as one value, and that value shown: every control
    // set with its handlers quiet, then the pictures made from it.
    TPlotState WindowState() const;
    void ShowState(const TPlotState& state);
    // Each control writes its value into Model.State, and then every change
    // of it as it happens, before the change's handlers run.
    void BindControls();
    // The caption after "y(x0)=", in the state and on the window.
    void ShowX0Result(const QString& text);
    // The history of the steps, the open file, what runs now: everything
    // the handlers keep beside the controls.
    TPlotModel Model;
    QMenu* NEditMenu;
    QAction *NUndo, *NRedo;

    // --- the 2D picture
    void Button2Click(); // "Построить график": one step of the history
    void Redraw();       // the same build, inside a step begun elsewhere or none
    void BuildPicture(); // the build itself; throws on failure
    // The picture of an input in the plot area. After a command the step the
    // pixel rule gave goes back into the step field and the document.
    void ShowPicture(const TPlotInput& input, bool command = true);
    // A repaint: the picture of the document, quietly; no field is read or written.
    void PaintBox1Paint();
    // The picture of the document in the view the document gives, quietly
    // and without reading or writing a field; a view that cannot be used
    // leaves the view and the picture as they were, and the reason is given
    // back (empty when the picture was shown) for a caller that tells it.
    std::string ShowDocumentPicture();
    void RadioButton1Click(); // "декарт"
    void RadioButton2Click(); // "поляр"
    void N6Click();
    void LegendClick(); // Опции → "Легенда": the y(x) picture names its graphs
    // Опции → "Точный рисунок графиков": y(x) graphs proven pixel by pixel.
    void ExactGraphsClick();
    // --- parameters (TForm1Parameters.cpp)
    void CreateParameterPanel();
    void ParametersClick(); // Опции → "Параметры": the panel shown or hidden
    // A new parameter of that name (value 1, -10 ... 10, step 0.1), as a
    // step; a name that cannot be one is told and nothing changes.
    void AddParameter(const std::string& name);
    void RemoveParameter(int k);
    // A new value; a step of its own unless a slider drag holds one open.
    void SetParameterValue(int k, double value);
    void SetParameterRange(int k, double min, double max, double step);
    // The parameters of the state into the formulas, the panel and the
    // pictures: the 2D picture at once, a 3D one unless a drag is held.
    // `namesChanged`: a parameter was added or removed, so that the offer
    // and the marks of unknown names are told again.
    void ParametersChanged(bool namesChanged = false);
    // The offer of the first name a formula reads that could be a parameter.
    void ShowParameterOffer(const TPlotInput& input);
    bool ParameterDragging = false;
    // How long the last 3D build of a parameter's change took; a drag
    // rebuilds live while it is below Live3DMs (25 frames a second).
    qint64 Parameter3DMs = 0;
    QTimer* DragPause = nullptr; // a slow 3D build waits for the handle to rest this long
    static constexpr qint64 Live3DMs = 40;
    // "▶": parameter k plays, or stops; each plays on a timer of its own,
    // a step of the slider at each tick, at its speed.
    void PlayParameter(int k);
    void SetParameterPlay(int k, TPlay play, double speed);
    void StopPlaying(const std::string& name); // all of them for an empty name
    struct TPlaying {
        std::string Name;
        TPlayer Player;
        QTimer* Timer;
    };
    std::vector<TPlaying> Playing;
    // Опции → "Графики списка…": the list's rows with their styles, edited
    // in a dialog and taken as one step.
    void ListRowsClick();  //
    void CalculusClick();  // f′, f″ and ∫f of the formula box's graph
    void NormalClick();    // the normal beside the tangent while tracing
                           // "Рисовать оси координат"
    void CheckBox6Click(); // equal scales
    void CheckBox7Click(); // grid
    void Edit23Change();   // any range field changed
    void Button3Click();   // "+"
    void Button4Click();   // "-"
    void Zoom(int k);      // in (k < 0) or out, and the build
    void ReadRangeEditsFromFields();
    // Runs a change of the 2D view; a view that cannot be used is put back
    // and refused with a message (BuildRefused).
    void ChangeView(const std::function<void()>& change);
    void WriteRangeEditsToFields();
    // The client area was resized: the plot area grows with it, the fields
    // beside and under it move along (GrownPlace), and the view follows.
    void GrowCanvas();
    // The view at the plot area's new size, about its centre; the range
    // fields show it. A document without unsaved changes keeps none.
    void FollowPlotArea();
    QSize Grown{0, 0}; // how much the client area is larger than at the start
    void PaintBox1MouseDown(TMouseButton button, int x, int y);
    void PaintBox1MouseMove(int x, int y);
    void PaintBox1MouseUp(TMouseButton button);
    void FormMouseWheel(int delta);

    // --- the 3D pictures
    void Button8Click();  // "Построить поверхность" z(x,y)
    void Button9Click();  // "Построить 3D кривую"
    void Button10Click(); // "Построить поверхность" x(u,v), y(u,v), z(u,v)
    void Button11Click(); // "Построить поверхность" F(x,y,z) = 0
    void N13Click();      // F12: a random surface in the mode z(x,y)
    void EquallyClick();  // one set of values for all three axes
    void Edit11Change();  // the X row changed: the Y and Z rows follow while "Equally"
    // The builds from the fields (and, for the curve outside its mode, from
    // the document), which repaint the 3D window; the animation runs them too.
    void BuildSurfaceZxy();
    void BuildCurve3D();
    void BuildParametricSurface();
    void BuildLevelPoints();
    // The build of a 3D mode from its fields, normalised and captured.
    void BuildFromFields(TPlotMode mode);
    // The build of a 3D mode from an input, shown in the 3D window.
    void Build3D(TPlotMode mode, const TPlotInput& input);
    // The current mode's 3D picture from its fields; a 2D mode builds nothing.
    void BuildModeFromFields();
    // A scan of an implicit surface is running (it lets events in): builds,
    // mode changes and F12 wait for its end.
    bool Busy() const;
    // What the 3D window draws: the current mode, the axes switch, the trajectory.
    TSceneOptions SceneOptions() const;

    // --- the animation over f and the camera on the space curve
    void N2Click();  // "Настроить анимацию"
    void N10Click(); // "Анимация (вкл/выкл)", Ctrl+A
    void StartAnimation();
    void Timer1Timer(); // one frame
    // Ends the animation: the timer stopped, the frame caption cleared.
    void StopAnimation();
    void CheckBox2Click(); // "траектория камеры"
    // The curve the camera needs, built from the document; a failure is
    // told once and the frame is drawn without the path.
    void BuildTrajectoryForCamera();

    // --- plot files, the colours, the function list
    void N4Click();  // "Сохранить": always asks for a name
    void N5Click();  // "Открыть"
    void N8Click();  // "Список функций"
    void N14Click(); // "Цвета"
    // The record of the window's state written to `chosen` (".mth" added
    // unless it ends so); the record is gathered whole before the file is
    // touched. Throws with the reason. The file is then the open one.
    // A name that ends in ".mthx" is written as the program's own document,
    // whole; any other as a plot file, after a question when the document
    // holds more than it can (false: the user kept it unsaved).
    bool WritePlotFile(const std::string& chosen);
    // A document's switches, colours and camera, as it was saved.
    void ApplyDocumentSwitches(const TDocumentFile& document);
    // A document read applied to the window, as an open applies it; `own`:
    // from a .mthx, whose switches and colours come too.
    void ApplyDocument(const TDocumentFile& document, bool own);

    // --- no work lost
    // Every RecoveryIntervalMs the unsaved document goes to this program's
    // recovery file (the program starts this; tests call SaveRecovery).
    void StartRecovery();
    void SaveRecovery();
    // At a start: "Восстановить несохранённую работу?" for each recovery
    // left by a program that did not end; true when one was restored.
    bool OfferRecovery();
    void RestoreRecovery(const TRecovery& recovery);
    QTimer* RecoveryTimer = nullptr;
    // The record a save would write now; without `readX0` the x0 field is
    // not read (nor can it fail).
    TPlotFileRecord GatherRecord(bool readX0) const;
    // Saves under a name the user chose, after the overwrite question;
    // false when the user answered Cancel.
    bool SaveAs(const QString& chosen);

    // --- the open document: its file, the title, unsaved changes
    void NewClick();    // "Создать", Ctrl+N: the start, after the question
    void SaveClick();   // "Сохранить в открытый файл", Ctrl+S
    void SaveAsClick(); // "Сохранить как…", Ctrl+Shift+S
    void AboutClick();  // "О программе"
    // --- pictures out of the window
    void ExportClick(); // "Экспорт рисунка…", Ctrl+E
    void PrintClick();  // "Печать…", Ctrl+P: a preview, then the printer
    void CopyClick();   // "Копировать рисунок", Ctrl+C where no field takes it
    // The page of a print: the picture centred at its aspect ratio, the
    // formulas in one line under it.
    void PrintPicture(QPrinter& printer);
    // The current mode's picture, side x side pixels: the 2D picture at that
    // scale, or the 3D frame.
    QImage PictureOfMode(int side);
    // The 3D window's frame of the current buffers, drawn offscreen.
    TFrame Frame() const;
    void GuideClick();       // "Руководство", F1: the user's guide
    void ClearRecentClick(); // "Очистить список"
    // Opens a file of "Последние файлы"; one that no longer opens leaves the list.
    void OpenRecent(const QString& path);
    void RebuildRecentMenu();
    // The title, and its mark of unsaved changes, anew.
    void UpdateTitle();
    // After anything that may change what a save writes: the mark anew.
    void DocumentMaybeChanged();
    // What a save would write now counts as saved.
    void RememberSavedState();
    // The open document is the file `path` (just opened or saved).
    void DocumentIsFile(const std::string& path);
    // Before the document is set aside (close, open, new): true to go on,
    // after saving when the user asks for it; false when the user cancels.
    bool MaySetDocumentAside();
    // The name of the open document as the title and the question give it.
    QString DocumentName() const;
    // Reads the file and applies it to the document and the windows; an
    // empty file changes nothing. Throws before anything is applied.
    void ReadPlotFile(const std::string& path);
    // The open command after its dialog: the file read and applied, the
    // formula box compiled, the curve built from the document, and every
    // picture shown made anew from the opened document.
    void OpenPlotFile(const std::string& path);
    // The pictures shown, made anew: the 2D area from the document, and the
    // 3D window's picture of the current mode (from the fields) while it is
    // shown. Gives back why the 2D picture could not be shown, or nothing.
    std::string RebuildShownPictures();
    // The 3D window's picture of the current mode made anew while it is shown.
    void Rebuild3D();

    // --- the formula list
    void CompileFormulaList();
    void Button5Click(); // "добавить"
    void Button6Click(); // "удалить"
    void Button7Click(); // "очистить"
    void ComboBox1KeyPress(char key);
    void ComboBox1Change();

    // The current mode, as a mode code; 0 when none is laid out.
    int CurrentPlotMode() const;
    // The current mode's layout shows the control.
    bool Shows(TControlKind kind, int number = 1) const;

    // A control or a mode item of the mode table.
    QWidget* Control(TControl control) const;
    QAction* MenuItem(TMenuItem item) const;

    // --- controls, named as the handlers know them
    QWidget* Client = nullptr; // the client area, 474 x 517 at the start and at least that
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8, *Label9,
        *Label10, *Label11, *Label12, *Label13, *Label14, *Label15, *Label16, *Label17, *Label18,
        *Label19, *Label20, *Label21, *Label22, *Label23, *Label24, *Label25, *Label26;
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6, *Edit7, *Edit8, *Edit9, *Edit10,
        *Edit11, *Edit12, *Edit13, *Edit14, *Edit15, *Edit16, *Edit17, *Edit18, *Edit19, *Edit20,
        *Edit21, *Edit22, *Edit23, *Edit24, *Edit25, *Edit26;
    QComboBox* ComboBox1;
    QCheckBox *CheckBox1, *CheckBox2, *CheckBox3, *CheckBox4, *CheckBox5, *CheckBox6, *CheckBox7,
        *CheckBox8, *CheckBox9, *Equally;
    QRadioButton *RadioButton1, *RadioButton2;
    QPushButton *Button1, *Button2, *Button3, *Button4, *Button5, *Button6, *Button7, *Button8,
        *Button9, *Button10, *Button11;
    TPaintBox* PaintBox1;
    QTimer* Timer1;

    // The other windows, when the program has them (tests may make this one alone).
    Tfrm3D* Frm3D = nullptr;
    TForm2* Form2 = nullptr;
    TForm3* Form3 = nullptr;
    TForm4* Form4 = nullptr;
    TFormFind* FormFind = nullptr;

    // --- analysis on the graph: the menu "Анализ"
    void TraceClick();  // "Трассировка", Ctrl+T
    void PointsClick(); // "Особые точки", Ctrl+I
    void FindClick();   // "Найти…", Ctrl+F
    TGraphAnalysis* Analysis = nullptr;
    // What a click on a point found, in a label beside it on the plot area.
    QLabel* PointInfo = nullptr;
    void ShowPointInfo(const std::optional<TGraphAnalysis::TInfo>& info);
    // Each picture shown: its graphs are what the trace and the points follow.
    void AnalysePicture(const TPlotInput& input, const TPlotRequest& request);
    QTimer* PointsTimer = nullptr; // the points, once the view has rested
    // Relations are proven a slice at a time, the picture shown after each,
    // so that the window answers between slices; a new picture starts anew.
    QTimer* ProofTimer = nullptr;
    QLabel* RelationProof = nullptr; // "доказано 99,7 %" in the status line
    TPlotInput ProofInput;           // the input of the picture being proven
    void ShowRelationProof(const TRelationProgress& progress);
    // The picture of the request into the plot area, a slice of its proofs
    // done; and the next slice of the picture shown.
    void ComposeShownPicture(const TPlotRequest& request);
    void CarryOnProof();

    // --- what a formula holds that the compiler does not understand
    // The marks of the formula fields: Edit2, Edit6, Edit7 and the formula box.
    TFormulaMarks *Edit2Marks = nullptr, *Edit6Marks = nullptr, *Edit7Marks = nullptr,
                  *ComboBox1Marks = nullptr;
    // The marks follow the fields that hold formulas in the current mode.
    void UpdateFormulaMarks();
    // The first diagnosis of the formulas a build takes, in the status line.
    void ShowFormulaDiagnosis(const TPlotInput& input);
    // The line under the client area: what the last build or "Error!" means.
    // It is made again in the current language when the language changes.
    QLabel* StatusLine = nullptr;
    // Beside the status: "Добавить параметр «a»" for a name a formula reads
    // that could be a parameter; hidden when there is none.
    QLabel* ParameterOffer = nullptr;
    TParameterPanel* ParameterPanel = nullptr;
    using TStatus = TPlotModel::TStatus;
    void ShowStatus(const TStatus& status);
    void ReportSkippedGraphs(); // graphs the points of interest left out
    // "Error!" in a field or after "y(x0)=", explained in the status line.
    void ExplainError(const std::function<QString()>& place, const std::string& text,
                      const TTextFaultInfo& fault);
    // How a field is named in the status line: "x0=", "x1, режим y(x):".
    QString FieldCaption(const QLineEdit* field) const;

    // --- the language: Помощь → "Язык / Language"
    void RussianClick();
    void EnglishClick();
    // Every text of the window in the current language (on LanguageChange).
    void RetranslateUi();
    void CheckLanguageItem(); // the check mark on the language in use
    QMenu* LanguageMenu;
    QAction *NLanguage, *NRussian, *NEnglish;
    QActionGroup* LanguageGroup;

    QMenu *N3, *N1, *N7, *N9Menu, *RecentMenu;
    QAction *NNew, *NSave, *NSaveAs, *NRecent, *NAbout, *NGuide, *NExport, *NPrint, *NCopy;
    QMenu* NAnalysisMenu;
    QAction *NTrace, *NPoints, *NFind;
    QAction *N4, *N5, *N2, *N10, *N14, *N6, *NLegend, *NExactGraphs, *NListRows, *NCalculus,
        *NNormal, *NParameters, *N11, *N2Dyx, *N3Dzxy, *N3DFxyz, *N9, *N2Dxyt, *N3Dxyzt, *N3Dxyzuv,
        *N12, *N13, *N8;
    QActionGroup *ModeGroup, *ParametricGroup;

    // Asks the scan that runs now to stop after its plane; empty when none runs.
    std::function<void()> CancelScan;
    // Run once the window has closed: the program ends with it.
    std::function<void()> Closed;

    // The control of a number: LabelN(k) is Labelk, EditN(k) is Editk ...
    QLabel* LabelN(int k) const;
    QLineEdit* EditN(int k) const;
    QPushButton* ButtonN(int k) const;
    QCheckBox* CheckBoxN(int k) const;
    QRadioButton* RadioButtonN(int k) const;

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    TCoordinates Coordinates() const;
    QLineEdit* NumericField(QObject* watched) const;
    void CentreOnDesktop();
    void CreateControls();
    void CreateMenu();
    void ConnectHandlers();
    void SetTabOrder();
    void SwitchCoordinates(TPlotMode mode, TCoordinates coords);
    void ShowCoordinates(TPlotMode mode, TCoordinates coords); // the layout, without a build
    // Ctrl+Z, Ctrl+Shift+Z or Ctrl+Y in a field with no typing of its own
    // since the history took its text: the key is the menu's.
    bool UndoKeyForHistory(QObject* watched, QEvent* event) const;
    // The fields of document values loaded from the document and shown.
    void ShowDocumentValues(std::span<const TDocValue> values);
};

// The user's guide as a page: installed beside the program, or made in the
// build tree; empty when neither is there.
QUrl GuideUrl();
