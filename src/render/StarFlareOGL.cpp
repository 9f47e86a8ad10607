#include "render/StarFlareOGL.h"

#include "base/SharedRandom.h"
#include "render/GLHeaders.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kalvion {

namespace {

constexpr double Pi = std::numbers::pi;

// One halo ring: an inner band from r - g to r whose alpha rises to the
// middle colour, and an outer band from r to r + g falling back, around the
// circle twice (which doubles its additive light).
void HaloRing(double r, double g, double aspect, int n, const double edge[4], const double middle[4])
{
    const double c = Pi / n;
    glBegin(GL_QUADS);
    for (int k = 0; k < 2 * n; ++k) {
        const double a0 = 2 * k * c, a1 = 2 * (k + 1) * c;
        const double c0 = std::cos(a0), s0 = std::sin(a0) * aspect;
        const double c1 = std::cos(a1), s1 = std::sin(a1) * aspect;
        // inner band
        glColor4dv(edge);
        glVertex3d(c0 * (r - g), s0 * (r - g), 0);
        glVertex3d(c1 * (r - g), s1 * (r - g), 0);
        glColor4dv(middle);
        glVertex3d(c1 * r, s1 * r, 0);
        glVertex3d(c0 * r, s0 * r, 0);
        // outer band
        glVertex3d(c0 * r, s0 * r, 0);
        glVertex3d(c1 * r, s1 * r, 0);
        glColor4dv(edge);
        glVertex3d(c1 * (r + g), s1 * (r + g), 0);
        glVertex3d(c0 * (r + g), s0 * (r + g), 0);
    }
    glEnd();
}

void DeleteList(unsigned &list)
{
    if (list != 0)
        glDeleteLists(list, 1);
    list = 0;
}

} // namespace

TStarFlareOGL::~TStarFlareOGL()
{
    DeleteList(CoreList_);
    DeleteList(HaloList_);
    DeleteList(RaysList_);
}

void TStarFlareOGL::MakeCore()
{
    const double s = Size, a = Aspect, c = Pi / Segments;
    CoreList_ = glGenLists(1);
    glNewList(CoreList_, GL_COMPILE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBegin(GL_TRIANGLE_FAN);
    glVertex3d(0, 0, 0);  // in the current colour, set before the list is called
    glColor4d(1, 0.2, 0, 0);
    for (int k = 0; k <= Segments; ++k)
        glVertex3d(std::cos(2 * k * c) * s, std::sin(2 * k * c) * a * s, 0);
    glEnd();
    glEndList();
}

void TStarFlareOGL::MakeHalo()
{
    const double s = Size, g = Size / 20.0;
    static const double orangeEdge[4] = {1, 0.4, 0, 0}, orangeMid[4] = {1, 0.2, 0, 0.05};
    static const double whiteEdge[4] = {1, 1, 1, 0}, whiteMid[4] = {1, 1, 1, 0.05};
    static const double blueEdge[4] = {0, 0.4, 1, 0}, blueMid[4] = {0, 0.2, 1, 0.05};
    HaloList_ = glGenLists(1);
    glNewList(HaloList_, GL_COMPILE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glPushMatrix();
    glScaled(0.6, 0.6, 0.6);
    HaloRing(1.6 * s, g, Aspect, Segments, orangeEdge, orangeMid);
    HaloRing(1.55 * s, g, Aspect, Segments, whiteEdge, whiteMid);
    HaloRing(1.5 * s, g, Aspect, Segments, blueEdge, blueMid);
    glPopMatrix();
    glEndList();
}

void TStarFlareOGL::MakeRays()
{
    // The rays' lengths come from the shared generator once per object; the
    // sector view makes a new flare each frame, so its stars twinkle.
    const double s = Size, a = Aspect;
    const int count = 20 * Segments;
    RaysList_ = glGenLists(1);
    glNewList(RaysList_, GL_COMPILE);
    glLineWidth(1);
    glEnable(GL_LINE_SMOOTH);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glBegin(GL_LINES);
    for (int k = 0; k <= count; ++k) {
        const double u = SharedRandomFloat();
        const double len = (k % 2 == 1) ? u * 1.5 : u;
        const double phi = 2 * Pi * k / count;
        glColor4d(1, 0.8, 0.5, 0.1);
        glVertex3d(0, 0, 0);
        glColor4d(0.5, 0.2, 0, 0);
        glVertex3d(std::cos(phi) * len * s, std::sin(phi) * len * a * s, 0);
    }
    glEnd();
    glEndList();
}

void TStarFlareOGL::DrawSpikes()
{
    SpikeCount = SpikesForDistance(ViewerDistance);
    glEnable(GL_LINE_SMOOTH);
    glLineWidth(SpikeLineWidth);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glBegin(GL_LINES);
    for (int f = 0; f < SpikeCount; ++f) {
        const double phi = 2 * SpikeRotation * Pi / 180 + f * 2 * Pi / SpikeCount + Pi / 2;
        if (Selected)
            glColor4d(SelectedColor[0], SelectedColor[1], SelectedColor[2], 1);
        else
            glColor4d(Color[0], Color[1], Color[2], 1);
        glVertex3d(0, 0, 0);
        if (Selected)
            glColor4d(1, 1, 0, 0);
        else
            glColor4d(0.2, 0, 1, 0);
        glVertex3d(std::cos(phi) * 1.5 * Size, std::sin(phi) * 1.5 * Size, 0);
    }
    glEnd();
}

void TStarFlareOGL::Draw()
{
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushMatrix();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    if (Elements & FLARE_CORE) {
        glColor4d(Color[0], Color[1], Color[2], 0.5);
        if (CoreList_ == 0)
            MakeCore();
        glCallList(CoreList_);
    }
    if (Elements & FLARE_HALO) {
        if (HaloList_ == 0)
            MakeHalo();
        glCallList(HaloList_);
    }
    if (Elements & FLARE_SPIKES)
        DrawSpikes();
    if ((Elements & FLARE_RAYS) && RaysForDistance(ViewerDistance)) {
        if (RaysList_ == 0)
            MakeRays();
        glCallList(RaysList_);
    }
    glPopMatrix();
    glPopAttrib();
    Selected = false;
}

void TStarFlareOGL::DrawGhost(int kind, double scale)
{
    double centre[4], rim[4];
    if (kind == 1) {
        const double c[4] = {0, 0.2, 1, 0}, r[4] = {0, 0.8, 0.2, 0.1};
        std::copy(c, c + 4, centre);
        std::copy(r, r + 4, rim);
    } else if (kind == 2) {
        const double c[4] = {0.2, 0, 1, 0}, r[4] = {0.8, 0, 0.2, 0.1};
        std::copy(c, c + 4, centre);
        std::copy(r, r + 4, rim);
    } else {
        return;
    }
    const double s = Size, a = Aspect, c = Pi / Segments;
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushMatrix();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glScaled(scale, scale, scale);
    glBegin(GL_TRIANGLE_FAN);
    glColor4dv(centre);
    glVertex3d(0, 0, 0);
    glColor4dv(rim);
    for (int k = 0; k <= Segments; ++k)
        glVertex3d(std::cos(2 * k * c) * s, std::sin(2 * k * c) * a * s, 0);
    glEnd();
    glPopMatrix();
    glPopAttrib();
}

} // namespace kalvion
