#include "app/video/ViewCapture.h"

#include "model/StellarBody.h"
#include "model/StellarRoute.h"
#include "model/VexaSector.h"
#include "render/OffscreenFrame.h"
#include "render/RenderSectorOGL.h"

namespace kalvion::app {

TViewCapture::TViewCapture() = default;

TViewCapture::~TViewCapture() { Release(); }

void TViewCapture::Release()
{
    if (FGL && FRenderer && FGL->MakeCurrent())
        FRenderer->ReleaseAll();
    FRenderer.reset();
    FGL.reset();
}

void TViewCapture::ReloadBackground()
{
    if (FRenderer)
        FRenderer->ReloadBackground();
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

} // namespace kalvion::app
