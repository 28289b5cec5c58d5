// A 3D window on the screen, with the scene options in the test's hands and
// its frames read back from OpenGL.
#pragma once

#include "document/PlotDocument.h"
#include "engine/Engine.h"
#include "geometry3d/Buffers.h"
#include "geometry3d/Builders.h"
#include "view3d/Scene.h"
#include "view3d/Tfrm3D.h"
#include "view3d/ViewState.h"

#include <QOpenGLContext>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

class Window3D : public ::testing::Test {
  protected:
    void SetUp() override {
        SurfaceRows = SurfaceCols = CurveCount = LevelPointCount = 0;
        SurfaceGrid.clear();
        CurvePoints.clear();
        LevelPoints.clear();
        ++SurfaceGeneration, ++CurveGeneration, ++LevelGeneration;
        SeedRandom(17);
        RandomiseColourCoeffs(); // colours that are not black
        form = std::make_unique<Tfrm3D>();
        form->FormCreate(QPoint(50, 50));
        form->SceneOptions = [this] { return options; };
        if (form->View == nullptr) GTEST_SKIP() << "no OpenGL on this platform";
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        form->View->grabFramebuffer(); // the first frame makes the context
        if (form->View->context() == nullptr || !form->View->context()->isValid())
            GTEST_SKIP() << "no OpenGL context here";
    }
    void TearDown() override { form.reset(); }

    // The frame as OpenGL draws it now.
    QImage Frame() { return form->View->grabFramebuffer().convertToFormat(QImage::Format_RGB32); }

    // Pixels of `image` inside `area` (the whole image if empty) for which
    // `test` holds of their red, green and blue.
    static int Count(const QImage& image, const std::function<bool(int, int, int)>& test,
                     QRect area = {}) {
        if (area.isEmpty()) area = image.rect();
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) {
                const QRgb p = image.pixel(x, y);
                n += test(qRed(p), qGreen(p), qBlue(p));
            }
        return n;
    }
    static bool Red(int r, int g, int b) { return r > 150 && g < 60 && b < 60; }
    static bool Green(int r, int g, int b) { return g > 150 && r < 60 && b < 60; }
    static bool Blue(int r, int g, int b) { return b > 150 && r < 60 && g < 60; }
    static bool Black(int r, int g, int b) { return r == 0 && g == 0 && b == 0; }
    static bool Lit(int r, int g, int b) { return r + g + b > 0; }

    TSceneOptions options;
    std::unique_ptr<Tfrm3D> form;
};
