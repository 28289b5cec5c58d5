// The 3D picture as an image of any size: drawn by OpenGL into a
// framebuffer object of a context of its own, not read from the screen, so
// that it may be larger than the screen and needs no window shown.
#pragma once

#include "view3d/Scene.h"

#include <QImage>

// The frame of the current buffers and view state, w x h pixels, as the 3D
// window draws it (the turntable, or the camera on its path). Throws
// std::runtime_error with a message when OpenGL cannot draw here.
QImage RenderFrame(int w, int h, TSceneOptions options);
