#pragma once
// The surface map manager as the 3D views see it.
#include "render/RenderSources.h"
#include "surface/manager/SurfaceMapMgr.h"

namespace kalvion::app {

class TSurfaceMapSource final : public TRenderSurfaceMaps {
public:
    explicit TSurfaceMapSource(TSurfaceMapMgr &mgr) : Mgr_(mgr) {}
    QImage CurrentMap(const std::string &idString) override { return Mgr_.CurrentMap(idString); }

private:
    TSurfaceMapMgr &Mgr_;
};

} // namespace kalvion::app
