#include "graphics/RenderSectorNG.h"

#include "base/AsciiText.h"
#include "base/NumberFormat.h"
#include "graphics/ZentImages.h"
#include "model/BodyTypes.h"
#include "model/StellarBody.h"
#include "model/StellarRoute.h"
#include "model/VexaSector.h"

#include <QImage>

#include <algorithm>
#include <cmath>

namespace kalvion {

namespace {

// Truncation towards zero held inside the pixel range a painter can take.
int TruncPixel(double v)
{
    if (!std::isfinite(v))
        return 0;
    return static_cast<int>(std::trunc(std::clamp(v, -1.0e9, 1.0e9)));
}

constexpr TColor WHITE = ColorRGB(255, 255, 255);
constexpr TColor BLACK = ColorRGB(0, 0, 0);
constexpr TColor GREY = ColorRGB(128, 128, 128);
constexpr TColor RED = ColorRGB(255, 0, 0);

int Channel(double c)
{
    const double v = 255.0 * c;
    if (!std::isfinite(v))
        return 0;
    return static_cast<int>(std::trunc(std::clamp(v, 0.0, 255.0)));
}

int PenStyleForRoute(int lineStyle)
{
    switch (lineStyle) {
    case ROUTE_LINE_DASH: return ZPEN_DASH;
    case ROUTE_LINE_SHORTDASH: return ZPEN_DOT;
    case ROUTE_LINE_LONGSHORT: return ZPEN_DASHDOT;
    case ROUTE_LINE_LONGSHORTSHORT: return ZPEN_DASHDOTDOT;
    default: return ZPEN_SOLID;
    }
}

} // namespace

// ---- placed labels ----

void TPlacedLabels::Clear()
{
    Rects_.clear();
    Cells_.clear();
}

bool TPlacedLabels::Intersects(const QRect &r) const
{
    const int x0 = r.left() / CELL - (r.left() < 0), x1 = r.right() / CELL - (r.right() < 0);
    const int y0 = r.top() / CELL - (r.top() < 0), y1 = r.bottom() / CELL - (r.bottom() < 0);
    for (int cy = y0; cy <= y1; ++cy)
        for (int cx = x0; cx <= x1; ++cx) {
            const auto it = Cells_.find(Key(cx, cy));
            if (it == Cells_.end())
                continue;
            for (int i : it->second)
                if (Rects_[static_cast<std::size_t>(i)].intersects(r))
                    return true;
        }
    return false;
}

void TPlacedLabels::Add(const QRect &r)
{
    const int index = static_cast<int>(Rects_.size());
    Rects_.push_back(r);
    const int x0 = r.left() / CELL - (r.left() < 0), x1 = r.right() / CELL - (r.right() < 0);
    const int y0 = r.top() / CELL - (r.top() < 0), y1 = r.bottom() / CELL - (r.bottom() < 0);
    for (int cy = y0; cy <= y1; ++cy)
        for (int cx = x0; cx <= x1; ++cx)
            Cells_[Key(cx, cy)].push_back(index);
}

// ---- projection ----

TRenderSectorNG::TRenderSectorNG(const TVexaSector &sector) : Sector_(sector) {}

double TRenderSectorNG::MapWidth() const
{
    return Plane == MAP_PLANE_YZ ? Sector_.SizeZ : Sector_.SizeX;
}
double TRenderSectorNG::MapHeight() const
{
    return Plane == MAP_PLANE_XZ ? Sector_.SizeZ : Sector_.SizeY;
}
double TRenderSectorNG::DepthExtent() const
{
    return Plane == MAP_PLANE_XY ? Sector_.SizeZ : (Plane == MAP_PLANE_XZ ? Sector_.SizeY : Sector_.SizeX);
}

void TRenderSectorNG::Project(double X, double Y, double Z, double &mx, double &my, double &depth) const
{
    switch (Plane) {
    case MAP_PLANE_XZ: mx = X, my = -Z, depth = Y; break;
    case MAP_PLANE_YZ: mx = -Z, my = Y, depth = X; break;
    default: mx = X, my = Y, depth = Z; break;
    }
}

double TRenderSectorNG::Scale() const
{
    const double w = MapWidth();
    return w > 0 ? PageWidth / w : 0.0;
}

int TRenderSectorNG::PX(double x) const { return TruncPixel(Scale() * x) - OffsetX; }
int TRenderSectorNG::PY(double y) const { return TruncPixel(Scale() * y) - OffsetY; }
int TRenderSectorNG::Len(double l) const { return TruncPixel(Scale() * l); }

QPoint TRenderSectorNG::ProjectedPixel(double X, double Y, double Z) const
{
    double mx = 0, my = 0, depth = 0;
    Project(X, Y, Z, mx, my, depth);
    const double w = MapWidth(), h = MapHeight();
    return {PX(w / 2 + mx), PY(h - (h / 2 + my))};
}

bool TRenderSectorNG::OnPage(const QRect &r) const
{
    // Grown by 100 pixels right and down so text that starts just off the
    // page is still drawn.
    const QRect grown(r.left(), r.top(), r.width() + 100, r.height() + 100);
    const int w = SheetWidth > 0 ? SheetWidth : PageWidth, h = SheetHeight > 0 ? SheetHeight : PageHeight;
    return grown.intersects(QRect(0, 0, w, h));
}

// ---- colours ----

TColor TRenderSectorNG::BackgroundColour() const { return ColorMode == MAP_MODE_COLOR_BLACK ? BLACK : WHITE; }

TColor TRenderSectorNG::GridColour() const
{
    switch (ColorMode) {
    case MAP_MODE_BLACKWHITE: return GREY;
    case MAP_MODE_COLOR_WHITE: return Sector_.GridColor == WHITE ? GREY : Sector_.GridColor;
    case MAP_MODE_COLOR_BLACK: return Sector_.GridColor;
    default: return RED;
    }
}

TColor TRenderSectorNG::RouteColour(double red, double green, double blue) const
{
    const TColor c = ColorRGB(Channel(red), Channel(green), Channel(blue));
    switch (ColorMode) {
    case MAP_MODE_BLACKWHITE: return GREY;
    // A route the colour of the page would vanish: it is drawn in grey
    // (its stored colour stays as it is).
    case MAP_MODE_COLOR_WHITE: return c == WHITE ? GREY : c;
    case MAP_MODE_COLOR_BLACK: return c == BLACK ? GREY : c;
    default: return RED;
    }
}

TColor TRenderSectorNG::SystemFill(const TStellarBody &body) const
{
    switch (ColorMode) {
    case MAP_MODE_COLOR_BLACK: return body.Color & 0xFFFFFF;
    case MAP_MODE_CONSOLE: return RED;
    default: return BLACK;
    }
}

TColor TRenderSectorNG::SystemOutline(const TStellarBody &body) const
{
    switch (ColorMode) {
    case MAP_MODE_BLACKWHITE: return WHITE;
    case MAP_MODE_CONSOLE: return RED;
    default: return body.Color & 0xFFFFFF;
    }
}

TColor TRenderSectorNG::LabelColour(const TStellarBody &body) const
{
    switch (ColorMode) {
    case MAP_MODE_BLACKWHITE: return BLACK;
    case MAP_MODE_CONSOLE: return RED;
    default: return body.LabelColor & 0xFFFFFF;
    }
}

TColor TRenderSectorNG::SphereColour(const TStellarBody &body) const
{
    switch (ColorMode) {
    case MAP_MODE_BLACKWHITE: return ColorRGB(204, 204, 204);
    case MAP_MODE_CONSOLE: return RED;
    default: return body.SphereInfluenceColor & 0xFFFFFF;
    }
}

// ---- systems ----

std::string TRenderSectorNG::SystemLabelText(const TStellarBody &body) const
{
    double mx = 0, my = 0, depth = 0;
    Project(body.X, body.Y, body.Z, mx, my, depth);
    double h = std::trunc(Sector_.DistanceInUnits(depth));
    if (!std::isfinite(h))
        h = 0;
    const std::string text = FormatFloat("###,###,##0", h);
    return h > 0 ? body.Name + " (+" + text + ")" : body.Name + " (" + text + ")";
}

int TRenderSectorNG::SystemRadius(double depth) const
{
    if (!ScaleByDepth)
        return TruncPixel(DefaultRadius);
    const double extent = DepthExtent();
    if (!(extent > 0))
        return TruncPixel(DefaultRadius);
    return TruncPixel(MinRadius + (depth + extent / 2) / extent * (MaxRadius - MinRadius));
}

void TRenderSectorNG::Draw(TZentGraphics &g)
{
    SetGraphicsQuality(3);
    PlacedLabels.Clear();
    const double W = MapWidth(), H = MapHeight();
    if (!(W > 0) || !std::isfinite(W) || !std::isfinite(H))
        return;
    const double P = PageWidth;
    LabelFontSize = std::max(20 / W * (P * 0.01) * LabelFactor, 2.0);
    MinRadius = std::max(20 / W * (P * 0.002) * SystemFactor, 1.0);
    MaxRadius = std::max(20 / W * (P * 0.006) * SystemFactor, 1.0);
    DefaultRadius = std::max(20 / W * (P * 0.004) * SystemFactor, 1.0);

    struct Item {
        const TStellarBody *Body;
        double Depth;
    };
    std::vector<Item> items;
    items.reserve(Sector_.Systems.size());
    for (const auto &root : Sector_.Systems) {
        double mx = 0, my = 0, depth = 0;
        Project(root->X, root->Y, root->Z, mx, my, depth);
        items.push_back({root.get(), depth});
    }
    // Nearer systems are drawn over farther ones.
    std::stable_sort(items.begin(), items.end(), [](const Item &a, const Item &b) { return a.Depth < b.Depth; });

    g.Opacity = 255;
    g.PenStyle = ZPEN_NONE;
    g.NoFill = false;
    g.BrushStyle = ZBRUSH_SOLID;
    g.BrushColor = BackgroundColour();
    g.Rectangle(PX(0), PY(0), PX(W), PY(H));
    const TColor grid = GridColour();
    g.PenStyle = ZPEN_SOLID;
    g.PenColor = grid;
    g.BrushColor = grid;
    g.FontName = Sector_.BaseFont;
    g.FontSize = LabelFontSize;

    if (ShowGrid)
        DrawGrid(g, SameText(Sector_.UnitStarMeasureName, "Parsecs"));
    if (ShowRoutes)
        DrawRoutes(g);

    for (const Item &item : items) {
        const TStellarBody &body = *item.Body;
        if (!body.Visible && Sector_.FilterStyle == SECTOR_FILTER_HIDE)
            continue;
        const QPoint pt = ProjectedPixel(body.X, body.Y, body.Z);
        const int r = SystemRadius(item.Depth);
        g.Opacity = 255;
        g.PenWidth = 1;
        if (OnPage(QRect(pt.x() - r, pt.y() - r, 2 * r, 2 * r))) {
            g.PenStyle = ZPEN_SOLID;
            g.PenColor = SystemOutline(body);
            g.BrushColor = SystemFill(body);
            g.NoFill = false;
            g.Ellipse(pt.x() - r, pt.y() - r, pt.x() + r, pt.y() + r);
        }
        if (body.SphereInfluence == SPHERE_INFLUENCE_SPHERE || body.SphereInfluence == SPHERE_INFLUENCE_CUBE) {
            const int sr = Len(body.SphereInfluenceSize);
            if (sr > 0 && OnPage(QRect(pt.x() - sr, pt.y() - sr, 2 * sr, 2 * sr))) {
                g.PenStyle = ZPEN_NONE;
                g.BrushColor = SphereColour(body);
                g.Opacity = 51;
                if (body.SphereInfluence == SPHERE_INFLUENCE_SPHERE)
                    g.Ellipse(pt.x() - sr, pt.y() - sr, pt.x() + sr, pt.y() + sr);
                else
                    g.Rectangle(pt.x() - sr, pt.y() - sr, pt.x() + sr, pt.y() + sr);
                g.Opacity = 255;
            }
        }
        if (body.Visible && ShowLabels)
            DrawLabel(g, body, pt.x(), pt.y());
    }

    g.Opacity = 255;
    g.PenStyle = ZPEN_SOLID;
    g.PenColor = grid;
    g.PenWidth = 8;
    g.NoFill = true;
    g.BrushStyle = ZBRUSH_HOLLOW;
    g.Rectangle(PX(0) + 2, PY(0) + 2, PX(W) - 2, PY(H) - 2);
    g.PenWidth = 1;
    g.NoFill = false;
    g.BrushStyle = ZBRUSH_SOLID;
}

void TRenderSectorNG::DrawLabel(TZentGraphics &g, const TStellarBody &body, int x0, int y0)
{
    const std::string text = SystemLabelText(body);
    g.FontSize = LabelFontSize;
    const QSize ext = g.TextExtent(text);
    const int w = ext.width(), h = ext.height();
    const int x = x0 + TruncPixel(MaxRadius), y = y0;
    const QPoint tries[] = {{x, y},          {x, y - h / 2},         {x, y - h},         {x - w - 10, y},
                            {x - w - 10, y - h}, {x - w / 2 - 5, y + h / 2}, {x - w / 2 - 5, y - h}};
    QPoint at = tries[0];
    for (const QPoint &p : tries)
        if (!PlacedLabels.Intersects(QRect(p.x(), p.y(), w, h))) {
            at = p;
            break;
        }
    int lx = at.x(), ly = at.y();
    if (lx + w > PageWidth)
        lx -= w + 10;
    if (lx < 0)
        lx = 5 - OffsetX;
    if (ly + h > PY(MapHeight()))
        ly -= h;
    if (ly < 0)
        ly = 5;
    const QRect rect(lx, ly, w, h);
    if (!OnPage(rect))
        return;
    PlacedLabels.Add(rect);
    g.PenStyle = ZPEN_NONE;
    g.NoFill = false;
    g.BrushStyle = ZBRUSH_SOLID;
    g.BrushColor = LabelColour(body);
    g.TextOut(lx, ly, text);
}

// ---- routes ----

void TRenderSectorNG::DrawRoutes(TZentGraphics &g)
{
    for (const auto &route : Sector_.Routes) {
        if (!route->Visible)
            continue;
        const TColor colour = RouteColour(route->Red, route->Green, route->Blue);
        const auto &wps = route->Waypoints;
        for (std::size_t i = 0; i + 1 < wps.size(); ++i) {
            const TStellarBody *a = wps[i]->Body;
            const TStellarBody *b = wps[i + 1]->Body;
            if (a == nullptr || b == nullptr || !a->Visible || !b->Visible)
                continue;
            const QPoint pa = ProjectedPixel(a->X, a->Y, a->Z);
            const QPoint pb = ProjectedPixel(b->X, b->Y, b->Z);
            g.PenColor = colour;
            g.BrushColor = colour;
            g.PenStyle = PenStyleForRoute(route->LineStyle);
            g.PenWidth = route->LineWidth > 0 && std::isfinite(route->LineWidth) ? route->LineWidth : 1.0;
            g.MoveTo(pa.x(), pa.y());
            g.LineTo(pb.x(), pb.y());
            std::string label = route->Name;
            const double len = Sector_.DistanceInUnits(
                std::sqrt((a->X - b->X) * (a->X - b->X) + (a->Y - b->Y) * (a->Y - b->Y) + (a->Z - b->Z) * (a->Z - b->Z)));
            if (len > 0.1)
                label += " " + FormatFloat("0.00", len);
            const int mx = (pa.x() + pb.x()) / 2, my = (pa.y() + pb.y()) / 2;
            g.FontSize = LabelFontSize;
            const QSize ext = g.TextExtent(label);
            if (!label.empty() && OnPage(QRect(mx, my, ext.width(), ext.height()))) {
                g.PenStyle = ZPEN_NONE;
                g.NoFill = false;
                g.TextOut(mx, my, label);
            }
        }
    }
    g.PenStyle = ZPEN_SOLID;
    g.PenWidth = 1;
}

// ---- grid ----

void TRenderSectorNG::DrawGridLabel(TZentGraphics &g, const std::string &text, int x, int y, bool centreX,
                                    bool centreY)
{
    const QSize ext = g.TextExtent(text);
    const int lx = centreX ? x - ext.width() / 2 : x;
    const int ly = centreY ? y - ext.height() / 2 : y;
    const TColor grid = GridColour();
    g.PenStyle = ZPEN_NONE;
    g.NoFill = false;
    g.BrushColor = BackgroundColour();
    g.Rectangle(lx, ly, lx + ext.width(), ly + ext.height());
    g.BrushColor = grid;
    g.TextOut(lx, ly, text);
    g.PenStyle = ZPEN_SOLID;
}

void TRenderSectorNG::DrawGrid(TZentGraphics &g, bool parsecs)
{
    const double W = MapWidth(), H = MapHeight();
    const bool stepped = GridStepX > 0 && GridStepY > 0;
    // One line per step (by default per light year or parsec): a sector too
    // large for that, such as a damaged file's, is drawn without its grid.
    const double across = stepped ? W / GridStepX : W, up = stepped ? H / GridStepY : H;
    if (!(W > 0 && H > 0 && across <= MAP_MAX_GRID_LINES && up <= MAP_MAX_GRID_LINES))
        return;
    const int left = PX(0), right = PX(W), top = PY(0), bottom = PY(H);
    g.PenStyle = ZPEN_SOLID;
    g.PenWidth = 1;
    g.FontSize = LabelFontSize;
    const int inset = 10;
    const int textH = g.TextExtent("0").height();
    // Labels stand just inside the frame (8 pixels wide) on every edge.
    auto vertical = [&](double mapX, const std::string *label) {
        const int x = PX(mapX);
        g.PenColor = GridColour();
        g.MoveTo(x, bottom);
        g.LineTo(x, top);
        if (label) {
            DrawGridLabel(g, *label, x, top + inset, true, false);
            DrawGridLabel(g, *label, x, bottom - inset - textH, true, false);
        }
    };
    auto horizontal = [&](double mapYDown, const std::string *label) {
        const int y = PY(mapYDown);
        g.PenColor = GridColour();
        g.MoveTo(left, y);
        g.LineTo(right, y);
        if (label) {
            const int w = g.TextExtent(*label).width();
            DrawGridLabel(g, *label, left + inset, y, false, true);
            DrawGridLabel(g, *label, right - inset - w, y, false, true);
        }
    };
    if (stepped) {
        // Labels in the sector's unit, lines outwards from the centre.
        const double unit = parsecs ? LY_PER_PARSEC : 1.0;
        for (int sign : {1, -1})
            for (int n = sign > 0 ? 0 : -1;; n += sign) {
                const double x = W / 2 + n * GridStepX;
                if (x <= 0 || x >= W)
                    break;
                const std::string label = FormatFloat("0.##", (Plane == MAP_PLANE_YZ ? -n : n) * GridStepX / unit);
                vertical(x, &label);
            }
        for (int sign : {1, -1})
            for (int n = sign > 0 ? 0 : -1;; n += sign) {
                const double yUp = H / 2 + n * GridStepY;
                if (yUp <= 0 || yUp >= H)
                    break;
                const std::string label = FormatFloat("0.##", (Plane == MAP_PLANE_XZ ? -n : n) * GridStepY / unit);
                horizontal(H - yUp, &label);
            }
        return;
    }
    if (!parsecs) {
        const int nx = TruncPixel(W), ny = TruncPixel(H);
        for (int i = 1; i <= nx; ++i) {
            int v = TruncPixel(i - W / 2);
            if (Plane == MAP_PLANE_YZ)
                v = -v;
            const std::string label = FormatFloat("0", v);
            vertical(i, i < nx ? &label : nullptr);
        }
        for (int j = 1; j <= ny; ++j) {
            int v = TruncPixel((H - j) - H / 2);
            if (Plane == MAP_PLANE_XZ)
                v = -v;
            const std::string label = FormatFloat("0", v);
            horizontal(j, j < ny ? &label : nullptr);
        }
        return;
    }
    // Parsec lines start at the centre and go outwards both ways.
    for (int sign : {1, -1})
        for (int n = sign > 0 ? 0 : -1;; n += sign) {
            const double x = W / 2 + n * LY_PER_PARSEC;
            if (x <= 0 || x >= W)
                break;
            const std::string label = FormatFloat("0", Plane == MAP_PLANE_YZ ? -n : n);
            vertical(x, &label);
        }
    for (int sign : {1, -1})
        for (int n = sign > 0 ? 0 : -1;; n += sign) {
            const double yUp = H / 2 + n * LY_PER_PARSEC;
            if (yUp <= 0 || yUp >= H)
                break;
            const std::string label = FormatFloat("0", Plane == MAP_PLANE_XZ ? -n : n);
            horizontal(H - yUp, &label);
        }
}

// ---- export ----

bool TRenderSectorNG::ExportToFile(const std::string &fileName, int width, int height, std::string *error)
{
    if (width <= 0 || height <= 0 || width > 32768 || height > 32768) {
        if (error)
            *error = "The image size must be between 1 and 32768 pixels";
        return false;
    }
    PageWidth = width;
    PageHeight = height;
    const TVectorKind kind = VectorKindForFile(fileName);
    if (kind != TVectorKind::None) {
        auto page = CreateVectorPage(fileName, width, height, error);
        if (!page)
            return false;
        {
            TZentGraphics g(page->Device());
            Draw(g);
        }
        return page->Save(error);
    }
    QImage image = NewPicture(width, height);
    image.fill(QColor::fromRgb(ColorToQRgb(BackgroundColour())));
    {
        TZentGraphics g(&image);
        Draw(g);
    }
    return SaveBitmapToFile(image, fileName, error);
}

int MapExportHeight(const TVexaSector &sector, int plane, int width)
{
    TRenderSectorNG r(sector);
    r.Plane = plane;
    const double w = r.MapWidth(), h = r.MapHeight();
    if (!(w > 0) || !(h > 0) || !std::isfinite(h / w))
        return std::max(1, width);
    return std::max(1, TruncPixel(h / w * width));
}

bool Export2D(const TVexaSector &sector, const std::string &fileName, int colourMode, int plane, int width,
              double systemFactor, double labelFactor, bool showGrid, bool scaleByDepth, bool showRoutes,
              std::string *error)
{
    TRenderSectorNG r(sector);
    r.ColorMode = colourMode;
    r.Plane = plane;
    r.SystemFactor = systemFactor;
    r.LabelFactor = labelFactor;
    r.ShowGrid = showGrid;
    r.ScaleByDepth = scaleByDepth;
    r.ShowRoutes = showRoutes;
    // Raster and vector pictures alike keep the map's proportions in the plane.
    return r.ExportToFile(fileName, width, MapExportHeight(sector, plane, width), error);
}

} // namespace kalvion
