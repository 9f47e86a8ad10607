// The scenes of the 3D system view: stars with their children, multiple
// stars, planets with moons, planetary systems, rings, belts and models.
#include "base/NumberFormat.h"
#include "graphics/ZentImages.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "render/GLHeaders.h"
#include "render/RenderSources.h"
#include "render/StarFlareOGL.h"
#include "render/orbit/RenderOrbitOGL.h"
#include "science/Orbits.h"

#include <QImage>

#include <algorithm>
#include <cmath>

namespace kalvion {

namespace {

bool IsPlanetType(int type) { return type == BODY_TYPE_TERRESTRIAL || type == BODY_TYPE_GASGIANT; }

// Bodies shown as 3D models (or, without one, as a small flare).
bool IsModelType(int type)
{
    switch (type) {
    case BODY_TYPE_STATION:
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

void SetColour(TColor c, double alpha)
{
    glColor4d(ColorRed(c) / 255.0, ColorGreen(c) / 255.0, ColorBlue(c) / 255.0, alpha);
}

} // namespace

void TRenderOrbitOGL::DrawRoot(TStellarBody &root)
{
    root.InitRenderInfo();
    if (root.RenderInfo()->HasModel && !root.RenderInfo()->ModelFailed && Model(root))
        return;
    const int type = root.TypeID;
    if (type == BODY_TYPE_MULT || type == BODY_TYPE_CLOSEMULT) {
        MultipleScene(root, {0, 0, 0});
    } else if (IsModelType(type) || type == BODY_TYPE_ASTEROIDBELT) {
        ModelOrFlare(root);
    } else if (IsPlanetType(type)) {
        PlanetSunLight(root);
        Planet(root, true);
    } else if (type == BODY_TYPE_PLANETSYSTEM) {
        PlanetSystemScene(root);
    } else {
        StarScene(root);
    }
}

void TRenderOrbitOGL::StarScene(TStellarBody &star)
{
    StarFlare(star);
    if (Kind_ == ORBIT_KIND_MULTIPLE)
        MultipleOrbits(star);
    else
        ChildrenScene(star);
}

void TRenderOrbitOGL::StarFlare(const TStellarBody &star)
{
    const double radius = star.Radius == 0 ? 1 : star.Radius;
    double size = radius * ORBIT_KM_PER_SOLAR_RADIUS * 10 / ORBIT_KM_PER_AU;
    if (Kind_ == ORBIT_KIND_MULTIPLE)
        size = 0.0001;
    else if (Kind_ == ORBIT_KIND_PLANET)
        size = radius * ORBIT_KM_PER_SOLAR_RADIUS / ORBIT_KM_PER_EARTH_RADIUS;
    if (!std::isfinite(size))
        return;
    TStarFlareOGL flare(static_cast<float>(size), 32);
    flare.SetColor(ColorRed(star.Color) / 255.0, ColorGreen(star.Color) / 255.0, ColorBlue(star.Color) / 255.0, 1);
    flare.VeryNear = true;
    flare.ViewerDistance = 4;
    glPushMatrix();
    // Facing the viewer: the rotation part of the modelview is dropped.
    GLdouble m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    m[0] = m[5] = m[10] = 1;
    m[1] = m[2] = m[4] = m[6] = m[8] = m[9] = 0;
    glLoadMatrixd(m);
    glDisable(GL_CULL_FACE);
    flare.Draw();
    glEnable(GL_CULL_FACE);
    glPopMatrix();
}

void TRenderOrbitOGL::MultipleOrbits(TStellarBody &star)
{
    glDisable(GL_LIGHTING);
    for (const auto &owned : star.Children) {
        TStellarBody &child = *owned;
        if (!(child.Distance >= 1))
            continue;
        glPushMatrix();
        glRotated(star.OrbitalPlaneX, 1, 0, 0);
        glRotated(star.OrbitalPlaneZ, 0, 1, 0);
        glRotated(star.OrbitalPlaneY, 0, 0, 1);
        TOpenGLSavedList &entry = Lists_.Get(child.IDString.str());
        unsigned &list = entry.OrbitList[static_cast<std::size_t>(ContextIndex)];
        if (list == 0) {
            const std::unique_ptr<TOrbit> orbit = PaddedOrbit(child);
            OrbitLoopVertices(*orbit, ORBIT_KM_PER_AU * 1000, Vertices_);
            list = glGenLists(1);
            glNewList(list, GL_COMPILE);
            SetColour(child.OrbitColor, 1);
            glBegin(GL_LINE_LOOP);
            for (std::size_t i = 0; i + 2 < Vertices_.size(); i += 3)
                glVertex3d(Vertices_[i], Vertices_[i + 1], Vertices_[i + 2]);
            glEnd();
            glEndList();
        }
        glCallList(list);
        glPopMatrix();
    }
}

void TRenderOrbitOGL::ChildOrbit(TStellarBody &child, double scale)
{
    TOpenGLSavedList &entry = Lists_.Get(child.IDString.str());
    unsigned &list = entry.OrbitList[static_cast<std::size_t>(ContextIndex)];
    if (list == 0) {
        const std::unique_ptr<TOrbit> orbit = GetOrbit(child);
        OrbitLoopVertices(*orbit, scale, Vertices_);
        list = glGenLists(1);
        glNewList(list, GL_COMPILE);
        SetColour(child.OrbitColor, 1);
        // A belt's orbit is dotted (pattern 0x000F).  Other orbits are solid:
        // the pattern 0xFFFF draws every pixel, so stippling stays off for
        // them, which spares a software renderer its slow stipple path.
        const bool belt = child.TypeID == BODY_TYPE_ASTEROIDBELT;
        if (belt) {
            glLineStipple(1, 0x000F);
            glEnable(GL_LINE_STIPPLE);
        }
        glBegin(GL_LINE_LOOP);
        for (std::size_t i = 0; i + 2 < Vertices_.size(); i += 3)
            glVertex3d(Vertices_[i], Vertices_[i + 1], Vertices_[i + 2]);
        glEnd();
        if (belt)
            glDisable(GL_LINE_STIPPLE);
        glEndList();
    }
    glCallList(list);
}

void TRenderOrbitOGL::ChildrenScene(TStellarBody &parent)
{
    const double s = OrbitChildScale(Kind_);
    if (Kind_ == ORBIT_KIND_MULTIPLE || !(s > 0))
        return;
    if (ShowOrbits) {
        glDisable(GL_LIGHTING);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_LINE_SMOOTH);
        for (const auto &owned : parent.Children)
            if (owned->Distance >= 1 && owned->TypeID != BODY_TYPE_RING)
                ChildOrbit(*owned, s);
        glDisable(GL_LINE_SMOOTH);
        glDisable(GL_BLEND);
    }
    if (Kind_ == ORBIT_KIND_STAR) {
        const GLfloat origin[4] = {0, 0, 0, 1};
        glLightfv(GL_LIGHT0, GL_POSITION, origin);
    }
    const double date = Date();
    for (const auto &owned : parent.Children) {
        TStellarBody &child = *owned;
        if (!(child.Distance >= 1))
            continue;
        if (child.TypeID == BODY_TYPE_RING) {
            Ring(child, s);
            continue;
        }
        double x, y, z;
        if (!OrbitPositionAt(child, date, x, y, z))
            continue;
        child.InitRenderInfo();
        const bool ownModel = child.RenderInfo()->HasModel && !child.RenderInfo()->ModelFailed;
        glPushMatrix();
        glTranslated(x / s, z / s, y / s);
        if (ownModel || IsModelType(child.TypeID))
            ModelOrFlare(child);
        else if (IsPlanetType(child.TypeID))
            Planet(child, false);
        else if (child.TypeID == BODY_TYPE_ASTEROIDBELT && ShowNames && !IsRoot(child))
            Label(0, 0, 0, child.Name);
        glPopMatrix();
    }
}

void TRenderOrbitOGL::Ring(TStellarBody &ring, double scale)
{
    const double inner = ring.Distance / scale, outer = (ring.Distance + ring.Radius) / scale;
    if (!std::isfinite(inner) || !std::isfinite(outer) || !(outer > inner))
        return;
    TOpenGLSavedList &entry = Lists_.Get(ring.IDString.str());
    unsigned &list = entry.BodyList[static_cast<std::size_t>(ContextIndex)];
    if (list == 0) {
        list = glGenLists(1);
        glNewList(list, GL_COMPILE);
        GLUquadric *q = gluNewQuadric();
        gluDisk(q, inner, outer, 360, ORBIT_RING_LOOPS);
        gluDeleteQuadric(q);
        glEndList();
    }
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glPushMatrix();
    glRotated(-90, 1, 0, 0);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4d(0.8, 0.7, 0.8, 0.2);
    glCallList(list);
    glPopMatrix();
    glPopAttrib();
}

void TRenderOrbitOGL::PlanetSunLight(TStellarBody &planet)
{
    double x, y, z;
    if (!PlanetPositionFromStar(planet, Date(), x, y, z))
        return;
    const GLfloat at[4] = {static_cast<GLfloat>(-x / ORBIT_KM_PER_EARTH_RADIUS),
                           static_cast<GLfloat>(-z / ORBIT_KM_PER_EARTH_RADIUS),
                           static_cast<GLfloat>(-y / ORBIT_KM_PER_EARTH_RADIUS), 1};
    glPushMatrix();
    glRotated(-planet.AxialTilt, 1, 0, 0);
    glLightfv(GL_LIGHT0, GL_POSITION, at);
    glPopMatrix();
}

void TRenderOrbitOGL::Planet(TStellarBody &planet, bool withMoons)
{
    const bool planetKind = Kind_ == ORBIT_KIND_PLANET;
    const double q = planetKind ? planet.Radius / ORBIT_KM_PER_EARTH_RADIUS : planet.Radius / ORBIT_KM_PER_AU * 10;
    glPushMatrix();
    glRotated(-OrbitRotationPhase(planet, Date()), 0, 1, 0);
    glEnable(GL_LIGHTING);
    PlanetBodyList(planet);
    glDisable(GL_LIGHTING);
    if (ShowAxis) {
        const double a = planetKind ? planet.Radius / ORBIT_KM_PER_EARTH_RADIUS : planet.Radius / ORBIT_KM_PER_AU * 30;
        glColor4d(1, 0.5, 1, 1);
        glBegin(GL_LINES);
        glVertex3d(0, 0, -3 * a);
        glVertex3d(0, 0, 3 * a);
        glEnd();
    }
    glPopMatrix();
    LabelOffset_ = 3 * q;
    if (ShowNames && !IsRoot(planet))
        Label(-3 * q, 3 * q, 3 * q, planet.Name);
    if (withMoons)
        ChildrenScene(planet);
}

void TRenderOrbitOGL::PlanetBodyList(TStellarBody &planet)
{
    TOpenGLSavedList &entry = Lists_.Get(planet.IDString.str());
    const auto ctx = static_cast<std::size_t>(ContextIndex);
    auto &stale = StaleMaps_[ctx % StaleMaps_.size()];
    const auto staleAt = std::find(stale.begin(), stale.end(), planet.IDString.str());
    const bool replaced = staleAt != stale.end();
    if (replaced)
        stale.erase(staleAt);
    if (entry.BodyList[ctx] != 0 &&
        (replaced || (!entry.Textured && SurfaceMapMgr && !SurfaceMapMgr->CurrentMap(planet.IDString).isNull()))) {
        // The map has arrived, or changed, since the sphere was made.
        Lists_.DeleteBodyList(entry, ContextIndex);
    }
    if (entry.BodyList[ctx] == 0) {
        bool textured = false;
        const unsigned list = BuildPlanetList(planet, textured);
        // Building may have grown the list manager: look the entry up again.
        TOpenGLSavedList &fresh = Lists_.Get(planet.IDString.str());
        fresh.BodyList[ctx] = list;
        fresh.Textured = textured;
    }
    glCallList(Lists_.Get(planet.IDString.str()).BodyList[ctx]);
}

unsigned TRenderOrbitOGL::BuildPlanetList(TStellarBody &planet, bool &textured)
{
    const double q =
        Kind_ == ORBIT_KIND_PLANET ? planet.Radius / ORBIT_KM_PER_EARTH_RADIUS : planet.Radius / ORBIT_KM_PER_AU * 10;
    QImage image;
    if (Sector_ && std::find(NoStoredImage_.begin(), NoStoredImage_.end(), planet.IDString) == NoStoredImage_.end()) {
        if (const auto stream = Sector_->GetPreviewImageStream(&planet))
            image = DecodeImage(*stream);
        if (image.isNull())
            NoStoredImage_.push_back(planet.IDString);
    }
    if (image.isNull() && SurfaceMapMgr)
        image = SurfaceMapMgr->CurrentMap(planet.IDString);
    unsigned texture = 0;
    if (!image.isNull()) {
        texture = UploadTexture(image, 1024, 512);
        if (texture != 0)
            Textures_.push_back(texture);
    }
    textured = texture != 0;
    const unsigned list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT);
    glPushMatrix();
    if (textured) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    glRotated(-90, 1, 0, 0);
    if (!IsRoot(planet))
        glRotated(planet.AxialTilt, 1, 0, 0);
    glColor4d(1, 1, 1, 1);
    GLUquadric *quadric = gluNewQuadric();
    gluQuadricNormals(quadric, GLU_SMOOTH);
    gluQuadricTexture(quadric, textured ? GL_TRUE : GL_FALSE);
    if (std::isfinite(q) && q > 0)
        gluSphere(quadric, q, 32, 32);
    gluDeleteQuadric(quadric);
    glPopMatrix();
    glPopAttrib();
    glEndList();
    return list;
}

void TRenderOrbitOGL::MultipleScene(TStellarBody &multiple, const TVexaPoint &offset)
{
    const auto &parts = multiple.Children;
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    for (std::size_t i = 0; i < parts.size(); ++i)
        for (std::size_t j = 0; j < parts.size(); ++j) {
            if (i == j)
                continue;
            const TStellarBody &a = *parts[i], &b = *parts[j];
            glColor4d(1, 1, 1, 0.1);
            glBegin(GL_LINES);
            glVertex3d(a.X * 0.0001, a.Y * 0.0001, a.Z * 0.0001);
            glVertex3d(b.X * 0.0001, b.Y * 0.0001, b.Z * 0.0001);
            glEnd();
            const double d = std::hypot(a.X - b.X, a.Y - b.Y, a.Z - b.Z);
            if (ShowNames)
                Label((a.X + b.X) * 0.00005, (a.Y + b.Y) * 0.00005, (a.Z + b.Z) * 0.00005, OrbitAuText(d));
        }
    glDisable(GL_BLEND);
    for (const auto &owned : parts) {
        TStellarBody &part = *owned;
        glColor4d(1, 1, 1, 1);
        glPushMatrix();
        glTranslated(part.X * 0.0001, part.Y * 0.0001, part.Z * 0.0001);
        switch (MultiplePartKind(part.TypeID)) {
        case TMultiplePart::Multiple:
            MultipleScene(part, offset);
            break;
        case TMultiplePart::Star:
            StarScene(part);
            if (ShowNames)
                Label(0.0004, 0.0004, 0.0004, MultipleStarLabel(part, offset, Eye_));
            break;
        case TMultiplePart::None:
            break;
        }
        glPopMatrix();
    }
}

void TRenderOrbitOGL::PlanetSystemScene(TStellarBody &system)
{
    for (const auto &owned : system.Children) {
        TStellarBody &child = *owned;
        glPushMatrix();
        glTranslated(child.X / ORBIT_KM_PER_EARTH_RADIUS, child.Y / ORBIT_KM_PER_EARTH_RADIUS,
                     child.Z / ORBIT_KM_PER_EARTH_RADIUS);
        if (IsModelType(child.TypeID) || child.TypeID == BODY_TYPE_ASTEROIDBELT)
            ModelOrFlare(child);
        else if (IsPlanetType(child.TypeID))
            Planet(child, true);
        glPopMatrix();
    }
}

bool TRenderOrbitOGL::Model(TStellarBody &body)
{
    const int model = BodyModelIndex(ModelManager, body, ContextIndex);
    if (model < 0)
        return false;
    const double scale = Kind_ == ORBIT_KIND_CRAFT ? 0.5 : 0.0001;
    glPushAttrib(GL_ENABLE_BIT | GL_LIGHTING_BIT);
    glEnable(GL_LIGHTING);
    glShadeModel(GL_SMOOTH);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    glDisable(GL_CULL_FACE);
    glPushMatrix();
    glScaled(scale, scale, scale);
    ModelManager->DrawModel(model);
    glPopMatrix();
    glPopAttrib();
    const double q =
        Kind_ == ORBIT_KIND_PLANET ? body.Radius / ORBIT_KM_PER_EARTH_RADIUS : body.Radius / ORBIT_KM_PER_AU * 10;
    if (ShowNames && !IsRoot(body) && std::isfinite(q))
        Label(-3 * q, 3 * q, 3 * q, body.Name);
    return true;
}

void TRenderOrbitOGL::ModelOrFlare(TStellarBody &body)
{
    if (Model(body))
        return;
    // Without a model the body still shows where it is: a small flare a
    // few pixels across at any camera distance.
    const double size = Camera.Distance * 0.004;
    TStarFlareOGL flare(static_cast<float>(size), 16);
    flare.SetColor(ColorRed(body.Color) / 255.0, ColorGreen(body.Color) / 255.0, ColorBlue(body.Color) / 255.0, 1);
    flare.ViewerDistance = 10;
    flare.Elements = FLARE_CORE | FLARE_SPIKES;
    glPushMatrix();
    GLdouble m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    m[0] = m[5] = m[10] = 1;
    m[1] = m[2] = m[4] = m[6] = m[8] = m[9] = 0;
    glLoadMatrixd(m);
    glDisable(GL_CULL_FACE);
    flare.Draw();
    glEnable(GL_CULL_FACE);
    glPopMatrix();
    if (ShowNames && !IsRoot(body))
        Label(0, 0, 0, body.Name);
}

} // namespace kalvion
