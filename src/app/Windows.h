// The windows of the program, created at start-up in their order: the main
// window first (its creation lays out the y(x) mode and draws the first
// picture), then the others, hidden.
#pragma once

#include "app/TForm1.h"
#include "view3d/Tfrm3D.h"

#include <memory>

struct TApplicationWindows {
    TApplicationWindows();
    ~TApplicationWindows();
    std::unique_ptr<TForm1> Form1;
    std::unique_ptr<Tfrm3D> Frm3D;
};
