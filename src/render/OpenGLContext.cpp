#include "render/OpenGLContext.h"

#include <QOpenGLContext>
#include <QSurface>
#include <QSurfaceFormat>

namespace kalvion {

QSurfaceFormat SectorSurfaceFormat(int samples)
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setVersion(2, 1);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    // No destination alpha: the views write alpha 0 with many colours and a
    // window must not show them as transparent.
    format.setAlphaBufferSize(0);
    format.setDepthBufferSize(24);
    format.setStencilBufferSize(0);
    format.setSamples(samples > 0 ? samples : -1);
    return format;
}

void TOpenGLContext::Attach(QOpenGLContext *context, QSurface *surface)
{
    Context_ = context;
    Surface_ = surface;
    ErrorMessage.clear();
}

bool TOpenGLContext::Check()
{
    ErrorMessage.clear();
    if (!Surface_) {
        ErrorMessage = GL_ERROR_NO_PIXEL_FORMAT;
    } else if (!Context_ || !Context_->isValid()) {
        ErrorMessage = GL_ERROR_CREATE_CONTEXT;
    } else if (Context_->isOpenGLES() || Context_->format().profile() == QSurfaceFormat::CoreProfile) {
        // A core or ES context has no fixed-function pipeline to draw with.
        ErrorMessage = GL_ERROR_SET_PIXEL_FORMAT;
    }
    return ErrorMessage.empty();
}

bool TOpenGLContext::MakeCurrent()
{
    if (!Context_ || !Surface_ || !Context_->makeCurrent(Surface_)) {
        ErrorMessage = GL_ERROR_ACTIVATE_CONTEXT;
        return false;
    }
    return true;
}

void TOpenGLContext::SwapBuffers()
{
    if (Context_ && Surface_)
        Context_->swapBuffers(Surface_);
}

} // namespace kalvion
