// Creation of the main window: its controls at their places, the menu, the
// tab order and the wiring of the handlers.
#include "app/TForm1.h"

#include "app/ErrorReport.h"
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
#include <QTimer>
#include <QWheelEvent>

namespace {

constexpr int ClientWidth = 474, ClientHeight = 517;

QLabel* MakeLabel(QWidget* parent, int x, int y, int w, int h, const char* caption,
                  Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop, bool autoSize = true) {
    auto* label = new QLabel(parent);
    label->setGeometry(x, y, w, h);
    label->setAlignment(align);
    label->setProperty("autoSize", autoSize);
    SetCaption(label, QString::fromUtf8(caption));
    return label;
}

QLineEdit* MakeEdit(QWidget* parent, int x, int y, int w, const char* text = "") {
    auto* edit = new QLineEdit(QString::fromUtf8(text), parent);
    edit->setGeometry(x, y, w, 21);
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

QPushButton* MakeButton(QWidget* parent, int x, int y, int w, int h, const char* caption) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setGeometry(x, y, w, h);
    return button;
}

QCheckBox* MakeCheck(QWidget* parent, int x, int y, int w, const char* caption, bool checked,
                     const char* hint = nullptr) {
    auto* box = new QCheckBox(QString::fromUtf8(caption), parent);
    box->setGeometry(x, y, w, 17);
    box->setChecked(checked);
    if (hint) box->setToolTip(QString::fromUtf8(hint));
    return box;
}

} // namespace

std::string FieldText(const QLineEdit* field) {
    return field->text().toStdString();
}

double FieldNumber(const QLineEdit* field) {
    return StrToFloat(FieldText(field));
}

void SetCaption(QLabel* label, const QString& caption) {
    label->setText(caption);
    if (!label->property("autoSize").toBool()) return;
    const int right = label->geometry().right();
    label->resize(std::max(label->sizeHint().width(), 1), label->height());
    if (label->alignment() & Qt::AlignRight) label->move(right - label->width() + 1, label->y());
}

void SetEditText(QLineEdit* edit, const QString& text) {
    if (edit->text() != text) edit->setText(text);
}

QFont WindowFont() {
    // "MS Sans Serif" of height -11: a sans-serif face of the same metrics at
    // 11 pixels, so that every caption fits the place the window gives it.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

TPaintBox::TPaintBox(TForm1* form, QWidget* parent) : QWidget(parent), form_(form) {
    setMouseTracking(true); // the cursor coordinates follow every move
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPaintBox::paintEvent(QPaintEvent*) {
    form_->PaintBox1Paint();
    QPainter painter(this);
    if (!Picture.isNull()) painter.drawImage(0, 0, Picture);
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
    setWindowTitle(QString::fromUtf8("Графики функций"));
    setFont(WindowFont());

    Client = new QWidget(this);
    Client->setFixedSize(ClientWidth, ClientHeight);
    setCentralWidget(Client);
    CreateControls();
    CreateMenu();
    SetTabOrder();
    ConnectHandlers();
    // A single fixed border: the window is not resizable.
    adjustSize();
    setFixedSize(sizeHint());
    CentreOnDesktop();
    qApp->installEventFilter(this);
    FormCreate();
}

void TForm1::CentreOnDesktop() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

TForm1::~TForm1() {
    qApp->removeEventFilter(this);
}

void TForm1::CreateControls() {
    QWidget* c = Client;
    const auto right = Qt::AlignRight | Qt::AlignTop;
    // The result of "y(x0)=" keeps its place and size whatever it shows.
    Label1 = MakeLabel(c, 144, 20, 100, 13, "", Qt::AlignLeft | Qt::AlignTop, false);
    Label2 = MakeLabel(c, 8, 20, 17, 13, "x0=", right); // right-to-left reading
    Label3 = MakeLabel(c, 0, 58, 62, 13, "Формула y=");
    Label4 = MakeLabel(c, 279, 0, 26, 13, "min X");
    Label5 = MakeLabel(c, 330, 0, 29, 13, "max X");
    Label6 = MakeLabel(c, 402, 0, 20, 13, "Шаг");
    Label7 = MakeLabel(c, 40, 8, 20, 13, "x(t)=", right);
    Label8 = MakeLabel(c, 40, 33, 20, 13, "y(t)=", right);
    Label9 = MakeLabel(c, 40, 58, 20, 13, "z(t)=", right);
    Label10 = MakeLabel(c, 264, 17, 8, 13, "U");
    Label11 = MakeLabel(c, 264, 45, 7, 13, "V");
    Label12 = MakeLabel(c, 142, 139, 7, 13, "X");
    Label13 = MakeLabel(c, 142, 168, 7, 13, "Y");
    Label14 = MakeLabel(c, 142, 196, 7, 13, "Z");
    Label15 = MakeLabel(c, 165, 120, 16, 13, "min");
    Label16 = MakeLabel(c, 209, 120, 19, 13, "max");
    Label17 = MakeLabel(c, 253, 120, 25, 13, "шаг1");
    Label17->setToolTip(QString::fromUtf8("между точками линии уровня"));
    Label18 = MakeLabel(c, 297, 120, 25, 13, "шаг2");
    Label18->setToolTip(QString::fromUtf8("между линиями уровня"));
    Label19 = MakeLabel(c, 78, 504, 11, 13, "x1");
    Label20 = MakeLabel(c, 360, 504, 11, 13, "x2");
    Label21 = MakeLabel(c, 463, 458, 11, 13, "y1");
    Label22 = MakeLabel(c, 463, 120, 11, 13, "y2");
    Label23 = MakeLabel(c, 165, 504, 13, 13, "X=");
    Label24 = MakeLabel(c, 237, 504, 13, 13, "Y=");
    Label25 = MakeLabel(c, 181, 504, 3, 13, "");
    Label26 = MakeLabel(c, 253, 504, 3, 13, "");
    for (QLabel* l : {Label4, Label5, Label7, Label8, Label9, Label10, Label11, Label12, Label13,
                      Label14, Label15, Label16, Label17, Label18})
        l->hide();

    PaintBox1 = new TPaintBox(this, c);
    PaintBox1->setGeometry(24, 97, 400, 400);

    Edit1 = MakeEdit(c, 24, 16, 73);
    Button1 = MakeButton(c, 104, 14, 33, 25, "y(x0)=");
    Edit2 = MakeEdit(c, 64, 4, 193);
    Edit6 = MakeEdit(c, 64, 29, 193);
    Edit7 = MakeEdit(c, 64, 54, 193);
    for (QLineEdit* e : {Edit2, Edit6, Edit7})
        e->hide();
    ComboBox1 = new QComboBox(c);
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert); // Enter builds; "добавить" adds
    ComboBox1->setGeometry(64, 54, 193, 21);
    CheckBox1 = MakeCheck(c, 7, 74, 49, "Все", false);
    Button5 = MakeButton(c, 64, 78, 65, 17, "добавить");
    Button6 = MakeButton(c, 128, 78, 65, 17, "удалить");
    Button7 = MakeButton(c, 192, 78, 65, 17, "очистить");
    Edit3 = MakeEdit(c, 272, 13, 41, "0");
    Edit4 = MakeEdit(c, 324, 13, 41, "0");
    Edit5 = MakeEdit(c, 392, 13, 41, "0");
    Edit3->hide();
    Edit4->hide();
    Edit8 = MakeEdit(c, 272, 41, 41, "0");
    Edit9 = MakeEdit(c, 324, 41, 41, "0");
    Edit10 = MakeEdit(c, 392, 41, 41, "0");
    for (QLineEdit* e : {Edit8, Edit9, Edit10})
        e->hide();
    CheckBox9 = MakeCheck(c, 435, 15, 15, "", false, "Минимальный шаг");
    Button2 = MakeButton(c, 272, 52, 161, 25, "Построить график");
    Button9 = MakeButton(c, 272, 52, 161, 25, "Построить 3D кривую");
    Button8 = MakeButton(c, 272, 68, 161, 25, "Построить поверхность");
    Button10 = MakeButton(c, 272, 68, 161, 25, "Построить поверхность");
    Button11 = MakeButton(c, 272, 68, 161, 25, "Построить поверхность");
    for (QPushButton* b : {Button8, Button9, Button10, Button11})
        b->hide();
    Button3 = MakeButton(c, 434, 48, 17, 17, "+");
    Button4 = MakeButton(c, 434, 64, 17, 17, "-");
    RadioButton1 = new QRadioButton(QString::fromUtf8("декарт"), c);
    RadioButton1->setGeometry(296, 80, 57, 17);
    RadioButton1->setChecked(true);
    RadioButton2 = new QRadioButton(QString::fromUtf8("поляр"), c);
    RadioButton2->setGeometry(360, 80, 49, 17);
    CheckBox2 = MakeCheck(c, 100, 79, 121, "траектория камеры", false,
                          "поместить камеру на траекторию x(t),y(t),z(t)");
    CheckBox2->hide();

    const int columns[4] = {153, 198, 244, 289};
    const int rows[3] = {135, 164, 192};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col) {
            QLineEdit* e = MakeEdit(c, columns[col], rows[row], 41, "0");
            e->hide();
            if (row > 0) e->setEnabled(false); // rows Y and Z follow X while "Equally" is on
            Edits[11 + row * 4 + col] = e;
        }
    Edit11 = Edits[11], Edit12 = Edits[12], Edit13 = Edits[13], Edit14 = Edits[14];
    Edit15 = Edits[15], Edit16 = Edits[16], Edit17 = Edits[17], Edit18 = Edits[18];
    Edit19 = Edits[19], Edit20 = Edits[20], Edit21 = Edits[21], Edit22 = Edits[22];
    CheckBox3 = MakeCheck(c, 121, 137, 15, "", true, "линии уровня перпендикулярно оси X");
    CheckBox4 = MakeCheck(c, 121, 166, 15, "", true, "линии уровня перпендикулярно оси Y");
    CheckBox5 = MakeCheck(c, 121, 194, 15, "", true, "линии уровня перпендикулярно оси Z");
    Equally = MakeCheck(c, 158, 224, 65, "Equally", true);
    CheckBox8 = MakeCheck(c, 232, 224, 97, "Центрировать", false);
    for (QCheckBox* b : {CheckBox3, CheckBox4, CheckBox5, Equally, CheckBox8})
        b->hide();

    Edit23 = MakeEdit(c, 424, 97, 50);
    Edit23->setEnabled(false); // equal scales are on
    Edit24 = MakeEdit(c, 424, 476, 50);
    Edit25 = MakeEdit(c, 375, 496, 50);
    Edit26 = MakeEdit(c, 24, 496, 50);
    CheckBox6 = MakeCheck(c, 429, 120, 15, "", true, "Равные масштабы");
    CheckBox7 = MakeCheck(c, 7, 289, 15, "", true, "Вспомогательная сетка");

    Timer1 = new QTimer(this);

    QLabel* labels[] = {nullptr, Label1,  Label2,  Label3,  Label4,  Label5,  Label6,
                        Label7,  Label8,  Label9,  Label10, Label11, Label12, Label13,
                        Label14, Label15, Label16, Label17, Label18, Label19, Label20,
                        Label21, Label22, Label23, Label24, Label25, Label26};
    std::copy(std::begin(labels), std::end(labels), Labels);
    QLineEdit* edits[] = {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9, Edit10};
    for (int k = 1; k <= 10; ++k)
        Edits[k] = edits[k - 1];
    Edits[23] = Edit23, Edits[24] = Edit24, Edits[25] = Edit25, Edits[26] = Edit26;
}

void TForm1::CreateMenu() {
    QMenuBar* bar = menuBar();
    auto action = [this](QMenu* menu, const char* caption, QKeySequence key = {}) {
        QAction* a = menu->addAction(QString::fromUtf8(caption));
        if (!key.isEmpty()) a->setShortcut(key);
        return a;
    };
    N3 = bar->addMenu(QString::fromUtf8("Файл"));
    N4 = action(N3, "Сохранить", QKeySequence(Qt::Key_F2));
    N5 = action(N3, "Открыть", QKeySequence(Qt::Key_F3));

    N1 = bar->addMenu(QString::fromUtf8("Опции"));
    N2 = action(N1, "Настроить анимацию");
    N10 = action(N1, "Анимация (вкл/выкл)", QKeySequence(Qt::CTRL | Qt::Key_A));
    N14 = action(N1, "Цвета");
    N6 = action(N1, "Рисовать оси координат", QKeySequence(Qt::Key_F8));
    N6->setCheckable(true);
    N6->setChecked(true);
    N11 = N1->addSeparator();
    N2Dyx = action(N1, "2D y(x)");
    N3Dzxy = action(N1, "3D z(x,y)");
    N3DFxyz = action(N1, "3D F(x,y,z)=0");
    N9Menu = N1->addMenu(QString::fromUtf8("Параметрические уравнения"));
    N9 = N9Menu->menuAction();
    N2Dxyt = action(N9Menu, "2D x(t),y(t)");
    N3Dxyzt = action(N9Menu, "3D x(t),y(t),z(t)");
    N3Dxyzuv = action(N9Menu, "3D x(u,v),y(u,v),z(u,v)");
    N12 = N1->addSeparator();
    N13 = action(N1, "Генерировать случайную функцию", QKeySequence(Qt::Key_F12));

    N7 = bar->addMenu(QString::fromUtf8("Помощь"));
    N8 = action(N7, "Список функций");

    // Radio groups: checking one item unchecks its siblings, and all of them
    // may be unchecked at once.
    ModeGroup = new QActionGroup(this);
    ParametricGroup = new QActionGroup(this);
    for (QActionGroup* g : {ModeGroup, ParametricGroup})
        g->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (QAction* a : {N2Dyx, N3Dzxy, N3DFxyz, N9}) {
        a->setCheckable(true);
        ModeGroup->addAction(a);
    }
    for (QAction* a : {N2Dxyt, N3Dxyzt, N3Dxyzuv}) {
        a->setCheckable(true);
        ParametricGroup->addAction(a);
    }
    N2Dyx->setChecked(true);
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
    connect(Button1, &QPushButton::clicked, this, AsCommand([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
    connect(Button5, &QPushButton::clicked, this, AsCommand([this] { Button5Click(); }));
    connect(Button8, &QPushButton::clicked, this, AsCommand([this] { Button8Click(); }));
    connect(Button9, &QPushButton::clicked, this, AsCommand([this] { Button9Click(); }));
    connect(Button10, &QPushButton::clicked, this, AsCommand([this] { Button10Click(); }));
    connect(Button11, &QPushButton::clicked, this, AsCommand([this] { Button11Click(); }));
    connect(Equally, &QCheckBox::toggled, this, [this] { EquallyClick(); });
    for (QLineEdit* e : {Edit11, Edit12, Edit13, Edit14})
        connect(e, &QLineEdit::textChanged, this, [this] { Edit11Change(); });
    connect(Button6, &QPushButton::clicked, this, AsCommand([this] { Button6Click(); }));
    connect(Button7, &QPushButton::clicked, this, AsCommand([this] { Button7Click(); }));
    // A radio button or check box that becomes checked runs its click action,
    // whether the user or the program checked it.
    connect(RadioButton1, &QRadioButton::toggled, this, [this](bool on) {
        if (on) RadioButton1Click();
    });
    connect(RadioButton2, &QRadioButton::toggled, this, [this](bool on) {
        if (on) RadioButton2Click();
    });
    connect(CheckBox6, &QCheckBox::toggled, this, [this] { CheckBox6Click(); });
    connect(CheckBox7, &QCheckBox::toggled, this, [this] { CheckBox7Click(); });
    for (QLineEdit* e : {Edit23, Edit24, Edit25, Edit26})
        connect(e, &QLineEdit::textChanged, this, [this] { Edit23Change(); });
    connect(ComboBox1, &QComboBox::editTextChanged, this, AsCommand([this] { ComboBox1Change(); }));

    // Menu items that are checkable toggle by themselves when chosen; the
    // handlers set the check marks, so the automatic toggle is undone first.
    auto menuCommand = [this](QAction* a, auto handler) {
        connect(a, &QAction::triggered, this, [a, handler] {
            if (a->isCheckable()) a->setChecked(!a->isChecked());
            RunCommand(handler);
        });
    };
    menuCommand(N6, [this] { N6Click(); });
    menuCommand(N2Dyx, [this] { N2DyxClick(); });
    menuCommand(N3Dzxy, [this] { N3DzxyClick(); });
    menuCommand(N3DFxyz, [this] { N3DFxyzClick(); });
    menuCommand(N2Dxyt, [this] { N2DxytClick(); });
    menuCommand(N3Dxyzt, [this] { N3DxyztClick(); });
    menuCommand(N3Dxyzuv, [this] { N3DxyzuvClick(); });
    menuCommand(N13, [this] { N13Click(); });
    menuCommand(N4, [this] { N4Click(); });
    menuCommand(N2, [this] { N2Click(); });
    menuCommand(N10, [this] { N10Click(); });
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    connect(CheckBox2, &QCheckBox::toggled, this, [this] { CheckBox2Click(); });
    menuCommand(N5, [this] { N5Click(); });
    menuCommand(N8, [this] { N8Click(); });
    menuCommand(N14, [this] { N14Click(); });
}

// The fields whose Enter evaluates their text: x0 and every field of numbers.
QLineEdit* TForm1::NumericField(QObject* watched) const {
    if (watched == Edit1) return Edit1;
    for (const TNumericField& f : NumericFields())
        if (watched == Edits[f.Edit]) return Edits[f.Edit];
    return nullptr;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this && !Button4->isHidden()) {
        const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
        if (delta != 0) {
            FormMouseWheel(delta);
            return true;
        }
    }
    if (event->type() == QEvent::ShortcutOverride && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        // Ctrl+A belongs to the animation item from anywhere in the window:
        // a text field does not take it for its select-all.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (QKeySequence(key->keyCombination()) == N10->shortcut()) return true;
    }
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
        CancelRequested = true;
        CloseAfterScan = true;
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}
