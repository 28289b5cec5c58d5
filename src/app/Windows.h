// The windows of the program, created at start-up in their order: the main
// window first (its creation lays out the y(x) mode and draws the first
// picture), then the others, hidden.
#pragma once

#include "app/TForm1.h"
#include "app/TForm2.h"
#include "app/TForm3.h"
#include "app/TForm4.h"
#include "app/TFormFind.h"
#include "view3d/Tfrm3D.h"

#include <QCoreApplication>
#include <QStringList>

#include <functional>
#include <memory>

struct TApplicationWindows {
    TApplicationWindows();
    ~TApplicationWindows();
    // When the main window closes, the others go with it and the program
    // ends: none of them keeps it running.
    void MainWindowClosed();
    std::function<void()> QuitApplication = [] { QCoreApplication::quit(); };
    std::unique_ptr<TForm1> Form1;
    std::unique_ptr<TForm2> Form2;
    std::unique_ptr<TForm3> Form3;
    std::unique_ptr<TForm4> Form4;
    std::unique_ptr<TFormFind> FormFind;
    std::unique_ptr<Tfrm3D> Frm3D;
};

// The windows, with the plot file `files` names (the first) opened as F3
// opens it: a file that does not open gives F3's message, and the start
// stays. The application's names are set before; returns the exit status.
int RunWindows(int argc, char** argv, const QStringList& files);
