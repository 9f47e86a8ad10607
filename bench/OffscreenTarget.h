#pragma once
// The offscreen context and framebuffer a GL benchmark draws into.  Both
// live until the process ends: Qt's GL objects must not be destroyed after
// the application during exit.
#include "render/OffscreenFrame.h"

#include <QOpenGLFramebufferObject>

#include <stdexcept>

namespace kalvion::bench {

inline TOffscreenGL &GL()
{
    static TOffscreenGL *gl = new TOffscreenGL;
    static bool made = gl->Create();
    if (!made)
        throw std::runtime_error(gl->ErrorMessage);
    gl->MakeCurrent();
    return *gl;
}

// The framebuffer of the given size, bound; one for the whole run.
inline QOpenGLFramebufferObject &Target(int width, int height)
{
    GL();
    static auto *fbo = new QOpenGLFramebufferObject(width, height, QOpenGLFramebufferObject::Depth);
    fbo->bind();
    return *fbo;
}

} // namespace kalvion::bench
