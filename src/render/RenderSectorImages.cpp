// Images of the 3D sector view: backgrounds, the texture cache, blazons.
#include "base/AsciiText.h"
#include "graphics/ZentImages.h"
#include "model/VexaSector.h"
#include "render/GLHeaders.h"
#include "render/RenderSectorOGL.h"
#include "render/RenderSources.h"

#include <QImage>

#include <algorithm>
#include <cmath>

namespace kalvion {

namespace {

// RGBA bytes of an image with rows bottom-up, as GL takes them.
std::vector<std::uint8_t> BottomUpRgba(const QImage &image)
{
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    const int w = rgba.width(), h = rgba.height();
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(w) * h * 4);
    for (int y = 0; y < h; ++y)
        std::copy_n(rgba.constScanLine(h - 1 - y), static_cast<std::size_t>(w) * 4,
                    bytes.data() + static_cast<std::size_t>(y) * w * 4);
    return bytes;
}

} // namespace

TRenderBackgroundImage DecodeBackgroundImage(const std::vector<std::uint8_t> &stream, int brightness)
{
    TRenderBackgroundImage out;
    const QImage image = DecodeImage(stream);
    if (image.isNull())
        return out;
    out.Width = image.width();
    out.Height = image.height();
    out.Brightness = std::clamp(brightness, 0, 255);
    out.Bits = BottomUpRgba(image);
    const double k = std::clamp(out.Brightness / 255.0, 0.0, 1.0);
    if (k != 1.0)
        for (std::size_t i = 0; i < out.Bits.size(); i += 4)
            for (std::size_t c = 0; c < 3; ++c)
                out.Bits[i + c] = static_cast<std::uint8_t>(std::nearbyint(out.Bits[i + c] * k));
    return out;
}

unsigned UploadTexture(const QImage &image, int width, int height)
{
    const QImage scaled = image.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QImage opaque = scaled.convertToFormat(QImage::Format_RGB32).convertToFormat(QImage::Format_RGBA8888);
    const std::vector<std::uint8_t> bytes = BottomUpRgba(opaque);
    unsigned texture = 0;
    glGenTextures(1, &texture);
    if (texture == 0)
        return 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    return texture;
}

void TRenderSectorOGL::LoadBackgrounds(TVexaSector &sector)
{
    auto load = [&](const char *name) {
        TVexaImageResource *res = sector.ImageResources.GetResourceFromFile(name);
        if (!res)
            return TRenderBackgroundImage{};
        sector.DynaLoadResource(res);
        if (res->Data.empty())
            return TRenderBackgroundImage{};
        return DecodeBackgroundImage(res->Data, 255);
    };
    Background_ = load("BackgroundImage");
    PreviewBackgroundImage_ = load("PreviewBackgroundImage");
    BackgroundLoaded_ = true;
}

void TRenderSectorOGL::DrawBackground(const TRenderBackgroundImage &image, int x, int y, int width, int height)
{
    DrawTiledBackground(image, x, y, width, height);
}

void DrawTiledBackground(const TRenderBackgroundImage &image, int x, int y, int width, int height)
{
    if (image.Empty() || image.Width <= 0 || image.Height <= 0 || width <= 0 || height <= 0)
        return;
    glPushAttrib(GL_ENABLE_BIT | GL_VIEWPORT_BIT | GL_PIXEL_MODE_BIT);
    glViewport(x, y, width, height);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0, width, height, 0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelZoom(1, 1);
    for (int ty = 0; ty < height; ty += image.Height)
        for (int tx = 0; tx < width; tx += image.Width) {
            glRasterPos2i(tx, height - ty);
            glDrawPixels(image.Width, image.Height, GL_RGBA, GL_UNSIGNED_BYTE, image.Bits.data());
        }
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}

const TRenderSectorOGLTexture *TRenderSectorOGL::BindImageTexture(TVexaSector &sector, const std::string &name)
{
    const std::string key = AsciiLower(name);
    auto it = std::find_if(Textures_.begin(), Textures_.end(), [&](const auto &t) { return t.FileName == key; });
    if (it != Textures_.end() && it->Texture[ContextIndex] != 0) {
        glBindTexture(GL_TEXTURE_2D, it->Texture[ContextIndex]);
        return &*it;
    }
    const auto stream = sector.GetResourceImageStream(name);
    if (!stream)
        return nullptr;
    const QImage image = DecodeImage(*stream);
    if (image.isNull())
        return nullptr;
    // The largest power of two from 1024 down to 64 that fits the image's
    // width and that the GL takes; 1024 when none does.
    int size = 1024;
    for (int candidate : {1024, 512, 256, 128, 64}) {
        if (candidate > image.width())
            continue;
        glTexImage2D(GL_PROXY_TEXTURE_2D, 0, GL_RGBA8, candidate, candidate, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        GLint got = 0;
        glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &got);
        if (got != 0) {
            size = candidate;
            break;
        }
    }
    const unsigned texture = UploadTexture(image, size, size);
    if (texture == 0)
        return nullptr;
    if (it == Textures_.end()) {
        Textures_.push_back({key, image.height(), image.width(), {0, 0}});
        it = std::prev(Textures_.end());
    }
    it->ImageHeight = image.height();
    it->ImageWidth = image.width();
    it->Texture[ContextIndex] = texture;
    return &*it;
}

void TRenderSectorOGL::ForgetSurfaceTexture(const std::string &idString)
{
    // GL names are deleted only with their own context current.
    for (std::size_t ctx = 0; ctx < PreviewTextures_.size(); ++ctx)
        for (const auto &[id, texture] : PreviewTextures_[ctx])
            if (id == idString) {
                auto &stale = StalePreviewTextures_[ctx];
                if (std::find(stale.begin(), stale.end(), idString) == stale.end())
                    stale.push_back(idString);
                break;
            }
    PreviewNoStoredImage_.erase(std::remove(PreviewNoStoredImage_.begin(), PreviewNoStoredImage_.end(), idString),
                                PreviewNoStoredImage_.end());
}

unsigned TRenderSectorOGL::PlanetTexture(TVexaSector &sector, const TStellarBody &body)
{
    auto &cache = PreviewTextures_[ContextIndex];
    for (const std::string &stale : StalePreviewTextures_[ContextIndex])
        for (auto it = cache.begin(); it != cache.end(); ++it)
            if (it->first == stale) {
                glDeleteTextures(1, &it->second);
                cache.erase(it);
                break;
            }
    StalePreviewTextures_[ContextIndex].clear();
    for (const auto &[id, texture] : cache)
        if (id == body.IDString)
            return texture;
    QImage image;
    // A stored image that cannot be read is not read again while this
    // preview lasts; the surface map manager is asked every frame, since its
    // workers may finish a map at any time.
    if (std::find(PreviewNoStoredImage_.begin(), PreviewNoStoredImage_.end(), body.IDString) ==
        PreviewNoStoredImage_.end()) {
        if (const auto stream = sector.GetPreviewImageStream(&body))
            image = DecodeImage(*stream);
        if (image.isNull())
            PreviewNoStoredImage_.push_back(body.IDString);
    }
    if (image.isNull() && SurfaceMapMgr)
        image = SurfaceMapMgr->CurrentMap(body.IDString);
    if (image.isNull())
        return 0;
    const unsigned texture = UploadTexture(image, 1024, 512);
    if (texture != 0)
        cache.emplace_back(body.IDString, texture);
    return texture;
}

void TRenderSectorOGL::ReleasePreviewTextures()
{
    for (auto &[id, texture] : PreviewTextures_[ContextIndex])
        glDeleteTextures(1, &texture);
    PreviewTextures_[ContextIndex].clear();
    StalePreviewTextures_[ContextIndex].clear();
    PreviewNoStoredImage_.clear();
}

void TRenderSectorOGL::DrawBlazon(TVexaSector &sector, TStellarBody &root)
{
    glEnable(GL_TEXTURE_2D);
    const TRenderSectorOGLTexture *texture = BindImageTexture(sector, root.BlazonImageFile);
    if (!texture) {
        glDisable(GL_TEXTURE_2D);
        return;
    }
    const double aspect = texture->ImageWidth == 0 ? 1.0 : static_cast<double>(texture->ImageHeight) / texture->ImageWidth;
    const TVexaPoint right = Projection_.CameraRight(), up = Projection_.CameraUp();
    const double h = 0.05;
    auto corner = [&](double kr, double ku) {
        return TVexaPoint{root.X + h * (kr * right.X + ku * up.X), root.Y + h * (kr * right.Y + ku * up.Y),
                          root.Z + h * (kr * right.Z + ku * up.Z)};
    };
    auto setHitRect = [&](const TVexaPoint &a, const TVexaPoint &b) {
        TWindowPoint pa, pb;
        if (NoRaster || !Projection_.Project(a.X, a.Y, a.Z, pa) || !Projection_.Project(b.X, b.Y, b.Z, pb))
            return;
        if (std::abs(pa.X) > 1e9 || std::abs(pa.Y) > 1e9 || std::abs(pb.X) > 1e9 || std::abs(pb.Y) > 1e9)
            return;
        root.HitRect = {static_cast<std::int32_t>(std::nearbyint(pa.X)), static_cast<std::int32_t>(std::nearbyint(pa.Y)),
                        static_cast<std::int32_t>(std::nearbyint(pb.X)), static_cast<std::int32_t>(std::nearbyint(pb.Y))};
    };
    glColor4d(1, 1, 1, 1);
    glEnable(GL_DEPTH_TEST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    if (root.BlazonWrap) {
        // The light stands at the camera turned 20° about the vertical
        // through the system, so the wrapped sphere shows some relief.
        const TVexaPoint cam = Sector_->Camera;
        const double a = 20 * 3.14159265358979323846 / 180;
        const double cx = cam.X - root.X, cz = cam.Z - root.Z;
        SetLightAtCamera({root.X + cx * std::cos(a) + cz * std::sin(a), cam.Y,
                          root.Z - cx * std::sin(a) + cz * std::cos(a)},
                         1.0f);
        glEnable(GL_LIGHTING);
        glPushMatrix();
        glTranslated(root.X, root.Y, root.Z);
        glRotated(-180, 0, 0, 1);
        glRotated(90, 1, 0, 0);
        glCallList(TexturedSphereList_);
        glPopMatrix();
        glDisable(GL_LIGHTING);
        setHitRect(corner(-1, -1), corner(1, 1));
    } else {
        TVexaPoint c0 = corner(-1, -1), c1 = corner(1, -1), c2 = corner(1, 1), c3 = corner(-1, 1);
        if (aspect != 1) {
            // Each vertical edge is scaled about its midpoint.
            auto stretch = [&](TVexaPoint &lo, TVexaPoint &hi) {
                const TVexaPoint mid{(lo.X + hi.X) / 2, (lo.Y + hi.Y) / 2, (lo.Z + hi.Z) / 2};
                lo = {mid.X + (lo.X - mid.X) * aspect, mid.Y + (lo.Y - mid.Y) * aspect, mid.Z + (lo.Z - mid.Z) * aspect};
                hi = {mid.X + (hi.X - mid.X) * aspect, mid.Y + (hi.Y - mid.Y) * aspect, mid.Z + (hi.Z - mid.Z) * aspect};
            };
            stretch(c0, c3);
            stretch(c1, c2);
        }
        glBegin(GL_QUADS);
        glTexCoord2d(0, 0);
        glVertex3d(c0.X, c0.Y, c0.Z);
        glTexCoord2d(1, 0);
        glVertex3d(c1.X, c1.Y, c1.Z);
        glTexCoord2d(1, 1);
        glVertex3d(c2.X, c2.Y, c2.Z);
        glTexCoord2d(0, 1);
        glVertex3d(c3.X, c3.Y, c3.Z);
        glEnd();
        setHitRect(c0, c2);
    }
    glDisable(GL_TEXTURE_2D);
}

} // namespace kalvion
