#include "render/RenderSectorOGL.h"

#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "render/GLHeaders.h"
#include "render/OpenGLContext.h"
#include "render/RenderSources.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numbers>

namespace kalvion {

namespace {

double ElapsedMs(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void SetNoScreenData(TStellarBody &root)
{
    root.RasterX = root.RasterY = -1;
    root.HitRect = {-1, -1, -1, -1};
}

} // namespace

double FarPointFactor(double distance, double luminosity)
{
    const double base = luminosity > 1 ? 150 * std::sqrt(luminosity) : 150;
    const double f = (base - (distance - 10)) * 0.00666;
    return f < 0.2 ? 0.2 : f;
}

TRenderSectorOGL::TRenderSectorOGL()
{
    PreviewCamera.SetDefaults(20, 0, 90);
    PreviewCamera.MinimumDistance = 10;
    PreviewCamera.MaximumDistance = 200;
    PreviewCamera.SetDistance(20);
}

TRenderSectorOGL::~TRenderSectorOGL() = default;

TCGFont2D *TRenderSectorOGL::NearFont(int style) const
{
    return Fonts_[ContextIndex * 4 + std::clamp(style, 0, 3)].get();
}

TCGFont2D *TRenderSectorOGL::FarFont(int style) const
{
    return Fonts_[8 + ContextIndex * 4 + std::clamp(style, 0, 3)].get();
}

void TRenderSectorOGL::CreateFonts(const TVexaSector &sector)
{
    if (FontsCreated_[ContextIndex])
        return;
    const std::string face = sector.BaseFont.empty() ? FallbackFont : sector.BaseFont;
    auto make = [&](int index, int pixels, bool bold, bool underline) {
        auto font = std::make_unique<TCGFont2D>();
        font->Create(face, std::max(1, static_cast<int>(std::lround(pixels * FontScale_))), bold, underline);
        Fonts_[index] = std::move(font);
    };
    for (int style = 0; style <= 3; ++style) {
        const bool bold = style == 1 || style == 3;
        const bool underline = style == 2 || style == 3;
        make(ContextIndex * 4 + style, 12, bold, underline);
        make(8 + ContextIndex * 4 + style, 10, bold, underline);
    }
    make(16 + ContextIndex, 12, false, false);
    make(18 + ContextIndex, 14, true, false);
    FontsCreated_[ContextIndex] = true;
}

void TRenderSectorOGL::SetFontScale(double scale)
{
    if (!(scale > 0) || std::abs(scale - FontScale_) < 1e-6)
        return;
    FontScale_ = scale;
    ReleaseFonts();
}

void TRenderSectorOGL::ReleaseFonts()
{
    const int ctx = ContextIndex;
    for (int style = 0; style <= 3; ++style) {
        Fonts_[ctx * 4 + style].reset();
        Fonts_[8 + ctx * 4 + style].reset();
    }
    Fonts_[16 + ctx].reset();
    Fonts_[18 + ctx].reset();
    FontsCreated_[ctx] = false;
}

void TRenderSectorOGL::ReleaseTextures()
{
    const int ctx = ContextIndex;
    for (auto &t : Textures_)
        if (t.Texture[ctx] != 0) {
            glDeleteTextures(1, &t.Texture[ctx]);
            t.Texture[ctx] = 0;
        }
    ReleasePreviewTextures();
}

void TRenderSectorOGL::ReleaseAll()
{
    ReleaseFonts();
    ReleaseTextures();
    for (auto &l : GridLists_)
        if (l.List[ContextIndex] != 0) {
            glDeleteLists(l.List[ContextIndex], 1);
            l.List[ContextIndex] = 0;
        }
    GridLists_.clear();
    if (ModelManager)
        ModelManager->ReleaseContext(ContextIndex);
}

bool TRenderSectorOGL::PointInPreview(int x, int y) const
{
    const auto &r = PreviewRect_;
    if (r[0] < 0)
        return false;
    return x >= r[0] && x <= r[2] && y >= r[1] && y <= r[3];
}

bool TRenderSectorOGL::PointInPreviewCorner(int x, int y) const
{
    if (!PreviewBody || !PointInPreview(x, y))
        return false;
    return x >= PreviewRect_[2] - 20 && y >= PreviewRect_[3] - 20;
}

bool TRenderSectorOGL::ProjectToWindow(double x, double y, double z, double &wx, double &wy, double &depth) const
{
    TWindowPoint p;
    if (!Projection_.Project(x, y, z, p))
        return false;
    wx = p.X;
    wy = p.Y;
    depth = p.Depth;
    return true;
}

void TRenderSectorOGL::Render(TVexaSector &sector, QPaintDevice *canvas, TOpenGLContext *context, int height,
                              int width)
{
    (void)canvas;  // glyphs are rasterised by Qt, not from a device context
    (void)context;
    const auto start = std::chrono::steady_clock::now();
    Sector_ = &sector;
    Width_ = std::max(1, width);
    Height_ = std::max(1, height);

    bool filledDate = false;
    if (ShowDate && sector.RenderMessageSmall.empty()) {
        DateHandler_.SetToSector(sector);
        sector.RenderMessageSmall = DateHandler_.FormatDate();
        filledDate = true;
    }
    if (!BackgroundLoaded_)
        LoadBackgrounds(sector);
    FrameFlare_ = std::make_unique<TStarFlareOGL>(0.05f, 32);
    AxisConeList_ = 0;

    glViewport(0, 0, Width_, Height_);
    const TMatrix4 projection = PerspectiveMatrix(45, static_cast<double>(Width_) / Height_, 0.1, 1000000);
    const TMatrix4 modelview = LookAtMatrix(sector.Camera, sector.Target, {0, 1, 0});
    Projection_ = TSceneProjection(modelview, projection, 0, 0, Width_, Height_);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(projection.data());
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixd(modelview.data());
    const TColor bg = sector.BackgroundColor;
    glClearColor(ColorRed(bg) / 255.0f, ColorGreen(bg) / 255.0f, ColorBlue(bg) / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
    glDisable(GL_CULL_FACE);
    glShadeModel(GL_SMOOTH);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_MULTISAMPLE);

    GLUquadric *quadric = gluNewQuadric();
    MarkerSphereList_ = glGenLists(1);
    glNewList(MarkerSphereList_, GL_COMPILE);
    gluQuadricNormals(quadric, GLU_SMOOTH);
    gluQuadricTexture(quadric, GL_FALSE);
    gluSphere(quadric, 0.02, 32, 32);
    glEndList();
    TexturedSphereList_ = glGenLists(1);
    glNewList(TexturedSphereList_, GL_COMPILE);
    gluQuadricTexture(quadric, GL_TRUE);
    gluSphere(quadric, 0.1, 32, 32);
    glEndList();
    gluDeleteQuadric(quadric);

    CreateFonts(sector);
    if (!Background_.Empty())
        DrawBackground(Background_, 0, 0, Width_, Height_);
    Timings[0] = ElapsedMs(start);

    DrawSubsectors(sector);
    DrawRoutes(sector);
    DrawPlannedPath();
    Timings[1] = ElapsedMs(start);
    DrawSystems(sector);
    Timings[2] = ElapsedMs(start);

    glDeleteLists(MarkerSphereList_, 1);
    glDeleteLists(TexturedSphereList_, 1);
    MarkerSphereList_ = TexturedSphereList_ = 0;
    if (AxisConeList_ != 0)
        glDeleteLists(AxisConeList_, 1);
    AxisConeList_ = 0;

    if (sector.GridsEnabled)
        DrawSectorGrid(sector);
    Timings[3] = ElapsedMs(start);

    DrawStatusText(sector, Height_);
    DrawPreview(sector, Height_, Width_);

    if (filledDate)
        sector.RenderMessageSmall.clear();
    for (auto &l : GridLists_)
        if (l.List[ContextIndex] != 0)
            glDeleteLists(l.List[ContextIndex], 1);
    GridLists_.clear();
    FrameFlare_.reset();
    Sector_ = nullptr;
}

void TRenderSectorOGL::DrawSystems(TVexaSector &sector)
{
    static const double coneLimit = std::cos(52 * std::numbers::pi / 180);
    const TVexaPoint cam = sector.Camera;
    const double vx = sector.Target.X - cam.X, vy = sector.Target.Y - cam.Y, vz = sector.Target.Z - cam.Z;
    const double viewLength = std::sqrt(vx * vx + vy * vy + vz * vz);
    const bool viewOk = viewLength > 0 && std::isfinite(viewLength);
    PointVertices_.clear();
    PointColours_.clear();
    PointVertices_.reserve(sector.Systems.size() * 3);
    PointColours_.reserve(sector.Systems.size() * 3);

    const std::size_t count = sector.Systems.size();
    for (std::size_t index = 0; index < count; ++index) {
        // Roots lie scattered on the heap and a frame reads a few fields of
        // each: fetching the ones a little ahead hides most of the memory
        // latency that otherwise dominates a frame of many systems.
        if (index + 16 < count) {
            const TStellarBody *ahead = sector.Systems[index + 16].get();
            __builtin_prefetch(&ahead->X, 1);
            __builtin_prefetch(&ahead->Depth, 1);
        }
        TStellarBody &root = *sector.Systems[index];
        if (!root.Visible && sector.FilterStyle == SECTOR_FILTER_HIDE)
            continue;
        const double dx = root.X - cam.X, dy = root.Y - cam.Y, dz = root.Z - cam.Z;
        const double d = std::sqrt(dx * dx + dy * dy + dz * dz);
        if (!viewOk || !(d > 0) || !std::isfinite(d)) {
            // No direction to compare with the view: never projected.
            SetNoScreenData(root);
            continue;
        }
        const double c = (dx * vx + dy * vy + dz * vz) / (d * viewLength);
        if (c < coneLimit) {
            root.HitRect = {-1, -1, -1, -1};
            continue;
        }
        if (root.Selected && AxisMode != 0)
            DrawAxisGizmo(root);

        const bool farPoint = d >= RENDER_POINT_DISTANCE && !root.Selected;
        if (farPoint) {
            // Far points read the colour straight from the body: with a
            // hundred thousand roots, the render info is one more cache miss
            // per root for the same three numbers.
            const double k = root.TypeID == BODY_TYPE_DSO
                                 ? (root.DSOIntensity >= 1 && root.DSOIntensity <= 100 ? root.DSOIntensity : 100) / 100.0
                                 : FarPointFactor(d, root.Luminosity);
            const double r = k * (ColorRed(root.Color) / 255.0);
            const double g = k * (ColorGreen(root.Color) / 255.0);
            const double b = k * (ColorBlue(root.Color) / 255.0);
            PointVertices_.insert(PointVertices_.end(),
                                  {static_cast<float>(root.X), static_cast<float>(root.Y), static_cast<float>(root.Z)});
            PointColours_.insert(PointColours_.end(), {static_cast<float>(std::min(r, 1.0)),
                                                       static_cast<float>(std::min(g, 1.0)),
                                                       static_cast<float>(std::min(b, 1.0))});
        }
        if (!farPoint)
            root.InitRenderInfo();
        if (!farPoint && d > RENDER_MARKER_DISTANCE) {
            const TVexaRenderInfo &info = *root.RenderInfo();
            if (root.Selected)
                glColor4d(1, 1, 0, 0);
            else
                glColor4d(info.Red, info.Green, info.Blue, 0);
            glPushMatrix();
            glTranslated(root.X, root.Y, root.Z);
            glCallList(MarkerSphereList_);
            glPopMatrix();
        }

        if (root.SphereInfluence != 0)
            DrawSphereOfInfluence(root);

        if (NoRaster) {
            SetNoScreenData(root);
        } else {
            TWindowPoint p;
            if (Projection_.Project(root.X, root.Y, root.Z, p) && std::abs(p.X) < 1e9 && std::abs(p.Y) < 1e9) {
                root.RasterX = static_cast<std::int32_t>(std::nearbyint(p.X));
                root.RasterY = static_cast<std::int32_t>(std::nearbyint(p.Y));
                root.Depth = d;
                root.HitRect = {root.RasterX - 3, root.RasterY - 3, root.RasterX + 3, root.RasterY + 3};
            } else {
                SetNoScreenData(root);
            }
        }

        if (d < RENDER_MARKER_DISTANCE)
            DrawSystemDetail(sector, root, d, c);
        DrawLabel(sector, root, d);
    }

    if (!PointVertices_.empty()) {
        // A one-pixel star keeps its full colour only when it covers every
        // sample of its pixel.
        glDisable(GL_MULTISAMPLE);
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
        glEnable(GL_DEPTH_TEST);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, PointVertices_.data());
        glColorPointer(3, GL_FLOAT, 0, PointColours_.data());
        glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(PointVertices_.size() / 3));
        glDisableClientState(GL_COLOR_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
        glEnable(GL_MULTISAMPLE);
    }
}

void TRenderSectorOGL::DrawLabel(TVexaSector &sector, TStellarBody &root, double distance)
{
    if (!((root.Visible && distance < root.LabelDistance) || root.Selected))
        return;
    TCGFont2D *font;
    std::string text;
    if (root.Selected) {
        glColor4d(1, 1, 0, 1);
        text = root.Name + " " + sector.DistanceString(distance, true);
        font = NearFont(root.FontStyle);
    } else {
        glColor4d(ColorRed(root.LabelColor) / 255.0, ColorGreen(root.LabelColor) / 255.0,
                  ColorBlue(root.LabelColor) / 255.0, 1);
        text = root.Name;
        font = distance >= RENDER_MARKER_DISTANCE ? FarFont(root.FontStyle) : NearFont(root.FontStyle);
    }
    glEnable(GL_DEPTH_TEST);
    if (font)
        font->DrawAt(Projection_, root.X, root.Y - 0.2, root.Z, text);
}

namespace {

// Types drawn near the camera as their type's default model when they have
// no model of their own.
bool DrawsDefaultModel(int type)
{
    switch (type) {
    case BODY_TYPE_STATION:
    case BODY_TYPE_ASTEROIDBELT:
    case BODY_TYPE_PLANETOID:
    case BODY_TYPE_SMALLBODY:
    case BODY_TYPE_MEGASTRUCTURE:
    case BODY_TYPE_FLEET:
    case BODY_TYPE_SHIP:
    case BODY_TYPE_MARKER:
        return true;
    default:
        return false;
    }
}

} // namespace

void TRenderSectorOGL::DrawSystemDetail(TVexaSector &sector, TStellarBody &root, double distance, double cosAngle)
{
    const TVexaRenderInfo &info = *root.RenderInfo();
    if (root.BlazonDisplay && !root.BlazonImageFile.empty()) {
        DrawBlazon(sector, root);
        return;
    }
    // A model that could not be loaded (its own or the type's default) leaves
    // the body a star from that frame on, so it stays visible and pickable.
    if (!info.ModelFailed && (info.HasModel || DrawsDefaultModel(root.TypeID)) && DrawModel(root, 0.005))
        return;
    if (root.Selected)
        FrameFlare_->SetColor(1, 1, 1, 1);
    else
        FrameFlare_->SetColor(info.Red, info.Green, info.Blue, 1);
    DrawNearStar(root, distance, std::acos(std::clamp(cosAngle, -1.0, 1.0)) * 180 / std::numbers::pi);
}

namespace {

// Moves to the point and turns the modelview's rotation part into the
// identity, so what follows faces the viewer.
void Billboard(double x, double y, double z)
{
    glTranslated(x, y, z);
    GLdouble m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    m[0] = 1;
    m[1] = 0;
    m[2] = 0;
    m[4] = 0;
    m[5] = 1;
    m[6] = 0;
    m[8] = 0;
    m[9] = 0;
    m[10] = 1;
    glLoadMatrixd(m);
}

} // namespace

void TRenderSectorOGL::DrawNearStar(TStellarBody &root, double distance, double angle)
{
    const double h = FrameFlare_->Size / 2;
    if (!NoRaster) {
        const TVexaPoint r = Projection_.CameraRight(), u = Projection_.CameraUp();
        const double ox = h * (r.X + u.X), oy = h * (r.Y + u.Y), oz = h * (r.Z + u.Z);
        TWindowPoint a, b;
        if (Projection_.Project(root.X - ox, root.Y - oy, root.Z - oz, a) &&
            Projection_.Project(root.X + ox, root.Y + oy, root.Z + oz, b) && std::abs(a.X) < 1e9 &&
            std::abs(a.Y) < 1e9 && std::abs(b.X) < 1e9 && std::abs(b.Y) < 1e9) {
            root.HitRect = {static_cast<std::int32_t>(std::nearbyint(a.X)),
                            static_cast<std::int32_t>(std::nearbyint(a.Y)),
                            static_cast<std::int32_t>(std::nearbyint(b.X)),
                            static_cast<std::int32_t>(std::nearbyint(b.Y))};
        }
    }
    TStarFlareOGL &flare = *FrameFlare_;
    glPushMatrix();
    Billboard(root.X, root.Y, root.Z);
    glDisable(GL_DEPTH_TEST);
    flare.VeryNear = distance <= 1;
    flare.Position = {root.X, root.Y, root.Z};
    flare.ViewerDistance = distance;
    flare.Selected = root.Selected;
    // The halo only for very near stars.
    if (flare.VeryNear)
        flare.Elements |= FLARE_HALO;
    else
        flare.Elements &= ~FLARE_HALO;
    flare.Draw();
    glEnable(GL_DEPTH_TEST);
    glPopMatrix();

    const TVexaPoint target = Sector_->Target;
    const bool atTarget = root.X == target.X && root.Y == target.Y && root.Z == target.Z;
    if (!LensFlare || distance > 1 || angle < 10 || atTarget)
        return;
    struct TGhost {
        double k;
        int kind;
        double scale;
    };
    static const TGhost ghosts[] = {{1.1, 1, 1.4}, {1.2, 1, 0.3}, {1.13, 2, 0.3},
                                    {0.6, 1, 1},   {-2, 1, 5},   {-8, 1, 10}};
    for (const TGhost &g : ghosts) {
        glPushMatrix();
        Billboard(target.X + g.k * (root.X - target.X), target.Y + g.k * (root.Y - target.Y),
                  target.Z + g.k * (root.Z - target.Z));
        glDisable(GL_DEPTH_TEST);
        flare.DrawGhost(g.kind, g.scale);
        glEnable(GL_DEPTH_TEST);
        glPopMatrix();
    }
}

void TRenderSectorOGL::SetLightAtCamera(const TVexaPoint &at, float intensity)
{
    const GLfloat position[4] = {static_cast<GLfloat>(at.X), static_cast<GLfloat>(at.Y), static_cast<GLfloat>(at.Z),
                                 1};
    const GLfloat light[4] = {intensity, intensity, intensity, 1};
    const GLfloat black[4] = {0, 0, 0, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, light);
    glLightfv(GL_LIGHT0, GL_SPECULAR, light);
    glLightfv(GL_LIGHT0, GL_AMBIENT, black);
    glEnable(GL_LIGHT0);
}

void TRenderSectorOGL::DrawSphereOfInfluence(const TStellarBody &root)
{
    SetLightAtCamera(Sector_->Camera, 1.0f);
    glEnable(GL_LIGHTING);
    glEnable(GL_COLOR_MATERIAL);
    glShadeModel(GL_SMOOTH);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_DEPTH_TEST);
    const TColor col = root.SphereInfluenceColor;
    const double r = ColorRed(col) / 255.0, g = ColorGreen(col) / 255.0, b = ColorBlue(col) / 255.0;
    const double size = root.SphereInfluenceSize;
    if (root.SphereInfluence == SPHERE_INFLUENCE_SPHERE) {
        glColor4d(r, g, b, 0.5);
        glPushMatrix();
        glTranslated(root.X, root.Y, root.Z);
        glScaled(size / 0.02, size / 0.02, size / 0.02);
        glEnable(GL_NORMALIZE);
        glCallList(MarkerSphereList_);
        glDisable(GL_NORMALIZE);
        glPopMatrix();
    } else if (root.SphereInfluence == SPHERE_INFLUENCE_CUBE) {
        glColor4d(r, g, b, 0.15);
        const double x0 = root.X - size, x1 = root.X + size;
        const double y0 = root.Y - size, y1 = root.Y + size;
        const double z0 = root.Z - size, z1 = root.Z + size;
        glBegin(GL_QUADS);
        glNormal3d(0, 0, -1);
        glVertex3d(x0, y0, z0), glVertex3d(x1, y0, z0), glVertex3d(x1, y1, z0), glVertex3d(x0, y1, z0);
        glNormal3d(0, 0, 1);
        glVertex3d(x0, y0, z1), glVertex3d(x1, y0, z1), glVertex3d(x1, y1, z1), glVertex3d(x0, y1, z1);
        glNormal3d(-1, 0, 0);
        glVertex3d(x0, y0, z0), glVertex3d(x0, y1, z0), glVertex3d(x0, y1, z1), glVertex3d(x0, y0, z1);
        glNormal3d(1, 0, 0);
        glVertex3d(x1, y0, z0), glVertex3d(x1, y1, z0), glVertex3d(x1, y1, z1), glVertex3d(x1, y0, z1);
        glNormal3d(0, -1, 0);
        glVertex3d(x0, y0, z0), glVertex3d(x1, y0, z0), glVertex3d(x1, y0, z1), glVertex3d(x0, y0, z1);
        glNormal3d(0, 1, 0);
        glVertex3d(x0, y1, z0), glVertex3d(x1, y1, z0), glVertex3d(x1, y1, z1), glVertex3d(x0, y1, z1);
        glEnd();
    }
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}

bool TRenderSectorOGL::DrawModel(TStellarBody &root, double scale)
{
    TVexaRenderInfo &info = *root.RenderInfo();
    if (ModelManager && !info.ModelFailed) {
        if (info.ModelIndex < 0) {
            ModelManager->UseContext(ContextIndex);
            info.ModelIndex = ModelManager->LoadModel(root);
        }
        if (info.ModelIndex < 0) {
            info.ModelFailed = true;
            return false;
        }
        ModelManager->UseContext(ContextIndex);
        SetLightAtCamera(Sector_->Camera);
        glEnable(GL_LIGHTING);
        glShadeModel(GL_SMOOTH);
        glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
        glPushMatrix();
        glTranslated(root.X, root.Y, root.Z);
        glScaled(scale, scale, scale);
        ModelManager->DrawModel(info.ModelIndex);
        glPopMatrix();
        glDisable(GL_LIGHTING);
        return true;
    }
    if (info.HasModel && !info.ModelFailed) {
        // A model of its own that nothing can load: from now on a star.
        info.ModelFailed = true;
        return false;
    }
    // No model manager: the stand-in for a default model is the marker sphere
    // in the body's colour, so stations and fleets stay visible.
    if (root.Selected)
        glColor4d(1, 1, 0, 0);
    else
        glColor4d(info.Red, info.Green, info.Blue, 0);
    glPushMatrix();
    glTranslated(root.X, root.Y, root.Z);
    glCallList(MarkerSphereList_);
    glPopMatrix();
    return true;
}

void TRenderSectorOGL::DrawAxisGizmo(const TStellarBody &root)
{
    if (AxisConeList_ == 0) {
        AxisConeList_ = glGenLists(1);
        GLUquadric *q = gluNewQuadric();
        glNewList(AxisConeList_, GL_COMPILE);
        gluCylinder(q, 0.05, 0, 0.1, 16, 16);
        glEndList();
        gluDeleteQuadric(q);
    }
    struct TAxis {
        int mode;
        double dx, dy, dz;
        double r, g, b;
    };
    // The sector's Y axis runs along GL's Z and its Z axis along GL's Y.
    static const TAxis axes[] = {{1, 0.5, 0, 0, 1, 0.2, 0.2}, {2, 0, 0, 0.5, 0.2, 1, 0.2}, {3, 0, 0.5, 0, 0.3, 0.5, 1}};
    glDisable(GL_LIGHTING);
    for (const TAxis &a : axes) {
        const bool chosen = a.mode == AxisMode;
        glColor4d(a.r, a.g, a.b, 1);
        if (!chosen) {
            glEnable(GL_LINE_STIPPLE);
            glLineStipple(1, 0x0F0F);
        }
        glBegin(GL_LINES);
        glVertex3d(root.X - a.dx, root.Y - a.dy, root.Z - a.dz);
        glVertex3d(root.X + a.dx, root.Y + a.dy, root.Z + a.dz);
        glEnd();
        glDisable(GL_LINE_STIPPLE);
        if (!chosen)
            continue;
        for (int sign : {1, -1}) {
            glPushMatrix();
            glTranslated(root.X + sign * a.dx, root.Y + sign * a.dy, root.Z + sign * a.dz);
            if (a.dx != 0)
                glRotated(90.0 * sign, 0, 1, 0);
            else if (a.dy != 0)
                glRotated(-90.0 * sign, 1, 0, 0);
            else if (sign < 0)
                glRotated(180, 0, 1, 0);
            glCallList(AxisConeList_);
            glPopMatrix();
        }
    }
}

void TRenderSectorOGL::DrawStatusText(const TVexaSector &sector, int height)
{
    const bool big = !sector.RenderMessageBig.empty(), small = !sector.RenderMessageSmall.empty();
    if (!big && !small && !DiagnosticTiming)
        return;
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glColor4d(1, 1, 1, 1);
    if (big && LargeFont())
        LargeFont()->DrawAtWindow(20, height - 30, 0, sector.RenderMessageBig, Width_, Height_);
    if (small && SmallFont())
        SmallFont()->DrawAtWindow(20, big ? height - 50 : height - 30, 0, sector.RenderMessageSmall, Width_, Height_);
    if (DiagnosticTiming && SmallFont()) {
        auto ms = [](double t) { return std::to_string(static_cast<long long>(std::llround(t))); };
        const std::string line = "i " + ms(Timings[0]) + " / r" + ms(Timings[1]) + " / s" + ms(Timings[2]) + " / f" +
                                 ms(Timings[3]);
        SmallFont()->DrawAtWindow(20, 20, 0, line, Width_, Height_);
    }
    glEnable(GL_DEPTH_TEST);
}

} // namespace kalvion
