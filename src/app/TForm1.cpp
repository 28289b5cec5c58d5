// Creation of the main window: its controls at their places, the menu, the
// tab order and the wiring of the handlers.
#include "app/TForm1.h"

#include "app/ErrorReport.h"
#include "app/FormulaMarks.h"
#include "app/ParameterPanel.h"
#include "app/Translation.h"
#include "model/GraphAnalysis.h"
#include "model/ModeLayout.h"
#include "model/WindowGeometry.h"
#include "plot2d/View2D.h"
#include "view3d/Tfrm3D.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>

namespace {

// The handler a control's click, check or change runs.
struct THandlerRow {
    TControlKind Kind;
    int Number;
    void (TForm1::*Handler)();
};

using K = TControlKind;
using F = TForm1;

const THandlerRow HandlerRows[] = {
    {K::Edit, 1, &F::DocumentMaybeChanged},
    {K::Button, 1, &F::Button1Click},
    {K::ComboBox, 1, &F::ComboBox1Change},
    {K::CheckBox, 1, &F::DocumentMaybeChanged},
    {K::Button, 5, &F::Button5Click},
    {K::Button, 6, &F::Button6Click},
    {K::Button, 7, &F::Button7Click},
    {K::Button, 2, &F::Button2Click},
    {K::Button, 9, &F::Button9Click},
    {K::Button, 8, &F::Button8Click},
    {K::Button, 10, &F::Button10Click},
    {K::Button, 11, &F::Button11Click},
    {K::Button, 3, &F::Button3Click},
    {K::Button, 4, &F::Button4Click},
    {K::RadioButton, 1, &F::RadioButton1Click},
    {K::RadioButton, 2, &F::RadioButton2Click},
    {K::CheckBox, 2, &F::CheckBox2Click},
    {K::Edit, 11, &F::Edit11Change},
    {K::Edit, 12, &F::Edit11Change},
    {K::Edit, 13, &F::Edit11Change},
    {K::Edit, 14, &F::Edit11Change},
    {K::Equally, 1, &F::EquallyClick},
    {K::Edit, 23, &F::Edit23Change},
    {K::Edit, 24, &F::Edit23Change},
    {K::Edit, 25, &F::Edit23Change},
    {K::Edit, 26, &F::Edit23Change},
    {K::CheckBox, 6, &F::CheckBox6Click},
    {K::CheckBox, 7, &F::CheckBox7Click},
};

enum TMenuFlag : unsigned {
    Separator = 1,
    Checkable = 2,
    CheckedItem = 4,
    ModeItem = 8,        // one of the radio group of the modes
    ParametricItem = 16, // one of the radio group of the parametric modes
    LanguageItem = 32,   // one of the languages
};

// One entry of the menu: the menu it is in (none: a menu of the bar), its
// caption and shortcut, how it starts, the member it is kept in (a menu, or
// the item that stands for it) and the handler it runs.
struct TMenuRow {
    QMenu* TForm1::*Parent;
    const char* Caption;
    int Key;  // its shortcut
    int Key2; // a second one
    unsigned Flags;
    QMenu* TForm1::*Menu;
    QAction* TForm1::*Item;
    void (TForm1::*Handler)();
};

// The numbered controls by their number (0 is none), as the tables name them.
constexpr QLabel* TForm1::*LabelMembers[] = {
    nullptr,     &F::Label1,  &F::Label2,  &F::Label3,  &F::Label4,  &F::Label5,  &F::Label6,
    &F::Label7,  &F::Label8,  &F::Label9,  &F::Label10, &F::Label11, &F::Label12, &F::Label13,
    &F::Label14, &F::Label15, &F::Label16, &F::Label17, &F::Label18, &F::Label19, &F::Label20,
    &F::Label21, &F::Label22, &F::Label23, &F::Label24, &F::Label25, &F::Label26};
constexpr QLineEdit* TForm1::*EditMembers[] = {
    nullptr,    &F::Edit1,  &F::Edit2,  &F::Edit3,  &F::Edit4,  &F::Edit5,  &F::Edit6,
    &F::Edit7,  &F::Edit8,  &F::Edit9,  &F::Edit10, &F::Edit11, &F::Edit12, &F::Edit13,
    &F::Edit14, &F::Edit15, &F::Edit16, &F::Edit17, &F::Edit18, &F::Edit19, &F::Edit20,
    &F::Edit21, &F::Edit22, &F::Edit23, &F::Edit24, &F::Edit25, &F::Edit26};
constexpr QPushButton* TForm1::*ButtonMembers[] = {
    nullptr,     &F::Button1, &F::Button2, &F::Button3, &F::Button4,  &F::Button5,
    &F::Button6, &F::Button7, &F::Button8, &F::Button9, &F::Button10, &F::Button11};
constexpr QCheckBox* TForm1::*CheckBoxMembers[] = {
    nullptr,       &F::CheckBox1, &F::CheckBox2, &F::CheckBox3, &F::CheckBox4,
    &F::CheckBox5, &F::CheckBox6, &F::CheckBox7, &F::CheckBox8, &F::CheckBox9};
constexpr QRadioButton* TForm1::*RadioButtonMembers[] = {nullptr, &F::RadioButton1,
                                                         &F::RadioButton2};

const TMenuRow MenuRows[] = {
    {nullptr, QT_TRANSLATE_NOOP("TForm1", "Файл"), 0, 0, 0, &F::N3, nullptr, nullptr},
    {&F::N3, QT_TRANSLATE_NOOP("TForm1", "Создать"), (Qt::CTRL | Qt::Key_N).toCombined(), 0, 0,
     nullptr, &F::NNew, &F::NewClick},
    {&F::N3, QT_TRANSLATE_NOOP("TForm1", "Открыть"), Qt::Key_F3,
     (Qt::CTRL | Qt::Key_O).toCombined(), 0, nullptr, &F::N5, &F::N5Click},
    {&F::N3, QT_TRANSLATE_NOOP("TForm1", "Последние файлы"), 0, 0, 0, &F::RecentMenu, &F::NRecent,
     nullptr},
    {&F::N3, nullptr, 0, 0, Separator, nullptr, nullptr, nullptr},
    {&F::N3, QT_TRANSLATE_NOOP("TForm1", "Сохранить"), Qt::Key_F2, 0, 0, nullptr, &F::N4,
     &F::N4Click},
    {&F::N3, QT_TRANSLATE_NOOP("TForm1", "Сохранить в открытый файл"),
     (Qt::CTRL | Qt::Key_S).toCombined(), 0, 0, nullptr, &F::NSave, &F::SaveClick},
    {&F::N3, QT_TRANSLATE_NOOP("TForm1", "Сохранить как…"),
     (Qt::CTRL | Qt::SHIFT | Qt::Key_S).toCombined(), 0, 0, nullptr, &F::NSaveAs, &F::SaveAsClick},
    {&F::N3, nullptr, 0, 0, Separator, nullptr, nullptr, nullptr},
    {&F::N3, QT_TRANSLATE_NOOP("TForm1", "Экспорт рисунка…"), (Qt::CTRL | Qt::Key_E).toCombined(),
     0, 0, nullptr, &F::NExport, &F::ExportClick},
    {&F::N3, QT_TRANSLATE_NOOP("TForm1", "Печать…"), (Qt::CTRL | Qt::Key_P).toCombined(), 0, 0,
     nullptr, &F::NPrint, &F::PrintClick},
    {&F::N3, QT_TRANSLATE_NOOP("TForm1", "Копировать рисунок"), (Qt::CTRL | Qt::Key_C).toCombined(),
     0, 0, nullptr, &F::NCopy, &F::CopyClick},
    {nullptr, QT_TRANSLATE_NOOP("TForm1", "Правка"), 0, 0, 0, &F::NEditMenu, nullptr, nullptr},
    {&F::NEditMenu, QT_TRANSLATE_NOOP("TForm1", "Отменить"), (Qt::CTRL | Qt::Key_Z).toCombined(), 0,
     0, nullptr, &F::NUndo, &F::UndoClick},
    {&F::NEditMenu, QT_TRANSLATE_NOOP("TForm1", "Повторить"),
     (Qt::CTRL | Qt::SHIFT | Qt::Key_Z).toCombined(), (Qt::CTRL | Qt::Key_Y).toCombined(), 0,
     nullptr, &F::NRedo, &F::RedoClick},
    {nullptr, QT_TRANSLATE_NOOP("TForm1", "Опции"), 0, 0, 0, &F::N1, nullptr, nullptr},
    {&F::N1, QT_TRANSLATE_NOOP("TForm1", "Настроить анимацию"), 0, 0, 0, nullptr, &F::N2,
     &F::N2Click},
    {&F::N1, QT_TRANSLATE_NOOP("TForm1", "Анимация (вкл/выкл)"),
     (Qt::CTRL | Qt::Key_A).toCombined(), 0, 0, nullptr, &F::N10, &F::N10Click},
    {&F::N1, QT_TRANSLATE_NOOP("TForm1", "Цвета"), 0, 0, 0, nullptr, &F::N14, &F::N14Click},
    {&F::N1, QT_TRANSLATE_NOOP("TForm1", "Рисовать оси координат"), Qt::Key_F8, 0,
     Checkable | CheckedItem, nullptr, &F::N6, &F::N6Click},
    {&F::N1, QT_TRANSLATE_NOOP("TForm1", "Легенда"), 0, 0, Checkable, nullptr, &F::NLegend,
     &F::LegendClick},
    {&F::N1, QT_TRANSLATE_NOOP("TForm1", "Точный рисунок графиков"), 0, 0, Checkable, nullptr,
     &F::NExactGraphs, &F::ExactGraphsClick},
    {&F::N1, QT_TRANSLATE_NOOP("TForm1", "Графики списка…"), (Qt::CTRL | Qt::Key_L).toCombined(), 0,
     0, nullptr, &F::NListRows, &F::ListRowsClick},
    {&F::N1, QT_TRANSLATE_NOOP("TForm1", "Параметры"), 0, 0, Checkable, nullptr, &F::NParameters,
     &F::ParametersClick},
    {&F::N1, nullptr, 0, 0, Separator, nullptr, &F::N11, nullptr},
    {&F::N1, "2D y(x)", 0, 0, ModeItem | CheckedItem, nullptr, &F::N2Dyx, &F::N2DyxClick},
    {&F::N1, "3D z(x,y)", 0, 0, ModeItem, nullptr, &F::N3Dzxy, &F::N3DzxyClick},
    {&F::N1, "3D F(x,y,z)=0", 0, 0, ModeItem, nullptr, &F::N3DFxyz, &F::N3DFxyzClick},
    {&F::N1, QT_TRANSLATE_NOOP("TForm1", "Параметрические уравнения"), 0, 0, ModeItem, &F::N9Menu,
     &F::N9, nullptr},
    {&F::N9Menu, "2D x(t),y(t)", 0, 0, ParametricItem, nullptr, &F::N2Dxyt, &F::N2DxytClick},
    {&F::N9Menu, "3D x(t),y(t),z(t)", 0, 0, ParametricItem, nullptr, &F::N3Dxyzt, &F::N3DxyztClick},
    {&F::N9Menu, "3D x(u,v),y(u,v),z(u,v)", 0, 0, ParametricItem, nullptr, &F::N3Dxyzuv,
     &F::N3DxyzuvClick},
    {&F::N1, nullptr, 0, 0, Separator, nullptr, &F::N12, nullptr},
    {&F::N1, QT_TRANSLATE_NOOP("TForm1", "Генерировать случайную функцию"), Qt::Key_F12, 0, 0,
     nullptr, &F::N13, &F::N13Click},
    {nullptr, QT_TRANSLATE_NOOP("TForm1", "Анализ"), 0, 0, 0, &F::NAnalysisMenu, nullptr, nullptr},
    {&F::NAnalysisMenu, QT_TRANSLATE_NOOP("TForm1", "Трассировка"),
     (Qt::CTRL | Qt::Key_T).toCombined(), 0, Checkable, nullptr, &F::NTrace, &F::TraceClick},
    {&F::NAnalysisMenu, QT_TRANSLATE_NOOP("TForm1", "Особые точки"),
     (Qt::CTRL | Qt::Key_I).toCombined(), 0, Checkable, nullptr, &F::NPoints, &F::PointsClick},
    {&F::NAnalysisMenu, QT_TRANSLATE_NOOP("TForm1", "Найти…"), (Qt::CTRL | Qt::Key_F).toCombined(),
     0, 0, nullptr, &F::NFind, &F::FindClick},
    {&F::NAnalysisMenu, QT_TRANSLATE_NOOP("TForm1", "Производные графика…"),
     (Qt::CTRL | Qt::SHIFT | Qt::Key_D).toCombined(), 0, 0, nullptr, &F::NCalculus,
     &F::CalculusClick},
    {&F::NAnalysisMenu, QT_TRANSLATE_NOOP("TForm1", "Нормаль при трассировке"), 0, 0, Checkable,
     nullptr, &F::NNormal, &F::NormalClick},
    {nullptr, QT_TRANSLATE_NOOP("TForm1", "Помощь"), 0, 0, 0, &F::N7, nullptr, nullptr},
    {&F::N7, QT_TRANSLATE_NOOP("TForm1", "Список функций"), 0, 0, 0, nullptr, &F::N8, &F::N8Click},
    {&F::N7, QT_TRANSLATE_NOOP("TForm1", "Руководство"), Qt::Key_F1, 0, 0, nullptr, &F::NGuide,
     &F::GuideClick},
    {&F::N7, QT_TRANSLATE_NOOP("TForm1", "О программе"), 0, 0, 0, nullptr, &F::NAbout,
     &F::AboutClick},
    // In both languages, and each language in its own.
    {&F::N7, "Язык / Language", 0, 0, 0, &F::LanguageMenu, &F::NLanguage, nullptr},
    {&F::LanguageMenu, "Русский", 0, 0, LanguageItem, nullptr, &F::NRussian, &F::RussianClick},
    {&F::LanguageMenu, "English", 0, 0, LanguageItem, nullptr, &F::NEnglish, &F::EnglishClick},
};

QLabel* MakeLabel(QWidget* parent, const TControlPlace& r) {
    auto* label = new QLabel(parent);
    label->setGeometry(r.X, r.Y, r.W, r.H);
    label->setAlignment((r.Flags & Right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
    label->setProperty("autoSize", !(r.Flags & Fixed));
    if (r.Text != nullptr && *r.Text != 0) SetText(label, "TForm1", r.Text);
    return label;
}

QLineEdit* MakeEdit(QWidget* parent, const TControlPlace& r) {
    auto* edit = new QLineEdit(QString::fromUtf8(r.Text), parent);
    edit->setGeometry(r.X, r.Y, r.W, r.H);
    // A text the program writes shows from its start, as in a new edit box.
    // (queued: the edit puts its cursor at the end after telling of the change).
    QObject::connect(
        edit, &QLineEdit::textChanged, edit,
        [edit] {
            if (!edit->hasFocus()) edit->setCursorPosition(0);
        },
        Qt::QueuedConnection);
    return edit;
}

} // namespace

TPaintBox::TPaintBox(TForm1* form, QWidget* parent) : QWidget(parent), form_(form) {
    setMouseTracking(true); // the cursor coordinates follow every move
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPaintBox::paintEvent(QPaintEvent*) {
    form_->PaintBox1Paint();
    QPainter painter(this);
    if (!Picture.isNull()) painter.drawImage(0, 0, Picture);
    if (form_->Analysis) form_->Analysis->Paint(painter); // the trace and the points over it
}

void TPaintBox::keyPressEvent(QKeyEvent* e) {
    if (!form_->Analysis ||
        !form_->Analysis->TraceKey(e->key(), e->modifiers() & Qt::ShiftModifier))
        QWidget::keyPressEvent(e);
    form_->NTrace->setChecked(form_->Analysis && form_->Analysis->Tracing());
}

namespace {
TMouseButton ButtonOf(const QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) return TMouseButton::Left;
    if (e->button() == Qt::RightButton) return TMouseButton::Right;
    return TMouseButton::Middle;
}
} // namespace

void TPaintBox::mousePressEvent(QMouseEvent* e) {
    form_->PaintBox1MouseDown(ButtonOf(e), e->position().toPoint().x(),
                              e->position().toPoint().y());
}
void TPaintBox::mouseMoveEvent(QMouseEvent* e) {
    form_->PaintBox1MouseMove(e->position().toPoint().x(), e->position().toPoint().y());
}
void TPaintBox::mouseReleaseEvent(QMouseEvent* e) {
    form_->PaintBox1MouseUp(ButtonOf(e));
}

TForm1::TForm1() {
    setWindowTitle(tr("Графики функций"));
    setFont(WindowFont());

    Client = new QWidget(this);
    Client->setMinimumSize(ClientWidth, ClientHeight);
    setCentralWidget(Client);
    CreateControls();
    PointInfo = new QLabel(PaintBox1);
    PointInfo->setTextInteractionFlags(Qt::TextSelectableByMouse); // its text can be copied
    PointInfo->setAutoFillBackground(true);
    PointInfo->setFrameShape(QFrame::Box);
    PointInfo->setMargin(2);
    PointInfo->hide();
    Analysis = new TGraphAnalysis(
        PaintBox1, [this] { PaintBox1->update(); },
        [this](const std::optional<TGraphAnalysis::TInfo>& info) { ShowPointInfo(info); });
    PointsTimer = new QTimer(this);
    PointsTimer->setSingleShot(true);
    PointsTimer->setInterval(200);
    connect(PointsTimer, &QTimer::timeout, this, [this] {
        Analysis->ComputePoints();
        ReportSkippedGraphs();
    });
    CreateMenu();
    CheckLanguageItem(); // also when no change of language ever comes
    SetTabOrder();
    ConnectHandlers();
    Edit2Marks = new TFormulaMarks(Edit2);
    Edit6Marks = new TFormulaMarks(Edit6);
    Edit7Marks = new TFormulaMarks(Edit7);
    ComboBox1Marks = new TFormulaMarks(ComboBox1->lineEdit(), true);
    // Under the client area, which keeps its size.
    StatusLine = new QLabel;
    StatusLine->setObjectName(QStringLiteral("StatusLine"));
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(StatusLine, 1);
    CreateParameterPanel();
    // The window starts at the size of its controls and grows from there.
    adjustSize();
    setMinimumSize(sizeHint());
    resize(sizeHint());
    // The client area at its size now, not at the first showing.
    Client->resize(ClientWidth, ClientHeight);
    CentreOnDesktop();
    qApp->installEventFilter(this);
    FormCreate();
    Model.History.Show = [this](const TPlotState& state) { ShowState(state); };
    connect(&Model.History.Stack(), &QUndoStack::indexChanged, this, [this] { UpdateUndoItems(); });
    Model.History.Reset(WindowState()); // the start is no step to undo
    UpdateUndoItems();
}

void TForm1::CentreOnDesktop() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

QLabel* TForm1::LabelN(int k) const {
    return this->*LabelMembers[k];
}
QLineEdit* TForm1::EditN(int k) const {
    return this->*EditMembers[k];
}
QPushButton* TForm1::ButtonN(int k) const {
    return this->*ButtonMembers[k];
}
QCheckBox* TForm1::CheckBoxN(int k) const {
    return this->*CheckBoxMembers[k];
}
QRadioButton* TForm1::RadioButtonN(int k) const {
    return this->*RadioButtonMembers[k];
}

TForm1::~TForm1() {
    qApp->removeEventFilter(this);
    // The dock is destroyed with the window's children, after this: a shown
    // one tells of its hiding then, and nothing of this may hear it.
    if (ParameterPanel) ParameterPanel->disconnect(this);
}

void TForm1::CreateControls() {
    for (const TControlPlace& r : ControlPlaces()) {
        QWidget* w = nullptr;
        switch (r.Kind) {
        case K::Label:
            w = this->*LabelMembers[r.Number] = MakeLabel(Client, r);
            break;
        case K::Edit:
            w = this->*EditMembers[r.Number] = MakeEdit(Client, r);
            break;
        case K::Button:
            w = this->*ButtonMembers[r.Number] = new QPushButton(Client);
            break;
        case K::CheckBox:
        case K::Equally: {
            auto* box = new QCheckBox(Client);
            box->setChecked(r.Flags & Checked);
            w = box;
            if (r.Kind == K::Equally)
                Equally = box;
            else
                this->*CheckBoxMembers[r.Number] = box;
            break;
        }
        case K::RadioButton: {
            auto* radio = new QRadioButton(Client);
            radio->setChecked(r.Flags & Checked);
            w = this->*RadioButtonMembers[r.Number] = radio;
            break;
        }
        case K::ComboBox:
            w = ComboBox1 = new QComboBox(Client);
            ComboBox1->setEditable(true);
            ComboBox1->setInsertPolicy(QComboBox::NoInsert); // Enter builds; "добавить" adds
            // No completion from the list while typing: Enter draws what was typed.
            ComboBox1->setCompleter(nullptr);
            break;
        case K::PaintBox:
            w = PaintBox1 = new TPaintBox(this, Client);
            break;
        }
        if (r.Kind != K::Label) w->setGeometry(r.X, r.Y, r.W, r.H);
        const bool captioned = r.Kind == K::Button || r.Kind == K::CheckBox ||
                               r.Kind == K::Equally || r.Kind == K::RadioButton;
        if (captioned && r.Text != nullptr && *r.Text != 0) SetText(w, "TForm1", r.Text);
        if (r.Hint) SetToolTip(w, "TForm1", r.Hint);
        if (r.Flags & Hidden) w->hide();
        if (r.Flags & Disabled) w->setEnabled(false);
    }
    // Where the y(x) mode's cartesian layout leaves room beside "y(x0)=".
    SlopeButton = new QPushButton(QStringLiteral("y′(x0)="), Client);
    SlopeButton->setObjectName(QStringLiteral("SlopeButton"));
    SlopeButton->setGeometry(272, 14, 44, 25);
    SlopeButton->hide();
    connect(SlopeButton, &QPushButton::clicked, this,
            [this] { RunCommand([this] { SlopeButtonClick(); }); });
    SlopeResult = new QLabel(Client);
    SlopeResult->setObjectName(QStringLiteral("SlopeResult"));
    SlopeResult->setGeometry(320, 20, 70, 13);
    SlopeResult->hide();
    Timer1 = new QTimer(this);
}

void TForm1::CreateMenu() {
    // Radio groups: checking one item unchecks its siblings, and all of them
    // may be unchecked at once.
    ModeGroup = new QActionGroup(this);
    ParametricGroup = new QActionGroup(this);
    for (QActionGroup* g : {ModeGroup, ParametricGroup})
        g->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    LanguageGroup = new QActionGroup(this);
    for (const TMenuRow& m : MenuRows) {
        const char* caption = m.Caption ? m.Caption : "";
        if (m.Parent == nullptr) {
            this->*m.Menu = menuBar()->addMenu(QString());
            SetTitle(this->*m.Menu, "TForm1", caption);
            continue;
        }
        QMenu* parent = this->*m.Parent;
        QAction* a = nullptr;
        if (m.Flags & Separator) {
            a = parent->addSeparator();
        } else if (m.Menu != nullptr) {
            this->*m.Menu = parent->addMenu(QString());
            SetTitle(this->*m.Menu, "TForm1", caption);
            a = (this->*m.Menu)->menuAction();
        } else {
            a = parent->addAction(QString());
            SetText(a, "TForm1", caption);
        }
        if (m.Key != 0) {
            QList<QKeySequence> keys{QKeySequence(QKeyCombination::fromCombined(m.Key))};
            if (m.Key2 != 0) keys << QKeySequence(QKeyCombination::fromCombined(m.Key2));
            a->setShortcuts(keys);
        }
        if (m.Flags & (Checkable | ModeItem | ParametricItem | LanguageItem)) a->setCheckable(true);
        if (m.Flags & LanguageItem) LanguageGroup->addAction(a);
        if (m.Flags & ModeItem) ModeGroup->addAction(a);
        if (m.Flags & ParametricItem) ParametricGroup->addAction(a);
        if (m.Flags & CheckedItem) a->setChecked(true);
        if (m.Item != nullptr) this->*m.Item = a;
    }
}

void TForm1::SetTabOrder() {
    QWidget* order[] = {
        Edit1,     Button1,      Edit3,        Edit4,   Edit5,   Edit8,     Edit9,     Edit10,
        Button2,   RadioButton1, RadioButton2, Button3, Button4, ComboBox1, CheckBox1, Button5,
        Button6,   Button7,      Edit2,        Edit6,   Edit7,   Button8,   Button9,   Button10,
        CheckBox2, Edit11,       Edit12,       Edit13,  Edit14,  Edit15,    Edit16,    Edit17,
        Edit18,    Edit19,       Edit20,       Edit21,  Edit22,  CheckBox3, CheckBox4, CheckBox5,
        Button11,  Equally,      Edit23,       Edit24,  Edit25,  Edit26,    CheckBox6, CheckBox7,
        CheckBox8, CheckBox9};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
}

void TForm1::ConnectHandlers() {
    BindControls(); // first: the handlers below read what it writes
    // Every check box is a switch of the state: a step of its own, with
    // whatever its handler builds.
    for (const TControlPlace& r : ControlPlaces()) {
        if (r.Kind != K::CheckBox && r.Kind != K::Equally) continue;
        const auto* row =
            std::find_if(std::begin(HandlerRows), std::end(HandlerRows), [&](const THandlerRow& h) {
                return h.Kind == r.Kind && h.Number == r.Number;
            });
        void (TForm1::*h)() = row == std::end(HandlerRows) ? nullptr : row->Handler;
        connect(r.Kind == K::Equally ? Equally : CheckBoxN(r.Number), &QCheckBox::toggled, this,
                [this, h] {
                    const TStep step(this, QT_TRANSLATE_NOOP("TForm1", "переключатель"));
                    if (h) std::invoke(h, this);
                });
    }
    for (const THandlerRow& r : HandlerRows) {
        const auto handler = [this, h = r.Handler] { std::invoke(h, this); };
        switch (r.Kind) {
        case K::Button:
            connect(ButtonN(r.Number), &QPushButton::clicked, this, AsCommand(handler));
            break;
        case K::RadioButton:
            // A radio button that becomes checked runs its click action,
            // whether the user or the program checked it.
            connect(RadioButtonN(r.Number), &QRadioButton::toggled, this, [handler](bool on) {
                if (on) handler();
            });
            break;
        case K::Edit:
            connect(EditN(r.Number), &QLineEdit::textChanged, this, handler);
            break;
        case K::ComboBox:
            connect(ComboBox1, &QComboBox::editTextChanged, this, AsCommand(handler));
            break;
        default:
            break; // the check boxes above; labels and the area run nothing
        }
    }
    for (const TMenuRow& m : MenuRows) {
        if (m.Handler == nullptr || m.Item == nullptr) continue;
        QAction* a = this->*m.Item;
        // Menu items that are checkable toggle by themselves when chosen; the
        // handlers set the check marks, so the automatic toggle is undone first.
        connect(a, &QAction::triggered, this, [this, a, h = m.Handler] {
            if (a->isCheckable()) a->setChecked(!a->isChecked());
            RunCommand([this, h] { std::invoke(h, this); });
        });
    }
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    // A number wider than its field shows whole in the field's tooltip.
    std::vector<QLineEdit*> numeric{Edit1};
    for (const TNumericField& f : NumericFields())
        numeric.push_back(EditN(f.Edit));
    for (QLineEdit* e : numeric) {
        connect(e, &QLineEdit::textChanged, this, [e] { TipForCutText(e); });
        TipForCutText(e);
    }
}

// The fields whose Enter evaluates their text: x0 and every field of numbers.
QLineEdit* TForm1::NumericField(QObject* watched) const {
    if (watched == Edit1) return Edit1;
    for (const TNumericField& f : NumericFields())
        if (watched == EditN(f.Edit)) return EditN(f.Edit);
    return nullptr;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Client && event->type() == QEvent::Resize) GrowCanvas();
    if (event->type() == QEvent::Wheel && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this && Shows(K::Button, 4)) {
        const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
        if (delta != 0) {
            FormMouseWheel(delta);
            return true;
        }
    }
    if (event->type() == QEvent::ShortcutOverride && UndoKeyForHistory(watched, event))
        return true; // not taken by the field: the shortcut of the menu runs
    if (event->type() != QEvent::KeyPress) return QMainWindow::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (watched == ComboBox1 || watched == ComboBox1->lineEdit()) {
        if (enter) ComboBox1KeyPress(KeyEnter);
        return enter; // Enter builds instead of adding the text to the list
    }
    QLineEdit* field = NumericField(watched);
    if (field == nullptr) return false;
    for (QLineEdit* range : {Edit23, Edit24, Edit25, Edit26})
        if (field == range) RangeEditsDirty = true;
    if (enter) RunCommand([&] { EvalNumberField(field, KeyEnter); });
    return false;
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (Busy()) {
        // A scan is running under this handler: it is stopped, and the
        // window closes when it has ended.
        if (CancelScan) CancelScan();
        Model.CloseAfterScan = true;
        event->ignore();
        return;
    }
    if (!MaySetDocumentAside()) { // the user keeps the window
        event->ignore();
        return;
    }
    FormClose();
    SaveWindowGeometry(saveGeometry());
    event->accept();
    if (Closed) Closed();
}
