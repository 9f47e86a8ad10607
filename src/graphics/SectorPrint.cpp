#include "graphics/SectorPrint.h"

#include "graphics/RenderSectorNG.h"
#include "model/VexaSector.h"

#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace kalvion {

namespace {

// Larger maps are drawn at this size: a printed map wider than a few metres
// is a mistyped number, not a poster.
constexpr double MAX_MAP_PIXELS = 1.0e6;

int Overlap(const TPrintPage &page)
{
    // Half an inch, but never most of a page: tiny pages still advance.
    const int m = std::max(page.DpiX, 0) / 2;
    return std::min(m, std::min(page.Width, page.Height) / 4);
}

TRenderSectorNG MakeRenderer(const TVexaSector &sector, const TMapOptions &o, const TPrintLayout &layout)
{
    TRenderSectorNG r(sector);
    r.ColorMode = o.ColourMode;
    r.Plane = o.Plane;
    r.SystemFactor = o.SystemFactor;
    r.LabelFactor = o.LabelFactor;
    r.ShowGrid = o.ShowGrid;
    r.ScaleByDepth = o.ScaleByDepth;
    r.ShowRoutes = o.ShowRoutes;
    r.PageWidth = layout.MapWidth;
    r.PageHeight = layout.MapHeight;
    return r;
}

void DrawSheet(TRenderSectorNG &r, QPainter &painter, const TPrintPage &page, QPoint offset)
{
    painter.save();
    painter.setClipRect(0, 0, page.Width, page.Height);
    r.OffsetX = offset.x();
    r.OffsetY = offset.y();
    r.SheetWidth = page.Width;
    r.SheetHeight = page.Height;
    {
        TZentGraphics g(painter);
        r.Draw(g);
    }
    painter.restore();
}

} // namespace

void SectorMapExtent(const TVexaSector &sector, int plane, double &width, double &height)
{
    TRenderSectorNG r(sector);
    r.Plane = plane;
    width = r.MapWidth();
    height = r.MapHeight();
}

double FitToPagePagesAcross(double mapWidth, double mapHeight, const TPrintPage &page)
{
    if (!(mapWidth > 0) || !(mapHeight > 0) || page.Width <= 0 || page.Height <= 0)
        return 1.0;
    const double tall = page.Width * mapHeight / mapWidth;
    if (!std::isfinite(tall) || tall <= page.Height)
        return 1.0;
    return (page.Height - Overlap(page)) / tall;
}

TPrintLayout PrintLayout(double mapWidth, double mapHeight, const TPrintPage &page, double pagesAcross)
{
    TPrintLayout layout;
    layout.Overlap = Overlap(page);
    const double ratio = mapHeight / mapWidth;
    const bool drawable = mapWidth > 0 && mapHeight >= 0 && std::isfinite(ratio) && page.Width > 0 &&
                          page.Height > 0 && pagesAcross > 0 && std::isfinite(pagesAcross);
    if (!drawable) {
        // Nothing to draw: one empty sheet.
        layout.Offsets.emplace_back(0, 0);
        return layout;
    }
    const int m = layout.Overlap;
    const double n = std::min(pagesAcross, MAX_MAP_PIXELS / page.Width);
    layout.PerRow = std::max(1, static_cast<int>(std::ceil(n)));
    const int total = static_cast<int>(n * page.Width);
    layout.MapWidth = std::max(1, total - (layout.PerRow - 1) * m);
    layout.MapHeight = static_cast<int>(std::min(total * ratio, MAX_MAP_PIXELS));
    // Each sheet after the first starts one page minus the overlap further on.
    const int stepX = page.Width - m, stepY = page.Height - m;
    int y = 0;
    do {
        int column = 0;
        for (int x = 0; x < layout.MapWidth && column < layout.PerRow; x += stepX, ++column) {
            if (static_cast<int>(layout.Offsets.size()) >= PRINT_MAX_SHEETS) {
                layout.Cut = true;
                return layout;
            }
            layout.Offsets.emplace_back(x, y);
        }
        y += stepY;
    } while (y < layout.MapHeight);
    return layout;
}

int PrintSector(const TVexaSector &sector, const TMapOptions &options, double pagesAcross, QPrinter &printer,
                std::string *error)
{
    const TPrintPage page{printer.width(), printer.height(), printer.logicalDpiX()};
    double w = 0, h = 0;
    SectorMapExtent(sector, options.Plane, w, h);
    const TPrintLayout layout = PrintLayout(w, h, page, pagesAcross);
    printer.setDocName(QString::fromStdString(sector.Name.empty() ? std::string("(Untitled)")
                                                                   : sector.Name + " Sector"));
    QPainter painter;
    if (!painter.begin(&printer)) {
        if (error)
            *error = "The printer could not be started";
        return 0;
    }
    TRenderSectorNG r = MakeRenderer(sector, options, layout);
    bool first = true;
    for (const QPoint &offset : layout.Offsets) {
        if (!first)
            printer.newPage();
        first = false;
        DrawSheet(r, painter, page, offset);
    }
    painter.end();
    return static_cast<int>(layout.Offsets.size());
}

std::vector<QPicture> PreviewSector(const TVexaSector &sector, const TMapOptions &options, double pagesAcross,
                                    const TPrintPage &page)
{
    double w = 0, h = 0;
    SectorMapExtent(sector, options.Plane, w, h);
    const TPrintLayout layout = PrintLayout(w, h, page, pagesAcross);
    TRenderSectorNG r = MakeRenderer(sector, options, layout);
    std::vector<QPicture> sheets(layout.Offsets.size());
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        QPainter painter(&sheets[i]);
        DrawSheet(r, painter, page, layout.Offsets[i]);
        painter.end();
        sheets[i].setBoundingRect(QRect(0, 0, page.Width, page.Height));
    }
    return sheets;
}

} // namespace kalvion
