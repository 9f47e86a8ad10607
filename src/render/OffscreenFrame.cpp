#include "render/OffscreenFrame.h"

#include "graphics/ZentGraphics.h"
#include "render/OpenGLContext.h"
#include "render/RenderSectorOGL.h"
#include "render/orbit/RenderOrbitOGL.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>

namespace kalvion {

void EnsureGLApplication() { EnsureGuiApplication(); }

TOffscreenGL::TOffscreenGL() = default;

TOffscreenGL::~TOffscreenGL()
{
    if (Context_ && Surface_)
        Context_->doneCurrent();
}

bool TOffscreenGL::Create()
{
    EnsureGLApplication();
    ErrorMessage.clear();
    const QSurfaceFormat format = SectorSurfaceFormat(0);
    Surface_ = std::make_unique<QOffscreenSurface>();
    Surface_->setFormat(format);
    Surface_->create();
    if (!Surface_->isValid()) {
        ErrorMessage = GL_ERROR_NO_PIXEL_FORMAT;
        return false;
    }
    Context_ = std::make_unique<QOpenGLContext>();
    Context_->setFormat(format);
    if (!Context_->create()) {
        ErrorMessage = GL_ERROR_CREATE_CONTEXT;
        return false;
    }
    TOpenGLContext check(Context_.get(), Surface_.get());
    if (!check.Check() || !check.MakeCurrent()) {
        ErrorMessage = check.ErrorMessage;
        return false;
    }
    return true;
}

bool TOffscreenGL::MakeCurrent()
{
    if (!Context_ || !Surface_ || !Context_->makeCurrent(Surface_.get())) {
        ErrorMessage = GL_ERROR_ACTIVATE_CONTEXT;
        return false;
    }
    return true;
}

QImage TOffscreenGL::RenderSector(TRenderSectorOGL &renderer, TVexaSector &sector, int width, int height,
                                  int samples)
{
    TOpenGLContext context(Context_.get(), Surface_.get());
    return RenderFrame([&](int w, int h) { renderer.Render(sector, nullptr, &context, h, w); }, width, height,
                       samples);
}

QImage TOffscreenGL::RenderOrbit(TRenderOrbitOGL &renderer, int width, int height, int samples)
{
    return RenderFrame([&](int w, int h) { renderer.Render(w, h); }, width, height, samples);
}

QImage TOffscreenGL::RenderFrame(const std::function<void(int, int)> &draw, int width, int height, int samples)
{
    if (!MakeCurrent())
        return {};
    QOpenGLFramebufferObjectFormat fboFormat;
    fboFormat.setAttachment(QOpenGLFramebufferObject::Depth);
    // The views write alpha 0 for many colours; a frame has no transparency,
    // so the target keeps none.
    fboFormat.setInternalTextureFormat(0x8051 /* GL_RGB8 */);
    // Fewer samples, then none, when the GL refuses the count asked for.
    std::unique_ptr<QOpenGLFramebufferObject> fbo;
    for (int s = samples; s >= 0; s = s > 0 ? s / 2 : -1) {
        fboFormat.setSamples(s);
        fbo = std::make_unique<QOpenGLFramebufferObject>(width, height, fboFormat);
        if (fbo->isValid())
            break;
        fbo.reset();
        if (s == 0)
            break;
    }
    if (!fbo) {
        ErrorMessage = samples > 0 ? GL_ERROR_SET_PIXEL_FORMAT_ARB : GL_ERROR_SET_PIXEL_FORMAT;
        return {};
    }
    fbo->bind();
    try {
        draw(width, height);
    } catch (...) {
        // An incomplete frame is still a frame.
    }
    Context_->functions()->glFlush();
    fbo->release();
    QImage image = fbo->toImage();  // rows turned the right way up
    // Any alpha that came back is meaningless: read the colours as they are.
    if (image.format() == QImage::Format_ARGB32_Premultiplied)
        image.reinterpretAsFormat(QImage::Format_ARGB32);
    else if (image.format() == QImage::Format_RGBA8888_Premultiplied)
        image.reinterpretAsFormat(QImage::Format_RGBA8888);
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace kalvion
