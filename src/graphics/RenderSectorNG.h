#pragma once
// The sector as a flat map projected onto one coordinate plane, for image
// export and printing: frame, numbered grid, routes with names and lengths,
// every system as a disc (optionally sized by depth), spheres of influence and
// a label per system with its height above or below the map plane.
#include "base/Colour.h"
#include "graphics/ZentGraphics.h"

#include <QRect>

#include <string>
#include <unordered_map>
#include <vector>

namespace kalvion {

class TStellarBody;
class TVexaSector;

inline constexpr int MAP_MODE_BLACKWHITE = 0;
inline constexpr int MAP_MODE_COLOR_WHITE = 1;
inline constexpr int MAP_MODE_COLOR_BLACK = 2;
inline constexpr int MAP_MODE_CONSOLE = 3;

inline constexpr int MAP_PLANE_XY = 0;
inline constexpr int MAP_PLANE_XZ = 1;
inline constexpr int MAP_PLANE_YZ = 2;

inline constexpr double LY_PER_PARSEC = 3.2616;
// Above this many grid lines across (one per light year) the grid would be a
// solid sheet at any picture size, and drawing it would take for ever: the
// map is drawn without it.
inline constexpr double MAP_MAX_GRID_LINES = 4096;

// Rectangles of the labels placed so far, bucketed by area so a new label is
// tested only against its neighbours.
class TPlacedLabels {
public:
    void Clear();
    bool Intersects(const QRect &r) const;
    void Add(const QRect &r);
    int Count() const { return static_cast<int>(Rects_.size()); }

private:
    static constexpr int CELL = 128;
    static long long Key(int cx, int cy) { return (static_cast<long long>(cx) << 32) ^ static_cast<unsigned>(cy); }
    std::vector<QRect> Rects_;
    std::unordered_map<long long, std::vector<int>> Cells_;
};

class TRenderSectorNG {
public:
    explicit TRenderSectorNG(const TVexaSector &sector);

    int PageWidth = 1000, PageHeight = 1000;
    int ColorMode = MAP_MODE_BLACKWHITE;
    bool ShowRoutes = true, ScaleByDepth = false, ShowGrid = true;
    // System labels (always on in the export dialogs; off for bare maps).
    bool ShowLabels = true;
    int Plane = MAP_PLANE_XY;
    int OffsetX = 0, OffsetY = 0;
    // The printed sheet a tile of the map lands on: what lies outside it is
    // skipped.  0 stands for the whole page.
    int SheetWidth = 0, SheetHeight = 0;
    double LabelFontSize = 0, MinRadius = 0, MaxRadius = 0, DefaultRadius = 0;
    double LabelFactor = 1.0, SystemFactor = 1.0;
    // Grid spacing across and up the page in light years, lines going out
    // from the centre; 0 draws one line per light year (or parsec).
    double GridStepX = 0, GridStepY = 0;
    TPlacedLabels PlacedLabels;

    // Draws one page of PageWidth x PageHeight pixels at the offsets.
    void Draw(TZentGraphics &g);
    // Raster names: a width x height bitmap in the extension's format.
    // ".svg"/".pdf": a vector page of the same size.  ".emf" is refused.
    bool ExportToFile(const std::string &fileName, int width, int height, std::string *error = nullptr);

    // Map width, height and depth extent of the plane.
    double MapWidth() const;
    double MapHeight() const;
    double DepthExtent() const;
    // Map x, map y and depth of a point (light years) in the plane.
    void Project(double X, double Y, double Z, double &mx, double &my, double &depth) const;
    // The pixel of a point.
    QPoint ProjectedPixel(double X, double Y, double Z) const;
    int PX(double x) const;
    int PY(double y) const;
    int Len(double l) const;
    double Scale() const;

    // Colours of the current mode.
    TColor BackgroundColour() const;
    TColor GridColour() const;
    TColor RouteColour(double red, double green, double blue) const;
    TColor SystemFill(const TStellarBody &body) const;
    TColor SystemOutline(const TStellarBody &body) const;
    TColor LabelColour(const TStellarBody &body) const;
    TColor SphereColour(const TStellarBody &body) const;

    // Name with the height suffix: "Sol (+12)", "Sol (-3)", "Sol (0)".
    std::string SystemLabelText(const TStellarBody &body) const;
    // The disc radius of a system at this depth.
    int SystemRadius(double depth) const;
    bool OnPage(const QRect &r) const;

private:
    void DrawGrid(TZentGraphics &g, bool parsecs);
    void DrawGridLabel(TZentGraphics &g, const std::string &text, int x, int y, bool centreX, bool centreY);
    void DrawRoutes(TZentGraphics &g);
    void DrawLabel(TZentGraphics &g, const TStellarBody &body, int x0, int y0);

    const TVexaSector &Sector_;
};

// Sets up a renderer with these settings and exports the map at the width
// given; the height keeps the plane's proportions.
bool Export2D(const TVexaSector &sector, const std::string &fileName, int colourMode, int plane, int width,
              double systemFactor, double labelFactor, bool showGrid, bool scaleByDepth, bool showRoutes,
              std::string *error = nullptr);

// trunc(height / width * pixels) for the plane's map extent, at least 1.
int MapExportHeight(const TVexaSector &sector, int plane, int width);

} // namespace kalvion
