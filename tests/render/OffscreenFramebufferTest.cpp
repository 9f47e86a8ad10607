// The offscreen frame keeps its framebuffers from one frame to the next:
// the same size and samples draw into the same targets, a new size makes new
// ones, and no frame shows what the one before it drew.
#include "GLFrame.h"

#include <gtest/gtest.h>

namespace kalvion::test {
namespace {

// The lit pixels' mean row and column, or (-1, -1) when none is lit.
QPointF LitCentre(const QImage &image)
{
    double sx = 0, sy = 0;
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (QColor(image.pixel(x, y)).value() > 60) {
                sx += x;
                sy += y;
                ++n;
            }
    return n ? QPointF(sx / n, sy / n) : QPointF(-1, -1);
}

TEST(OffscreenFramebuffers, KeptForFramesOfOneSizeAndMadeAgainForANewOne)
{
    TOffscreenGL gl;
    EnsureXDisplay();
    ASSERT_TRUE(gl.Create()) << gl.ErrorMessage;
    auto sector = EmptySector(15);
    AddRoot(*sector, "High", -3, 3, 0, ColorRGB(0, 255, 0))->LabelDistance = 0;
    TRenderSectorOGL renderer;
    renderer.ShowDate = false;
    const QImage first = gl.RenderSector(renderer, *sector, 320, 240, 4);
    ASSERT_FALSE(first.isNull()) << gl.ErrorMessage;
    ASSERT_GT(LitCentre(first).x(), 0);  // the star is drawn
    EXPECT_EQ(first.size(), QSize(320, 240));
    EXPECT_EQ(first.format(), QImage::Format_RGB32);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(gl.RenderSector(renderer, *sector, 320, 240, 4), first);
    EXPECT_EQ(gl.FramebuffersMade(), 1);

    const QImage wide = gl.RenderSector(renderer, *sector, 400, 240, 4);
    EXPECT_EQ(wide.size(), QSize(400, 240));
    EXPECT_EQ(gl.FramebuffersMade(), 2);
    const QImage plain = gl.RenderSector(renderer, *sector, 400, 240, 0);
    EXPECT_EQ(gl.FramebuffersMade(), 3);
    // The same frames as a context of their own draws afresh.
    TOffscreenGL fresh;
    ASSERT_TRUE(fresh.Create()) << fresh.ErrorMessage;
    TRenderSectorOGL other;
    other.ShowDate = false;
    EXPECT_EQ(fresh.RenderSector(other, *sector, 400, 240, 4), wide);
    EXPECT_EQ(fresh.RenderSector(other, *sector, 400, 240, 0), plain);
    const QPointF at = LitCentre(wide);
    EXPECT_GT(at.x(), 0);
    EXPECT_LT(at.x(), 200);
    EXPECT_GT(at.y(), 0);
    EXPECT_LT(at.y(), 120);
    // Back to the first size: the same picture as before.
    EXPECT_EQ(gl.RenderSector(renderer, *sector, 320, 240, 4), first);
    EXPECT_EQ(gl.RenderSector(renderer, *sector, 0, 240, 4), QImage());
}

TEST(OffscreenFramebuffers, FramesAreTheRightWayUpAndLeaveNothingBehind)
{
    TOffscreenGL gl;
    EnsureXDisplay();
    ASSERT_TRUE(gl.Create()) << gl.ErrorMessage;
    TRenderSectorOGL renderer;
    renderer.ShowDate = false;
    // A star above the target and to its left lies in the upper left.
    auto high = EmptySector(15);
    AddRoot(*high, "High", -3, 3, 0, ColorRGB(0, 255, 0))->LabelDistance = 0;
    const QImage up = gl.RenderSector(renderer, *high, 320, 240, 4);
    ASSERT_FALSE(up.isNull()) << gl.ErrorMessage;
    const QPointF at = LitCentre(up);
    EXPECT_GT(at.x(), 0);
    EXPECT_LT(at.x(), 160);
    EXPECT_GT(at.y(), 0);
    EXPECT_LT(at.y(), 120);

    // An empty sector next, in the same framebuffers: nothing of the star.
    auto empty = EmptySector(15);
    const QImage none = gl.RenderSector(renderer, *empty, 320, 240, 4);
    EXPECT_EQ(LitCentre(none), QPointF(-1, -1));
    EXPECT_EQ(gl.FramebuffersMade(), 1);
}

} // namespace
} // namespace kalvion::test
