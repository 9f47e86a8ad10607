#pragma once
// The 2D sector map over one or more printed sheets.  The map is drawn as one
// picture ceil(pages across) printer pages wide; neighbouring sheets overlap
// by half an inch so the pieces can be glued together.
#include <QPicture>
#include <QPoint>

#include <string>
#include <vector>

class QPrinter;

namespace kalvion {

class TVexaSector;

// What the map dialogs choose, passed on to the renderer.
struct TMapOptions {
    int ColourMode = 0;
    int Plane = 0;
    double SystemFactor = 1.0, LabelFactor = 1.0;
    bool ShowGrid = true, ScaleByDepth = true, ShowRoutes = true;
};

// The printer page a map is laid out on: its printable size in device
// pixels and its horizontal resolution.
struct TPrintPage {
    int Width = 0, Height = 0;
    int DpiX = 0;
};

struct TPrintLayout {
    // The whole map in device pixels: the renderer's page.
    int MapWidth = 0, MapHeight = 0;
    // Overlap of neighbouring sheets (half an inch) and sheets per row.
    int Overlap = 0;
    int PerRow = 1;
    // Where each sheet's top left corner lies on the map, row by row.
    std::vector<QPoint> Offsets;
    // The map needs more than PRINT_MAX_SHEETS sheets: Offsets holds the
    // first of them only.
    bool Cut = false;
};

// More sheets than this would never be glued together: the layout stops
// there rather than run a printer for days.
inline constexpr int PRINT_MAX_SHEETS = 400;
// Pages across accepted by the print dialog.
inline constexpr double PRINT_MAX_PAGES_ACROSS = 20;

// The sheets of a map of this extent (in the plane, light years) printed
// pagesAcross pages wide.  A map without width, a page without size or a
// number of pages that is not positive gives one empty sheet.
TPrintLayout PrintLayout(double mapWidth, double mapHeight, const TPrintPage &page, double pagesAcross);

// "Fit To Page": 1, or fewer when the map one page wide would be taller than
// the page, so that it fits the page height.
double FitToPagePagesAcross(double mapWidth, double mapHeight, const TPrintPage &page);

// The map extent of a sector in a plane.
void SectorMapExtent(const TVexaSector &sector, int plane, double &width, double &height);

// Prints the map as a job titled after the sector; the number of sheets, or
// 0 when the printer could not be started.
int PrintSector(const TVexaSector &sector, const TMapOptions &options, double pagesAcross, QPrinter &printer,
                std::string *error = nullptr);

// The same sheets as pictures of the page's size, for an on-screen preview.
std::vector<QPicture> PreviewSector(const TVexaSector &sector, const TMapOptions &options, double pagesAcross,
                                    const TPrintPage &page);

} // namespace kalvion
