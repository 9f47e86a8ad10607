#pragma once
// TRenderOrbitOGL: one star system, or one planet with its moons, as an
// animated 3D orrery.  The central body, its children's orbits as closed
// curves, the children at their places for the sector's date, textured
// planets, rings, belts, models, names, a tiled background and the text
// lines.  It reads the sector and writes only the sector's date (AdvanceTime)
// and the camera memory in the root's fields.  One renderer serves two GL
// contexts, chosen by ContextIndex; the caller makes the context current.
#include "render/CgFont.h"
#include "render/RenderSectorOGL.h"
#include "render/SceneMath.h"
#include "render/orbit/OpenGLListMgr.h"
#include "render/orbit/OrbitViewMath.h"
#include "model/VexaBase.h"
#include "science/VexaDates.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace kalvion {

class TRenderModelSource;
class TRenderSurfaceMaps;
class TStellarBody;
class TVexaSector;

class TRenderOrbitOGL {
public:
    TRenderOrbitOGL();
    ~TRenderOrbitOGL();
    TRenderOrbitOGL(const TRenderOrbitOGL &) = delete;
    TRenderOrbitOGL &operator=(const TRenderOrbitOGL &) = delete;

    int ContextIndex = 0;
    // Free for the main window: lines 4 and 5 and the bottom line.
    std::array<std::string, 5> TextLines;
    std::string BottomLine;
    bool ShowText = true;
    bool ShowNames = true;
    bool ShowOrbits = true;
    bool ShowAxis = false;
    TOrbitCamera Camera;
    bool Dragging = false;
    int LastMouseX = 0, LastMouseY = 0;
    int TimeRate = ORBIT_RATE_REAL_TIME;
    int TimeDirection = 1;
    TRenderSurfaceMaps *SurfaceMapMgr = nullptr;
    TRenderModelSource *ModelManager = nullptr;
    // A second renderer that only copies the window's view (video frames)
    // leaves the cameras in the bodies alone.
    bool RememberCameras = true;
    // The face name used when a sector names none.
    std::string FallbackFont = "DejaVu Sans";
    // As the sector renderer's: fonts for the screen's pixel ratio.
    void SetFontScale(double scale);

    // Chooses the system (a ring or small bodies open their parent's); the
    // camera of the system shown before is stored in its root first.  The
    // GL context must be current when lists exist.
    void SetSystem(TVexaSector *sector, TStellarBody *body);
    // Stores the current camera in the current root (before a save).
    void StoreCamera();
    TStellarBody *Root() const;
    TVexaSector *Sector() const { return Sector_; }
    int Kind() const { return Kind_; }

    // Draws one frame into the current context.
    void Render(int width, int height);
    void Rotate(double deltaLongitude, double deltaLatitude);
    void Zoom(double factor);
    void AdvanceTime();
    void ReleaseLists();
    void ReleaseFonts();
    void ReloadBackground();
    // The body's surface map changed: its sphere is made again with the new
    // map when each context next draws it.
    void ForgetSurfaceTexture(const std::string &idString);

    int ViewportWidth() const { return Width_; }
    int ViewportHeight() const { return Height_; }
    // True for a window point (top-down pixels) inside the 20 × 20 corner
    // that leads back to the sector view.
    bool PointInReturnCorner(int x, int y) const { return x >= 0 && x < 20 && y >= 0 && y < 20; }
    const TOpenGLListMgr &Lists() const { return Lists_; }
    const TSceneProjection &LastProjection() const { return Projection_; }

private:
    void DrawRoot(TStellarBody &root);
    void StarScene(TStellarBody &star);
    void StarFlare(const TStellarBody &star);
    void MultipleOrbits(TStellarBody &star);
    void ChildrenScene(TStellarBody &parent);
    void ChildOrbit(TStellarBody &child, double scale);
    void Ring(TStellarBody &ring, double scale);
    void Planet(TStellarBody &planet, bool withMoons);
    void PlanetBodyList(TStellarBody &planet);
    unsigned BuildPlanetList(TStellarBody &planet, bool &textured);
    void MultipleScene(TStellarBody &multiple, const TVexaPoint &offset);
    void PlanetSystemScene(TStellarBody &system);
    bool Model(TStellarBody &body);
    void ModelOrFlare(TStellarBody &body);
    void PlanetSunLight(TStellarBody &planet);
    void Label(double x, double y, double z, const std::string &text);
    void Texts();
    void CornerMark();
    void LoadBackground();
    bool IsRoot(const TStellarBody &body) const { return &body == RootRef_.Get(); }
    double Date() const;
    TCGFont2D *Font() const { return Fonts_[static_cast<std::size_t>(ContextIndex)].get(); }

    // A checked reference: the sector may drop the system while the view
    // still names it.
    TObjectRef<TStellarBody> RootRef_;
    TVexaSector *Sector_ = nullptr;
    int Kind_ = ORBIT_KIND_STAR;
    std::size_t ChildCount_ = 0;
    std::array<bool, 2> FontCreated_{false, false};
    std::array<std::unique_ptr<TCGFont2D>, 2> Fonts_;
    double FontScale_ = 1.0;
    double LabelOffset_ = 0;
    int Width_ = 0, Height_ = 0;
    TVexaPoint Eye_;
    TMatrix4 ProjectionMatrix_ = IdentityMatrix();
    TSceneProjection Projection_;
    TRenderBackgroundImage Background_;
    bool BackgroundLoaded_ = false;
    TOpenGLListMgr Lists_;
    // Bodies whose textured sphere shows an old map, per context.
    std::array<std::vector<std::string>, 2> StaleMaps_;
    TVexaDateHandler DateHandler_;
    // Bodies whose stored surface image could not be read, so the stored
    // image is not decoded again every frame while the system is shown.
    std::vector<std::string> NoStoredImage_;
    std::vector<unsigned> Textures_;
    std::vector<double> Vertices_;
};

} // namespace kalvion
