#pragma once
// TSectorGLWidget: the 3D sector view in a window.  It forwards paint and
// resize to the shared renderer and turns clicks into systems through the
// screen data of the last frame.  Qt recreates its context when the widget
// is re-parented or goes full screen; the renderer's fonts, textures and
// lists of the old context are released before it goes.
#include "render/OpenGLContext.h"

#include <QOpenGLWidget>

#include <functional>
#include <string>

class QLabel;

namespace kalvion {

class TRenderSectorOGL;
class TStellarBody;
class TVexaSector;

class TSectorGLWidget : public QOpenGLWidget {
    Q_OBJECT
public:
    explicit TSectorGLWidget(TRenderSectorOGL &renderer, QWidget *parent = nullptr);
    ~TSectorGLWidget() override;

    void SetSector(TVexaSector *sector);
    TVexaSector *Sector() const { return Sector_; }
    TRenderSectorOGL &Renderer() const { return Renderer_; }
    TOpenGLContext &GLContext() { return Context_; }

    // Screen data are computed only while the pointer tool is active (and
    // never during animations).
    void SetPointerMode(bool on) { PointerMode_ = on; }
    bool PointerMode() const { return PointerMode_; }
    void SetAnimating(bool on) { Animating_ = on; }
    bool Animating() const { return Animating_; }

    // The root under a widget point (logical pixels, top-down), from the
    // screen data of the last frame; none when no system is there.
    TStellarBody *SystemAt(const QPoint &point) const;
    // A widget point in framebuffer pixels, bottom-up as the renderer's.
    QPoint ToFramebuffer(const QPoint &point) const;
    // The same point in framebuffer pixels, top-down as window points are
    // (the preview inset's and the system view's corner tests).
    QPoint ToDevicePixels(const QPoint &point) const;

    // Called while the context is current and about to go (Qt replaces it
    // when the widget is re-parented or goes full screen, and it goes with
    // the widget): whoever else drew into it releases what it made there.
    std::function<void()> OnReleaseContext;

    // While set, a frame draws this instead of the sector (the 3D system
    // view shares the widget and its context); it gets the framebuffer's
    // width and height.
    void SetFrameOverride(std::function<void(int, int)> draw);
    bool HasFrameOverride() const { return static_cast<bool>(FrameOverride_); }

    // The context's failure in the program's words; empty when it draws.
    const std::string &ErrorMessage() const { return Context_.ErrorMessage; }
    int FramesDrawn() const { return FramesDrawn_; }

signals:
    void systemClicked(kalvion::TStellarBody *system, Qt::KeyboardModifiers modifiers);
    void frameDrawn();

protected:
    void initializeGL() override;
    void paintGL() override;
    void resizeGL(int w, int h) override;
    void mousePressEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void ReleaseContextResources();
    void ShowError();

    TRenderSectorOGL &Renderer_;
    TVexaSector *Sector_ = nullptr;
    TOpenGLContext Context_;
    bool PointerMode_ = true;
    bool Animating_ = false;
    int FramesDrawn_ = 0;
    bool Initialized_ = false;
    QLabel *ErrorLabel_ = nullptr;
    std::function<void(int, int)> FrameOverride_;
};

} // namespace kalvion
