#pragma once
// One offscreen GL context for a test program, and frames of small sectors
// drawn through it at 800 × 600 without multisampling.
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "render/OffscreenFrame.h"
#include "render/RenderSectorOGL.h"
#include "XDisplay.h"

#include <gtest/gtest.h>

#include <QImage>

#include <memory>
#include <string>

namespace kalvion::test {

inline constexpr int FrameWidth = 800;
inline constexpr int FrameHeight = 600;

inline TOffscreenGL *SharedGL()
{
    static std::unique_ptr<TOffscreenGL> gl = [] {
        EnsureXDisplay();
        auto made = std::make_unique<TOffscreenGL>();
        if (!made->Create())
            ADD_FAILURE() << "no GL context: " << made->ErrorMessage;
        return made;
    }();
    return gl->Context() ? gl.get() : nullptr;
}

// A sector seen from (0, 0, distance) towards the origin, without grid or date.
inline std::unique_ptr<TVexaSector> EmptySector(double cameraDistance)
{
    auto sector = TVexaSector::Create();
    sector->SizeX = sector->SizeY = sector->SizeZ = 40;
    sector->GridsEnabled = false;
    sector->BaseFont = "DejaVu Sans";
    sector->Camera = {0, 0, cameraDistance};
    sector->Target = {0, 0, 0};
    return sector;
}

inline TStellarBody *AddRoot(TVexaSector &sector, const std::string &name, double x, double y, double z,
                             TColor color = ColorRGB(255, 255, 255))
{
    auto body = TStellarBody::Create();
    body->Name = name;
    body->TypeID = BODY_TYPE_STAR;
    body->X = x;
    body->Y = y;
    body->Z = z;
    body->Color = color;
    body->Luminosity = 1;
    TStellarBody *raw = body.get();
    sector.AddSystem(std::move(body));
    return raw;
}

inline QImage DrawFrame(TRenderSectorOGL &renderer, TVexaSector &sector, int width = FrameWidth,
                        int height = FrameHeight)
{
    TOffscreenGL *gl = SharedGL();
    if (!gl)
        return {};
    renderer.ShowDate = false;
    return gl->RenderSector(renderer, sector, width, height, 0);
}

// Pixels of the image (top-down rows) whose colour satisfies the test.
template <typename Pred>
int CountPixels(const QImage &image, const QRect &area, Pred pred)
{
    int n = 0;
    for (int y = std::max(0, area.top()); y <= std::min(image.height() - 1, area.bottom()); ++y)
        for (int x = std::max(0, area.left()); x <= std::min(image.width() - 1, area.right()); ++x)
            if (pred(QColor(image.pixel(x, y))))
                ++n;
    return n;
}

} // namespace kalvion::test
