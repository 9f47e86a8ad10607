#include "graphics/RenderOrbitNG.h"

#include "base/AsciiText.h"
#include "base/NumberFormat.h"
#include "base/NumberParse.h"
#include "base/Rounding.h"
#include "graphics/ZentImages.h"
#include "model/BodyTypes.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "science/Orbits.h"
#include "science/VexaDates.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <numbers>

namespace kalvion {

namespace {

constexpr double DEG = std::numbers::pi / 180.0;
// Half the span used when a system's extent is empty or not finite.
constexpr double DEFAULT_HALF_SPAN_KM = DIAGRAM_KM_PER_AU;

int RoundPixel(double v)
{
    if (!std::isfinite(v))
        return 0;
    return static_cast<int>(Round(std::clamp(v, -1.0e9, 1.0e9)));
}

bool IsMultiple(int type) { return type == BODY_TYPE_MULT || type == BODY_TYPE_CLOSEMULT; }

void Turn(const TStellarBody &body, double &x, double &y)
{
    const double a = (body.AnglePeriapsis + 90.0) * DEG;
    const double c = std::cos(a), s = std::sin(a);
    const double nx = x * c - y * s;
    const double ny = x * s + y * c;
    x = nx;
    y = ny;
}

void OrbitPoint(const TStellarBody &body, const TOrbit &orbit, double t, double &x, double &y)
{
    double z = 0;
    orbit.GetPosition(t, x, y, z);
    Turn(body, x, y);
}

} // namespace

TRenderOrbitNG::TRenderOrbitNG(const TVexaSector &sector, const TStellarBody &body) : Sector_(sector), Root_(body) {}

void TRenderOrbitNG::ChildPosition(const TStellarBody &child, double t, double &x, double &y)
{
    const auto orbit = GetOrbit(child);
    OrbitPoint(child, *orbit, t, x, y);
}

void TRenderOrbitNG::Include(double x, double y)
{
    if (!std::isfinite(x) || !std::isfinite(y))
        return;
    MinX = std::min(MinX, x);
    MaxX = std::max(MaxX, x);
    MinY = std::min(MinY, y);
    MaxY = std::max(MaxY, y);
}

void TRenderOrbitNG::IncludeComponents(const TStellarBody &parent, double ox, double oy, double unit)
{
    for (const auto &c : parent.Children) {
        const double x = ox + c->X * unit, y = oy + c->Y * unit;
        Include(x, y);
        if (IsMultiple(c->TypeID) || unit != DIAGRAM_KM_PER_AU)
            IncludeComponents(*c, x, y, unit);
    }
}

void TRenderOrbitNG::ComputeExtent(int orbitLimit, int width, int height)
{
    Width = width;
    Height = height;
    Size = std::min(width, height);
    OffsetX = Size < width ? (width - Size) / 2 : 0;
    OffsetY = Size < height ? (height - Size) / 2 : 0;
    const int count = Root_.ChildrenCount();
    ChildCount = orbitLimit >= 1 && orbitLimit <= count ? orbitLimit : count;
    MinX = MaxX = MinY = MaxY = 0;
    double factor = 1.1;
    if (IsMultiple(Root_.TypeID)) {
        IncludeComponents(Root_, 0, 0, DIAGRAM_KM_PER_AU);
        factor = 1.3;
    } else if (Root_.TypeID == BODY_TYPE_PLANETSYSTEM) {
        IncludeComponents(Root_, 0, 0, 1.0);
        factor = 1.3;
    } else {
        for (int i = 0; i < ChildCount; ++i) {
            const TStellarBody &child = *Root_.Children[static_cast<std::size_t>(i)];
            const auto orbit = GetOrbit(child);
            for (int k = 1; k <= 360; ++k) {
                double x = 0, y = 0;
                OrbitPoint(child, *orbit, k / 360.0 * orbit->Period, x, y);
                Include(x, y);
            }
        }
    }
    MinX *= factor;
    MaxX *= factor;
    MinY *= factor;
    MaxY *= factor;
    // A system with nothing away from its centre (no children, children at
    // distance 0, coincident components) gets a default span instead of a
    // division by zero.
    auto repair = [](double &lo, double &hi) {
        if (!(hi - lo > 0) || !std::isfinite(hi - lo)) {
            const double mid = std::isfinite(lo + hi) ? (lo + hi) / 2 : 0.0;
            lo = mid - DEFAULT_HALF_SPAN_KM;
            hi = mid + DEFAULT_HALF_SPAN_KM;
        }
    };
    repair(MinX, MaxX);
    repair(MinY, MaxY);
}

int TRenderOrbitNG::PX(double x) const { return RoundPixel((x - MinX) / (MaxX - MinX) * Size + OffsetX); }
int TRenderOrbitNG::PY(double y) const { return RoundPixel((y - MinY) / (MaxY - MinY) * Size + OffsetY); }
int TRenderOrbitNG::Len(double km) const { return RoundPixel(Size / (MaxX - MinX) * km); }

void TRenderOrbitNG::Draw(TZentGraphics &g, int orbitLimit, int width, int height)
{
    SetGraphicsQuality(3);
    ComputeExtent(orbitLimit, width, height);
    g.FontName = Sector_.BaseFont;
    if (Root_.ChildrenCount() > 0) {
        if (IsMultiple(Root_.TypeID))
            DrawMultiple(g, Root_, 0, 0, false);
        else if (Root_.TypeID == BODY_TYPE_PLANETSYSTEM)
            DrawMultiple(g, Root_, 0, 0, true);
        else
            DrawStar(g);
    }
    DrawTitle(g);
}

QImage TRenderOrbitNG::Render(int width, int height, int orbitLimit)
{
    QImage image = NewPicture(std::max(1, width), std::max(1, height));
    image.fill(Qt::white);
    {
        TZentGraphics g(&image);
        Draw(g, orbitLimit, image.width(), image.height());
    }
    return image;
}

void TRenderOrbitNG::DrawTitle(TZentGraphics &g)
{
    g.PenStyle = ZPEN_NONE;
    g.NoFill = false;
    g.BrushStyle = ZBRUSH_SOLID;
    g.BrushColor = ColorRGB(0, 0, 0);
    g.Opacity = 255;
    g.FontName = Sector_.BaseFont;
    g.FontSize = FontPoints(24);
    const std::string title = Root_.Name + " System Diagram";
    g.TextOut(20, 20, title);
    if (!IsMultiple(Root_.TypeID)) {
        const int h = g.TextExtent(title).height();
        g.FontSize = FontPoints(18);
        g.TextOut(20, 20 + h + 5, "Date: " + SectorDateText(Sector_));
    }
}

void TRenderOrbitNG::DrawStar(TZentGraphics &g)
{
    const double t = Sector_.Time;
    // 1. Orbits.
    g.PenColor = ColorRGB(0, 0, 0);
    g.PenWidth = 1;
    g.Opacity = 255;
    for (int i = 0; i < ChildCount; ++i) {
        const TStellarBody &child = *Root_.Children[static_cast<std::size_t>(i)];
        if (child.TypeID == BODY_TYPE_RING || child.TypeID == BODY_TYPE_SMALLBODY)
            continue;
        const auto orbit = GetOrbit(child);
        std::vector<QPoint> pts;
        pts.reserve(361);
        for (int k = 0; k <= 360; ++k) {
            double x = 0, y = 0;
            OrbitPoint(child, *orbit, k / 360.0 * orbit->Period, x, y);
            pts.emplace_back(PX(x), PY(y));
        }
        g.PenStyle = child.TypeID == BODY_TYPE_ASTEROIDBELT ? ZPEN_DOT : ZPEN_SOLID;
        g.Polyline(pts);
    }
    // 2. The central body.
    const int cx = PX(0), cy = PY(0);
    const int cr = std::max(Len(Root_.Radius), RoundPixel(Size / 1000.0 * 6));
    g.PenStyle = ZPEN_NONE;
    g.NoFill = false;
    g.BrushStyle = ZBRUSH_SOLID;
    g.BrushColor = ColorRGB(192, 192, 192);
    g.Ellipse(cx - cr, cy - cr, cx + cr, cy + cr);
    // 3. The children at the current date.
    const int r = RoundPixel(Size / 1000.0 * 3);
    for (int i = 0; i < ChildCount; ++i) {
        const TStellarBody &child = *Root_.Children[static_cast<std::size_t>(i)];
        if (child.TypeID == BODY_TYPE_SMALLBODY)
            continue;
        if (child.TypeID == BODY_TYPE_RING) {
            DrawRing(g, child);
            continue;
        }
        double x = 0, y = 0;
        ChildPosition(child, t, x, y);
        const int px = PX(x), py = PY(y);
        g.PenStyle = ZPEN_SOLID;
        g.PenColor = ColorRGB(0, 0, 0);
        g.BrushColor = ColorRGB(0, 0, 0);
        g.NoFill = false;
        g.Opacity = 255;
        if (child.TypeID == BODY_TYPE_STATION)
            g.Polygon({{px, py - r}, {px - r, py}, {px, py + r}, {px + r, py}});
        else if (child.TypeID != BODY_TYPE_ASTEROIDBELT)
            g.Ellipse(px - r, py - r, px + r, py + r);
        DrawLabel(g, child, px, py);
    }
}

void TRenderOrbitNG::DrawLabel(TZentGraphics &g, const TStellarBody &child, int x, int y)
{
    const int cx = PX(0), cy = PY(0);
    g.FontName = Sector_.BaseFont;
    g.FontSize = FontPoints(10);
    g.PenStyle = ZPEN_NONE;
    g.BrushColor = ColorRGB(0, 0, 0);
    g.NoFill = false;
    g.BrushStyle = ZBRUSH_SOLID;
    const std::string line2 = FormatFloat("###,###,###,##0.######", Round(child.Distance)) + " KM";
    const double dx = x - cx, dy = y - cy;
    const double dist = std::hypot(dx, dy);
    if (dist >= 100.0) {
        const int h = g.TextExtent(child.Name).height();
        g.TextOut(x + 8, y, child.Name);
        g.TextOut(x + 8, y + h, line2);
        return;
    }
    // Too close to the centre to read: a leader line outwards, 100 pixels
    // farther from the centre than the child.  A child on the centre itself
    // leads to the right.
    const double ux = dist > 0 ? dx / dist : 1.0, uy = dist > 0 ? dy / dist : 0.0;
    const int ex = RoundPixel(cx + ux * (dist + 100.0)), ey = RoundPixel(cy + uy * (dist + 100.0));
    g.PenStyle = ZPEN_SOLID;
    g.PenColor = ColorRGB(0, 0, 0);
    g.MoveTo(x, y);
    g.LineTo(ex, ey);
    g.PenStyle = ZPEN_NONE;
    const QSize a = g.TextExtent(child.Name), b = g.TextExtent(line2);
    if (ex < cx) {
        g.TextOut(ex - a.width() - 4, ey, child.Name);
        g.TextOut(ex - b.width() - 4, ey + a.height(), line2);
    } else {
        g.TextOut(ex + 4, ey, child.Name);
        g.TextOut(ex + 4, ey + a.height(), line2);
    }
}

void TRenderOrbitNG::DrawRing(TZentGraphics &g, const TStellarBody &ring)
{
    const auto orbit = GetOrbit(ring);
    const double w = ring.Radius >= 100 ? ring.Radius : 4000.0;
    const double outer = ring.Distance + w;
    g.PenStyle = ZPEN_NONE;
    g.NoFill = false;
    g.BrushStyle = ZBRUSH_SOLID;
    g.BrushColor = ColorRGB(192, 192, 192);
    g.Opacity = 128;
    double x0 = 0, y0 = 0;
    OrbitPoint(ring, *orbit, 0, x0, y0);
    for (int k = 0; k < 360; ++k) {
        double x1 = 0, y1 = 0;
        OrbitPoint(ring, *orbit, (k + 1) / 360.0 * orbit->Period, x1, y1);
        auto outerPoint = [&](double x, double y) {
            const double d = std::hypot(x, y);
            const double ux = d > 0 ? x / d : 1.0, uy = d > 0 ? y / d : 0.0;
            return QPoint(PX(ux * outer), PY(uy * outer));
        };
        g.Polygon({QPoint(PX(x0), PY(y0)), QPoint(PX(x1), PY(y1)), outerPoint(x1, y1), outerPoint(x0, y0)});
        x0 = x1;
        y0 = y1;
    }
    g.Opacity = 255;
}

void TRenderOrbitNG::DrawChildOrbit(TZentGraphics &g, const TStellarBody &child, double ox, double oy)
{
    const auto orbit = GetOrbit(child);
    std::vector<QPoint> pts;
    pts.reserve(92);
    double x = 0, y = 0;
    OrbitPoint(child, *orbit, 1 / 360.0 * orbit->Period, x, y);
    pts.emplace_back(PX(ox + x), PY(oy + y));
    for (int k = 8; k <= 360; k += 4) {
        OrbitPoint(child, *orbit, k / 360.0 * orbit->Period, x, y);
        pts.emplace_back(PX(ox + x), PY(oy + y));
    }
    g.PenStyle = ZPEN_SOLID;
    g.PenColor = ColorRGB(192, 192, 192);
    g.Polyline(pts);
}

void TRenderOrbitNG::DrawMultiple(TZentGraphics &g, const TStellarBody &mult, double ox, double oy, bool planetSystem)
{
    const double unit = planetSystem ? 1.0 : DIAGRAM_KM_PER_AU;
    const char *suffix = planetSystem ? " KM" : " AU";
    const auto &kids = mult.Children;
    g.Opacity = 255;
    g.PenWidth = 1;
    for (std::size_t i = 0; i < kids.size(); ++i) {
        const TStellarBody &a = *kids[i];
        const double ax = ox + a.X * unit, ay = oy + a.Y * unit;
        for (std::size_t j = 0; j < kids.size(); ++j) {
            if (j == i)
                continue;
            const TStellarBody &b = *kids[j];
            const double bx = ox + b.X * unit, by = oy + b.Y * unit;
            g.PenStyle = ZPEN_SOLID;
            g.PenColor = ColorRGB(128, 128, 128);
            g.MoveTo(PX(ax), PY(ay));
            g.LineTo(PX(bx), PY(by));
            const double d = std::sqrt((a.X - b.X) * (a.X - b.X) + (a.Y - b.Y) * (a.Y - b.Y) + (a.Z - b.Z) * (a.Z - b.Z));
            g.PenStyle = ZPEN_NONE;
            g.BrushColor = ColorRGB(0, 0, 0);
            g.NoFill = false;
            g.FontName = Sector_.BaseFont;
            g.FontSize = FontPoints(10);
            g.TextOut((PX(ax) + PX(bx)) / 2 + 5, (PY(ay) + PY(by)) / 2 - 10,
                      FormatFloat("#,##0.00", RoundToDecimals(2, d)) + suffix);
        }
        if (!planetSystem && IsMultiple(a.TypeID)) {
            DrawMultiple(g, a, ax, ay, false);
        } else {
            // A star's planets, or a planet's moons; bodies at distance 0
            // have no orbit to draw.
            for (const auto &c : a.Children)
                if (c->Distance > 0)
                    DrawChildOrbit(g, *c, ax, ay);
        }
        const int px = PX(ax), py = PY(ay);
        if (planetSystem || !IsMultiple(a.TypeID)) {
            g.PenStyle = ZPEN_NONE;
            g.BrushColor = ColorRGB(0, 0, 0);
            g.NoFill = false;
            g.Ellipse(px - 2, py - 2, px + 2, py + 2);
        }
        g.PenStyle = ZPEN_NONE;
        g.BrushColor = ColorRGB(0, 0, 0);
        g.FontName = Sector_.BaseFont;
        g.FontSize = FontPoints(10);
        g.TextOut(px - g.TextExtent(a.Name).width() - 2, py, a.Name);
    }
}

bool ExportDiagram(const TVexaSector &sector, const TStellarBody &body, const std::string &fileName, int width,
                   int height, int orbitLimit, std::string *error)
{
    if (width <= 0 || height <= 0 || width > 32768 || height > 32768) {
        if (error)
            *error = "The image size must be between 1 and 32768 pixels";
        return false;
    }
    TRenderOrbitNG render(sector, body);
    const TVectorKind kind = VectorKindForFile(fileName);
    if (kind != TVectorKind::None) {
        auto page = CreateVectorPage(fileName, width, height, error);
        if (!page)
            return false;
        {
            TZentGraphics g(page->Device());
            g.PenStyle = ZPEN_NONE;
            g.BrushColor = ColorRGB(255, 255, 255);
            g.Rectangle(0, 0, width, height);
            render.Draw(g, orbitLimit, width, height);
        }
        return page->Save(error);
    }
    return SaveBitmapToFile(render.Render(width, height, orbitLimit), fileName, error);
}

std::string CheckDiagramExportEntries(const std::string &width, const std::string &height,
                                      const std::string &orbitCount, const std::string &fileName)
{
    if (!ParseInt32(width))
        return "Image Width in Pixels must be a number";
    if (!ParseInt32(height))
        return "Image Height in Pixels must be a number";
    const auto orbits = ParseInt32(orbitCount);
    if (!orbits || *orbits < 0)
        return "Orbit count must be a number greater than 0";
    if (Trim(fileName).empty())
        return "File Name Required";
    return {};
}

} // namespace kalvion
