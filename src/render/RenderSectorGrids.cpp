// Subsectors, routes and the sector grid of the 3D sector view.
#include "model/VexaSector.h"
#include "render/GLHeaders.h"
#include "render/RenderSectorOGL.h"

#include <charconv>
#include <cmath>
#include <numbers>

namespace kalvion {

namespace {

constexpr double DegToRad = std::numbers::pi / 180;

// Round half to even, as the program's Round.
double RoundEven(double x) { return std::nearbyint(x); }

std::string ShortestNumber(double x)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, x);
    return std::string(buf, r.ptr);
}

void SphereGridPoint(double radius, double latDeg, double lonDeg, double &x, double &y, double &z)
{
    const double t = latDeg * DegToRad, p = lonDeg * DegToRad;
    x = -radius * std::cos(t) * std::cos(p);
    y = radius * std::sin(t);
    z = -radius * std::cos(t) * std::sin(p);
}

void Vertex(double radius, double lat, double lon)
{
    double x, y, z;
    SphereGridPoint(radius, lat, lon, x, y, z);
    glVertex3d(x, y, z);
}

void Tick(double radius, double inner, double lat, double lon)
{
    Vertex(radius, lat, lon);
    Vertex(inner, lat, lon);
}

void BoxEdges(double sx, double sy, double sz)
{
    glBegin(GL_LINES);
    const double xs[2] = {0, sx}, ys[2] = {0, sy}, zs[2] = {0, sz};
    for (double y : ys)
        for (double z : zs) {
            glVertex3d(0, y, z);
            glVertex3d(sx, y, z);
        }
    for (double x : xs)
        for (double z : zs) {
            glVertex3d(x, 0, z);
            glVertex3d(x, sy, z);
        }
    for (double x : xs)
        for (double y : ys) {
            glVertex3d(x, y, 0);
            glVertex3d(x, y, sz);
        }
    glEnd();
}

// The stippled lattice lines of a box from the origin to (sx, sy, sz): through
// every lattice point one line along each axis to the far face.  Each line
// runs from the near face, so the shorter lines that start at inner lattice
// points lie on it already; drawing those again would only restart the
// dashes at other phases and, being six times the line length, hold the
// frame for nothing.
void LatticeLines(double sx, double sy, double sz, double gx, double gy, double gz)
{
    glBegin(GL_LINES);
    for (double x = 0; x <= sx; x += gx)
        for (double y = 0; y <= sy; y += gy) {
            glVertex3d(x, y, 0);
            glVertex3d(x, y, sz);
        }
    for (double x = 0; x <= sx; x += gx)
        for (double z = 0; z <= sz; z += gz) {
            glVertex3d(x, 0, z);
            glVertex3d(x, sy, z);
        }
    for (double y = 0; y <= sy; y += gy)
        for (double z = 0; z <= sz; z += gz) {
            glVertex3d(0, y, z);
            glVertex3d(sx, y, z);
        }
    glEnd();
}

// The GL's matrices now, for text at points under the current transform.
TSceneProjection CurrentProjection()
{
    TMatrix4 mv, pr;
    GLint vp[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, mv.data());
    glGetDoublev(GL_PROJECTION_MATRIX, pr.data());
    glGetIntegerv(GL_VIEWPORT, vp);
    return TSceneProjection(mv, pr, vp[0], vp[1], vp[2], vp[3]);
}

} // namespace

std::uint16_t RouteStipplePattern(int lineStyle)
{
    switch (lineStyle) {
    case ROUTE_LINE_SHORTDASH:
        return ROUTE_STIPPLEOGL_SHORTDASH;
    case ROUTE_LINE_LONGSHORT:
        return ROUTE_STIPPLEOGL_LONGSHORT;
    case ROUTE_LINE_LONGSHORTSHORT:
        return ROUTE_STIPPLEOGL_LONGSHORTSHORT;
    default:
        return ROUTE_STIPPLEOGL_DASH;
    }
}

std::string SphereGridKey(double radius, double step, bool labels)
{
    return "grid" + ShortestNumber(radius) + "-" + ShortestNumber(step) + "-" + (labels ? "1" : "0");
}

double CubeLatticeCells(double sizeX, double sizeY, double sizeZ, double gridX, double gridY, double gridZ)
{
    const double nx = RoundEven(gridX), ny = RoundEven(gridY), nz = RoundEven(gridZ);
    if (!(nx >= 1) || !(ny >= 1) || !(nz >= 1))
        return -1;
    return (sizeX / nx) * (sizeY / ny) * (sizeZ / nz);
}

void TRenderSectorOGL::DrawSubsectors(TVexaSector &sector)
{
    for (const auto &owned : sector.Subsectors) {
        const TVexaSubsector &sub = *owned;
        if (!sub.Visible)
            continue;
        const double r = ColorRed(sub.Color) / 255.0, g = ColorGreen(sub.Color) / 255.0,
                     b = ColorBlue(sub.Color) / 255.0;
        if (sub.ShowLabel) {
            const double dx = sub.X - sector.Camera.X, dy = sub.Y - sector.Camera.Y, dz = sub.Z - sector.Camera.Z;
            if (std::sqrt(dx * dx + dy * dy + dz * dz) < sector.SizeX && NearFont(1)) {
                glColor4d(r, g, b, 1);
                NearFont(1)->DrawAt(Projection_, sub.X, sub.Y, sub.Z, sub.Name);
            }
        }
        if (!sub.ShowGrid)
            continue;
        glPushMatrix();
        glTranslated(sub.X, sub.Y, sub.Z);
        if (sub.RotateX != 0)
            glRotated(sub.RotateX, 1, 0, 0);
        if (sub.RotateY != 0)
            glRotated(sub.RotateY, 0, 1, 0);
        if (sub.RotateZ != 0)
            glRotated(sub.RotateZ, 0, 0, 1);
        glColor4d(r, g, b, 1);
        if (sub.Shape == VEXA_SUBSECTOR_SPHERE)
            DrawSphereGrid(sub.SizeX, sub.GridTick, sub.TickLabels);
        else if (sub.Shape == VEXA_SUBSECTOR_RECT)
            DrawBoxLattice(sub.SizeX, sub.SizeY, sub.SizeZ, sub.GridX, sub.GridY, sub.GridZ);
        glPopMatrix();
    }
}

void TRenderSectorOGL::DrawBoxLattice(double sizeX, double sizeY, double sizeZ, double gridX, double gridY,
                                      double gridZ)
{
    if (!(gridX > 0) || !(gridY > 0) || !(gridZ > 0) || !std::isfinite(sizeX) || !std::isfinite(sizeY) ||
        !std::isfinite(sizeZ))
        return;
    // The same cell guard as the sector grid: a tiny spacing in a big box
    // would otherwise hold the frame for ever.
    const double cells = (std::abs(sizeX) / gridX) * (std::abs(sizeY) / gridY) * (std::abs(sizeZ) / gridZ);
    if (!(cells <= RENDER_MAX_GRID_CELLS))
        return;
    glPushMatrix();
    glTranslated(-sizeX / 2, -sizeY / 2, -sizeZ / 2);
    glEnable(GL_LINE_STIPPLE);
    glLineStipple(4, 0xAAAA);
    glLineWidth(1);
    LatticeLines(sizeX, sizeY, sizeZ, gridX, gridY, gridZ);
    glDisable(GL_LINE_STIPPLE);
    BoxEdges(sizeX, sizeY, sizeZ);
    glPopMatrix();
}

void TRenderSectorOGL::DrawSectorGrid(TVexaSector &sector)
{
    if (sector.GridStyle == GRID_STYLE_CUBE) {
        DrawCubeLattice(sector);
    } else if (sector.GridStyle == GRID_STYLE_SPHERE) {
        const TColor c = sector.GridColor;
        glColor4d(ColorRed(c) / 255.0, ColorGreen(c) / 255.0, ColorBlue(c) / 255.0, 1);
        DrawSphereGrid(sector.SizeX / 2, sector.GridTick, sector.GridTickLabels);
    }
}

void TRenderSectorOGL::DrawCubeLattice(const TVexaSector &sector)
{
    const double cells = CubeLatticeCells(sector.SizeX, sector.SizeY, sector.SizeZ, sector.GridX, sector.GridY,
                                          sector.GridZ);
    if (cells < 0 || !(cells <= RENDER_MAX_GRID_CELLS))
        return;
    const double sx = sector.SizeX, sy = sector.SizeY, sz = sector.SizeZ;
    glPushMatrix();
    glTranslated(-sx / 2, -sy / 2, -sz / 2);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_LINE_SMOOTH);
    glEnable(GL_LINE_STIPPLE);
    glLineStipple(4, 0xAAAA);
    glLineWidth(1);
    const TColor c = sector.GridColor;
    glColor4d(ColorRed(c) / 255.0, ColorGreen(c) / 255.0, ColorBlue(c) / 255.0, 0.9);
    LatticeLines(sx, sy, sz, sector.GridX, sector.GridY, sector.GridZ);
    glDisable(GL_LINE_STIPPLE);
    glColor4d(1, 1, 1, 1);
    BoxEdges(sx, sy, sz);
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_BLEND);
    glPopMatrix();
}

void TRenderSectorOGL::DrawSphereGrid(double radius, double step, bool labels)
{
    if (!std::isfinite(radius) || !std::isfinite(step))
        return;
    const std::string key = SphereGridKey(radius, step, labels);
    unsigned list = 0;
    for (const auto &saved : GridLists_)
        if (saved.Key == key && saved.List[ContextIndex] != 0)
            list = saved.List[ContextIndex];
    if (list == 0) {
        CompileSphereGrid(radius, step, labels);
        list = GridLists_.back().List[ContextIndex];
    }
    glCallList(list);
    if (!labels || !FarFont(0))
        return;
    // Tick labels follow the current transform, so they are drawn with each
    // use of the list rather than compiled into it.
    const double s = step < 1 ? 5 : step;
    const TSceneProjection here = CurrentProjection();
    TCGFont2D &font = *FarFont(0);
    double x, y, z;
    const int lonCount = static_cast<int>(RoundEven(360 / s));
    for (int k = 0; k < lonCount; ++k) {
        const int a = static_cast<int>(RoundEven(k * s));
        SphereGridPoint(radius, 0, a, x, y, z);
        font.DrawAt(here, x, y, z, std::to_string(a));
    }
    const int latCount = static_cast<int>(RoundEven(90 / s));
    for (int k = 0; k < latCount; ++k) {
        const int a = static_cast<int>(RoundEven(k * s));
        SphereGridPoint(radius, a, 0, x, y, z);
        font.DrawAt(here, x, y, z, std::to_string(a));
        SphereGridPoint(radius, -a, 0, x, y, z);
        font.DrawAt(here, x, y, z, std::to_string(-a));
    }
}

void TRenderSectorOGL::CompileSphereGrid(double radius, double step, bool labels)
{
    TRenderSectorOGLSavedList saved;
    saved.Key = SphereGridKey(radius, step, labels);
    const double s = step < 1 ? 5 : step;
    const double R = radius;
    const unsigned list = glGenLists(1);
    saved.List[ContextIndex] = list;
    ++GridListsCompiled_;
    glNewList(list, GL_COMPILE);
    glPushAttrib(GL_ENABLE_BIT | GL_LINE_BIT | GL_COLOR_BUFFER_BIT);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_LINE_SMOOTH);
    glLineWidth(1);
    const int n = static_cast<int>(RoundEven(180 / s));
    for (int k = -n; k <= n; ++k) {
        glBegin(GL_LINE_LOOP);
        for (int phi = 0; phi <= 360; ++phi)
            Vertex(R, k * s, phi);
        glEnd();
    }
    glBegin(GL_LINES);
    for (int phi = 0; phi <= 360; ++phi)
        Tick(R, R - R / 40, 0, phi);
    const int lonCount = static_cast<int>(RoundEven(360 / s));
    for (int k = 0; k <= lonCount; ++k)
        Tick(R, R - R / 20, 0, k * s);
    glEnd();
    const int first = static_cast<int>(RoundEven(s)) - 90, last = static_cast<int>(RoundEven(90 - s));
    for (int k = 0; k <= lonCount; ++k) {
        glBegin(GL_LINE_STRIP);
        for (int theta = first; theta <= last; ++theta)
            Vertex(R, theta, k * s);
        glEnd();
    }
    glBegin(GL_LINES);
    glVertex3d(-R, 0, 0);
    glVertex3d(R, 0, 0);
    glVertex3d(0, -R, 0);
    glVertex3d(0, R, 0);
    glVertex3d(0, 0, -R);
    glVertex3d(0, 0, R);
    glEnd();
    glPopAttrib();
    glEndList();
    GridLists_.push_back(std::move(saved));
}

void TRenderSectorOGL::DrawRoutes(TVexaSector &sector)
{
    const TVexaPoint cam = sector.Camera;
    auto distanceTo = [&](const TRouteWaypoint &w) {
        const double dx = w.X - cam.X, dy = w.Y - cam.Y, dz = w.Z - cam.Z;
        return std::sqrt(dx * dx + dy * dy + dz * dz);
    };
    const bool noLabelFilter = sector.FilterStyle == SECTOR_FILTER_NOLABEL;
    glDisable(GL_LIGHTING);
    for (const auto &owned : sector.Routes) {
        TStellarRoute &route = *owned;
        if (!route.Visible)
            continue;
        if (route.Selected)
            glColor4d(1, 1, 0, 1);
        else
            glColor4d(route.Red, route.Green, route.Blue, 1);
        if (route.LineStyle >= 1) {
            glEnable(GL_LINE_STIPPLE);
            glLineStipple(1, RouteStipplePattern(route.LineStyle));
        }
        glLineWidth(route.LineWidth > 0 ? static_cast<GLfloat>(route.LineWidth) : 1.0f);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_LINE_SMOOTH);
        const int count = route.WaypointCount();
        glBegin(GL_LINES);
        for (int i = 0; i + 1 < count; ++i) {
            const TRouteWaypoint &a = *route.Waypoints[i], &b = *route.Waypoints[i + 1];
            if (!a.Body || !b.Body)
                continue;
            if (!((a.Body->Visible && b.Body->Visible) || noLabelFilter || route.Selected))
                continue;
            if (!route.Selected && !(a.Body->RouteDistance > distanceTo(a)) &&
                !(b.Body->RouteDistance > distanceTo(b)))
                continue;
            const double ex = b.X - a.X, ey = b.Y - a.Y, ez = b.Z - a.Z;
            glVertex3d(a.X + 0.03 * ex, a.Y + 0.03 * ey, a.Z + 0.03 * ez);
            glVertex3d(b.X - 0.03 * ex, b.Y - 0.03 * ey, b.Z - 0.03 * ez);
        }
        glEnd();
        glDisable(GL_LINE_STIPPLE);
        glDisable(GL_BLEND);
        glDisable(GL_LINE_SMOOTH);
        glLineWidth(1);

        for (int i = 0; i + 1 < count; ++i) {
            TRouteWaypoint &a = *route.Waypoints[i], &b = *route.Waypoints[i + 1];
            for (TRouteWaypoint *w : {&a, &b}) {
                TWindowPoint p;
                if (!NoRaster && Projection_.Project(w->X, w->Y, w->Z, p) && std::abs(p.X) < 1e9 &&
                    std::abs(p.Y) < 1e9) {
                    w->RasterX = static_cast<std::int32_t>(std::nearbyint(p.X));
                    w->RasterY = static_cast<std::int32_t>(std::nearbyint(p.Y));
                } else {
                    w->RasterX = w->RasterY = -1;
                }
            }
            if (!a.Body || !b.Body || !((a.Body->Visible && b.Body->Visible) || noLabelFilter))
                continue;
            const double dA = distanceTo(a), dB = distanceTo(b);
            if (!(a.Body->LabelDistance > dA) && !(b.Body->LabelDistance > dB))
                continue;
            const double ex = b.X - a.X, ey = b.Y - a.Y, ez = b.Z - a.Z;
            const double length = std::sqrt(ex * ex + ey * ey + ez * ez);
            std::string text = sector.DistanceString(length, false);
            if (dA < 5 || dB < 5)
                text = route.Name + " " + text;
            glEnable(GL_DEPTH_TEST);
            if (FarFont(0))
                FarFont(0)->DrawAt(Projection_, (a.X + b.X) / 2, (a.Y + b.Y) / 2, (a.Z + b.Z) / 2, text);
        }
    }
}

} // namespace kalvion
