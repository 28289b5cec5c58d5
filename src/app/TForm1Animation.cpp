// The animation over f: its dialog, its start and stop, one frame per tick
// of the main window's timer; and the camera that rides on the space curve.
#include "app/TForm1.h"

#include "animation/FrameAnimation.h"
#include "app/Dialogs.h"
#include "app/ErrorReport.h"
#include "app/TForm2.h"
#include "document/Settings.h"
#include "engine/Engine.h"
#include "view3d/FlyingCamera.h"
#include "view3d/Tfrm3D.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPaintEvent>
#include <QTimer>

void TForm1::N2Click() {
    if (Form2 == nullptr) return;
    Form2->ShowFrameSettings();
    CentreOnScreen(Form2);
    Dialogs().RunModal(Form2);
}

void TForm1::N10Click() {
    if (Form2 == nullptr) return;
    // With whatever the dialog's fields hold; it need not be shown.
    if (Model.AnimationRunning)
        Form2->Button2Click();
    else
        Form2->Button1Click();
}

void TForm1::StartAnimation() {
    N4->setEnabled(false); // no saving until the animation is cancelled
    FrameCounter = FirstFrame;
    Model.AnimationRunning = true;
    // An interval of 0 or less gives no ticks: the animation counts as
    // running (Ctrl+A stops it) but draws no frame, instead of a timer
    // firing as fast as it can.
    if (FrameInterval > 0) {
        Timer1->setInterval(FrameInterval);
        Timer1->start();
    }
    UpdateUndoItems(); // no undo while it runs
}

void TForm1::StopAnimation() {
    Timer1->stop();
    Model.AnimationRunning = false;
    N4->setEnabled(true); // however it ended, the work can be saved again
    ShowX0Result(QString());
    UpdateUndoItems();
}

void TForm1::Timer1Timer() {
    if (!Model.AnimationRunning || Busy()) return;
    ShowX0Result(QString::fromStdString(FrameCaption(FrameCounter)));
    VarF = FrameCounter;
    // The frame of the current mode; the 3D builds keep their colours.
    const bool drawn = RunCommand([this] {
        const int mode = CurrentPlotMode();
        if (mode == pmYx || mode == pmPlane) {
            BuildPicture();
            Model.PictureFresh = true;
            PaintBox1->update();
        } else if (mode != pmImplicit) { // the implicit surface is not animated
            BuildModeFromFields();
        }
    });
    if (!drawn) {
        // A frame that fails would fail at every tick: the animation ends
        // with the one message.
        StopAnimation();
        return;
    }
    const bool loop = Model.State.Animation.Loop;
    if (AdvanceFrameCounter(loop) == TFrameAdvance::Finished) StopAnimation();
}

void TForm1::CheckBox2Click() {
    FollowTrajectory = Model.State.Animation.CameraPath; // from the next repaint on
    Model.TrajectoryFailed = false;
}

void TForm1::BuildTrajectoryForCamera() {
    if (Model.TrajectoryFailed) return;
    try {
        BuildCurve3D();
    } catch (const std::exception& e) {
        // Told once, and not from within the 3D window's paint.
        Model.TrajectoryFailed = true;
        const std::string message = e.what();
        QTimer::singleShot(0, this, [message] { ReportFailure(message); });
    }
}
