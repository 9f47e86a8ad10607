// The preview inset of the 3D sector view: a close-up of one system in the
// upper-left corner with its own orbit camera.
#include "base/NumberFormat.h"
#include "base/SharedRandom.h"
#include "model/VexaSector.h"
#include "render/GLHeaders.h"
#include "render/RenderSectorOGL.h"
#include "render/RenderSources.h"
#include "science/Orbits.h"

#include <algorithm>
#include <cmath>

namespace kalvion {

namespace {

constexpr double OrbitPadKm = 299195780;  // keeps inner orbits clear of the star's flare
constexpr double KmPerAu = 149597890;
constexpr double PreviewRGB[3] = {0, 0.5, 0.75};

bool IsStarPreview(int type)
{
    return type == BODY_TYPE_ANY || type == BODY_TYPE_NOTASSIGNED || type == BODY_TYPE_STAR ||
           type == BODY_TYPE_NEUTRON || (type >= 8 && type <= 11);
}

bool IsModelPreview(int type)
{
    switch (type) {
    case 4:
    case 102:
    case 103:
    case 104:
    case 106:
    case 107:
    case 200:
    case 201:
    case 202:
        return true;
    default:
        return false;
    }
}

void JoinSpectral(const TStellarBody &body, std::string &out)
{
    for (const auto &child : body.Children) {
        if (child->TypeID == BODY_TYPE_CLOSEMULT) {
            JoinSpectral(*child, out);
            continue;
        }
        if (!out.empty())
            out += ", ";
        out += child->Spectral;
    }
}

} // namespace

void TRenderSectorOGL::DrawPreview(TVexaSector &sector, int height, int width)
{
    PreviewRect_ = {-1, -1, -1, -1};
    if (!PreviewBody)
        return;
    TStellarBody &body = *PreviewBody;
    if (body.IDString != PreviewBodyId_) {
        double distance = 20;
        if (body.TypeID == BODY_TYPE_MULT)
            distance = 120;
        else if (body.TypeID == BODY_TYPE_CLOSEMULT || body.TypeID == BODY_TYPE_PLANETSYSTEM)
            distance = 40;
        PreviewCamera.DefaultDistance = distance;
        PreviewCamera.ResetToDefaults();
        PreviewBodyId_ = body.IDString;
        // The textures belong to the body shown before.
        ReleasePreviewTextures();
    }
    int w = 300, h = 300;
    if (PreviewGrowStep > 0) {
        w = std::min(((width - 308) / 10) * PreviewGrowStep + 300, width);
        h = std::min(((height - 308) / 10) * PreviewGrowStep + 300, height);
    }
    const int vx = 4, vy = height - h - 8;
    PreviewRect_ = {4, 8, w + 4, h + 4};

    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glViewport(vx, vy, w, h);
    glScissor(vx, vy, w, h);
    glEnable(GL_SCISSOR_TEST);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    const TMatrix4 projection = PerspectiveMatrix(45, static_cast<double>(w) / std::max(1, h), 0.1, 1000000);
    glLoadMatrixd(projection.data());
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const TVexaPoint eye = PreviewCamera.Eye();
    const TMatrix4 modelview = LookAtMatrix(eye, PreviewCamera.Target, {0, 1, 0});
    glLoadMatrixd(modelview.data());
    if (!PreviewBackgroundImage_.Empty()) {
        DrawBackground(PreviewBackgroundImage_, vx, vy, w, h);
        glViewport(vx, vy, w, h);
    }
    glEnable(GL_DEPTH_TEST);
    SetLightAtCamera(eye);
    glShadeModel(GL_SMOOTH);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);

    bool scanning = false;
    body.InitRenderInfo();
    const TVexaRenderInfo &info = *body.RenderInfo();
    const bool ownModel = info.HasModel && !info.ModelFailed;
    if (ownModel) {
        PreviewModel(body);
    } else if (IsStarPreview(body.TypeID)) {
        PreviewStar(body);
    } else if (body.TypeID == BODY_TYPE_MULT || body.TypeID == BODY_TYPE_CLOSEMULT) {
        PreviewMultiple(body);
    } else if (IsModelPreview(body.TypeID)) {
        PreviewModel(body);
    } else if (body.TypeID == BODY_TYPE_TERRESTRIAL || body.TypeID == BODY_TYPE_GASGIANT) {
        scanning = !PreviewPlanet(sector, body, 5, true);
    } else if (body.TypeID == BODY_TYPE_PLANETSYSTEM) {
        PreviewPlanetSystem(sector, body);
    }

    // Texts and the frame over the inset.
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    PreviewTexts(sector, body, h, scanning);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, w, 0, h);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_BLEND);
    glColor4d(PreviewRGB[0], PreviewRGB[1], PreviewRGB[2], 1);
    glLineWidth(3);
    glBegin(GL_LINE_LOOP);
    glVertex2d(1, 1);
    glVertex2d(w, 1);
    glVertex2d(w, h);
    glVertex2d(1, h);
    glEnd();
    glLineWidth(2);
    glBegin(GL_LINES);
    glVertex2d(w - 22, 4);
    glVertex2d(w - 4, 4);
    glVertex2d(w - 4, 4);
    glVertex2d(w - 4, 20);
    glVertex2d(w - 24, 8);
    glVertex2d(w - 8, 8);
    glVertex2d(w - 8, 8);
    glVertex2d(w - 8, 20);
    glEnd();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
    glViewport(0, 0, Width_, Height_);
}

void TRenderSectorOGL::PreviewTexts(TVexaSector &sector, const TStellarBody &body, int h, bool scanning)
{
    (void)sector;
    TCGFont2D *font = LargeFont();
    if (!font)
        return;
    const int w = PreviewRect_[2] - PreviewRect_[0];
    std::string second, third;
    const std::string typeName = NameFromBodyType(body.TypeID);
    if (body.TypeID == BODY_TYPE_TERRESTRIAL || body.TypeID == BODY_TYPE_GASGIANT) {
        if (scanning) {
            glColor4d(1, 1, 1, 1);
            font->DrawAtWindow(20, h - 40, 0, "Scanning surface...", w, h);
            return;
        }
        second = typeName;
        if (body.Population > 0)
            third = "Population: " + body.FormatPopulation();
    } else if (IsStarPreview(body.TypeID)) {
        second = typeName + ", type " + body.Spectral;
        third = "Luminosity: " + VexaFloatStrRead(body.Luminosity);
    } else if (body.TypeID == BODY_TYPE_MULT || body.TypeID == BODY_TYPE_CLOSEMULT) {
        second = typeName;
        JoinSpectral(body, third);
    } else if (IsModelPreview(body.TypeID)) {
        second = typeName;
        if (body.Population > 0)
            third = "Population: " + body.FormatPopulation();
    } else if (body.TypeID == BODY_TYPE_PLANETSYSTEM) {
        second = typeName;
        if (body.ChildPopulation > 0)
            third = "Population: " + body.FormatChildPopulation();
    } else {
        return;
    }
    glColor4d(PreviewRGB[0], PreviewRGB[1], PreviewRGB[2], 1);
    font->DrawAtWindow(20, h - 40, 0, body.Name, w, h);
    font->DrawAtWindow(20, 40, 0, second, w, h);
    if (!third.empty())
        font->DrawAtWindow(20, 20, 0, third, w, h);
}

void TRenderSectorOGL::PreviewStar(const TStellarBody &body)
{
    TStarFlareOGL flare(0.025f, 32);
    const double r = ColorRed(body.Color) / 255.0, g = ColorGreen(body.Color) / 255.0, b = ColorBlue(body.Color) / 255.0;
    flare.SetColor(r, g, b, 1);
    flare.ViewerDistance = 0.5;
    flare.VeryNear = false;
    flare.Elements &= ~FLARE_HALO;
    flare.Selected = false;
    glPushMatrix();
    GLdouble m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    m[0] = m[5] = m[10] = 1;
    m[1] = m[2] = m[4] = m[6] = m[8] = m[9] = 0;
    glLoadMatrixd(m);
    glScaled(40, 40, 40);
    flare.Draw();
    glPopMatrix();
    PreviewStarOrbits(body);
}

void TRenderSectorOGL::PreviewStarOrbits(const TStellarBody &body)
{
    glPushMatrix();
    glRotated(body.OrbitalPlaneX, 1, 0, 0);
    glRotated(body.OrbitalPlaneY, 0, 1, 0);
    glRotated(body.OrbitalPlaneZ, 0, 0, 1);
    glDisable(GL_LIGHTING);
    for (const auto &owned : body.Children) {
        TStellarBody &child = *owned;
        if (!(child.Distance > 0))
            continue;
        const double kept = child.Distance;
        child.Distance = kept + OrbitPadKm;
        const std::unique_ptr<TOrbit> orbit = GetOrbit(child);
        child.Distance = kept;
        if (!orbit)
            continue;
        glColor4d(ColorRed(child.OrbitColor) / 255.0, ColorGreen(child.OrbitColor) / 255.0,
                  ColorBlue(child.OrbitColor) / 255.0, 1);
        glBegin(GL_LINE_LOOP);
        for (int k = 1; k <= 360; ++k) {
            double x, y, z;
            orbit->GetPosition(orbit->Period * k / 360.0, x, y, z);
            if (std::isfinite(x) && std::isfinite(y) && std::isfinite(z))
                glVertex3d(x / KmPerAu, z / KmPerAu, y / KmPerAu);
        }
        glEnd();
    }
    glPopMatrix();
}

void TRenderSectorOGL::PreviewMultiple(const TStellarBody &body)
{
    for (const auto &owned : body.Children) {
        const TStellarBody &child = *owned;
        glPushMatrix();
        glTranslated(child.X / 100, child.Y / 100, child.Z / 100);
        if (child.TypeID == BODY_TYPE_CLOSEMULT)
            PreviewMultiple(child);
        else
            PreviewStar(child);
        glPopMatrix();
    }
}

bool TRenderSectorOGL::PreviewModel(TStellarBody &body)
{
    const int model = BodyModelIndex(ModelManager, body, ContextIndex);
    if (model < 0)
        return false;
    glEnable(GL_LIGHTING);
    glPushMatrix();
    glScaled(0.125, 0.125, 0.125);
    ModelManager->DrawModel(model);
    glPopMatrix();
    glDisable(GL_LIGHTING);
    return true;
}

bool TRenderSectorOGL::PreviewPlanet(TVexaSector &sector, TStellarBody &body, double radius, bool flipFirst)
{
    const unsigned texture = PlanetTexture(sector, body);
    glEnable(GL_LIGHTING);
    glEnable(GL_COLOR_MATERIAL);
    glPushMatrix();
    if (flipFirst)
        glRotated(180, 1, 0, 0);
    glRotated(90, 1, 0, 0);
    GLUquadric *q = gluNewQuadric();
    gluQuadricNormals(q, GLU_SMOOTH);
    if (texture != 0) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        gluQuadricTexture(q, GL_TRUE);
        glColor4d(1, 1, 1, 1);
    } else {
        glColor4d(0.5, 0.5, 0.5, 1);
    }
    gluSphere(q, radius, 48, 72);
    gluDeleteQuadric(q);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
    PreviewRings(body, radius);
    return texture != 0;
}

void TRenderSectorOGL::PreviewRings(const TStellarBody &body, double radius)
{
    // A planet without a radius has no scale for its rings (they would be
    // infinite discs).
    if (!(body.Radius > 0) || !std::isfinite(body.Radius))
        return;
    // Reseeded every frame, so the bands keep their pattern while shown.
    SetSharedRandomSeed(body.RandomSeed);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glPushMatrix();
    glRotated(88, 1, 0, 0);
    GLUquadric *q = gluNewQuadric();
    for (const auto &child : body.Children) {
        if (child->TypeID != BODY_TYPE_RING)
            continue;
        double r = child->Distance / body.Radius * radius;
        if (!std::isfinite(r) || r > 1e6)
            continue;
        const int bands = 1 + SharedRandomInt(6);
        for (int i = 0; i < bands; ++i) {
            const double blue = 0.7 + SharedRandomInt(30) / 100.0;
            const double green = 0.7 + SharedRandomInt(30) / 100.0;
            const double red = 0.7 + SharedRandomInt(30) / 100.0;
            glColor4d(red, green, blue, 0.8);
            gluDisk(q, r, r + 0.2, 360, 360);
            r += 0.2;
        }
    }
    gluDeleteQuadric(q);
    glPopMatrix();
    glDisable(GL_BLEND);
}

void TRenderSectorOGL::PreviewPlanetSystem(TVexaSector &sector, TStellarBody &body)
{
    std::vector<TStellarBody *> planets;
    for (const auto &child : body.Children)
        if (child->TypeID == BODY_TYPE_TERRESTRIAL || child->TypeID == BODY_TYPE_GASGIANT ||
            child->TypeID == BODY_TYPE_PLANETOID)
            planets.push_back(child.get());
    if (planets.empty())
        return;
    double firstRadius = planets[0]->Radius;
    if (firstRadius < 1)
        firstRadius = 6378.14;
    std::vector<double> radii;
    double sum = 0;
    for (std::size_t i = 0; i < planets.size(); ++i) {
        double r = i == 0 ? 5.0 : planets[i]->Radius / firstRadius * 5;
        if (!std::isfinite(r) || r < 0)
            r = 0;
        r = std::min(r, 1000.0);
        radii.push_back(r);
        sum += r;
    }
    glPushMatrix();
    glTranslated(-sum / 4, sum / 4, 0);
    for (std::size_t i = 0; i < planets.size(); ++i) {
        if (i > 0) {
            const double s = radii[i - 1] + radii[i];
            glTranslated(s / 2, -s / 2, s);
        }
        PreviewPlanet(sector, *planets[i], radii[i], false);
    }
    glPopMatrix();
}

} // namespace kalvion
