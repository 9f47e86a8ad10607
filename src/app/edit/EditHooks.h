#pragma once
// What the editing commands of the main window keep: the windows they made
// (owned by the main window as Qt children), and the seams through which
// they reach parts that live elsewhere: the body property dialog, the
// surface map manager, the external terrain program and the companion
// world editor.  A seam left empty does the least: a new system is kept
// without its property dialog, no terrain map is generated, nothing is
// started.
#include "model/GexColorGroup.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>

namespace kalvion {
class TStellarBody;
class TVexaSector;
} // namespace kalvion

namespace kalvion::app {

class TfrmNewSystem;
class TfrmCreateRoute;
class TfrmMassPolitical;
class TfrmMassDisplayStyle;
class TfrmMassLabelDistances;
class TfrmMassBlazons;
class TfrmMassSphere;
class TfrmMassDeleteRoutes;
class TfrmGridStyles;
class TfrmSurfaceMapChoice;
class TfrmSurfaceMapOptions;

struct TEditDialogs {
    TfrmNewSystem *NewSystem = nullptr;
    TfrmCreateRoute *CreateRoute = nullptr;
    TfrmMassPolitical *Political = nullptr;
    TfrmMassDisplayStyle *DisplayStyle = nullptr;
    TfrmMassLabelDistances *LabelDistances = nullptr;
    TfrmMassBlazons *Blazons = nullptr;
    TfrmMassSphere *Sphere = nullptr;
    TfrmMassDeleteRoutes *DeleteRoutes = nullptr;
    TfrmGridStyles *Grids = nullptr;
    TfrmSurfaceMapChoice *SurfaceChoice = nullptr;
    TfrmSurfaceMapOptions *SurfaceOptions = nullptr;
};

struct TEditHooks {
    // The body property dialog over a new system; false when it was
    // cancelled (the new system is then removed again).
    std::function<bool(TStellarBody *)> EditNewBody;
    // The surface map manager: the body's world file ("" for none), a map
    // generated from the palette (for editing: the terrain data stored for
    // the world editor), a world file brought up to date, whether the
    // sector holds terrain data for the body, and the 3D view showing the
    // body's map.
    std::function<std::string(TVexaSector &, const TStellarBody &)> GexFileName;
    std::function<bool(TVexaSector &, TStellarBody &, bool forEditing, const TGexColorGroup &)> GenerateGexSurfaceMap;
    std::function<void(TVexaSector &, TStellarBody &)> CheckGexRefresh;
    std::function<bool(TVexaSector &, const TStellarBody &)> HasTerrainData;
    std::function<void(TStellarBody &)> ShowBodyMap;
    // The external terrain program: a map 512 wide rendered for the body
    // (the image file it wrote, nothing on failure), and the planet opened
    // in it interactively.
    std::function<std::optional<std::string>(TVexaSector &, TStellarBody &, int width)> ExternalSurfaceMap;
    std::function<void(TVexaSector &, TStellarBody &)> ExternalEdit;
    // Starts a program with its arguments; false when it could not start.
    std::function<bool(const QString &program, const QStringList &arguments)> StartProgram;
    // The companion world editor found at start-up ("" when none).
    QString WorldEditor;
};

} // namespace kalvion::app
