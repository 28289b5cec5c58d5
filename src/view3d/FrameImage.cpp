#include "view3d/FrameImage.h"

#include "view3d/FlyingCamera.h"
#include "view3d/ViewState.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QSurfaceFormat>

#include "document/Limits.h"
#include "texts/Texts.h"

#include <GL/gl.h>

#include <memory>
#include <stdexcept>

namespace {

[[noreturn]] void NoOpenGL() {
    throw std::runtime_error(texts::Translate(
        "FrameImage",
        "Рисунок 3D рисует OpenGL, а его здесь нет: нужен экран X (например, xvfb-run) или EGL."));
}

} // namespace

QImage RenderFrame(int w, int h, TSceneOptions options) {
    QOpenGLContext* const previous = QOpenGLContext::currentContext();
    QSurface* const previousSurface = previous ? previous->surface() : nullptr;
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile); // OpenGL 1.1 calls
    QOffscreenSurface surface;
    surface.setFormat(format);
    surface.create();
    QOpenGLContext context;
    context.setFormat(format);
    if (!surface.isValid() || !context.create() || !context.makeCurrent(&surface)) NoOpenGL();
    QImage image;
    {
        QOpenGLFramebufferObjectFormat fbo;
        fbo.setAttachment(QOpenGLFramebufferObject::CombinedDepthStencil);
        QOpenGLFramebufferObject target(w, h, fbo);
        if (!target.isValid() || !target.bind()) {
            // OpenGL is here, but gives no frame of this size.
            context.doneCurrent();
            if (previous && previousSurface) previous->makeCurrent(previousSurface);
            throw std::runtime_error(NoPictureMemoryMessage(w, h));
        }
        glEnable(GL_DEPTH_TEST); // as the window's view sets it up
        glPointSize(1);
        glLineWidth(1);
        glPolygonMode(GL_FRONT_AND_BACK, Wireframe ? GL_LINE : GL_FILL);
        // The window's display lists live in its own context.
        options.DisplayLists = false;
        // The clear colour takes effect from the frame after the one that sets it.
        for (int pass = 0; pass < 2; ++pass) {
            if (FollowTrajectory)
                DrawTrajectoryFrame(w, h, options);
            else
                DrawTurntableFrame(w, h, options);
        }
        glFinish();
        image = target.toImage().convertToFormat(QImage::Format_RGB32);
        target.release();
    }
    context.doneCurrent();
    if (previous && previousSurface) previous->makeCurrent(previousSurface);
    if (image.isNull()) throw std::runtime_error(NoPictureMemoryMessage(w, h));
    return image;
}
