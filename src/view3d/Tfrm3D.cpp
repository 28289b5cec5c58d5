#include "view3d/Tfrm3D.h"

#include "engine/Engine.h"
#include "geometry3d/Buffers.h"
#include "view3d/FlyingCamera.h"
#include "view3d/Trackball.h"
#include "view3d/ViewState.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QPalette>
#include <QProgressBar>
#include <QPushButton>
#include <QSurfaceFormat>
#include <QTimer>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace {

QSurfaceFormat ViewFormat() {
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile); // OpenGL 1.1 calls
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setAlphaBufferSize(8);
    format.setDepthBufferSize(24);
    format.setStencilBufferSize(8);
    return format;
}

// Platforms whose windows cannot show an OpenGL widget (the headless ones);
// there the window stays blank instead of failing when it is shown.
bool PlatformShowsOpenGL() {
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

} // namespace

T3DView::T3DView(Tfrm3D* form) : QOpenGLWidget(form), form_(form) {
    setFormat(ViewFormat());
    // The framebuffer keeps what was drawn into it until the next frame: a
    // frame the window draws itself is shown, not cleared, by the paint.
    setUpdateBehavior(QOpenGLWidget::PartialUpdate);
    setFocusPolicy(Qt::NoFocus); // the window takes the keys
}

void T3DView::initializeGL() {
    // The only state set once; lighting, blending and culling stay off and
    // the shading smooth.
    glEnable(GL_DEPTH_TEST);
    ReleaseDisplayLists(); // a new context has none of the old lists
}

void T3DView::resizeGL(int, int) {
    FrameFresh = false; // a new framebuffer
}

void T3DView::paintGL() {
    if (FrameFresh) { // drawn by the window just now
        FrameFresh = false;
        return;
    }
    form_->DrawFrame();
}

void T3DView::mousePressEvent(QMouseEvent* e) {
    form_->FormMouseDown(e->position().toPoint().x(), e->position().toPoint().y());
}
void T3DView::mouseMoveEvent(QMouseEvent* e) {
    form_->FormMouseMove(e->position().toPoint().x(), e->position().toPoint().y());
}
void T3DView::mouseReleaseEvent(QMouseEvent*) {
    form_->FormMouseUp();
}

Tfrm3D::Tfrm3D() {
    setWindowTitle(QStringLiteral("3D"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setFocusPolicy(Qt::StrongFocus);
    if (PlatformShowsOpenGL()) {
        View = new T3DView(this);
    } else {
        View = nullptr;
        Blank = new QWidget(this);
        Blank->setAutoFillBackground(true);
        Blank->setPalette(QPalette(Qt::black));
    }
    Button1 = new QPushButton(QCoreApplication::translate("Tfrm3D", "Отмена"), this);
    Button1->hide();
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->hide();
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    Timer1 = new QTimer(this);
    Timer1->setInterval(50);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    resize(400, 400);
}

Tfrm3D::~Tfrm3D() = default;

void Tfrm3D::FormCreate(const QPoint& plotAreaOnScreen) {
    move(plotAreaOnScreen + QPoint(0, 48));
    resize(400, 400);
    ResetViewState();
    SeedRandomFromClock();
}

void Tfrm3D::FormPaint() {
    // Rendered at once, not queued: builders and view changes see their
    // picture drawn before they return; the paint that follows shows it.
    // A build run by the frame being drawn leaves the drawing to that frame.
    if (drawing_ || !isVisible() || View == nullptr || View->context() == nullptr ||
        !View->context()->isValid())
        return;
    View->makeCurrent();
    DrawFrame();
    View->doneCurrent();
    View->FrameFresh = true;
    View->update();
}

void Tfrm3D::DrawFrame() {
    glPolygonMode(GL_FRONT_AND_BACK, Wireframe ? GL_LINE : GL_FILL);
    const qreal ratio = View->devicePixelRatioF();
    const int w = static_cast<int>(std::lround(View->width() * ratio));
    const int h = static_cast<int>(std::lround(View->height() * ratio));
    // Points and lines keep their size on the screen at any pixel density.
    glPointSize(static_cast<float>(ratio));
    glLineWidth(static_cast<float>(ratio));
    const TSceneOptions options = SceneOptions ? SceneOptions() : TSceneOptions{};
    drawing_ = true;
    if (FollowTrajectory) {
        // The camera needs its path: built from the document when there is none.
        if (CurveCount <= 0 && BuildTrajectory) {
            BuildTrajectory();
            View->makeCurrent(); // the build may have used the context
        }
        DrawTrajectoryFrame(w, h, options);
    } else {
        DrawTurntableFrame(w, h, options);
    }
    drawing_ = false;
    ++FramesDrawn;
}

void Tfrm3D::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    const TKeyOutcome out =
        ViewKey(key, modifiers.testFlag(Qt::ShiftModifier), modifiers.testFlag(Qt::ControlModifier),
                modifiers.testFlag(Qt::KeypadModifier), FollowTrajectory, CurrentKeyView());
    KeyStep = out.Step;
    SetKeyView(out.View);
    switch (out.Action) {
    case TKeyAction::Hide:
        hide();
        break;
    case TKeyAction::Spin:
        for (float& speed : SpinSpeeds)
            speed = static_cast<float>((RandomReal() - 0.5) * 6);
        if (Timer1->isActive())
            Timer1->stop();
        else
            Timer1->start();
        break;
    case TKeyAction::StepForward:
        StepCamera(+1);
        break;
    case TKeyAction::StepBack:
        StepCamera(-1);
        break;
    case TKeyAction::Home:
        ResetOrientation();
        break;
    case TKeyAction::None:
        break;
    }
    FormPaint(); // after every key, handled or not
}

void Tfrm3D::FormMouseDown(int x, int y) {
    Dragging = true;
    LastMouseX = x;
    LastMouseY = y;
}

void Tfrm3D::FormMouseMove(int x, int y) {
    if (!Dragging) return;
    // Three pixels of mouse travel turn the frame by one degree.
    const int dx = x - LastMouseX;
    LastMouseX = x;
    RotateVector(TrackRight, TrackUp, -dx / 3.0);
    const int dy = y - LastMouseY;
    LastMouseY = y;
    RotateVector(TrackUp, TrackRight, -dy / 3.0);
    FormPaint();
}

void Tfrm3D::FormMouseUp() {
    Dragging = false;
}

void Tfrm3D::Timer1Timer() {
    if (FollowTrajectory) { // the flight: one point a tick
        FlyCamera();
        FormPaint();
        return;
    }
    for (int i = 0; i < 3; ++i) {
        SpinAngles[i] += SpinSpeeds[i];
        if (SpinAngles[i] >= 360) SpinAngles[i] -= 360;
        if (!(SpinAngles[i] > -360)) SpinAngles[i] += 360;
    }
    FormPaint();
}

void Tfrm3D::ProgressStart(double fraction) {
    Button1->show();
    ProgressBar1->show();
    PlaceProgressControls();
    ProgressBar1->setValue(static_cast<int>(std::lround(ProgressBar1->maximum() * fraction)));
    sinceEvents_.start();
}

void Tfrm3D::ProgressAdvance(double done, bool events) {
    const int value =
        static_cast<int>(std::floor(ProgressBar1->maximum() * std::clamp(done, 0.0, 1.0)));
    if (value != ProgressBar1->value()) ProgressBar1->setValue(value);
    if (!events && sinceEvents_.isValid() && sinceEvents_.elapsed() < 40) return;
    // Lets the window repaint, the bar move and "Отмена" be clicked.
    QApplication::processEvents();
    sinceEvents_.start();
}

void Tfrm3D::ProgressEnd() {
    ProgressBar1->setValue(ProgressBar1->maximum());
    Button1->hide();
    ProgressBar1->hide();
}

void Tfrm3D::Button1Click() {
    if (CancelScan) CancelScan();
}

void Tfrm3D::showEvent(QShowEvent* event) {
    // A window shown again keeps the frame it had when it was hidden: the
    // buffers may have been built anew since, so the frame is drawn again.
    if (View) {
        View->FrameFresh = false;
        View->update();
    }
    QWidget::showEvent(event);
}

void Tfrm3D::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        Button1->setText(QCoreApplication::translate("Tfrm3D", "Отмена"));
    QWidget::changeEvent(event);
}

void Tfrm3D::keyPressEvent(QKeyEvent* event) {
    FormKeyDown(event->key(), event->modifiers());
}

void Tfrm3D::resizeEvent(QResizeEvent*) {
    if (View)
        View->setGeometry(rect());
    else
        Blank->setGeometry(rect());
    PlaceProgressControls();
}

void Tfrm3D::PlaceProgressControls() {
    // Along the bottom edge, over the picture.
    Button1->setGeometry(8, height() - 33, 75, 25);
    ProgressBar1->setGeometry(91, height() - 29, std::max(width() - 99, 10), 17);
    Button1->raise();
    ProgressBar1->raise();
}
