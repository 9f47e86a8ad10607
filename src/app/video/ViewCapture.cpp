#include "app/video/ViewCapture.h"

#include "model/StellarBody.h"
#include "model/StellarRoute.h"
#include "model/VexaSector.h"
#include "render/OffscreenFrame.h"
#include "render/RenderSectorOGL.h"
#include "render/orbit/RenderOrbitOGL.h"

namespace kalvion::app {

TViewCapture::TViewCapture() = default;

TViewCapture::~TViewCapture() { Release(); }

void TViewCapture::Release()
{
    if (FGL && FGL->MakeCurrent()) {
        if (FRenderer)
            FRenderer->ReleaseAll();
        if (FOrbit) {
            FOrbit->ReleaseLists();
            FOrbit->ReleaseFonts();
        }
    }
    FRenderer.reset();
    FOrbit.reset();
    FGL.reset();
}

void TViewCapture::ReloadBackground()
{
    if (FRenderer)
        FRenderer->ReloadBackground();
    if (FOrbit)
        FOrbit->ReloadBackground();
}

void TViewCapture::KeepScreenData(const TVexaSector &sector)
{
    FRoots.clear();
    FRoots.reserve(sector.Systems.size());
    for (const auto &root : sector.Systems)
        FRoots.push_back({root->RasterX, root->RasterY, root->HitRect.Left, root->HitRect.Top, root->HitRect.Right,
                          root->HitRect.Bottom, root->Depth});
    FWaypoints.clear();
    for (const auto &route : sector.Routes)
        for (const auto &w : route->Waypoints) {
            FWaypoints.push_back(w->RasterX);
            FWaypoints.push_back(w->RasterY);
        }
}

void TViewCapture::RestoreScreenData(TVexaSector &sector) const
{
    // The frame draws what it was given; the lists are the same ones.
    if (FRoots.size() == sector.Systems.size())
        for (std::size_t i = 0; i < FRoots.size(); ++i) {
            TStellarBody &root = *sector.Systems[i];
            const TRootScreen &s = FRoots[i];
            root.RasterX = s.RasterX;
            root.RasterY = s.RasterY;
            root.HitRect = {s.Left, s.Top, s.Right, s.Bottom};
            root.Depth = s.Depth;
        }
    std::size_t k = 0;
    for (const auto &route : sector.Routes)
        for (const auto &w : route->Waypoints) {
            if (k + 2 > FWaypoints.size())
                return;
            w->RasterX = FWaypoints[k++];
            w->RasterY = FWaypoints[k++];
        }
}

QImage TViewCapture::Frame(TVexaSector &sector, const TRenderSectorOGL &view, int width, int height, int samples)
{
    FError.clear();
    if (!FGL) {
        auto gl = std::make_unique<TOffscreenGL>();
        if (!gl->Create()) {
            FError = QString::fromStdString(gl->ErrorMessage);
            return {};
        }
        FGL = std::move(gl);
        FRenderer = std::make_unique<TRenderSectorOGL>();
        // A context of its own: the view's fonts, lists and the models'
        // lists of context 0 mean nothing here.
        FRenderer->ContextIndex = 1;
    }
    TRenderSectorOGL &r = *FRenderer;
    r.LensFlare = view.LensFlare;
    r.ShowDate = view.ShowDate;
    r.PreviewBody = view.PreviewBody;
    r.PreviewGrowStep = view.PreviewGrowStep;
    r.SurfaceMapMgr = view.SurfaceMapMgr;
    r.ModelManager = view.ModelManager;
    r.AxisMode = view.AxisMode;
    r.PreviewCamera = view.PreviewCamera;
    r.FallbackFont = view.FallbackFont;
    r.NoRaster = true;
    KeepScreenData(sector);
    QImage image = FGL->RenderSector(r, sector, width, height, samples);
    RestoreScreenData(sector);
    if (image.isNull())
        FError = QString::fromStdString(FGL->ErrorMessage);
    return image;
}

QImage TViewCapture::OrbitFrame(TVexaSector &sector, const TRenderOrbitOGL &view, int width, int height,
                                int samples)
{
    FError.clear();
    if (!FGL) {
        auto gl = std::make_unique<TOffscreenGL>();
        if (!gl->Create()) {
            FError = QString::fromStdString(gl->ErrorMessage);
            return {};
        }
        FGL = std::move(gl);
        FRenderer = std::make_unique<TRenderSectorOGL>();
        FRenderer->ContextIndex = 1;
    }
    if (!FOrbit) {
        FOrbit = std::make_unique<TRenderOrbitOGL>();
        // The capture's own context, as for the star map above.
        FOrbit->ContextIndex = 1;
        FOrbit->RememberCameras = false;
    }
    TRenderOrbitOGL &r = *FOrbit;
    if (r.Root() != view.Root() && FGL->MakeCurrent())
        r.SetSystem(&sector, view.Root());
    r.Camera = view.Camera;
    r.TextLines = view.TextLines;
    r.BottomLine = view.BottomLine;
    r.ShowText = view.ShowText;
    r.ShowNames = view.ShowNames;
    r.ShowOrbits = view.ShowOrbits;
    r.ShowAxis = view.ShowAxis;
    r.SurfaceMapMgr = view.SurfaceMapMgr;
    r.ModelManager = view.ModelManager;
    r.FallbackFont = view.FallbackFont;
    QImage image = FGL->RenderOrbit(r, width, height, samples);
    if (image.isNull())
        FError = QString::fromStdString(FGL->ErrorMessage);
    return image;
}

QImage ViewSizedSnapshot(QImage grabbed, QSize viewSize)
{
    if (grabbed.isNull() || viewSize.isEmpty())
        return {};
    if (grabbed.size() != viewSize)
        grabbed = grabbed.scaled(viewSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    grabbed.setDevicePixelRatio(1.0);
    return grabbed;
}

} // namespace kalvion::app
