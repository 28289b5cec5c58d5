// A fresh main window per test, with failures recorded instead of shown.
#pragma once

#include "animation/FrameAnimation.h"
#include "app/Dialogs.h"
#include "app/ErrorReport.h"
#include "app/TForm1.h"
#include "app/Windows.h"
#include "document/PlotDocument.h"
#include "document/Settings.h"
#include "engine/Engine.h"
#include "geometry3d/Buffers.h"
#include "plot2d/View2D.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

// Every question answered at once, as a test that asks none wants: no file
// chosen, Cancel to overwriting, changes not saved; messages and pages
// recorded instead of shown.
struct TAnswers {
    int AskedToSave = 0;
    std::vector<std::string> Informed;
    std::vector<QUrl> Opened;
};
inline TAnswers& AnswerDialogs() {
    static TAnswers answers;
    answers = {};
    Dialogs().RunModal = [](QDialog* d) { d->show(); };
    Dialogs().SaveFileName =
        Dialogs().OpenFileName = [](QWidget*, const QString&) { return QString(); };
    Dialogs().Confirm = [](QWidget*, const QString&, const QString&) { return false; };
    Dialogs().AskSave = [](QWidget*, const QString&) {
        ++answers.AskedToSave;
        return TSaveAnswer::Discard;
    };
    Dialogs().PickColour = [](QWidget*, TColorValue) { return std::optional<TColorValue>(); };
    Dialogs().Inform = [](QWidget*, const QString& caption, const QString& text) {
        answers.Informed.push_back((caption + " | " + text).toStdString());
    };
    Dialogs().OpenUrl = [](const QUrl& url) {
        answers.Opened.push_back(url);
        return true;
    };
    return answers;
}

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        AnswerDialogs();
        Open(QLocale(QLocale::C));
    }
    void TearDown() override {
        form.reset();
        SetFailureSink({});
        RestoreDialogs();
        QLocale::setDefault(QLocale(QLocale::C));
    }
    void Open(const QLocale& locale) {
        form.reset();
        failures.clear();
        SetFailureSink([this](const std::string& m) { failures.push_back(m); });
        QLocale::setDefault(locale);
        form = std::make_unique<TForm1>();
    }
    static std::string Text(const QLineEdit* e) { return e->text().toStdString(); }
    static std::string Text(const QLabel* l) { return l->text().toStdString(); }
    // The field text with '.' written as the window's separator.
    static std::string Local(std::string s) {
        for (char& c : s)
            if (c == '.') c = DecimalSeparatorChar;
        return s;
    }
    // Every control of the window by its name.
    std::map<std::string, QWidget*> Controls() const {
        std::map<std::string, QWidget*> m;
        for (int k = 1; k <= 26; ++k) {
            m["Label" + std::to_string(k)] = form->LabelN(k);
            m["Edit" + std::to_string(k)] = form->EditN(k);
        }
        QPushButton* buttons[] = {form->Button1, form->Button2,  form->Button3, form->Button4,
                                  form->Button5, form->Button6,  form->Button7, form->Button8,
                                  form->Button9, form->Button10, form->Button11};
        for (int k = 1; k <= 11; ++k)
            m["Button" + std::to_string(k)] = buttons[k - 1];
        QCheckBox* checks[] = {form->CheckBox1, form->CheckBox2, form->CheckBox3,
                               form->CheckBox4, form->CheckBox5, form->CheckBox6,
                               form->CheckBox7, form->CheckBox8, form->CheckBox9};
        for (int k = 1; k <= 9; ++k)
            m["CheckBox" + std::to_string(k)] = checks[k - 1];
        m["Equally"] = form->Equally;
        m["ComboBox1"] = form->ComboBox1;
        m["RadioButton1"] = form->RadioButton1;
        m["RadioButton2"] = form->RadioButton2;
        m["PaintBox1"] = form->PaintBox1;
        return m;
    }
    std::set<std::string> Shown() const {
        std::set<std::string> shown;
        for (const auto& [name, w] : Controls())
            if (!w->isHidden()) shown.insert(name);
        return shown;
    }
    std::set<std::string> CheckedModeItems() const {
        std::set<std::string> checked;
        const std::pair<const char*, QAction*> items[] = {
            {"N2Dyx", form->N2Dyx},      {"N3Dzxy", form->N3Dzxy},
            {"N3DFxyz", form->N3DFxyz},  {"N9", form->N9},
            {"N2Dxyt", form->N2Dxyt},    {"N3Dxyzt", form->N3Dxyzt},
            {"N3Dxyzuv", form->N3Dxyzuv}};
        for (const auto& [name, a] : items)
            if (a->isChecked()) checked.insert(name);
        return checked;
    }
    void Type(QLineEdit* e, const char* text) { SetEditText(e, QString::fromUtf8(text)); }
    void Enter(QLineEdit* e, const char* text) {
        Type(e, text);
        RunCommand([&] { form->EvalNumberField(e, KeyEnter); });
    }
    int CountPixels(QRgb colour) const {
        const QImage& image = form->PaintBox1->Picture;
        int n = 0;
        for (int y = 1; y < image.height() - 1; ++y)
            for (int x = 1; x < image.width() - 1; ++x)
                n += (image.pixel(x, y) | 0xFF000000) == colour;
        return n;
    }

    std::unique_ptr<TForm1> form;
    std::vector<std::string> failures;
};

inline std::set<std::string> Names(std::initializer_list<const char*> names,
                                   const char* prefix = nullptr, int from = 0, int to = -1) {
    std::set<std::string> s(names.begin(), names.end());
    for (int k = from; prefix && k <= to; ++k)
        s.insert(prefix + std::to_string(k));
    return s;
}

// All the windows of the program, made as at start-up. No dialog ever
// waits: a modal one is only shown, the others answer "cancel".
class AllWindowsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        answers = &AnswerDialogs();
        SetFailureSink([this](const std::string& m) { failures.push_back(m); });
        QLocale::setDefault(QLocale(QLocale::C));
        windows = std::make_unique<TApplicationWindows>();
        windows->QuitApplication = [this] { ++quits; }; // the tests go on
        form = windows->Form1.get();
    }
    void TearDown() override {
        windows.reset();
        SetFailureSink({});
        RestoreDialogs();
    }
    void Type(QLineEdit* e, const char* text) { SetEditText(e, QString::fromUtf8(text)); }
    static std::string Text(const QLineEdit* e) { return e->text().toStdString(); }
    std::vector<double> Coefficients() const {
        return std::vector<double>(ColourCoeffs, ColourCoeffs + ColourCoeffCount);
    }

    std::unique_ptr<TApplicationWindows> windows;
    TForm1* form = nullptr;
    std::vector<std::string> failures;
    int quits = 0; // the times the program was asked to end
    TAnswers* answers = nullptr;
};
