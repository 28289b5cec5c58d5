// The 3D window "3D": an always-on-top window that draws the 3D buffers with
// OpenGL, turns the picture with the mouse, moves and spins it with keys,
// and shows the progress of long builds with a button to cancel them.
#pragma once

#include "view3d/Scene.h"

#include <QElapsedTimer>
#include <QOpenGLWidget>
#include <QWidget>

#include <functional>

class QProgressBar;
class QPushButton;
class QTimer;
class Tfrm3D;

// The drawing surface of the window: the whole client area.
class T3DView : public QOpenGLWidget {
  public:
    explicit T3DView(Tfrm3D* form);

    // The frame in the view's framebuffer was drawn by the window itself and
    // no paint has shown it yet: the paint need not draw it again.
    bool FrameFresh = false;

  protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    Tfrm3D* form_;
};

class Tfrm3D : public QWidget {
  public:
    Tfrm3D();
    ~Tfrm3D() override;

    // Places the window over the main window's plot area, whose top-left
    // corner on the screen is `plotArea`; sets the view state to its start.
    void FormCreate(const QPoint& plotAreaOnScreen);

    // Draws one frame now, into the view's framebuffer, and has it shown
    // (nothing while the window is not shown).
    void FormPaint();

    // The view's handlers; keys are Qt's, with the keypad flag for + and -.
    void FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void FormMouseDown(int x, int y);
    void FormMouseMove(int x, int y);
    void FormMouseUp();
    void Timer1Timer();

    // The progress of a long build, and its cancel button: the bar shows the
    // share done (0 ... 1); pending events run when `events` asks for them,
    // and in any case whenever 40 ms have passed since they last ran, so
    // that the bar moves and "Отмена" answers during a slow plane too.
    void ProgressStart(double fraction);
    void ProgressAdvance(double done, bool events);
    void ProgressEnd(); // the bar full, then hidden with the button
    void Button1Click();

    // The frame, in the current context: called by the view when it paints.
    void DrawFrame();

    // What the main window says about the scene (mode, axes, trajectory).
    std::function<TSceneOptions()> SceneOptions;
    // Builds the space curve when the camera needs a path and none exists.
    std::function<void()> BuildTrajectory;
    // "Отмена" under the progress bar: asks the scan that runs to stop.
    std::function<void()> CancelScan;

    T3DView* View;            // null where the platform cannot show OpenGL
    QWidget* Blank = nullptr; // the black client area there
    QPushButton* Button1;
    QProgressBar* ProgressBar1;
    QTimer* Timer1;
    int FramesDrawn = 0; // frames drawn so far

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override; // a new language relabels "Отмена"
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void PlaceProgressControls();
    bool drawing_ = false;      // a frame is being drawn
    QElapsedTimer sinceEvents_; // since pending events last ran during a build
};
