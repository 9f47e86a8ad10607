#include "render/orbit/RenderOrbitOGL.h"

#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "render/GLHeaders.h"

#include <algorithm>
#include <cmath>

namespace kalvion {

TRenderOrbitOGL::TRenderOrbitOGL() = default;

// The lists and fonts belong to GL contexts that may be gone by now; the
// owner releases them while its context is current (ReleaseLists,
// ReleaseFonts).  What is left is only forgotten.
TRenderOrbitOGL::~TRenderOrbitOGL() = default;

TStellarBody *TRenderOrbitOGL::Root() const { return RootRef_.Get(); }

void TRenderOrbitOGL::SetSystem(TVexaSector *sector, TStellarBody *body)
{
    TStellarBody *root = OrbitSystemRoot(body);
    TStellarBody *current = Root();
    if (root == current && sector == Sector_)
        return;
    StoreCamera();
    ReleaseLists();
    if (sector != Sector_)
        ReloadBackground();
    RootRef_ = TObjectRef<TStellarBody>(root);
    Sector_ = root ? sector : nullptr;
    ChildCount_ = root ? root->Children.size() : 0;
    Kind_ = root ? OrbitSystemKind(root->TypeID) : ORBIT_KIND_STAR;
    Camera = TOrbitCamera{};
    if (!root)
        return;
    Camera.Distance = OrbitDefaultDistance(*root, Kind_);
    Camera.Latitude = 90;
    Camera.Longitude = 0;
    RecallOrbitCamera(*root, Camera);
}

void TRenderOrbitOGL::StoreCamera()
{
    TStellarBody *root = Root();
    if (root && RememberCameras)
        StoreOrbitCamera(*root, Camera);
}

void TRenderOrbitOGL::Rotate(double deltaLongitude, double deltaLatitude)
{
    const double lon = Camera.Longitude + deltaLongitude;
    if (std::isfinite(lon))
        Camera.Longitude = lon;
    const double lat = Camera.Latitude + deltaLatitude;
    if (std::isfinite(lat))
        Camera.Latitude = std::clamp(lat, -90.0, 90.0);
}

void TRenderOrbitOGL::Zoom(double factor)
{
    Camera.Distance = ClampOrbitDistance(Camera.Distance * factor, Camera.Distance);
}

void TRenderOrbitOGL::AdvanceTime()
{
    if (Sector_ && Root())
        Sector_->Time += OrbitTimeStep(TimeRate, TimeDirection);
}

void TRenderOrbitOGL::ReleaseLists()
{
    Lists_.Clear(ContextIndex);
    if (!Textures_.empty())
        glDeleteTextures(static_cast<GLsizei>(Textures_.size()), Textures_.data());
    Textures_.clear();
    NoStoredImage_.clear();
}

void TRenderOrbitOGL::SetFontScale(double scale)
{
    if (!(scale > 0) || std::abs(scale - FontScale_) < 1e-6)
        return;
    FontScale_ = scale;
    ReleaseFonts();
}

void TRenderOrbitOGL::ReleaseFonts()
{
    Fonts_[static_cast<std::size_t>(ContextIndex)].reset();
    FontCreated_[static_cast<std::size_t>(ContextIndex)] = false;
}

void TRenderOrbitOGL::ReloadBackground()
{
    Background_ = TRenderBackgroundImage{};
    BackgroundLoaded_ = false;
}

void TRenderOrbitOGL::ForgetSurfaceTexture(const std::string &idString)
{
    // GL lists are deleted only with their own context current: marked here,
    // made again in the next frame of each context.
    for (auto &stale : StaleMaps_)
        if (std::find(stale.begin(), stale.end(), idString) == stale.end())
            stale.push_back(idString);
}

double TRenderOrbitOGL::Date() const { return Sector_ ? Sector_->Time : 0; }

void TRenderOrbitOGL::LoadBackground()
{
    BackgroundLoaded_ = true;
    Background_ = TRenderBackgroundImage{};
    TVexaImageResource *res = Sector_->ImageResources.GetResourceFromFile("OrbitalBackgroundImage");
    if (!res)
        return;
    Sector_->DynaLoadResource(res);
    if (!res->Data.empty())
        Background_ = DecodeBackgroundImage(res->Data, 255);
}

void TRenderOrbitOGL::Render(int width, int height)
{
    Width_ = std::max(1, width);
    Height_ = std::max(1, height);
    TStellarBody *root = Root();
    if (!root)
        Sector_ = nullptr;
    TextLines[1] = OrbitDistanceText(Camera.Distance, Kind_);
    TextLines[2] = OrbitAnglesText(Camera.Latitude, Camera.Longitude);
    if (Sector_ && !BackgroundLoaded_)
        LoadBackground();
    Eye_ = OrbitEye(Camera);
    const auto ctx = static_cast<std::size_t>(ContextIndex);
    if (!FontCreated_[ctx]) {
        auto font = std::make_unique<TCGFont2D>();
        const std::string face = Sector_ && !Sector_->BaseFont.empty() ? Sector_->BaseFont : FallbackFont;
        font->Create(face, std::max(1, static_cast<int>(std::lround(10 * FontScale_))), false, false);
        Fonts_[ctx] = std::move(font);
        FontCreated_[ctx] = true;
    }

    glViewport(0, 0, Width_, Height_);
    ProjectionMatrix_ = PerspectiveMatrix(45, static_cast<double>(Width_) / Height_, ORBIT_NEAR_PLANE, ORBIT_FAR_PLANE);
    const TMatrix4 modelview = OrbitLookAt(Camera);
    Projection_ = TSceneProjection(modelview, ProjectionMatrix_, 0, 0, Width_, Height_);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(ProjectionMatrix_.data());
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixd(modelview.data());
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawTiledBackground(Background_, 0, 0, Width_, Height_);

    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    const GLfloat white[4] = {1, 1, 1, 1}, none[4] = {0, 0, 0, 0};
    const GLfloat eye[4] = {static_cast<GLfloat>(Eye_.X), static_cast<GLfloat>(Eye_.Y),
                            static_cast<GLfloat>(Eye_.Z), 1};
    glLightfv(GL_LIGHT0, GL_POSITION, eye);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_SPECULAR, white);
    glLightfv(GL_LIGHT0, GL_AMBIENT, none);
    glEnable(GL_LIGHT0);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);

    if (root)
        DrawRoot(*root);

    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    if (ShowText)
        Texts();
    CornerMark();
}

void TRenderOrbitOGL::Texts()
{
    if (Sector_) {
        DateHandler_.SetToSector(*Sector_);
        TextLines[0] = "Date: " + DateHandler_.FormatDate();
    } else {
        TextLines[0].clear();
    }
    TCGFont2D *font = Font();
    if (!font)
        return;
    glColor4d(1, 1, 1, 1);
    for (std::size_t i = 0; i < TextLines.size(); ++i)
        if (!TextLines[i].empty())
            font->DrawAtWindow(20, Height_ - 20.0 * static_cast<double>(i + 1), 0, TextLines[i], Width_, Height_);
    if (!BottomLine.empty())
        font->DrawAtWindow(20, 20, 0, BottomLine, Width_, Height_);
}

void TRenderOrbitOGL::CornerMark()
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0, Width_, 0, Height_);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_BLEND);
    glDisable(GL_LINE_STIPPLE);
    glColor4d(0, 0.5, 0.75, 1);
    glLineWidth(3);
    const double h = Height_;
    glBegin(GL_LINES);
    glVertex2d(4, h - 24);
    glVertex2d(4, h - 4);
    glVertex2d(4, h - 4);
    glVertex2d(24, h - 4);
    glVertex2d(8, h - 24);
    glVertex2d(8, h - 8);
    glVertex2d(8, h - 8);
    glVertex2d(24, h - 8);
    glEnd();
    glLineWidth(1);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

void TRenderOrbitOGL::Label(double x, double y, double z, const std::string &text)
{
    TCGFont2D *font = Font();
    if (!font || text.empty())
        return;
    TMatrix4 modelview;
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview.data());
    const TSceneProjection here(modelview, ProjectionMatrix_, 0, 0, Width_, Height_);
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glColor4d(1, 1, 1, 1);
    font->DrawAt(here, x, y, z, text);
    glPopAttrib();
}

} // namespace kalvion
