#pragma once
// The flat top-down diagram of one system: the orbits of the root's children
// with the children at the sector's current date, their names and distances,
// the central body and a title; multiple stars show their components, the
// distances between them and each component's planetary orbits.
#include "graphics/ZentGraphics.h"

#include <QImage>

#include <string>

namespace kalvion {

class TStellarBody;
class TVexaSector;

inline constexpr double DIAGRAM_KM_PER_AU = 149597890.0;

class TRenderOrbitNG {
public:
    TRenderOrbitNG(const TVexaSector &sector, const TStellarBody &body);

    // Computes the extent and draws the diagram for the root's type, then the
    // title.  An orbit limit of 0 (or one above the child count) draws all.
    void Draw(TZentGraphics &g, int orbitLimit, int width, int height);
    // The diagram on a new white width x height bitmap.
    QImage Render(int width, int height, int orbitLimit);

    // Set by Draw: the extent in km, the drawing size and the centring offsets.
    double MinX = 0, MaxX = 0, MinY = 0, MaxY = 0;
    int Width = 0, Height = 0, Size = 0, OffsetX = 0, OffsetY = 0;
    int ChildCount = 0;

    void ComputeExtent(int orbitLimit, int width, int height);
    int PX(double x) const;
    int PY(double y) const;
    int Len(double km) const;
    double FontPoints(double points) const { return Size / 1000.0 * points; }
    // The drawn position (km, turned by AnglePeriapsis + 90 degrees) of a
    // child at time t (days).
    static void ChildPosition(const TStellarBody &child, double t, double &x, double &y);

private:
    void DrawTitle(TZentGraphics &g);
    void DrawStar(TZentGraphics &g);
    void DrawMultiple(TZentGraphics &g, const TStellarBody &mult, double ox, double oy, bool planetSystem);
    void DrawChildOrbit(TZentGraphics &g, const TStellarBody &child, double ox, double oy);
    void DrawRing(TZentGraphics &g, const TStellarBody &ring);
    void DrawLabel(TZentGraphics &g, const TStellarBody &child, int x, int y);
    void IncludeComponents(const TStellarBody &parent, double ox, double oy, double unit);
    void Include(double x, double y);

    const TVexaSector &Sector_;
    const TStellarBody &Root_;
};

// Draws the system into a width x height picture and saves it in the format
// of the file's extension (".svg" and ".pdf" as vector pages).  False with a
// message when the sizes are not positive or the file cannot be written.
bool ExportDiagram(const TVexaSector &sector, const TStellarBody &body, const std::string &fileName, int width,
                   int height, int orbitLimit, std::string *error = nullptr);

// The "Export 2D System Diagram" dialog's checks, in its order: the message of
// the first failing check, "" when all pass.
std::string CheckDiagramExportEntries(const std::string &width, const std::string &height,
                                      const std::string &orbitCount, const std::string &fileName);

} // namespace kalvion
