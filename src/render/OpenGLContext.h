#pragma once
// TOpenGLContext: the GL context a view draws with, as the renderers see it.
// Qt creates the context (the widget's, or an offscreen one); this object
// keeps what failed, in the program's own words, and offers make-current,
// swap and a redraw request.
#include <functional>
#include <string>

class QOpenGLContext;
class QSurface;
class QSurfaceFormat;

namespace kalvion {

inline constexpr const char *GL_ERROR_NO_PIXEL_FORMAT =
    "Graphics cannot display: Cannot find a suitable pixel format (ATTACH)";
inline constexpr const char *GL_ERROR_SET_PIXEL_FORMAT = "Graphics cannot display: Cannot set pixel format (ATTACH)";
inline constexpr const char *GL_ERROR_CREATE_CONTEXT =
    "Graphics cannot display: cannot create an OpenGL rendering context (ATTACH)";
inline constexpr const char *GL_ERROR_ACTIVATE_CONTEXT =
    "Graphics cannot display: cannot activate OpenGL rendering context (ATTACH)";
inline constexpr const char *GL_ERROR_SET_PIXEL_FORMAT_ARB = "Graphics cannot display: Cannot set pixel format (ARB)";
inline constexpr const char *GL_ERROR_CREATE_CONTEXT_ARB =
    "Graphics cannot display: cannot create an OpenGL rendering context (ARB)";
inline constexpr const char *GL_ERROR_ACTIVATE_CONTEXT_ARB =
    "Graphics cannot display: cannot activate OpenGL rendering context (ARB)";

// Double-buffered RGB, 24-bit depth, no stencil, fixed-function GL through a
// compatibility profile; `samples` > 0 asks for multisampling.
QSurfaceFormat SectorSurfaceFormat(int samples);

class TOpenGLContext {
public:
    TOpenGLContext() = default;
    TOpenGLContext(QOpenGLContext *context, QSurface *surface) : Context_(context), Surface_(surface) {}

    void Attach(QOpenGLContext *context, QSurface *surface);
    void Detach() { Attach(nullptr, nullptr); }
    QOpenGLContext *Context() const { return Context_; }

    bool MakeCurrent();
    void SwapBuffers();
    void RequestRedraw() const
    {
        if (OnRedrawRequest)
            OnRedrawRequest();
    }

    // Checks that the context exists, is valid and offers the fixed-function
    // pipeline; otherwise ErrorMessage says why.
    bool Check();
    bool HasError() const { return !ErrorMessage.empty(); }

    std::string ErrorMessage;
    std::function<void()> OnRedrawRequest;

private:
    QOpenGLContext *Context_ = nullptr;
    QSurface *Surface_ = nullptr;
};

} // namespace kalvion
