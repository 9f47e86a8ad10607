#pragma once
// The sector view drawn again off screen at a video's frame size, as the
// window shows it.  Its context and renderer are its own: GL textures,
// fonts and lists belong to the context that made them, so the window's
// renderer cannot draw here.  Drawing leaves the screen positions of the
// window's last frame as they were, so clicking into the view still finds
// the systems it shows.
#include <QImage>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace kalvion {
class TOffscreenGL;
class TRenderOrbitOGL;
class TRenderSectorOGL;
struct TVexaHitRect;
class TVexaSector;
} // namespace kalvion

namespace kalvion::app {

class TViewCapture {
public:
    TViewCapture();
    ~TViewCapture();
    TViewCapture(const TViewCapture &) = delete;
    TViewCapture &operator=(const TViewCapture &) = delete;

    // The sector at width × height with the view's display choices (lens
    // flares, date, preview body …).  The GL context current before is no
    // longer current afterwards.  A null picture with Error() on failure.
    QImage Frame(TVexaSector &sector, const TRenderSectorOGL &view, int width, int height, int samples);
    // The window's 3D system view at width × height: the same system,
    // camera, date and display choices.  The bodies' camera memory is left
    // alone.
    QImage OrbitFrame(TVexaSector &sector, const TRenderOrbitOGL &view, int width, int height, int samples);
    // The sector's background images changed.
    void ReloadBackground();
    // Drops the context and everything drawn with it (a new document).
    void Release();
    const QString &Error() const { return FError; }

private:
    struct TRootScreen {
        std::int32_t RasterX, RasterY;
        std::int32_t Left, Top, Right, Bottom;
        double Depth;
    };
    void KeepScreenData(const TVexaSector &sector);
    void RestoreScreenData(TVexaSector &sector) const;

    std::unique_ptr<TOffscreenGL> FGL;
    std::unique_ptr<TRenderSectorOGL> FRenderer;
    std::unique_ptr<TRenderOrbitOGL> FOrbit;
    QString FError;
    // Reused from frame to frame.
    std::vector<TRootScreen> FRoots;
    std::vector<std::int32_t> FWaypoints;
};

// The view's own picture as a saved image: a screen that maps one unit of
// size to several pixels hands over more pixels than the view's size, and
// the picture is brought back to that size (smoothly); a picture of the
// right size is returned as it is.  The result claims one pixel per unit.
QImage ViewSizedSnapshot(QImage grabbed, QSize viewSize);

} // namespace kalvion::app
