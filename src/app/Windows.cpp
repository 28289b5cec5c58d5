#include "app/Windows.h"

#include "app/ErrorReport.h"
#include "app/Translation.h"
#include "document/PlotDocument.h"
#include "engine/Engine.h"
#include "model/WindowGeometry.h"

#include <QApplication>
#include <QCheckBox>
#include <QIcon>

TApplicationWindows::TApplicationWindows() {
    Form1 = std::make_unique<TForm1>();
    Form2 = std::make_unique<TForm2>();
    Form3 = std::make_unique<TForm3>();
    Form4 = std::make_unique<TForm4>();
    FormFind = std::make_unique<TFormFind>();
    Frm3D = std::make_unique<Tfrm3D>();
    // Over the plot area of the main window.
    Frm3D->FormCreate(Form1->frameGeometry().topLeft() + QPoint(24, 97));
    Frm3D->SceneOptions = [form = Form1.get()] { return form->SceneOptions(); };
    Frm3D->BuildTrajectory = [form = Form1.get()] { form->BuildTrajectoryForCamera(); };
    Frm3D->CancelScan = [form = Form1.get()] {
        if (form->CancelScan) form->CancelScan();
    };
    Form1->Frm3D = Frm3D.get();
    Form1->Form2 = Form2.get();
    Form1->Form3 = Form3.get();
    Form1->Form4 = Form4.get();
    Form1->FormFind = FormFind.get();
    FormFind->Analysis = Form1->Analysis;
    TForm1* const form = Form1.get();
    Form2->FramesEdited = [form, loop = Form2->CheckBox2] {
        form->Model.State.Animation.Loop = loop->isChecked();
        const TStep step(form, QT_TRANSLATE_NOOP("TForm1", "настройка анимации"));
        form->DocumentMaybeChanged();
    };
    Form2->StartFrames = [form] {
        form->CompileFormulaList(); // a 2D plot has its trees for every frame
        form->StartAnimation();
    };
    Form2->StopFrames = [form] { form->StopAnimation(); };
    Form2->ShowStill = [form] {
        form->Button2Click();
        form->ShowX0Result(QString());
    };
    Form2->Frm3D = Frm3D.get();
    Form3->Rebuild = [form = Form1.get()] { form->Button2Click(); };
    Form1->Closed = [this] { MainWindowClosed(); };
    for (QWidget* w : std::initializer_list<QWidget*>{Form2.get(), Form3.get(), Form4.get(),
                                                      FormFind.get(), Frm3D.get()})
        w->setAttribute(Qt::WA_QuitOnClose, false);
}

void TApplicationWindows::MainWindowClosed() {
    for (QWidget* w : std::initializer_list<QWidget*>{Form2.get(), Form3.get(), Form4.get(),
                                                      FormFind.get(), Frm3D.get()})
        w->hide();
    if (QuitApplication) QuitApplication();
}

TApplicationWindows::~TApplicationWindows() {
    // The main window first: its closing may still ask the 3D window to draw.
    if (Form1) Form1->Frm3D = nullptr, Form1->Form2 = nullptr, Form1->FormFind = nullptr;
    Form1.reset();
    Form2.reset();
    Form3.reset();
    Form4.reset();
    FormFind.reset();
    Frm3D.reset();
}

// The windows, with the plot file the command line names opened as F3
// opens it: a file that does not open gives F3's message, and the start
// stays.
int RunWindows(int argc, char** argv, const QStringList& files) {
    InitMemoryReuse();
    InitFloatingPoint();
    QApplication app(argc, argv);
    InitFloatingPoint(); // the platform's start-up may have touched the control word
    // The installed desktop entry and icon; from the build tree, the icon
    // built into the program.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.grafiki.Plotter"));
    QIcon own;
    for (const int size : {16, 32, 48, 64, 128, 256})
        own.addFile(QStringLiteral(":/icons/%1.png").arg(size));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("io.github.grafiki.Plotter"), own));
    ApplyLanguage(SavedLanguage());
    TApplicationWindows windows;
    TForm1* const form = windows.Form1.get();
    form->restoreGeometry(SavedWindowGeometry()); // the size the user left it at
    form->show();
    form->StartRecovery();
    // Work a program that did not end left unsaved comes first; a file named
    // then replaces it only after the question before work is set aside.
    const bool restored = form->OfferRecovery();
    if (!files.isEmpty() && (!restored || form->MaySetDocumentAside()))
        RunCommand([&] { form->OpenPlotFile(files.first().toStdString()); });
    return QApplication::exec();
}
