#include "app/Windows.h"

#include "document/ModeTable.h"

TApplicationWindows::TApplicationWindows() {
    Form1 = std::make_unique<TForm1>();
    Frm3D = std::make_unique<Tfrm3D>();
    // Over the plot area of the main window.
    Frm3D->FormCreate(Form1->frameGeometry().topLeft() + QPoint(24, 97));
    Frm3D->SceneOptions = [form = Form1.get()] { return form->SceneOptions(); };
    Form1->Frm3D = Frm3D.get();
}

TApplicationWindows::~TApplicationWindows() {
    // The main window first: its closing may still ask the 3D window to draw.
    if (Form1) Form1->Frm3D = nullptr;
    Form1.reset();
    Frm3D.reset();
}
