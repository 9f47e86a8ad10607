#include "render/OffscreenFrame.h"

#include "graphics/ZentGraphics.h"
#include "render/OpenGLContext.h"
#include "render/RenderSectorOGL.h"
#include "render/orbit/RenderOrbitOGL.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>
#include <QtEndian>

#include <utility>

namespace kalvion {

namespace {

// GL names, spelled out so no GL header beyond Qt's is needed here.
constexpr GLenum GL_RGB8_FORMAT = 0x8051;
constexpr GLenum GL_BGRA_FORMAT = 0x80E1;
constexpr GLenum GL_TEXTURE_2D_TARGET = 0x0DE1;
constexpr GLbitfield GL_COLOR_BUFFER_BIT_MASK = 0x00004000;
constexpr GLenum GL_NEAREST_FILTER = 0x2600;
constexpr GLenum GL_PACK_ALIGNMENT_NAME = 0x0D05;

} // namespace

void EnsureGLApplication() { EnsureGuiApplication(); }

TOffscreenGL::TOffscreenGL() = default;

TOffscreenGL::~TOffscreenGL()
{
    // Framebuffers belong to the context: they go while it is current.
    if (Fbo_ && MakeCurrent())
        ReleaseFramebuffers();
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

bool TOffscreenGL::PrepareFramebuffers(int width, int height, int samples)
{
    if (Fbo_ && FboWidth_ == width && FboHeight_ == height && FboSamplesAsked_ == samples)
        return true;
    ReleaseFramebuffers();
    QOpenGLFramebufferObjectFormat fboFormat;
    fboFormat.setAttachment(QOpenGLFramebufferObject::Depth);
    // The views write alpha 0 for many colours; a frame has no transparency,
    // so the target keeps none.
    fboFormat.setInternalTextureFormat(GL_RGB8_FORMAT);
    // Fewer samples, then none, when the GL refuses the count asked for.
    for (int s = samples; s >= 0; s = s > 0 ? s / 2 : -1) {
        fboFormat.setSamples(s);
        Fbo_ = std::make_unique<QOpenGLFramebufferObject>(width, height, fboFormat);
        if (Fbo_->isValid())
            break;
        Fbo_.reset();
        if (s == 0)
            break;
    }
    if (!Fbo_) {
        ErrorMessage = samples > 0 ? GL_ERROR_SET_PIXEL_FORMAT_ARB : GL_ERROR_SET_PIXEL_FORMAT;
        return false;
    }
    if (Fbo_->format().samples() > 0) {
        // A resolve target of the same colour format: blits out of a
        // multisampled buffer need identical formats.
        Resolve_ = std::make_unique<QOpenGLFramebufferObject>(width, height, QOpenGLFramebufferObject::NoAttachment,
                                                              GL_TEXTURE_2D_TARGET, GL_RGB8_FORMAT);
        if (!Resolve_->isValid() || !QOpenGLFramebufferObject::hasOpenGLFramebufferBlit()) {
            ReleaseFramebuffers();
            ErrorMessage = GL_ERROR_SET_PIXEL_FORMAT_ARB;
            return false;
        }
    }
    FboWidth_ = width;
    FboHeight_ = height;
    FboSamplesAsked_ = samples;
    ++FramebuffersMade_;
    return true;
}

void TOffscreenGL::ReleaseFramebuffers()
{
    Resolve_.reset();
    Fbo_.reset();
    FboWidth_ = FboHeight_ = 0;
    FboSamplesAsked_ = -1;
}

QImage TOffscreenGL::ReadFrame(int width, int height)
{
    QOpenGLFramebufferObject *source = Fbo_.get();
    if (Resolve_) {
        const QRect all(0, 0, width, height);
        QOpenGLFramebufferObject::blitFramebuffer(Resolve_.get(), all, Fbo_.get(), all, GL_COLOR_BUFFER_BIT_MASK,
                                                  GL_NEAREST_FILTER);
        source = Resolve_.get();
    }
    // Read straight into the frame: blue, green, red and alpha bytes are
    // the memory order of a 32-bit RGB image on a little-endian machine, and
    // a target without alpha reads back opaque.  GL's first row is the
    // bottom line, so the rows are turned over in place afterwards.
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    source->bind();
    QOpenGLFunctions *f = Context_->functions();
    f->glPixelStorei(GL_PACK_ALIGNMENT_NAME, 4);
    f->glReadPixels(0, 0, width, height, GL_BGRA_FORMAT, GL_UNSIGNED_BYTE, image.bits());
    source->release();
    if constexpr (QSysInfo::ByteOrder == QSysInfo::BigEndian) {
        // Bytes came as B, G, R, A; the image wants 0xAARRGGBB words.
        for (int y = 0; y < height; ++y) {
            auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
            for (int x = 0; x < width; ++x)
                line[x] = qFromLittleEndian(line[x]);
        }
    }
    return std::move(image).mirrored(false, true);
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
    if (width <= 0 || height <= 0) {
        ErrorMessage = GL_ERROR_SET_PIXEL_FORMAT;
        return {};
    }
    if (!PrepareFramebuffers(width, height, samples))
        return {};
    Fbo_->bind();
    try {
        draw(width, height);
    } catch (...) {
        // An incomplete frame is still a frame.
    }
    Fbo_->release();
    return ReadFrame(width, height);
}

} // namespace kalvion
