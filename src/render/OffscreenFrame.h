#pragma once
// Frames of the 3D sector view without a window: an offscreen surface, a
// compatibility-profile context and a framebuffer object.  The command line,
// image export and tests use it; the frame is the one the window shows.
#include <QImage>

#include <functional>
#include <memory>
#include <string>

class QOffscreenSurface;
class QOpenGLContext;
class QOpenGLFramebufferObject;

namespace kalvion {

class TRenderOrbitOGL;
class TRenderSectorOGL;
class TVexaSector;

class TOffscreenGL {
public:
    TOffscreenGL();
    ~TOffscreenGL();
    TOffscreenGL(const TOffscreenGL &) = delete;
    TOffscreenGL &operator=(const TOffscreenGL &) = delete;

    // Creates the surface and the context and makes it current.  False with
    // ErrorMessage when the platform offers no GL with a fixed-function
    // pipeline (for example Qt's offscreen platform without a display).
    bool Create();
    bool MakeCurrent();
    QOpenGLContext *Context() const { return Context_.get(); }
    QOffscreenSurface *Surface() const { return Surface_.get(); }

    // Renders one frame of width × height into a framebuffer object (with
    // `samples` multisampling when the GL offers it) and returns it the
    // right way up; a null image with ErrorMessage on failure.  The
    // framebuffers stay for the next frame of the same size and samples:
    // animations and videos draw hundreds of frames in a row.
    QImage RenderSector(TRenderSectorOGL &renderer, TVexaSector &sector, int width, int height, int samples);
    // The same for the 3D system view.
    QImage RenderOrbit(TRenderOrbitOGL &renderer, int width, int height, int samples);
    // Any frame: `draw` gets the width and height with the framebuffer bound.
    QImage RenderFrame(const std::function<void(int, int)> &draw, int width, int height, int samples);
    // How many times framebuffers were made (a frame of a new size or
    // sample count makes them again).
    int FramebuffersMade() const { return FramebuffersMade_; }

    std::string ErrorMessage;

private:
    bool PrepareFramebuffers(int width, int height, int samples);
    QImage ReadFrame(int width, int height);
    void ReleaseFramebuffers();

    std::unique_ptr<QOffscreenSurface> Surface_;
    std::unique_ptr<QOpenGLContext> Context_;
    // The drawing target (multisampled when asked for) and, for a
    // multisampled one, the plain target it is resolved into for reading.
    std::unique_ptr<QOpenGLFramebufferObject> Fbo_;
    std::unique_ptr<QOpenGLFramebufferObject> Resolve_;
    int FboWidth_ = 0, FboHeight_ = 0, FboSamplesAsked_ = -1;
    int FramebuffersMade_ = 0;
};

// Makes sure a Qt application exists for the GL work: Qt's offscreen
// platform when there is no display.
void EnsureGLApplication();

} // namespace kalvion
